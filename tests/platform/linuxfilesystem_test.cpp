#include "platform/dosattrib.h"
#include "platform/linuxfilesystem.h"
#include "tests/common/faults.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <functional>

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;
using tavil::test::Faults;
using tavil::test::TempDir;

namespace {

QByteArray nat(const QString& path)
{
    return QFile::encodeName(path);
}

bool userXattrsWork(const QString& folder)
{
    const QString probe = folder + "/.xattr-probe";
    QFile f(probe);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.close();
    const bool works = ::setxattr(nat(probe).constData(), "user.probe", "1", 1, 0) == 0;
    QFile::remove(probe);
    return works;
}

QByteArray dosAttrib(const QString& path)
{
    char buffer[256];
    const ssize_t n = ::getxattr(nat(path).constData(), "user.DOSATTRIB", buffer, sizeof buffer);
    return n < 0 ? QByteArray() : QByteArray(buffer, n);
}

void setDosAttrib(const QString& path, const QByteArray& blob)
{
    ASSERT_EQ(::setxattr(nat(path).constData(), "user.DOSATTRIB", blob.constData(), size_t(blob.size()), 0), 0);
}

struct stat lstatOf(const QString& path)
{
    struct stat st {};
    ::lstat(nat(path).constData(), &st);
    return st;
}

void setTimes(const QString& path, time_t atime, long ansec, time_t mtime, long mnsec)
{
    const struct timespec ts[2] = {{atime, ansec}, {mtime, mnsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, nat(path).constData(), ts, 0), 0);
}

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fs.injectErrno = faults.injector();
    }

    TempDir dir;
    Faults faults;
    LinuxFileSystem fs;
};

// ---------------------------------------------------------------------------
// Rename

TEST_F(FileSystemTest, RenameNeverReplacesAnExistingFile)
{
    const QString a = dir.createFile(u"a.txt"_s, "source");
    const QString b = dir.createFile(u"b.txt"_s, "target");
    const FsStatus st = fs.rename(a, b);
    EXPECT_EQ(st.number(), 58);
    EXPECT_EQ(dir.read(u"a.txt"_s), "source");
    EXPECT_EQ(dir.read(u"b.txt"_s), "target");
    // Also when the new name only meets the existing one after its trailing
    // dot is dropped.
    EXPECT_EQ(fs.rename(a, b + u"."_s).number(), 58);
    EXPECT_EQ(dir.read(u"b.txt"_s), "target");
}

TEST_F(FileSystemTest, RenameToTheSamePathIsANoOp)
{
    const QString a = dir.createFile(u"写真.jpg"_s, "data");
    EXPECT_TRUE(fs.rename(a, a).ok());
    EXPECT_TRUE(fs.rename(a, a + u". "_s).ok());
    EXPECT_TRUE(fs.rename(a, dir.path() + u"/./写真.jpg"_s).ok());
    EXPECT_EQ(dir.list(), QStringList{u"写真.jpg"_s});
    EXPECT_EQ(dir.read(u"写真.jpg"_s), "data");
    // A missing file is not "renamed" to itself.
    EXPECT_EQ(fs.rename(dir.file(u"gone"_s), dir.file(u"gone"_s)).number(), 53);
}

TEST_F(FileSystemTest, RenameDropsTrailingDotsAndBlanks)
{
    const QString a = dir.createFile(u"a.txt"_s, "x");
    ASSERT_TRUE(fs.rename(a, dir.file(u"base."_s)).ok());
    EXPECT_EQ(dir.list(), QStringList{u"base"_s});
    ASSERT_TRUE(fs.rename(dir.file(u"base"_s), dir.file(u"next . ."_s)).ok());
    EXPECT_EQ(dir.list(), QStringList{u"next"_s});
}

TEST_F(FileSystemTest, RenameRefusesUnusableNames)
{
    const QString a = dir.createFile(u"a.txt"_s, "x");
    const QString bad[] = {
        dir.file(u"x\ty"_s), dir.file(u"x\ny"_s), dir.file(u"x\ry"_s), dir.file(u"x"_s + QChar(0) + u"y"_s),
        dir.file(u"."_s),    dir.file(u".."_s),   dir.file(u"..."_s),
        dir.file(u". ."_s),
    };
    for (const QString& to : bad) {
        SCOPED_TRACE(to.toStdString());
        EXPECT_EQ(fs.rename(a, to).number(), 52);
    }
    EXPECT_EQ(dir.list(), QStringList{u"a.txt"_s});
    EXPECT_FALSE(faults.called(u"renameat2"_s));
}

TEST_F(FileSystemTest, RenameMissingSourceOrFolder)
{
    const QString a = dir.createFile(u"a.txt"_s, "x");
    EXPECT_EQ(fs.rename(dir.file(u"missing"_s), dir.file(u"b"_s)).number(), 53);
    EXPECT_EQ(fs.rename(a, dir.file(u"no/such/b"_s)).number(), 76);
    EXPECT_EQ(dir.read(u"a.txt"_s), "x");
}

TEST_F(FileSystemTest, RenameOntoAnotherLinkOfTheSameFileIsAClash)
{
    const QString a = dir.createFile(u"a.txt"_s, "x");
    ASSERT_EQ(::link(nat(a).constData(), nat(dir.file(u"b.txt"_s)).constData()), 0);
    EXPECT_EQ(fs.rename(a, dir.file(u"b.txt"_s)).number(), 58);
    EXPECT_EQ(dir.list(), (QStringList{u"a.txt"_s, u"b.txt"_s}));
}

