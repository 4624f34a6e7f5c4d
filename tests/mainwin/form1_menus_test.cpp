#include "tests/mainwin/windowbench.h"
#include "mainwin/dirlist.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/form3.h"
#include "mainwin/form5.h"
#include "mainwin/helpmanual.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/tempdir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWhatsThis>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <optional>

namespace tavil::test {
namespace {

using mainwin::Form1;
using mainwin::Form3;

// A menu's entries: "objectName text", "-" for a separator, "checkable" marked.
QStringList entriesOf(const QMenu* menu)
{
    QStringList out;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator())
            out.append(QStringLiteral("-"));
        else
            out.append(a->objectName() + u' ' + a->text() + (a->isCheckable() ? QStringLiteral(" [x]") : QString()));
    }
    return out;
}

// The shortcut entries that show, with their captions.
QStringList shownShortcuts(const Form1& f)
{
    QStringList out;
    for (const QAction* a : f.mnuPopup2Short) {
        if (a->isVisible())
            out.append(a->text());
    }
    return out;
}

void storeShortcuts(platform::SettingsStore& store, const QStringList& folders, const QString& count = QString())
{
    for (int i = 0; i < folders.size(); ++i)
        store.write("Dir", "Dir" + QString::number(i), folders[i]);
    store.write("Dir", "All", count.isNull() ? QString::number(folders.size()) : count);
}

QStringList storedShortcuts(platform::SettingsStore& store)
{
    QStringList out;
    for (int i = 0; i < 10; ++i)
        out.append(store.read("Dir", "Dir" + QString::number(i)));
    return out;
}

QStringList itemsOf(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out.append(box->itemText(i));
    return out;
}

