#include "mainwin/form3.h"
#include "platform/settingsstore.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tavil::test {
namespace {

using mainwin::Form3;
using Mode = Form3::Mode;

QStringList rowsOf(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

// The row that is highlighted (current and selected), or -1.
int highlightedRow(const QListWidget* list)
{
    const int row = list->currentRow();
    return row >= 0 && list->item(row)->isSelected() ? row : -1;
}

void storeList(platform::MemorySettingsStore& store, const QString& section, const QString& prefix,
               const QStringList& entries, const QString& count = QString())
{
    for (int i = 0; i < entries.size(); ++i)
        store.write(section, prefix + QString::number(i), entries[i]);
    store.write(section, QStringLiteral("All"), count.isNull() ? QString::number(entries.size()) : count);
}

struct ModeCase {
    const char* name;
    Mode mode;
    const char* section;
    const char* prefix;
    QString caption;
    bool adding;
    QString text;
    const char* mark;
};

const ModeCase kModes[] = {
    {"patterns", Mode::Patterns, "FilePatt", "Patt", u"ファイルパターン編集"_qs, true, "*.*", "Option1"},
    {"shortcuts", Mode::Shortcuts, "Dir", "Dir", u"ショートカット編集"_qs, false, "", "Option2"},
    {"extensions", Mode::Extensions, "Exp", "Exp", u"拡張子編集"_qs, true, "", "Option3"},
    {"separators", Mode::Separators, "FileDiv", "Str", u"区切り文字編集"_qs, true, "", "Option4"},
};

TEST(Form3Open, EachModeShowsItsListCaptionAndControls)
{
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(c.name);
        platform::MemorySettingsStore store;
        // An empty entry in the middle is left out.
        storeList(store, c.section, c.prefix, {"one", "", "three"});
        Form3 dialog(store, c.mode);
        EXPECT_EQ(dialog.windowTitle(), c.caption);
        EXPECT_EQ(rowsOf(dialog.List1), (QStringList{"one", "three"}));
        EXPECT_EQ(highlightedRow(dialog.List1), -1);
        EXPECT_EQ(dialog.Text1->isVisibleTo(&dialog), c.adding);
        EXPECT_EQ(dialog.Command1->isVisibleTo(&dialog), c.adding);
        if (c.adding) {
            EXPECT_EQ(dialog.Text1->text(), c.text);
        }
        for (const char* mark : {"Option1", "Option2", "Option3", "Option4"}) {
            auto* option = dialog.findChild<QRadioButton*>(mark);
            ASSERT_NE(option, nullptr) << mark;
            EXPECT_FALSE(option->isEnabled()) << mark;
            EXPECT_EQ(option->isChecked(), QString::fromLatin1(mark) == QString::fromLatin1(c.mark)) << mark;
        }
        const QStringList buttons = {dialog.Command1->text(), dialog.Command2->text(), dialog.Command3->text(),
                                     dialog.Command6->text(), dialog.Command4->text(), dialog.Command5->text()};
        EXPECT_EQ(buttons, (QStringList{u"追加"_qs, "UP", "DOWN", u"削除"_qs, "OK", "Cancel"}));
    }
}

TEST(Form3Open, StoredCountsThatAreNoNumberOrTooLarge)
{
    struct Case {
        const char* name;
        Mode mode;
        QString count;
        int stored;
        int listed;
    };
    const Case cases[] = {
        {"notANumberListsNothing", Mode::Extensions, "abc", 3, 0},
        {"emptyCountListsNothing", Mode::Patterns, "", 3, 0},
        {"negativeListsNothing", Mode::Separators, "-4", 3, 0},
        {"shortcutsHoldTenAtMost", Mode::Shortcuts, "15", 15, 10},
        {"countBeyondTheEntriesReadsWhatIsThere", Mode::Patterns, "6", 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemorySettingsStore store;
        const ModeCase& m = kModes[static_cast<int>(c.mode)];
        QStringList entries;
        for (int i = 0; i < c.stored; ++i)
            entries.append(QStringLiteral("e%1").arg(i));
        storeList(store, m.section, m.prefix, entries, c.count);
        Form3 dialog(store, c.mode);
        EXPECT_EQ(dialog.List1->count(), c.listed);
    }
}

TEST(Form3Add, TheAddTable)
{
    struct Case {
        const char* name;
        Mode mode;
        QStringList before;
        QString typed;
        QStringList after;
    };
    const Case cases[] = {
        {"leadingDotDroppedInExtensions", Mode::Extensions, {}, ".TXT", {"TXT"}},
        {"onlyOneDotDropped", Mode::Extensions, {}, "..txt", {".txt"}},
        {"duplicateRefused", Mode::Extensions, {"TXT"}, "TXT", {"TXT"}},
        {"duplicateAfterTheDotRefused", Mode::Extensions, {"TXT"}, ".TXT", {"TXT"}},
        {"otherCaseIsAnotherEntry", Mode::Extensions, {"TXT"}, "txt", {"TXT", "txt"}},
        {"aLoneDotIsNothing", Mode::Extensions, {"TXT"}, ".", {"TXT"}},
        {"allFilesRefusedInPatterns", Mode::Patterns, {"*.txt"}, "*.*", {"*.txt"}},
        {"allFilesRefusedInSeparators", Mode::Separators, {}, "*.*", {}},
        {"patternAppendedAtTheEnd", Mode::Patterns, {"*.txt"}, "*.jpg", {"*.txt", "*.jpg"}},
        {"dotKeptInPatterns", Mode::Patterns, {}, ".txt", {".txt"}},
        {"emptyRefused", Mode::Separators, {"-"}, "", {"-"}},
        {"shortcutsAreNeverAdded", Mode::Shortcuts, {"/tmp"}, "/usr", {"/tmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemorySettingsStore store;
        const ModeCase& m = kModes[static_cast<int>(c.mode)];
        storeList(store, m.section, m.prefix, c.before);
        Form3 dialog(store, c.mode);
        dialog.Text1->setText(c.typed);
        dialog.Command1_Click();
        EXPECT_EQ(rowsOf(dialog.List1), c.after);
    }
}

TEST(Form3Add, EnterAddsAndSelectsTheTextForTheNextEntry)
{
    platform::MemorySettingsStore store;
    Form3 dialog(store, Mode::Separators);
    dialog.Text1->setText(QStringLiteral("--"));
    QTest::keyClick(dialog.Text1, Qt::Key_Return);
    EXPECT_EQ(rowsOf(dialog.List1), QStringList{"--"});
    EXPECT_EQ(dialog.Text1->selectedText(), QStringLiteral("--"));
    EXPECT_TRUE(dialog.isVisible() == false && dialog.result() == 0) << "Enter never presses OK";
    EXPECT_FALSE(store.value("FileDiv", "All").has_value());
}

TEST(Form3Add, RefusedCharactersCannotBeTyped)
{
    platform::MemorySettingsStore store;
    Form3 dialog(store, Mode::Separators);
    dialog.Text1->clear();
    // " , / : < > ? \ | are refused; the other marks of a pattern are not.
    QTest::keyClicks(dialog.Text1, QStringLiteral("a\"b,c/d:e<f>g?h\\i|j*;k"));
    EXPECT_EQ(dialog.Text1->text(), QStringLiteral("abcdefghij*;k"));
}

TEST(Form3Keys, MovesAndTheirEdges)
{
    struct Case {
        const char* name;
        int highlighted;
        int key;
        QStringList after;
        int highlightAfter;
    };
    const Case cases[] = {
        {"upFromTheMiddle", 1, Qt::Key_Up, {"b", "a", "c"}, 0},
        {"downFromTheMiddle", 1, Qt::Key_Down, {"a", "c", "b"}, 2},
        {"upOnTheFirstChangesNothing", 0, Qt::Key_Up, {"a", "b", "c"}, 0},
        {"downOnTheLastChangesNothing", 2, Qt::Key_Down, {"a", "b", "c"}, 2},
        {"nothingHighlightedNothingMoves", -1, Qt::Key_Down, {"a", "b", "c"}, -1},
    };
    for (const Case& c : cases) {
        for (const bool button : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (button ? " (button)" : " (key)"));
            platform::MemorySettingsStore store;
            storeList(store, "Exp", "Exp", {"a", "b", "c"});
            Form3 dialog(store, Mode::Extensions);
            if (c.highlighted >= 0)
                dialog.List1->setCurrentRow(c.highlighted);
            if (button)
                (c.key == Qt::Key_Up ? dialog.Command2 : dialog.Command3)->click();
            else
                QTest::keyClick(dialog.List1, Qt::Key(c.key), Qt::ControlModifier);
            EXPECT_EQ(rowsOf(dialog.List1), c.after);
            // The list's own handling never moved the highlight instead.
            EXPECT_EQ(highlightedRow(dialog.List1), c.highlightAfter);
        }
    }
}

TEST(Form3Keys, PlainArrowsStillMoveTheHighlight)
{
    platform::MemorySettingsStore store;
    storeList(store, "Exp", "Exp", {"a", "b", "c"});
    Form3 dialog(store, Mode::Extensions);
    dialog.List1->setCurrentRow(0);
    QTest::keyClick(dialog.List1, Qt::Key_Down);
    EXPECT_EQ(dialog.List1->currentRow(), 1);
    EXPECT_EQ(rowsOf(dialog.List1), (QStringList{"a", "b", "c"}));
}

TEST(Form3Delete, DeletesTheHighlightedEntry)
{
    struct Case {
        const char* name;
        int highlighted;
        bool byKey;
        QStringList after;
        int highlightAfter;
    };
    const Case cases[] = {
        {"middleSelectsTheNext", 1, false, {"a", "c"}, 1},
        {"firstSelectsTheNext", 0, true, {"b", "c"}, 0},
        {"lastLeavesNothingSelected", 2, false, {"a", "b"}, -1},
        {"lastByKey", 2, true, {"a", "b"}, -1},
        {"nothingHighlightedNothingGoes", -1, false, {"a", "b", "c"}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemorySettingsStore store;
        storeList(store, "FilePatt", "Patt", {"a", "b", "c"});
        Form3 dialog(store, Mode::Patterns);
        if (c.highlighted >= 0)
            dialog.List1->setCurrentRow(c.highlighted);
        if (c.byKey)
            QTest::keyClick(dialog.List1, Qt::Key_Delete);
        else
            dialog.Command6->click();
        EXPECT_EQ(rowsOf(dialog.List1), c.after);
        EXPECT_EQ(highlightedRow(dialog.List1), c.highlightAfter);
    }
}

TEST(Form3Delete, TheOnlyEntryTwice)
{
    platform::MemorySettingsStore store;
    storeList(store, "FileDiv", "Str", {"-"});
    Form3 dialog(store, Mode::Separators);
    dialog.List1->setCurrentRow(0);
    dialog.Command6->click();
    dialog.Command6->click();
    EXPECT_EQ(dialog.List1->count(), 0);
    EXPECT_EQ(highlightedRow(dialog.List1), -1);
}

TEST(Form3Close, OkWritesTheListAndCancelNothing)
{
    for (const ModeCase& c : kModes) {
        SCOPED_TRACE(c.name);
        {
            platform::MemorySettingsStore store;
            storeList(store, c.section, c.prefix, {"a", "b", "c", "d"});
            Form3 dialog(store, c.mode);
            dialog.List1->setCurrentRow(3);
            dialog.Command2->click(); // a, b, d, c
            dialog.List1->setCurrentRow(0);
            dialog.Command6->click(); // b, d, c
            dialog.Command4->click();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            QMap<QString, QString> expected{{"All", "3"}};
            expected[QString::fromLatin1(c.prefix) + "0"] = "b";
            expected[QString::fromLatin1(c.prefix) + "1"] = "d";
            expected[QString::fromLatin1(c.prefix) + "2"] = "c";
            // The fourth key is left as it was: the count ends the list.
            expected[QString::fromLatin1(c.prefix) + "3"] = "d";
            EXPECT_EQ(store.sections.value(c.section), expected);
        }
        {
            platform::MemorySettingsStore store;
            storeList(store, c.section, c.prefix, {"a", "b"});
            const auto before = store.sections;
            Form3 dialog(store, c.mode);
            dialog.List1->setCurrentRow(0);
            dialog.Command6->click();
            dialog.Command5->click();
            EXPECT_EQ(dialog.result(), QDialog::Rejected);
            EXPECT_EQ(store.sections, before);
        }
    }
}

TEST(Form3Close, AnEmptiedListIsStoredAsEmpty)
{
    platform::MemorySettingsStore store;
    storeList(store, "Dir", "Dir", {"/a"});
    Form3 dialog(store, Mode::Shortcuts);
    dialog.List1->setCurrentRow(0);
    dialog.Command6->click();
    dialog.Command4->click();
    EXPECT_EQ(store.read("Dir", "All"), QStringLiteral("0"));
}

} // namespace
} // namespace tavil::test