// Every way a rename reaches the disk: with RENAME_NOREPLACE; with link and
// unlink where that flag is missing; with a check and a plain rename where
// hard links are missing too.
struct RenameWay {
    const char* name;
    int renameat2Errno;
    int linkErrno;
};
const RenameWay kRenameWays[] = {
    {"noReplace", 0, 0},
    {"linkAndUnlink", EINVAL, 0},
    {"checkAndRename", ENOSYS, EPERM},
};

// Only a name that the listing does not show is the same entry under
// another spelling (a case-insensitive mount); a second hard link that
// differs in case is a file of its own name here.
TEST_F(FileSystemTest, CaseOnlyRenameOntoASecondHardLinkIsAClash)
{
    const QString lower = dir.createFile(u"a.txt"_s, "shared");
    const QString upper = dir.file(u"A.TXT"_s);
    ASSERT_EQ(::link(nat(lower).constData(), nat(upper).constData()), 0);
    for (const RenameWay& way : kRenameWays) {
        SCOPED_TRACE(way.name);
        faults.rule = [&](const QString& call, const QString&) {
            return call == u"renameat2" ? way.renameat2Errno : call == u"link" ? way.linkErrno : 0;
        };
        EXPECT_EQ(fs.rename(lower, upper).number(), 58);
        EXPECT_EQ(dir.list(), (QStringList{u"A.TXT"_s, u"a.txt"_s}));
        EXPECT_EQ(lstatOf(lower).st_nlink, 2u);
        EXPECT_EQ(lstatOf(lower).st_ino, lstatOf(upper).st_ino);
        EXPECT_FALSE(faults.called(u"rename"_s));
    }
}

TEST_F(FileSystemTest, CaseOnlyRenameOfOneFile)
{
    for (const RenameWay& way : kRenameWays) {
        SCOPED_TRACE(way.name);
        const QString from = dir.createFile(u"Case.txt"_s, way.name);
        faults.rule = [&](const QString& call, const QString&) {
            return call == u"renameat2" ? way.renameat2Errno : call == u"link" ? way.linkErrno : 0;
        };
        ASSERT_TRUE(fs.rename(from, dir.file(u"CASE.TXT"_s)).ok());
        EXPECT_EQ(dir.list(), QStringList{u"CASE.TXT"_s});
        EXPECT_EQ(dir.read(u"CASE.TXT"_s), QByteArray(way.name));
        EXPECT_EQ(lstatOf(dir.file(u"CASE.TXT"_s)).st_nlink, 1u);
        ASSERT_EQ(::unlink(nat(dir.file(u"CASE.TXT"_s)).constData()), 0);
    }
}

TEST_F(FileSystemTest, RenameFolders)
{
    dir.createFile(u"d/inner.txt"_s, "in");
    dir.createDir(u"taken"_s);
    EXPECT_EQ(fs.rename(dir.file(u"d"_s), dir.file(u"taken"_s)).number(), 58);
    ASSERT_TRUE(fs.rename(dir.file(u"d"_s), dir.file(u"e."_s)).ok());
    EXPECT_EQ(dir.read(u"e/inner.txt"_s), "in");
}

// File systems without RENAME_NOREPLACE: link and unlink for files, a check
// and a rename for folders, and still never a replaced file.
TEST_F(FileSystemTest, RenameWithoutNoReplaceFlag)
{
    faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EINVAL : 0; };
    const QString a = dir.createFile(u"a.txt"_s, "source");
    const QString b = dir.createFile(u"b.txt"_s, "target");
    EXPECT_EQ(fs.rename(a, b).number(), 58);
    EXPECT_EQ(dir.read(u"a.txt"_s), "source");
    EXPECT_EQ(dir.read(u"b.txt"_s), "target");

    ASSERT_TRUE(fs.rename(a, dir.file(u"c.txt."_s)).ok());
    EXPECT_TRUE(faults.called(u"link"_s));
    EXPECT_EQ(dir.list(), (QStringList{u"b.txt"_s, u"c.txt"_s}));
    EXPECT_EQ(dir.read(u"c.txt"_s), "source");
    EXPECT_EQ(lstatOf(dir.file(u"c.txt"_s)).st_nlink, 1u);

    dir.createFile(u"d/inner"_s, "in");
    EXPECT_EQ(fs.rename(dir.file(u"d"_s), b).number(), 58);
    ASSERT_TRUE(fs.rename(dir.file(u"d"_s), dir.file(u"e"_s)).ok());
    EXPECT_EQ(dir.read(u"e/inner"_s), "in");
    EXPECT_EQ(dir.read(u"b.txt"_s), "target");
}

TEST_F(FileSystemTest, RenameWithoutNoReplaceOrLinks)
{
    faults.rule = [](const QString& call, const QString&) {
        return call == u"renameat2" ? ENOSYS : call == u"link" ? EPERM : 0;
    };
    const QString a = dir.createFile(u"a.txt"_s, "source");
    const QString b = dir.createFile(u"b.txt"_s, "target");
    EXPECT_EQ(fs.rename(a, b).number(), 58);
    EXPECT_EQ(dir.read(u"b.txt"_s), "target");
    ASSERT_TRUE(fs.rename(a, dir.file(u"c.txt"_s)).ok());
    EXPECT_EQ(dir.list(), (QStringList{u"b.txt"_s, u"c.txt"_s}));
}

