// A symbolic link in the run's folder is an entry of that folder, not a way
// into another one: a change that would have to follow it is refused and
// counted, a change the link itself can take falls on the link, and a copy
// reads what it points at or says which link leads nowhere.

#include "engine/operations.h"
#include "tests/common/fsprobe.h"
#include "tests/common/opfixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/xattr.h>
#include <unistd.h>

namespace tavil::test {
namespace {

using engine::OperationParams;

constexpr time_t kOld = 981201600; // 2001-02-03 12:00 UTC

// user.DOSATTRIB of path, or "<none>".
QByteArray dosAttrib(const QString& path)
{
    char value[256];
    const ssize_t n = ::getxattr(native(path).constData(), "user.DOSATTRIB", value, sizeof value);
    return n < 0 ? QByteArray("<none>") : QByteArray(value, n);
}

QByteArray linkTarget(const QString& path)
{
    char buffer[4096];
    const ssize_t n = ::readlink(native(path).constData(), buffer, sizeof buffer);
    return n < 0 ? QByteArray() : QByteArray(buffer, n);
}

// "link" in the run's folder points at a file in another folder.
class LinkTest : public OperationTest {
protected:
    void SetUp() override
    {
        target = elsewhere.createFile(QStringLiteral("target.txt"), "target");
        ASSERT_TRUE(setTimes(target, {kOld, 0}, {kOld, 0}));
        ASSERT_EQ(::symlink(native(target).constData(), native(dir.file(QStringLiteral("link"))).constData()), 0);
        linkTime = statOf(dir.file(QStringLiteral("link"))).st_mtime;
        targetAttrib = dosAttrib(target);
        ctx.objList = {QStringLiteral("link")};
    }

    void expectTargetUntouched()
    {
        const struct stat st = statOf(target);
        EXPECT_EQ(st.st_mode & 07777, 0644u);
        EXPECT_EQ(st.st_mtime, kOld);
        EXPECT_EQ(dosAttrib(target), targetAttrib);
        EXPECT_EQ(elsewhere.read(QStringLiteral("target.txt")), "target");
        EXPECT_EQ(linkTarget(dir.file(QStringLiteral("link"))), native(target));
    }

    TempDir elsewhere;
    QString target;
    time_t linkTime = 0;
    QByteArray targetAttrib;
};

OperationParams attribute(int k)
{
    engine::SetAttributeParams p;
    p.AttributeChange[k] = true;
    p.AttributeValue[k] = true;
    return p;
}

// A link can keep no attribute and no creation time of its own; setting
// them on what it points at would change a file outside the folder. The
// entry is counted and logged as an error, and nothing changes anywhere:
// not even the write time chosen beside the creation time.
TEST_F(LinkTest, ChangeThatWouldFollowTheLinkIsRefusedAndLogged)
{
    engine::SetTimeStampParams creation;
    creation.SetCreationTime = true;
    creation.NewCreationTime = QDateTime(QDate(2005, 6, 7), QTime(8, 9, 10));
    creation.SetWriteTime = true;
    creation.NewWriteTime = QDateTime(QDate(2005, 6, 7), QTime(8, 9, 10));
    struct Case {
        const char* name;
        OperationParams params;
        const char* mark;
    };
    const Case cases[] = {
        {"readOnly", attribute(0), "(属性変更)"},
        {"hidden", attribute(2), "(属性変更)"},
        {"creationTime", creation, "(タイムスタンプ変更)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto run = context({QStringLiteral("link")});
        ASSERT_TRUE(openLog(*run));
        dialogs.shown.clear();

        EXPECT_FALSE(engine::runOperation(*run, c.params));

        EXPECT_EQ(run->errCount, 1);
        EXPECT_TRUE(dialogs.shown.isEmpty());
        const QByteArray link = native(dir.file(QStringLiteral("link")));
        EXPECT_EQ(logBytes(), kLogHeader + link + "\r\n\t-> " + link + c.mark + "\r\n\r\n");
        expectTargetUntouched();
        EXPECT_EQ(statOf(dir.file(QStringLiteral("link"))).st_mtime, linkTime);
    }
}

// Access and write times are the link's own: they are set on it, and what
// it points at keeps its times.
TEST_F(LinkTest, TimesAreSetOnTheLinkItself)
{
    const QDateTime written(QDate(2005, 6, 7), QTime(8, 9, 10));
    const QDateTime accessed(QDate(2006, 7, 8), QTime(9, 10, 11));
    struct Case {
        const char* name;
        bool access;
    };
    const Case cases[] = {{"writeTimeOnly", false}, {"accessAndWriteTimes", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto run = context({QStringLiteral("link")});
        ASSERT_TRUE(openLog(*run));
        dialogs.shown.clear();
        engine::SetTimeStampParams p;
        p.SetWriteTime = true;
        p.NewWriteTime = written;
        p.SetAccessTime = c.access;
        p.NewAccessTime = accessed;

        EXPECT_FALSE(engine::runOperation(*run, p));

        EXPECT_EQ(run->errCount, 0);
        EXPECT_TRUE(dialogs.shown.isEmpty());
        const struct stat own = statOf(dir.file(QStringLiteral("link")));
        EXPECT_TRUE(S_ISLNK(own.st_mode));
        EXPECT_EQ(own.st_mtime, written.toSecsSinceEpoch());
        if (c.access) {
            EXPECT_EQ(own.st_atime, accessed.toSecsSinceEpoch());
        }
        expectTargetUntouched();
        EXPECT_EQ(logBytes(), kLogHeader);
    }
}

// A copy reads through a link; a link that leads nowhere is named, not
// passed over as a file that vanished, and not taken for a missing output
// folder.
TEST_F(LinkTest, CopyReadsThroughTheLinkOrNamesTheDanglingOne)
{
    TempDir out;
    ctx.outFolder = out.folder();
    ctx.outputButtonPressed = true;
    {
        SCOPED_TRACE("good");
        EXPECT_FALSE(engine::runOperation(ctx, engine::FNameCopyParams{}));
        EXPECT_TRUE(dialogs.shown.isEmpty());
        EXPECT_EQ(out.list(), QStringList({QStringLiteral("link")}));
        EXPECT_TRUE(S_ISREG(statOf(out.file(QStringLiteral("link"))).st_mode));
        EXPECT_EQ(out.read(QStringLiteral("link")), "target");
        expectTargetUntouched();
    }
    {
        SCOPED_TRACE("dangling");
        const QString dangling = dir.file(QStringLiteral("dangling"));
        ASSERT_EQ(::symlink(native(elsewhere.file(QStringLiteral("missing.txt"))).constData(),
                            native(dangling).constData()),
                  0);
        ctx.objList = {QStringLiteral("dangling")};

        EXPECT_TRUE(engine::runOperation(ctx, engine::FNameCopyParams{}));

        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text,
                  QStringLiteral(u"ｴﾗｰ番号  53 でｴﾗｰが発生しました。\rファイルが見つかりません。\r") + dangling);
        EXPECT_EQ(dialogs.shown[0].title, QStringLiteral(u"ｴﾗｰ"));
        EXPECT_EQ(dialogs.shown[0].style, 16);
        EXPECT_EQ(out.list(), QStringList({QStringLiteral("link")}));
        EXPECT_TRUE(S_ISLNK(statOf(dangling).st_mode));
    }
}

} // namespace
} // namespace tavil::test