QStringList rowsOf(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

// ---- The menus themselves ---------------------------------------------------

TEST(Form1MenuBar, SettingsMenuSitsBetweenFileAndHelp)
{
    WindowBench b;
    b.start();
    Form1& f = *b.form;
    QStringList bar;
    for (const QAction* a : f.menuBar()->actions())
        bar.append(a->text());
    EXPECT_EQ(bar, (QStringList{u"ﾌｧｲﾙ(&F)"_qs, u"設定(S)"_qs, u"ﾍﾙﾌﾟ(&H)"_qs}));
    EXPECT_EQ(f.mnuSet->objectName(), QStringLiteral("mnuSet"));

    EXPECT_EQ(entriesOf(f.mnuSet), (QStringList{
                                       u"mnuSetMove 動作設定(&S)..."_qs,
                                       "-",
                                       u"mnuSetVis ﾌｧｲﾙの表示(&F)"_qs,
                                       u"mnuSetSort ﾌｧｲﾙのｿｰﾄ(&S) [x]"_qs,
                                       "-",
                                       u"mnuSetPat ﾌｧｲﾙﾊﾟﾀｰﾝ編集(&P)..."_qs,
                                       u"mnuSetShort ｼｮｰﾄｶｯﾄ編集(&S)..."_qs,
                                       u"mnuSetKaku 拡張子編集(&E)..."_qs,
                                       u"mnuSetDiv 区切り文字編集(&D)..."_qs,
                                   }));
    EXPECT_EQ(entriesOf(f.mnuSetVis), (QStringList{
                                          u"mnuSetVisHidden 隠しﾌｧｲﾙ(&H) [x]"_qs,
                                          u"mnuSetVisSystem ｼｽﾃﾑﾌｧｲﾙ(&S) [x]"_qs,
                                      }));
    EXPECT_EQ(entriesOf(f.mnuHelp), (QStringList{
                                        u"mnuHelpHelp Tavil ﾍﾙﾌﾟ(&F)"_qs,
                                        u"mnuHelpSerch ﾄﾋﾟｯｸの検索(&S)..."_qs,
                                        u"mnuHelpWhats What's This(&H)"_qs,
                                        "-",
                                        u"mnuHelpWebsite WebSite(&W)"_qs,
                                        "-",
                                        u"mnuHelpVer ﾊﾞｰｼﾞｮﾝ情報(&A)..."_qs,
                                    }));
}

TEST(Form1MenuBar, FileMenuGroupsItsEntries)
{
    WindowBench b;
    b.start();
    Form1& f = *b.form;
    const QStringList expected{
        u"mnuFileNet ﾈｯﾄﾜｰｸ上のﾌｧｲﾙ(&N)"_qs,
        "-",
        u"mnuFileStart 変更開始(&S)"_qs,
        u"mnuFileRenew 最新の情報に更新(&R)"_qs,
        "-",
        u"mnuFileQuick QuickFormの表示(&Q)"_qs,
        "-",
        u"mnuFileExit 終了(&X)"_qs,
    };
    EXPECT_EQ(entriesOf(f.mnuFile), expected);
    // Without a Quick window to open, its group is empty and the two
    // separators around it are shown as one.
    EXPECT_FALSE(f.mnuFileQuick->isVisible());
    EXPECT_TRUE(f.mnuFile->separatorsCollapsible());
    f.setQuickWindowOpener([] {});
    EXPECT_EQ(entriesOf(f.mnuFile), expected);
}

TEST(Form1MenuBar, FolderPopupEntries)
{
    WindowBench b;
    b.start();
    Form1& f = *b.form;
    // Never in the menu bar.
    for (const QAction* a : f.menuBar()->actions())
        EXPECT_NE(a, f.mnuPopup2->menuAction());
    QStringList expected{u"mnuPopup2Reg ｼｮｰﾄｶｯﾄに登録(&R)"_qs, u"mnuPopup2Create 新規作成(&N)"_qs, "-"};
    for (int i = 0; i < 10; ++i)
        expected.append(QStringLiteral("mnuPopup2Short(%1) ").arg(i));
    EXPECT_EQ(entriesOf(f.mnuPopup2), expected);
    EXPECT_EQ(entriesOf(f.mnuPopup2Create), (QStringList{
                                                u"mnuPopup2MKDir フォルダ(&F)"_qs,
                                                u"mnuPopup2MKNumDir 連番付きフォルダ(&D)..."_qs,
                                            }));
    EXPECT_EQ(f.mnuPopup2Bar1->objectName(), QStringLiteral("mnuPopup2Bar1"));
    // An empty store: every shortcut entry hidden.
    EXPECT_TRUE(shownShortcuts(f).isEmpty());
}

TEST(Form1MenuBar, RightButtonOnTheFolderListOpensTheFolderPopup)
{
    WindowBench b;
    b.start();
    QMenu* shown = nullptr;
    QPoint at;
    b.form->execFolderPopup = [&](QMenu* menu, const QPoint& pos) {
        shown = menu;
        at = pos;
    };
    emit b.form->browser().folderPopupRequested(QPoint(40, 50));
    EXPECT_EQ(shown, b.form->mnuPopup2);
    EXPECT_EQ(at, QPoint(40, 50));
}

// ---- Hidden and system files, sorting --------------------------------------

TEST(Form1SettingsMenu, HiddenFilesToggleIsSavedAndSurvivesARestart)
{
    WindowBench b;
    b.startIn({QStringLiteral("a.txt"), QStringLiteral(".secret")});
    Form1* f = b.form.get();
    EXPECT_FALSE(f->mnuSetVisHidden->isChecked());
    EXPECT_EQ(f->browser().allFiles(), QStringList{"a.txt"});

    f->mnuSetVisHidden->trigger();
    EXPECT_TRUE(f->mnuSetVisHidden->isChecked());
    EXPECT_EQ(b.store.read("ActionSetting", "Hidden"), QStringLiteral("True"));
    EXPECT_EQ(f->browser().allFiles(), (QStringList{".secret", "a.txt"}));

    b.form.reset();
    b.start();
    f = b.form.get();
    EXPECT_TRUE(f->mnuSetVisHidden->isChecked());
    EXPECT_EQ(f->browser().allFiles(), (QStringList{".secret", "a.txt"}));

    f->mnuSetVisHidden->trigger();
    EXPECT_FALSE(f->mnuSetVisHidden->isChecked());
    EXPECT_EQ(b.store.read("ActionSetting", "Hidden"), QStringLiteral("False"));
    EXPECT_EQ(f->browser().allFiles(), QStringList{"a.txt"});
    b.form.reset();
    b.start();
    EXPECT_FALSE(b.form->mnuSetVisHidden->isChecked());
    EXPECT_EQ(b.form->browser().allFiles(), QStringList{"a.txt"});
}

TEST(Form1SettingsMenu, SystemFilesToggleIsSavedAndSurvivesARestart)
{
    WindowBench b;
    b.start();
    EXPECT_FALSE(b.form->mnuSetVisSystem->isChecked());
    b.writes.log.clear();
    b.form->mnuSetVisSystem->trigger();
    EXPECT_TRUE(b.form->mnuSetVisSystem->isChecked());
    EXPECT_TRUE(b.form->browser().showSystem());
    EXPECT_FALSE(b.form->browser().showHidden());
    EXPECT_EQ(b.writes.log, QStringList{"ActionSetting/System=True"});
    b.form.reset();
    b.start();
    EXPECT_TRUE(b.form->mnuSetVisSystem->isChecked());
    EXPECT_TRUE(b.form->browser().showSystem());
    EXPECT_FALSE(b.form->mnuSetVisHidden->isChecked());
}

TEST(Form1SettingsMenu, SortEntrySwapsTheListsKeepingTheirEntries)
{
    WindowBench b;
    b.startIn({QStringLiteral("b.txt"), QStringLiteral("c.txt"), QStringLiteral("a.txt")});
    Form1& f = *b.form;
    mainwin::SelectedLists& lists = f.lists();
    EXPECT_TRUE(f.mnuSetSort->isChecked());
    lists.Command5_Click();
    ASSERT_EQ(rowsOf(lists.List1), (QStringList{"a.txt", "b.txt", "c.txt"}));

    f.mnuSetSort->trigger();
    EXPECT_FALSE(f.mnuSetSort->isChecked());
    EXPECT_EQ(b.store.read("ActionSetting", "Sorted"), QStringLiteral("False"));
    EXPECT_EQ(lists.gWorkList(), lists.List2);
    EXPECT_TRUE(lists.List2->isVisibleTo(&f));
    EXPECT_FALSE(lists.List1->isVisibleTo(&f));
    EXPECT_EQ(rowsOf(lists.List2), (QStringList{"a.txt", "b.txt", "c.txt"}));

    f.mnuSetSort->trigger();
    EXPECT_TRUE(f.mnuSetSort->isChecked());
    EXPECT_EQ(b.store.read("ActionSetting", "Sorted"), QStringLiteral("True"));
    EXPECT_EQ(lists.gWorkList(), lists.List1);
    EXPECT_TRUE(lists.List1->isVisibleTo(&f));

    b.form.reset();
    b.start();
    EXPECT_TRUE(b.form->mnuSetSort->isChecked());
}

TEST(Form1SettingsMenu, StoredUnsortedChoiceClearsTheMarkAtStart)
{
    WindowBench b;
    b.store.write("ActionSetting", "Sorted", "False");
    b.store.write("ActionSetting", "Hidden", "True");
    b.store.write("ActionSetting", "System", "1");
    b.start();
    EXPECT_FALSE(b.form->mnuSetSort->isChecked());
    EXPECT_TRUE(b.form->mnuSetVisHidden->isChecked());
    EXPECT_TRUE(b.form->mnuSetVisSystem->isChecked());
}

TEST(Form1SettingsMenu, LockedWhileARunGoes)
{
    WindowBench b;
    QStringList files;
    for (int i = 0; i < 60; ++i)
        files.append(QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
    b.store.write("ActionSetting", "PrBar", "2");
    b.startIn(files);
    b.form->tabs().selectTab(2);
    b.form->tabs().Text8->setEditText("dat");
    std::optional<bool> enabledDuringRun;
    QObject::connect(b.form->status().PBar, &QProgressBar::valueChanged, b.form.get(), [&](int v) {
        if (v >= 10 && !enabledDuringRun)
            enabledDuringRun = b.form->mnuSet->menuAction()->isEnabled();
    });
    b.form->Command4_Click();
    ASSERT_TRUE(enabledDuringRun.has_value());
    EXPECT_FALSE(*enabledDuringRun);
    EXPECT_TRUE(b.form->mnuSet->menuAction()->isEnabled());
    EXPECT_EQ(b.dir.list().filter(".dat").size(), 60);
}

// ---- Folder shortcuts -------------------------------------------------------

TEST(Form1Shortcuts, RegisterShowsTheOpenFolderOnce)
{
    WindowBench b;
    const QString other = b.dir.createDir(QStringLiteral("a&b"));
    b.startIn({});
    Form1& f = *b.form;
    f.mnuPopup2Reg->trigger();
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("1"));
    EXPECT_EQ(b.store.read("Dir", "Dir0"), b.dir.path());
    EXPECT_EQ(shownShortcuts(f), QStringList{b.dir.path()});

    // Once is enough.
    f.mnuPopup2Reg->trigger();
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("1"));

    // An "&" in a folder's name is shown as it is, not taken for a key mark.
    ASSERT_EQ(f.browser().setPath(other), platform::Err::None);
    f.mnuPopup2Reg->trigger();
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("2"));
    EXPECT_EQ(b.store.read("Dir", "Dir1"), other);
    EXPECT_EQ(shownShortcuts(f), (QStringList{b.dir.path(), b.dir.path() + "/a&&b"}));
}

