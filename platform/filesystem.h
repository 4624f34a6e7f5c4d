#pragma once

#include "platform/errors.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace tavil::platform {

// Attribute bits as the program and SMB clients know them.
namespace Attr {
inline constexpr quint32 ReadOnly = 0x1;
inline constexpr quint32 Hidden = 0x2;
inline constexpr quint32 System = 0x4;
inline constexpr quint32 Directory = 0x10;
inline constexpr quint32 Archive = 0x20;
} // namespace Attr

struct FileInfo {
    bool exists = false;
    bool isDir = false;
    bool isRegular = false;
    bool isSymlink = false;
    qint64 size = 0;
    quint64 device = 0;
    quint64 inode = 0;
    quint64 links = 0;
    quint64 blocks = 0; // 512-byte blocks
    quint32 mode = 0;
};

// Local time, whole seconds. An invalid QDateTime means the time is unknown:
// it equals nothing and passes no condition.
struct FileTimes {
    QDateTime creation;
    QDateTime lastAccess;
    QDateTime lastWrite;
};

struct DirEntry {
    QString name;
    bool isDir = false;     // a real folder (symbolic links are not followed)
    bool isSymlink = false;
    bool isHidden = false;  // a dot name or the hidden attribute
    bool isSystem = false;
};

// Every file-system call of the program. Paths are absolute native paths with
// "/" as separator. Targets of rename, copy, move and makeDir have trailing
// dots and blanks dropped from their last part first (names are often built
// as base + "." + an empty extension).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileInfo stat(const QString& path) = 0;   // does not follow a final link
    virtual bool exists(const QString& path) = 0;     // any entry, a dangling link too
    virtual bool openable(const QString& path) = 0;   // a regular file that opens for reading

    // Never replaces an existing entry: an existing target is Err::Exists.
    // The same path is a no-op success; the same inode under another
    // spelling (a case-only change on a case-insensitive mount) is renamed.
    virtual FsStatus rename(const QString& from, const QString& to) = 0;
    // Copies data, mode, access and write times and the stored attributes.
    // Never replaces, never leaves a partial target under the final name.
    virtual FsStatus copy(const QString& from, const QString& to) = 0;
    // rename(), or across file systems a copy and then removal of the source.
    virtual FsStatus move(const QString& from, const QString& to) = 0;
    virtual FsStatus remove(const QString& path) = 0;
    virtual FsStatus makeDir(const QString& path) = 0;
    virtual FsStatus moveToTrash(const QString& path) = 0;

    // Attr bits: read-only from the mode, hidden/system/archive from
    // user.DOSATTRIB (or the defaults), Directory for folders.
    virtual FsStatus readAttributes(const QString& path, quint32* attrs) = 0;
    // Writes read-only, hidden, system and archive; Directory is ignored.
    virtual FsStatus writeAttributes(const QString& path, quint32 attrs) = 0;

    virtual FsStatus readTimes(const QString& path, FileTimes* times) = 0;
    // An invalid QDateTime leaves that time as it is.
    virtual FsStatus writeTimes(const QString& path, const QDateTime& creation,
                                const QDateTime& lastAccess, const QDateTime& lastWrite) = 0;

    // Entries in the file system's order, without "." and "..".
    virtual FsStatus listDir(const QString& dir, QList<DirEntry>* entries) = 0;

    // A folder on a network file system (NFS, SMB, network FUSE mounts).
    virtual bool isNetworkPath(const QString& path) = 0;
};

} // namespace tavil::platform
