#include "support/clsmessage.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using tavil::support::clsMessage;
using tavil::support::MessageReceiver;

namespace {

const QEvent::Type kTagType = QEvent::Type(QEvent::User + 1);

struct TagEvent : QEvent {
    explicit TagEvent(int t) : QEvent(kTagType), tag(t) {}
    int tag;
};

int tagOf(const QEvent* e)
{
    return static_cast<const TagEvent*>(e)->tag;
}

// The hooked window: it writes down the tagged events that reach it.
class Window : public QObject {
public:
    explicit Window(QStringList& log) : m_log(log) {}
    bool event(QEvent* e) override
    {
        if (e->type() == kTagType)
            m_log << QStringLiteral("window:%1").arg(tagOf(e));
        return QObject::event(e);
    }

private:
    QStringList& m_log;
};

// A registered object: writes down what it sees (and whether an earlier
// object had handled it), marks it handled when told, and may act during
// the call.
class Receiver : public MessageReceiver {
public:
    Receiver(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) {}
    void CallBackWindow(QObject*, QEvent* event, bool& handled) override
    {
        QString seen;
        if (event->type() == kTagType)
            seen = QString::number(tagOf(event));
        else if (event->type() == QEvent::ChildAdded)
            seen = QStringLiteral("added ") + static_cast<QChildEvent*>(event)->child()->objectName();
        else if (event->type() == QEvent::ChildRemoved)
            seen = QStringLiteral("removed");
        else
            return;
        m_log << m_name + u':' + seen + (handled ? QStringLiteral("(handled)") : QString());
        if (marks)
            handled = true;
        if (action)
            action(event);
    }

    bool marks = false;
    std::function<void(QEvent*)> action;

private:
    QString m_name;
    QStringList& m_log;
};

class MessageHook : public ::testing::Test {
protected:
    void send(int tag, QObject* to = nullptr)
    {
        TagEvent e(tag);
        QCoreApplication::sendEvent(to ? to : &window, &e);
    }

