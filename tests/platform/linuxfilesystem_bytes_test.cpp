#include "platform/linuxfilesystem.h"
#include "tests/common/faults.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <sys/mount.h>

// Names that are bytes, not text: every call reaches exactly the entry whose
// bytes the listing gave, never one whose name would read the same once
// decoded.

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;
namespace raw = tavil::test::raw;
using tavil::test::Faults;
using tavil::test::TempDir;

namespace {

// The data folder (and so the user's trash) moved into a folder of the test
// for as long as it lives.
class DataHome {
public:
    explicit DataHome(const QByteArray& path)
        : m_wasSet(qEnvironmentVariableIsSet("XDG_DATA_HOME")), m_saved(qgetenv("XDG_DATA_HOME"))
    {
        qputenv("XDG_DATA_HOME", path);
    }
    ~DataHome()
    {
        if (m_wasSet)
            qputenv("XDG_DATA_HOME", m_saved);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

private:
    bool m_wasSet;
    QByteArray m_saved;
};

// The Path line of a trash info file.
QByteArray trashInfoPath(const QByteArray& infoFile)
{
    const QList<QByteArray> lines = raw::read(infoFile).split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("Path="))
            return line.mid(5);
    }
    return {};
}

// Two files whose names differ as bytes but would read alike if a byte
// that is not UTF-8 were decoded to the replacement character.
struct Twin {
    const char* name;
    QByteArray bytes;  // on disk
    QString text;      // as the program holds it
    QByteArray escaped; // the name as the trash's info file records it
    QByteArray content;
    mode_t mode;
    time_t time;
};

const Twin kTwins[] = {
    {"ByteFF", "\xff.txt", QString(QChar(0xDCFF)) + u".txt"_s, "%FF.txt", "one byte that is not UTF-8", 0444,
     1000000000},
    {"ReplacementCharacter", "\xef\xbf\xbd.txt", u"\uFFFD.txt"_s, "%EF%BF%BD.txt", "U+FFFD, valid UTF-8", 0644,
     1100000000},
};

class TwinNamesTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        root = dir.root();
        for (const Twin& t : kTwins) {
            ASSERT_TRUE(raw::makeFile(raw::join(root, t.bytes), t.content, t.mode));
            ASSERT_TRUE(raw::setTimes(raw::join(root, t.bytes), t.time, t.time));
        }
        fs.injectErrno = faults.injector();

        // Every call below goes through the names the listing gave.
        QList<DirEntry> entries;
        ASSERT_TRUE(fs.listDir(dir.path(), &entries).ok());
        ASSERT_EQ(entries.size(), 2);
        ASSERT_NE(entries.at(0).name, entries.at(1).name);
        for (int i = 0; i < 2; ++i) {
            for (const DirEntry& e : std::as_const(entries)) {
                if (e.name == kTwins[i].text)
                    listed[i] = e.name;
            }
            ASSERT_EQ(listed[i], kTwins[i].text) << kTwins[i].name << " is not listed as expected";
        }
    }

    const Twin& own() const { return kTwins[GetParam()]; }
    const Twin& other() const { return kTwins[1 - GetParam()]; }
    QString ownPath() const { return dir.path() + u'/' + listed[GetParam()]; }
    QString otherPath() const { return dir.path() + u'/' + listed[1 - GetParam()]; }
    QByteArray onDisk(const QByteArray& name) const { return raw::join(root, name); }

    // The names of the folder, by bytes: the other twin and what is given.
    void expectNames(QList<QByteArray> more) const
    {
        more.append(other().bytes);
        std::sort(more.begin(), more.end());
        EXPECT_EQ(raw::names(root), more);
    }

    void expectOtherUntouched() const
    {
        const QByteArray p = onDisk(other().bytes);
        bool readable = false;
        EXPECT_EQ(raw::read(p, &readable), other().content);
        EXPECT_TRUE(readable);
        const struct stat st = raw::lstatOf(p);
        EXPECT_EQ(st.st_mode & 07777, other().mode);
        EXPECT_EQ(st.st_mtime, other().time);
        EXPECT_EQ(raw::dosAttrib(p), QByteArray());
    }

    TempDir dir;
    QByteArray root;
    QString listed[2];
    Faults faults;
    LinuxFileSystem fs;
};

