#pragma once

// The disk as bytes, below Qt and the platform layer: a name that is not
// UTF-8 must be made, found and read exactly as it is, and QFile or QDir
// would decode it on the way.

#include <QByteArray>
#include <QList>
#include <QPair>

#include <string>

#include <sys/stat.h>
#include <time.h>

namespace tavil::test::raw {

// A file and what it holds, by bytes.
using Entry = QPair<QByteArray, QByteArray>;

// folder + "/" + name.
QByteArray join(const QByteArray& folder, const QByteArray& name);

// Makes a new file (never an existing one) holding data.
bool makeFile(const QByteArray& path, const QByteArray& data, mode_t mode = 0644);
bool makeDir(const QByteArray& path);
// The whole content; empty when it can't be read (ok tells the two apart).
QByteArray read(const QByteArray& path, bool* ok = nullptr);
bool exists(const QByteArray& path);

// The names in folder, hidden ones included, in byte order, without "."
// and "..".
QList<QByteArray> names(const QByteArray& folder);
// The regular files of folder with their contents, in byte order of their
// names; a folder or link shows with the content "<dir>" or "<link>".
QList<Entry> files(const QByteArray& folder);

// The entries as readable text, sorted by name, each byte outside printable
// ASCII as \xNN: "caf\xE9.txt=L; x.txt=X". For comparisons that must show
// which name went wrong.
std::string describe(QList<Entry> entries);

// What lstat says (all zero when it fails), and what stat says through a link.
struct stat lstatOf(const QByteArray& path);
struct stat statOf(const QByteArray& path);

// Sets the access and write times of path (a link: of the link itself), in
// whole seconds since the epoch.
bool setTimes(const QByteArray& path, time_t access, time_t write);

QByteArray readLink(const QByteArray& path);

// The stored attributes of the entry itself (never through a link); empty
// when there are none.
QByteArray dosAttrib(const QByteArray& path);

// Whether folder keeps user extended attributes (tmpfs before 6.6 and some
// containers do not).
bool userXattrsWork(const QByteArray& folder);

// Everything below folder removed by bytes, the folder itself kept.
void removeContents(const QByteArray& folder);

} // namespace tavil::test::raw
