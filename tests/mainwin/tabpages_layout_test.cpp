// The pages as a user sees them with the program's Japanese font at 9
// points: no control lies over another, none leaves its frame, and every
// caption fits its control.

#include "tests/mainwin/tabpagesfixture.h"

#include "mainwin/presetbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QToolButton>

#include <functional>

namespace tavil::test {
namespace {

class TabPagesLayoutTest : public TabPagesTest {
protected:
    void SetUp() override
    {
        m_font = QApplication::font();
        QFont japanese(QStringLiteral("IPAGothic"));
        japanese.setPointSize(9);
        QApplication::setFont(japanese);
        TabPagesTest::SetUp();
    }

    void TearDown() override
    {
        TabPagesTest::TearDown();
        QApplication::setFont(m_font);
    }

    // Checks one container and the frames inside it; `outside` names the
    // controls that are meant to lie beyond its edge.
    void checkContainer(const QWidget* container, const QStringList& outside = {})
    {
        SCOPED_TRACE(container->objectName().toStdString());
        QList<QWidget*> shown;
        for (QWidget* w : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!w->objectName().isEmpty() && w->isVisibleTo(container))
                shown << w;
        }
        for (int i = 0; i < shown.size(); ++i) {
            QWidget* w = shown[i];
            SCOPED_TRACE(w->objectName().toStdString());
            if (!outside.contains(w->objectName())) {
                EXPECT_TRUE(container->rect().contains(w->geometry())) << "leaves its frame";
            }
            for (int j = i + 1; j < shown.size(); ++j) {
                EXPECT_FALSE(w->geometry().intersects(shown[j]->geometry()))
                    << "lies over " << shown[j]->objectName().toStdString();
            }
            checkCaption(w);
            if (qobject_cast<QGroupBox*>(w) || w->metaObject() == &QFrame::staticMetaObject)
                checkContainer(w);
        }
    }

    static void checkCaption(const QWidget* w)
    {
        const QFontMetrics fm(w->font());
        if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
            EXPECT_LE(w->sizeHint().width(), w->width()) << "caption cut";
            EXPECT_GE(w->height(), fm.height());
        } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            EXPECT_LE(fm.horizontalAdvance(button->text()) + 8, w->width()) << "caption cut";
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            if (label->wordWrap()) {
                EXPECT_LE(label->heightForWidth(w->width()), w->height()) << "note cut";
            } else {
                // What is drawn must lie inside: a full-width "．" has most of
                // its width empty.
                EXPECT_LE(fm.tightBoundingRect(label->text()).right() + 1, w->width()) << "caption cut";
                EXPECT_GE(w->height(), fm.height());
            }
        } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                                QStyle::SC_GroupBoxLabel, group);
            EXPECT_LE(title.left() + fm.horizontalAdvance(group->title()), w->width()) << "title cut";
        } else if (const auto* combo = qobject_cast<const QComboBox*>(w); combo && !combo->isEditable()) {
            EXPECT_LE(combo->sizeHint().width(), w->width()) << "items cut";
        }
    }

    QFont m_font;
};

TEST_F(TabPagesLayoutTest, EveryPageIsTidyInEachOfItsStates)
{
    struct State {
        const char* name;
        int tab;
        std::function<void(mainwin::TabPages*)> set;
        QStringList outside;
    };
    const State states[] = {
        {"nameAndNumber", 1, [](mainwin::TabPages* p) { p->setNumberShape(1); }, {}},
        {"numberAndName", 1, [](mainwin::TabPages* p) { p->setNumberShape(2); }, {}},
        // The extension box moves out of sight when the number is the extension.
        {"numberAsExtension", 1, [](mainwin::TabPages* p) { p->setNumberShape(3); },
         {QStringLiteral("Text5"), QStringLiteral("Label4")}},
        {"extension", 2, [](mainwin::TabPages*) {}, {}},
        {"add", 3, [](mainwin::TabPages* p) { p->Option8[0]->setChecked(true); }, {}},
        {"replace", 3, [](mainwin::TabPages* p) { p->Option8[1]->setChecked(true); }, {}},
        {"delete", 3, [](mainwin::TabPages* p) { p->Option8[2]->setChecked(true); }, {}},
        {"conversion", 4, [](mainwin::TabPages*) {}, {}},
        {"stamps", 5, [](mainwin::TabPages* p) { p->Check18->setChecked(false); }, {}},
        {"stampName", 5, [](mainwin::TabPages* p) { p->Check18->setChecked(true); }, {}},
        {"attributes", 6, [](mainwin::TabPages*) {}, {}},
        {"import", 7, [](mainwin::TabPages*) {}, {}},
        {"copy", 8, [](mainwin::TabPages*) {}, {}},
    };
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(pages->selectTab(s.tab));
        s.set(pages);
        const QWidget* page = pages->Check18->isChecked() && s.tab == 5 ? pages->Frame17 : pages->Frame1[s.tab - 1];
        ASSERT_TRUE(page->isVisible());
        checkContainer(page, s.outside);
    }
}