INSTANTIATE_TEST_SUITE_P(Twins, TwinNamesTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(kTwins[info.param].name);
                         });

TEST_P(TwinNamesTest, StatExistsAndOpenable)
{
    const FileInfo info = fs.stat(ownPath());
    EXPECT_TRUE(info.exists);
    EXPECT_TRUE(info.isRegular);
    EXPECT_EQ(info.size, own().content.size());
    EXPECT_EQ(info.inode, quint64(raw::lstatOf(onDisk(own().bytes)).st_ino));
    EXPECT_TRUE(fs.exists(ownPath()));
    EXPECT_TRUE(fs.openable(ownPath()));

    // Gone by its bytes, it is gone for the program too, though its twin is
    // still there.
    ASSERT_EQ(::unlink(onDisk(own().bytes).constData()), 0);
    EXPECT_FALSE(fs.stat(ownPath()).exists);
    EXPECT_FALSE(fs.exists(ownPath()));
    EXPECT_FALSE(fs.openable(ownPath()));
    EXPECT_TRUE(fs.exists(otherPath()));
    EXPECT_EQ(fs.stat(otherPath()).size, other().content.size());
    expectOtherUntouched();
}

TEST_P(TwinNamesTest, Rename)
{
    // To a name built from the listed one: its bytes stay its own.
    ASSERT_TRUE(fs.rename(ownPath(), ownPath() + u".bak"_s).ok());
    expectNames({own().bytes + ".bak"});
    EXPECT_EQ(raw::read(onDisk(own().bytes + ".bak")), own().content);
    expectOtherUntouched();

    ASSERT_TRUE(fs.rename(ownPath() + u".bak"_s, dir.file(u"renamed.txt"_s)).ok());
    expectNames({"renamed.txt"});
    EXPECT_EQ(raw::read(onDisk("renamed.txt")), own().content);
    expectOtherUntouched();

    // And back under its own bytes, beside the twin that reads the same.
    ASSERT_TRUE(fs.rename(dir.file(u"renamed.txt"_s), ownPath()).ok());
    expectNames({own().bytes});
    EXPECT_EQ(raw::read(onDisk(own().bytes)), own().content);
    // Onto its twin it is a clash, not a no-op.
    EXPECT_EQ(fs.rename(ownPath(), otherPath()).number(), 58);
    expectOtherUntouched();
}

TEST_P(TwinNamesTest, Copy)
{
    ASSERT_TRUE(fs.copy(ownPath(), ownPath() + u".copy"_s).ok());
    expectNames({own().bytes, own().bytes + ".copy"});
    EXPECT_EQ(raw::read(onDisk(own().bytes + ".copy")), own().content);
    EXPECT_EQ(raw::lstatOf(onDisk(own().bytes + ".copy")).st_mode & 07777, own().mode);
    EXPECT_EQ(raw::read(onDisk(own().bytes)), own().content);
    EXPECT_EQ(fs.copy(ownPath(), otherPath()).number(), 58);
    expectOtherUntouched();
}

TEST_P(TwinNamesTest, MoveOnOneAndAcrossFileSystems)
{
    ASSERT_TRUE(raw::makeDir(onDisk("out")));
    const QString out = dir.file(u"out/"_s) + listed[GetParam()];

    ASSERT_TRUE(fs.move(ownPath(), out).ok());
    expectNames({"out"});
    EXPECT_EQ(raw::names(onDisk("out")), QList<QByteArray>{own().bytes});
    EXPECT_EQ(raw::read(onDisk("out/" + own().bytes)), own().content);
    expectOtherUntouched();

    // Back by a copy and a removal, as across file systems.
    faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EXDEV : 0; };
    ASSERT_TRUE(fs.move(out, ownPath()).ok());
    EXPECT_TRUE(faults.called(u"fsync"_s));
    expectNames({"out", own().bytes});
    EXPECT_EQ(raw::names(onDisk("out")), QList<QByteArray>());
    EXPECT_EQ(raw::read(onDisk(own().bytes)), own().content);
    EXPECT_EQ(raw::lstatOf(onDisk(own().bytes)).st_mtime, own().time);
    expectOtherUntouched();
}

TEST_P(TwinNamesTest, Remove)
{
    ASSERT_TRUE(fs.remove(ownPath()).ok());
    expectNames({});
    expectOtherUntouched();
    EXPECT_EQ(fs.remove(ownPath()).number(), 53);
    expectOtherUntouched();
}

