// The trash delete the Quick window calls: what it says of a path that holds
// nothing, and that it only ever moves into the trash.

#include "platform/gui/delfile.h"

#include "platform/linuxfilesystem.h"
#include "tests/common/datahomeguard.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;
namespace raw = tavil::test::raw;
using tavil::test::DataHomeGuard;
using tavil::test::FakeDesktop;
using tavil::test::FakeDialogs;
using tavil::test::TempDir;

namespace {

TEST(DelFile, IntoTheTrashOrAWordWhyNot)
{
    TempDir dir;
    ASSERT_TRUE(dir.isValid());
    const DataHomeGuard home(dir.root() + "/data");
    const QByteArray trash = dir.root() + "/data/Trash";
    LinuxFileSystem fs;
    dir.createFile(u"work/photo.jpg"_s, "photo");
    dir.createFile(u"work/album/inside.jpg"_s, "inside");
    // A name that fits its folder but not, with ".trashinfo", the trash's
    // record of it.
    const QString longName = QString(247, u'x') + u".txt"_s;
    dir.createFile(u"work/"_s + longName, "long");

    const struct {
        const char* name;
        QString item;
        bool trashed;
        int sysErrno;
        QByteArray inTrash; // what the trash holds of it afterwards
    } cases[] = {
        {"file", u"photo.jpg"_s, true, 0, "photo"},
        {"folderWithContents", u"album"_s, true, 0, {}},
        {"nameTooLongForTheRecord", longName, false, ENAMETOOLONG, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDialogs dialogs;
        FakeDesktop desktop;
        FsStatus why{Err::Internal, -1, false};
        EXPECT_EQ(DelFile(fs, dialogs, desktop, dir.file(u"work/"_s + c.item), &why), c.trashed);
        EXPECT_EQ(why.sysErrno, c.sysErrno);
        EXPECT_EQ(dir.exists(u"work/"_s + c.item), !c.trashed);
        EXPECT_EQ(raw::exists(trash + "/files/" + c.item.toUtf8()), c.trashed);
        EXPECT_EQ(raw::exists(trash + "/info/" + c.item.toUtf8() + ".trashinfo"), c.trashed);
        if (!c.inTrash.isEmpty()) {
            EXPECT_EQ(raw::read(trash + "/files/" + c.item.toUtf8()), c.inTrash);
        }
        EXPECT_TRUE(dialogs.shown.isEmpty());
        EXPECT_EQ(desktop.beeps, 0);
    }
    EXPECT_EQ(raw::read(trash + "/files/album/inside.jpg"), "inside");
    EXPECT_EQ(dir.read(u"work/"_s + longName), "long");
}

TEST(DelFile, NothingThereBeepsAndSays)
{
    TempDir dir;
    ASSERT_TRUE(dir.isValid());
    const DataHomeGuard home(dir.root() + "/data");
    LinuxFileSystem fs;
    FakeDialogs dialogs;
    FakeDesktop desktop;
    FsStatus why;
    EXPECT_FALSE(DelFile(fs, dialogs, desktop, dir.file(u"gone.txt"_s), &why));
    EXPECT_EQ(why.err, Err::NotFound);
    EXPECT_EQ(desktop.beeps, 1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"削除対象が存在しません"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"DelFile"_s);
    EXPECT_EQ(dialogs.shown[0].style, 64);
    EXPECT_FALSE(raw::exists(dir.root() + "/data/Trash/files"));

    // A link that leads nowhere is still there: it goes itself.
    ASSERT_EQ(::symlink("nowhere", (dir.root() + "/dangling").constData()), 0);
    EXPECT_TRUE(DelFile(fs, dialogs, desktop, dir.file(u"dangling"_s)));
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(raw::names(dir.root() + "/data/Trash/files"), QList<QByteArray>{"dangling"});
}

} // namespace
