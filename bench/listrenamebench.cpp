// Times what a user waits for when changing the extension of every file of
// a big folder: the folder listed through the platform's listing, then the
// extension tab's operation (ChangeKaku) over the list, timed as one.
// Measured in the same run against a plain loop of renameat2 calls over
// paths made beforehand, and against mmv doing the same work where it is
// installed.
//
//   listrenamebench [N [folder]]   (defaults: 100000 files, in a folder made
//                                   beside this program)
//
// Each is measured seven times, alternating, on freshly made files; each
// time is compared with the plain loop's just before it, and the median of
// those ratios is reported.

#include "bench/benchsupport.h"
#include "engine/changekaku.h"
#include "engine/runcontext.h"
#include "platform/clock.h"
#include "platform/linuxfilesystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

using namespace tavil;

namespace {

void checkAndRemove(const QByteArray& folder, int n, const char* who)
{
    struct stat st;
    int missing = 0;
    for (int i = 0; i < n; ++i) {
        const QByteArray path = folder + '/' + bench::newPhotoName(i);
        if (::lstat(path.constData(), &st) != 0)
            ++missing;
        ::unlink(path.constData());
    }
    if (missing != 0 || ::rmdir(folder.constData()) != 0) {
        std::fprintf(stderr, "%s: %d of %d files not renamed, or more left behind\n", who, missing, n);
        std::exit(1);
    }
}

std::vector<double> g_listing; // every listing's time

double timePlain(const QByteArray& folder, int n)
{
    bench::makePhotos(folder, n);
    std::vector<std::pair<QByteArray, QByteArray>> paths;
    paths.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        paths.emplace_back(folder + '/' + bench::oldPhotoName(i), folder + '/' + bench::newPhotoName(i));
    const double t0 = bench::now();
    for (const auto& [from, to] : paths) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
            std::perror("renameat2");
            std::exit(1);
        }
    }
    const double t = bench::now() - t0;
    checkAndRemove(folder, n, "plain loop");
    return t;
}

double timeTavil(platform::FileSystem& fs, const QByteArray& folder, int n)
{
    bench::makePhotos(folder, n);
    bench::OkDialogs dialogs;
    platform::SystemClock clock;
    bench::NoopHost host;
    engine::RunContext ctx{fs, dialogs, clock, host};
    ctx.opts.logFile = false;
    ctx.SourceFolder = QFile::decodeName(folder) + u'/';
    engine::ChangeKakuParams p;
    p.NewExtension = QStringLiteral("jpeg");

    const double t0 = bench::now();
    QList<platform::DirEntry> entries;
    if (!fs.listDir(ctx.SourceFolder, &entries).ok()) {
        std::fprintf(stderr, "listing failed\n");
        std::exit(1);
    }
    ctx.objList.reserve(entries.size());
    for (const platform::DirEntry& e : std::as_const(entries)) {
        if (!e.isDir)
            ctx.objList.append(e.name);
    }
    entries = {};
    g_listing.push_back(bench::now() - t0);
    const bool stopped = engine::ChangeKaku(ctx, p);
    const double t = bench::now() - t0;
    if (stopped || dialogs.shown != 0) {
        std::fprintf(stderr, "ChangeKaku stopped\n");
        std::exit(1);
    }
    ctx.objList = {};
    checkAndRemove(folder, n, "ChangeKaku");
    return t;
}

double timeMmv(const QByteArray& folder, int n)
{
    bench::makePhotos(folder, n);
    const double t0 = bench::now();
    const int rc = bench::runCommand({QStringLiteral("mmv"), QStringLiteral("*.jpg"), QStringLiteral("#1.jpeg")},
                                     QFile::decodeName(folder));
    const double t = bench::now() - t0;
    if (rc != 0) {
        std::fprintf(stderr, "mmv failed (%d)\n", rc);
        std::exit(1);
    }
    checkAndRemove(folder, n, "mmv");
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString where = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QCoreApplication::applicationDirPath();
    if (n <= 0) {
        std::fprintf(stderr, "usage: listrenamebench [N [folder]]\n");
        return 2;
    }
    QTemporaryDir dir(where + QStringLiteral("/listrenamebench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no folder in %s\n", qPrintable(where));
        return 1;
    }
    const QByteArray folder = QFile::encodeName(dir.path()) + "/work";
    struct statfs sfs;
    const bool tmpfs = ::statfs(QFile::encodeName(dir.path()).constData(), &sfs) == 0 && sfs.f_type == 0x01021994;
    const bool mmv = bench::onPath(QStringLiteral("mmv"));
    std::printf("listrenamebench: %d files in %s%s%s\n", n, folder.constData(), tmpfs ? " (tmpfs)" : "",
                mmv ? "" : " (mmv not installed)");

    // The machine's speed drifts over seconds on shared hardware, so each
    // measurement is compared with the plain loop measured right before it,
    // and the middle one of those ratios is reported.
    platform::LinuxFileSystem fs;
    constexpr int kRounds = 7;
    std::vector<double> plain, tavil, mmvTimes, tavilRatio, mmvRatio;
    for (int round = 0; round < kRounds; ++round) {
        plain.push_back(timePlain(folder, n));
        tavil.push_back(timeTavil(fs, folder, n));
        tavilRatio.push_back(tavil.back() / plain.back());
        if (mmv) {
            mmvTimes.push_back(timeMmv(folder, n));
            mmvRatio.push_back(mmvTimes.back() / plain.back());
        }
    }
    const double ratio = bench::median(tavilRatio);
    std::printf("list + ChangeKaku %8.3f s   plain renameat2 loop %8.3f s   ratio %.2f%s\n", bench::median(tavil),
                bench::median(plain), ratio, ratio <= 1.3 ? "" : "  (over 1.3)");
    std::printf("  of which the listing %.3f s\n", bench::median(g_listing));
    bool ahead = true;
    if (mmv) {
        const double mmvOverPlain = bench::median(mmvRatio);
        ahead = ratio < mmvOverPlain;
        std::printf("mmv               %8.3f s   ratio %.2f%s\n", bench::median(mmvTimes), mmvOverPlain,
                    ahead ? "" : "  (Tavil not ahead)");
    }
    std::printf("peak memory (ru_maxrss) %ld MiB\n", bench::peakMiB());
    return ratio <= 1.3 && ahead ? 0 : 3;
}
