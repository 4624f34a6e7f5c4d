// Times three renaming operations over N files against a plain loop of the
// same renameat2 calls, and reports each ratio and the peak memory.
//
//   renamebench [N]        (N defaults to 100000)
//
// Files live in /dev/shm when the machine has it, so the disk does not
// dominate. Every measurement gets freshly made files under the same names;
// each pair (plain loop, operation) is measured seven times in turn, and the
// median of the seven ratios is reported.

#include "bench/benchsupport.h"
#include "engine/addnum.h"
#include "engine/changekaku.h"
#include "engine/fnameconv.h"
#include "engine/runcontext.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/linuxfilesystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tavil;

namespace {

using bench::NoopHost;
using bench::OkDialogs;
using bench::now;

// Names are made when needed, so that the benchmark's own lists do not
// weigh on the peak memory it reports.
struct Case {
    const char* name;
    std::function<QString(int)> oldName;
    std::function<QString(int)> newName; // what the operation must produce
    std::function<bool(engine::RunContext&)> run;
};

void makeFiles(const QString& folder, const Case& c, int n)
{
    QDir().mkpath(folder);
    for (int i = 0; i < n; ++i) {
        const int fd = ::open(QFile::encodeName(folder + u'/' + c.oldName(i)).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 || ::close(fd) != 0) {
            std::perror("create");
            std::exit(1);
        }
    }
}

int countExisting(const QString& folder, const Case& c, int n)
{
    int found = 0;
    struct stat st;
    for (int i = 0; i < n; ++i)
        found += ::lstat(QFile::encodeName(folder + u'/' + c.newName(i)).constData(), &st) == 0 ? 1 : 0;
    return found;
}

// Removes the renamed files by name; faster than walking the folder.
void removeFiles(const QString& folder, const Case& c, int n)
{
    for (int i = 0; i < n; ++i)
        ::unlink(QFile::encodeName(folder + u'/' + c.newName(i)).constData());
    if (::rmdir(QFile::encodeName(folder).constData()) != 0)
        QDir(folder).removeRecursively();
}

double timeOperation(const Case& c, const QString& folder, int n, platform::FileSystem& fs)
{
    makeFiles(folder, c, n);
    OkDialogs dialogs;
    platform::SystemClock clock;
    NoopHost host;
    engine::RunContext ctx{fs, dialogs, clock, host};
    ctx.opts.logFile = false;
    ctx.SourceFolder = folder;
    ctx.objList.reserve(n);
    for (int i = 0; i < n; ++i)
        ctx.objList << c.oldName(i);
    const double t0 = now();
    const bool stopped = c.run(ctx);
    const double t = now() - t0;
    ctx.objList = QStringList();
    const int done = countExisting(folder, c, n);
    if (stopped || dialogs.shown != 0 || done != n) {
        std::fprintf(stderr, "%s: stopped=%d messages=%d renamed=%d of %d\n", c.name, stopped, dialogs.shown,
                     done, n);
        std::exit(1);
    }
    removeFiles(folder, c, n);
    return t;
}

double timePlainLoop(const Case& c, const QString& folder, int n)
{
    makeFiles(folder, c, n);
    std::vector<std::pair<QByteArray, QByteArray>> paths;
    paths.reserve(n);
    for (int i = 0; i < n; ++i)
        paths.emplace_back(QFile::encodeName(folder + u'/' + c.oldName(i)),
                           QFile::encodeName(folder + u'/' + c.newName(i)));
    const double t0 = now();
    for (const auto& [from, to] : paths) {
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
            std::perror("renameat2");
            std::exit(1);
        }
    }
    const double t = now() - t0;
    paths = {};
    removeFiles(folder, c, n);
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    if (n <= 0) {
        std::fprintf(stderr, "usage: renamebench [N]\n");
        return 2;
    }
    struct stat st;
    const bool shm = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0;
    QTemporaryDir dir(shm ? QStringLiteral("/dev/shm/renamebench-XXXXXX")
                          : QDir::tempPath() + QStringLiteral("/renamebench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString folder = dir.path() + QStringLiteral("/work");
    std::printf("renamebench: %d files in %s\n", n, qPrintable(dir.path()));

    const auto num = [](int i) { return QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')); };
    const auto photo = [num](int i) { return QStringLiteral("photo") + num(i) + QStringLiteral(".jpg"); };
    std::vector<Case> cases;
    {
        Case c{"AddNum", photo, [num](int i) { return QStringLiteral("photo") + num(i) + u'_' + num(i + 1) + QStringLiteral(".jpg"); }, {}};
        c.run = [](engine::RunContext& ctx) {
            engine::AddNumParams p;
            p.NumPrefix = QStringLiteral("_");
            p.StartNumber = QStringLiteral("1");
            p.Digits = QStringLiteral("6");
            return engine::AddNum(ctx, p);
        };
        cases.push_back(std::move(c));
    }
    {
        Case c{"ChangeKaku", photo, [num](int i) { return QStringLiteral("photo") + num(i) + QStringLiteral(".jpeg"); }, {}};
        c.run = [](engine::RunContext& ctx) {
            engine::ChangeKakuParams p;
            p.ExtensionMode = engine::ChangeKakuParams::Mode::Change;
            p.NewExtension = QStringLiteral("jpeg");
            return engine::ChangeKaku(ctx, p);
        };
        cases.push_back(std::move(c));
    }
    {
        Case c{"FNameConv", photo, [num](int i) { return QStringLiteral("PHOTO") + num(i) + QStringLiteral(".JPG"); }, {}};
        c.run = [](engine::RunContext& ctx) {
            engine::FNameConvParams p;
            p.ConvertName = true;
            p.NameCase = 1;
            p.ConvertExtension = true;
            p.ExtensionCase = 0;
            return engine::FNameConv(ctx, p);
        };
        cases.push_back(std::move(c));
    }

    platform::LinuxFileSystem fs;
    bool allMet = true;
    for (const Case& c : cases) {
        // Each measurement is compared with the plain loop measured right
        // before it (the machine's speed drifts on shared hardware), and the
        // middle one of those ratios is reported.
        std::vector<double> op, plain, ratios;
        for (int round = 0; round < 7; ++round) {
            plain.push_back(timePlainLoop(c, folder, n));
            op.push_back(timeOperation(c, folder, n, fs));
            ratios.push_back(op.back() / plain.back());
        }
        const double ratio = bench::median(ratios);
        allMet = allMet && ratio <= 1.3;
        std::printf("%-10s  operation %8.3f s  plain renameat2 loop %8.3f s  ratio %.2f%s\n", c.name,
                    bench::median(op), bench::median(plain), ratio, ratio <= 1.3 ? "" : "  (over 1.3)");
        std::fflush(stdout);
    }
    const long peak = bench::peakMiB();
    std::printf("peak memory (ru_maxrss) %ld MiB%s\n", peak, peak < 100 ? "" : "  (100 MiB or more)");
    return allMet && peak < 100 ? 0 : 3;
}
