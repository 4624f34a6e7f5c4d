#include "platform/linuxfilesystem.h"

#include "platform/dosattrib.h"
#include "platform/names.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <dirent.h>
#include <unistd.h>

namespace tavil::platform {

namespace {

constexpr char kDosAttribName[] = "user.DOSATTRIB";
constexpr quint32 kOwnedBits =
    Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive | Attr::Directory;

using Injector = std::function<int(const char* call, const QString& path)>;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

bool hasNul(const QString& path)
{
    return path.contains(QChar(0));
}

FsStatus ok()
{
    return {};
}

FsStatus fail(Err err, int sysErrno = 0)
{
    return FsStatus{err, sysErrno};
}

// The path without closing separators ("/" stays "/").
QString withoutTrailingSeparators(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith(u'/'))
        p.chop(1);
    return p;
}

QString lastPart(const QString& path)
{
    const QString p = withoutTrailingSeparators(path);
    return p.mid(p.lastIndexOf(u'/') + 1);
}

QString parentOf(const QString& path)
{
    const QString p = withoutTrailingSeparators(path);
    const qsizetype slash = p.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return p.left(slash);
}

// The path a new entry gets on disk: trailing dots and blanks dropped from
// its last part. Callers check names before they get here; a name that
// still holds a control character, or is empty, "." or "..", is refused
// rather than acted on.
FsStatus targetPath(const QString& to, QString* out)
{
    if (hasNul(to))
        return fail(Err::BadName);
    const QString p = withoutTrailingSeparators(to);
    const qsizetype slash = p.lastIndexOf(u'/');
    const QString name = p.mid(slash + 1);
    if (checkNewName(name) != NameVerdict::Ok)
        return fail(Err::BadName);
    *out = p.left(slash + 1) + diskName(name);
    return ok();
}

bool sameEntry(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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

// Every system call that can fail goes through here, so a test can make it
// fail. Each returns 0 or the errno value.
class Sys {
public:
    explicit Sys(const Injector& injector) : m_injector(injector) {}

    int fault(const char* call, const QString& path) const
    {
        return m_injector ? m_injector(call, path) : 0;
    }

    int renameNoReplace(const QString& from, const QString& to) const
    {
        if (const int e = fault("renameat2", to))
            return e;
        return result(::renameat2(AT_FDCWD, native(from).constData(), AT_FDCWD,
                                  native(to).constData(), RENAME_NOREPLACE));
    }
    // Replaces an existing target: only for a case-only change of one entry
    // and the documented fallback below.
    int plainRename(const QString& from, const QString& to) const
    {
        if (const int e = fault("rename", to))
            return e;
        return result(::rename(native(from).constData(), native(to).constData()));
    }
    int link(const QString& from, const QString& to) const
    {
        if (const int e = fault("link", to))
            return e;
        // Flags 0: a symbolic link is linked itself, not what it points to.
        return result(::linkat(AT_FDCWD, native(from).constData(), AT_FDCWD,
                               native(to).constData(), 0));
    }
    int unlink(const QString& path) const
    {
        if (const int e = fault("unlink", path))
            return e;
        return result(::unlink(native(path).constData()));
    }
    int rmdir(const QString& path) const
    {
        if (const int e = fault("rmdir", path))
            return e;
        return result(::rmdir(native(path).constData()));
    }
    int mkdir(const QString& path) const
    {
        if (const int e = fault("mkdir", path))
            return e;
        return result(::mkdir(native(path).constData(), 0777));
    }
    int chmod(const QString& path, mode_t mode) const
    {
        if (const int e = fault("chmod", path))
            return e;
        return result(::chmod(native(path).constData(), mode));
    }
    int fchmod(int fd, const QString& path, mode_t mode) const
    {
        if (const int e = fault("chmod", path))
            return e;
        return result(::fchmod(fd, mode));
    }
    int open(const QString& path, const QByteArray& nativePath, int flags, mode_t mode, int* fd) const
    {
        *fd = -1;
        if (const int e = fault("open", path))
            return e;
        int r;
        do {
            r = ::open(nativePath.constData(), flags | O_CLOEXEC, mode);
        } while (r < 0 && errno == EINTR);
        if (r < 0)
            return errno;
        *fd = r;
        return 0;
    }
    int open(const QString& path, int flags, mode_t mode, int* fd) const
    {
        return open(path, native(path), flags, mode, fd);
    }
    // Writes everything, through short writes and interruptions.
    int writeAll(int fd, const QString& path, const char* data, size_t size) const
    {
        while (size > 0) {
            if (const int e = fault("write", path))
                return e;
            const ssize_t n = ::write(fd, data, size);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            if (n == 0)
                return EIO;
            data += n;
            size -= size_t(n);
        }
        return 0;
    }
    int fsync(int fd, const QString& path) const
    {
        if (const int e = fault("fsync", path))
            return e;
        int r;
        do {
            r = ::fsync(fd);
        } while (r < 0 && errno == EINTR);
        return result(r);
    }
    // Gives an unnamed temporary file its name; never replaces.
    int linkTemporary(int fd, const QString& to) const
    {
        if (const int e = fault("linkat", to))
            return e;
        const QByteArray target = native(to);
        const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(fd);
        if (::linkat(AT_FDCWD, procPath.constData(), AT_FDCWD, target.constData(),
                     AT_SYMLINK_FOLLOW) == 0)
            return 0;
        const int e = errno;
        if (e == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
            // No /proc: this form needs more privilege, but may be allowed.
            return result(::linkat(fd, "", AT_FDCWD, target.constData(), AT_EMPTY_PATH));
        }
        return e;
    }
    int utimens(const QString& path, const struct timespec times[2]) const
    {
        if (const int e = fault("utimensat", path))
            return e;
        return result(::utimensat(AT_FDCWD, native(path).constData(), times, 0));
    }
    int futimens(int fd, const QString& path, const struct timespec times[2]) const
    {
        if (const int e = fault("utimensat", path))
            return e;
        return result(::futimens(fd, times));
    }
    int setxattr(const QString& path, const QByteArray& value) const
    {
        if (const int e = fault("setxattr", path))
            return e;
        return result(::setxattr(native(path).constData(), kDosAttribName, value.constData(),
                                 size_t(value.size()), 0));
    }
    int fsetxattr(int fd, const QString& path, const QByteArray& value) const
    {
        if (const int e = fault("setxattr", path))
            return e;
        return result(::fsetxattr(fd, kDosAttribName, value.constData(), size_t(value.size()), 0));
    }

private:
    static int result(int r) { return r == 0 ? 0 : errno; }

    const Injector& m_injector;
};

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }
    int* out() { reset(); return &m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd = -1;
};

// The stored attribute blob of an entry.
struct Blob {
    enum State { Absent, Present, Unsupported } state = Absent;
    QByteArray bytes;
    std::optional<DosAttrib> decoded;
};

Blob blobFromBuffer(ssize_t n, const char* buffer)
{
    Blob blob;
    blob.state = Blob::Present;
    blob.bytes = QByteArray(buffer, qsizetype(n));
    blob.decoded = decodeDosAttrib(blob.bytes);
    return blob;
}

Blob blobFromError(int e)
{
    Blob blob;
    // Not there, or not readable (no permission, no support): either way the
    // defaults are all that can be known.
    blob.state = (e == EOPNOTSUPP) ? Blob::Unsupported : Blob::Absent;
    return blob;
}

Blob readBlob(const QByteArray& path)
{
    char buffer[256];
    const ssize_t n = ::getxattr(path.constData(), kDosAttribName, buffer, sizeof buffer);
    if (n >= 0)
        return blobFromBuffer(n, buffer);
    if (errno != ERANGE)
        return blobFromError(errno);
    const ssize_t size = ::getxattr(path.constData(), kDosAttribName, nullptr, 0);
    if (size < 0)
        return blobFromError(errno);
    QByteArray big(qsizetype(size), '\0');
    const ssize_t m = ::getxattr(path.constData(), kDosAttribName, big.data(), size_t(size));
    if (m < 0)
        return blobFromError(errno);
    return blobFromBuffer(m, big.constData());
}

Blob readBlob(int fd)
{
    char buffer[256];
    const ssize_t n = ::fgetxattr(fd, kDosAttribName, buffer, sizeof buffer);
    if (n >= 0)
        return blobFromBuffer(n, buffer);
    if (errno != ERANGE)
        return blobFromError(errno);
    const ssize_t size = ::fgetxattr(fd, kDosAttribName, nullptr, 0);
    if (size < 0)
        return blobFromError(errno);
    QByteArray big(qsizetype(size), '\0');
    const ssize_t m = ::fgetxattr(fd, kDosAttribName, big.data(), size_t(size));
    if (m < 0)
        return blobFromError(errno);
    return blobFromBuffer(m, big.constData());
}

bool isDotName(const QString& name)
{
    return name.startsWith(u'.');
}

// Hidden, system and archive as they stand when nothing was ever stored.
quint32 defaultFlags(const QString& name, mode_t mode)
{
    quint32 flags = 0;
    if (isDotName(name))
        flags |= Attr::Hidden;
    if (S_ISREG(mode))
        flags |= Attr::Archive;
    return flags;
}

quint32 modeBits(mode_t mode)
{
    quint32 bits = 0;
    if (!(mode & S_IWUSR))
        bits |= Attr::ReadOnly;
    if (S_ISDIR(mode))
        bits |= Attr::Directory;
    return bits;
}

quint32 attributesOf(const QString& name, mode_t mode, const Blob& blob)
{
    quint32 flags = defaultFlags(name, mode);
    if (blob.decoded && (blob.decoded->validFlags & kDosValidAttrib))
        flags = blob.decoded->attributes & (Attr::Hidden | Attr::System | Attr::Archive);
    if (isDotName(name))
        flags |= Attr::Hidden;
    return flags | modeBits(mode);
}

// The blob to rewrite: what is stored (fields not ours kept), or one made
// from the defaults. Read-only and the folder bit always follow the mode.
DosAttrib blobToRewrite(const QString& name, mode_t mode, const Blob& blob)
{
    DosAttrib value;
    if (blob.decoded) {
        value = *blob.decoded;
        value.validFlags &= kDosValidAttrib | kDosValidCreation | kDosValidItime;
    }
    if (!(value.validFlags & kDosValidAttrib))
        value.attributes = (value.attributes & ~kOwnedBits) | defaultFlags(name, mode);
    value.attributes = (value.attributes & ~(Attr::ReadOnly | Attr::Directory)) | modeBits(mode);
    value.validFlags |= kDosValidAttrib;
    return value;
}

// A user attribute needs write permission even where the owner changes it
// on a read-only file; the owner's write bit is granted for that one write.
int writeBlob(const Sys& sys, const QString& path, const QByteArray& bytes, mode_t mode)
{
    int e = sys.setxattr(path, bytes);
    if ((e == EACCES || e == EPERM) && !(mode & S_IWUSR) && !S_ISLNK(mode)) {
        if (sys.chmod(path, (mode & 07777) | S_IWUSR) != 0)
            return e;
        e = sys.setxattr(path, bytes);
        (void)sys.chmod(path, mode & 07777);
    }
    return e;
}

int restoreBlob(const Sys& sys, const QString& path, const Blob& old, mode_t mode)
{
    if (old.state == Blob::Present)
        return writeBlob(sys, path, old.bytes, mode);
    return ::removexattr(native(path).constData(), kDosAttribName) == 0 ? 0 : errno;
}

// The creation time an entry has: the stored one, else the birth time.
std::optional<qint64> creationSeconds(const Blob& blob, const struct statx& sx)
{
    if (blob.decoded && (blob.decoded->validFlags & kDosValidCreation)
        && blob.decoded->creationTime != 0)
        return ntTimeToUnixSeconds(blob.decoded->creationTime);
    // A birth time of exactly the epoch is what some file systems report
    // when they do not know it.
    if ((sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0))
        return qint64(sx.stx_btime.tv_sec);
    return std::nullopt;
}

bool statxOf(const QByteArray& path, int dirFd, int flags, struct statx* sx)
{
    return ::statx(dirFd, path.constData(), flags | AT_STATX_SYNC_AS_STAT,
                   STATX_BASIC_STATS | STATX_BTIME, sx)
        == 0;
}

// A temporary file in the target folder that becomes the target only when
// it is complete.
class TemporaryFile {
public:
    explicit TemporaryFile(const Sys& sys) : m_sys(sys) {}
    ~TemporaryFile() { discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // 0 or errno.
    int create(const QString& folder)
    {
        // An unnamed file vanishes by itself if anything fails or the program
        // dies half-way.
        int e = m_sys.open(folder, O_TMPFILE | O_WRONLY, 0600, m_fd.out());
        if (e == 0)
            return 0;
        if (e != EOPNOTSUPP && e != EISDIR && e != EINVAL)
            return e;
        // No unnamed files here: a hidden name, removed on failure.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QString name = QStringLiteral(".tavil-%1.tmp")
                                     .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
            const QString path = folder + (folder.endsWith(u'/') ? "" : "/") + name;
            e = m_sys.open(path, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW, 0600, m_fd.out());
            if (e == 0) {
                m_namedPath = path;
                return 0;
            }
            if (e != EEXIST)
                return e;
        }
        return EEXIST;
    }

