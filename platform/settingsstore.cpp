#include "platform/settingsstore.h"

#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/fsname.h"
#include "platform/names.h"
#include "platform/settingsfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QDir>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavil::platform {

namespace {

// The folder of the user's settings, by its bytes: the environment may hold
// a name that is not UTF-8. A relative XDG_CONFIG_HOME is not used.
QString defaultPath()
{
    QByteArray base = qgetenv("XDG_CONFIG_HOME");
    if (!base.startsWith('/')) {
        base = qgetenv("HOME");
        if (!base.startsWith('/'))
            base = QFile::encodeName(QDir::homePath());
        base += "/.config";
    }
    return nameFromBytes(base) + QStringLiteral("/Tavil/Tavil.conf");
}

QByteArray bytesOf(const QString& path)
{
    QByteArray out;
    if (!nameToBytes(path, &out))
        out.clear();
    return out;
}

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash <= 0)
        return slash == 0 ? QByteArrayLiteral("/") : QByteArrayLiteral(".");
    return path.first(slash);
}

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes now, with the error the close reports (some file systems tell
    // a full disk only here).
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int m_fd;
};

// A save's temporary file is ".<name>.tavil-save-XXXXXX" beside the file it
// takes the place of, and its writer holds a lock on it (flock) until the
// rename. A save cut short (the program killed before the rename) leaves it
// behind; a later save removes those whose lock it can take, as their writers
// are gone: the system drops a lock when the process that took it ends, and
// with the machine's restart. So a file another instance is still writing is
// left alone however long it takes, and no pid or clock is trusted.
//
// Not O_TMPFILE and linkat: linkat cannot replace, so the finished file would
// still need a name of its own before the rename, where a kill leaves it just
// as well; and not every file system offers O_TMPFILE.
constexpr char kTempMark[] = ".tavil-save-";
constexpr qsizetype kTempRandom = 6; // mkostemp's "XXXXXX"

QByteArray tempPrefix(const QByteArray& target)
{
    return '.' + target.sliced(target.lastIndexOf('/') + 1) + kTempMark;
}

