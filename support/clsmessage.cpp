#include "support/clsmessage.h"

#include <QChildEvent>
#include <QEvent>
#include <QVariant>

#include <algorithm>

namespace tavil::support {

namespace {
// The window's link to its hook, set while it is hooked.
constexpr char kHookProperty[] = "tavil_clsMessage";

bool isChildNotification(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
    case QEvent::ChildRemoved:
        return true;
    default:
        return false;
    }
}
} // namespace

clsMessage::clsMessage(QObject* parent) : QObject(parent) {}

clsMessage::~clsMessage()
{
    m_childEntries.clear();
    m_windowEntries.clear();
    UnhookWindow();
}

clsMessage* clsMessage::MessageClass(const QObject* window)
{
    if (!window)
        return nullptr;
    auto* hook = qobject_cast<clsMessage*>(window->property(kHookProperty).value<QObject*>());
    return hook && hook->m_hooked == window ? hook : nullptr;
}

bool clsMessage::AddMessage(MessageReceiver* obj, QObject* window, bool booMessage)
{
    if (!obj || !window || !AddEntry(window, obj, booMessage, m_windowEntries, true))
        return false;
    if (m_windowEntries.size() == 1)
        HookWindow(window);
    return true;
}

bool clsMessage::DeleteMessage(MessageReceiver* obj, QObject* window)
{
    if (!RemoveEntry(window, obj, m_windowEntries, true))
        return false;
    if (m_windowEntries.empty())
        UnhookWindow();
    return true;
}

bool clsMessage::AddChildMessage(MessageReceiver* obj, QObject* child, bool booMessage)
{
    return obj && child && AddEntry(child, obj, booMessage, m_childEntries, false);
}

bool clsMessage::DeleteChildMessage(MessageReceiver* obj, QObject* child)
{
    return RemoveEntry(child, obj, m_childEntries, false);
}

bool clsMessage::AddEntry(const QObject* window, MessageReceiver* obj, bool booMessage, std::vector<Entry>& list,
                          bool windowMode)
{
    const bool refused = std::any_of(list.begin(), list.end(), [&](const Entry& e) {
        return windowMode ? e.window != window : e.window == window;
    });
    if (refused)
        return false;
    list.push_back(Entry{obj, window, booMessage, m_nextSerial++});
    return true;
}

bool clsMessage::RemoveEntry(const QObject* window, const MessageReceiver* obj, std::vector<Entry>& list,
                             bool windowMode)
{
    const auto removed = std::remove_if(list.begin(), list.end(), [&](const Entry& e) {
        return windowMode ? e.object == obj : e.window == window;
    });
    if (removed == list.end())
        return false;
    list.erase(removed, list.end());
    return true;
}

bool clsMessage::HookWindow(QObject* window)
{
    m_hooked = window;
    window->setProperty(kHookProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    window->installEventFilter(this);
    return true;
}

bool clsMessage::UnhookWindow()
{
    if (!m_hooked)
        return false;
    QObject* window = m_hooked;
    m_hooked = nullptr;
    window->removeEventFilter(this);
    // Another hook may have taken the window since; its link stays.
    if (window->property(kHookProperty).value<QObject*>() == this)
        window->setProperty(kHookProperty, QVariant());
    return true;
}

MessageReceiver* clsMessage::GetChildObject(const QObject* child) const
{
    for (const Entry& e : m_childEntries) {
        if (e.window == child && e.booMessage)
            return e.object;
    }
    return nullptr;
}

bool clsMessage::stillRegistered(quint64 serial) const
{
    return std::any_of(m_windowEntries.begin(), m_windowEntries.end(),
                       [serial](const Entry& e) { return e.serial == serial; });
}

bool clsMessage::eventFilter(QObject* watched, QEvent* event)
{
    // An event sent while the receivers are being called (by one of them)
    // goes straight on to the window.
    if (watched != m_hooked || m_busy)
        return false;
    m_busy = true;
    // A receiver may end this hook (its last user letting go) or change the
    // entries; neither is touched once it is gone, and the entries are
    // walked as they stood when the event came.
    const QPointer<clsMessage> alive(this);
    bool handled = false;

    if (isChildNotification(event)) {
        if (MessageReceiver* child = GetChildObject(static_cast<QChildEvent*>(event)->child())) {
            child->CallBackWindow(watched, event, handled);
            if (!alive)
                return handled;
        }
    }
    const std::vector<Entry> entries = m_windowEntries;
    for (const Entry& e : entries) {
        // Every receiver is called, also after one has handled the event.
        if (!e.booMessage || !e.object || !stillRegistered(e.serial))
            continue;
        e.object->CallBackWindow(watched, event, handled);
        if (!alive)
            return handled;
    }
    m_busy = false;
    return handled;
}

} // namespace tavil::support
