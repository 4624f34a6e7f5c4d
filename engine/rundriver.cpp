#include "engine/rundriver.h"

#include "engine/errlog.h"
#include "engine/errmsg.h"
#include "engine/getalldir.h"
#include "engine/texts.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/names.h"
#include "support/module1.h"

#include <QScopeGuard>

#include <exception>
#include <stdexcept>
#include <utility>

namespace tavil::engine {

using platform::MsgButton;
using platform::visibleName;
namespace MsgStyle = platform::MsgStyle;

namespace {
constexpr int kStatusWidth = 56;

const QString kNothingChanged = QStringLiteral(u"変更は行わずに一覧を読み込み直しました。");
const QString kWalkSkipped = QStringLiteral(u"このフォルダとその中のフォルダは変更しませんでした。");

void showCritical(RunContext& ctx, const QString& text, const QString& title)
{
    ctx.dialogs.msgBox(text, title, MsgStyle::Critical);
}

bool isWalked(Tab tab)
{
    switch (tab) {
    case Tab::Kaku:
    case Tab::Edit:
    case Tab::Conv:
    case Tab::TimeStamp:
    case Tab::Attribute:
        return true;
    default:
        return false;
    }
}
} // namespace

QString folderNotListedText(const QString& done, bool picksEmptied, const QString& folder)
{
    return texts::kFolderNotListed + done + (picksEmptied ? texts::kPicksEmptied : QString()) + u'\r'
           + visibleName(folder);
}

RunDriver::RunDriver(DriverServices services, DriverHost& host)
    : m_services(std::move(services)), m_host(host)
{
}

void RunDriver::start(const support::settings::OptionFlags& options)
{
    // The menus stay usable during a run's pauses, and their start entry
    // comes here too.
    if (m_ctx != nullptr)
        return;
    // A fresh context per run: the abort flag and the error count start
    // cleared, and the option flags cannot change halfway.
    RunContext ctx{.fs = m_services.fs,
                   .dialogs = m_services.dialogs,
                   .clock = m_services.clock,
                   .host = m_host};
    ctx.opts = options;
    m_ctx = &ctx;
    m_locked = false;
    const auto idle = qScopeGuard([this] {
        m_ctx = nullptr;
        m_locked = false;
    });
    try {
        run(ctx);
    } catch (...) {
        // Nothing may leave an event handler. A failure after the lock has
        // been reported and wrapped up inside run().
        m_host.beep();
    }
}

void RunDriver::abort()
{
    if (m_ctx != nullptr)
        m_ctx->gCancel = true;
}

void RunDriver::run(RunContext& ctx)
{
    DriverHost& host = m_host;
    const RunRequest request = host.request();

    // The checks: any of them stops the run before the window is touched,
    // the status bar included (the progress area is shown only once the run
    // really begins).
    const QString& caption = request.tabCaption;
    ctx.IncludeSubfolders = request.includeSubfolders;
    if (request.selectMode) {
        if (request.workList.isEmpty()) {
            showCritical(ctx, QStringLiteral(u"ファイルが選択されていません。"), caption);
            return;
        }
    } else if (!ctx.IncludeSubfolders && request.fileList.isEmpty()) {
        showCritical(ctx, QStringLiteral(u"変更可能なファイルが見つかりません。"), caption);
        return;
    }
    if (tabFromCaption(caption) == Tab::Import && request.importCount == 0) {
        showCritical(ctx, QStringLiteral(u"ファイル名がインポートされていません。"),
                     texts::kImportTitle);
        return;
    }
    // An empty folder text would read as the root: never run there by mistake.
    if (!isUsableFolder(request.folder)) {
        refuseFolder(ctx, request.folder);
        return;
    }

    const QString question = visibleName(request.folder) + QStringLiteral("\r\n")
                             + (ctx.IncludeSubfolders ? QStringLiteral(u"以下") : QString())
                             + QStringLiteral(u"の変更を開始します。よろしいですか？");
    if (ctx.dialogs.msgBox(question, QString(), MsgStyle::OkCancelQuestion) != MsgButton::Ok)
        return;
    // The question gave the event loop a chance: the folder at that path
    // must still be the one whose files the user saw.
    if (!isListedFolder(ctx, request.folder, request.folderId, false))
        return;

    ErrorLog log;
    if (ctx.opts.logFile) {
        ctx.strLogName = ctx.clock.now().toString(QStringLiteral("yyyyMMddhhmmss")) + QStringLiteral(".log");
        if (!log.open(m_services.errlogFolder, ctx.strLogName)) {
            // A missing folder has been made already; whatever else keeps the
            // log from opening would leave the run's clashes unrecorded.
            host.beep();
            showGenericError(ctx, static_cast<int>(platform::Err::Access));
            return;
        }
        ctx.log = &log;
    }
    // A stop before the lock leaves no log behind: it holds only its header.
    const auto dropLog = qScopeGuard([&] {
        if (!m_locked) {
            log.close(true);
            ctx.log = nullptr;
        }
    });

    if (request.outputPressed && request.outFolder.isEmpty()) {
        showCritical(ctx, QStringLiteral(u"出力先フォルダをもう一度設定し直して下さい。"), QString());
        host.releaseOutputButton();
        return;
    }
    if (tabFromCaption(caption) == Tab::Copy && !request.outputPressed) {
        showCritical(ctx, texts::kSetOutFolder, QString());
        return;
    }
    ctx.outputButtonPressed = request.outputPressed;
    ctx.outFolder = request.outFolder;

    // From here on the window is unlocked and the log closed however the run
    // ends; an unexpected failure is reported as one, never as a clean run.
    m_locked = true;
    try {
        host.prepareProgress();
        host.lockWindow();
        dispatch(ctx, request);
    } catch (const std::exception& e) {
        reportUnexpected(ctx, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportUnexpected(ctx, QString());
    }
    wrapUp(ctx, request);
}

void RunDriver::dispatch(RunContext& ctx, const RunRequest& request)
{
    QList<platform::FolderId> ids;
    if (ctx.IncludeSubfolders) {
        m_host.setProgressVisible(false);
        ctx.ListAllDir2 = GetAllDir(request.folder, ctx.fs, m_host, &ids);
    } else {
        m_host.setStatus(1, texts::kChanging);
    }

    // The operation confirmed is the one run: a tab picked during the folder
    // search's pauses was never asked about.
    ctx.tabCaption = request.tabCaption;
    const Tab tab = tabFromCaption(ctx.tabCaption);
    const QStringList& current = request.selectMode ? request.workList : request.fileList;
    const platform::FolderId& listed = request.folderId;

    if (tab == Tab::AddNum) {
        m_host.setPresetButtonsEnabled(false);
        const auto enablePresets = qScopeGuard([&] { m_host.setPresetButtonsEnabled(true); });
        callOnce(ctx, tab, request.folder, current, listed);
    } else if (isWalked(tab)) {
        if (ctx.IncludeSubfolders)
            walk(ctx, tab, ids);
        else
            callOnce(ctx, tab, request.folder, current, listed);
    } else if (tab == Tab::Import) {
        callOnce(ctx, tab, request.folder, current, listed);
    } else if (tab == Tab::Copy) {
        if (ctx.outputButtonPressed)
            callOnce(ctx, tab, request.folder, current, listed);
        else
            showCritical(ctx, texts::kSetOutFolder, QString());
    }
}

bool RunDriver::isListedFolder(RunContext& ctx, const QString& folder, const platform::FolderId& listed,
                               bool inWalk)
{
    // One look at the path: the names in hand belong to the listed folder
    // and mean nothing in any other.
    if (platform::sameFolder(ctx.fs.folderId(folder), listed))
        return true;
    const bool picksEmptied = m_host.rereadFolder();
    ctx.strMsg = folderNotListedText(inWalk ? kWalkSkipped : kNothingChanged, picksEmptied, folder);
    showCritical(ctx, ctx.strMsg, QString());
    return false;
}

bool RunDriver::callOnce(RunContext& ctx, Tab tab, const QString& folder, const QStringList& files,
                         const platform::FolderId& listed)
{
    // The folder search lets the event loop run: the folder is looked at
    // again right before the work, with no pause in between.
    if (!isListedFolder(ctx, folder, listed, false))
        return true;
    return callIn(ctx, tab, folder, files);
}

bool RunDriver::callIn(RunContext& ctx, Tab tab, const QString& folder, const QStringList& files)
{
    ctx.SourceFolder = platform::withTrailingSeparator(folder);
    ctx.objList = files;
    ctx.loopCompleted = false;
    const OperationParams params = m_host.params(tab);
    if (tabOf(params) != tab)
        throw std::logic_error("the window gave the parameters of another tab");
    return m_services.runner(ctx, params);
}

void RunDriver::walk(RunContext& ctx, Tab tab, const QList<platform::FolderId>& ids)
{
    const QStringList folders = ctx.ListAllDir2;
    const QString count = QString::number(folders.size());
    // Folders found to be no longer the ones searched: what the search found
    // below them belongs to another tree, or to none, and is passed over
    // without a message of its own.
    QStringList replaced;
    const auto below = [&replaced](const QString& folder) {
        for (const QString& top : std::as_const(replaced))
            if (folder.startsWith(top))
                return true;
        return false;
    };
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString& folder = folders[i];
        if (below(folder))
            continue;
        const platform::FolderId found = i < ids.size() ? ids[i] : platform::FolderId();
        const std::optional<QStringList> files = m_host.enterFolder(folder);
        // A folder that is still the one found but can't be read now is
        // passed over; one that has gone or been replaced is named.
        if (!isListedFolder(ctx, folder, found, true)) {
            replaced.append(platform::withTrailingSeparator(folder));
            continue;
        }
        if (!files)
            continue;
        m_host.setStatus(1, QStringLiteral(u"変更中 ") + QString::number(i) + u'/' + count);
        m_host.setStatus(2, support::Module1::ShortenPath(visibleName(folder), kStatusWidth));
        if (files->isEmpty())
            continue;
        if (callIn(ctx, tab, folder, *files))
            return;
    }
}

void RunDriver::reportUnexpected(RunContext& ctx, const QString& what)
{
    // Counted and logged like any error, so the result never reads as a
    // clean run.
    ++ctx.errCount;
    try {
        const QString where = ctx.SourceFolder.isEmpty() ? QStringLiteral("-") : ctx.SourceFolder;
        PrintErrlog(ctx, where, QStringLiteral(u"(内部エラー) ") + what);
        showGenericError(ctx, static_cast<int>(platform::Err::Internal), what);
    } catch (...) {
    }
}

// A failure of one step must neither end the program nor keep the later
// steps (the log above all) from running.
void RunDriver::wrapUp(RunContext& ctx, const RunRequest& request)
{
    try {
        // However the run ended, the file list shows the folder as it is
        // now: a stopped loop leaves files renamed that the list would still
        // offer under their old names. Entering the top folder again after a
        // walk reads it already.
        if (!ctx.IncludeSubfolders || !m_host.enterFolder(request.folder))
            m_host.refreshFileList();
        m_host.unlockWindow(ctx.IncludeSubfolders);
        m_host.setStatus(1, QString());
        QString result = QStringLiteral(u"ｴﾗｰ： ") + QString::number(ctx.errCount) + QStringLiteral(u"件");
        if (ctx.errCount != 0)
            result += QStringLiteral(" - ") + ctx.strLogName;
        m_host.setStatus(2, result);
        m_host.setProgressVisible(false);
        m_host.setProgressValue(0);
    } catch (...) {
    }
    if (ctx.log != nullptr) {
        // An incomplete log is kept, and the user is told.
        const bool incomplete = ctx.log->writeFailed();
        const QString path = ctx.log->path();
        ctx.log->close(ctx.errCount == 0 && !incomplete);
        ctx.log = nullptr;
        if (incomplete) {
            try {
                ctx.dialogs.msgBox(QStringLiteral(u"ｴﾗｰﾛｸﾞを最後まで書き込むことができませんでした。") + u'\r'
                                       + visibleName(path),
                                   QStringLiteral(u"ｴﾗｰﾛｸﾞ"), MsgStyle::Exclamation);
            } catch (...) {
            }
        }
    }
    ctx.errCount = 0;
    try {
        // Only a loop that ran to its end has a meaningful pair of times.
        if (ctx.opts.timeMeasure && ctx.loopCompleted)
            m_host.setStatus(1, QStringLiteral(u"Time：") + QString::number(ctx.endTime - ctx.startTime, 'f', 2)
                                    + QStringLiteral(u"秒"));
        m_host.beep();
    } catch (...) {
    }
}

} // namespace tavil::engine
