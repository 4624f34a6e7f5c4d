#include "support/pattern.h"

#include <QString>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

using tavil::support::FilePattern;
using tavil::support::matchesPattern;

namespace {

// A byte of a name that is not UTF-8, as names hold it (0xE9 here).
const QString kCafRaw = QStringLiteral("caf") + QChar(char16_t(0xDCE9)) + QStringLiteral(".txt");

struct MatchCase {
    const char* why;
    QString pattern;
    QString name;
    bool matches;
};

const MatchCase kMatchCases[] = {
    {"star dot star takes a name without a dot", u"*.*"_s, u"README"_s, true},
    {"star dot star takes a name with a dot", u"*.*"_s, u"a.b"_s, true},
    {"star dot star takes a dot name", u"*.*"_s, u".bashrc"_s, true},
    {"extension in another case", u"*.txt"_s, u"a.TXT"_s, true},
    {"pattern in another case", u"*.TXT"_s, u"a.txt"_s, true},
    {"extension must end the name", u"*.txt"_s, u"a.txt.bak"_s, false},
    {"the dot is not optional", u"*.txt"_s, u"atxt"_s, false},
    {"first of two patterns", u"*.txt;*.jpg"_s, u"a.txt"_s, true},
    {"second of two patterns", u"*.txt;*.jpg"_s, u"b.JPG"_s, true},
    {"neither of two patterns", u"*.txt;*.jpg"_s, u"c.doc"_s, false},
    {"blank after the separator", u"*.txt; *.jpg"_s, u"b.jpg"_s, true},
    {"closing separator adds nothing", u"*.txt;"_s, u"c.doc"_s, false},
    {"closing separator keeps the pattern", u"*.txt;"_s, u"a.txt"_s, true},
    {"question mark is one character", u"?.c"_s, u"a.c"_s, true},
    {"question mark is not two", u"?.c"_s, u"ab.c"_s, false},
    {"question mark is not none", u"?.c"_s, u".c"_s, false},
    {"question mark takes an accented letter", u"?.c"_s, u"é.c"_s, true},
    {"question mark takes a surrogate pair whole", u"?.c"_s, u"😀.c"_s, true},
    {"closing dot: no extension", u"*."_s, u"a"_s, true},
    {"closing dot refuses an extension", u"*."_s, u"a.b"_s, false},
    {"closing dot with a stem", u"read*."_s, u"README"_s, true},
    {"closing dot star may match nothing", u"a.*"_s, u"a"_s, true},
    {"closing dot star with an extension", u"a.*"_s, u"a.b"_s, true},
    {"closing dot star still needs the stem", u"a.*"_s, u"ab"_s, false},
    {"empty pattern lists all", u""_s, u"anything.at.all"_s, true},
    {"only separators list all", u";"_s, u"x"_s, true},
    {"star between letters goes back", u"*a*b*"_s, u"xaxxbx"_s, true},
    {"star between letters keeps the order", u"*a*b"_s, u"xbxa"_s, false},
    {"star matches an empty name", u"*"_s, u""_s, true},
    {"full-width letters fold too", u"ａ*"_s, u"Ａbc"_s, true},
    {"name not UTF-8 by its extension", u"*.txt"_s, kCafRaw, true},
    {"name not UTF-8: its byte is one character", u"caf?.txt"_s, kCafRaw, true},
    {"name not UTF-8 is not the accented letter", u"café.txt"_s, kCafRaw, false},
    {"name not UTF-8 by its stem in capitals", u"CAF*"_s, kCafRaw, true},
};

} // namespace

TEST(FilePattern, MatchesNamesAsTheOldFileDialogsDid)
{
    for (const MatchCase& c : kMatchCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(matchesPattern(c.pattern, c.name), c.matches)
            << c.pattern.toStdString() << " ~ " << c.name.toStdString();
        // The pattern read once must agree with the one-off function.
        EXPECT_EQ(FilePattern(c.pattern).matches(c.name), c.matches);
    }
}

TEST(FilePattern, KnowsWhenEveryNameMatches)
{
    struct Case {
        QString pattern;
        bool everything;
    };
    const Case cases[] = {
        {u"*.*"_s, true}, {u"*"_s, true}, {u""_s, true}, {u" ; "_s, true},
        {u"*.txt;*"_s, true}, {u"*.txt"_s, false}, {u"*."_s, false}, {u"?*"_s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern.toStdString());
        EXPECT_EQ(FilePattern(c.pattern).matchesEverything(), c.everything);
    }
}
