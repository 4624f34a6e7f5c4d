#include "support/cfile.h"

#include "platform/linuxfilesystem.h"
#include "tests/common/fsprobe.h"
#include "tests/common/tempdir.h"
#include "tests/common/tzguard.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

using tavil::platform::LinuxFileSystem;
using tavil::support::cFile;
using tavil::test::setTimes;
using tavil::test::statOf;
using tavil::test::TempDir;
using tavil::test::TzGuard;
using tavil::test::userXattrsWork;

namespace {

QDateTime local(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

class CFileTest : public ::testing::Test {
protected:
    TempDir tmp;
    LinuxFileSystem fs;
    cFile cf{fs};
};

} // namespace

TEST_F(CFileTest, CheckExistFileSeesEveryKindOfEntryAndNothingElse)
{
    const QString file = tmp.createFile("a.txt", "x");
    const QString dir = tmp.createDir("sub");
    const QString dangling = tmp.file("dangling");
    ASSERT_EQ(::symlink("no-such-target", QFile::encodeName(dangling).constData()), 0);

    struct Row {
        const char* label;
        QString path;
        bool expected;
    };
    const Row rows[] = {
        {"file", file, true},
        {"folder", dir, true},
        {"dangling link", dangling, true},
        {"missing", tmp.file("missing.txt"), false},
        {"missing folder on the way", tmp.file("nowhere/a.txt"), false},
        {"bare name is never searched along PATH", "sh", false},
        {"empty", "", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(cf.CheckExistFile(row.path), row.expected);
    }
}

TEST_F(CFileTest, GetFileTimeStampDropsMillisecondsAndUsesTheRuleOfEachDate)
{
    // Central European rule: +1 in January, +2 in July. A conversion with
    // today's offset gets one of the two rows wrong.
    TzGuard tz("CET-1CEST,M3.5.0,M10.5.0/3");
    const QString file = tmp.createFile("a.txt", "x");
    struct Row {
        const char* label;
        time_t mtime;
        QDateTime expected;
    };
    const Row rows[] = {
        {"winter", 1042502707, local(2003, 1, 14, 1, 5, 7)},  // 2003-01-14 00:05:07 UTC
        {"summer", 1057964707, local(2003, 7, 12, 1, 5, 7)},  // 2003-07-11 23:05:07 UTC
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_TRUE(setTimes(file, {row.mtime + 60, 999999999}, {row.mtime, 987654321}));
        QDateTime creation, access, write;
        ASSERT_TRUE(cf.GetFileTimeStamp(file, creation, access, write));
        EXPECT_EQ(write, row.expected);
        EXPECT_EQ(write.time().msec(), 0);
        EXPECT_EQ(access, row.expected.addSecs(60));
        EXPECT_EQ(access.time().msec(), 0);
    }
}

TEST_F(CFileTest, GetFileTimeStampOfAMissingFileFailsWithUnknownDates)
{
    QDateTime creation = local(2001, 1, 1, 0, 0, 0);
    QDateTime access = creation, write = creation;
    EXPECT_FALSE(cf.GetFileTimeStamp(tmp.file("missing.txt"), creation, access, write));
    EXPECT_FALSE(creation.isValid());
    EXPECT_FALSE(access.isValid());
    EXPECT_FALSE(write.isValid());
}

TEST_F(CFileTest, SetFileTimeStampWritesTheChosenTimesInWholeSeconds)
{
    TzGuard tz("JST-9");
    const QString file = tmp.createFile("a.txt", "x");
    ASSERT_TRUE(setTimes(file, {1000000000, 0}, {1000000000, 0}));

    // The access time is not chosen (invalid) and stays as it was.
    QDateTime write = local(2003, 3, 31, 9, 5, 7).addMSecs(450);
    ASSERT_TRUE(cf.SetFileTimeStamp(file, QDateTime(), QDateTime(), write));
    struct stat st = statOf(file);
    EXPECT_EQ(st.st_mtim.tv_sec, 1049069107); // 2003-03-31 00:05:07 UTC
    EXPECT_EQ(st.st_mtim.tv_nsec, 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);

    ASSERT_TRUE(cf.SetFileTimeStamp(file, QDateTime(), local(2004, 2, 29, 23, 59, 58), QDateTime()));
    st = statOf(file);
    EXPECT_EQ(st.st_atim.tv_sec, 1078066798); // 2004-02-29 14:59:58 UTC
    EXPECT_EQ(st.st_mtim.tv_sec, 1049069107);
}

TEST_F(CFileTest, SetFileTimeStampStoresACreationTimeWhereAttributesCanBeKept)
{
    TzGuard tz("JST-9");
    const QString file = tmp.createFile("a.txt", "x");
    if (!userXattrsWork(file))
        GTEST_SKIP() << "the temporary folder keeps no user attributes";
    const QDateTime when = local(2003, 3, 31, 9, 5, 7);
    ASSERT_TRUE(cf.SetFileTimeStamp(file, when, when, when));
    QDateTime creation, access, write;
    ASSERT_TRUE(cf.GetFileTimeStamp(file, creation, access, write));
    EXPECT_EQ(creation, when);
    EXPECT_EQ(access, when);
    EXPECT_EQ(write, when);
}

TEST_F(CFileTest, SetFileTimeStampRefusesReadOnlyFilesFoldersAndMissingFiles)
{
    const QString readOnly = tmp.createFile("ro.txt", "keep");
    ASSERT_TRUE(setTimes(readOnly, {1000000000, 0}, {1000000000, 0}));
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);
    const QString dir = tmp.createDir("sub");
    const struct stat dirBefore = statOf(dir);
    const QDateTime when = local(2003, 3, 31, 9, 5, 7);

    // Read-only is the program's own rule, so it holds for root as well.
    EXPECT_FALSE(cf.SetFileTimeStamp(readOnly, when, when, when));
    const struct stat st = statOf(readOnly);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(tmp.read("ro.txt"), QByteArray("keep"));

    EXPECT_FALSE(cf.SetFileTimeStamp(dir, when, when, when));
    EXPECT_EQ(statOf(dir).st_mtim.tv_sec, dirBefore.st_mtim.tv_sec);

    EXPECT_FALSE(cf.SetFileTimeStamp(tmp.file("missing.txt"), when, when, when));
    EXPECT_FALSE(tmp.exists("missing.txt"));
}

TEST_F(CFileTest, RemoveDirSepKeepsTheRoot)
{
    const struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"/tmp/", "/tmp"}, {"/tmp", "/tmp"}, {"  /tmp/a/  ", "/tmp/a"}, {"/", "/"},
        {"", "/"},         {"a/", "a"},      {"/a/", "/a"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(cf.RemoveDirSep(QString::fromUtf8(row.in)), QString::fromUtf8(row.out));
    }
}

