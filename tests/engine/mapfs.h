#pragma once

#include "platform/filesystem.h"

#include <QMap>
#include <QSet>
#include <QString>

namespace tavil::test {

// A folder tree held in memory, for what a real temporary folder cannot show:
// the root "/", a folder met twice, a folder that cannot be read, a network
// path. Only listing, stat and the network test do anything; the rest fails.
class MapFs final : public platform::FileSystem {
public:
    // Adds a folder below parent (which need not be listed itself) with its
    // own identity; returns the child's path.
    QString addDir(const QString& parent, const QString& name, quint64 inode, bool hidden = false)
    {
        const QString path = (parent.endsWith(u'/') ? parent : parent + u'/') + name;
        platform::DirEntry entry;
        entry.name = name;
        entry.isDir = true;
        entry.isHidden = hidden || name.startsWith(u'.');
        listing[strip(parent)].append(entry);
        setInode(path, inode);
        return path;
    }
    void addFile(const QString& parent, const QString& name)
    {
        platform::DirEntry entry;
        entry.name = name;
        listing[strip(parent)].append(entry);
    }
    void setInode(const QString& path, quint64 inode) { inodes[strip(path)] = inode; }

    platform::FileInfo stat(const QString& path) override
    {
        platform::FileInfo info;
        const auto it = inodes.constFind(strip(path));
        if (it == inodes.constEnd())
            return info;
        info.exists = true;
        info.isDir = true;
        info.device = 1;
        info.inode = *it;
        return info;
    }
    platform::FolderId folderId(const QString& path) override
    {
        const platform::FileInfo info = stat(path);
        platform::FolderId id;
        id.valid = info.exists && info.isDir;
        id.device = info.device;
        id.inode = info.inode;
        return id;
    }
    bool exists(const QString& path) override { return inodes.contains(strip(path)); }
    bool openable(const QString&) override { return false; }
    platform::FsStatus rename(const QString&, const QString&) override { return unsupported(); }
    platform::FolderHold holdFolder(const QString&) override { return {}; }
    platform::FsStatus copy(const QString&, const QString&, const platform::CopyProgress&) override
    {
        return unsupported();
    }
    platform::FsStatus move(const QString&, const QString&, const platform::CopyProgress&) override
    {
        return unsupported();
    }
    platform::FsStatus remove(const QString&) override { return unsupported(); }
    platform::FsStatus makeDir(const QString&) override { return unsupported(); }
    platform::FsStatus moveToTrash(const QString&) override { return unsupported(); }
    platform::FsStatus readAttributes(const QString&, quint32*) override { return unsupported(); }
    platform::FsStatus writeAttributes(const QString&, quint32) override { return unsupported(); }
    platform::FsStatus readTimes(const QString&, platform::FileTimes*) override { return unsupported(); }
    platform::FsStatus writeTimes(const QString&, const QDateTime&, const QDateTime&, const QDateTime&) override
    {
        return unsupported();
    }
    platform::FsStatus listDir(const QString& dir, QList<platform::DirEntry>* entries) override
    {
        listed.append(dir);
        const QString key = strip(dir);
        if (unreadable.contains(key))
            return platform::FsStatus{platform::Err::Denied, 13, false};
        if (!inodes.contains(key))
            return platform::FsStatus{platform::Err::NoPath, 2, false};
        *entries = listing.value(key);
        return {};
    }
    bool isNetworkPath(const QString& path) override
    {
        for (const QString& root : network)
            if (path.startsWith(root))
                return true;
        return false;
    }

    QMap<QString, QList<platform::DirEntry>> listing; // folder (no closing "/" but "/") → entries
    QMap<QString, quint64> inodes;
    QSet<QString> unreadable;
    QStringList network; // paths below these are network paths
    QStringList listed;  // every folder listDir was asked for

private:
    static QString strip(const QString& path)
    {
        return (path.size() > 1 && path.endsWith(u'/')) ? path.chopped(1) : path;
    }
    static platform::FsStatus unsupported() { return platform::FsStatus{platform::Err::IllegalCall, 0, false}; }
};

} // namespace tavil::test
