// The tab strip and the rules of the pages' controls, driven as a user
// drives them: clicks, typing and focus moves.

#include "tests/mainwin/tabpagesfixture.h"

#include "mainwin/updown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTimeEdit>
#include <QToolButton>

#include <vector>

namespace tavil::test {
namespace {

// A click where a user aims: the indicator of a check or option box, the
// middle of anything else.
void click(QWidget* w)
{
    const bool indicator = qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, indicator ? QPoint(8, w->height() / 2) : w->rect().center());
}

// Typing, one key a character; characters beyond ASCII come as an input
// method would hand them over, as the text of a key.
void type(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QColor paletteColour(QPalette::ColorGroup group, QPalette::ColorRole role)
{
    return QApplication::palette().color(group, role);
}

QColor base(const QWidget* w)
{
    return w->palette().color(QPalette::Base);
}

// ---- The strip ----

struct TabRow {
    const char* caption;
    const char* key;
    const char* toolTip;
    const char* page;
    bool subFolders;
};

const TabRow kTabRows[] = {
    {"連番付加", "tabNum", "様々な形で連番を付加します", "Frame1(0)", false},
    {"拡張子", "tabExp", "拡張子を統一します", "Frame1(1)", true},
    {"編集", "tabEdit", "特定文字の追加等を行います", "Frame1(2)", true},
    {"a<->A", "tabConv", "大・小文字を統一します", "Frame1(3)", true},
    {"ﾀｲﾑｽﾀﾝﾌﾟ", "tabTime", "ﾀｲﾑｽﾀﾝﾌﾟを統一します", "Frame1(4)", true},
    {"属性", "tabZoku", "属性を統一します", "Frame1(5)", true},
    {"ｲﾝﾎﾟｰﾄ", "tabInport", "ﾃｷｽﾄﾌｧｲﾙからﾌｧｲﾙ名を取り込みます", "Frame1(6)", false},
    {"ｺﾋﾟｰ", "tabFileCopy", "ﾌｧｲﾙのｺﾋﾟｰを行います", "Frame1(7)", false},
};

const char* const kPageNames[] = {"Frame1(0)", "Frame1(1)", "Frame1(2)", "Frame1(3)", "Frame1(4)",
                                  "Frame1(5)", "Frame1(6)", "Frame1(7)", "Frame17"};

// The pages shown now, by name.
QStringList shownPages(const QWidget* form)
{
    QStringList shown;
    for (const char* name : kPageNames) {
        if (form->findChild<QFrame*>(QString::fromUtf8(name))->isVisible())
            shown << QString::fromUtf8(name);
    }
    return shown;
}

TEST_F(TabPagesTest, StripHoldsTheEightTabsWithCaptionKeyAndToolTip)
{
    auto* strip = child<QTabBar>("TabStrip1");
    ASSERT_EQ(strip, pages->TabStrip1);
    ASSERT_EQ(strip->count(), 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(strip->tabText(i), QString::fromUtf8(kTabRows[i].caption));
        EXPECT_EQ(strip->tabData(i).toString(), QString::fromUtf8(kTabRows[i].key));
        EXPECT_EQ(strip->tabToolTip(i), QString::fromUtf8(kTabRows[i].toolTip));
    }
    EXPECT_EQ(pages->chkSubDir->text(), QStringLiteral("ｻﾌﾞﾌｫﾙﾀﾞも変更"));
    EXPECT_EQ(pages->Check18->text(), QStringLiteral("ﾀｲﾑｽﾀﾝﾌﾟをﾌｧｲﾙ名に"));
}

TEST_F(TabPagesTest, EachTabShowsItsPageAndDecidesOnSubFolders)
{
    const engine::Tab tabs[] = {engine::Tab::AddNum, engine::Tab::Kaku,      engine::Tab::Edit,
                                engine::Tab::Conv,   engine::Tab::TimeStamp, engine::Tab::Attribute,
                                engine::Tab::Import, engine::Tab::Copy};
    for (int i = 0; i < 8; ++i) {
        const TabRow& row = kTabRows[i];
        SCOPED_TRACE(row.caption);
        // Ticked on a tab that takes sub-folders, then this tab is chosen.
        ASSERT_TRUE(pages->selectTab(2));
        pages->chkSubDir->setChecked(true);
        ASSERT_TRUE(pages->selectTab(i + 1));

        EXPECT_EQ(shownPages(form.get()), QStringList{QString::fromUtf8(row.page)});
        EXPECT_EQ(pages->chkSubDir->isVisible(), row.subFolders);
        EXPECT_EQ(pages->chkSubDir->isChecked(), row.subFolders);
        EXPECT_EQ(pages->Check18->isVisible(), i == 4);
        EXPECT_EQ(pages->selectedCaption(), QString::fromUtf8(row.caption));
        EXPECT_EQ(pages->selectedTab(), tabs[i]);
        EXPECT_EQ(pages->selectedIndex(), i + 1);
    }
}

TEST_F(TabPagesTest, SubFolderBoxComesBackClearedAfterANumberingTab)
{
    ASSERT_TRUE(pages->selectTab(3));
    pages->chkSubDir->setChecked(true);
    ASSERT_TRUE(pages->selectTab(8));
    EXPECT_FALSE(pages->chkSubDir->isVisible());
    ASSERT_TRUE(pages->selectTab(3));
    EXPECT_TRUE(pages->chkSubDir->isVisible());
    EXPECT_FALSE(pages->chkSubDir->isChecked());
}

TEST_F(TabPagesTest, ClickingATabRunsTheTabHandler)
{
    QSignalSpy changed(pages, &mainwin::TabPages::tabChanged);
    QTabBar* strip = pages->TabStrip1;
    QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, strip->tabRect(2).center());
    EXPECT_EQ(pages->selectedCaption(), QStringLiteral("編集"));
    EXPECT_EQ(shownPages(form.get()), QStringList{QStringLiteral("Frame1(2)")});
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(TabPagesTest, SelectingOutsideOneToEightChangesNothing)
{
    ASSERT_TRUE(pages->selectTab(6));
    QSignalSpy changed(pages, &mainwin::TabPages::tabChanged);
    for (int n : {0, 9, -1, 100}) {
        SCOPED_TRACE(n);
        EXPECT_FALSE(pages->selectTab(n));
        EXPECT_EQ(pages->selectedIndex(), 6);
    }
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(shownPages(form.get()), QStringList{QStringLiteral("Frame1(5)")});
}

TEST_F(TabPagesTest, SelectingTheSelectedTabStillRunsTheHandler)
{
    QSignalSpy changed(pages, &mainwin::TabPages::tabChanged);
    EXPECT_TRUE(pages->selectTab(1));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(pages->selectTab(4));
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(TabPagesTest, Check18SwitchesTheTimeStampPageAtOnce)
{
    ASSERT_TRUE(pages->selectTab(5));
    click(pages->Check18);
    EXPECT_TRUE(pages->Check18->isChecked());
    EXPECT_EQ(shownPages(form.get()), QStringList{QStringLiteral("Frame17")});
    click(pages->Check18);
    EXPECT_EQ(shownPages(form.get()), QStringList{QStringLiteral("Frame1(4)")});
    EXPECT_EQ(pages->selectedIndex(), 5);

    // Leaving the tab with the name page on shows only the new tab's page,
    // and coming back shows the name page again.
    click(pages->Check18);
    ASSERT_TRUE(pages->selectTab(6));
    EXPECT_EQ(shownPages(form.get()), QStringList{QStringLiteral("Frame1(5)")});
    EXPECT_FALSE(pages->Check18->isVisible());
    ASSERT_TRUE(pages->selectTab(5));
    EXPECT_EQ(shownPages(form.get()), QStringList{QStringLiteral("Frame17")});
}

TEST_F(TabPagesTest, LayoutFollowsTheWindowWidth)
{
    struct Case {
        double w;
        int strip, page, subDir, check18;
    };
    const Case cases[] = {{6150, 143, 147, 148, 264}, {7150, 210, 214, 214, 331}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.w);
        pages->layout(c.w);
        EXPECT_EQ(pages->TabStrip1->geometry().topLeft(), QPoint(c.strip, 4));
        EXPECT_EQ(pages->TabStrip1->width(), 260);
        for (QFrame* page : pages->Frame1)
            EXPECT_EQ(page->geometry(), QRect(c.page, 28, 252, 126));
        EXPECT_EQ(pages->Frame17->geometry(), QRect(c.page, 28, 252, 126));
        EXPECT_EQ(pages->chkSubDir->geometry(), QRect(c.subDir, 154, 113, 17));
        EXPECT_EQ(pages->Check18->geometry(), QRect(c.check18, 154, 133, 17));
    }
}

// ---- Start state ----

TEST_F(TabPagesTest, StartStateFollowsTheControllingControls)
{
    struct Row {
        const char* name;
        bool enabled;
    };
    const Row rows[] = {
        {"Label3", false},      {"Text4", false},       {"Label4", false},      {"Text5", false},
        {"Label1", false},      {"Check6", true},       {"Option4(0)", false},  {"Option4(2)", false},
        {"Option5(1)", false},  {"Option6(0)", false},  {"chkHalf1", false},    {"chkHalf2", false},
        {"Option7(1)", false},  {"Opt0_1", false},      {"Opt3_0", false},      {"DTPicker1", false},
        {"DTPicker2", false},   {"Command7(0)", false}, {"Command8(1)", false}, {"DTPicker5", false},
        {"DTPicker6", false},   {"Option16", false},    {"Option17", false},    {"Combo9", false},
        {"Combo10", false},     {"Option15(0)", false}, {"Option15(1)", false}, {"Combo6", true},
        {"Combo7", false},      {"Combo8", true},       {"Text8", true},        {"Label5", true},
        {"Combo4", false},
        // Add mode uses the position: its boxes start in use.
        {"Option9(0)", true},   {"Option9(1)", true},   {"Text9", true},        {"UpDown3", true},
        {"Label8", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(child<QWidget>(r.name)->isEnabled(), r.enabled);
    }
    EXPECT_TRUE(pages->Check12->isHidden());
    EXPECT_TRUE(pages->Check12->isChecked());
    EXPECT_FALSE(pages->Frame12[0]->isHidden());
    EXPECT_TRUE(pages->Frame12[1]->isHidden());
    EXPECT_TRUE(pages->DTPicker6->isHidden());

    EXPECT_EQ(base(pages->Text4), paletteColour(QPalette::Active, QPalette::Button));
    EXPECT_EQ(base(pages->Text5), paletteColour(QPalette::Active, QPalette::Button));
    EXPECT_EQ(base(pages->Text8), paletteColour(QPalette::Active, QPalette::Base));
    EXPECT_EQ(base(pages->Combo7), paletteColour(QPalette::Disabled, QPalette::Window));
}

TEST_F(TabPagesTest, StartValuesAreTheDesignedOnes)
{
    struct Text {
        const char* name;
        const char* value;
    };
    const Text lineEdits[] = {{"Text1", ""},  {"Text2", "0"},  {"Text3", ""},  {"Text6", "1"},
                              {"Text7", "1"}, {"Text9", "1"},  {"Text12", "1"}, {"Text13", ""},
                              {"Text14", ""}, {"Text15", "0"}, {"Text16", "変換イメージをここに表示します"}};
    for (const Text& t : lineEdits) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(child<QLineEdit>(t.name)->text(), QString::fromUtf8(t.value));
    }
    const Text combos[] = {{"Text4", ""},   {"Text5", ""},  {"Text8", ""},        {"Text10", ""},
                           {"Text11", ""},  {"Combo2", ""}, {"Combo3", "改行"},   {"Combo4", "ﾘｽﾄと同じ"},
                           {"Combo5", "1"}, {"Combo6", "-"}, {"Combo7", "_"},     {"Combo8", "-"},
                           {"Combo9", "("}, {"Combo10", ")"}};
    for (const Text& t : combos) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(child<QComboBox>(t.name)->currentText(), QString::fromUtf8(t.value));
    }
    EXPECT_EQ(pages->Combo2->currentIndex(), -1);
    EXPECT_EQ(pages->Combo2->count(), 4);
    EXPECT_EQ(pages->Combo6->count(), 3);
    EXPECT_EQ(pages->Combo7->count(), 0);
    EXPECT_EQ(pages->Combo8->itemText(2), QStringLiteral("時分秒"));

    for (const char* on : {"Option1", "OptKaku1", "Option8(0)", "Option9(0)", "Option10(0)", "Option4(0)",
                           "Option5(0)", "Option6(0)", "Option7(0)", "chkHalf1", "chkHalf2", "OptTimeCreate",
                           "Option15(0)", "Option16", "Opt0_1", "Opt1_1", "Opt2_1", "Opt3_1", "Option11", "Option13"}) {
        SCOPED_TRACE(on);
        EXPECT_TRUE(child<QAbstractButton>(on)->isChecked());
    }
    for (const char* off : {"chkSubDir", "Check18", "Check5", "Check6", "Check7", "Check8", "Check9", "Check10",
                            "Check2", "Check3", "Check4", "ChkYear", "ChkSec", "Check19", "Check20", "Check11(0)",
                            "Check11(3)", "Check15", "Check16", "Check17", "Option2", "Option12", "Option14"}) {
        SCOPED_TRACE(off);
        EXPECT_FALSE(child<QAbstractButton>(off)->isChecked());
    }
    EXPECT_EQ(pages->selectedIndex(), 1);
}

// ---- Followers ----

struct FollowRow {
    const char* box;
    int tab;
    std::vector<const char*> followers;
    const char* coloured; // takes the window colour in use, the button face out of use
};

const FollowRow kFollowRows[] = {
    {"Check5", 1, {"Label3", "Text4"}, "Text4"},
    {"Check6", 1, {"Label4", "Text5", "Label1"}, "Text5"},
    {"Check7", 4, {"Option4(0)", "Option4(1)", "Option4(2)"}, nullptr},
    {"Check8", 4, {"Option5(0)", "Option5(1)"}, nullptr},
    {"Check9", 4, {"Option6(0)", "Option6(1)", "chkHalf1", "chkHalf2"}, nullptr},
    {"Check10", 4, {"Option7(0)", "Option7(1)"}, nullptr},
    {"Check11(0)", 6, {"Opt0_0", "Opt0_1"}, nullptr},
    {"Check11(1)", 6, {"Opt1_0", "Opt1_1"}, nullptr},
    {"Check11(2)", 6, {"Opt2_0", "Opt2_1"}, nullptr},
    {"Check11(3)", 6, {"Opt3_0", "Opt3_1"}, nullptr},
    {"Check12", 3, {"Option9(0)", "Option9(1)", "Text9", "UpDown3", "Label8"}, nullptr},
    {"Check2", 5, {"DTPicker1", "DTPicker2", "Command7(0)", "Command7(1)"}, nullptr},
    {"Check3", 5, {"DTPicker3", "DTPicker4", "Command8(0)", "Command8(1)"}, nullptr},
    {"Check4", 5, {"DTPicker5", "DTPicker6"}, nullptr},
    {"Check20", 5, {"Option16", "Option17", "Combo9", "Combo10"}, nullptr},
    {"ChkYear", 5, {"Option15(0)", "Option15(1)"}, nullptr},
};

TEST_F(TabPagesTest, FollowersAreInUseExactlyWhileTheirBoxIsTicked)
{
    for (const FollowRow& row : kFollowRows) {
        SCOPED_TRACE(row.box);
        ASSERT_TRUE(pages->selectTab(row.tab));
        const bool namePage = row.box == std::string("Check20") || row.box == std::string("ChkYear");
        pages->Check18->setChecked(namePage);
        if (row.box == std::string("Check12"))
            click(pages->Option8[1]); // the box shows in replace mode only
        auto* box = child<QCheckBox>(row.box);
        ASSERT_TRUE(box->isVisible());

        for (const bool ticked : {true, false}) {
            SCOPED_TRACE(ticked);
            if (box->isChecked() != ticked)
                click(box);
            ASSERT_EQ(box->isChecked(), ticked);
            for (const char* name : row.followers) {
                SCOPED_TRACE(name);
                EXPECT_EQ(child<QWidget>(name)->isEnabled(), ticked);
            }
            if (row.coloured) {
                const QColor expected = ticked ? paletteColour(QPalette::Active, QPalette::Base)
                                               : paletteColour(QPalette::Active, QPalette::Button);
                EXPECT_EQ(base(child<QWidget>(row.coloured)), expected);
            }
        }
    }
}

TEST_F(TabPagesTest, ExtensionModeAndImportRuleEnableTheirBoxes)
{
    ASSERT_TRUE(pages->selectTab(2));
    click(pages->OptKaku2);
    EXPECT_FALSE(pages->Text8->isEnabled());
    EXPECT_FALSE(pages->Label5->isEnabled());
    EXPECT_EQ(base(pages->Text8), paletteColour(QPalette::Active, QPalette::Button));
    click(pages->OptKaku1);
    EXPECT_TRUE(pages->Text8->isEnabled());
    EXPECT_EQ(base(pages->Text8), paletteColour(QPalette::Active, QPalette::Base));
    click(pages->OptKaku3);
    EXPECT_FALSE(pages->Text8->isEnabled());

    ASSERT_TRUE(pages->selectTab(7));
    click(pages->Option12);
    EXPECT_TRUE(pages->Combo4->isEnabled());
    click(pages->Option11);
    EXPECT_FALSE(pages->Combo4->isEnabled());
}

// ---- Number shape ----

TEST_F(TabPagesTest, NumberShapePlacesTheBoxesInTheOrderOfTheName)
{
    struct Lefts {
        const char* option;
        double text4, text1, label2, text2, text3, label3, label1, text5, label4;
    };
    const Lefts shapes[] = {
        {"Option2", 1440, 240, 510, 600, 1000, 1800, 2730, 2850, 2930},
        {"Option3", 600, 2040, 2310, 2400, 2800, 1005, 1920, 4000, 4000},
        {"Option1", 240, 1560, 1830, 1920, 2320, 600, 2730, 2850, 2930},
    };
    for (const Lefts& s : shapes) {
        SCOPED_TRACE(s.option);
        click(child<QRadioButton>(s.option));
        EXPECT_EQ(pages->Text4->x(), px(s.text4));
        EXPECT_EQ(pages->Text1->x(), px(s.text1));
        EXPECT_EQ(pages->Label2->x(), px(s.label2));
        EXPECT_EQ(pages->Text2->x(), px(s.text2));
        EXPECT_EQ(pages->Text3->x(), px(s.text3));
        EXPECT_EQ(pages->Label3->x(), px(s.label3));
        EXPECT_EQ(pages->Label1->x(), px(s.label1));
        EXPECT_EQ(pages->Text5->x(), px(s.text5));
        EXPECT_EQ(pages->Label4->x(), px(s.label4));
    }
}

TEST_F(TabPagesTest, NumberAsExtensionTakesTheExtensionBoxOutOfUse)
{
    click(pages->Check6);
    ASSERT_TRUE(pages->Text5->isEnabled());
    click(pages->Option3);
    EXPECT_FALSE(pages->Check6->isChecked());
    EXPECT_FALSE(pages->Check6->isEnabled());
    EXPECT_FALSE(pages->Text5->isEnabled());
    EXPECT_EQ(pages->numberShape(), 3);

    click(pages->Option1);
    EXPECT_TRUE(pages->Check6->isEnabled());
    EXPECT_FALSE(pages->Check6->isChecked());
    EXPECT_FALSE(pages->Text5->isEnabled());
    EXPECT_EQ(pages->numberShape(), 1);
}

TEST_F(TabPagesTest, ShapeRuleRunsAgainWhenTheShapeIsSelectedOnceMore)
{
    // A preset ticks the extension box, then selects the shape it had.
    pages->setNumberShape(3);
    pages->Check6->setChecked(true);
    pages->setNumberShape(3);
    EXPECT_FALSE(pages->Check6->isChecked());
    EXPECT_FALSE(pages->Check6->isEnabled());
    EXPECT_TRUE(pages->Option3->isChecked());
}

// ---- Edit modes ----

TEST_F(TabPagesTest, EditModesShowTheirBoxesAndSetThePositionRule)
{
    ASSERT_TRUE(pages->selectTab(3));
    const auto positionInUse = [this] {
        for (QWidget* w : {static_cast<QWidget*>(pages->Option9[0]), static_cast<QWidget*>(pages->Option9[1]),
                           static_cast<QWidget*>(pages->Text9), static_cast<QWidget*>(pages->UpDown3),
                           static_cast<QWidget*>(pages->Label8)}) {
            if (w->isEnabled() != pages->Text9->isEnabled())
                ADD_FAILURE() << qPrintable(w->objectName()) << " differs";
        }
        return pages->Text9->isEnabled();
    };

    click(pages->Option8[1]);
    EXPECT_TRUE(pages->Check12->isVisible());
    EXPECT_FALSE(pages->Check12->isChecked());
    EXPECT_FALSE(positionInUse());
    EXPECT_EQ(pages->Text10->width(), px(1335));
    EXPECT_TRUE(pages->Label9->isVisible());
    EXPECT_TRUE(pages->Text11->isVisible());
    EXPECT_TRUE(pages->Frame12[0]->isVisible());
    EXPECT_FALSE(pages->Frame12[1]->isVisible());
    click(pages->Check12);
    EXPECT_TRUE(positionInUse());

    click(pages->Option8[2]);
    EXPECT_FALSE(pages->Check12->isVisible());
    EXPECT_TRUE(pages->Check12->isChecked());
    EXPECT_TRUE(positionInUse());
    EXPECT_FALSE(pages->Frame12[0]->isVisible());
    EXPECT_TRUE(pages->Frame12[1]->isVisible());
    EXPECT_EQ(pages->Text10->width(), px(1335)); // left as it was

    click(pages->Option8[1]);
    click(pages->Option8[0]);
    EXPECT_FALSE(pages->Check12->isVisible());
    EXPECT_TRUE(pages->Check12->isChecked());
    EXPECT_TRUE(positionInUse());
    EXPECT_EQ(pages->Text10->width(), px(3135));
    EXPECT_FALSE(pages->Label9->isVisible());
    EXPECT_FALSE(pages->Text11->isVisible());
    EXPECT_TRUE(pages->Frame12[0]->isVisible());
    EXPECT_FALSE(pages->Frame12[1]->isVisible());
}

// ---- Separators of the time name ----

TEST_F(TabPagesTest, DateTimeLinkIsInUseOnlyWithADateAndATimePart)
{
    ASSERT_TRUE(pages->selectTab(5));
    click(pages->Check18);
    const QColor inUse = paletteColour(QPalette::Active, QPalette::Base);
    const QColor outOfUse = paletteColour(QPalette::Disabled, QPalette::Window);

    click(pages->ChkYear);
    EXPECT_FALSE(pages->Combo7->isEnabled());
    EXPECT_TRUE(pages->Option15[0]->isEnabled());
    click(pages->ChkHour);
    EXPECT_TRUE(pages->Combo7->isEnabled());
    EXPECT_EQ(base(pages->Combo7), inUse);
    click(pages->ChkYear);
    EXPECT_FALSE(pages->Combo7->isEnabled());
    EXPECT_EQ(base(pages->Combo7), outOfUse);
    EXPECT_FALSE(pages->Combo6->isEnabled());
    EXPECT_FALSE(pages->Option15[0]->isEnabled());
    EXPECT_TRUE(pages->Combo8->isEnabled());

    // A date part ticked again brings its separator back.
    click(pages->ChkMonth);
    EXPECT_TRUE(pages->Combo6->isEnabled());
    EXPECT_TRUE(pages->Combo7->isEnabled());
    click(pages->ChkHour);
    EXPECT_FALSE(pages->Combo8->isEnabled());
    EXPECT_FALSE(pages->Combo7->isEnabled());
    click(pages->ChkSec);
    EXPECT_TRUE(pages->Combo8->isEnabled());
    EXPECT_TRUE(pages->Combo7->isEnabled());
}

TEST_F(TabPagesTest, ClearingOneOfTwoDatePartsKeepsTheLink)
{
    ASSERT_TRUE(pages->selectTab(5));
    click(pages->Check18);
    click(pages->ChkYear);
    click(pages->ChkDay);
    click(pages->ChkMin);
    ASSERT_TRUE(pages->Combo7->isEnabled());
    click(pages->ChkDay);
    EXPECT_TRUE(pages->Combo7->isEnabled());
    EXPECT_TRUE(pages->Combo6->isEnabled());
}

// ---- Typing ----

TEST_F(TabPagesTest, BoxesRefuseTheCharactersOfTheirRule)
{
    struct Row {
        const char* box;
        int tab;
        const char* typed;
        const char* result;
    };
    const Row rows[] = {
        {"Text1", 1, "a:b", "ab"},
        {"Text1", 1, "a\"*/:;<>?\\|,.b", "a,.b"},
        {"Text3", 1, "x?y", "xy"},
        {"Text13", 8, "p|q", "pq"},
        {"Text14", 8, "<s>", "s"},
        {"Combo6", 5, "a;b", "ab"},
        {"Combo7", 5, "*_", "_"},
        {"Combo8", 5, ":", ""},
        {"Text2", 1, "1a-2", "12"},
        {"Text6", 1, "x9", "9"},
        {"Text7", 1, "-3", "3"},
        {"Text9", 3, "4.5", "45"},
        {"Text12", 3, "２7", "7"},
        {"Text15", 8, "a-1", "a-1"}, // the clash start takes any text
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.box) + " " + r.typed);
        ASSERT_TRUE(pages->selectTab(r.tab));
        if (r.tab == 5) {
            // The separators in use: a date and a time part.
            pages->Check18->setChecked(true);
            pages->ChkYear->setChecked(true);
            pages->ChkHour->setChecked(true);
        }
        if (r.box == std::string("Text12"))
            click(pages->Option8[2]);
        QWidget* box = child<QWidget>(r.box);
        QLineEdit* edit = qobject_cast<QLineEdit*>(box);
        if (!edit)
            edit = qobject_cast<QComboBox*>(box)->lineEdit();
        ASSERT_TRUE(edit->isVisible() && edit->isEnabled());
        edit->clear();
        type(edit, QString::fromUtf8(r.typed));
        EXPECT_EQ(edit->text(), QString::fromUtf8(r.result));
    }
}

