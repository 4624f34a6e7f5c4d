#include "mainwin/form5.h"

#include "engine/errmsg.h"
#include "engine/numbers.h"
#include "engine/texts.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/inputfilters.h"
#include "mainwin/twips.h"
#include "mainwin/updown.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/names.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <cerrno>

namespace tavil::mainwin {

namespace {

namespace set = support::settings;

const QString kCaption = QStringLiteral("連番付フォルダ作成");
const QString kMakeTitle = QStringLiteral("連番付きﾌｫﾙﾀﾞの作成");
const QString kRangeTitle = QStringLiteral("不正な範囲");
const QString kRangeText = QStringLiteral("範囲を指定し直してください。");
const QString kPickerTitle = QStringLiteral("連番付きフォルダを作成するフォルダを指定してください");
// A longer name can't be made on any Linux file system.
constexpr qint32 kMaxDigits = 255;

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

QLineEdit* box(QWidget* parent, const char* name, double l, double t, double w, double h)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    twips::place(edit, l, t, w, h);
    filters::selectAllOnFocus(edit);
    return edit;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, double l, double t, double w, double h)
{
    auto* l1 = new QLabel(text, parent);
    l1->setObjectName(QString::fromLatin1(name));
    twips::place(l1, l, t, w, h);
    return l1;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& title, double l, double t, double w, double h)
{
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(QString::fromLatin1(name));
    twips::place(g, l, t, w, h);
    return g;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, double l, double t, double w, double h)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    twips::place(b, l, t, w, h);
    return b;
}

// Enabled boxes are white, disabled ones take the colour of a button face.
void setBoxEnabled(QLineEdit* edit, bool enabled)
{
    edit->setEnabled(enabled);
    QPalette palette = edit->palette();
    const QColor colour = edit->window()->palette().color(QPalette::Active, enabled ? QPalette::Base : QPalette::Button);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    edit->setPalette(palette);
}

// Why a folder could not be made, in the user's terms.
QString makeDirFailure(const platform::FsStatus& status, const QString& destination)
{
    switch (status.sysErrno) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("作成先のフォルダが見つかりません。\r\n") + platform::visibleName(destination);
    case EACCES:
    case EPERM:
        return QStringLiteral("作成先のフォルダに書き込む権限がありません。");
    case EROFS:
        return QStringLiteral("作成先は読み取り専用です。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が不足しています。");
    case ENAMETOOLONG:
        return engine::texts::kFolderNameTooLong;
    default:
        break;
    }
    return platform::errDescription(status.number());
}

bool isPlainFolder(platform::FileSystem& fs, const QString& path)
{
    const platform::FileInfo info = fs.stat(path);
    return info.exists && info.isDir && !info.isSymlink;
}

} // namespace

// Text7 and Text8 become "1" when they are left empty or at "0".
class Form5::BoxRules final : public QObject {
public:
    explicit BoxRules(Form5* dialog) : QObject(dialog), m_dialog(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            if (watched == m_dialog->Text7 || watched == m_dialog->Text8)
                m_dialog->leaveStepOrCount(static_cast<QLineEdit*>(watched));
        }
        return false;
    }

private:
    Form5* m_dialog;
};

Form5::Form5(Services& services, const QString& parentFolder, QWidget* owner)
    : QDialog(owner), m_services(services), m_parentFolder(parentFolder)
{
    build();
    wire();
    loadSettings();
    if (auto* window = qobject_cast<Form1*>(owner))
        m_browser = &window->browser();
}

Form5::~Form5()
{
    // A dialog taken down without being closed (its owner went first) keeps
    // its fields all the same.
    if (!m_saved) {
        m_saved = true;
        saveSettings();
    }
    // The boxes lose the focus while the dialog is taken down; by then this
    // is no longer a Form5 to report to.
    delete m_rules;
}

