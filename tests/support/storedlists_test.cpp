#include "platform/settingsstore.h"
#include "support/module1.h"

#include <gtest/gtest.h>

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;
using namespace tavil::support;
using tavil::platform::MemorySettingsStore;

namespace {

using Section = QMap<QString, QString>;

// A section holding "All" = count and prefix0.. = entries.
Section listSection(const QString& prefix, const QStringList& entries, const QString& count)
{
    Section s;
    s[u"All"_s] = count;
    for (int i = 0; i < entries.size(); ++i)
        s[prefix + QString::number(i)] = entries[i];
    return s;
}

QStringList numbered(const QString& stem, int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list.append(stem + QString::number(i));
    return list;
}

class DirHistoryTest : public ::testing::Test {
protected:
    void add(const QString& folder)
    {
        Module1::AddDirHistory(store, folder, [this](int i, const QString& caption) { shown.append({i, caption}); });
    }

    MemorySettingsStore store;
    QList<QPair<int, QString>> shown;
};

TEST_F(DirHistoryTest, FirstFolderOnAnEmptyStore)
{
    add(u"/home/user/写真/"_s);
    EXPECT_EQ(store.sections[u"Dir"_s], listSection(u"Dir"_s, {u"/home/user/写真/"_s}, u"1"_s));
    EXPECT_EQ(shown, (QList<QPair<int, QString>>{{0, u"/home/user/写真/"_s}}));
}

TEST_F(DirHistoryTest, KnownFolderKeepsItsPlaceAndTheMenuStays)
{
    store.sections[u"Dir"_s] = listSection(u"Dir"_s, {u"/a/"_s, u"/b/"_s, u"/c/"_s}, u"3"_s);
    const auto before = store.sections;
    add(u"/b/"_s);
    EXPECT_EQ(store.sections, before);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(DirHistoryTest, AppendsAndShowsEveryEntry)
{
    store.sections[u"Dir"_s] = listSection(u"Dir"_s, {u"/a/"_s, u"/b/"_s}, u"2"_s);
    add(u"/B/"_s); // case counts
    EXPECT_EQ(store.sections[u"Dir"_s], listSection(u"Dir"_s, {u"/a/"_s, u"/b/"_s, u"/B/"_s}, u"3"_s));
    EXPECT_EQ(shown, (QList<QPair<int, QString>>{{0, u"/a/"_s}, {1, u"/b/"_s}, {2, u"/B/"_s}}));
}

TEST_F(DirHistoryTest, EleventhFolderDropsTheOldest)
{
    store.sections[u"Dir"_s] = listSection(u"Dir"_s, numbered(u"/f"_s, 0, 9), u"10"_s);
    add(u"/new/"_s);
    const QStringList expected = {u"/f1"_s, u"/f2"_s, u"/f3"_s, u"/f4"_s, u"/f5"_s,
                                  u"/f6"_s, u"/f7"_s, u"/f8"_s, u"/f9"_s, u"/new/"_s};
    EXPECT_EQ(store.sections[u"Dir"_s], listSection(u"Dir"_s, expected, u"10"_s));
    ASSERT_EQ(shown.size(), 10);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(shown[i].first, i);
        EXPECT_EQ(shown[i].second, expected[i]);
    }
}

TEST_F(DirHistoryTest, CountBeyondTheMenuIsHeldToTen)
{
    Section s = listSection(u"Dir"_s, numbered(u"/f"_s, 0, 14), u"15"_s);
    store.sections[u"Dir"_s] = s;
    add(u"/new/"_s);
    // Entries 10 to 14 are no longer part of the list; they stay untouched.
    for (int i = 0; i < 9; ++i)
        s[u"Dir"_s + QString::number(i)] = u"/f"_s + QString::number(i + 1);
    s[u"Dir9"_s] = u"/new/"_s;
    s[u"All"_s] = u"10"_s;
    EXPECT_EQ(store.sections[u"Dir"_s], s);
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown.last(), (QPair<int, QString>{9, u"/new/"_s}));
}

TEST_F(DirHistoryTest, CountThatIsNoNumberReadsAsEmpty)
{
    store.sections[u"Dir"_s] = listSection(u"Dir"_s, {u"/old/"_s}, u"abc"_s);
    add(u"/new/"_s);
    EXPECT_EQ(store.sections[u"Dir"_s], listSection(u"Dir"_s, {u"/new/"_s}, u"1"_s));
}

