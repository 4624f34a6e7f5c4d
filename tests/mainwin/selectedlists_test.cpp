#include "mainwin/listrules.h"
#include "mainwin/selectedlists.h"
#include "platform/fsname.h"
#include "platform/gui/services.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/mainwin/listfakes.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using tavil::mainwin::SelectedLists;
namespace lists = tavil::mainwin::lists;

namespace {

const QString S = u"  ◆ SKIP ◆"_s; // the SKIP row, written out

// ---------------------------------------------------------------------------
// The rules without widgets.

TEST(SelectedListsRules, SortedAddGoesBeforeTheFirstGreaterEntry)
{
    struct Case {
        const char* name;
        QStringList entries;
        QStringList names;
        QList<int> places;
    };
    const Case cases[] = {
        {"emptyList", {}, {u"b"_s, u"a"_s, u"c"_s}, {0, 0, 2}},
        {"caseIgnored", {u"a"_s, u"C"_s}, {u"B"_s, u"c"_s}, {1, 3}},
        {"equalsStayBefore", {u"a"_s, u"b"_s}, {u"A"_s, u"b"_s}, {1, 3}},
        // b f d: nothing before f is greater than c or e, so both go before f,
        // and the moved d stays where the move put it.
        {"disorderedByAMove", {u"b"_s, u"f"_s, u"d"_s}, {u"c"_s, u"e"_s, u"g"_s}, {1, 2, 5}},
        // SKIP rows begin with blanks: every name is greater than them.
        {"skipRowsLow", {u"a"_s, S, u"c"_s}, {u"b"_s, S}, {2, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lists::sortedAddPlaces(c.entries, c.names), c.places);
    }
}

TEST(SelectedListsRules, AddTakesOnlyNamesTheListDidNotHold)
{
    EXPECT_EQ(lists::namesToAdd({u"a"_s, S, u"c"_s}, {u"a"_s, u"b"_s, u"c"_s, u"d"_s}, 10),
              (QStringList{u"b"_s, u"d"_s}));
    // Exact comparison: another letter case is another name.
    EXPECT_EQ(lists::namesToAdd({u"a.txt"_s}, {u"A.txt"_s}, 10), (QStringList{u"A.txt"_s}));
    EXPECT_EQ(lists::namesToAdd({}, {u"a"_s, u"b"_s, u"c"_s}, 2), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_TRUE(lists::namesToAdd({}, {u"a"_s}, 0).isEmpty());
}

TEST(SelectedListsRules, AnswerToInsertSeveral)
{
    using Kind = lists::SkipAnswer::Kind;
    struct Case {
        const char* name;
        QString answer;
        Kind kind;
        int rows;
    };
    const Case cases[] = {
        {"three", u"3"_s, Kind::Insert, 3},
        {"fractionDown", u"2.7"_s, Kind::Insert, 2},
        {"blanksAround", u" 4 "_s, Kind::Insert, 4},
        {"empty", u""_s, Kind::Nothing, 0},
        {"zero", u"0"_s, Kind::Nothing, 0},
        {"half", u"0.5"_s, Kind::Nothing, 0},
        {"negative", u"-2"_s, Kind::Nothing, 0},
        {"letters", u"x"_s, Kind::AskAgain, 0},
        {"fullWidthDigit", u"３"_s, Kind::AskAgain, 0},
        {"beyond32Bits", u"99999999999"_s, Kind::Stop, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const lists::SkipAnswer a = lists::readSkipAnswer(c.answer);
        EXPECT_EQ(a.kind, c.kind);
        EXPECT_EQ(a.rows, c.rows);
    }
}

TEST(SelectedListsRules, RowSelectedAfterARemoval)
{
    EXPECT_EQ(lists::rowAfterRemoval(4, 4), 3);  // the focused last entry went
    EXPECT_EQ(lists::rowAfterRemoval(2, 4), 2);  // the next entry moved up into its place
    EXPECT_EQ(lists::rowAfterRemoval(0, 0), -1); // nothing left
    EXPECT_EQ(lists::rowAfterRemoval(-1, 3), -1); // nothing had the focus
}

TEST(SelectedListsRules, OrderEntriesByCountAndFocus)
{
    struct Case {
        int count, focused;
        bool up, down, reverse;
    };
    const Case cases[] = {
        {1, 0, false, false, false}, {2, 0, false, true, true}, {2, 1, true, false, true},
        {3, 1, true, true, true},    {3, -1, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " entries, focus " << c.focused);
        const lists::OrderEntries e = lists::orderEntriesFor(c.count, c.focused);
        EXPECT_EQ(e.up, c.up);
        EXPECT_EQ(e.down, c.down);
        EXPECT_EQ(e.reverse, c.reverse);
    }
}

// ---------------------------------------------------------------------------
// The lists in a form.

class SelectedListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_windowsBefore = QApplication::topLevelWidgets().size();
        form = std::make_unique<QWidget>();
        form->resize(410, 437);
    }

    void TearDown() override
    {
        lists.reset();
        form.reset();
        EXPECT_EQ(QApplication::topLevelWidgets().size(), m_windowsBefore);
    }

    // The lists as Form1 makes them, with List1 (sorted) or List2 in use.
    void make(bool sorted)
    {
        store.write(u"ActionSetting"_s, u"Sorted"_s, sorted ? u"True"_s : u"False"_s);
        lists = std::make_unique<SelectedLists>(form.get(), services, files, status);
        lists->execPopup = [this](QMenu* menu, const QPoint&) {
            ++popups;
            popupMenu = menu;
            if (onPopup)
                onPopup();
        };
        lists->loadSettings();
    }

    // Select mode on, then the names put in by "add all".
    void fill(const QStringList& names)
    {
        lists->Check1->setChecked(true);
        files.names = names;
        lists->Command5_Click();
        files.names.clear();
        files.selected.clear();
        status = {};
    }

    static QStringList entries(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->data(Qt::UserRole).toString());
        return out;
    }

    static QList<int> selectedRows(const QListWidget* list)
    {
        QList<int> rows;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->isSelected())
                rows.append(i);
        }
        return rows;
    }

    void showForm()
    {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    void rightPress(QListWidget* list, int row)
    {
        const QPoint at = row < 0 ? QPoint(5, 5) : list->visualItemRect(list->item(row)).center();
        QTest::mousePress(list->viewport(), Qt::RightButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::RightButton, {}, at);
    }

    tavil::platform::LinuxFileSystem fs;
    tavil::platform::MemorySettingsStore store;
    tavil::test::FakeDialogs dialogs;
    tavil::test::FakeClock clock;
    tavil::test::FakeDesktop desktop;
    tavil::test::FakeVolumes volumes;
    tavil::platform::Services services{fs, store, dialogs, clock, desktop, volumes, {}, {}};
    tavil::test::FakeFiles files;
    tavil::test::FakeStatus status;
    std::unique_ptr<QWidget> form;
    std::unique_ptr<SelectedLists> lists;
    int popups = 0;
    QMenu* popupMenu = nullptr;
    std::function<void()> onPopup;

private:
    qsizetype m_windowsBefore = 0;
};

