#include "platform/linuxfilesystem.h"
#include "tests/common/faults.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// A long copy reports its progress and can be stopped; stopped or failed,
// it leaves nothing under the final name and no temporary file behind, and
// it says whether reading the source or writing the target failed.

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;
namespace raw = tavil::test::raw;
using tavil::test::Faults;
using tavil::test::TempDir;

namespace {

// Several chunks of the copy (and not a whole number of them), written as
// real data: a sparse file would let the kernel skip the holes.
constexpr qint64 kBigSize = 40 * 1024 * 1024 + 12345;

QByteArray patterned(qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qint64 i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        data[i] = char(x);
    }
    return data;
}

// Where the copy goes, and so which of its ways it takes.
enum class Way {
    UnnamedTemporary, // O_TMPFILE in the target folder, copy_file_range
    NamedTemporary,   // no O_TMPFILE there: a hidden file, removed on failure
    OtherFileSystem,  // a tmpfs: read and write
    MoveAcross,       // a move that must copy
};

struct WayCase {
    const char* name;
    Way way;
};

void PrintTo(const WayCase& c, std::ostream* os)
{
    *os << c.name;
}

const WayCase kWays[] = {
    {"UnnamedTemporary", Way::UnnamedTemporary},
    {"NamedTemporary", Way::NamedTemporary},
    {"OtherFileSystem", Way::OtherFileSystem},
    {"MoveAcross", Way::MoveAcross},
};

class CopyProgressTest : public ::testing::TestWithParam<WayCase> {
protected:
    static void SetUpTestSuite()
    {
        s_source = new TempDir;
        s_data = new QByteArray(patterned(kBigSize));
        raw::makeFile(s_source->root() + "/big.bin", *s_data);
    }
    static void TearDownTestSuite()
    {
        delete s_source;
        delete s_data;
        s_source = nullptr;
        s_data = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(raw::lstatOf(s_source->root() + "/big.bin").st_size, kBigSize);
        targetFolder = dir.root();
        switch (GetParam().way) {
        case Way::UnnamedTemporary:
            from = s_source->file(u"big.bin"_s);
            break;
        case Way::NamedTemporary: {
            from = s_source->file(u"big.bin"_s);
            const QString folder = dir.path();
            faults.rule = [folder](const QString& call, const QString& path) {
                return call == u"open" && path == folder ? EOPNOTSUPP : 0;
            };
            break;
        }
        case Way::OtherFileSystem:
            targetFolder = dir.root() + "/mnt";
            ASSERT_TRUE(raw::makeDir(targetFolder));
            if (::mount("tmpfs", targetFolder.constData(), "tmpfs", 0, "size=64m") != 0)
                GTEST_SKIP() << "cannot mount a tmpfs here";
            mounted = true;
            from = s_source->file(u"big.bin"_s);
            break;
        case Way::MoveAcross:
            // The move takes its source away: a copy of its own first.
            ASSERT_TRUE(raw::makeDir(dir.root() + "/src"));
            ASSERT_TRUE(raw::makeFile(dir.root() + "/src/big.bin", *s_data));
            targetFolder = dir.root() + "/out";
            ASSERT_TRUE(raw::makeDir(targetFolder));
            from = dir.file(u"src/big.bin"_s);
            faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EXDEV : 0; };
            break;
        }
        to = QString::fromLatin1(targetFolder) + u"/copy.bin"_s;
        fs.injectErrno = faults.injector();
    }

    void TearDown() override
    {
        if (mounted)
            ::umount2(targetFolder.constData(), MNT_DETACH);
    }

    FsStatus run(const CopyProgress& progress)
    {
        return GetParam().way == Way::MoveAcross ? fs.move(from, to, progress) : fs.copy(from, to, progress);
    }

    QByteArray source() const { return QFile::encodeName(from); }

    static TempDir* s_source;
    static QByteArray* s_data;

    TempDir dir;
    QByteArray targetFolder;
    QString from;
    QString to;
    bool mounted = false;
    Faults faults;
    LinuxFileSystem fs;
};

TempDir* CopyProgressTest::s_source = nullptr;
QByteArray* CopyProgressTest::s_data = nullptr;

INSTANTIATE_TEST_SUITE_P(Ways, CopyProgressTest, ::testing::ValuesIn(kWays),
                         [](const ::testing::TestParamInfo<WayCase>& info) { return std::string(info.param.name); });

