#include "tests/mainwin/windowbench.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/picturebox.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "mainwin/twips.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/fsprobe.h"
#include "tests/common/guifakes.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace tavil::test {
namespace {

using mainwin::Form1;
namespace S = support::settings;

// The names of a folder, sorted.
QStringList entriesOf(const TempDir& d)
{
    return d.list();
}

TEST(Form1Startup, EmptyStoreGivesTheDesignedWindow)
{
    WindowBench b;
    b.start();
    Form1& f = *b.form;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Tavil Ver 1.0"));
    const QRect g = f.geometryTwips();
    EXPECT_EQ(g.topLeft(), QPoint(0, 0));
    EXPECT_EQ(g.width(), 6150);
    EXPECT_NEAR(g.height(), 6550, 15); // the minimum height, to the pixel
    EXPECT_EQ(f.tabs().selectedIndex(), 1);
    EXPECT_EQ(f.browser().path(), b.home.path());
    QComboBox* combo1 = b.find<QComboBox>("Combo1");
    ASSERT_EQ(combo1->count(), 2); // "*.*" and the one empty pattern the count defaults to
    EXPECT_EQ(combo1->itemText(0), QStringLiteral("*.*"));
    EXPECT_EQ(combo1->itemText(1), QString());
    EXPECT_EQ(combo1->currentText(), QStringLiteral("*.*"));
    EXPECT_TRUE(b.dialogs.shown.isEmpty());
    EXPECT_FALSE(b.find<QPushButton>("Command12")->isVisibleTo(&f));
    EXPECT_TRUE(f.options().logFile);
}

TEST(Form1Startup, StoredGeometryAndItsFallbacks)
{
    const QSize screen(mainwin::twips::fromPx(QApplication::primaryScreen()->geometry().width()),
                       mainwin::twips::fromPx(QApplication::primaryScreen()->geometry().height()));
    struct Case {
        const char* name;
        QString top, left, width, height;
        QRect expected;
    };
    const Case cases[] = {
        {"used", "300", "450", "7500", "8250", QRect(450, 300, 7500, 8250)},
        {"tooLargeOrNegative", "45000", "-1", "7500", "8250", QRect(0, 0, 7500, 8250)},
        {"beyondTheScreen", "300", "450", QString::number(screen.width() + 15), "8250", QRect(450, 300, 6150, 8250)},
        {"theScreenItselfIsKept", "0", "0", QString::number(screen.width()), "8250", QRect(0, 0, screen.width(), 8250)},
        {"belowTheMinimumIsRaised", "0", "0", "3000", "3000", QRect(0, 0, 6150, 6555)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        b.store.write(S::Setting::Section, S::Setting::Top, c.top);
        b.store.write(S::Setting::Section, S::Setting::Left, c.left);
        b.store.write(S::Setting::Section, S::Setting::Width, c.width);
        b.store.write(S::Setting::Section, S::Setting::Height, c.height);
        b.start();
        const QRect g = b.form->geometryTwips();
        EXPECT_EQ(g.left(), c.expected.left());
        EXPECT_EQ(g.top(), c.expected.top());
        EXPECT_NEAR(g.width(), c.expected.width(), 15);
        EXPECT_NEAR(g.height(), c.expected.height(), 15);
        EXPECT_TRUE(b.dialogs.shown.isEmpty());
    }
}

TEST(Form1Startup, CommandLineAndBadStoredValues)
{
    {
        SCOPED_TRACE("-p resets the place, keeps the size");
        WindowBench b;
        b.store.write(S::Setting::Section, S::Setting::Top, QStringLiteral("600"));
        b.store.write(S::Setting::Section, S::Setting::Left, QStringLiteral("600"));
        b.store.write(S::Setting::Section, S::Setting::Width, QStringLiteral("7500"));
        b.start(QStringLiteral("-p"));
        EXPECT_EQ(b.form->geometryTwips().topLeft(), QPoint(0, 0));
        EXPECT_NEAR(b.form->geometryTwips().width(), 7500, 15);
        EXPECT_EQ(b.store.read(S::Setting::Section, S::Setting::Top), QStringLiteral("0"));
    }
    {
        SCOPED_TRACE("a height that is no number is reported, the rest still loads");
        WindowBench b;
        b.store.write(S::Setting::Section, S::Setting::Height, QStringLiteral("abc"));
        b.store.write(S::Setting::Section, S::Setting::TabStrip, QStringLiteral("3"));
        b.start();
        ASSERT_EQ(b.dialogs.shown.size(), 1);
        EXPECT_EQ(b.dialogs.shown[0].text, QStringLiteral(u"ｴﾗｰ番号  13 でｴﾗｰが発生しました。\r型が一致しません。"));
        EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral(u"ｴﾗｰ"));
        EXPECT_EQ(b.dialogs.shown[0].style, 48);
        EXPECT_EQ(b.form->tabs().selectedIndex(), 3);
    }
    {
        SCOPED_TRACE("a tab outside 1 to 8 is reported");
        WindowBench b;
        b.store.write(S::Setting::Section, S::Setting::TabStrip, QStringLiteral("9"));
        b.start();
        ASSERT_EQ(b.dialogs.shown.size(), 1);
        EXPECT_EQ(b.dialogs.shown[0].text,
                  QStringLiteral(u"ｴﾗｰ番号  380 でｴﾗｰが発生しました。\rプロパティの値が不正です。"));
        EXPECT_EQ(b.form->tabs().selectedIndex(), 1);
    }
    {
        SCOPED_TRACE("a stored folder that is gone opens the program folder silently");
        WindowBench b;
        b.store.write(S::Setting::Section, S::Setting::Dir, b.dir.file(QStringLiteral("gone")));
        b.start();
        EXPECT_EQ(b.form->browser().path(), b.home.path());
        EXPECT_TRUE(b.dialogs.shown.isEmpty());
    }
}

// A stored start folder that is there but can't be opened is told as the
// file browser tells any folder it can't open: the folder named, a refusal
// to read it as such (never as a failure to write), the program's folder
// opened instead. As root every folder may be read: the refusal comes from
// the file system's seam.
TEST(Form1Startup, StartFolderThatCannotBeOpenedIsToldAsTheBrowserTellsIt)
{
    const struct {
        const char* name;
        int sysErrno;
        QString title;
        QString cause; // after the folder ("": the generic text comes first)
    } cases[] = {
        {"denied", EACCES, QStringLiteral(u"フォルダの読み取りエラー"),
         QStringLiteral(u"\r\nを開くことができませんでした。\r\nフォルダのアクセス権を確認して下さい。")},
        {"notPermitted", EPERM, QStringLiteral(u"フォルダの読み取りエラー"),
         QStringLiteral(u"\r\nを開くことができませんでした。\r\nフォルダのアクセス権を確認して下さい。")},
        {"ioError", EIO, QStringLiteral(u"ｴﾗｰ"), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        const QString locked = b.dir.createDir(QStringLiteral("locked"));
        b.dir.createFile(QStringLiteral("locked/a.txt"));
        b.fs.listErrno = [&](const QString& d) { return d.startsWith(locked) ? c.sysErrno : 0; };
        b.store.write(S::Setting::Section, S::Setting::Dir, locked);
        b.start();

        EXPECT_EQ(b.form->browser().path(), b.home.path());
        ASSERT_EQ(b.dialogs.shown.size(), 1) << b.texts().join(u'|').toStdString();
        const QString want = c.cause.isEmpty()
                                 ? QStringLiteral(u"ｴﾗｰ番号  75 でｴﾗｰが発生しました。\rパス名が無効です。\r") + locked
                                 : locked + c.cause;
        EXPECT_EQ(b.dialogs.shown[0].text, want);
        EXPECT_EQ(b.dialogs.shown[0].title, c.title);
        EXPECT_EQ(b.dialogs.shown[0].style, 48);
    }
}

TEST(Form1Shutdown, SavesWhereAndHowTheWindowWas)
{
    WindowBench b;
    b.startIn({QStringLiteral("a.txt")});
    QSignalSpy ended(b.form.get(), &Form1::ended);
    b.form->setGeometryTwips(300, 450, 7500, 8250);
    b.form->tabs().selectTab(3);
    b.form->close();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(b.store.read(S::Setting::Section, S::Setting::Top), QStringLiteral("450"));
    EXPECT_EQ(b.store.read(S::Setting::Section, S::Setting::Left), QStringLiteral("300"));
    EXPECT_EQ(b.store.read(S::Setting::Section, S::Setting::Dir), b.dir.path());
    EXPECT_EQ(b.store.read(S::Setting::Section, S::Setting::TabStrip), QStringLiteral("3"));

    // And the next start comes back there.
    WindowBench again;
    again.store.sections = b.store.sections;
    again.start();
    EXPECT_EQ(again.form->tabs().selectedIndex(), 3);
    EXPECT_EQ(again.form->browser().path(), b.dir.path());
    EXPECT_EQ(again.form->geometryTwips().topLeft(), QPoint(300, 450));
}

// One run of each operation, started with the start button over a
// temporary folder; the files are checked on disk afterwards.
struct RunCase {
    const char* name;
    int tab;
    QStringList files;
    std::function<void(WindowBench&)> fill; // the tab's controls as a user sets them
    QStringList expected;                   // the folder's names afterwards
    std::function<void(WindowBench&)> check;
};

TEST(Form1Run, EveryOperationFromTheStartButton)
{
    const QDateTime stamp(QDate(2003, 3, 31), QTime(9, 5, 7));
    const RunCase cases[] = {
        {"numbering", 1, {"a.txt", "b.txt"},
         [](WindowBench& b) {
             b.find<QLineEdit>("Text1")->setText("_");
             b.find<QLineEdit>("Text2")->setText("1");
             b.find<QLineEdit>("Text6")->setText("3");
         },
         {"a_001.txt", "b_002.txt"}, nullptr},
        {"extension", 2, {"a.txt", "b.txt"},
         [](WindowBench& b) { b.find<QComboBox>("Text8")->setEditText("dat"); },
         {"a.dat", "b.dat"}, nullptr},
        {"edit", 3, {"abc.txt"},
         [](WindowBench& b) {
             b.find<QRadioButton>("Option8(0)")->click();
             b.find<QLineEdit>("Text9")->setText("2");
             b.find<QComboBox>("Text10")->setEditText("X");
         },
         {"aXbc.txt"}, nullptr},
        {"conversion", 4, {"abc.txt"},
         [](WindowBench& b) {
             b.find<QCheckBox>("Check7")->click();
             b.find<QRadioButton>("Option4(1)")->click();
         },
         {"ABC.txt"}, nullptr},
        {"timeStamps", 5, {"a.txt"},
         [stamp](WindowBench& b) {
             b.find<QCheckBox>("Check3")->click();
             b.find<QDateEdit>("DTPicker3")->setDate(stamp.date());
             b.find<QTimeEdit>("DTPicker4")->setTime(stamp.time());
         },
         {"a.txt"},
         [stamp](WindowBench& b) {
             EXPECT_EQ(QFileInfo(b.dir.file("a.txt")).lastModified(), stamp);
         }},
        {"attributes", 6, {"a.txt"},
         [](WindowBench& b) { b.find<QCheckBox>("Check11(0)")->click(); },
         {"a.txt"},
         [](WindowBench& b) {
             EXPECT_EQ(raw::lstatOf(b.dir.root() + "/a.txt").st_mode & 0222, 0u);
             ::chmod((b.dir.root() + "/a.txt").constData(), 0644);
         }},
        {"import", 7, {"a.txt", "b.txt"},
         [](WindowBench& b) {
             b.form->tabs().List4->addItems({"first", "second"});
         },
         {"first.txt", "second.txt"}, nullptr},
        {"copy", 8, {"a.txt"},
         [](WindowBench& b) {
             b.desktop.folders.push_back(b.data.createDir("out"));
             b.form->status().outputButton->click();
         },
         {"a.txt"},
         [](WindowBench& b) { EXPECT_EQ(b.data.read("out/a.txt"), QByteArray("a.txt")); }},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        b.startIn(c.files);
        ASSERT_TRUE(b.form->tabs().selectTab(c.tab));
        c.fill(b);
        QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
        EXPECT_EQ(entriesOf(b.dir), c.expected) << b.texts().join(u'|').toStdString();
        if (c.check)
            c.check(b);
        // The confirmation names the folder; the result is in the status bar.
        ASSERT_FALSE(b.dialogs.shown.isEmpty());
        EXPECT_EQ(b.dialogs.shown[0].text,
                  b.dir.path() + QStringLiteral(u"\r\nの変更を開始します。よろしいですか？"));
        EXPECT_EQ(b.form->status().panelText(2), QStringLiteral(u"ｴﾗｰ： 0件"));
        EXPECT_TRUE(b.find<QPushButton>("Command4")->isEnabled());
        EXPECT_FALSE(b.find<QPushButton>("Command12")->isVisibleTo(b.form.get()));
    }
}

// Acts once the progress display of a run reaches a value, the way a user's
// click arrives while the run lets the window work.
void atProgress(WindowBench& b, int value, std::function<void()> act)
{
    b.store.write(S::ActionSetting::Section, S::ActionSetting::PrBar, QStringLiteral("2"));
    QProgressBar* bar = b.form->status().PBar;
    auto done = std::make_shared<bool>(false);
    QObject::connect(bar, &QProgressBar::valueChanged, b.form.get(), [done, value, act](int v) {
        if (!*done && v >= value) {
            *done = true;
            QTimer::singleShot(0, act);
        }
    });
}

QStringList manyFiles(int n)
{
    QStringList names;
    for (int i = 0; i < n; ++i)
        names.append(QStringLiteral("f%1.txt").arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

TEST(Form1Run, AbortDuringARunStopsBetweenFiles)
{
    WindowBench b;
    b.startIn(manyFiles(200));
    b.form->tabs().selectTab(2);
    b.find<QComboBox>("Text8")->setEditText("dat");
    bool lockedDuringRun = false;
    atProgress(b, 50, [&] {
        lockedDuringRun = !b.find<QPushButton>("Command4")->isEnabled() && b.find<QPushButton>("Command12")->isVisible()
                          && !b.find<QComboBox>("Combo1")->isEnabled();
        QTest::mouseClick(b.find<QPushButton>("Command12"), Qt::LeftButton);
    });
    b.form->show();
    QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);

    EXPECT_TRUE(lockedDuringRun);
    EXPECT_TRUE(b.texts().contains(QStringLiteral(u"ユーザーによって中止されました。")));
    const QStringList names = entriesOf(b.dir);
    const qsizetype renamed = names.filter(QStringLiteral(".dat")).size();
    EXPECT_GE(renamed, 50);
    EXPECT_LT(renamed, 200);
    EXPECT_EQ(renamed % 20, 0) << "the abort acts between two groups of 20 files";
    EXPECT_EQ(names.size(), 200);
    EXPECT_FALSE(b.form->running());
    EXPECT_TRUE(b.find<QPushButton>("Command4")->isEnabled());
    b.form->hide();
}

// A run that stops early (the abort button, an error that ends the loop, a
// parameter refused before any file) still ends with the folder read again:
// the file list offers the names on disk, so the next run finds the files
// renamed before the stop. The selected-files list keeps what the user
// chose. The folder is read once for it, files and folders together.
TEST(Form1Run, StoppedRunShowsTheNamesOnDiskAndKeepsTheSelection)
{
    struct Case {
        const char* name;
        std::function<void(WindowBench&)> arrange;
        const char* message; // part of the message that tells the stop
        bool someRenamed;
    };
    const Case cases[] = {
        {"abort",
         [](WindowBench& b) {
             atProgress(b, 50, [&b] { QTest::mouseClick(b.find<QPushButton>("Command12"), Qt::LeftButton); });
         },
         "ユーザーによって中止されました。", true},
        {"errorThatStops",
         [](WindowBench& b) {
             b.fs.injectErrno = [](const char* call, const QString& path) {
                 return std::string_view(call) == "renameat2" && path.endsWith(QStringLiteral("/f120.dat")) ? EROFS
                                                                                                            : 0;
             };
         },
         "ライトプロテクト", true},
        {"refusedParameter",
         [](WindowBench& b) {
             b.find<QComboBox>("Text8")->setEditText(QString());
             // Changed behind the window's back: the end of the run shows it.
             b.dir.createFile(QStringLiteral("late.txt"));
             ASSERT_TRUE(QFile::remove(b.dir.file(QStringLiteral("f199.txt"))));
         },
         "「拡張子」が入力されていません。", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        b.startIn(manyFiles(200));
        b.form->tabs().selectTab(2);
        b.find<QComboBox>("Text8")->setEditText("dat");
        b.form->lists().Check1->click();
        b.form->lists().Command5_Click();
        const QStringList chosen = b.form->lists().workList();
        ASSERT_EQ(chosen.size(), 200);
        c.arrange(b);
        b.form->show();
        b.fs.listed.clear();
        QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
        b.form->hide();
        b.fs.injectErrno = nullptr;

        EXPECT_TRUE(b.texts().join(u'|').contains(QString::fromUtf8(c.message))) << b.texts().join(u'|').toStdString();
        const QStringList onDisk = entriesOf(b.dir);
        const qsizetype renamed = onDisk.filter(QStringLiteral(".dat")).size();
        EXPECT_EQ(renamed > 0, c.someRenamed) << renamed;
        EXPECT_LT(renamed, 200);
        QStringList shown = b.form->browser().allFiles();
        shown.sort();
        EXPECT_EQ(shown, onDisk);
        EXPECT_EQ(b.form->lists().workList(), chosen);
        EXPECT_EQ(b.fs.listed, QStringList{b.dir.path()}) << "one reading of the folder at the end";
    }
}

// A run that ends normally reads the folder once at its end as well; after a
// walk through sub-folders, going back to the top folder is that reading.
TEST(Form1Run, EndOfARunReadsTheFolderOnce)
{
    {
        SCOPED_TRACE("one folder");
        WindowBench b;
        b.startIn({"a.txt", "b.txt"});
        b.dir.createDir(QStringLiteral("sub"));
        b.form->tabs().selectTab(2);
        b.find<QComboBox>("Text8")->setEditText("dat");
        b.fs.listed.clear();
        QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
        EXPECT_EQ(entriesOf(b.dir), (QStringList{"a.dat", "b.dat", "sub"}));
        EXPECT_EQ(b.form->browser().allFiles(), (QStringList{"a.dat", "b.dat"}));
        EXPECT_EQ(b.fs.listed, QStringList{b.dir.path()});
        EXPECT_EQ(b.form->browser().Dir1->count(), b.form->browser().Dir1->currentRow() + 2) << "sub is listed";
    }
    {
        SCOPED_TRACE("with sub-folders");
        WindowBench b;
        b.dir.createDir(QStringLiteral("sub"));
        b.dir.createFile(QStringLiteral("sub/c.txt"));
        b.startIn({"a.txt"});
        b.form->tabs().selectTab(2);
        b.find<QComboBox>("Text8")->setEditText("dat");
        b.form->tabs().chkSubDir->click();
        b.fs.listed.clear();
        QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
        EXPECT_TRUE(b.dir.exists(QStringLiteral("sub/c.dat")));
        EXPECT_EQ(b.form->browser().path(), b.dir.path());
        EXPECT_EQ(b.form->browser().allFiles(), QStringList{"a.dat"});
        // The walk enters sub last; the top folder is read once after it.
        ASSERT_GE(b.fs.listed.size(), 2);
        EXPECT_EQ(b.fs.listed.mid(b.fs.listed.size() - 2), (QStringList{b.dir.file("sub"), b.dir.path()}));
    }
}

// What the status bar shows: both panels' texts and the progress area.
struct StatusBarLook {
    QString panel1, panel2;
    bool pictureShown = false, barShown = false;
    int drawnValue = 0, barValue = 0;
    bool operator==(const StatusBarLook&) const = default;
};

void PrintTo(const StatusBarLook& l, std::ostream* os)
{
    *os << "panel1 \"" << l.panel1.toStdString() << "\" panel2 \"" << l.panel2.toStdString() << "\" picture "
        << l.pictureShown << " bar " << l.barShown << " values " << l.drawnValue << "/" << l.barValue;
}

StatusBarLook lookOf(mainwin::StatusArea& s)
{
    return {s.panelText(1), s.panelText(2), !s.Picture1->isHidden(), !s.PBar->isHidden(), s.gProgressBar.value(),
            s.PBar->value()};
}

// A start refused before the run begins leaves the status bar as the last run
// left it, whichever progress display the options chose: no progress area
// laid over the result, no panel emptied. The disk stays as it was.
TEST(Form1Run, RefusedStartLeavesTheStatusBarAsItWas)
{
    const struct {
        const char* name;
        std::function<void(WindowBench& b)> refuse; // after the first run
        QString message;                            // the last box shown ("": none but the question)
    } cases[] = {
        {"copyWithoutOutputFolder", [](WindowBench& b) { ASSERT_TRUE(b.form->tabs().selectTab(8)); },
         QStringLiteral(u"出力先フォルダを設定して下さい。")},
        {"emptyImportList", [](WindowBench& b) { ASSERT_TRUE(b.form->tabs().selectTab(7)); },
         QStringLiteral(u"ファイル名がインポートされていません。")},
        {"nothingPicked", [](WindowBench& b) { b.form->lists().Check1->click(); },
         QStringLiteral(u"ファイルが選択されていません。")},
        {"cancelled", [](WindowBench& b) { b.dialogs.answers.push_back(platform::MsgButton::Cancel); }, {}},
        {"folderReplaced",
         [](WindowBench& b) {
             ASSERT_TRUE(QDir().rename(b.dir.file(QStringLiteral("top")), b.dir.file(QStringLiteral("old"))));
             b.dir.createFile(QStringLiteral("top/a.dat"), "other");
         },
         QStringLiteral(u"一覧を読み込んだときのフォルダではなくなっています。変更は行わずに一覧を読み込み直しました。\r")},
    };
    for (const char* prBar : {"1", "2"}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " PrBar=" + prBar);
            WindowBench b;
            b.store.write(S::ActionSetting::Section, S::ActionSetting::PrBar, QString::fromLatin1(prBar));
            b.dir.createFile(QStringLiteral("top/a.txt"), "listed");
            b.store.write(S::Setting::Section, S::Setting::Dir, b.dir.file(QStringLiteral("top")));
            b.start();
            ASSERT_TRUE(b.form->tabs().selectTab(2));
            b.find<QComboBox>("Text8")->setEditText(QStringLiteral("dat"));
            QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
            ASSERT_EQ(treeOf(b.dir.path()), QStringList{QStringLiteral("top/a.dat=listed")});
            const StatusBarLook before = lookOf(b.form->status());
            ASSERT_EQ(before.panel2, QStringLiteral(u"ｴﾗｰ： 0件"));
            c.refuse(b);
            const QStringList disk = treeOf(b.dir.path());
            b.dialogs.shown.clear();

            QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);

            ASSERT_FALSE(b.dialogs.shown.isEmpty());
            if (!c.message.isEmpty())
                EXPECT_TRUE(b.dialogs.shown.last().text.startsWith(c.message)) << b.texts().join(u'|').toStdString();
            else
                EXPECT_EQ(b.dialogs.shown.size(), 1) << b.texts().join(u'|').toStdString();
            EXPECT_EQ(lookOf(b.form->status()), before);
            EXPECT_EQ(treeOf(b.dir.path()), disk);
            EXPECT_TRUE(b.find<QPushButton>("Command4")->isEnabled());
        }
    }
}

TEST(Form1Run, ClosingDuringARunStopsItFirst)
{
    WindowBench b;
    b.startIn(manyFiles(200));
    b.form->tabs().selectTab(2);
    b.find<QComboBox>("Text8")->setEditText("dat");
    QSignalSpy ended(b.form.get(), &Form1::ended);
    bool stillOpenRightAfter = false;
    atProgress(b, 50, [&] {
        b.form->close();
        stillOpenRightAfter = b.form->isVisible() && ended.isEmpty();
    });
    b.form->show();
    QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);

