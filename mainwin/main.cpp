#include "mainwin/form1.h"
#include "platform/clock.h"
#include "platform/gui/desktop.h"
#include "platform/gui/qtdialogs.h"
#include "platform/gui/services.h"
#include "platform/linuxfilesystem.h"
#include "platform/qttexts.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"
#include "quick/form4.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tavil"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tavil"));
    // Before any window of either kind: Qt's own texts and the locale's in
    // Japanese (Qt's texts in English when their translation is missing).
    tavil::platform::installQtJapanese(app);

    using namespace tavil;
    platform::LinuxFileSystem fs;
    platform::QtSettingsStore store;
    platform::QtDialogs dialogs;
    // A settings file that can't be read or written is told once.
    store.reportTo(&dialogs);
    platform::SystemClock clock;
    platform::QtDesktop desktop;
    platform::SystemVolumes volumes;
    platform::Services services{fs,
                                store,
                                dialogs,
                                clock,
                                desktop,
                                volumes,
                                platform::defaultErrlogFolder(),
                                QDir::homePath()};

    // Qt has taken its own options out already; the rest is the program's
    // command line, compared exactly.
    const QString commandLine = QCoreApplication::arguments().mid(1).join(u' ');
    mainwin::Form1 form(services, commandLine);
    dialogs.setParent(&form);
    QObject::connect(&form, &mainwin::Form1::ended, &app, [] { QCoreApplication::exit(0); });
    // "-q" or any other argument opens the Quick window in place of the main
    // window; it goes on to the main window only when asked to.
    form.runQuickWindow = [&] { return quick::runQuickWindow(services, false, &form).openMainWindow; };
    form.setQuickWindowOpener([&] { (void)quick::runQuickWindow(services, true, &form); });
    if (!form.Form_Load())
        return 0;
    form.show();
    return app.exec();
}
