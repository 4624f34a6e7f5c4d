#include "mainwin/clsmousetrack.h"
#include "support/clsmessage.h"
#include "tests/mainwin/statuswindowfixture.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using tavil::mainwin::clsMouseTrack;
using tavil::support::clsMessage;

namespace {

// What happens to the watched widget: a move, the pointer coming in or
// going out, a button released.
struct Step {
    enum Kind { Move, Enter, Leave, Release } kind;
    int x = 0;
    int y = 0;
    Qt::MouseButtons held = Qt::NoButton; // after the event
};

Step move(int x, int y, Qt::MouseButtons held = Qt::NoButton) { return {Step::Move, x, y, held}; }
Step enter(int x, int y) { return {Step::Enter, x, y, Qt::NoButton}; }
Step leave() { return {Step::Leave, 0, 0, Qt::NoButton}; }
Step release(int x, int y) { return {Step::Release, x, y, Qt::NoButton}; }

class MouseTrack : public ::testing::Test {
protected:
    void SetUp() override
    {
        target = new QWidget;
        target->resize(100, 100);
        track = new clsMouseTrack(target);
        track->setTarget(target);
        track->setCapture(true);
        QObject::connect(track, &clsMouseTrack::MouseEnter, target, [this] { log << "enter"; });
        QObject::connect(track, &clsMouseTrack::MouseLeave, target, [this] { log << "leave"; });
        QObject::connect(track, &clsMouseTrack::SpotMouseEnter, target,
                         [this](int i) { log << QStringLiteral("spotEnter %1").arg(i); });
        QObject::connect(track, &clsMouseTrack::SpotMouseLeave, target,
                         [this](int i) { log << QStringLiteral("spotLeave %1").arg(i); });
    }
    void TearDown() override
    {
        delete target;
        tavil::test::expectNoTopLevelWidgets();
    }

    void send(QWidget* to, const Step& s)
    {
        const QPointF pos(s.x, s.y);
        switch (s.kind) {
        case Step::Move: {
            QMouseEvent e(QEvent::MouseMove, pos, pos, Qt::NoButton, s.held, Qt::NoModifier);
            QApplication::sendEvent(to, &e);
            break;
        }
        case Step::Enter: {
            QEnterEvent e(pos, pos, pos);
            QApplication::sendEvent(to, &e);
            break;
        }
        case Step::Leave: {
            QEvent e(QEvent::Leave);
            QApplication::sendEvent(to, &e);
            break;
        }
        case Step::Release: {
            QMouseEvent e(QEvent::MouseButtonRelease, pos, pos, Qt::LeftButton, s.held, Qt::NoModifier);
            QApplication::sendEvent(to, &e);
            break;
        }
        }
    }
    void run(const std::vector<Step>& steps)
    {
        for (const Step& s : steps)
            send(target, s);
    }

