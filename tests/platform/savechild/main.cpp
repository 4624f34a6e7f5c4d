// Saves the settings file and stops for good just before the save's rename,
// so the settings tests can kill it there, as a program killed mid-save.
// Writes "r" to standard output when it has stopped.
//
//   tavil_savechild <settings file> <value of Setting/Dir>

#include "platform/settingsstore.h"

#include <QString>

#include <cstdio>
#include <cstring>

#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: tavil_savechild <settings file> <value>\n");
        return 2;
    }
    tavil::platform::QtSettingsStore store(QString::fromLocal8Bit(argv[1]), [](const char* call, const QString&) {
        if (std::strcmp(call, "replace") == 0) {
            (void)::write(STDOUT_FILENO, "r", 1);
            for (;;)
                ::pause();
        }
        return 0;
    });
    store.write(QStringLiteral("Setting"), QStringLiteral("Dir"), QString::fromLocal8Bit(argv[2]));
    store.sync();
    return 1; // the save went through: it was to stop before the rename
}
