#include "engine/fnameedit.h"

#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

using namespace tavil;
using engine::FNameEditParams;
using Mode = FNameEditParams::Mode;
using From = FNameEditParams::From;
using Dir = FNameEditParams::Direction;
using platform::Err;

namespace {

struct EditCase {
    const char* name;
    Mode mode;
    const char* position;
    From from;
    bool usePosition;
    const char* text;
    const char* replacement;
    const char* count;
    Dir direction;
    const char* old;
    const char* expect; // nullptr: left alone
};

FNameEditParams paramsOf(const EditCase& c)
{
    FNameEditParams p;
    p.EditMode = c.mode;
    p.EditPosition = QString::fromUtf8(c.position);
    p.PositionFrom = c.from;
    p.UsePosition = c.usePosition;
    p.EditText = QString::fromUtf8(c.text);
    p.ReplaceText = QString::fromUtf8(c.replacement);
    p.DeleteCount = QString::fromUtf8(c.count);
    p.DeleteDirection = c.direction;
    return p;
}

// Base name abcdef (6 characters), extension txt.
TEST(FNameEditRule, NewNames)
{
    const EditCase cases[] = {
        {"add3Front", Mode::Add, "3", From::Front, false, "X", "", "1", Dir::Right, "abcdef.txt", "abXcdef.txt"},
        {"add1Back", Mode::Add, "1", From::Back, false, "X", "", "1", Dir::Right, "abcdef.txt", "abcdefX.txt"},
        {"add3Back", Mode::Add, "3", From::Back, false, "X", "", "1", Dir::Right, "abcdef.txt", "abcdXef.txt"},
        {"add1Front", Mode::Add, "1", From::Front, false, "X", "", "1", Dir::Right, "abcdef.txt", "Xabcdef.txt"},
        {"add10FrontAppends", Mode::Add, "10", From::Front, false, "X", "", "1", Dir::Right, "abcdef.txt",
         "abcdefX.txt"},
        {"add10BackPrepends", Mode::Add, "10", From::Back, false, "X", "", "1", Dir::Right, "abcdef.txt",
         "Xabcdef.txt"},
        {"addDotKeepsExtension", Mode::Add, "1", From::Back, false, ".bak", "", "1", Dir::Right, "abcdef.txt",
         "abcdef.bak.txt"},
        {"addNoExtensionLoneDot", Mode::Add, "1", From::Back, false, "X", "", "1", Dir::Right, "abc", "abcX."},
        {"addEmptyTextUnchanged", Mode::Add, "2", From::Front, false, "", "", "1", Dir::Right, "abcdef.txt",
         "abcdef.txt"},
        {"replaceEverywhere", Mode::Replace, "1", From::Front, false, "cd", "Z", "1", Dir::Right, "abcdef.txt",
         "abZef.txt"},
        {"replaceEveryOccurrence", Mode::Replace, "1", From::Front, false, "a", "xa", "1", Dir::Right, "aba.a",
         "xabxa.a"},
        {"replaceNoMatch", Mode::Replace, "1", From::Front, false, "xy", "Z", "1", Dir::Right, "abcdef.txt",
         "abcdef.txt"},
        {"replaceNeverInExtension", Mode::Replace, "1", From::Front, false, "t", "Z", "1", Dir::Right, "abcdef.txt",
         "abcdef.txt"},
        {"replaceIsCaseSensitive", Mode::Replace, "1", From::Front, false, "CD", "Z", "1", Dir::Right, "abcdef.txt",
         "abcdef.txt"},
        {"replaceAt3FrontHit", Mode::Replace, "3", From::Front, true, "cd", "Z", "1", Dir::Right, "abcdef.txt",
         "abZef.txt"},
        {"replaceAt3FrontMiss", Mode::Replace, "3", From::Front, true, "ce", "Z", "1", Dir::Right, "abcdef.txt",
         "abcdef.txt"},
        {"replaceAt2FrontOnlyThere", Mode::Replace, "2", From::Front, true, "b", "Z", "1", Dir::Right, "abab.txt",
         "aZab.txt"},
        {"replaceAt3BackHit", Mode::Replace, "3", From::Back, true, "de", "Z", "1", Dir::Right, "abcdef.txt",
         "abcZf.txt"},
        {"replaceAt1BackHit", Mode::Replace, "1", From::Back, true, "f", "XY", "1", Dir::Right, "abcdef.txt",
         "abcdeXY.txt"},
        {"replaceAt6BackHit", Mode::Replace, "6", From::Back, true, "ab", "Z", "1", Dir::Right, "abcdef.txt",
         "Zcdef.txt"},
        // Beyond the name from the back there is nothing to compare; the name
        // must not grow by a copy of its beginning.
        {"replaceAt10BackUnchanged", Mode::Replace, "10", From::Back, true, "xy", "Z", "1", Dir::Right,
         "abcdef.txt", "abcdef.txt"},
        {"replaceAt10FrontUnchanged", Mode::Replace, "10", From::Front, true, "ab", "Z", "1", Dir::Right,
         "abcdef.txt", "abcdef.txt"},
        {"delete2At3FrontRight", Mode::Delete, "3", From::Front, false, "", "", "2", Dir::Right, "abcdef.txt",
         "abef.txt"},
        {"delete2At4FrontLeft", Mode::Delete, "4", From::Front, false, "", "", "2", Dir::Left, "abcdef.txt",
         "abef.txt"},
        {"delete2At3BackRight", Mode::Delete, "3", From::Back, false, "", "", "2", Dir::Right, "abcdef.txt",
         "abcf.txt"},
        {"delete2At1BackLeft", Mode::Delete, "1", From::Back, false, "", "", "2", Dir::Left, "abcdef.txt",
         "abcd.txt"},
        {"delete3At8FrontLeftPastEnd", Mode::Delete, "8", From::Front, false, "", "", "3", Dir::Left, "abcdef.txt",
         "abcde.txt"},
        {"delete3At8BackRightPastStart", Mode::Delete, "8", From::Back, false, "", "", "3", Dir::Right,
         "abcdef.txt", "bcdef.txt"},
        {"deleteZeroUnchanged", Mode::Delete, "3", From::Front, false, "", "", "00", Dir::Right, "abcdef.txt",
         "abcdef.txt"},
        {"deleteAllKeepsName", Mode::Delete, "1", From::Front, false, "", "", "10", Dir::Right, "abcdef.txt",
         nullptr},
        {"deleteDotFileBase", Mode::Delete, "1", From::Front, false, "", "", "1", Dir::Right, ".profile", nullptr},
        // Positions count UTF-16 units, from 1.
        {"addJapanese", Mode::Add, "2", From::Front, false, "の", "", "1", Dir::Right, "写真.jpg", "写の真.jpg"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        engine::EditRule rule;
        ASSERT_EQ(engine::readEditRule(paramsOf(c), &rule), Err::None);
        const std::optional<QString> got = engine::fnameEditNewName(rule, QString::fromUtf8(c.old));
        if (c.expect == nullptr) {
            EXPECT_FALSE(got.has_value()) << got.value_or(QString()).toStdString();
        } else {
            EXPECT_EQ(got.value_or(QStringLiteral("(left alone)")), QString::fromUtf8(c.expect));
        }
    }
}

// A position of 0 is usable only by the rules that never take it as a count
// of characters; a negative count to delete is never usable.
TEST(FNameEditRule, UnusablePositionsAndCounts)
{
    struct Case {
        const char* name;
        Mode mode;
        const char* position;
        From from;
        bool usePosition;
        const char* count;
        Dir direction;
        Err err;
        const char* expect; // edited base of abcdef when usable
    };
    const Case cases[] = {
        {"addFront", Mode::Add, "0", From::Front, false, "1", Dir::Right, Err::IllegalCall, ""},
        {"addBack", Mode::Add, "0", From::Back, false, "1", Dir::Right, Err::IllegalCall, ""},
        {"replaceFront", Mode::Replace, "0", From::Front, true, "1", Dir::Right, Err::IllegalCall, ""},
        {"replaceBack", Mode::Replace, "0", From::Back, true, "1", Dir::Right, Err::None, "abcdef"},
        {"replaceBackMinus1", Mode::Replace, "-1", From::Back, true, "1", Dir::Right, Err::IllegalCall, ""},
        {"replaceEverywhere", Mode::Replace, "0", From::Front, false, "1", Dir::Right, Err::None, "abZef"},
        {"deleteFrontRight", Mode::Delete, "0", From::Front, false, "1", Dir::Right, Err::IllegalCall, ""},
        {"deleteFrontLeft", Mode::Delete, "0", From::Front, false, "1", Dir::Left, Err::None, "abcdef"},
        {"deleteBackRight", Mode::Delete, "0", From::Back, false, "1", Dir::Right, Err::None, "abcdef"},
        {"deleteBackLeft", Mode::Delete, "0", From::Back, false, "1", Dir::Left, Err::IllegalCall, ""},
        {"deleteNegativeCount", Mode::Delete, "3", From::Front, false, "-3", Dir::Right, Err::IllegalCall, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FNameEditParams p;
        p.EditMode = c.mode;
        p.EditPosition = QString::fromUtf8(c.position);
        p.PositionFrom = c.from;
        p.UsePosition = c.usePosition;
        p.EditText = "cd";
        p.ReplaceText = "Z";
        p.DeleteCount = QString::fromUtf8(c.count);
        p.DeleteDirection = c.direction;
        engine::EditRule rule;
        ASSERT_EQ(engine::readEditRule(p, &rule), Err::None);
        QString edited;
        EXPECT_EQ(engine::editBaseName(rule, QStringLiteral("abcdef"), &edited), c.err);
        if (c.err == Err::None) {
            EXPECT_EQ(edited, QString::fromUtf8(c.expect));
        }
    }
}

// Only the fields of the mode are read: an unused box never stops a run.
TEST(FNameEditRule, FieldsReadPerMode)
{
    struct Case {
        const char* name;
        Mode mode;
        bool usePosition;
        const char* position;
        const char* count;
        Err err;
    };
    const Case cases[] = {
        {"addBadPosition", Mode::Add, false, "x", "x", Err::TypeMismatch},
        {"addIgnoresCount", Mode::Add, false, "1", "x", Err::None},
        {"replaceIgnoresPosition", Mode::Replace, false, "x", "x", Err::None},
        {"replaceAtPositionReadsIt", Mode::Replace, true, "", "x", Err::TypeMismatch},
        {"deleteBadCount", Mode::Delete, false, "1", "x", Err::TypeMismatch},
        {"deleteCountOutOfRange", Mode::Delete, false, "1", "40000", Err::Overflow},
        {"positionOutOfRange", Mode::Add, false, "32768", "1", Err::Overflow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FNameEditParams p;
        p.EditMode = c.mode;
        p.UsePosition = c.usePosition;
        p.EditPosition = QString::fromUtf8(c.position);
        p.DeleteCount = QString::fromUtf8(c.count);
        engine::EditRule rule;
        EXPECT_EQ(engine::readEditRule(p, &rule), c.err);
    }
}

class FNameEditRun : public test::OperationTest {
protected:
    bool run(const QStringList& list)
    {
        ctx.objList = list;
        return engine::FNameEdit(ctx, params);
    }

    FNameEditParams params;
};

TEST_F(FNameEditRun, AddAtTheEndOfEveryName)
{
    make({"abc", "d.txt", "e.f.g"});
    params.EditText = "X";
    params.PositionFrom = From::Back;
    EXPECT_FALSE(run({"abc", "d.txt", "e.f.g"}));
    EXPECT_EQ(dir.list(), (QStringList{"abcX", "dX.txt", "e.fX.g"})); // no trailing dot on disk
    EXPECT_EQ(dir.read("abcX"), "abc");
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(host.workListCleared, 1);
}

TEST_F(FNameEditRun, EmptySearchTextReturnsAtOnce)
{
    make({"abc.txt"});
    params.EditMode = Mode::Replace;
    params.ReplaceText = "Z";
    EXPECT_TRUE(run({"abc.txt"}));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(host.pumps, 0);
    EXPECT_EQ(host.workListCleared, 0);
    EXPECT_EQ(dir.list(), QStringList{"abc.txt"});
}

TEST_F(FNameEditRun, DeletingTheWholeBaseLeavesTheFileAlone)
{
    make({"abc.txt", "de"});
    params.EditMode = Mode::Delete;
    params.DeleteCount = "10";
    EXPECT_FALSE(run({"abc.txt", "de"}));
    EXPECT_EQ(dir.list(), (QStringList{"abc.txt", "de"}));
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(FNameEditRun, UnusablePositionStopsBeforeTheFirstFile)
{
    make({"abc.txt", "def.txt"});
    params.EditPosition = "00";
    params.EditText = "X";
    EXPECT_TRUE(run({"abc.txt", "def.txt"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("ｴﾗｰ番号  5 でｴﾗｰが発生しました。\rプロシージャの呼び出し、または引数が不正です。"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ｴﾗｰ"));
    EXPECT_EQ(dialogs.shown[0].style, 16);
    EXPECT_EQ(dir.list(), (QStringList{"abc.txt", "def.txt"}));
}

// ab.txt → b.txt is taken: the question names the new name, Cancel stops,
// and both files keep their bytes.
TEST_F(FNameEditRun, ClashIsAskedAndNeverReplaces)
{
    make({"ab.txt", "b.txt", "ac.txt"});
    params.EditMode = Mode::Delete;
    dialogs.answers = {platform::MsgButton::Ok};
    EXPECT_FALSE(run({"ab.txt", "ac.txt"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, dir.folder() + "b.txt\rと同じ名前のファイルが存在するため\r" + dir.folder()
                                         + "ab.txt\rの名前を変更することが出来ませんでした。");
    EXPECT_EQ(dialogs.shown[0].style, 49);
    EXPECT_EQ(dir.list(), (QStringList{"ab.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(dir.read("b.txt"), "b.txt");
    EXPECT_EQ(dir.read("ab.txt"), "ab.txt");
    EXPECT_EQ(ctx.errCount, 1);
}

TEST_F(FNameEditRun, ReplacementWithSlashStopsBeforeTheFileIsMoved)
{
    dir.createDir("sub");
    make({"a-b.txt"});
    params.EditMode = Mode::Replace;
    params.EditText = "-";
    params.ReplaceText = "/../sub/";
    EXPECT_TRUE(run({"a-b.txt"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("ｴﾗｰ番号  52 ")));
    EXPECT_EQ(dir.list(), (QStringList{"a-b.txt", "sub"}));
    EXPECT_TRUE(dir.list("sub").isEmpty());
}

// Positions count characters as the user sees them: an emoji is one, and
// an edit never leaves half of one. A search or a typed text that holds half
// a pair would cut the name's emoji in two or add half a character; that
// name has no bytes on disk and is refused with 52, naming it, before the
// file is touched.
TEST_F(FNameEditRun, EditsNeverSplitACharacter)
{
    const QString high(QChar(0xD83D)); // the first half of 😀 (U+1F600)
    const QString low(QChar(0xDE00));  // its second half
    struct Case {
        const char* name;
        Mode mode;
        const char* position;
        From from;
        bool usePosition;
        QString text;
        QString replacement;
        const char* old;
        QString expect;  // the name on disk afterwards
        QString refused; // the new name the 52 message shows; "" = no message
    };
    const Case cases[] = {
        {"deleteTheEmoji", Mode::Delete, "1", From::Front, false, "", "", "😀abc.txt", "abc.txt", ""},
        {"deleteTheEmojiFromTheBack", Mode::Delete, "4", From::Back, false, "", "", "😀abc.txt", "abc.txt", ""},
        {"addAfterTheEmoji", Mode::Add, "2", From::Front, false, "X", "", "😀abc.txt", "😀Xabc.txt", ""},
        {"addBeforeTheEmojiFromTheBack", Mode::Add, "4", From::Back, false, "X", "", "a😀bc.txt", "aX😀bc.txt",
         ""},
        {"replaceAtPositionAfterTheEmoji", Mode::Replace, "2", From::Front, true, "a", "A", "😀abc.txt",
         "😀Abc.txt", ""},
        {"searchForHalfAPair", Mode::Replace, "1", From::Front, false, high, "x", "😀abc.txt", "😀abc.txt",
         "x\\uDE00abc.txt"},
        {"replaceWithHalfAPair", Mode::Replace, "1", From::Front, false, "abc", high, "😀abc.txt", "😀abc.txt",
         "😀\\uD83D.txt"},
        {"addHalfAPair", Mode::Add, "1", From::Front, false, low, "", "abc.txt", "abc.txt", "\\uDE00abc.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir folder;
        auto run = context({QString::fromUtf8(c.old)});
        run->SourceFolder = folder.path();
        folder.createFile(QString::fromUtf8(c.old), "data");
        dialogs.shown.clear();
        FNameEditParams p;
        p.EditMode = c.mode;
        p.EditPosition = QString::fromUtf8(c.position);
        p.PositionFrom = c.from;
        p.UsePosition = c.usePosition;
        p.EditText = c.text;
        p.ReplaceText = c.replacement;

        EXPECT_EQ(engine::FNameEdit(*run, p), !c.refused.isEmpty());

        EXPECT_EQ(folder.list(), QStringList{c.expect});
        EXPECT_EQ(folder.read(c.expect), "data");
        if (c.refused.isEmpty()) {
            EXPECT_TRUE(dialogs.shown.isEmpty());
            continue;
        }
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, QStringLiteral(u"ｴﾗｰ番号  52 でｴﾗｰが発生しました。\rファイル名または番号が不正です。\r")
                                             + folder.folder() + c.refused);
        EXPECT_EQ(dialogs.shown[0].style, 16);
    }
}

} // namespace
