#include "mainwin/form3.h"

#include "mainwin/inputfilters.h"
#include "mainwin/twips.h"
#include "platform/settingsstore.h"
#include "support/module1.h"
#include "support/settingsschema.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace tavil::mainwin {

namespace S = support::settings;

namespace {

// A list box holds no more entries than this.
constexpr int kListBoxCapacity = 32767;

struct ModeInfo {
    const char* section;
    const char* prefix;
    const char16_t* caption;
    bool adding;           // Text1 and Command1 are shown
    const char16_t* text;  // Text1 at opening
};

ModeInfo infoOf(Form3::Mode mode)
{
    switch (mode) {
    case Form3::Mode::Patterns:
        return {S::FilePatt::Section, S::FilePatt::Prefix, u"ファイルパターン編集", true, u"*.*"};
    case Form3::Mode::Shortcuts:
        return {S::Dir::Section, S::Dir::Prefix, u"ショートカット編集", false, u""};
    case Form3::Mode::Extensions:
        return {S::Exp::Section, S::Exp::Prefix, u"拡張子編集", true, u""};
    case Form3::Mode::Separators:
        break;
    }
    return {S::FileDiv::Section, S::FileDiv::Prefix, u"区切り文字編集", true, u""};
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter belongs to Text1: no button takes it as the default.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QRadioButton* makeMark(QWidget* parent, const char* name, const QString& caption)
{
    auto* mark = new QRadioButton(caption, parent);
    mark->setObjectName(QString::fromLatin1(name));
    mark->setEnabled(false);
    return mark;
}

} // namespace

// Enter in Text1 adds its text and selects it again for the next entry; the
// list's keys go to List1_KeyDown before the list sees them.
class Form3::Keys final : public QObject {
public:
    explicit Keys(Form3* dialog) : QObject(dialog), m_dialog(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_dialog->Text1) {
            if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
                return false;
            m_dialog->Command1_Click();
            m_dialog->Text1->selectAll();
            return true;
        }
        if (watched == m_dialog->List1)
            return m_dialog->List1_KeyDown(key->key(), key->modifiers());
        return false;
    }

private:
    Form3* m_dialog;
};

Form3::Form3(platform::SettingsStore& store, Mode mode, QWidget* owner)
    : QDialog(owner), m_store(store), m_mode(mode)
{
    build();
    wire();
    load();
}

Form3::~Form3()
{
    // The filter goes first: while the children are taken down this is no
    // longer a Form3 to hand keys to.
    delete m_keys;
}

int Form3::capacity(Mode mode)
{
    return mode == Mode::Shortcuts ? support::Module1::kDirCapacity : kListBoxCapacity;
}

void Form3::build()
{
    const ModeInfo info = infoOf(m_mode);
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QString::fromUtf16(info.caption));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(twips::toPx(6120), twips::toPx(3960));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Text1 = new QLineEdit(QString::fromUtf16(info.text), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Command1 = makeButton(this, "Command1", QStringLiteral("追加"));
    Command2 = makeButton(this, "Command2", QStringLiteral("UP"));
    Command3 = makeButton(this, "Command3", QStringLiteral("DOWN"));
    Command6 = makeButton(this, "Command6", QStringLiteral("削除"));
    Command4 = makeButton(this, "Command4", QStringLiteral("OK"));
    Command5 = makeButton(this, "Command5", QStringLiteral("Cancel"));
    Option1 = makeMark(this, "Option1", QStringLiteral("ﾌｧｲﾙﾊﾟﾀｰﾝ"));
    Option2 = makeMark(this, "Option2", QStringLiteral("ショートカット"));
    Option3 = makeMark(this, "Option3", QStringLiteral("拡張子"));
    Option4 = makeMark(this, "Option4", QStringLiteral("区切り文字"));

    twips::place(List1, 120, 120, 3900, 2520);
    twips::place(Text1, 120, 2760, 2760, 330);
    twips::place(Command1, 2985, 2745, 1035, 360);
    twips::place(Command2, 4200, 120, 1800, 360);
    twips::place(Command3, 4200, 540, 1800, 360);
    twips::place(Command6, 4200, 960, 1800, 360);
    twips::place(Option1, 4200, 1440, 1800, 270);
    twips::place(Option2, 4200, 1740, 1800, 270);
    twips::place(Option3, 4200, 2040, 1800, 270);
    twips::place(Option4, 4200, 2340, 1800, 270);
    twips::place(Command4, 3000, 3420, 1380, 360);
    twips::place(Command5, 4500, 3420, 1500, 360);

    filters::refuseCharacters(Text1, filters::kPatternCharacters);
    filters::selectAllOnFocus(Text1);
    Text1->setVisible(info.adding);
    Command1->setVisible(info.adding);

    QRadioButton* const marks[] = {Option1, Option2, Option3, Option4};
    marks[static_cast<int>(m_mode)]->setChecked(true);
}

