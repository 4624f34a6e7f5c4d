#include "engine/fnameconv.h"

#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

using namespace tavil;
using engine::FNameConvParams;
using platform::MsgButton;
using test::entries;
using test::q;

namespace {

// Which steps a case switches on, as the tab would set them.
struct Steps {
    int nameCase = -1;  // -1: step 1 off
    int extCase = -1;   // -1: step 2 off
    int width = -1;     // -1: step 3 off; 0 half, 1 full
    bool kana = true;
    bool alnum = true;
    int kanaTarget = -1; // -1: step 4 off
};

FNameConvParams paramsFor(const Steps& s)
{
    FNameConvParams p;
    p.ConvertName = s.nameCase >= 0;
    p.NameCase = std::max(s.nameCase, 0);
    p.ConvertExtension = s.extCase >= 0;
    p.ExtensionCase = std::max(s.extCase, 0);
    p.ConvertWidth = s.width >= 0;
    p.WidthTarget = std::max(s.width, 0);
    p.WidthKana = s.kana;
    p.WidthAlnum = s.alnum;
    p.ConvertKana = s.kanaTarget >= 0;
    p.KanaTarget = std::max(s.kanaTarget, 0);
    return p;
}

TEST(FNameConvRule, StepsOnBaseAndExtension)
{
    struct Case {
        const char* name;
        const char* old;
        Steps steps;
        const char* base;
        const char* ext;
    };
    const Case cases[] = {
        {"firstUpperAndLowerExt", "abc.TXT", {0, 1}, "Abc", "txt"},
        {"firstUpperRestLower", "aBC DEF", {0}, "Abc def", ""},
        {"oneCharacterBase", "a.txt", {0}, "A", "txt"},
        {"allUpperKeepsSharpS", "straße.txt", {1}, "STRAßE", "txt"},
        {"allLowerFullWidthLatin", "ＡＢＣ.TXT", {2}, "ａｂｃ", "TXT"},
        {"extensionUpperOnly", "x.tar.gz", {-1, 0}, "x.tar", "GZ"},
        // A dot file has no base name: it stays empty and only the
        // extension is converted.
        {"dotFileFirstUpper", ".profile", {0}, "", "profile"},
        {"dotFileExtUpper", ".profile", {0, 0}, "", "PROFILE"},
        {"allOff", "README", {}, "README", ""},

        // Kana only.
        {"kanaToFullJoinsMarks", "ｶﾞｲﾄﾞ.txt", {-1, -1, 1, true, false}, "ガイド", "txt"},
        // ｰ is in the widened range; the marks and ｡ are not, and a mark
        // after a letter without a voiced form stays.
        {"kanaToFullLeavesMarksAndPunctuation", "ｶﾞｰｲﾞ｡", {-1, -1, 1, true, false}, "ガーイﾞ｡", ""},
        {"kanaToFullLeavesAlnum", "ab ｱ", {-1, -1, 1, true, false}, "ab ア", ""},
        {"kanaToHalfLeavesFullAlnum", "ガイド ＡＢ", {-1, -1, 0, true, false}, "ｶﾞｲﾄﾞ ＡＢ", ""},
        {"kanaToHalfLeavesLongMarkAndDot", "パー・ヴ", {-1, -1, 0, true, false}, "ﾊﾟー・ｳﾞ", ""},

        // Letters and digits only.
        {"alnumToFull", "file_01", {-1, -1, 1, false, true}, "ｆｉｌｅ＿０１", ""},
        {"alnumToFullLeavesHyphenAndBlank", "a-b c", {-1, -1, 1, false, true}, "ａ-ｂ ｃ", ""},
        {"alnumToHalfOnlyLettersAndDigits", "ＡＢ＿０９ｚ　ア", {-1, -1, 0, false, true}, "AB＿09z　ア", ""},

        // Both.
        {"bothToHalf", "ガイド　ＡＢ！", {-1, -1, 0}, "ｶﾞｲﾄﾞ AB!", ""},
        {"bothToFull", "ｶﾞｲﾄﾞ AB!", {-1, -1, 1}, "ガイド　ＡＢ！", ""},
        {"neitherKanaNorAlnum", "ｶﾞｲﾄﾞ ＡＢ", {-1, -1, 0, false, false}, "ｶﾞｲﾄﾞ ＡＢ", ""},
        // The extension is never widened.
        {"extensionNotWidened", "ＡＢ.ＴＸＴ", {-1, -1, 0}, "AB", "ＴＸＴ"},

        // Kana.
        {"toHiraganaBaseOnly", "カタカナ.TXT", {-1, -1, -1, true, true, 0}, "かたかな", "TXT"},
        {"toKatakana", "ひらがな", {-1, -1, -1, true, true, 1}, "ヒラガナ", ""},

        // The steps run 1, 2, 3, 4 whatever is switched on.
        {"upperThenWiden", "abc", {1, -1, 1, false, true}, "ＡＢＣ", ""},
        {"widenThenHiragana", "ｶﾞｲﾄﾞ", {-1, -1, 1, true, true, 0}, "がいど", ""},
        {"firstUpperThenHalf", "ａｂｃ", {0, -1, 0}, "Abc", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const engine::ConvertedName got = engine::fnameConvNewName(q(c.old), paramsFor(c.steps));
        EXPECT_EQ(got.base, q(c.base));
        EXPECT_EQ(got.ext, q(c.ext));
    }
}

class FNameConvRun : public test::OperationTest {
protected:
    bool run(const QStringList& list, const Steps& steps)
    {
        ctx.objList = list;
        return engine::FNameConv(ctx, paramsFor(steps));
    }
};

TEST_F(FNameConvRun, RenamesEveryFileAndKeepsItsBytes)
{
    const QStringList names = {q("abc.TXT"), q("MIXED.Doc"), q("README"), q(".profile")};
    for (const QString& n : names)
        dir.createFile(n, n.toUtf8());

    // A dot file must not stop the run: it keeps its name and the files
    // after it are still converted.
    EXPECT_FALSE(run(names, {0, 1}));

    EXPECT_EQ(entries(dir), (QStringList{q(".profile"), q("Abc.txt"), q("Mixed.doc"), q("Readme")}));
    EXPECT_EQ(dir.read(q("Abc.txt")), QByteArray("abc.TXT"));
    EXPECT_EQ(dir.read(q("Mixed.doc")), QByteArray("MIXED.Doc"));
    EXPECT_EQ(dir.read(q("Readme")), QByteArray("README"));
    EXPECT_EQ(dir.read(q(".profile")), QByteArray(".profile"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_EQ(host.workListCleared, 1);
}

TEST_F(FNameConvRun, CaseOnlyRenameOntoAnotherFileIsAClash)
{
    dir.createFile(q("a.TXT"), "lower");
    dir.createFile(q("A.TXT"), "upper");
    dialogs.answers = {MsgButton::Ok};

    EXPECT_FALSE(run({q("a.TXT"), q("A.TXT")}, {1}));

    EXPECT_EQ(entries(dir), (QStringList{q("A.TXT"), q("a.TXT")}));
    EXPECT_EQ(dir.read(q("a.TXT")), QByteArray("lower"));
    EXPECT_EQ(dir.read(q("A.TXT")), QByteArray("upper"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, dir.folder() + q("A.TXT\rと同じ名前のファイルが存在するため\r") + dir.folder()
                                         + q("a.TXT\rの名前を変更することが出来ませんでした。"));
    EXPECT_EQ(dialogs.shown[0].title, q("同名ファイルの存在"));
    EXPECT_EQ(dialogs.shown[0].style, 49);
    EXPECT_EQ(ctx.errCount, 1);
}

TEST_F(FNameConvRun, ClashWithCancelStopsAndNamesFileWithoutLoneDot)
{
    dir.createFile(q("abc"), "old");
    dir.createFile(q("ABC"), "other");
    dir.createFile(q("zzz"), "z");
    dialogs.answers = {MsgButton::Cancel};

    EXPECT_TRUE(run({q("abc"), q("zzz")}, {1}));

    EXPECT_EQ(entries(dir), (QStringList{q("ABC"), q("abc"), q("zzz")}));
    EXPECT_EQ(dir.read(q("ABC")), QByteArray("other"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(dir.folder() + q("ABC\r"))) << dialogs.shown[0].text.toStdString();
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_EQ(host.workListCleared, 0);
}

TEST_F(FNameConvRun, NameNarrowedToSlashStopsBeforeTheFileIsTouched)
{
    dir.createFile(q("AC／DC.txt"), "song");
    dir.createFile(q("ＡＢ.txt"), "ab");

    EXPECT_TRUE(run({q("AC／DC.txt"), q("ＡＢ.txt")}, {-1, -1, 0}));

    // Nothing moved into a folder "AC", and the run stopped there.
    EXPECT_EQ(entries(dir), (QStringList{q("AC／DC.txt"), q("ＡＢ.txt")}));
    EXPECT_EQ(dir.read(q("AC／DC.txt")), QByteArray("song"));
    EXPECT_EQ(ctx.errCount, 0);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, q("ｴﾗｰ番号  52 でｴﾗｰが発生しました。\rファイル名または番号が不正です。\r")
                                         + dir.folder() + q("AC/DC.txt"));
    EXPECT_EQ(dialogs.shown[0].title, q("ｴﾗｰ"));
    EXPECT_EQ(dialogs.shown[0].style, 16);
    EXPECT_EQ(host.workListCleared, 0);
}

TEST_F(FNameConvRun, UnchangedNameWithControlCharacterIsLeftAlone)
{
    dir.createFile(q("TAB\tNAME"), "t");
    dir.createFile(q("tab\tname"), "u");

    EXPECT_TRUE(run({q("TAB\tNAME"), q("tab\tname")}, {1}));

    // The first is already upper case and needs nothing; the second would
    // take a name with a control character, which is refused.
    EXPECT_EQ(entries(dir), (QStringList{q("TAB\tNAME"), q("tab\tname")}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].style, 16);
    EXPECT_TRUE(dialogs.shown[0].text.endsWith(dir.folder() + q("TAB␉NAME."))) << dialogs.shown[0].text.toStdString();
}

TEST_F(FNameConvRun, OutputFolderGetsCopiesUnderNewNames)
{
    test::TempDir out;
    ctx.outFolder = out.folder();
    ctx.outputButtonPressed = true;
    dir.createFile(q("ｶﾞｲﾄﾞ.txt"), "guide");
    dir.createFile(q("note"), "n");

    EXPECT_FALSE(run({q("ｶﾞｲﾄﾞ.txt"), q("note")}, {-1, -1, 1, true, false}));

    EXPECT_EQ(entries(dir), (QStringList{q("note"), q("ｶﾞｲﾄﾞ.txt")}));
    EXPECT_EQ(entries(out), (QStringList{q("note"), q("ガイド.txt")}));
    EXPECT_EQ(out.read(q("ガイド.txt")), QByteArray("guide"));
}

} // namespace
