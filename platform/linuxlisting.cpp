#include "platform/fsname.h"
#include "platform/linuxblob.h"
#include "platform/linuxops.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavil::platform::lfs {

FsStatus listEntries(const Loc& folder, QList<DirEntry>* entries)
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
    // The whole path, for kernels that can't read attributes relative to
    // the open folder.
    const QByteArray prefix = (folder.held() ? pathForXattr(folder) : folder.rel) + '/';
    errno = 0;
    while (const struct dirent* e = ::readdir(d)) {
        const QByteArray raw = QByteArray::fromRawData(e->d_name, qsizetype(std::strlen(e->d_name)));
        if (raw == "." || raw == "..")
            continue;
        DirEntry entry;
        entry.name = nameFromBytes(raw);
        mode_t mode = 0;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                mode = st.st_mode;
        } else {
            mode = DTTOIF(e->d_type);
        }
        entry.isDir = S_ISDIR(mode);
        entry.isSymlink = S_ISLNK(mode);
        entry.isHidden = raw.startsWith('.');
        if (!entry.isSymlink) {
            const Blob blob = readBlobIn(fd, raw, prefix + raw);
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
    return {};
}

} // namespace tavil::platform::lfs
