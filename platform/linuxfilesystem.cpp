#include "platform/linuxfilesystem.h"

#include "platform/dosattrib.h"
#include "platform/fsname.h"
#include "platform/linuxblob.h"
#include "platform/linuxops.h"
#include "platform/linuxsys.h"
#include "platform/names.h"

#include <QDateTime>
#include <QFile>

#include <cerrno>
#include <climits>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace tavil::platform {

using lfs::Loc;
using lfs::Sys;

namespace {

FsStatus fail(Err err, int sysErrno = 0)
{
    return FsStatus{err, sysErrno, false};
}

// The path without closing separators ("/" stays "/").
QStringView withoutTrailingSeparators(QStringView path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

mode_t currentUmask()
{
    // Read without changing it: umask() itself can only be read by setting
    // it, which would race with other threads creating files.
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray& line : lines) {
            if (line.startsWith("Umask:")) {
                bool okNumber = false;
                const uint value = line.mid(6).trimmed().toUInt(&okNumber, 8);
                if (okNumber)
                    return mode_t(value);
            }
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

QDateTime localTime(qint64 seconds)
{
    // The rules of that date, not today's offset.
    return QDateTime::fromSecsSinceEpoch(seconds);
}

// The mount's id that is never handed out again while the kernel runs
// (Linux 6.8 and later); older headers lack the name. An older kernel
// leaves the bit out of the answer.
constexpr unsigned kStatxMntIdUnique = 0x4000U;
// statfs f_type of an overlay mount.
constexpr __fsword_t kOverlayMagic = 0x794c7630;

bool statxOf(const Loc& loc, struct statx* sx)
{
    return ::statx(loc.dirFd, loc.c(), AT_SYMLINK_NOFOLLOW | AT_STATX_SYNC_AS_STAT,
                   STATX_BASIC_STATS | STATX_BTIME, sx)
        == 0;
}

bool isNetworkFuse(dev_t device)
{
    // The kind of a FUSE mount is only known from the mount table.
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray wanted = QByteArray::number(major(device)) + ':' + QByteArray::number(minor(device));
    static const char* const kNetworkTypes[] = {
        "fuse.sshfs", "fuse.rclone", "fuse.s3fs", "fuse.gcsfuse", "fuse.curlftpfs",
        "fuse.smbnetfs", "fuse.glusterfs", "fuse.ceph-fuse", "fuse.davfs", "fuse.gvfsd-fuse",
    };
    const QList<QByteArray> lines = table.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || fields.at(2) != wanted)
            continue;
        const qsizetype dash = fields.indexOf(QByteArrayLiteral("-"));
        if (dash < 0 || dash + 1 >= fields.size())
            continue;
        for (const char* type : kNetworkTypes) {
            if (fields.at(dash + 1) == type)
                return true;
        }
    }
    return false;
}

// A link moved across file systems stays a link: the same link made anew
// there (never replacing), then the old one removed.
FsStatus moveLink(const Sys& sys, const Loc& from, const Loc& to)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlinkat(from.dirFd, from.c(), buffer, sizeof buffer);
    if (n < 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    if (size_t(n) >= sizeof buffer)
        return fail(Err::Access, ENAMETOOLONG);
    const QByteArray linkText(buffer, n);
    if (::symlinkat(linkText.constData(), to.dirFd, to.c()) != 0)
        return statusFromErrno(errno, ErrnoContext::Folder);
    if (const int e = sys.unlink(from)) {
        (void)sys.unlink(to);
        return statusFromErrno(e, ErrnoContext::Source);
    }
    return {};
}

} // namespace

LinuxFileSystem::LinuxFileSystem() = default;

LinuxFileSystem::~LinuxFileSystem()
{
    for (const Held& held : std::as_const(m_held))
        ::close(held.fd);
}

const LinuxFileSystem::Held* LinuxFileSystem::heldFolder(QStringView folder) const
{
    for (const Held& held : m_held) {
        if (held.folder == folder)
            return &held;
    }
    return nullptr;
}