void Form5::build()
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(twips::toPx(4830), twips::toPx(3960));

    Label1 = label(this, "Label1", QStringLiteral("作成先："), 120, 210, 780, 255);
    Text1 = box(this, "Text1", 900, 180, 3300, 315);
    Command1 = button(this, "Command1", QStringLiteral("..."), 4260, 180, 435, 315);

    Frame1 = frame(this, "Frame1", QStringLiteral("ﾌｫﾙﾀﾞ名"), 120, 600, 4575, 735);
    Text4 = box(Frame1, "Text4", 120, 300, 2100, 315);
    Text3 = box(Frame1, "Text3", 2340, 300, 2100, 315);

    Option1 = new QRadioButton(QStringLiteral("範囲指定"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    twips::place(Option1, 120, 1440, 1500, 270);
    Option2 = new QRadioButton(QStringLiteral("個数指定"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    twips::place(Option2, 1800, 1440, 1500, 270);
    auto* modes = new QButtonGroup(this);
    modes->addButton(Option1);
    modes->addButton(Option2);

    Label2 = label(this, "Label2", QStringLiteral("開始"), 120, 1860, 600, 255);
    Text2 = box(this, "Text2", 720, 1830, 1200, 315);
    Label3 = label(this, "Label3", QStringLiteral("終了"), 2100, 1860, 600, 255);
    Text5 = box(this, "Text5", 2700, 1830, 1200, 315);

    Frame2 = frame(this, "Frame2", QStringLiteral("桁数"), 120, 2280, 1455, 690);
    Text6 = box(Frame2, "Text6", 120, 270, 900, 315);
    UpDown2 = new UpDown(Frame2, Text6, 1, 100);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    twips::place(UpDown2, 1020, 270, 255, 315);

    Frame3 = frame(this, "Frame3", QStringLiteral("増加数"), 1680, 2280, 1455, 690);
    Text7 = box(Frame3, "Text7", 120, 270, 900, 315);
    UpDown1 = new UpDown(Frame3, Text7, 1, 10000);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    twips::place(UpDown1, 1020, 270, 255, 315);

    Frame4 = frame(this, "Frame4", QStringLiteral("個数"), 3240, 2280, 1455, 690);
    Text8 = box(Frame4, "Text8", 120, 270, 900, 315);
    UpDown3 = new UpDown(Frame4, Text8, 1, 10000);
    UpDown3->setObjectName(QStringLiteral("UpDown3"));
    twips::place(UpDown3, 1020, 270, 255, 315);

    for (QLineEdit* digits : {Text6, Text7, Text8})
        filters::digitsOnly(digits);

    PBar1 = new QProgressBar(this);
    PBar1->setObjectName(QStringLiteral("PBar1"));
    PBar1->setTextVisible(false);
    PBar1->setRange(0, 1);
    PBar1->setValue(0);
    twips::place(PBar1, 120, 3090, 4575, 240);

    Command2 = button(this, "Command2", QStringLiteral("OK"), 2400, 3450, 1080, 375);
    Command3 = button(this, "Command3", QStringLiteral("Cancel"), 3615, 3450, 1080, 375);
    Command2->setDefault(true);
}

void Form5::wire()
{
    m_rules = new BoxRules(this);
    Text7->installEventFilter(m_rules);
    Text8->installEventFilter(m_rules);
    connect(Text6, &QLineEdit::textChanged, this, &Form5::Text6_Change);
    connect(Text1, &QLineEdit::textEdited, this, &Form5::Text1_Change);
    connect(Option1, &QRadioButton::toggled, this, &Form5::applyMode);
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form5::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form5::Command3_Click);
}

void Form5::loadSettings()
{
    platform::SettingsStore& store = m_services.store;
    const QString section = key(set::NumDir::Section);
    m_destination = m_parentFolder;
    Text1->setText(platform::visibleName(m_destination));
    Text4->setText(store.read(section, key(set::NumDir::strL)));
    Text3->setText(store.read(section, key(set::NumDir::strR)));
    Text2->setText(store.read(section, key(set::NumDir::Num1), 0));
    Text5->setText(store.read(section, key(set::NumDir::Num2), 100));
    Text6->setText(store.read(section, key(set::NumDir::Format), 1));
    Text7->setText(store.read(section, key(set::NumDir::Up), 1));
    Text8->setText(store.read(section, key(set::NumDir::Pice), 1));
    platform::Err err = platform::Err::None;
    const bool range = set::textToBool(store.read(section, key(set::NumDir::Opt), true), &err);
    // A damaged flag means the default, the range.
    (range || err != platform::Err::None ? Option1 : Option2)->setChecked(true);
    applyMode();
}

void Form5::saveSettings()
{
    platform::SettingsStore& store = m_services.store;
    const QString section = key(set::NumDir::Section);
    store.write(section, key(set::NumDir::strL), Text4->text());
    store.write(section, key(set::NumDir::strR), Text3->text());
    store.write(section, key(set::NumDir::Num1), Text2->text());
    store.write(section, key(set::NumDir::Num2), Text5->text());
    store.write(section, key(set::NumDir::Format), Text6->text());
    store.write(section, key(set::NumDir::Up), Text7->text());
    store.write(section, key(set::NumDir::Pice), Text8->text());
    store.write(section, key(set::NumDir::Opt), set::boolToText(Option1->isChecked()));
}

void Form5::done(int result)
{
    if (!m_saved) {
        m_saved = true;
        saveSettings();
    }
    QDialog::done(result);
}

void Form5::applyMode()
{
    const bool range = Option1->isChecked();
    Label3->setEnabled(range);
    setBoxEnabled(Text5, range);
    Frame4->setEnabled(!range);
    UpDown3->setEnabled(!range);
    setBoxEnabled(Text8, !range);
}

void Form5::Text6_Change()
{
    const QString text = Text6->text();
    if (text.isEmpty() || text == u"0") {
        Text6->setText(QStringLiteral("1"));
        Text6->selectAll();
    }
}

void Form5::leaveStepOrCount(QLineEdit* edit)
{
    const QString text = edit->text();
    if (text.isEmpty() || text == u"0")
        edit->setText(QStringLiteral("1"));
}

void Form5::Text1_Change(const QString& text)
{
    m_destination = text;
}

void Form5::Command1_Click()
{
    const QString chosen = m_services.desktop.pickFolder(this, kPickerTitle, m_destination);
    if (chosen.isEmpty())
        return;
    m_destination = chosen;
    Text1->setText(platform::visibleName(chosen));
}

QStringList Form5::seriesNames(QString* error, QString* errorTitle) const
{
    const auto fail = [&](const QString& text, const QString& title) {
        if (error)
            *error = text;
        if (errorTitle)
            *errorTitle = title;
        return QStringList();
    };
    // The fields are read in a fixed order (step, digits, then the numbers
    // of the mode); the first that holds no number is the one reported.
    const auto number = [](const QLineEdit* edit, qint32* value) { return engine::wholePartOf(edit->text(), value); };
    qint32 step = 0;
    qint32 digits = 0;
    if (const platform::Err e = number(Text7, &step); e != platform::Err::None)
        return fail(engine::genericErrorText(int(e)), QStringLiteral("ｴﾗｰ"));
    if (const platform::Err e = number(Text6, &digits); e != platform::Err::None)
        return fail(engine::genericErrorText(int(e)), QStringLiteral("ｴﾗｰ"));

    qint64 first = 0;
    qint64 count = 0;
    qint32 a = 0;
    if (Option1->isChecked()) {
        qint32 b = 0;
        if (const platform::Err e = number(Text2, &a); e != platform::Err::None)
            return fail(engine::genericErrorText(int(e)), QStringLiteral("ｴﾗｰ"));
        if (const platform::Err e = number(Text5, &b); e != platform::Err::None)
            return fail(engine::genericErrorText(int(e)), QStringLiteral("ｴﾗｰ"));
        // A range of one number is refused too: it is no range.
        if (qint64(b) - qint64(a) <= 0)
            return fail(kRangeText, kRangeTitle);
        if (step < 1)
            return fail(QStringLiteral("増加数には 1 以上の数を指定してください。"), kRangeTitle);
        first = a;
        count = (qint64(b) - qint64(a)) / step + 1;
    } else {
        qint32 k = 0;
        if (const platform::Err e = number(Text8, &k); e != platform::Err::None)
            return fail(engine::genericErrorText(int(e)), QStringLiteral("ｴﾗｰ"));
        if (const platform::Err e = number(Text2, &a); e != platform::Err::None)
            return fail(engine::genericErrorText(int(e)), QStringLiteral("ｴﾗｰ"));
        if (k < 1)
            return fail(kRangeText, kRangeTitle);
        if (step < 1)
            return fail(QStringLiteral("増加数には 1 以上の数を指定してください。"), kRangeTitle);
        first = a;
        count = k;
    }
    if (count > kMaxFolders) {
        return fail(QStringLiteral("一度に作成できるフォルダは %1 個までです。\r\n範囲または個数を指定し直してください。")
                        .arg(kMaxFolders),
                    kRangeTitle);
    }
    if (digits > kMaxDigits)
        return fail(QStringLiteral("桁数が大きすぎます。%1 桁までにしてください。").arg(kMaxDigits), kRangeTitle);

    const QString before = Text4->text();
    const QString after = Text3->text();
    QStringList names;
    names.reserve(count);
    for (qint64 i = 0; i < count; ++i) {
        const QString name = before + engine::formatNumber(first + i * step, digits) + after;
        // A "/" would make folders elsewhere than in the destination (or
        // nest them), a control character a name no one can type.
        if (platform::checkNewName(name) != platform::NameVerdict::Ok) {
            return fail(QStringLiteral("フォルダ名には次の文字は使えません。\r\n        \\ / : , ; * ? \" < > |\r\n")
                            + platform::visibleName(name),
                        kMakeTitle);
        }
        // The name as the folder will be made (trailing dots and blanks
        // dropped), so that the one already there is recognised.
        names.append(platform::diskName(name));
    }
    return names;
}

bool Form5::Command2_Click()
{
    QString error;
    QString title;
    const QStringList names = seriesNames(&error, &title);
    if (names.isEmpty()) {
        m_services.dialogs.msgBox(error, title, platform::MsgStyle::Critical);
        return false;
    }
    const QString destination = m_destination;
    if (!destination.startsWith(u'/')) {
        m_services.dialogs.msgBox(QStringLiteral("作成先のフォルダが見つかりません。\r\n")
                                      + platform::visibleName(destination),
                                  kMakeTitle, platform::MsgStyle::Critical);
        return false;
    }

    PBar1->setRange(0, int(names.size()));
    PBar1->setValue(0);
    int made = 0;
    QString failure;
    const auto makeSeries = [&] {
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString& name = names.at(i);
            const QString path = platform::joinPath(destination, name);
            const platform::FsStatus st = m_services.fs.makeDir(path);
            // A folder of the series that is there already is passed over
            // silently; a file or a link in its place is not that folder.
            const bool there = !st.ok() && st.sysErrno == EEXIST && isPlainFolder(m_services.fs, path);
            if (st.ok()) {
                ++made;
            } else if (!there) {
                // One folder that can't be made means the rest can't either
                // (no room, no permission, no destination), and one in the way
                // is best seen to before the series goes on: it stops.
                failure = QStringLiteral("フォルダ「%1」を作成できませんでした。\r\n").arg(platform::visibleName(name))
                          + (st.sysErrno == EEXIST ? QStringLiteral("同じ名前のファイルがあります。")
                                                   : makeDirFailure(st, destination));
                if (made > 0)
                    failure += QStringLiteral("\r\n作成済みの %1 個のフォルダはそのまま残ります。").arg(made);
                break;
            }
            PBar1->setValue(int(i + 1));
        }
        return made > 0;
    };
    // Made in the main window's open folder, whose list shows them at once;
    // the message waits until the making is over.
    if (m_browser != nullptr)
        m_browser->changeOpenFolder(makeSeries);
    else
        (void)makeSeries();
    const bool finished = failure.isEmpty();
    if (!finished)
        m_services.dialogs.msgBox(failure, kMakeTitle, platform::MsgStyle::Critical);
    if (made > 0)
        emit foldersMade();
    PBar1->setValue(0);
    if (finished)
        m_services.desktop.beep();
    return finished;
}

void Form5::Command3_Click()
{
    reject();
}

} // namespace tavil::mainwin
