#include "engine/operation.h"

#include "engine/errlog.h"
#include "engine/errmsg.h"
#include "engine/texts.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/names.h"

#include <algorithm>

namespace tavil::engine {

using platform::Err;
using platform::FsStatus;
using platform::MsgButton;
using platform::visibleName;

namespace {
const QString kAborted = QStringLiteral(u"ユーザーによって中止されました。");
constexpr int kPollEvery = 20;
} // namespace

OperationLoop::OperationLoop(RunContext& ctx) : m_ctx(ctx), m_abortText(kAborted) {}

void OperationLoop::begin(int n, bool showChangingStatus)
{
    m_ctx.loopCompleted = false;
    m_ctx.host.setProgressMax(n);
    m_ctx.SourceFolder = platform::withTrailingSeparator(m_ctx.SourceFolder);
    // Every name of the run is found through the folders opened once.
    m_sourceHold = m_ctx.fs.holdFolder(m_ctx.SourceFolder);
    if (!m_ctx.outFolder.isEmpty())
        m_outHold = m_ctx.fs.holdFolder(m_ctx.outFolder);
    if (showChangingStatus)
        m_ctx.host.setStatus(1, texts::kChanging);
    m_ctx.host.processEvents();
    m_ctx.startTime = m_ctx.clock.monotonicSeconds();
}

bool OperationLoop::abortRequested(int i)
{
    if (i % kPollEvery != 0)
        return false;
    // The abort button can only act while the event loop runs.
    m_ctx.host.processEvents();
    return m_ctx.gCancel && honourAbort();
}

bool OperationLoop::honourAbort()
{
    m_ctx.gCancel = false;
    m_ctx.strMsg = m_abortText;
    m_ctx.dialogs.msgBox(m_ctx.strMsg, texts::kAbortTitle, platform::MsgStyle::Exclamation);
    return true;
}

platform::CopyProgress OperationLoop::copyProgress()
{
    // Between two chunks of a long copy the window repaints, and the abort
    // button stops the copy itself rather than waiting for its end.
    return [this](qint64, qint64) {
        m_ctx.host.processEvents();
        return !m_ctx.gCancel;
    };
}

FsStatus OperationLoop::copyFile(const QString& from, const QString& to)
{
    return m_ctx.fs.copy(from, to, copyProgress());
}

FsStatus OperationLoop::moveFile(const QString& from, const QString& to)
{
    return m_ctx.fs.move(from, to, copyProgress());
}

FsStatus OperationLoop::place(const QString& oldName, const QString& newName)
{
    // Judged before anything is touched: a name with "/" would move the file
    // elsewhere, an empty one or ".." would aim at the folder itself.
    switch (platform::checkNewName(newName)) {
    case platform::NameVerdict::LeaveAlone:
        return {};
    case platform::NameVerdict::Bad:
        return FsStatus{Err::BadName, 0, false};
    case platform::NameVerdict::Ok:
        break;
    }
    const QString from = m_ctx.SourceFolder + oldName;
    if (m_ctx.outFolder.isEmpty())
        return m_ctx.fs.rename(from, m_ctx.SourceFolder + newName);
    // In the output folder an existing name is a clash even where renaming in
    // place would be a no-op; the copy itself never replaces either.
    if (m_ctx.fs.exists(m_ctx.outFolder + platform::diskName(newName)))
        return FsStatus{Err::Exists, 0, false};
    return copyFile(from, m_ctx.outFolder + newName);
}

QString OperationLoop::targetFolder() const
{
    return m_ctx.outputButtonPressed ? m_ctx.outFolder : m_ctx.SourceFolder;
}

void OperationLoop::setProgress(int value)
{
    m_ctx.host.setProgressValue(value);
}

Next OperationLoop::handleError(const FsStatus& status, const ClashInfo& clash)
{
    switch (status.err) {
    case Err::None:
        return Next::Continue;
    case Err::NotFound:
        // Gone before its turn: passed over without a word. A link that is
        // still there but leads nowhere is not gone: the user must learn
        // which one it is.
        if (!clash.logOld.isEmpty() && m_ctx.fs.exists(clash.logOld)) {
            showGenericError(m_ctx, status.number(), visibleName(clash.logOld));
            return Next::Stop;
        }
        return Next::Continue;
    case Err::Exists:
        return handleClash(clash);
    case Err::DiskFull:
    case Err::Denied:
    case Err::Access:
        ErrMsg(m_ctx, status, m_ctx.SourceFolder, clash.logOld);
        return Next::Stop;
    case Err::Interrupted:
        honourAbort();
        return Next::Stop;
    case Err::BadName:
        // The user must learn which name could not be used.
        showGenericError(m_ctx, status.number(), visibleName(clash.logNew));
        return Next::Stop;
    case Err::NoPath:
        // The folder the file was to go into is gone (removed during the
        // run, or never there): the user must learn which one.
        showGenericError(m_ctx, status.number(),
                         visibleName(m_ctx.outFolder.isEmpty() ? m_ctx.SourceFolder : m_ctx.outFolder));
        return Next::Stop;
    default:
        showGenericError(m_ctx, status.number());
        return Next::Stop;
    }
}

Next OperationLoop::handleClash(const ClashInfo& clash)
{
    // The entry is written whatever the answer, so the log shows every clash.
    PrintErrlog(m_ctx, clash.logOld, clash.logNew);
    if (m_ctx.opts.fileDouble2) {
        ++m_ctx.errCount;
        return Next::Continue;
    }
    m_ctx.strMsg = clash.message;
    if (m_ctx.dialogs.msgBox(clash.message, texts::kClashTitle, clash.style) == MsgButton::Cancel)
        return Next::Stop;
    ++m_ctx.errCount;
    return Next::Continue;
}

ClashInfo OperationLoop::copyClash(const QString& name, const QString& logMark, int style) const
{
    const QString home = m_ctx.outFolder.isEmpty() ? m_ctx.SourceFolder : m_ctx.outFolder;
    ClashInfo c;
    c.logOld = m_ctx.SourceFolder + name;
    c.logNew = home + name + logMark;
    c.message = visibleName(m_ctx.outFolder + name) + u'\r' + texts::kClashExists + u'\r'
                + visibleName(m_ctx.SourceFolder + name) + u'\r' + texts::kClashNotCopied;
    c.style = style;
    return c;
}

void OperationLoop::refuseLink(const ClashInfo& entry)
{
    PrintErrlog(m_ctx, entry.logOld, entry.logNew);
    ++m_ctx.errCount;
}

OperationLoop::Step OperationLoop::workingFile(const QString& name, const ClashInfo& clash, QString* working)
{
    *working = m_ctx.SourceFolder + name;
    if (m_ctx.outFolder.isEmpty())
        return Step::Go;
    const QString target = m_ctx.outFolder + name;
    if (m_ctx.fs.exists(target))
        return stepAfter(handleClash(clash));
    const FsStatus st = copyFile(*working, target);
    if (!st.ok())
        return stepAfter(handleError(st, clash));
    *working = target;
    return Step::Go;
}

bool OperationLoop::finish(bool clearList, bool refreshList)
{
    m_ctx.endTime = m_ctx.clock.monotonicSeconds();
    setProgress(0);
    if (clearList)
        m_ctx.host.clearWorkList();
    if (refreshList)
        m_ctx.host.refreshFileList();
    m_ctx.loopCompleted = true;
    return false;
}

bool runRenameLoop(RunContext& ctx, const RenameSpec& job)
{
    // The lists stay usable during the pauses, so the loop works on a copy.
    const QStringList list = ctx.objList;
    const int n = job.count < 0 ? static_cast<int>(list.size())
                                 : std::min(job.count, static_cast<int>(list.size()));
    OperationLoop loop(ctx);
    loop.begin(n, job.showChangingStatus);
    for (int i = 0; i < n; ++i) {
        if (loop.abortRequested(i))
            return true;
        const QString& oldName = list[i];
        if (const std::optional<NewName> built = job.newName(i, oldName)) {
            const FsStatus status = built->error != Err::None ? FsStatus{built->error, 0, false}
                                                              : loop.place(oldName, built->name);
            if (!status.ok()) {
                const QString target = loop.targetFolder();
                ClashInfo clash;
                clash.logOld = ctx.SourceFolder + oldName;
                clash.logNew = target + built->name;
                clash.message = visibleName(target + (built->shown.isEmpty() ? built->name : built->shown)) + u'\r'
                                + texts::kClashExists + u'\r' + visibleName(ctx.SourceFolder + oldName) + u'\r'
                                + texts::kClashNotRenamed;
                if (loop.handleError(status, clash) == Next::Stop)
                    return true;
            }
        }
        loop.setProgress(i + 1);
    }
    return loop.finish(true, true);
}

} // namespace tavil::engine