TEST(Form1Shortcuts, RegisteringAnEleventhDropsTheOldest)
{
    WindowBench b;
    QStringList folders;
    for (int i = 0; i < 10; ++i)
        folders.append(QStringLiteral("/gone/f%1").arg(i));
    storeShortcuts(b.store, folders);
    b.startIn({});
    b.form->mnuPopup2Reg->trigger();
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("10"));
    QStringList expected = folders.mid(1);
    expected.append(b.dir.path());
    EXPECT_EQ(storedShortcuts(b.store), expected);
    EXPECT_EQ(shownShortcuts(*b.form), expected);
}

TEST(Form1Shortcuts, StartUpShowsTheStoredShortcuts)
{
    struct Case {
        const char* name;
        int stored;
        QString count;
        int shown;
    };
    const Case cases[] = {
        {"three", 3, {}, 3},
        {"countBeyondTenShowsTen", 12, "12", 10},
        {"countNotANumberShowsNone", 3, "abc", 0},
        {"negativeCountShowsNone", 3, "-2", 0},
        {"emptyCountShowsNone", 3, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        QStringList folders;
        for (int i = 0; i < c.stored; ++i)
            folders.append(QStringLiteral("/f%1").arg(i));
        storeShortcuts(b.store, folders, c.count);
        b.start();
        EXPECT_EQ(shownShortcuts(*b.form), folders.mid(0, c.shown));
        EXPECT_TRUE(b.dialogs.shown.isEmpty()) << b.texts().join('|').toStdString();
    }
}

TEST(Form1Shortcuts, AnEmptyStoredEntryLeavesItsPlaceHidden)
{
    WindowBench b;
    storeShortcuts(b.store, {"/f0", "", "/f2"});
    b.start();
    EXPECT_TRUE(b.form->mnuPopup2Short[0]->isVisible());
    EXPECT_FALSE(b.form->mnuPopup2Short[1]->isVisible());
    EXPECT_TRUE(b.form->mnuPopup2Short[2]->isVisible());
}

TEST(Form1Shortcuts, ClickOpensTheFolder)
{
    WindowBench b;
    const QString target = b.dir.createDir(QStringLiteral("target"));
    b.dir.createFile(QStringLiteral("target/in.txt"), "x");
    storeShortcuts(b.store, {target});
    b.startIn({QStringLiteral("out.txt")});
    b.form->mnuPopup2Short[0]->trigger();
    EXPECT_EQ(b.form->browser().path(), target);
    EXPECT_EQ(b.form->browser().allFiles(), QStringList{"in.txt"});
    EXPECT_TRUE(b.dialogs.shown.isEmpty());
}

struct Removal {
    WindowBench b;
    QStringList folders;

    // count folders f0.. in the bench's folder, all there but the one at gone.
    void start(int count, int gone)
    {
        for (int i = 0; i < count; ++i) {
            const QString name = QStringLiteral("f%1").arg(i);
            folders.append(i == gone ? b.dir.path() + u'/' + name : b.dir.createDir(name));
        }
        storeShortcuts(b.store, folders);
        b.startIn({});
    }
    QString question(int index) const
    {
        return folders[index] + u"\r\nは、移動または削除されています。\r\nショートカットから削除してよろしいですか？"_qs;
    }
};

TEST(Form1Shortcuts, RemovingTheThirdOfFiveThatHasGone)
{
    Removal r;
    r.start(5, 3);
    WindowBench& b = r.b;
    b.dialogs.answers.push_back(platform::MsgButton::Yes);
    b.writes.log.clear();
    b.form->mnuPopup2Short[3]->trigger();

    ASSERT_EQ(b.dialogs.shown.size(), 1);
    EXPECT_EQ(b.dialogs.shown[0].text, r.question(3));
    EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral("Tavil"));
    EXPECT_EQ(b.dialogs.shown[0].style, 36);
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("4"));
    const QStringList expected{r.folders[0], r.folders[1], r.folders[2], r.folders[4], "", "", "", "", "", ""};
    EXPECT_EQ(storedShortcuts(b.store), expected);
    EXPECT_EQ(shownShortcuts(*b.form), expected.mid(0, 4));
    // The browser stays where it was.
    EXPECT_EQ(b.form->browser().path(), b.dir.path());
    // The count and the ten entries are written once each.
    EXPECT_EQ(b.writes.log.size(), 11);
}

