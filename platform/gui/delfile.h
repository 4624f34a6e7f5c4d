#pragma once

#include "platform/errors.h"

#include <QString>

namespace tavil::platform {

class Desktop;
class Dialogs;
class FileSystem;

// Puts one file or folder (a folder with all it holds) into the trash,
// without questions. True only when it went there; a trash that refuses it
// leaves it where it was, never deleted for good instead. A path that holds
// nothing is answered with a beep and a message. why, when given, says what
// kept the item back.
bool DelFile(FileSystem& fs, Dialogs& dialogs, Desktop& desktop, const QString& path, FsStatus* why = nullptr);

} // namespace tavil::platform
