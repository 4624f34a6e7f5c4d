#pragma once

#include <QString>

class QCoreApplication;

namespace tavil::platform {

// Where the system keeps Qt's own translations.
QString qtTranslationsFolder();

// Makes the texts that Qt itself draws (the folder picker, the text boxes'
// right-button menus, the standard buttons) and those it takes from the
// locale (the calendar's month and day names, the folder picker's dates and
// file types) Japanese like the rest of the window, whatever the session's
// locale. Called once before any window is made. False when the translation
// is not in folder: the program goes on with Qt's English texts, and still
// the Japanese locale.
//
// Only what Qt shows follows the locale: the program's own numbers, dates
// and times are written in fixed formats, and names are compared and
// sorted by the program's own rules.
bool installQtJapanese(QCoreApplication& app, const QString& folder = qtTranslationsFolder());

} // namespace tavil::platform