TEST(Form1Shortcuts, NoKeepsTheGoneFolderAndTheNextClickAsksAgain)
{
    Removal r;
    r.start(5, 1);
    WindowBench& b = r.b;
    b.dialogs.answers.push_back(platform::MsgButton::No);
    b.dialogs.answers.push_back(platform::MsgButton::No);
    b.writes.log.clear();
    b.form->mnuPopup2Short[1]->trigger();
    b.form->mnuPopup2Short[1]->trigger();
    EXPECT_EQ(b.texts(), (QStringList{r.question(1), r.question(1)}));
    EXPECT_TRUE(b.writes.log.isEmpty());
    EXPECT_EQ(shownShortcuts(*b.form), r.folders);
    EXPECT_EQ(b.form->browser().path(), b.dir.path());
}

TEST(Form1Shortcuts, RemovingFromAListStoredBeyondTenNeverOverflows)
{
    WindowBench b;
    QStringList folders;
    for (int i = 0; i < 12; ++i)
        folders.append(QStringLiteral("/gone/f%1").arg(i));
    storeShortcuts(b.store, folders);
    b.startIn({});
    b.form->mnuPopup2Short[2]->trigger();
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("9"));
    EXPECT_EQ(storedShortcuts(b.store), (QStringList{"/gone/f0", "/gone/f1", "/gone/f3", "/gone/f4", "/gone/f5",
                                                     "/gone/f6", "/gone/f7", "/gone/f8", "/gone/f9", ""}));
    EXPECT_EQ(shownShortcuts(*b.form).size(), 9);

    // The last shown one, then every other: the count never goes below 0.
    for (int i = 8; i >= 0; --i)
        b.form->mnuPopup2Short[std::size_t(i)]->trigger();
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("0"));
    EXPECT_TRUE(shownShortcuts(*b.form).isEmpty());
}

