#include "platform/linuxfilesystem.h"
#include "tests/common/faults.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <sys/xattr.h>

#include <cerrno>

// Symbolic links are acted on themselves; only reading follows them. A link
// that leads out of the folder must never become a way to change, or hang
// on, what it points at.

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;
namespace raw = tavil::test::raw;
using tavil::test::Faults;
using tavil::test::TempDir;

namespace {

// Hidden and system with a creation time of 2003-03-31 09:05:07 UTC, as an
// SMB client stores them.
const QByteArray kTargetBlob =
    QByteArray::fromHex("0000" "0500" "05000000" "11000000" "06080000" "8023d39f64f7c201");
constexpr qint64 kTargetCreation = 1049101507;
constexpr time_t kTargetTime = 1000000000;
constexpr time_t kLinkTime = 1200000000;

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(outside.isValid());
        target = outside.root() + "/target.txt";
        ASSERT_TRUE(raw::makeFile(target, "the target", 0644));
        xattrs = raw::userXattrsWork(outside.root());
        if (xattrs) {
            ASSERT_EQ(::setxattr(target.constData(), "user.DOSATTRIB", kTargetBlob.constData(),
                                 size_t(kTargetBlob.size()), 0),
                      0);
        }
        ASSERT_EQ(::chmod(target.constData(), 0444), 0);
        ASSERT_TRUE(raw::setTimes(target, kTargetTime, kTargetTime));
        ASSERT_EQ(::symlink(target.constData(), (dir.root() + "/link").constData()), 0);
        ASSERT_TRUE(raw::setTimes(dir.root() + "/link", kLinkTime, kLinkTime));
        link = dir.file(u"link"_s);
        fs.injectErrno = faults.injector();
    }

    void expectTargetUntouched() const
    {
        const struct stat st = raw::lstatOf(target);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 07777, 0444u);
        EXPECT_EQ(st.st_mtime, kTargetTime);
        EXPECT_EQ(raw::read(target), "the target");
        if (xattrs) {
            EXPECT_EQ(raw::dosAttrib(target).toHex(), kTargetBlob.toHex());
        }
    }

    void expectLinkUntouched() const
    {
        const QByteArray path = dir.root() + "/link";
        const struct stat st = raw::lstatOf(path);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        // Only the write time: reading a link's text, or following it,
        // moves its access time.
        EXPECT_EQ(st.st_mtime, kLinkTime);
        EXPECT_EQ(raw::readLink(path), target);
    }

    TempDir dir;
    TempDir outside;
    QByteArray target;
    QString link;
    bool xattrs = false;
    Faults faults;
    LinuxFileSystem fs;
};

TEST_F(LinkTest, AttributesCannotBeWrittenThroughALink)
{
    const quint32 cases[] = {0, Attr::Archive, Attr::ReadOnly, Attr::Hidden | Attr::System,
                             Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive};
    for (const quint32 attrs : cases) {
        SCOPED_TRACE(attrs);
        EXPECT_EQ(fs.writeAttributes(link, attrs).number(), 70);
        expectTargetUntouched();
        expectLinkUntouched();
    }
    EXPECT_FALSE(faults.called(u"chmod"_s));
    EXPECT_FALSE(faults.called(u"setxattr"_s));
}

TEST_F(LinkTest, AccessAndWriteTimesAreTheLinksOwn)
{
    ASSERT_TRUE(fs.writeTimes(link, {}, QDateTime::fromSecsSinceEpoch(1300000000),
                              QDateTime::fromSecsSinceEpoch(1400000000))
                    .ok());
    const struct stat st = raw::lstatOf(dir.root() + "/link");
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(st.st_atime, 1300000000);
    EXPECT_EQ(st.st_mtime, 1400000000);
    EXPECT_EQ(raw::lstatOf(target).st_atime, kTargetTime);
    expectTargetUntouched();
}

TEST_F(LinkTest, CreationTimeOnALinkIsRefused)
{
    const QDateTime created = QDateTime::fromSecsSinceEpoch(1049101507);
    const QDateTime later = QDateTime::fromSecsSinceEpoch(1400000000);
    EXPECT_EQ(fs.writeTimes(link, created, {}, {}).number(), 70);
    // With other times too: the refusal comes first and changes nothing.
    EXPECT_EQ(fs.writeTimes(link, created, later, later).number(), 70);
    expectLinkUntouched();
    expectTargetUntouched();
    EXPECT_FALSE(faults.called(u"setxattr"_s));
}