TEST_F(SelectedListsTest, ControlsCaptionsAndPlaces)
{
    make(true);
    struct Named {
        const char* name;
        QString caption;
    };
    const Named buttons[] = {{"Command1", u"追加 ->>"_s},
                             {"Command2", u"<<- 削除"_s},
                             {"Command3", u"クリア"_s},
                             {"Command5", u"すべて追加"_s}};
    for (const Named& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = form->findChild<QPushButton*>(QString::fromLatin1(b.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), b.caption);
    }
    ASSERT_NE(form->findChild<QCheckBox*>(u"Check1"_s), nullptr);
    EXPECT_EQ(lists->Check1->text(), u"選択する"_s);
    ASSERT_EQ(form->findChild<QListWidget*>(u"List1"_s), lists->List1);
    ASSERT_EQ(form->findChild<QListWidget*>(u"List2"_s), lists->List2);

    // At the design size (half = 0) and 1000 twips wider and taller
    // (half = 500), at 15 twips to the pixel.
    lists->layout(7150, 500, 7550);
    EXPECT_EQ(lists->Check1->geometry(), QRect(197, 180, 74, 17));
    EXPECT_EQ(lists->Command1->geometry(), QRect(195, 204, 74, 22));
    EXPECT_EQ(lists->Command5->geometry(), QRect(195, 282, 74, 22));
    EXPECT_EQ(lists->List1->geometry(), QRect(273, 204, 194, 243));
    EXPECT_EQ(lists->List2->geometry(), lists->List1->geometry());
}

TEST_F(SelectedListsTest, StartsWithSelectModeOffAndTheSortedTwinInUse)
{
    lists = std::make_unique<SelectedLists>(form.get(), services, files, status);
    EXPECT_FALSE(lists->selectMode());
    for (QWidget* w : std::initializer_list<QWidget*>{lists->List1, lists->List2, lists->Command1, lists->Command2,
                                                      lists->Command3, lists->Command5}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_FALSE(w->isEnabled());
    }
    EXPECT_TRUE(lists->List1->isHidden());
    EXPECT_TRUE(lists->List2->isHidden());
    lists->loadSettings(); // nothing stored: sorted
    EXPECT_EQ(lists->gWorkList(), lists->List1);
    EXPECT_EQ(lists->gOtherList(), lists->List2);
    EXPECT_FALSE(lists->List1->isHidden());
    EXPECT_TRUE(lists->List2->isHidden());
}

