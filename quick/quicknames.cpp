#include "quick/quicknames.h"

#include "support/module1.h"

namespace tavil::quick {

bool hasRefusedCharacter(const QString& text)
{
    for (const QChar c : text) {
        if (kRefusedCharacters.contains(c))
            return true;
    }
    return false;
}

QString dottedExtension(const QString& answer)
{
    if (answer.isEmpty() || answer.startsWith(u'.'))
        return answer;
    return u'.' + answer;
}

QString pathWithExtension(const QString& path, const QString& dottedExtension)
{
    const qsizetype nameStart = path.lastIndexOf(u'/') + 1;
    const qsizetype dot = path.indexOf(u'.', nameStart);
    return (dot < 0 ? path : path.left(dot)) + dottedExtension;
}

QString replacedName(const QString& name, const QString& search, const QString& replacement,
                     bool filesMode)
{
    const qsizetype dot = filesMode ? name.indexOf(u'.') : -1;
    if (dot < 0) {
        QString whole = name;
        support::Module1::ReplaceStr(whole, search, replacement);
        return whole;
    }
    QString base = name.left(dot);
    support::Module1::ReplaceStr(base, search, replacement);
    return base + name.mid(dot);
}

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? path : path.left(slash + 1);
}

QString nameOf(const QString& path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString menuPrompt(QuickMode mode)
{
    QStringList lines{QStringLiteral(u"番号を入力して下さい"), QString()};
    switch (mode) {
    case QuickMode::Files:
        lines << QStringLiteral(u"    1： 拡張子を変更する") << QStringLiteral(u"    2： ファイル名を置換する")
              << QStringLiteral(u"    3： Quick Formを閉じてTavilを起動する");
        break;
    case QuickMode::Folders:
        lines << QStringLiteral(u"    1：フォルダ名を置換する") << QStringLiteral(u"    2： Quick Formを閉じてTavilを起動する");
        break;
    case QuickMode::Delete:
        lines << QStringLiteral(u"    1：条件にあったファイルを削除する")
              << QStringLiteral(u"    2： Quick Formを閉じてTavilを起動する");
        break;
    }
    return lines.join(QStringLiteral("\r\n"));
}

namespace {

// 1, 2 or 3 for "1" or "１" and so on; 0 for any other text.
int choiceNumber(const QString& answer)
{
    if (answer.size() != 1)
        return 0;
    const char16_t c = answer.at(0).unicode();
    if (c >= u'1' && c <= u'3')
        return c - u'0';
    if (c >= u'１' && c <= u'３')
        return c - u'０';
    return 0;
}

} // namespace

MenuAction menuAction(QuickMode mode, const QString& answer)
{
    const int n = choiceNumber(answer);
    switch (mode) {
    case QuickMode::Files:
        return n == 1 ? MenuAction::ChangeExtension
             : n == 2 ? MenuAction::Replace
             : n == 3 ? MenuAction::OpenMain
                      : MenuAction::None;
    case QuickMode::Folders:
        return n == 1 ? MenuAction::Replace : n == 2 ? MenuAction::OpenMain : MenuAction::None;
    case QuickMode::Delete:
        return n == 1 ? MenuAction::Delete : n == 2 ? MenuAction::OpenMain : MenuAction::None;
    }
    return MenuAction::None;
}

bool startsInQuickWindow(const QStringList& arguments)
{
    const QString commandLine = arguments.mid(1).join(u' ');
    return !commandLine.isEmpty() && commandLine != QStringLiteral("-p");
}

} // namespace tavil::quick
