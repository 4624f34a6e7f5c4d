// Times what a user waits for when choosing a folder of many files in the
// file browser: FileBrowser::setPath until the file list holds every row,
// has been laid out and has been painted once. Measured on a folder made
// beside this program (the disk) and on one in /dev/shm (memory), each
// seven times; the median is reported, with the folder listing alone beside
// it for comparison.
//
//   filelistbench [N]   (default: 100000 files)

#include "bench/benchsupport.h"
#include "mainwin/filebrowser.h"
#include "platform/clock.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "platform/volumes.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace tavil;

namespace {

constexpr int kRuns = 7;
constexpr double kBudgetSeconds = 0.5;

// Names of the kinds a camera folder holds, in mixed letter case, so that
// the sort has real work to do.
QByteArray nameOf(int i)
{
    static const char* const kStems[] = {"IMG_", "img_", "DSC", "Photo ", "scan-"};
    static const char* const kExts[] = {".JPG", ".jpg", ".png", ".CR2", ".txt"};
    const int scrambled = int((quint64(i) * 7919u) % 1000003u);
    return QByteArray(kStems[i % 5]) + QByteArray::number(scrambled).rightJustified(7, '0') + kExts[(i / 5) % 5];
}

void makeFiles(const QString& folder, int n)
{
    const QByteArray dir = QFile::encodeName(folder);
    for (int i = 0; i < n; ++i) {
        const QByteArray path = dir + '/' + nameOf(i);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0 || ::close(fd) != 0) {
            std::perror(path.constData());
            std::exit(1);
        }
    }
}

struct Figures {
    double median = 0;
    double listing = 0;
};

Figures measure(const QString& where, int n)
{
    QTemporaryDir tmp(where + QStringLiteral("/filelistbench-XXXXXX"));
    if (!tmp.isValid()) {
        std::fprintf(stderr, "can't make a folder in %s\n", qPrintable(where));
        std::exit(1);
    }
    const QString big = tmp.path() + QStringLiteral("/big");
    const QString small = tmp.path() + QStringLiteral("/small");
    QDir().mkdir(big);
    QDir().mkdir(small);
    makeFiles(big, n);
    bench::syncAll();

    platform::LinuxFileSystem fs;
    platform::MemorySettingsStore store;
    bench::OkDialogs dialogs;
    platform::SystemClock clock;
    platform::QtDesktop desktop;
    platform::SystemVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, tmp.path(), tmp.path()};

    QWidget form;
    mainwin::FileBrowser browser(&form, services);
    form.resize(410, 437); // the window's design size at 96 DPI
    browser.layout(6150, 0, 6550);
    form.show();
    QCoreApplication::processEvents();

    std::vector<double> times;
    std::vector<double> listings;
    for (int run = 0; run < kRuns; ++run) {
        if (browser.setPath(small) != platform::Err::None) {
            std::fprintf(stderr, "can't open %s\n", qPrintable(small));
            std::exit(1);
        }
        QCoreApplication::processEvents();

        const double t0 = bench::now();
        const platform::Err err = browser.setPath(big);
        const QPixmap shot = browser.File1->grab();
        const double t1 = bench::now();

        if (err != platform::Err::None || browser.fileCount() != n || shot.isNull()
            || browser.File1->verticalScrollBar()->maximum() <= 0) {
            std::fprintf(stderr, "the list was not filled: error %d, %d rows of %d\n", int(err),
                         browser.fileCount(), n);
            std::exit(1);
        }
        times.push_back(t1 - t0);

        QList<platform::DirEntry> entries;
        const double l0 = bench::now();
        (void)fs.listDir(big, &entries);
        listings.push_back(bench::now() - l0);
    }
    return {bench::median(times), bench::median(listings)};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (n <= 0) {
        std::fprintf(stderr, "usage: filelistbench [N]\n");
        return 2;
    }

    struct Place {
        const char* label;
        QString folder;
    };
    std::vector<Place> places{{"disk", QCoreApplication::applicationDirPath()}};
    if (QDir(QStringLiteral("/dev/shm")).exists())
        places.push_back({"/dev/shm", QStringLiteral("/dev/shm")});

    bool withinBudget = true;
    for (const Place& place : places) {
        const Figures f = measure(place.folder, n);
        std::printf("%-9s %d files: folder shown in %.3f s (median of %d; listing alone %.3f s)\n", place.label, n,
                    f.median, kRuns, f.listing);
        withinBudget = withinBudget && f.median <= kBudgetSeconds;
    }
    std::printf("%s the %.1f s budget\n", withinBudget ? "within" : "OVER", kBudgetSeconds);
    return withinBudget ? 0 : 1;
}
