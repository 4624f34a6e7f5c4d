#include "engine/fnameimport.h"

#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

using namespace tavil;
using engine::FNameImportParams;
using platform::MsgButton;
using test::entries;
using test::q;

namespace {

TEST(FNameImportRule, NewNameByExtensionRule)
{
    struct Case {
        const char* listed;
        const char* old;
        bool keep;         // ExtensionRule
        const char* ext;   // ImportExtension
        const char* expect;
    };
    const Case cases[] = {
        {"report.final", "a.doc", true, "ﾘｽﾄと同じ", "report.doc"},
        {"notes", "README", true, "ﾘｽﾄと同じ", "notes"},
        {"notes", "a.doc", true, "", "notes.doc"},
        {"x.jpg", "a.doc", false, "ﾘｽﾄと同じ", "x.jpg"},
        {"x", "a.doc", false, "ﾘｽﾄと同じ", "x"},
        {"x.jpg", "a.doc", false, "txt", "x.txt"},
        {"x", "a.doc", false, ".txt", "x..txt"},
        {"x.jpg", "a.doc", false, "", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.listed) + " " + c.old + " " + c.ext);
        FNameImportParams p;
        p.ExtensionRule = c.keep;
        p.ImportExtension = q(c.ext);
        EXPECT_EQ(engine::fnameImportNewName(q(c.old), q(c.listed), p), q(c.expect));
    }
}

