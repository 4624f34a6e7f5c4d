// The main window as a user sees it with the program's Japanese font: the
// lists end above the status bar at every size, every text fits the room its
// control gives it, and the window comes back at the size it was closed at.

#include "tests/mainwin/windowbench.h"
#include "mainwin/form1.h"
#include "mainwin/frmoptions.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "mainwin/twips.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QFontDatabase>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace tavil::test {
namespace {

using mainwin::Form1;
namespace S = support::settings;

// The window in the Japanese font the set-up installs, and in the desktop's
// own font (its Latin letters and digits are wider, the Japanese ones come
// from the installed font), at 9 points.
enum class WindowFont { Japanese, Desktop };

QFont fontOf(WindowFont which)
{
    QFont font = which == WindowFont::Japanese ? QFont(QStringLiteral("IPAGothic"))
                                               : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(9);
    return font;
}

class Form1LayoutTest : public ::testing::TestWithParam<WindowFont> {
protected:
    void SetUp() override
    {
        m_font = QApplication::font();
        QApplication::setFont(fontOf(GetParam()));
    }
    void TearDown() override
    {
        b.form.reset();
        QApplication::setFont(m_font);
    }

    void startShown()
    {
        b.clock.current = QDateTime(QDate(2026, 12, 10), QTime(23, 58, 59));
        b.start();
        b.form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(b.form.get()));
    }

    // A rectangle of a control in the window's own coordinates.
    QRect inWindow(const QWidget* w) const { return QRect(w->mapTo(b.form.get(), QPoint(0, 0)), w->size()); }

    WindowBench b;
    QFont m_font;
};

// ---- The lists and the status bar -----------------------------------------------

TEST_P(Form1LayoutTest, ListsEndAboveTheStatusBarAtEverySize)
{
    startShown();
    Form1& f = *b.form;
    const auto check = [&](const char* name) {
        SCOPED_TRACE(name);
        const QRect bar = inWindow(f.statusBar());
        ASSERT_GT(bar.height(), 0);
        for (const char* list : {"File1", "List1", "List2"}) {
            SCOPED_TRACE(list);
            auto* w = b.find<QAbstractItemView>(list);
            ASSERT_NE(w, nullptr);
            const QRect r = inWindow(w);
            EXPECT_LT(r.bottom(), bar.top()) << "bottom " << r.bottom() << ", status bar at " << bar.top();
            EXPECT_GT(r.height(), 0);
            // The horizontal scroll bar, arrows and all, is part of the list.
            if (w->horizontalScrollBar()->isVisible()) {
                EXPECT_LT(inWindow(w->horizontalScrollBar()).bottom(), bar.top());
            }
        }
        // The stop button of a run stays clear of it too.
        EXPECT_LT(inWindow(f.Command12).bottom(), bar.top());
    };
    struct Size {
        const char* name;
        int width, height;
    };
    const Size sizes[] = {{"minimum", 6150, 6550}, {"larger", 8250, 8400}, {"wideAndLow", 9000, 6550}};
    for (const Size& s : sizes) {
        f.setGeometryTwips(0, 0, s.width, s.height);
        QCoreApplication::processEvents();
        check(s.name);
    }
    // A taller status bar (a larger font in it) takes its room from the
    // lists, never the other way round.
    QFont large = f.statusBar()->font();
    large.setPointSize(20);
    f.statusBar()->setFont(large);
    f.setGeometryTwips(0, 0, 6150, 6600);
    QCoreApplication::processEvents();
    check("tallStatusBar");

    f.showMaximized();
    QTRY_VERIFY(f.isMaximized());
    QCoreApplication::processEvents();
    check("maximized");
}

TEST_P(Form1LayoutTest, ListsGrowWithTheWindowsHeight)
{
    startShown();
    Form1& f = *b.form;
    auto* file1 = b.find<QAbstractItemView>("File1");
    auto* list1 = b.find<QListWidget>("List1");
    f.setGeometryTwips(0, 0, 6150, 7000);
    QCoreApplication::processEvents();
    const int file1Before = mainwin::twips::height(file1);
    f.setGeometryTwips(0, 0, 6150, 8000);
    QCoreApplication::processEvents();
    EXPECT_NEAR(mainwin::twips::height(file1), file1Before + 1000, 15);
    EXPECT_EQ(list1->geometry().bottom(), file1->geometry().bottom());
}

