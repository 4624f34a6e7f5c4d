// The Settings and Help menus of the main window and the folder popup on
// Dir1 with the folder shortcuts.

#include "engine/errmsg.h"
#include "engine/texts.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/form3.h"
#include "mainwin/form5.h"
#include "mainwin/frmoptions.h"
#include "mainwin/helpmanual.h"
#include "mainwin/homepage.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/gui/desktop.h"
#include "platform/names.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"
#include "support/module1.h"
#include "support/settingsschema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QUrl>
#include <QWhatsThis>

#include <cerrno>

namespace tavil::mainwin {

namespace S = support::settings;
using platform::Err;

namespace {

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

QAction* addEntry(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(latin(name));
    return action;
}

QAction* addCheckEntry(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = addEntry(menu, name, caption);
    action->setCheckable(true);
    return action;
}

QMenu* addSubmenu(QMenu* menu, const char* name, const QString& caption)
{
    QMenu* sub = menu->addMenu(caption);
    sub->setObjectName(latin(name));
    sub->menuAction()->setObjectName(latin(name));
    return sub;
}

// A folder as a menu caption: as the user is shown a name, and an "&" in it
// is a letter, not the mark of a shortcut key.
QString folderCaption(const QString& folder)
{
    QString caption = platform::visibleName(folder);
    caption.replace(u'&', QStringLiteral("&&"));
    return caption;
}

const QString kNewFolderTitle = QStringLiteral("ﾌｫﾙﾀﾞの新規作成");
const QString kNewFolderDefault = QStringLiteral("新しいフォルダ");
const QString kNewFolderPrompt = QStringLiteral("新しく作成するフォルダの名前を入力してください。");
const QString kNewFolderInvalid = QStringLiteral("フォルダ名には次の文字は使えません。\r\n"
                                                 "        \\ / : , ; * ? \" < > |");
const QString kManualMissing = QStringLiteral("ヘルプファイルが見つかりません。");
const QString kNoBrowser = QStringLiteral("ブラウザを起動できませんでした。\r\n"
                                          "次のページをブラウザで開いて下さい。\r\n");

// Nothing opened the page: it is named, so the user can open it by hand.
void tellNoBrowser(platform::Dialogs& dialogs, const QUrl& page)
{
    const QString where = page.isLocalFile() ? platform::visibleName(page.toLocalFile()) : page.toString();
    dialogs.msgBox(kNoBrowser + where, QString(), platform::MsgStyle::Critical);
}

void tellNotShown(platform::Dialogs& dialogs, HelpManual::Shown shown, const QUrl& page)
{
    switch (shown) {
    case HelpManual::Shown::Yes:
        return;
    case HelpManual::Shown::Missing:
        dialogs.msgBox(kManualMissing, QString(), platform::MsgStyle::Critical);
        return;
    case HelpManual::Shown::NoBrowser:
        tellNoBrowser(dialogs, page);
        return;
    }
}

// What the options dialog's OK changes in the main window.
class Form1Options final : public OptionsHost {
public:
    explicit Form1Options(Form1& form) : m_form(form) {}

