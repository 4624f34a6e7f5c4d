#include "engine/errlog.h"
#include "engine/errmsg.h"
#include "engine/runcontext.h"
#include "tests/common/fakes.h"
#include "tests/common/tempdir.h"
#include "tests/engine/mapfs.h"

#include <gtest/gtest.h>

namespace tavil::test {
namespace {

using engine::ErrorLog;

TEST(ErrorLogTest, WritesHeaderAndEntriesAsExactBytes)
{
    TempDir tmp;
    ErrorLog log;
    ASSERT_TRUE(log.open(tmp.path(), QStringLiteral("20030331090507.log")));
    log.writeEntry(QStringLiteral("/data/a.txt"), QStringLiteral("/data/b.txt"));
    log.writeEntry(QStringLiteral(u"/data/写真.jpg"), QStringLiteral(u"/out/写真(属性変更)"));
    log.close(false);

    EXPECT_EQ(tmp.read(QStringLiteral("20030331090507.log")),
              QByteArray("次の変更中にｴﾗｰが発生しました。\r\n\r\n"
                         "/data/a.txt\r\n\t-> /data/b.txt\r\n\r\n"
                         "/data/写真.jpg\r\n\t-> /out/写真(属性変更)\r\n\r\n"));
}

TEST(ErrorLogTest, MakesMissingFolderAndEmptiesAnOldLog)
{
    TempDir tmp;
    const QString folder = tmp.file(QStringLiteral("share/Tavil/errlog"));
    tmp.createFile(QStringLiteral("old/x.log"), "stale entry\r\n");
    {
        ErrorLog log;
        ASSERT_TRUE(log.open(folder, QStringLiteral("x.log")));
        log.close(false);
    }
    EXPECT_EQ(tmp.read(QStringLiteral("share/Tavil/errlog/x.log")),
              QByteArray("次の変更中にｴﾗｰが発生しました。\r\n\r\n"));

    ErrorLog again;
    ASSERT_TRUE(again.open(tmp.file(QStringLiteral("old")), QStringLiteral("x.log")));
    again.close(false);
    EXPECT_EQ(tmp.read(QStringLiteral("old/x.log")), QByteArray("次の変更中にｴﾗｰが発生しました。\r\n\r\n"));
}

TEST(ErrorLogTest, RefusesWhenTheFolderIsAFileAndLeavesItAlone)
{
    TempDir tmp;
    tmp.createFile(QStringLiteral("errlog"), "not a folder");
    ErrorLog log;
    EXPECT_FALSE(log.open(tmp.file(QStringLiteral("errlog")), QStringLiteral("x.log")));
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(tmp.read(QStringLiteral("errlog")), QByteArray("not a folder"));
}

TEST(ErrorLogTest, CloseWithRemoveDeletesOnlyAnOpenLog)
{
    TempDir tmp;
    ErrorLog log;
    ASSERT_TRUE(log.open(tmp.path(), QStringLiteral("a.log")));
    log.close(true);
    EXPECT_FALSE(tmp.exists(QStringLiteral("a.log")));

    // Closing twice must not delete a file of the same name made meanwhile.
    tmp.createFile(QStringLiteral("a.log"), "kept");
    log.close(true);
    EXPECT_EQ(tmp.read(QStringLiteral("a.log")), QByteArray("kept"));
}

struct LogContext {
    MapFs fs;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeHost host;
    engine::RunContext ctx{.fs = fs, .dialogs = dialogs, .clock = clock, .host = host};
};

TEST(PrintErrlogTest, WritesOnlyWhenLoggingIsOnAndTheLogIsOpen)
{
    TempDir tmp;
    ErrorLog log;
    ASSERT_TRUE(log.open(tmp.path(), QStringLiteral("p.log")));
    LogContext c;
    c.ctx.log = &log;

    c.ctx.opts.logFile = false;
    engine::PrintErrlog(c.ctx, QStringLiteral("/d/off"), QStringLiteral("/d/off2"));
    c.ctx.opts.logFile = true;
    engine::PrintErrlog(c.ctx, QStringLiteral("/d/on"), QStringLiteral("/d/on2"));
    c.ctx.log = nullptr;
    engine::PrintErrlog(c.ctx, QStringLiteral("/d/none"), QStringLiteral("/d/none2"));
    log.close(false);

    EXPECT_EQ(tmp.read(QStringLiteral("p.log")),
              QByteArray("次の変更中にｴﾗｰが発生しました。\r\n\r\n/d/on\r\n\t-> /d/on2\r\n\r\n"));
}

TEST(GenericErrorTextTest, NumberCarriesItsOwnLeadingBlank)
{
    EXPECT_EQ(engine::genericErrorText(5),
              QStringLiteral(u"ｴﾗｰ番号  5 でｴﾗｰが発生しました。\rプロシージャの呼び出し、または引数が不正です。"));
    EXPECT_EQ(engine::genericErrorText(76),
              QStringLiteral(u"ｴﾗｰ番号  76 でｴﾗｰが発生しました。\rパスが見つかりません。"));
    EXPECT_TRUE(engine::genericErrorText(-1).startsWith(QStringLiteral(u"ｴﾗｰ番号 -1 でｴﾗｰが発生しました。\r")));
}

TEST(ErrMsgTest, MessagesByNumberAndPlace)
{
    struct Case {
        const char* name;
        platform::Err err;
        QString dirPath;
        QString outFolder;
        QString text; // "" = no message
        QString title;
    };
    const QString network = QStringLiteral(u"ネットワーク アクセスは拒否されました。アクセス権があるかどうか確認して下さい。");
    const Case cases[] = {
        {"diskFull", platform::Err::DiskFull, "/local/", "",
         QStringLiteral(u"ディスクの空き容量が不足しています。\r\n\r\nディスクを交換するか、空き容量を増やして下さい。"),
         QStringLiteral(u"空き容量の不足")},
        {"denied", platform::Err::Denied, "/local/", "",
         QStringLiteral(u"ディスクがライトプロテクトされています。\r\n\r\nライトプロテクトを解除するか別のディスクを使って下さい。"),
         QStringLiteral(u"ディスクの書き込みエラー")},
        {"accessLocal", platform::Err::Access, "/local/", "/local/out/",
         QStringLiteral(u"ｴﾗｰ番号  75 でｴﾗｰが発生しました。\rパス名が無効です。"), QStringLiteral(u"ｴﾗｰ")},
        {"accessNetworkFolder", platform::Err::Access, "/net/share/", "", network, QStringLiteral(u"アクセスエラー")},
        {"accessNetworkOutput", platform::Err::Access, "/local/", "/net/out/", network,
         QStringLiteral(u"アクセスエラー")},
        {"otherNumber", platform::Err::NotFound, "/local/", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogContext lc;
        lc.fs.network = {QStringLiteral("/net/")};
        lc.ctx.outFolder = c.outFolder;
        engine::ErrMsg(lc.ctx, platform::FsStatus{c.err, 0}, c.dirPath);
        if (c.text.isEmpty()) {
            EXPECT_TRUE(lc.dialogs.shown.isEmpty());
            continue;
        }
        ASSERT_EQ(lc.dialogs.shown.size(), 1);
        EXPECT_EQ(lc.dialogs.shown[0].text, c.text);
        EXPECT_EQ(lc.dialogs.shown[0].title, c.title);
        EXPECT_EQ(lc.dialogs.shown[0].style, 16);
    }
}

} // namespace
} // namespace tavil::test