TEST_F(FileSystemTest, RenameFallbackKeepsSourceWhenOldNameCannotGo)
{
    const QString a = dir.createFile(u"a.txt"_s, "source");
    faults.rule = [&](const QString& call, const QString& path) {
        return call == u"renameat2" ? EINVAL : (call == u"unlink" && path == a) ? EACCES : 0;
    };
    EXPECT_EQ(fs.rename(a, dir.file(u"c.txt"_s)).number(), 70);
    // The second name goes again: the file is where it was, once.
    EXPECT_EQ(dir.list(), QStringList{u"a.txt"_s});
    EXPECT_EQ(dir.read(u"a.txt"_s), "source");
    EXPECT_EQ(lstatOf(a).st_nlink, 1u);
}

// ---------------------------------------------------------------------------
// Copy

TEST_F(FileSystemTest, CopyKeepsDataModeTimesAndAttributes)
{
    QByteArray data(700 * 1024, '\0');
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i * 7 % 251);
    const QString src = dir.createFile(u"src.bin"_s, data);
    ASSERT_EQ(::chmod(nat(src).constData(), 0640), 0);
    setTimes(src, 1042622430, 5, 1049101507, 123456789);
    const bool xattrs = userXattrsWork(dir.path());
    if (xattrs) {
        ASSERT_TRUE(fs.writeAttributes(src, Attr::Hidden | Attr::System).ok());
    }

    const qint64 before = QDateTime::currentSecsSinceEpoch();
    ASSERT_TRUE(fs.copy(src, dir.file(u"copy.bin."_s)).ok());
    const QString dst = dir.file(u"copy.bin"_s);
    const struct stat st = lstatOf(dst); // before reading it changes the access time
    EXPECT_EQ(dir.read(u"copy.bin"_s), data);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_mtim.tv_sec, 1049101507);
    EXPECT_EQ(st.st_mtim.tv_nsec, 123456789);
    EXPECT_EQ(st.st_atim.tv_sec, 1042622430);
    EXPECT_EQ(dir.list(), (QStringList{u"copy.bin"_s, u"src.bin"_s}));
    EXPECT_EQ(dir.read(u"src.bin"_s), data);

    FileTimes times;
    ASSERT_TRUE(fs.readTimes(dst, &times).ok());
    ASSERT_TRUE(times.creation.isValid());
    EXPECT_GE(times.creation.toSecsSinceEpoch(), before); // a copy is created now
    if (xattrs) {
        quint32 attrs = 0;
        ASSERT_TRUE(fs.readAttributes(dst, &attrs).ok());
        EXPECT_EQ(attrs, Attr::Hidden | Attr::System);
    }
}

TEST_F(FileSystemTest, CopyOfReadOnlyFileIsReadOnly)
{
    const QString src = dir.createFile(u"ro.txt"_s, "keep");
    ASSERT_EQ(::chmod(nat(src).constData(), 0444), 0);
    ASSERT_TRUE(fs.copy(src, dir.file(u"ro2.txt"_s)).ok());
    EXPECT_EQ(lstatOf(dir.file(u"ro2.txt"_s)).st_mode & 07777, 0444u);
    EXPECT_EQ(dir.read(u"ro2.txt"_s), "keep");
}

TEST_F(FileSystemTest, CopyNeverReplaces)
{
    const QString src = dir.createFile(u"a.txt"_s, "source");
    const QString dst = dir.createFile(u"b.txt"_s, "target");
    EXPECT_EQ(fs.copy(src, dst).number(), 58);
    EXPECT_EQ(dir.read(u"b.txt"_s), "target");

    // A target that appears while the copy is written: the final link
    // refuses it and nothing of the copy stays behind.
    faults.rule = [](const QString& call, const QString&) { return call == u"linkat" ? EEXIST : 0; };
    EXPECT_EQ(fs.copy(src, dir.file(u"c.txt"_s)).number(), 58);
    EXPECT_EQ(dir.list(), (QStringList{u"a.txt"_s, u"b.txt"_s}));
}

TEST_F(FileSystemTest, CopyFailingForSpaceLeavesNothing)
{
    const QString src = dir.createFile(u"a.txt"_s, QByteArray(1000, 'x'));
    faults.rule = [](const QString& call, const QString&) { return call == u"write" ? ENOSPC : 0; };
    const FsStatus st = fs.copy(src, dir.file(u"b.txt"_s));
    EXPECT_EQ(st.number(), 61);
    EXPECT_EQ(st.sysErrno, ENOSPC);
    EXPECT_EQ(dir.list(), QStringList{u"a.txt"_s});

    // A move to another file system syncs its copy before the source goes;
    // a quota met there leaves the source alone and nothing at the target.
    faults.rule = [](const QString& call, const QString&) {
        return call == u"renameat2" ? EXDEV : call == u"fsync" ? EDQUOT : 0;
    };
    EXPECT_EQ(fs.move(src, dir.file(u"b.txt"_s)).number(), 61);
    EXPECT_EQ(dir.list(), QStringList{u"a.txt"_s});
    EXPECT_EQ(dir.read(u"a.txt"_s).size(), 1000);
}

// Where unnamed temporary files are not supported, a hidden one is used and
// removed again on failure.
TEST_F(FileSystemTest, CopyThroughNamedTemporary)
{
    const QString src = dir.createFile(u"a.txt"_s, "data");
    setTimes(src, 1042622430, 0, 1058257230, 0);
    const QString folder = dir.path();
    bool failWrite = true;
    faults.rule = [&](const QString& call, const QString& path) {
        if (call == u"open" && path == folder)
            return EOPNOTSUPP;
        return (failWrite && call == u"write") ? ENOSPC : 0;
    };
    EXPECT_EQ(fs.copy(src, dir.file(u"b.txt"_s)).number(), 61);
    EXPECT_EQ(dir.list(), QStringList{u"a.txt"_s});

    failWrite = false;
    ASSERT_TRUE(fs.copy(src, dir.file(u"b.txt"_s)).ok());
    EXPECT_EQ(dir.list(), (QStringList{u"a.txt"_s, u"b.txt"_s}));
    EXPECT_EQ(dir.read(u"b.txt"_s), "data");
    EXPECT_EQ(lstatOf(dir.file(u"b.txt"_s)).st_mtim.tv_sec, 1058257230);

    EXPECT_EQ(fs.copy(src, dir.file(u"b.txt"_s)).number(), 58);
    EXPECT_EQ(dir.list(), (QStringList{u"a.txt"_s, u"b.txt"_s}));
}

