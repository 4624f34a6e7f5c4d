// The completion popup as a user meets it: typing into a box offers stored
// texts, keys and the mouse take one, and each box keeps to its own history.

#include "mainwin/completioncandidates.h"
#include "mainwin/completionpopup.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "tests/mainwin/tabpagesfixture.h"
#include "tests/mainwin/windowbench.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace tavil::test {
namespace {

namespace S = support::settings;
using mainwin::completion::OwnList;

std::string s(const QString& text)
{
    return text.toStdString();
}

TEST(CompletionCandidates, Table)
{
    struct Case {
        const char* name;
        QString typed;
        QStringList items;
        OwnList rule;
        QStringList history; // oldest first
        QStringList offers;
    };
    const Case cases[] = {
        {"only what begins with the typed text", "t", {"*.*"}, OwnList::All, {"txt", "*.txt"}, {"txt"}},
        {"letter case counts", "T", {"*.*"}, OwnList::All, {"txt", "*.txt"}, {}},
        {"own entries first, then the history newest first", "a", {"ab", "x", "ac"}, OwnList::All,
         {"a1", "a2"}, {"ab", "ac", "a2", "a1"}},
        {"the first own entry only", QStringLiteral(u"ﾘ"), {QStringLiteral(u"ﾘｽﾄと同じ"), QStringLiteral(u"ﾘa")},
         OwnList::First, {QStringLiteral(u"ﾘb"), QStringLiteral(u"ﾘｽﾄと同じ")},
         {QStringLiteral(u"ﾘｽﾄと同じ"), QStringLiteral(u"ﾘb")}},
        {"an own entry not looked at comes from the history only", "jp", {"jpg", "jpeg"}, OwnList::First,
         {"jpeg"}, {"jpg", "jpeg"}},
        {"no own list", "a", {"ab"}, OwnList::None, {"ax"}, {"ax"}},
        {"the whole text must match", "abc", {}, OwnList::None, {"ab", "abcd", "abc"}, {"abc", "abcd"}},
        {"nothing for an empty text", "", {"a"}, OwnList::All, {"b"}, {}},
        {"an empty list is looked at as one empty text", "a", {}, OwnList::First, {"a"}, {"a"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mainwin::completion::candidates(c.typed, mainwin::completion::ownEntriesLookedAt(c.items, c.rule),
                                                  c.history),
                  c.offers);
    }
}

class CompletionPopupTest : public TabPagesTest {
protected:
    void SetUp() override
    {
        TabPagesTest::SetUp();
        popup = new mainwin::CompletionPopup(form.get(), services);
        popup->autoComp = [this] { return autoComp; };
        popup->serveTabs(*pages);
    }

    void history(const char* section, const char* prefix, const QStringList& oldestFirst)
    {
        store.write(QString::fromLatin1(section), QStringLiteral("All"), QString::number(oldestFirst.size()));
        for (int i = 0; i < oldestFirst.size(); ++i)
            store.write(QString::fromLatin1(section), QString::fromLatin1(prefix) + QString::number(i), oldestFirst[i]);
    }
    QStringList stored(const char* section, const char* prefix)
    {
        QStringList out;
        const int n = store.read(QString::fromLatin1(section), QStringLiteral("All"), 0).toInt();
        for (int i = 0; i < n; ++i)
            out.append(store.read(QString::fromLatin1(section), QString::fromLatin1(prefix) + QString::number(i)));
        return out;
    }
    // Focus into box on its page, then types text.
    void typeInto(QComboBox* box, const QString& text)
    {
        // A click's focus: the caret stays where it is, nothing is selected.
        box->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(box->hasFocus());
        QTest::keyClicks(box, text);
    }
    QStringList offers() const
    {
        QStringList out;
        for (int i = 0; i < popup->List3->count(); ++i)
            out.append(popup->List3->item(i)->text());
        return out;
    }
    bool shown() const
    {
        const bool list = popup->List3->isVisible();
        EXPECT_EQ(popup->SBar2->isVisible(), list);
        EXPECT_EQ(popup->Toolbar2->isVisible(), list);
        EXPECT_EQ(popup->Picture2->isVisible(), list);
        return list;
    }
    // The edit page in its add mode, with Text10 and Text11 showing.
    void editPage()
    {
        ASSERT_TRUE(pages->selectTab(3));
        pages->Option8[0]->setChecked(true);
    }
    // The replace mode shows both boxes.
    void replacePage()
    {
        ASSERT_TRUE(pages->selectTab(3));
        pages->Option8[1]->setChecked(true);
    }
    // A character as an input method hands it in: a key event with a text.
    static void typeText(QWidget* box, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &release);
        }
    }