// ---- The pages under the tab strip -------------------------------------------------

// Every page starts below the tabs, so the strip hides no row of what the page
// shows (a list's or a box's top border), at every window size.
TEST_P(Form1LayoutTest, PagesStartBelowTheTabStrip)
{
    startShown();
    Form1& f = *b.form;
    mainwin::TabPages& tabs = f.tabs();
    const auto check = [&](const char* state) {
        SCOPED_TRACE(state);
        const int stripBottom = inWindow(tabs.TabStrip1).bottom();
        const QWidget* page = tabs.Frame17->isVisible() ? tabs.Frame17 : nullptr;
        for (const QFrame* candidate : tabs.Frame1) {
            if (candidate->isVisible())
                page = candidate;
        }
        ASSERT_NE(page, nullptr);
        EXPECT_GT(inWindow(page).top(), stripBottom) << page->objectName().toStdString();
        for (const QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(page) || w->objectName().isEmpty())
                continue;
            EXPECT_GT(inWindow(w).top(), stripBottom)
                << w->objectName().toStdString() << " at " << inWindow(w).top() << ", tabs end at " << stripBottom;
        }
    };
    struct Size {
        const char* name;
        int width, height;
    };
    const Size sizes[] = {{"designed", 6150, 6550}, {"larger", 8250, 8400}, {"wide", 10500, 7000}};
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.name);
        f.setGeometryTwips(0, 0, s.width, s.height);
        QCoreApplication::processEvents();
        for (int tab = 1; tab <= 8; ++tab) {
            ASSERT_TRUE(tabs.selectTab(tab));
            QCoreApplication::processEvents();
            check(qPrintable(QStringLiteral("tab %1").arg(tab)));
        }
        ASSERT_TRUE(tabs.selectTab(5));
        tabs.Check18->setChecked(true);
        QCoreApplication::processEvents();
        check("stampName");
        tabs.Check18->setChecked(false);
    }
}

// ---- Every text fits -------------------------------------------------------------

QString shownText(QString text)
{
    // "&&" is an ampersand, a single "&" marks the key and takes no room.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

// What is drawn of a one-line text, from its start: a full-width "．" has
// most of its advance empty.
int inkWidth(const QFontMetrics& fm, const QString& text)
{
    return fm.tightBoundingRect(text).right() + 1;
}

int lineEditRoom(const QLineEdit* edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return contents.width() - margins.left() - margins.right() - 4; // the edit's own margin of 2 each side
}

// The texts a control shows that do not fit it, "" when all do.
QString clippedText(const QWidget* w)
{
    const QFontMetrics fm(w->font());
    QStringList cut;
    const auto fits = [&](const QString& text, int room) {
        if (!text.isEmpty() && inkWidth(fm, text) > room)
            cut.append(QStringLiteral("\"%1\" needs %2 px, has %3").arg(text).arg(inkWidth(fm, text)).arg(room));
    };
    if (const auto* box = qobject_cast<const QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        fits(shownText(box->text()), w->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, w).width());
    } else if (const auto* radio = qobject_cast<const QRadioButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        option.text = radio->text();
        fits(shownText(radio->text()), w->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, w).width());
    } else if (const auto* push = qobject_cast<const QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(push);
        option.text = push->text();
        const QRect contents = w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w);
        fits(shownText(push->text()), contents.width() - 2 * w->style()->pixelMetric(QStyle::PM_ButtonMargin) / 2);
    } else if (const auto* tool = qobject_cast<const QToolButton*>(w)) {
        if (tool->toolButtonStyle() != Qt::ToolButtonIconOnly && !tool->text().isEmpty()
            && tool->sizeHint().width() > tool->width())
            cut.append(QStringLiteral("\"%1\" needs %2 px, has %3").arg(tool->text()).arg(tool->sizeHint().width()).arg(tool->width()));
    } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->wordWrap()) {
            if (!label->text().isEmpty() && label->heightForWidth(w->width()) > w->height())
                cut.append(QStringLiteral("\"%1\" needs %2 px high, has %3")
                               .arg(label->text())
                               .arg(label->heightForWidth(w->width()))
                               .arg(w->height()));
        } else {
            fits(label->text(), label->contentsRect().width() - 2 * label->margin());
        }
    } else if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        fits(shownText(group->title()), w->width() - title.left());
    } else if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        // Every item may come to be the box's text.
        int room = 0;
        if (combo->isEditable() && combo->lineEdit()) {
            room = lineEditRoom(combo->lineEdit());
        } else {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            option.frame = combo->hasFrame();
            option.subControls = QStyle::SC_All;
            room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width() - 2;
        }
        fits(combo->currentText(), room);
        for (int i = 0; i < combo->count(); ++i)
            fits(combo->itemText(i), room);
    } else if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w)) {
        // A date or time picker: its text, the frame and the buttons.
        if (spin->sizeHint().width() > spin->width())
            cut.append(QStringLiteral("\"%1\" needs %2 px, has %3").arg(spin->text()).arg(spin->sizeHint().width()).arg(spin->width()));
    } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        // A combo box's edit is checked with its box; a date or time
        // picker's is the picker's text.
        if (!qobject_cast<const QComboBox*>(w->parentWidget()))
            fits(edit->displayText(), lineEditRoom(edit));
    }
    return cut.join(u"; ");
}