TEST_F(FileSystemTest, CopyRefusesWhatIsNotAPlainFile)
{
    const QString fifo = dir.file(u"pipe"_s);
    ASSERT_EQ(::mkfifo(nat(fifo).constData(), 0644), 0);
    EXPECT_EQ(fs.copy(fifo, dir.file(u"pipe2"_s)).number(), 75); // returns: no writer needed
    dir.createDir(u"folder"_s);
    EXPECT_EQ(fs.copy(dir.file(u"folder"_s), dir.file(u"folder2"_s)).number(), 75);
    EXPECT_EQ(fs.copy(dir.file(u"missing"_s), dir.file(u"x"_s)).number(), 53);
    const QString src = dir.createFile(u"a"_s, "x");
    EXPECT_EQ(fs.copy(src, dir.file(u"no/such/x"_s)).number(), 76);
    EXPECT_EQ(dir.list(), (QStringList{u"a"_s, u"folder"_s, u"pipe"_s}));
}

// A real small file system that fills up: nothing of the copy remains.
TEST_F(FileSystemTest, CopyOntoFullTmpfsLeavesNothing)
{
    const QString mnt = dir.createDir(u"mnt"_s);
    if (::mount("tmpfs", nat(mnt).constData(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{nat(mnt)};
    const QString src = dir.createFile(u"big.bin"_s, QByteArray(3 * 1024 * 1024, 'z'));
    const FsStatus st = fs.copy(src, mnt + u"/big.bin"_s);
    EXPECT_EQ(st.number(), 61);
    EXPECT_EQ(dir.list(u"mnt"_s), QStringList());

    // And a move there fails the same way and keeps the source.
    EXPECT_EQ(fs.move(src, mnt + u"/big.bin"_s).number(), 61);
    EXPECT_EQ(dir.list(u"mnt"_s), QStringList());
    EXPECT_EQ(lstatOf(src).st_size, 3 * 1024 * 1024);

    // A small one moves across for real.
    const QString small = dir.createFile(u"small.txt"_s, "across");
    setTimes(small, 1042622430, 0, 1049101507, 0);
    ASSERT_TRUE(fs.move(small, mnt + u"/small.txt"_s).ok());
    EXPECT_FALSE(dir.exists(u"small.txt"_s));
    EXPECT_EQ(dir.read(u"mnt/small.txt"_s), "across");
    EXPECT_EQ(lstatOf(mnt + u"/small.txt"_s).st_mtim.tv_sec, 1049101507);
}

// ---------------------------------------------------------------------------
// Move

TEST_F(FileSystemTest, MoveAcrossFileSystemsCopiesThenRemoves)
{
    dir.createDir(u"out"_s);
    const QString src = dir.createFile(u"a.txt"_s, "content");
    setTimes(src, 1042622430, 0, 1058257230, 0);
    const bool xattrs = userXattrsWork(dir.path());
    if (xattrs) {
        ASSERT_TRUE(fs.writeTimes(src, QDateTime::fromSecsSinceEpoch(1049101507), {}, {}).ok());
        ASSERT_TRUE(fs.writeAttributes(src, Attr::Archive | Attr::System).ok());
    }
    faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EXDEV : 0; };
    ASSERT_TRUE(fs.move(src, dir.file(u"out/b.txt"_s)).ok());
    EXPECT_FALSE(dir.exists(u"a.txt"_s));
    FileTimes times;
    ASSERT_TRUE(fs.readTimes(dir.file(u"out/b.txt"_s), &times).ok());
    EXPECT_EQ(dir.read(u"out/b.txt"_s), "content");
    EXPECT_EQ(times.lastWrite.toSecsSinceEpoch(), 1058257230);
    EXPECT_EQ(times.lastAccess.toSecsSinceEpoch(), 1042622430);
    if (xattrs) {
        EXPECT_EQ(times.creation.toSecsSinceEpoch(), 1049101507); // a move keeps it
        quint32 attrs = 0;
        ASSERT_TRUE(fs.readAttributes(dir.file(u"out/b.txt"_s), &attrs).ok());
        EXPECT_EQ(attrs, Attr::Archive | Attr::System);
    }
}

TEST_F(FileSystemTest, MoveKeepsSourceWhenItCannotBeRemoved)
{
    dir.createDir(u"out"_s);
    const QString src = dir.createFile(u"a.txt"_s, "content");
    faults.rule = [&](const QString& call, const QString& path) {
        if (call == u"renameat2")
            return EXDEV;
        return (call == u"unlink" && path == src) ? EACCES : 0;
    };
    EXPECT_EQ(fs.move(src, dir.file(u"out/b.txt"_s)).number(), 70);
    EXPECT_EQ(dir.read(u"a.txt"_s), "content");
    EXPECT_EQ(dir.list(u"out"_s), QStringList());
}

TEST_F(FileSystemTest, MoveNeverReplaces)
{
    const QString src = dir.createFile(u"a.txt"_s, "source");
    const QString dst = dir.createFile(u"b.txt"_s, "target");
    EXPECT_EQ(fs.move(src, dst).number(), 58);
    faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EXDEV : 0; };
    EXPECT_EQ(fs.move(src, dst).number(), 58);
    EXPECT_EQ(dir.read(u"a.txt"_s), "source");
    EXPECT_EQ(dir.read(u"b.txt"_s), "target");
}

// ---------------------------------------------------------------------------
// Existence, removal, folders, trash

TEST_F(FileSystemTest, ExistsAndOpenable)
{
    dir.createFile(u"file"_s, "x");
    dir.createDir(u"folder"_s);
    ASSERT_EQ(::mkfifo(nat(dir.file(u"pipe"_s)).constData(), 0644), 0);
    ASSERT_EQ(::symlink("file", nat(dir.file(u"link"_s)).constData()), 0);
    ASSERT_EQ(::symlink("nowhere", nat(dir.file(u"dangling"_s)).constData()), 0);
    const QString ro = dir.createFile(u"readonly"_s, "x");
    ASSERT_EQ(::chmod(nat(ro).constData(), 0444), 0);
    const struct {
        const char* name;
        bool exists, openable;
    } cases[] = {
        {"file", true, true},    {"folder", true, false},   {"pipe", true, false},
        {"link", true, true},    {"dangling", true, false}, {"readonly", true, true},
        {"missing", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fs.exists(dir.file(QString::fromLatin1(c.name))), c.exists);
        EXPECT_EQ(fs.openable(dir.file(QString::fromLatin1(c.name))), c.openable);
    }
    EXPECT_FALSE(fs.exists(QString()));
    EXPECT_FALSE(fs.exists(dir.file(u"file"_s + QChar(0) + u"x"_s)));

    const FileInfo link = fs.stat(dir.file(u"link"_s));
    EXPECT_TRUE(link.exists);
    EXPECT_TRUE(link.isSymlink);
    EXPECT_FALSE(link.isRegular);
    const FileInfo file = fs.stat(dir.file(u"file"_s));
    EXPECT_TRUE(file.isRegular);
    EXPECT_EQ(file.size, 1);
    EXPECT_EQ(file.links, 1u);
    EXPECT_TRUE(fs.stat(dir.file(u"folder"_s)).isDir);
    EXPECT_FALSE(fs.stat(dir.file(u"missing"_s)).exists);
}

TEST_F(FileSystemTest, RemoveAndMakeDir)
{
    dir.createFile(u"f"_s, "x");
    dir.createFile(u"full/inner"_s, "x");
    dir.createDir(u"empty"_s);
    EXPECT_TRUE(fs.remove(dir.file(u"f"_s)).ok());
    EXPECT_TRUE(fs.remove(dir.file(u"empty"_s)).ok());
    EXPECT_EQ(fs.remove(dir.file(u"full"_s)).number(), 58);
    EXPECT_EQ(fs.remove(dir.file(u"f"_s)).number(), 53);
    EXPECT_EQ(dir.list(), QStringList{u"full"_s});

    EXPECT_TRUE(fs.makeDir(dir.file(u"new. "_s)).ok());
    EXPECT_TRUE(QFileInfo(dir.file(u"new"_s)).isDir());
    EXPECT_TRUE(fs.makeDir(dir.file(u"new2/"_s)).ok());
    EXPECT_EQ(fs.makeDir(dir.file(u"new"_s)).number(), 75);
    EXPECT_EQ(fs.makeDir(dir.file(u"no/such"_s)).number(), 76);
    EXPECT_EQ(fs.makeDir(dir.file(u"bad\tname"_s)).number(), 52);
    EXPECT_EQ(dir.list(), (QStringList{u"full"_s, u"new"_s, u"new2"_s}));
}

TEST_F(FileSystemTest, MoveToTrash)
{
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    // A data folder that does not exist yet must not send the file to the
    // current folder.
    const QString data = dir.file(u"data-not-yet"_s);
    qputenv("XDG_DATA_HOME", nat(data));
    const QString savedCwd = QDir::currentPath();
    const QString work = dir.createDir(u"cwd"_s);
    QDir::setCurrent(work);

    const QString victim = dir.createFile(u"写真.jpg"_s, "photo");
    const FsStatus st = fs.moveToTrash(victim);
    const FsStatus missing = fs.moveToTrash(dir.file(u"missing"_s));

    QDir::setCurrent(savedCwd);
    qputenv("XDG_DATA_HOME", savedData);

    EXPECT_TRUE(st.ok());
    EXPECT_FALSE(dir.exists(u"写真.jpg"_s));
    EXPECT_TRUE(QFile::exists(data + u"/Trash/files/写真.jpg"_s));
    EXPECT_EQ(dir.list(u"cwd"_s), QStringList());
    EXPECT_EQ(missing.number(), 53);
}

TEST_F(FileSystemTest, ListDirDoesNotFollowLinks)
{
    dir.createFile(u"plain.txt"_s, "x");
    dir.createFile(u".dot"_s, "x");
    dir.createDir(u"sub"_s);
    ASSERT_EQ(::symlink("sub", nat(dir.file(u"tosub"_s)).constData()), 0);
    const bool xattrs = userXattrsWork(dir.path());
    if (xattrs) {
        dir.createFile(u"hid.txt"_s, "x");
        dir.createFile(u"sys.txt"_s, "x");
        ASSERT_TRUE(fs.writeAttributes(dir.file(u"hid.txt"_s), Attr::Hidden).ok());
        ASSERT_TRUE(fs.writeAttributes(dir.file(u"sys.txt"_s), Attr::System | Attr::Archive).ok());
    }
    QList<DirEntry> entries;
    ASSERT_TRUE(fs.listDir(dir.path(), &entries).ok());
    QMap<QString, DirEntry> byName;
    for (const DirEntry& e : entries)
        byName.insert(e.name, e);
    EXPECT_EQ(byName.size(), xattrs ? 6 : 4);
    EXPECT_FALSE(byName.value(u"plain.txt"_s).isHidden);
    EXPECT_FALSE(byName.value(u"plain.txt"_s).isDir);
    EXPECT_TRUE(byName.value(u".dot"_s).isHidden);
    EXPECT_TRUE(byName.value(u"sub"_s).isDir);
    EXPECT_FALSE(byName.value(u"tosub"_s).isDir);
    EXPECT_TRUE(byName.value(u"tosub"_s).isSymlink);
    if (xattrs) {
        EXPECT_TRUE(byName.value(u"hid.txt"_s).isHidden);
        EXPECT_FALSE(byName.value(u"hid.txt"_s).isSystem);
        EXPECT_TRUE(byName.value(u"sys.txt"_s).isSystem);
        EXPECT_FALSE(byName.value(u"sys.txt"_s).isHidden);
    }
    EXPECT_EQ(fs.listDir(dir.file(u"missing"_s), &entries).number(), 76);
    EXPECT_TRUE(entries.isEmpty());
    EXPECT_EQ(fs.listDir(dir.file(u"plain.txt"_s), &entries).number(), 76);
}

// A listing for a file list that shows hidden and system files needs the
// stored attributes of its folders only; files then keep the defaults (a dot
// name is hidden, nothing is system). Folders enough to share the reading
// out among threads take the same choice.
TEST_F(FileSystemTest, ListFolderReadsStoredAttributesOnlyWhereAsked)
{
    if (!userXattrsWork(dir.path()))
        GTEST_SKIP() << "this file system keeps no user attributes";
    struct Case {
        const char* name;
        int extraFolders;
    };
    const Case cases[] = {{"few entries", 0}, {"many folders", 4200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir here;
        here.createFile(u".dot"_s, "x");
        here.createFile(u"hid.txt"_s, "x");
        here.createFile(u"sys.txt"_s, "x");
        here.createDir(u"hsub"_s);
        for (int i = 0; i < c.extraFolders; ++i)
            here.createDir(u"d%1"_s.arg(i, 4, 10, QLatin1Char('0')));
        ASSERT_TRUE(fs.writeAttributes(here.file(u"hid.txt"_s), Attr::Hidden).ok());
        ASSERT_TRUE(fs.writeAttributes(here.file(u"sys.txt"_s), Attr::System).ok());
        ASSERT_TRUE(fs.writeAttributes(here.file(u"hsub"_s), Attr::Hidden | Attr::System).ok());
        if (c.extraFolders > 0) {
            ASSERT_TRUE(fs.writeAttributes(here.file(u"d%1"_s.arg(c.extraFolders - 1, 4, 10, QLatin1Char('0'))),
                                           Attr::System)
                            .ok());
        }

        for (const ListAttributes which : {ListAttributes::All, ListAttributes::FoldersOnly}) {
            const bool files = which == ListAttributes::All;
            SCOPED_TRACE(files ? "all" : "folders only");
            QList<DirEntry> entries;
            ASSERT_TRUE(fs.listFolder(here.path(), &entries, which).ok());
            QMap<QString, DirEntry> byName;
            for (const DirEntry& e : entries)
                byName.insert(e.name, e);
            ASSERT_EQ(byName.size(), 4 + c.extraFolders);
            EXPECT_TRUE(byName.value(u".dot"_s).isHidden);
            EXPECT_EQ(byName.value(u"hid.txt"_s).isHidden, files);
            EXPECT_EQ(byName.value(u"sys.txt"_s).isSystem, files);
            EXPECT_TRUE(byName.value(u"hsub"_s).isHidden);
            EXPECT_TRUE(byName.value(u"hsub"_s).isSystem);
            if (c.extraFolders > 0) {
                EXPECT_TRUE(byName.value(u"d%1"_s.arg(c.extraFolders - 1, 4, 10, QLatin1Char('0'))).isSystem);
                EXPECT_FALSE(byName.value(u"d0000"_s).isSystem);
            }
        }
    }
}

TEST_F(FileSystemTest, LocalFolderIsNotNetwork)
{
    EXPECT_FALSE(fs.isNetworkPath(dir.path()));
    EXPECT_FALSE(fs.isNetworkPath(dir.file(u"missing"_s)));
}

// ---------------------------------------------------------------------------
// Attributes

class AttributesTest : public FileSystemTest {
protected:
    void SetUp() override
    {
        FileSystemTest::SetUp();
        if (!userXattrsWork(dir.path()))
            GTEST_SKIP() << "no user extended attributes here";
    }
};

TEST_F(FileSystemTest, AttributeDefaultsWithoutStoredAttributes)
{
    dir.createFile(u"plain"_s, "x");
    dir.createFile(u".dot"_s, "x");
    dir.createDir(u"folder"_s);
    dir.createDir(u".dotfolder"_s);
    const QString ro = dir.createFile(u"ro"_s, "x");
    ASSERT_EQ(::chmod(nat(ro).constData(), 0444), 0);
    const struct {
        const char* name;
        quint32 attrs;
    } cases[] = {
        {"plain", Attr::Archive},
        {".dot", Attr::Hidden | Attr::Archive},
        {"folder", Attr::Directory},
        {".dotfolder", Attr::Hidden | Attr::Directory},
        {"ro", Attr::ReadOnly | Attr::Archive},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        quint32 attrs = 0xdead;
        ASSERT_TRUE(fs.readAttributes(dir.file(QString::fromLatin1(c.name)), &attrs).ok());
        EXPECT_EQ(attrs, c.attrs);
    }
    quint32 attrs = 0;
    EXPECT_EQ(fs.readAttributes(dir.file(u"missing"_s), &attrs).number(), 53);
    EXPECT_EQ(fs.writeAttributes(dir.file(u"missing"_s), Attr::Hidden).number(), 53);
}

TEST_F(AttributesTest, RoundTrip)
{
    const QString f = dir.createFile(u"f.txt"_s, "x");
    const quint32 cases[] = {
        0,
        Attr::Hidden,
        Attr::System,
        Attr::Archive,
        Attr::Hidden | Attr::System | Attr::Archive,
        Attr::ReadOnly,
        Attr::ReadOnly | Attr::Hidden | Attr::Archive,
        Attr::Archive,
    };
    for (const quint32 want : cases) {
        SCOPED_TRACE(want);
        ASSERT_TRUE(fs.writeAttributes(f, want).ok());
        quint32 got = 0;
        ASSERT_TRUE(fs.readAttributes(f, &got).ok());
        EXPECT_EQ(got, want);
        const mode_t mode = lstatOf(f).st_mode;
        if (want & Attr::ReadOnly) {
            EXPECT_EQ(mode & 0222, 0u);
        } else {
            EXPECT_NE(mode & S_IWUSR, 0u);
        }
        // The stored read-only bit follows the mode.
        const auto blob = decodeDosAttrib(dosAttrib(f));
        ASSERT_TRUE(blob.has_value());
        EXPECT_EQ(blob->attributes & 0x37u, want);
    }
    EXPECT_EQ(dir.read(u"f.txt"_s), "x");
}

TEST_F(AttributesTest, StoresSambaLayout)
{
    const QString f = dir.createFile(u"f.txt"_s, "x");
    ASSERT_TRUE(fs.writeAttributes(f, Attr::Hidden | Attr::Archive).ok());
    EXPECT_EQ(dosAttrib(f).toHex(),
              QByteArray("0000" "0400" "04000000" "01000000" "22000000" "0000000000000000" "0000000000000000"));
    const QString d = dir.createDir(u"d"_s);
    ASSERT_TRUE(fs.writeAttributes(d, Attr::System).ok());
    EXPECT_EQ(dosAttrib(d).toHex(),
              QByteArray("0000" "0400" "04000000" "01000000" "14000000" "0000000000000000" "0000000000000000"));
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(d, &attrs).ok());
    EXPECT_EQ(attrs, Attr::System | Attr::Directory);
}

TEST_F(AttributesTest, KeepsFieldsItDoesNotOwn)
{
    const QString f = dir.createFile(u"f.txt"_s, "x");
    // Version 5 with hidden+system and a creation time, as an SMB client
    // leaves it, plus a compressed bit (0x800).
    setDosAttrib(f, QByteArray::fromHex("0000" "0500" "05000000" "11000000" "06080000" "8023d39f64f7c201"));
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(f, &attrs).ok());
    EXPECT_EQ(attrs, Attr::Hidden | Attr::System);
    FileTimes times;
    ASSERT_TRUE(fs.readTimes(f, &times).ok());
    EXPECT_EQ(times.creation.toSecsSinceEpoch(), 1049101507);

    ASSERT_TRUE(fs.writeAttributes(f, Attr::Archive).ok());
    EXPECT_EQ(dosAttrib(f).toHex(),
              QByteArray("0000" "0400" "04000000" "11000000" "20080000" "0000000000000000" "8023d39f64f7c201"));
}