    mainwin::CompletionPopup* popup = nullptr; // owned by the form
    bool autoComp = true;
};

TEST_F(CompletionPopupTest, TypingOffersTheMatchingEntries)
{
    struct Case {
        const char* name;
        int tab;
        std::function<QComboBox*(mainwin::TabPages*)> box;
        const char* typed;
        QStringList offers; // empty: no popup
    };
    const Case cases[] = {
        {"edit text: its history newest first", 3, [](mainwin::TabPages* p) { return p->Text10; }, "ab",
         {"abd", "abc"}},
        {"replacement: the same history", 3, [](mainwin::TabPages* p) { return p->Text11; }, "x", {"xyz"}},
        {"letter case counts", 3, [](mainwin::TabPages* p) { return p->Text10; }, "AB", {}},
        {"nothing matches", 3, [](mainwin::TabPages* p) { return p->Text10; }, "q", {}},
        {"name: its own history", 1, [](mainwin::TabPages* p) { return p->Text4; }, "p", {"photo"}},
        {"extension: the list's first entry, then the history", 1, [](mainwin::TabPages* p) { return p->Text5; },
         "j", {"jpg", "jpx"}},
        {"new extension: the same", 2, [](mainwin::TabPages* p) { return p->Text8; }, "jp", {"jpg", "jpx"}},
    };
    history("TempEdit", "str", {"abc", "xyz", "abd"});
    history("TempName", "Name", {"photo", "abc"});
    history("TempExp", "exp", {"jpx", "jpg", "abd"});
    pages->Check5->setChecked(true);
    pages->Check6->setChecked(true);
    pages->Text5->addItems({"jpg", "jpeg"});
    pages->Text8->addItems({"jpg", "jpeg"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(pages->selectTab(c.tab));
        pages->Option8[1]->setChecked(true); // both boxes of the edit page
        QComboBox* box = c.box(pages);
        box->setEditText(QString());
        typeInto(box, QString::fromLatin1(c.typed));
        EXPECT_EQ(s(box->currentText()), c.typed);
        EXPECT_EQ(shown(), !c.offers.isEmpty());
        if (!c.offers.isEmpty()) {
            EXPECT_EQ(offers(), c.offers);
            EXPECT_EQ(popup->servedBox(), box);
            EXPECT_EQ(popup->List3->currentRow(), -1);
            EXPECT_TRUE(popup->List3->selectedItems().isEmpty());
        }
        // Emptying the box takes the popup away.
        box->lineEdit()->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_FALSE(shown());
    }
}

TEST_F(CompletionPopupTest, ImportExtensionOffersItsFixedItemFirstAndOnce)
{
    history("TempExp", "exp", {QStringLiteral(u"ﾘｽﾄと同じ"), QStringLiteral(u"ﾘx")});
    ASSERT_TRUE(pages->selectTab(7));
    pages->Option12->setChecked(true);
    pages->Combo4->setEditText(QString());
    pages->Combo4->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(pages->Combo4->hasFocus());
    typeText(pages->Combo4, QStringLiteral(u"ﾘ"));
    EXPECT_EQ(pages->Combo4->currentText(), QStringLiteral(u"ﾘ"));
    ASSERT_TRUE(shown());
    EXPECT_EQ(offers(), QStringList({QStringLiteral(u"ﾘｽﾄと同じ"), QStringLiteral(u"ﾘx")}));
}

TEST_F(CompletionPopupTest, PopupLiesUnderItsBoxAndGrowsToSixRows)
{
    editPage();
    history("TempEdit", "str", {"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8"});
    QComboBox* box = pages->Text10;
    typeInto(box, "a");
    ASSERT_TRUE(shown());
    const QRect list = popup->List3->geometry();
    const QPoint under = box->mapTo(form.get(), QPoint(0, box->height()));
    EXPECT_EQ(list.top(), under.y());
    EXPECT_EQ(list.left(), under.x() + px(20));
    EXPECT_EQ(list.width(), box->width() - px(50));
    const int row = popup->List3->sizeHintForRow(0);
    const int six = list.height();
    EXPECT_EQ(six, 6 * row + 2 * popup->List3->frameWidth());
    // The strip and its buttons lie under the list, inside the window.
    EXPECT_GT(popup->SBar2->geometry().bottom(), list.bottom());
    EXPECT_TRUE(popup->SBar2->geometry().contains(popup->Toolbar2->geometry()));
    EXPECT_TRUE(popup->SBar2->geometry().contains(popup->Picture2->geometry()));

    QTest::keyClicks(box, "7");
    ASSERT_TRUE(shown());
    EXPECT_EQ(offers(), QStringList({"a7"}));
    EXPECT_EQ(popup->List3->height(), row + 2 * popup->List3->frameWidth());
}

TEST_F(CompletionPopupTest, DownAndUpMoveThroughTheOffers)
{
    editPage();
    history("TempEdit", "str", {"ab3", "ab2", "ab1"});
    QComboBox* box = pages->Text10;
    typeInto(box, "ab");
    ASSERT_EQ(offers(), QStringList({"ab1", "ab2", "ab3"}));
    struct Step {
        Qt::Key key;
        int row;
        const char* text;
    };
    const Step steps[] = {
        {Qt::Key_Down, 0, "ab1"},
        {Qt::Key_Down, 1, "ab2"},
        {Qt::Key_Down, 2, "ab3"},
        {Qt::Key_Down, 2, "ab3"}, // past the last: stays there
        {Qt::Key_Up, 1, "ab2"},
        {Qt::Key_Up, 0, "ab1"},
        {Qt::Key_Up, -1, "ab"},   // above the first: the typed text again
        {Qt::Key_Up, -1, "ab"},   // nothing selected: nothing to do
        {Qt::Key_Down, 0, "ab1"},
    };
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        QTest::keyClick(box, step.key);
        EXPECT_TRUE(shown());
        EXPECT_EQ(offers().size(), 3) << "the keys' writing rebuilds nothing";
        const bool selected = !popup->List3->selectedItems().isEmpty();
        EXPECT_EQ(selected ? popup->List3->currentRow() : -1, step.row);
        EXPECT_EQ(s(box->currentText()), step.text);
        EXPECT_EQ(box->lineEdit()->cursorPosition(), int(qstrlen(step.text)));
    }
    // The box's own list is not stepped through meanwhile.
    EXPECT_EQ(box->count(), 0);
}

