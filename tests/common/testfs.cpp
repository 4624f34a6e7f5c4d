#include "tests/common/testfs.h"

namespace tavil::test {

platform::FsStatus TestFileSystem::readTimes(const QString& path, platform::FileTimes* times)
{
    const platform::FsStatus st = real.readTimes(path, times);
    if (hideCreation)
        times->creation = QDateTime();
    return st;
}

} // namespace tavil::test