TEST_P(TwinNamesTest, Times)
{
    FileTimes times;
    ASSERT_TRUE(fs.readTimes(ownPath(), &times).ok());
    EXPECT_EQ(times.lastWrite.toSecsSinceEpoch(), own().time);
    EXPECT_EQ(times.lastAccess.toSecsSinceEpoch(), own().time);

    ASSERT_TRUE(fs.writeTimes(ownPath(), {}, QDateTime::fromSecsSinceEpoch(1200000000),
                              QDateTime::fromSecsSinceEpoch(1300000000))
                    .ok());
    const struct stat st = raw::lstatOf(onDisk(own().bytes));
    EXPECT_EQ(st.st_atime, 1200000000);
    EXPECT_EQ(st.st_mtime, 1300000000);
    expectOtherUntouched();

    if (!raw::userXattrsWork(root))
        return;
    const QDateTime created = QDateTime::fromSecsSinceEpoch(1049101507);
    ASSERT_TRUE(fs.writeTimes(ownPath(), created, {}, {}).ok());
    EXPECT_NE(raw::dosAttrib(onDisk(own().bytes)), QByteArray());
    ASSERT_TRUE(fs.readTimes(ownPath(), &times).ok());
    EXPECT_EQ(times.creation, created);
    ASSERT_TRUE(fs.readTimes(otherPath(), &times).ok());
    EXPECT_NE(times.creation, created);
    expectOtherUntouched();
}

TEST_P(TwinNamesTest, Attributes)
{
    const bool ownReadOnly = !(own().mode & S_IWUSR);
    quint32 attrs = 0;
    ASSERT_TRUE(fs.readAttributes(ownPath(), &attrs).ok());
    EXPECT_EQ(attrs, Attr::Archive | (ownReadOnly ? Attr::ReadOnly : 0));

    // Read-only flipped: the mode of this file changes, not its twin's.
    ASSERT_TRUE(fs.writeAttributes(ownPath(), Attr::Archive | (ownReadOnly ? 0 : Attr::ReadOnly)).ok());
    const mode_t mode = raw::lstatOf(onDisk(own().bytes)).st_mode;
    EXPECT_EQ((mode & 0222) == 0, !ownReadOnly);
    expectOtherUntouched();

    if (!raw::userXattrsWork(root))
        return;
    ASSERT_TRUE(fs.writeAttributes(ownPath(), Attr::Hidden | Attr::System).ok());
    EXPECT_NE(raw::dosAttrib(onDisk(own().bytes)), QByteArray());
    ASSERT_TRUE(fs.readAttributes(ownPath(), &attrs).ok());
    EXPECT_EQ(attrs, Attr::Hidden | Attr::System);
    ASSERT_TRUE(fs.readAttributes(otherPath(), &attrs).ok());
    EXPECT_EQ(attrs & (Attr::Hidden | Attr::System), 0u);
    expectOtherUntouched();
}

TEST_P(TwinNamesTest, MoveToTrash)
{
    TempDir data;
    ASSERT_TRUE(data.isValid());
    const DataHome home(data.root());
    const QByteArray trash = data.root() + "/Trash";

    ASSERT_TRUE(fs.moveToTrash(ownPath()).ok());
    expectNames({});
    expectOtherUntouched();
    EXPECT_EQ(raw::names(trash + "/files"), QList<QByteArray>{own().bytes});
    EXPECT_EQ(raw::read(trash + "/files/" + own().bytes), own().content);
    EXPECT_EQ(raw::names(trash + "/info"), QList<QByteArray>{own().bytes + ".trashinfo"});
    const QByteArray recorded = trashInfoPath(trash + "/info/" + own().bytes + ".trashinfo");
    EXPECT_TRUE(recorded.endsWith('/' + own().escaped)) << recorded.toStdString();
    EXPECT_EQ(QByteArray::fromPercentEncoding(recorded).toHex(' '), onDisk(own().bytes).toHex(' '));
}

// ---------------------------------------------------------------------------
// A folder whose own name is not UTF-8

