#include "tests/common/testfs.h"

namespace tavil::test {

platform::FsStatus TestFileSystem::readTimes(const QString& path, platform::FileTimes* times)
{
    const platform::FsStatus st = real.readTimes(path, times);
    if (hideCreation)
        times->creation = QDateTime();
    return st;
}

platform::FsStatus TestFileSystem::listDir(const QString& dir, QList<platform::DirEntry>* entries)
{
    if (listErrno) {
        if (const int e = listErrno(dir)) {
            entries->clear();
            return platform::statusFromErrno(e, platform::ErrnoContext::Folder);
        }
    }
    return real.listDir(dir, entries);
}

} // namespace tavil::test
