#include "engine/settimestamp.h"
#include "platform/linuxfilesystem.h"
#include "tests/common/fsprobe.h"
#include "tests/common/opfixture.h"
#include "tests/common/tzguard.h"

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

using namespace tavil;
using namespace Qt::Literals::StringLiterals;
using engine::SetTimeStampParams;
using platform::MsgButton;
using test::native;
using test::setTimes;
using test::statOf;

namespace {

QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

SetTimeStampParams nameParams(bool y, bool mo, bool d, bool h, bool mi, bool s)
{
    SetTimeStampParams p;
    p.TimeToName = true;
    p.UseYear = y;
    p.UseMonth = mo;
    p.UseDay = d;
    p.UseHour = h;
    p.UseMinute = mi;
    p.UseSecond = s;
    return p;
}

// ---------------------------------------------------------------- pure rule

struct PreviewCase {
    const char* name;
    SetTimeStampParams params;
    QString expected;
};

SetTimeStampParams with(SetTimeStampParams p, const std::function<void(SetTimeStampParams&)>& change)
{
    change(p);
    return p;
}

TEST(SetTimeStampSample, PreviewTable)
{
    const SetTimeStampParams ymd = nameParams(true, true, true, false, false, false);
    const SetTimeStampParams kanjiYmdHm = with(nameParams(true, true, true, true, true, false),
                                               [](SetTimeStampParams& p) {
                                                   p.DateSeparator = u"年月日"_s;
                                                   p.TimeSeparator = u"時分秒"_s;
                                               });
    const PreviewCase cases[] = {
        {"yearMonthDayDash", ymd, u"YYYY-MM-DD.TXT"_s},
        {"kanjiWithLink", kanjiYmdHm, u"YYYY年MM月DD日_hh時mm分.TXT"_s},
        {"kanjiAfterNameNoTexts", with(kanjiYmdHm, [](SetTimeStampParams& p) {
             p.AddToName = true;
             p.AddPosition = false;
             p.TextBeforeTime.clear();
             p.TextAfterTime.clear();
         }),
         u"SAMPLEYYYY年MM月DD日_hh時mm分.TXT"_s},
        {"kanjiAfterNameStartTexts", with(kanjiYmdHm, [](SetTimeStampParams& p) {
             p.AddToName = true;
             p.AddPosition = false;
         }),
         u"SAMPLE(YYYY年MM月DD日_hh時mm分).TXT"_s},
        {"beforeName", with(ymd, [](SetTimeStampParams& p) { p.AddToName = true; }),
         u"(YYYY-MM-DD)SAMPLE.TXT"_s},
        {"textsUnusedWithoutAddToName", with(ymd, [](SetTimeStampParams& p) {
             p.TextBeforeTime = u"["_s;
             p.TextAfterTime = u"]"_s;
         }),
         u"YYYY-MM-DD.TXT"_s},
        {"hourAloneKanji", with(nameParams(false, false, false, true, false, false),
                                [](SetTimeStampParams& p) { p.TimeSeparator = u"時分秒"_s; }),
         u"hh時.TXT"_s},
        {"twoDigitYear", with(nameParams(true, false, false, false, false, false),
                              [](SetTimeStampParams& p) { p.YearDigits = 1; }),
         u"YY.TXT"_s},
        // A separator stands only between two used parts of its group.
        {"yearAndSecond", nameParams(true, false, false, false, false, true), u"YYYY_ss.TXT"_s},
        {"monthHourSecond", with(nameParams(false, true, false, true, false, true),
                                 [](SetTimeStampParams& p) { p.TimeSeparator = u"."_s; }),
         u"MM_hh.ss.TXT"_s},
        // Each group picks its kanji form by itself.
        {"kanjiDateDashTime", with(nameParams(true, true, true, true, true, true),
                                   [](SetTimeStampParams& p) { p.DateSeparator = u"年月日"_s; }),
         u"YYYY年MM月DD日_hh-mm-ss.TXT"_s},
        {"kanjiAfterEveryUsedPart", with(nameParams(false, false, true, false, false, true),
                                         [](SetTimeStampParams& p) {
                                             p.DateSeparator = u"年月日"_s;
                                             p.TimeSeparator = u"時分秒"_s;
                                         }),
         u"DD日_ss秒.TXT"_s},
        {"emptyLink", with(nameParams(true, true, true, true, true, true),
                           [](SetTimeStampParams& p) { p.DateTimeSeparator.clear(); }),
         u"YYYY-MM-DDhh-mm-ss.TXT"_s},
        {"noPart", nameParams(false, false, false, false, false, false),
         u"変換イメージをここに表示します"_s},
    };
    for (const PreviewCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine::SetTimeStampSAMPLE(c.params), c.expected);
    }
}