TEST(Form1Shortcuts, AFolderOnAVolumeThatIsNotReadyIsOfferedForRemoval)
{
    WindowBench b;
    const QString there = b.dir.createDir(QStringLiteral("there"));
    storeShortcuts(b.store, {there});
    b.volumes.list = QStringList{"/", b.dir.path()};
    b.startIn({});
    b.volumes.notReady = QStringList{b.dir.path()};
    b.dialogs.answers.push_back(platform::MsgButton::No);
    b.form->mnuPopup2Short[0]->trigger();
    EXPECT_EQ(b.texts(), QStringList{there + u"\r\nは、移動または削除されています。\r\n"
                                             u"ショートカットから削除してよろしいですか？"_qs});
    EXPECT_EQ(b.form->browser().path(), b.dir.path());
}

// A shortcut whose folder is there but can't be opened (may not be read, or
// fails to list): it is not called moved or deleted; the question says why
// and has No as its default, so Enter keeps the shortcut.
TEST(Form1Shortcuts, AFolderThatCannotBeOpenedIsNotCalledGone)
{
    const struct {
        const char* name;
        int sysErrno;
        const char16_t* cause;
    } cases[] = {
        {"denied", EACCES, u"フォルダのアクセス権を確認して下さい。"},
        {"ioError", EIO, u"パス名が無効です。"},
    };
    for (const auto& c : cases) {
        for (const bool yes : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (yes ? ", removed" : ", kept"));
            WindowBench b;
            const QString locked = b.dir.createDir(QStringLiteral("locked"));
            const QString other = b.dir.createDir(QStringLiteral("other"));
            storeShortcuts(b.store, {locked, other});
            b.startIn({});
            b.fs.listErrno = [&](const QString& d) { return d.startsWith(locked) ? c.sysErrno : 0; };
            if (yes)
                b.dialogs.answers.push_back(platform::MsgButton::Yes);
            b.form->mnuPopup2Short[0]->trigger();

            ASSERT_EQ(b.dialogs.shown.size(), 1);
            EXPECT_EQ(b.dialogs.shown[0].text, locked + u"\r\nを開くことができませんでした。\r\n"_qs
                                                   + QString::fromUtf16(c.cause)
                                                   + u"\r\nショートカットから削除してよろしいですか？"_qs);
            EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral("Tavil"));
            EXPECT_EQ(b.dialogs.shown[0].style, 36 + 256); // Yes/No, No the default
            EXPECT_EQ(b.form->browser().path(), b.dir.path());
            const QStringList left = yes ? QStringList{other} : QStringList{locked, other};
            EXPECT_EQ(shownShortcuts(*b.form), left);
            EXPECT_EQ(storedShortcuts(b.store).mid(0, left.size()), left);
        }
    }
}

// ---- New folder -------------------------------------------------------------

