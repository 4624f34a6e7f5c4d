#include "engine/changekaku.h"

#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

using namespace tavil;
using engine::ChangeKakuParams;
using Mode = ChangeKakuParams::Mode;
using platform::MsgButton;

namespace {

TEST(ChangeKakuRule, NewNameByMode)
{
    struct Case {
        const char* old;
        Mode mode;
        const char* ext;
        const char* expect; // nullptr: left alone
    };
    const Case cases[] = {
        {"a.txt", Mode::Change, "bak", "a.bak"},
        {"a.txt", Mode::Change, ".bak", "a.bak"},
        {"a", Mode::Change, "bak", "a.bak"},
        {"x.tar.gz", Mode::Change, "bak", "x.tar.bak"},
        {"a.doc", Mode::Change, "txt", "a.txt"},
        {"a.doc", Mode::Change, "..txt", "a..txt"},
        {"a.txt", Mode::Change, "", nullptr},
        {"a.txt", Mode::Delete, "ignored", "a"},
        {"a", Mode::Delete, "", "a"},
        {"x.tar.gz", Mode::Delete, "", "x.tar"},
        {"a.txt", Mode::Join, "", "atxt"},
        {"a", Mode::Join, "", "a"},
        {"x.tar.gz", Mode::Join, "", "x.targz"},
        {"a.", Mode::Join, "", "a"},
        // A dot file has no base name to keep.
        {".profile", Mode::Delete, "", nullptr},
        {".profile", Mode::Join, "", nullptr},
        {".profile", Mode::Change, "bak", ".bak"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.old) + " mode " + std::to_string(static_cast<int>(c.mode)) + " " + c.ext);
        ChangeKakuParams p;
        p.ExtensionMode = c.mode;
        p.NewExtension = QString::fromUtf8(c.ext);
        const std::optional<QString> got = engine::changeKakuNewName(p, QString::fromUtf8(c.old));
        if (c.expect == nullptr) {
            EXPECT_FALSE(got.has_value()) << got.value_or(QString()).toStdString();
        } else {
            EXPECT_EQ(got.value_or(QStringLiteral("(left alone)")), QString::fromUtf8(c.expect));
        }
    }
}

class ChangeKakuRun : public test::OperationTest {
protected:
    bool run(const QStringList& list)
    {
        ctx.objList = list;
        return engine::ChangeKaku(ctx, params);
    }

    ChangeKakuParams params;
};

TEST_F(ChangeKakuRun, EmptyNewExtensionIsRefused)
{
    make({"a.doc"});
    EXPECT_TRUE(run({"a.doc"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("「拡張子」が入力されていません。"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("拡張子の変更"));
    EXPECT_EQ(dialogs.shown[0].style, 48);
    EXPECT_EQ(host.focused, std::vector<engine::Field>{engine::Field::NewExtension});
    EXPECT_EQ(dir.list(), QStringList{"a.doc"});
    EXPECT_EQ(host.pumps, 0);
}

TEST_F(ChangeKakuRun, ChangeRenamesEveryFile)
{
    make({"a.doc", "readme", "x.tar.gz"});
    params.NewExtension = "txt";
    EXPECT_FALSE(run({"a.doc", "readme", "x.tar.gz"}));
    EXPECT_EQ(dir.list(), (QStringList{"a.txt", "readme.txt", "x.tar.txt"}));
    EXPECT_EQ(dir.read("readme.txt"), "readme");
    EXPECT_EQ(host.status1, QStringLiteral("変更中..."));
    EXPECT_EQ(host.workListCleared, 1);
    EXPECT_EQ(host.fileListRefreshed, 1);
}

// Delete on names without an extension and on a dot file: nothing changes,
// nothing is counted, and no rename aims at the folder itself.
TEST_F(ChangeKakuRun, DeleteLeavesNamesWithoutBaseOrExtensionAlone)
{
    make({".profile", "readme", "x.tar.gz"});
    params.ExtensionMode = Mode::Delete;
    EXPECT_FALSE(run({".profile", "readme", "x.tar.gz"}));
    EXPECT_EQ(dir.list(), (QStringList{".profile", "readme", "x.tar"}));
    EXPECT_EQ(dir.read(".profile"), ".profile");
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// a.doc → a.txt is taken: the question names the folder and the new name on
// its first line and the source on its third; Cancel stops with both files
// intact and the entry already logged.
TEST_F(ChangeKakuRun, ClashAnsweredCancelStops)
{
    make({"a.doc", "a.txt", "b.doc"});
    ASSERT_TRUE(openLog());
    params.NewExtension = ".txt";
    dialogs.answers = {MsgButton::Cancel};
    EXPECT_TRUE(run({"a.doc", "b.doc"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, dir.folder() + "a.txt\rと同じ名前のファイルが存在するため\r" + dir.folder()
                                         + "a.doc\rの名前を変更することが出来ませんでした。");
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("同名ファイルの存在"));
    EXPECT_EQ(dialogs.shown[0].style, 49);
    EXPECT_EQ(dir.list(), (QStringList{"a.doc", "a.txt", "b.doc"}));
    EXPECT_EQ(dir.read("a.txt"), "a.txt");
    EXPECT_EQ(ctx.errCount, 0);
    EXPECT_EQ(logBytes(), (QStringLiteral("次の変更中にｴﾗｰが発生しました。\r\n\r\n") + dir.folder()
                            + "a.doc\r\n\t-> " + dir.folder() + "a.txt\r\n\r\n")
                               .toUtf8());
}

TEST_F(ChangeKakuRun, JoinWithSkipOptionGoesOnPastAClash)
{
    make({"a.txt", "atxt", "b.txt"});
    params.ExtensionMode = Mode::Join;
    ctx.opts.fileDouble2 = true;
    EXPECT_FALSE(run({"a.txt", "b.txt"}));
    EXPECT_EQ(dir.list(), (QStringList{"a.txt", "atxt", "btxt"}));
    EXPECT_EQ(dir.read("atxt"), "atxt");
    EXPECT_EQ(ctx.errCount, 1);
}

TEST_F(ChangeKakuRun, ExtensionWithSlashStopsBeforeTheFileIsMoved)
{
    dir.createDir("sub");
    make({"a.doc"});
    params.NewExtension = "x/../../evil";
    EXPECT_TRUE(run({"a.doc"}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ｴﾗｰ"));
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(QStringLiteral("ｴﾗｰ番号  52 ")));
    EXPECT_EQ(dir.list(), (QStringList{"a.doc", "sub"}));
}

} // namespace
