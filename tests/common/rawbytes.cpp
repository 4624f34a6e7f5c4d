#include "tests/common/rawbytes.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tavil::test::raw {

QByteArray join(const QByteArray& folder, const QByteArray& name)
{
    return folder + '/' + name;
}

bool makeFile(const QByteArray& path, const QByteArray& data, mode_t mode)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return false;
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        p += n;
        left -= n;
    }
    return ::close(fd) == 0 && ::chmod(path.constData(), mode) == 0;
}

bool makeDir(const QByteArray& path)
{
    return ::mkdir(path.constData(), 0755) == 0;
}

QByteArray read(const QByteArray& path, bool* ok)
{
    if (ok)
        *ok = false;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray out;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            ::close(fd);
            return {};
        }
        if (n == 0)
            break;
        out.append(buffer, n);
    }
    ::close(fd);
    if (ok)
        *ok = true;
    return out;
}

bool exists(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

QList<QByteArray> names(const QByteArray& folder)
{
    QList<QByteArray> out;
    DIR* d = ::opendir(folder.constData());
    if (!d)
        return out;
    while (const struct dirent* e = ::readdir(d)) {
        const QByteArray name(e->d_name);
        if (name != "." && name != "..")
            out.append(name);
    }
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

QList<Entry> files(const QByteArray& folder)
{
    QList<Entry> out;
    for (const QByteArray& name : names(folder)) {
        const QByteArray path = join(folder, name);
        const struct stat st = lstatOf(path);
        if (S_ISLNK(st.st_mode))
            out.append({name, "<link>"});
        else if (S_ISDIR(st.st_mode))
            out.append({name, "<dir>"});
        else
            out.append({name, read(path)});
    }
    return out;
}

std::string describe(QList<Entry> entries)
{
    std::sort(entries.begin(), entries.end());
    const auto text = [](const QByteArray& bytes) {
        std::string out;
        static const char digits[] = "0123456789ABCDEF";
        for (const char ch : bytes) {
            const auto b = static_cast<unsigned char>(ch);
            if (b >= 0x20 && b < 0x7F && b != '\\') {
                out += char(b);
            } else {
                out += "\\x";
                out += digits[b >> 4];
                out += digits[b & 0xF];
            }
        }
        return out;
    };
    std::string out;
    for (const Entry& e : entries) {
        if (!out.empty())
            out += "; ";
        out += text(e.first) + '=' + text(e.second);
    }
    return out;
}

struct stat lstatOf(const QByteArray& path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        std::memset(&st, 0, sizeof st);
    return st;
}

struct stat statOf(const QByteArray& path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        std::memset(&st, 0, sizeof st);
    return st;
}

bool setTimes(const QByteArray& path, time_t access, time_t write)
{
    const struct timespec ts[2] = {{access, 0}, {write, 0}};
    return ::utimensat(AT_FDCWD, path.constData(), ts, AT_SYMLINK_NOFOLLOW) == 0;
}

QByteArray readLink(const QByteArray& path)
{
    char buffer[4096];
    const ssize_t n = ::readlink(path.constData(), buffer, sizeof buffer);
    return n < 0 ? QByteArray() : QByteArray(buffer, n);
}

QByteArray dosAttrib(const QByteArray& path)
{
    char buffer[256];
    const ssize_t n = ::lgetxattr(path.constData(), "user.DOSATTRIB", buffer, sizeof buffer);
    return n < 0 ? QByteArray() : QByteArray(buffer, n);
}

bool userXattrsWork(const QByteArray& folder)
{
    const QByteArray probe = join(folder, ".xattr-probe");
    if (!makeFile(probe, {}))
        return false;
    const bool works = ::setxattr(probe.constData(), "user.probe", "1", 1, 0) == 0;
    ::unlink(probe.constData());
    return works;
}

void removeContents(const QByteArray& folder)
{
    for (const QByteArray& name : names(folder)) {
        const QByteArray path = join(folder, name);
        if (S_ISDIR(lstatOf(path).st_mode)) {
            ::chmod(path.constData(), 0755);
            removeContents(path);
            ::rmdir(path.constData());
        } else {
            ::unlink(path.constData());
        }
    }
}

} // namespace tavil::test::raw