// The four input histories share one algorithm; the name history stands for
// them where nothing differs.
TEST(InputHistory, MatchMovesToTheNewestEnd)
{
    struct Case {
        const char* name;
        QStringList before;
        QString text;
        QStringList after;
    };
    const Case cases[] = {
        {"MiddleOfFive", {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s}, u"d"_s, {u"a"_s, u"b"_s, u"c"_s, u"e"_s, u"d"_s}},
        {"Oldest", {u"a"_s, u"b"_s, u"c"_s}, u"a"_s, {u"b"_s, u"c"_s, u"a"_s}},
        {"NewestStays", {u"a"_s, u"b"_s, u"c"_s}, u"c"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {"CaseCounts", {u"ABC"_s}, u"abc"_s, {u"ABC"_s, u"abc"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore store;
        store.sections[u"TempName"_s] = listSection(u"Name"_s, c.before, QString::number(c.before.size()));
        Module1::AddNameHistory(store, c.text);
        EXPECT_EQ(store.sections[u"TempName"_s], listSection(u"Name"_s, c.after, QString::number(c.after.size())));
    }
}

TEST(InputHistory, TwentyNinthBecomesThirtiethThenTheOldestGoes)
{
    MemorySettingsStore store;
    store.sections[u"TempEdit"_s] = listSection(u"str"_s, numbered(u"t"_s, 0, 28), u"29"_s);
    Module1::AddEditHistory(store, u"new1"_s);
    Section s = store.sections[u"TempEdit"_s];
    EXPECT_EQ(s[u"All"_s], u"30"_s);
    EXPECT_EQ(s[u"str28"_s], u"t28"_s);
    EXPECT_EQ(s[u"str29"_s], u"new1"_s);

    Module1::AddEditHistory(store, u"new2"_s);
    s = store.sections[u"TempEdit"_s];
    EXPECT_EQ(s.size(), 31); // All and str0..str29
    EXPECT_EQ(s[u"All"_s], u"30"_s);
    EXPECT_EQ(s[u"str0"_s], u"t1"_s);
    EXPECT_EQ(s[u"str27"_s], u"t28"_s);
    EXPECT_EQ(s[u"str28"_s], u"new1"_s);
    EXPECT_EQ(s[u"str29"_s], u"new2"_s);
}

TEST(InputHistory, CountBeyondThirtyIsHeldToThirty)
{
    MemorySettingsStore store;
    store.sections[u"TempExp"_s] = listSection(u"exp"_s, numbered(u"e"_s, 0, 44), u"45"_s);
    // e35 lies past the thirty entries: it is a new text, not a match.
    Module1::AddExpHistory(store, u"e35"_s, {});
    const Section s = store.sections[u"TempExp"_s];
    EXPECT_EQ(s[u"All"_s], u"30"_s);
    EXPECT_EQ(s[u"exp0"_s], u"e1"_s);
    EXPECT_EQ(s[u"exp28"_s], u"e29"_s);
    EXPECT_EQ(s[u"exp29"_s], u"e35"_s);
}

TEST(InputHistory, CountThatIsNoNumberReadsAsZero)
{
    MemorySettingsStore store;
    store.sections[u"TempName"_s] = listSection(u"Name"_s, {u"old"_s}, u"x"_s);
    Module1::AddNameHistory(store, u"new"_s);
    EXPECT_EQ(store.sections[u"TempName"_s], listSection(u"Name"_s, {u"new"_s}, u"1"_s));
}

TEST(InputHistory, EmptyCountBecomesZeroEvenWhenNothingIsAdded)
{
    MemorySettingsStore store;
    store.sections[u"TempEdit"_s][u"All"_s] = u""_s;
    Module1::AddEditHistory(store, u""_s);
    EXPECT_EQ(store.sections[u"TempEdit"_s], (Section{{u"All"_s, u"0"_s}}));

    Module1::AddNameHistory(store, u""_s); // no section, nothing written
    EXPECT_FALSE(store.sections.contains(u"TempName"_s));
}

TEST(InputHistory, PatternLosesOneClosingSemicolon)
{
    struct Case {
        const char* name;
        QString text;
        QString callerText;
        QStringList stored;
    };
    const Case cases[] = {
        {"Closing", u"*.txt;"_s, u"*.txt"_s, {u"*.txt"_s}},
        {"OnlyOne", u"*.txt;;"_s, u"*.txt;"_s, {u"*.txt;"_s}},
        {"Inner", u"*.txt;*.log"_s, u"*.txt;*.log"_s, {u"*.txt;*.log"_s}},
        {"LoneSemicolon", u";"_s, u""_s, {}},
        {"Empty", u""_s, u""_s, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore store;
        QString text = c.text;
        Module1::AddPattHistory(store, text, {u"*.*"_s});
        EXPECT_EQ(text, c.callerText);
        EXPECT_EQ(Module1::ReadStoredList(store, u"TempPatt"_s, u"tp"_s, 30), c.stored);
        if (c.stored.isEmpty()) {
            EXPECT_TRUE(store.sections.isEmpty());
        }
    }
}

TEST(InputHistory, TextTheBoxListsIsNotStored)
{
    MemorySettingsStore store;
    QString pattern = u"*.jpg;"_s;
    Module1::AddPattHistory(store, pattern, {u"*.*"_s, u"*.jpg"_s});
    Module1::AddExpHistory(store, u"txt"_s, {u"jpg"_s, u"txt"_s});
    EXPECT_TRUE(store.sections.isEmpty());

    Module1::AddExpHistory(store, u"TXT"_s, {u"jpg"_s, u"txt"_s});
    EXPECT_EQ(store.sections[u"TempExp"_s], listSection(u"exp"_s, {u"TXT"_s}, u"1"_s));
}

TEST(StoredList, ReadsEntriesUpToTheCount)
{
    struct Case {
        const char* name;
        std::optional<QString> count;
        QStringList expected;
    };
    const Case cases[] = {
        {"Missing", std::nullopt, {}},
        {"Three", u"3"_s, {u"p0"_s, u""_s, u"p2"_s}}, // a missing entry reads as ""
        {"Blanks", u" 2 "_s, {u"p0"_s, u""_s}},
        {"AboveCapacity", u"12"_s, {u"p0"_s, u""_s, u"p2"_s, u"p3"_s}},
        {"Negative", u"-1"_s, {}},
        {"NoNumber", u"two"_s, {}},
        {"Empty", u""_s, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemorySettingsStore store;
        store.sections[u"FilePatt"_s] = {{u"Patt0"_s, u"p0"_s}, {u"Patt2"_s, u"p2"_s}, {u"Patt3"_s, u"p3"_s},
                                         {u"Patt4"_s, u"p4"_s}};
        if (c.count)
            store.sections[u"FilePatt"_s][u"All"_s] = *c.count;
        EXPECT_EQ(Module1::ReadStoredList(store, u"FilePatt"_s, u"Patt"_s, 4), c.expected);
    }
}

} // namespace