TEST(BytesFolder, HeldListedAndWorkedIn)
{
    TempDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray root = dir.root();
    const QByteArray folder = root + "/\xe9t\xe9"; // "été" in Latin-1
    const QString folderText = dir.path() + u'/' + QChar(0xDCE9) + u't' + QChar(0xDCE9);
    ASSERT_TRUE(raw::makeDir(folder));
    ASSERT_TRUE(raw::makeFile(folder + "/a.txt", "inside"));
    LinuxFileSystem fs;

    for (const bool held : {false, true}) {
        SCOPED_TRACE(held ? "held" : "by path");
        FolderHold hold;
        if (held) {
            hold = fs.holdFolder(folderText);
            ASSERT_TRUE(hold);
        }
        QList<DirEntry> entries;
        ASSERT_TRUE(fs.listDir(folderText, &entries).ok());
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries.at(0).name, u"a.txt"_s);

        const QString a = folderText + u"/a.txt"_s;
        const QString b = folderText + u"/b.txt"_s;
        const QString c = folderText + u"/c.txt"_s;
        EXPECT_TRUE(fs.exists(a));
        EXPECT_TRUE(fs.openable(a));
        ASSERT_TRUE(fs.rename(a, b).ok());
        ASSERT_TRUE(fs.copy(b, c).ok());
        EXPECT_EQ(raw::names(folder), (QList<QByteArray>{"b.txt", "c.txt"}));
        EXPECT_EQ(raw::read(folder + "/c.txt"), "inside");
        ASSERT_TRUE(fs.writeTimes(c, {}, {}, QDateTime::fromSecsSinceEpoch(1000000000)).ok());
        EXPECT_EQ(raw::lstatOf(folder + "/c.txt").st_mtime, 1000000000);
        ASSERT_TRUE(fs.remove(c).ok());
        ASSERT_TRUE(fs.rename(b, a).ok());
        EXPECT_EQ(raw::names(folder), QList<QByteArray>{"a.txt"});
        EXPECT_EQ(raw::read(folder + "/a.txt"), "inside");
        // Nothing was made under a decoded spelling of the folder.
        EXPECT_EQ(raw::names(root), QList<QByteArray>{"\xe9t\xe9"});
    }

    // Into the trash from there, its folder recorded by bytes.
    TempDir data;
    ASSERT_TRUE(data.isValid());
    const DataHome home(data.root());
    ASSERT_TRUE(fs.moveToTrash(folderText + u"/a.txt"_s).ok());
    EXPECT_EQ(raw::names(folder), QList<QByteArray>());
    EXPECT_EQ(raw::read(data.root() + "/Trash/files/a.txt"), "inside");
    const QByteArray recorded = trashInfoPath(data.root() + "/Trash/info/a.txt.trashinfo");
    EXPECT_TRUE(recorded.endsWith("/%E9t%E9/a.txt")) << recorded.toStdString();
    EXPECT_EQ(QByteArray::fromPercentEncoding(recorded), folder + "/a.txt");
}

// ---------------------------------------------------------------------------
// The trash

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(data.isValid());
        root = dir.root();
        trash = data.root() + "/Trash";
        fs.injectErrno = faults.injector();
    }

    TempDir dir;
    TempDir data;
    DataHome home{data.root()};
    QByteArray root;
    QByteArray trash;
    Faults faults;
    LinuxFileSystem fs;
};

// The info file is lines of text: every byte that could be misread there
// (a line break, "%", a byte that is not UTF-8) is written %XX.
TEST_F(TrashTest, InfoFileRecordsThePathByBytes)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QString text;
        QByteArray recorded;
    } cases[] = {
        {"byteFF", "\xff.txt", QString(QChar(0xDCFF)) + u".txt"_s, "%FF.txt"},
        {"cp932", "\x93\xfa\x96\x7b.txt", QString(QChar(0xDC93)) + QChar(0xDCFA) + QChar(0xDC96) + u"{.txt"_s,
         "%93%FA%96%7B.txt"},
        {"utf8", "\xe6\x97\xa5.txt", u"日.txt"_s, "%E6%97%A5.txt"},
        {"percentAndBlank", "50% off.txt", u"50% off.txt"_s, "50%25%20off.txt"},
        // "=" may be written as it is or escaped; only what the line reads
        // back to counts, and that it stays one line.
        {"lineBreak", "a\nPath=b.txt", u"a\nPath=b.txt"_s, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(raw::makeFile(raw::join(root, c.bytes), c.name));
        ASSERT_TRUE(fs.moveToTrash(dir.path() + u'/' + c.text).ok());
        EXPECT_FALSE(raw::exists(raw::join(root, c.bytes)));
        EXPECT_EQ(raw::read(trash + "/files/" + c.bytes), QByteArray(c.name));
        const QByteArray info = raw::read(trash + "/info/" + c.bytes + ".trashinfo");
        EXPECT_EQ(info.count("\nPath="), 1) << info.toStdString();
        EXPECT_EQ(info.count('\n'), 3) << info.toStdString();
        const QByteArray recorded = trashInfoPath(trash + "/info/" + c.bytes + ".trashinfo");
        if (!c.recorded.isEmpty()) {
            EXPECT_EQ(recorded, root + '/' + c.recorded);
        }
        EXPECT_EQ(QByteArray::fromPercentEncoding(recorded), raw::join(root, c.bytes));
    }
}