    int fd() const { return m_fd.get(); }
    const QString& namedPath() const { return m_namedPath; }
    bool isNamed() const { return !m_namedPath.isEmpty(); }

    void release()
    {
        m_fd.reset();
        m_namedPath.clear();
    }

    void discard()
    {
        m_fd.reset();
        if (!m_namedPath.isEmpty())
            ::unlink(native(m_namedPath).constData());
        m_namedPath.clear();
    }

private:
    const Sys& m_sys;
    Fd m_fd;
    QString m_namedPath;
};

// How the copy's creation time is set: now (a copy is a new file), or kept
// (a move across file systems is still the same file).
enum class CreationOfCopy { Now, KeepSource };

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

} // namespace

// ---------------------------------------------------------------------------

FileInfo LinuxFileSystem::stat(const QString& path)
{
    FileInfo info;
    struct stat st;
    if (hasNul(path) || ::lstat(native(path).constData(), &st) != 0)
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
    struct stat st;
    return !path.isEmpty() && !hasNul(path) && ::lstat(native(path).constData(), &st) == 0;
}

bool LinuxFileSystem::openable(const QString& path)
{
    if (path.isEmpty() || hasNul(path))
        return false;
    const QByteArray p = native(path);
    struct stat st;
    // Checked before opening, so a device is never opened at all; a FIFO
    // would block a plain open until a writer came.
    if (::stat(p.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    Fd fd;
    const Sys sys(injectErrno);
    if (sys.open(path, p, O_RDONLY | O_NONBLOCK | O_NOCTTY, 0, fd.out()) != 0)
        return false;
    return ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

// An existing target: the same entry under another spelling is done; the
// same file under a name differing only in case (a case-insensitive mount)
// is renamed plainly; anything else is a clash.
FsStatus existingTarget(const Sys& sys, const QString& from, const QString& to)
{
    struct stat a, b, pa, pb;
    if (::lstat(native(from).constData(), &a) == 0 && ::lstat(native(to).constData(), &b) == 0
        && sameEntry(a, b) && ::stat(native(parentOf(from)).constData(), &pa) == 0
        && ::stat(native(parentOf(to)).constData(), &pb) == 0 && sameEntry(pa, pb)) {
        const QString oldName = lastPart(from);
        const QString newName = lastPart(to);
        if (native(oldName) == native(newName))
            return ok();
        if (oldName.compare(newName, Qt::CaseInsensitive) == 0) {
            if (const int e = sys.plainRename(from, to))
                return statusFromErrno(e);
            return ok();
        }
    }
    return fail(Err::Exists, EEXIST);
}

// ENOENT from a call that had a source and a target: which one is missing.
FsStatus missingSourceOrFolder(const QString& from, int e)
{
    struct stat st;
    if (e == ENOENT && ::lstat(native(from).constData(), &st) == 0)
        return statusFromErrno(e, ErrnoContext::Folder);
    return statusFromErrno(e, ErrnoContext::Source);
}

// For file systems without RENAME_NOREPLACE.
FsStatus renameWithoutNoReplace(const Sys& sys, const QString& from, const QString& to)
{
    struct stat st;
    if (::lstat(native(from).constData(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    if (!S_ISDIR(st.st_mode)) {
        // A second name, then the old one removed: link() never replaces.
        const int e = sys.link(from, to);
        if (e == 0) {
            if (const int u = sys.unlink(from)) {
                (void)sys.unlink(to);
                return statusFromErrno(u, ErrnoContext::Source);
            }
            return ok();
        }
        if (e == EEXIST)
            return existingTarget(sys, from, to);
        if (e != EPERM && e != EOPNOTSUPP && e != EMLINK && e != ENOSYS)
            return missingSourceOrFolder(from, e);
        // No hard links here either (FAT-like file systems): fall through.
    }
    // Folders, and files where nothing better exists: a check, then a plain
    // rename. This is racy: an entry made under the target name between the
    // check and the rename would be replaced. Only file systems that offer
    // neither RENAME_NOREPLACE nor hard links come here.
    struct stat target;
    if (::lstat(native(to).constData(), &target) == 0)
        return existingTarget(sys, from, to);
    if (errno != ENOENT)
        return statusFromErrno(errno, ErrnoContext::Folder);
    if (const int e = sys.plainRename(from, to))
        return missingSourceOrFolder(from, e);
    return ok();
}

// Renames to a target whose name is already final.
FsStatus renameNoReplace(const Sys& sys, const QString& from, const QString& to)
{
    if (from == to) {
        struct stat st;
        if (::lstat(native(from).constData(), &st) != 0)
            return statusFromErrno(errno, ErrnoContext::Source);
        return ok();
    }
    const int e = sys.renameNoReplace(from, to);
    switch (e) {
    case 0:
        return ok();
    case EEXIST:
        return existingTarget(sys, from, to);
    case EINVAL:
    case ENOSYS:
        return renameWithoutNoReplace(sys, from, to);
    default:
        return missingSourceOrFolder(from, e);
    }
}

FsStatus copyFile(const Sys& sys, const QString& from, const QString& to, CreationOfCopy creation)
{
    if (hasNul(from))
        return fail(Err::BadName);
    const QByteArray src = native(from);
    struct stat st;
    if (::stat(src.constData(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    // Only plain files are copied: reading a FIFO or a device would block or
    // never end.
    if (!S_ISREG(st.st_mode))
        return fail(Err::Access);
    Fd in;
    if (const int e = sys.open(from, src, O_RDONLY | O_NONBLOCK | O_NOCTTY, 0, in.out()))
        return statusFromErrno(e, ErrnoContext::Source);
    if (::fstat(in.get(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    if (!S_ISREG(st.st_mode))
        return fail(Err::Access);

    struct stat existing;
    if (::lstat(native(to).constData(), &existing) == 0)
        return fail(Err::Exists, EEXIST);

    TemporaryFile out(sys);
    if (const int e = out.create(parentOf(to)))
        return statusFromErrno(e, ErrnoContext::Folder);
    // Faults in the temporary are reported against the target.
    const QString& target = to;

    static constexpr size_t kChunk = 256 * 1024;
    QByteArray buffer(qsizetype(kChunk), Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(in.get(), buffer.data(), kChunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return statusFromErrno(errno, ErrnoContext::Source);
        }
        if (n == 0)
            break;
        if (const int e = sys.writeAll(out.fd(), target, buffer.constData(), size_t(n)))
            return statusFromErrno(e, ErrnoContext::Folder);
    }

    // Attributes travel with the file; the copy is a new file, created now,
    // unless it is a move, which keeps its creation time.
    const Blob blob = readBlob(in.get());
    std::optional<DosAttrib> value;
    if (blob.decoded)
        value = blobToRewrite(lastPart(to), st.st_mode, blob);
    if (creation == CreationOfCopy::Now) {
        if (value) {
            value->creationTime = unixSecondsToNtTime(QDateTime::currentSecsSinceEpoch());
            value->validFlags |= kDosValidCreation;
        }
    } else {
        struct statx sx;
        if (statxOf(src, AT_FDCWD, 0, &sx)) {
            if (const auto created = creationSeconds(blob, sx)) {
                if (!value)
                    value = blobToRewrite(lastPart(to), st.st_mode, Blob());
                value->creationTime = unixSecondsToNtTime(*created);
                value->validFlags |= kDosValidCreation;
            }
        }
    }
    if (value || blob.state == Blob::Present) {
        const QByteArray bytes = value ? encodeDosAttrib(*value) : blob.bytes;
        const int e = sys.fsetxattr(out.fd(), target, bytes);
        // A target file system without user attributes cannot keep them;
        // the data is what counts.
        if (e != 0 && e != EOPNOTSUPP)
            return statusFromErrno(e, ErrnoContext::Folder);
    }

    if (const int e = sys.fchmod(out.fd(), target, st.st_mode & 0777))
        return statusFromErrno(e, ErrnoContext::Folder);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (const int e = sys.futimens(out.fd(), target, times))
        return statusFromErrno(e, ErrnoContext::Folder);
    if (const int e = sys.fsync(out.fd(), target))
        return statusFromErrno(e, ErrnoContext::Folder);

    if (out.isNamed()) {
        const QString temporary = out.namedPath();
        const FsStatus placed = renameNoReplace(sys, temporary, to);
        if (!placed.ok())
            return placed; // the temporary is removed by out's destructor
        out.release();
        return ok();
    }
    if (const int e = sys.linkTemporary(out.fd(), to)) {
        if (e == EEXIST)
            return fail(Err::Exists, EEXIST);
        return statusFromErrno(e, ErrnoContext::Folder);
    }
    return ok();
}

} // namespace

FsStatus LinuxFileSystem::rename(const QString& from, const QString& to)
{
    if (hasNul(from))
        return fail(Err::BadName);
    QString target;
    if (const FsStatus st = targetPath(to, &target); !st.ok())
        return st;
    return renameNoReplace(Sys(injectErrno), from, target);
}

FsStatus LinuxFileSystem::copy(const QString& from, const QString& to)
{
    QString target;
    if (const FsStatus st = targetPath(to, &target); !st.ok())
        return st;
    return copyFile(Sys(injectErrno), from, target, CreationOfCopy::Now);
}

FsStatus LinuxFileSystem::move(const QString& from, const QString& to)
{
    if (hasNul(from))
        return fail(Err::BadName);
    QString target;
    if (const FsStatus st = targetPath(to, &target); !st.ok())
        return st;
    const Sys sys(injectErrno);
    const FsStatus renamed = renameNoReplace(sys, from, target);
    if (renamed.sysErrno != EXDEV)
        return renamed;
    // Another file system: copy, then remove the source. Should the source
    // stay, the copy goes again, so the file is never in two places.
    const FsStatus copied = copyFile(sys, from, target, CreationOfCopy::KeepSource);
    if (!copied.ok())
        return copied;
    if (const int e = sys.unlink(from)) {
        (void)sys.unlink(target);
        return statusFromErrno(e, ErrnoContext::Source);
    }
    return ok();
}

FsStatus LinuxFileSystem::remove(const QString& path)
{
    if (hasNul(path))
        return fail(Err::BadName);
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    const Sys sys(injectErrno);
    const int e = S_ISDIR(st.st_mode) ? sys.rmdir(path) : sys.unlink(path);
    return statusFromErrno(e, ErrnoContext::Source);
}

FsStatus LinuxFileSystem::makeDir(const QString& path)
{
    QString target;
    if (const FsStatus st = targetPath(path, &target); !st.ok())
        return st;
    return statusFromErrno(Sys(injectErrno).mkdir(target), ErrnoContext::MakeDir);
}

FsStatus LinuxFileSystem::moveToTrash(const QString& path)
{
    if (hasNul(path))
        return fail(Err::BadName);
    struct stat st;
    if (::lstat(native(path).constData(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    // Without the data folder, Qt reports success and moves the file into
    // "files" under the current folder instead; make sure it exists.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir().mkpath(data))
        return fail(Err::Access);
    QFile file(path);
    if (!file.moveToTrash())
        return fail(Err::Access);
    const QString inTrash = file.fileName();
    if (QDir::isRelativePath(inTrash)) {
        // Not in a trash at all: put it back where it was.
        const QString moved = QDir::current().absoluteFilePath(inTrash);
        if (renameNoReplace(Sys(injectErrno), moved, path).ok()) {
            const QString name = moved.mid(moved.lastIndexOf(u'/') + 1);
            QFile::remove(QDir::current().absoluteFilePath(QStringLiteral("info/") + name
                                                           + QStringLiteral(".trashinfo")));
        }
        return fail(Err::Access);
    }
    return ok();
}

FsStatus LinuxFileSystem::readAttributes(const QString& path, quint32* attrs)
{
    *attrs = 0;
    if (hasNul(path))
        return fail(Err::BadName);
    const QByteArray p = native(path);
    struct stat st;
    if (::stat(p.constData(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    *attrs = attributesOf(lastPart(path), st.st_mode, readBlob(p));
    return ok();
}

FsStatus LinuxFileSystem::writeAttributes(const QString& path, quint32 attrs)
{
    if (hasNul(path))
        return fail(Err::BadName);
    const QByteArray p = native(path);
    struct stat st;
    if (::stat(p.constData(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
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

    const Blob old = readBlob(p);
    bool blobWritten = false;
    if (old.state != Blob::Unsupported) {
        DosAttrib value = blobToRewrite(lastPart(path), st.st_mode, old);
        const quint32 flags = Attr::Hidden | Attr::System | Attr::Archive;
        value.attributes = (value.attributes & ~(flags | Attr::ReadOnly)) | (attrs & flags)
            | (wantReadOnly ? Attr::ReadOnly : 0);
        const QByteArray bytes = encodeDosAttrib(value);
        if (old.state != Blob::Present || old.bytes != bytes) {
            const int e = writeBlob(sys, path, bytes, st.st_mode);
            // Without user attributes there is nowhere to keep hidden,
            // system and archive; that is not an error.
            if (e != 0 && e != EOPNOTSUPP)
                return statusFromErrno(e, ErrnoContext::Source);
            blobWritten = (e == 0);
        }
    }

    if (newMode != oldMode) {
        if (const int e = sys.chmod(path, newMode)) {
            // Keep the stored read-only bit equal to the mode.
            if (blobWritten)
                (void)restoreBlob(sys, path, old, st.st_mode);
            return statusFromErrno(e, ErrnoContext::Source);
        }
    }
    return ok();
}

FsStatus LinuxFileSystem::readTimes(const QString& path, FileTimes* times)
{
    *times = FileTimes();
    if (hasNul(path))
        return fail(Err::BadName);
    const QByteArray p = native(path);
    struct statx sx;
    if (!statxOf(p, AT_FDCWD, 0, &sx))
        return statusFromErrno(errno, ErrnoContext::Source);
    // Whole seconds: the fraction is dropped, never rounded up.
    if (sx.stx_mask & STATX_MTIME)
        times->lastWrite = localTime(sx.stx_mtime.tv_sec);
    if (sx.stx_mask & STATX_ATIME)
        times->lastAccess = localTime(sx.stx_atime.tv_sec);
    if (const auto created = creationSeconds(readBlob(p), sx))
        times->creation = localTime(*created);
    return ok();
}

FsStatus LinuxFileSystem::writeTimes(const QString& path, const QDateTime& creation,
                                     const QDateTime& lastAccess, const QDateTime& lastWrite)
{
    if (hasNul(path))
        return fail(Err::BadName);
    const QByteArray p = native(path);
    struct stat st;
    if (::stat(p.constData(), &st) != 0)
        return statusFromErrno(errno, ErrnoContext::Source);
    const Sys sys(injectErrno);

    // The creation time cannot be set in the file system itself; it lives in
    // the stored attributes. Written first, so that a failure changes nothing.
    if (creation.isValid()) {
        const quint64 nt = unixSecondsToNtTime(creation.toSecsSinceEpoch());
        if (nt == 0)
            return fail(Err::IllegalCall); // before 1601: not a file time
        const Blob old = readBlob(p);
        DosAttrib value = blobToRewrite(lastPart(path), st.st_mode, old);
        value.creationTime = nt;
        value.validFlags |= kDosValidCreation;
        const QByteArray bytes = encodeDosAttrib(value);
        if (old.state != Blob::Present || old.bytes != bytes) {
            if (const int e = writeBlob(sys, path, bytes, st.st_mode))
                return statusFromErrno(e, ErrnoContext::Source);
        }
    }

    if (!lastAccess.isValid() && !lastWrite.isValid())
        return ok();
    const auto toTimespec = [](const QDateTime& t) {
        struct timespec ts;
        ts.tv_sec = t.isValid() ? time_t(t.toSecsSinceEpoch()) : 0;
        ts.tv_nsec = t.isValid() ? 0 : UTIME_OMIT;
        return ts;
    };
    const struct timespec ts[2] = {toTimespec(lastAccess), toTimespec(lastWrite)};
    return statusFromErrno(sys.utimens(path, ts), ErrnoContext::Source);
}

FsStatus LinuxFileSystem::listDir(const QString& dir, QList<DirEntry>* entries)
{
    entries->clear();
    if (hasNul(dir))
        return fail(Err::BadName);
    DIR* d = ::opendir(native(dir).constData());
    if (!d)
        return statusFromErrno(errno, ErrnoContext::Folder);
    const QString prefix = withTrailingSeparator(dir);
    errno = 0;
    while (const struct dirent* e = ::readdir(d)) {
        const QByteArray raw(e->d_name);
        if (raw == "." || raw == "..")
            continue;
        DirEntry entry;
        entry.name = QFile::decodeName(raw);
        unsigned char type = e->d_type;
        mode_t mode = 0;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(::dirfd(d), raw.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                mode = st.st_mode;
        } else {
            mode = DTTOIF(type);
        }
        entry.isDir = S_ISDIR(mode);
        entry.isSymlink = S_ISLNK(mode);
        entry.isHidden = isDotName(entry.name);
        if (!entry.isSymlink) {
            const Blob blob = readBlob(native(prefix) + raw);
            if (blob.decoded && (blob.decoded->validFlags & kDosValidAttrib)) {
                entry.isHidden = entry.isHidden || (blob.decoded->attributes & Attr::Hidden);
                entry.isSystem = (blob.decoded->attributes & Attr::System) != 0;
            }
        }
        entries->append(entry);
        errno = 0;
    }
    const int readError = errno;
    ::closedir(d);
    if (readError != 0) {
        entries->clear();
        return statusFromErrno(readError, ErrnoContext::Folder);
    }
    return ok();
}

bool LinuxFileSystem::isNetworkPath(const QString& path)
{
    if (path.isEmpty() || hasNul(path))
        return false;
    const QByteArray p = native(path);
    struct statfs fs;
    if (::statfs(p.constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type) & 0xffffffffUL) {
    case 0x6969UL:     // NFS
    case 0x517BUL:     // SMB
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
        return true;
    case 0x65735546UL: { // FUSE: network or not depends on what runs it
        struct stat st;
        return ::stat(p.constData(), &st) == 0 && isNetworkFuse(st.st_dev);
    }
    default:
        return false;
    }
}

} // namespace tavil::platform
