#pragma once

#include <QString>
#include <QStringView>

namespace tavil::platform {

// A name as it will be created on disk: trailing "." and " " dropped, as the
// program has always relied on when it builds base + "." + "".
QString diskName(const QString& name);

enum class NameVerdict {
    Ok,
    LeaveAlone, // empty, "." or ".." once trailing dots are dropped
    Bad,        // holds "/", NUL, another control character or half a character (error 52)
};

// Judges a new bare file name before any file is touched.
NameVerdict checkNewName(QStringView name);

// A name as the user is shown it: control characters (line breaks a list may
// hold) as their visible pictures, so a message or a log line shows where
// they are and a name cannot start a line of its own; a byte that is not
// UTF-8 as "\xE9"; half a character as "\uD83D". Never a replacement
// character.
QString visibleName(const QString& name);

// Joins a folder and a name with exactly one "/".
QString joinPath(const QString& folder, const QString& name);
// The folder text with one closing "/" ("/" stays "/").
QString withTrailingSeparator(const QString& folder);

} // namespace tavil::platform
