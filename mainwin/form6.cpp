#include "mainwin/form6.h"

#include "engine/numbers.h"
#include "mainwin/inputfilters.h"
#include "mainwin/listentries.h"
#include "mainwin/listrules.h"
#include "mainwin/twips.h"
#include "platform/gui/desktop.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tavil::mainwin {

// Enter in the boxes (Text1 goes on to Text2, Text2 presses OK), and
// Text1's lost focus. Enter never reaches a default button: there is none.
class Form6::BoxKeys final : public QObject {
public:
    explicit BoxKeys(Form6* dialog) : QObject(dialog), m_dialog(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut && watched == m_dialog->Text1) {
            m_dialog->Text1_LostFocus();
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        if (watched == m_dialog->Text1)
            m_dialog->Text2->setFocus(Qt::TabFocusReason);
        else if (watched == m_dialog->Text2)
            m_dialog->Command1_Click();
        return true;
    }

private:
    Form6* m_dialog;
};

Form6::Form6(QListWidget* workList, platform::Desktop& desktop, QWidget* owner)
    : QDialog(owner), m_list(workList), m_desktop(desktop)
{
    build();
    wire();
}

Form6::~Form6()
{
    // The boxes lose the focus while the dialog is taken down; by then this
    // is no longer a Form6 to report to.
    delete m_keys;
}

void Form6::build()
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("スキップくり返し挿入"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(twips::toPx(3720), twips::toPx(1170));

    Text1 = new QLineEdit(QStringLiteral("1"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label1 = new QLabel(QStringLiteral("個ごとに"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text2 = new QLineEdit(QStringLiteral("1"), this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Label2 = new QLabel(QStringLiteral("個挿入"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));

    twips::place(Text1, 180, 180, 900, 315);
    twips::place(Label1, 1170, 210, 1080, 255);
    twips::place(Text2, 180, 630, 900, 315);
    twips::place(Label2, 1170, 660, 1080, 255);
    twips::place(Command1, 2460, 150, 1080, 375);
    twips::place(Command2, 2460, 600, 1080, 375);

    // Enter belongs to the boxes, so no button may take it as the default.
    for (QPushButton* button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    for (QLineEdit* box : {Text1, Text2}) {
        filters::digitsOnly(box);
        filters::selectAllOnFocus(box);
    }
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Command2);
    Text1->setFocus();
}

void Form6::wire()
{
    m_keys = new BoxKeys(this);
    Text1->installEventFilter(m_keys);
    Text2->installEventFilter(m_keys);
    connect(Command1, &QPushButton::clicked, this, &Form6::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form6::Command2_Click);
}

void Form6::Text1_LostFocus()
{
    if (Text1->text().isEmpty())
        Text1->setText(QStringLiteral("1"));
}

void Form6::Command1_Click()
{
    if (Text2->text().isEmpty())
        Text2->setText(QStringLiteral("1"));
    const int entries = m_list ? m_list->count() : 0;
    qint32 rows = 0;
    qint32 every = 0;
    // A box can hold a text that is not a number only by a paste.
    if (engine::wholePartOf(Text2->text(), &rows) != platform::Err::None)
        return;
    if (engine::wholePartOf(Text1->text(), &every) != platform::Err::None)
        return;
    if (every < 1)
        return;
    if (m_list) {
        for (const lists::SkipGroup& group : lists::equalIntervalGroups(entries, every, rows)) {
            // A full list ends it; the rows put in so far stay.
            if (!lists::insertSkipRows(m_list, int(group.index), group.rows))
                return;
        }
    }
    m_desktop.beep();
    accept();
}

void Form6::Command2_Click()
{
    reject();
}

} // namespace tavil::mainwin
