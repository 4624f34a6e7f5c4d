#pragma once

#include "mainwin/dirlist.h"
#include "mainwin/drivebox.h"
#include "mainwin/filelist.h"
#include "mainwin/filelistsource.h"
#include "support/pattern.h"
#include "platform/errors.h"
#include "platform/filesystem.h"

#include <QComboBox>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QMimeData;
class QWidget;

namespace tavil::platform {
struct DirEntry;
struct Services;
}

namespace tavil::mainwin {

using platform::Services;

// The left side of the main window: the drive box Drive1, the folder list
// Dir1, the pattern box Combo1 and the file list File1. The open folder is
// the folder a run works in; File1 lists its files that match the pattern.
// Names are raw (platform/fsname.h) wherever they are handed out. The
// controls are children of form; so is the browser itself, unless its owner
// deletes it first.
class FileBrowser : public QObject, public FileListSource {
    Q_OBJECT
public:
    FileBrowser(QWidget* form, Services& services);
    ~FileBrowser() override;

    DriveBox* Drive1;
    DirList* Dir1;
    FileListView* File1;
    QComboBox* Combo1;

    // The open folder (Dir1.Path): absolute, no closing "/" except "/"
    // itself; empty until a folder has been opened.
    QString path() const { return m_path; }
    // Which folder the shown files were listed from: what sits at path()
    // now may be another one (a mount gone, the folder replaced).
    platform::FolderId folderId() const { return m_folderId; }
    // Opens folder: Drive1 follows silently, Dir1 and File1 are read again,
    // pathChanged when it is another folder than before. Err::NoPath (76)
    // when it is missing, not a folder or not absolute; the listing's error
    // (Err::Denied, 70, for a folder that may not be read). Nothing changes
    // on a failure.
    platform::Err setPath(const QString& folder);
    // For the run's folder walk: opens folder like setPath and gives File1's
    // names; nullopt when it can't be opened.
    std::optional<QStringList> filesIn(const QString& folder);
    // File1.Refresh and Dir1.Refresh: the open folder read again. A folder
    // that has gone shows no entries below it. Each reading first takes the
    // identity of the folder now at the path; when that is another folder
    // than the one listed, both lists are read and folderReplaced follows.
    void refreshFiles();
    void refreshFolders();
    // Both at once, from one reading of the folder.
    void reread();
    // The program's own change to the open folder (folders made in it);
    // when change says it changed anything, Dir1.Refresh. What the change
    // alters in the folder's identity (on an overlay a copy-up gives the
    // folder a new birth time) is taken as the listed folder's own, when the
    // folder was still the listed one right before the change.
    void changeOpenFolder(const std::function<bool()>& change);

    void setShowHidden(bool show);
    void setShowSystem(bool show);
    bool showHidden() const { return m_showHidden; }
    bool showSystem() const { return m_showSystem; }

    // File1.Pattern; setting it reads the folder again.
    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);

    // Combo1's list: the fixed "*.*" first and selected, then the stored
    // patterns (FilePatt), empty ones included. Err::TypeMismatch when the
    // stored count is not a number (only "*.*" is listed then).
    platform::Err loadPatterns();
    // The showing of hidden and system files (ActionSetting Hidden and
    // System) and the start folder (Setting Dir, by default the program's
    // folder). A start folder that can't be opened gives the program's
    // folder: silently when it is missing or its volume is not ready, else
    // with that error returned and the folder in unopened, for the start-up
    // to tell with showError.
    platform::Err loadSettings(QString* unopened = nullptr);
    // Setting Dir := the open folder.
    void saveSettings();

    // The Ctrl key is held in Drive1: the unload then stores the default
    // window geometry.
    bool ctrlHeld() const;
    // The text of the last generic error message the browser showed.
    QString strMsg() const { return m_strMsg; }
    // A folder that is there but can't be opened: its name and why
    // (a refusal to read it, or the failure's description), one per line.
    static QString cannotOpenText(const QString& folder, platform::Err err);
    // Tells that folder could not be opened (error number): a refusal to
    // read it by cannotOpenText, anything else by the generic text and the
    // folder. strMsg keeps the text.
    void showError(int number, int style, const QString& folder);

    // While set, a text change of Combo1 does nothing (the completion popup
    // sets it while it writes into the box).
    void setPatternChangeSuppressed(bool suppressed) { m_suppress = suppressed; }
    bool patternChangeSuppressed() const { return m_suppress; }

    // File menu: a folder chosen in the folder picker, starting at the
    // network mounts.
    void mnuFileNet_Click();
    // Something dropped on Drive1, Dir1 or File1: the folder that holds the
    // first dropped path opens.
    void DropPath(const QMimeData* data);

    // The run's lock: Drive1, Dir1, Combo1 and File1.
    void setBrowsingEnabled(bool enabled);
    // w and h are the window's outer size in twips, half = (w - 6150) / 2.
    void layout(double w, double half, double h);

    int fileCount() const override;
    QStringList allFiles() const override;
    QStringList selectedFiles() const override;
    void selectAllFiles() override;
    void invertFileSelection() override;

signals:
    void pathChanged();                    // Dir1 Change: the selected-files lists are emptied
    // A reading of the open folder found another folder at its path than
    // the one listed (replaced, gone, a mount put over it or taken away):
    // names picked from the listing mean nothing there.
    void folderReplaced();
    void addRequested();                   // Ctrl+Right in File1
    void popupRequested(QPoint globalPos); // right button on File1 holding a file
    void folderPopupRequested(QPoint globalPos); // right button on Dir1
    void patternTextChanged();             // Combo1 Change: where the completion popup hooks in

private:
    void wire();
    void refilterFiles();
    // Reads folder, with the stored attributes of the files only when the
    // file list hides hidden or system files: a big folder is read far
    // faster without them. Folders always have theirs (the folder list
    // never shows hidden or system ones).
    platform::FsStatus listFolder(const QString& folder, QList<platform::DirEntry>* entries);
    bool filesNeedAttributes() const { return !m_showHidden || !m_showSystem; }
    QStringList filesOf(const QList<platform::DirEntry>& entries) const;
    static QStringList foldersOf(const QList<platform::DirEntry>& entries);
    void openProgramFolder();
    // Whether id, taken at the open folder's path, is another folder than
    // the one listed; two looks that both found no folder are the same.
    bool isAnotherFolder(const platform::FolderId& id) const;
    enum class Reading { Files, Folders, Both };
    void readAgain(Reading what);

    void Drive1_Change(int index);
    void Dir1_Open(const QString& folder);
    void Combo1_Change(const QString& text);
    void Combo1_Click(int index);
    void Combo1_Enter();

    Services& m_services;
    QWidget* m_form;
    QString m_path;
    platform::FolderId m_folderId; // taken before each listing of m_path
    QString m_pattern;
    support::FilePattern m_matcher;
    QList<platform::DirEntry> m_entries; // the open folder's last listing
    bool m_entriesHaveFileAttributes = true;
    bool m_showHidden = false;
    bool m_showSystem = false;
    bool m_suppress = false;
    QString m_strMsg;
};

} // namespace tavil::mainwin
