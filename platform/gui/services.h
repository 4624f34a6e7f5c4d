#pragma once

#include <QString>

namespace tavil::platform {

class Clock;
class Desktop;
class Dialogs;
class FileSystem;
class SettingsStore;
class Volumes;

// Everything the windows reach outside themselves, made once by main() and
// handed to every window; tests hand in fakes.
struct Services {
    FileSystem& fs;
    SettingsStore& store;
    Dialogs& dialogs;
    Clock& clock;
    Desktop& desktop;
    Volumes& volumes;
    QString errlogFolder;  // where the runs' error logs go
    QString programFolder; // the default start folder (the home folder)
};

// The error logs' folder of the user: $XDG_DATA_HOME/Tavil/errlog
// (~/.local/share/Tavil/errlog when it is unset).
QString defaultErrlogFolder();

} // namespace tavil::platform