TEST_F(AttributesTest, DotNamesStayHidden)
{
    const QString f = dir.createFile(u".conf"_s, "x");
    ASSERT_TRUE(fs.writeAttributes(f, Attr::Archive).ok());
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(f, &attrs).ok());
    EXPECT_EQ(attrs, Attr::Hidden | Attr::Archive);
    EXPECT_EQ(dir.list(), QStringList{u".conf"_s}); // never renamed
}

// The owner may change hidden/system/archive of a read-only file; the
// attribute write needs the write bit for a moment, and the mode comes back.
TEST_F(AttributesTest, WritesOnReadOnlyFileAndRestoresMode)
{
    const QString f = dir.createFile(u"f.txt"_s, "x");
    ASSERT_EQ(::chmod(nat(f).constData(), 0444), 0);
    int setxattrCalls = 0;
    QList<mode_t> modesDuringWrite;
    faults.rule = [&](const QString& call, const QString& path) {
        if (call != u"setxattr")
            return 0;
        modesDuringWrite.append(lstatOf(path).st_mode & 07777);
        return ++setxattrCalls == 1 ? EACCES : 0; // as for a user who is not root
    };
    ASSERT_TRUE(fs.writeAttributes(f, Attr::ReadOnly | Attr::Hidden | Attr::Archive).ok());
    EXPECT_EQ(setxattrCalls, 2);
    ASSERT_EQ(modesDuringWrite.size(), 2);
    EXPECT_EQ(modesDuringWrite.at(1), 0644u);
    EXPECT_EQ(lstatOf(f).st_mode & 07777, 0444u);
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(f, &attrs).ok());
    EXPECT_EQ(attrs, Attr::ReadOnly | Attr::Hidden | Attr::Archive);
}