bool isTempOf(QByteArrayView name, const QByteArray& prefix)
{
    if (!name.startsWith(prefix) || name.size() != prefix.size() + kTempRandom)
        return false;
    return std::all_of(name.begin() + prefix.size(), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes from folder the temporaries that saves of one file left there.
// Each is locked before it goes, so the writer of one just made, which locks
// it next, finds it gone and makes another (see lockedTemp).
void removeLeftovers(const QByteArray& folder, const QByteArray& prefix)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const int at = ::dirfd(dir);
    while (const dirent* e = ::readdir(dir)) {
        if (!isTempOf(e->d_name, prefix))
            continue;
        Fd fd(::openat(at, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat held {}, named {};
        if (fd.get() < 0 || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode))
            continue;
        // Taken: its writer is at it still. Failing otherwise (a file system
        // without locks): no way to tell, so it stays.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        // The name may have gone to the settings file in the meantime.
        if (::fstatat(at, e->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(held, named))
            (void)::unlinkat(at, e->d_name, 0);
    }
    ::closedir(dir);
}

// Makes the save's temporary file in folder and locks it; returns its
// descriptor, or -1 with errno. Where the file system has no locks it is made
// all the same: a cleaner can't take a lock there either and leaves it alone.
int lockedTemp(const QByteArray& folder, const QByteArray& prefix, QByteArray* temp)
{
    // Another instance's cleaner may take the file between its making and
    // its locking; then it is gone or going, and another is made.
    for (int tries = 0; tries < 8; ++tries) {
        *temp = folder + '/' + prefix + QByteArray(kTempRandom, 'X');
        const int fd = ::mkostemp(temp->data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        struct stat made {}, named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK)
                return fd;
        } else if (::fstat(fd, &made) == 0 && ::lstat(temp->constData(), &named) == 0 && sameFile(made, named)) {
            return fd;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

QString reasonText(const SettingsFailure& f)
{
    switch (f.sysErrno) {
    case EACCES:
    case EPERM:
        if (f.step == u"access")
            return QStringLiteral(u"読み取り専用のﾌｧｲﾙです。");
        return f.reading ? QStringLiteral(u"ﾌｧｲﾙを読み取る権限がありません。")
                         : QStringLiteral(u"書き込む権限がありません。");
    case EROFS:
        return QStringLiteral(u"読み取り専用のﾃﾞｨｽｸです。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral(u"ﾃﾞｨｽｸの空き容量が不足しています。");
    case EISDIR:
        return QStringLiteral(u"同じ名前のﾌｫﾙﾀﾞがあります。");
    case ENOTDIR:
        return QStringLiteral(u"ﾌｫﾙﾀﾞのあるべき所にﾌｧｲﾙがあります。");
    case EIO:
        return QStringLiteral(u"ﾃﾞｨｽｸの読み書きでｴﾗｰが発生しました。");
    case EINVAL:
        return QStringLiteral(u"普通のﾌｧｲﾙではありません。");
    case ENOENT:
        return QStringLiteral(u"ﾌｫﾙﾀﾞが見つかりません。");
    case ELOOP:
        return QStringLiteral(u"ﾘﾝｸが循環しているか、ﾘﾝｸの数が多すぎます。");
    default:
        return errDescription(static_cast<int>(errFromErrno(f.sysErrno))) + QStringLiteral(" (")
               + QString::fromLocal8Bit(std::strerror(f.sysErrno)) + u')';
    }
}

} // namespace

QString settingsFailureTitle()
{
    return QStringLiteral(u"設定ﾌｧｲﾙ");
}

QString settingsFailureText(const SettingsFailure& f)
{
    const QString head = f.reading ? QStringLiteral(u"設定ﾌｧｲﾙを読み込むことができませんでした。")
                                   : QStringLiteral(u"設定ﾌｧｲﾙに書き込むことができませんでした。");
    const QString tail = f.reading ? QStringLiteral(u"このﾌｧｲﾙは書き換えずに残します。今回の設定は保存されません。")
                                   : QStringLiteral(u"今回変更した設定は保存されていません。");
    return head + QStringLiteral("\r\n") + visibleName(f.file) + QStringLiteral("\r\n") + reasonText(f)
           + QStringLiteral("\r\n\r\n") + tail;
}

struct QtSettingsStore::Private {
    QtSettingsStore* q = nullptr;
    QString path;
    settingsfile::Document doc;
    bool dirty = false;
    // A file that is there but could not be read is never written over:
    // what it holds may be all the user has.
    bool readFailed = false;
    std::optional<SettingsFailure> failure;
    Dialogs* dialogs = nullptr;
    bool told = false;
    bool flushQueued = false;
    QObject context; // for the write that follows a change

    int fault(const char* call, const QString& p) const { return q->injectErrno ? q->injectErrno(call, p) : 0; }

    void fail(const char* step, int sysErrno, bool reading)
    {
        if (!failure)
            failure = SettingsFailure{path, QString::fromLatin1(step), sysErrno, reading};
        tell();
    }

    void tell()
    {
        if (!failure || told || !dialogs)
            return;
        told = true;
        dialogs->msgBox(settingsFailureText(*failure), settingsFailureTitle(), MsgStyle::Exclamation);
    }

    void load()
    {
        const QByteArray file = bytesOf(path);
        int e = fault("read", path);
        QByteArray bytes;
        if (e == 0)
            e = readAll(file, &bytes);
        // Nothing there yet is the first start, not a failure; a file in the
        // folder's place shows when the settings are written.
        if (e == ENOENT || e == ENOTDIR)
            return;
        if (e != 0) {
            readFailed = true;
            fail("read", e, true);
            return;
        }
        doc = settingsfile::Document::parse(bytes);
    }

    static int readAll(const QByteArray& file, QByteArray* out)
    {
        if (file.isEmpty())
            return EINVAL;
        Fd fd(::open(file.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
        if (fd.get() < 0)
            return errno;
        struct stat st {};
        if (::fstat(fd.get(), &st) != 0)
            return errno;
        if (S_ISDIR(st.st_mode))
            return EISDIR;
        if (!S_ISREG(st.st_mode))
            return EINVAL; // a pipe or a device is never the settings
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd.get(), buf, sizeof buf);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            if (n == 0)
                return 0;
            out->append(buf, n);
        }
    }

    // Where the links at file lead: the file itself when it is no link, else
    // the end of the chain, which may not exist yet (a dotfiles folder not
    // made or not mounted yet). Each relative target is taken from the
    // folder of the link that holds it, as the system does. Returns 0 or
    // ELOOP (a loop, or a chain longer than the system follows).
    static int chainEnd(const QByteArray& file, QByteArray* end, int* links)
    {
        // Linux follows at most 40 links in a path (glibc's MAXSYMLINKS says
        // 20, which is not what open() does); a longer chain would be one
        // this program writes and then cannot read.
        constexpr int kMaxLinks = 40;
        QByteArray at = file;
        for (*links = 0;; ++*links) {
            struct stat st {};
            // Whatever keeps the path from being looked at (a file in a
            // folder's place) is told by the step that meets it.
            if (::lstat(at.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
                break;
            if (*links == kMaxLinks)
                return ELOOP;
            char target[PATH_MAX];
            const ssize_t n = ::readlink(at.constData(), target, sizeof target);
            if (n < 0)
                return errno;
            if (n == 0 || n >= ssize_t(sizeof target))
                return n == 0 ? ENOENT : ENAMETOOLONG;
            const QByteArray t(target, n);
            at = t.startsWith('/') ? t : folderOf(at) + '/' + t;
        }
        *end = at;
        return 0;
    }

    // The folders on the way to the file, made where they are missing when
    // mayMake, else only looked for.
    int makeFolders(const QByteArray& folder, bool mayMake) const
    {
        if (const int e = fault("folder", nameFromBytes(folder)))
            return e;
        qsizetype from = 1;
        for (;;) {
            const qsizetype slash = folder.indexOf('/', from);
            const QByteArray part = slash < 0 ? folder : folder.first(slash);
            struct stat st {};
            if (::stat(part.constData(), &st) == 0) {
                if (!S_ISDIR(st.st_mode))
                    return ENOTDIR;
            } else if (errno != ENOENT || !mayMake) {
                return errno;
            } else if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) {
                return errno;
            }
            if (slash < 0)
                return 0;
            from = slash + 1;
        }
    }

    static int writeAll(int fd, const QByteArray& data)
    {
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            done += n;
        }
        return 0;
    }

    // Returns the step that failed and its errno, or nullptr.
    const char* write(int* sysErrno) const
    {
        const QByteArray file = bytesOf(path);
        if (file.isEmpty()) {
            *sysErrno = EINVAL;
            return "create";
        }
        // The file at the chain's end is the one rewritten, so every link
        // stays a link, and the temporary file goes beside it: the rename is
        // then within one file system and replaces that file alone.
        QByteArray target;
        int links = 0;
        if ((*sysErrno = chainEnd(file, &target, &links)) != 0)
            return "link";
        const QByteArray folder = folderOf(target);
        // The program's own folder is made on the first start; a folder a
        // link leads to is the user's (a volume not mounted yet, a dotfiles
        // folder somewhere else) and is never made in its stead.
        if ((*sysErrno = makeFolders(folder, links == 0)) != 0)
            return "folder";
        mode_t mode = 0600;
        struct stat st {};
        if (::stat(target.constData(), &st) == 0) {
            if (S_ISDIR(st.st_mode)) {
                *sysErrno = EISDIR;
                return "replace";
            }
            // A file made read-only is not replaced behind the user's back.
            *sysErrno = fault("access", path);
            if (*sysErrno == 0 && ::access(target.constData(), W_OK) != 0)
                *sysErrno = errno;
            if (*sysErrno != 0)
                return "access";
            mode = st.st_mode & 07777;
        }
        const QByteArray prefix = tempPrefix(target);
        removeLeftovers(folder, prefix);
        QByteArray temp;
        *sysErrno = fault("create", path);
        Fd fd(*sysErrno == 0 ? lockedTemp(folder, prefix, &temp) : -1);
        if (fd.get() < 0) {
            if (*sysErrno == 0)
                *sysErrno = errno;
            return "create";
        }
        // The lock lasts until the rename, past the close below: a copy of
        // the descriptor keeps it.
        const Fd lock(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0));
        const char* step = nullptr;
        const QByteArray data = doc.serialize();
        if ((*sysErrno = fault("write", path)) != 0 || (*sysErrno = writeAll(fd.get(), data)) != 0)
            step = "write";
        else if (::fchmod(fd.get(), mode) != 0)
            *sysErrno = errno, step = "write";
        else if ((*sysErrno = fault("sync", path)) != 0 || (::fsync(fd.get()) != 0 && (*sysErrno = errno) != 0))
            step = "sync";
        else if ((*sysErrno = fd.close()) != 0)
            step = "write";
        // Replacing is the point here: the new text takes the old one's
        // place in one step, and a reader sees the one or the other.
        else if ((*sysErrno = fault("replace", path)) != 0
                 || (::rename(temp.constData(), target.constData()) != 0 && (*sysErrno = errno) != 0))
            step = "replace";
        if (step) {
            ::unlink(temp.constData());
            return step;
        }
        Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() >= 0)
            (void)::fsync(dir.get());
        return nullptr;
    }

    void flush(bool tellFailure)
    {
        if (!dirty || readFailed)
            return;
        int e = 0;
        if (const char* step = write(&e)) {
            // What did not reach the file stays in the session: a later
            // write may still succeed.
            if (!failure)
                failure = SettingsFailure{path, QString::fromLatin1(step), e, false};
            if (tellFailure)
                tell();
            return;
        }
        dirty = false;
    }

    void changed()
    {
        dirty = true;
        // Written soon after, as the store always has, so a crash later in
        // the session does not take the change with it.
        if (flushQueued || !QCoreApplication::instance())
            return;
        flushQueued = true;
        QTimer::singleShot(0, &context, [this] {
            flushQueued = false;
            flush(true);
        });
    }
};

QtSettingsStore::QtSettingsStore() : QtSettingsStore(defaultPath()) {}

QtSettingsStore::QtSettingsStore(const QString& path) : QtSettingsStore(path, nullptr) {}

QtSettingsStore::QtSettingsStore(const QString& path, std::function<int(const char*, const QString&)> inject)
    : injectErrno(std::move(inject)), d(std::make_unique<Private>())
{
    d->q = this;
    d->path = path;
    d->load();
}

QtSettingsStore::~QtSettingsStore()
{
    d->dialogs = nullptr;
    d->flush(false);
}

std::optional<QString> QtSettingsStore::value(const QString& section, const QString& key)
{
    return d->doc.value(section, key);
}

void QtSettingsStore::setValue(const QString& section, const QString& key, const QString& text)
{
    if (d->doc.setValue(section, key, text))
        d->changed();
}

void QtSettingsStore::removeKey(const QString& section, const QString& key)
{
    if (d->doc.removeKey(section, key))
        d->changed();
}

void QtSettingsStore::removeSection(const QString& section)
{
    if (d->doc.removeSection(section))
        d->changed();
}

void QtSettingsStore::sync()
{
    d->flush(true);
}

QString QtSettingsStore::path() const
{
    return d->path;
}

std::optional<SettingsFailure> QtSettingsStore::failure() const
{
    return d->failure;
}

void QtSettingsStore::reportTo(Dialogs* dialogs)
{
    d->dialogs = dialogs;
    d->tell();
}

std::optional<QString> MemorySettingsStore::value(const QString& section, const QString& key)
{
    const auto s = sections.constFind(section);
    if (s == sections.constEnd())
        return std::nullopt;
    const auto k = s->constFind(key);
    if (k == s->constEnd())
        return std::nullopt;
    return *k;
}

void MemorySettingsStore::setValue(const QString& section, const QString& key, const QString& text)
{
    sections[section][key] = text;
}

void MemorySettingsStore::removeKey(const QString& section, const QString& key)
{
    const auto s = sections.find(section);
    if (s == sections.end())
        return;
    s->remove(key);
    if (s->isEmpty())
        sections.erase(s);
}

void MemorySettingsStore::removeSection(const QString& section)
{
    sections.remove(section);
}

} // namespace tavil::platform
