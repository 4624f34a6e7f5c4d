#pragma once

#include <QString>

class QCoreApplication;

namespace tavil::platform {

// Where the system keeps Qt's own translations.
QString qtTranslationsFolder();

// Makes the texts that Qt itself draws (the folder picker, the text boxes'
// right-button menus, the standard buttons) Japanese like the rest of the
// window, whatever the locale. False when the translation is not in folder:
// the program goes on with Qt's English texts.
bool installQtJapanese(QCoreApplication& app, const QString& folder = qtTranslationsFolder());

} // namespace tavil::platform
