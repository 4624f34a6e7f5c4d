#include "mainwin/statusarea.h"

#include "mainwin/picturebox.h"
#include "mainwin/twips.h"
#include "platform/fsname.h"
#include "tests/mainwin/statuswindowfixture.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using tavil::mainwin::StatusArea;
namespace twips = tavil::mainwin::twips;

namespace {

const QString kNoOutputTip = QStringLiteral("出力先フォルダを設定します");

class StatusAreaTest : public ::testing::Test {
protected:
    void SetUp() override { make(); }
    void TearDown() override
    {
        area.reset();
        window.reset();
        tavil::test::expectNoTopLevelWidgets();
    }
    // A main window of the design size, shown, with the status area.
    void make()
    {
        area.reset();
        window = std::make_unique<QMainWindow>();
        form = new QWidget;
        window->setCentralWidget(form);
        area = std::make_unique<StatusArea>(window.get(), form, window->statusBar(), fake.services);
        window->resize(410, 437); // 6150 x 6550 twips
        window->show();
        area->layout(6150);
    }
    void setPrBar(const std::optional<QString>& value)
    {
        if (value)
            fake.store.write(QStringLiteral("ActionSetting"), QStringLiteral("PrBar"), *value);
        else
            fake.store.removeKey(QStringLiteral("ActionSetting"), QStringLiteral("PrBar"));
    }
    void clickOutputButton() { QTest::mouseClick(area->outputButton, Qt::LeftButton); }