TEST(Form1NewFolder, PromptsAndWhatIsMade)
{
    const QString first = u"新しく作成するフォルダの名前を入力してください。"_qs;
    const QString invalid = u"フォルダ名には次の文字は使えません。\r\n        \\ / : , ; * ? \" < > |"_qs;
    const auto inUse = [](const QString& name) {
        return u"フォルダ名 "_qs + name + u" はすでに使われています。\r\n別の名前を入力してください。"_qs;
    };
    const auto tooLong = [](const QString& name) {
        return u"フォルダ「"_qs + name
               + u"」を作成できませんでした。\r\nフォルダ名が長すぎます。\r\n別の名前を入力してください。"_qs;
    };
    struct Case {
        const char* name;
        QStringList answers;
        QStringList prompts;
        QStringList after; // the open folder's entries
    };
    const Case cases[] = {
        {"madeAtOnce", {"new"}, {first}, {"new", "old"}},
        {"defaultNameMade", {u"新しいフォルダ"_qs}, {first}, {"old", u"新しいフォルダ"_qs}},
        {"emptyAnswerMakesNothing", {""}, {first}, {"old"}},
        {"existingAskedAgainThenEmpty", {"old", ""}, {first, inUse("old")}, {"old"}},
        {"existingAskedAgainThenNew", {"old", "old", "new"}, {first, inUse("old"), inUse("old")}, {"new", "old"}},
        {"pathRefused", {"a/b", ""}, {first, invalid}, {"old"}},
        {"upwardsRefused", {"../x", ""}, {first, invalid}, {"old"}},
        {"dotRefused", {".", ""}, {first, invalid}, {"old"}},
        {"dotDotRefused", {"..", ""}, {first, invalid}, {"old"}},
        {"controlCharacterRefused", {"a\nb", ""}, {first, invalid}, {"old"}},
        {"invalidThenGood", {"/", "good"}, {first, invalid}, {"good", "old"}},
        // Longer than a name may be: named and said so, then asked again.
        {"tooLongThenEmpty", {QString(256, u'x'), ""}, {first, tooLong(QString(256, u'x'))}, {"old"}},
        {"tooLongThenGood", {QString(300, u'あ'), "good"}, {first, tooLong(QString(300, u'あ'))}, {"good", "old"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        const QString open = b.dir.createDir(QStringLiteral("open"));
        b.dir.createFile(QStringLiteral("open/old"));
        b.store.write("Setting", "Dir", open);
        b.start();
        ASSERT_EQ(b.form->browser().path(), open);
        for (const QString& a : c.answers)
            b.dialogs.inputs.push_back(a);
        b.form->mnuPopup2MKDir->trigger();
        EXPECT_EQ(b.texts(), c.prompts);
        for (const ShownBox& box : b.dialogs.shown) {
            EXPECT_TRUE(box.isInput);
            EXPECT_EQ(box.title, u"ﾌｫﾙﾀﾞの新規作成"_qs);
        }
        EXPECT_TRUE(b.dialogs.inputs.empty()) << "every answer was asked for";
        EXPECT_EQ(QDir(open).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name), c.after);
        // Nothing beside or above the open folder.
        EXPECT_EQ(b.dir.list(), QStringList{"open"});
    }
}

TEST(Form1NewFolder, TheNewFolderShowsInTheFolderList)
{
    WindowBench b;
    b.startIn({});
    b.dialogs.inputs = {"made"};
    b.form->mnuPopup2MKDir->trigger();
    QStringList shown;
    for (int row = 0; row < b.form->browser().Dir1->count(); ++row)
        shown.append(b.form->browser().Dir1->entryPath(row));
    EXPECT_TRUE(shown.contains(b.dir.path() + "/made")) << shown.join('|').toStdString();
}

TEST(Form1NewFolder, AnOpenFolderThatHasGoneGivesTheErrorMessage)
{
    WindowBench b;
    const QString open = b.dir.createDir(QStringLiteral("open"));
    b.store.write("Setting", "Dir", open);
    b.start();
    ASSERT_TRUE(QDir(open).removeRecursively());
    b.dialogs.inputs = {"new"};
    b.form->mnuPopup2MKDir->trigger();
    ASSERT_EQ(b.dialogs.shown.size(), 2);
    EXPECT_EQ(b.dialogs.shown[1].text.section(u'\r', 0, 0), u"ｴﾗｰ番号  76 でｴﾗｰが発生しました。"_qs);
    EXPECT_EQ(b.dialogs.shown[1].title, u"ｴﾗｰ"_qs);
    EXPECT_EQ(b.dialogs.shown[1].style, 16);
    EXPECT_FALSE(QDir(open).exists());
}

TEST(Form1NewFolder, NumberedFoldersOpenTheirDialogOwnedByTheWindow)
{
    WindowBench b;
    b.startIn({});
    int runs = 0;
    b.form->execModal = [&](QDialog& dialog) {
        ++runs;
        EXPECT_NE(qobject_cast<mainwin::Form5*>(&dialog), nullptr);
        EXPECT_EQ(dialog.parentWidget(), b.form.get());
        return int(QDialog::Rejected);
    };
    b.form->mnuPopup2MKNumDir->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(b.form->findChildren<mainwin::Form5*>().isEmpty()) << "the dialog goes when it closed";
}

// ---- Help -------------------------------------------------------------------

TEST(Form1HelpMenu, WebsiteOpensTheHomePage)
{
    WindowBench b;
    b.start();
    b.form->mnuHelpWebsite->trigger();
    EXPECT_EQ(b.desktop.opened, QList<QUrl>{QUrl(QStringLiteral("https://tavil.example.org"))});
    EXPECT_TRUE(b.dialogs.shown.isEmpty());
}

TEST(Form1HelpMenu, WebsiteWithoutABrowserSaysSoAndNamesTheAddress)
{
    WindowBench b;
    b.start();
    b.desktop.openResult = false;
    b.form->mnuHelpWebsite->trigger();
    EXPECT_EQ(b.desktop.opened, QList<QUrl>{QUrl(QStringLiteral("https://tavil.example.org"))});
    ASSERT_EQ(b.dialogs.shown.size(), 1);
    EXPECT_EQ(b.dialogs.shown[0].text, u"ブラウザを起動できませんでした。\r\n次のページをブラウザで開いて下さい。\r\n"
                                       u"https://tavil.example.org"_qs);
    EXPECT_EQ(b.dialogs.shown[0].style, 16);
}

TEST(Form1HelpMenu, ManualEntriesOpenItsPagesOrTellItIsMissing)
{
    const bool installed = !mainwin::HelpManual::folder().isEmpty();
    struct Case {
        const char* name;
        QAction* Form1::*entry;
        QUrl url;
    };
    const Case cases[] = {
        {"contents", &Form1::mnuHelpHelp, mainwin::HelpManual::contentsUrl()},
        {"index", &Form1::mnuHelpSerch, mainwin::HelpManual::indexUrl()},
    };
    for (const Case& c : cases) {
        for (const bool browserWorks : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (browserWorks ? "" : ", no browser"));
            WindowBench b;
            b.start();
            b.desktop.openResult = browserWorks;
            ((*b.form).*c.entry)->trigger();
            if (installed && browserWorks) {
                EXPECT_EQ(b.desktop.opened, QList<QUrl>{c.url});
                EXPECT_TRUE(b.dialogs.shown.isEmpty());
                continue;
            }
            ASSERT_EQ(b.dialogs.shown.size(), 1);
            // Installed but not opened: no browser, and the page is named.
            EXPECT_EQ(b.dialogs.shown[0].text,
                      installed ? u"ブラウザを起動できませんでした。\r\n次のページをブラウザで開いて下さい。\r\n"_qs
                                      + c.url.toLocalFile()
                                : u"ヘルプファイルが見つかりません。"_qs);
            EXPECT_EQ(b.dialogs.shown[0].style, 16);
            EXPECT_FALSE(b.dialogs.shown[0].isInput);
        }
    }
}

