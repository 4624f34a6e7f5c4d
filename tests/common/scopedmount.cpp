#include "tests/common/scopedmount.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/loop.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace tavil::test {

namespace {

QString errnoText(const char* what)
{
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
}

// A 1 MiB ext2 with 128-byte inodes in image; empty when made, else why not.
QString makeExt2(const QString& image)
{
    // Root's tools, which a test run's PATH may lack.
    QString mkfs = QStandardPaths::findExecutable(QStringLiteral("mkfs.ext2"));
    if (mkfs.isEmpty())
        mkfs = QStandardPaths::findExecutable(QStringLiteral("mkfs.ext2"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (mkfs.isEmpty())
        return QStringLiteral("mkfs.ext2 is not installed");
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(1024 * 1024))
        return QStringLiteral("cannot make the image file ") + image;
    file.close();
    QProcess p;
    p.start(mkfs, {QStringLiteral("-q"), QStringLiteral("-F"), QStringLiteral("-I"), QStringLiteral("128"), image});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("mkfs.ext2 failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
    return {};
}

} // namespace

ScopedLoopMount::ScopedLoopMount(const QString& image, const QString& over) : ScopedLoopMount(image, over, false) {}

ScopedLoopMount::ScopedLoopMount(const QString& image, const QString& over, bool reuse) : m_over(over.toUtf8())
{
    attach(image, reuse);
    if (m_loopFd < 0)
        return;
    m_mounted = ::mount(m_device.constData(), m_over.constData(), "ext2", 0, nullptr) == 0;
    if (!m_mounted)
        m_problem = errnoText("mounting the loop device");
}

void ScopedLoopMount::attach(const QString& image, bool reuse)
{
    if (!reuse) {
        m_problem = makeExt2(image);
        if (!m_problem.isEmpty())
            return;
    }
    const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
    if (control < 0) {
        m_problem = errnoText("/dev/loop-control");
        return;
    }
    const int backing = ::open(QFile::encodeName(image).constData(), O_RDWR | O_CLOEXEC);
    // Another test may take the free device first: ask again.
    for (int attempt = 0; backing >= 0 && m_loopFd < 0 && attempt < 20; ++attempt) {
        const int number = ::ioctl(control, LOOP_CTL_GET_FREE);
        if (number < 0) {
            m_problem = errnoText("no free loop device");
            break;
        }
        char device[32];
        std::snprintf(device, sizeof device, "/dev/loop%d", number);
        const int fd = ::open(device, O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            m_problem = errnoText(device);
            break;
        }
        struct loop_config config;
        std::memset(&config, 0, sizeof config);
        config.fd = unsigned(backing);
        // The device goes back by itself once unmounted and closed.
        config.info.lo_flags = LO_FLAGS_AUTOCLEAR;
        if (::ioctl(fd, LOOP_CONFIGURE, &config) == 0) {
            m_loopFd = fd;
            m_device = device;
            m_problem.clear();
        } else {
            m_problem = errnoText("attaching the loop device");
            ::close(fd);
            if (errno != EBUSY)
                break;
        }
    }
    if (backing < 0)
        m_problem = errnoText("opening the image");
    else
        ::close(backing);
    ::close(control);
}

ScopedLoopMount::~ScopedLoopMount()
{
    unmount();
    if (m_loopFd >= 0) {
        (void)::ioctl(m_loopFd, LOOP_CLR_FD, 0);
        ::close(m_loopFd);
    }
}

bool ScopedLoopMount::unmount()
{
    if (!m_mounted)
        return true;
    m_mounted = false;
    if (::umount2(m_over.constData(), 0) == 0)
        return true;
    ::umount2(m_over.constData(), MNT_DETACH);
    return false;
}

ScopedOverlay::ScopedOverlay(const QString& lower, const QString& scratch)
    : m_merged(scratch + QStringLiteral("/merged"))
{
    const QString upper = scratch + QStringLiteral("/upper");
    const QString work = scratch + QStringLiteral("/work");
    for (const QString& dir : {upper, work, m_merged}) {
        if (!QDir().mkpath(dir))
            return;
    }
    const QByteArray options = QStringLiteral("lowerdir=%1,upperdir=%2,workdir=%3").arg(lower, upper, work).toUtf8();
    m_mounted = ::mount("overlay", QFile::encodeName(m_merged).constData(), "overlay", 0, options.constData()) == 0;
}

ScopedOverlay::~ScopedOverlay()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_merged).constData(), MNT_DETACH);
}

} // namespace tavil::test
