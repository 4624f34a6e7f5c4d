#include "engine/operation.h"

#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace tavil::test {
namespace {

using engine::NewName;
using engine::RenameSpec;
using platform::Err;
using platform::MsgButton;

// Every case starts from a bench of its own with the log open. The loop takes
// its folder from the job, so the context starts without one.
struct Fixture : RunBench {
    Fixture()
    {
        // As the folder box gives it: without the closing "/".
        ctx.SourceFolder = dir.path();
        EXPECT_TRUE(openLog());
    }
};

// The trivial rule: "<base>.new".
RenameSpec toNew()
{
    RenameSpec job;
    job.newName = [](int, const QString& old) -> std::optional<NewName> {
        return NewName{old.section(u'.', 0, 0) + QStringLiteral(".new"), {}, Err::None};
    };
    return job;
}

TEST(RenameLoopTest, ErrorPolicyByNumber)
{
    const QString clashText = QStringLiteral(u"%1a.new\rと同じ名前のファイルが存在するため\r%1a.txt\rの名前を変更することが出来ませんでした。");
    struct Case {
        const char* name;
        QStringList list;
        bool existingTarget;  // a.new is there before the run ("keep")
        int injectErrno;      // for the rename onto a.new
        bool fileDouble2;
        std::deque<MsgButton> answers;
        std::optional<NewName> ruleForA; // replaces the rule for a.txt
        bool stopped;
        int errCount;
        QString boxText; // "%1" = the folder; "" = no box
        QString boxTitle;
        int boxStyle;
        bool logged;
        bool bRenamed;
    };
    const QString generic5 = QStringLiteral(u"ｴﾗｰ番号  5 でｴﾗｰが発生しました。\rプロシージャの呼び出し、または引数が不正です。");
    const Case cases[] = {
        {"missingSourceSkipped", {"gone.txt", "b.txt"}, false, 0, false, {}, {}, false, 0, "", "", 0, false, true},
        {"clashCountedAndSkipped", {"a.txt", "b.txt"}, true, 0, true, {}, {}, false, 1, "", "", 0, true, true},
        {"clashAskedOk", {"a.txt", "b.txt"}, true, 0, false, {MsgButton::Ok}, {}, false, 1, clashText,
         QStringLiteral(u"同名ファイルの存在"), 49, true, true},
        {"clashAskedCancel", {"a.txt", "b.txt"}, true, 0, false, {MsgButton::Cancel}, {}, true, 0, clashText,
         QStringLiteral(u"同名ファイルの存在"), 49, true, false},
        {"clashShownName", {"a.txt", "b.txt"}, true, 0, false, {MsgButton::Ok},
         NewName{QStringLiteral("a.new"), QStringLiteral("a[new]"), Err::None}, false, 1,
         QStringLiteral(u"%1a[new]\rと同じ名前のファイルが存在するため\r%1a.txt\rの名前を変更することが出来ませんでした。"),
         QStringLiteral(u"同名ファイルの存在"), 49, true, true},
        {"diskFull", {"a.txt", "b.txt"}, false, ENOSPC, false, {}, {}, true, 0,
         QStringLiteral(u"ディスクの空き容量が不足しています。\r\n\r\nディスクを交換するか、空き容量を増やして下さい。"),
         QStringLiteral(u"空き容量の不足"), 16, false, false},
        {"denied", {"a.txt", "b.txt"}, false, EACCES, false, {}, {}, true, 0,
         QStringLiteral(u"ディスクがライトプロテクトされています。\r\n\r\nライトプロテクトを解除するか別のディスクを使って下さい。"),
         QStringLiteral(u"ディスクの書き込みエラー"), 16, false, false},
        {"accessLocal", {"a.txt", "b.txt"}, false, EIO, false, {}, {}, true, 0,
         QStringLiteral(u"ｴﾗｰ番号  75 でｴﾗｰが発生しました。\rパス名が無効です。"), QStringLiteral(u"ｴﾗｰ"), 16, false,
         false},
        {"badNameBeforeTouching", {"a.txt", "b.txt"}, false, 0, false, {},
         NewName{QStringLiteral("../a.new"), {}, Err::None}, true, 0,
         QStringLiteral(u"ｴﾗｰ番号  52 でｴﾗｰが発生しました。\rファイル名または番号が不正です。\r%1../a.new"), QStringLiteral(u"ｴﾗｰ"),
         16, false, false},
        {"controlCharacter", {"a.txt", "b.txt"}, false, 0, false, {},
         NewName{QStringLiteral("a\nnew"), {}, Err::None}, true, 0,
         QStringLiteral(u"ｴﾗｰ番号  52 でｴﾗｰが発生しました。\rファイル名または番号が不正です。\r%1a␊new"), QStringLiteral(u"ｴﾗｰ"),
         16, false, false},
        {"ruleFailure", {"a.txt", "b.txt"}, false, 0, false, {}, NewName{QString(), {}, Err::IllegalCall}, true, 0,
         generic5, QStringLiteral(u"ｴﾗｰ"), 16, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        const QString dir = f.dir.folder();
        f.dir.createFile(QStringLiteral("a.txt"), "A");
        f.dir.createFile(QStringLiteral("b.txt"), "B");
        if (c.existingTarget)
            f.dir.createFile(QStringLiteral("a.new"), "keep");
        if (c.injectErrno != 0) {
            const int err = c.injectErrno;
            f.fs.injectErrno = [dir, err](const char* call, const QString& path) {
                return (qstrcmp(call, "renameat2") == 0 && path == dir + "a.new") ? err : 0;
            };
        }
        f.dialogs.answers = c.answers;
        f.ctx.opts.fileDouble2 = c.fileDouble2;
        f.ctx.objList = c.list;
        RenameSpec job = toNew();
        if (c.ruleForA) {
            const NewName forA = *c.ruleForA;
            const auto plain = job.newName;
            job.newName = [forA, plain](int i, const QString& old) -> std::optional<NewName> {
                return old == u"a.txt" ? std::optional<NewName>(forA) : plain(i, old);
            };
        }

        EXPECT_EQ(engine::runRenameLoop(f.ctx, job), c.stopped);
        EXPECT_EQ(f.ctx.errCount, c.errCount);
        if (c.boxText.isEmpty()) {
            EXPECT_TRUE(f.dialogs.shown.isEmpty());
        } else {
            ASSERT_EQ(f.dialogs.shown.size(), 1);
            EXPECT_EQ(f.dialogs.shown[0].text, QString(c.boxText).replace(QStringLiteral("%1"), dir));
            EXPECT_EQ(f.dialogs.shown[0].title, c.boxTitle);
            EXPECT_EQ(f.dialogs.shown[0].style, c.boxStyle);
        }
        const QByteArray entry = (dir + "a.txt\r\n\t-> " + dir + "a.new\r\n\r\n").toUtf8();
        EXPECT_EQ(f.logBytes(), c.logged ? kLogHeader + entry : kLogHeader);
        // Nothing is ever replaced, and a file that failed keeps its name.
        EXPECT_EQ(f.dir.read(QStringLiteral("a.txt")), QByteArray("A"));
        EXPECT_EQ(f.dir.read(QStringLiteral("a.new")), c.existingTarget ? QByteArray("keep") : QByteArray());
        EXPECT_EQ(f.dir.read(QStringLiteral("b.new")), c.bRenamed ? QByteArray("B") : QByteArray());
        EXPECT_EQ(f.dir.exists(QStringLiteral("b.txt")), !c.bRenamed);
        EXPECT_EQ(f.ctx.loopCompleted, !c.stopped);
        // A stop leaves the progress and the lists as they are.
        EXPECT_EQ(f.host.workListCleared, c.stopped ? 0 : 1);
        EXPECT_EQ(f.host.progressValues, c.stopped ? QList<int>{} : (QList<int>{1, 2, 0}));
    }
}

TEST(RenameLoopTest, AbortTakesEffectAtTheNextPollOfTwenty)
{
    Fixture f;
    QStringList list;
    for (int i = 0; i < 25; ++i) {
        const QString name = QStringLiteral("f%1.txt").arg(i, 2, 10, QLatin1Char('0'));
        f.dir.createFile(name, "x");
        list.append(name);
    }
    f.ctx.objList = list;
    RenameSpec job = toNew();
    const auto plain = job.newName;
    job.newName = [&f, plain](int i, const QString& old) {
        if (i == 5)
            f.ctx.gCancel = true; // pressed while file 5 is handled
        return plain(i, old);
    };

    EXPECT_TRUE(engine::runRenameLoop(f.ctx, job));

    ASSERT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.dialogs.shown[0].text, QStringLiteral(u"ユーザーによって中止されました。"));
    EXPECT_EQ(f.dialogs.shown[0].title, QStringLiteral(u"作業の中止"));
    EXPECT_EQ(f.dialogs.shown[0].style, 48);
    EXPECT_FALSE(f.ctx.gCancel);
    EXPECT_TRUE(f.dir.exists(QStringLiteral("f19.new")));
    EXPECT_TRUE(f.dir.exists(QStringLiteral("f20.txt")));
    EXPECT_FALSE(f.dir.exists(QStringLiteral("f20.new")));
    // One pause before the loop, then at i = 0 and i = 20.
    EXPECT_EQ(f.host.pumps, 3);
    EXPECT_EQ(f.host.progressValue, 20);
    EXPECT_EQ(f.host.workListCleared, 0);
    EXPECT_EQ(f.host.fileListRefreshed, 0);
    EXPECT_FALSE(f.ctx.loopCompleted);
}

TEST(RenameLoopTest, EmptyListCompletesAndResets)
{
    Fixture f;
    f.clock.seconds = 7.5;
    RenameSpec job = toNew();
    job.showChangingStatus = true;

    EXPECT_FALSE(engine::runRenameLoop(f.ctx, job));

    EXPECT_EQ(f.host.progressMax, 0);
    EXPECT_EQ(f.host.progressValues, QList<int>{0});
    EXPECT_EQ(f.host.workListCleared, 1);
    EXPECT_EQ(f.host.fileListRefreshed, 1);
    EXPECT_EQ(f.host.statusLog, QStringList{QStringLiteral(u"1:変更中...")});
    EXPECT_EQ(f.ctx.startTime, 7.5);
    EXPECT_EQ(f.ctx.endTime, 7.5);
    EXPECT_TRUE(f.ctx.loopCompleted);
    EXPECT_EQ(f.ctx.SourceFolder, f.dir.folder());
    EXPECT_TRUE(f.dialogs.shown.isEmpty());
}

TEST(RenameLoopTest, NamesLeftAloneAndTrailingDots)
{
    Fixture f;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        f.dir.createFile(QString::fromUtf8(name), "x");
    f.ctx.objList = QStringList{"a.txt", "b.txt", "c.txt", "d.txt"};
    RenameSpec job;
    job.newName = [](int i, const QString&) -> std::optional<NewName> {
        switch (i) {
        case 0: return NewName{QString(), {}, Err::None};          // empty
        case 1: return NewName{QStringLiteral(".."), {}, Err::None}; // the folder above
        case 2: return NewName{QStringLiteral("c."), {}, Err::None}; // base & "." & ""
        default: return std::nullopt;
        }
    };

    EXPECT_FALSE(engine::runRenameLoop(f.ctx, job));
    EXPECT_TRUE(f.dialogs.shown.isEmpty());
    EXPECT_EQ(f.dir.list(), (QStringList{"a.txt", "b.txt", "c", "d.txt"}));
    EXPECT_EQ(f.host.progressValues, (QList<int>{1, 2, 3, 4, 0}));
}

TEST(RenameLoopTest, CountLimitsTheEntriesWalked)
{
    Fixture f;
    f.dir.createFile(QStringLiteral("a.txt"), "A");
    f.dir.createFile(QStringLiteral("b.txt"), "B");
    f.ctx.objList = QStringList{"a.txt", "b.txt"};
    RenameSpec job = toNew();
    job.count = 1;
    EXPECT_FALSE(engine::runRenameLoop(f.ctx, job));
    EXPECT_EQ(f.host.progressMax, 1);
    EXPECT_EQ(f.dir.list(), (QStringList{"a.new", "b.txt"}));
}

TEST(RenameLoopTest, OutputFolderCopiesAndTakesAnyExistingNameAsAClash)
{
    Fixture f;
    f.dir.createFile(QStringLiteral("src/a.txt"), "A");
    f.dir.createFile(QStringLiteral("src/b.txt"), "B");
    f.dir.createFile(QStringLiteral("out/a.new"), "keep");
    const QString src = f.dir.file(QStringLiteral("src/"));
    const QString out = f.dir.file(QStringLiteral("out/"));
    f.ctx.outFolder = out;
    f.ctx.outputButtonPressed = true;
    f.ctx.objList = QStringList{"a.txt", "b.txt"};
    f.dialogs.answers = {MsgButton::Ok};

    f.ctx.SourceFolder = f.dir.file(QStringLiteral("src"));
    EXPECT_FALSE(engine::runRenameLoop(f.ctx, toNew()));

    ASSERT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.dialogs.shown[0].text,
              out + QStringLiteral(u"a.new\rと同じ名前のファイルが存在するため\r") + src
                  + QStringLiteral(u"a.txt\rの名前を変更することが出来ませんでした。"));
    EXPECT_EQ(f.ctx.errCount, 1);
    EXPECT_EQ(f.logBytes(), kLogHeader + (src + "a.txt\r\n\t-> " + out + "a.new\r\n\r\n").toUtf8());
    EXPECT_EQ(f.dir.read(QStringLiteral("out/a.new")), QByteArray("keep"));
    EXPECT_EQ(f.dir.read(QStringLiteral("out/b.new")), QByteArray("B"));
    // The sources stay where they are.
    EXPECT_EQ(f.dir.list(QStringLiteral("src")), (QStringList{"a.txt", "b.txt"}));
}

TEST(OperationLoopTest, ClashWithOkOnlyStyleCountsWithoutAChoice)
{
    Fixture f;
    engine::OperationLoop loop(f.ctx);
    loop.begin(1, false);
    engine::ClashInfo clash;
    clash.logOld = QStringLiteral("/d/x");
    clash.logNew = QStringLiteral(u"/o/x(属性変更)");
    clash.message = QStringLiteral("m");
    clash.style = 0;
    EXPECT_EQ(loop.handleClash(clash), engine::Next::Continue);
    EXPECT_EQ(f.ctx.errCount, 1);
    ASSERT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.dialogs.shown[0].style, 0);
    EXPECT_EQ(f.logBytes(), kLogHeader + QByteArray("/d/x\r\n\t-> /o/x(属性変更)\r\n\r\n"));
}

} // namespace
} // namespace tavil::test
