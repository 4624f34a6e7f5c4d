#include "bench/benchsupport.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tavil::bench {

platform::MsgButton OkDialogs::msgBox(const QString& text, const QString& title, int)
{
    std::fprintf(stderr, "unexpected message [%s] %s\n", title.toUtf8().constData(), text.toUtf8().constData());
    ++shown;
    return platform::MsgButton::Ok;
}

QString OkDialogs::inputBox(const QString&, const QString&, const QString& def)
{
    return def;
}

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int runCommand(const QStringList& argv, const QString& folder)
{
    const QString program = QStandardPaths::findExecutable(argv.value(0));
    if (program.isEmpty())
        return -1;
    std::vector<QByteArray> bytes;
    for (const QString& a : argv)
        bytes.push_back(a.toUtf8());
    std::vector<char*> args;
    for (QByteArray& b : bytes)
        args.push_back(b.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray dir = QFile::encodeName(folder);
    posix_spawn_file_actions_addchdir_np(&actions, dir.constData());
    pid_t pid = 0;
    const QByteArray path = QFile::encodeName(program);
    const int e = posix_spawn(&pid, path.constData(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (e != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool onPath(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

void syncAll()
{
    ::sync();
}

long peakMiB()
{
    struct rusage ru {};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss / 1024; // KiB on Linux
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

QByteArray oldPhotoName(int i)
{
    return "photo" + QByteArray::number(i).rightJustified(6, '0') + ".jpg";
}

QByteArray newPhotoName(int i)
{
    return "photo" + QByteArray::number(i).rightJustified(6, '0') + ".jpeg";
}

void makePhotos(const QByteArray& folder, int n)
{
    ::mkdir(folder.constData(), 0755);
    for (int i = 0; i < n; ++i) {
        const int fd = ::open((folder + '/' + oldPhotoName(i)).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 || ::close(fd) != 0) {
            std::perror("create");
            std::exit(1);
        }
    }
    syncAll();
}

} // namespace tavil::bench
