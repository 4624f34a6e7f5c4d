// What a run through the main window costs beyond the engine's own work:
// every file of a folder of N gets a new extension, once by the extension
// operation (ChangeKaku) alone over the same sorted names, once through the
// window's start button (Command4) until the window is back (its event loop
// has handled everything the run left pending: the file list read again and
// repainted). Both are measured in turn on freshly made files, five times,
// and one reading of the folder into the file list is timed in the same
// window after its run.
//
//   windowrunbench [N [folder]]   (defaults: 100000 files, in a folder made
//                                  beside this program)
//
// Reported, as medians: the engine alone, the window run, the listing, the
// window's cost beyond the listing as a ratio to the engine, the longest
// time the event loop waited during the run, the pause at its end (from the
// last turn of the event loop in the run until the window is back) and how
// often the progress picture was drawn and painted.

#include "bench/benchsupport.h"
#include "engine/changekaku.h"
#include "engine/runcontext.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/picturebox.h"
#include "platform/gui/services.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "platform/clock.h"
#include "platform/gui/desktop.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavil;

namespace {

// Checks that every file was renamed, then removes them and the folder.
void checkAndRemove(const QByteArray& folder, int n, const char* what)
{
    int missing = 0;
    for (int i = 0; i < n; ++i)
        missing += ::unlink((folder + '/' + bench::newPhotoName(i)).constData()) == 0 ? 0 : 1;
    if (missing != 0 || ::rmdir(folder.constData()) != 0) {
        std::fprintf(stderr, "%s: %d files not renamed, or the folder holds more\n", what, missing);
        std::exit(1);
    }
    bench::syncAll();
}

// Answers OK to the run's confirmation and counts every other message.
class ConfirmingDialogs final : public platform::Dialogs {
public:
    platform::MsgButton msgBox(const QString& text, const QString& title, int) override
    {
        if (!text.contains(QStringLiteral(u"よろしいですか"))) {
            std::fprintf(stderr, "unexpected message [%s] %s\n", title.toUtf8().constData(), text.toUtf8().constData());
            ++shown;
        }
        return platform::MsgButton::Ok;
    }
    QString inputBox(const QString&, const QString&, const QString& def) override { return def; }
    int shown = 0;
};

class QuietDesktop final : public platform::Desktop {
public:
    void beep() override {}
    bool openUrl(const QUrl&) override { return false; }
    QString pickFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

// Turns the event loop until it has handled everything pending when called.
void untilBack()
{
    bool back = false;
    QTimer::singleShot(0, [&back] { back = true; });
    while (!back)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

double engineAlone(const QString& folder, int n)
{
    bench::makePhotos(QFile::encodeName(folder), n);
    platform::LinuxFileSystem fs;
    bench::OkDialogs dialogs;
    platform::SystemClock clock;
    bench::NoopHost host;
    engine::RunContext ctx{fs, dialogs, clock, host};
    ctx.opts.logFile = false;
    ctx.SourceFolder = folder;
    QList<platform::DirEntry> entries;
    (void)fs.listDir(folder, &entries);
    for (const platform::DirEntry& e : std::as_const(entries))
        ctx.objList << e.name;
    ctx.objList.sort();
    engine::ChangeKakuParams p;
    p.ExtensionMode = engine::ChangeKakuParams::Mode::Change;
    p.NewExtension = QStringLiteral("jpeg");
    const double t0 = bench::now();
    const bool stopped = engine::ChangeKaku(ctx, p);
    const double t = bench::now() - t0;
    if (stopped || dialogs.shown != 0) {
        std::fprintf(stderr, "engine: stopped=%d messages=%d\n", stopped, dialogs.shown);
        std::exit(1);
    }
    ctx.objList = QStringList();
    checkAndRemove(QFile::encodeName(folder), n, "engine");
    return t;
}

// Counts the paints of a widget.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct WindowRound {
    double run = 0;       // click to the window back
    double listing = 0;   // one reading of the folder into the file list
    double longestGap = 0; // the longest wait of the event loop during the run
    double endPause = 0;  // the last turn of the event loop in the run to the window back
    int draws = 0;
    int paints = 0;
};

WindowRound throughWindow(const QString& folder, int n)
{
    bench::makePhotos(QFile::encodeName(folder), n);
    platform::LinuxFileSystem fs;
    platform::MemorySettingsStore store;
    store.write(QStringLiteral("Setting"), QStringLiteral("Dir"), folder);
    store.write(QStringLiteral("ActionSetting"), QStringLiteral("LogFile"), QStringLiteral("False"));
    ConfirmingDialogs dialogs;
    platform::SystemClock clock;
    QuietDesktop desktop;
    platform::SystemVolumes volumes;
    QTemporaryDir errlog;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, errlog.path(), folder};
    WindowRound r;
    {
        mainwin::Form1 form(services, QString());
        form.Form_Load();
        form.Timer1_Timer();
        form.show();
        form.tabs().selectTab(2);
        form.tabs().Text8->setEditText(QStringLiteral("jpeg"));
        untilBack();
        if (form.browser().fileCount() != n) {
            std::fprintf(stderr, "window: the file list shows %d of %d files\n", form.browser().fileCount(), n);
            std::exit(1);
        }
        PaintCounter counter;
        form.status().Picture1->installEventFilter(&counter);
        const int drawsBefore = form.status().gProgressBar.drawCount();

        std::vector<double> ticks;
        ticks.reserve(100000);
        QElapsedTimer clockOfRun;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] { ticks.push_back(clockOfRun.nsecsElapsed() / 1e9); });

