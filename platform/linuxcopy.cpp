#include "platform/linuxblob.h"
#include "platform/linuxops.h"

#include <QDateTime>
#include <QRandomGenerator>

#include <cerrno>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace tavil::platform::lfs {

namespace {

// A temporary file in the target folder that becomes the target only when
// it is complete.
class TemporaryFile {
public:
    explicit TemporaryFile(const Sys& sys) : m_sys(sys) {}
    ~TemporaryFile() { discard(); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // 0 or errno.
    int create(const Loc& target)
    {
        // An unnamed file vanishes by itself if anything fails or the program
        // dies half-way.
        int e = m_sys.open(folderOf(target), O_TMPFILE | O_WRONLY, 0600, m_fd.out());
        if (e == 0)
            return 0;
        if (e != EOPNOTSUPP && e != EISDIR && e != EINVAL)
            return e;
        // No unnamed files here: a hidden name, removed on failure.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = ".tavil-" + QByteArray::number(QRandomGenerator::global()->generate64(), 16)
                                    + ".tmp";
            const Loc loc = sibling(target, name);
            e = m_sys.open(loc, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW, 0600, m_fd.out());
            if (e == 0) {
                m_named = loc;
                m_isNamed = true;
                return 0;
            }
            if (e != EEXIST)
                return e;
        }
        return EEXIST;
    }

    int fd() const { return m_fd.get(); }
    bool isNamed() const { return m_isNamed; }
    const Loc& named() const { return m_named; }

    // The file has its final name: nothing to remove any more.
    void release()
    {
        m_fd.reset();
        m_isNamed = false;
    }

    void discard()
    {
        m_fd.reset();
        if (m_isNamed)
            ::unlinkat(m_named.dirFd, m_named.c(), 0);
        m_isNamed = false;
    }

private:
    const Sys& m_sys;
    Fd m_fd;
    Loc m_named;
    bool m_isNamed = false;
};

// Only a plain file is copied; reading a FIFO or a device would block or
// never end, and a folder or a link loop has no data to copy.
FsStatus notAFile()
{
    FsStatus st{Err::Access, 0, true};
    st.notAFile = true;
    return st;
}

// Whether the folder a new entry was to go into has gone: removed while it
// was held (its descriptor then has no links left), or no longer a folder at
// its path. An unnamed file in a removed folder fails with EPERM on ext4, and
// that is no write-protected disk.
bool folderGone(const Loc& folder)
{
    struct stat st;
    if (folder.held() && ::fstat(folder.dirFd, &st) == 0 && st.st_nlink == 0)
        return true;
    if (folder.held())
        return false;
    const int e = statAt(folder, &st);
    return e == ENOENT || e == ENOTDIR || (e == 0 && !S_ISDIR(st.st_mode));
}

// A failure in making or naming the target, told as "path not found" when
// its folder is what went missing.
FsStatus targetStatus(int sysErrno, const Loc& to)
{
    if (folderGone(folderOf(to)))
        return FsStatus{Err::NoPath, sysErrno, false};
    return statusFromErrno(sysErrno, ErrnoContext::Folder);
}

// Data chunks between two progress reports.
constexpr size_t kChunk = 8 * 1024 * 1024;

enum class DataResult { Done, Failed, Cancelled };

struct DataStatus {
    DataResult result = DataResult::Done;
    int sysErrno = 0;
    bool reading = false;
};

bool report(const CopyOptions& options, qint64 done, qint64 total)
{
    return !options.progress || !*options.progress || (*options.progress)(done, total);
}

// Read and write, where the kernel can't copy by itself.
DataStatus copyByReading(const Sys& sys, int in, int out, const QString& target, qint64 done, qint64 total,
                         const CopyOptions& options)
{
    static constexpr size_t kBuffer = 1024 * 1024;
    QByteArray buffer(qsizetype(kBuffer), Qt::Uninitialized);
    qint64 sinceReport = 0;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), kBuffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {DataResult::Failed, errno, true};
        }
        if (n == 0) {
            // The last bytes are reported too, so the report ends at the
            // whole file, as it does when the kernel copies.
            if (sinceReport > 0 && !report(options, done, total))
                return {DataResult::Cancelled, 0, false};
            return {};
        }
        if (const int e = sys.writeAll(out, target, buffer.constData(), size_t(n)))
            return {DataResult::Failed, e, false};
        done += n;
        sinceReport += n;
        if (sinceReport >= qint64(kChunk)) {
            sinceReport = 0;
            if (!report(options, done, total))
                return {DataResult::Cancelled, 0, false};
        }
    }
}