// Every control on show, in the window and its status bar.
void expectEveryTextFits(const Form1& f, const char* state)
{
    SCOPED_TRACE(state);
    for (const QWidget* w : f.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&f) || w->isWindow())
            continue;
        const QString cut = clippedText(w);
        EXPECT_TRUE(cut.isEmpty()) << w->objectName().toStdString() << " (" << w->metaObject()->className()
                                   << "): " << cut.toStdString();
    }
}

TEST_P(Form1LayoutTest, EveryTextFitsAtTheDesignedSize)
{
    startShown();
    Form1& f = *b.form;
    f.setGeometryTwips(0, 0, 6150, 6550);
    QCoreApplication::processEvents();
    for (int tab = 1; tab <= 8; ++tab) {
        ASSERT_TRUE(f.tabs().selectTab(tab));
        QCoreApplication::processEvents();
        expectEveryTextFits(f, qPrintable(QStringLiteral("tab %1").arg(tab)));
    }
    ASSERT_TRUE(f.tabs().selectTab(5));
    f.tabs().Check18->setChecked(true);
    QCoreApplication::processEvents();
    expectEveryTextFits(f, "stampName");
}

TEST_P(Form1LayoutTest, StatusPanelsShowTheirWholeTexts)
{
    startShown();
    Form1& f = *b.form;
    f.setGeometryTwips(0, 0, 6150, 6550);
    QCoreApplication::processEvents();
    // What the runs, the adding and the import write into the panels.
    const struct {
        int panel;
        const char16_t* text;
    } cases[] = {
        {1, u"追加中..."},          {1, u"読み込み中..."},   {1, u"検索中..."},
        {1, u"変更中..."},          {1, u"変更中 999/999"},  {1, u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."},
        {1, u"Time：12.34秒"},     {2, u"ｴﾗｰ： 0件"},      {2, u"12345個見つかりました"},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        f.status().setPanelText(c.panel, text);
        QCoreApplication::processEvents();
        QLabel* panel = c.panel == 1 ? f.status().panel1 : f.status().panel2;
        EXPECT_EQ(clippedText(panel), QString());
    }
}

// Between runs nothing lies over the status panels; after the options
// dialog's OK too.
TEST_P(Form1LayoutTest, NothingCoversTheStatusPanels)
{
    startShown();
    Form1& f = *b.form;
    const auto expectPanelsBare = [&](const char* state) {
        SCOPED_TRACE(state);
        for (QLabel* panel : {f.status().panel1, f.status().panel2}) {
            const QRect r = inWindow(panel);
            for (const QWidget* w : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (w == f.statusBar() || !w->isVisibleTo(&f) || w->isWindow())
                    continue;
                EXPECT_FALSE(inWindow(w).intersects(r)) << w->objectName().toStdString() << " lies over "
                                                       << panel->objectName().toStdString();
            }
        }
    };
    expectPanelsBare("atStart");
    for (const char* choice : {"optPrBar1", "optPrBar2"}) {
        b.form->execModal = [&](QDialog& dialog) {
            auto* options = qobject_cast<mainwin::frmOptions*>(&dialog);
            EXPECT_NE(options, nullptr);
            if (options == nullptr)
                return int(QDialog::Rejected);
            options->findChild<QRadioButton*>(QString::fromLatin1(choice))->setChecked(true);
            options->cmdOK->click();
            return dialog.result();
        };
        f.mnuSetMove->trigger();
        QCoreApplication::processEvents();
        expectPanelsBare(choice);
    }
}

// ---- The window keeps its size -----------------------------------------------------

TEST_P(Form1LayoutTest, StartAndCloseStoreTheSameGeometry)
{
    struct Case {
        const char* name;
        const char *top, *left, *width, *height;
    };
    const Case cases[] = {
        {"atTheCorner", "0", "0", "7000", "7000"},
        {"placedAndLarge", "450", "300", "7500", "8250"},
        {"theMinimum", "0", "0", "6150", "6550"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WindowBench bench;
        bench.store.write(S::Setting::Section, S::Setting::Top, QString::fromLatin1(c.top));
        bench.store.write(S::Setting::Section, S::Setting::Left, QString::fromLatin1(c.left));
        bench.store.write(S::Setting::Section, S::Setting::Width, QString::fromLatin1(c.width));
        bench.store.write(S::Setting::Section, S::Setting::Height, QString::fromLatin1(c.height));
        bench.start();
        Form1& f = *bench.form;
        f.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
        QCoreApplication::processEvents();
        // The platform put a frame around the window: the outer size is more
        // than the client's.
        ASSERT_GT(f.frameGeometry().height(), f.height());
        EXPECT_EQ(f.frameGeometry().size(),
                  QSize(mainwin::twips::toPx(QString::fromLatin1(c.width).toInt()),
                        mainwin::twips::toPx(QString::fromLatin1(c.height).toInt())));
        f.close();
        EXPECT_EQ(bench.store.read(S::Setting::Section, S::Setting::Top), QString::fromLatin1(c.top));
        EXPECT_EQ(bench.store.read(S::Setting::Section, S::Setting::Left), QString::fromLatin1(c.left));
        EXPECT_EQ(bench.store.read(S::Setting::Section, S::Setting::Width), QString::fromLatin1(c.width));
        EXPECT_EQ(bench.store.read(S::Setting::Section, S::Setting::Height), QString::fromLatin1(c.height));
    }
}

TEST_P(Form1LayoutTest, TheMinimumIsTheOuterSize)
{
    startShown();
    Form1& f = *b.form;
    f.resize(10, 10); // as a user drags it smaller
    QCoreApplication::processEvents();
    EXPECT_EQ(f.frameGeometry().size(), QSize(mainwin::twips::toPx(6150), mainwin::twips::toPx(6550)));
    // A user's own size is stored as the window has it.
    f.resize(f.width() + 20, f.height() + 30);
    QCoreApplication::processEvents();
    const QRect outer = f.frameGeometry();
    f.close();
    EXPECT_EQ(b.store.read(S::Setting::Section, S::Setting::Width), QString::number(mainwin::twips::fromPx(outer.width())));
    EXPECT_EQ(b.store.read(S::Setting::Section, S::Setting::Height), QString::number(mainwin::twips::fromPx(outer.height())));
}

INSTANTIATE_TEST_SUITE_P(Fonts, Form1LayoutTest, ::testing::Values(WindowFont::Japanese, WindowFont::Desktop),
                         [](const auto& info) {
                             return std::string(info.param == WindowFont::Japanese ? "IPAGothic" : "DesktopFont");
                         });

} // namespace
} // namespace tavil::test
