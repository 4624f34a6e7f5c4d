#pragma once

#include "platform/errors.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

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
    bool isOther = false;   // neither file, folder nor link: a FIFO, socket or device
    bool isHidden = false;  // a dot name or the hidden attribute
    bool isSystem = false;
};

// Which folder a path leads to, told apart from any folder that takes its
// place: one removed and made again under the same name, another folder
// moved there, or a mount put over it, taken away or swapped for another
// (see sameFolder). A removed folder's inode number may be given to the next
// new one, so what tells them apart is what the file system keeps besides:
// the birth time, the inode's generation number, and the id of the mount,
// which the kernel never hands out twice while it runs. Each of these is
// there only where the system gives it. On an overlay (live systems,
// containers) the birth time is left out: the copy-up of a folder from the
// lower layer, which any write into it causes, gives it another while it
// stays the same folder.
struct FolderId {
    bool valid = false;   // the path led to a folder
    quint64 device = 0;
    quint64 inode = 0;
    qint64 birthSecs = 0;
    quint32 birthNsecs = 0;
    bool hasBirth = false;
    quint32 generation = 0;
    bool hasGeneration = false;
    quint64 mount = 0;
    bool hasMount = false;
};

// True when both name the same folder; a folder that could not be looked at
// is the same as none. A field known on one side only tells them apart:
// whether it is known follows from the file system, the kernel and the
// folder's read right, all the same for the same folder.
inline bool sameFolder(const FolderId& a, const FolderId& b)
{
    return a.valid && b.valid && a.device == b.device && a.inode == b.inode && a.hasBirth == b.hasBirth
           && (!a.hasBirth || (a.birthSecs == b.birthSecs && a.birthNsecs == b.birthNsecs))
           && a.hasGeneration == b.hasGeneration && (!a.hasGeneration || a.generation == b.generation)
           && a.hasMount == b.hasMount && (!a.hasMount || a.mount == b.mount);
}

// Which entries of a listing have their stored attributes (hidden, system)
// read. Reading them costs a look-up per entry, which a big folder feels;
// an entry whose attributes are not read is hidden only for a dot name and
// never system.
enum class ListAttributes {
    All,
    FoldersOnly,
};

// Called between the chunks of one copy with the bytes copied so far and
// the file's size. Returning false stops the copy: it ends with
// Err::Interrupted and leaves nothing under the final name.
using CopyProgress = std::function<bool(qint64 done, qint64 total)>;

// A folder held open: see FileSystem::holdFolder.
using FolderHold = std::shared_ptr<void>;

// Every file-system call of the program. Paths are absolute paths with "/"
// as separator, their names in the byte-exact form of platform/fsname.h.
// Targets of rename, copy, move and makeDir have trailing dots and blanks
// dropped from their last part first (names are often built as base + "." +
// an empty extension).
//
// Symbolic links are never followed to change what they point at: stat,
// exists, the attribute and time calls, rename, remove and the trash act on
// the link itself. Only reading follows a link: openable, and the data a
// copy reads.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileInfo stat(const QString& path) = 0;   // does not follow a final link
    virtual bool exists(const QString& path) = 0;     // any entry, a dangling link too
    virtual bool openable(const QString& path) = 0;   // a regular file that opens for reading
    // The folder path leads to now, following links as a listing does; not
    // valid when there is none. A handful of system calls on the folder
    // opened for that moment only (a shown folder is never kept open, so its
    // volume can still be unmounted): cheap enough to ask for before every
    // piece of work in a folder.
    virtual FolderId folderId(const QString& path) = 0;

    // Until the hold is released, names directly in that folder are found
    // through the folder opened once, not by walking the whole path again:
    // faster, and a folder moved meanwhile is still the one acted on. An
    // empty hold when the folder can't be opened (calls then go by path).
    virtual FolderHold holdFolder(const QString& folder) = 0;

    // Never replaces an existing entry: an existing target is Err::Exists.
    // The same path is a no-op success; the same entry under a name that
    // differs only in case (a case-insensitive mount) is renamed; a second
    // hard link of the same file under the target name is a clash.
    virtual FsStatus rename(const QString& from, const QString& to) = 0;
    // Copies data, mode, access and write times and the stored attributes of
    // a regular file (a link: of the file it points to). Never replaces, never
    // leaves a partial target under the final name. progress may be empty.
    virtual FsStatus copy(const QString& from, const QString& to, const CopyProgress& progress) = 0;
    // rename(), or across file systems a durable copy and then removal of the
    // source.
    virtual FsStatus move(const QString& from, const QString& to, const CopyProgress& progress) = 0;
    // The same without progress reports (implementations bring these into
    // scope with a using-declaration).
    FsStatus copy(const QString& from, const QString& to) { return copy(from, to, CopyProgress()); }
    FsStatus move(const QString& from, const QString& to) { return move(from, to, CopyProgress()); }
    virtual FsStatus remove(const QString& path) = 0;
    virtual FsStatus makeDir(const QString& path) = 0;
    // The freedesktop trash of the user (or of the file's own volume). A
    // failure leaves the entry where it was; it is never deleted instead.
    virtual FsStatus moveToTrash(const QString& path) = 0;

    // Attr bits: read-only from the mode, hidden/system/archive from
    // user.DOSATTRIB (or the defaults), Directory for folders.
    virtual FsStatus readAttributes(const QString& path, quint32* attrs) = 0;
    // Writes read-only, hidden, system and archive; Directory is ignored.
    // A symbolic link can carry none of them: Err::Denied, nothing changed.
    virtual FsStatus writeAttributes(const QString& path, quint32 attrs) = 0;

    virtual FsStatus readTimes(const QString& path, FileTimes* times) = 0;
    // An invalid QDateTime leaves that time as it is. A symbolic link takes
    // new access and write times itself; it has nowhere to keep a creation
    // time (Err::Denied, nothing changed).
    virtual FsStatus writeTimes(const QString& path, const QDateTime& creation,
                                const QDateTime& lastAccess, const QDateTime& lastWrite) = 0;

    // Entries in the file system's order, without "." and "..".
    virtual FsStatus listDir(const QString& dir, QList<DirEntry>* entries) = 0;
    // The same, reading the stored attributes only of the entries asked
    // for. A file system that can't tell them apart reads them all.
    virtual FsStatus listFolder(const QString& dir, QList<DirEntry>* entries, ListAttributes which)
    {
        (void)which;
        return listDir(dir, entries);
    }

    // A folder on a network file system (NFS, SMB, network FUSE mounts).
    virtual bool isNetworkPath(const QString& path) = 0;
};

} // namespace tavil::platform