TEST_F(SelectedListsTest, StoredSortChoosesTheTwin)
{
    struct Case {
        const char* name;
        const char* stored; // nullptr: missing
        bool sorted;
    };
    const Case cases[] = {
        {"missing", nullptr, true}, {"true", "True", true}, {"false", "False", false},
        {"zero", "0", false},       {"notAFlag", "abc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.sections.clear();
        if (c.stored)
            store.write(u"ActionSetting"_s, u"Sorted"_s, QString::fromLatin1(c.stored));
        SelectedLists l(form.get(), services, files, status);
        l.loadSettings();
        EXPECT_EQ(l.sorted(), c.sorted);
        EXPECT_EQ(l.gWorkList(), c.sorted ? l.List1 : l.List2);
        EXPECT_EQ(l.gWorkList()->isHidden(), false);
        EXPECT_EQ(l.gOtherList()->isHidden(), true);
    }
}

TEST_F(SelectedListsTest, SelectModeColoursAndEnablesTheListsAndButtons)
{
    make(true);
    const QColor base = form->palette().color(QPalette::Active, QPalette::Base);
    const QColor face = form->palette().color(QPalette::Active, QPalette::Button);
    ASSERT_NE(base, face);
    EXPECT_EQ(lists->List1->palette().color(QPalette::Base), face);
    lists->Check1->setChecked(true);
    for (QListWidget* l : {lists->List1, lists->List2}) {
        EXPECT_EQ(l->palette().color(QPalette::Base), base);
        EXPECT_TRUE(l->isEnabled());
    }
    for (QPushButton* b : {lists->Command1, lists->Command2, lists->Command3, lists->Command5})
        EXPECT_TRUE(b->isEnabled());
    fill({u"a"_s});
    lists->Check1->setChecked(false);
    EXPECT_EQ(lists->List2->palette().color(QPalette::Disabled, QPalette::Base), face);
    EXPECT_FALSE(lists->List1->isEnabled());
    EXPECT_FALSE(lists->Command5->isEnabled());
    EXPECT_EQ(entries(lists->List1), QStringList{u"a"_s}); // the entries stay
}

TEST_F(SelectedListsTest, SubFoldersTurnSelectModeOffAndLockCheck1)
{
    make(true);
    lists->Check1->setChecked(true);
    lists->chkSubDir_Click(true);
    EXPECT_FALSE(lists->Check1->isChecked());
    EXPECT_FALSE(lists->Check1->isEnabled());
    EXPECT_FALSE(lists->Command1->isEnabled());
    EXPECT_FALSE(lists->List1->isEnabled());

    lists->chkSubDir_Click(false);
    EXPECT_TRUE(lists->Check1->isEnabled());
    EXPECT_FALSE(lists->Check1->isChecked()); // select mode stays off
    EXPECT_FALSE(lists->Command1->isEnabled());
}

TEST_F(SelectedListsTest, AddingTwiceAddsNothingAndSkipRowsDoNotBlock)
{
    make(false);
    lists->Check1->setChecked(true);
    files.names = {u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    files.selected = {u"a"_s, u"c"_s};
    lists->Command1_Click();
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, u"c"_s}));
    lists->Command1_Click();
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, u"c"_s}));

    lists->List2->setCurrentRow(1);
    lists->mnuPopup1SkipIns_Click();
    files.selected = {u"b"_s, u"c"_s};
    lists->Command1_Click();
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, S, u"c"_s, u"b"_s}));
    lists->Command5_Click();
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, S, u"c"_s, u"b"_s, u"d"_s}));
}

TEST_F(SelectedListsTest, AddShowsItsProgressAndClearsItAfterwards)
{
    make(false);
    lists->Check1->setChecked(true);
    files.names = {u"a"_s, u"b"_s, u"c"_s, u"d"_s};
    files.selected = {u"b"_s};
    lists->Command1_Click();
    EXPECT_EQ(status.log, (QStringList{u"1:追加中..."_s, u"1:"_s}));
    EXPECT_EQ(status.progress.maxValue, 3);
    EXPECT_EQ(status.progress.values, (QList<int>{0, 1, 2, 3, 0})); // every index, taken or not
    EXPECT_FALSE(status.shown);
    EXPECT_TRUE(form->cursor().shape() != Qt::WaitCursor);

    status = {};
    files.names = {u"e"_s};
    lists->Command5_Click();
    EXPECT_EQ(status.progress.maxValue, 1); // one file: 1, not 0
    EXPECT_EQ(entries(lists->List2), (QStringList{u"b"_s, u"e"_s}));
}

TEST_F(SelectedListsTest, AddWithSelectModeOffDoesNothing)
{
    // Ctrl+Right in File1 calls Command1 whatever the mode.
    make(false);
    files.names = {u"a"_s, u"b"_s};
    files.selected = {u"a"_s};
    lists->Command1_Click();
    EXPECT_EQ(lists->List2->count(), 0);
    EXPECT_EQ(status.shows, 0);
    EXPECT_FALSE(lists->Command1->isEnabled());
}

TEST_F(SelectedListsTest, NamesAreKeptRawAndShownVisibly)
{
    make(false);
    const QString raw = tavil::platform::nameFromBytes("caf\xe9.txt"); // the byte E9 is not UTF-8
    fill({raw});
    ASSERT_EQ(lists->List2->count(), 1);
    EXPECT_EQ(lists->List2->item(0)->text(), u"caf\\xE9.txt"_s);
    EXPECT_EQ(lists->workList(), QStringList{raw});
}