TEST(Form1HelpMenu, WhatsThisModeAndTheControlsItExplains)
{
    WindowBench b;
    b.start();
    b.form->mnuHelpWhats->trigger();
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());

    Form1& f = *b.form;
    const QWidget* controls[] = {f.browser().Drive1, f.browser().Dir1,  f.browser().Combo1, f.browser().File1,
                                 f.lists().List1,    f.lists().List2,   f.lists().Check1,   f.lists().Command1,
                                 f.lists().Command2, f.lists().Command3, f.lists().Command5, f.Command4,
                                 f.Command12,        f.status().outputButton};
    for (const QWidget* w : controls)
        EXPECT_FALSE(w->whatsThis().isEmpty()) << w->objectName().toStdString();
}

// ---- The list editor's OK in the window -------------------------------------

// Runs the list editor through the window: drive does the user's part, then
// OK or Cancel.
struct EditorRun {
    WindowBench& b;
    int runs = 0;
    void arm(std::function<void(Form3&)> drive, bool ok)
    {
        b.form->execModal = [this, drive, ok](QDialog& dialog) {
            ++runs;
            auto* editor = qobject_cast<Form3*>(&dialog);
            EXPECT_NE(editor, nullptr);
            if (editor == nullptr)
                return int(QDialog::Rejected);
            EXPECT_EQ(dialog.parentWidget(), b.form.get());
            drive(*editor);
            (ok ? editor->Command4 : editor->Command5)->click();
            return dialog.result();
        };
    }
};

void add(Form3& editor, const QString& text)
{
    editor.Text1->setText(text);
    editor.Command1_Click();
}

TEST(Form1ListEditor, PatternsOkRebuildsThePatternBox)
{
    WindowBench b;
    b.store.write("FilePatt", "All", "1");
    b.store.write("FilePatt", "Patt0", "*.txt");
    b.startIn({QStringLiteral("a.txt"), QStringLiteral("b.jpg")});
    QComboBox* combo1 = b.form->browser().Combo1;
    combo1->setCurrentIndex(1);
    ASSERT_EQ(b.form->browser().allFiles(), QStringList{"a.txt"});
    QSignalSpy edited(b.form.get(), &Form1::storedListEdited);
    EditorRun run{b};
    run.arm(
        [](Form3& e) {
            add(e, "*.*");
            add(e, "*.jpg");
        },
        true);
    b.form->mnuSetPat->trigger();
    EXPECT_EQ(run.runs, 1);
    EXPECT_EQ(itemsOf(combo1), (QStringList{"*.*", "*.txt", "*.jpg"}));
    EXPECT_EQ(combo1->currentText(), QStringLiteral("*.*"));
    EXPECT_EQ(b.form->browser().allFiles(), (QStringList{"a.txt", "b.jpg"}));
    EXPECT_EQ(b.store.read("FilePatt", "All"), QStringLiteral("2"));
    EXPECT_EQ(edited.count(), 1);
}

