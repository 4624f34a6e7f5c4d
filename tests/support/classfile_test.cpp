#include "support/classfile.h"

#include "platform/linuxfilesystem.h"
#include "tests/common/fakes.h"
#include "tests/common/fsprobe.h"
#include "tests/common/tempdir.h"
#include "tests/common/tzguard.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <functional>

using tavil::platform::Err;
using tavil::platform::LinuxFileSystem;
using tavil::support::classFile;
using tavil::test::FakeDialogs;
using tavil::test::native;
using tavil::test::TempDir;
using tavil::test::TzGuard;
using tavil::test::userXattrsWork;
namespace Attr = tavil::platform::Attr;

namespace {

class ClassFileTest : public ::testing::Test {
protected:
    quint32 attrsOf(const QString& path)
    {
        quint32 attrs = 0;
        EXPECT_TRUE(fs.readAttributes(path, &attrs).ok());
        return attrs;
    }

    TempDir tmp;
    LinuxFileSystem fs;
    FakeDialogs dialogs;
    classFile cf{fs, dialogs};
};

} // namespace

TEST_F(ClassFileTest, EnabledOnlyForRegularFilesThatOpenForReading)
{
    const QString plain = tmp.createFile("a.txt", "x");
    const QString readOnly = tmp.createFile("ro.txt", "x");
    ASSERT_EQ(::chmod(native(readOnly).constData(), 0444), 0);
    const QString fifo = tmp.file("fifo");
    ASSERT_EQ(::mkfifo(native(fifo).constData(), 0644), 0);

    struct Row {
        const char* label;
        QString path;
        bool expected;
    };
    const Row rows[] = {
        {"empty path", "", false},
        {"folder", tmp.createDir("sub"), false},
        {"missing", tmp.file("missing.txt"), false},
        {"FIFO (must not block)", fifo, false},
        {"read-only file", readOnly, true},
        {"plain file", plain, true},
        {"file path with a closing separator", plain + "/", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        cf.setFileName(row.path);
        EXPECT_EQ(cf.Enabled(), row.expected);
    }
}

TEST_F(ClassFileTest, EnabledIsFalseForAnUnreadableFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const QString file = tmp.createFile("secret.txt", "x");
    ASSERT_EQ(::chmod(native(file).constData(), 0200), 0);
    cf.setFileName(file);
    EXPECT_FALSE(cf.Enabled());
}

TEST_F(ClassFileTest, EachAttributeWriterChangesOnlyItsOwnBit)
{
    const QString file = tmp.createFile("a.txt", "x");
    if (!userXattrsWork(file))
        GTEST_SKIP() << "the temporary folder keeps no user attributes";
    cf.setFileName(file);

    struct Row {
        const char* label;
        quint32 bit;
        std::function<void(bool)> set;
        std::function<bool()> get;
    };
    const Row rows[] = {
        {"ReadOnly", Attr::ReadOnly, [&](bool v) { cf.setReadOnly(v); }, [&] { return cf.ReadOnly(); }},
        {"Hidden", Attr::Hidden, [&](bool v) { cf.setHidden(v); }, [&] { return cf.Hidden(); }},
        {"System", Attr::System, [&](bool v) { cf.setSystem(v); }, [&] { return cf.System(); }},
        {"Archive", Attr::Archive, [&](bool v) { cf.setArchive(v); }, [&] { return cf.Archive(); }},
    };
    const quint32 all = Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        // Every other bit set, then every other bit clear.
        for (const quint32 others : {all & ~row.bit, 0u}) {
            ASSERT_TRUE(fs.writeAttributes(file, others).ok());
            row.set(true);
            EXPECT_EQ(attrsOf(file), others | row.bit);
            EXPECT_TRUE(row.get());
            row.set(true); // already set: stays as it is
            EXPECT_EQ(attrsOf(file), others | row.bit);
            row.set(false);
            EXPECT_EQ(attrsOf(file), others);
            EXPECT_FALSE(row.get());
            EXPECT_EQ(cf.lastError(), Err::None);
        }
    }
}

