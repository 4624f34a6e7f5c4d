#pragma once

#include "quick/quicknames.h"

#include <QIcon>

namespace tavil::quick {

// The pictures of the mode buttons, drawn rather than shipped: a sheet of
// paper, a folder, a sheet struck through.
QIcon modeIcon(QuickMode mode);

} // namespace tavil::quick
