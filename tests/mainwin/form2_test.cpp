#include "mainwin/form2.h"

#include "mainwin/clsmousetrack.h"
#include "mainwin/twips.h"
#include "tests/mainwin/statuswindowfixture.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using tavil::mainwin::Form2;
using tavil::mainwin::Label8Frame;
using tavil::mainwin::label8Step;
using tavil::mainwin::versionText;

namespace {

const QString A = QStringLiteral("¨****～");
const QString B = QStringLiteral("¨******～");

TEST(AboutBoxAnimation, StepsTheFigure)
{
    struct Case {
        const char* name;
        Label8Frame now;
        Label8Frame next;
    };
    const Case cases[] = {
        {"emptyShowsShort", {"", 0}, {A, 0}},
        {"shortStretchesAndCrawls", {A, 0}, {B, -200}},
        {"longContractsInPlace", {B, 1234}, {A, 1234}},
        {"anythingElseBecomesLong", {"z", 777}, {B, 777}},
        {"atTheEdgeNoWrap", {A, -600}, {B, -800}},
        {"pastTheEdgeWraps", {A, -601}, {B, 6400}},
        {"wrapsBeforeAnEmptyCaption", {"", -601}, {A, 6600}},
        {"wrapsLongInPlace", {B, -900}, {A, 6600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Label8Frame got = label8Step(c.now);
        EXPECT_EQ(got.caption, c.next.caption);
        EXPECT_EQ(got.left, c.next.left);
    }
    // The figures themselves: diaeresis, four or six asterisks, full-width tilde.
    EXPECT_EQ(A, QString::fromUtf16(u"\u00A8****\uFF5E"));
    EXPECT_EQ(B, QString::fromUtf16(u"\u00A8******\uFF5E"));
}

TEST(AboutBoxVersion, RevisionHasAtLeastFourDigits)
{
    EXPECT_EQ(versionText(2, 5, 7), QStringLiteral("Version 2.5.0007"));
    EXPECT_EQ(versionText(1, 0, 1), QStringLiteral("Version 1.0.0001"));
    EXPECT_EQ(versionText(1, 12, 0), QStringLiteral("Version 1.12.0000"));
    EXPECT_EQ(versionText(3, 0, 12345), QStringLiteral("Version 3.0.12345"));
}

class AboutBox : public ::testing::Test {
protected:
    void TearDown() override
    {
        owner.reset();
        tavil::test::expectNoTopLevelWidgets();
    }
    tavil::test::FakeServices fake;
    std::unique_ptr<QWidget> owner = std::make_unique<QWidget>();
    int unloads = 0;
};

TEST_F(AboutBox, ShowsTheVersionAndTheLinks)
{
    Form2 box(fake.services);
    EXPECT_EQ(box.Label3->text(), QStringLiteral("Version 1.0.0001"));
    EXPECT_EQ(box.Label2->text(), QStringLiteral("Linux / Qt 6"));
    EXPECT_EQ(box.Label5->text(), QStringLiteral("tavil@example.org"));
    EXPECT_EQ(box.Label7->text(), QStringLiteral("https://tavil.example.org"));
    EXPECT_EQ(box.Command1->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box.Label8->text().isEmpty());
    EXPECT_EQ(box.label8Left(), 4200);
    // Each link's box is its label's size.
    EXPECT_EQ(box.Picture3->size(), box.Label5->size());
    EXPECT_EQ(box.Picture4->size(), box.Label7->size());
    for (const char* name : {"Label2", "Label3", "Label4", "Label5", "Label7", "Label8", "Picture3", "Picture4",
                             "Command1", "Timer1"})
        EXPECT_NE(box.findChild<QObject*>(name), nullptr) << name;
}

TEST_F(AboutBox, SplashHasNoOkNoAnimationAndAClickClosesIt)
{
    QPointer<Form2> splash = Form2::showSplash(fake.services, [this] { ++unloads; });
    ASSERT_TRUE(splash);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_FALSE(splash->isModal());
    EXPECT_EQ(splash->parentWidget(), nullptr);
    EXPECT_FALSE(splash->Command1->isVisible());
    EXPECT_FALSE(splash->Timer1->isActive());

    QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(5, 5));

    EXPECT_EQ(unloads, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull()); // each closing discards the box
}

TEST_F(AboutBox, MainWindowTimerClosesTheSplash)
{
    QPointer<Form2> splash = Form2::showSplash(fake.services, [this] { ++unloads; });
    splash->close();
    EXPECT_EQ(unloads, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(splash.isNull());
}

TEST_F(AboutBox, AboutBoxShowsOkAndAnimates)
{
    Form2 box(fake.services, owner.get());
    box.setOnUnload([this] { ++unloads; });
    box.prepareAsAbout();
    box.show();
    EXPECT_TRUE(box.Command1->isVisible());
    EXPECT_TRUE(box.Timer1->isActive());
    EXPECT_EQ(box.Timer1->interval(), 850);

    // The first tick shows the short figure in place, the second the long
    // one 200 twips to the left.
    box.Timer1_Timer();
    EXPECT_EQ(box.Label8->text(), A);
    EXPECT_EQ(box.label8Left(), 4200);
    box.Timer1_Timer();
    EXPECT_EQ(box.Label8->text(), B);
    EXPECT_EQ(box.label8Left(), 4000);
    EXPECT_EQ(box.Label8->x(), tavil::mainwin::twips::toPx(4000));

    QTest::mouseClick(box.Command1, Qt::LeftButton);
    EXPECT_FALSE(box.isVisible());
    EXPECT_FALSE(box.Timer1->isActive());
    EXPECT_EQ(unloads, 1);
    box.close(); // a second close calls back no more
    EXPECT_EQ(unloads, 1);
}

TEST_F(AboutBox, TimerDrivesTheAnimation)
{
    Form2 box(fake.services, owner.get());
    box.prepareAsAbout();
    box.show();
    QTRY_COMPARE_WITH_TIMEOUT(box.Label8->text(), A, 3000);
    box.close();
}

TEST_F(AboutBox, ShowAboutIsModalOwnedAndClosesTheSplashFirst)
{
    int splashUnloads = 0;
    QPointer<Form2> splash = Form2::showSplash(fake.services, [&] { ++splashUnloads; });
    bool checked = false;
    QTimer::singleShot(0, owner.get(), [&] {
        auto* box = qobject_cast<Form2*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no modal About box";
            return;
        }
        checked = true;
        EXPECT_FALSE(box->isSplash());
        EXPECT_EQ(box->parentWidget(), owner.get());
        EXPECT_TRUE(box->Command1->isVisible());
        EXPECT_TRUE(box->Timer1->isActive());
        EXPECT_TRUE(splash.isNull() || !splash->isVisible());
        EXPECT_EQ(splashUnloads, 1);
        QTest::mouseClick(box->Command1, Qt::LeftButton);
    });
    // Never hang: whatever is modal then is closed.
    QTimer::singleShot(5000, owner.get(), [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });

    Form2::showAbout(owner.get(), fake.services, [this] { ++unloads; });

    EXPECT_TRUE(checked);
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(splashUnloads, 1);
}

TEST_F(AboutBox, ClickOnTheSurfaceClosesTheAboutBox)
{
    Form2 box(fake.services, owner.get());
    box.setOnUnload([this] { ++unloads; });
    box.prepareAsAbout();
    box.show();
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(unloads, 1);
}

TEST_F(AboutBox, LinksOpenTheirAddresses)
{
    Form2 box(fake.services, owner.get());
    box.setOnUnload([this] { ++unloads; });
    box.show();

    QTest::mouseClick(box.Label5, Qt::LeftButton);
    QTest::mouseClick(box.Label7, Qt::LeftButton);
    QTest::mousePress(box.Picture3, Qt::LeftButton);
    QTest::mousePress(box.Picture4, Qt::LeftButton);
    const QList<QUrl> expected{QUrl("mailto:tavil@example.org"), QUrl("https://tavil.example.org"),
                               QUrl("mailto:tavil@example.org"), QUrl("https://tavil.example.org")};
    EXPECT_EQ(fake.desktop.opened, expected);
    // A click on a link is not a click on the surface: the box stays.
    EXPECT_TRUE(box.isVisible());
    EXPECT_EQ(unloads, 0);

    // Nothing is shown when no program takes the address.
    fake.desktop.openResult = false;
    QTest::mouseClick(box.Label5, Qt::LeftButton);
    EXPECT_TRUE(fake.dialogs.shown.isEmpty());

    // The right button on a label is no click.
    QTest::mouseClick(box.Label7, Qt::RightButton);
    EXPECT_EQ(fake.desktop.opened.size(), 5);

    // The web link's box does nothing while the link is hidden.
    box.Label7->hide();
    QTest::mousePress(box.Picture4, Qt::LeftButton);
    EXPECT_EQ(fake.desktop.opened.size(), 5);
    box.close();
}

TEST_F(AboutBox, HoverUnderlinesTheLink)
{
    Form2 box(fake.services, owner.get());
    box.show();
    struct Case {
        const char* name;
        QWidget* area;
        QLabel* link;
        QLabel* other;
    };
    const Case cases[] = {{"mail", box.Picture3, box.Label5, box.Label7}, {"web", box.Picture4, box.Label7, box.Label5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QColor colour = c.link->palette().color(QPalette::WindowText);
        QEnterEvent in(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(c.area, &in);
        EXPECT_TRUE(c.link->font().underline());
        EXPECT_FALSE(c.other->font().underline());
        EXPECT_EQ(c.link->palette().color(QPalette::WindowText), colour); // the colour stays
        QEvent out(QEvent::Leave);
        QApplication::sendEvent(c.area, &out);
        EXPECT_FALSE(c.link->font().underline());
    }
    box.close();
}

TEST_F(AboutBox, ClosingReleasesTheHoverTrackers)
{
    Form2 box(fake.services, owner.get());
    box.show();
    QPointer<tavil::mainwin::clsMouseTrack> track = box.mclsTrack1;
    box.close();
    EXPECT_TRUE(track.isNull());
    EXPECT_EQ(box.mclsTrack1, nullptr);
    EXPECT_EQ(box.mclsTrack2, nullptr);
    // Hover after closing changes nothing and does not crash.
    QEnterEvent in(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(box.Picture3, &in);
    EXPECT_FALSE(box.Label5->font().underline());
}

} // namespace

namespace {

TEST_F(AboutBox, LosingTheActivationIsReported)
{
    Form2 box(fake.services, owner.get());
    QSignalSpy lost(&box, &Form2::lostFocus);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&box, &deactivate);
    EXPECT_EQ(lost.count(), 1);
}

} // namespace
