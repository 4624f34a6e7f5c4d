// How the main window answers during a long run: 100,000 files get a new
// extension through the start button while a timer asks for the event loop
// every 5 ms. Reports the longest the window went without a turn of its
// event loop (so without repainting), and how long the abort button took to
// stop the run and give the window back once pressed.
//
//   runresponsebench [N [folder]]   (defaults: 100000 files in /dev/shm)

#include "bench/benchsupport.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/tabpages.h"
#include "platform/clock.h"
#include "platform/gui/desktop.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

using namespace tavil;

namespace {

// Answers OK to the confirmation and every message.
class OkDialogs final : public platform::Dialogs {
public:
    platform::MsgButton msgBox(const QString&, const QString&, int) override { return platform::MsgButton::Ok; }
    QString inputBox(const QString&, const QString&, const QString& def) override { return def; }
};

class QuietDesktop final : public platform::Desktop {
public:
    void beep() override {}
    bool openUrl(const QUrl&) override { return false; }
    QString pickFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString where = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/dev/shm");
    QTemporaryDir dir(where + QStringLiteral("/runresponsebench-XXXXXX"));
    if (!dir.isValid() || n <= 0) {
        std::fprintf(stderr, "usage: runresponsebench [N [folder]]\n");
        return 2;
    }
    for (int i = 0; i < n; ++i) {
        const QByteArray path = QFile::encodeName(dir.path()) + "/photo" + QByteArray::number(i).rightJustified(6, '0') + ".jpg";
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 || ::close(fd) != 0)
            return 1;
    }

    platform::LinuxFileSystem fs;
    platform::MemorySettingsStore store;
    store.write(QStringLiteral("Setting"), QStringLiteral("Dir"), dir.path());
    store.write(QStringLiteral("ActionSetting"), QStringLiteral("LogFile"), QStringLiteral("False"));
    OkDialogs dialogs;
    platform::SystemClock clock;
    QuietDesktop desktop;
    platform::SystemVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, dir.path() + QStringLiteral("/errlog"),
                                dir.path()};
    mainwin::Form1 form(services, QString());
    form.Form_Load();
    form.Timer1_Timer();
    form.show();
    form.tabs().selectTab(2);
    form.tabs().Text8->setEditText(QStringLiteral("jpeg"));

    // The longest stretch without a turn of the event loop while the run works.
    QElapsedTimer clockSinceTick;
    qint64 longestGapNs = 0;
    QTimer ticker;
    ticker.setInterval(5);
    bool runReturned = false; // the pause after it is timed from the abort on
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (clockSinceTick.isValid() && !runReturned)
            longestGapNs = std::max(longestGapNs, clockSinceTick.nsecsElapsed());
        clockSinceTick.restart();
    });

    // Abort in the middle of the work, and see how long it takes to stop.
    QElapsedTimer sinceAbort;
    QTimer::singleShot(300, [&] {
        sinceAbort.start();
        form.Command12->click();
    });
    QElapsedTimer run;
    QTimer::singleShot(0, [&] {
        ticker.start();
        run.start();
        form.Command4->click(); // returns when the run has ended
        runReturned = true;
        // The window is back once its event loop has handled what the run
        // left pending (the file list read again is laid out and painted).
        bool back = false;
        QTimer::singleShot(0, [&back] { back = true; });
        while (!back)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const double stopMs = sinceAbort.isValid() ? sinceAbort.nsecsElapsed() / 1e6 : -1;
        ticker.stop();
        std::printf("runresponsebench: %d files in %s\n", n, qPrintable(dir.path()));
        int renamed = 0;
        QList<platform::DirEntry> entries;
        (void)fs.listDir(dir.path(), &entries);
        for (const platform::DirEntry& e : std::as_const(entries))
            renamed += e.name.endsWith(QStringLiteral(".jpeg")) ? 1 : 0;
        std::printf("run %.3f s, %d of %d files renamed before the abort; longest time without repainting while it worked %.1f ms; "
                    "from the abort button to the window's return %.1f ms\n",
                    run.nsecsElapsed() / 1e9, renamed, n, longestGapNs / 1e6, stopMs);
        QCoreApplication::exit(longestGapNs < 100'000'000 && stopMs >= 0 && stopMs < 500 && renamed < n ? 0 : 3);
    });
    return app.exec();
}
