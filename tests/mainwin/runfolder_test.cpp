// A run from the main window works in the folder the browser shows, runs the
// operation the user confirmed, and lets nothing else run inside it.

#include "tests/mainwin/windowbench.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "tests/common/fsprobe.h"
#include "tests/common/scopedmount.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
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
