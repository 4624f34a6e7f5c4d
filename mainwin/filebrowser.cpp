#include "mainwin/filebrowser.h"

#include "engine/errmsg.h"
#include "engine/numbers.h"
#include "engine/texts.h"
#include "mainwin/browserpaths.h"
#include "mainwin/inputfilters.h"
#include "mainwin/twips.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/names.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"
#include "support/module1.h"
#include "support/namesort.h"
#include "support/settingsschema.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>

#include <algorithm>
#include <functional>

namespace tavil::mainwin {

using platform::Err;
namespace settings = support::settings;

namespace {

const QString kPatternTip = QStringLiteral(u"ｾﾐｺﾛﾝ(;)で区切れば複数指定できます");
const QString kAllFiles = QStringLiteral("*.*");
const QString kNetTitle = QStringLiteral(u"変更したいファイルがあるフォルダを選択して下さい。");
const QString kNetNoPath = QStringLiteral(u"フォルダをダブルクリックで選択して下さい");
const QString kDropNoPath = QStringLiteral(u"パスが見つかりません。\r\nフォルダではなくファイルをドロップしてみて下さい。");

// Far more than a list editor is used for; a damaged count must not make
// the start-up read keys for minutes.
constexpr qint32 kMaxStoredPatterns = 32767;

QString key(const char* name)
{
    return QString::fromLatin1(name);
}

// Drag and drop onto a browser control: anything dropped is taken, so that
// a drop without a file can be answered (with a beep).
class DropTarget final : public QObject {
public:
    DropTarget(QObject* parent, FileBrowser& browser) : QObject(parent), m_browser(browser) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            static_cast<QDropEvent*>(event)->acceptProposedAction();
            return true;
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            m_browser.DropPath(drop->mimeData());
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    FileBrowser& m_browser;
};

// Enter in the pattern box, before the box itself sees it.
class EnterKey final : public QObject {
public:
    EnterKey(QObject* parent, std::function<void()> onEnter) : QObject(parent), m_onEnter(std::move(onEnter)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(event)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                m_onEnter();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onEnter;
};

} // namespace

FileBrowser::FileBrowser(QWidget* form, Services& services)
    : QObject(form),
      Drive1(new DriveBox(form, services.volumes)),
      Dir1(new DirList(form)),
      File1(new FileListView(form)),
      Combo1(new QComboBox(form)),
      m_services(services),
      m_form(form),
      m_pattern(kAllFiles),
      m_matcher(kAllFiles)
{
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1->setObjectName(QStringLiteral("File1"));
    Combo1->setObjectName(QStringLiteral("Combo1"));

    Combo1->setEditable(true);
    // The box applies its text itself; Qt would add it to the list on Enter
    // and complete it inline from the list while the user types.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Combo1->setToolTip(kPatternTip);
    Combo1->addItem(kAllFiles);
    Combo1->setCurrentIndex(0);
    filters::refuseCharacters(Combo1, filters::kPatternCharacters);

    for (QWidget* target : {static_cast<QWidget*>(Drive1), Dir1->viewport(), File1->viewport()}) {
        target->setAcceptDrops(true);
        target->installEventFilter(new DropTarget(target, *this));
    }
    Dir1->setAcceptDrops(true);
    File1->setAcceptDrops(true);

    layout(settings::Setting::FallbackWidth, 0, settings::Setting::FallbackHeight);
    wire();
}

FileBrowser::~FileBrowser() = default;

void FileBrowser::wire()
{
    connect(Drive1, &QComboBox::activated, this, &FileBrowser::Drive1_Change);
    connect(Dir1, &DirList::openRequested, this, &FileBrowser::Dir1_Open);
    connect(Dir1, &DirList::popupRequested, this, &FileBrowser::folderPopupRequested);
    connect(File1, &FileListView::addRequested, this, &FileBrowser::addRequested);
    connect(File1, &FileListView::popupRequested, this, &FileBrowser::popupRequested);
    connect(Combo1, &QComboBox::editTextChanged, this, &FileBrowser::Combo1_Change);
    connect(Combo1, &QComboBox::activated, this, &FileBrowser::Combo1_Click);
    // The box keeps the focus and hands keys to its line edit past any
    // filter there; the line edit is watched for keys sent to it directly.
    for (QWidget* w : {static_cast<QWidget*>(Combo1), static_cast<QWidget*>(Combo1->lineEdit())})
        w->installEventFilter(new EnterKey(w, [this] { Combo1_Enter(); }));
}

// ---- the folder ---------------------------------------------------------

QStringList FileBrowser::filesOf(const QList<platform::DirEntry>& entries) const
{
    QStringList names;
    names.reserve(entries.size());
    const bool everything = m_matcher.matchesEverything();
    for (const platform::DirEntry& e : entries) {
        // Regular files and symbolic links (a link is renamed as itself);
        // not folders, and not FIFOs or devices, which no operation is for.
        if (e.isDir || e.isOther)
            continue;
        if ((e.isHidden && !m_showHidden) || (e.isSystem && !m_showSystem))
            continue;
        if (everything || m_matcher.matches(e.name))
            names.append(e.name);
    }
    support::sortNamesIgnoringCase(names);
    return names;
}

QStringList FileBrowser::foldersOf(const QList<platform::DirEntry>& entries)
{
    QStringList names;
    for (const platform::DirEntry& e : entries) {
        // Real folders only: a link to a folder is not entered. Hidden and
        // system folders are left out, as the old folder box did.
        if (e.isDir && !e.isSymlink && !e.isHidden && !e.isSystem)
            names.append(e.name);
    }
    support::sortNamesIgnoringCase(names);
    return names;
}

platform::FsStatus FileBrowser::listFolder(const QString& folder, QList<platform::DirEntry>* entries)
{
    const bool withFiles = filesNeedAttributes();
    const platform::FsStatus st = m_services.fs.listFolder(
        folder, entries, withFiles ? platform::ListAttributes::All : platform::ListAttributes::FoldersOnly);
    if (st.ok())
        m_entriesHaveFileAttributes = withFiles;
    return st;
}

Err FileBrowser::setPath(const QString& folder)
{
    const std::optional<QString> normal = browserpaths::normalFolder(folder);
    if (!normal)
        return Err::NoPath;
    // Looked at before the listing: a folder replaced in between is then
    // taken for another one, never the other way round.
    const platform::FolderId id = m_services.fs.folderId(*normal);
    QList<platform::DirEntry> entries;
    if (const platform::FsStatus st = listFolder(*normal, &entries); !st.ok())
        return st.err;
    const bool changed = *normal != m_path;
    const bool replaced = !changed && isAnotherFolder(id);
    m_path = *normal;
    m_folderId = id;
    m_entries = std::move(entries);
    Drive1->showVolumeOf(m_path);
    Dir1->showFolder(m_path, foldersOf(m_entries));
    File1->fileModel()->setNames(filesOf(m_entries));
    if (changed)
        emit pathChanged();
    if (replaced)
        emit folderReplaced();
    return Err::None;
}

std::optional<QStringList> FileBrowser::filesIn(const QString& folder)
{
    if (setPath(folder) != Err::None)
        return std::nullopt;
    return allFiles();
}

bool FileBrowser::isAnotherFolder(const platform::FolderId& id) const
{
    return !platform::sameFolder(id, m_folderId) && (id.valid || m_folderId.valid);
}

void FileBrowser::readAgain(Reading what)
{
    if (m_path.isEmpty())
        return;
    // The identity first, then the listing, as setPath does.
    const platform::FolderId id = m_services.fs.folderId(m_path);
    const bool replaced = isAnotherFolder(id);
    m_folderId = id;
    // Names of the folder listed before must not stay on show under the
    // identity of another one: both lists follow it.
    if (replaced)
        what = Reading::Both;
    if (what == Reading::Folders) {
        QList<platform::DirEntry> entries;
        if (!m_services.fs.listFolder(m_path, &entries, platform::ListAttributes::FoldersOnly).ok())
            entries.clear();
        Dir1->showFolder(m_path, foldersOf(entries));
    } else {
        if (!listFolder(m_path, &m_entries).ok())
            m_entries.clear();
        File1->fileModel()->setNames(filesOf(m_entries));
        // One reading serves both lists.
        if (what == Reading::Both)
            Dir1->showFolder(m_path, foldersOf(m_entries));
    }
    if (replaced)
        emit folderReplaced();
}

void FileBrowser::refreshFiles()
{
    readAgain(Reading::Files);
}

void FileBrowser::refreshFolders()
{
    readAgain(Reading::Folders);
}

void FileBrowser::reread()
{
    readAgain(Reading::Both);
}

void FileBrowser::changeOpenFolder(const std::function<bool()>& change)
{
    const bool listed = !m_path.isEmpty() && platform::sameFolder(m_services.fs.folderId(m_path), m_folderId);
    if (!change())
        return;
    if (listed)
        m_folderId = m_services.fs.folderId(m_path);
    refreshFolders();
}

void FileBrowser::setShowHidden(bool show)
{
    m_showHidden = show;
    refilterFiles();
}

void FileBrowser::setShowSystem(bool show)
{
    m_showSystem = show;
    refilterFiles();
}

void FileBrowser::refilterFiles()
{
    // A listing made while every file was shown knows no file's attributes:
    // hiding them needs the folder read again.
    if (filesNeedAttributes() && !m_entriesHaveFileAttributes) {
        refreshFiles();
        return;
    }
    // A new pattern or filter needs no new listing: a folder of 100,000
    // files would otherwise be read again at every key typed.
    File1->fileModel()->setNames(filesOf(m_entries));
}

void FileBrowser::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    m_matcher = support::FilePattern(pattern);
    refilterFiles();
}

void FileBrowser::openProgramFolder()
{
    if (setPath(m_services.programFolder) != Err::None)
        (void)setPath(QStringLiteral("/")); // the browser always shows some folder
}

QString FileBrowser::cannotOpenText(const QString& folder, Err err)
{
    return platform::visibleName(folder) + QStringLiteral(u"\r\nを開くことができませんでした。\r\n")
           + (err == Err::Denied ? QStringLiteral(u"フォルダのアクセス権を確認して下さい。")
                                 : platform::errDescription(int(err)));
}

void FileBrowser::showError(int number, int style, const QString& folder)
{
    // Opening a folder only reads it: a refusal is no failure to write.
    if (number == int(Err::Denied)) {
        m_strMsg = cannotOpenText(folder, Err::Denied);
        m_services.dialogs.msgBox(m_strMsg, QStringLiteral(u"フォルダの読み取りエラー"), style);
        return;
    }
    m_strMsg = engine::genericErrorText(number) + u'\r' + platform::visibleName(folder);
    m_services.dialogs.msgBox(m_strMsg, engine::texts::kErrorTitle, style);
}

// ---- settings -------------------------------------------------------------

Err FileBrowser::loadPatterns()
{
    {
        // Filled quietly, then applied once: each change of the text would
        // read the folder again.
        const QSignalBlocker quiet(Combo1);
        Combo1->clear();
        Combo1->addItem(kAllFiles);
        Combo1->setCurrentIndex(0);
    }
    setPattern(Combo1->currentText());

    const QString section = key(settings::FilePatt::Section);
    const QString countText = m_services.store.read(section, key(settings::kCountKey), 1);
    if (countText.isEmpty())
        return Err::None;
    qint32 count = 0;
    if (const Err err = engine::toLong(countText, &count); err != Err::None)
        return Err::TypeMismatch;
    count = std::min(count, kMaxStoredPatterns);
    const QString prefix = key(settings::FilePatt::Prefix);
    const QSignalBlocker quiet(Combo1);
    for (qint32 i = 0; i < count; ++i)
        Combo1->addItem(m_services.store.read(section, prefix + QString::number(i)));
    return Err::None;
}

Err FileBrowser::loadSettings(QString* unopened)
{
    const QString options = key(settings::ActionSetting::Section);
    Err err = Err::None;
    // A flag that does not convert reads as its default, off.
    const bool hidden = settings::textToBool(m_services.store.read(options, key(settings::ActionSetting::Hidden), false), &err);
    m_showHidden = err == Err::None && hidden;
    err = Err::None;
    const bool system = settings::textToBool(m_services.store.read(options, key(settings::ActionSetting::System), false), &err);
    m_showSystem = err == Err::None && system;

    const QString start = m_services.store.read(key(settings::Setting::Section), key(settings::Setting::Dir),
                                                m_services.programFolder);
    // A folder on a volume that can't be read now (a disc not inserted) is
    // the device error, as choosing that drive would give.
    const bool ready = m_services.volumes.isReady(platform::volumeOf(m_services.volumes.roots(), start));
    const Err opened = ready ? setPath(start) : Err::DeviceUnavailable;
    if (opened == Err::None)
        return Err::None;
    openProgramFolder();
    if (opened == Err::NoPath || opened == Err::DeviceUnavailable)
        return Err::None;
    if (unopened != nullptr)
        *unopened = start;
    return opened;
}

void FileBrowser::saveSettings()
{
    if (!m_path.isEmpty())
        m_services.store.write(key(settings::Setting::Section), key(settings::Setting::Dir), m_path);
}

bool FileBrowser::ctrlHeld() const
{
    return Drive1->ctrlFlag() == DriveBox::kCtrlHeld;
}

// ---- handlers ---------------------------------------------------------------

void FileBrowser::Drive1_Change(int index)
{
    const QString root = Drive1->rootAt(index);
    if (root.isEmpty() || (!m_path.isEmpty() && root == platform::volumeOf(Drive1->roots(), m_path)))
        return; // the same drive again is no change
    if (!m_services.volumes.isReady(root)) {
        // Device unavailable (68): only the box goes back to the folder's drive.
        Drive1->showVolumeOf(m_path);
        return;
    }
    const Err err = setPath(root);
    if (err == Err::None)
        return;
    if (err == Err::NoPath) {
        openProgramFolder();
        return;
    }
    showError(int(err), platform::MsgStyle::Exclamation, root);
    Drive1->showVolumeOf(m_path); // the box keeps showing the open folder's drive
}

void FileBrowser::Dir1_Open(const QString& folder)
{
    const Err err = setPath(folder);
    if (err == Err::None)
        return;
    // The entry went away (or may not be read) since the list was made.
    showError(int(err), platform::MsgStyle::Critical, folder);
    refreshFolders();
}

void FileBrowser::Combo1_Change(const QString& text)
{
    if (m_suppress)
        return;
    // A closing ";" waits for the next pattern to be typed.
    if (!text.endsWith(u';'))
        setPattern(text);
    // The completion popup takes the typed text from here.
    emit patternTextChanged();
}

void FileBrowser::Combo1_Click(int index)
{
    if (index < 0)
        return;
    setPattern(Combo1->currentText()); // as it stands, a closing ";" too
    // The completion popup closes here.
}

void FileBrowser::Combo1_Enter()
{
    m_suppress = true;
    const QString typed = Combo1->currentText();
    if (typed.endsWith(u';')) {
        setPattern(typed.chopped(1));
        Combo1->setEditText(m_pattern);
    } else {
        setPattern(typed);
    }
    if (fileCount() > 0)
        File1->setFocus();
    QStringList items;
    items.reserve(Combo1->count());
    for (int i = 0; i < Combo1->count(); ++i)
        items.append(Combo1->itemText(i));
    QString text = Combo1->currentText();
    support::Module1::AddPattHistory(m_services.store, text, items);
    // The completion popup closes here.
    Combo1->lineEdit()->selectAll();
    m_suppress = false;
}

void FileBrowser::mnuFileNet_Click()
{
    // The network places: the desktop's mounts of network shares when it
    // keeps them, else the usual mount folder.
    QString start = QStringLiteral("/");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && m_services.fs.stat(runtime + QStringLiteral("/gvfs")).isDir)
        start = runtime + QStringLiteral("/gvfs");
    else if (m_services.fs.stat(QStringLiteral("/mnt")).isDir)
        start = QStringLiteral("/mnt");

