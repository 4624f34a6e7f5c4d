// The Quick window itself: what it restores, its modes, its drops, its
// numbered menu and how it closes.

#include "tests/quick/quickfixture.h"

#include "quick/form4.h"
#include "support/settingsschema.h"
#include "platform/fsname.h"
#include "tests/common/rawbytes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using tavil::platform::MsgButton;
using tavil::quick::Form4;
using tavil::quick::QuickMode;

namespace tavil::test {
namespace {

namespace keys = support::settings::QuickPos;

void storeQuickPos(CountingStore& store, const char* key, const QString& text)
{
    store.setValue(QString::fromLatin1(keys::Section), QString::fromLatin1(key), text);
}

QStringList items(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out.append(box->itemText(i));
    return out;
}

using QuickWindow = QuickFixture;

TEST_F(QuickWindow, OpensFromAnEmptyStoreInFilesMode)
{
    Form4& w = open();
    EXPECT_EQ(w.windowTitle(), u"Quick Form"_s);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.Toolbar3Buttons[0]->isChecked());
    EXPECT_EQ(w.mode(), QuickMode::Files);
    EXPECT_TRUE(w.mFilesMode);
    EXPECT_FALSE(w.mLaunchMain);
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_EQ(items(w.Combo1), (QStringList{u"*.*"_s, u""_s}));
    EXPECT_EQ(w.Combo1->currentText(), u"*.*"_s);
    EXPECT_EQ(w.TabStrip1->currentIndex(), 0);
    EXPECT_EQ(w.DTPicker1->date(), QDate(2003, 3, 31));
    EXPECT_EQ(w.DTPicker2->time(), QTime(9, 5, 7));
    EXPECT_EQ(w.DTPicker1->displayFormat(), u"yyyy/MM/dd"_s);
    EXPECT_EQ(w.DTPicker2->displayFormat(), u"HH:mm:ss"_s);
    EXPECT_TRUE(w.collection().isEmpty());
    EXPECT_TRUE(w.Option1->isChecked());
    EXPECT_TRUE(w.Option5->isChecked());
    EXPECT_TRUE(w.Option6[0]->isChecked());

    // Every control is found under its name.
    for (const char* name : {"Toolbar3", "mnuChangeExp", "mnuChangeReplace", "mnuFileDel", "mnuChamgeBar1",
                             "mnuChangeBack", "Check1", "TabStrip1", "Frame1(0)", "Frame1(1)", "Frame1(2)",
                             "Combo1", "Check2(0)", "Check3(3)", "Option6(1)", "Option1", "Option5",
                             "DTPicker1", "DTPicker2", "Frame2", "PBar1", "Line1", "Line2", "Toolbar3.Buttons(3)"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(w.findChild<QObject*>(QString::fromLatin1(name)), nullptr);
    }
    EXPECT_EQ(w.findChild<QMenu*>(u"mnuChange"_s)->title(), u"ﾒﾆｭｰ(&M)"_s);
    EXPECT_EQ(w.Toolbar3Buttons[2]->toolTip(), u"条件にあったファイルを削除"_s);
    EXPECT_EQ(w.Combo1->toolTip(), u"ｾﾐｺﾛﾝ(;)で区切れば複数指定できます"_s);
}

TEST_F(QuickWindow, StoredModeTrashAndPatterns)
{
    struct Case {
        const char* tlBar;
        QuickMode mode;
        bool filesMode;
    };
    const Case cases[] = {
        {"True", QuickMode::Files, true},
        {"False", QuickMode::Folders, false},
        {"Del", QuickMode::Delete, false},
        {"x", QuickMode::Delete, false},
        {"true", QuickMode::Delete, false}, // compared exactly
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tlBar);
        storeQuickPos(store, keys::tlBar, QString::fromLatin1(c.tlBar));
        storeQuickPos(store, keys::Trash, u"0"_s);
        Form4& w = open();
        EXPECT_EQ(w.mode(), c.mode);
        EXPECT_EQ(w.mFilesMode, c.filesMode);
        EXPECT_FALSE(w.Check1->isChecked());
        EXPECT_EQ(w.Combo1->isVisible(), c.mode == QuickMode::Delete);
        EXPECT_EQ(w.mnuFileDel->isEnabled(), c.mode == QuickMode::Delete);
        window.reset();
    }

