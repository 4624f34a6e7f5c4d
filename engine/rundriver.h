#pragma once

#include "engine/operations.h"
#include "engine/runcontext.h"
#include "platform/filesystem.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace tavil::platform {
class Clock;
class Dialogs;
class FileSystem;
} // namespace tavil::platform

namespace tavil::engine {

// The main window as it stands when the start button is pressed.
struct RunRequest {
    QString tabCaption;        // the selected tab's caption
    bool selectMode = false;   // Check1 = 1
    QStringList workList;      // gWorkList, the selected-files list
    QStringList fileList;      // File1, the current folder's files
    QString folder;            // Dir1.Path
    platform::FolderId folderId; // the folder the browser listed at that path
    bool includeSubfolders = false; // chkSubDir
    int importCount = 0;       // List4's entries
    bool outputPressed = false; // Toolbar3's first button
    QString outFolder;
};

// What the run driver needs from the main window beyond RunHost.
class DriverHost : public RunHost {
public:
    virtual void prepareProgress() = 0; // places and chooses gProgress (PrBar)
    virtual RunRequest request() = 0;
    // The tab's parameters, read when each operation call starts (in a walk,
    // a change made during a pause applies from the next folder on).
    virtual OperationParams params(Tab tab) = 0;
    // The file browser follows the walk into folder and gives its files;
    // nullopt when the folder can't be opened (it vanished).
    virtual std::optional<QStringList> enterFolder(const QString& folder) = 0;
    // The file browser's lists read again from the folder now at its path,
    // which it then takes for the one it shows. True when a reading in this
    // run found another folder there than the listed one and so emptied the
    // selected-files lists of the entries they held (told once).
    virtual bool rereadFolder() = 0;
    virtual void releaseOutputButton() = 0;
    // The busy pointer; the start and browser controls, Check1 and the output
    // button disabled; the abort button shown.
    virtual void lockWindow() = 0;
    // Undoes lockWindow after a run: the start button enabled, the abort
    // button hidden, Check1 enabled only without sub-folders and its click
    // handling re-applied, the pointer restored. A file list asked to be
    // read again during the run (refreshFileList) is read here, once, with
    // the folder list.
    virtual void unlockWindow(bool includeSubfolders) = 0;
    virtual void setPresetButtonsEnabled(bool enabled) = 0; // Toolbar1 buttons 1 and 3
};

// Runs one operation call; runOperation unless a test puts itself there.
using OperationRunner = std::function<bool(RunContext& ctx, const OperationParams& params)>;

struct DriverServices {
    platform::FileSystem& fs;
    platform::Dialogs& dialogs;
    platform::Clock& clock;
    QString errlogFolder; // where the error logs go; made when missing
    OperationRunner runner = runOperation;
};

// The message for a folder found at the open folder's path that is another
// one than the listed: what was done (reading the lists again, and what was
// left unchanged), that the selected-files lists were emptied when they held
// entries, then the folder.
QString folderNotListedText(const QString& done, bool picksEmptied, const QString& folder);

// One run, from the start button to the wrap-up. The driver owns the run's
// folder: it sets SourceFolder for every folder it runs in, and refuses a
// folder that is empty or relative rather than reading it as the root. It
// works only in the folder that was listed: one that has taken its place at
// that path since (removed and made again, replaced, a mount gone or new) is
// left alone and the user told. It runs the operation of the tab that was
// selected when the user confirmed, whatever tab is picked meanwhile.
class RunDriver {
public:
    RunDriver(DriverServices services, DriverHost& host);

    // What the start button does. The option flags are read once; a second
    // start while a run is active is ignored. Once the window is locked it is
    // always unlocked again and the log closed; an unexpected failure is
    // logged, counted and shown with the generic message, and nothing is
    // thrown out of it.
    void start(const support::settings::OptionFlags& options);
    // What the abort button does: asks the running operation to stop.
    void abort();

    bool running() const { return m_ctx != nullptr; }

private:
    void run(RunContext& ctx);
    void dispatch(RunContext& ctx, const RunRequest& request);
    bool isListedFolder(RunContext& ctx, const QString& folder, const platform::FolderId& listed, bool inWalk);
    // One call in folder, once it is known to be the listed one.
    bool callOnce(RunContext& ctx, Tab tab, const QString& folder, const QStringList& files,
                  const platform::FolderId& listed);
    bool callIn(RunContext& ctx, Tab tab, const QString& folder, const QStringList& files);
    void walk(RunContext& ctx, Tab tab, const QList<platform::FolderId>& ids);
    void reportUnexpected(RunContext& ctx, const QString& what);
    void wrapUp(RunContext& ctx, const RunRequest& request);

    DriverServices m_services;
    DriverHost& m_host;
    RunContext* m_ctx = nullptr;
    bool m_locked = false;
};

} // namespace tavil::engine