TEST_F(CompletionPopupTest, EnterStoresTheTextClosesAndSelectsIt)
{
    editPage();
    history("TempEdit", "str", {"abc"});
    QComboBox* box = pages->Text10;
    typeInto(box, "ab");
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(shown());
    EXPECT_EQ(box->currentText(), QStringLiteral("abc"));
    EXPECT_EQ(box->lineEdit()->selectedText(), QStringLiteral("abc"));
    EXPECT_EQ(stored("TempEdit", "str"), QStringList({"abc"})); // already there: kept once
    // A new text goes in, even with nothing offered.
    box->setEditText(QString());
    typeInto(box, "new");
    EXPECT_FALSE(shown());
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(stored("TempEdit", "str").last(), QStringLiteral("new"));
}

TEST_F(CompletionPopupTest, EscClosesAndLeavesTheBox)
{
    editPage();
    history("TempEdit", "str", {"abc"});
    QComboBox* box = pages->Text10;
    typeInto(box, "ab");
    ASSERT_TRUE(shown());
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(shown());
    EXPECT_EQ(box->currentText(), QStringLiteral("ab"));
    EXPECT_EQ(stored("TempEdit", "str"), QStringList({"abc"}));
    EXPECT_TRUE(box->hasFocus());
}

TEST_F(CompletionPopupTest, AClickTakesAnEntry)
{
    editPage();
    history("TempEdit", "str", {"abc", "abd"});
    QComboBox* box = pages->Text10;
    typeInto(box, "ab");
    ASSERT_EQ(offers(), QStringList({"abd", "abc"}));
    QListWidget* list = popup->List3;
    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(1)).center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_FALSE(shown());
    EXPECT_EQ(box->currentText(), QStringLiteral("abc"));
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(stored("TempEdit", "str").last(), QStringLiteral("abc"));
}