TEST_F(FileSystemTest, WithoutUserAttributesWritersChangeNothing)
{
    const QString f = dir.createFile(u"f.txt"_s, "x");
    faults.rule = [](const QString& call, const QString&) { return call == u"setxattr" ? EOPNOTSUPP : 0; };
    EXPECT_TRUE(fs.writeAttributes(f, Attr::Hidden | Attr::System).ok());
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(f, &attrs).ok());
    EXPECT_EQ(attrs, Attr::Archive);
    // Read-only is the mode and still applies.
    EXPECT_TRUE(fs.writeAttributes(f, Attr::ReadOnly).ok());
    EXPECT_EQ(lstatOf(f).st_mode & 0222, 0u);
}

TEST_F(FileSystemTest, AttributeWriteErrorsAreReported)
{
    const QString f = dir.createFile(u"f.txt"_s, "x");
    faults.rule = [](const QString& call, const QString&) { return call == u"chmod" ? EPERM : 0; };
    EXPECT_EQ(fs.writeAttributes(f, Attr::ReadOnly | Attr::Archive).number(), 70);
    EXPECT_NE(lstatOf(f).st_mode & S_IWUSR, 0u);
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(f, &attrs).ok());
    EXPECT_EQ(attrs, Attr::Archive); // the stored bits went back too
}

