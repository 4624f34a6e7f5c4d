#include "platform/linuxsys.h"

#include <cerrno>
#include <cstdio>
#include <sys/xattr.h>
#include <unistd.h>

namespace tavil::platform::lfs {

namespace {

constexpr char kDosAttribName[] = "user.DOSATTRIB";

int result(int r)
{
    return r == 0 ? 0 : errno;
}

} // namespace

Loc folderOf(const Loc& loc)
{
    if (loc.held())
        return Loc{loc.dirFd, QByteArrayLiteral("."), loc.path.left(loc.path.lastIndexOf(u'/'))};
    const qsizetype slash = loc.rel.lastIndexOf('/');
    Loc folder;
    folder.rel = slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : loc.rel.left(slash);
    const qsizetype textSlash = loc.path.lastIndexOf(u'/');
    folder.path = textSlash <= 0 ? QStringLiteral("/") : loc.path.left(textSlash);
    return folder;
}

Loc sibling(const Loc& loc, const QByteArray& asciiName)
{
    Loc s;
    s.dirFd = loc.dirFd;
    const qsizetype slash = loc.rel.lastIndexOf('/');
    s.rel = loc.held() || slash < 0 ? asciiName : loc.rel.left(slash + 1) + asciiName;
    s.path = loc.path.left(loc.path.lastIndexOf(u'/') + 1) + QString::fromLatin1(asciiName);
    return s;
}

QByteArray lastPartOf(const Loc& loc)
{
    return loc.rel.mid(loc.rel.lastIndexOf('/') + 1);
}

QByteArray pathForXattr(const Loc& loc)
{
    if (!loc.held())
        return loc.rel;
    return "/proc/self/fd/" + QByteArray::number(loc.dirFd) + '/' + loc.rel;
}

void Fd::reset()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

int Sys::renameNoReplace(const Loc& from, const Loc& to) const
{
    if (const int e = fault("renameat2", to.path))
        return e;
    return result(::renameat2(from.dirFd, from.c(), to.dirFd, to.c(), RENAME_NOREPLACE));
}

int Sys::plainRename(const Loc& from, const Loc& to) const
{
    if (const int e = fault("rename", to.path))
        return e;
    return result(::renameat(from.dirFd, from.c(), to.dirFd, to.c()));
}

int Sys::link(const Loc& from, const Loc& to) const
{
    if (const int e = fault("link", to.path))
        return e;
    // Flags 0: a symbolic link is linked itself, not what it points to.
    return result(::linkat(from.dirFd, from.c(), to.dirFd, to.c(), 0));
}

int Sys::unlink(const Loc& loc) const
{
    if (const int e = fault("unlink", loc.path))
        return e;
    return result(::unlinkat(loc.dirFd, loc.c(), 0));
}

int Sys::rmdir(const Loc& loc) const
{
    if (const int e = fault("rmdir", loc.path))
        return e;
    return result(::unlinkat(loc.dirFd, loc.c(), AT_REMOVEDIR));
}

int Sys::mkdir(const Loc& loc) const
{
    if (const int e = fault("mkdir", loc.path))
        return e;
    return result(::mkdirat(loc.dirFd, loc.c(), 0777));
}

int Sys::chmod(const Loc& loc, mode_t mode) const
{
    if (const int e = fault("chmod", loc.path))
        return e;
    return result(::fchmodat(loc.dirFd, loc.c(), mode, 0));
}

int Sys::fchmod(int fd, const QString& path, mode_t mode) const
{
    if (const int e = fault("chmod", path))
        return e;
    return result(::fchmod(fd, mode));
}

int Sys::open(const Loc& loc, int flags, mode_t mode, int* fd) const
{
    *fd = -1;
    if (const int e = fault("open", loc.path))
        return e;
    int r;
    do {
        r = ::openat(loc.dirFd, loc.c(), flags | O_CLOEXEC, mode);
    } while (r < 0 && errno == EINTR);
    if (r < 0)
        return errno;
    *fd = r;
    return 0;
}

int Sys::writeAll(int fd, const QString& path, const char* data, size_t size) const
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

int Sys::fsync(int fd, const QString& path) const
{
    if (const int e = fault("fsync", path))
        return e;
    int r;
    do {
        r = ::fsync(fd);
    } while (r < 0 && errno == EINTR);
    return result(r);
}

int Sys::linkTemporary(int fd, const Loc& to) const
{
    if (const int e = fault("linkat", to.path))
        return e;
    const QByteArray procPath = "/proc/self/fd/" + QByteArray::number(fd);
    if (::linkat(AT_FDCWD, procPath.constData(), to.dirFd, to.c(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    const int e = errno;
    if (e == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
        // No /proc: this form needs more privilege, but may be allowed.
        return result(::linkat(fd, "", to.dirFd, to.c(), AT_EMPTY_PATH));
    }
    return e;
}

int Sys::utimens(const Loc& loc, const struct timespec times[2]) const
{
    if (const int e = fault("utimensat", loc.path))
        return e;
    return result(::utimensat(loc.dirFd, loc.c(), times, AT_SYMLINK_NOFOLLOW));
}

int Sys::futimens(int fd, const QString& path, const struct timespec times[2]) const
{
    if (const int e = fault("utimensat", path))
        return e;
    return result(::futimens(fd, times));
}

int Sys::setxattr(const Loc& loc, const QByteArray& value) const
{
    if (const int e = fault("setxattr", loc.path))
        return e;
    return result(::lsetxattr(pathForXattr(loc).constData(), kDosAttribName, value.constData(),
                              size_t(value.size()), 0));
}

int Sys::fsetxattr(int fd, const QString& path, const QByteArray& value) const
{
    if (const int e = fault("setxattr", path))
        return e;
    return result(::fsetxattr(fd, kDosAttribName, value.constData(), size_t(value.size()), 0));
}

int Sys::removexattr(const Loc& loc) const
{
    return result(::lremovexattr(pathForXattr(loc).constData(), kDosAttribName));
}

int lstatAt(const Loc& loc, struct stat* st)
{
    return ::fstatat(loc.dirFd, loc.c(), st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

int statAt(const Loc& loc, struct stat* st)
{
    return ::fstatat(loc.dirFd, loc.c(), st, 0) == 0 ? 0 : errno;
}

} // namespace tavil::platform::lfs
