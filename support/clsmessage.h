#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QEvent;

namespace tavil::support {

// An object that wants to see the events of a window that is not its own.
// It sets handled to keep an event from the window; the receivers after it
// still see the event, and the flag as it stands.
class MessageReceiver : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void CallBackWindow(QObject* window, QEvent* event, bool& handled) = 0;
};

// The window message hook: objects registered for one window see every event
// of that window, in the order they were added, before the window itself;
// an event none of them marks handled goes on to the window. The
// notifications the window gets about one of its child controls (the child
// added, polished or removed) go first to the object registered for that
// child.
//
// The hook is an event filter on the window, installed with the first window
// entry and removed after the last; while it is installed the window leads
// back to it (MessageClass), so every user of one window shares it. Entries
// do not own their objects; one deleted while registered is passed over.
class clsMessage final : public QObject {
    Q_OBJECT
public:
    explicit clsMessage(QObject* parent = nullptr);
    // Ending the instance gives the window back: nothing is left that leads
    // to a deleted hook.
    ~clsMessage() override;

    // The hook installed on that window, or none.
    static clsMessage* MessageClass(const QObject* window);

    int MessageCount() const { return int(m_windowEntries.size()); }
    int ChildMessageCount() const { return int(m_childEntries.size()); }
    // The window hooked now, or none.
    QObject* hookedWindow() const { return m_hooked; }

    // Registers obj for the window; every entry of one instance is for one
    // window, so another window is refused (false). The first entry hooks.
    // booMessage false keeps the entry without calling it.
    bool AddMessage(MessageReceiver* obj, QObject* window, bool booMessage = true);
    // Removes every window entry of obj; unhooks after the last. False when
    // obj had none.
    bool DeleteMessage(MessageReceiver* obj, QObject* window);
    // One object per child control: a second one for the same child is
    // refused. Child entries neither hook nor unhook.
    bool AddChildMessage(MessageReceiver* obj, QObject* child, bool booMessage = true);
    // Removes the entries of that child control, whoever registered them.
    bool DeleteChildMessage(MessageReceiver* obj, QObject* child);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<MessageReceiver> object;
        const QObject* window; // compared only: a child may be mid-deletion
        bool booMessage;
        quint64 serial; // tells a removed entry from a later one
    };

    bool AddEntry(const QObject* window, MessageReceiver* obj, bool booMessage, std::vector<Entry>& list,
                  bool windowMode);
    bool RemoveEntry(const QObject* window, const MessageReceiver* obj, std::vector<Entry>& list,
                     bool windowMode);
    bool HookWindow(QObject* window);
    bool UnhookWindow();
    MessageReceiver* GetChildObject(const QObject* child) const;
    bool stillRegistered(quint64 serial) const;

    QPointer<QObject> m_hooked;
    std::vector<Entry> m_childEntries;
    std::vector<Entry> m_windowEntries;
    quint64 m_nextSerial = 0;
    bool m_busy = false;
};

} // namespace tavil::support