    EXPECT_TRUE(stillOpenRightAfter);
    EXPECT_EQ(ended.count(), 1); // closed, with the settings saved, once the run had stopped
    EXPECT_FALSE(b.form->isVisible());
    EXPECT_LT(entriesOf(b.dir).filter(QStringLiteral(".dat")).size(), 200);
}

TEST(Form1Run, SecondStartFromTheMenuDuringARunIsIgnored)
{
    WindowBench b;
    b.startIn(manyFiles(60));
    b.form->tabs().selectTab(2);
    b.find<QComboBox>("Text8")->setEditText("dat");
    atProgress(b, 10, [&] { b.form->mnuFileStart->trigger(); });
    QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
    // One confirmation only: the second start never began.
    EXPECT_EQ(b.texts().filter(QStringLiteral(u"の変更を開始します")).size(), 1);
    EXPECT_EQ(entriesOf(b.dir).filter(QStringLiteral(".dat")).size(), 60);
}

TEST(Form1Run, NameThatIsNotUtf8IsListedAndRenamedExactly)
{
    WindowBench b;
    ASSERT_TRUE(raw::makeFile(b.dir.root() + "/caf\xe9.txt", "latin"));
    ASSERT_TRUE(raw::makeFile(b.dir.root() + "/caf\xc3\xa9.txt", "utf8"));
    b.store.write(S::Setting::Section, S::Setting::Dir, b.dir.path());
    b.start();
    b.form->tabs().selectTab(2);
    b.find<QComboBox>("Text8")->setEditText("dat");
    QTest::mouseClick(b.find<QPushButton>("Command4"), Qt::LeftButton);
    EXPECT_EQ(raw::read(b.dir.root() + "/caf\xe9.dat"), QByteArray("latin"));
    EXPECT_EQ(raw::read(b.dir.root() + "/caf\xc3\xa9.dat"), QByteArray("utf8"));
    EXPECT_EQ(raw::names(b.dir.root()).size(), 2);
}