TEST_F(SelectedListsTest, AFullListTakesNoMoreNames)
{
    make(false);
    lists->Check1->setChecked(true);
    lists->mnuPopup1SkipIns2_Click(); // the default answer "0": nothing
    dialogs.inputs = {u"32760"_s};
    lists->mnuPopup1SkipIns2_Click();
    ASSERT_EQ(lists->List2->count(), 32760);
    files.names = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s, u"g"_s, u"h"_s, u"i"_s};
    lists->Command5_Click();
    EXPECT_EQ(lists->List2->count(), 32767);
    EXPECT_EQ(lists->List2->item(32766)->data(Qt::UserRole).toString(), u"g"_s);
    lists->mnuPopup1SkipIns_Click();
    EXPECT_EQ(lists->List2->count(), 32767);
}

TEST_F(SelectedListsTest, AddingManyFilesToTheSortedListIsQuick)
{
    make(true);
    lists->Check1->setChecked(true);
    QStringList names;
    for (int i = 0; i < 30000; ++i)
        names.append(u"file%1.txt"_s.arg(i, 5, 10, QChar(u'0')));
    files.names = names;
    QElapsedTimer timer;
    timer.start();
    lists->Command5_Click();
    EXPECT_LT(timer.elapsed(), 3000);
    ASSERT_EQ(lists->List1->count(), 30000);
    EXPECT_EQ(lists->List1->item(0)->text(), u"file00000.txt"_s);
    EXPECT_EQ(lists->List1->item(29999)->text(), u"file29999.txt"_s);
}

TEST_F(SelectedListsTest, RemoveSelectsTheEntryThatTookTheFocusedPlace)
{
    struct Case {
        const char* name;
        QList<int> selected;
        int focused;
        QStringList after;
        QList<int> selectedAfter;
    };
    const Case cases[] = {
        {"last", {4}, 4, {u"a"_s, u"b"_s, u"c"_s, u"d"_s}, {3}},
        {"middle", {2}, 2, {u"a"_s, u"b"_s, u"d"_s, u"e"_s}, {2}},
        {"several", {1, 4}, 4, {u"a"_s, u"c"_s, u"d"_s}, {2}},
        {"all", {0, 1, 2, 3, 4}, 0, {}, {}},
    };
    make(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lists->clearBoth();
        fill({u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s});
        QListWidget* l = lists->List2;
        l->setCurrentRow(c.focused, QItemSelectionModel::NoUpdate);
        l->clearSelection();
        for (int r : c.selected)
            l->item(r)->setSelected(true);
        lists->Command2_Click();
        EXPECT_EQ(entries(l), c.after);
        EXPECT_EQ(selectedRows(l), c.selectedAfter);
    }
}

TEST_F(SelectedListsTest, DeleteKeyRemovesTheSelection)
{
    make(false);
    fill({u"a"_s, u"b"_s, u"c"_s});
    QListWidget* l = lists->List2;
    l->setCurrentRow(1);
    QTest::keyClick(l, Qt::Key_Delete);
    EXPECT_EQ(entries(l), (QStringList{u"a"_s, u"c"_s}));
    EXPECT_EQ(selectedRows(l), QList<int>{1});
}

TEST_F(SelectedListsTest, ClearEmptiesBothTwinsAndClearWorkListOnlyTheOneInUse)
{
    make(false);
    fill({u"a"_s, u"b"_s});
    lists->swapLists(true); // List1 now holds a copy
    lists->clearWorkList();
    EXPECT_EQ(lists->List1->count(), 0);
    EXPECT_EQ(lists->List2->count(), 2);
    fill({u"c"_s});
    QTest::mouseClick(lists->Command3, Qt::LeftButton);
    EXPECT_EQ(lists->List1->count(), 0);
    EXPECT_EQ(lists->List2->count(), 0);
}