void Form3::wire()
{
    m_keys = new Keys(this);
    Text1->installEventFilter(m_keys);
    List1->installEventFilter(m_keys);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form3::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &Form3::Command6_Click);
    connect(Command4, &QPushButton::clicked, this, &Form3::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form3::Command5_Click);
}

void Form3::load()
{
    const ModeInfo info = infoOf(m_mode);
    // A count that is not a number reads as an empty list, one beyond the
    // list's capacity as a full one; empty entries are left out.
    const QStringList stored = support::Module1::ReadStoredList(
        m_store, QString::fromLatin1(info.section), QString::fromLatin1(info.prefix), capacity(m_mode));
    for (const QString& entry : stored) {
        if (!entry.isEmpty())
            List1->addItem(entry);
    }
    List1->setCurrentRow(-1);
}

QStringList Form3::entries() const
{
    QStringList out;
    for (int i = 0; i < List1->count(); ++i)
        out.append(List1->item(i)->text());
    return out;
}

void Form3::Command1_Click()
{
    if (!infoOf(m_mode).adding)
        return;
    QString s = Text1->text();
    if (m_mode == Mode::Extensions && s.startsWith(u'.'))
        s.remove(0, 1);
    // An empty entry would be stored, offered in the boxes and dropped at the
    // next opening: it is not taken at all.
    if (s.isEmpty() || s == u"*.*" || entries().contains(s) || List1->count() >= capacity(m_mode))
        return;
    List1->addItem(s);
}

void Form3::Command2_Click()
{
    List1_KeyDown(Qt::Key_Up, Qt::ControlModifier);
}

void Form3::Command3_Click()
{
    List1_KeyDown(Qt::Key_Down, Qt::ControlModifier);
}

bool Form3::List1_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::ControlModifier && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        moveHighlighted(key == Qt::Key_Up ? -1 : 1);
        return true;
    }
    if (key == Qt::Key_Delete) {
        Command6_Click();
        return true;
    }
    return false;
}

int Form3::highlighted() const
{
    // The list may make a row current without selecting it (when it gets the
    // focus): only a selected row is highlighted.
    const int row = List1->currentRow();
    return row >= 0 && List1->item(row)->isSelected() ? row : -1;
}

void Form3::highlight(int row)
{
    List1->setCurrentRow(row);
    if (row >= 0)
        List1->item(row)->setSelected(true);
}

void Form3::moveHighlighted(int by)
{
    const int i = highlighted();
    const int to = i + by;
    if (i < 0 || to < 0 || to >= List1->count())
        return;
    QListWidgetItem* item = List1->takeItem(i);
    List1->insertItem(to, item);
    highlight(to);
}

void Form3::Command6_Click()
{
    const int k = highlighted();
    if (k < 0)
        return;
    delete List1->takeItem(k);
    // The entry that moved into its place is highlighted; after the last
    // entry nothing is.
    List1->clearSelection();
    List1->setCurrentRow(-1);
    if (k < List1->count())
        highlight(k);
}

void Form3::Command4_Click()
{
    const ModeInfo info = infoOf(m_mode);
    const QString section = QString::fromLatin1(info.section);
    const QString prefix = QString::fromLatin1(info.prefix);
    const QStringList list = entries();
    // Entries past the new count, left from a longer list, are never read
    // again: the count says where the list ends.
    for (int i = 0; i < list.size(); ++i)
        m_store.write(section, prefix + QString::number(i), list[i]);
    m_store.write(section, QString::fromLatin1(S::kCountKey), QString::number(list.size()));
    accept();
}

void Form3::Command5_Click()
{
    reject();
}

} // namespace tavil::mainwin
