#pragma once

#include "platform/linuxfilesystem.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <optional>

namespace tavil::test {

// The real file system of the machine behind one seam: every call goes to a
// LinuxFileSystem, except that creation times can be hidden, as a file system
// without birth times hides them.
class TestFileSystem final : public platform::FileSystem {
public:
    platform::FileInfo stat(const QString& path) override { return real.stat(path); }
    bool exists(const QString& path) override { return real.exists(path); }
    bool openable(const QString& path) override { return real.openable(path); }
    platform::FolderId folderId(const QString& path) override;
    platform::FsStatus rename(const QString& from, const QString& to) override { return real.rename(from, to); }
    using FileSystem::copy;
    using FileSystem::move;
    platform::FolderHold holdFolder(const QString& folder) override { return real.holdFolder(folder); }
    platform::FsStatus copy(const QString& from, const QString& to, const platform::CopyProgress& progress) override
    {
        return real.copy(from, to, progress);
    }
    platform::FsStatus move(const QString& from, const QString& to, const platform::CopyProgress& progress) override
    {
        return real.move(from, to, progress);
    }
    platform::FsStatus remove(const QString& path) override { return real.remove(path); }
    platform::FsStatus makeDir(const QString& path) override;
    platform::FsStatus moveToTrash(const QString& path) override { return real.moveToTrash(path); }
    platform::FsStatus readAttributes(const QString& path, quint32* attrs) override
    {
        return real.readAttributes(path, attrs);
    }
    platform::FsStatus writeAttributes(const QString& path, quint32 attrs) override
    {
        return real.writeAttributes(path, attrs);
    }
    platform::FsStatus readTimes(const QString& path, platform::FileTimes* times) override;
    platform::FsStatus writeTimes(const QString& path, const QDateTime& creation, const QDateTime& lastAccess,
                                  const QDateTime& lastWrite) override
    {
        return real.writeTimes(path, creation, lastAccess, lastWrite);
    }
    platform::FsStatus listDir(const QString& dir, QList<platform::DirEntry>* entries) override;
    platform::FsStatus listFolder(const QString& dir, QList<platform::DirEntry>* entries,
                                  platform::ListAttributes which) override;
    bool isNetworkPath(const QString& path) override { return real.isNetworkPath(path); }

    platform::LinuxFileSystem real;
    // The errno seam of the real file system, under the name tests know.
    decltype(platform::LinuxFileSystem::injectErrno)& injectErrno = real.injectErrno;
    bool hideCreation = false;
    // Every folder listed, in order, and the listings of them that read the
    // stored attributes of every file too.
    QStringList listed;
    QStringList listedWithFileAttributes;
    // When set and not 0 for a folder, listing it fails with that errno, as
    // a folder that may not be read does (root may read every folder).
    std::function<int(const QString& dir)> listErrno;
    // When set, a folder made changes what folderId tells of the folder
    // that holds it from then on, as an overlay's copy-up of that folder
    // changes its birth time; the folder itself stays the same. The inode
    // number is what moves here: any comparison of folders tells that.
    bool copyUpOnMakeDir = false;

private:
    QHash<QString, quint64> m_copiedUp; // folder (no closing "/") -> how far its identity moved
    std::optional<platform::FsStatus> injectedListFailure(const QString& dir, QList<platform::DirEntry>* entries);
};

} // namespace tavil::test