TEST_F(SelectedListsTest, UpAndDownMoveTheFocusedEntryExceptAtTheEnds)
{
    make(false);
    fill({u"a"_s, u"b"_s, u"c"_s});
    QListWidget* l = lists->List2;
    lists->setPopupTarget(SelectedLists::PopupTarget::List2);
    l->setCurrentRow(0);
    lists->mnuPopup1Up_Click();
    EXPECT_EQ(entries(l), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    l->setCurrentRow(2);
    lists->mnuPopup1Down_Click();
    EXPECT_EQ(entries(l), (QStringList{u"a"_s, u"b"_s, u"c"_s}));

    lists->mnuPopup1Up_Click();
    EXPECT_EQ(entries(l), (QStringList{u"a"_s, u"c"_s, u"b"_s}));
    EXPECT_EQ(l->currentRow(), 1);
    EXPECT_TRUE(l->item(1)->isSelected());

    // Ctrl+Down and Ctrl+Up do the same from the keyboard; a plain Down only
    // moves the focus.
    QTest::keyClick(l, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(entries(l), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(l->currentRow(), 2);
    QTest::keyClick(l, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(l, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(entries(l), (QStringList{u"c"_s, u"a"_s, u"b"_s}));
    QTest::keyClick(l, Qt::Key_Down);
    EXPECT_EQ(entries(l), (QStringList{u"c"_s, u"a"_s, u"b"_s}));
    EXPECT_EQ(l->currentRow(), 1);
}

TEST_F(SelectedListsTest, ReverseTurnsTheListRound)
{
    make(false);
    fill({u"a"_s, u"b"_s, u"c"_s});
    lists->List2->setCurrentRow(0);
    lists->mnuPopup1SkipIns_Click();
    lists->setPopupTarget(SelectedLists::PopupTarget::List2);
    lists->mnuPopup1Hanten_Click();
    EXPECT_EQ(entries(lists->List2), (QStringList{u"c"_s, u"b"_s, u"a"_s, S}));
    EXPECT_EQ(lists->List2->item(3)->text(), S);
}

TEST_F(SelectedListsTest, SortedListKeepsMovesAndInsertsButSortsANewAdd)
{
    make(true);
    fill({u"d"_s, u"b"_s, u"f"_s});
    QListWidget* l = lists->List1;
    EXPECT_EQ(entries(l), (QStringList{u"b"_s, u"d"_s, u"f"_s}));
    lists->setPopupTarget(SelectedLists::PopupTarget::List1);
    l->setCurrentRow(2);
    lists->mnuPopup1Up_Click();
    EXPECT_EQ(entries(l), (QStringList{u"b"_s, u"f"_s, u"d"_s}));
    l->setCurrentRow(2);
    lists->mnuPopup1SkipIns_Click();
    EXPECT_EQ(entries(l), (QStringList{u"b"_s, u"f"_s, S, u"d"_s}));

    files.names = {u"C"_s, u"e"_s};
    lists->Command5_Click();
    EXPECT_EQ(entries(l), (QStringList{u"b"_s, u"C"_s, u"e"_s, u"f"_s, S, u"d"_s}));
}

TEST_F(SelectedListsTest, InsertOneSkipRow)
{
    make(false);
    lists->Check1->setChecked(true);
    lists->mnuPopup1SkipIns_Click(); // empty list: at index 0
    EXPECT_EQ(entries(lists->List2), QStringList{S});
    lists->clearBoth();
    fill({u"a"_s, u"b"_s, u"c"_s});
    lists->List2->setCurrentRow(2);
    lists->mnuPopup1SkipIns_Click(); // before the focused entry
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, u"b"_s, S, u"c"_s}));
}

TEST_F(SelectedListsTest, InsertSeveralAtTheFocusedEntry)
{
    struct Case {
        const char* name;
        QStringList answers;
        int asked;
        int rows;
    };
    const Case cases[] = {
        {"three", {u"3"_s}, 1, 3},
        {"fraction", {u"2.7"_s}, 1, 2},
        {"empty", {u""_s}, 1, 0},
        {"zero", {u"0"_s}, 1, 0},
        {"negative", {u"-2"_s}, 1, 0},
        {"notANumberThenOne", {u"x"_s, u"1"_s}, 2, 1},
        {"notANumberThenCancel", {u"x"_s, u"y"_s, u""_s}, 3, 0},
        {"beyond32Bits", {u"99999999999"_s}, 1, 0},
    };
    make(false);
    const QStringList names = {u"e0"_s, u"e1"_s, u"e2"_s, u"e3"_s, u"e4"_s, u"e5"_s, u"e6"_s, u"e7"_s};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lists->clearBoth();
        fill(names);
        lists->List2->setCurrentRow(5);
        dialogs.shown.clear();
        dialogs.inputs.assign(c.answers.cbegin(), c.answers.cend());
        lists->mnuPopup1SkipIns2_Click();
        ASSERT_EQ(dialogs.shown.size(), c.asked);
        for (const auto& box : dialogs.shown) {
            EXPECT_EQ(box.text, u"いくつ挿入しますか？\r\n半角で入力してください。"_s);
            EXPECT_EQ(box.title, u"スキップの複数挿入"_s);
            EXPECT_TRUE(box.isInput);
        }
        QStringList expected = names;
        for (int i = 0; i < c.rows; ++i)
            expected.insert(5, S);
        EXPECT_EQ(entries(lists->List2), expected);
        EXPECT_EQ(lists->List2->currentItem()->text(), u"e5"_s);
    }
}

TEST_F(SelectedListsTest, AHugeInsertSeveralStopsAtTheListLimitQuickly)
{
    make(false);
    fill({u"a"_s, u"b"_s});
    lists->List2->setCurrentRow(1);
    dialogs.inputs = {u"100000000"_s};
    QElapsedTimer timer;
    timer.start();
    lists->mnuPopup1SkipIns2_Click();
    EXPECT_LT(timer.elapsed(), 3000);
    ASSERT_EQ(lists->List2->count(), 32767);
    EXPECT_EQ(lists->List2->item(0)->data(Qt::UserRole).toString(), u"a"_s);
    EXPECT_EQ(lists->List2->item(32765)->data(Qt::UserRole).toString(), S);
    EXPECT_EQ(lists->List2->item(32766)->data(Qt::UserRole).toString(), u"b"_s);
    EXPECT_EQ(dialogs.shown.size(), 1); // no message
}

TEST_F(SelectedListsTest, DeleteAllSkipRowsRemovesOnlyExactOnes)
{
    make(false);
    const QString oneBlank = u" ◆ SKIP ◆"_s;
    const QString trailing = u"  ◆ SKIP ◆ "_s;
    const QString lower = u"  ◆ skip ◆"_s;
    fill({u"a"_s, oneBlank, trailing, lower, u"b"_s});
    lists->List2->setCurrentRow(0);
    lists->mnuPopup1SkipIns_Click();
    lists->List2->setCurrentRow(5);
    lists->mnuPopup1SkipIns_Click();
    lists->mnuPopup1SkipIns_Click();
    lists->List2->setCurrentRow(lists->List2->count() - 1);
    lists->mnuPopup1SkipIns_Click();
    ASSERT_EQ(lists->List2->count(), 9);
    lists->mnuPopup1SkipDel_Click();
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, oneBlank, trailing, lower, u"b"_s}));
}