TEST(FNameImportRule, CheckNamesTheFirstUnusableEntry)
{
    struct Case {
        const char* name;
        QString listed;
        QString ext; // ImportExtension, with ExtensionRule false when not "ﾘｽﾄと同じ"
        QString shown; // "" = usable
    };
    const Case cases[] = {
        {"plain", q("b.txt"), q("ﾘｽﾄと同じ"), QString()},
        {"windowsSignsAreLegal", q("a:b?.txt"), q("ﾘｽﾄと同じ"), QString()},
        {"hiddenName", q(".hidden"), q("ﾘｽﾄと同じ"), QString()},
        {"empty", QString(), q("ﾘｽﾄと同じ"), q("2番目：「」")},
        {"slash", q("../evil"), q("ﾘｽﾄと同じ"), q("2番目：「../evil」")},
        {"dotDot", q(".."), q("ﾘｽﾄと同じ"), q("2番目：「..」")},
        {"onlyDots", q("..."), q("ﾘｽﾄと同じ"), q("2番目：「...」")},
        {"lineBreak", q("a\r\nb"), q("ﾘｽﾄと同じ"), q("2番目：「a␍␊b」")},
        {"nul", QString(QChar(0)) + q("x"), q("ﾘｽﾄと同じ"), q("2番目：「␀x」")},
        {"tab", q("a\tb"), q("ﾘｽﾄと同じ"), q("2番目：「a␉b」")},
        {"tooLong", QString(86, QChar(u'あ')), q("ﾘｽﾄと同じ"), q("2番目：「") + QString(86, QChar(u'あ')) + q("」")},
        {"badTypedExtension", q("x"), q("a/b"), q("1番目：「a.a/b」")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FNameImportParams p;
        p.ImportNames = {q("a.txt"), c.listed, q("c.txt")};
        p.ExtensionRule = false;
        p.ImportExtension = c.ext;
        const QString got = engine::fnameImportCheck({q("1"), q("2"), q("3")}, p, 3);
        EXPECT_EQ(got, c.shown.isEmpty() ? QString() : q("インポートされたファイル名が不正です。\r") + c.shown);
    }
}

TEST(FNameImportRule, CheckSkipsSkipRowsAndUnusedNames)
{
    FNameImportParams p;
    p.ImportNames = {q("a"), QString(), q("c"), q("../beyond")};
    // The empty name sits at a SKIP row and the bad one beyond the files.
    EXPECT_EQ(engine::fnameImportCheck({q("1"), engine::kSkipRow, q("3")}, p, 3), QString());
}

class FNameImportRun : public test::OperationTest {
protected:
    bool run(const QStringList& list, const QStringList& names)
    {
        ctx.objList = list;
        params.ImportNames = names;
        return engine::FNameImport(ctx, params);
    }

    FNameImportParams params;
};

TEST_F(FNameImportRun, FiveFilesThreeNames)
{
    const QStringList files = {q("1.doc"), q("2.doc"), q("3"), q("4.doc"), q("5.doc")};
    for (const QString& f : files)
        dir.createFile(f, f.toUtf8());

    EXPECT_FALSE(run(files, {q("one.final"), q("two"), q("three.x")}));

    EXPECT_EQ(entries(dir), (QStringList{q("4.doc"), q("5.doc"), q("one.doc"), q("three"), q("two.doc")}));
    EXPECT_EQ(dir.read(q("one.doc")), QByteArray("1.doc"));
    EXPECT_EQ(dir.read(q("three")), QByteArray("3"));
    EXPECT_EQ(host.progressMax, 3);
    EXPECT_EQ(host.status1, q("変更中..."));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(FNameImportRun, SkipRowUsesUpItsName)
{
    dir.createFile(q("a.txt"), "a");
    dir.createFile(q("b.txt"), "b");

    EXPECT_FALSE(run({q("a.txt"), engine::kSkipRow, q("b.txt")}, {q("x"), q("y"), q("z")}));

    EXPECT_EQ(entries(dir), (QStringList{q("x.txt"), q("z.txt")}));
    EXPECT_EQ(dir.read(q("z.txt")), QByteArray("b"));
}

TEST_F(FNameImportRun, BadNameRefusesRunBeforeAnyRename)
{
    dir.createFile(q("a.txt"), "a");
    dir.createFile(q("b.txt"), "b");
    dir.createDir(q("sub"));

    // The good first name must not be applied either.
    EXPECT_TRUE(run({q("a.txt"), q("b.txt")}, {q("first"), q("sub/evil")}));

    EXPECT_EQ(entries(dir), (QStringList{q("a.txt"), q("b.txt"), q("sub")}));
    EXPECT_TRUE(dir.list(q("sub")).isEmpty());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, q("インポートされたファイル名が不正です。\r2番目：「sub/evil」"));
    EXPECT_EQ(dialogs.shown[0].title, q("ファイル名のインポート"));
    EXPECT_EQ(dialogs.shown[0].style, 16);
    EXPECT_EQ(host.workListCleared, 0);
}

TEST_F(FNameImportRun, OneNameForTwoFilesIsAClash)
{
    dir.createFile(q("a.txt"), "first");
    dir.createFile(q("b.txt"), "second");
    dialogs.answers = {MsgButton::Ok};

    EXPECT_FALSE(run({q("a.txt"), q("b.txt")}, {q("same"), q("same")}));

    EXPECT_EQ(entries(dir), (QStringList{q("b.txt"), q("same.txt")}));
    EXPECT_EQ(dir.read(q("same.txt")), QByteArray("first"));
    EXPECT_EQ(dir.read(q("b.txt")), QByteArray("second"));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, dir.folder() + q("same.txt\rと同じ名前のファイルが存在するため\r") + dir.folder()
                                         + q("b.txt\rの名前を変更することが出来ませんでした。"));
    EXPECT_EQ(dialogs.shown[0].title, q("同名ファイルの存在"));
    EXPECT_EQ(dialogs.shown[0].style, 49);
    EXPECT_EQ(ctx.errCount, 1);
}

TEST_F(FNameImportRun, SwappedNamesLoseNothing)
{
    dir.createFile(q("a"), "A");
    dir.createFile(q("b"), "B");
    ctx.opts.fileDouble2 = true;

    EXPECT_FALSE(run({q("a"), q("b")}, {q("b"), q("a")}));

    EXPECT_EQ(entries(dir), (QStringList{q("a"), q("b")}));
    EXPECT_EQ(dir.read(q("a")), QByteArray("A"));
    EXPECT_EQ(dir.read(q("b")), QByteArray("B"));
    EXPECT_EQ(ctx.errCount, 2);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

} // namespace
