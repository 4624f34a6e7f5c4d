// A run from the main window works in the folder the browser shows, runs the
// operation the user confirmed, and lets nothing else run inside it.

#include "tests/mainwin/windowbench.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/form5.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "tests/common/fsprobe.h"
#include "tests/common/scopedmount.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>

namespace tavil::test {
namespace {

namespace S = support::settings;

const QString kNotListedAtStart =
    QStringLiteral(u"一覧を読み込んだときのフォルダではなくなっています。変更は行わずに一覧を読み込み直しました。\r");

// Starts the window in dir/top, the extension tab set to "dat".
void startInTop(WindowBench& b)
{
    b.store.write(S::Setting::Section, S::Setting::Dir, b.dir.file(QStringLiteral("top")));
    b.start();
    ASSERT_EQ(b.form->browser().path(), b.dir.file(QStringLiteral("top")));
    ASSERT_TRUE(b.form->tabs().selectTab(2));
    b.find<QComboBox>("Text8")->setEditText(QStringLiteral("dat"));
}

void moveAway(const QString& from, const QString& to)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(to).path()));
    ASSERT_TRUE(QDir().rename(from, to));
}

bool mountingPermitted()
{
    const TempDir probe;
    const ScopedMount mount(probe.path());
    return mount.mounted();
}

// The browser shows dir/top with a.txt; before the start button the folder
// at that path becomes another one. The start stops with the message naming
// the folder and the disk stays as it is; the browser then shows what is
// there now, so a second start works on the files the user sees.
TEST(Form1RunFolder, FolderReplacedUnderTheBrowser)
{
    struct Case {
        const char* name;
        bool needsMount;
        bool mountedWhenListed;
        // After the listing; may lay a mount over top.
        std::function<void(WindowBench& b, const QString& top, std::unique_ptr<ScopedMount>& mount)> swap;
        QStringList expected;      // the disk below dir, mounts gone
        QStringList filesAfter;    // File1 after the refusal
        QStringList secondRun;     // the disk after a second start ({}: no second start)
    };
    const Case cases[] = {
        {"replaced", false, false,
         [](WindowBench& b, const QString& top, std::unique_ptr<ScopedMount>&) {
             moveAway(top, b.dir.file(QStringLiteral("top.old")));
             b.dir.createFile(QStringLiteral("top/a.txt"), "other");
         },
         {"top.old/a.txt=listed", "top/a.txt=other"},
         {"a.txt"},
         {"top.old/a.txt=listed", "top/a.dat=other"}},
        {"removed", false, false,
         [](WindowBench& b, const QString& top, std::unique_ptr<ScopedMount>&) {
             moveAway(top, b.dir.file(QStringLiteral("away/top")));
         },
         {"away/top/a.txt=listed"},
         {},
         {}},
        {"mountedOver", true, false,
         [](WindowBench&, const QString& top, std::unique_ptr<ScopedMount>& mount) {
             mount = std::make_unique<ScopedMount>(top);
             ASSERT_TRUE(mount->mounted());
             QFile f(top + QStringLiteral("/a.txt"));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("mounted");
         },
         {"top/a.txt=listed"},
         {"a.txt"},
         {}},
        {"unmounted", true, true,
         [](WindowBench&, const QString&, std::unique_ptr<ScopedMount>& mount) { mount->unmount(); },
         {"top/a.txt=hidden"},
         {"a.txt"},
         {}},
    };
    const bool canMount = mountingPermitted();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsMount && !canMount) {
            std::cout << "[  SKIPPED ] " << c.name << ": mounting is not permitted here\n";
            continue;
        }
        WindowBench b;
        const QString top = b.dir.file(QStringLiteral("top"));
        std::unique_ptr<ScopedMount> mount;
        if (c.mountedWhenListed) {
            // The file under the mount point is one the user never saw.
            b.dir.createFile(QStringLiteral("top/a.txt"), "hidden");
            mount = std::make_unique<ScopedMount>(top);
            ASSERT_TRUE(mount->mounted());
        }
        b.dir.createFile(QStringLiteral("top/a.txt"), "listed");
        startInTop(b);
        ASSERT_EQ(b.form->browser().allFiles(), QStringList{QStringLiteral("a.txt")});
        c.swap(b, top, mount);

        QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);

        ASSERT_EQ(b.dialogs.shown.size(), 2) << b.texts().join(u'|').toStdString();
        EXPECT_EQ(b.dialogs.shown[1].text, kNotListedAtStart + top);
        EXPECT_EQ(b.dialogs.shown[1].style, 16);
        EXPECT_EQ(b.form->browser().allFiles(), c.filesAfter);
        EXPECT_TRUE(b.find<QPushButton>("Command4")->isEnabled());
        if (mount && mount->mounted()) {
            EXPECT_EQ(treeOf(top), QStringList{QStringLiteral("a.txt=mounted")});
            mount->unmount();
        }
        EXPECT_EQ(treeOf(b.dir.path()), c.expected);

        if (!c.secondRun.isEmpty()) {
            b.dialogs.shown.clear();
            QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
            EXPECT_EQ(b.dialogs.shown.size(), 1) << b.texts().join(u'|').toStdString();
            EXPECT_EQ(treeOf(b.dir.path()), c.secondRun);
        }
    }
}

