#pragma once

#include "platform/errors.h"

#include <QString>
#include <QtGlobal>

namespace tavil::platform {
class SettingsStore;
}

// Every section and key of the per-user settings store. Every value is text;
// readers convert it.
namespace tavil::support::settings {

// The count of every stored list; its entries are the list's prefix followed
// by the index counted from 0.
inline constexpr char kCountKey[] = "All";

// Main window.
namespace Setting {
inline constexpr char Section[] = "Setting";
inline constexpr char Top[] = "Top";
inline constexpr char Left[] = "Left";
inline constexpr char Width[] = "Width";
inline constexpr char Height[] = "Height";
inline constexpr char Dir[] = "Dir";
inline constexpr char TabStrip[] = "TabStrip";
inline constexpr char Digit[] = "Digit";
inline constexpr char AddNum[] = "AddNum";
inline constexpr char NumShape[] = "NumShape";
// Twips used when a stored geometry is out of range.
inline constexpr int FallbackTop = 0;
inline constexpr int FallbackLeft = 0;
inline constexpr int FallbackWidth = 6150;
inline constexpr int FallbackHeight = 6550;
} // namespace Setting

// Copy tab.
namespace FileCopy {
inline constexpr char Section[] = "FileCopy";
inline constexpr char NameL[] = "NameL";
inline constexpr char NameR[] = "NameR";
inline constexpr char Num[] = "Num";
inline constexpr char OptCopy[] = "OptCopy";
inline constexpr char Create[] = "Create";
inline constexpr char Write[] = "Write";
inline constexpr char Size[] = "Size";
inline constexpr char StartNum[] = "StartNum";
} // namespace FileCopy

// Options.
namespace ActionSetting {
inline constexpr char Section[] = "ActionSetting";
inline constexpr char PrBar[] = "PrBar";
inline constexpr char Hidden[] = "Hidden";
inline constexpr char System[] = "System";
inline constexpr char Sorted[] = "Sorted";
inline constexpr char Clear[] = "Clear";
inline constexpr char FileDouble[] = "FileDouble";
inline constexpr char FileDouble2[] = "FileDouble2";
inline constexpr char TimeMeasure[] = "TimeMeasure";
inline constexpr char LogFile[] = "LogFile";
inline constexpr char AutoComp[] = "AutoComp";
} // namespace ActionSetting

// Stored lists.
namespace Dir { // folder shortcuts
inline constexpr char Section[] = "Dir";
inline constexpr char Prefix[] = "Dir";
} // namespace Dir
namespace FilePatt {
inline constexpr char Section[] = "FilePatt";
inline constexpr char Prefix[] = "Patt";
} // namespace FilePatt
namespace Exp {
inline constexpr char Section[] = "Exp";
inline constexpr char Prefix[] = "Exp";
} // namespace Exp
namespace FileDiv { // import separators
inline constexpr char Section[] = "FileDiv";
inline constexpr char Prefix[] = "Str";
} // namespace FileDiv
namespace NumSett { // numbering presets
inline constexpr char Section[] = "NumSett";
inline constexpr char CaptionPrefix[] = "Caption";
inline constexpr char SetPrefix[] = "Set";
} // namespace NumSett
namespace TempPatt { // input histories
inline constexpr char Section[] = "TempPatt";
inline constexpr char Prefix[] = "tp";
} // namespace TempPatt
namespace TempExp {
inline constexpr char Section[] = "TempExp";
inline constexpr char Prefix[] = "exp";
} // namespace TempExp
namespace TempName {
inline constexpr char Section[] = "TempName";
inline constexpr char Prefix[] = "Name";
} // namespace TempName
namespace TempEdit {
inline constexpr char Section[] = "TempEdit";
inline constexpr char Prefix[] = "str";
} // namespace TempEdit

// Quick window.
namespace QuickPos {
inline constexpr char Section[] = "QuickPos";
inline constexpr char Left[] = "Left";
inline constexpr char Top[] = "Top";
inline constexpr char Height[] = "Height";
inline constexpr char Width[] = "Width";
inline constexpr char tlBar[] = "tlBar";
inline constexpr char Trash[] = "Trash";
} // namespace QuickPos

// Numbered-folder dialog.
namespace NumDir {
inline constexpr char Section[] = "NumDir";
inline constexpr char strL[] = "strL";
inline constexpr char strR[] = "strR";
inline constexpr char Num1[] = "Num1";
inline constexpr char Num2[] = "Num2";
inline constexpr char Format[] = "Format";
inline constexpr char Up[] = "Up";
inline constexpr char Pice[] = "Pice";
inline constexpr char Opt[] = "Opt";
} // namespace NumDir

// "True" or "False" in any letter case, or a number (0 is False, any other
// True), blanks around it allowed. Anything else is false with
// Err::TypeMismatch in *err.
bool textToBool(const QString& text, platform::Err* err);
// "True" or "False".
QString boolToText(bool value);

// The option flags of section ActionSetting.
struct OptionFlags {
    bool keepList = true;     // Clear
    bool fileDouble = false;  // FileDouble
    bool fileDouble2 = false; // FileDouble2
    bool timeMeasure = false; // TimeMeasure
    bool logFile = true;      // LogFile
    bool autoComp = true;     // AutoComp
};

// A flag whose stored text does not convert reads as the key's default, so
// one bad value does not cost the user the other options.
OptionFlags loadOptionFlags(platform::SettingsStore& store);
void saveOptionFlags(platform::SettingsStore& store, const OptionFlags& flags);

// A stored window measure in twips, or the fallback when it is 45000 or more,
// below 0 or beyond the screen's extent in that direction (equal to it is
// still used).
int validGeometry(qint64 stored, int screenExtent, int fallback);

} // namespace tavil::support::settings
