#pragma once

#include "quick/quicknames.h"

#include <QSize>
#include <QStringList>

namespace tavil::platform {
class SettingsStore;
}

namespace tavil::quick {

// What the Quick window keeps between openings (section QuickPos): its outer
// position and size in twips, the mode and the trash box.
struct QuickPos {
    double left = 0;
    double top = 0;
    double width = 1000;
    double height = 1000;
    QuickMode mode = QuickMode::Files;
    bool trash = true;
};

// A stored value that is not a number reads as its default.
QuickPos loadQuickPos(platform::SettingsStore& store);
void saveQuickPos(platform::SettingsStore& store, const QuickPos& pos);

// The place and size held to a screen of that size in twips, by the main
// window's rule: a value below 0, beyond the screen or absurdly large takes
// its default.
QuickPos heldToScreen(QuickPos pos, QSize screenTwips);

// The stored file patterns (section FilePatt) that follow "*.*" in the pattern
// box, empty ones included. A count that is not a number reads as its default.
QStringList loadFilePatterns(platform::SettingsStore& store);

} // namespace tavil::quick
