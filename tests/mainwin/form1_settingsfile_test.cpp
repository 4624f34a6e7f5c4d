#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "platform/gui/services.h"
#include "platform/fsname.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QAction>
#include <QUtf8StringView>

#include <gtest/gtest.h>

#include <memory>

namespace tavil::test {
namespace {

using namespace Qt::Literals::StringLiterals;

// The main window over the real settings file, started and ended as the
// program does it, so a restart reads what the last session wrote.
struct FileBench {
    TempDir home;
    TempDir dir;
    TempDir data;
    TempDir config;
    TestFileSystem fs;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    QString settingsPath = config.file(u"Tavil/Tavil.conf"_s);
    std::unique_ptr<platform::QtSettingsStore> store;
    std::unique_ptr<platform::Services> services;
    std::unique_ptr<mainwin::Form1> form;

    void start()
    {
        store = std::make_unique<platform::QtSettingsStore>(settingsPath);
        store->reportTo(&dialogs);
        services = std::make_unique<platform::Services>(platform::Services{
            fs, *store, dialogs, clock, desktop, volumes, data.file(u"errlog"_s), home.path()});
        form = std::make_unique<mainwin::Form1>(*services, QString());
        ASSERT_TRUE(form->Form_Load());
        form->Timer1_Timer();
    }
    void end()
    {
        form->Form_Unload();
        form.reset();
        services.reset();
        store.reset();
    }
};

TEST(Form1SettingsFile, AStartFolderAndAShortcutNotInUtf8SurviveARestart)
{
    FileBench b;
    const QByteArray cafe = b.dir.root() + "/caf\xE9";
    ASSERT_TRUE(raw::makeDir(cafe));
    ASSERT_TRUE(raw::makeDir(b.dir.root() + "/caf"));
    const QString folder = platform::nameFromBytes(cafe);

    b.start();
    ASSERT_EQ(b.form->browser().setPath(folder), platform::Err::None);
    b.form->mnuPopup2Reg->trigger();
    b.end();

    const QByteArray text = b.config.read(u"Tavil/Tavil.conf"_s);
    EXPECT_TRUE(QUtf8StringView(text).isValidUtf8()) << text.constData();
    EXPECT_TRUE(text.contains("\nDir=" + b.dir.root() + "/caf\\xE9\n")) << text.constData();
    EXPECT_TRUE(text.contains("\nDir0=" + b.dir.root() + "/caf\\xE9\n")) << text.constData();

    b.start();
    EXPECT_EQ(b.form->browser().path(), folder);
    ASSERT_TRUE(b.form->mnuPopup2Short[0]->isVisible());
    EXPECT_EQ(b.form->mnuPopup2Short[0]->data().toString(), folder);
    // The shortcut leads to its own folder, not to the one named "caf".
    ASSERT_EQ(b.form->browser().setPath(b.home.path()), platform::Err::None);
    b.form->mnuPopup2Short[0]->trigger();
    EXPECT_EQ(b.form->browser().path(), folder);
    b.end();
    EXPECT_TRUE(b.dialogs.shown.isEmpty());
}

TEST(Form1SettingsFile, SettingsThatCannotBeSavedAreToldOnceAtTheEnd)
{
    FileBench b;
    // A file where the settings' folder should be.
    b.config.createFile(u"Tavil"_s, "not a folder");
    b.start();
    EXPECT_TRUE(b.dialogs.shown.isEmpty());
    b.end();
    ASSERT_EQ(b.dialogs.shown.size(), 1);
    EXPECT_EQ(b.dialogs.shown[0].title, u"設定ﾌｧｲﾙ"_s);
    EXPECT_EQ(b.dialogs.shown[0].style, 48);
    EXPECT_EQ(b.dialogs.shown[0].text.section(u"\r\n"_s, 0, 1),
              u"設定ﾌｧｲﾙに書き込むことができませんでした。\r\n"_s + b.settingsPath);
    EXPECT_EQ(b.config.read(u"Tavil"_s), QByteArray("not a folder"));
}

} // namespace
} // namespace tavil::test
