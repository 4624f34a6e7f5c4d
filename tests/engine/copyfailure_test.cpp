// A copy that does not end well leaves nothing behind and says what
// happened: an abort pressed during a long copy stops it at once, and a
// source that can't be read is named as such, not mistaken for a
// write-protected disk; an entry that is no file at all is named as such,
// and an output folder that went away is named as missing.

#include "engine/operations.h"
#include "tests/common/opfixture.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cerrno>
#include <string_view>

#include <sys/stat.h>
#include <unistd.h>

namespace tavil::test {
namespace {

using engine::OperationParams;

engine::ChangeKakuParams toDat()
{
    engine::ChangeKakuParams p;
    p.NewExtension = QStringLiteral("dat");
    return p;
}

engine::SetAttributeParams readOnly()
{
    engine::SetAttributeParams p;
    p.AttributeChange[0] = true;
    return p;
}

engine::SetTimeStampParams writeTime()
{
    engine::SetTimeStampParams p;
    p.SetWriteTime = true;
    p.NewWriteTime = QDateTime(QDate(2005, 6, 7), QTime(8, 9, 10));
    return p;
}

engine::FNameCopyParams moveMode()
{
    engine::FNameCopyParams p;
    p.CopyMode = false;
    return p;
}

// Data that differs from chunk to chunk, so that a copy put together from
// the wrong parts would show.
QByteArray bigData()
{
    QByteArray data(40 * 1024 * 1024, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qsizetype i = 0; i < data.size(); ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        data[i] = char(x);
    }
    return data;
}

// The abort button pressed while a 40 MiB file is being copied into the
// output folder: the copy stops there, the abort is told, and neither the
// target nor a temporary file is left; the source is whole, a source that
// was being moved to another file system too.
TEST(CopyFailureTest, AbortDuringALongCopyLeavesNothing)
{
    struct Case {
        const char* name;
        OperationParams params;
        bool acrossFileSystems; // a move that has to copy
        const char* target;     // the name the copy would have had
        QString message;
    };
    const Case cases[] = {
        {"copyTab", engine::FNameCopyParams{}, false, "big.bin", QStringLiteral(u"作業を中止します。")},
        {"moveTabAcrossFileSystems", moveMode(), true, "big.bin", QStringLiteral(u"作業を中止します。")},
        {"extensionToOutFolder", toDat(), false, "big.dat", QStringLiteral(u"ユーザーによって中止されました。")},
    };
    const QByteArray data = bigData();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunBench b;
        TempDir out;
        b.dir.createFile(QStringLiteral("big.bin"), data);
        if (c.acrossFileSystems)
            b.fs.injectErrno = [](const char* call, const QString&) {
                return std::string_view(call) == "renameat2" ? EXDEV : 0;
            };
        b.ctx.objList = {QStringLiteral("big.bin")};
        b.ctx.outFolder = out.folder();
        b.ctx.outputButtonPressed = true;
        // The loop turns the event loop twice before the copy begins (at its
        // start and at the poll before the first file); every later turn is
        // a progress report of the copy. The button is pressed at its second.
        b.host.onPump = [&b](int pump) {
            if (pump == 4)
                b.ctx.gCancel = true;
        };

        const bool stopped = engine::runOperation(b.ctx, c.params);
        // Where the file system shares blocks, a copy is one step without
        // progress reports; the first case tells, and the others must then
        // be stopped as it was.
        if (&c == &cases[0] && b.host.pumps < 4)
            GTEST_SKIP() << "the copy reported no progress (shared blocks): it cannot be stopped halfway";

        EXPECT_TRUE(stopped);
        ASSERT_EQ(b.dialogs.shown.size(), 1);
        EXPECT_EQ(b.dialogs.shown[0].text, c.message);
        EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral(u"作業の中止"));
        EXPECT_EQ(b.dialogs.shown[0].style, 48);
        EXPECT_EQ(b.host.pumps, 4); // nothing more was copied after the press
        EXPECT_FALSE(b.ctx.gCancel);
        EXPECT_EQ(b.ctx.errCount, 0);
        EXPECT_FALSE(out.exists(QString::fromUtf8(c.target)));
        EXPECT_TRUE(out.list().isEmpty()) << out.list().join(u' ').toStdString();
        EXPECT_EQ(b.dir.list(), QStringList{QStringLiteral("big.bin")});
        EXPECT_TRUE(b.dir.read(QStringLiteral("big.bin")) == data);
    }
}

