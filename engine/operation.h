#pragma once

#include "engine/runcontext.h"
#include "platform/errors.h"
#include "platform/filesystem.h"

#include <QString>

#include <functional>
#include <optional>

namespace tavil::engine {

// What the error trap does after a failure.
enum class Next { Continue, Stop };

// The texts of one name clash: the log entry and the question.
struct ClashInfo {
    QString logOld;   // full old path
    QString logNew;   // full new path (or name & "(属性変更)" ...)
    QString message;  // lines joined by CR
    int style = 49;   // SetAttribute asks with 0
};

// The shared shape of the operations: begin, poll the abort flag every 20
// files, place each file, route every failure through one policy, finish.
class OperationLoop {
public:
    explicit OperationLoop(RunContext& ctx);

    RunContext& ctx() { return m_ctx; }

    // Max = n, "変更中..." when asked, the run's folders held open, one turn
    // of the event loop and startTime; loopCompleted = false. SourceFolder
    // must be a usable folder (the callers check it first).
    void begin(int n, bool showChangingStatus);

    // The text shown when an abort is honoured; "ユーザーによって中止されました。"
    // unless the operation says otherwise.
    void setAbortText(const QString& text) { m_abortText = text; }

    // At i = 0, 20, 40, ...: one turn of the event loop, then an abort
    // request is honoured. True means the operation must return True now.
    bool abortRequested(int i);

    // In place: SourceFolder & old → SourceFolder & new, never replacing.
    // Output-folder mode: an existing outFolder & new is Err::Exists, else a
    // copy. A new name that is empty, "." or ".." leaves the file alone
    // (success, nothing done); one with "/", a control character or half a
    // character is Err::BadName before anything is touched.
    platform::FsStatus place(const QString& oldName, const QString& newName);

    // A copy that keeps the window alive: the event loop runs between its
    // chunks and an abort stops it (Err::Interrupted, nothing left behind).
    platform::FsStatus copyFile(const QString& from, const QString& to);
    platform::FsStatus moveFile(const QString& from, const QString& to);

    // The folder that clash messages and the log name as the new name's home:
    // outFolder when the output button is pressed, else SourceFolder.
    QString targetFolder() const;

    void setProgress(int value);

    // The error trap: 53 → Continue silently (a link whose file is gone is
    // named instead: the generic message, Stop); 58 → log, then count and
    // skip (fileDouble2) or ask (Cancel → Stop); 61, 70, 75 → ErrMsg, Stop;
    // an interrupted copy → the abort is honoured, Stop; any other number →
    // the generic message, Stop (for a bad name with the new path,
    // clash.logNew, on a line of its own).
    Next handleError(const platform::FsStatus& status, const ClashInfo& clash);

    // The clash part alone (log, then skip or ask), for operations that
    // raise 58 themselves.
    Next handleClash(const ClashInfo& clash);

    // SetTimeStamp and SetAttribute: the clash texts that name the file's
    // copy in the output folder; the log marks the change with logMark.
    ClashInfo copyClash(const QString& name, const QString& logMark, int style) const;

    // An entry whose change can't be made without following a link to what
    // it points at: counted and logged as an error, and nothing is changed.
    void refuseLink(const ClashInfo& entry);

    // What to do with the entry at hand.
    enum class Step { Go, NextEntry, Stop };
    static Step stepAfter(Next next) { return next == Next::Stop ? Step::Stop : Step::NextEntry; }

    // The file that SetTimeStamp and SetAttribute change: the file itself,
    // or in output-folder mode a copy of it there under its own name. A name
    // already there is a clash; whatever stops the copy ends the entry, so
    // the change never falls on another file.
    Step workingFile(const QString& name, const ClashInfo& clash, QString* working);

    // After the last file: endTime, progress 0, the lists emptied and
    // refreshed when asked; loopCompleted = true. Returns False (not stopped).
    bool finish(bool clearList, bool refreshList);

private:
    bool honourAbort();
    platform::CopyProgress copyProgress();

    RunContext& m_ctx;
    QString m_abortText;
    platform::FolderHold m_sourceHold;
    platform::FolderHold m_outHold;
};

// The common case: every entry renamed to a new name built from the old one.
struct NewName {
    QString name;  // the name to rename to, as built (trailing "." kept)
    QString shown; // how the clash message's first line names it; "" = name
    // A failure met while building the name (say Err::IllegalCall for a
    // position before the start); it goes through the error trap in place of
    // the rename, and the file is not touched.
    platform::Err error = platform::Err::None;
};

struct RenameSpec {
    bool showChangingStatus = false; // "変更中..." in status panel 1
    int count = -1;                  // entries walked from the first; -1 = all of objList
    // nullopt leaves the file alone.
    std::function<std::optional<NewName>(int index, const QString& oldName)> newName;
};

// Runs the whole skeleton in ctx.SourceFolder with the standard clash texts
// ("と同じ名前のファイルが存在するため" ...); True when it stopped early.
bool runRenameLoop(RunContext& ctx, const RenameSpec& job);

} // namespace tavil::engine
