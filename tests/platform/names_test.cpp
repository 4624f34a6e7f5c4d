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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(checkNewName(c.in), c.verdict);
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