TEST_P(CopyProgressTest, StoppedOnTheSecondReport)
{
    int calls = 0;
    const FsStatus st = run([&](qint64, qint64) { return ++calls < 2; });
    if (st.ok() && calls == 0)
        GTEST_SKIP() << "the file system cloned the file at once (a reflink): nothing to stop";
    EXPECT_EQ(st.number(), 18);
    EXPECT_FALSE(st.reading);
    EXPECT_EQ(calls, 2);
    // Nothing under the final name, and no temporary file, hidden or not.
    EXPECT_EQ(raw::names(targetFolder), QList<QByteArray>());
    // The source is whole and where it was.
    EXPECT_EQ(raw::lstatOf(source()).st_size, kBigSize);
    if (GetParam().way == Way::MoveAcross) {
        EXPECT_TRUE(raw::read(source()) == *s_data);
    }
}

TEST_P(CopyProgressTest, ReportsUpToTheWholeFile)
{
    QList<qint64> done;
    QList<qint64> totals;
    const FsStatus st = run([&](qint64 d, qint64 total) {
        done.append(d);
        totals.append(total);
        return true;
    });
    ASSERT_TRUE(st.ok()) << st.number() << " errno " << st.sysErrno;
    bool readable = false;
    const QByteArray copied = raw::read(targetFolder + "/copy.bin", &readable);
    EXPECT_TRUE(readable);
    EXPECT_EQ(copied.size(), kBigSize);
    EXPECT_TRUE(copied == *s_data) << "the copy differs from its source";
    EXPECT_EQ(raw::names(targetFolder), QList<QByteArray>{"copy.bin"});
    // A copy leaves its source, so it need not wait for the disk; a move
    // must have the copy on disk before the source goes.
    if (GetParam().way == Way::MoveAcross) {
        EXPECT_FALSE(raw::exists(source()));
        EXPECT_TRUE(faults.called(u"fsync"_s, to));
        EXPECT_TRUE(faults.called(u"fsync"_s, QString::fromLatin1(targetFolder)));
    } else {
        EXPECT_FALSE(faults.called(u"fsync"_s));
    }

    if (done.isEmpty())
        return; // cloned at once: there was nothing to report
    EXPECT_GE(done.size(), 2);
    for (qsizetype i = 1; i < done.size(); ++i)
        EXPECT_GT(done.at(i), done.at(i - 1)) << "report " << i;
    EXPECT_GT(done.first(), 0);
    EXPECT_EQ(done.last(), kBigSize);
    for (const qint64 total : std::as_const(totals))
        EXPECT_EQ(total, kBigSize);
}

// ---------------------------------------------------------------------------
// Failures: reading the source or writing the target

class CopyFailureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(raw::makeDir(dir.root() + "/out"));
        fs.injectErrno = faults.injector();
    }

    TempDir dir;
    Faults faults;
    LinuxFileSystem fs;
};

TEST_F(CopyFailureTest, SaysWhichSideFailed)
{
    const QString source = dir.file(u"src.bin"_s);
    const QString target = dir.file(u"out/copy.bin"_s);
    const QString targetFolder = dir.file(u"out"_s);
    struct Case {
        const char* name;
        const char* call;
        QString path;     // the path the fault is given
        int nth;          // fails that call the nth time (1 = the first)
        int err;
        int number;
        bool reading;
    };
    const Case cases[] = {
        {"sourceNotReadable", "open", source, 1, EACCES, 70, true},
        {"sourceReadError", "open", source, 1, EIO, 75, true},
        {"diskFull", "write", target, 1, ENOSPC, 61, false},
        {"diskFullLater", "write", target, 2, ENOSPC, 61, false},
        {"quota", "write", target, 1, EDQUOT, 61, false},
        {"targetFolderDenied", "open", targetFolder, 1, EACCES, 70, false},
        {"modeNotSet", "chmod", target, 1, EPERM, 70, false},
        {"timesNotSet", "utimensat", target, 1, EPERM, 70, false},
        {"notNamed", "linkat", target, 1, EACCES, 70, false},
    };
    // Bigger than one chunk, so that a write fails with data half-way.
    const QByteArray data = patterned(9 * 1024 * 1024);
    ASSERT_TRUE(raw::makeFile(QFile::encodeName(source), data));

    for (const bool move : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(move ? "move " : "copy ") + c.name);
            int seen = 0;
            const QString call = QString::fromLatin1(c.call);
            faults.rule = [&](const QString& made, const QString& path) {
                if (move && made == u"renameat2")
                    return EXDEV;
                return made == call && path == c.path && ++seen == c.nth ? c.err : 0;
            };
            const FsStatus st = move ? fs.move(source, target) : fs.copy(source, target);
            EXPECT_EQ(seen, c.nth) << "the fault was never met";
            EXPECT_EQ(st.number(), c.number);
            EXPECT_EQ(st.sysErrno, c.err);
            EXPECT_EQ(st.reading, c.reading);
            EXPECT_EQ(raw::names(dir.root() + "/out"), QList<QByteArray>());
            EXPECT_EQ(raw::names(dir.root()), (QList<QByteArray>{"out", "src.bin"}));
            EXPECT_TRUE(raw::read(QFile::encodeName(source)) == data);
        }
    }
}

