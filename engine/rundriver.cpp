#include "engine/rundriver.h"

#include "engine/errlog.h"
#include "engine/errmsg.h"
#include "engine/getalldir.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "support/module1.h"

#include <QScopeGuard>

#include <utility>

namespace tavil::engine {

using platform::MsgButton;
namespace MsgStyle = platform::MsgStyle;

namespace {
constexpr int kStatusWidth = 56;

void showCritical(RunContext& ctx, const QString& text, const QString& title)
{
    ctx.dialogs.msgBox(text, title, MsgStyle::Critical);
}

QString outFolderMissingText()
{
    return QStringLiteral(u"出力先フォルダを設定して下さい。");
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

RunDriver::RunDriver(DriverServices services, DriverHost& host)
    : m_services(std::move(services)), m_host(host)
{
}

void RunDriver::Command4_Click(const RunOptions& options)
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
        // Nothing may leave an event handler. Once the window was locked the
        // wrap-up has run (and beeped) while the stack unwound.
        if (!m_locked)
            m_host.beep();
    }
}

void RunDriver::Command12_Click()
{
    if (m_ctx != nullptr)
        m_ctx->gCancel = true;
}

void RunDriver::run(RunContext& ctx)
{
    DriverHost& host = m_host;

    host.prepareProgress();

    // The checks: any of them stops the run before the window is touched.
    const QString caption = host.selectedTabCaption();
    const bool selectMode = host.selectMode();
    // Read once: the walk, the wrap-up and the restored folder must agree.
    ctx.IncludeSubfolders = host.includeSubfolders();
    if (selectMode) {
        if (host.workList().isEmpty()) {
            showCritical(ctx, QStringLiteral(u"ファイルが選択されていません。"), caption);
            return;
        }
    } else if (!ctx.IncludeSubfolders && host.fileList().isEmpty()) {
        showCritical(ctx, QStringLiteral(u"変更可能なファイルが見つかりません。"), caption);
        return;
    }
    if (tabFromCaption(caption) == Tab::Import && host.importListCount() == 0) {
        showCritical(ctx, QStringLiteral(u"ファイル名がインポートされていません。"),
                     QStringLiteral(u"ファイル名のインポート"));
        return;
    }

    const QString question = host.folderPath() + QStringLiteral("\r\n")
                             + (ctx.IncludeSubfolders ? QStringLiteral(u"以下") : QString())
                             + QStringLiteral(u"の変更を開始します。よろしいですか？");
    if (ctx.dialogs.msgBox(question, QString(), MsgStyle::OkCancelQuestion) != MsgButton::Ok)
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

    const bool outputPressed = host.outputButtonPressed();
    if (outputPressed && host.outFolder().isEmpty()) {
        showCritical(ctx, QStringLiteral(u"出力先フォルダをもう一度設定し直して下さい。"), QString());
        host.releaseOutputButton();
        return;
    }
    if (tabFromCaption(caption) == Tab::Copy && !outputPressed) {
        showCritical(ctx, outFolderMissingText(), QString());
        return;
    }
    ctx.outputButtonPressed = outputPressed;
    ctx.outFolder = host.outFolder();

    // From here on the window is unlocked and the log closed however the run
    // ends, an unexpected failure included.
    QString savedFolder;
    m_locked = true;
    const auto wrapUpGuard = qScopeGuard([&] { wrapUp(ctx, savedFolder); });
    host.lockWindow();

    if (ctx.IncludeSubfolders) {
        host.hideProgress();
        savedFolder = host.folderPath();
        ctx.ListAllDir2 = GetAllDir(savedFolder, ctx.fs, host);
    } else {
        host.setStatus(1, QStringLiteral(u"変更中..."));
    }

    // The tab strip stays usable during the folder search: read it again.
    ctx.tabCaption = host.selectedTabCaption();
    const Tab tab = tabFromCaption(ctx.tabCaption);
    const auto callOnce = [&] {
        ctx.objList = selectMode ? host.workList() : host.fileList();
        ctx.loopCompleted = false;
        return host.callOperation(tab, ctx);
    };

    if (tab == Tab::AddNum) {
        host.setPresetButtonsEnabled(false);
        const auto enablePresets = qScopeGuard([&] { host.setPresetButtonsEnabled(true); });
        callOnce();
    } else if (isWalked(tab)) {
        if (ctx.IncludeSubfolders)
            walk(ctx, tab);
        else
            callOnce();
    } else if (tab == Tab::Import) {
        callOnce();
    } else if (tab == Tab::Copy) {
        if (ctx.outputButtonPressed)
            callOnce();
        else
            showCritical(ctx, outFolderMissingText(), QString());
    }
}

void RunDriver::walk(RunContext& ctx, Tab tab)
{
    const QStringList folders = ctx.ListAllDir2;
    const QString count = QString::number(folders.size());
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString& folder = folders[i];
        // A folder that vanished since the search is passed over.
        if (!m_host.setFolderPath(folder))
            continue;
        m_host.setStatus(1, QStringLiteral(u"変更中 ") + QString::number(i) + u'/' + count);
        m_host.setStatus(2, support::Module1::ShortenPath(folder, kStatusWidth));
        const QStringList files = m_host.fileList();
        if (files.isEmpty())
            continue;
        ctx.objList = files;
        ctx.loopCompleted = false;
        if (m_host.callOperation(tab, ctx))
            return;
    }
}

// Runs while unwinding as well, so a failure of one step must neither end
// the program nor keep the later steps (the log above all) from running.
void RunDriver::wrapUp(RunContext& ctx, const QString& savedFolder)
{
    try {
        if (ctx.IncludeSubfolders && !savedFolder.isEmpty())
            (void)m_host.setFolderPath(savedFolder);
        m_host.unlockWindow(ctx.IncludeSubfolders);
        m_host.setStatus(1, QString());
        QString result = QStringLiteral(u"ｴﾗｰ： ") + QString::number(ctx.errCount) + QStringLiteral(u"件");
        if (ctx.errCount != 0)
            result += QStringLiteral(" - ") + ctx.strLogName;
        m_host.setStatus(2, result);
        m_host.hideProgress();
        m_host.setProgressValue(0);
    } catch (...) {
    }
    if (ctx.log != nullptr) {
        ctx.log->close(ctx.errCount == 0);
        ctx.log = nullptr;
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
