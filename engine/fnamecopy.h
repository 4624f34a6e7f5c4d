#pragma once

#include "platform/errors.h"

#include <QString>

#include <optional>

namespace tavil::engine {

struct RunContext;

// The copy tab: copy or move every file of the work list into the output
// folder under its own name; a name already taken there gets a number,
// unless the file there counts as the same file.
struct FNameCopyParams {
    bool CopyMode = true;          // True copy, False move
    bool SkipSameCreation = false; // an equal creation time makes it the same file
    bool SkipSameWrite = false;    // an equal last-write time
    bool SkipSameSize = false;     // an equal size in bytes
    int ClashDigits = 0;           // list index: at least index + 1 digits; -1 = plain number
    QString ClashPrefix;           // between the base name and the number
    QString ClashSuffix;           // between the number and the extension
    QString ClashStart = QStringLiteral("0"); // the first number; its whole part counts
};

// base & prefix & number & suffix & "." & extension, from the old name.
QString clashName(const QString& oldName, const FNameCopyParams& params, qint64 number);

// True when the run stopped early (refused, aborted or a fatal error).
bool FNameCopy(RunContext& ctx, const FNameCopyParams& params);

} // namespace tavil::engine