TEST_F(CFileTest, AttribStringShowsRshaInOrder)
{
    const QString plain = tmp.createFile("plain.txt", "x");
    const QString readOnly = tmp.createFile("ro.txt", "x");
    ASSERT_EQ(::chmod(QFile::encodeName(readOnly).constData(), 0444), 0);

    EXPECT_EQ(cf.AttribString(plain), QStringLiteral("---a"));
    EXPECT_EQ(cf.AttribString(readOnly), QStringLiteral("r--a"));
    EXPECT_EQ(cf.AttribString(tmp.file("missing.txt")), QString());

    if (!userXattrsWork(plain))
        return; // hidden and system need the stored attributes
    using namespace tavil::platform;
    ASSERT_TRUE(fs.writeAttributes(plain, Attr::System | Attr::Hidden).ok());
    EXPECT_EQ(cf.AttribString(plain), QStringLiteral("-sh-"));
}

TEST_F(CFileTest, ExtractNameSplitsAtTheLastDot)
{
    const struct {
        const char* in;
        const char* name;
        const char* ext;
        bool result;
    } rows[] = {
        {"a.b.c", "a.b", "c", true},   {"README", "README", "", false}, {"..", "..", "", false},
        {".bashrc", "", "bashrc", true}, {"a.", "a", "", true},         {"", "", "", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.in);
        QString name = QStringLiteral("old"), ext = QStringLiteral("old");
        EXPECT_EQ(cf.ExtractName(QString::fromUtf8(row.in), name, ext), row.result);
        EXPECT_EQ(name, QString::fromUtf8(row.name));
        EXPECT_EQ(ext, QString::fromUtf8(row.ext));
    }
}

TEST_F(CFileTest, FullPathAndLongPathAreCleanedAbsolutePaths)
{
    tmp.createFile("sub/x/a.txt", "x");
    const QString root = tmp.path();

    EXPECT_EQ(cf.FullPathName("/a/./b/../c"), QStringLiteral("/a/c"));
    EXPECT_EQ(cf.FullPathName("/a//b/"), QStringLiteral("/a/b/"));
    EXPECT_EQ(cf.FullPathName("x.txt"), QDir::currentPath() + "/x.txt");
    EXPECT_EQ(cf.FullPathName(""), QString());

    // Parts after the first one that does not exist are dropped.
    EXPECT_EQ(cf.GetLongPathName(root + "//sub/../sub/x/"), root + "/sub/x");
    EXPECT_EQ(cf.GetLongPathName(" " + root + "/sub/x/a.txt "), root + "/sub/x/a.txt");
    EXPECT_EQ(cf.GetLongPathName(root + "/sub/missing/a.txt"), root + "/sub");
    EXPECT_EQ(cf.GetLongPathName("/"), QStringLiteral("/"));
    EXPECT_EQ(cf.GetLongPathName(""), QString());
}

TEST_F(CFileTest, DosDateTimeToVBDateIsPlainBitArithmetic)
{
    // A fixed offset far from UTC: no conversion may happen.
    TzGuard tz("JST-9");
    const struct {
        const char* label;
        qint32 date;
        qint32 time;
        QDateTime expected;
    } rows[] = {
        {"2003-03-31 09:05:06", 0x2E7F, 0x48A3, local(2003, 3, 31, 9, 5, 6)},
        {"high bits ignored", 0x7FFF0021, 0x10000000, local(1980, 1, 1, 0, 0, 0)},
        {"last second", 0xFF9F, 0xBF7D, local(2107, 12, 31, 23, 59, 58)},
        {"month 0", 0x2E1F, 0, QDateTime()},
        {"30 February", 0x305E, 0, QDateTime()},
        {"hour 24", 0x2E7F, 0xC000, QDateTime()},
        {"second 60", 0x2E7F, 0x001E, QDateTime()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const QDateTime got = cf.DosDateTimeToVBDate(row.date, row.time);
        EXPECT_EQ(got.isValid(), row.expected.isValid());
        if (row.expected.isValid()) {
            EXPECT_EQ(got, row.expected);
        }
    }
}