FsStatus LinuxFileSystem::locate(const QString& path, Loc* loc) const
{
    // A closing "/" stays: it makes the path a folder's, and a file under
    // such a path is not found.
    loc->path = path;
    loc->dirFd = AT_FDCWD;
    if (path.isEmpty())
        return fail(Err::BadName);
    if (!m_held.isEmpty()) {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash >= 0 && slash + 1 < path.size()) {
            const Held* held = heldFolder(slash == 0 ? QStringView(u"/") : QStringView(path).left(slash));
            if (held) {
                // Only the name is needed: the folder is the open one.
                if (!nameToBytes(QStringView(path).mid(slash + 1), &loc->rel))
                    return fail(Err::BadName);
                loc->dirFd = held->fd;
                return {};
            }
        }
    }
    if (!nameToBytes(path, &loc->rel))
        return fail(Err::BadName);
    return {};
}

FsStatus LinuxFileSystem::locateTarget(const QString& path, Loc* loc) const
{
    const QStringView p = withoutTrailingSeparators(path);
    const qsizetype slash = p.lastIndexOf(u'/');
    // Callers check names before they get here; a name that still holds a
    // control character, or is empty, "." or "..", is refused rather than
    // acted on.
    if (checkNewName(p.mid(slash + 1)) != NameVerdict::Ok)
        return fail(Err::BadName);
    // Trailing dots and blanks go from the name as it is made on disk.
    qsizetype end = p.size();
    while (end > slash + 1 && (p[end - 1] == u'.' || p[end - 1] == u' '))
        --end;
    if (end == path.size())
        return locate(path, loc); // the usual case: nothing to drop, nothing copied
    return locate(p.left(end).toString(), loc);
}