// ---------------------------------------------------------------------------
// Times

// Local time with daylight saving, set for one test and restored.
class BerlinTime : public FileSystemTest {
protected:
    void SetUp() override
    {
        FileSystemTest::SetUp();
        m_hadTz = qEnvironmentVariableIsSet("TZ");
        m_savedTz = qgetenv("TZ");
        // A rule rather than a zone name, so no time zone database is needed.
        qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
        tzset();
    }
    void TearDown() override
    {
        if (m_hadTz)
            qputenv("TZ", m_savedTz);
        else
            qunsetenv("TZ");
        tzset();
        FileSystemTest::TearDown();
    }

private:
    bool m_hadTz = false;
    QByteArray m_savedTz;
};

TEST_F(BerlinTime, ReadsLocalTimeWithTheRulesOfThatDate)
{
    const QString f = dir.createFile(u"f"_s, "x");
    setTimes(f, 1042622430, 999999999, 1058257230, 999999999);
    FileTimes times;
    ASSERT_TRUE(fs.readTimes(f, &times).ok());
    // January is UTC+1, July UTC+2; fractions are dropped, not rounded.
    EXPECT_EQ(times.lastAccess.date(), QDate(2003, 1, 15));
    EXPECT_EQ(times.lastAccess.time(), QTime(10, 20, 30));
    EXPECT_EQ(times.lastWrite.date(), QDate(2003, 7, 15));
    EXPECT_EQ(times.lastWrite.time(), QTime(10, 20, 30));
}