struct NameCase {
    const char* name;
    SetTimeStampParams params;
    QDateTime time;
    QString oldName;
    QString number;
    QString expected;
};

TEST(SetTimeStampName, NamesFromTimes)
{
    const SetTimeStampParams all = nameParams(true, true, true, true, true, true);
    const SetTimeStampParams ymd = nameParams(true, true, true, false, false, false);
    const NameCase cases[] = {
        {"monthDayDot", with(nameParams(false, true, true, false, false, false),
                             [](SetTimeStampParams& p) { p.DateSeparator = u"."_s; }),
         at(2003, 3, 5, 12), u"photo.jpg"_s, {}, u"03.05.jpg"_s},
        {"twoDigitYear", with(nameParams(true, false, false, false, false, false),
                              [](SetTimeStampParams& p) { p.YearDigits = 1; }),
         at(2003, 12, 31), u"a.txt"_s, {}, u"03.txt"_s},
        {"everyPart", all, at(2003, 3, 31, 9, 5, 7), u"photo.jpg"_s, {}, u"2003-03-31_09-05-07.jpg"_s},
        {"midnightAndLastSecond", all, at(1999, 12, 31, 23, 59, 59), u"x.y"_s, {},
         u"1999-12-31_23-59-59.y"_s},
        {"midnight", all, at(2000, 1, 1), u"x.y"_s, {}, u"2000-01-01_00-00-00.y"_s},
        // The dot stays in the built name; the file system drops it.
        {"noExtension", ymd, at(2003, 3, 31), u"README"_s, {}, u"2003-03-31."_s},
        {"clashNumber", ymd, at(2003, 3, 31), u"a.txt"_s, u"(001)"_s, u"2003-03-31(001).txt"_s},
        {"numberBeforeExtensionAfterBase", with(ymd, [](SetTimeStampParams& p) { p.AddToName = true; }),
         at(2003, 3, 31), u"photo.jpg"_s, u"(002)"_s, u"(2003-03-31)photo(002).jpg"_s},
        {"numberAfterTime", with(ymd, [](SetTimeStampParams& p) {
             p.AddToName = true;
             p.AddPosition = false;
         }),
         at(2003, 3, 31), u"a.b.c"_s, u"(001)"_s, u"a.b(2003-03-31)(001).c"_s},
        {"earlyYearPadded", ymd, at(999, 1, 2), u"a.txt"_s, {}, u"0999-01-02.txt"_s},
        // Never a name from a made-up date.
        {"unknownTime", all, QDateTime(), u"a.txt"_s, {}, {}},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine::timeStampNewName(c.time, c.oldName, c.number, c.params), c.expected);
    }
}

TEST(SetTimeStampName, StampTextAndNumbers)
{
    EXPECT_EQ(engine::stampText(at(2003, 3, 31, 9, 5, 7)), u"2003/03/31 09:05:07"_s);
    EXPECT_EQ(engine::stampText(QDateTime()), QString());
    EXPECT_EQ(engine::stampText(at(10000, 1, 1)), QString());
    EXPECT_EQ(engine::clashNumber(1), u"(001)"_s);
    EXPECT_EQ(engine::clashNumber(999), u"(999)"_s);
    EXPECT_EQ(engine::clashNumber(1000), u"(1000)"_s);
    // A time picker showing 9:05:07 (and a fraction) gives 09:05:07.
    EXPECT_EQ(engine::pickerDateTime(QDate(2003, 3, 31), QTime(9, 5, 7, 500)), at(2003, 3, 31, 9, 5, 7));
    EXPECT_FALSE(engine::pickerDateTime(QDate(), QTime(9, 5, 7)).isValid());
}

