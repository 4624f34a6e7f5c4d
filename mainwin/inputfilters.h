#pragma once

#include <QString>

class QWidget;

// The typing rules of the windows' boxes. Each rule looks at the characters
// typed (what a key press would insert), so editing keys (Backspace, the
// arrows, Delete) keep working; a paste is not filtered. The box is a
// QLineEdit or an editable QComboBox.
namespace tavil::mainwin::filters {

// The characters of `refused` can't be typed.
void refuseCharacters(QWidget* box, const QString& refused);
// Only the digits 0 to 9 can be typed; the input method is turned off, so
// full-width digits can't come in through it either.
void digitsOnly(QWidget* box);
// Nothing can be typed.
void refuseAllKeys(QWidget* box);
// The whole text is selected when the box gets the focus, so that typing
// replaces it.
void selectAllOnFocus(QWidget* box);

// The sets the windows refuse.
inline const QString kNameCharacters = QStringLiteral("\"*/:;<>?\\|");      // 34 42 47 58 59 60 62 63 92 124
inline const QString kPatternCharacters = QStringLiteral("\",/:<>?\\|");    // 34 44 47 58 60 62 63 92 124

} // namespace tavil::mainwin::filters
