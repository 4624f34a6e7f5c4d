#include "tests/common/testfs.h"

#include <algorithm>

namespace tavil::test {

namespace {
QString withoutClosingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}
} // namespace

platform::FolderId TestFileSystem::folderId(const QString& path)
{
    platform::FolderId id = real.folderId(path);
    if (const quint64 moved = m_copiedUp.value(withoutClosingSlash(path)); id.valid)
        id.inode += moved;
    return id;
}

platform::FsStatus TestFileSystem::makeDir(const QString& path)
{
    const platform::FsStatus st = real.makeDir(path);
    if (st.ok() && copyUpOnMakeDir) {
        const QString made = withoutClosingSlash(path);
        m_copiedUp[made.left(std::max<qsizetype>(made.lastIndexOf(u'/'), 1))] += 1;
    }
    return st;
}

platform::FsStatus TestFileSystem::readTimes(const QString& path, platform::FileTimes* times)
{
    const platform::FsStatus st = real.readTimes(path, times);
    if (hideCreation)
        times->creation = QDateTime();
    return st;
}

std::optional<platform::FsStatus> TestFileSystem::injectedListFailure(const QString& dir,
                                                                     QList<platform::DirEntry>* entries)
{
    if (listErrno) {
        if (const int e = listErrno(dir)) {
            entries->clear();
            return platform::statusFromErrno(e, platform::ErrnoContext::Folder);
        }
    }
    return std::nullopt;
}

platform::FsStatus TestFileSystem::listDir(const QString& dir, QList<platform::DirEntry>* entries)
{
    listed.append(dir);
    listedWithFileAttributes.append(dir);
    if (const auto failed = injectedListFailure(dir, entries))
        return *failed;
    return real.listDir(dir, entries);
}

platform::FsStatus TestFileSystem::listFolder(const QString& dir, QList<platform::DirEntry>* entries,
                                              platform::ListAttributes which)
{
    listed.append(dir);
    if (which == platform::ListAttributes::All)
        listedWithFileAttributes.append(dir);
    if (const auto failed = injectedListFailure(dir, entries))
        return *failed;
    return real.listFolder(dir, entries, which);
}

} // namespace tavil::test
