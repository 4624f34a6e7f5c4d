#include "engine/fnamecopy.h"
#include "engine/numbers.h"

#include "tests/common/opfixture.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

using namespace tavil;
using engine::FNameCopyParams;
using platform::Err;

namespace {

// ---------------------------------------------------------------------------
// The pure rules: the whole part of the start field and the numbered name.

TEST(FNameCopyRules, WholePartOfStartField)
{
    struct Case {
        const char* text;
        Err err;
        qint32 value;
    };
    const Case cases[] = {
        {"0", Err::None, 0},
        {"1.7", Err::None, 1},
        {"-0.5", Err::None, -1},
        {"-3.0", Err::None, -3},
        {" 12 ", Err::None, 12},
        {"+4", Err::None, 4},
        {"2147483647.9", Err::None, 2147483647},
        {"-2147483648", Err::None, -2147483648},
        {"-2147483647.5", Err::None, -2147483648},
        {".5", Err::None, 0},
        {"2147483648", Err::Overflow, 0},
        {"-2147483648.5", Err::Overflow, 0},
        {"99999999999999999999", Err::Overflow, 0},
        {"", Err::TypeMismatch, 0},
        {"abc", Err::TypeMismatch, 0},
        {"1.2.3", Err::TypeMismatch, 0},
        {".", Err::TypeMismatch, 0},
        {"-", Err::TypeMismatch, 0},
        {"1a", Err::TypeMismatch, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        qint32 v = 12345;
        EXPECT_EQ(engine::wholePartOf(QString::fromUtf8(c.text), &v), c.err);
        EXPECT_EQ(v, c.err == Err::None ? c.value : 12345);
    }
}

TEST(FNameCopyRules, NumberedName)
{
    struct Case {
        const char* old;
        const char* prefix;
        const char* suffix;
        int digits;
        qint64 number;
        const char* expect;
    };
    const Case cases[] = {
        {"a.txt", "_", "", 2, 1, "a_001.txt"},
        {"a.txt", "_", "", 2, 1000, "a_1000.txt"},
        {"a.txt", "", "", 2, -1, "a-001.txt"},
        {"a.txt", "(", ")", 0, 7, "a(7).txt"},
        {"a.txt", "", "", -1, 7, "a7.txt"},
        {"a.txt", "", "", 4, 0, "a00000.txt"},
        {"x.tar.gz", "-", "", 1, 3, "x.tar-03.gz"},
        {"README", "_", "", 0, 1, "README_1."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expect);
        FNameCopyParams p;
        p.ClashPrefix = QString::fromUtf8(c.prefix);
        p.ClashSuffix = QString::fromUtf8(c.suffix);
        p.ClashDigits = c.digits;
        EXPECT_EQ(engine::clashName(QString::fromUtf8(c.old), p, c.number), QString::fromUtf8(c.expect));
    }
}

// ---------------------------------------------------------------------------
// Runs on disk.

const QDateTime kTime1(QDate(2003, 3, 31), QTime(9, 5, 7));
const QDateTime kTime2(QDate(2004, 4, 1), QTime(10, 0, 0));

class FNameCopyRun : public test::OperationTest {
protected:
    FNameCopyRun()
    {
        src = tmp.createDir("src");
        out = tmp.createDir("out");
        ctx.SourceFolder = src; // as the folder box has it, without "/"
        ctx.outFolder = out + "/";
        ctx.outputButtonPressed = true;
    }

    bool run(const QStringList& names, const FNameCopyParams& params)
    {
        ctx.objList = names;
        return engine::FNameCopy(ctx, params);
    }

    QString boxTitles() const
    {
        QStringList t;
        for (const auto& b : dialogs.shown)
            t << b.title;
        return t.join(u'|');
    }

    test::TempDir& tmp = dir; // holds src/ and out/
    QString src, out;
};

class FNameCopyModes : public FNameCopyRun, public ::testing::WithParamInterface<bool> {};

TEST_P(FNameCopyModes, NoClashKeepsNamesAndContent)
{
    const bool copy = GetParam();
    tmp.createFile("src/a.txt", "alpha", kTime1);
    tmp.createFile("src/b", "beta");
    FNameCopyParams p;
    p.CopyMode = copy;
    EXPECT_FALSE(run({"a.txt", "b"}, p));
    EXPECT_EQ(tmp.list("out"), QStringList({"a.txt", "b"}));
    EXPECT_EQ(tmp.read("out/a.txt"), "alpha");
    EXPECT_EQ(tmp.read("out/b"), "beta");
    EXPECT_EQ(QFileInfo(tmp.file("out/a.txt")).lastModified(), kTime1);
    EXPECT_EQ(tmp.list("src"), copy ? QStringList({"a.txt", "b"}) : QStringList());
    // A move empties the selected-files list, a copy keeps it.
    EXPECT_EQ(host.workListCleared, copy ? 0 : 1);
    EXPECT_EQ(host.status1, QStringLiteral("変更中..."));
    EXPECT_EQ(host.progressValue, 0);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// Nothing in the output folder is ever replaced: the next free number is
// taken, and every file keeps its content.
TEST_P(FNameCopyModes, ClashTakesNextFreeNumber)
{
    const bool copy = GetParam();
    tmp.createFile("src/a.txt", "new");
    tmp.createFile("out/a.txt", "old0");
    tmp.createFile("out/a_001.txt", "old-1");
    FNameCopyParams p;
    p.CopyMode = copy;
    p.ClashStart = "1";
    p.ClashDigits = 2;
    p.ClashPrefix = "_";
    EXPECT_FALSE(run({"a.txt"}, p));
    EXPECT_EQ(tmp.list("out"), QStringList({"a.txt", "a_001.txt", "a_002.txt"}));
    EXPECT_EQ(tmp.read("out/a.txt"), "old0");
    EXPECT_EQ(tmp.read("out/a_001.txt"), "old-1");
    EXPECT_EQ(tmp.read("out/a_002.txt"), "new");
    EXPECT_EQ(tmp.exists("src/a.txt"), copy);
    EXPECT_TRUE(dialogs.shown.isEmpty()); // clashes ask nothing and count nothing
    EXPECT_EQ(ctx.errCount, 0);
}

TEST_P(FNameCopyModes, SameSizeTargetIsTheSameFile)
{
    const bool copy = GetParam();
    tmp.createFile("src/a.txt", "abc");
    tmp.createFile("out/a.txt", "xyz");
    FNameCopyParams p;
    p.CopyMode = copy;
    p.SkipSameSize = true;
    EXPECT_FALSE(run({"a.txt"}, p));
    EXPECT_EQ(tmp.list("out"), QStringList({"a.txt"}));
    EXPECT_EQ(tmp.read("out/a.txt"), "xyz");
    EXPECT_TRUE(tmp.exists("src/a.txt")); // passed over, not moved either
}

INSTANTIATE_TEST_SUITE_P(Both, FNameCopyModes, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Copy" : "Move"; });

TEST_F(FNameCopyRun, SameFileTests)
{
    struct Case {
        const char* name;
        bool creation, write, size;
        QByteArray outA, outA1; // "" = absent
        QDateTime outTime;
        QStringList expectOut;
    };
    const Case cases[] = {
        // An equal numbered copy counts as the same file too.
        {"numberedSameSize", false, false, true, "12345", "xyz", {}, {"a.txt", "a1.txt"}},
        {"sameWriteTime", false, true, false, "12345", "", kTime1, {"a.txt"}},
        {"otherWriteTime", false, true, false, "12345", "", kTime2, {"a.txt", "a1.txt"}},
        {"noSwitchSameSize", false, false, false, "xyz", "", kTime1, {"a.txt", "a1.txt"}},
        {"sizeOrWriteEitherIsEnough", false, true, true, "xyz", "", kTime2, {"a.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const QString s = dir.createDir("s"), o = dir.createDir("o");
        dir.createFile("s/a.txt", "abc", kTime1);
        dir.createFile("o/a.txt", c.outA, c.outTime);
        if (!c.outA1.isEmpty())
            dir.createFile("o/a1.txt", c.outA1, c.outTime);
        ctx.SourceFolder = s;
        ctx.outFolder = o + "/";
        FNameCopyParams p;
        p.SkipSameCreation = c.creation;
        p.SkipSameWrite = c.write;
        p.SkipSameSize = c.size;
        p.ClashStart = "1";
        EXPECT_FALSE(run({"a.txt"}, p));
        EXPECT_EQ(dir.list("o"), c.expectOut);
        EXPECT_EQ(dir.read("o/a.txt"), c.outA);
    }
}

TEST_F(FNameCopyRun, NumberingRestartsForEveryFileAndDropsLoneDot)
{
    for (const char* n : {"a.txt", "b.txt", "README"}) {
        tmp.createFile(QStringLiteral("src/") + n, "new");
        tmp.createFile(QStringLiteral("out/") + n, "old");
    }
    FNameCopyParams p;
    p.ClashStart = "0";
    p.ClashDigits = 2;
    p.ClashPrefix = "_";
    EXPECT_FALSE(run({"a.txt", "b.txt", "README"}, p));
    EXPECT_EQ(tmp.list("out"), QStringList({"README", "README_000", "a.txt", "a_000.txt", "b.txt", "b_000.txt"}));
    EXPECT_EQ(tmp.read("out/README_000"), "new");
}

// Two files whose creation times are both unknown are not the same file for
// that reason: the copy is made under a number.
TEST_F(FNameCopyRun, UnknownCreationTimeEqualsNothing)
{
    fs.hideCreation = true;
    tmp.createFile("src/a.txt", "abc", kTime1);
    tmp.createFile("out/a.txt", "old", kTime2);
    FNameCopyParams p;
    p.SkipSameCreation = true;
    p.ClashStart = "1";
    EXPECT_FALSE(run({"a.txt"}, p));
    EXPECT_EQ(tmp.list("out"), QStringList({"a.txt", "a1.txt"}));
    EXPECT_EQ(tmp.read("out/a1.txt"), "abc");
}

TEST_F(FNameCopyRun, VanishedSourceIsPassedOver)
{
    tmp.createFile("src/b.txt", "b");
    FNameCopyParams p;
    EXPECT_FALSE(run({"gone.txt", engine::kSkipRow, "b.txt"}, p));
    EXPECT_EQ(tmp.list("out"), QStringList({"b.txt"}));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// The refusal compares the folders themselves: a link to the source folder is
// the source folder, while "Data" and "data" are two folders.
TEST_F(FNameCopyRun, OutputFolderSameAsSource)
{
    tmp.createFile("src/a.txt", "a");
    ASSERT_EQ(::symlink(QFile::encodeName(src).constData(), QFile::encodeName(tmp.file("alias")).constData()), 0);
    for (const QString& o : {src + "/", src, tmp.file("alias") + "/"}) {
        SCOPED_TRACE(o.toStdString());
        dialogs.shown.clear();
        ctx.outFolder = o;
        EXPECT_TRUE(run({"a.txt"}, FNameCopyParams{}));
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("出力先にコピー元と同じフォルダが指定されています。"));
        EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("出力先フォルダのエラー"));
        EXPECT_EQ(dialogs.shown[0].style, 16);
        EXPECT_EQ(tmp.list("src"), QStringList({"a.txt"}));
        EXPECT_EQ(host.status1, QString()); // refused before the run began
    }

    tmp.createFile("Data/a.txt", "upper");
    tmp.createDir("data");
    ctx.SourceFolder = tmp.file("Data");
    ctx.outFolder = tmp.file("data") + "/";
    dialogs.shown.clear();
    EXPECT_FALSE(run({"a.txt"}, FNameCopyParams{}));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(tmp.read("data/a.txt"), "upper");
}

TEST_F(FNameCopyRun, AbortStopsBeforeFileTwentyWithoutWrapUp)
{
    QStringList names;
    for (int i = 0; i < 45; ++i) {
        names << QStringLiteral("f%1").arg(i, 2, 10, QLatin1Char('0'));
        tmp.createFile("src/" + names.last(), "x");
    }
    // The abort button is pressed while the first files are moved.
    host.onPump = [&](int) {
        if (!tmp.list("out").isEmpty())
            ctx.gCancel = true;
    };
    FNameCopyParams p;
    p.CopyMode = false;
    EXPECT_TRUE(run(names, p));
    EXPECT_EQ(tmp.list("out").size(), 20);
    EXPECT_EQ(tmp.list("src").size(), 25);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("作業を中止します。"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("作業の中止"));
    EXPECT_EQ(dialogs.shown[0].style, 48);
    EXPECT_FALSE(ctx.gCancel);
    EXPECT_EQ(host.workListCleared, 0);
    EXPECT_EQ(host.progressValue, 20);
}

// Failures are reported and stop the run; they never end it silently, and
// no half-written target remains.
TEST_F(FNameCopyRun, FailuresAreReported)
{
    struct Case {
        const char* name;
        bool copy;
        const char* call; // the system call that fails
        int sysErrno;
        const char* title;
        const char* textStart;
    };
    const Case cases[] = {
        {"copyDiskFull", true, "write", ENOSPC, "空き容量の不足", "ディスクの空き容量が不足しています。"},
        {"copyQuota", true, "write", EDQUOT, "空き容量の不足", "ディスクの空き容量が不足しています。"},
        {"copyPermission", true, "open", EACCES, "ディスクの書き込みエラー", "ディスクがライトプロテクトされています。"},
        {"copyIoError", true, "linkat", EIO, "ｴﾗｰ", "ｴﾗｰ番号  75 でｴﾗｰが発生しました。"},
        {"movePermission", false, "renameat2", EACCES, "ディスクの書き込みエラー", "ディスクがライトプロテクトされています。"},
        {"moveIoError", false, "renameat2", EIO, "ｴﾗｰ", "ｴﾗｰ番号  75 でｴﾗｰが発生しました。"},
        // A clash reported for a name that is free must not number forever.
        {"moveRefusedForFreeName", false, "renameat2", EEXIST, "ｴﾗｰ", "ｴﾗｰ番号  75 でｴﾗｰが発生しました。"},
    };
    tmp.createFile("src/a.txt", QByteArray(600000, 'a'));
    tmp.createFile("src/b.txt", "b");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        fs.injectErrno = [&](const char* call, const QString& path) {
            return QByteArrayView(call) == c.call && path.startsWith(out) ? c.sysErrno : 0;
        };
        FNameCopyParams p;
        p.CopyMode = c.copy;
        EXPECT_TRUE(run({"a.txt", "b.txt"}, p));
        fs.injectErrno = nullptr;
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].title, QString::fromUtf8(c.title));
        EXPECT_TRUE(dialogs.shown[0].text.startsWith(QString::fromUtf8(c.textStart)))
            << dialogs.shown[0].text.toStdString();
        EXPECT_EQ(dialogs.shown[0].style, 16);
        EXPECT_EQ(tmp.list("out"), QStringList()); // nothing half-written, b.txt not tried
        EXPECT_EQ(tmp.list("src"), QStringList({"a.txt", "b.txt"}));
        EXPECT_EQ(tmp.read("src/a.txt").size(), 600000);
    }
}

TEST_F(FNameCopyRun, BadParametersAndMissingFolderAreReported)
{
    struct Case {
        const char* name;
        const char* start;
        const char* prefix;
        bool missingOut;
        const char* textStart;
    };
    const Case cases[] = {
        {"startNotANumber", "abc", "", false, "ｴﾗｰ番号  13 でｴﾗｰが発生しました。"},
        {"startTooLarge", "3000000000", "", false, "ｴﾗｰ番号  6 でｴﾗｰが発生しました。"},
        {"prefixWithSlash", "0", "../", false, "ｴﾗｰ番号  52 でｴﾗｰが発生しました。"},
        {"outputFolderGone", "0", "", true, "ｴﾗｰ番号  76 でｴﾗｰが発生しました。"},
    };
    tmp.createFile("src/a.txt", "a");
    tmp.createFile("out/a.txt", "old");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        ctx.outFolder = c.missingOut ? tmp.file("gone") + "/" : out + "/";
        FNameCopyParams p;
        p.ClashStart = QString::fromUtf8(c.start);
        p.ClashPrefix = QString::fromUtf8(c.prefix);
        EXPECT_TRUE(run({"a.txt"}, p));
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ｴﾗｰ"));
        EXPECT_EQ(dialogs.shown[0].style, 16);
        EXPECT_TRUE(dialogs.shown[0].text.startsWith(QString::fromUtf8(c.textStart)))
            << dialogs.shown[0].text.toStdString();
        EXPECT_EQ(tmp.list("out"), QStringList({"a.txt"}));
        EXPECT_EQ(tmp.read("out/a.txt"), "old");
        EXPECT_FALSE(tmp.exists("gone"));
        EXPECT_FALSE(tmp.exists("a.txt")); // nothing escaped the output folder
    }
}

// A move onto another file system is a copy, then removal of the source:
// content and times arrive intact.
TEST_F(FNameCopyRun, MoveAcrossFileSystemsKeepsContentAndTimes)
{
    tmp.createFile("src/a.txt", "payload", kTime1);
    tmp.createFile("out/a.txt", "other");
    fs.injectErrno = [](const char* call, const QString&) {
        return QByteArrayView(call) == "renameat2" ? EXDEV : 0;
    };
    FNameCopyParams p;
    p.CopyMode = false;
    p.ClashStart = "1";
    p.ClashPrefix = "_";
    EXPECT_FALSE(run({"a.txt"}, p));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(tmp.list("src"), QStringList());
    EXPECT_EQ(tmp.list("out"), QStringList({"a.txt", "a_1.txt"}));
    EXPECT_EQ(tmp.read("out/a.txt"), "other");
    EXPECT_EQ(tmp.read("out/a_1.txt"), "payload");
    EXPECT_EQ(QFileInfo(tmp.file("out/a_1.txt")).lastModified(), kTime1);
}

} // namespace