    store.setValue(u"FilePatt"_s, u"All"_s, u"3"_s);
    store.setValue(u"FilePatt"_s, u"Patt0"_s, u"*.doc"_s);
    store.setValue(u"FilePatt"_s, u"Patt2"_s, u"*.jpg;*.png"_s);
    EXPECT_EQ(items(open().Combo1), (QStringList{u"*.*"_s, u"*.doc"_s, u""_s, u"*.jpg;*.png"_s}));
    window.reset();
    store.setValue(u"FilePatt"_s, u"All"_s, u""_s);
    EXPECT_EQ(items(open().Combo1), (QStringList{u"*.*"_s}));
}

TEST_F(QuickWindow, ValuesThatAreNoNumbersReadAsDefaults)
{
    storeQuickPos(store, keys::Left, u"abc"_s);
    storeQuickPos(store, keys::Top, u""_s);
    storeQuickPos(store, keys::Width, u"wide"_s);
    storeQuickPos(store, keys::Trash, u"yes"_s);
    store.setValue(u"FilePatt"_s, u"All"_s, u"many"_s);
    store.setValue(u"FilePatt"_s, u"Patt0"_s, u"*.txt"_s);
    Form4& w = open();
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    EXPECT_TRUE(w.Check1->isChecked());
    EXPECT_EQ(items(w.Combo1), (QStringList{u"*.*"_s, u"*.txt"_s}));
}

TEST_F(QuickWindow, StoredPlaceAndSizeInTwips)
{
    storeQuickPos(store, keys::Left, u"1500"_s);
    storeQuickPos(store, keys::Top, u"750"_s);
    storeQuickPos(store, keys::Width, u"4500"_s);
    storeQuickPos(store, keys::Height, u"3000"_s);
    Form4& w = open();
    EXPECT_EQ(w.frameGeometry(), QRect(100, 50, 300, 200));
    window.reset();

    // A place on no screen comes back to the screen's corner.
    storeQuickPos(store, keys::Left, u"9000000"_s);
    storeQuickPos(store, keys::Top, u"-9000000"_s);
    EXPECT_EQ(open().pos(), QPoint(0, 0));
}

// Stored values far off the screen (a damaged file, another machine's) give
// a window on the screen, each value its default.
TEST_F(QuickWindow, StoredPlaceAndSizeHeldToTheScreen)
{
    const struct {
        const char* name;
        const char* left;
        const char* top;
        const char* width;
        const char* height;
    } cases[] = {
        {"tallerThanAnyScreen", "1500", "750", "4500", "1e9"},
        {"widerThanAnyScreen", "1500", "750", "1e30", "3000"},
        {"placedFarAway", "1e9", "4e9", "4500", "3000"},
        {"negative", "-3000", "-1", "-4500", "-3000"},
    };
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        storeQuickPos(store, keys::Left, QString::fromLatin1(c.left));
        storeQuickPos(store, keys::Top, QString::fromLatin1(c.top));
        storeQuickPos(store, keys::Width, QString::fromLatin1(c.width));
        storeQuickPos(store, keys::Height, QString::fromLatin1(c.height));
        const QRect frame = open().frameGeometry();
        EXPECT_TRUE(screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                            << frame.height();
        // Values that were fine are kept.
        if (QByteArray(c.left) == "1500") {
            EXPECT_EQ(frame.topLeft(), QPoint(100, 50));
        }
        if (QByteArray(c.width) == "4500") {
            EXPECT_EQ(frame.width(), 300);
        }
        window.reset();
    }
}

// Whether a widget shows whole inside the window.
bool showsWhole(const QWidget* window, const QWidget* widget)
{
    const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return widget->isVisible() && window->rect().contains(inWindow);
}

TEST_F(QuickWindow, ModeSwitchFollowsThePressedButton)
{
    Form4& w = open();
    const QSize small = w.size();
    setMode(QuickMode::Folders);
    EXPECT_FALSE(w.mFilesMode);
    EXPECT_FALSE(w.mnuChangeExp->isEnabled());
    EXPECT_TRUE(w.mnuChangeReplace->isEnabled());
    EXPECT_FALSE(w.mnuFileDel->isEnabled());
    EXPECT_FALSE(w.Check1->isVisible());

    setMode(QuickMode::Delete);
    EXPECT_FALSE(w.mFilesMode); // left as it was
    EXPECT_FALSE(w.mnuChangeExp->isEnabled());
    EXPECT_FALSE(w.mnuChangeReplace->isEnabled());
    EXPECT_TRUE(w.mnuFileDel->isEnabled());
    // The small window grew to show the delete mode's controls.
    EXPECT_GT(w.height(), small.height());
    for (QWidget* control : {static_cast<QWidget*>(w.Check1), static_cast<QWidget*>(w.TabStrip1),
                             static_cast<QWidget*>(w.Combo1), static_cast<QWidget*>(w.PBar1)}) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_TRUE(showsWhole(&w, control));
    }

