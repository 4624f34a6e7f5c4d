#include "support/module1.h"

#include <gtest/gtest.h>

#include <QString>

using namespace Qt::Literals::StringLiterals;
using namespace tavil::support;

namespace {

TEST(Module1Split, LastDotDecides)
{
    struct Case {
        QString name;
        int dotPos;
        QString base;
        QString ext;
    };
    const Case cases[] = {
        {u"readme"_s, 0, u"readme"_s, u""_s},
        {u"archive.tar.gz"_s, 12, u"archive.tar"_s, u"gz"_s},
        {u".profile"_s, 1, u""_s, u"profile"_s},
        {u"name."_s, 5, u"name"_s, u""_s},
        {u"/my.dir/file"_s, 4, u"/my"_s, u"dir/file"_s},
        {u"写真 2003.jpg"_s, 8, u"写真 2003"_s, u"jpg"_s},
        {u""_s, 0, u""_s, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(Module1::GetDotPos(c.name), c.dotPos);
        EXPECT_EQ(Module1::GetBaseName(c.name), c.base);
        EXPECT_EQ(Module1::GetExtName(c.name), c.ext);
    }
}

TEST(Module1Replace, LeftToRightWithoutRescanning)
{
    struct Case {
        QString text, search, replacement, expected;
    };
    const Case cases[] = {
        {u"aaaa"_s, u"aa"_s, u"a"_s, u"aa"_s},
        {u"ab"_s, u"a"_s, u"aa"_s, u"aab"_s},
        {u"ABC"_s, u"b"_s, u"x"_s, u"ABC"_s},
        {u""_s, u"a"_s, u"b"_s, u""_s},
        {u"abc"_s, u""_s, u"x"_s, u"abc"_s}, // must not loop
        {u"写真_写真"_s, u"写真"_s, u"photo"_s, u"photo_photo"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.text + u" / "_s + c.search).toStdString());
        QString text = c.text;
        Module1::ReplaceStr(text, c.search, c.replacement);
        EXPECT_EQ(text, c.expected);
    }
}

// Widths are code page 932 bytes: full-width characters count 2.
TEST(Module1ShortenPath, ReplacesFoldersFromTheLeftUntilItFits)
{
    struct Case {
        const char* name;
        QString path;
        int width;
        QString expected;
    };
    const Case cases[] = {
        // 74 bytes; the first folder gone leaves 55.
        {"OneFolderIsEnough", u"/Documents and Settings/user/My Documents/Photos/2003/Kyoto trip/day one 1"_s, 56,
         u"/.../user/My Documents/Photos/2003/Kyoto trip/day one 1"_s},
        // 61 bytes; 60 after the first folder, 53 after the second.
        {"FullWidthFolders", u"/写真/２００３年/京都旅行/一日目/スナップ/整理済み/フォルダ１"_s, 56,
         u"/.../.../京都旅行/一日目/スナップ/整理済み/フォルダ１"_s},
        {"FitsAlready", u"/home/user/写真"_s, 56, u"/home/user/写真"_s},
        // 13 bytes: fits at 13; at 12 one folder goes and 12 bytes remain.
        {"ExactWidth", u"/abcd/efgh/ij"_s, 13, u"/abcd/efgh/ij"_s},
        {"OneByteOver", u"/abcd/efgh/ij"_s, 12, u"/.../efgh/ij"_s},
        // Never fits: every folder replaced, the last part kept. The folder
        // ".." is replaced where it stands, not inside the "..." before it.
        {"Unfittable", u"/abcdef/../ghijkl/name"_s, 10, u"/.../.../.../name"_s},
        // "//" holds no folder; the leading "//" stays.
        {"EmptyFolder", u"//server/share/folder/file"_s, 10, u"//.../.../.../file"_s},
        {"NoSeparator", u"abcdefghij"_s, 3, u"abcdefghij"_s},
        {"ThreeCharacters", u"ＡＢＣ"_s, 2, u"ＡＢＣ"_s},
        {"Root", u"/"_s, 0, u"/"_s},
        {"Empty", u""_s, 56, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Module1::ShortenPath(c.path, c.width), c.expected);
    }
}

TEST(Module1Kana, JoinsMarksIntoVoicedLetters)
{
    struct Case {
        const char* name;
        QString text, expected;
    };
    const Case cases[] = {
        {"Voiced", u"カﾞ"_s, u"ガ"_s},
        {"TwoVoiced", u"カﾞキﾞ"_s, u"ガギ"_s},
        {"SemiVoiced", u"ハﾟ"_s, u"パ"_s},
        {"Vu", u"ウﾞ"_s, u"ヴ"_s},
        {"SecondMarkStays", u"カﾞﾞ"_s, u"ガﾞ"_s},
        {"LeadingMarkStays", u"ﾞカ"_s, u"ﾞカ"_s},
        {"HiraganaKeepsMark", u"かﾞ"_s, u"かﾞ"_s},
        {"NoSemiVoicedForm", u"カﾟ"_s, u"カﾟ"_s},
        {"HalfWidthLetterKeepsMark", u"ﾊﾟ"_s, u"ﾊﾟ"_s},
        // The second pass sees バ, which has no semi-voiced form.
        {"VoicedThenSemiMark", u"ハﾞﾟ"_s, u"バﾟ"_s},
        // The first pass leaves the voiced mark after "ﾟ"; the second joins ハﾟ.
        {"SemiThenVoicedMark", u"ハﾟﾞ"_s, u"パﾞ"_s},
        {"InText", u"ﾌｧｲﾙ: テﾞータ.txt"_s, u"ﾌｧｲﾙ: データ.txt"_s},
        {"WholeVoicedTable", u"ウﾞカﾞキﾞクﾞケﾞコﾞサﾞシﾞスﾞセﾞソﾞタﾞチﾞツﾞテﾞトﾞハﾞヒﾞフﾞヘﾞホﾞ"_s,
         u"ヴガギグゲゴザジズゼゾダヂヅデドバビブベボ"_s},
        {"WholeSemiVoicedTable", u"ハﾟヒﾟフﾟヘﾟホﾟ"_s, u"パピプペポ"_s},
        {"NoMarks", u"写真.jpg"_s, u"写真.jpg"_s},
        {"Empty", u""_s, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Module1::JoinKanaMarks(c.text), c.expected);
    }
}

TEST(Module1Kana, LookupsReturnTheLetterWithoutAForm)
{
    EXPECT_EQ(Module1::ToDakuon(u"ホ"_s), u"ボ"_s);
    EXPECT_EQ(Module1::ToHandakuon(u"ヘ"_s), u"ペ"_s);
    EXPECT_EQ(Module1::ToDakuon(u"パ"_s), u"パ"_s);
    EXPECT_EQ(Module1::ToHandakuon(u"カ"_s), u"カ"_s);
    EXPECT_EQ(Module1::ToDakuon(u""_s), u""_s);
}

} // namespace