const QString kNotListed = QStringLiteral(u"一覧を読み込んだときのフォルダではなくなっています。");
const QString kPicksEmptied = QStringLiteral(u"選択したファイルの一覧は空にしました。");
const QString kNothingPicked = QStringLiteral(u"ファイルが選択されていません。");

// Select mode on and every file of the open folder picked.
void pickAll(WindowBench& b)
{
    b.form->lists().Check1->click();
    ASSERT_TRUE(b.form->lists().selectMode());
    b.find<QPushButton>("Command5")->click();
    ASSERT_GT(b.form->lists().gWorkList()->count(), 0);
}

int pickedCount(WindowBench& b)
{
    return b.form->lists().List1->count() + b.form->lists().List2->count();
}

// Another folder takes the listed one's place under the same names.
void replaceTop(WindowBench& b)
{
    moveAway(b.dir.file(QStringLiteral("top")), b.dir.file(QStringLiteral("top.old")));
    b.dir.createFile(QStringLiteral("top/a.txt"), "other");
    b.dir.createFile(QStringLiteral("top/s1/b.txt"), "other");
}

// Files picked in the listed folder belong to it. However the other folder
// at its path is found (the start's look, the walk's look at the top folder,
// the File menu's refresh), the selected-files lists are emptied and the
// message says so; a second start has nothing picked and renames nothing of
// the folder nobody picked from.
TEST(Form1RunFolder, PicksOfAReplacedFolderAreDropped)
{
    const struct {
        const char* name;
        bool walk;
        std::function<void(WindowBench& b)> find; // replaces top and lets the window find it
        QString told;                              // between the first sentence and the picks' one
    } cases[] = {
        {"start", false,
         [](WindowBench& b) {
             replaceTop(b);
             QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
         },
         QStringLiteral(u"変更は行わずに一覧を読み込み直しました。")},
        {"walk", true,
         [](WindowBench& b) {
             // During the folder search, after the start's own look.
             QTimer::singleShot(0, b.form.get(), [&b] { replaceTop(b); });
             QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
         },
         QStringLiteral(u"このフォルダとその中のフォルダは変更しませんでした。")},
        {"refresh", false,
         [](WindowBench& b) {
             replaceTop(b);
             b.form->mnuFileRenew->trigger();
         },
         QStringLiteral(u"一覧を読み込み直しました。")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        b.dir.createFile(QStringLiteral("top/a.txt"), "listed");
        b.dir.createFile(QStringLiteral("top/s1/b.txt"), "listed");
        startInTop(b);
        pickAll(b);
        if (c.walk)
            b.form->tabs().chkSubDir->setChecked(true);
        const QString top = b.dir.file(QStringLiteral("top"));

        c.find(b);

        ASSERT_FALSE(b.dialogs.shown.isEmpty());
        // The walk names its folders with a closing "/".
        EXPECT_EQ(b.dialogs.shown.last().text,
                  kNotListed + c.told + kPicksEmptied + u'\r' + top + (c.walk ? QStringLiteral("/") : QString()))
            << b.texts().join(u'|').toStdString();
        EXPECT_EQ(b.dialogs.shown.last().style, 16);
        EXPECT_EQ(pickedCount(b), 0);
        EXPECT_EQ(b.form->browser().allFiles(), QStringList{QStringLiteral("a.txt")});
        const QStringList untouched{QStringLiteral("top.old/a.txt=listed"), QStringLiteral("top.old/s1/b.txt=listed"),
                                    QStringLiteral("top/a.txt=other"), QStringLiteral("top/s1/b.txt=other")};
        EXPECT_EQ(treeOf(b.dir.path()), untouched);
        if (c.walk)
            continue; // the next walk works in the folder now shown, as it should

        b.dialogs.shown.clear();
        QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
        EXPECT_EQ(b.texts(), QStringList{kNothingPicked});
        EXPECT_EQ(treeOf(b.dir.path()), untouched);
    }
}

// The refresh of a folder that is still the listed one tells nothing and
// keeps what was picked; a replaced folder is told without the picks'
// sentence when nothing was picked.
TEST(Form1RunFolder, RefreshTellsOnlyOfAnotherFolder)
{
    WindowBench b;
    b.dir.createFile(QStringLiteral("top/a.txt"), "listed");
    startInTop(b);
    pickAll(b);
    b.dir.createFile(QStringLiteral("top/c.txt"), "new");
    b.form->mnuFileRenew->trigger();
    EXPECT_TRUE(b.dialogs.shown.isEmpty()) << b.texts().join(u'|').toStdString();
    EXPECT_EQ(b.form->browser().allFiles(), (QStringList{QStringLiteral("a.txt"), QStringLiteral("c.txt")}));
    EXPECT_EQ(b.form->lists().workList(), QStringList{QStringLiteral("a.txt")});

    b.find<QPushButton>("Command3")->click(); // the lists cleared by hand
    replaceTop(b);
    b.form->mnuFileRenew->trigger();
    EXPECT_EQ(b.texts(), QStringList{kNotListed + QStringLiteral(u"一覧を読み込み直しました。\r")
                                     + b.dir.file(QStringLiteral("top"))});
    b.dialogs.shown.clear();
    b.form->mnuFileRenew->trigger();
    EXPECT_TRUE(b.dialogs.shown.isEmpty()) << "the folder now shown is the listed one";
}

// The program's own folders made in the open folder change what the file
// system tells of it (on an overlay a copy-up gives it a new birth time;
// the test's file system moves its identity): the browser takes the new
// identity as the listed folder's, so the picked files are kept and the
// next start renames them. A folder that had been replaced before the new
// folder was made is still told, and its picks dropped.
TEST(Form1RunFolder, OwnNewFoldersKeepLaterRunsWorking)
{
    const auto newFolder = [](WindowBench& b) {
        b.dialogs.inputs = {QStringLiteral("new")};
        b.form->mnuPopup2MKDir->trigger();
        EXPECT_TRUE(QFileInfo(b.dir.file(QStringLiteral("top/new"))).isDir());
    };
    const auto numberedFolders = [](WindowBench& b) {
        b.form->execModal = [&b](QDialog& dialog) {
            auto* numbered = qobject_cast<mainwin::Form5*>(&dialog);
            EXPECT_NE(numbered, nullptr);
            if (numbered != nullptr) {
                numbered->Text4->setText(QStringLiteral("new"));
                EXPECT_TRUE(numbered->Command2_Click()) << b.texts().join(u'|').toStdString();
            }
            return int(QDialog::Accepted);
        };
        b.form->mnuPopup2MKNumDir->trigger();
        EXPECT_FALSE(QDir(b.dir.file(QStringLiteral("top"))).entryList({QStringLiteral("new*")}, QDir::Dirs).isEmpty());
    };
    const struct {
        const char* name;
        bool replacedBefore;
        std::function<void(WindowBench& b)> make;
    } cases[] = {
        {"newFolder", false, newFolder},
        {"numberedFolders", false, numberedFolders},
        {"newFolderInAReplacedFolder", true, newFolder},
        {"numberedFoldersInAReplacedFolder", true, numberedFolders},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        b.fs.copyUpOnMakeDir = true;
        b.dir.createFile(QStringLiteral("top/a.txt"), "listed");
        b.dir.createFile(QStringLiteral("top/s1/b.txt"), "listed");
        startInTop(b);
        pickAll(b);
        if (c.replacedBefore)
            replaceTop(b);

        c.make(b);

        QStringList told;
        for (const ShownBox& box : b.dialogs.shown)
            if (!box.isInput)
                told.append(box.text);
        b.dialogs.shown.clear();
        QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
        if (c.replacedBefore) {
            EXPECT_EQ(told, QStringList{kNotListed + QStringLiteral(u"一覧を読み込み直しました。") + kPicksEmptied + u'\r'
                                        + b.dir.file(QStringLiteral("top"))});
            EXPECT_EQ(b.texts(), QStringList{kNothingPicked});
            EXPECT_EQ(treeOf(b.dir.path()),
                      (QStringList{QStringLiteral("top.old/a.txt=listed"), QStringLiteral("top.old/s1/b.txt=listed"),
                                   QStringLiteral("top/a.txt=other"), QStringLiteral("top/s1/b.txt=other")}));
        } else {
            EXPECT_TRUE(told.isEmpty()) << told.join(u'|').toStdString();
            EXPECT_EQ(b.dialogs.shown.size(), 1) << b.texts().join(u'|').toStdString(); // the question only
            EXPECT_EQ(treeOf(b.dir.path()),
                      (QStringList{QStringLiteral("top/a.dat=listed"), QStringLiteral("top/s1/b.txt=listed")}));
        }
    }
}

// A tab picked while the sub-folders are searched (the tab strip stays
// usable then) does not change what runs: the confirmed extension change
// renames every file, and no file gets the edit tab's text.
TEST(Form1RunFolder, TabPickedDuringTheSearchDoesNotChangeTheOperation)
{
    WindowBench b;
    for (const char* f : {"top/a.txt", "top/s1/b.txt", "top/s2/c.txt"})
        b.dir.createFile(QString::fromUtf8(f), "x");
    startInTop(b);
    // The edit tab holds an edit that would show, were it run.
    ASSERT_TRUE(b.form->tabs().selectTab(3));
    b.find<QRadioButton>("Option8(0)")->click();
    b.find<QLineEdit>("Text9")->setText(QStringLiteral("1"));
    b.find<QComboBox>("Text10")->setEditText(QStringLiteral("X"));
    ASSERT_TRUE(b.form->tabs().selectTab(2));
    b.form->tabs().chkSubDir->setChecked(true);
    // The first pause of the run is in the folder search.
    QTimer::singleShot(0, b.form.get(), [&] { b.form->tabs().selectTab(3); });

    QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);

    EXPECT_EQ(b.form->tabs().selectedIndex(), 3); // the pick did happen
    EXPECT_EQ(treeOf(b.dir.path()),
              QStringList({QStringLiteral("top/a.dat=x"), QStringLiteral("top/s1/b.dat=x"),
                           QStringLiteral("top/s2/c.dat=x")}))
        << b.texts().join(u'|').toStdString();
}

