#include "engine/errmsg.h"

#include "engine/runcontext.h"
#include "engine/texts.h"
#include "platform/dialogs.h"
#include "platform/filesystem.h"
#include "platform/names.h"

namespace tavil::engine {

using platform::Err;

namespace {
const QString kErrorTitle = texts::kErrorTitle;
} // namespace

QString genericErrorText(int number)
{
    // The number is written as signed decimal with a blank in place of a
    // plus sign, hence two blanks before a non-negative number.
    return QStringLiteral(u"ｴﾗｰ番号 ") + (number >= 0 ? QStringLiteral(" ") : QString())
           + QString::number(number) + QStringLiteral(u" でｴﾗｰが発生しました。") + u'\r'
           + platform::errDescription(number);
}

void showGenericError(RunContext& ctx, int number, const QString& detail)
{
    ctx.strMsg = genericErrorText(number);
    if (!detail.isEmpty())
        ctx.strMsg += u'\r' + detail;
    ctx.dialogs.msgBox(ctx.strMsg, kErrorTitle, platform::MsgStyle::Critical);
}

void ErrMsg(RunContext& ctx, const platform::FsStatus& status, const QString& DirPath, const QString& filePath)
{
    if (status.notAFile) {
        ctx.strMsg = (filePath.isEmpty() ? QString() : platform::visibleName(filePath) + QStringLiteral("\r\n\r\n"))
                     + QStringLiteral(u"コピーできるファイルではありません。\r\n"
                                      u"フォルダ、デバイス、名前付きパイプ、循環したリンクはコピーできません。");
        ctx.dialogs.msgBox(ctx.strMsg, QStringLiteral(u"ファイルのコピーエラー"), platform::MsgStyle::Critical);
        return;
    }
    if (status.err == Err::Denied && status.reading) {
        ctx.strMsg = (filePath.isEmpty() ? QString() : platform::visibleName(filePath) + QStringLiteral("\r\n\r\n"))
                     + QStringLiteral(u"ファイルを読み取ることができませんでした。\r\n"
                                      u"ファイルのアクセス権を確認して下さい。");
        ctx.dialogs.msgBox(ctx.strMsg, QStringLiteral(u"ファイルの読み取りエラー"), platform::MsgStyle::Critical);
        return;
    }
    switch (status.err) {
    case Err::Access: {
        const bool network = ctx.fs.isNetworkPath(DirPath)
                             || (!ctx.outFolder.isEmpty() && ctx.fs.isNetworkPath(ctx.outFolder));
        if (network) {
            ctx.strMsg = QStringLiteral(u"ネットワーク アクセスは拒否されました。アクセス権があるかどうか確認して下さい。");
            ctx.dialogs.msgBox(ctx.strMsg, QStringLiteral(u"アクセスエラー"), platform::MsgStyle::Critical);
        } else {
            showGenericError(ctx, status.number());
        }
        return;
    }
    case Err::Denied:
        ctx.dialogs.msgBox(QStringLiteral(u"ディスクがライトプロテクトされています。\r\n\r\n"
                                          u"ライトプロテクトを解除するか別のディスクを使って下さい。"),
                           QStringLiteral(u"ディスクの書き込みエラー"), platform::MsgStyle::Critical);
        return;
    case Err::DiskFull:
        ctx.dialogs.msgBox(QStringLiteral(u"ディスクの空き容量が不足しています。\r\n\r\n"
                                          u"ディスクを交換するか、空き容量を増やして下さい。"),
                           QStringLiteral(u"空き容量の不足"), platform::MsgStyle::Critical);
        return;
    default:
        return;
    }
}

} // namespace tavil::engine