        clockOfRun.start();
        ticker.start();
        ticks.push_back(0);
        form.Command4->click(); // returns when the run has ended
        const double returned = clockOfRun.nsecsElapsed() / 1e9;
        untilBack();
        r.run = clockOfRun.nsecsElapsed() / 1e9;
        ticker.stop();
        double lastInRun = 0;
        for (size_t i = 1; i < ticks.size() && ticks[i] < returned; ++i) {
            r.longestGap = std::max(r.longestGap, ticks[i] - ticks[i - 1]);
            lastInRun = ticks[i];
        }
        r.endPause = r.run - lastInRun;
        r.draws = form.status().gProgressBar.drawCount() - drawsBefore;
        r.paints = counter.paints;
        if (dialogs.shown != 0) {
            std::fprintf(stderr, "window: a message was shown\n");
            std::exit(1);
        }

        std::vector<double> listings;
        for (int i = 0; i < 3; ++i) {
            const double t0 = bench::now();
            form.browser().refreshFiles();
            untilBack();
            listings.push_back(bench::now() - t0);
        }
        r.listing = bench::median(listings);
        form.status().Picture1->removeEventFilter(&counter);
        form.hide();
    }
    checkAndRemove(QFile::encodeName(folder), n, "window");
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString where = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath();
    QTemporaryDir dir(where + QStringLiteral("/windowrunbench-XXXXXX"));
    if (!dir.isValid() || n <= 0) {
        std::fprintf(stderr, "usage: windowrunbench [N [folder]]\n");
        return 2;
    }
    const QString folder = dir.path() + QStringLiteral("/work");
    std::printf("windowrunbench: %d files in %s\n", n, qPrintable(dir.path()));
    std::fflush(stdout);

    std::vector<double> engine, window, listing, beyond, gaps, ends, draws, paints;
    for (int round = 0; round < 5; ++round) {
        engine.push_back(engineAlone(folder, n));
        const WindowRound w = throughWindow(folder, n);
        window.push_back(w.run);
        listing.push_back(w.listing);
        beyond.push_back((w.run - w.listing) / engine.back());
        gaps.push_back(w.longestGap);
        ends.push_back(w.endPause);
        draws.push_back(w.draws);
        paints.push_back(w.paints);
    }
    const double ratio = bench::median(beyond);
    const double gap = bench::median(gaps);
    const double end = bench::median(ends);
    const double list = bench::median(listing);
    std::printf("engine alone %.3f s  window run %.3f s  one listing into the file list %.3f s\n",
                bench::median(engine), bench::median(window), list);
    std::printf("(window run - listing) / engine alone %.2f%s\n", ratio, ratio <= 1.15 ? "" : "  (over 1.15)");
    std::printf("longest wait of the event loop during the run %.1f ms%s\n", gap * 1e3,
                gap <= 0.05 ? "" : "  (over 50 ms)");
    std::printf("pause at the end of the run %.3f s, %.2f listings%s\n", end, end / list,
                end <= list * 1.1 ? "" : "  (longer than one listing)");
    std::printf("progress picture drawn %.0f times, painted %.0f times\n", bench::median(draws),
                bench::median(paints));
    return ratio <= 1.15 && gap <= 0.05 && end <= list * 1.1 ? 0 : 3;
}
