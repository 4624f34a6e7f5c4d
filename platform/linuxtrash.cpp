#include "platform/fsname.h"
#include "platform/linuxops.h"

#include <QDateTime>
#include <QFile>
#include <QList>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

// The freedesktop trash: the user's own under the data folder for files of
// the same volume, else the volume's ($topdir/.Trash/$uid or
// $topdir/.Trash-$uid). Everything is done in bytes, so a name that is not
// UTF-8 goes into the trash (and comes back out of it) unchanged.

namespace tavil::platform::lfs {

namespace {

Loc absolute(const QByteArray& bytes)
{
    return Loc{AT_FDCWD, bytes, nameFromBytes(bytes)};
}

bool isAbsolute(const QByteArray& path)
{
    return path.startsWith('/');
}

QByteArray dataHome()
{
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    if (isAbsolute(xdg))
        return xdg;
    const QByteArray home = qgetenv("HOME");
    if (!isAbsolute(home))
        return {};
    return home + "/.local/share";
}

// Makes the folder and its missing parents; 0 or errno.
int makePath(const QByteArray& path, mode_t lastMode)
{
    struct stat st;
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0) {
        if (const int e = makePath(path.left(slash), 0755))
            return e;
    }
    if (::mkdir(path.constData(), lastMode) != 0 && errno != EEXIST)
        return errno;
    return 0;
}

// A trash folder that is a real folder of this user, not a link.
bool ownTrashFolder(const QByteArray& path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// "\040" and the like, as the mount table writes blanks in mount points.
QByteArray unescapeMountPoint(const QByteArray& field)
{
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool isUnder(const QByteArray& path, const QByteArray& folder)
{
    if (folder == "/")
        return true;
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == '/');
}

// The mount point that holds path: the longest one that is a prefix of it.
QByteArray mountPointOf(const QByteArray& path)
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    QByteArray best = "/";
    if (!table.open(QIODevice::ReadOnly))
        return best;
    const QList<QByteArray> lines = table.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 5)
            continue;
        const QByteArray point = unescapeMountPoint(fields.at(4));
        if (point.size() > best.size() && isUnder(path, point))
            best = point;
    }
    return best;
}

// Letters, digits, "/" and the marks that need no escaping stay; every other
// byte is written %XX, so the info file holds the exact bytes of the name.
QByteArray escapedPath(const QByteArray& path)
{
    static const char kKeep[] = "-_.!~*'()/";
    QByteArray out;
    for (const char ch : path) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9')
            || (b != 0 && std::strchr(kKeep, b) != nullptr))
            out += ch;
        else
            out += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    }
    return out;
}

struct TrashCandidate {
    QByteArray folder;     // holds files/ and info/
    QByteArray pathPrefix; // what the info file's path is relative to ("" = absolute)
};

// 0 when the entry went into this trash; EXDEV when this trash is on
// another mount; any other errno is a failure.
int trashInto(const Sys& sys, const Loc& loc, const QByteArray& absolutePath, const TrashCandidate& trash)
{
    const QByteArray files = trash.folder + "/files";
    const QByteArray info = trash.folder + "/info";
    if (const int e = makePath(files, 0700))
        return e;
    if (const int e = makePath(info, 0700))
        return e;

    QByteArray recorded = absolutePath;
    if (!trash.pathPrefix.isEmpty())
        recorded = absolutePath.mid(trash.pathPrefix == "/" ? 1 : trash.pathPrefix.size() + 1);
    const QByteArray contents = "[Trash Info]\nPath=" + escapedPath(recorded) + "\nDeletionDate="
                                + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1()
                                + "\n";

    const QByteArray name = absolutePath.mid(absolutePath.lastIndexOf('/') + 1);
    for (int n = 1; n < 10000; ++n) {
        const QByteArray candidate = n == 1 ? name : name + '.' + QByteArray::number(n);
        // The info file is made first and exclusively: it reserves the name.
        const Loc infoLoc = absolute(info + '/' + candidate + ".trashinfo");
        Fd fd;
        const int opened = sys.open(infoLoc, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600, fd.out());
        if (opened == EEXIST)
            continue;
        if (opened != 0)
            return opened;
        const int written = sys.writeAll(fd.get(), infoLoc.path, contents.constData(), size_t(contents.size()));
        fd.reset();
        if (written != 0) {
            ::unlink(infoLoc.c());
            return written;
        }
        const int moved = sys.renameNoReplace(loc, absolute(files + '/' + candidate));
        if (moved == 0)
            return 0;
        ::unlink(infoLoc.c());
        if (moved != EEXIST)
            return moved;
    }
    return EEXIST;
}

} // namespace

FsStatus trashEntry(const Sys& sys, const Loc& loc)
{
    struct stat st;
    if (const int e = lstatAt(loc, &st))
        return statusFromErrno(e, ErrnoContext::Source);
    QByteArray absolutePath;
    if (!nameToBytes(loc.path, &absolutePath) || !isAbsolute(absolutePath))
        return FsStatus{Err::BadName, 0, false};

    const QByteArray data = dataHome();
    if (!data.isEmpty() && makePath(data, 0700) == 0) {
        struct stat home;
        if (::stat(data.constData(), &home) == 0 && home.st_dev == st.st_dev) {
            // A file of the data folder's own volume has that one trash: when
            // it can't be used the file stays, rather than going to a trash at
            // the top of the volume where the user would never look.
            const QByteArray own = data + "/Trash";
            struct stat existing;
            if (::lstat(own.constData(), &existing) == 0 && !ownTrashFolder(own))
                return FsStatus{Err::Access, ENOTDIR, false};
            const int e = trashInto(sys, loc, absolutePath, {own, {}});
            if (e == 0)
                return {};
            // The same device through another mount (a bind mount) can't be
            // reached by a rename; its own top is tried below.
            if (e != EXDEV)
                return FsStatus{e == ENOENT ? Err::NotFound : Err::Access, e, false};
        }
    }
    const QByteArray top = mountPointOf(absolutePath);
    const QByteArray topPrefix = top == "/" ? QByteArray() : top;
    const QByteArray uid = QByteArray::number(::getuid());
    QList<TrashCandidate> candidates;
    struct stat shared;
    const QByteArray sharedTrash = topPrefix + "/.Trash";
    // The volume's shared trash counts only as a sticky folder that is not
    // a link.
    if (::lstat(sharedTrash.constData(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX))
        candidates.append({sharedTrash + '/' + uid, top});
    candidates.append({topPrefix + "/.Trash-" + uid, top});

    int last = EXDEV;
    for (const TrashCandidate& trash : std::as_const(candidates)) {
        struct stat existing;
        if (::lstat(trash.folder.constData(), &existing) == 0 && !ownTrashFolder(trash.folder))
            continue; // someone else's, or a link: never put files there
        last = trashInto(sys, loc, absolutePath, trash);
        if (last == 0)
            return {};
        if (last != EXDEV && last != EACCES && last != EPERM && last != EROFS)
            break;
    }
    // Not trashed: the entry stays where it was.
    return FsStatus{last == ENOENT ? Err::NotFound : Err::Access, last, false};
}

} // namespace tavil::platform::lfs