// The source can't be opened for reading: every operation that copies it
// says so and names it; nothing reaches the output folder and the source
// stays where it was.
TEST(CopyFailureTest, UnreadableSourceIsNamedAsUnreadable)
{
    struct Case {
        const char* name;
        OperationParams params;
        bool acrossFileSystems; // a move that has to copy
    };
    const Case cases[] = {
        {"copyTab", engine::FNameCopyParams{}, false},
        {"moveTabAcrossFileSystems", moveMode(), true},
        {"extensionToOutFolder", toDat(), false},
        {"attributeToOutFolder", readOnly(), false},
        {"timeStampToOutFolder", writeTime(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunBench b;
        TempDir out;
        const QString source = b.dir.createFile(QStringLiteral("a.txt"), "a");
        b.fs.injectErrno = [&source, &c](const char* call, const QString& path) {
            if (std::string_view(call) == "open" && path == source)
                return EACCES;
            if (c.acrossFileSystems && std::string_view(call) == "renameat2")
                return EXDEV;
            return 0;
        };
        b.ctx.objList = {QStringLiteral("a.txt")};
        b.ctx.outFolder = out.folder();
        b.ctx.outputButtonPressed = true;

        EXPECT_TRUE(engine::runOperation(b.ctx, c.params));

        ASSERT_EQ(b.dialogs.shown.size(), 1);
        EXPECT_EQ(b.dialogs.shown[0].text, source + QStringLiteral(u"\r\n\r\nファイルを読み取ることができませんでした。\r\n"
                                                                   u"ファイルのアクセス権を確認して下さい。"));
        EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral(u"ファイルの読み取りエラー"));
        EXPECT_EQ(b.dialogs.shown[0].style, 16);
        EXPECT_TRUE(out.list().isEmpty()) << out.list().join(u' ').toStdString();
        EXPECT_EQ(b.dir.list(), QStringList{QStringLiteral("a.txt")});
        EXPECT_EQ(b.dir.read(QStringLiteral("a.txt")), "a");
    }
}

// An entry of the list that is no plain file: a FIFO (reading it would block),
// a folder, a link to a device and a link that leads round in a loop. Each
// operation that copies it names it and says it is no file it can copy; the
// run stops, nothing reaches the output folder and the entry stays.
TEST(CopyFailureTest, EntryThatIsNoFileIsNamed)
{
    enum class Kind { Fifo, Folder, DeviceLink, LinkLoop };
    const struct {
        const char* name;
        Kind kind;
    } kinds[] = {
        {"fifo", Kind::Fifo},
        {"folder", Kind::Folder},
        {"linkToDevice", Kind::DeviceLink},
        {"linkLoop", Kind::LinkLoop},
    };
    struct Op {
        const char* name;
        OperationParams params;
        bool acrossFileSystems;
    };
    const Op ops[] = {
        {"copyTab", engine::FNameCopyParams{}, false},
        {"moveTabAcrossFileSystems", moveMode(), true},
        {"extensionToOutFolder", toDat(), false},
    };
    const QString text = QStringLiteral(u"\r\n\r\nコピーできるファイルではありません。\r\n"
                                        u"フォルダ、デバイス、名前付きパイプ、循環したリンクはコピーできません。");
    for (const auto& k : kinds) {
        for (const Op& op : ops) {
            // Moved across file systems, a link is made anew as a link.
            if (op.acrossFileSystems && (k.kind == Kind::DeviceLink || k.kind == Kind::LinkLoop))
                continue;
            SCOPED_TRACE(std::string(k.name) + ", " + op.name);
            RunBench b;
            TempDir out;
            const QString entry = b.dir.file(QStringLiteral("x"));
            const QByteArray raw = QFile::encodeName(entry);
            switch (k.kind) {
            case Kind::Fifo:
                ASSERT_EQ(::mkfifo(raw.constData(), 0600), 0);
                break;
            case Kind::Folder:
                b.dir.createDir(QStringLiteral("x"));
                break;
            case Kind::DeviceLink:
                ASSERT_EQ(::symlink("/dev/null", raw.constData()), 0);
                break;
            case Kind::LinkLoop:
                ASSERT_EQ(::symlink("x", raw.constData()), 0);
                break;
            }
            if (op.acrossFileSystems)
                b.fs.injectErrno = [](const char* call, const QString&) {
                    return std::string_view(call) == "renameat2" ? EXDEV : 0;
                };
            b.ctx.objList = {QStringLiteral("x")};
            b.ctx.outFolder = out.folder();
            b.ctx.outputButtonPressed = true;

            EXPECT_TRUE(engine::runOperation(b.ctx, op.params));

            ASSERT_EQ(b.dialogs.shown.size(), 1);
            EXPECT_EQ(b.dialogs.shown[0].text, entry + text);
            EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral(u"ファイルのコピーエラー"));
            EXPECT_EQ(b.dialogs.shown[0].style, 16);
            EXPECT_TRUE(out.list().isEmpty()) << out.list().join(u' ').toStdString();
            struct stat st;
            EXPECT_EQ(::lstat(raw.constData(), &st), 0);
        }
    }
}

