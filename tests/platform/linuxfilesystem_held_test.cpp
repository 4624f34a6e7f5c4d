#include "platform/linuxfilesystem.h"
#include "tests/common/faults.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

// A held folder: a run over its files stays in that folder even when the
// folder is renamed or replaced under the same path meanwhile.

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;
namespace raw = tavil::test::raw;
using tavil::test::Faults;
using tavil::test::TempDir;

namespace {

class HeldFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        root = dir.root();
        ASSERT_TRUE(raw::makeDir(root + "/run"));
        ASSERT_TRUE(raw::makeFile(root + "/run/a.txt", "original"));
        run = dir.file(u"run"_s);
        fs.injectErrno = faults.injector();
    }

    // Someone else renames the folder and puts a new one under its old name.
    void replaceFolder() const
    {
        ASSERT_EQ(::rename((root + "/run").constData(), (root + "/moved").constData()), 0);
        ASSERT_TRUE(raw::makeDir(root + "/run"));
        ASSERT_TRUE(raw::makeFile(root + "/run/a.txt", "newcomer"));
    }

    QString in(const QString& name) const { return run + u'/' + name; }

    TempDir dir;
    QByteArray root;
    QString run;
    Faults faults;
    LinuxFileSystem fs;
};

// The current folder of the process, for as long as it lives, one that has
// been removed: whatever is found through it fails.
class RemovedCurrentFolder {
public:
    explicit RemovedCurrentFolder(const QByteArray& path)
    {
        char buffer[4096];
        if (::getcwd(buffer, sizeof buffer))
            m_saved = buffer;
        m_ok = ::mkdir(path.constData(), 0755) == 0 && ::chdir(path.constData()) == 0
            && ::rmdir(path.constData()) == 0;
    }
    ~RemovedCurrentFolder()
    {
        if (!m_saved.isEmpty())
            (void)::chdir(m_saved.constData());
    }
    RemovedCurrentFolder(const RemovedCurrentFolder&) = delete;
    RemovedCurrentFolder& operator=(const RemovedCurrentFolder&) = delete;
    bool ok() const { return m_ok; }

private:
    QByteArray m_saved;
    bool m_ok = false;
};

TEST_F(HeldFolderTest, EntriesOfAHeldFolderWork)
{
    const FolderHold hold = fs.holdFolder(run);
    ASSERT_TRUE(hold);
    // Names in the held folder are found through it alone, the folder that
    // holds a new file's temporary included, never by way of the current
    // folder.
    const RemovedCurrentFolder cwd(root + "/cwd");
    ASSERT_TRUE(cwd.ok());
    EXPECT_TRUE(fs.exists(in(u"a.txt"_s)));
    EXPECT_TRUE(fs.openable(in(u"a.txt"_s)));
    EXPECT_EQ(fs.stat(in(u"a.txt"_s)).size, 8);
    ASSERT_TRUE(fs.rename(in(u"a.txt"_s), in(u"b.txt."_s)).ok());
    ASSERT_TRUE(fs.copy(in(u"b.txt"_s), in(u"c.txt"_s)).ok());
    EXPECT_EQ(fs.copy(in(u"b.txt"_s), in(u"c.txt"_s)).number(), 58);
    EXPECT_EQ(fs.rename(in(u"b.txt"_s), in(u"c.txt"_s)).number(), 58);
    // Across file systems, through the temporary file and the folder sync.
    faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EXDEV : 0; };
    ASSERT_TRUE(fs.move(in(u"c.txt"_s), in(u"d.txt"_s)).ok());
    faults.rule = nullptr;
    ASSERT_TRUE(fs.writeTimes(in(u"d.txt"_s), {}, {}, QDateTime::fromSecsSinceEpoch(1000000000)).ok());
    ASSERT_TRUE(fs.makeDir(in(u"sub"_s)).ok());
    ASSERT_TRUE(fs.rename(in(u"d.txt"_s), in(u"sub/e.txt"_s)).ok());

    QList<DirEntry> entries;
    ASSERT_TRUE(fs.listDir(run, &entries).ok());
    QStringList names;
    for (const DirEntry& e : std::as_const(entries))
        names.append(e.name);
    names.sort();
    EXPECT_EQ(names, (QStringList{u"b.txt"_s, u"sub"_s}));
    EXPECT_EQ(raw::names(root + "/run"), (QList<QByteArray>{"b.txt", "sub"}));
    EXPECT_EQ(raw::read(root + "/run/b.txt"), "original");
    EXPECT_EQ(raw::read(root + "/run/sub/e.txt"), "original");
    EXPECT_EQ(raw::lstatOf(root + "/run/sub/e.txt").st_mtime, 1000000000);
    ASSERT_TRUE(fs.remove(in(u"b.txt"_s)).ok());
    EXPECT_EQ(raw::names(root + "/run"), QList<QByteArray>{"sub"});
}

