// The numbering presets' record and their keys in the settings store.

#include "mainwin/numsett.h"
#include "platform/settingsstore.h"

#include <gtest/gtest.h>

namespace tavil::test {
namespace {

using mainwin::numsett::Fields;
namespace numsett = mainwin::numsett;

std::string s(const QString& text)
{
    return text.toStdString();
}

Fields defaults()
{
    Fields f;
    f.digits = QStringLiteral("1");
    f.step = QStringLiteral("1");
    f.startNumber = QStringLiteral("0");
    return f;
}

TEST(NumSettRecord, FieldsAreWrittenInTheirOrder)
{
    struct Case {
        const char* name;
        Fields fields;
        const char16_t* record;
    };
    Fields all;
    all.digits = QStringLiteral("3");
    all.step = QStringLiteral("-2");
    all.unifiedName = QStringLiteral("写真");
    all.prefix = QStringLiteral("a_");
    all.startNumber = QStringLiteral("007");
    all.suffix = QStringLiteral(")");
    all.unifiedExtension = QStringLiteral("jpg");
    all.unifyName = true;
    all.unifyExtension = true;
    all.shape = 2;
    Fields blanks = defaults();
    blanks.prefix = QStringLiteral(" x ");
    Fields odd = defaults();
    odd.shape = 7;
    Fields comma = defaults();
    comma.unifiedName = QStringLiteral("a,b");
    comma.prefix = QStringLiteral("100%");
    const Case cases[] = {
        {"the page's start values", defaults(), u"1,1,,,0,,,0,0,1"},
        {"every field", all, u"3,-2,写真,a_,007,),jpg,1,1,2"},
        {"blanks kept as they stand", blanks, u"1,1,, x ,0,,,0,0,1"},
        {"a shape other than 1 or 2 is 3", odd, u"1,1,,,0,,,0,0,3"},
        {"a comma and a percent sign are escaped", comma, u"1,1,a%2Cb,100%25,0,,,0,0,1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(s(numsett::toRecord(c.fields)), s(QString::fromUtf16(c.record)));
    }
}

TEST(NumSettRecord, RecordsAreReadBackIntoTheFields)
{
    struct Case {
        const char* name;
        const char16_t* record;
        const char16_t* texts[7]; // Text6, Text7, Text4, Text1, Text2, Text3, Text5
        bool unifyName;
        bool unifyExtension;
        int shape;
    };
    const Case cases[] = {
        {"the start values", u"1,1,,,0,,,0,0,1", {u"1", u"1", u"", u"", u"0", u"", u""}, false, false, 1},
        {"every field", u"3,-2,写真,a_,007,),jpg,1,1,2", {u"3", u"-2", u"写真", u"a_", u"007", u")", u"jpg"}, true, true, 2},
        {"the missing record", u",,,,,,,,,", {u"", u"", u"", u"", u"", u"", u""}, false, false, 3},
        {"fewer fields: the rest empty", u"2,5,n", {u"2", u"5", u"n", u"", u"", u"", u""}, false, false, 3},
        {"more fields: the extra ones ignored", u"1,1,,,0,,,1,0,2,9,9", {u"1", u"1", u"", u"", u"0", u"", u""}, true, false, 2},
        {"flags and shape as numbers with blanks", u"1,1,,,0,,, 1 ,1.0, 2", {u"1", u"1", u"", u"", u"0", u"", u""}, true, true, 2},
        {"flags that are no number are off", u"1,1,,,0,,,yes,-1,x", {u"1", u"1", u"", u"", u"0", u"", u""}, false, false, 3},
        {"escapes read back", u"1,1,a%2Cb,100%25,0,%2c,,0,0,1", {u"1", u"1", u"a,b", u"100%", u"0", u",", u""}, false, false, 1},
        {"a percent sign of an old record stays", u"1,1,50%,%zz,0,%2,,0,0,1", {u"1", u"1", u"50%", u"%zz", u"0", u"%2", u""}, false, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Fields f = numsett::fromRecord(QString::fromUtf16(c.record));
        const QString got[7] = {f.digits, f.step, f.unifiedName, f.prefix, f.startNumber, f.suffix, f.unifiedExtension};
        for (int i = 0; i < 7; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(s(got[i]), s(QString::fromUtf16(c.texts[i])));
        }
        EXPECT_EQ(f.unifyName, c.unifyName);
        EXPECT_EQ(f.unifyExtension, c.unifyExtension);
        EXPECT_EQ(f.shape, c.shape);
    }
}

TEST(NumSettRecord, FieldsHoldingCommasComeBackUnshifted)
{
    Fields f = defaults();
    f.unifiedName = QStringLiteral(",");
    f.prefix = QStringLiteral("a,,b");
    f.suffix = QStringLiteral("%2C,");
    f.unifyExtension = true;
    f.shape = 2;
    const Fields back = numsett::fromRecord(numsett::toRecord(f));
    EXPECT_EQ(s(back.unifiedName), ",");
    EXPECT_EQ(s(back.prefix), "a,,b");
    EXPECT_EQ(s(back.startNumber), "0");
    EXPECT_EQ(s(back.suffix), "%2C,");
    EXPECT_TRUE(back.unifyExtension);
    EXPECT_EQ(back.shape, 2);
}

class NumSettStore : public ::testing::Test {
protected:
    QString at(const char* key) { return store.read(QStringLiteral("NumSett"), QString::fromLatin1(key)); }
    bool has(const char* key) { return store.value(QStringLiteral("NumSett"), QString::fromLatin1(key)).has_value(); }
    void put(const char* key, const QString& text) { store.write(QStringLiteral("NumSett"), QString::fromLatin1(key), text); }

    platform::MemorySettingsStore store;
};

TEST_F(NumSettStore, CountReadsLeniently)
{
    struct Case {
        const char* name;
        const char* stored; // nullptr: no key
        int count;
        platform::Err err;
        const char* after;  // the key afterwards; nullptr: none
    };
    const Case cases[] = {
        {"no key", nullptr, 0, platform::Err::None, nullptr},
        {"empty is written back as 0", "", 0, platform::Err::None, "0"},
        {"a number", "3", 3, platform::Err::None, "3"},
        {"blanks around it", " 4 ", 4, platform::Err::None, " 4 "},
        {"beyond the ten presets", "25", 10, platform::Err::None, "25"},
        {"negative", "-2", 0, platform::Err::None, "-2"},
        {"no number", "abc", 0, platform::Err::TypeMismatch, "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        if (c.stored)
            put("All", QString::fromLatin1(c.stored));
        platform::Err err = platform::Err::InvalidProperty;
        EXPECT_EQ(numsett::count(store, &err), c.count);
        EXPECT_EQ(err, c.err);
        if (c.after) {
            EXPECT_EQ(s(at("All")), c.after);
        } else {
            EXPECT_FALSE(has("All"));
        }
    }
}

TEST_F(NumSettStore, AppendGoesAfterTheLastAndStopsAtTen)
{
    EXPECT_EQ(numsett::append(store, QStringLiteral("X"), QStringLiteral("r0")), 0);
    EXPECT_EQ(s(at("Caption0")), "X");
    EXPECT_EQ(s(at("Set0")), "r0");
    EXPECT_EQ(s(at("All")), "1");
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(numsett::append(store, QStringLiteral("n%1").arg(i), QStringLiteral("r")), i);
    EXPECT_EQ(numsett::append(store, QStringLiteral("eleventh"), QStringLiteral("r")), -1);
    EXPECT_EQ(s(at("All")), "10");
    EXPECT_FALSE(has("Caption10"));
    EXPECT_FALSE(has("Set10"));
}

TEST_F(NumSettStore, RemoveClosesTheGap)
{
    struct Case {
        const char* name;
        int stored;
        int removed;
        bool done;
        QStringList captions; // afterwards
    };
    const Case cases[] = {
        {"the first", 3, 0, true, {"Y", "Z"}},
        {"the middle one", 3, 1, true, {"X", "Z"}},
        {"the last", 3, 2, true, {"X", "Y"}},
        {"the only one", 1, 0, true, {}},
        {"past the last", 2, 2, false, {"X", "Y"}},
        {"with none stored", 0, 0, false, {}},
        {"a negative index", 2, -1, false, {"X", "Y"}},
    };
    const QString names[] = {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        for (int i = 0; i < c.stored; ++i)
            numsett::append(store, names[i], QStringLiteral("set of ") + names[i]);
        EXPECT_EQ(numsett::remove(store, c.removed), c.done);
        EXPECT_EQ(numsett::captions(store), c.captions);
        for (int i = 0; i < c.captions.size(); ++i)
            EXPECT_EQ(s(numsett::record(store, i)), s(QStringLiteral("set of ") + c.captions[i]));
        const int n = int(c.captions.size());
        if (c.stored > 0) {
            EXPECT_EQ(s(at("All")), s(QString::number(n)));
        }
        EXPECT_FALSE(store.value(QStringLiteral("NumSett"), QStringLiteral("Caption%1").arg(n)).has_value());
        EXPECT_FALSE(store.value(QStringLiteral("NumSett"), QStringLiteral("Set%1").arg(n)).has_value());
    }
}

TEST_F(NumSettStore, MissingKeysReadAsEmpty)
{
    put("All", QStringLiteral("2"));
    put("Caption0", QStringLiteral("only"));
    EXPECT_EQ(numsett::captions(store), QStringList({"only", ""}));
    EXPECT_EQ(s(numsett::record(store, 1)), ",,,,,,,,,");
}

} // namespace
} // namespace tavil::test