// ------------------------------------------------------------------ on disk

// Local times in these tests are those of a fixed zone nine hours east of
// UTC without summer time, whatever the machine is set to. Each run takes a
// fresh context().
class SetTimeStampRun : public test::OperationTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(src.isValid());
        ASSERT_TRUE(out.isValid());
    }

    void useOutput(engine::RunContext& ctx)
    {
        ctx.outFolder = out.folder();
        ctx.outputButtonPressed = true;
    }

    test::TzGuard tz{"JST-9"};
    test::TempDir& src = dir; // the folder of the run
    test::TempDir out;
};

const QDateTime kMinute = QDateTime(QDate(2003, 3, 31), QTime(9, 5, 7));

TEST_F(SetTimeStampRun, NoPartChosenRefusesAndTouchesNothing)
{
    src.createFile("a.txt", "a", kMinute);
    auto ctx = context({"a.txt"});
    // A refusal stops the run, so a walk of many folders tells it once.
    EXPECT_TRUE(engine::SetTimeStamp(*ctx, nameParams(false, false, false, false, false, false)));
    SetTimeStampParams stamp; // stamp mode, no switch
    EXPECT_TRUE(engine::SetTimeStamp(*ctx, stamp));
    ASSERT_EQ(dialogs.shown.size(), 2);
    for (const test::ShownBox& box : dialogs.shown) {
        EXPECT_EQ(box.text, u"1つ以上チェックする必要があります。"_s);
        EXPECT_EQ(box.title, u"ﾀｲﾑｽﾀﾝﾌﾟの変更"_s);
        EXPECT_EQ(box.style, 48);
    }
    EXPECT_EQ(src.list(), QStringList{"a.txt"});
    EXPECT_EQ(host.fileListRefreshed, 0);
    EXPECT_EQ(host.workListCleared, 0);
}

