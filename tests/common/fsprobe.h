#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <sys/stat.h>
#include <time.h>

// Small probes of files on disk below the platform layer, for tests that
// check what really reached the file system.
namespace tavil::test {

// The path as the system calls take it.
QByteArray native(const QString& path);

// What lstat says about path (all zero when it fails).
struct stat statOf(const QString& path);

// Sets the access and write times of path exactly, in seconds and
// nanoseconds since the epoch.
bool setTimes(const QString& path, timespec access, timespec write);

// Whether user extended attributes can be stored on path, an existing file
// or folder; the probe attribute is removed again.
bool userXattrsWork(const QString& path);

// Whether files made in folder can keep user extended attributes; the probe
// file is removed again.
bool userXattrsIn(const QString& folder);

// Every file below root as "path=content", sorted: the disk to compare
// before and after a run.
QStringList treeOf(const QString& root);

} // namespace tavil::test
