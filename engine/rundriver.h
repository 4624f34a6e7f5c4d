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
    virtual QStringList fileList() = 0;       // File1, the current folder's files
    virtual QString folderPath() = 0;         // Dir1.Path
    virtual void setFolderPath(const QString& folder) = 0; // File1 follows
    virtual bool includeSubfolders() = 0;     // chkSubDir
    virtual int importListCount() = 0;        // List4
    virtual bool outputButtonPressed() = 0;   // Toolbar3's first button
    virtual void releaseOutputButton() = 0;
    virtual QString outFolder() = 0;
    virtual void prepareProgress() = 0;       // places and chooses gProgress (PrBar)
    virtual void hideProgress() = 0;          // for the whole sub-folder walk
    virtual void lockWindow() = 0;
    // Re-enables the window after a run; Check1 stays disabled while
    // sub-folders are included.
    virtual void unlockWindow(bool includeSubfolders) = 0;
    virtual void setPresetButtonsEnabled(bool enabled) = 0; // Toolbar1 buttons 1 and 3
    // Reads the tab's parameters and runs its operation; True = stopped early.
    virtual bool callOperation(Tab tab, RunContext& ctx) = 0;
};

struct DriverServices {
    platform::FileSystem& fs;
    platform::Dialogs& dialogs;
    platform::Clock& clock;
    QString errlogFolder; // where the error logs go
};

// One run, from the start button to the wrap-up.
class RunDriver {
public:
    RunDriver(DriverServices services, DriverHost& host);

    // Command4_Click. Reads the option flags once; a second start while a
    // run is active is ignored.
    void Command4_Click(const RunOptions& options);
    // Command12_Click: asks the running operation to stop.
    void Command12_Click();

    bool running() const { return m_ctx != nullptr; }

private:
    void run(RunContext& ctx);

    DriverServices m_services;
    DriverHost& m_host;
    RunContext* m_ctx = nullptr;
};

} // namespace tavil::engine