TEST_F(SelectedListsTest, SkipEntriesWorkOnTheListInUseWhateverTheTarget)
{
    make(false);
    fill({u"a"_s, u"b"_s});
    lists->setPopupTarget(SelectedLists::PopupTarget::File1);
    lists->List2->setCurrentRow(1);
    lists->mnuPopup1SkipIns_Click();
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, S, u"b"_s}));
    EXPECT_EQ(lists->List1->count(), 0);
}

TEST_F(SelectedListsTest, SwapThereAndBackCopiesTheEntries)
{
    make(true);
    fill({u"c"_s, u"a"_s, u"b"_s});
    lists->swapLists(false);
    EXPECT_EQ(store.read(u"ActionSetting"_s, u"Sorted"_s), u"False"_s);
    EXPECT_EQ(lists->gWorkList(), lists->List2);
    EXPECT_EQ(lists->gOtherList(), lists->List1);
    EXPECT_FALSE(lists->List2->isHidden());
    EXPECT_TRUE(lists->List1->isHidden());
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, u"b"_s, u"c"_s}));

    lists->setPopupTarget(SelectedLists::PopupTarget::List2);
    lists->mnuPopup1Hanten_Click();
    lists->List2->setCurrentRow(1);
    lists->mnuPopup1SkipIns_Click();
    lists->swapLists(true);
    EXPECT_EQ(store.read(u"ActionSetting"_s, u"Sorted"_s), u"True"_s);
    EXPECT_EQ(lists->gWorkList(), lists->List1);
    EXPECT_FALSE(lists->List1->isHidden());
    EXPECT_TRUE(lists->List2->isHidden());
    // Sorted again; the unsorted twin keeps its order, hidden.
    EXPECT_EQ(entries(lists->List1), (QStringList{S, u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(entries(lists->List2), (QStringList{u"c"_s, S, u"b"_s, u"a"_s}));
}

TEST_F(SelectedListsTest, SwapToTheTwinInUseKeepsItsEntries)
{
    make(true);
    fill({u"a"_s, u"b"_s});
    lists->swapLists(false);
    lists->swapLists(true); // both twins hold a, b
    lists->setPopupTarget(SelectedLists::PopupTarget::List1);
    lists->List1->setCurrentRow(1);
    lists->mnuPopup1Up_Click();
    files.names = {u"c"_s};
    lists->Command5_Click();
    const QStringList inUse = entries(lists->List1);
    ASSERT_EQ(inUse, (QStringList{u"b"_s, u"a"_s, u"c"_s}));
    lists->swapLists(true);
    EXPECT_EQ(entries(lists->List1), inUse);
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, u"b"_s}));
    EXPECT_FALSE(lists->List1->isHidden());
}

TEST_F(SelectedListsTest, PopupEntriesAndCaptionsInOrder)
{
    make(true);
    QStringList order;
    for (QAction* a : lists->mnuPopup1->actions())
        order.append(a->objectName() + u'=' + a->text());
    EXPECT_EQ(order, (QStringList{u"mnuPopup1All=すべて選択(&A)"_s, u"mnuPopup1Kirikae=選択の切り替え(&I)"_s,
                                  u"mnuPopup1Bar1="_s, u"mnuPopup1Add=追加(&A)"_s, u"mnuPopup1Bar2="_s,
                                  u"mnuPopup1Skip=ｽｷｯﾌﾟ(&S)"_s, u"mnuPopup1Bar3="_s, u"mnuPopup1Up=上に(&U)"_s,
                                  u"mnuPopup1Down=下に(&D)"_s, u"mnuPopup1Bar4="_s, u"mnuPopup1Hanten=反転(&S)"_s}));
    QStringList skip;
    for (QAction* a : lists->mnuPopup1SkipMenu->actions())
        skip.append(a->objectName() + u'=' + a->text());
    EXPECT_EQ(skip, (QStringList{u"mnuPopup1SkipIns=挿入(I&)"_s, u"mnuPopup1SkipIns2=複数挿入(&S)"_s,
                                 u"mnuPopup1SkipIns3=等間隔挿入(&F)..."_s, u"mnuPopup1SkipDel=ｽｷｯﾌﾟ全削除(&D)"_s}));
    for (QAction* bar : {lists->mnuPopup1Bar1, lists->mnuPopup1Bar2, lists->mnuPopup1Bar3, lists->mnuPopup1Bar4})
        EXPECT_TRUE(bar->isSeparator());
}

