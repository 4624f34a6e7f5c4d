// A run killed at any moment loses no file and leaves no half-written target
// under a final name. A child program runs the operation over a prepared
// folder and is killed with SIGKILL at a random moment of its run.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Memory-backed when the machine has it: thousands of small files are made
// and checked per run.
QString tempBase()
{
    struct stat st;
    if (::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0)
        return QStringLiteral("/dev/shm/tavil-crash-XXXXXX");
    return QDir::tempPath() + QStringLiteral("/tavil-crash-XXXXXX");
}

QString fileName(int i)
{
    return QStringLiteral("f%1.dat").arg(i, 5, 10, QLatin1Char('0'));
}

bool writeFile(const QString& path, const QByteArray& data)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, data.constData(), data.size()) == data.size();
    return ::close(fd) == 0 && ok;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

struct Killed {
    int pumpsSeen = 0;
    bool bySignal = false;
    int exitCode = -1;
};

// Starts the child with its standard output on a pipe, waits until it has
// reported `pumps` turns of its loop (or has ended), lets it run for
// `delayUs` more and kills it.
Killed runAndKill(const std::vector<std::string>& args, int pumps, int delayUs)
{
    Killed result;
    int fds[2];
    if (::pipe(fds) != 0)
        return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(TAVIL_CRASHCHILD));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, TAVIL_CRASHCHILD, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        return result;
    }
    char buf[64];
    while (result.pumpsSeen < pumps) {
        const ssize_t got = ::read(fds[0], buf, std::min<size_t>(sizeof buf, pumps - result.pumpsSeen));
        if (got <= 0)
            break; // the child ended first
        result.pumpsSeen += static_cast<int>(got);
    }
    if (delayUs > 0)
        ::usleep(delayUs);
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(fds[0]);
    result.bySignal = WIFSIGNALED(status);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class CrashTest : public ::testing::Test {
protected:
    CrashTest() : dir(tempBase()), rng(std::random_device{}()) {}

    QTemporaryDir dir;
    std::mt19937 rng;
};

// Renaming in place: every file is found under exactly one of its two names
// (old or new) with its own content.
TEST_F(CrashTest, KilledRenameRunLosesNoFile)
{
    ASSERT_TRUE(dir.isValid());
    constexpr int kFiles = 10000;
    for (int round = 0; round < 3; ++round) {
        const QString folder = dir.path() + QStringLiteral("/r%1").arg(round);
        ASSERT_TRUE(QDir().mkpath(folder));
        for (int i = 0; i < kFiles; ++i)
            ASSERT_TRUE(writeFile(folder + u'/' + fileName(i), "file " + QByteArray::number(i)));

        // About 500 turns of the loop (one per 20 files): kill somewhere in
        // the first nine tenths, a little after a turn.
        const int pumps = std::uniform_int_distribution<int>(1, 450)(rng);
        const int delayUs = std::uniform_int_distribution<int>(0, 500)(rng);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(pumps)
                     + " turns + " + std::to_string(delayUs) + " us");
        const Killed k = runAndKill({"addnum", folder.toStdString(), std::to_string(kFiles)}, pumps, delayUs);
        ASSERT_TRUE(k.bySignal || k.exitCode == 0) << "child exit " << k.exitCode;

        QSet<QString> seen;
        int renamed = 0;
        for (int i = 0; i < kFiles; ++i) {
            const QString oldName = fileName(i);
            const QString newName = QStringLiteral("f%1_%2.dat").arg(i, 5, 10, QLatin1Char('0')).arg(i, 5, 10, QLatin1Char('0'));
            const bool hasOld = QFile::exists(folder + u'/' + oldName);
            const bool hasNew = QFile::exists(folder + u'/' + newName);
            ASSERT_NE(hasOld, hasNew) << oldName.toStdString() << " old " << hasOld << " new " << hasNew;
            const QString name = hasOld ? oldName : newName;
            ASSERT_EQ(readFile(folder + u'/' + name), "file " + QByteArray::number(i)) << name.toStdString();
            seen.insert(name);
            renamed += hasNew ? 1 : 0;
        }
        // Nothing else: no stray or temporary entry.
        const QStringList all = entries(folder);
        EXPECT_EQ(all.size(), kFiles);
        for (const QString& e : all)
            EXPECT_TRUE(seen.contains(e)) << "stray entry " << e.toStdString();
        RecordProperty("round" + std::to_string(round) + "Renamed", renamed);
        QDir(folder).removeRecursively();
    }
}

// Copying: every target under a final name is complete and identical to its
// source, the sources are untouched, and nothing half-written is left under
// a name of the run.
TEST_F(CrashTest, KilledCopyRunLeavesNoPartialTarget)
{
    ASSERT_TRUE(dir.isValid());
    constexpr int kFiles = 1000;
    for (int round = 0; round < 3; ++round) {
        const QString src = dir.path() + QStringLiteral("/s%1").arg(round);
        const QString out = dir.path() + QStringLiteral("/o%1").arg(round);
        ASSERT_TRUE(QDir().mkpath(src));
        ASSERT_TRUE(QDir().mkpath(out));
        // Sizes up to 128 KiB, so that the kill often falls inside a copy.
        std::vector<QByteArray> contents(kFiles);
        std::uniform_int_distribution<int> size(0, 128 * 1024);
        for (int i = 0; i < kFiles; ++i) {
            QByteArray data = "file " + QByteArray::number(i) + '\n';
            const int n = size(rng);
            data.reserve(data.size() + n);
            for (int j = 0; j < n; ++j)
                data.append(static_cast<char>((i * 131 + j * 7) & 0xff));
            contents[i] = data;
            ASSERT_TRUE(writeFile(src + u'/' + fileName(i), data));
        }

        const int pumps = std::uniform_int_distribution<int>(1, 45)(rng);
        const int delayUs = std::uniform_int_distribution<int>(0, 2000)(rng);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(pumps)
                     + " turns + " + std::to_string(delayUs) + " us");
        const Killed k = runAndKill({"copy", src.toStdString(), out.toStdString(), std::to_string(kFiles)},
                                    pumps, delayUs);
        ASSERT_TRUE(k.bySignal || k.exitCode == 0) << "child exit " << k.exitCode;

        for (int i = 0; i < kFiles; ++i)
            ASSERT_EQ(readFile(src + u'/' + fileName(i)), contents[i]) << "source " << i;
        QSet<QString> finalNames;
        for (int i = 0; i < kFiles; ++i)
            finalNames.insert(fileName(i));
        int copied = 0, temporaries = 0;
        for (const QString& e : entries(out)) {
            // Where a folder cannot hold unnamed files, the copy is written
            // under a hidden temporary name first; one may stay behind after
            // a kill, but never under a name of the run.
            if (e.startsWith(QStringLiteral(".tavil-")) && e.endsWith(QStringLiteral(".tmp"))) {
                ++temporaries;
                continue;
            }
            ASSERT_TRUE(finalNames.contains(e)) << "entry that is no target of the run: " << e.toStdString();
            const int i = e.mid(1, 5).toInt();
            ASSERT_EQ(readFile(out + u'/' + e), contents[i]) << "partial or wrong target " << e.toStdString();
            ++copied;
        }
        EXPECT_LE(temporaries, 1);
        RecordProperty("round" + std::to_string(round) + "Copied", copied);
        QDir(src).removeRecursively();
        QDir(out).removeRecursively();
    }
}

} // namespace