TEST_F(TabPagesTest, BackspaceWorksInFilteredBoxes)
{
    for (QLineEdit* box : {pages->Text1, pages->Text2}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setText(QStringLiteral("12"));
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), QStringLiteral("1"));
    }
}

TEST_F(TabPagesTest, PresetListTakesNoTyping)
{
    pages->Combo2->setFocus();
    QTest::keyClicks(pages->Combo2, QStringLiteral("N"));
    EXPECT_EQ(pages->Combo2->currentIndex(), -1);
    EXPECT_TRUE(pages->Text1->text().isEmpty());
}

TEST_F(TabPagesTest, EnteringABoxSelectsItsText)
{
    ASSERT_TRUE(pages->selectTab(1));
    pages->Text7->setText(QStringLiteral("25"));
    // By mouse: a click would place the cursor and select nothing.
    QTest::mouseClick(pages->Text7, Qt::LeftButton, Qt::NoModifier, QPoint(4, pages->Text7->height() / 2));
    ASSERT_TRUE(pages->Text7->hasFocus());
    QTRY_COMPARE(pages->Text7->selectedText(), QStringLiteral("25"));
    QTest::keyClicks(pages->Text7, QStringLiteral("3"));
    EXPECT_EQ(pages->Text7->text(), QStringLiteral("3"));
}