TEST_F(SelectedListsTest, ListPopupEnablesEntriesByTheListAndTheTab)
{
    make(false);
    showForm();
    QListWidget* l = lists->List2;
    bool numbering = false;
    lists->numberingTabSelected = [&numbering] { return numbering; };
    struct States {
        bool up, down, reverse, skip, add;
        QString addCaption;
    } seen{};
    onPopup = [&] {
        seen = {lists->mnuPopup1Up->isEnabled(),   lists->mnuPopup1Down->isEnabled(),
                lists->mnuPopup1Hanten->isEnabled(), lists->mnuPopup1Skip->isEnabled(),
                lists->mnuPopup1Add->isEnabled(),    lists->mnuPopup1Add->text()};
    };

    fill({u"a"_s});
    rightPress(l, 0);
    ASSERT_EQ(popups, 1);
    EXPECT_EQ(popupMenu, lists->mnuPopup1);
    EXPECT_EQ(lists->popupTarget(), SelectedLists::PopupTarget::List2);
    EXPECT_FALSE(seen.up);
    EXPECT_FALSE(seen.down);
    EXPECT_FALSE(seen.reverse);
    EXPECT_FALSE(seen.skip);
    EXPECT_TRUE(seen.add);
    EXPECT_EQ(seen.addCaption, u"削除(&D)"_s);

    fill({u"b"_s, u"c"_s});
    numbering = true;
    l->setCurrentRow(0);
    rightPress(l, 2);
    EXPECT_FALSE(seen.up);
    EXPECT_TRUE(seen.down);
    EXPECT_TRUE(seen.reverse);
    EXPECT_TRUE(seen.skip);
    l->setCurrentRow(2);
    rightPress(l, 0);
    EXPECT_TRUE(seen.up);
    EXPECT_FALSE(seen.down);

    // An empty list opens no popup.
    lists->clearBoth();
    rightPress(l, -1);
    EXPECT_EQ(popups, 3);
}

TEST_F(SelectedListsTest, RightPressKeepsTheCurrentEntryAndSelection)
{
    make(false);
    showForm();
    fill({u"a"_s, u"b"_s, u"c"_s});
    QListWidget* l = lists->List2;
    l->setCurrentRow(0);
    rightPress(l, 2);
    EXPECT_EQ(l->currentRow(), 0);
    EXPECT_EQ(selectedRows(l), QList<int>{0});
    // The left button still works as usual.
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(2)).center());
    EXPECT_EQ(l->currentRow(), 2);
}

TEST_F(SelectedListsTest, PopupRemoveAndFilePopupAdd)
{
    make(false);
    showForm();
    fill({u"a"_s, u"b"_s});
    QListWidget* l = lists->List2;
    l->setCurrentRow(0);
    onPopup = [&] { lists->mnuPopup1Add->trigger(); };
    rightPress(l, 0);
    EXPECT_EQ(entries(l), QStringList{u"b"_s});

    files.names = {u"x"_s, u"y"_s};
    files.selected = {u"y"_s};
    lists->showFilePopup(QPoint(10, 10));
    EXPECT_EQ(lists->popupTarget(), SelectedLists::PopupTarget::File1);
    EXPECT_EQ(entries(l), (QStringList{u"b"_s, u"y"_s}));
}

TEST_F(SelectedListsTest, FilePopupEntries)
{
    make(false);
    files.names = {u"x"_s};
    struct States {
        bool up, down, reverse, skip, add;
        QString addCaption;
    } seen{};
    onPopup = [&] {
        seen = {lists->mnuPopup1Up->isEnabled(),   lists->mnuPopup1Down->isEnabled(),
                lists->mnuPopup1Hanten->isEnabled(), lists->mnuPopup1Skip->isEnabled(),
                lists->mnuPopup1Add->isEnabled(),    lists->mnuPopup1Add->text()};
    };
    lists->numberingTabSelected = [] { return true; };
    for (const bool selectMode : {false, true}) {
        SCOPED_TRACE(selectMode ? "select mode" : "all files");
        lists->Check1->setChecked(selectMode);
        lists->showFilePopup(QPoint(10, 10));
        EXPECT_FALSE(seen.up);
        EXPECT_FALSE(seen.down);
        EXPECT_FALSE(seen.reverse);
        EXPECT_FALSE(seen.skip);
        EXPECT_EQ(seen.add, selectMode);
        EXPECT_EQ(seen.addCaption, u"追加(&A)"_s);
    }
    EXPECT_EQ(popups, 2);
    files.names.clear();
    lists->showFilePopup(QPoint(10, 10));
    EXPECT_EQ(popups, 2); // no file, no popup
}

