#include "support/jamap.h"

#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <string_view>

using tavil::support::JaMapping;
using tavil::support::jaMapString;

namespace {

struct MapCase {
    const char* name;
    JaMapping mapping;
    std::u16string_view in;
    std::u16string_view out;
};

// Whole blocks are written out, so a slip in one table position shows.
const MapCase kCases[] = {
    // Case: one letter for one letter, full-width Latin too, kana untouched.
    {"upperAscii", JaMapping::UpperCase, u"abc xyz_01", u"ABC XYZ_01"},
    {"upperKeepsSharpS", JaMapping::UpperCase, u"straße", u"STRAßE"},
    {"upperFullWidthLatin", JaMapping::UpperCase, u"ａｂｃｚ", u"ＡＢＣＺ"},
    {"upperAccentedAndGreek", JaMapping::UpperCase, u"éàαω", u"ÉÀΑΩ"},
    {"upperLeavesKana", JaMapping::UpperCase, u"かなカナｶﾅ", u"かなカナｶﾅ"},
    {"lowerAscii", JaMapping::LowerCase, u"ABC Def", u"abc def"},
    {"lowerFullWidthLatin", JaMapping::LowerCase, u"ＡＢＣＺ", u"ａｂｃｚ"},
    {"lowerCyrillic", JaMapping::LowerCase, u"АЯ", u"ая"},
    // Single mappings that Qt's own per-character mapping leaves out.
    {"lowerDottedCapitalI", JaMapping::LowerCase, u"İSTANBUL", u"istanbul"},
    {"upperYpogegrammeni", JaMapping::UpperCase, u"ᾳῃῳᾀᾷ", u"ᾼῌῼᾈᾷ"},
    {"lowerProsgegrammeni", JaMapping::LowerCase, u"ᾼῌῼᾈ", u"ᾳῃῳᾀ"},
    {"upperKeepsDotlessAndFinalSigma", JaMapping::UpperCase, u"ıς", u"IΣ"},

    // Half width.
    {"halfAsciiBlock", JaMapping::HalfWidth,
     u"！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～",
     u"!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"},
    {"halfIdeographicSpace", JaMapping::HalfWidth, u"a　b", u"a b"},
    {"halfKatakanaBlock", JaMapping::HalfWidth,
     u"ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶ",
     u"ｧｱｨｲｩｳｪｴｫｵｶｶﾞｷｷﾞｸｸﾞｹｹﾞｺｺﾞｻｻﾞｼｼﾞｽｽﾞｾｾﾞｿｿﾞﾀﾀﾞﾁﾁﾞｯﾂﾂﾞﾃﾃﾞﾄﾄﾞﾅﾆﾇﾈﾉﾊﾊﾞﾊﾟﾋﾋﾞﾋﾟﾌﾌﾞﾌﾟﾍﾍﾞﾍﾟﾎﾎﾞﾎﾟﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛヮﾜヰヱｦﾝｳﾞヵヶ"},
    {"halfPunctuationAndMarks", JaMapping::HalfWidth, u"。「」、・ー゛゜", u"｡｢｣､･ｰﾞﾟ"},
    {"halfLeavesHiraganaAndOthers", JaMapping::HalfWidth, u"がいど〜￥漢", u"がいど〜￥漢"},

    // Full width.
    {"fullAsciiBlock", JaMapping::FullWidth,
     u"!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",
     u"！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～"},
    {"fullBlank", JaMapping::FullWidth, u"a b", u"ａ　ｂ"},
    {"fullHalfKanaBlock", JaMapping::FullWidth,
     u"｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝ",
     u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン"},
    {"fullJoinsMarks", JaMapping::FullWidth, u"ｶﾞｲﾄﾞｳﾞﾊﾟﾎﾟ", u"ガイドヴパポ"},
    // A mark that follows nothing it can join stays a mark of its own.
    {"fullLoneMarks", JaMapping::FullWidth, u"ﾞｱﾞｶﾟﾊﾞﾞ", u"゛ア゛カ゜バ゛"},
    {"fullLeavesFullKana", JaMapping::FullWidth, u"がカ漢", u"がカ漢"},

    // Hiragana and katakana.
    {"toHiraganaBlock", JaMapping::Hiragana,
     u"ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶヽヾ",
     u"ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをんゔゕゖゝゞ"},
    {"toHiraganaLeavesOthers", JaMapping::Hiragana, u"ｶﾅーヷ・A", u"ｶﾅーヷ・A"},
    {"toKatakanaBlock", JaMapping::Katakana,
     u"ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねのはばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろゎわゐゑをんゔゕゖゝゞ",
     u"ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶヽヾ"},
    {"toKatakanaLeavesOthers", JaMapping::Katakana, u"ｶﾅー漢a", u"ｶﾅー漢a"},
};

TEST(JaMap, MapsEachTextAsTheLocaleDoes)
{
    for (const MapCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const QString in = QString::fromUtf16(c.in.data(), static_cast<qsizetype>(c.in.size()));
        const QString out = QString::fromUtf16(c.out.data(), static_cast<qsizetype>(c.out.size()));
        EXPECT_EQ(jaMapString(in, c.mapping), out);
    }
}

// Every code point, each plane included, maps to what Unicode's simple
// upper- and lower-case fields give it.
TEST(JaMap, CaseOfEachCodePointIsTheSimpleMapping)
{
    int wrong = 0;
    for (char32_t c = 0; c <= 0x10FFFF && wrong < 10; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString in = QString::fromUcs4(&c, 1);
        const char32_t upper = static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
        const char32_t lower = static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
        const QString wantUpper = QString::fromUcs4(&upper, 1);
        const QString wantLower = QString::fromUcs4(&lower, 1);
        if (jaMapString(in, JaMapping::UpperCase) != wantUpper) {
            ADD_FAILURE() << "upper U+" << std::hex << static_cast<unsigned>(c);
            ++wrong;
        }
        if (jaMapString(in, JaMapping::LowerCase) != wantLower) {
            ADD_FAILURE() << "lower U+" << std::hex << static_cast<unsigned>(c);
            ++wrong;
        }
    }
}

TEST(JaMap, EmptyTextStaysEmpty)
{
    for (const JaMapping m : {JaMapping::UpperCase, JaMapping::LowerCase, JaMapping::HalfWidth,
                              JaMapping::FullWidth, JaMapping::Hiragana, JaMapping::Katakana})
        EXPECT_EQ(jaMapString(QString(), m), QString());
}

} // namespace
