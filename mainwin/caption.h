#pragma once

#include <QString>

namespace tavil::mainwin {

// "Tavil " & "Ver " & major & "." & minor.
QString mainWindowCaption();

} // namespace tavil::mainwin