// ---- Leaving a box ----

TEST_F(TabPagesTest, LeavingANumberBoxNormalisesWhatItHolds)
{
    struct Row {
        const char* box;
        int tab;
        const char* left;
        const char* after;
    };
    const Row rows[] = {
        {"Text2", 1, "", "0"},    {"Text2", 1, "0", "0"},    {"Text2", 1, "00", "00"},
        {"Text7", 1, "", "1"},    {"Text7", 1, "0", "1"},    {"Text7", 1, "00", "00"},
        {"Text7", 1, "-1", "-1"}, {"Text7", 1, "7", "7"},    {"Text9", 3, "", "1"},
        {"Text9", 3, "0", "1"},   {"Text9", 3, "00", "00"},  {"Text12", 3, "", "1"},
        {"Text12", 3, "0", "1"},  {"Text6", 1, "", "1"},     {"Text6", 1, "0", "1"},
        {"Text6", 1, "00", "00"}, {"Text6", 1, "-5", "1"},   {"Text6", 1, " 5", "1"},
        {"Text6", 1, "10", "10"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.box) + " '" + r.left + "'");
        ASSERT_TRUE(pages->selectTab(r.tab));
        if (r.tab == 3)
            click(pages->Option8[2]); // Text12 is on the delete page
        auto* box = child<QLineEdit>(r.box);
        box->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(box->hasFocus());
        box->setText(QString::fromUtf8(r.left));
        (r.tab == 1 ? static_cast<QWidget*>(pages->Text1) : static_cast<QWidget*>(pages->Option8[0]))
            ->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->text(), QString::fromUtf8(r.after));
    }
}