    tavil::test::FakeServices fake;
    std::unique_ptr<QMainWindow> window;
    QWidget* form = nullptr;
    std::unique_ptr<StatusArea> area;
};

TEST_F(StatusAreaTest, ControlsCarryTheirNames)
{
    EXPECT_EQ(window->findChild<QStatusBar*>("SBar1"), area->SBar1);
    EXPECT_EQ(window->findChild<QWidget*>("Picture1"), area->Picture1);
    EXPECT_EQ(window->findChild<QProgressBar*>("PBar"), area->PBar);
    EXPECT_EQ(form->findChild<QToolBar*>("Toolbar3"), area->Toolbar3);
    ASSERT_NE(area->outputButton, nullptr);
    EXPECT_EQ(area->outputButton->defaultAction(), area->outputAction);
    EXPECT_TRUE(area->outputAction->isCheckable());
}

TEST_F(StatusAreaTest, OutputFolderIsChosenWithThePicker)
{
    struct Case {
        const char* name;
        QString picked;
        QString outFolder;
        QString tip;
        bool inForce;
    };
    const Case cases[] = {
        {"folder", "/tmp/x", "/tmp/x/", "出力先：/tmp/x/", true},
        {"endsWithSeparator", "/tmp/x/", "/tmp/x/", "出力先：/tmp/x/", true},
        {"root", "/", "/", "出力先：/", true},
        {"japanese", "/home/u/出力", "/home/u/出力/", "出力先：/home/u/出力/", true},
        // Not UTF-8: kept as the raw name, shown readably.
        {"rawBytes", tavil::platform::nameFromBytes("/tmp/caf\xE9"), tavil::platform::nameFromBytes("/tmp/caf\xE9/"),
         "出力先：/tmp/caf\\xE9/", true},
        {"cancelled", "", "", kNoOutputTip, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        make();
        QSignalSpy changed(area.get(), &StatusArea::outputFolderChanged);
        fake.desktop.pickerTitles.clear();
        fake.desktop.folders = {c.picked};

        clickOutputButton();

        EXPECT_EQ(fake.desktop.pickerTitles, QStringList({"出力先フォルダを選択して下さい。"}));
        EXPECT_EQ(area->outFolder(), c.outFolder);
        EXPECT_EQ(area->outputButtonPressed(), c.inForce);
        EXPECT_EQ(area->outputAction->isChecked(), c.inForce);
        EXPECT_EQ(area->outputAction->toolTip(), c.tip);
        EXPECT_EQ(area->outputButton->toolTip(), c.tip);
        ASSERT_EQ(changed.count(), 1);
        EXPECT_EQ(changed.at(0).at(0).toBool(), c.inForce);
    }
}

TEST_F(StatusAreaTest, ReleasingTheButtonEndsTheOutputFolder)
{
    fake.desktop.folders = {"/tmp/x"};
    clickOutputButton();
    ASSERT_EQ(area->outFolder(), QStringLiteral("/tmp/x/"));
    QSignalSpy changed(area.get(), &StatusArea::outputFolderChanged);

    clickOutputButton();

    EXPECT_EQ(fake.desktop.pickerTitles.size(), 1); // no picker to release it
    EXPECT_FALSE(area->outputButtonPressed());
    EXPECT_EQ(area->outFolder(), QString());
    EXPECT_EQ(area->outputAction->toolTip(), kNoOutputTip);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed.at(0).at(0).toBool());
}

TEST_F(StatusAreaTest, TheRunCanReleaseAndLockTheButton)
{
    fake.desktop.folders = {"/tmp/x"};
    clickOutputButton();
    QSignalSpy changed(area.get(), &StatusArea::outputFolderChanged);

    area->releaseOutputButton();
    EXPECT_FALSE(area->outputButtonPressed());
    EXPECT_EQ(area->outFolder(), QString());
    EXPECT_EQ(area->outputAction->toolTip(), kNoOutputTip);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_FALSE(changed.at(0).at(0).toBool());

    // Locked, a click changes nothing.
    area->setOutputButtonEnabled(false);
    fake.desktop.folders = {"/tmp/y"};
    clickOutputButton();
    EXPECT_FALSE(area->outputButtonPressed());
    EXPECT_EQ(fake.desktop.pickerTitles.size(), 1);
    area->setOutputButtonEnabled(true);
    clickOutputButton();
    EXPECT_EQ(area->outFolder(), QStringLiteral("/tmp/y/"));
}

TEST_F(StatusAreaTest, RightButtonTellsTheOutputFolder)
{
    QTest::mouseClick(area->outputButton, Qt::RightButton);
    ASSERT_EQ(fake.dialogs.shown.size(), 1);
    EXPECT_EQ(fake.dialogs.shown[0].text, QStringLiteral("出力先フォルダは設定されていません"));
    EXPECT_EQ(fake.dialogs.shown[0].title, QStringLiteral("Tavil"));
    EXPECT_EQ(fake.dialogs.shown[0].style, 0);
    // The right button neither toggles the button nor opens the picker.
    EXPECT_FALSE(area->outputButtonPressed());
    EXPECT_TRUE(fake.desktop.pickerTitles.isEmpty());

    fake.desktop.folders = {"/tmp/x"};
    clickOutputButton();
    QTest::mouseClick(area->outputButton, Qt::RightButton);
    ASSERT_EQ(fake.dialogs.shown.size(), 2);
    EXPECT_EQ(fake.dialogs.shown[1].text, QStringLiteral("出力先：/tmp/x/"));
    EXPECT_EQ(fake.dialogs.shown[1].title, QStringLiteral("Tavil"));
    EXPECT_EQ(fake.dialogs.shown[1].style, 0);
    EXPECT_TRUE(area->outputButtonPressed());

    // Also while a run has the button locked, and on the bar beside it.
    area->setOutputButtonEnabled(false);
    QTest::mouseClick(area->outputButton, Qt::RightButton);
    QTest::mouseClick(area->Toolbar3, Qt::RightButton, {}, QPoint(0, 0));
    EXPECT_EQ(fake.dialogs.shown.size(), 4);
}

TEST_F(StatusAreaTest, PrBarChoosesTheDisplay)
{
    struct Case {
        const char* name;
        std::optional<QString> prBar;
        bool drawn;
    };
    const Case cases[] = {
        {"missing", std::nullopt, true}, {"one", "1", true},     {"two", "2", false},
        {"notANumber", "abc", true},      {"empty", "", true},    {"zero", "0", false},
        {"blanks", " 1 ", true},          {"oneDotZero", "1.0", true}, {"oneAndAHalf", "1.5", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setPrBar(c.prBar);
        EXPECT_EQ(tavil::mainwin::drawnBarChosen(fake.store), c.drawn);

        tavil::mainwin::Progress& shown = area->showProgress();
        EXPECT_EQ(&shown == &area->gProgressBar, c.drawn);
        EXPECT_EQ(&area->gProgress(), &shown);
        EXPECT_EQ(area->Picture1->isVisible(), c.drawn);
        EXPECT_EQ(area->PBar->isVisible(), !c.drawn);

        shown.setMax(10);
        shown.setValue(4);
        EXPECT_EQ(c.drawn ? area->gProgressBar.value() : area->PBar->value(), 4);

        area->hideProgress();
        EXPECT_FALSE(area->Picture1->isVisible());
        EXPECT_FALSE(area->PBar->isVisible());
        EXPECT_EQ(shown.value(), 0);
    }
}

TEST_F(StatusAreaTest, StartUpChoosesWithoutShowing)
{
    EXPECT_FALSE(area->Picture1->isVisible());
    EXPECT_FALSE(area->PBar->isVisible());
    EXPECT_EQ(&area->gProgress(), &area->gProgressBar);

    setPrBar(QStringLiteral("2"));
    area->chooseProgress();
    EXPECT_NE(&area->gProgress(), &area->gProgressBar);
    EXPECT_FALSE(area->Picture1->isVisible());
    EXPECT_FALSE(area->PBar->isVisible());

    // The drawn bar as the main window has it: tinted, no text.
    EXPECT_EQ(area->gProgressBar.target(), area->Picture1);
    EXPECT_EQ(area->gProgressBar.backColor(), window->palette().color(QPalette::Button));
    EXPECT_EQ(area->gProgressBar.unit(), QString());
    EXPECT_FALSE(area->gProgressBar.valueShow());
}

TEST_F(StatusAreaTest, ControlDisplayTakesAnyMaxAndValue)
{
    setPrBar(QStringLiteral("2"));
    tavil::mainwin::Progress& p = area->showProgress();
    p.setMax(0); // an empty list
    EXPECT_EQ(p.max(), 0);
    EXPECT_GT(area->PBar->maximum(), area->PBar->minimum()); // not a busy bar
    p.setValue(5);
    EXPECT_EQ(p.value(), 0);
    p.setMax(10);
    p.setValue(15);
    EXPECT_EQ(p.value(), 10);
    p.setValue(-3);
    EXPECT_EQ(p.value(), 0);
    p.setValue(7);
    p.setMax(5);
    EXPECT_EQ(p.value(), 5);
}

TEST_F(StatusAreaTest, ProgressAreaLiesOverPanelTwo)
{
    const auto check = [&](const char* name) {
        SCOPED_TRACE(name);
        const int sbarTop = area->SBar1->y();
        const int panel2 = area->panel2->width();
        // left 1500 twips (and as much more as panel 1 was widened), top +
        // 40, width − 65, height 190 / 180, at 15 twips to the pixel.
        const int left = 100 + (area->panel1->width() - 96);
        EXPECT_EQ(area->Picture1->geometry(), QRect(left, sbarTop + 3, panel2 - 4, 13));
        EXPECT_EQ(area->PBar->geometry(), QRect(left, sbarTop + 3, panel2 - 4, 12));
        EXPECT_GE(area->Picture1->x(), area->panel1->x() + area->panel1->width()) << "lies over panel 1";
        const QObjectList children = window->children();
        EXPECT_GT(children.indexOf(area->Picture1), children.indexOf(area->SBar1));
        EXPECT_GT(children.indexOf(area->PBar), children.indexOf(area->SBar1));
    };
    // 1440 twips, or wider where the font needs it for the longest state
    // texts.
    EXPECT_GE(area->panel1->width(), 96);
    EXPECT_LE(area->panel1->fontMetrics().horizontalAdvance(QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中...")), area->panel1->width());
    EXPECT_GT(area->panel2->width(), 100);
    check("designSize");

    const int before = area->Picture1->width();
    // The area follows the status bar's own layout, also before the main
    // window's resize handling gets to it.
    window->resize(510, 537);
    EXPECT_GT(area->Picture1->width(), before);
    check("grown");
    area->layout(7650);
    check("grownAndLaidOut");
}

TEST_F(StatusAreaTest, ProgressAreaNeverGetsANegativeWidth)
{
    area->panel2->resize(3, area->panel2->height()); // narrower than the margin
    area->placeProgress();
    EXPECT_EQ(area->Picture1->width(), 0);
    EXPECT_EQ(area->PBar->width(), 0);
}

TEST_F(StatusAreaTest, OutputButtonFollowsTheWindowWidth)
{
    // w − 4375, top 45, 345 square.
    EXPECT_EQ(area->Toolbar3->geometry(), QRect(118, 3, 23, 23));
    area->layout(7650);
    EXPECT_EQ(area->Toolbar3->geometry(), QRect(218, 3, 23, 23));
    window->resize(600, 437);
    area->layout(); // the window's own outer width
    EXPECT_EQ(area->Toolbar3->x(), twips::toPx(twips::fromPx(window->frameGeometry().width()) - 4375));
    EXPECT_GE(area->Toolbar3->x(), twips::toPx(9000 - 4375));
}

TEST_F(StatusAreaTest, PanelsHoldTheirTexts)
{
    area->setPanelText(1, QStringLiteral("追加中..."));
    area->setPanelText(2, QStringLiteral("3個見つかりました"));
    EXPECT_EQ(area->panel1->text(), QStringLiteral("追加中..."));
    EXPECT_EQ(area->panelText(1), QStringLiteral("追加中..."));
    EXPECT_EQ(area->panelText(2), QStringLiteral("3個見つかりました"));
    area->setPanelText(3, QStringLiteral("x")); // there is no third panel
    EXPECT_EQ(area->panelText(3), QString());
}

} // namespace