// However the folder is named when held, the run stays in it; after the
// last hold is gone, paths are walked again.
TEST_F(HeldFolderTest, MovedFolderStaysTheOneActedOn)
{
    const struct {
        const char* name;
        QString spelling;
    } cases[] = {
        {"plain", u"run"_s},
        {"closingSeparator", u"run/"_s},
        {"closingSeparators", u"run//"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FolderHold hold = fs.holdFolder(dir.file(c.spelling));
        ASSERT_TRUE(hold);
        replaceFolder();

        ASSERT_TRUE(fs.rename(in(u"a.txt"_s), in(u"b.txt"_s)).ok());
        ASSERT_TRUE(fs.copy(in(u"b.txt"_s), in(u"c.txt"_s)).ok());
        EXPECT_TRUE(fs.exists(in(u"c.txt"_s)));
        QList<DirEntry> entries;
        ASSERT_TRUE(fs.listDir(run, &entries).ok());
        EXPECT_EQ(entries.size(), 2);
        EXPECT_EQ(raw::names(root + "/moved"), (QList<QByteArray>{"b.txt", "c.txt"}));
        EXPECT_EQ(raw::read(root + "/moved/b.txt"), "original");
        EXPECT_EQ(raw::read(root + "/moved/c.txt"), "original");
        // The folder now under the old path is not touched.
        EXPECT_EQ(raw::names(root + "/run"), QList<QByteArray>{"a.txt"});
        EXPECT_EQ(raw::read(root + "/run/a.txt"), "newcomer");

        hold.reset();
        EXPECT_FALSE(fs.exists(in(u"b.txt"_s)));
        EXPECT_EQ(fs.rename(in(u"b.txt"_s), in(u"x.txt"_s)).number(), 53);
        ASSERT_TRUE(fs.rename(in(u"a.txt"_s), in(u"d.txt"_s)).ok());
        EXPECT_EQ(raw::names(root + "/run"), QList<QByteArray>{"d.txt"});
        EXPECT_EQ(raw::read(root + "/run/d.txt"), "newcomer");
        EXPECT_EQ(raw::names(root + "/moved"), (QList<QByteArray>{"b.txt", "c.txt"}));

        // Back to the start for the next spelling.
        raw::removeContents(root);
        ASSERT_TRUE(raw::makeDir(root + "/run"));
        ASSERT_TRUE(raw::makeFile(root + "/run/a.txt", "original"));
    }
}

// Two holders of one folder: the first to let go does not end the other's
// hold.
TEST_F(HeldFolderTest, HoldsAreCounted)
{
    FolderHold first = fs.holdFolder(run);
    FolderHold second = fs.holdFolder(run + u'/');
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    first.reset();
    replaceFolder();
    ASSERT_TRUE(fs.rename(in(u"a.txt"_s), in(u"b.txt"_s)).ok());
    EXPECT_EQ(raw::names(root + "/moved"), QList<QByteArray>{"b.txt"});
    EXPECT_EQ(raw::names(root + "/run"), QList<QByteArray>{"a.txt"});
    second.reset();
    ASSERT_TRUE(fs.rename(in(u"a.txt"_s), in(u"c.txt"_s)).ok());
    EXPECT_EQ(raw::names(root + "/run"), QList<QByteArray>{"c.txt"});
    EXPECT_EQ(raw::names(root + "/moved"), QList<QByteArray>{"b.txt"});
}

TEST_F(HeldFolderTest, WhatCannotBeHeldGivesAnEmptyHold)
{
    const struct {
        const char* name;
        QString folder;
    } cases[] = {
        {"missing", dir.file(u"missing"_s)},
        {"aFile", in(u"a.txt"_s)},
        {"empty", QString()},
        {"brokenCharacter", dir.file(u"x"_s + QChar(0xD83D))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(fs.holdFolder(c.folder));
    }
    // And calls go by path as before.
    ASSERT_TRUE(fs.rename(in(u"a.txt"_s), in(u"b.txt"_s)).ok());
    EXPECT_EQ(raw::names(root + "/run"), QList<QByteArray>{"b.txt"});
}

} // namespace
