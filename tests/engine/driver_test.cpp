#include "engine/rundriver.h"

#include "engine/errlog.h"
#include "engine/operation.h"
#include "platform/linuxfilesystem.h"
#include "support/module1.h"
#include "tests/common/fakes.h"
#include "tests/common/tempdir.h"
#include "tests/engine/fakedriverhost.h"

#include <QDir>

#include <gtest/gtest.h>

#include <stdexcept>

namespace tavil::test {
namespace {

using engine::RunContext;
using engine::Tab;
using platform::MsgButton;

const QString kLogName = QStringLiteral("20030331090507.log");
const QByteArray kLogHeader("次の変更中にｴﾗｰが発生しました。\r\n\r\n");

struct Box {
    QString text;
    QString title;
    int style;
};

struct DriverFixture {
    TempDir dir;  // the folder of the run
    TempDir data; // where the error logs go
    platform::LinuxFileSystem fs;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDriverHost host;
    RecordingRunner runner;
    QString errlog = data.file(QStringLiteral("errlog"));
    engine::RunDriver driver{engine::DriverServices{fs, dialogs, clock, errlog, runner.runner()}, host};
    support::settings::OptionFlags opts;

    DriverFixture()
    {
        host.folder = dir.path();
        runner.events = &host.events;
    }

    void start() { driver.start(opts); }
    QString confirmation(bool below) const
    {
        return dir.path() + (below ? QStringLiteral(u"\r\n以下の変更を開始します。よろしいですか？")
                                   : QStringLiteral(u"\r\nの変更を開始します。よろしいですか？"));
    }
    QStringList logFiles() const { return QDir(errlog).entryList(QDir::Files); }
    QList<Box> boxes() const
    {
        QList<Box> out;
        for (const ShownBox& b : dialogs.shown)
            out.append({b.text, b.title, b.style});
        return out;
    }
    // An operation that renames "<base>.txt" to "<base>.new" in the current folder.
    void renameOperation()
    {
        runner.operation = [](Tab, RunContext& ctx) {
            engine::RenameSpec job;
            job.newName = [](int, const QString& old) -> std::optional<engine::NewName> {
                return engine::NewName{old.section(u'.', 0, 0) + QStringLiteral(".new"), {}, platform::Err::None};
            };
            return engine::runRenameLoop(ctx, job);
        };
    }
};

void expectBoxes(const DriverFixture& f, const QList<Box>& expected)
{
    const QList<Box> got = f.boxes();
    ASSERT_EQ(got.size(), expected.size());
    for (qsizetype i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].text, expected[i].text);
        EXPECT_EQ(got[i].title, expected[i].title);
        EXPECT_EQ(got[i].style, expected[i].style);
    }
}