// Only a plain file is copied. A FIFO, a folder, a link to a device and a
// link loop are each refused before anything is opened for writing, and
// said to be no file: the caller names the entry instead of a bare access
// error. A failure of a plain file is no such refusal.
TEST_F(CopyFailureTest, EntryThatIsNoFileIsSaidToBeSo)
{
    const QByteArray root = dir.root();
    ASSERT_EQ(::mkfifo((root + "/fifo").constData(), 0600), 0);
    ASSERT_TRUE(raw::makeDir(root + "/folder"));
    ASSERT_EQ(::symlink("/dev/null", (root + "/device").constData()), 0);
    ASSERT_EQ(::symlink("loop", (root + "/loop").constData()), 0);
    ASSERT_EQ(::symlink("folder", (root + "/folderLink").constData()), 0);
    ASSERT_TRUE(raw::makeFile(root + "/plain", "p"));
    const struct {
        const char* name;
        bool notAFile;
        int number;
    } cases[] = {
        {"fifo", true, 75},   {"folder", true, 75},     {"device", true, 75},
        {"loop", true, 75},   {"folderLink", true, 75}, {"plain", false, 70},
    };
    for (const bool move : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(move ? "move " : "copy ") + c.name);
            const QString source = dir.file(QString::fromLatin1(c.name));
            const QString target = dir.file(u"out/copy"_s);
            faults.rule = [&](const QString& made, const QString& path) {
                if (move && made == u"renameat2")
                    return EXDEV;
                return made == u"open" && path == source ? EACCES : 0; // only the plain file gets there
            };
            // Moved across file systems, a link is made anew as a link.
            if (move && c.name != std::string_view("fifo") && c.name != std::string_view("folder")
                && c.name != std::string_view("plain"))
                continue;
            const FsStatus st = move ? fs.move(source, target) : fs.copy(source, target);
            EXPECT_EQ(st.number(), c.number);
            EXPECT_EQ(st.notAFile, c.notAFile);
            EXPECT_TRUE(st.reading);
            EXPECT_EQ(raw::names(root + "/out"), QList<QByteArray>());
            struct stat lst;
            EXPECT_EQ(::lstat((root + '/' + c.name).constData(), &lst), 0);
        }
    }
}

// The target folder is removed while it is held and a file is being copied
// into it: "path not found", whichever way the file was being made, never a
// write-protected disk (EPERM is what an unnamed file in a removed folder
// meets on ext4).
TEST_F(CopyFailureTest, TargetFolderRemovedWhileHeldIsPathNotFound)
{
    const QString source = dir.file(u"src.txt"_s);
    ASSERT_TRUE(raw::makeFile(QFile::encodeName(source), "data"));
    const QString targetFolder = dir.file(u"out"_s);
    const struct {
        const char* name;
        int openErrno; // what making the unnamed file meets; 0 = the real call
    } cases[] = {
        {"realCall", 0},
        {"noUnnamedFiles", EOPNOTSUPP}, // a hidden named file, in a removed folder
        {"eperm", EPERM},
    };
    for (const bool move : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(move ? "move " : "copy ") + c.name);
            ASSERT_TRUE(QDir().mkpath(targetFolder));
            const FolderHold hold = fs.holdFolder(targetFolder);
            ASSERT_EQ(::rmdir(QFile::encodeName(targetFolder).constData()), 0);
            faults.rule = [&](const QString& made, const QString& path) {
                if (move && made == u"renameat2")
                    return EXDEV;
                return made == u"open" && path == targetFolder ? c.openErrno : 0;
            };
            const FsStatus st = move ? fs.move(source, targetFolder + u"/a.txt"_s)
                                     : fs.copy(source, targetFolder + u"/a.txt"_s);
            EXPECT_EQ(st.number(), 76);
            EXPECT_FALSE(st.reading);
            EXPECT_EQ(raw::read(QFile::encodeName(source)), "data");
            EXPECT_EQ(raw::names(dir.root()), QList<QByteArray>{"src.txt"});
        }
    }
}

} // namespace
