#include "mainwin/form6.h"
#include "tests/common/guifakes.h"
#include "tests/common/qtprint.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using tavil::mainwin::Form6;

namespace {

const QString S = u"  ◆ SKIP ◆"_s;

class Form6Test : public ::testing::Test {
protected:
    void SetUp() override { m_windowsBefore = QApplication::topLevelWidgets().size(); }
    void TearDown() override
    {
        dialog.reset();
        list.reset();
        EXPECT_EQ(QApplication::topLevelWidgets().size(), m_windowsBefore);
    }

    // A list of `entries` names e0, e1, ... and the dialog on it, shown.
    void open(int entries)
    {
        list = std::make_unique<QListWidget>();
        for (int i = 0; i < entries; ++i) {
            auto* item = new QListWidgetItem(u"e%1"_s.arg(i), list.get());
            item->setData(Qt::UserRole, item->text());
        }
        dialog = std::make_unique<Form6>(list.get(), desktop);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out.append(list->item(i)->data(Qt::UserRole).toString());
        return out;
    }

    // Closed by OK (accepted) or still open.
    bool closedByOk() const { return !dialog->isVisible() && dialog->result() == QDialog::Accepted; }

    tavil::test::FakeDesktop desktop;
    std::unique_ptr<QListWidget> list;
    std::unique_ptr<Form6> dialog;

private:
    qsizetype m_windowsBefore = 0;
};

TEST_F(Form6Test, CaptionsAndStartValues)
{
    open(0);
    EXPECT_EQ(dialog->windowTitle(), u"スキップくり返し挿入"_s);
    EXPECT_EQ(dialog->Text1->text(), u"1"_s);
    EXPECT_EQ(dialog->Text2->text(), u"1"_s);
    EXPECT_EQ(dialog->Label1->text(), u"個ごとに"_s);
    EXPECT_EQ(dialog->Label2->text(), u"個挿入"_s);
    EXPECT_EQ(dialog->Command1->text(), u"OK"_s);
    EXPECT_EQ(dialog->Command2->text(), u"Cancel"_s);
    for (const char* name : {"Text1", "Text2", "Label1", "Label2", "Command1", "Command2"})
        EXPECT_NE(dialog->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    // Every box, label and button lies inside the dialog, apart from the others.
    const QList<QWidget*> parts = {dialog->Text1, dialog->Label1, dialog->Text2,
                                   dialog->Label2, dialog->Command1, dialog->Command2};
    for (QWidget* a : parts) {
        EXPECT_TRUE(dialog->rect().contains(a->geometry())) << a->objectName().toStdString();
        for (QWidget* b : parts) {
            if (a != b) {
                EXPECT_FALSE(a->geometry().intersects(b->geometry()))
                    << a->objectName().toStdString() << " " << b->objectName().toStdString();
            }
        }
    }
}

TEST_F(Form6Test, GroupsAfterEveryNEntries)
{
    struct Case {
        const char* name;
        int entries;
        const char* every;
        const char* rows;
        QStringList after;
    };
    const QString e0 = u"e0"_s, e1 = u"e1"_s, e2 = u"e2"_s, e3 = u"e3"_s, e4 = u"e4"_s, e5 = u"e5"_s, e6 = u"e6"_s,
                  e7 = u"e7"_s, e8 = u"e8"_s, e9 = u"e9"_s;
    const Case cases[] = {
        {"defaultsAfterEveryEntry", 4, "1", "1", {e0, S, e1, S, e2, S, e3, S}},
        {"twoThenThree", 5, "2", "3", {e0, e1, S, S, S, e2, e3, S, S, S, e4}},
        {"tenByThree", 10, "3", "1", {e0, e1, e2, S, e3, e4, e5, S, e6, e7, e8, S, e9}},
        {"nineByThreeEndsWithAGroup", 9, "3", "1", {e0, e1, e2, S, e3, e4, e5, S, e6, e7, e8, S}},
        {"emptyList", 0, "1", "1", {}},
        {"fewerThanTheInterval", 2, "3", "1", {e0, e1}},
        {"noRows", 3, "1", "0", {e0, e1, e2}},
        {"pastedFractionDown", 4, "2.9", "1", {e0, e1, S, e2, e3, S}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.beeps = 0;
        open(c.entries);
        dialog->Text1->setText(QString::fromLatin1(c.every));
        dialog->Text2->setText(QString::fromLatin1(c.rows));
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);
        EXPECT_EQ(entries(), c.after);
        EXPECT_TRUE(closedByOk());
        EXPECT_EQ(desktop.beeps, 1);
    }
}

TEST_F(Form6Test, RefusedIntervalsAndTextsKeepItOpen)
{
    struct Case {
        const char* name;
        QString every;
        QString rows;
    };
    const Case cases[] = {
        {"zeroInterval", u"0"_s, u"1"_s},
        {"negativeInterval", u"-2"_s, u"1"_s}, // only by a paste
        {"intervalNotANumber", u"abc"_s, u"1"_s},
        {"rowsNotANumber", u"1"_s, u"x1"_s},
        {"rowsBeyond32Bits", u"1"_s, u"99999999999"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.beeps = 0;
        open(3);
        dialog->Text1->setText(c.every);
        dialog->Text2->setText(c.rows);
        dialog->Command1_Click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(entries(), (QStringList{u"e0"_s, u"e1"_s, u"e2"_s}));
        EXPECT_EQ(desktop.beeps, 0);
    }
}

TEST_F(Form6Test, EmptyBoxesFallBackToOne)
{
    open(2);
    dialog->Text2->clear();
    dialog->Command1_Click();
    EXPECT_EQ(dialog->Text2->text(), u"1"_s);
    EXPECT_EQ(entries(), (QStringList{u"e0"_s, S, u"e1"_s, S}));

    open(2);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->Text1->setFocus();
    dialog->Text1->clear();
    dialog->Text2->setFocus(); // Text1 loses the focus empty
    EXPECT_EQ(dialog->Text1->text(), u"1"_s);
}

TEST_F(Form6Test, BoxesTakeDigitsOnly)
{
    open(1);
    for (QLineEdit* box : {dialog->Text1, dialog->Text2}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->clear();
        QTest::keyClicks(box, u"a1-b."_s);
        // A full-width digit, as a keyboard layout or a paste of one key gives it.
        QKeyEvent fullWidth(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, u"２"_s);
        QApplication::sendEvent(box, &fullWidth);
        QTest::keyClicks(box, u"3x"_s);
        EXPECT_EQ(box->text(), u"13"_s);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), u"1"_s);
    }
}

TEST_F(Form6Test, EnterMovesOnAndThenRunsOk)
{
    open(4);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->Text1->setFocus();
    dialog->Text1->setText(u"2"_s);
    QTest::keyClick(dialog->Text1, Qt::Key_Return);
    EXPECT_TRUE(dialog->Text2->hasFocus());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(list->count(), 4);
    dialog->Text2->setText(u"2"_s);
    QTest::keyClick(dialog->Text2, Qt::Key_Enter); // the keypad's Enter too
    EXPECT_EQ(entries(), (QStringList{u"e0"_s, u"e1"_s, S, S, u"e2"_s, u"e3"_s, S, S}));
    EXPECT_TRUE(closedByOk());
}

TEST_F(Form6Test, FocusSelectsTheWholeText)
{
    open(1);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->Text2->setText(u"25"_s);
    dialog->Text2->setFocus();
    QTRY_COMPARE(dialog->Text2->selectedText(), u"25"_s);
}

TEST_F(Form6Test, CancelClosesWithoutChange)
{
    open(3);
    dialog->Text1->setText(u"1"_s);
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(Form6Test, AFullListEndsItWithTheRowsSoFar)
{
    open(32760);
    dialog->Text1->setText(u"1"_s);
    dialog->Text2->setText(u"5"_s);
    dialog->Command1_Click();
    ASSERT_EQ(list->count(), 32767);
    // The first group whole, the second as far as it fitted.
    EXPECT_EQ(list->item(0)->data(Qt::UserRole).toString(), u"e0"_s);
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(list->item(i)->data(Qt::UserRole).toString(), S) << i;
    EXPECT_EQ(list->item(6)->data(Qt::UserRole).toString(), u"e1"_s);
    EXPECT_EQ(list->item(7)->data(Qt::UserRole).toString(), S);
    EXPECT_EQ(list->item(8)->data(Qt::UserRole).toString(), S);
    EXPECT_EQ(list->item(9)->data(Qt::UserRole).toString(), u"e2"_s);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(desktop.beeps, 0);
}

} // namespace