TEST(Form1Window, ResizeFollowsTheDesign)
{
    WindowBench b;
    b.start();
    Form1& f = *b.form;
    f.setGeometryTwips(0, 0, 7150, 7550); // 1000 twips more each way
    QWidget* file1 = b.find<QWidget>("File1");
    QWidget* list1 = b.find<QWidget>("List1");
    QWidget* dir1 = b.find<QWidget>("Dir1");
    EXPECT_NEAR(mainwin::twips::width(file1), 2310 + 500, 15);
    EXPECT_NEAR(mainwin::twips::height(file1), 7550 - 3900, 15);
    EXPECT_NEAR(mainwin::twips::left(list1), 3600 + 500, 15);
    EXPECT_NEAR(mainwin::twips::width(list1), 2415 + 500, 15);
    EXPECT_NEAR(mainwin::twips::width(dir1), 2070 + 1000, 15);
    EXPECT_NEAR(mainwin::twips::left(b.find<QWidget>("Command4")), 2430 + 500, 15);
    // Never smaller than designed.
    f.setGeometryTwips(0, 0, 3000, 3000);
    EXPECT_GE(f.geometryTwips().width(), 6150 - 15);
    EXPECT_GE(f.geometryTwips().height(), 6550 - 15);
}

TEST(Form1Window, HiddenMessageOnlyForCtrlAltLeftClick)
{
    WindowBench b;
    b.start();
    QWidget* uzo = b.find<QWidget>("Uzo");
    QTest::mouseClick(uzo, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseClick(uzo, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier);
    QTest::mouseClick(uzo, Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(b.dialogs.shown.isEmpty());
    QTest::mouseClick(uzo, Qt::LeftButton, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(b.dialogs.shown.size(), 1);
    EXPECT_EQ(b.dialogs.shown[0].style, 0);
    const QStringList rows = b.dialogs.shown[0].text.split(QStringLiteral("\r\n\r\n"));
    ASSERT_EQ(rows.size(), 5);
    for (const QString& row : rows)
        EXPECT_EQ(row.size(), 20);
}

} // namespace
} // namespace tavil::test

namespace tavil::test {
namespace {

TEST(Form1Startup, CommandLineHandsOverToTheQuickWindow)
{
    struct Case {
        const char* name;
        const char* commandLine;
        bool quickGoesOn;  // the Quick window's answer
        bool quickOpened;
        bool mainWindowLoads;
    };
    const Case cases[] = {
        {"empty", "", false, false, true},
        {"positionReset", "-p", false, false, true},
        {"quick", "-q", false, true, false},
        {"quickThenMain", "-q", true, true, true},
        {"capitalPIsAnyOtherText", "-P", false, true, false},
        {"anyOtherText", "photos", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench b;
        b.form = std::make_unique<Form1>(b.services, QString::fromUtf8(c.commandLine));
        bool opened = false;
        b.form->runQuickWindow = [&] {
            opened = true;
            return c.quickGoesOn;
        };
        EXPECT_EQ(b.form->Form_Load(), c.mainWindowLoads);
        EXPECT_EQ(opened, c.quickOpened);
        b.form->Timer1_Timer();
        // A Quick window that ended the program leaves the main window's
        // settings untouched.
        if (!c.mainWindowLoads) {
            EXPECT_FALSE(b.store.value(S::Setting::Section, S::Setting::Top).has_value());
        }
    }
}

TEST(Form1Menus, FileMenuOpensTheQuickWindowAndStarts)
{
    WindowBench b;
    b.startIn({QStringLiteral("a.txt")});
    EXPECT_FALSE(b.form->mnuFileQuick->isVisible());
    int opened = 0;
    b.form->setQuickWindowOpener([&] { ++opened; });
    EXPECT_TRUE(b.form->mnuFileQuick->isVisible());
    EXPECT_EQ(b.form->mnuFileQuick->text(), QStringLiteral(u"QuickFormの表示(&Q)"));
    b.form->mnuFileQuick->trigger();
    EXPECT_EQ(opened, 1);

    // The start entry is the start button.
    b.form->tabs().selectTab(2);
    b.find<QComboBox>("Text8")->setEditText("dat");
    b.form->mnuFileStart->trigger();
    EXPECT_EQ(entriesOf(b.dir), QStringList{QStringLiteral("a.dat")});
}

} // namespace
} // namespace tavil::test

// The error logs go where the manual and the options dialog say they are,
// and follow the user's data folder.
TEST(ErrlogFolder, IsTavilErrlogUnderTheUsersDataFolder)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/tavil-xdg-data");
    EXPECT_EQ(tavil::platform::defaultErrlogFolder(), QStringLiteral("/tmp/tavil-xdg-data/Tavil/errlog"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(tavil::platform::defaultErrlogFolder(), QDir::homePath() + QStringLiteral("/.local/share/Tavil/errlog"));
    qputenv("XDG_DATA_HOME", saved);
}