TEST_F(TabPagesTest, SwitchingToAnotherWindowIsNotLeavingTheBox)
{
    pages->Text7->setFocus();
    pages->Text7->clear();
    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(pages->Text7, &away);
    EXPECT_EQ(pages->Text7->text(), QString());
}

// ---- Spin buttons ----

TEST_F(TabPagesTest, StepSpinPassesOverZero)
{
    QToolButton* up = pages->UpDown1->upButton();
    QToolButton* down = pages->UpDown1->downButton();
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(pages->Text7->text(), QStringLiteral("-1"));
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(pages->Text7->text(), QStringLiteral("-2"));
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(pages->Text7->text(), QStringLiteral("1"));
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(pages->Text7->text(), QStringLiteral("2"));
}

TEST_F(TabPagesTest, SpinButtonsStayInTheirRanges)
{
    struct Row {
        const char* spin;
        int tab;
        const char* before;
        bool up;
        const char* after;
    };
    const Row rows[] = {
        // No number yet: the spin starts from 0.
        {"UpDown1", 1, "", true, "1"},            {"UpDown1", 1, "10000", true, "10000"},
        {"UpDown1", 1, "-10000", false, "-10000"},
        // No number: the spin goes on from what it wrote last.
        {"UpDown1", 1, "", true, "-9999"},        {"UpDown1", 1, "00", false, "-1"},
        {"UpDown2", 1, "1", false, "1"},          {"UpDown2", 1, "100", true, "100"},
        {"UpDown2", 1, "00", true, "1"},          {"UpDown2", 1, "7", true, "8"},
        {"UpDown2", 1, "500", false, "100"},      {"UpDown3", 3, "255", true, "255"},
        {"UpDown3", 3, "1", false, "1"},          {"UpDown3", 3, "3", true, "4"},
        {"UpDown4", 3, "255", true, "255"},       {"UpDown4", 3, "2", false, "1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.spin) + " " + r.before + (r.up ? " up" : " down"));
        ASSERT_TRUE(pages->selectTab(r.tab));
        if (r.spin == std::string("UpDown4"))
            click(pages->Option8[2]);
        auto* spin = child<mainwin::UpDown>(r.spin);
        QLineEdit* buddy = r.spin == std::string("UpDown1")   ? pages->Text7
                           : r.spin == std::string("UpDown2") ? pages->Text6
                           : r.spin == std::string("UpDown3") ? pages->Text9
                                                              : pages->Text12;
        buddy->setText(QString::fromUtf8(r.before));
        QTest::mouseClick(r.up ? spin->upButton() : spin->downButton(), Qt::LeftButton);
        EXPECT_EQ(buddy->text(), QString::fromUtf8(r.after));
    }
}

// ---- Presets, buttons ----

TEST_F(TabPagesTest, FormatPresetFillsPrefixAndSuffix)
{
    struct Row {
        const char* prefix;
        const char* suffix;
    };
    const Row rows[] = {{"", ""}, {"_", ""}, {"(", ")"}, {"[", "]"}};
    pages->Text1->setText(QStringLiteral("x"));
    pages->Text3->setText(QStringLiteral("y"));
    pages->Combo2->setFocus();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        QTest::keyClick(pages->Combo2, Qt::Key_Down); // the next item, chosen
        ASSERT_EQ(pages->Combo2->currentIndex(), i);
        EXPECT_EQ(pages->Text1->text(), QString::fromUtf8(rows[i].prefix));
        EXPECT_EQ(pages->Text3->text(), QString::fromUtf8(rows[i].suffix));
    }
    pages->Text1->setText(QStringLiteral("x"));
    emit pages->Combo2->activated(-1); // nothing chosen
    EXPECT_TRUE(pages->Text1->text().isEmpty());
    EXPECT_TRUE(pages->Text3->text().isEmpty());
}

