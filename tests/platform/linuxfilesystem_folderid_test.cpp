// Which folder a path leads to: the same folder however it is reached and
// whatever is done inside it, and never the same as a folder that took its
// place, on every kind of file system it may sit on.

#include "platform/linuxfilesystem.h"
#include "tests/common/scopedmount.h"
#include "tests/common/tempdir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <ostream>

#include <sys/stat.h>
#include <sys/statfs.h>

namespace tavil::test {
namespace {

using platform::FolderId;

bool onOverlay(const QString& path)
{
    constexpr __fsword_t kOverlayMagic = 0x794c7630;
    struct statfs sf {};
    return ::statfs(QFile::encodeName(path).constData(), &sf) == 0 && sf.f_type == kOverlayMagic;
}

// A file system for a test's folders, mounted over `over` for as long as
// the returned holder lives; a null holder with *problem set where that
// can't be had here.
struct Ground {
    const char* name;
    std::function<std::shared_ptr<void>(const TempDir& t, const QString& over, QString* problem)> mount;
};

const Ground kGrounds[] = {
    {"disk", [](const TempDir&, const QString&, QString*) { return std::make_shared<int>(0); }},
    {"tmpfs",
     [](const TempDir&, const QString& over, QString* problem) -> std::shared_ptr<void> {
         auto mount = std::make_shared<ScopedMount>(over);
         *problem = QStringLiteral("mounting is not permitted here");
         return mount->mounted() ? mount : nullptr;
     }},
    // Keeps no birth time: a folder made again gets the old inode number,
    // and only its generation number tells it apart.
    {"ext2",
     [](const TempDir& t, const QString& over, QString* problem) -> std::shared_ptr<void> {
         auto mount = std::make_shared<ScopedLoopMount>(t.file(QStringLiteral("card.img")), over);
         *problem = mount->problem();
         return mount->mounted() ? mount : nullptr;
     }},
};

// Test names and failure messages show the name, not the bytes.
void PrintTo(const Ground& g, std::ostream* os)
{
    *os << g.name;
}

class FolderIdOn : public testing::TestWithParam<Ground> {};

TEST_P(FolderIdOn, SameFolderOnlyWhileItIsTheOneAtThePath)
{
    struct Case {
        const char* name;
        // Given the folder base/d, changes the world and returns the path to
        // look at again.
        std::function<QString(const QString& base)> after;
        bool same;
        // An overlay's writable layer may give a folder made again the old
        // inode number and shows nothing else that differs (a limit the
        // README states): where the test's own disk is an overlay (a
        // container, a live system) such a case proves nothing.
        bool overlayTells = true;
    };
    const Case cases[] = {
        {"unchanged", [](const QString& base) { return base + QStringLiteral("/d"); }, true},
        {"closingSlash", [](const QString& base) { return base + QStringLiteral("/d/"); }, true},
        {"throughALink",
         [](const QString& base) {
             EXPECT_TRUE(QFile::link(base + QStringLiteral("/d"), base + QStringLiteral("/link")));
             return base + QStringLiteral("/link");
         },
         true},
        {"contentChanged",
         [](const QString& base) {
             QFile f(base + QStringLiteral("/d/new.txt"));
             EXPECT_TRUE(f.open(QIODevice::WriteOnly));
             return base + QStringLiteral("/d");
         },
         true},
        {"replaced",
         [](const QString& base) {
             EXPECT_TRUE(QDir().rename(base + QStringLiteral("/d"), base + QStringLiteral("/old")));
             EXPECT_TRUE(QDir().mkdir(base + QStringLiteral("/d")));
             return base + QStringLiteral("/d");
         },
         false},
        {"removedAndMadeAgain",
         [](const QString& base) {
             EXPECT_TRUE(QDir(base + QStringLiteral("/d")).removeRecursively());
             EXPECT_TRUE(QDir().mkdir(base + QStringLiteral("/d")));
             return base + QStringLiteral("/d");
         },
         false, false},
        {"removed",
         [](const QString& base) {
             EXPECT_TRUE(QDir(base + QStringLiteral("/d")).removeRecursively());
             return base + QStringLiteral("/d");
         },
         false},
        {"aFileInItsPlace",
         [](const QString& base) {
             EXPECT_TRUE(QDir(base + QStringLiteral("/d")).removeRecursively());
             QFile f(base + QStringLiteral("/d"));
             EXPECT_TRUE(f.open(QIODevice::WriteOnly));
             return base + QStringLiteral("/d");
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir t;
        const QString base = t.createDir(QStringLiteral("volume"));
        QString problem;
        const std::shared_ptr<void> mount = GetParam().mount(t, base, &problem);
        if (!mount)
            GTEST_SKIP() << problem.toStdString();
        if (!c.overlayTells && onOverlay(base)) {
            std::cout << "[ SKIPPED  ] " << c.name << ": the test's folder lies on an overlay\n";
            continue;
        }
        platform::LinuxFileSystem fs;
        ASSERT_TRUE(QDir().mkdir(base + QStringLiteral("/d")));
        QFile file(base + QStringLiteral("/d/a.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        const FolderId listed = fs.folderId(base + QStringLiteral("/d"));
        ASSERT_TRUE(listed.valid);
        const QString again = c.after(base);
        EXPECT_EQ(platform::sameFolder(fs.folderId(again), listed), c.same);
    }
}

INSTANTIATE_TEST_SUITE_P(Grounds, FolderIdOn, testing::ValuesIn(kGrounds),
                         [](const testing::TestParamInfo<Ground>& info) { return std::string(info.param.name); });

TEST(FolderIdTest, NoFolderIsTheSameAsNothing)
{
    TempDir t;
    platform::LinuxFileSystem fs;
    t.createFile(QStringLiteral("f.txt"), "x");
    // Looked at without being opened for reading: a FIFO would block.
    ASSERT_EQ(::mkfifo((t.root() + "/fifo").constData(), 0600), 0);
    for (const QString& path : {t.file(QStringLiteral("f.txt")), t.file(QStringLiteral("missing")),
                                t.file(QStringLiteral("fifo")), QStringLiteral("/dev/null"), QString()}) {
        SCOPED_TRACE(path.toStdString());
        const FolderId id = fs.folderId(path);
        EXPECT_FALSE(id.valid);
        EXPECT_FALSE(platform::sameFolder(id, id));
    }
}

// What is known of a folder depends on its file system and the kernel: a
// field known on one side only tells two apart, one known on neither side
// leaves the others to tell.
TEST(FolderIdTest, FieldKnownOnOneSideOnlyTellsApart)
{
    FolderId full;
    full.valid = true;
    full.device = 7;
    full.inode = 12;
    full.hasGeneration = true;
    full.generation = 99;
    full.hasMount = true;
    full.mount = 5;
    struct Case {
        const char* name;
        std::function<void(FolderId& id)> change;
        bool same;
    };
    const Case cases[] = {
        {"generationOnOneSide", [](FolderId& id) { id.hasGeneration = false; }, false},
        {"otherGeneration", [](FolderId& id) { id.generation = 98; }, false},
        {"mountOnOneSide", [](FolderId& id) { id.hasMount = false; }, false},
        {"otherMount", [](FolderId& id) { id.mount = 6; }, false},
        {"birthOnOneSide", [](FolderId& id) { id.hasBirth = true; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderId other = full;
        c.change(other);
        EXPECT_EQ(platform::sameFolder(full, other), c.same);
        EXPECT_EQ(platform::sameFolder(other, full), c.same);
    }
    FolderId bare = full;
    bare.hasGeneration = bare.hasMount = false;
    FolderId bareAgain = bare;
    bareAgain.generation = 1; // what was never read is not compared
    bareAgain.mount = 2;
    EXPECT_TRUE(platform::sameFolder(bare, bareAgain));
}

// A card taken out and another (or the same one) put in at the same mount
// point: the new folder has the old one's path, device and inode number.
// The shown folder is not held open, so the card can be taken out plainly.
TEST(FolderIdTest, VolumeSwappedAtTheMountPointIsAnotherFolder)
{
    struct Case {
        const char* name;
        bool sameCard;
    };
    for (const Case c : {Case{"anotherCard", false}, Case{"sameCardAgain", true}}) {
        SCOPED_TRACE(c.name);
        TempDir t;
        const QString point = t.createDir(QStringLiteral("media"));
        const QString image = t.file(QStringLiteral("card.img"));
        auto first = std::make_unique<ScopedLoopMount>(image, point);
        if (!first->mounted())
            GTEST_SKIP() << first->problem().toStdString();
        platform::LinuxFileSystem fs;
        ASSERT_TRUE(QDir().mkdir(point + QStringLiteral("/d")));
        const FolderId listed = fs.folderId(point + QStringLiteral("/d"));
        ASSERT_TRUE(listed.valid);
        EXPECT_TRUE(first->unmount()) << "the shown folder kept the volume busy";
        first.reset(); // its loop device free again, for the next card to take
        ScopedLoopMount second(c.sameCard ? image : t.file(QStringLiteral("other.img")), point, c.sameCard);
        ASSERT_TRUE(second.mounted()) << second.problem().toStdString();
        if (!c.sameCard) {
            ASSERT_TRUE(QDir().mkdir(point + QStringLiteral("/d")));
        }
        EXPECT_FALSE(platform::sameFolder(fs.folderId(point + QStringLiteral("/d")), listed));
    }
}

// Layers of an overlay: both on the disk, or the lower one on another file
// system (as a live system's image under its writable layer).
struct Layers {
    const char* name;
    bool lowerOnTmpfs;
};

void PrintTo(const Layers& l, std::ostream* os)
{
    *os << l.name;
}

class FolderIdOnOverlay : public testing::TestWithParam<Layers> {};

// A write into a folder of the lower layer copies the folder up into the
// writable one, which gives it another birth time: it is still the listed
// folder. A folder removed and made again there is a new one of the
// writable layer, with an inode number of its own.
TEST_P(FolderIdOnOverlay, CopyUpKeepsTheFolder)
{
    struct Case {
        const char* name;
        std::function<void(platform::LinuxFileSystem& fs, const QString& d)> after;
        bool same;
    };
    const Case cases[] = {
        {"fileWrittenIn",
         [](platform::LinuxFileSystem&, const QString& d) {
             QFile f(d + QStringLiteral("/new.txt"));
             EXPECT_TRUE(f.open(QIODevice::WriteOnly));
             EXPECT_EQ(f.write("x"), 1);
         },
         true},
        {"folderMadeIn",
         [](platform::LinuxFileSystem& fs, const QString& d) {
             EXPECT_TRUE(fs.makeDir(d + QStringLiteral("/新しいフォルダ")).ok());
         },
         true},
        {"fileWrittenInASubFolder",
         [](platform::LinuxFileSystem&, const QString& d) {
             QFile f(d + QStringLiteral("/inner/new.txt"));
             EXPECT_TRUE(f.open(QIODevice::WriteOnly));
         },
         true},
        {"fileRenamedIn",
         [](platform::LinuxFileSystem& fs, const QString& d) {
             EXPECT_TRUE(fs.rename(d + QStringLiteral("/a.txt"), d + QStringLiteral("/b.txt")).ok());
         },
         true},
        {"removedAndMadeAgain",
         [](platform::LinuxFileSystem&, const QString& d) {
             EXPECT_TRUE(QDir(d).removeRecursively());
             EXPECT_TRUE(QDir().mkdir(d));
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir t;
        const QString lower = t.createDir(QStringLiteral("lower"));
        std::unique_ptr<ScopedMount> lowerMount;
        if (GetParam().lowerOnTmpfs) {
            lowerMount = std::make_unique<ScopedMount>(lower);
            if (!lowerMount->mounted())
                GTEST_SKIP() << "mounting is not permitted here";
        }
        ASSERT_TRUE(QDir().mkpath(lower + QStringLiteral("/d/inner")));
        QFile file(lower + QStringLiteral("/d/a.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        const ScopedOverlay overlay(lower, t.file(QStringLiteral("overlay")));
        if (!overlay.mounted())
            GTEST_SKIP() << "an overlay can't be mounted here";
        platform::LinuxFileSystem fs;
        const QString d = overlay.merged() + QStringLiteral("/d");
        const FolderId listed = fs.folderId(d);
        ASSERT_TRUE(listed.valid);
        c.after(fs, d);
        EXPECT_EQ(platform::sameFolder(fs.folderId(d), listed), c.same);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, FolderIdOnOverlay,
                         testing::Values(Layers{"oneFileSystem", false}, Layers{"lowerOnTmpfs", true}),
                         [](const testing::TestParamInfo<Layers>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavil::test