TEST_F(CompletionPopupTest, HoverSelectsWithoutTakingAndScrollsAtTheEdge)
{
    editPage();
    history("TempEdit", "str", {"a8", "a7", "a6", "a5", "a4", "a3", "a2", "a1"});
    QComboBox* box = pages->Text10;
    typeInto(box, "a");
    QListWidget* list = popup->List3;
    QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(box->currentText(), QStringLiteral("a")) << "hovering writes nothing";
    EXPECT_TRUE(shown());
    // The last row shown, hovered near its bottom once selected, brings the
    // next one in.
    const QRect last = list->visualItemRect(list->item(5));
    QTest::mouseMove(list->viewport(), last.center());
    EXPECT_EQ(list->currentRow(), 5);
    QTest::mouseMove(list->viewport(), QPoint(last.center().x(), last.bottom() - 1));
    EXPECT_EQ(list->currentRow(), 6);
    EXPECT_EQ(list->verticalScrollBar()->value(), 1);
}

TEST_F(CompletionPopupTest, FocusLossAndTheCloseButtonClose)
{
    replacePage();
    history("TempEdit", "str", {"abc"});
    QComboBox* box = pages->Text10;
    typeInto(box, "ab");
    ASSERT_TRUE(shown());
    pages->Text11->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(shown());
    EXPECT_EQ(popup->currentBox(), pages->Text11);

    typeInto(box, "c");
    ASSERT_TRUE(shown());
    ASSERT_EQ(popup->Toolbar2->actions().size(), 1);
    QWidget* close = popup->Toolbar2->widgetForAction(popup->Toolbar2->actions().first());
    ASSERT_NE(close, nullptr);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(shown());
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->lineEdit()->cursorPosition(), 3);
}

TEST_F(CompletionPopupTest, AResizeOfTheWindowCloses)
{
    editPage();
    history("TempEdit", "str", {"abc"});
    typeInto(pages->Text10, "ab");
    ASSERT_TRUE(shown());
    form->resize(form->width() + 30, form->height());
    QApplication::processEvents();
    EXPECT_FALSE(shown());
}

TEST_F(CompletionPopupTest, NothingWithTheOptionOff)
{
    autoComp = false;
    editPage();
    history("TempEdit", "str", {"abc"});
    typeInto(pages->Text10, "ab");
    EXPECT_FALSE(shown());
    // Enter still stores, into the box's own history.
    QTest::keyClick(pages->Text10, Qt::Key_Return);
    EXPECT_EQ(stored("TempEdit", "str"), QStringList({"abc", "ab"}));
}

TEST_F(CompletionPopupTest, EachBoxKeepsToItsOwnHistory)
{
    // The option goes off after a box was focused with it on: a later Enter
    // in another box still stores into that other box's history.
    editPage();
    typeInto(pages->Text10, "edit");
    EXPECT_EQ(popup->currentBox(), pages->Text10);
    autoComp = false;
    ASSERT_TRUE(pages->selectTab(1));
    pages->Check5->setChecked(true);
    typeInto(pages->Text4, "name");
    EXPECT_EQ(popup->currentBox(), pages->Text4);
    QTest::keyClick(pages->Text4, Qt::Key_Return);
    EXPECT_EQ(stored("TempName", "Name"), QStringList({"name"}));
    EXPECT_TRUE(stored("TempEdit", "str").isEmpty());
    // Focus on a box the popup doesn't serve: no current box.
    pages->Text1->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(popup->currentBox(), nullptr);
    // A text the program writes into a box that has no focus opens nothing.
    autoComp = true;
    history("TempName", "Name", {"name"});
    pages->Text4->setEditText(QStringLiteral("n"));
    EXPECT_FALSE(shown());
}

TEST_F(CompletionPopupTest, SuppressedChangesOpenNothing)
{
    editPage();
    history("TempEdit", "str", {"abc"});
    pages->Text10->setFocus(Qt::TabFocusReason);
    popup->setSuppressed(true);
    pages->Text10->setEditText(QStringLiteral("a"));
    EXPECT_FALSE(shown());
    popup->setSuppressed(false);
    QTest::keyClicks(pages->Text10, "b");
    EXPECT_TRUE(shown());
}

