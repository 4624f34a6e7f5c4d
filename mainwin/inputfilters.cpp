#include "mainwin/inputfilters.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QList>
#include <QTimer>

namespace tavil::mainwin::filters {

namespace {

// The widgets a rule watches. An editable combo box keeps the focus itself
// and hands its keys and focus events to its line edit directly, past any
// filter there, so the box is watched; its line edit too, for events sent
// to it directly.
QList<QWidget*> watchedOf(QWidget* box)
{
    if (auto* combo = qobject_cast<QComboBox*>(box); combo && combo->lineEdit())
        return {combo, combo->lineEdit()};
    return {box};
}

class KeyRule final : public QObject {
public:
    enum class Kind { Refuse, DigitsOnly, Nothing };
    KeyRule(QObject* parent, Kind kind, QString refused) : QObject(parent), m_kind(kind), m_refused(std::move(refused)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        // Keys that insert nothing (arrows, Delete, shortcuts) are not
        // typing. Backspace passes every rule but the one that refuses all.
        if (text.isEmpty() || (key->modifiers() & Qt::ControlModifier))
            return false;
        if (key->key() == Qt::Key_Backspace)
            return m_kind == Kind::Nothing;
        if (text.at(0).unicode() < 0x20)
            return false; // Enter, Tab and Esc go on to their handlers
        switch (m_kind) {
        case Kind::Refuse:
            for (const QChar c : text) {
                if (m_refused.contains(c))
                    return true;
            }
            return false;
        case Kind::DigitsOnly:
            for (const QChar c : text) {
                if (c < u'0' || c > u'9')
                    return true;
            }
            return false;
        case Kind::Nothing:
            return true;
        }
        return false;
    }

private:
    Kind m_kind;
    QString m_refused;
};

class SelectAll final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto* edit = qobject_cast<QLineEdit*>(watched);
            if (auto* combo = qobject_cast<QComboBox*>(watched))
                edit = combo->lineEdit();
            // After the focus has settled: a mouse click would otherwise place
            // the cursor and drop the selection again.
            if (edit)
                QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void refuseCharacters(QWidget* box, const QString& refused)
{
    for (QWidget* w : watchedOf(box))
        w->installEventFilter(new KeyRule(w, KeyRule::Kind::Refuse, refused));
}

void digitsOnly(QWidget* box)
{
    for (QWidget* w : watchedOf(box)) {
        w->setAttribute(Qt::WA_InputMethodEnabled, false);
        w->installEventFilter(new KeyRule(w, KeyRule::Kind::DigitsOnly, QString()));
    }
}

void refuseAllKeys(QWidget* box)
{
    for (QWidget* w : watchedOf(box)) {
        w->setAttribute(Qt::WA_InputMethodEnabled, false);
        w->installEventFilter(new KeyRule(w, KeyRule::Kind::Nothing, QString()));
    }
}

void selectAllOnFocus(QWidget* box)
{
    for (QWidget* w : watchedOf(box))
        w->installEventFilter(new SelectAll(w));
}

} // namespace tavil::mainwin::filters
