#include "tests/common/testfs.h"

namespace tavil::test {

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
