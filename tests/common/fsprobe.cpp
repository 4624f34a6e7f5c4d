#include "tests/common/fsprobe.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tavil::test {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

struct stat statOf(const QString& path)
{
    struct stat st {};
    ::lstat(native(path).constData(), &st);
    return st;
}

bool setTimes(const QString& path, timespec access, timespec write)
{
    const timespec ts[2] = {access, write};
    return ::utimensat(AT_FDCWD, native(path).constData(), ts, 0) == 0;
}

bool userXattrsWork(const QString& path)
{
    if (::setxattr(native(path).constData(), "user.tavil-probe", "1", 1, 0) != 0)
        return false;
    ::removexattr(native(path).constData(), "user.tavil-probe");
    return true;
}

bool userXattrsIn(const QString& folder)
{
    const QByteArray p = native(folder + "/.xattr-probe");
    QFile f(QFile::decodeName(p));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.close();
    const bool ok = ::setxattr(p.constData(), "user.tavil-probe", "1", 1, 0) == 0;
    ::unlink(p.constData());
    return ok;
}

QStringList treeOf(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        const QByteArray data = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
        out.append(QDir(root).relativeFilePath(path) + u'=' + QString::fromUtf8(data));
    }
    out.sort();
    return out;
}

} // namespace tavil::test