    setMode(QuickMode::Files);
    EXPECT_TRUE(w.mFilesMode);
    EXPECT_TRUE(w.mnuChangeExp->isEnabled());
    EXPECT_FALSE(w.Combo1->isVisible());

    // Clicking the pressed button again keeps its mode.
    w.Toolbar3Buttons[0]->trigger();
    EXPECT_EQ(w.mode(), QuickMode::Files);
}

TEST_F(QuickWindow, TabsPagesAndTheirControls)
{
    storeQuickPos(store, keys::tlBar, u"Del"_s);
    Form4& w = open();
    const auto shownPages = [&] {
        QString out;
        for (QFrame* page : w.Frame1)
            out += page->isVisible() ? u'1' : u'0';
        return out;
    };
    EXPECT_EQ(shownPages(), u"100"_s);
    w.TabStrip1->setCurrentIndex(2);
    EXPECT_EQ(shownPages(), u"001"_s);
    EXPECT_TRUE(showsWhole(&w, w.DTPicker2));
    EXPECT_TRUE(showsWhole(&w, w.Option5));
    w.TabStrip1->setCurrentIndex(1);
    EXPECT_EQ(shownPages(), u"010"_s);
    EXPECT_TRUE(showsWhole(&w, w.Check3[3]));
    EXPECT_TRUE(showsWhole(&w, w.Option6[1]));

    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(w.Check3[i]->isEnabled());
        QTest::mouseClick(w.Check2[i], Qt::LeftButton);
        EXPECT_TRUE(w.Check3[i]->isEnabled());
        w.Check2[i]->setChecked(false);
        EXPECT_FALSE(w.Check3[i]->isEnabled());
    }

    w.TabStrip1->setCurrentIndex(2);
    QTest::mouseClick(w.Option3, Qt::LeftButton);
    EXPECT_FALSE(w.DTPicker2->isEnabled());
    QTest::mouseClick(w.Option2, Qt::LeftButton);
    EXPECT_TRUE(w.DTPicker2->isEnabled());
    w.Option3->setChecked(true);
    w.Option1->setChecked(true);
    EXPECT_TRUE(w.DTPicker2->isEnabled());
}

