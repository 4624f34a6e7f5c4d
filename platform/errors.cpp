#include "platform/errors.h"

#include <cerrno>

namespace tavil::platform {

Err errFromErrno(int sysErrno, ErrnoContext context)
{
    switch (sysErrno) {
    case 0:
        return Err::None;
    case ENOENT:
        // A missing source is "file not found"; a missing folder on the way
        // (where a file or folder was to be made) is "path not found".
        return context == ErrnoContext::Source ? Err::NotFound : Err::NoPath;
    case ENOTDIR:
        return Err::NoPath;
    case EEXIST:
    case ENOTEMPTY:
        // Making a folder that is already there has always been an access
        // error, not a name clash.
        return context == ErrnoContext::MakeDir ? Err::Access : Err::Exists;
    case ENOSPC:
    case EDQUOT:
        return Err::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM:
    case ETXTBSY:
        return Err::Denied;
    default:
        // EIO, EBUSY, ENAMETOOLONG, ELOOP, EISDIR, EXDEV and the rest.
        return Err::Access;
    }
}

QString errDescription(int number)
{
    switch (number) {
    case 5:
        return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
    case 6:
        return QStringLiteral("オーバーフローしました。");
    case 18:
        return QStringLiteral("ユーザーによる割り込みが発生しました。");
    case 13:
        return QStringLiteral("型が一致しません。");
    case 51:
        return QStringLiteral("内部エラーです。");
    case 52:
        return QStringLiteral("ファイル名または番号が不正です。");
    case 53:
        return QStringLiteral("ファイルが見つかりません。");
    case 58:
        return QStringLiteral("既に同名のファイルが存在しています。");
    case 61:
        return QStringLiteral("ディスクの空き容量が不足しています。");
    case 62:
        return QStringLiteral("ファイルにこれ以上データがありません。");
    case 68:
        return QStringLiteral("デバイスが準備されていません。");
    case 70:
        return QStringLiteral("書き込みできません。");
    case 75:
        return QStringLiteral("パス名が無効です。");
    case 76:
        return QStringLiteral("パスが見つかりません。");
    case 380:
        return QStringLiteral("プロパティの値が不正です。");
    case 461:
        return QStringLiteral("指定された形式が見つかりません。");
    default:
        return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
    }
}

} // namespace tavil::platform