TEST(Form1ListEditor, ShortcutsOkShowsExactlyTheEditedEntries)
{
    WindowBench b;
    storeShortcuts(b.store, {"/f0", "/f1", "/f2", "/f3", "/f4"});
    b.start();
    EditorRun run{b};
    run.arm(
        [](Form3& e) {
            EXPECT_FALSE(e.Command1->isVisibleTo(&e));
            e.List1->setCurrentRow(1);
            e.Command6->click(); // f0 f2 f3 f4
            e.List1->setCurrentRow(3);
            e.Command6->click(); // f0 f2 f3
            e.List1->setCurrentRow(2);
            e.Command2->click(); // f0 f3 f2
        },
        true);
    b.form->mnuSetShort->trigger();
    EXPECT_EQ(shownShortcuts(*b.form), (QStringList{"/f0", "/f3", "/f2"}));
    for (std::size_t i = 3; i < 10; ++i)
        EXPECT_FALSE(b.form->mnuPopup2Short[i]->isVisible()) << i;
    EXPECT_EQ(b.store.read("Dir", "All"), QStringLiteral("3"));
}

TEST(Form1ListEditor, ExtensionsOkRefillsBothExtensionBoxesOnce)
{
    WindowBench b;
    b.store.write("Exp", "All", "2");
    b.store.write("Exp", "Exp0", "txt");
    b.store.write("Exp", "Exp1", "jpg");
    b.start();
    QComboBox* text5 = b.form->tabs().Text5;
    QComboBox* text8 = b.form->tabs().Text8;
    QComboBox* combo4 = b.form->tabs().Combo4;
    const QStringList combo4Before = itemsOf(combo4);
    text5->setEditText("typed");
    EditorRun run{b};
    run.arm(
        [](Form3& e) {
            add(e, ".TXT");
            add(e, "txt"); // there already
            e.List1->setCurrentRow(2);
            e.Command2->click();
        },
        true);
    b.form->mnuSetKaku->trigger();
    const QStringList expected{"txt", "TXT", "jpg"};
    EXPECT_EQ(itemsOf(text5), expected);
    EXPECT_EQ(itemsOf(text8), expected);
    EXPECT_EQ(text5->currentText(), QString());
    EXPECT_EQ(text8->currentText(), QString());
    // The import tab's box keeps its list until the next start.
    EXPECT_EQ(itemsOf(combo4), combo4Before);
    b.form.reset();
    b.start();
    EXPECT_EQ(itemsOf(b.form->tabs().Combo4), (QStringList{u"ﾘｽﾄと同じ"_qs, "txt", "TXT", "jpg"}));
}

TEST(Form1ListEditor, SeparatorsOkRebuildsTheSeparatorBox)
{
    WindowBench b;
    b.start();
    QComboBox* combo3 = b.form->tabs().Combo3;
    combo3->setCurrentIndex(3);
    EditorRun run{b};
    run.arm(
        [](Form3& e) {
            add(e, "--");
            add(e, "##");
        },
        true);
    b.form->mnuSetDiv->trigger();
    EXPECT_EQ(itemsOf(combo3),
              (QStringList{u"改行"_qs, u"ﾀﾌﾞ"_qs, u"ｺﾛﾝ"_qs, u"ｾﾐｺﾛﾝ"_qs, u"ｶﾝﾏ"_qs, "--", "##"}));
    EXPECT_EQ(combo3->currentText(), u"改行"_qs);
}

TEST(Form1ListEditor, CancelChangesNeitherTheStoreNorTheWindow)
{
    struct Case {
        const char* name;
        QAction* Form1::*entry;
    };
    const Case cases[] = {
        {"patterns", &Form1::mnuSetPat},
        {"shortcuts", &Form1::mnuSetShort},
        {"extensions", &Form1::mnuSetKaku},
        {"separators", &Form1::mnuSetDiv},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        storeShortcuts(b.store, {"/f0", "/f1"});
        b.store.write("Exp", "All", "1");
        b.store.write("Exp", "Exp0", "txt");
        b.start();
        const auto before = b.store.sections;
        Form1& f = *b.form;
        const QStringList combo1 = itemsOf(f.browser().Combo1);
        const QStringList text5 = itemsOf(f.tabs().Text5);
        const QStringList combo3 = itemsOf(f.tabs().Combo3);
        QSignalSpy edited(&f, &Form1::storedListEdited);
        EditorRun run{b};
        run.arm(
            [](Form3& e) {
                e.List1->setCurrentRow(0);
                e.Command6->click();
                if (e.Text1->isVisibleTo(&e))
                    add(e, "zzz");
            },
            false);
        (f.*c.entry)->trigger();
        EXPECT_EQ(run.runs, 1);
        EXPECT_EQ(b.store.sections, before);
        EXPECT_EQ(itemsOf(f.browser().Combo1), combo1);
        EXPECT_EQ(itemsOf(f.tabs().Text5), text5);
        EXPECT_EQ(itemsOf(f.tabs().Combo3), combo3);
        EXPECT_EQ(shownShortcuts(f), (QStringList{"/f0", "/f1"}));
        EXPECT_EQ(edited.count(), 0);
    }
}

} // namespace
} // namespace tavil::test