TEST_F(ClassFileTest, ReadersReportNotFoundAndWritersStaySilent)
{
    const QString missing = tmp.file("missing.txt");
    cf.setFileName(missing);

    struct Row {
        const char* label;
        std::function<bool()> returnsEmpty;
    };
    const Row readers[] = {
        {"Size", [&] { return cf.Size() == 0; }},
        {"Archive", [&] { return !cf.Archive(); }},
        {"Hidden", [&] { return !cf.Hidden(); }},
        {"System", [&] { return !cf.System(); }},
        {"Directory", [&] { return !cf.Directory(); }},
        {"ReadOnly", [&] { return !cf.ReadOnly(); }},
        {"Executable", [&] { return !cf.Executable(); }},
        {"CreationTime", [&] { return cf.CreationTime().isNull(); }},
        {"LastAccessTime", [&] { return cf.LastAccessTime().isNull(); }},
        {"LastWriteTime", [&] { return cf.LastWriteTime().isNull(); }},
        {"FileVersion", [&] { return cf.FileVersion().isNull(); }},
        {"ProductVersion", [&] { return cf.ProductVersion().isNull(); }},
        {"FileType", [&] { return cf.FileType().isNull(); }},
        {"FileSubtype", [&] { return cf.FileSubtype().isNull(); }},
        {"FileOS", [&] { return cf.FileOS().isNull(); }},
        {"BuildType", [&] { return cf.BuildType().isNull(); }},
        {"Links", [&] { return cf.Links() == 0; }},
        {"Trash", [&] { cf.Trash(); return true; }},
        {"FileCopy", [&] { cf.FileCopy(tmp.file("copy.txt")); return true; }},
        {"Move", [&] { cf.Move(tmp.file("moved.txt")); return true; }},
        {"Rename", [&] { cf.Rename(tmp.file("renamed.txt")); return true; }},
        {"FirstMove", [&] { cf.FirstMove(tmp.file("first.txt")); return true; }},
    };
    for (const Row& row : readers) {
        SCOPED_TRACE(row.label);
        cf.setArchive(true); // leaves Err::None behind
        EXPECT_TRUE(row.returnsEmpty());
        EXPECT_EQ(cf.lastError(), Err::NotFound);
    }

    const std::function<void()> writers[] = {
        [&] { cf.setReadOnly(true); }, [&] { cf.setReadOnly(false); },
        [&] { cf.setHidden(true); },   [&] { cf.setSystem(true); },
        [&] { cf.setArchive(false); },
    };
    for (const auto& write : writers) {
        write();
        EXPECT_EQ(cf.lastError(), Err::None);
    }
    EXPECT_TRUE(tmp.list().isEmpty()) << tmp.list().join(u' ').toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(ClassFileTest, TimeTextsAreLocalWholeSeconds)
{
    TzGuard tz("JST-9");
    const QString file = tmp.createFile("a.txt", "x");
    // access 2003-03-31 00:05:07.9 UTC, write 2004-01-02 03:04:05.5 UTC
    const timespec ts[2] = {{1049069107, 900000000}, {1073012645, 500000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, native(file).constData(), ts, 0), 0);
    cf.setFileName(file);

    EXPECT_EQ(cf.LastAccessTime(), QStringLiteral("2003/03/31 09:05:07"));
    EXPECT_EQ(cf.LastWriteTime(), QStringLiteral("2004/01/02 12:04:05"));
    EXPECT_EQ(cf.lastError(), Err::None);
    // A creation time is either known, in the same form, or an empty text.
    const QString creation = cf.CreationTime();
    EXPECT_TRUE(creation.isEmpty() || creation.size() == 19) << creation.toStdString();
    EXPECT_FALSE(creation.startsWith(QStringLiteral("1601")));
}

TEST_F(ClassFileTest, FileFactsComeFromTheFile)
{
    const QString file = tmp.createFile("a.txt", "12345");
    ASSERT_EQ(::link(native(file).constData(), native(tmp.file("b.txt")).constData()), 0);
    cf.setFileName(file);

    EXPECT_EQ(cf.Size(), 5);
    EXPECT_EQ(cf.Links(), 2);
    EXPECT_FALSE(cf.Directory());
    EXPECT_FALSE(cf.Executable());
    ASSERT_EQ(::chmod(native(file).constData(), 0744), 0);
    EXPECT_TRUE(cf.Executable());
    EXPECT_EQ(cf.ShortPathName(), file);
    EXPECT_EQ(cf.CompressedSize() % 512, 0);

    cf.setFileName(tmp.file("missing.txt"));
    EXPECT_EQ(cf.ShortPathName(), QString());
    EXPECT_EQ(cf.CompressedSize(), -1);
}

TEST_F(ClassFileTest, FilesWithoutVersionResourceReadAsUnknown)
{
    cf.setFileName(tmp.createFile("a.exe", "MZ"));
    EXPECT_EQ(cf.FileVersion(), QString());
    EXPECT_EQ(cf.ProductVersion(), QString());
    EXPECT_EQ(cf.FileType(), QStringLiteral(u"不明"));
    EXPECT_EQ(cf.FileSubtype(), QStringLiteral(u"不明"));
    EXPECT_EQ(cf.FileOS(), QStringLiteral(u"不明"));
    EXPECT_EQ(cf.BuildType(), QStringLiteral(u"不明"));
    EXPECT_EQ(cf.lastError(), Err::None);
}

TEST(ClassFileTexts, TablesByValue)
{
    EXPECT_EQ(classFile::fileTypeText(2), QStringLiteral(u"ﾀﾞｲﾅﾐｯｸﾘﾝｸﾗｲﾌﾞﾗﾘ"));
    EXPECT_EQ(classFile::fileTypeText(7), QStringLiteral(u"ｽﾀﾃｲｯｸﾗｲﾌﾞﾗﾘ"));
    EXPECT_EQ(classFile::fileTypeText(6), QString());
    EXPECT_EQ(classFile::fileTypeText(8), QString());

    EXPECT_EQ(classFile::fileSubtypeText(3, 0), QStringLiteral(u"不明"));
    EXPECT_EQ(classFile::fileSubtypeText(3, 11), QStringLiteral(u"IMEﾄﾞﾗｲﾊﾞ"));
    EXPECT_EQ(classFile::fileSubtypeText(3, 12), QString());
    EXPECT_EQ(classFile::fileSubtypeText(4, 3), QStringLiteral(u"ﾄｩﾙｰﾀｲﾌﾟﾌｫﾝﾄ"));
    EXPECT_EQ(classFile::fileSubtypeText(4, 0), QString());
    EXPECT_EQ(classFile::fileSubtypeText(1, 5), QStringLiteral(u"不明"));

    EXPECT_EQ(classFile::fileOsText(0x10004), QStringLiteral(u"DOS上の32bit Windows"));
    EXPECT_EQ(classFile::fileOsText(0x30003), QStringLiteral(u"32bit OS/2上のPresentation Manager"));
    EXPECT_EQ(classFile::fileOsText(0x40004), QStringLiteral(u"32bit Windows NT"));
    EXPECT_EQ(classFile::fileOsText(5), QString());

    EXPECT_EQ(classFile::buildTypeText(8), QStringLiteral(u"ﾌﾟﾗｲﾍﾞｰﾄﾋﾞﾙﾄﾞ"));
    EXPECT_EQ(classFile::buildTypeText(32), QStringLiteral(u"ｽﾍﾟｼｬﾙﾋﾞﾙﾄﾞ"));
    EXPECT_EQ(classFile::buildTypeText(16), QString());
    EXPECT_EQ(classFile::buildTypeText(3), QStringLiteral(u"不明")); // not masked
    EXPECT_EQ(classFile::buildTypeText(0), QStringLiteral(u"不明"));
}

TEST_F(ClassFileTest, CopyAndMoveNeverReplaceAndDropIntoAFolder)
{
    const QString file = tmp.createFile("a.txt", "new");
    tmp.createFile("taken.txt", "old");
    const QString box = tmp.createDir("box");
    cf.setFileName(file);

    cf.FileCopy(tmp.file("taken.txt"));
    EXPECT_EQ(cf.lastError(), Err::Exists);
    EXPECT_EQ(tmp.read("taken.txt"), QByteArray("old"));

    cf.FileCopy(box);
    EXPECT_EQ(cf.lastError(), Err::None);
    EXPECT_EQ(tmp.read("box/a.txt"), QByteArray("new"));

    cf.Rename(tmp.file("taken.txt"));
    EXPECT_EQ(cf.lastError(), Err::Exists);
    cf.Move(box); // box/a.txt exists already
    EXPECT_EQ(cf.lastError(), Err::Exists);
    EXPECT_EQ(tmp.read("a.txt"), QByteArray("new"));
    EXPECT_EQ(tmp.read("taken.txt"), QByteArray("old"));

    cf.Rename(tmp.file("b.txt"));
    EXPECT_EQ(cf.lastError(), Err::None);
    EXPECT_EQ(tmp.list(), QStringList({"b.txt", "box", "taken.txt"}));
    EXPECT_EQ(cf.FileName(), file); // the object keeps the old path
}

TEST_F(ClassFileTest, FirstMoveStaysOnOneDevice)
{
    const QString file = tmp.createFile("a.txt", "x");
    cf.setFileName(file);
    cf.FirstMove(tmp.file("b.txt"));
    EXPECT_EQ(cf.lastError(), Err::None);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(tmp.list(), QStringList({"b.txt"}));

    QTemporaryDir shm(QStringLiteral("/dev/shm/tavil-test-XXXXXX"));
    struct stat a = {}, b = {};
    if (!shm.isValid() || ::stat(native(shm.path()).constData(), &a) != 0
        || ::stat(native(tmp.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system at hand";
    const QString other = shm.path() + "/c.txt";
    QFile f(other);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    cf.setFileName(other);
    cf.FirstMove(tmp.file("c.txt"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral(u"移動元と移動先のﾄﾞﾗｲﾌﾞは同じである必用があります"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral(u"ﾌｧｲﾙ制御ｸﾗｽﾗｲﾌﾞﾗﾘ"));
    EXPECT_EQ(dialogs.shown[0].style, 0);
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_FALSE(tmp.exists("c.txt"));
}
