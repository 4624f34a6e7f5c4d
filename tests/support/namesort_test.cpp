#include "support/namesort.h"

#include "tests/common/qtprint.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Qt::Literals::StringLiterals;
using tavil::support::sortNamesIgnoringCase;

TEST(NameSort, IgnoresLetterCaseAndKeepsOneOrderForNamesThatDifferOnlyInIt)
{
    struct Case {
        const char* why;
        QStringList in;
        QStringList sorted;
    };
    const QString cafRaw = u"caf"_s + QChar(char16_t(0xDCE9));
    const Case cases[] = {
        {"ascii letters", {u"b"_s, u"a"_s, u"B"_s, u"A"_s}, {u"A"_s, u"a"_s, u"B"_s, u"b"_s}},
        {"case does not decide between words", {u"Zebra"_s, u"apple"_s, u"Mango"_s}, {u"apple"_s, u"Mango"_s, u"Zebra"_s}},
        {"accented letters", {u"été"_s, u"Émile"_s, u"eta"_s}, {u"eta"_s, u"Émile"_s, u"été"_s}},
        {"full-width letters", {u"Ｂ"_s, u"ａ"_s}, {u"ａ"_s, u"Ｂ"_s}},
        {"a byte that is not UTF-8 comes after the letters", {cafRaw, u"cafe"_s}, {u"cafe"_s, cafRaw}},
        {"one name", {u"x"_s}, {u"x"_s}},
        {"none", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QStringList names = c.in;
        sortNamesIgnoringCase(names);
        EXPECT_EQ(names, c.sorted);
    }
}

// A folder big enough to be sorted on several threads must come out as one
// sort of the whole would have it.
TEST(NameSort, BigListSortedInPartsEqualsOneSort)
{
    static const char16_t* const kStems[] = {u"IMG_", u"img_", u"Photo ", u"photo ", u"été-", u"Été-"};
    std::mt19937 random(2003);
    QStringList names;
    for (int i = 0; i < 40000; ++i)
        names.append(QString::fromUtf16(kStems[random() % 6]) + QString::number(random() % 20000));
    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });

    sortNamesIgnoringCase(names);

    ASSERT_EQ(names.size(), expected.size());
    EXPECT_TRUE(names == expected);
}

// Names added to a list already in order are sorted and merged in among the
// others, small additions and big ones (sorted on several threads) alike.
TEST(NameSort, NamesAddedToASortedListComeOutAsOneSort)
{
    std::mt19937 random(1962);
    const auto someNames = [&random](int n) {
        static const char16_t* const kStems[] = {u"IMG_", u"img_", u"Ｂ", u"été-", u"Été-", u"z"};
        QStringList names;
        for (int i = 0; i < n; ++i)
            names.append(QString::fromUtf16(kStems[random() % 6]) + QString::number(random() % 5000));
        return names;
    };
    const struct {
        const char* why;
        int held;
        int added;
    } cases[] = {
        {"a few added to many", 30000, 3},
        {"many added to a few", 2, 30000},
        {"added to none", 0, 50},
        {"none added", 40, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        QStringList names = someNames(c.held);
        sortNamesIgnoringCase(names);
        const QStringList added = someNames(c.added);
        QStringList expected = names + added;
        sortNamesIgnoringCase(expected);

        const qsizetype held = names.size();
        names += added;
        sortNamesIgnoringCase(names, held);
        ASSERT_EQ(names.size(), expected.size());
        EXPECT_TRUE(names == expected);
    }
}
