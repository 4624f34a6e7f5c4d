#pragma once

#include <QString>

namespace tavil::platform {

// A name as it will be created on disk: trailing "." and " " dropped, as the
// program has always relied on when it builds base + "." + "".
QString diskName(const QString& name);

enum class NameVerdict {
    Ok,
    LeaveAlone, // empty, "." or ".." once trailing dots are dropped
    Bad,        // holds "/", NUL or another control character (error 52)
};

// Judges a new bare file name before any file is touched.
NameVerdict checkNewName(const QString& name);

// Control characters (line breaks a list may hold) turned into their
// visible pictures, so a message shows where they are.
QString visibleName(const QString& name);

// Joins a folder and a name with exactly one "/".
QString joinPath(const QString& folder, const QString& name);
// The folder text with one closing "/" ("/" stays "/").
QString withTrailingSeparator(const QString& folder);

} // namespace tavil::platform
