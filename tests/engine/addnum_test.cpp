#include "engine/addnum.h"

#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace tavil;
using engine::AddNumParams;
using platform::MsgButton;

namespace {

// ---------------------------------------------------------------------------
// The new-name rule alone.

TEST(AddNumRule, NewNameByShape)
{
    struct Case {
        const char* name;
        std::function<void(AddNumParams&)> set;
        const char* old;
        const char* number;
        const char* expect;
    };
    const Case cases[] = {
        {"shape1", [](AddNumParams& p) { p.NumPrefix = "_"; }, "photo.jpg", "007", "photo_007.jpg"},
        {"shape2", [](AddNumParams& p) { p.NumPrefix = "_"; p.NumberShape = 2; }, "photo.jpg", "007", "_007photo.jpg"},
        {"shape3", [](AddNumParams& p) { p.NumPrefix = "_"; p.NumberShape = 3; }, "photo.jpg", "007", "photo._007"},
        {"prefixAndSuffix", [](AddNumParams& p) { p.NumPrefix = "("; p.NumSuffix = ")"; }, "a.txt", "1", "a(1).txt"},
        {"shape2UnifiedName", [](AddNumParams& p) { p.NumberShape = 2; p.UnifyName = true; p.UnifiedName = "img"; },
         "x.jpg", "001", "001img.jpg"},
        {"unifiedEmptyNameShape1", [](AddNumParams& p) { p.NumPrefix = "_"; p.UnifyName = true; }, "a.txt", "001",
         "_001.txt"},
        {"unifiedExtension", [](AddNumParams& p) { p.UnifyExtension = true; p.UnifiedExtension = "dat"; }, "a.txt",
         "1", "a1.dat"},
        {"unifiedEmptyExtensionHasNoDot", [](AddNumParams& p) { p.UnifyExtension = true; }, "a.txt", "1", "a1"},
        {"shape3IgnoresExtension",
         [](AddNumParams& p) { p.NumberShape = 3; p.UnifyExtension = true; p.UnifiedExtension = "dat"; }, "a.txt",
         "1", "a.1"},
        {"lastDotSplits", [](AddNumParams& p) { p.NumPrefix = "-"; }, "x.tar.gz", "3", "x.tar-3.gz"},
        {"noExtensionLoneDot", [](AddNumParams& p) { p.NumPrefix = "_"; }, "readme", "001", "readme_001."},
        {"negativeNumber", [](AddNumParams&) {}, "a.txt", "-001", "a-001.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AddNumParams p;
        c.set(p);
        EXPECT_EQ(engine::addNumNewName(p, QString::fromUtf8(c.old), QString::fromUtf8(c.number)),
                  QString::fromUtf8(c.expect));
    }
}

// ---------------------------------------------------------------------------
// Runs on disk.

class AddNumRun : public test::OperationTest {
protected:
    bool run(const QStringList& list)
    {
        ctx.objList = list;
        return engine::AddNum(ctx, params);
    }
    QByteArray entry(const char* from, const char* to) const
    {
        return (dir.folder() + from + "\r\n\t-> " + dir.folder() + to + "\r\n\r\n").toUtf8();
    }

    AddNumParams params;
};

using test::kLogHeader;
const QString kClashQuestion = QStringLiteral("同じ名前のファイルが存在するため\r名前を変更することが出来ませんでした。");

TEST_F(AddNumRun, NumberSequences)
{
    struct Case {
        const char* name;
        const char* start;
        const char* step;
        const char* digits;
        QStringList list;
        QStringList expect;
    };
    const QString skip = engine::kSkipRow;
    const Case cases[] = {
        {"threeDigits", "1", "1", "3", {"a.txt", "b.txt", "c.txt"}, {"a_001.txt", "b_002.txt", "c_003.txt"}},
        {"skipRowUsesNumber", "1", "1", "3", {"a.txt", skip, "b.txt", "c.txt"},
         {"a_001.txt", "b_003.txt", "c_004.txt"}},
        {"countDown", "10", "-1", "2", {"a.txt", "b.txt", "c.txt"}, {"a_10.txt", "b_09.txt", "c_08.txt"}},
        {"widerThanMask", "99", "1", "2", {"a.txt", "b.txt"}, {"a_99.txt", "b_100.txt"}},
        {"negative", "-1", "1", "3", {"a.txt"}, {"a_-001.txt"}},
        {"zeroDigitsPlain", "7", "5", "0", {"a.txt", "b.txt"}, {"a_7.txt", "b_12.txt"}},
        {"noExtension", "1", "1", "3", {"readme"}, {"readme_001"}},
        {"lastNumberMayNotOverflow", "2147483647", "1", "1", {"a.txt"}, {"a_2147483647.txt"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir fresh;
        ctx.SourceFolder = fresh.path();
        for (const QString& n : c.list)
            if (n != skip)
                fresh.createFile(n, n.toUtf8());
        params = AddNumParams{};
        params.NumPrefix = "_";
        params.StartNumber = c.start;
        params.Step = c.step;
        params.Digits = c.digits;
        dialogs.shown.clear();
        EXPECT_FALSE(run(c.list));
        EXPECT_EQ(fresh.list(), c.expect);
        EXPECT_TRUE(dialogs.shown.isEmpty());
    }
    EXPECT_EQ(host.status1, QStringLiteral("変更中..."));
    EXPECT_EQ(host.progressValue, 0);
    EXPECT_GT(host.workListCleared, 0);
}

TEST_F(AddNumRun, RefusedBeforeAnyFileIsTouched)
{
    struct Case {
        const char* name;
        std::function<void(AddNumParams&)> set;
        const char* text;
        const char* title;
        int style;
        std::vector<engine::Field> focused;
    };
    const Case cases[] = {
        {"shape3EmptyName", [](AddNumParams& p) { p.NumberShape = 3; p.UnifyName = true; },
         "「名前」が入力されていません。", "連番付加", 48, {engine::Field::UnifiedName}},
        {"stepZero", [](AddNumParams& p) { p.Step = "00"; }, "「増加数」に 0 は指定できません。", "連番付加", 48,
         {engine::Field::Step}},
        {"startNotNumber", [](AddNumParams& p) { p.StartNumber = "abc"; },
         "ｴﾗｰ番号  13 でｴﾗｰが発生しました。\r型が一致しません。", "ｴﾗｰ", 16, {}},
        {"stepOutOfRange", [](AddNumParams& p) { p.Step = "40000"; },
         "ｴﾗｰ番号  6 でｴﾗｰが発生しました。\rオーバーフローしました。", "ｴﾗｰ", 16, {}},
        {"digitsNotNumber", [](AddNumParams& p) { p.Digits = ""; },
         "ｴﾗｰ番号  13 でｴﾗｰが発生しました。\r型が一致しません。", "ｴﾗｰ", 16, {}},
    };
    make({"a.txt", "b.txt"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        params = AddNumParams{};
        c.set(params);
        dialogs.shown.clear();
        host.focused.clear();
        EXPECT_TRUE(run({"a.txt", "b.txt"}));
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, QString::fromUtf8(c.text));
        EXPECT_EQ(dialogs.shown[0].title, QString::fromUtf8(c.title));
        EXPECT_EQ(dialogs.shown[0].style, c.style);
        EXPECT_EQ(host.focused, c.focused);
        EXPECT_EQ(dir.list(), (QStringList{"a.txt", "b.txt"}));
    }
    EXPECT_EQ(host.pumps, 0); // the loop never began
}

TEST_F(AddNumRun, ShapesOneAndTwoAcceptAnEmptyCommonName)
{
    make({"a.txt"});
    params.NumberShape = 2;
    params.UnifyName = true;
    params.NumSuffix = "_";
    EXPECT_FALSE(run({"a.txt"}));
    EXPECT_EQ(dir.list(), QStringList{"0_.txt"}); // the tab starts at 0
}

TEST_F(AddNumRun, OverflowOfTheNextNumberStopsWithTheGenericMessage)
{
    make({"a.txt", "b.txt", "c.txt"});
    params.StartNumber = "2147483647";
    EXPECT_TRUE(run({"a.txt", "b.txt", "c.txt"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("ｴﾗｰ番号  6 でｴﾗｰが発生しました。\rオーバーフローしました。"));
    EXPECT_EQ(dir.list(), (QStringList{"a2147483647.txt", "b.txt", "c.txt"}));
}

// b_002.txt is taken by a file outside the list: b moves on to 003 without a
// word, and c follows with 004.
TEST_F(AddNumRun, AdvanceOptionSkipsATakenNumber)
{
    make({"a.txt", "b.txt", "c.txt", "b_002.txt"});
    ASSERT_TRUE(openLog());
    ctx.opts.fileDouble = true;
    params.NumPrefix = "_";
    params.Digits = "3";
    params.StartNumber = "1";
    EXPECT_FALSE(run({"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(dir.list(), (QStringList{"a_001.txt", "b_002.txt", "b_003.txt", "c_004.txt"}));
    EXPECT_EQ(dir.read("b_002.txt"), "b_002.txt");
    EXPECT_EQ(dir.read("b_003.txt"), "b.txt");
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_EQ(logBytes(), kLogHeader);
}

TEST_F(AddNumRun, AdvanceOptionEndsWhenNumbersRunOut)
{
    make({"a.txt", "a2147483646.txt", "a2147483647.txt"});
    ctx.opts.fileDouble = true;
    params.StartNumber = "2147483646";
    EXPECT_TRUE(run({"a.txt"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ｴﾗｰ"));
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("ｴﾗｰ番号  6 でｴﾗｰが発生しました。\rオーバーフローしました。"));
    EXPECT_EQ(dir.read("a.txt"), "a.txt");
    EXPECT_EQ(dir.read("a2147483647.txt"), "a2147483647.txt");
}

// Renumbering 1.txt, 2.txt, 3.txt from 2 aims each file at the next one's
// name. Whatever the clash option, no file may be replaced.
class AddNumRenumber : public AddNumRun {
protected:
    void SetUp() override
    {
        make({"1.txt", "2.txt", "3.txt"});
        ASSERT_TRUE(openLog());
        params.UnifyName = true; // name part "": the new name is the number alone
        params.StartNumber = "2";
    }
    // Every original content still present, under some name.
    void expectNothingLost()
    {
        QStringList contents;
        for (const QString& n : dir.list())
            contents.append(QString::fromUtf8(dir.read(n)));
        contents.sort();
        EXPECT_EQ(contents, (QStringList{"1.txt", "2.txt", "3.txt"}));
    }
};

TEST_F(AddNumRenumber, SkipOptionCountsAndLogsEachClash)
{
    ctx.opts.fileDouble2 = true;
    EXPECT_FALSE(run({"1.txt", "2.txt", "3.txt"}));
    EXPECT_EQ(dir.list(), (QStringList{"1.txt", "2.txt", "4.txt"}));
    EXPECT_EQ(dir.read("2.txt"), "2.txt"); // the clash target's bytes are intact
    EXPECT_EQ(dir.read("4.txt"), "3.txt");
    expectNothingLost();
    EXPECT_EQ(ctx.errCount, 2);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(logBytes(), kLogHeader + entry("1.txt", "2.txt") + entry("2.txt", "3.txt"));
}

TEST_F(AddNumRenumber, AskedClashAnsweredOkIsCountedAndLogged)
{
    EXPECT_FALSE(run({"1.txt", "2.txt", "3.txt"}));
    ASSERT_EQ(dialogs.shown.size(), 2);
    for (const test::ShownBox& box : dialogs.shown) {
        EXPECT_EQ(box.text, kClashQuestion);
        EXPECT_EQ(box.title, QStringLiteral("同名ファイルの存在"));
        EXPECT_EQ(box.style, 49);
    }
    EXPECT_EQ(dir.list(), (QStringList{"1.txt", "2.txt", "4.txt"}));
    expectNothingLost();
    EXPECT_EQ(ctx.errCount, 2);
    EXPECT_EQ(logBytes(), kLogHeader + entry("1.txt", "2.txt") + entry("2.txt", "3.txt"));
}

TEST_F(AddNumRenumber, AskedClashAnsweredCancelEndsWithoutLogOrCount)
{
    dialogs.answers = {MsgButton::Cancel};
    EXPECT_TRUE(run({"1.txt", "2.txt", "3.txt"}));
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dir.list(), (QStringList{"1.txt", "2.txt", "3.txt"}));
    expectNothingLost();
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_EQ(logBytes(), kLogHeader);
    EXPECT_EQ(host.workListCleared, 0); // a stopped run leaves the lists alone
}

TEST_F(AddNumRenumber, AdvanceOptionMovesEveryFilePastTheTakenNames)
{
    ctx.opts.fileDouble = true;
    EXPECT_FALSE(run({"1.txt", "2.txt", "3.txt"}));
    EXPECT_EQ(dir.list(), (QStringList{"4.txt", "5.txt", "6.txt"}));
    EXPECT_EQ(dir.read("4.txt"), "1.txt");
    EXPECT_EQ(dir.read("6.txt"), "3.txt");
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_EQ(logBytes(), kLogHeader);
}

TEST_F(AddNumRun, OutputFolderCopiesAndClashesThere)
{
    test::TempDir out;
    out.createFile("b2.txt", "old");
    make({"a.txt", "b.txt"});
    ctx.outFolder = out.folder();
    ctx.outputButtonPressed = true;
    ctx.opts.fileDouble2 = true;
    ASSERT_TRUE(openLog());
    params.StartNumber = "1";
    EXPECT_FALSE(run({"a.txt", "b.txt"}));
    EXPECT_EQ(dir.list(), (QStringList{"a.txt", "b.txt"}));
    EXPECT_EQ(out.list(), (QStringList{"a1.txt", "b2.txt"}));
    EXPECT_EQ(out.read("b2.txt"), "old");
    EXPECT_EQ(logBytes(), kLogHeader + (dir.folder() + "b.txt\r\n\t-> " + out.folder() + "b2.txt\r\n\r\n").toUtf8());
}

} // namespace
