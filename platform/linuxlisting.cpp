#include "platform/fsname.h"
#include "platform/linuxblob.h"
#include "platform/linuxops.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <thread>
#include <vector>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavil::platform::lfs {

namespace {

// The names as the folder gives them, one after another with their closing
// NULs, and where each begins: one buffer for a whole folder, rather than an
// allocation a name.
struct Names {
    QByteArray bytes;
    std::vector<qsizetype> starts;
    std::vector<mode_t> modes;

    const char* name(size_t i) const { return bytes.constData() + starts[i]; }
    qsizetype length(size_t i) const
    {
        const qsizetype end = i + 1 < starts.size() ? starts[i + 1] : bytes.size();
        return end - starts[i] - 1;
    }
};

// Below this many entries one thread reads every attribute; above it the
// reads, which are independent and each cost a lookup in the folder, are
// shared out, so a folder of 100,000 files is listed in a fraction of the
// time.
constexpr size_t kSpreadFrom = 4096;

void readFlags(int fd, const QByteArray& prefix, const Names& names, QList<DirEntry>& entries, size_t from,
               size_t to, ListAttributes which)
{
    for (size_t i = from; i < to; ++i) {
        DirEntry& entry = entries[qsizetype(i)];
        if (entry.isSymlink)
            continue; // a link has no attributes of its own
        if (which == ListAttributes::FoldersOnly && !entry.isDir)
            continue;
        const Blob blob = readBlobIn(fd, names.name(i), prefix);
        if (blob.decoded && (blob.decoded->validFlags & kDosValidAttrib)) {
            entry.isHidden = entry.isHidden || (blob.decoded->attributes & Attr::Hidden);
            entry.isSystem = (blob.decoded->attributes & Attr::System) != 0;
        }
    }
}

} // namespace

FsStatus listEntries(const Loc& folder, QList<DirEntry>* entries, ListAttributes which)
{
    entries->clear();
    const int fd = ::openat(folder.dirFd, folder.c(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return statusFromErrno(errno, ErrnoContext::Folder);
    DIR* d = ::fdopendir(fd);
    if (!d) {
        const int e = errno;
        ::close(fd);
        return statusFromErrno(e, ErrnoContext::Folder);
    }
    Names names;
    errno = 0;
    while (const struct dirent* e = ::readdir(d)) {
        const size_t length = std::strlen(e->d_name);
        if ((length == 1 && e->d_name[0] == '.') || (length == 2 && e->d_name[0] == '.' && e->d_name[1] == '.'))
            continue;
        mode_t mode = 0;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                mode = st.st_mode;
        } else {
            mode = DTTOIF(e->d_type);
        }
        names.starts.push_back(names.bytes.size());
        names.bytes.append(e->d_name, qsizetype(length + 1)); // with its NUL
        names.modes.push_back(mode);
        errno = 0;
    }
    const int readError = errno;
    if (readError != 0) {
        ::closedir(d);
        return statusFromErrno(readError, ErrnoContext::Folder);
    }

    const size_t count = names.starts.size();
    QList<DirEntry> out;
    out.resize(qsizetype(count));
    for (size_t i = 0; i < count; ++i) {
        DirEntry& entry = out[qsizetype(i)];
        entry.name = nameFromBytes(QByteArrayView(names.name(i), names.length(i)));
        entry.isDir = S_ISDIR(names.modes[i]);
        entry.isSymlink = S_ISLNK(names.modes[i]);
        // An entry whose kind could not be read (it vanished meanwhile) is
        // taken for a file.
        const mode_t kind = names.modes[i] & S_IFMT;
        entry.isOther = kind != 0 && kind != S_IFREG && kind != S_IFDIR && kind != S_IFLNK;
        entry.isHidden = names.name(i)[0] == '.';
    }

    // The folder's own path, for kernels that can't read attributes
    // relative to the open folder.
    const QByteArray prefix = (folder.held() ? pathForXattr(folder) : folder.rel) + '/';
    const size_t toRead = which == ListAttributes::All
                              ? count
                              : size_t(std::count_if(out.cbegin(), out.cend(), [](const DirEntry& e) { return e.isDir; }));
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    const size_t parts = toRead < kSpreadFrom ? 1 : std::min<size_t>(8, cores);
    if (parts == 1) {
        if (toRead > 0)
            readFlags(fd, prefix, names, out, 0, count, which);
    } else {
        std::vector<std::thread> threads;
        const size_t step = (count + parts - 1) / parts;
        for (size_t from = step; from < count; from += step)
            threads.emplace_back(readFlags, fd, std::cref(prefix), std::cref(names), std::ref(out), from,
                                 std::min(from + step, count), which);
        readFlags(fd, prefix, names, out, 0, std::min(step, count), which);
        for (std::thread& t : threads)
            t.join();
    }
    ::closedir(d);
    *entries = std::move(out);
    return {};
}

} // namespace tavil::platform::lfs