TEST(RunDriverTest, StopChecksShowTheirMessageAndRunNothing)
{
    const QString confirm = QStringLiteral("%CONFIRM%");
    struct Case {
        const char* name;
        std::function<void(DriverFixture&)> setUp;
        QList<Box> boxes; // "%CONFIRM%" stands for the confirmation
        int beeps;
        bool released;
    };
    const Case cases[] = {
        {"selectModeEmpty",
         [](DriverFixture& f) { f.host.select = true; },
         {{QStringLiteral(u"ファイルが選択されていません。"), QStringLiteral(u"拡張子"), 16}}, 0, false},
        {"noFilesWithoutSubfolders", [](DriverFixture&) {},
         {{QStringLiteral(u"変更可能なファイルが見つかりません。"), QStringLiteral(u"拡張子"), 16}}, 0, false},
        {"importListEmpty",
         [](DriverFixture& f) {
             f.dir.createFile(QStringLiteral("a.txt"));
             f.host.caption = QStringLiteral(u"ｲﾝﾎﾟｰﾄ");
         },
         {{QStringLiteral(u"ファイル名がインポートされていません。"), QStringLiteral(u"ファイル名のインポート"), 16}}, 0,
         false},
        {"firstCheckWins",
         [](DriverFixture& f) {
             f.host.select = true;
             f.host.caption = QStringLiteral(u"ｲﾝﾎﾟｰﾄ");
             f.host.outputPressed = true;
         },
         {{QStringLiteral(u"ファイルが選択されていません。"), QStringLiteral(u"ｲﾝﾎﾟｰﾄ"), 16}}, 0, false},
        {"confirmationCancelled",
         [](DriverFixture& f) {
             f.dir.createFile(QStringLiteral("a.txt"));
             f.dialogs.answers = {MsgButton::Cancel};
         },
         {{confirm, QString(), 33}}, 0, false},
        {"outputFolderLost",
         [](DriverFixture& f) {
             f.dir.createFile(QStringLiteral("a.txt"));
             f.host.outputPressed = true;
         },
         {{confirm, QString(), 33}, {QStringLiteral(u"出力先フォルダをもう一度設定し直して下さい。"), QString(), 16}}, 0,
         true},
        {"copyWithoutOutputFolder",
         [](DriverFixture& f) {
             f.dir.createFile(QStringLiteral("a.txt"));
             f.host.caption = QStringLiteral(u"ｺﾋﾟｰ");
         },
         {{confirm, QString(), 33}, {QStringLiteral(u"出力先フォルダを設定して下さい。"), QString(), 16}}, 0, false},
        {"logCannotBeOpened",
         [](DriverFixture& f) {
             f.dir.createFile(QStringLiteral("a.txt"));
             f.data.createFile(QStringLiteral("errlog"), "a file where the folder belongs");
         },
         {{confirm, QString(), 33},
          {QStringLiteral(u"ｴﾗｰ番号  75 でｴﾗｰが発生しました。\rパス名が無効です。"), QStringLiteral(u"ｴﾗｰ"), 16}},
         1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverFixture f;
        f.opts.logFile = true;
        c.setUp(f);
        f.start();

        QList<Box> expected = c.boxes;
        for (Box& b : expected)
            if (b.text == confirm)
                b.text = f.confirmation(false);
        expectBoxes(f, expected);
        EXPECT_EQ(f.runner.calls, 0);
        EXPECT_EQ(f.host.locks, 0);
        EXPECT_EQ(f.host.unlocks, 0);
        EXPECT_TRUE(f.host.run.statusLog.isEmpty());
        EXPECT_EQ(f.host.run.beeps, c.beeps);
        EXPECT_EQ(f.host.events.contains(QStringLiteral("release")), c.released);
        EXPECT_TRUE(f.logFiles().isEmpty()) << f.logFiles().join(u' ').toStdString();
        EXPECT_FALSE(f.driver.running());
    }
}

TEST(RunDriverTest, ConfirmationNamesTheFolderAndSubfolders)
{
    {
        SCOPED_TRACE("folderAlone");
        DriverFixture f;
        f.dir.createFile(QStringLiteral("a.txt"));
        f.start();
        expectBoxes(f, {{f.confirmation(false), QString(), 33}});
        EXPECT_EQ(f.runner.calls, 1);
    }
    {
        // An empty top folder does not stop a run that includes sub-folders.
        SCOPED_TRACE("withSubfolders");
        DriverFixture f;
        f.host.subfolders = true;
        f.start();
        expectBoxes(f, {{f.confirmation(true), QString(), 33}});
        EXPECT_EQ(f.host.locks, 1);
        EXPECT_EQ(f.runner.calls, 0); // the only folder has no file
        EXPECT_EQ(f.host.unlocks, 1);
        EXPECT_TRUE(f.host.unlockedWithSubfolders);
    }
}

TEST(RunDriverTest, RunWithoutErrorsLeavesNoLog)
{
    DriverFixture f;
    f.opts.logFile = true;
    f.dir.createFile(QStringLiteral("a.txt"), "A");
    f.renameOperation();
    f.start();

    EXPECT_EQ(f.dir.list(), QStringList{QStringLiteral("a.new")});
    EXPECT_TRUE(QDir(f.errlog).exists()); // made for the run
    EXPECT_TRUE(f.logFiles().isEmpty());
    EXPECT_EQ(f.host.run.status1, QString());
    EXPECT_EQ(f.host.run.status2, QStringLiteral(u"ｴﾗｰ： 0件"));
    EXPECT_EQ(f.host.run.beeps, 1);
    EXPECT_EQ(f.host.events, (QStringList{"prepare", "lock", "call", "unlock", "hide"}));
    EXPECT_EQ(f.host.run.progressValue, 0);
    EXPECT_EQ(f.runner.calledLists.value(0), QStringList{QStringLiteral("a.txt")});
    EXPECT_FALSE(f.driver.running());
}

TEST(RunDriverTest, RunWithTwoErrorsKeepsTheLog)
{
    DriverFixture f;
    f.opts.logFile = true;
    f.opts.fileDouble2 = true;
    for (const char* name : {"a.txt", "a.new", "b.txt", "b.new"})
        f.dir.createFile(QString::fromUtf8(name), name);
    f.renameOperation();
    f.start();

    EXPECT_EQ(f.host.run.status2, QStringLiteral(u"ｴﾗｰ： 2件 - 20030331090507.log"));
    ASSERT_EQ(f.logFiles(), QStringList{kLogName});
    const QString d = f.dir.folder();
    EXPECT_EQ(f.data.read(QStringLiteral("errlog/") + kLogName),
              kLogHeader + (d + "a.txt\r\n\t-> " + d + "a.new\r\n\r\n" + d + "b.txt\r\n\t-> " + d + "b.new\r\n\r\n").toUtf8());
    EXPECT_EQ(f.dir.read(QStringLiteral("a.new")), QByteArray("a.new"));

    // Without logging the count still shows, and the name part stays empty.
    DriverFixture g;
    g.opts.logFile = false;
    g.opts.fileDouble2 = true;
    for (const char* name : {"a.txt", "a.new", "b.txt", "b.new"})
        g.dir.createFile(QString::fromUtf8(name), name);
    g.renameOperation();
    g.start();
    EXPECT_EQ(g.host.run.status2, QStringLiteral(u"ｴﾗｰ： 2件 - "));
    EXPECT_FALSE(QDir(g.errlog).exists());
}

// root, a, b, c, d: each with one file.
void makeFiveFolders(DriverFixture& f)
{
    f.dir.createFile(QStringLiteral("top.txt"));
    for (const char* sub : {"a", "b", "c", "d"})
        f.dir.createFile(QString::fromUtf8(sub) + QStringLiteral("/f.txt"));
    f.host.subfolders = true;
}

QStringList panel1(const DriverFixture& f)
{
    QStringList texts;
    for (const QString& entry : f.host.run.statusLog)
        if (entry.startsWith(QStringLiteral("1:")))
            texts.append(entry.mid(2));
    return texts;
}

TEST(RunDriverTest, WalkCallsTheOperationPerFolder)
{
    DriverFixture f;
    makeFiveFolders(f);
    QStringList statusAtCall;
    f.runner.operation = [&](Tab, RunContext&) {
        statusAtCall.append(f.host.run.status1 + u'|' + f.host.run.status2);
        return false;
    };
    f.start();

    ASSERT_EQ(f.runner.calls, 5);
    EXPECT_EQ(f.runner.calledFolders.value(0), f.dir.folder());
    const QString third = f.runner.calledFolders.value(2);
    EXPECT_EQ(statusAtCall.value(2),
              QStringLiteral(u"変更中 2/5|") + support::Module1::ShortenPath(third.chopped(1), 56));
    EXPECT_EQ(statusAtCall.value(4).section(u'|', 0, 0), QStringLiteral(u"変更中 4/5"));
    EXPECT_EQ(f.runner.calledLists.value(1), QStringList{QStringLiteral("f.txt")});
    // The folder box comes back to where the run started.
    EXPECT_EQ(f.host.folder, f.dir.path());
    EXPECT_EQ(f.host.events.first(4), (QStringList{"prepare", "lock", "hide", "call"}));
    EXPECT_EQ(f.host.events.last(2), (QStringList{"unlock", "hide"}));
    EXPECT_TRUE(f.host.unlockedWithSubfolders);
}

TEST(RunDriverTest, StopInTheSecondFolderEndsTheWalk)
{
    DriverFixture f;
    makeFiveFolders(f);
    f.runner.operation = [&](Tab, RunContext&) { return f.runner.calls == 2; };
    f.start();

    EXPECT_EQ(f.runner.calls, 2);
    EXPECT_FALSE(panel1(f).contains(QStringLiteral(u"変更中 2/5")));
    EXPECT_EQ(f.host.unlocks, 1);
    EXPECT_EQ(f.host.run.beeps, 1);
    EXPECT_EQ(f.host.run.status2, QStringLiteral(u"ｴﾗｰ： 0件"));
    EXPECT_EQ(f.host.folder, f.dir.path());
}

// However a run ends, the window is asked to show the folder as it is now,
// once: the file list is read again, or, after a walk, the top folder is
// entered again (which reads it); only when that fails is the list read
// where it stands.
TEST(RunDriverTest, EndOfEveryRunReadsTheFolderAgainOnce)
{
    struct Case {
        const char* name;
        bool walk;
        bool stop;             // the operation stops early
        bool removeTop;        // the run's folder vanishes during the run
        int refreshes;
        int wrapUpEntries;     // folders entered after the walk's own
    };
    const Case cases[] = {
        {"one folder, to the end", false, false, false, 1, 0},
        {"one folder, stopped", false, true, false, 1, 0},
        {"walk, to the end", true, false, false, 0, 1},
        {"walk, stopped", true, true, false, 0, 1},
        {"walk, its folder gone", true, false, true, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverFixture f;
        f.dir.createFile(QStringLiteral("top.txt"));
        f.dir.createFile(QStringLiteral("a/f.txt"));
        f.host.subfolders = c.walk;
        f.runner.operation = [&](Tab, RunContext&) {
            if (c.removeTop && f.runner.calls == 2)
                QDir(f.dir.path()).removeRecursively();
            return c.stop;
        };
        f.start();

        EXPECT_EQ(f.host.unlocks, 1);
        EXPECT_EQ(f.host.run.fileListRefreshed, c.refreshes);
        const QStringList entered = f.host.folderLog;
        // The walk enters the top folder first; what follows the last
        // operation call is the wrap-up's.
        const qsizetype walkEntries = c.walk ? (c.stop ? 1 : 2) : 0;
        EXPECT_EQ(entered.size() - walkEntries, c.wrapUpEntries) << entered.join(u',').toStdString();
        if (c.walk && !c.removeTop) {
            EXPECT_EQ(entered.last(), f.dir.path());
        }
    }
}

TEST(RunDriverTest, WalkPassesOverVanishedAndEmptyFolders)
{
    DriverFixture f;
    makeFiveFolders(f);
    f.dir.createDir(QStringLiteral("e")); // no files
    QString removed;
    f.runner.operation = [&](Tab, RunContext& ctx) {
        if (f.runner.calls == 1) { // in the root: another program removes the third folder
            removed = ctx.ListAllDir2.value(2);
            QDir(removed).removeRecursively();
        }
        return false;
    };
    f.start();

    ASSERT_FALSE(removed.isEmpty());
    EXPECT_EQ(f.runner.calls, 4); // root and three of a-d; e has no file
    EXPECT_FALSE(f.runner.calledFolders.contains(removed));
    const QStringList texts = panel1(f);
    EXPECT_FALSE(texts.contains(QStringLiteral(u"変更中 2/6")));
    EXPECT_TRUE(texts.contains(QStringLiteral(u"変更中 3/6")));
    EXPECT_EQ(f.host.unlocks, 1);
}

TEST(RunDriverTest, UnexpectedFailureIsReportedAndTheWindowUnlocked)
{
    DriverFixture f;
    f.opts.logFile = true;
    f.dir.createFile(QStringLiteral("a.txt"));
    f.runner.operation = [](Tab, RunContext& ctx) -> bool {
        engine::PrintErrlog(ctx, QStringLiteral("/d/a"), QStringLiteral("/d/b"));
        ++ctx.errCount;
        throw std::runtime_error("injected");
    };
    f.start();

    EXPECT_EQ(f.host.unlocks, 1);
    EXPECT_FALSE(f.driver.running());
    EXPECT_EQ(f.host.run.beeps, 1);
    // Never the result of a clean run: the failure is counted, logged and shown.
    EXPECT_EQ(f.host.run.status2, QStringLiteral(u"ｴﾗｰ： 2件 - 20030331090507.log"));
    ASSERT_EQ(f.dialogs.shown.size(), 2);
    EXPECT_EQ(f.dialogs.shown[1].text, QStringLiteral(u"ｴﾗｰ番号  51 でｴﾗｰが発生しました。\r内部エラーです。\rinjected"));
    EXPECT_EQ(f.dialogs.shown[1].title, QStringLiteral(u"ｴﾗｰ"));
    EXPECT_EQ(f.data.read(QStringLiteral("errlog/") + kLogName),
              kLogHeader + QByteArray("/d/a\r\n\t-> /d/b\r\n\r\n") + f.dir.folder().toUtf8()
                  + QByteArray("\r\n\t-> (内部エラー) injected\r\n\r\n"));

    // The next run is not blocked by the failed one.
    f.runner.operation = nullptr;
    f.clock.current = f.clock.current.addSecs(1);
    f.start();
    EXPECT_EQ(f.runner.calls, 2);
    EXPECT_EQ(f.host.unlocks, 2);
    EXPECT_EQ(f.logFiles(), QStringList{kLogName});
}

TEST(RunDriverTest, SecondStartDuringARunIsIgnored)
{
    DriverFixture f;
    f.dir.createFile(QStringLiteral("a.txt"));
    bool runningInside = false;
    f.runner.operation = [&](Tab, RunContext&) {
        runningInside = f.driver.running();
        f.start(); // the File menu's start entry during a pause
        return false;
    };
    f.start();

    EXPECT_TRUE(runningInside);
    EXPECT_EQ(f.runner.calls, 1);
    EXPECT_EQ(f.dialogs.shown.size(), 1);
    EXPECT_EQ(f.host.locks, 1);
    EXPECT_EQ(f.host.unlocks, 1);
}

TEST(RunDriverTest, AbortRequestDoesNotOutliveItsRun)
{
    DriverFixture f;
    f.dir.createFile(QStringLiteral("a.txt"));
    f.driver.abort(); // idle: nothing to stop
    QList<bool> seenAtCall;
    f.runner.operation = [&](Tab, RunContext& ctx) {
        seenAtCall.append(ctx.gCancel);
        f.driver.abort(); // pressed after the operation's last poll
        seenAtCall.append(ctx.gCancel);
        return false;
    };
    f.start();
    f.start();
    EXPECT_EQ(seenAtCall, (QList<bool>{false, true, false, true}));
}

TEST(RunDriverTest, ElapsedTimeOnlyForACompletedLoop)
{
    {
        SCOPED_TRACE("completed");
        DriverFixture f;
        f.opts.timeMeasure = true;
        f.dir.createFile(QStringLiteral("a.txt"));
        f.renameOperation();
        f.host.run.onPump = [&](int) { f.clock.seconds += 3.25; }; // once before the loop, once at i = 0
        f.clock.seconds = 86399.0; // the monotonic clock does not wrap at midnight
        f.start();
        EXPECT_EQ(f.host.run.status1, QStringLiteral(u"Time：3.25秒"));
    }
    {
        SCOPED_TRACE("aborted");
        DriverFixture f;
        f.opts.timeMeasure = true;
        f.dir.createFile(QStringLiteral("a.txt"));
        f.renameOperation();
        f.host.run.onPump = [&](int) { f.driver.abort(); };
        f.start();
        EXPECT_EQ(f.dialogs.shown.value(1).text, QStringLiteral(u"ユーザーによって中止されました。"));
        EXPECT_EQ(f.host.run.status1, QString());
        EXPECT_TRUE(f.dir.exists(QStringLiteral("a.txt")));
    }
}

TEST(RunDriverTest, NumberingRunsOnceWithPresetsLocked)
{
    DriverFixture f;
    makeFiveFolders(f);
    f.host.caption = QStringLiteral(u"連番付加");
    f.start();

    EXPECT_EQ(f.runner.calls, 1);
    EXPECT_EQ(f.runner.calledTabs.value(0), Tab::AddNum);
    EXPECT_EQ(f.runner.calledFolders.value(0), f.dir.folder());
    EXPECT_EQ(f.host.events, (QStringList{"prepare", "lock", "hide", "presets off", "call", "presets on", "unlock", "hide"}));
    for (const QString& text : panel1(f))
        EXPECT_FALSE(text.startsWith(QStringLiteral(u"変更中 "))) << text.toStdString();
}

TEST(RunDriverTest, SelectedListHoldingOnlySkipRowsIsRun)
{
    DriverFixture f;
    f.host.select = true;
    f.host.selected = {engine::kSkipRow};
    f.host.caption = QStringLiteral(u"連番付加");
    f.start();
    EXPECT_EQ(f.runner.calledLists.value(0), QStringList{engine::kSkipRow});
    EXPECT_EQ(panel1(f).value(0), QStringLiteral(u"変更中..."));
}

// The tab strip stays usable during the folder search, but a tab picked
// then was never confirmed: the walk goes on with the confirmed operation,
// in every folder, and the copy tab's output-folder check never comes up.
TEST(RunDriverTest, TabTurnedToCopyDuringTheSearchRunsTheConfirmedOperation)
{
    DriverFixture f;
    makeFiveFolders(f);
    f.host.run.onPump = [&](int) { f.host.caption = QStringLiteral(u"ｺﾋﾟｰ"); };
    f.start();

    EXPECT_EQ(f.runner.calls, 5);
    EXPECT_EQ(f.runner.calledTabs, QList<Tab>(5, Tab::Kaku));
    ASSERT_EQ(f.dialogs.shown.size(), 1); // the question alone
    EXPECT_EQ(f.host.unlocks, 1);
    EXPECT_EQ(f.host.run.beeps, 1);
}

TEST(RunDriverTest, OutputFolderReachesTheOperation)
{
    DriverFixture f;
    f.dir.createFile(QStringLiteral("a.txt"));
    f.host.caption = QStringLiteral(u"ｺﾋﾟｰ");
    f.host.outputPressed = true;
    f.host.output = QStringLiteral("/out/");
    QString seen;
    f.runner.operation = [&](Tab tab, RunContext& ctx) {
        seen = ctx.outFolder + (ctx.outputButtonPressed ? "|pressed|" : "|") + ctx.tabCaption
               + (tab == Tab::Copy ? "|copy" : "");
        return false;
    };
    f.start();
    EXPECT_EQ(seen, QStringLiteral(u"/out/|pressed|ｺﾋﾟｰ|copy"));
}

} // namespace
} // namespace tavil::test