TEST_F(TrashTest, SecondFileOfTheSameNameKeepsTheFirst)
{
    const QString text = dir.path() + u'/' + QChar(0xDCFF) + u".txt"_s;
    ASSERT_TRUE(raw::makeFile(root + "/\xff.txt", "first"));
    ASSERT_TRUE(fs.moveToTrash(text).ok());
    ASSERT_TRUE(raw::makeFile(root + "/\xff.txt", "second"));
    ASSERT_TRUE(fs.moveToTrash(text).ok());
    EXPECT_EQ(raw::names(root), QList<QByteArray>());

    const QList<QByteArray> files = raw::names(trash + "/files");
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(raw::read(trash + "/files/\xff.txt"), "first");
    QByteArray contents;
    for (const QByteArray& name : files) {
        contents += raw::read(trash + "/files/" + name) + ';';
        // Each file has its own info file, recording where it came from.
        const QByteArray recorded = trashInfoPath(trash + "/info/" + name + ".trashinfo");
        EXPECT_EQ(QByteArray::fromPercentEncoding(recorded), root + "/\xff.txt") << name.toStdString();
    }
    EXPECT_TRUE(contents == "first;second;" || contents == "second;first;") << contents.toStdString();
    EXPECT_EQ(raw::names(trash + "/info").size(), 2);
}

// A file left in the trash without its info file still holds the name.
TEST_F(TrashTest, NeverReplacesAFileWithoutInfo)
{
    ASSERT_TRUE(raw::makeDir(data.root() + "/Trash"));
    ASSERT_TRUE(raw::makeDir(trash + "/files"));
    ASSERT_TRUE(raw::makeDir(trash + "/info"));
    ASSERT_TRUE(raw::makeFile(trash + "/files/\xe9.txt", "orphan"));
    ASSERT_TRUE(raw::makeFile(root + "/\xe9.txt", "new"));
    ASSERT_TRUE(fs.moveToTrash(dir.path() + u'/' + QChar(0xDCE9) + u".txt"_s).ok());
    EXPECT_EQ(raw::names(root), QList<QByteArray>());
    EXPECT_EQ(raw::read(trash + "/files/\xe9.txt"), "orphan");
    const QList<QByteArray> files = raw::names(trash + "/files");
    ASSERT_EQ(files.size(), 2);
    const QByteArray other = files.at(0) == "\xe9.txt" ? files.at(1) : files.at(0);
    EXPECT_EQ(raw::read(trash + "/files/" + other), "new");
    // The orphan's name has no info file made for it.
    EXPECT_EQ(raw::names(trash + "/info"), QList<QByteArray>{other + ".trashinfo"});
}

