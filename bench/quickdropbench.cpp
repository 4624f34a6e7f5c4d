// Times a drop of many files on the Quick window: from the drop until the
// drop handler has returned and the event loop has run once (the window
// answers again), in the files mode and in the delete mode.
//
//   quickdropbench [N]     (N defaults to 10000)
//
// The files are real files in a temporary folder; the drop is a synthetic
// one through the window, as the desktop delivers it. Each mode is measured
// seven times on a fresh window and the median is reported.

#include "bench/benchsupport.h"
#include "platform/clock.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"
#include "quick/form4.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace tavil;

namespace {

class QuietDesktop final : public platform::Desktop {
public:
    void beep() override {}
    bool openUrl(const QUrl&) override { return false; }
    QString pickFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

bool makeFiles(const QString& folder, int n, QList<QUrl>* urls)
{
    if (!QDir().mkpath(folder))
        return false;
    for (int i = 0; i < n; ++i) {
        const QString path = folder + QStringLiteral("/photo_%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        urls->append(QUrl::fromLocalFile(path));
    }
    return true;
}

// Seconds from the drop until the event loop has run once after it.
double timeDrop(platform::Services& services, const QMimeData& mime, bool deleteMode, int expected)
{
    services.store.write(QStringLiteral("QuickPos"), QStringLiteral("tlBar"),
                         deleteMode ? QStringLiteral("Del") : QStringLiteral("True"));
    quick::Form4 window(services, true);
    window.show();
    QApplication::processEvents();
    QWidget* target = window.Toolbar3;
    const QPoint at = target->mapTo(&window, target->rect().center());

    const double start = bench::now();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &drop);
    QApplication::processEvents();
    const double seconds = bench::now() - start;

    if (window.collection().size() != expected) {
        std::fprintf(stderr, "the window took %lld of %d files\n", qint64(window.collection().size()), expected);
        std::exit(1);
    }
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 10000;
    if (n <= 0) {
        std::fprintf(stderr, "usage: quickdropbench [N]\n");
        return 2;
    }
    struct stat st;
    const bool shm = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0;
    QTemporaryDir dir(shm ? QStringLiteral("/dev/shm/quickdropbench-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/quickdropbench-XXXXXX"));
    QList<QUrl> urls;
    if (!dir.isValid() || !makeFiles(dir.path() + QStringLiteral("/drop"), n, &urls)) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    QMimeData mime;
    mime.setUrls(urls);

    platform::LinuxFileSystem fs;
    platform::MemorySettingsStore store;
    bench::OkDialogs dialogs;
    platform::SystemClock clock;
    QuietDesktop desktop;
    platform::SystemVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()};

    std::printf("quickdropbench: %d files in %s\n", n, qPrintable(dir.path()));
    for (const bool deleteMode : {false, true}) {
        std::vector<double> runs;
        for (int i = 0; i < 7; ++i)
            runs.push_back(timeDrop(services, mime, deleteMode, n));
        std::printf("  %-7s mode: drop taken and event loop ran once in %8.2f ms (median of 7)\n",
                    deleteMode ? "delete" : "files", bench::median(runs) * 1000.0);
    }
    return dialogs.shown == 0 ? 0 : 1;
}
