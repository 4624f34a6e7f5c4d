#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <gtest/gtest.h>

#include <QString>

using namespace Qt::Literals::StringLiterals;
using namespace tavil::support;
using tavil::platform::Err;
using tavil::platform::MemorySettingsStore;

namespace {

TEST(SettingsFlags, TextToBool)
{
    struct Case {
        QString text;
        bool value;
        Err err;
    };
    const Case cases[] = {
        {u"True"_s, true, Err::None},
        {u"False"_s, false, Err::None},
        {u"TRUE"_s, true, Err::None},
        {u"false"_s, false, Err::None},
        {u"fAlSe"_s, false, Err::None},
        {u" True "_s, true, Err::None},
        {u"0"_s, false, Err::None},
        {u"1"_s, true, Err::None},
        {u"-1"_s, true, Err::None},
        {u"0.0"_s, false, Err::None},
        {u"2.5"_s, true, Err::None},
        {u""_s, false, Err::TypeMismatch},
        {u"yes"_s, false, Err::TypeMismatch},
        {u"Tru"_s, false, Err::TypeMismatch},
        {u"1a"_s, false, Err::TypeMismatch},
        {u"nan"_s, false, Err::TypeMismatch},
        {u"Ｔｒｕｅ"_s, false, Err::TypeMismatch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        Err err = Err::Overflow; // must be overwritten
        EXPECT_EQ(settings::textToBool(c.text, &err), c.value);
        EXPECT_EQ(err, c.err);
    }
    EXPECT_TRUE(settings::textToBool(u"true"_s, nullptr));
    EXPECT_EQ(settings::boolToText(true), u"True"_s);
    EXPECT_EQ(settings::boolToText(false), u"False"_s);
}

TEST(SettingsFlags, EmptyStoreGivesTheDefaults)
{
    MemorySettingsStore store;
    const settings::OptionFlags f = settings::loadOptionFlags(store);
    EXPECT_TRUE(f.keepList);
    EXPECT_FALSE(f.fileDouble);
    EXPECT_FALSE(f.fileDouble2);
    EXPECT_FALSE(f.timeMeasure);
    EXPECT_TRUE(f.logFile);
    EXPECT_TRUE(f.autoComp);
    EXPECT_TRUE(store.sections.isEmpty()); // reading writes nothing
}

TEST(SettingsFlags, StoredTextsAndBadValues)
{
    MemorySettingsStore store;
    store.sections[u"ActionSetting"_s] = {
        {u"Clear"_s, u"false"_s},     {u"FileDouble"_s, u"1"_s}, {u"FileDouble2"_s, u"TRUE"_s},
        {u"TimeMeasure"_s, u"junk"_s}, // falls back to False
        {u"LogFile"_s, u"0"_s},
        {u"AutoComp"_s, u""_s}, // "" is no flag: falls back to True
    };
    const settings::OptionFlags f = settings::loadOptionFlags(store);
    EXPECT_FALSE(f.keepList);
    EXPECT_TRUE(f.fileDouble);
    EXPECT_TRUE(f.fileDouble2);
    EXPECT_FALSE(f.timeMeasure);
    EXPECT_FALSE(f.logFile);
    EXPECT_TRUE(f.autoComp);

    store.sections[u"ActionSetting"_s][u"TimeMeasure"_s] = u"x"_s;
    store.sections[u"ActionSetting"_s][u"LogFile"_s] = u"x"_s;
    store.sections[u"ActionSetting"_s][u"Clear"_s] = u"x"_s;
    const settings::OptionFlags g = settings::loadOptionFlags(store);
    EXPECT_TRUE(g.keepList);
    EXPECT_FALSE(g.timeMeasure);
    EXPECT_TRUE(g.logFile);
}

TEST(SettingsFlags, SaveWritesTrueAndFalseUnderTheirKeys)
{
    MemorySettingsStore store;
    store.sections[u"ActionSetting"_s][u"PrBar"_s] = u"2"_s; // not an option flag: kept
    settings::OptionFlags f;
    f.keepList = false;
    f.fileDouble = true;
    f.fileDouble2 = false;
    f.timeMeasure = true;
    f.logFile = false;
    f.autoComp = true;
    settings::saveOptionFlags(store, f);
    const QMap<QString, QString> expected = {
        {u"PrBar"_s, u"2"_s},         {u"Clear"_s, u"False"_s},   {u"FileDouble"_s, u"True"_s},
        {u"FileDouble2"_s, u"False"_s}, {u"TimeMeasure"_s, u"True"_s}, {u"LogFile"_s, u"False"_s},
        {u"AutoComp"_s, u"True"_s},
    };
    EXPECT_EQ(store.sections[u"ActionSetting"_s], expected);
    EXPECT_EQ(store.sections.size(), 1);
}

TEST(SettingsGeometry, OutOfRangeFallsBack)
{
    struct Case {
        qint64 stored;
        int screen;
        int expected;
    };
    const Case cases[] = {
        {0, 15360, 0},
        {7200, 15360, 7200},
        {15360, 15360, 15360}, // equal to the screen is used
        {15361, 15360, 6150},
        {-1, 15360, 6150},
        {44999, 50000, 44999},
        {45000, 50000, 6150}, // even on a screen that large
        {4294967296LL, 15360, 6150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(settings::validGeometry(c.stored, c.screen, 6150), c.expected);
    }
}

} // namespace