TEST_F(TabPagesTest, NowAndZeroSetTheirOwnRowOnly)
{
    const QDateTime start(QDate(2003, 3, 31), QTime(9, 5, 7));
    pages->loadSettings(start);
    clock.current = QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 500));
    ASSERT_TRUE(pages->selectTab(5));
    click(pages->Check2);
    click(pages->Check3);

    click(pages->Command7[0]);
    EXPECT_EQ(pages->DTPicker1->date(), QDate(2024, 2, 29));
    EXPECT_EQ(pages->DTPicker2->time(), QTime(23, 59, 58));
    EXPECT_EQ(pages->DTPicker3->date(), QDate(2003, 3, 31));
    EXPECT_EQ(pages->DTPicker4->time(), QTime(9, 5, 7));
    click(pages->Command7[1]);
    EXPECT_EQ(pages->DTPicker1->date(), QDate(2024, 2, 29));
    EXPECT_EQ(pages->DTPicker2->time(), QTime(0, 0, 0));

    click(pages->Command8[1]);
    EXPECT_EQ(pages->DTPicker3->date(), QDate(2003, 3, 31));
    EXPECT_EQ(pages->DTPicker4->time(), QTime(0, 0, 0));
    click(pages->Command8[0]);
    EXPECT_EQ(pages->DTPicker3->date(), QDate(2024, 2, 29));
    EXPECT_EQ(pages->DTPicker4->time(), QTime(23, 59, 58));
    EXPECT_EQ(pages->DTPicker2->time(), QTime(0, 0, 0));
    EXPECT_EQ(pages->DTPicker5->date(), QDate(2003, 3, 31));
}