    // The display chosen shows at the next run or list operation; shown now,
    // it would lie over status panel 2 and hide its text until then.
    void applyProgressChoice() override { m_form.status().chooseProgress(); }
    void applyShowHidden(bool show) override
    {
        m_form.browser().setShowHidden(show);
        m_form.mnuSetVisHidden->setChecked(show);
    }
    void applyShowSystem(bool show) override
    {
        m_form.browser().setShowSystem(show);
        m_form.mnuSetVisSystem->setChecked(show);
    }
    void applySorted(bool sorted) override
    {
        // The swap saves the choice; a choice of the list already in use
        // leaves its entries as they are.
        m_form.lists().swapLists(sorted);
        m_form.mnuSetSort->setChecked(sorted);
    }
    void applyOptionFlags(const S::OptionFlags& flags) override { m_form.setOptions(flags); }

private:
    Form1& m_form;
};

} // namespace

void Form1::buildSettingsMenus()
{
    // Between the File and the Help menus.
    mnuSet = new QMenu(QStringLiteral("設定(S)"), this);
    mnuSet->setObjectName(QStringLiteral("mnuSet"));
    menuBar()->insertMenu(mnuHelp->menuAction(), mnuSet);
    mnuSetMove = addEntry(mnuSet, "mnuSetMove", QStringLiteral("動作設定(&S)..."));
    mnuSet->addSeparator();
    mnuSetVis = addSubmenu(mnuSet, "mnuSetVis", QStringLiteral("ﾌｧｲﾙの表示(&F)"));
    mnuSetVisHidden = addCheckEntry(mnuSetVis, "mnuSetVisHidden", QStringLiteral("隠しﾌｧｲﾙ(&H)"));
    mnuSetVisSystem = addCheckEntry(mnuSetVis, "mnuSetVisSystem", QStringLiteral("ｼｽﾃﾑﾌｧｲﾙ(&S)"));
    mnuSetSort = addCheckEntry(mnuSet, "mnuSetSort", QStringLiteral("ﾌｧｲﾙのｿｰﾄ(&S)"));
    mnuSet->addSeparator();
    mnuSetPat = addEntry(mnuSet, "mnuSetPat", QStringLiteral("ﾌｧｲﾙﾊﾟﾀｰﾝ編集(&P)..."));
    mnuSetShort = addEntry(mnuSet, "mnuSetShort", QStringLiteral("ｼｮｰﾄｶｯﾄ編集(&S)..."));
    mnuSetKaku = addEntry(mnuSet, "mnuSetKaku", QStringLiteral("拡張子編集(&E)..."));
    mnuSetDiv = addEntry(mnuSet, "mnuSetDiv", QStringLiteral("区切り文字編集(&D)..."));

    // The Help menu's entries before the About entry it already holds.
    const auto helpEntry = [this](const char* name, const QString& caption) {
        auto* action = new QAction(caption, mnuHelp);
        action->setObjectName(latin(name));
        mnuHelp->insertAction(mnuHelpVer, action);
        return action;
    };
    mnuHelpHelp = helpEntry("mnuHelpHelp", QStringLiteral("Tavil ﾍﾙﾌﾟ(&F)"));
    mnuHelpSerch = helpEntry("mnuHelpSerch", QStringLiteral("ﾄﾋﾟｯｸの検索(&S)..."));
    mnuHelpWhats = helpEntry("mnuHelpWhats", QStringLiteral("What's This(&H)"));
    mnuHelp->insertSeparator(mnuHelpVer);
    mnuHelpWebsite = helpEntry("mnuHelpWebsite", QStringLiteral("WebSite(&W)"));
    mnuHelp->insertSeparator(mnuHelpVer);

    // The folder popup: never in the menu bar, shown at the mouse over Dir1.
    mnuPopup2 = new QMenu(this);
    mnuPopup2->setObjectName(QStringLiteral("mnuPopup2"));
    mnuPopup2Reg = addEntry(mnuPopup2, "mnuPopup2Reg", QStringLiteral("ｼｮｰﾄｶｯﾄに登録(&R)"));
    mnuPopup2Create = addSubmenu(mnuPopup2, "mnuPopup2Create", QStringLiteral("新規作成(&N)"));
    mnuPopup2MKDir = addEntry(mnuPopup2Create, "mnuPopup2MKDir", QStringLiteral("フォルダ(&F)"));
    mnuPopup2MKNumDir = addEntry(mnuPopup2Create, "mnuPopup2MKNumDir", QStringLiteral("連番付きフォルダ(&D)..."));
    mnuPopup2Bar1 = mnuPopup2->addSeparator();
    mnuPopup2Bar1->setObjectName(QStringLiteral("mnuPopup2Bar1"));
    for (std::size_t i = 0; i < mnuPopup2Short.size(); ++i) {
        QAction* entry = mnuPopup2->addAction(QString());
        entry->setObjectName(QStringLiteral("mnuPopup2Short(%1)").arg(i));
        entry->setVisible(false);
        mnuPopup2Short[i] = entry;
    }
    execFolderPopup = [](QMenu* menu, const QPoint& globalPos) { menu->exec(globalPos); };

    setWhatsThisTexts();
}

void Form1::wireSettingsMenus()
{
    connect(mnuSetMove, &QAction::triggered, this, &Form1::mnuSetMove_Click);
    connect(mnuSetVisHidden, &QAction::triggered, this, &Form1::mnuSetVisHidden_Click);
    connect(mnuSetVisSystem, &QAction::triggered, this, &Form1::mnuSetVisSystem_Click);
    connect(mnuSetSort, &QAction::triggered, this, &Form1::mnuSetSort_Click);
    connect(mnuSetPat, &QAction::triggered, this, [this] { openListEditor(int(Form3::Mode::Patterns)); });
    connect(mnuSetShort, &QAction::triggered, this, [this] { openListEditor(int(Form3::Mode::Shortcuts)); });
    connect(mnuSetKaku, &QAction::triggered, this, [this] { openListEditor(int(Form3::Mode::Extensions)); });
    connect(mnuSetDiv, &QAction::triggered, this, [this] { openListEditor(int(Form3::Mode::Separators)); });
    connect(mnuHelpHelp, &QAction::triggered, this, &Form1::mnuHelpHelp_Click);
    connect(mnuHelpSerch, &QAction::triggered, this, &Form1::mnuHelpSerch_Click);
    connect(mnuHelpWhats, &QAction::triggered, this, &Form1::mnuHelpWhats_Click);
    connect(mnuHelpWebsite, &QAction::triggered, this, &Form1::mnuHelpWebsite_Click);
    connect(mnuPopup2Reg, &QAction::triggered, this, &Form1::mnuPopup2Reg_Click);
    connect(mnuPopup2MKDir, &QAction::triggered, this, &Form1::mnuPopup2MKDir_Click);
    connect(mnuPopup2MKNumDir, &QAction::triggered, this, &Form1::mnuPopup2MKNumDir_Click);
    for (std::size_t i = 0; i < mnuPopup2Short.size(); ++i)
        connect(mnuPopup2Short[i], &QAction::triggered, this, [this, i] { mnuPopup2Short_Click(int(i)); });
    connect(m_browser.get(), &FileBrowser::folderPopupRequested, this, &Form1::showFolderPopup);
}

void Form1::setWhatsThisTexts()
{
    const struct {
        QWidget* widget;
        const char16_t* text;
    } texts[] = {
        {m_browser->Drive1, u"ドライブ（ボリューム）を選びます。選んだボリュームの最上位のフォルダが開きます。"},
        {m_browser->Dir1, u"フォルダの一覧です。ダブルクリックか Enter でフォルダを開きます。"
                          u"右クリックでショートカットの登録や新しいフォルダの作成ができます。"},
        {m_browser->Combo1, u"ファイルの一覧に表示するファイルのパターンです（例：*.txt）。"
                            u"セミコロン(;)で区切れば複数指定できます。"},
        {m_browser->File1, u"開いているフォルダの、パターンに合うファイルの一覧です。"
                           u"「選択する」がオフのときは、この一覧のファイルすべてが変更の対象です。"},
        {m_lists->List1, u"変更するファイルとして選んだファイルの一覧です（名前順）。"
                         u"「選択する」がオンのときに使われます。右クリックでスキップの挿入や並べ替えができます。"},
        {m_lists->List2, u"変更するファイルとして選んだファイルの一覧です（追加した順）。"
                         u"「選択する」がオンのときに使われます。右クリックでスキップの挿入や並べ替えができます。"},
        {m_lists->Check1, u"オンにすると、右の一覧に選んだファイルだけを変更します。"},
        {m_lists->Command1, u"ファイルの一覧で選んだファイルを、右の一覧に追加します。"},
        {m_lists->Command2, u"右の一覧で選んだファイルを一覧から外します。ファイルそのものは消えません。"},
        {m_lists->Command3, u"右の一覧を空にします。"},
        {m_lists->Command5, u"ファイルの一覧のファイルをすべて、右の一覧に追加します。"},
        {m_tabs->TabStrip1, u"行う変更の種類を選びます。選んだタブの設定で名前を変更します。"},
        {m_tabs->chkSubDir, u"オンにすると、サブフォルダの中のファイルも変更します。"},
        {Command4, u"選んだタブの設定で、ファイル名の変更を始めます。始める前に確認があります。"},
        {Command12, u"実行中の変更を中止します。それまでに変更したファイルはそのままです。"},
        {m_status->outputButton, u"コピーや移動の出力先フォルダを設定します。もう一度押すと解除します。"},
    };
    for (const auto& t : texts)
        t.widget->setWhatsThis(QString::fromUtf16(t.text));
}

Err Form1::loadMenuState()
{
    // The shortcuts: a count that is not a number lists none, one past ten
    // lists the first ten.
    showShortcuts(support::Module1::ReadStoredList(m_services.store, latin(S::Dir::Section), latin(S::Dir::Prefix),
                                                   support::Module1::kDirCapacity));
    mnuSetVisHidden->setChecked(m_browser->showHidden());
    mnuSetVisSystem->setChecked(m_browser->showSystem());
    mnuSetSort->setChecked(m_lists->sorted());
    return Err::None;
}

void Form1::showShortcuts(const QStringList& folders)
{
    for (std::size_t i = 0; i < mnuPopup2Short.size(); ++i) {
        QAction* entry = mnuPopup2Short[i];
        const QString folder = folders.value(qsizetype(i));
        entry->setData(folder);
        entry->setText(folderCaption(folder));
        entry->setVisible(!folder.isEmpty());
    }
}

void Form1::showFolderPopup(const QPoint& globalPos)
{
    if (execFolderPopup)
        execFolderPopup(mnuPopup2, globalPos);
}

// ---- Settings ---------------------------------------------------------------

void Form1::mnuSetMove_Click()
{
    Form1Options host(*this);
    frmOptions dialog(m_services, host, this);
    execModal(dialog);
}

void Form1::mnuSetVisHidden_Click()
{
    // The entry has already toggled its own mark.
    const bool show = mnuSetVisHidden->isChecked();
    m_services.store.write(latin(S::ActionSetting::Section), latin(S::ActionSetting::Hidden), S::boolToText(show));
    m_browser->setShowHidden(show);
}

void Form1::mnuSetVisSystem_Click()
{
    const bool show = mnuSetVisSystem->isChecked();
    m_services.store.write(latin(S::ActionSetting::Section), latin(S::ActionSetting::System), S::boolToText(show));
    m_browser->setShowSystem(show);
}

void Form1::mnuSetSort_Click()
{
    // Sorted when the mark was off, unsorted when it was on.
    const bool sorted = !m_lists->sorted();
    m_lists->swapLists(sorted);
    mnuSetSort->setChecked(sorted);
}

void Form1::openListEditor(int mode)
{
    const auto editorMode = static_cast<Form3::Mode>(mode);
    QStringList edited;
    {
        Form3 editor(m_services.store, editorMode, this);
        if (execModal(editor) != QDialog::Accepted)
            return;
        edited = editor.entries();
    }
    switch (editorMode) {
    case Form3::Mode::Patterns:
        // "*.*" first and in force, then the edited patterns.
        (void)m_browser->loadPatterns();
        break;
    case Form3::Mode::Shortcuts:
        showShortcuts(edited);
        break;
    case Form3::Mode::Extensions:
        // Both extension boxes offer the edited list and hold no text; the
        // import tab's box keeps its list until the next start.
        for (QComboBox* box : {m_tabs->Text5, m_tabs->Text8}) {
            box->clear();
            box->addItems(edited);
            box->setCurrentIndex(-1);
            box->setEditText(QString());
        }
        break;
    case Form3::Mode::Separators:
        m_tabs->Combo3->clear();
        m_tabs->Combo3->addItems({QStringLiteral("改行"), QStringLiteral("ﾀﾌﾞ"), QStringLiteral("ｺﾛﾝ"),
                                  QStringLiteral("ｾﾐｺﾛﾝ"), QStringLiteral("ｶﾝﾏ")});
        m_tabs->Combo3->addItems(edited);
        m_tabs->Combo3->setCurrentIndex(0);
        break;
    }
    emit storedListEdited();
}

// ---- Help -------------------------------------------------------------------

void Form1::mnuHelpHelp_Click()
{
    tellNotShown(m_services.dialogs, HelpManual(m_services.desktop).showContents(), HelpManual::contentsUrl());
}

void Form1::mnuHelpSerch_Click()
{
    tellNotShown(m_services.dialogs, HelpManual(m_services.desktop).showIndex(), HelpManual::indexUrl());
}

void Form1::mnuHelpWhats_Click()
{
    QWhatsThis::enterWhatsThisMode();
}

void Form1::mnuHelpWebsite_Click()
{
    if (!m_services.desktop.openUrl(QUrl(kWebAddress)))
        tellNoBrowser(m_services.dialogs, QUrl(kWebAddress));
}

// ---- The folder popup -------------------------------------------------------

void Form1::mnuPopup2Reg_Click()
{
    const QString folder = m_browser->path();
    if (folder.isEmpty())
        return;
    support::Module1::AddDirHistory(m_services.store, folder, [this](int index, const QString& path) {
        if (index < 0 || std::size_t(index) >= mnuPopup2Short.size())
            return;
        QAction* entry = mnuPopup2Short[std::size_t(index)];
        entry->setData(path);
        entry->setText(folderCaption(path));
        entry->setVisible(!path.isEmpty());
    });
}

void Form1::mnuPopup2MKDir_Click()
{
    const QString parent = m_browser->path();
    if (parent.isEmpty())
        return;
    platform::Dialogs& dialogs = m_services.dialogs;
    QString answer = dialogs.inputBox(kNewFolderPrompt, kNewFolderTitle, kNewFolderDefault);
    // Asked again while the name is in use or can't be a folder's name, until
    // an empty answer (or Cancel).
    while (!answer.isEmpty()) {
        QString prompt;
        // One name of the open folder only: never a path ("a/b", ".."), never
        // a name that is no name at all (".", blanks, control characters).
        if (platform::checkNewName(answer) != platform::NameVerdict::Ok) {
            prompt = kNewFolderInvalid;
        } else {
            // The folder list shows the new folder at once.
            platform::FsStatus made;
            m_browser->changeOpenFolder([&] {
                made = m_services.fs.makeDir(platform::joinPath(parent, answer));
                return made.ok();
            });
            if (made.ok())
                return;
            if (made.sysErrno == ENAMETOOLONG) {
                // A shorter name may well do: asked again, as for a name in use.
                prompt = QStringLiteral("フォルダ「") + platform::visibleName(answer)
                         + QStringLiteral("」を作成できませんでした。\r\nフォルダ名が長すぎます。\r\n"
                                          "別の名前を入力してください。");
            } else if (made.sysErrno != EEXIST) {
                dialogs.msgBox(engine::genericErrorText(made.number()) + u'\r'
                                   + platform::visibleName(platform::joinPath(parent, answer)),
                               engine::texts::kErrorTitle, platform::MsgStyle::Critical);
                return;
            } else {
                prompt = QStringLiteral("フォルダ名 ") + platform::visibleName(answer)
                         + QStringLiteral(" はすでに使われています。\r\n別の名前を入力してください。");
            }
        }
        answer = dialogs.inputBox(prompt, kNewFolderTitle, kNewFolderDefault);
    }
}

void Form1::mnuPopup2MKNumDir_Click()
{
    {
        Form5 dialog(m_services, m_browser->path(), this);
        execModal(dialog);
    }
    // The folders it made show at once.
    m_browser->refreshFolders();
}

void Form1::mnuPopup2Short_Click(int index)
{
    if (index < 0 || std::size_t(index) >= mnuPopup2Short.size())
        return;
    QAction* entry = mnuPopup2Short[std::size_t(index)];
    const QString folder = entry->data().toString();
    if (folder.isEmpty()) {
        entry->setVisible(false);
        return;
    }
    // A folder on a volume that can't be read now is as gone as a missing
    // one; whatever keeps it from opening, the user may forget it. On a
    // failure the browser stays where it was.
    const bool ready = m_services.volumes.isReady(platform::volumeOf(m_services.volumes.roots(), folder));
    const Err opened = ready ? m_browser->setPath(folder) : Err::DeviceUnavailable;
    if (opened == Err::None)
        return;
    QString question;
    int style = platform::MsgStyle::YesNoQuestion;
    // Still there (a folder, or a link to one), only not to be opened now:
    // the user learns why, and the shortcut stays unless the user chooses.
    if (ready && opened != Err::NoPath && m_services.fs.exists(folder)) {
        question = FileBrowser::cannotOpenText(folder, opened)
                   + QStringLiteral("\r\nショートカットから削除してよろしいですか？");
        style += platform::MsgStyle::SecondDefault;
    } else {
        question = platform::visibleName(folder)
                   + QStringLiteral("\r\nは、移動または削除されています。\r\n"
                                    "ショートカットから削除してよろしいですか？");
    }
    if (m_services.dialogs.msgBox(question, QStringLiteral("Tavil"), style) != platform::MsgButton::Yes)
        return;

    // The list without that folder; the keys past its end become empty, so
    // nothing of it is left to read.
    const QString section = latin(S::Dir::Section);
    const QString prefix = latin(S::Dir::Prefix);
    QStringList folders =
        support::Module1::ReadStoredList(m_services.store, section, prefix, support::Module1::kDirCapacity);
    qsizetype at = folders.value(index) == folder ? qsizetype(index) : folders.indexOf(folder);
    if (at >= 0)
        folders.removeAt(at);
    m_services.store.write(section, latin(S::kCountKey), QString::number(folders.size()));
    for (int k = 0; k < support::Module1::kDirCapacity; ++k)
        m_services.store.write(section, prefix + QString::number(k), folders.value(k));
    showShortcuts(folders);
}

} // namespace tavil::mainwin
