#pragma once

#include "platform/filesystem.h"

#include <QList>

#include <functional>

namespace tavil::platform {

namespace lfs {
struct Loc;
}

// The real file system of a Linux machine.
class LinuxFileSystem final : public FileSystem {
public:
    LinuxFileSystem();
    ~LinuxFileSystem() override;

    FileInfo stat(const QString& path) override;
    bool exists(const QString& path) override;
    bool openable(const QString& path) override;
    FolderId folderId(const QString& path) override;
    FolderHold holdFolder(const QString& folder) override;
    FsStatus rename(const QString& from, const QString& to) override;
    using FileSystem::copy;
    using FileSystem::move;
    FsStatus copy(const QString& from, const QString& to, const CopyProgress& progress) override;
    FsStatus move(const QString& from, const QString& to, const CopyProgress& progress) override;
    FsStatus remove(const QString& path) override;
    FsStatus makeDir(const QString& path) override;
    FsStatus moveToTrash(const QString& path) override;
    FsStatus readAttributes(const QString& path, quint32* attrs) override;
    FsStatus writeAttributes(const QString& path, quint32 attrs) override;
    FsStatus readTimes(const QString& path, FileTimes* times) override;
    FsStatus writeTimes(const QString& path, const QDateTime& creation,
                        const QDateTime& lastAccess, const QDateTime& lastWrite) override;
    FsStatus listDir(const QString& dir, QList<DirEntry>* entries) override;
    FsStatus listFolder(const QString& dir, QList<DirEntry>* entries, ListAttributes which) override;
    bool isNetworkPath(const QString& path) override;

    // Test seams: when set, called before the real system call of that name
    // with the target path; a non-zero result is taken as that call's errno.
    // They let tests provoke EXDEV, ENOSPC or EACCES where root or one file
    // system cannot. The calls and the path each is given:
    //   "renameat2"  the new path of a rename (or of a move's first attempt,
    //                or of an entry going into the trash)
    //   "link"       the new name, where renameat2 lacks RENAME_NOREPLACE
    //   "rename"     the new name of a case-only change, or of the last
    //                resort where neither RENAME_NOREPLACE nor links exist
    //   "unlink"     the file removed (remove, the old name after link, a
    //                moved source, a copy taken back)
    //   "rmdir"      the folder removed
    //   "mkdir"      the folder made
    //   "open"       a copy's source, the target folder (for the unnamed
    //                temporary file), a named temporary file's path, the
    //                file openable() tries, or a trash info file
    //   "write"      a copy's final target path, once per chunk of data
    //   "fsync"      a moved file's final target path
    //   "linkat"     a copy's final target path, when it is given its name
    //   "utimensat"  the file whose times are set (a copy: its target)
    //   "setxattr"   the file whose stored attributes are written
    //   "chmod"      the file whose mode changes (a copy: its target)
    std::function<int(const char* call, const QString& path)> injectErrno;

private:
    // The opening every method shares: the path in its bytes, found through
    // a held folder when it is directly in one. A name that has no bytes
    // (a broken character, a NUL) is Err::BadName.
    FsStatus locate(const QString& path, lfs::Loc* loc) const;
    // The same for a new entry: trailing dots and blanks dropped from its
    // name, and an unusable name refused.
    FsStatus locateTarget(const QString& path, lfs::Loc* loc) const;

    struct Held {
        QString folder; // without a closing "/"
        int fd = -1;
        int holds = 0;
    };
    const Held* heldFolder(QStringView folder) const;
    // A run holds one or two folders at a time: a short list beats a hash.
    QList<Held> m_held;
};

} // namespace tavil::platform
