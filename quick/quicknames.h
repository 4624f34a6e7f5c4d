#pragma once

#include <QString>
#include <QStringList>

// The Quick window's rules for names, prompts and answers, apart from any
// window or disk.
namespace tavil::quick {

// The modes of the toolbar's three buttons.
enum class QuickMode { Files, Folders, Delete };

// What an answer of the numbered menu asks for.
enum class MenuAction { None, ChangeExtension, Replace, Delete, OpenMain };

// The characters a new extension or replacement text can't hold.
inline const QString kRefusedCharacters = QStringLiteral("\\/:,;*?<>|\"");
bool hasRefusedCharacter(const QString& text);

// The extension as it is appended: "." in front unless empty or already there.
QString dottedExtension(const QString& answer);

// The path with its name cut before the first "." of the name (the folders
// stay whole) and the extension appended: "/a.b/c.tar.gz" + ".zip" gives
// "/a.b/c.zip".
QString pathWithExtension(const QString& path, const QString& dottedExtension);

// The new name of a replacement. Files: only the part before the first "."
// is searched, so an extension never changes; folders: the whole name.
QString replacedName(const QString& name, const QString& search, const QString& replacement,
                     bool filesMode);

// The folder part of a path, with its closing "/" ("/a/b" gives "/a/"); the
// whole text when it holds no "/".
QString folderOf(const QString& path);
// The name after the last "/".
QString nameOf(const QString& path);

// The numbered menu: its prompt, and what an answer chooses (a half-width or
// full-width digit, compared as the whole text).
QString menuPrompt(QuickMode mode);
MenuAction menuAction(QuickMode mode, const QString& answer);

// "-q", or any other text than "" and "-p", on the command line opens the
// Quick window in place of the main window. The arguments are the program's
// own, its name first.
bool startsInQuickWindow(const QStringList& arguments);

} // namespace tavil::quick