TEST_F(QuickWindow, DropsAreCollected)
{
    const QString a = dir.createFile(u"a.txt"_s), b = dir.createFile(u"b.txt"_s);
    const QString upperA = dir.file(u"A.txt"_s);
    const QString c = dir.createDir(u"C"_s);

    struct Case {
        const char* name;
        QuickMode mode;
        QList<QStringList> drops;
        QStringList expected;
    };
    const Case cases[] = {
        {"samePathTwiceOnce", QuickMode::Files, {{a}, {a}}, {a}},
        {"letterCaseCounts", QuickMode::Files, {{a}, {upperA}}, {upperA, a}},
        {"sortedLetterCaseIgnored", QuickMode::Files, {{c, b}, {a}}, {a, b, c}},
        {"oneDropNamesAPathOnce", QuickMode::Files, {{b, a, b}}, {a, b}},
        {"againBesideItsOtherCase", QuickMode::Files, {{a, upperA, b}, {b, a}}, {upperA, a, b}},
        {"foldersAccumulate", QuickMode::Folders, {{c}, {a}}, {a, c}},
        {"deleteReplaces", QuickMode::Delete, {{a, b}, {c}}, {c}},
    };
    for (const Case& cs : cases) {
        SCOPED_TRACE(cs.name);
        open();
        setMode(cs.mode);
        for (const QStringList& d : cs.drops)
            drop(d);
        EXPECT_EQ(window->collection(), cs.expected);
        EXPECT_EQ(window->List2, cs.drops.last());
        window.reset();
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(QuickWindow, DropWithoutFiles)
{
    const QString a = dir.createFile(u"a.txt"_s);
    Form4& w = open();
    drop({a});
    dropText(u"some text"_s);
    dropUrls({QUrl(u"https://example.com/a.txt"_s)});
    EXPECT_EQ(w.collection(), QStringList{a});
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // In the delete mode the collection is forgotten and the general box says
    // why.
    setMode(QuickMode::Delete);
    dropText(u"some text"_s);
    EXPECT_TRUE(w.collection().isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"ｴﾗｰ番号  461 でｴﾗｰが発生しました。\r指定された形式が見つかりません。"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"ｴﾗｰ"_s);
    EXPECT_EQ(dialogs.shown[0].style, 16);
}

TEST_F(QuickWindow, DeleteModeListsTheFolderOfTheFirstDroppedPath)
{
    const QString sub = dir.createDir(u"sub"_s);
    const QString f = dir.createFile(u"sub/f.txt"_s);
    Form4& w = open();
    setMode(QuickMode::Delete);
    drop({f, dir.createFile(u"g.txt"_s)});
    EXPECT_EQ(w.File1.path(), sub + u'/');
    drop({sub}); // a folder gives its parent
    EXPECT_EQ(w.File1.path(), dir.folder());
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // A folder that is not there keeps the listing where it was; the drop is
    // still taken.
    const QString nowhere = dir.file(u"gone/x.txt"_s);
    drop({nowhere});
    EXPECT_EQ(w.File1.path(), dir.folder());
    EXPECT_EQ(w.collection(), QStringList{nowhere});
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"パスが見つかりません。\r\nフォルダではなくファイルをドロップして下さい。"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"Tavil"_s);
    EXPECT_EQ(dialogs.shown[0].style, 16);
}

TEST_F(QuickWindow, NamesThatAreNotUtf8ComeThroughAsTheirBytes)
{
    const QByteArray bytes = dir.root() + "/caf\xE9.txt";
    ASSERT_TRUE(raw::makeFile(bytes, "L"));
    Form4& w = open();
    dropUrls({fileUrl(bytes)});
    ASSERT_EQ(w.collection().size(), 1);
    QByteArray back;
    ASSERT_TRUE(platform::nameToBytes(w.collection().first(), &back));
    EXPECT_EQ(back, bytes);
    EXPECT_TRUE(fs.exists(w.collection().first()));
}

void dropOver(QWidget* target, const QString& path)
{
    QMimeData mime;
    mime.setUrls({fileUrl(path)});
    mime.setText(path); // file managers offer the path as text too
    dropOn(target, mime);
}

TEST_F(QuickWindow, DropTargetsOfTheDeleteMode)
{
    storeQuickPos(store, keys::tlBar, u"Del"_s);
    const QString a = dir.createFile(u"a.txt"_s);
    Form4& w = open();
    ASSERT_NE(w.windowHandle(), nullptr);

    dropOver(w.TabStrip1, a);
    EXPECT_TRUE(w.collection().isEmpty()) << "the tab strip takes no drop";
    dropOver(w.Combo1, a);
    EXPECT_EQ(w.collection(), QStringList{a});
    EXPECT_EQ(w.Combo1->currentText(), u"*.*"_s) << "the path must not land in the pattern box";

    w.TabStrip1->setCurrentIndex(1);
    w.Check2[0]->setChecked(true);
    const QString b = dir.createFile(u"b.txt"_s);
    dropOver(w.Check3[0], b);
    EXPECT_EQ(w.collection(), QStringList{a});
    dropOver(w.Check2[1], b);
    EXPECT_EQ(w.collection(), QStringList{b});

    w.TabStrip1->setCurrentIndex(2);
    dropOver(w.DTPicker1, a);
    EXPECT_EQ(w.collection(), QStringList{a});
    EXPECT_EQ(w.DTPicker1->date(), QDate(2003, 3, 31));
}

TEST_F(QuickWindow, NumberedMenuByEnterAndDoubleClick)
{
    Form4& w = open();
    w.resize(240, 200);
    // With nothing dropped there is only a beep.
    QTest::keyClick(&w, Qt::Key_Return);
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    drop({dir.createFile(u"a.txt"_s)});
    dialogs.inputs = {u"9"_s};
    QTest::keyClick(&w, Qt::Key_Return);
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_TRUE(dialogs.shown[0].isInput);
    EXPECT_EQ(dialogs.shown[0].title, u"Quick Form メニュー"_s);
    EXPECT_EQ(dialogs.shown[0].text, quick::menuPrompt(QuickMode::Files));
    EXPECT_EQ(dialogs.shown[1].text, u"キャンセルされました。"_s);
    EXPECT_EQ(dialogs.shown[1].title, u"Quick Form メニュー"_s);
    EXPECT_EQ(dialogs.shown[1].style, 16);

    // A double click on the window itself, not on a control.
    dialogs.shown.clear();
    QPoint empty(-1, -1);
    for (int y = 0; y < w.height() && empty.x() < 0; y += 2) {
        for (int x = 0; x < w.width(); x += 2) {
            if (!w.childAt(x, y)) {
                empty = QPoint(x, y);
                break;
            }
        }
    }
    ASSERT_GE(empty.x(), 0);
    QTest::mouseDClick(&w, Qt::LeftButton, Qt::NoModifier, empty);
    EXPECT_EQ(dialogs.shown.size(), 2);
    dialogs.shown.clear();
    QTest::mouseDClick(w.PBar1, Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown.isEmpty());

    // Enter on a control that has the focus is not the window's.
    setMode(QuickMode::Delete);
    w.activateWindow();
    w.Check1->setFocus();
    ASSERT_EQ(w.focusWidget(), w.Check1);
    QTest::keyClick(w.Check1, Qt::Key_Return);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    // Esc leaves the window open.
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(QuickWindow, NumberedMenuRunsTheChosenCommand)
{
    struct Case {
        const char* name;
        QuickMode mode;
        QString answer;
        QString next; // the title of the box that follows, or "closed"
    };
    const Case cases[] = {
        {"filesExtension", QuickMode::Files, u"1"_s, u"拡張子変更"_s},
        {"filesExtensionWide", QuickMode::Files, u"１"_s, u"拡張子変更"_s},
        {"filesReplace", QuickMode::Files, u"２"_s, u"文字列置換"_s},
        {"filesOpenMain", QuickMode::Files, u"3"_s, u"closed"_s},
        {"filesLeadingBlank", QuickMode::Files, u" 1"_s, u"Quick Form メニュー"_s},
        {"filesZeroOne", QuickMode::Files, u"01"_s, u"Quick Form メニュー"_s},
        {"filesCancelled", QuickMode::Files, u""_s, u"Quick Form メニュー"_s},
        {"foldersReplace", QuickMode::Folders, u"1"_s, u"文字列置換"_s},
        {"foldersOpenMain", QuickMode::Folders, u"２"_s, u"closed"_s},
        {"foldersThreeIsNoChoice", QuickMode::Folders, u"3"_s, u"Quick Form メニュー"_s},
        {"deleteDelete", QuickMode::Delete, u"1"_s, u"ファイルの削除"_s},
        {"deleteOpenMain", QuickMode::Delete, u"2"_s, u"closed"_s},
        {"deleteThreeIsNoChoice", QuickMode::Delete, u"3"_s, u"Quick Form メニュー"_s},
    };
    const QString a = dir.createFile(u"a.txt"_s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        open();
        setMode(c.mode);
        drop({a});
        dialogs.inputs = {c.answer, QString()};
        dialogs.answers = {MsgButton::Yes, MsgButton::No}; // Cancel? yes; delete? no
        if (c.mode == QuickMode::Delete)
            dialogs.answers = {MsgButton::No};
        window->expFileName();
        if (c.next == u"closed") {
            EXPECT_FALSE(window->isVisible());
            EXPECT_TRUE(window->mLaunchMain);
            EXPECT_TRUE(window->openMainWindow());
            EXPECT_EQ(dialogs.shown.size(), 1);
        } else {
            EXPECT_TRUE(window->isVisible());
            ASSERT_GE(dialogs.shown.size(), 2);
            EXPECT_EQ(dialogs.shown[1].title, c.next);
        }
        window.reset();
        EXPECT_TRUE(dir.exists(u"a.txt"_s));
    }
}

TEST_F(QuickWindow, TypedPatternIsTheListingsPickedOneIsNot)
{
    storeQuickPos(store, keys::tlBar, u"Del"_s);
    store.setValue(u"FilePatt"_s, u"All"_s, u"1"_s);
    store.setValue(u"FilePatt"_s, u"Patt0"_s, u"*.doc"_s);
    Form4& w = open();
    EXPECT_EQ(w.File1.pattern(), u"*.*"_s);
    w.Combo1->lineEdit()->clear();
    QTest::keyClicks(w.Combo1->lineEdit(), u"*.txt"_s);
    EXPECT_EQ(w.File1.pattern(), u"*.txt"_s);
    QTest::keyClicks(w.Combo1->lineEdit(), u";"_s);
    EXPECT_EQ(w.File1.pattern(), u"*.txt"_s);
    QTest::keyClicks(w.Combo1->lineEdit(), u"*.c"_s);
    EXPECT_EQ(w.File1.pattern(), u"*.txt;*.c"_s);
    w.Combo1->setCurrentIndex(1);
    EXPECT_EQ(w.Combo1->currentText(), u"*.doc"_s);
    EXPECT_EQ(w.File1.pattern(), u"*.txt;*.c"_s);
    EXPECT_EQ(w.Combo1->count(), 2);
}

// The close matrix: opened from the menu or at start-up, closed by the close
// box, by the menu's way to the main window, or by the numbered menu.
TEST_F(QuickWindow, ClosingFromMenuAndAtStartUp)
{
    enum class How { CloseBox, Back, NumberedMenu };
    struct Case {
        const char* name;
        bool fromMenu;
        How how;
        bool openMain;
        bool programEnds;
    };
    const Case cases[] = {
        {"menuCloseBox", true, How::CloseBox, false, false},
        {"menuBack", true, How::Back, true, false},
        {"menuNumbered", true, How::NumberedMenu, true, false},
        {"startCloseBox", false, How::CloseBox, false, true},
        {"startBack", false, How::Back, true, false},
        {"startNumbered", false, How::NumberedMenu, true, false},
    };
    const QString a = dir.createFile(u"a.txt"_s);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.memory.sections.clear();
        QWidget owner;
        owner.setObjectName(u"Form1"_s);
        if (c.fromMenu)
            owner.show();
        int ends = 0;
        int writesUnsyncedAtEnd = -1;
        bool ownerHidden = false;
        bool quitOnLast = true;
        bool acted = false;
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<Form4*>(QApplication::activeModalWidget());
            if (!w)
                return;
            acted = true;
            ownerHidden = !owner.isVisible();
            quitOnLast = QGuiApplication::quitOnLastWindowClosed();
            QObject::connect(w, &Form4::endProgram, w, [&] {
                ++ends;
                writesUnsyncedAtEnd = store.writesSinceSync;
            });
            // 300 by 200 pixels with the frame: the stored size is the outer one.
            w->move(30, 40);
            w->resize(QSize(300, 200) - (w->frameGeometry().size() - w->size()));
            w->Toolbar3Buttons[1]->trigger();
            w->Check1->setChecked(false);
            switch (c.how) {
            case How::CloseBox:
                w->close();
                break;
            case How::Back:
                w->mnuChangeBack->trigger();
                break;
            case How::NumberedMenu: {
                QMimeData mime;
                mime.setUrls({fileUrl(a)});
                w->handleDrop(&mime);
                dialogs.inputs = {u"2"_s};
                w->expFileName();
                break;
            }
            }
        });
        // Should the window not be found, it must not hang the test.
        QTimer::singleShot(5000, [] {
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        const quick::QuickResult result = quick::runQuickWindow(services, c.fromMenu, &owner);
        ASSERT_TRUE(acted);
        EXPECT_EQ(result.openMainWindow, c.openMain);
        EXPECT_EQ(ends, c.programEnds ? 1 : 0);
        if (c.programEnds) {
            EXPECT_EQ(writesUnsyncedAtEnd, 0) << "settings synced before the end";
        }
        EXPECT_GE(store.syncs, 1);
        EXPECT_TRUE(ownerHidden);
        EXPECT_EQ(owner.isVisible(), c.fromMenu);
        EXPECT_FALSE(quitOnLast);
        EXPECT_TRUE(QGuiApplication::quitOnLastWindowClosed());
        EXPECT_EQ(store.text(keys::Section, keys::Left), u"450"_s);
        EXPECT_EQ(store.text(keys::Section, keys::Top), u"600"_s);
        EXPECT_EQ(store.text(keys::Section, keys::Width), u"4500"_s);
        EXPECT_EQ(store.text(keys::Section, keys::Height), u"3000"_s);
        EXPECT_EQ(store.text(keys::Section, keys::tlBar), u"False"_s);
        EXPECT_EQ(store.text(keys::Section, keys::Trash), u"0"_s);
    }
}

TEST_F(QuickWindow, ClosingSavesTheDeleteModeAndTheTrashBox)
{
    Form4& w = open();
    setMode(QuickMode::Delete);
    const QSize size = w.size();
    closeWindow();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(store.text(keys::Section, keys::tlBar), u"Del"_s);
    EXPECT_EQ(store.text(keys::Section, keys::Trash), u"1"_s);
    EXPECT_EQ(store.syncs, 1);

    // What is saved comes back.
    window.reset();
    Form4& again = open();
    EXPECT_EQ(again.mode(), QuickMode::Delete);
    EXPECT_EQ(again.size(), size);
}

} // namespace
} // namespace tavil::test
