#include "platform/linuxblob.h"

#include "platform/filesystem.h"

#include <atomic>
#include <cerrno>
#include <cstdint>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tavil::platform::lfs {

namespace {

constexpr char kDosAttribName[] = "user.DOSATTRIB";
constexpr quint32 kOwnedBits =
    Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive | Attr::Directory;

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

// One reader for every way of asking: a small buffer first, the exact size
// when the blob is bigger.
template <typename Get>
Blob readWith(Get get)
{
    char buffer[256];
    const ssize_t n = get(buffer, sizeof buffer);
    if (n >= 0)
        return blobFromBuffer(n, buffer);
    if (errno != ERANGE)
        return blobFromError(errno);
    const ssize_t size = get(nullptr, 0);
    if (size < 0)
        return blobFromError(errno);
    QByteArray big(qsizetype(size), '\0');
    const ssize_t m = get(big.data(), size_t(size));
    if (m < 0)
        return blobFromError(errno);
    return blobFromBuffer(m, big.constData());
}

// getxattrat (Linux 6.13) reads relative to a folder, so a listing need not
// walk the whole path once per entry. Its number is the same on every
// architecture.
#ifndef SYS_getxattrat
#define SYS_getxattrat 464
#endif
struct XattrArgs {
    std::uint64_t value;
    std::uint32_t size;
    std::uint32_t flags;
};
std::atomic<bool> g_noGetxattrat{false};

bool isDotName(const QByteArray& name)
{
    return name.startsWith('.');
}

} // namespace

Blob readBlob(const Loc& loc)
{
    const QByteArray path = pathForXattr(loc);
    return readWith([&](char* buf, size_t size) { return ::lgetxattr(path.constData(), kDosAttribName, buf, size); });
}

Blob readBlob(int fd)
{
    return readWith([fd](char* buf, size_t size) { return ::fgetxattr(fd, kDosAttribName, buf, size); });
}

Blob readBlobIn(int dirFd, const char* name, const QByteArray& folderPrefix)
{
    if (!g_noGetxattrat.load(std::memory_order_relaxed)) {
        bool missing = false;
        Blob blob = readWith([&](char* buf, size_t size) -> ssize_t {
            XattrArgs args{reinterpret_cast<std::uintptr_t>(buf), std::uint32_t(size), 0};
            const long r = ::syscall(SYS_getxattrat, dirFd, name, AT_SYMLINK_NOFOLLOW, kDosAttribName, &args,
                                     sizeof args);
            if (r < 0 && errno == ENOSYS)
                missing = true;
            return ssize_t(r);
        });
        if (!missing)
            return blob;
        g_noGetxattrat.store(true, std::memory_order_relaxed);
    }
    const QByteArray wholePath = folderPrefix + name;
    return readWith(
        [&](char* buf, size_t size) { return ::lgetxattr(wholePath.constData(), kDosAttribName, buf, size); });
}

quint32 defaultFlags(const QByteArray& name, mode_t mode)
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
    // A link's own mode always allows writing; it is never read-only.
    if (!S_ISLNK(mode) && !(mode & S_IWUSR))
        bits |= Attr::ReadOnly;
    if (S_ISDIR(mode))
        bits |= Attr::Directory;
    return bits;
}

quint32 attributesOf(const QByteArray& name, mode_t mode, const Blob& blob)
{
    quint32 flags = defaultFlags(name, mode);
    if (blob.decoded && (blob.decoded->validFlags & kDosValidAttrib))
        flags = blob.decoded->attributes & (Attr::Hidden | Attr::System | Attr::Archive);
    if (isDotName(name))
        flags |= Attr::Hidden;
    return flags | modeBits(mode);
}

DosAttrib blobToRewrite(const QByteArray& name, mode_t mode, const Blob& blob)
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

int writeBlob(const Sys& sys, const Loc& loc, const QByteArray& bytes, mode_t mode)
{
    int e = sys.setxattr(loc, bytes);
    if ((e == EACCES || e == EPERM) && !(mode & S_IWUSR) && !S_ISLNK(mode)) {
        if (sys.chmod(loc, (mode & 07777) | S_IWUSR) != 0)
            return e;
        e = sys.setxattr(loc, bytes);
        (void)sys.chmod(loc, mode & 07777);
    }
    return e;
}

int restoreBlob(const Sys& sys, const Loc& loc, const Blob& old, mode_t mode)
{
    if (old.state == Blob::Present)
        return writeBlob(sys, loc, old.bytes, mode);
    return sys.removexattr(loc);
}

std::optional<qint64> creationSeconds(const Blob& blob, const struct statx& sx)
{
    if (blob.decoded && (blob.decoded->validFlags & kDosValidCreation) && blob.decoded->creationTime != 0)
        return ntTimeToUnixSeconds(blob.decoded->creationTime);
    // A birth time of exactly the epoch is what some file systems report
    // when they do not know it.
    if ((sx.stx_mask & STATX_BTIME) && (sx.stx_btime.tv_sec != 0 || sx.stx_btime.tv_nsec != 0))
        return qint64(sx.stx_btime.tv_sec);
    return std::nullopt;
}

} // namespace tavil::platform::lfs