    const QString chosen = m_services.desktop.pickFolder(m_form->window(), kNetTitle, start);
    if (chosen.isEmpty())
        return;
    if (setPath(chosen + u'/') == Err::NoPath)
        m_services.dialogs.msgBox(kNetNoPath, QString(), platform::MsgStyle::Critical);
}

void FileBrowser::DropPath(const QMimeData* data)
{
    const std::optional<QString> dropped = browserpaths::firstDroppedPath(data);
    if (!dropped) {
        m_services.desktop.beep(); // the drop holds no file (461)
        return;
    }
    const QString folder = browserpaths::cutAfterLastSeparator(*dropped);
    const Err err = setPath(folder);
    if (err == Err::None)
        return;
    if (err == Err::NoPath)
        m_services.dialogs.msgBox(kDropNoPath, QString(), platform::MsgStyle::Critical);
    else
        showError(int(err), platform::MsgStyle::Critical, folder);
}

// ---- the window -------------------------------------------------------------

void FileBrowser::setBrowsingEnabled(bool enabled)
{
    for (QWidget* w : {static_cast<QWidget*>(Drive1), static_cast<QWidget*>(Dir1), static_cast<QWidget*>(Combo1),
                       static_cast<QWidget*>(File1)})
        w->setEnabled(enabled);
}

void FileBrowser::layout(double w, double half, double h)
{
    twips::place(Drive1, 60, 60, w - 4455, 315);
    twips::place(Dir1, 60, 420, w - 4080, 2160);
    twips::place(Combo1, 60, 2700, half + 1695, 315);
    twips::place(File1, 60, 3060, half + 2310, h - 3900);
}

// ---- the file list as a source of names -------------------------------------

int FileBrowser::fileCount() const
{
    return File1->fileModel()->rowCount();
}

QStringList FileBrowser::allFiles() const
{
    return File1->fileModel()->names();
}

QStringList FileBrowser::selectedFiles() const
{
    return File1->selectedNames();
}

void FileBrowser::selectAllFiles()
{
    File1->selectAllFiles();
}

void FileBrowser::invertFileSelection()
{
    File1->invertSelection();
}

} // namespace tavil::mainwin
