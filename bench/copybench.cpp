// Times a copy run of the copy tab (FNameCopy) into an output folder against
// `cp -n` of the same files in the same run, on a disk folder.
//
//   copybench [N [KiB [folder]]]   (defaults: 2000 files of 512 KiB, in a
//                                   folder made beside this program)
//
// Each of the two is measured seven times, alternating, with every dirty
// page written out before each measurement; each copy run is compared with
// the cp run just before it, and the median of those ratios is reported.

#include "bench/benchsupport.h"
#include "engine/fnamecopy.h"
#include "engine/runcontext.h"
#include "platform/clock.h"
#include "platform/linuxfilesystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <sys/statfs.h>
#include <unistd.h>

using namespace tavil;

namespace {

QString nameOf(int i)
{
    return QStringLiteral("scan%1.tif").arg(i, 5, 10, QLatin1Char('0'));
}

void makeSources(const QString& folder, int n, int kib)
{
    QDir().mkpath(folder);
    QByteArray data(kib * 1024, Qt::Uninitialized);
    for (int i = 0; i < n; ++i) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(data.data()), data.size() / 4);
        QFile f(folder + u'/' + nameOf(i));
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(f.fileName()));
            std::exit(1);
        }
    }
}

// The copies must all be there, whole; then they go again.
void checkAndEmpty(const QString& folder, int n, qint64 size, const char* who)
{
    for (int i = 0; i < n; ++i) {
        const QString path = folder + u'/' + nameOf(i);
        if (QFileInfo(path).size() != size) {
            std::fprintf(stderr, "%s: %s is missing or incomplete\n", who, qPrintable(path));
            std::exit(1);
        }
        QFile::remove(path);
    }
    if (!QDir(folder).isEmpty()) {
        std::fprintf(stderr, "%s left more than the copies in %s\n", who, qPrintable(folder));
        std::exit(1);
    }
}

double timeCp(const QString& base, const QString& out)
{
    bench::syncAll();
    const double t0 = bench::now();
    const int rc = bench::runCommand({QStringLiteral("sh"), QStringLiteral("-c"),
                                      QStringLiteral("exec cp -n -- src/* \"$0\""), out},
                                     base);
    const double t = bench::now() - t0;
    if (rc != 0) {
        std::fprintf(stderr, "cp -n failed (%d)\n", rc);
        std::exit(1);
    }
    return t;
}

double timeFNameCopy(platform::FileSystem& fs, const QString& src, const QString& out, int n)
{
    bench::OkDialogs dialogs;
    platform::SystemClock clock;
    bench::NoopHost host;
    engine::RunContext ctx{fs, dialogs, clock, host};
    ctx.opts.logFile = false;
    ctx.SourceFolder = src + u'/';
    ctx.outFolder = out + u'/';
    ctx.outputButtonPressed = true;
    for (int i = 0; i < n; ++i)
        ctx.objList << nameOf(i);
    engine::FNameCopyParams p;
    p.CopyMode = true;
    bench::syncAll();
    const double t0 = bench::now();
    const bool stopped = engine::FNameCopy(ctx, p);
    const double t = bench::now() - t0;
    if (stopped || dialogs.shown != 0) {
        std::fprintf(stderr, "FNameCopy stopped\n");
        std::exit(1);
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int kib = argc > 2 ? std::atoi(argv[2]) : 512;
    const QString where = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QCoreApplication::applicationDirPath();
    if (n <= 0 || kib <= 0) {
        std::fprintf(stderr, "usage: copybench [N [KiB [folder]]]\n");
        return 2;
    }
    QTemporaryDir dir(where + QStringLiteral("/copybench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no folder in %s\n", qPrintable(where));
        return 1;
    }
    struct statfs sfs;
    const bool tmpfs = ::statfs(QFile::encodeName(dir.path()).constData(), &sfs) == 0 && sfs.f_type == 0x01021994;
    std::printf("copybench: %d files of %d KiB in %s%s\n", n, kib, qPrintable(dir.path()),
                tmpfs ? " (tmpfs: not a disk)" : "");
    const QString src = dir.path() + QStringLiteral("/src");
    const QString outCp = dir.path() + QStringLiteral("/out-cp");
    const QString outOp = dir.path() + QStringLiteral("/out-op");
    makeSources(src, n, kib);
    QDir().mkpath(outCp);
    QDir().mkpath(outOp);

    // Each copy run is compared with the cp run just before it (the
    // machine's speed drifts on shared hardware), and the middle one of
    // those ratios is reported.
    platform::LinuxFileSystem fs;
    constexpr int kRounds = 7;
    std::vector<double> cp, op, ratios;
    for (int round = 0; round < kRounds; ++round) {
        cp.push_back(timeCp(dir.path(), outCp));
        checkAndEmpty(outCp, n, qint64(kib) * 1024, "cp -n");
        op.push_back(timeFNameCopy(fs, src, outOp, n));
        checkAndEmpty(outOp, n, qint64(kib) * 1024, "FNameCopy");
        ratios.push_back(op.back() / cp.back());
    }
    const double ratio = bench::median(ratios);
    std::printf("FNameCopy %8.3f s   cp -n %8.3f s   ratio %.2f%s\n", bench::median(op), bench::median(cp), ratio,
                ratio <= 1.2 ? "" : "  (over 1.2)");
    return ratio <= 1.2 ? 0 : 3;
}
