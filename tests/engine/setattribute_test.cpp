#include "engine/setattribute.h"

#include "tests/common/fsprobe.h"
#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace tavil;
using namespace Qt::Literals::StringLiterals;
using engine::SetAttributeParams;
namespace Attr = platform::Attr;

namespace {

mode_t modeOf(const QString& path)
{
    return test::statOf(path).st_mode & 07777;
}

// k = 0 read-only, 1 archive, 2 hidden, 3 system.
SetAttributeParams change(std::initializer_list<std::pair<int, bool>> changes)
{
    SetAttributeParams p;
    for (const auto& [k, value] : changes) {
        p.AttributeChange[k] = true;
        p.AttributeValue[k] = value;
    }
    return p;
}

// Each run takes a fresh context().
class SetAttributeRun : public test::OperationTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(src.isValid());
        ASSERT_TRUE(out.isValid());
        if (!test::userXattrsIn(src.path()) || !test::userXattrsIn(out.path()))
            GTEST_SKIP() << "no user extended attributes here: hidden, system and archive cannot be stored";
    }

    quint32 attrs(const QString& path)
    {
        quint32 a = 0;
        EXPECT_TRUE(fs.readAttributes(path, &a).ok()) << path.toStdString();
        return a;
    }

    test::TempDir& src = dir; // the folder of the run
    test::TempDir out;
};

// Each chosen attribute is set or cleared; the others keep their values.
TEST_F(SetAttributeRun, ChangesOnlyTheChosenAttributes)
{
    struct Case {
        const char* name;
        quint32 initial; // a fresh file has the archive attribute alone
        SetAttributeParams params;
        quint32 expected;
    };
    const Case cases[] = {
        {"setHidden", Attr::Archive, change({{2, true}}), Attr::Archive | Attr::Hidden},
        {"clearReadOnly", Attr::ReadOnly | Attr::Archive | Attr::System, change({{0, false}}),
         Attr::Archive | Attr::System},
        {"setReadOnlyAndHidden", Attr::Archive, change({{0, true}, {2, true}}),
         Attr::ReadOnly | Attr::Archive | Attr::Hidden},
        {"readOnlyAlreadySet", Attr::ReadOnly, change({{0, true}}), Attr::ReadOnly},
        {"clearArchiveSetSystem", Attr::Archive, change({{1, false}, {3, true}}), Attr::System},
        // Hidden and system change on a read-only file too.
        {"hiddenOnReadOnly", Attr::ReadOnly | Attr::Hidden | Attr::System, change({{2, false}}),
         Attr::ReadOnly | Attr::System},
        {"nothingChosen", Attr::Hidden, SetAttributeParams(), Attr::Hidden},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString name = QString::fromLatin1(c.name) + ".txt";
        const QString path = src.createFile(name, "data");
        ASSERT_TRUE(fs.writeAttributes(path, c.initial).ok());
        auto ctx = context({name});
        EXPECT_FALSE(engine::SetAttribute(*ctx, c.params));
        EXPECT_EQ(attrs(path), c.expected);
        EXPECT_EQ((modeOf(path) & 0222) == 0, (c.expected & Attr::ReadOnly) != 0);
        EXPECT_EQ(src.read(name), "data");
    }
    // Hidden is stored, never made by renaming to a dot name.
    EXPECT_TRUE(src.exists("setHidden.txt"));
    EXPECT_FALSE(src.exists(".setHidden.txt"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// A clash in the output folder is counted; the file already there keeps its
// attributes, and the next file is copied and changed as usual.
TEST_F(SetAttributeRun, OutputClashWithSkipOptionChangesNoOtherFile)
{
    src.createFile("a.txt", "A");
    src.createFile("b.txt", "B");
    const QString oldA = out.createFile("a.txt", "old A");
    auto ctx = context({"a.txt", "b.txt"});
    ctx->outFolder = out.folder();
    ctx->outputButtonPressed = true;
    ctx->opts.fileDouble2 = true;

    EXPECT_FALSE(engine::SetAttribute(*ctx, change({{2, true}})));
    EXPECT_EQ(ctx->errCount, 1);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(out.read("a.txt"), "old A");
    EXPECT_EQ(attrs(oldA), Attr::Archive);
    EXPECT_EQ(out.read("b.txt"), "B");
    EXPECT_EQ(attrs(out.file("b.txt")), Attr::Archive | Attr::Hidden);
    EXPECT_EQ(attrs(src.file("a.txt")), Attr::Archive);
    EXPECT_EQ(attrs(src.file("b.txt")), Attr::Archive);
}

// Without the skip option the clash is told with OK alone and never stops the
// run; the log names the file with the attribute mark.
TEST_F(SetAttributeRun, OutputClashIsToldAndLogged)
{
    src.createFile("a.txt", "A");
    src.createFile("b.txt", "B");
    out.createFile("b.txt", "old B");
    src.createFile("c.txt", "C");
    auto ctx = context({"a.txt", "b.txt", "c.txt"});
    ctx->outFolder = out.folder();
    ctx->outputButtonPressed = true;
    ASSERT_TRUE(openLog(*ctx));

    EXPECT_FALSE(engine::SetAttribute(*ctx, change({{3, true}})));
    EXPECT_EQ(ctx->errCount, 1);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, out.folder() + u"b.txt\rと同じ名前のファイルが存在するため\r"_s
                                         + src.folder() + u"b.txt\rのファイルをコピーできませんでした。"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"同名ファイルの存在"_s);
    EXPECT_EQ(dialogs.shown[0].style, 0);
    EXPECT_EQ(attrs(out.file("b.txt")), Attr::Archive);
    EXPECT_EQ(attrs(out.file("a.txt")), Attr::Archive | Attr::System);
    EXPECT_EQ(attrs(out.file("c.txt")), Attr::Archive | Attr::System);
    const QString logText = QString::fromUtf8(logBytes());
    EXPECT_TRUE(logText.contains(src.folder() + u"b.txt\r\n\t-> "_s + out.folder() + u"b.txt(属性変更)\r\n\r\n"_s))
        << logText.toStdString();
}

TEST_F(SetAttributeRun, VanishedFileIsPassedOverSilently)
{
    const QString b = src.createFile("b.txt", "B");
    auto ctx = context({"gone.txt", "b.txt"});
    EXPECT_FALSE(engine::SetAttribute(*ctx, change({{2, true}})));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(ctx->errCount, 0);
    EXPECT_EQ(attrs(b), Attr::Archive | Attr::Hidden);
    EXPECT_EQ(src.list(), QStringList{"b.txt"});
    EXPECT_EQ(host.progressValues, (QList<int>{1, 2, 0}));
}

TEST_F(SetAttributeRun, WrapUpFollowsKeepList)
{
    src.createFile("a.txt", "A");
    for (const bool keep : {true, false}) {
        SCOPED_TRACE(keep ? "kept" : "emptied");
        host = test::FakeHost();
        auto ctx = context({"a.txt"});
        ctx->opts.keepList = keep;
        EXPECT_FALSE(engine::SetAttribute(*ctx, change({{1, true}})));
        EXPECT_EQ(host.workListCleared, keep ? 0 : 1);
        EXPECT_EQ(host.fileListRefreshed, keep ? 0 : 1);
    }
}

} // namespace
