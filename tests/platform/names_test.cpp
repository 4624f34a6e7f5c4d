#include "platform/names.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;

namespace {

TEST(Names, DiskNameDropsTrailingDotsAndBlanks)
{
    const struct {
        QString in, out;
    } cases[] = {
        {u"a."_s, u"a"_s},         {u"a. . "_s, u"a"_s}, {u"a.txt"_s, u"a.txt"_s},
        {u".hidden"_s, u".hidden"_s}, {u"..."_s, u""_s},  {u" a b "_s, u" a b"_s},
        {u"写真．"_s, u"写真．"_s}, // the full-width stop is a letter
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(diskName(c.in), c.out);
    }
}

TEST(Names, CheckNewName)
{
    const struct {
        const char* name;
        QString in;
        NameVerdict verdict;
    } cases[] = {
        {"plain", u"a.txt"_s, NameVerdict::Ok},
        {"windowsOnlyCharacters", u"a:b*?<>|\\\".txt"_s, NameVerdict::Ok},
        {"fullWidthSlash", u"a／b"_s, NameVerdict::Ok},
        {"empty", u""_s, NameVerdict::LeaveAlone},
        {"dot", u"."_s, NameVerdict::LeaveAlone},
        {"dotDot", u".."_s, NameVerdict::LeaveAlone},
        {"dotsAndBlanks", u". . "_s, NameVerdict::LeaveAlone},
        {"slash", u"a/b"_s, NameVerdict::Bad},
        {"slashDotDot", u"../x"_s, NameVerdict::Bad},
        {"tab", u"a\tb"_s, NameVerdict::Bad},
        {"carriageReturn", u"a\rb"_s, NameVerdict::Bad},
        {"nul", u"a"_s + QChar(0) + u"b"_s, NameVerdict::Bad},
        {"delete", u"a"_s + QChar(0x7f), NameVerdict::Bad},
        // Bytes that are not UTF-8 are a name like any other; half a
        // character has no bytes at all.
        {"escapedByte", u"caf"_s + QChar(0xDCE9) + u".txt"_s, NameVerdict::Ok},
        {"escapedByteOnly", QString(QChar(0xDCFF)), NameVerdict::Ok},
        {"pair", u"\U0001F600.txt"_s, NameVerdict::Ok},
        {"pairWithLowHalfInEscapeRange", u"\U0001F480"_s, NameVerdict::Ok},
        {"loneHigh", u"photo"_s + QChar(0xD83D) + u".jpg"_s, NameVerdict::Bad},
        {"loneHighAtEnd", u"photo"_s + QChar(0xD83D), NameVerdict::Bad},
        {"loneLow", QChar(0xDE00) + u".jpg"_s, NameVerdict::Bad},
        {"loneLowBelowEscapes", u"a"_s + QChar(0xDC7F), NameVerdict::Bad},
        {"brokenThenDotsOnly", QString(QChar(0xD83D)) + u".."_s, NameVerdict::Bad},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkNewName(c.in), c.verdict);
    }
}

TEST(Names, VisibleName)
{
    const struct {
        const char* name;
        QString in, out;
    } cases[] = {
        {"plain", u"写真.jpg"_s, u"写真.jpg"_s},
        {"escapedByte", u"caf"_s + QChar(0xDCE9) + u".txt"_s, u"caf\\xE9.txt"_s},
        {"escapedLowestAndHighest", QString(QChar(0xDC80)) + QChar(0xDCFF), u"\\x80\\xFF"_s},
        {"cp932Bytes", QString(QChar(0xDC93)) + QChar(0xDCFA) + u"{"_s, u"\\x93\\xFA{"_s},
        {"lineFeed", u"a\nb"_s, u"a\u240Ab"_s},
        {"carriageReturn", u"a\rb"_s, u"a\u240Db"_s},
        {"tab", u"\tx"_s, u"\u2409x"_s},
        {"nul", u"a"_s + QChar(0) + u"b"_s, u"a\u2400b"_s},
        {"unitSeparator", u"a"_s + QChar(0x1F), u"a\u241F"_s},
        {"delete", u"a"_s + QChar(0x7F), u"a\u2421"_s},
        {"loneHigh", u"x"_s + QChar(0xD83D) + u"y"_s, u"x\\uD83Dy"_s},
        {"loneHighAtEnd", u"x"_s + QChar(0xD83D), u"x\\uD83D"_s},
        {"loneLow", QString(QChar(0xDE00)), u"\\uDE00"_s},
        {"loneLowBelowEscapes", QString(QChar(0xDC7F)), u"\\uDC7F"_s},
        {"pairKept", u"\U0001F600.png"_s, u"\U0001F600.png"_s},
        {"pairWithLowHalfInEscapeRangeKept", u"\U0001F480"_s, u"\U0001F480"_s},
        {"pairThenEscapedByte", QString(QChar(0xD83D)) + QChar(0xDE00) + QChar(0xDCE9),
         u"\U0001F600\\xE9"_s},
        {"replacementCharacterKept", u"\uFFFD.txt"_s, u"\uFFFD.txt"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(visibleName(c.in), c.out);
    }
}

TEST(Names, JoinAndSeparator)
{
    EXPECT_EQ(joinPath(u"/tmp"_s, u"a"_s), u"/tmp/a"_s);
    EXPECT_EQ(joinPath(u"/tmp/"_s, u"a"_s), u"/tmp/a"_s);
    EXPECT_EQ(joinPath(u"/"_s, u"a"_s), u"/a"_s);
    EXPECT_EQ(withTrailingSeparator(u"/"_s), u"/"_s);
    EXPECT_EQ(withTrailingSeparator(u"/x"_s), u"/x/"_s);
}

} // namespace
