#include "tests/common/tempdir.h"

#include "tests/common/rawbytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace tavil::test {

TempDir::TempDir() = default;

TempDir::~TempDir()
{
    if (isValid()) {
        ::chmod(root().constData(), 0755);
        raw::removeContents(root());
    }
}

QByteArray TempDir::root() const
{
    return QFile::encodeName(path());
}

QString TempDir::createFile(const QString& name, const QByteArray& data, const QDateTime& lastWrite) const
{
    const QString p = file(name);
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    f.write(data);
    f.flush(); // a later flush would move the last-write time to now
    if (lastWrite.isValid())
        f.setFileTime(lastWrite, QFileDevice::FileModificationTime);
    f.close();
    return p;
}

QString TempDir::createDir(const QString& name) const
{
    const QString p = file(name);
    QDir().mkpath(p);
    return p;
}

QByteArray TempDir::read(const QString& name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TempDir::exists(const QString& name) const
{
    struct stat st;
    return ::lstat(QFile::encodeName(file(name)).constData(), &st) == 0;
}

QStringList TempDir::list(const QString& sub) const
{
    QDir d(sub.isEmpty() ? path() : file(sub));
    return d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace tavil::test
