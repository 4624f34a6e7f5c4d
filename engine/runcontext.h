#pragma once

#include "support/settingsschema.h"

#include <QString>
#include <QStringList>

namespace tavil::platform {
class Clock;
class Dialogs;
class FileSystem;
} // namespace tavil::platform

namespace tavil::engine {

class ErrorLog;
struct RunContext;

// The operation tabs, by the caption that the dispatch keys on.
enum class Tab { AddNum, Kaku, Edit, Conv, TimeStamp, Attribute, Import, Copy, Other };
QString tabCaption(Tab tab);               // "連番付加", "拡張子", ...
Tab tabFromCaption(const QString& caption);

// The SKIP row of the selected-files list: it holds a place in numbering.
inline const QString kSkipRow = QStringLiteral("  ◆ SKIP ◆");

// A parameter that an operation refused; the window puts the focus on the
// control that holds it.
enum class Field {
    UnifiedName,  // AddNumParams::UnifiedName
    Step,         // AddNumParams::Step
    NewExtension, // ChangeKakuParams::NewExtension
};

// What an operation needs from the window around it.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual void setStatus(int panel, const QString& text) = 0; // status panels 1 and 2
    virtual void setProgressMax(int max) = 0;                   // gProgress
    virtual void setProgressValue(int value) = 0;
    virtual void setProgressVisible(bool visible) = 0;
    virtual void processEvents() = 0; // the abort button can act during this call
    virtual void beep() = 0;
    virtual void clearWorkList() = 0;   // empties the selected-files list
    virtual void refreshFileList() = 0; // re-reads the file browser's list
    virtual void focusField(Field field) = 0;
};

// The state one run shares with the operation it calls. The run driver
// fills it; an operation called on its own needs SourceFolder, objList and
// the services.
struct RunContext {
    platform::FileSystem& fs;
    platform::Dialogs& dialogs;
    platform::Clock& clock;
    RunHost& host;

    // The option flags, read once when a run starts so that the options
    // dialog cannot change them halfway.
    support::settings::OptionFlags opts{};
    QString SourceFolder{};           // absolute, ends with "/"; set by the driver per folder
    QStringList objList{};            // bare names, copied when the call starts
    QString outFolder{};              // "" = rename in place, else ends with "/"
    bool outputButtonPressed = false; // the output-folder toolbar button
    bool IncludeSubfolders = false;
    bool gCancel = false;             // abort request
    int errCount = 0;
    ErrorLog* log = nullptr;          // open for the run when logging is on
    QString strLogName{};             // "yyyyMMddhhmmss.log" or ""
    double startTime = 0;             // monotonic seconds, stored by the operation
    double endTime = 0;
    bool loopCompleted = false;       // the last operation call ran its loop to the end
    QString strMsg{};                 // text of the last message built
    QString tabCaption{};
    QStringList ListAllDir2{};        // the folder tree, root first
};

// A folder an operation may work in: an absolute path. An empty text would
// otherwise read as the root.
bool isUsableFolder(const QString& folder);

} // namespace tavil::engine