    QWidget* target = nullptr;
    clsMouseTrack* track = nullptr;
    QStringList log;
};

TEST_F(MouseTrack, EntersAndLeavesTheTarget)
{
    struct Case {
        const char* name;
        std::vector<Step> steps;
        QStringList expected;
    };
    const Case cases[] = {
        {"enterOnceForManyMoves", {move(10, 10), move(20, 20), move(99, 99)}, {"enter"}},
        {"enterEvent", {enter(5, 5), move(6, 6)}, {"enter"}},
        {"moveOut", {move(10, 10), move(100, 10)}, {"enter", "leave"}},
        {"leaveEvent", {move(10, 10), leave()}, {"enter", "leave"}},
        // Once out the pointer is no longer held: nothing more is seen.
        {"outOnlyOnce", {move(10, 10), move(150, 10), move(160, 10), leave()}, {"enter", "leave"}},
        {"reenter", {move(10, 10), leave(), move(20, 20)}, {"enter", "leave", "enter"}},
        {"neverEntered", {move(150, 10), leave()}, {}},
        // With a button held nothing leaves until the button is released
        // outside; the Leave that follows the release is no second leave.
        {"heldButtonOut", {move(10, 10), move(150, 10, Qt::LeftButton), move(160, 10, Qt::LeftButton)}, {"enter"}},
        {"heldButtonReleasedOutside",
         {move(10, 10), move(150, 10, Qt::LeftButton), release(150, 10), leave()},
         {"enter", "leave"}},
        {"heldButtonReleasedInside", {move(10, 10), move(150, 10, Qt::LeftButton), move(50, 50, Qt::LeftButton), release(50, 50)},
         {"enter"}},
        {"releaseOutsideNeverInside", {release(150, 10)}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        track->setCapture(true); // starts outside
        run(c.steps);
        EXPECT_EQ(log, c.expected);
        run({leave()});
    }
}

TEST_F(MouseTrack, WithoutCaptureNothingIsRaised)
{
    track->setCapture(false);
    EXPECT_FALSE(track->capture());
    run({move(10, 10), move(150, 10), enter(5, 5), leave(), release(150, 10)});
    EXPECT_TRUE(log.isEmpty());

    // Switching it on starts from outside.
    track->setCapture(true);
    EXPECT_TRUE(track->capture());
    run({move(10, 10)});
    EXPECT_EQ(log, QStringList({"enter"}));
}

TEST_F(MouseTrack, MovesWithoutAButtonReachTheTracker)
{
    // A widget sees moves without a button only while it tracks the mouse;
    // the tracker turns that on and gives the old state back.
    EXPECT_TRUE(target->hasMouseTracking());
    track->setTarget(nullptr);
    EXPECT_FALSE(target->hasMouseTracking());
}

// The widget tracks the mouse while any of its trackers is attached and goes
// back to its own setting after the last, whatever order they leave in.
TEST(MouseTrackers, ShareTheWidgetsMouseTracking)
{
    enum Action { Attach, Detach, Retarget, Destroy };
    struct Op {
        int tracker; // 0 to 2
        Action action;
        bool tracking; // the widget's mouse tracking afterwards
    };
    struct Case {
        const char* name;
        std::vector<Op> ops;
    };
    // Written for a widget that did not track before; with one that did, it
    // tracks all along.
    const Case cases[] = {
        {"firstLeavesFirst", {{0, Attach, true}, {1, Attach, true}, {0, Detach, true}, {1, Detach, false}}},
        {"lastLeavesFirst", {{0, Attach, true}, {1, Attach, true}, {1, Detach, true}, {0, Detach, false}}},
        {"destroyedInAttachOrder", {{0, Attach, true}, {1, Attach, true}, {0, Destroy, true}, {1, Destroy, false}}},
        {"retargetedAway", {{0, Attach, true}, {1, Attach, true}, {0, Retarget, true}, {1, Retarget, false}}},
        {"mixedWays",
         {{0, Attach, true},
          {1, Attach, true},
          {2, Attach, true},
          {1, Destroy, true},
          {0, Retarget, true},
          {2, Detach, false}}},
        // Retargeted to the widget it watches: still one of its trackers.
        {"retargetedToTheSame", {{0, Attach, true}, {1, Attach, true}, {0, Attach, true}, {1, Detach, true}, {0, Detach, false}}},
        {"detachedTwice", {{0, Attach, true}, {1, Attach, true}, {0, Detach, true}, {0, Detach, true}, {1, Detach, false}}},
        {"again", {{0, Attach, true}, {0, Detach, false}, {1, Attach, true}, {0, Attach, true}, {0, Destroy, true}, {1, Destroy, false}}},
    };
    for (const bool trackedBefore : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (trackedBefore ? ", tracked before" : ""));
            QWidget target;
            QWidget other;
            target.setMouseTracking(trackedBefore);
            std::vector<std::unique_ptr<clsMouseTrack>> trackers;
            for (int i = 0; i < 3; ++i)
                trackers.push_back(std::make_unique<clsMouseTrack>());
            for (std::size_t step = 0; step < c.ops.size(); ++step) {
                const Op& op = c.ops[step];
                SCOPED_TRACE(testing::Message() << "step " << step + 1);
                auto& tracker = trackers[std::size_t(op.tracker)];
                switch (op.action) {
                case Attach: tracker->setTarget(&target); break;
                case Detach: tracker->setTarget(nullptr); break;
                case Retarget: tracker->setTarget(&other); break;
                case Destroy: tracker.reset(); break;
                }
                EXPECT_EQ(target.hasMouseTracking(), op.tracking || trackedBefore);
            }
            trackers.clear();
            // The other widget, watched for a while, is as it was; nothing
            // of the trackers is left on either.
            EXPECT_EQ(target.hasMouseTracking(), trackedBefore);
            EXPECT_FALSE(other.hasMouseTracking());
            EXPECT_TRUE(target.dynamicPropertyNames().isEmpty());
            EXPECT_TRUE(other.dynamicPropertyNames().isEmpty());
        }
    }
}

TEST(MouseTrackers, OutliveTheirWidget)
{
    // The widget goes first: its count goes with it, so the next widget the
    // trackers watch starts afresh.
    clsMouseTrack first;
    clsMouseTrack second;
    {
        QWidget gone;
        first.setTarget(&gone);
        second.setTarget(&gone);
    }
    EXPECT_EQ(first.target(), nullptr);
    QWidget next;
    first.setTarget(&next);
    second.setTarget(&next);
    EXPECT_TRUE(next.hasMouseTracking());
    first.setTarget(nullptr);
    EXPECT_TRUE(next.hasMouseTracking());
    second.setTarget(nullptr);
    EXPECT_FALSE(next.hasMouseTracking());
}