// The data: shared blocks where the file system offers them (a reflink),
// else the kernel's own copy, else read and write.
DataStatus copyData(const Sys& sys, int in, int out, const QString& target, qint64 total, const CopyOptions& options)
{
    // Faults are checked once per chunk, as the writes are.
    if (const int e = sys.fault("write", target))
        return {DataResult::Failed, e, false};
    if (::ioctl(out, FICLONE, in) == 0)
        return {};
    qint64 done = 0;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            // Not between these files: the plain way, from where it stopped.
            if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF)
                return copyByReading(sys, in, out, target, done, total, options);
            // Which side failed is not said; the target is the likely one
            // (disk full), and a source that can't be read fails the open.
            return {DataResult::Failed, errno, false};
        }
        if (n == 0)
            return {};
        done += n;
        if (!report(options, done, total))
            return {DataResult::Cancelled, 0, false};
        if (const int e = sys.fault("write", target))
            return {DataResult::Failed, e, false};
    }
}

} // namespace

FsStatus copyEntry(const Sys& sys, const Loc& from, const Loc& to, const CopyOptions& options)
{
    struct stat st;
    // A link is copied as the file it points to, as cp does; checked before
    // opening, so a device is never opened at all.
    if (const int e = statAt(from, &st))
        return e == ELOOP ? notAFile() : readingStatusFromErrno(e);
    if (!S_ISREG(st.st_mode))
        return notAFile();
    Fd in;
    if (const int e = sys.open(from, O_RDONLY | O_NONBLOCK | O_NOCTTY, 0, in.out()))
        return e == ELOOP ? notAFile() : readingStatusFromErrno(e);
    if (::fstat(in.get(), &st) != 0)
        return readingStatusFromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return notAFile();

    struct stat existing;
    if (lstatAt(to, &existing) == 0)
        return FsStatus{Err::Exists, EEXIST, false};

    TemporaryFile out(sys);
    if (const int e = out.create(to))
        return targetStatus(e, to);
    // Faults in the temporary are reported against the target.
    const QString& target = to.path;

    const DataStatus data = copyData(sys, in.get(), out.fd(), target, qint64(st.st_size), options);
    switch (data.result) {
    case DataResult::Done:
        break;
    case DataResult::Cancelled:
        return FsStatus{Err::Interrupted, 0, false};
    case DataResult::Failed:
        return data.reading ? readingStatusFromErrno(data.sysErrno)
                            : statusFromErrno(data.sysErrno, ErrnoContext::Folder);
    }

    // Attributes travel with the file; the copy is a new file, created now,
    // unless it is a move, which keeps its creation time.
    const QByteArray toName = lastPartOf(to);
    const Blob blob = readBlob(in.get());
    std::optional<DosAttrib> value;
    if (blob.decoded)
        value = blobToRewrite(toName, st.st_mode, blob);
    if (!options.forMove) {
        if (value) {
            value->creationTime = unixSecondsToNtTime(QDateTime::currentSecsSinceEpoch());
            value->validFlags |= kDosValidCreation;
        }
    } else {
        struct statx sx;
        if (::statx(in.get(), "", AT_EMPTY_PATH | AT_STATX_SYNC_AS_STAT, STATX_BTIME, &sx) == 0) {
            if (const auto created = creationSeconds(blob, sx)) {
                if (!value)
                    value = blobToRewrite(toName, st.st_mode, Blob());
                value->creationTime = unixSecondsToNtTime(*created);
                value->validFlags |= kDosValidCreation;
            }
        }
    }
    if (value || blob.state == Blob::Present) {
        const QByteArray bytes = value ? encodeDosAttrib(*value) : blob.bytes;
        const int e = sys.fsetxattr(out.fd(), target, bytes);
        // A target file system without user attributes cannot keep them;
        // the data is what counts.
        if (e != 0 && e != EOPNOTSUPP)
            return statusFromErrno(e, ErrnoContext::Folder);
    }

    if (const int e = sys.fchmod(out.fd(), target, st.st_mode & 0777))
        return statusFromErrno(e, ErrnoContext::Folder);
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    if (const int e = sys.futimens(out.fd(), target, times))
        return statusFromErrno(e, ErrnoContext::Folder);
    if (options.forMove) {
        if (const int e = sys.fsync(out.fd(), target))
            return statusFromErrno(e, ErrnoContext::Folder);
    }

    if (out.isNamed()) {
        const FsStatus placed = renameEntry(sys, out.named(), to);
        if (!placed.ok()) // the temporary is removed by out's destructor
            return folderGone(folderOf(to)) ? FsStatus{Err::NoPath, placed.sysErrno, false} : placed;
        out.release();
    } else if (const int e = sys.linkTemporary(out.fd(), to)) {
        if (e == EEXIST)
            return FsStatus{Err::Exists, EEXIST, false};
        return targetStatus(e, to);
    }

    if (options.forMove) {
        // The new name on disk too before the source goes.
        Fd folder;
        const Loc where = folderOf(to);
        if (sys.open(where, O_RDONLY | O_DIRECTORY, 0, folder.out()) == 0)
            (void)sys.fsync(folder.get(), where.path);
    }
    return {};
}

} // namespace tavil::platform::lfs
