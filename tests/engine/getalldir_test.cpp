#include "engine/getalldir.h"
#include "platform/linuxfilesystem.h"
#include "tests/common/fakes.h"
#include "tests/common/tempdir.h"
#include "tests/engine/mapfs.h"

#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace tavil::test {
namespace {

using engine::GetAllDir;

QStringList panel(const FakeHost& host, int number)
{
    QStringList texts;
    const QString prefix = QString::number(number) + u':';
    for (const QString& entry : host.statusLog)
        if (entry.startsWith(prefix))
            texts.append(entry.mid(prefix.size()));
    return texts;
}

TEST(GetAllDirTest, BreadthFirstOverARealTree)
{
    TempDir tmp;
    const QString root = tmp.path();
    tmp.createDir(QStringLiteral("a/x/deep"));
    tmp.createDir(QStringLiteral("b/y"));
    tmp.createFile(QStringLiteral("f.txt"));
    tmp.createFile(QStringLiteral("a/g.txt"));
    tmp.createDir(QStringLiteral(".git/objects"));   // a dot folder is hidden
    ASSERT_TRUE(QFile::link(root + "/a", root + "/link")); // leads to a folder walked anyway
    ASSERT_TRUE(QFile::link(root, root + "/a/x/up"));      // a loop back to the root

    platform::LinuxFileSystem fs;
    FakeHost host;
    const QStringList result = GetAllDir(root, fs, host);

    ASSERT_EQ(result.size(), 6) << result.join(u' ').toStdString();
    EXPECT_EQ(result[0], root + "/");
    EXPECT_EQ((QSet<QString>{result[1], result[2]}), (QSet<QString>{root + "/a", root + "/b"}));
    // Children follow their parents' order.
    const bool aFirst = result[1] == root + "/a";
    EXPECT_EQ(result[3], aFirst ? root + "/a/x" : root + "/b/y");
    EXPECT_EQ(result[4], aFirst ? root + "/b/y" : root + "/a/x");
    EXPECT_EQ(result[5], root + "/a/x/deep");

    // One pause per folder read after the root, and both panels empty at the end.
    EXPECT_EQ(host.pumps, 5);
    EXPECT_EQ(host.status1, QString());
    EXPECT_EQ(host.status2, QString());
    EXPECT_EQ(panel(host, 1).value(0), QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."));
}

TEST(GetAllDirTest, FolderWithoutSubfoldersGivesTheRootAlone)
{
    TempDir tmp;
    tmp.createFile(QStringLiteral("only.txt"));
    platform::LinuxFileSystem fs;
    FakeHost host;
    EXPECT_EQ(GetAllDir(tmp.folder(), fs, host), QStringList{tmp.folder()});
    EXPECT_EQ(host.pumps, 0);
}

TEST(GetAllDirTest, FileSystemRootAndFoldersThatCannotBeWalked)
{
    MapFs fs;
    fs.setInode(QStringLiteral("/"), 1);
    const QString home = fs.addDir(QStringLiteral("/"), QStringLiteral("home"), 2);
    fs.addDir(QStringLiteral("/"), QStringLiteral(".cache"), 3);
    fs.addDir(QStringLiteral("/"), QStringLiteral("sys"), 4);
    fs.listing[QStringLiteral("/")].last().isSystem = true;
    const QString etc = fs.addDir(QStringLiteral("/"), QStringLiteral("etc"), 5);
    fs.unreadable.insert(etc);
    fs.addDir(QStringLiteral("/"), QStringLiteral("gone"), 6);
    fs.inodes.remove(QStringLiteral("/gone")); // vanished between the listing and its turn
    const QString user = fs.addDir(home, QStringLiteral("u"), 7);
    fs.addDir(user, QStringLiteral("bound"), 1); // the root again, as a bind mount shows it
    fs.addDir(user, QStringLiteral("again"), 2); // and /home again
    fs.addDir(user, QStringLiteral("Thumbs"), 8);
    fs.listing[user].last().isSystem = true;
    fs.addDir(user, QStringLiteral(".hidden"), 9);

    FakeHost host;
    const QStringList result = GetAllDir(QStringLiteral("/"), fs, host);

    EXPECT_EQ(result, (QStringList{"/", "/home", "/etc", "/home/u"}));
    EXPECT_EQ(fs.listed, (QStringList{"/", "/home/", "/etc/", "/home/u/"}));
    EXPECT_EQ(host.pumps, 3);
}

TEST(GetAllDirTest, SearchAnimationEveryTwentyRootEntries)
{
    struct Case {
        const char* name;
        int entries;
        QStringList panel1;
    };
    const Case cases[] = {
        {"fortyFive", 45,
         {QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."), QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検..."),
          QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索..."), QString()}},
        {"eighty", 80,
         {QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."), QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検..."),
          QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索..."), QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."),
          QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ..."), QString()}},
        {"nineteen", 19, {QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."), QString()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapFs fs;
        fs.setInode(QStringLiteral("/data"), 1);
        // Folders and files both count.
        for (int i = 0; i < c.entries; ++i) {
            if (i % 3 == 0)
                fs.addDir(QStringLiteral("/data"), QStringLiteral("d%1").arg(i), 100 + i);
            else
                fs.addFile(QStringLiteral("/data"), QStringLiteral("f%1").arg(i));
        }
        FakeHost host;
        GetAllDir(QStringLiteral("/data"), fs, host);
        EXPECT_EQ(panel(host, 1), c.panel1);
    }
}

} // namespace
} // namespace tavil::test
