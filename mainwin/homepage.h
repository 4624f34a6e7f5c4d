#pragma once

#include <QString>

namespace tavil::mainwin {

// Where the program's authors are reached: the About box shows both, the
// Help menu opens the web page.
inline const QString kMailAddress = QStringLiteral("tavil@example.org");
inline const QString kWebAddress = QStringLiteral("https://tavil.example.org");

} // namespace tavil::mainwin
