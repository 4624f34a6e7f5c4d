#pragma once

#include <QString>

namespace tavil::platform {
class Clock;
class Desktop;
class Dialogs;
class FileSystem;
class SettingsStore;
class Volumes;
} // namespace tavil::platform

namespace tavil::mainwin {

// Everything the windows reach outside themselves, made once by main() and
// handed to every window; tests hand in fakes.
struct Services {
    platform::FileSystem& fs;
    platform::SettingsStore& store;
    platform::Dialogs& dialogs;
    platform::Clock& clock;
    platform::Desktop& desktop;
    platform::Volumes& volumes;
    QString errlogFolder;  // where the runs' error logs go
    QString programFolder; // the default start folder (the home folder)
};

// The error logs' folder of the user: $XDG_DATA_HOME/Tavil/errlog
// (~/.local/share/Tavil/errlog when it is unset).
QString defaultErrlogFolder();

} // namespace tavil::mainwin