// The output folder is removed while a file is being copied into it: the
// run stops with "path not found" naming that folder, not with a
// write-protected disk (an unnamed file in a removed folder fails with EPERM
// on ext4), and the source is whole.
TEST(CopyFailureTest, OutputFolderRemovedDuringACopyIsNamedAsNotFound)
{
    struct Case {
        const char* name;
        OperationParams params;
        bool acrossFileSystems;
        int injected; // the errno the making of the file meets, 0: the real one
    };
    const Case cases[] = {
        {"copyTab", engine::FNameCopyParams{}, false, 0},
        {"copyTabWhateverTheFileSystemSays", engine::FNameCopyParams{}, false, EPERM},
        {"moveTabAcrossFileSystems", moveMode(), true, 0},
        {"extensionToOutFolder", toDat(), false, 0},
        {"attributeToOutFolder", readOnly(), false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunBench b;
        TempDir parent;
        const QString out = parent.createDir(QStringLiteral("out"));
        b.dir.createFile(QStringLiteral("a.txt"), "a");
        b.fs.injectErrno = [&](const char* call, const QString& path) {
            if (c.acrossFileSystems && std::string_view(call) == "renameat2")
                return EXDEV;
            if (std::string_view(call) == "open" && path == out) {
                // The copy has begun: its temporary file is made next.
                EXPECT_EQ(::rmdir(QFile::encodeName(out).constData()), 0);
                return c.injected;
            }
            return 0;
        };
        b.ctx.objList = {QStringLiteral("a.txt")};
        b.ctx.outFolder = out + u'/';
        b.ctx.outputButtonPressed = true;

        EXPECT_TRUE(engine::runOperation(b.ctx, c.params));

        ASSERT_EQ(b.dialogs.shown.size(), 1);
        EXPECT_EQ(b.dialogs.shown[0].text,
                  QStringLiteral(u"ｴﾗｰ番号  76 でｴﾗｰが発生しました。\rパスが見つかりません。\r") + out + u'/');
        EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral(u"ｴﾗｰ"));
        EXPECT_EQ(b.dialogs.shown[0].style, 16);
        EXPECT_TRUE(parent.list().isEmpty());
        EXPECT_EQ(b.dir.list(), QStringList{QStringLiteral("a.txt")});
        EXPECT_EQ(b.dir.read(QStringLiteral("a.txt")), "a");
    }
}

} // namespace
} // namespace tavil::test
