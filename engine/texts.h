#pragma once

#include <QString>

// Texts that more than one part of the engine shows.
namespace tavil::engine::texts {

inline const QString kChanging = QStringLiteral(u"変更中...");
inline const QString kAbortTitle = QStringLiteral(u"作業の中止");
inline const QString kClashTitle = QStringLiteral(u"同名ファイルの存在");
inline const QString kClashExists = QStringLiteral(u"と同じ名前のファイルが存在するため");
inline const QString kClashNotRenamed = QStringLiteral(u"の名前を変更することが出来ませんでした。");
inline const QString kClashNotCopied = QStringLiteral(u"のファイルをコピーできませんでした。");
inline const QString kSetOutFolder = QStringLiteral(u"出力先フォルダを設定して下さい。");
inline const QString kErrorTitle = QStringLiteral(u"ｴﾗｰ");
inline const QString kImportTitle = QStringLiteral(u"ファイル名のインポート");
// A new name longer than the file system keeps.
inline const QString kFileNameTooLong = QStringLiteral(u"ファイル名が長すぎます。");
inline const QString kFolderNameTooLong = QStringLiteral(u"フォルダ名が長すぎます。");
// The folder at the open folder's path is no longer the one listed.
inline const QString kFolderNotListed = QStringLiteral(u"一覧を読み込んだときのフォルダではなくなっています。");
inline const QString kListsReread = QStringLiteral(u"一覧を読み込み直しました。");
inline const QString kPicksEmptied = QStringLiteral(u"選択したファイルの一覧は空にしました。");

} // namespace tavil::engine::texts
