#pragma once

#include "platform/errors.h"

#include <QString>
#include <QStringList>

namespace tavil::platform {
class SettingsStore;
}

// The numbering presets as the settings store keeps them (section NumSett):
// a count under "All", the names under "Caption0".."Caption9" and the
// records under "Set0".."Set9", always dense from index 0.
namespace tavil::mainwin::numsett {

inline constexpr int kCapacity = 10;
inline constexpr int kFieldCount = 10;

// What a record holds: the numbering page's fields, as texts exactly as they
// stand in the boxes.
struct Fields {
    QString digits;              // Text6
    QString step;                // Text7
    QString unifiedName;         // Text4
    QString prefix;              // Text1
    QString startNumber;         // Text2
    QString suffix;              // Text3
    QString unifiedExtension;    // Text5
    bool unifyName = false;      // Check5
    bool unifyExtension = false; // Check6
    int shape = 1;               // 1 Option1, 2 Option2, 3 Option3
};

// The record a missing "Set" key stands for: ten empty fields.
QString emptyRecord();

// Ten fields joined by ",". A field's own "," is written "%2C" and its "%"
// "%25", so a comma typed in a name can't split the field and shift the
// ones after it; a record without "%" reads as it always did.
QString toRecord(const Fields& fields);
// Fields beyond the tenth are ignored, missing ones are empty. The check
// boxes are ticked only by a field whose value is the number 1; the shape is
// 1 or 2 by its number, 3 for anything else.
Fields fromRecord(const QString& record);

// The texts of a record's fields, split at "," and unescaped; at most ten.
QStringList splitRecord(const QString& record);
QString escapeField(const QString& text);
QString unescapeField(const QString& text);

// The number of presets. A count stored as "" is written back as "0"; a
// count beyond the capacity is held to it, a negative one to 0. A count
// that is not a number reads as 0 with Err::TypeMismatch in *err.
int count(platform::SettingsStore& store, platform::Err* err = nullptr);
QString caption(platform::SettingsStore& store, int index);
QString record(platform::SettingsStore& store, int index);
// The names of the presets there are, index 0 first.
QStringList captions(platform::SettingsStore& store);

// Stores a preset after the last one: its name, then the count, then its
// record. The index it got; -1 (nothing written) when the store is full.
int append(platform::SettingsStore& store, const QString& name, const QString& record);
// Removes preset index; the later ones move down one place. False (nothing
// changes) when there is no such preset.
bool remove(platform::SettingsStore& store, int index);

} // namespace tavil::mainwin::numsett