TEST_F(TabPagesLayoutTest, BoxesBelowThePagesShowTheirCaptions)
{
    ASSERT_TRUE(pages->selectTab(5));
    for (QCheckBox* box : {pages->chkSubDir, pages->Check18}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_LE(box->sizeHint().width(), box->width());
        EXPECT_FALSE(box->geometry().intersects(pages->Frame1[4]->geometry()));
    }
    EXPECT_FALSE(pages->chkSubDir->geometry().intersects(pages->Check18->geometry()));
    EXPECT_EQ(pages->chkSubDir->font().pointSize(), 9);
    EXPECT_EQ(pages->Frame1[0]->font().pointSize(), 9);
}

TEST_F(TabPagesLayoutTest, PresetBarLiesUnderTheNumberingPageInsideTheStrip)
{
    const QWidget* pane = child<QWidget>("TabStrip1Pane");
    auto* bar = pages->Toolbar1;
    for (int tab = 1; tab <= 8; ++tab) {
        SCOPED_TRACE(tab);
        ASSERT_TRUE(pages->selectTab(tab));
        EXPECT_EQ(bar->isVisible(), tab == 1);
    }
    ASSERT_TRUE(pages->selectTab(1));
    const QRect g = bar->geometry();
    EXPECT_TRUE(pane->geometry().contains(g)) << g.top() << " " << g.bottom() << " " << pane->geometry().bottom();
    EXPECT_FALSE(g.intersects(pages->Frame1[0]->geometry()));
    EXPECT_FALSE(g.intersects(pages->chkSubDir->geometry()));
    // Every button shows: nothing is pushed into an overflow menu.
    EXPECT_LE(bar->sizeHint().width(), g.width());
    EXPECT_LE(bar->sizeHint().height(), g.height());
    for (int b : {1, 3}) {
        SCOPED_TRACE(b);
        const QWidget* button = bar->widgetForAction(bar->button(b));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        EXPECT_TRUE(bar->rect().contains(button->geometry()));
    }
    // Wider windows move the page and its bar together.
    pages->layout(9000);
    EXPECT_TRUE(child<QWidget>("TabStrip1Pane")->geometry().contains(bar->geometry()));
    EXPECT_FALSE(bar->geometry().intersects(pages->Frame1[0]->geometry()));
}

// Tabs taller than the room the design leaves them (a font with a tall
// line) push the pages down rather than lie over their tops; what sits under
// the pages follows, and the strip's frame still holds it.
TEST_F(TabPagesLayoutTest, TallerTabsPushThePagesDown)
{
    QFont large = pages->TabStrip1->font();
    large.setPointSize(16);
    pages->TabStrip1->setFont(large);
    pages->layout(6150);
    const QRect tabs = pages->TabStrip1->geometry();
    ASSERT_GT(tabs.bottom() + 1, 28) << "the tabs fit the designed room; the case shows nothing";
    const QRect page = pages->Frame1[0]->geometry();
    EXPECT_EQ(page.top(), tabs.bottom() + 1);
    EXPECT_EQ(page.height(), 126);
    EXPECT_EQ(pages->Frame17->geometry(), page);
    const QWidget* pane = child<QWidget>("TabStrip1Pane");
    for (const QWidget* below : {static_cast<const QWidget*>(pages->chkSubDir),
                                 static_cast<const QWidget*>(pages->Check18),
                                 static_cast<const QWidget*>(pages->Toolbar1)}) {
        SCOPED_TRACE(below->objectName().toStdString());
        EXPECT_GT(below->geometry().top(), page.bottom());
        EXPECT_TRUE(pane->geometry().contains(below->geometry()));
    }
}

} // namespace
} // namespace tavil::test