TEST_F(TabPagesTest, ClearButtonEmptiesTheImportList)
{
    ASSERT_TRUE(pages->selectTab(7));
    pages->List4->addItems({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_EQ(pages->List4->selectionMode(), QAbstractItemView::ExtendedSelection);
    click(pages->Command6);
    EXPECT_EQ(pages->List4->count(), 0);
}

// ---- Preview ----

TEST_F(TabPagesTest, PreviewShowsTheNameOfTheSample)
{
    struct Row {
        const char* name;
        std::vector<const char*> parts;
        const char* dateSeparator;
        const char* timeSeparator;
        bool yy;
        bool add;
        bool after;
        const char* before;
        const char* behind;
        const char* preview;
    };
    const Row rows[] = {
        {"none", {}, "-", "-", false, false, false, "(", ")", "変換イメージをここに表示します"},
        {"date", {"ChkYear", "ChkMonth", "ChkDay"}, "-", "-", false, false, false, "(", ")", "YYYY-MM-DD.TXT"},
        {"kanji", {"ChkYear", "ChkMonth", "ChkDay", "ChkHour", "ChkMin"}, "年月日", "時分秒", false, false, false,
         "(", ")", "YYYY年MM月DD日_hh時mm分.TXT"},
        {"kanjiAfter", {"ChkYear", "ChkMonth", "ChkDay", "ChkHour", "ChkMin"}, "年月日", "時分秒", false, true, true,
         "", "", "SAMPLEYYYY年MM月DD日_hh時mm分.TXT"},
        {"bracketsBefore", {"ChkMonth", "ChkDay"}, ".", "-", false, true, false, "(", ")", "(MM.DD)SAMPLE.TXT"},
        {"hourKanji", {"ChkHour"}, "-", "時分秒", false, false, false, "(", ")", "hh時.TXT"},
        {"twoDigitYear", {"ChkYear", "ChkSec"}, "-", "-", true, false, false, "(", ")", "YY_ss.TXT"},
    };
    ASSERT_TRUE(pages->selectTab(5));
    click(pages->Check18);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        for (QCheckBox* part : {pages->ChkYear, pages->ChkMonth, pages->ChkDay, pages->ChkHour, pages->ChkMin,
                                pages->ChkSec})
            part->setChecked(false);
        pages->Check20->setChecked(false);
        for (const char* part : r.parts)
            click(child<QCheckBox>(part));
        pages->Combo6->setEditText(QString::fromUtf8(r.dateSeparator));
        pages->Combo8->setEditText(QString::fromUtf8(r.timeSeparator));
        if (r.yy)
            click(pages->Option15[1]);
        if (r.add)
            click(pages->Check20);
        click(r.after ? pages->Option17 : pages->Option16);
        pages->Combo9->setEditText(QString::fromUtf8(r.before));
        pages->Combo10->setEditText(QString::fromUtf8(r.behind));
        EXPECT_EQ(pages->Text16->text(), QString::fromUtf8(r.preview));
        click(pages->Option15[0]);
    }
}

TEST_F(TabPagesTest, TypingASeparatorRefreshesThePreview)
{
    ASSERT_TRUE(pages->selectTab(5));
    click(pages->Check18);
    click(pages->ChkYear);
    click(pages->ChkMonth);
    ASSERT_EQ(pages->Text16->text(), QStringLiteral("YYYY-MM.TXT"));
    pages->Combo6->lineEdit()->selectAll();
    QTest::keyClicks(pages->Combo6->lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(pages->Text16->text(), QStringLiteral("YYYYxMM.TXT"));
    pages->Combo6->setCurrentIndex(2); // chosen from the list
    EXPECT_EQ(pages->Text16->text(), QStringLiteral("YYYY年MM月.TXT"));
}

// ---- Focus ----

TEST_F(TabPagesTest, RefusedParameterGetsTheFocus)
{
    click(pages->Check5);
    pages->focusField(engine::Field::UnifiedName);
    EXPECT_TRUE(pages->Text4->hasFocus());
    pages->focusField(engine::Field::Step);
    EXPECT_TRUE(pages->Text7->hasFocus());
    ASSERT_TRUE(pages->selectTab(2));
    pages->focusField(engine::Field::NewExtension);
    EXPECT_TRUE(pages->Text8->hasFocus());
}

} // namespace
} // namespace tavil::test