TEST_F(TrashTest, FailureLeavesTheFileWhereItWas)
{
    const struct {
        const char* name;
        const char* call;
        int err;
    } cases[] = {
        {"moveIntoTrash", "renameat2", EIO},
        {"infoFileNotMade", "open", EIO},
        {"infoFileNotWritten", "write", ENOSPC},
    };
    const QString text = dir.path() + u'/' + QChar(0xDCFF) + u".txt"_s;
    ASSERT_TRUE(raw::makeFile(root + "/\xff.txt", "keep me"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString call = QString::fromLatin1(c.call);
        faults.calls.clear();
        faults.rule = [&](const QString& made, const QString&) { return made == call ? c.err : 0; };
        const FsStatus st = fs.moveToTrash(text);
        EXPECT_FALSE(st.ok());
        EXPECT_EQ(st.sysErrno, c.err);
        EXPECT_TRUE(faults.called(call));
        EXPECT_EQ(raw::names(root), QList<QByteArray>{"\xff.txt"});
        EXPECT_EQ(raw::read(root + "/\xff.txt"), "keep me");
        EXPECT_EQ(raw::names(trash + "/files"), QList<QByteArray>());
        // No info file left to describe a file that is not there.
        EXPECT_EQ(raw::names(trash + "/info"), QList<QByteArray>());
    }
    faults.rule = nullptr;
    ASSERT_TRUE(fs.moveToTrash(text).ok());
    EXPECT_EQ(raw::names(trash + "/files"), QList<QByteArray>{"\xff.txt"});
}

// ---------------------------------------------------------------------------
// The trash of another volume

// A file on a volume other than the data folder's goes into that volume's
// trash: its shared one ($top/.Trash/$uid) when that is a sticky folder and
// not a link, else the user's own ($top/.Trash-$uid), never through a link.
TEST(VolumeTrash, ChoosesTheVolumesOwnTrash)
{
    TempDir dir;
    TempDir data;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(data.isValid());
    const QByteArray top = dir.root() + "/mnt";
    ASSERT_TRUE(raw::makeDir(top));
    if (::mount("tmpfs", top.constData(), "tmpfs", 0, "size=4m") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{top};
    const DataHome home(data.root());
    const QByteArray uid = QByteArray::number(::getuid());

    enum Shared { None, Sticky, NotSticky, LinkToSticky, OwnIsLink };
    const struct {
        const char* name;
        Shared shared;
        QByteArray trash; // below the volume; empty: no trash may take it
    } cases[] = {
        {"noSharedTrash", None, ".Trash-" + uid},
        {"sharedSticky", Sticky, ".Trash/" + uid},
        {"sharedNotSticky", NotSticky, ".Trash-" + uid},
        {"sharedIsALink", LinkToSticky, ".Trash-" + uid},
        {"ownIsALink", OwnIsLink, {}},
    };
    LinuxFileSystem fs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        raw::removeContents(top);
        ASSERT_TRUE(raw::makeDir(top + "/sub"));
        ASSERT_TRUE(raw::makeFile(top + "/sub/\xff.txt", "on the volume"));
        ASSERT_TRUE(raw::makeDir(top + "/elsewhere"));
        switch (c.shared) {
        case None:
            break;
        case Sticky:
        case NotSticky:
            ASSERT_TRUE(raw::makeDir(top + "/.Trash"));
            ASSERT_EQ(::chmod((top + "/.Trash").constData(), c.shared == Sticky ? 01777 : 0777), 0);
            break;
        case LinkToSticky:
            ASSERT_EQ(::chmod((top + "/elsewhere").constData(), 01777), 0);
            ASSERT_EQ(::symlink("elsewhere", (top + "/.Trash").constData()), 0);
            break;
        case OwnIsLink:
            ASSERT_EQ(::symlink("elsewhere", (top + "/.Trash-" + uid).constData()), 0);
            break;
        }

        const QString path = QString::fromLatin1(top) + u"/sub/"_s + QChar(0xDCFF) + u".txt"_s;
        const FsStatus st = fs.moveToTrash(path);
        EXPECT_EQ(raw::names(top + "/elsewhere"), QList<QByteArray>());
        EXPECT_FALSE(raw::exists(data.root() + "/Trash/files"));
        if (c.trash.isEmpty()) {
            EXPECT_FALSE(st.ok());
            EXPECT_EQ(raw::read(top + "/sub/\xff.txt"), "on the volume");
            continue;
        }
        ASSERT_TRUE(st.ok());
        EXPECT_EQ(raw::names(top + "/sub"), QList<QByteArray>());
        const QByteArray trash = top + '/' + c.trash;
        EXPECT_EQ(raw::read(trash + "/files/\xff.txt"), "on the volume");
        // Recorded relative to the top of the volume, so it still reads
        // right when the volume is mounted elsewhere.
        EXPECT_EQ(trashInfoPath(trash + "/info/\xff.txt.trashinfo"), "sub/%FF.txt");
    }
}

} // namespace
