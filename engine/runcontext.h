#pragma once

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

// The option flags, read once when a run starts so that the options dialog
// cannot change them halfway.
struct RunOptions {
    bool keepList = true;     // gKeepList
    bool fileDouble = false;  // gFileDouble: on a clash, advance the number
    bool fileDouble2 = false; // gFileDouble2: on a clash, count and skip
    bool timeMeasure = false; // gTimeMeasure
    bool logFile = true;      // gLogFile
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
    virtual void focusControl(const QString& objectName) = 0;
};

// The state one run shares with the operation it calls.
struct RunContext {
    platform::FileSystem& fs;
    platform::Dialogs& dialogs;
    platform::Clock& clock;
    RunHost& host;

    RunOptions opts{};
    QString SourceFolder{};           // ends with "/"
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

} // namespace tavil::engine