TEST_F(CompletionPopupTest, BoxesRefuseTheirCharacters)
{
    struct Case {
        const char* name;
        int tab;
        std::function<QComboBox*(mainwin::TabPages*)> box;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {"name: a comma is allowed", 1, [](mainwin::TabPages* p) { return p->Text4; }, "a,b.c*d", "a,bcd"},
        {"extension: neither comma nor period", 1, [](mainwin::TabPages* p) { return p->Text5; }, "a,b.c?d", "abcd"},
        {"edit text: comma and period allowed", 3, [](mainwin::TabPages* p) { return p->Text10; }, "a,b.c/d:e", "a,b.cde"},
        {"new extension", 2, [](mainwin::TabPages* p) { return p->Text8; }, "x|y\"z<", "xyz"},
    };
    pages->Check5->setChecked(true);
    pages->Check6->setChecked(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(pages->selectTab(c.tab));
        if (c.tab == 3)
            pages->Option8[0]->setChecked(true);
        QComboBox* box = c.box(pages);
        box->setEditText(QString());
        typeInto(box, QString::fromLatin1(c.typed));
        EXPECT_EQ(s(box->currentText()), c.kept);
    }
}

TEST_F(CompletionPopupTest, AHistoryCountBeyondThirtyReadsThirty)
{
    editPage();
    QStringList entries;
    for (int i = 0; i < 40; ++i)
        entries.append(QStringLiteral("e%1").arg(i, 2, 10, QLatin1Char('0')));
    history("TempEdit", "str", entries);
    store.write(QStringLiteral("TempEdit"), QStringLiteral("All"), QStringLiteral("45"));
    typeInto(pages->Text10, "e");
    ASSERT_TRUE(shown());
    ASSERT_EQ(offers().size(), 30);
    EXPECT_EQ(offers().first(), QStringLiteral("e29"));
    EXPECT_EQ(offers().last(), QStringLiteral("e00"));
    // A count that is no number offers no history and breaks nothing.
    store.write(QStringLiteral("TempEdit"), QStringLiteral("All"), QStringLiteral("x"));
    QTest::keyClicks(pages->Text10, "0");
    EXPECT_FALSE(shown());
}

TEST_F(CompletionPopupTest, CaretKeysDoNotReopenThePopup)
{
    editPage();
    history("TempEdit", "str", {"abc"});
    QComboBox* box = pages->Text10;
    typeInto(box, "ab");
    ASSERT_TRUE(shown());
    QTest::keyClick(box, Qt::Key_Escape);
    ASSERT_FALSE(shown());
    QTest::keyClick(box, Qt::Key_Left);
    // A change right after a caret key (as the box's own list makes it)
    // shows nothing; typing again does.
    box->setEditText(QStringLiteral("a"));
    EXPECT_FALSE(shown());
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, "b");
    EXPECT_TRUE(shown());
}

TEST_F(CompletionPopupTest, ChoosingFromTheBoxsOwnListCloses)
{
    ASSERT_TRUE(pages->selectTab(2));
    history("TempExp", "exp", {"jpx"});
    pages->Text8->addItems({"jpg", "png"});
    pages->Text8->setEditText(QString());
    typeInto(pages->Text8, "j");
    ASSERT_TRUE(shown());
    emit pages->Text8->activated(1);
    EXPECT_FALSE(shown());
}

// A whole window started in its folder, shown and active so that the focus
// moves as it does for a user.
void startShown(WindowBench& w)
{
    w.startIn({});
    w.form->show();
    w.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.form.get()));
}