// Three files of one minute: without numbering the second and third are
// clashes, reported and counted; no file replaces another.
TEST_F(SetTimeStampRun, SameMinuteClashesNeverOverwrite)
{
    src.createFile("a.txt", "A", kMinute);
    src.createFile("b.txt", "B", kMinute.addSecs(20));
    src.createFile("c.txt", "C", kMinute.addSecs(40));
    auto ctx = context({"a.txt", "b.txt", "c.txt"});
    ASSERT_TRUE(openLog(*ctx));
    SetTimeStampParams p = nameParams(true, true, true, true, true, false);
    p.TimeSource = false;

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));

    EXPECT_EQ(src.list(), (QStringList{"2003-03-31_09-05.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(src.read("2003-03-31_09-05.txt"), "A");
    EXPECT_EQ(src.read("b.txt"), "B");
    EXPECT_EQ(src.read("c.txt"), "C");
    EXPECT_EQ(ctx->errCount, 2);
    ASSERT_EQ(dialogs.shown.size(), 2);
    const QString folder = src.folder();
    EXPECT_EQ(dialogs.shown[0].text, u"b.txt\rと同じ名前のファイルが存在するため\r"_s + folder
                                         + u"b.txt\rのファイルをコピーできませんでした。"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"同名ファイルの存在"_s);
    EXPECT_EQ(dialogs.shown[0].style, 49);
    const QString logText = QString::fromUtf8(logBytes());
    EXPECT_TRUE(logText.contains(folder + u"b.txt\r\n\t-> "_s + folder + u"b.txt(タイムスタンプ変更)\r\n\r\n"_s))
        << logText.toStdString();
    EXPECT_TRUE(logText.contains(folder + u"c.txt\r\n"_s));
    EXPECT_EQ(host.progressValues, (QList<int>{1, 2, 3, 0}));
}

TEST_F(SetTimeStampRun, CancelOnClashStopsBeforeTheNextFile)
{
    src.createFile("a.txt", "A", kMinute);
    src.createFile("b.txt", "B", kMinute);
    src.createFile("c.txt", "C", kMinute.addDays(1));
    auto ctx = context({"a.txt", "b.txt", "c.txt"});
    dialogs.answers.push_back(MsgButton::Cancel);
    SetTimeStampParams p = nameParams(true, true, true, false, false, false);
    p.TimeSource = false;

    EXPECT_TRUE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(src.list(), (QStringList{"2003-03-31.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(ctx->errCount, 0);
    EXPECT_EQ(host.fileListRefreshed, 0);
}

TEST_F(SetTimeStampRun, SkipOptionCountsWithoutAsking)
{
    src.createFile("a.txt", "A", kMinute);
    src.createFile("b.txt", "B", kMinute);
    auto ctx = context({"a.txt", "b.txt"});
    ctx->opts.fileDouble2 = true;
    SetTimeStampParams p = nameParams(true, true, true, false, false, false);
    p.TimeSource = false;

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(ctx->errCount, 1);
    EXPECT_EQ(src.list(), (QStringList{"2003-03-31.txt", "b.txt"}));
}

TEST_F(SetTimeStampRun, NumberingGivesEachFileItsOwnName)
{
    src.createFile("a.txt", "A", kMinute);
    src.createFile("b.txt", "B", kMinute);
    src.createFile("c.txt", "C", kMinute);
    // Dotless names are tested as they are made: "2003-03-31." is "2003-03-31".
    src.createFile("README", "R", kMinute);
    src.createFile("NOTES", "N", kMinute);
    auto ctx = context({"a.txt", "b.txt", "c.txt", "README", "NOTES"});
    SetTimeStampParams p = nameParams(true, true, true, false, false, false);
    p.TimeSource = false;
    p.NumberOnClash = true;

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(src.list(), (QStringList{"2003-03-31", "2003-03-31(001)", "2003-03-31(001).txt",
                                       "2003-03-31(002).txt", "2003-03-31.txt"}));
    EXPECT_EQ(src.read("2003-03-31.txt"), "A");
    EXPECT_EQ(src.read("2003-03-31(002).txt"), "C");
    EXPECT_EQ(src.read("2003-03-31(001)"), "N");

    // A second run: each file's own name counts as taken.
    auto again = context({"2003-03-31.txt"});
    EXPECT_FALSE(engine::SetTimeStamp(*again, p));
    EXPECT_TRUE(src.exists("2003-03-31(003).txt"));
    EXPECT_FALSE(src.exists("2003-03-31.txt"));
}

TEST_F(SetTimeStampRun, NumberingPassesAThousand)
{
    src.createFile("a.txt", "A", kMinute);
    src.createFile("2003.txt");
    for (int k = 1; k <= 999; ++k)
        src.createFile(QStringLiteral("2003(%1).txt").arg(k, 3, 10, QLatin1Char('0')));
    auto ctx = context({"a.txt"});
    SetTimeStampParams p = nameParams(true, false, false, false, false, false);
    p.TimeSource = false;
    p.NumberOnClash = true;

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(src.read("2003(1000).txt"), "A");
}

TEST_F(SetTimeStampRun, CreationOrWriteTimeNamesTheFile)
{
    const QString a = src.createFile("a.txt", "A", kMinute);
    const bool stored = test::userXattrsIn(src.path());
    if (stored) {
        ASSERT_TRUE(fs.writeTimes(a, at(2001, 2, 3, 4, 5, 6), {}, {}).ok());
    }
    auto ctx = context({"a.txt"});
    SetTimeStampParams p = nameParams(true, true, true, false, false, false);
    p.TimeSource = false;
    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(src.list(), QStringList{"2003-03-31.txt"});
    if (!stored)
        GTEST_SKIP() << "no user extended attributes here: the creation time cannot be set";

    auto byCreation = context({"2003-03-31.txt"});
    p.TimeSource = true;
    p.UseHour = p.UseMinute = p.UseSecond = true;
    EXPECT_FALSE(engine::SetTimeStamp(*byCreation, p));
    EXPECT_EQ(src.list(), QStringList{"2001-02-03_04-05-06.txt"});
}

// The abort button acts before the first file and then every 20 files.
TEST_F(SetTimeStampRun, AbortStopsBeforeTheFirstFile)
{
    src.createFile("a.txt", "A", kMinute);
    auto ctx = context({"a.txt"});
    engine::RunContext* running = ctx.get();
    host.onPump = [running](int) { running->gCancel = true; };
    SetTimeStampParams p = nameParams(true, true, true, false, false, false);
    p.TimeSource = false;

    EXPECT_TRUE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(src.list(), QStringList{"a.txt"});
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"ユーザーによって中止されました。"_s);
    EXPECT_FALSE(ctx->gCancel);
}

// A time that cannot be read leaves the file alone: no name from 1601.
TEST_F(SetTimeStampRun, UnknownTimeLeavesTheFileAlone)
{
    src.createFile("a.txt", "A", kMinute);
    fs.hideCreation = true;
    auto ctx = context({"a.txt", "gone.txt"});
    SetTimeStampParams p = nameParams(true, true, true, false, false, false);
    p.TimeSource = true;

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(src.list(), QStringList{"a.txt"});
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(ctx->errCount, 0);
}

TEST_F(SetTimeStampRun, SlashInASeparatorStopsBeforeAnyChange)
{
    src.createFile("a.txt", "A", kMinute);
    src.createDir("2003");
    auto ctx = context({"a.txt"});
    SetTimeStampParams p = nameParams(true, true, false, false, false, false);
    p.TimeSource = false;
    p.DateSeparator = u"/"_s;

    EXPECT_TRUE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(src.list(), (QStringList{"2003", "a.txt"}));
    EXPECT_TRUE(src.list("2003").isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, u"ｴﾗｰ"_s);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(u"ｴﾗｰ番号  52 でｴﾗｰが発生しました。"_s));
}

// In output-folder mode a name already there is a clash, and the rest of that
// entry is skipped: the copy made for the entry before is not renamed again.
TEST_F(SetTimeStampRun, OutputClashLeavesThePreviousCopyAlone)
{
    src.createFile("a.txt", "A", kMinute);
    src.createFile("b.txt", "B", kMinute);
    src.createFile("c.txt", "C", kMinute.addDays(1));
    out.createFile("b.txt", "old B", kMinute.addYears(-3));
    auto ctx = context({"a.txt", "b.txt", "c.txt"});
    useOutput(*ctx);
    SetTimeStampParams p = nameParams(true, true, true, false, false, false);
    p.TimeSource = false;
    p.NumberOnClash = true;

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(out.list(), (QStringList{"2003-03-31.txt", "2003-04-01.txt", "b.txt"}));
    EXPECT_EQ(out.read("2003-03-31.txt"), "A");
    EXPECT_EQ(out.read("b.txt"), "old B");
    EXPECT_EQ(src.list(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(ctx->errCount, 1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, out.folder() + u"b.txt\rと同じ名前のファイルが存在するため\r"_s
                                         + src.folder() + u"b.txt\rのファイルをコピーできませんでした。"_s);
}

// Stamp mode: only the chosen times change, to exactly the chosen values.
TEST_F(SetTimeStampRun, StampModeSetsOnlyTheChosenTimes)
{
    const QString a = src.createFile("a.txt", "A");
    ASSERT_TRUE(setTimes(a, {1049000000, 123456789}, {1049100000, 987654321}));
    auto ctx = context({"a.txt"});
    SetTimeStampParams p;
    p.SetWriteTime = true;
    p.NewWriteTime = at(2010, 5, 6, 7, 8, 9);
    p.NewAccessTime = at(1990, 1, 1); // not chosen

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    const struct stat st = statOf(a);
    EXPECT_EQ(st.st_mtim.tv_sec, 1273097289); // 2010-05-06 07:08:09 at UTC+9
    EXPECT_EQ(st.st_mtim.tv_nsec, 0);
    EXPECT_EQ(st.st_atim.tv_sec, 1049000000);
    EXPECT_EQ(st.st_atim.tv_nsec, 123456789);
    EXPECT_EQ(src.list(), QStringList{"a.txt"});
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(SetTimeStampRun, StampModeSetsAllThree)
{
    if (!test::userXattrsIn(src.path()))
        GTEST_SKIP() << "no user extended attributes here: the creation time cannot be stored";
    const QString a = src.createFile("a.txt", "A");
    auto ctx = context({"a.txt"});
    SetTimeStampParams p;
    p.SetCreationTime = p.SetWriteTime = p.SetAccessTime = true;
    p.NewCreationTime = at(2001, 2, 3, 4, 5, 6);
    p.NewWriteTime = at(2002, 3, 4, 5, 6, 7);
    p.NewAccessTime = at(2003, 3, 31, 9, 5, 7);

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    platform::LinuxFileSystem real;
    platform::FileTimes t;
    ASSERT_TRUE(real.readTimes(a, &t).ok());
    EXPECT_EQ(t.creation, at(2001, 2, 3, 4, 5, 6));
    EXPECT_EQ(t.lastWrite, at(2002, 3, 4, 5, 6, 7));
    EXPECT_EQ(t.lastAccess, at(2003, 3, 31, 9, 5, 7));
    EXPECT_EQ(statOf(a).st_mtim.tv_sec, 1015185967); // 2002-03-04 05:06:07 at UTC+9
}

// A read-only file cannot take new times; it keeps them without a message.
TEST_F(SetTimeStampRun, ReadOnlyFileKeepsItsTimesSilently)
{
    const QString a = src.createFile("a.txt", "A");
    ASSERT_TRUE(setTimes(a, {1049000000, 0}, {1049100000, 0}));
    ASSERT_EQ(::chmod(native(a).constData(), 0444), 0);
    src.createFile("b.txt", "B");
    auto ctx = context({"a.txt", "b.txt"});
    SetTimeStampParams p;
    p.SetWriteTime = true;
    p.NewWriteTime = at(2010, 5, 6, 7, 8, 9);

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(statOf(a).st_mtim.tv_sec, 1049100000);
    EXPECT_EQ(statOf(src.file("b.txt")).st_mtim.tv_sec, 1273097289);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(ctx->errCount, 0);
}

TEST_F(SetTimeStampRun, StampModeInOutputFolderChangesTheCopyOnly)
{
    const QString a = src.createFile("a.txt", "A");
    ASSERT_TRUE(setTimes(a, {1049000000, 0}, {1049100000, 0}));
    src.createFile("b.txt", "B");
    const QString oldB = out.createFile("b.txt", "old B");
    ASSERT_TRUE(setTimes(oldB, {1000000000, 0}, {1000000000, 0}));
    auto ctx = context({"a.txt", "b.txt"});
    useOutput(*ctx);
    ctx->opts.fileDouble2 = true;
    SetTimeStampParams p;
    p.SetWriteTime = true;
    p.NewWriteTime = at(2010, 5, 6, 7, 8, 9);

    EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
    EXPECT_EQ(statOf(a).st_mtim.tv_sec, 1049100000);
    EXPECT_EQ(statOf(out.file("a.txt")).st_mtim.tv_sec, 1273097289);
    EXPECT_EQ(out.read("a.txt"), "A");
    EXPECT_EQ(statOf(oldB).st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(out.read("b.txt"), "old B");
    EXPECT_EQ(ctx->errCount, 1);
}

// The selection is kept or emptied as the option says; renamed files always
// show under their new names.
TEST_F(SetTimeStampRun, WrapUpFollowsKeepList)
{
    struct Case {
        const char* name;
        bool nameMode;
        bool keepList;
        int cleared;
        int refreshed;
    };
    const Case cases[] = {
        {"namesKept", true, true, 0, 1},
        {"namesEmptied", true, false, 1, 1},
        {"stampsKept", false, true, 0, 0},
        {"stampsEmptied", false, false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host = test::FakeHost();
        auto ctx = context({});
        ctx->opts.keepList = c.keepList;
        SetTimeStampParams p = nameParams(true, false, false, false, false, false);
        p.TimeToName = c.nameMode;
        p.SetWriteTime = true;
        p.NewWriteTime = kMinute;
        EXPECT_FALSE(engine::SetTimeStamp(*ctx, p));
        EXPECT_EQ(host.workListCleared, c.cleared);
        EXPECT_EQ(host.fileListRefreshed, c.refreshed);
        EXPECT_EQ(host.progressValue, 0);
        EXPECT_TRUE(ctx->loopCompleted);
    }
}

} // namespace
