#pragma once

#include "engine/runcontext.h"

#include <QString>
#include <QStringList>

namespace tavil::platform {
class Clock;
class Dialogs;
class FileSystem;
} // namespace tavil::platform

namespace tavil::engine {

// What the run driver needs from the main window beyond RunHost.
class DriverHost : public RunHost {
public:
    virtual QString selectedTabCaption() = 0; // read each time it is asked
    virtual bool selectMode() = 0;            // Check1 = 1
    virtual QStringList workList() = 0;       // gWorkList
    virtual QStringList fileList() = 0;       // File1, the current folder's files (none when unreadable)
    virtual QString folderPath() = 0;         // Dir1.Path
    // File1 follows. False when the folder cannot be opened (it vanished):
    // the host then stays where it was.
    virtual bool setFolderPath(const QString& folder) = 0;
    virtual bool includeSubfolders() = 0;     // chkSubDir
    virtual int importListCount() = 0;        // List4
    virtual bool outputButtonPressed() = 0;   // Toolbar3's first button
    virtual void releaseOutputButton() = 0;
    virtual QString outFolder() = 0;
    virtual void prepareProgress() = 0;       // places and chooses gProgress (PrBar)
    virtual void hideProgress() = 0;          // both displays: for the sub-folder walk and after a run
    // The busy pointer; the start and browser controls, Check1 and the output
    // button disabled; the abort button shown.
    virtual void lockWindow() = 0;
    // Undoes lockWindow after a run: the start button enabled, the abort
    // button hidden, Check1 enabled only without sub-folders and its click
    // handling re-applied, the browser re-read, the pointer restored.
    virtual void unlockWindow(bool includeSubfolders) = 0;
    virtual void setPresetButtonsEnabled(bool enabled) = 0; // Toolbar1 buttons 1 and 3
    // Reads the tab's parameters and runs its operation; True = stopped early.
    virtual bool callOperation(Tab tab, RunContext& ctx) = 0;
};

struct DriverServices {
    platform::FileSystem& fs;
    platform::Dialogs& dialogs;
    platform::Clock& clock;
    QString errlogFolder; // where the error logs go; made when missing
};

// One run, from the start button to the wrap-up.
class RunDriver {
public:
    RunDriver(DriverServices services, DriverHost& host);

    // Command4_Click. Reads the option flags once; a second start while a
    // run is active is ignored. Once the window is locked it is always
    // unlocked again and the log closed, also when something fails
    // unexpectedly; nothing is thrown out of it.
    void Command4_Click(const RunOptions& options);
    // Command12_Click: asks the running operation to stop.
    void Command12_Click();

    bool running() const { return m_ctx != nullptr; }

private:
    void run(RunContext& ctx);
    void walk(RunContext& ctx, Tab tab);
    void wrapUp(RunContext& ctx, const QString& savedFolder);

    DriverServices m_services;
    DriverHost& m_host;
    RunContext* m_ctx = nullptr;
    bool m_locked = false;
};

} // namespace tavil::engine
