#pragma once

#include <QString>
#include <QStringList>

namespace tavil::quick {

struct QuickTools;

// The Quick window's renames of dropped paths, each in its own folder; they
// never replace an existing entry. Both ask their texts in input boxes and
// forget the collection when they are done.

// Gives every dropped file (not folder) a new extension.
void changeExtension(QuickTools& tools, const QStringList& collection);
// Replaces a text in the names of the dropped files (filesMode) or of the
// dropped folders.
void replaceInNames(QuickTools& tools, const QStringList& collection, bool filesMode);

// The texts the two operations show.
namespace texts {
inline const QString kExtTitle = QStringLiteral(u"拡張子変更");
inline const QString kExtPrompt = QStringLiteral(u"変更後の拡張子を入力して下さい。");
inline const QString kReplaceTitle = QStringLiteral(u"文字列置換");
inline const QString kSearchPrompt = QStringLiteral(u"検索する文字列を入力して下さい。");
inline const QString kReplacementPrompt = QStringLiteral(u"置換後の文字列を入力して下さい。");
inline const QString kCancelQuestion = QStringLiteral(u"キャンセルを押しましたか？");
inline const QString kCancelTitle = QStringLiteral("Cancel?");
inline const QString kRefused = QStringLiteral(u"ﾌｧｲﾙ名には次の文字は使えません。\r\n        \\ / : , ; * ?\" < > |");
// The clash message: the new path, then the old one.
QString clashText(const QString& newPath, const QString& oldPath);
// A new name the file system can't hold, named with its bytes visible.
QString tooLongText(const QString& newName, bool isFolder);
} // namespace texts

} // namespace tavil::quick
