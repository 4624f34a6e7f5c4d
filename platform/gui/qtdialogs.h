#pragma once

#include "platform/dialogs.h"

#include <QPointer>

class QWidget;

namespace tavil::platform {

// Message and input boxes on Qt widgets. Texts are shown as plain text.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr);

    MsgButton msgBox(const QString& text, const QString& title, int style) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& def) override;

    void setParent(QWidget* parent) { m_parent = parent; }

private:
    QPointer<QWidget> m_parent;
};

// The system's warning sound.
void beep();

} // namespace tavil::platform