TEST_F(BerlinTime, WritesAndReadsBack)
{
    const QString f = dir.createFile(u"f"_s, "x");
    const QDateTime january(QDate(2003, 1, 15), QTime(10, 20, 30));
    const QDateTime july(QDate(2003, 7, 15), QTime(10, 20, 30));
    ASSERT_TRUE(fs.writeTimes(f, {}, january, july).ok());
    const struct stat st = lstatOf(f);
    EXPECT_EQ(st.st_atim.tv_sec, 1042622430);
    EXPECT_EQ(st.st_mtim.tv_sec, 1058257230);
    EXPECT_EQ(st.st_mtim.tv_nsec, 0);

    // An invalid time leaves that time alone.
    ASSERT_TRUE(fs.writeTimes(f, {}, {}, january).ok());
    EXPECT_EQ(lstatOf(f).st_atim.tv_sec, 1042622430);
    EXPECT_EQ(lstatOf(f).st_mtim.tv_sec, 1042622430);

    if (!userXattrsWork(dir.path()))
        return;
    const QDateTime created(QDate(2003, 3, 31), QTime(11, 5, 7)); // 09:05:07 UTC
    ASSERT_TRUE(fs.writeTimes(f, created, {}, {}).ok());
    FileTimes times;
    ASSERT_TRUE(fs.readTimes(f, &times).ok());
    EXPECT_EQ(times.creation, created);
    EXPECT_EQ(times.creation.toSecsSinceEpoch(), 1049101507);
    EXPECT_EQ(times.lastWrite, january);
    EXPECT_EQ(times.lastAccess, january);
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(f, &attrs).ok());
    EXPECT_EQ(attrs, Attr::Archive); // the creation time did not change attributes
}

TEST_F(FileSystemTest, TimeErrors)
{
    FileTimes times;
    times.lastWrite = QDateTime::currentDateTime();
    EXPECT_EQ(fs.readTimes(dir.file(u"missing"_s), &times).number(), 53);
    EXPECT_FALSE(times.lastWrite.isValid());
    EXPECT_FALSE(times.creation.isValid());
    EXPECT_EQ(fs.writeTimes(dir.file(u"missing"_s), {}, {}, QDateTime::currentDateTime()).number(), 53);

    const QString f = dir.createFile(u"f"_s, "x");
    setTimes(f, 1042622430, 0, 1042622430, 0);
    faults.rule = [](const QString& call, const QString&) { return call == u"utimensat" ? EPERM : 0; };
    EXPECT_EQ(fs.writeTimes(f, {}, {}, QDateTime::fromSecsSinceEpoch(1058257230)).number(), 70);
    EXPECT_EQ(lstatOf(f).st_mtim.tv_sec, 1042622430);
}

} // namespace
