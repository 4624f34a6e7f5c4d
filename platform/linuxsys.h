#pragma once

// The system-call layer under LinuxFileSystem: every call that can fail goes
// through Sys, so a test can make it fail, and every path reaches the system
// as a Loc, a folder descriptor and a name in it.

#include "platform/errors.h"

#include <QByteArray>
#include <QString>

#include <functional>

#include <fcntl.h>
#include <sys/stat.h>

namespace tavil::platform::lfs {

using Injector = std::function<int(const char* call, const QString& path)>;

// A path as the *at system calls take it: relative to a held folder, or the
// whole path against AT_FDCWD. `path` is the program's text of it, for
// fault injection.
struct Loc {
    int dirFd = AT_FDCWD;
    QByteArray rel;
    QString path;

    const char* c() const { return rel.constData(); }
    bool held() const { return dirFd != AT_FDCWD; }
};

// The folder that holds loc, as a Loc of its own.
Loc folderOf(const Loc& loc);
// A name beside loc, in the same folder; an ASCII name (the temporary names
// of copies).
Loc sibling(const Loc& loc, const QByteArray& asciiName);
// The last part of loc's name, as bytes.
QByteArray lastPartOf(const Loc& loc);
// A path the path-only calls (the xattr family) can take: the whole path, or
// the held folder through /proc/self/fd.
QByteArray pathForXattr(const Loc& loc);

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }
    int* out()
    {
        reset();
        return &m_fd;
    }
    void reset();

private:
    int m_fd = -1;
};

// Each call returns 0 or the errno value. The fault names are those of
// LinuxFileSystem::injectErrno.
class Sys {
public:
    explicit Sys(const Injector& injector) : m_injector(injector) {}

    int fault(const char* call, const QString& path) const
    {
        return m_injector ? m_injector(call, path) : 0;
    }

    int renameNoReplace(const Loc& from, const Loc& to) const;
    // Replaces an existing target: only for a case-only change of one entry
    // and the documented fallback where nothing better exists.
    int plainRename(const Loc& from, const Loc& to) const;
    int link(const Loc& from, const Loc& to) const; // never follows a link
    int unlink(const Loc& loc) const;
    int rmdir(const Loc& loc) const;
    int mkdir(const Loc& loc) const;
    int chmod(const Loc& loc, mode_t mode) const; // only for entries that are not links
    int fchmod(int fd, const QString& path, mode_t mode) const;
    int open(const Loc& loc, int flags, mode_t mode, int* fd) const;
    // Writes everything, through short writes and interruptions.
    int writeAll(int fd, const QString& path, const char* data, size_t size) const;
    int fsync(int fd, const QString& path) const;
    // Gives an unnamed temporary file its name; never replaces.
    int linkTemporary(int fd, const Loc& to) const;
    int utimens(const Loc& loc, const struct timespec times[2]) const; // the entry itself, links too
    int futimens(int fd, const QString& path, const struct timespec times[2]) const;
    int setxattr(const Loc& loc, const QByteArray& value) const;
    int fsetxattr(int fd, const QString& path, const QByteArray& value) const;
    int removexattr(const Loc& loc) const;

private:
    const Injector& m_injector;
};

// lstat of loc: 0 or errno.
int lstatAt(const Loc& loc, struct stat* st);
// stat of loc, following a final link.
int statAt(const Loc& loc, struct stat* st);

} // namespace tavil::platform::lfs
