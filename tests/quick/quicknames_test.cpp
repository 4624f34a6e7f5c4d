#include "quick/folderlisting.h"
#include "quick/quicknames.h"
#include "tests/common/qtprint.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using tavil::quick::MenuAction;
using tavil::quick::QuickMode;
namespace q = tavil::quick;

TEST(QuickExtension, NewPathCutsTheNameAtItsFirstDot)
{
    struct Case {
        const char* name;
        QString path, answer, expected;
    };
    const Case cases[] = {
        {"plain", u"/d/photo.bmp"_s, u"jpg"_s, u"/d/photo.jpg"_s},
        {"dotGiven", u"/d/photo.bmp"_s, u".jpg"_s, u"/d/photo.jpg"_s},
        {"twoDots", u"/d/photo.bmp"_s, u"..jpg"_s, u"/d/photo..jpg"_s},
        {"emptyRemoves", u"/d/a.txt"_s, u""_s, u"/d/a"_s},
        {"firstDotOfName", u"/d/archive.tar.gz"_s, u"zip"_s, u"/d/archive.zip"_s},
        {"noExtension", u"/d/README"_s, u"txt"_s, u"/d/README.txt"_s},
        {"dottedFolderStays", u"/d.x/f"_s, u"txt"_s, u"/d.x/f.txt"_s},
        {"dottedFolderAndName", u"/d.x/f.c"_s, u"h"_s, u"/d.x/f.h"_s},
        {"dotFileLosesAll", u"/d/.profile"_s, u""_s, u"/d/"_s},
        {"japanese", u"/写真/旅行.JPG"_s, u"png"_s, u"/写真/旅行.png"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(q::pathWithExtension(c.path, q::dottedExtension(c.answer)), c.expected);
    }
}

TEST(QuickReplace, FilesModeSearchesTheNameBeforeItsFirstDot)
{
    struct Case {
        const char* name;
        QString oldName, search, replacement;
        bool filesMode;
        QString expected;
    };
    const Case cases[] = {
        {"extensionKept", u"txt.txt"_s, u"txt"_s, u"doc"_s, true, u"doc.txt"_s},
        {"dotInSearchMatchesNothing", u"a.b.c"_s, u"a.b"_s, u"x"_s, true, u"a.b.c"_s},
        {"dotFileUnchanged", u".profile"_s, u"profile"_s, u"x"_s, true, u".profile"_s},
        {"noDotReplacedWhole", u"README"_s, u"READ"_s, u"WRITE"_s, true, u"WRITEME"_s},
        {"everyOccurrence", u"aXbXc.X"_s, u"X"_s, u"__"_s, true, u"a__b__c.X"_s},
        {"emptyReplacementRemoves", u"old-photo.jpg"_s, u"old-"_s, u""_s, true, u"photo.jpg"_s},
        {"insertedTextNotSearchedAgain", u"aa.txt"_s, u"a"_s, u"aa"_s, true, u"aaaa.txt"_s},
        {"foldersSearchWholeName", u"v1.0.2"_s, u".0"_s, u"-0"_s, false, u"v1-0.2"_s},
        {"foldersDotsIncluded", u"x.txt"_s, u"txt"_s, u"doc"_s, false, u"x.doc"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(q::replacedName(c.oldName, c.search, c.replacement, c.filesMode), c.expected);
    }
}

TEST(QuickNames, RefusedCharactersAreTheTenAndTheQuote)
{
    for (const QString& text : {u"a\\b"_s, u"a/b"_s, u"a:b"_s, u"a,b"_s, u"a;b"_s, u"a*b"_s, u"a?b"_s,
                                u"a<b"_s, u"a>b"_s, u"a|b"_s, u"a\"b"_s}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(q::hasRefusedCharacter(text));
    }
    for (const QString& text : {u""_s, u"jpg"_s, u".tar.gz"_s, u"a b"_s, u"写真＊"_s, u"[1]"_s}) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(q::hasRefusedCharacter(text));
    }
}

TEST(QuickNames, FolderOfAPathKeepsItsSeparator)
{
    EXPECT_EQ(q::folderOf(u"/home/u/a.txt"_s), u"/home/u/"_s);
    EXPECT_EQ(q::folderOf(u"/home/u/dir"_s), u"/home/u/"_s); // a dropped folder gives its parent
    EXPECT_EQ(q::folderOf(u"/a.txt"_s), u"/"_s);
    EXPECT_EQ(q::folderOf(u"plain"_s), u"plain"_s);
    EXPECT_EQ(q::nameOf(u"/home/u/a.txt"_s), u"a.txt"_s);
}

TEST(QuickMenu, AnswersTable)
{
    struct Case {
        QuickMode mode;
        QString answer;
        MenuAction expected;
    };
    const Case cases[] = {
        {QuickMode::Files, u"1"_s, MenuAction::ChangeExtension},
        {QuickMode::Files, u"１"_s, MenuAction::ChangeExtension},
        {QuickMode::Files, u"2"_s, MenuAction::Replace},
        {QuickMode::Files, u"２"_s, MenuAction::Replace},
        {QuickMode::Files, u"3"_s, MenuAction::OpenMain},
        {QuickMode::Files, u"３"_s, MenuAction::OpenMain},
        {QuickMode::Files, u"4"_s, MenuAction::None},
        {QuickMode::Files, u"01"_s, MenuAction::None},
        {QuickMode::Files, u" 1"_s, MenuAction::None},
        {QuickMode::Files, u"1 "_s, MenuAction::None},
        {QuickMode::Files, u""_s, MenuAction::None},
        {QuickMode::Files, u"0"_s, MenuAction::None},
        {QuickMode::Folders, u"1"_s, MenuAction::Replace},
        {QuickMode::Folders, u"１"_s, MenuAction::Replace},
        {QuickMode::Folders, u"2"_s, MenuAction::OpenMain},
        {QuickMode::Folders, u"3"_s, MenuAction::None},
        {QuickMode::Folders, u"３"_s, MenuAction::None},
        {QuickMode::Delete, u"1"_s, MenuAction::Delete},
        {QuickMode::Delete, u"2"_s, MenuAction::OpenMain},
        {QuickMode::Delete, u"２"_s, MenuAction::OpenMain},
        {QuickMode::Delete, u"3"_s, MenuAction::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        SCOPED_TRACE(c.answer.toStdString());
        EXPECT_EQ(q::menuAction(c.mode, c.answer), c.expected);
    }
}

TEST(QuickMenu, PromptOfEachMode)
{
    EXPECT_EQ(q::menuPrompt(QuickMode::Files),
              u"番号を入力して下さい\r\n\r\n    1： 拡張子を変更する\r\n    2： ファイル名を置換する\r\n"
              u"    3： Quick Formを閉じてTavilを起動する"_s);
    EXPECT_EQ(q::menuPrompt(QuickMode::Folders),
              u"番号を入力して下さい\r\n\r\n    1：フォルダ名を置換する\r\n    2： Quick Formを閉じてTavilを起動する"_s);
    EXPECT_EQ(q::menuPrompt(QuickMode::Delete),
              u"番号を入力して下さい\r\n\r\n    1：条件にあったファイルを削除する\r\n"
              u"    2： Quick Formを閉じてTavilを起動する"_s);
}

TEST(QuickStart, CommandLineOpensTheQuickWindow)
{
    struct Case {
        QStringList arguments;
        bool quick;
    };
    const Case cases[] = {
        {{u"tavil"_s}, false},
        {{u"tavil"_s, u"-p"_s}, false},
        {{u"tavil"_s, u"-q"_s}, true},
        {{u"tavil"_s, u"-P"_s}, true},       // compared exactly
        {{u"tavil"_s, u"/tmp/a.txt"_s}, true}, // any other text
        {{u"tavil"_s, u"-p"_s, u"-q"_s}, true},
        {{u"tavil"_s, u""_s}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(q::startsInQuickWindow(c.arguments), c.quick);
    }
}

TEST(QuickListing, PatternsAsUsersKnowThem)
{
    struct Case {
        QString name, patterns;
        bool matches;
    };
    const Case cases[] = {
        {u"a.txt"_s, u"*.txt"_s, true},
        {u"A.TXT"_s, u"*.txt"_s, true},          // letter case ignored
        {u"a.txt.bak"_s, u"*.txt"_s, false},
        {u"a.html"_s, u"*.htm"_s, false},        // no short-name matches
        {u"README"_s, u"*.*"_s, true},           // every name
        {u"x"_s, u"x.*"_s, true},
        {u"x.c"_s, u"x.*"_s, true},
        {u"xy"_s, u"x.*"_s, false},
        {u"a1.txt"_s, u"a?.txt"_s, true},
        {u"a.txt"_s, u"a?.txt"_s, false},
        {u"b.doc"_s, u"*.txt;*.doc"_s, true},
        {u"b.doc"_s, u"*.txt; *.doc"_s, true},
        {u"b.doc"_s, u"*.txt;"_s, false},
        {u"b.doc"_s, u""_s, false},              // an empty pattern takes nothing
        {u"写真.JPG"_s, u"写*.jpg"_s, true},
        {u"*.txt"_s, u"*.txt"_s, true},
        {u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab"_s, u"*a*a*a*a*a*a*c"_s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.name + u" ~ "_s + c.patterns).toStdString());
        EXPECT_EQ(q::matchesPattern(c.name, c.patterns), c.matches);
    }
}
