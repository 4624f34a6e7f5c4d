// Which folder a path leads to: the same folder however it is reached, and
// never the same as a folder that took its place.

#include "platform/linuxfilesystem.h"
#include "tests/common/tempdir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace tavil::test {
namespace {

using platform::FolderId;

TEST(FolderIdTest, SameFolderOnlyWhileItIsTheOneAtThePath)
{
    struct Case {
        const char* name;
        // Given the folder "d" (and what the test made), changes the world
        // and returns the path to look at again.
        std::function<QString(const TempDir& t)> after;
        bool same;
    };
    const Case cases[] = {
        {"unchanged", [](const TempDir& t) { return t.file(QStringLiteral("d")); }, true},
        {"closingSlash", [](const TempDir& t) { return t.file(QStringLiteral("d/")); }, true},
        {"throughALink",
         [](const TempDir& t) {
             EXPECT_TRUE(QFile::link(t.file(QStringLiteral("d")), t.file(QStringLiteral("link"))));
             return t.file(QStringLiteral("link"));
         },
         true},
        {"contentChanged",
         [](const TempDir& t) {
             t.createFile(QStringLiteral("d/new.txt"), "x");
             return t.file(QStringLiteral("d"));
         },
         true},
        {"replaced",
         [](const TempDir& t) {
             EXPECT_TRUE(QDir().rename(t.file(QStringLiteral("d")), t.file(QStringLiteral("old"))));
             t.createDir(QStringLiteral("d"));
             return t.file(QStringLiteral("d"));
         },
         false},
        {"removedAndMadeAgain",
         [](const TempDir& t) {
             EXPECT_TRUE(QDir(t.file(QStringLiteral("d"))).removeRecursively());
             t.createDir(QStringLiteral("d"));
             return t.file(QStringLiteral("d"));
         },
         false},
        {"removed",
         [](const TempDir& t) {
             EXPECT_TRUE(QDir(t.file(QStringLiteral("d"))).removeRecursively());
             return t.file(QStringLiteral("d"));
         },
         false},
        {"aFileInItsPlace",
         [](const TempDir& t) {
             EXPECT_TRUE(QDir(t.file(QStringLiteral("d"))).removeRecursively());
             t.createFile(QStringLiteral("d"), "file");
             return t.file(QStringLiteral("d"));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir t;
        platform::LinuxFileSystem fs;
        t.createFile(QStringLiteral("d/a.txt"), "a");
        const FolderId listed = fs.folderId(t.file(QStringLiteral("d")));
        ASSERT_TRUE(listed.valid);
        const QString again = c.after(t);
        EXPECT_EQ(platform::sameFolder(fs.folderId(again), listed), c.same);
    }
}

TEST(FolderIdTest, NoFolderIsTheSameAsNothing)
{
    TempDir t;
    platform::LinuxFileSystem fs;
    t.createFile(QStringLiteral("f.txt"), "x");
    for (const QString& path : {t.file(QStringLiteral("f.txt")), t.file(QStringLiteral("missing")), QString()}) {
        SCOPED_TRACE(path.toStdString());
        const FolderId id = fs.folderId(path);
        EXPECT_FALSE(id.valid);
        EXPECT_FALSE(platform::sameFolder(id, id));
    }
}

} // namespace
} // namespace tavil::test