TEST_F(SelectedListsTest, SelectAllAndInvertActOnTheTarget)
{
    make(false);
    fill({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    QListWidget* l = lists->List2;

    QTest::keyClick(l, Qt::Key_F7);
    EXPECT_EQ(lists->popupTarget(), SelectedLists::PopupTarget::List2);
    EXPECT_EQ(selectedRows(l), (QList<int>{0, 1, 2, 3}));

    l->clearSelection();
    l->item(0)->setSelected(true);
    l->item(2)->setSelected(true);
    l->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    QTest::keyClick(l, Qt::Key_F8);
    EXPECT_EQ(selectedRows(l), (QList<int>{1, 3}));
    EXPECT_EQ(l->currentRow(), 2);

    // On File1 the file list does it.
    lists->setPopupTarget(SelectedLists::PopupTarget::File1);
    lists->mnuPopup1All_Click();
    lists->mnuPopup1Kirikae_Click();
    EXPECT_EQ(files.selectAllCalls, 1);
    EXPECT_EQ(files.invertCalls, 1);
    EXPECT_EQ(selectedRows(l), (QList<int>{1, 3}));

    // Inverting an empty list is harmless.
    lists->clearBoth();
    lists->setPopupTarget(SelectedLists::PopupTarget::List2);
    lists->mnuPopup1Kirikae_Click();
    EXPECT_EQ(l->count(), 0);
}

TEST_F(SelectedListsTest, ImportListSharesThePopup)
{
    make(false);
    QListWidget list4(form.get());
    list4.addItems({u"p"_s, u"q"_s, u"r"_s});
    int removals = 0;
    lists->setImportList(&list4, [&removals] { ++removals; });
    lists->numberingTabSelected = [] { return true; };
    bool skipEnabled = true;
    QString caption;
    onPopup = [&] {
        skipEnabled = lists->mnuPopup1Skip->isEnabled();
        caption = lists->mnuPopup1Add->text();
        EXPECT_EQ(lists->popupTarget(), SelectedLists::PopupTarget::List4);
        lists->mnuPopup1Add->trigger();
    };
    lists->showImportPopup(QPoint(10, 10));
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(skipEnabled);
    EXPECT_EQ(caption, u"削除(&D)"_s);
    EXPECT_EQ(removals, 1);
    EXPECT_EQ(lists->popupTarget(), SelectedLists::PopupTarget::None);

    // Its owner moves entries with the popup's order entries.
    lists->setPopupTarget(SelectedLists::PopupTarget::List4);
    list4.setCurrentRow(2);
    lists->mnuPopup1Up_Click();
    lists->mnuPopup1Hanten_Click();
    QStringList texts;
    for (int i = 0; i < list4.count(); ++i)
        texts.append(list4.item(i)->text());
    EXPECT_EQ(texts, (QStringList{u"q"_s, u"r"_s, u"p"_s}));
}

TEST_F(SelectedListsTest, EqualIntervalsOpensTheDialogOnTheListInUse)
{
    make(false);
    fill({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    QWidget* seenParent = nullptr;
    QString seenTitle;
    // Should the dialog not be answered, it must not hang the tests.
    QTimer::singleShot(5000, form.get(), [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    QTimer::singleShot(0, form.get(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        seenParent = modal->parentWidget();
        seenTitle = modal->windowTitle();
        modal->findChild<QLineEdit*>(u"Text1"_s)->setText(u"2"_s);
        QTest::mouseClick(modal->findChild<QPushButton*>(u"Command1"_s), Qt::LeftButton);
    });
    lists->mnuPopup1SkipIns3_Click();
    EXPECT_EQ(seenParent, form.get());
    EXPECT_EQ(seenTitle, u"スキップくり返し挿入"_s);
    EXPECT_EQ(entries(lists->List2), (QStringList{u"a"_s, u"b"_s, S, u"c"_s, u"d"_s, S}));
    EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(SelectedListsTest, RunLockAndItsWrapUp)
{
    make(false);
    lists->Check1->setChecked(true);
    QSignalSpy toggles(lists->Check1, &QCheckBox::toggled);
    lists->setRunLocked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{lists->Check1, lists->Command1, lists->Command2,
                                                      lists->Command3, lists->Command5}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_FALSE(w->isEnabled());
    }
    lists->setRunLocked(false);
    lists->reapplySelectMode();
    EXPECT_EQ(toggles.count(), 2);
    EXPECT_TRUE(lists->Check1->isChecked());
    EXPECT_TRUE(lists->Check1->isEnabled());
    EXPECT_TRUE(lists->Command5->isEnabled());

    // With sub-folders Check1 stays locked after the run.
    lists->chkSubDir_Click(true);
    lists->setRunLocked(true);
    lists->setRunLocked(false);
    lists->reapplySelectMode();
    EXPECT_FALSE(lists->Check1->isEnabled());
    EXPECT_FALSE(lists->Check1->isChecked());
    EXPECT_FALSE(lists->Command1->isEnabled());
}

} // namespace
