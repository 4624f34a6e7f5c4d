#include "platform/gui/qtdialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace tavil::platform {

namespace {

// Texts of the program break lines with CR LF or a CR alone.
QString withLineBreaks(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QString titleOrDefault(const QString& title)
{
    return title.isEmpty() ? QStringLiteral("Tavil") : title;
}

// A Yes/No question has to be answered: Esc and the close button do nothing.
class MessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    bool mustAnswer = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (mustAnswer && event->matches(QKeySequence::Cancel)) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override
    {
        if (mustAnswer) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

public:
    void reject() override
    {
        if (!mustAnswer)
            QMessageBox::reject();
    }
};

QMessageBox::Icon iconOf(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtDialogs::QtDialogs(QWidget* parent) : m_parent(parent) {}

MsgButton QtDialogs::msgBox(const QString& text, const QString& title, int style)
{
    MessageBox box(m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setText(withLineBreaks(text));
    box.setWindowTitle(titleOrDefault(title));
    box.setIcon(iconOf(style));

    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    switch (style & 0x0f) {
    case 1:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(cancel);
        break;
    case 4:
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.mustAnswer = true;
        box.setWindowFlag(Qt::WindowCloseButtonHint, false);
        break;
    default:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        break;
    }
    if ((style & MsgStyle::SecondDefault) && (cancel || no))
        box.setDefaultButton(cancel ? cancel : no);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (yes || no)
        return clicked == yes ? MsgButton::Yes : MsgButton::No;
    if (cancel)
        return clicked == ok ? MsgButton::Ok : MsgButton::Cancel;
    return MsgButton::Ok;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title, const QString& def)
{
    QInputDialog dialog(m_parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(titleOrDefault(title));
    dialog.setLabelText(withLineBreaks(prompt));
    dialog.setTextValue(def);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

void beep()
{
    QApplication::beep();
}

} // namespace tavil::platform
