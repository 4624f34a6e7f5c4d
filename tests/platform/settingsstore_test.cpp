#include "platform/settingsstore.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using tavil::platform::MemorySettingsStore;
using tavil::platform::QtSettingsStore;
using tavil::platform::SettingsStore;
using tavil::test::TempDir;

namespace {

// Texts that an INI file gives special meaning to, and Japanese.
const QStringList kTexts = {
    u"a, b"_s,     u"a,b"_s,       u"a,"_s,    u","_s,        u"*.txt;*.log"_s, u";"_s,
    u"/tmp/dir/"_s, u"C:\\写真\\"_s, u"\\\\"_s, u"say \"hi\""_s, u"\"q\""_s,     u"k=v"_s,
    u"  lead"_s,   u"trail  "_s,   u" "_s,     u"#note"_s,    u"@at"_s,        u"@Invalid()"_s,
    u"[Sec]"_s,    u"x\ty"_s,      u"写真, ２００３年"_s, u"ｶﾞｲﾄﾞ=1"_s, u"1,,,,,,,,,"_s,
};

// One behaviour for the file store and the one tests use, so the fake cannot
// drift from the real thing.
class StoreContract : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        if (GetParam())
            store = std::make_unique<QtSettingsStore>(dir.file(u"Tavil.ini"_s));
        else
            store = std::make_unique<MemorySettingsStore>();
    }

    TempDir dir;
    std::unique_ptr<SettingsStore> store;
};

TEST_P(StoreContract, DefaultOnlyForAMissingKey)
{
    EXPECT_EQ(store->value(u"Setting"_s, u"Top"_s), std::nullopt);
    EXPECT_EQ(store->read(u"Setting"_s, u"Top"_s, 0), u"0"_s);
    EXPECT_EQ(store->read(u"Setting"_s, u"Top"_s, true), u"True"_s);
    EXPECT_EQ(store->read(u"Setting"_s, u"Top"_s, u"x"_s), u"x"_s);
    EXPECT_EQ(store->read(u"Setting"_s, u"Top"_s), u""_s);

    store->write(u"Setting"_s, u"Top"_s, u""_s);
    EXPECT_EQ(store->value(u"Setting"_s, u"Top"_s), u""_s);
    EXPECT_EQ(store->read(u"Setting"_s, u"Top"_s, 0), u""_s);
    // Keys are exact: another case is another key.
    EXPECT_EQ(store->value(u"Setting"_s, u"top"_s), std::nullopt);
    EXPECT_EQ(store->value(u"setting"_s, u"Top"_s), std::nullopt);
}

TEST_P(StoreContract, TextsComeBackExactly)
{
    for (int i = 0; i < kTexts.size(); ++i)
        store->write(u"TempEdit"_s, u"str"_s + QString::number(i), kTexts[i]);
    store->sync();
    for (int i = 0; i < kTexts.size(); ++i) {
        SCOPED_TRACE(kTexts[i].toStdString());
        EXPECT_EQ(store->value(u"TempEdit"_s, u"str"_s + QString::number(i)), kTexts[i]);
    }
}

TEST_P(StoreContract, RemoveKeyAndSection)
{
    store->write(u"NumSett"_s, u"All"_s, u"2"_s);
    store->write(u"NumSett"_s, u"Caption0"_s, u"a"_s);
    store->write(u"NumSett"_s, u"Caption1"_s, u"b"_s);
    store->write(u"TempPatt"_s, u"All"_s, u"1"_s);
    store->write(u"TempPatt"_s, u"tp0"_s, u"*.txt"_s);
    store->write(u"TempExp"_s, u"exp0"_s, u"txt"_s);

    store->removeKey(u"NumSett"_s, u"Caption0"_s);
    EXPECT_EQ(store->value(u"NumSett"_s, u"Caption0"_s), std::nullopt);
    EXPECT_EQ(store->value(u"NumSett"_s, u"Caption1"_s), u"b"_s);

    store->removeSection(u"TempPatt"_s);
    EXPECT_EQ(store->value(u"TempPatt"_s, u"All"_s), std::nullopt);
    EXPECT_EQ(store->value(u"TempPatt"_s, u"tp0"_s), std::nullopt);
    EXPECT_EQ(store->value(u"TempExp"_s, u"exp0"_s), u"txt"_s);
    EXPECT_EQ(store->value(u"NumSett"_s, u"All"_s), u"2"_s);

    store->removeSection(u"FileDiv"_s); // missing: nothing happens
    store->removeKey(u"FileDiv"_s, u"Str0"_s);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreContract, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "QtSettings" : "Memory"); });