// The Quick window runs operations of its own: during a run its menu entry
// is locked with the rest, and a trigger that still arrives opens nothing.
TEST(Form1RunFolder, QuickWindowEntryIsLockedDuringARun)
{
    WindowBench b;
    QStringList names;
    for (int i = 0; i < 60; ++i)
        names.append(QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0')));
    b.startIn(names);
    int opened = 0;
    b.form->setQuickWindowOpener([&] { ++opened; });
    b.form->tabs().selectTab(2);
    b.find<QComboBox>("Text8")->setEditText(QStringLiteral("dat"));
    // Acts once the run's progress shows, inside one of its pauses.
    b.store.write(S::ActionSetting::Section, S::ActionSetting::PrBar, QStringLiteral("2"));
    bool acted = false;
    bool enabledDuringRun = true;
    QObject::connect(b.form->status().PBar, &QProgressBar::valueChanged, b.form.get(), [&](int v) {
        if (acted || v < 10)
            return;
        acted = true;
        QTimer::singleShot(0, b.form.get(), [&] {
            enabledDuringRun = b.form->mnuFileQuick->isEnabled();
            b.form->mnuFileQuick->trigger();
        });
    });

    QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);

    EXPECT_TRUE(acted);
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(b.dir.list().filter(QStringLiteral(".dat")).size(), 60);
    // After the run the entry works again.
    EXPECT_TRUE(b.form->mnuFileQuick->isEnabled());
    b.form->mnuFileQuick->trigger();
    EXPECT_EQ(opened, 1);
}

} // namespace
} // namespace tavil::test