TEST_F(MouseTrack, SpotsAreGivenInTwips)
{
    // 15 twips to the pixel: 150, 150, 300, 300 twips are pixels 10 to 29.
    track->AddSpot(150, 150, 300, 300);
    ASSERT_EQ(track->spotCount(), 1);
    EXPECT_EQ(track->spotRect(1), QRect(10, 10, 20, 20));

    run({move(9, 9)});
    EXPECT_EQ(log, QStringList({"enter"}));
    run({move(10, 10), move(29, 29)});
    EXPECT_EQ(log, QStringList({"enter", "spotEnter 1"}));
    run({move(30, 30)});
    EXPECT_EQ(log, QStringList({"enter", "spotEnter 1", "spotLeave 1"}));
}

TEST_F(MouseTrack, SpotsEnterAndLeave)
{
    struct Case {
        const char* name;
        std::vector<Step> steps;
        QStringList expected;
    };
    // Spot 1: pixels 0 to 39; spot 2: pixels 20 to 59; they overlap at 20 to 39.
    const Case cases[] = {
        {"higherSpotFirst", {move(30, 30)}, {"enter", "spotEnter 2"}},
        {"lowerOnTheNextMove", {move(30, 30), move(31, 31), move(32, 32)}, {"enter", "spotEnter 2", "spotEnter 1"}},
        {"leaveOneSpot", {move(30, 30), move(31, 31), move(50, 50)},
         {"enter", "spotEnter 2", "spotEnter 1", "spotLeave 1"}},
        // One leave per event: leaving the target takes spot 2 only.
        {"leaveTargetFromOverlap", {move(30, 30), move(31, 31), leave()},
         {"enter", "spotEnter 2", "spotEnter 1", "leave", "spotLeave 2"}},
        {"leaveTargetFromSpot", {move(5, 5), move(150, 5)}, {"enter", "spotEnter 1", "leave", "spotLeave 1"}},
        // A held button neither enters nor leaves a spot.
        {"heldButtonEntersNoSpot", {move(5, 5, Qt::LeftButton), move(6, 6)}, {"enter", "spotEnter 1"}},
        {"heldButtonLeavesNoSpot", {move(5, 5), move(80, 80, Qt::LeftButton), move(81, 81)},
         {"enter", "spotEnter 1", "spotLeave 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        track->ClearSpot();
        track->AddSpot(0, 0, 600, 600);
        track->AddSpot(300, 300, 600, 600);
        track->setCapture(true);
        log.clear();
        run(c.steps);
        EXPECT_EQ(log, c.expected);
        run({leave()});
    }
}

TEST_F(MouseTrack, ClearedSpotsRaiseNothing)
{
    track->AddSpot(0, 0, 600, 600);
    track->ClearSpot();
    EXPECT_EQ(track->spotCount(), 0);
    run({move(5, 5), move(150, 5)});
    EXPECT_EQ(log, QStringList({"enter", "leave"}));
}

TEST_F(MouseTrack, NewTargetIsWatchedAndTheOldOneNoLonger)
{
    QWidget other;
    other.resize(50, 50);
    run({move(10, 10)});
    track->setTarget(&other);
    EXPECT_EQ(track->target(), &other);
    send(target, move(20, 20));
    send(target, leave());
    EXPECT_EQ(log, QStringList({"enter"}));
    send(&other, move(10, 10));
    send(&other, move(60, 10));
    EXPECT_EQ(log, QStringList({"enter", "enter", "leave"}));
    track->setTarget(nullptr);
}

TEST_F(MouseTrack, ForgetsATargetThatIsDeleted)
{
    auto* other = new QWidget;
    track->setTarget(other);
    delete other;
    EXPECT_EQ(track->target(), nullptr);
    track->setTarget(target); // detaching from the deleted one is safe
    run({move(1, 1)});
    EXPECT_EQ(log, QStringList({"enter"}));
}

TEST_F(MouseTrack, TrackersOfOneWidgetShareItsHook)
{
    clsMessage* hook = clsMessage::MessageClass(target);
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(hook->MessageCount(), 1);

    auto* second = new clsMouseTrack(target);
    second->setTarget(target);
    second->setCapture(true);
    QObject::connect(second, &clsMouseTrack::MouseEnter, target, [this] { log << "second enter"; });
    EXPECT_EQ(clsMessage::MessageClass(target), hook);
    EXPECT_EQ(hook->MessageCount(), 2);
    run({move(10, 10)});
    EXPECT_EQ(log, QStringList({"enter", "second enter"}));

    // The first one letting go leaves the second one hooked; the last one
    // takes the hook away.
    track->setTarget(nullptr);
    EXPECT_EQ(clsMessage::MessageClass(target), hook);
    EXPECT_EQ(hook->MessageCount(), 1);
    delete second;
    EXPECT_EQ(clsMessage::MessageClass(target), nullptr);
    EXPECT_TRUE(target->findChildren<clsMessage*>().isEmpty());
    log.clear();
    run({leave(), move(20, 20)});
    EXPECT_TRUE(log.isEmpty());
}

} // namespace