    QStringList log;
    Window window{log};
    Receiver a{QStringLiteral("a"), log};
    Receiver b{QStringLiteral("b"), log};
};

TEST_F(MessageHook, EveryReceiverInOrderThenTheWindowUnlessHandled)
{
    struct Case {
        const char* name;
        bool aMarks, bMarks;
        bool bCalled; // b registered with booMessage
        QStringList expected;
    };
    const Case cases[] = {
        {"noneHandles", false, false, true, {"a:1", "b:1", "window:1"}},
        // The later object is still called and sees the flag as set.
        {"firstHandles", true, false, true, {"a:1", "b:1(handled)"}},
        {"lastHandles", false, true, true, {"a:1", "b:1"}},
        {"entryNotCalled", false, false, false, {"a:1", "window:1"}},
        {"notCalledEntryCannotHandle", false, true, false, {"a:1", "window:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clsMessage hook;
        a.marks = c.aMarks;
        b.marks = c.bMarks;
        ASSERT_TRUE(hook.AddMessage(&a, &window));
        ASSERT_TRUE(hook.AddMessage(&b, &window, c.bCalled));
        log.clear();
        send(1);
        EXPECT_EQ(log, c.expected);
        EXPECT_TRUE(hook.DeleteMessage(&a, &window));
        EXPECT_TRUE(hook.DeleteMessage(&b, &window));
    }
}

TEST_F(MessageHook, HooksWithTheFirstEntryAndUnhooksAfterTheLast)
{
    clsMessage hook;
    EXPECT_EQ(clsMessage::MessageClass(&window), nullptr);
    EXPECT_EQ(hook.hookedWindow(), nullptr);

    ASSERT_TRUE(hook.AddMessage(&a, &window));
    EXPECT_EQ(clsMessage::MessageClass(&window), &hook);
    ASSERT_TRUE(hook.AddMessage(&b, &window));
    EXPECT_EQ(hook.MessageCount(), 2);

    EXPECT_TRUE(hook.DeleteMessage(&a, &window));
    EXPECT_EQ(clsMessage::MessageClass(&window), &hook);
    send(1);
    EXPECT_EQ(log, QStringList({"b:1", "window:1"}));

    // A child entry outlives the window entries, but the hook is gone: it
    // hears nothing more.
    Receiver c(QStringLiteral("c"), log);
    QObject child;
    child.setObjectName(QStringLiteral("kid"));
    ASSERT_TRUE(hook.AddChildMessage(&c, &child));
    EXPECT_TRUE(hook.DeleteMessage(&b, &window));
    EXPECT_EQ(hook.MessageCount(), 0);
    EXPECT_EQ(hook.ChildMessageCount(), 1);
    EXPECT_EQ(clsMessage::MessageClass(&window), nullptr);
    EXPECT_EQ(hook.hookedWindow(), nullptr);
    log.clear();
    send(2);
    child.setParent(&window);
    child.setParent(nullptr);
    EXPECT_EQ(log, QStringList({"window:2"}));

    // A new first entry hooks again.
    ASSERT_TRUE(hook.AddMessage(&a, &window));
    EXPECT_EQ(clsMessage::MessageClass(&window), &hook);
    log.clear();
    send(3);
    EXPECT_EQ(log, QStringList({"a:3", "window:3"}));
}

TEST_F(MessageHook, RefusesWhatItCannotHold)
{
    clsMessage hook;
    QStringList otherLog;
    Window other(otherLog);
    ASSERT_TRUE(hook.AddMessage(&a, &window));
    // One instance hooks one window.
    EXPECT_FALSE(hook.AddMessage(&b, &other));
    EXPECT_EQ(clsMessage::MessageClass(&other), nullptr);
    // The same object twice is two entries, called twice.
    EXPECT_TRUE(hook.AddMessage(&a, &window));
    send(1);
    EXPECT_EQ(log, QStringList({"a:1", "a:1", "window:1"}));
    // Removing an object takes all its entries; one never added is refused.
    EXPECT_FALSE(hook.DeleteMessage(&b, &window));
    EXPECT_TRUE(hook.DeleteMessage(&a, &window));
    EXPECT_EQ(hook.MessageCount(), 0);
    EXPECT_FALSE(hook.DeleteMessage(&a, &window));

    // One object per child control.
    QObject child;
    EXPECT_TRUE(hook.AddChildMessage(&a, &child));
    EXPECT_FALSE(hook.AddChildMessage(&b, &child));
    EXPECT_TRUE(hook.DeleteChildMessage(&b, &child)); // by the child, whoever added it
    EXPECT_FALSE(hook.DeleteChildMessage(&a, &child));
    EXPECT_FALSE(hook.AddMessage(nullptr, &window));
    EXPECT_FALSE(hook.AddMessage(&a, nullptr));
}

TEST_F(MessageHook, AnEventSentDuringTheDispatchGoesStraightToTheWindow)
{
    clsMessage hook;
    a.action = [this](QEvent* e) {
        if (tagOf(e) == 1)
            send(2);
    };
    ASSERT_TRUE(hook.AddMessage(&a, &window));
    ASSERT_TRUE(hook.AddMessage(&b, &window));
    send(1);
    EXPECT_EQ(log, QStringList({"a:1", "window:2", "b:1", "window:1"}));

    // The dispatch is open again afterwards.
    log.clear();
    send(3);
    EXPECT_EQ(log, QStringList({"a:3", "b:3", "window:3"}));
}

TEST_F(MessageHook, ChildNotificationsReachTheChildsObjectFirst)
{
    clsMessage hook;
    Receiver c(QStringLiteral("c"), log);
    QObject child;
    child.setObjectName(QStringLiteral("kid"));
    QObject stranger;
    stranger.setObjectName(QStringLiteral("stranger"));
    ASSERT_TRUE(hook.AddMessage(&a, &window));
    ASSERT_TRUE(hook.AddChildMessage(&c, &child));
    EXPECT_EQ(hook.ChildMessageCount(), 1);

    child.setParent(&window);
    stranger.setParent(&window);
    child.setParent(nullptr);
    EXPECT_EQ(log, QStringList({"c:added kid", "a:added kid", "a:added stranger", "c:removed", "a:removed"}));
    stranger.setParent(nullptr);

    // An entry that is not to be called hears nothing; removed, neither.
    log.clear();
    Receiver d(QStringLiteral("d"), log);
    QObject quiet;
    quiet.setObjectName(QStringLiteral("quiet"));
    ASSERT_TRUE(hook.AddChildMessage(&d, &quiet, false));
    quiet.setParent(&window);
    quiet.setParent(nullptr);
    EXPECT_TRUE(hook.DeleteChildMessage(&c, &child));
    child.setParent(&window);
    child.setParent(nullptr);
    EXPECT_EQ(log, QStringList({"a:added quiet", "a:removed", "a:added kid", "a:removed"}));
    EXPECT_TRUE(hook.DeleteMessage(&a, &window));
}

TEST_F(MessageHook, SurvivesReceiversAndHooksThatGoAway)
{
    struct Case {
        const char* name;
        QStringList expected;
    };
    // What a's action does to the rest of the dispatch.
    const Case cases[] = {
        {"removesTheNextEntry", {"a:1", "window:1"}},
        {"deletesTheNextReceiver", {"a:1", "window:1"}},
        {"endsTheHook", {"a:1", "window:1"}},
        {"receiverDeletedBefore", {"window:1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        auto* hook = new clsMessage;
        auto next = std::make_unique<Receiver>(QStringLiteral("next"), log);
        Receiver first(QStringLiteral("a"), log);
        first.action = [&](QEvent*) {
            if (name == "removesTheNextEntry")
                hook->DeleteMessage(next.get(), &window);
            else if (name == "deletesTheNextReceiver")
                next.reset();
            else if (name == "endsTheHook") {
                delete hook;
                hook = nullptr;
            }
        };
        if (name != "receiverDeletedBefore") {
            ASSERT_TRUE(hook->AddMessage(&first, &window));
        }
        ASSERT_TRUE(hook->AddMessage(next.get(), &window));
        if (name == "receiverDeletedBefore")
            next.reset();
        log.clear();
        send(1);
        EXPECT_EQ(log, c.expected);
        if (hook) {
            EXPECT_EQ(clsMessage::MessageClass(&window), hook->MessageCount() ? hook : nullptr);
            delete hook;
        }
        // A hook that ended while installed leads nowhere and keeps nothing.
        EXPECT_EQ(clsMessage::MessageClass(&window), nullptr);
        log.clear();
        send(2);
        EXPECT_EQ(log, QStringList({"window:2"}));
    }
}

} // namespace