TEST(QtSettingsStore, ValuesOutliveTheStore)
{
    TempDir dir;
    const QString path = dir.file(u"Tavil.ini"_s);
    {
        QtSettingsStore store(path);
        for (int i = 0; i < kTexts.size(); ++i)
            store.write(u"TempEdit"_s, u"str"_s + QString::number(i), kTexts[i]);
        store.write(u"Setting"_s, u"Digit"_s, u""_s);
        store.write(u"NumDir"_s, u"strL"_s, u"写真 "_s);
    }
    QtSettingsStore again(path);
    for (int i = 0; i < kTexts.size(); ++i) {
        SCOPED_TRACE(kTexts[i].toStdString());
        EXPECT_EQ(again.value(u"TempEdit"_s, u"str"_s + QString::number(i)), kTexts[i]);
    }
    EXPECT_EQ(again.value(u"Setting"_s, u"Digit"_s), u""_s);
    EXPECT_EQ(again.read(u"NumDir"_s, u"strL"_s), u"写真 "_s);
    EXPECT_EQ(again.value(u"NumDir"_s, u"strR"_s), std::nullopt);
}

TEST(QtSettingsStore, HandEditedValuesReadAsText)
{
    TempDir dir;
    dir.createFile(u"Tavil.ini"_s,
                   "[FileCopy]\n"
                   "NameL=a, b\n"      // bare commas are text, not a list
                   "NameR=x,y,z\n"
                   "StartNum=\"1, 2\"\n" // quoted, as earlier files hold it: one text
                   "Num=  3  \n"
                   "Create=@Invalid()\n"
                   "Write=\n"
                   "Size=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n");
    QtSettingsStore store(dir.file(u"Tavil.ini"_s));
    EXPECT_EQ(store.value(u"FileCopy"_s, u"NameL"_s), u"a, b"_s);
    EXPECT_EQ(store.value(u"FileCopy"_s, u"NameR"_s), u"x,y,z"_s);
    EXPECT_EQ(store.value(u"FileCopy"_s, u"StartNum"_s), u"1, 2"_s);
    EXPECT_EQ(store.value(u"FileCopy"_s, u"Num"_s), u"  3  "_s);
    EXPECT_EQ(store.value(u"FileCopy"_s, u"Create"_s), u""_s);
    EXPECT_EQ(store.value(u"FileCopy"_s, u"Write"_s), u""_s);
    // A typed value the program never wrote is its text as it stands.
    EXPECT_EQ(store.value(u"FileCopy"_s, u"Size"_s), u"@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)"_s);
}

TEST(QtSettingsStore, RemovedSectionIsGoneFromTheFile)
{
    TempDir dir;
    const QString path = dir.file(u"Tavil.ini"_s);
    {
        QtSettingsStore store(path);
        store.write(u"TempName"_s, u"All"_s, u"1"_s);
        store.write(u"TempName"_s, u"Name0"_s, u"n"_s);
        store.write(u"Setting"_s, u"TabStrip"_s, u"3"_s);
        store.sync();
        store.removeSection(u"TempName"_s);
        store.sync();
    }
    const QByteArray text = dir.read(u"Tavil.ini"_s);
    EXPECT_FALSE(text.contains("TempName")) << text.constData();
    EXPECT_TRUE(text.contains("[Setting]\nTabStrip=3")) << text.constData();
}

TEST(QtSettingsStore, PerUserFileUnderTheConfigFolder)
{
    const QString conf = qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Tavil/Tavil.conf"_s;
    ASSERT_FALSE(qEnvironmentVariable("XDG_CONFIG_HOME").isEmpty());
    {
        QtSettingsStore store;
        store.write(u"QuickPos"_s, u"tlBar"_s, u"Del"_s);
        store.sync();
        EXPECT_TRUE(QFile::exists(conf));
    }
    QtSettingsStore again;
    EXPECT_EQ(again.value(u"QuickPos"_s, u"tlBar"_s), u"Del"_s);
    again.removeSection(u"QuickPos"_s);
    again.sync();
    QFile f(conf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("QuickPos"));
}

} // namespace