TEST_F(LinkTest, ReadsTheLinkNotItsTarget)
{
    quint32 attrs = 0xdead;
    ASSERT_TRUE(fs.readAttributes(link, &attrs).ok());
    EXPECT_EQ(attrs & (Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Directory), 0u);

    FileTimes times;
    ASSERT_TRUE(fs.readTimes(link, &times).ok());
    EXPECT_EQ(times.lastWrite.toSecsSinceEpoch(), kLinkTime);
    EXPECT_EQ(times.lastAccess.toSecsSinceEpoch(), kLinkTime);
    if (times.creation.isValid()) {
        EXPECT_NE(times.creation.toSecsSinceEpoch(), kTargetCreation);
    }

    const FileInfo info = fs.stat(link);
    EXPECT_TRUE(info.isSymlink);
    EXPECT_FALSE(info.isRegular);
    EXPECT_EQ(info.size, target.size()); // a link's size is its text's
    EXPECT_TRUE(fs.openable(link));      // reading does follow
    expectTargetUntouched();
}

TEST_F(LinkTest, CopyOfALinkIsARegularFileWithTheTargetsData)
{
    ASSERT_TRUE(fs.copy(link, dir.file(u"copy.txt"_s)).ok());
    const struct stat st = raw::lstatOf(dir.root() + "/copy.txt");
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(st.st_mtime, kTargetTime);
    EXPECT_EQ(raw::read(dir.root() + "/copy.txt"), "the target");
    EXPECT_EQ(raw::names(dir.root()), (QList<QByteArray>{"copy.txt", "link"}));
    expectLinkUntouched();
    expectTargetUntouched();
}

TEST_F(LinkTest, CopyOfADanglingLinkIsASourceNotFound)
{
    ASSERT_EQ(::symlink((outside.root() + "/missing").constData(), (dir.root() + "/dangling").constData()), 0);
    const FsStatus st = fs.copy(dir.file(u"dangling"_s), dir.file(u"copy.txt"_s));
    EXPECT_EQ(st.number(), 53);
    EXPECT_TRUE(st.reading);
    EXPECT_TRUE(fs.exists(dir.file(u"dangling"_s)));
    EXPECT_EQ(raw::names(dir.root()), (QList<QByteArray>{"dangling", "link"}));
    EXPECT_EQ(raw::names(outside.root()), QList<QByteArray>{"target.txt"});
}

// Across file systems a link is made anew with the same text, never turned
// into a copy of its target (nor lost, when it leads nowhere).
TEST_F(LinkTest, MoveAcrossFileSystemsKeepsALink)
{
    ASSERT_EQ(::symlink("nowhere/at/all", (dir.root() + "/dangling").constData()), 0);
    ASSERT_TRUE(raw::makeDir(dir.root() + "/out"));
    const struct {
        const char* name;
        QByteArray text;
    } cases[] = {
        {"toAFileOutside", target},
        {"dangling", "nowhere/at/all"},
    };
    faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EXDEV : 0; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray from = dir.root() + '/' + (c.text == target ? "link" : "dangling");
        const QByteArray to = dir.root() + "/out/moved-" + c.name;
        ASSERT_TRUE(fs.move(QString::fromLatin1(from), QString::fromLatin1(to)).ok());
        EXPECT_FALSE(raw::exists(from));
        EXPECT_TRUE(S_ISLNK(raw::lstatOf(to).st_mode));
        EXPECT_EQ(raw::readLink(to), c.text);
    }
    EXPECT_EQ(raw::names(dir.root()), QList<QByteArray>{"out"});
    expectTargetUntouched();
}

// A device or a FIFO behind a link is never opened: a read from a device
// may not end, an open of a FIFO may wait forever.
TEST_F(LinkTest, LinkToWhatIsNotAFileIsNeverOpened)
{
    ASSERT_EQ(::mkfifo((outside.root() + "/pipe").constData(), 0644), 0);
    const struct {
        const char* name;
        QByteArray pointsAt;
    } cases[] = {
        {"deviceNull", "/dev/null"},
        {"deviceZero", "/dev/zero"},
        {"fifo", outside.root() + "/pipe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray linkPath = dir.root() + '/' + c.name;
        ASSERT_EQ(::symlink(c.pointsAt.constData(), linkPath.constData()), 0);
        const QString text = QString::fromLatin1(linkPath);
        faults.calls.clear();
        EXPECT_FALSE(fs.openable(text));
        EXPECT_EQ(fs.copy(text, dir.file(u"copy"_s)).number(), 75);
        EXPECT_FALSE(faults.called(u"open"_s, text)) << faults.calls.join(u", "_s).toStdString();
        EXPECT_FALSE(raw::exists(dir.root() + "/copy"));
    }
}

} // namespace