FolderHold LinuxFileSystem::holdFolder(const QString& folder)
{
    const QString key = withoutTrailingSeparators(folder).toString();
    if (!heldFolder(key)) {
        QByteArray bytes;
        if (key.isEmpty() || !nameToBytes(key, &bytes))
            return {};
        const int fd = ::open(bytes.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return {};
        m_held.append(Held{key, fd, 0});
    }
    ++const_cast<Held*>(heldFolder(key))->holds;
    // The hold gives the folder back when its last holder lets go.
    return FolderHold(static_cast<void*>(this), [this, key](void*) {
        for (qsizetype i = 0; i < m_held.size(); ++i) {
            if (m_held[i].folder != key)
                continue;
            if (--m_held[i].holds == 0) {
                ::close(m_held[i].fd);
                m_held.removeAt(i);
            }
            return;
        }
    });
}

FileInfo LinuxFileSystem::stat(const QString& path)
{
    FileInfo info;
    Loc loc;
    struct stat st;
    if (!locate(path, &loc).ok() || lfs::lstatAt(loc, &st) != 0)
        return info;
    info.exists = true;
    info.isDir = S_ISDIR(st.st_mode);
    info.isRegular = S_ISREG(st.st_mode);
    info.isSymlink = S_ISLNK(st.st_mode);
    info.size = qint64(st.st_size);
    info.device = quint64(st.st_dev);
    info.inode = quint64(st.st_ino);
    info.links = quint64(st.st_nlink);
    info.blocks = quint64(st.st_blocks);
    info.mode = quint32(st.st_mode);
    return info;
}

bool LinuxFileSystem::exists(const QString& path)
{
    Loc loc;
    struct stat st;
    return locate(path, &loc).ok() && lfs::lstatAt(loc, &st) == 0;
}

FolderId LinuxFileSystem::folderId(const QString& path)
{
    FolderId id;
    Loc loc;
    if (!locate(path, &loc).ok())
        return id;
    // Every field is read from one open folder, so a folder replaced between
    // two calls can't lend it half its fields. Opened for reading (as a
    // listing opens it) for the generation number; a folder that can only be
    // searched is looked at through a path descriptor, without it. Never a
    // FIFO or device: O_DIRECTORY opens nothing else.
    lfs::Fd fd;
    bool readable = true;
    *fd.out() = ::openat(loc.dirFd, loc.c(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd.get() < 0 && (errno == EACCES || errno == EPERM)) {
        readable = false;
        *fd.out() = ::openat(loc.dirFd, loc.c(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    struct statx sx;
    if (fd.get() < 0
        || ::statx(fd.get(), "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT,
                   STATX_TYPE | STATX_INO | STATX_BTIME | kStatxMntIdUnique, &sx)
               != 0
        || (sx.stx_mask & (STATX_TYPE | STATX_INO)) != (STATX_TYPE | STATX_INO) || !S_ISDIR(sx.stx_mode))
        return id;
    id.valid = true;
    id.device = (quint64(sx.stx_dev_major) << 32) | sx.stx_dev_minor;
    id.inode = quint64(sx.stx_ino);
    // The plain mount id is given again to the next mount once this one is
    // gone, so only the unique one tells a swapped volume apart.
    if (sx.stx_mask & kStatxMntIdUnique) {
        id.hasMount = true;
        id.mount = quint64(sx.stx_mnt_id);
    }
    // A copy-up gives an overlay's folder the birth time of its new upper
    // half (and would give it that half's generation): neither is the
    // folder's own there.
    struct statfs sf;
    if (::fstatfs(fd.get(), &sf) == 0 && sf.f_type == kOverlayMagic)
        return id;
    if (sx.stx_mask & STATX_BTIME) {
        id.hasBirth = true;
        id.birthSecs = qint64(sx.stx_btime.tv_sec);
        id.birthNsecs = quint32(sx.stx_btime.tv_nsec);
    }
    int generation = 0;
    if (readable && ::ioctl(fd.get(), FS_IOC_GETVERSION, &generation) == 0) {
        id.hasGeneration = true;
        id.generation = quint32(generation);
    }
    return id;
}

bool LinuxFileSystem::openable(const QString& path)
{
    Loc loc;
    struct stat st;
    // Checked before opening, so a device is never opened at all; a FIFO
    // would block a plain open until a writer came.
    if (!locate(path, &loc).ok() || lfs::statAt(loc, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    lfs::Fd fd;
    if (Sys(injectErrno).open(loc, O_RDONLY | O_NONBLOCK | O_NOCTTY, 0, fd.out()) != 0)
        return false;
    return ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode);
}

FsStatus LinuxFileSystem::rename(const QString& from, const QString& to)
{
    Loc source, target;
    if (const FsStatus st = locate(from, &source); !st.ok())
        return st;
    if (const FsStatus st = locateTarget(to, &target); !st.ok())
        return st;
    return lfs::renameEntry(Sys(injectErrno), source, target);
}

FsStatus LinuxFileSystem::copy(const QString& from, const QString& to, const CopyProgress& progress)
{
    Loc source, target;
    if (const FsStatus st = locate(from, &source); !st.ok())
        return st;
    if (const FsStatus st = locateTarget(to, &target); !st.ok())
        return st;
    return lfs::copyEntry(Sys(injectErrno), source, target, lfs::CopyOptions{false, &progress});
}

FsStatus LinuxFileSystem::move(const QString& from, const QString& to, const CopyProgress& progress)
{
    Loc source, target;
    if (const FsStatus st = locate(from, &source); !st.ok())
        return st;
    if (const FsStatus st = locateTarget(to, &target); !st.ok())
        return st;
    const Sys sys(injectErrno);
    const FsStatus renamed = lfs::renameEntry(sys, source, target);
    if (renamed.sysErrno != EXDEV)
        return renamed;
    // Another file system: a copy on disk, then the source removed. Should
    // the source stay, the copy goes again, so the file is never in two
    // places.
    struct stat st;
    if (lfs::lstatAt(source, &st) == 0 && S_ISLNK(st.st_mode))
        return moveLink(sys, source, target);
    const FsStatus copied = lfs::copyEntry(sys, source, target, lfs::CopyOptions{true, &progress});
    if (!copied.ok())
        return copied;
    if (const int e = sys.unlink(source)) {
        (void)sys.unlink(target);
        return statusFromErrno(e, ErrnoContext::Source);
    }
    return {};
}

FsStatus LinuxFileSystem::remove(const QString& path)
{
    Loc loc;
    if (const FsStatus st = locate(path, &loc); !st.ok())
        return st;
    struct stat st;
    if (const int e = lfs::lstatAt(loc, &st))
        return statusFromErrno(e, ErrnoContext::Source);
    const Sys sys(injectErrno);
    const int e = S_ISDIR(st.st_mode) ? sys.rmdir(loc) : sys.unlink(loc);
    return statusFromErrno(e, ErrnoContext::Source);
}

FsStatus LinuxFileSystem::makeDir(const QString& path)
{
    Loc loc;
    if (const FsStatus st = locateTarget(path, &loc); !st.ok())
        return st;
    return statusFromErrno(Sys(injectErrno).mkdir(loc), ErrnoContext::MakeDir);
}

FsStatus LinuxFileSystem::moveToTrash(const QString& path)
{
    Loc loc;
    if (const FsStatus st = locate(path, &loc); !st.ok())
        return st;
    return lfs::trashEntry(Sys(injectErrno), loc);
}

FsStatus LinuxFileSystem::readAttributes(const QString& path, quint32* attrs)
{
    *attrs = 0;
    Loc loc;
    if (const FsStatus st = locate(path, &loc); !st.ok())
        return st;
    struct stat st;
    if (const int e = lfs::lstatAt(loc, &st))
        return statusFromErrno(e, ErrnoContext::Source);
    *attrs = lfs::attributesOf(lfs::lastPartOf(loc), st.st_mode, lfs::readBlob(loc));
    return {};
}

FsStatus LinuxFileSystem::writeAttributes(const QString& path, quint32 attrs)
{
    Loc loc;
    if (const FsStatus st = locate(path, &loc); !st.ok())
        return st;
    struct stat st;
    if (const int e = lfs::lstatAt(loc, &st))
        return statusFromErrno(e, ErrnoContext::Source);
    // A link has no mode of its own to change and can't carry user
    // attributes; changing its target instead is never right.
    if (S_ISLNK(st.st_mode))
        return fail(Err::Denied, EPERM);
    const Sys sys(injectErrno);
    const mode_t oldMode = st.st_mode & 07777;
    const bool wantReadOnly = (attrs & Attr::ReadOnly) != 0;

    // Read-only is the mode: set removes every write bit, clear gives the
    // owner write permission (and group and others what the umask allows).
    mode_t newMode = oldMode;
    if (wantReadOnly)
        newMode &= ~mode_t(0222);
    else if (!(oldMode & S_IWUSR))
        newMode |= S_IWUSR | (mode_t(0022) & ~currentUmask());

    const QByteArray name = lfs::lastPartOf(loc);
    const lfs::Blob old = lfs::readBlob(loc);
    bool blobWritten = false;
    if (old.state != lfs::Blob::Unsupported) {
        DosAttrib value = lfs::blobToRewrite(name, st.st_mode, old);
        const quint32 flags = Attr::Hidden | Attr::System | Attr::Archive;
        value.attributes = (value.attributes & ~(flags | Attr::ReadOnly)) | (attrs & flags)
            | (wantReadOnly ? Attr::ReadOnly : 0);
        const QByteArray bytes = encodeDosAttrib(value);
        if (old.state != lfs::Blob::Present || old.bytes != bytes) {
            const int e = lfs::writeBlob(sys, loc, bytes, st.st_mode);
            // Without user attributes there is nowhere to keep hidden,
            // system and archive; that is not an error.
            if (e != 0 && e != EOPNOTSUPP)
                return statusFromErrno(e, ErrnoContext::Source);
            blobWritten = (e == 0);
        }
    }

    if (newMode != oldMode) {
        if (const int e = sys.chmod(loc, newMode)) {
            // Keep the stored read-only bit equal to the mode.
            if (blobWritten)
                (void)lfs::restoreBlob(sys, loc, old, st.st_mode);
            return statusFromErrno(e, ErrnoContext::Source);
        }
    }
    return {};
}

FsStatus LinuxFileSystem::readTimes(const QString& path, FileTimes* times)
{
    *times = FileTimes();
    Loc loc;
    if (const FsStatus st = locate(path, &loc); !st.ok())
        return st;
    struct statx sx;
    if (!statxOf(loc, &sx))
        return statusFromErrno(errno, ErrnoContext::Source);
    // Whole seconds: the fraction is dropped, never rounded up.
    if (sx.stx_mask & STATX_MTIME)
        times->lastWrite = localTime(sx.stx_mtime.tv_sec);
    if (sx.stx_mask & STATX_ATIME)
        times->lastAccess = localTime(sx.stx_atime.tv_sec);
    const lfs::Blob blob = S_ISLNK(sx.stx_mode) ? lfs::Blob() : lfs::readBlob(loc);
    if (const auto created = lfs::creationSeconds(blob, sx))
        times->creation = localTime(*created);
    return {};
}

FsStatus LinuxFileSystem::writeTimes(const QString& path, const QDateTime& creation,
                                     const QDateTime& lastAccess, const QDateTime& lastWrite)
{
    Loc loc;
    if (const FsStatus st = locate(path, &loc); !st.ok())
        return st;
    struct stat st;
    if (const int e = lfs::lstatAt(loc, &st))
        return statusFromErrno(e, ErrnoContext::Source);
    const Sys sys(injectErrno);

    // The creation time cannot be set in the file system itself; it lives in
    // the stored attributes. Written first, so that a failure changes nothing.
    if (creation.isValid()) {
        if (S_ISLNK(st.st_mode))
            return fail(Err::Denied, EPERM); // a link can't carry it
        const quint64 nt = unixSecondsToNtTime(creation.toSecsSinceEpoch());
        if (nt == 0)
            return fail(Err::IllegalCall); // before 1601: not a file time
        const lfs::Blob old = lfs::readBlob(loc);
        DosAttrib value = lfs::blobToRewrite(lfs::lastPartOf(loc), st.st_mode, old);
        value.creationTime = nt;
        value.validFlags |= kDosValidCreation;
        const QByteArray bytes = encodeDosAttrib(value);
        if (old.state != lfs::Blob::Present || old.bytes != bytes) {
            if (const int e = lfs::writeBlob(sys, loc, bytes, st.st_mode))
                return statusFromErrno(e, ErrnoContext::Source);
        }
    }

    if (!lastAccess.isValid() && !lastWrite.isValid())
        return {};
    const auto toTimespec = [](const QDateTime& t) {
        struct timespec ts;
        ts.tv_sec = t.isValid() ? time_t(t.toSecsSinceEpoch()) : 0;
        ts.tv_nsec = t.isValid() ? 0 : UTIME_OMIT;
        return ts;
    };
    const struct timespec ts[2] = {toTimespec(lastAccess), toTimespec(lastWrite)};
    return statusFromErrno(sys.utimens(loc, ts), ErrnoContext::Source);
}

FsStatus LinuxFileSystem::listDir(const QString& dir, QList<DirEntry>* entries)
{
    return listFolder(dir, entries, ListAttributes::All);
}

FsStatus LinuxFileSystem::listFolder(const QString& dir, QList<DirEntry>* entries, ListAttributes which)
{
    entries->clear();
    Loc loc;
    if (const FsStatus st = locate(dir, &loc); !st.ok())
        return st;
    // A held folder is listed through its own descriptor.
    if (const Held* held = heldFolder(withoutTrailingSeparators(loc.path)))
        loc = Loc{held->fd, QByteArrayLiteral("."), loc.path};
    return lfs::listEntries(loc, entries, which);
}

bool LinuxFileSystem::isNetworkPath(const QString& path)
{
    Loc loc;
    if (!locate(path, &loc).ok())
        return false;
    QByteArray whole;
    if (!nameToBytes(loc.path, &whole))
        return false;
    struct statfs fs;
    if (::statfs(whole.constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type) & 0xffffffffUL) {
    case 0x6969UL:     // NFS
    case 0x517BUL:     // SMB
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
        return true;
    case 0x65735546UL: { // FUSE: network or not depends on what runs it
        struct stat st;
        return ::stat(whole.constData(), &st) == 0 && isNetworkFuse(st.st_dev);
    }
    default:
        return false;
    }
}

} // namespace tavil::platform
