#pragma once

#include "platform/filesystem.h"

#include <functional>

namespace tavil::platform {

// The real file system of a Linux machine.
class LinuxFileSystem final : public FileSystem {
public:
    FileInfo stat(const QString& path) override;
    bool exists(const QString& path) override;
    bool openable(const QString& path) override;
    FsStatus rename(const QString& from, const QString& to) override;
    FsStatus copy(const QString& from, const QString& to) override;
    FsStatus move(const QString& from, const QString& to) override;
    FsStatus remove(const QString& path) override;
    FsStatus makeDir(const QString& path) override;
    FsStatus moveToTrash(const QString& path) override;
    FsStatus readAttributes(const QString& path, quint32* attrs) override;
    FsStatus writeAttributes(const QString& path, quint32 attrs) override;
    FsStatus readTimes(const QString& path, FileTimes* times) override;
    FsStatus writeTimes(const QString& path, const QDateTime& creation,
                        const QDateTime& lastAccess, const QDateTime& lastWrite) override;
    FsStatus listDir(const QString& dir, QList<DirEntry>* entries) override;
    bool isNetworkPath(const QString& path) override;

    // Test seams: when set, called before the real system call of that name
    // with the target path; a non-zero result is taken as that call's errno.
    // They let tests provoke EXDEV, ENOSPC or EACCES where root or one file
    // system cannot. The calls and the path each is given:
    //   "renameat2"  the new path of a rename (or of a move's first attempt)
    //   "link"       the new name, where renameat2 lacks RENAME_NOREPLACE
    //   "rename"     the new name of a case-only change, or of the last
    //                resort where neither RENAME_NOREPLACE nor links exist
    //   "unlink"     the file removed (remove, the old name after link, a
    //                moved source, a copy taken back)
    //   "rmdir"      the folder removed
    //   "mkdir"      the folder made
    //   "open"       a copy's source, the target folder (for the unnamed
    //                temporary file), a named temporary file's path, or the
    //                file openable() tries
    //   "write"      a copy's final target path, once per write
    //   "fsync"      a copy's final target path
    //   "linkat"     a copy's final target path, when it is given its name
    //   "utimensat"  the file whose times are set (a copy: its target)
    //   "setxattr"   the file whose stored attributes are written
    //   "chmod"      the file whose mode changes (a copy: its target)
    std::function<int(const char* call, const QString& path)> injectErrno;
};

} // namespace tavil::platform
