#include "platform/linuxops.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavil::platform::lfs {

namespace {

bool sameEntry(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool sameFolder(const Loc& a, const Loc& b)
{
    struct stat fa, fb;
    return statAt(folderOf(a), &fa) == 0 && statAt(folderOf(b), &fb) == 0 && sameEntry(fa, fb);
}

// ASCII letters only: the case-insensitive mounts that matter here (vfat,
// exFAT, SMB) fold at least these.
bool equalIgnoringAsciiCase(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// True when the folder of loc lists an entry under exactly loc's name. On a
// case-insensitive mount a lookup under another spelling finds an entry
// that the listing shows under its own.
bool listedExactly(const Loc& loc)
{
    const Loc folder = folderOf(loc);
    const int r = ::openat(folder.dirFd, folder.c(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (r < 0)
        return true; // can't tell: the careful answer is a clash
    DIR* d = ::fdopendir(r);
    if (!d) {
        ::close(r);
        return true;
    }
    const QByteArray name = lastPartOf(loc);
    bool found = false;
    while (const struct dirent* e = ::readdir(d)) {
        if (name == e->d_name) {
            found = true;
            break;
        }
    }
    ::closedir(d);
    return found;
}

// An existing target: the same entry under the same name is done; the same
// entry found under a name that differs only in case (a case-insensitive
// mount) is renamed plainly; anything else is a clash, a second hard link of
// the same file included.
FsStatus existingTarget(const Sys& sys, const Loc& from, const Loc& to)
{
    struct stat a, b;
    if (lstatAt(from, &a) == 0 && lstatAt(to, &b) == 0 && sameEntry(a, b) && sameFolder(from, to)) {
        const QByteArray oldName = lastPartOf(from);
        const QByteArray newName = lastPartOf(to);
        if (oldName == newName)
            return {};
        if (equalIgnoringAsciiCase(oldName, newName) && !listedExactly(to)) {
            if (const int e = sys.plainRename(from, to))
                return statusFromErrno(e);
            return {};
        }
    }
    return FsStatus{Err::Exists, EEXIST, false};
}

// ENOENT from a call that had a source and a target: which one is missing.
FsStatus missingSourceOrFolder(const Loc& from, int e)
{
    struct stat st;
    if (e == ENOENT && lstatAt(from, &st) == 0)
        return statusFromErrno(e, ErrnoContext::Folder);
    return statusFromErrno(e, ErrnoContext::Source);
}

// For file systems without RENAME_NOREPLACE.
FsStatus renameWithoutNoReplace(const Sys& sys, const Loc& from, const Loc& to)
{
    struct stat st;
    if (const int e = lstatAt(from, &st))
        return statusFromErrno(e, ErrnoContext::Source);
    if (!S_ISDIR(st.st_mode)) {
        // A second name, then the old one removed: link() never replaces.
        const int e = sys.link(from, to);
        if (e == 0) {
            if (const int u = sys.unlink(from)) {
                (void)sys.unlink(to);
                return statusFromErrno(u, ErrnoContext::Source);
            }
            return {};
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
    const int missing = lstatAt(to, &target);
    if (missing == 0)
        return existingTarget(sys, from, to);
    if (missing != ENOENT)
        return statusFromErrno(missing, ErrnoContext::Folder);
    if (const int e = sys.plainRename(from, to))
        return missingSourceOrFolder(from, e);
    return {};
}

} // namespace

FsStatus renameEntry(const Sys& sys, const Loc& from, const Loc& to)
{
    if (from.dirFd == to.dirFd && from.rel == to.rel) {
        struct stat st;
        if (const int e = lstatAt(from, &st))
            return statusFromErrno(e, ErrnoContext::Source);
        return {};
    }
    const int e = sys.renameNoReplace(from, to);
    switch (e) {
    case 0:
        return {};
    case EEXIST:
        return existingTarget(sys, from, to);
    case EINVAL:
    case ENOSYS:
        return renameWithoutNoReplace(sys, from, to);
    default:
        return missingSourceOrFolder(from, e);
    }
}

} // namespace tavil::platform::lfs