TEST(CompletionPopupWindow, PatternBoxOffersItsListAndHistory)
{
    WindowBench w;
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("All"), QStringLiteral("3"));
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("tp0"), QStringLiteral("txt"));
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("tp1"), QStringLiteral("*.txt"));
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("tp2"), QStringLiteral("*.doc"));
    w.dir.createFile(QStringLiteral("a.txt"), QByteArray("a"));
    w.dir.createFile(QStringLiteral("b.doc"), QByteArray("b"));
    startShown(w);
    mainwin::CompletionPopup& popup = w.form->completion();
    QComboBox* combo1 = w.form->browser().Combo1;
    combo1->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(combo1->hasFocus());
    combo1->lineEdit()->selectAll();
    QTest::keyClicks(combo1, "t");
    ASSERT_TRUE(popup.List3->isVisible());
    ASSERT_EQ(popup.List3->count(), 1);
    EXPECT_EQ(popup.List3->item(0)->text(), QStringLiteral("txt"));

    combo1->lineEdit()->selectAll();
    QTest::keyClicks(combo1, "*");
    ASSERT_TRUE(popup.List3->isVisible());
    ASSERT_EQ(popup.List3->count(), 3);
    EXPECT_EQ(popup.List3->item(0)->text(), QStringLiteral("*.*"));
    EXPECT_EQ(popup.List3->item(1)->text(), QStringLiteral("*.doc"));
    // Down writes the entry but doesn't filter the files by it.
    QTest::keyClick(combo1, Qt::Key_Down);
    QTest::keyClick(combo1, Qt::Key_Down);
    EXPECT_EQ(combo1->currentText(), QStringLiteral("*.doc"));
    EXPECT_EQ(popup.List3->count(), 3);
    EXPECT_FALSE(w.form->browser().patternChangeSuppressed());
    // A click takes the entry; the browser lists by it.
    QListWidget* list = popup.List3;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_FALSE(popup.List3->isVisible());
    EXPECT_EQ(combo1->currentText(), QStringLiteral("*.txt"));
    EXPECT_EQ(w.form->browser().allFiles(), QStringList({"a.txt"}));
    w.form->hide();
}

TEST(CompletionPopupWindow, OptionOffMeansNoPopup)
{
    WindowBench w;
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("All"), QStringLiteral("1"));
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("tp0"), QStringLiteral("txt"));
    startShown(w);
    S::OptionFlags options = w.form->options();
    options.autoComp = false;
    w.form->setOptions(options);
    QComboBox* combo1 = w.form->browser().Combo1;
    combo1->setFocus(Qt::TabFocusReason);
    combo1->lineEdit()->selectAll();
    QTest::keyClicks(combo1, "t");
    EXPECT_FALSE(w.form->completion().List3->isVisible());
    w.form->hide();
}

TEST(CompletionPopupWindow, EnterInThePatternBoxClosesAndTheBrowserStores)
{
    WindowBench w;
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("All"), QStringLiteral("1"));
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("tp0"), QStringLiteral("*.txt"));
    startShown(w);
    mainwin::CompletionPopup& popup = w.form->completion();
    QComboBox* combo1 = w.form->browser().Combo1;
    combo1->setFocus(Qt::MouseFocusReason);
    combo1->lineEdit()->selectAll();
    QTest::keyClicks(combo1, "*.t");
    ASSERT_TRUE(popup.List3->isVisible());
    QTest::keyClicks(combo1, "x");
    QTest::keyClick(combo1, Qt::Key_Return);
    EXPECT_FALSE(popup.List3->isVisible());
    EXPECT_EQ(w.store.read(QStringLiteral("TempPatt"), QStringLiteral("All")), QStringLiteral("2"));
    EXPECT_EQ(w.store.read(QStringLiteral("TempPatt"), QStringLiteral("tp1")), QStringLiteral("*.tx"));
    EXPECT_FALSE(w.form->browser().patternChangeSuppressed());
    w.form->hide();
}

TEST(CompletionPopupWindow, AnEditedStoredListCloses)
{
    WindowBench w;
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("All"), QStringLiteral("1"));
    w.store.write(QStringLiteral("TempPatt"), QStringLiteral("tp0"), QStringLiteral("txt"));
    startShown(w);
    QComboBox* combo1 = w.form->browser().Combo1;
    combo1->setFocus(Qt::MouseFocusReason);
    combo1->lineEdit()->selectAll();
    QTest::keyClicks(combo1, "t");
    ASSERT_TRUE(w.form->completion().List3->isVisible());
    emit w.form->storedListEdited();
    EXPECT_FALSE(w.form->completion().List3->isVisible());
    w.form->hide();
}

} // namespace
} // namespace tavil::test
