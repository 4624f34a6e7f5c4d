// The error log is what the user reads after a run: a file name can't write
// lines of its own into it, and a log that could not be written to the end
// is kept and reported, never passed off as complete.

#include "engine/operations.h"
#include "engine/rundriver.h"
#include "tests/common/fsprobe.h"
#include "tests/common/opfixture.h"
#include "tests/engine/fakedriverhost.h"

#include <QDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace tavil::test {
namespace {

engine::ChangeKakuParams toDat()
{
    engine::ChangeKakuParams p;
    p.NewExtension = QStringLiteral("dat");
    return p;
}

// A name holding line breaks and text shaped like a log entry, in a clash:
// the log holds the header and exactly one entry, the control characters
// shown as their pictures, so no line of it comes from the name. The name
// is the old one of an import onto a taken name, and both the old and the
// new one of an attribute change whose copy is taken in the output folder.
TEST(LogSafetyTest, NameCannotForgeLogLines)
{
    struct Name {
        const char* name;
        const char* base;  // of the file, extension ".txt"
        const char* shown; // the base as the log shows it
    };
    const Name names[] = {
        {"lineFeed", "a\nb", "a␊b"},
        {"carriageReturn", "a\rb", "a␍b"},
        {"forgedEntry", "x\r\n\t-> forged.txt\r\n\r\nevil", "x␍␊␉-> forged.txt␍␊␍␊evil"},
        {"deleteAndEscape", "a\x7f\x1b[2Jb", "a␡␛[2Jb"},
    };
    engine::FNameImportParams import;
    import.ImportNames = {QStringLiteral("taken.txt")};
    engine::SetAttributeParams attribute;
    attribute.AttributeChange[0] = true;
    struct Operation {
        const char* name;
        engine::OperationParams params;
        bool toOutFolder;
        const char* newPath; // "%D" the run's folder, "%O" the output folder, "%N" the shown base
    };
    const Operation operations[] = {
        {"importOntoTakenName", import, false, "%D/taken.txt"},
        {"attributeCopyTaken", attribute, true, "%O/%N.txt(属性変更)"},
    };
    for (const Operation& op : operations) {
        for (const Name& n : names) {
            SCOPED_TRACE(std::string(op.name) + " " + n.name);
            RunBench b;
            TempDir out;
            const QString name = QString::fromUtf8(n.base) + QStringLiteral(".txt");
            b.make({name, QStringLiteral("taken.txt")});
            ASSERT_EQ(b.dir.list().size(), 2);
            if (op.toOutFolder) {
                out.createFile(name, "there");
                b.ctx.outFolder = out.folder();
                b.ctx.outputButtonPressed = true;
            }
            ASSERT_TRUE(b.openLog());
            b.ctx.objList = {name};

            EXPECT_FALSE(engine::runOperation(b.ctx, op.params));

            const QByteArray folder = native(b.dir.path());
            const QByteArray newPath = QByteArray(op.newPath)
                                           .replace("%D", folder)
                                           .replace("%O", native(out.path()))
                                           .replace("%N", n.shown);
            const QByteArray log = b.logBytes();
            EXPECT_EQ(log, kLogHeader + folder + '/' + n.shown + ".txt\r\n\t-> " + newPath + "\r\n\r\n");
            // Header, blank, old path, new path, blank: five lines, each
            // ended by CR LF, and no other line break.
            EXPECT_EQ(log.count("\r\n"), 5);
            EXPECT_EQ(log.count('\n'), 5);
            EXPECT_EQ(log.count('\r'), 5);
            EXPECT_EQ(log.count('\t'), 1);
            // The question, too, has its four lines and no more.
            ASSERT_EQ(b.dialogs.shown.size(), 1);
            EXPECT_EQ(b.dialogs.shown[0].text.count(u'\r'), 3);
            EXPECT_FALSE(b.dialogs.shown[0].text.contains(u'\n'));
            EXPECT_EQ(b.dir.read(name), name.toUtf8());
            EXPECT_EQ(b.dir.read(QStringLiteral("taken.txt")), "taken.txt");
        }
    }
}

// The log's place is a link to a device that takes no data: every entry is
// lost. The run ends with a message naming the log, the count in the status
// panel still points at it, and it is not deleted as an empty log would be.
TEST(LogSafetyTest, LogThatCouldNotBeWrittenIsReportedAndKept)
{
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full here";
    TempDir dir;
    TempDir data;
    const QString errlog = data.file(QStringLiteral("errlog"));
    const QString logPath = errlog + QStringLiteral("/20030331090507.log");
    ASSERT_TRUE(QDir().mkpath(errlog));
    ASSERT_EQ(::symlink("/dev/full", native(logPath).constData()), 0);
    dir.createFile(QStringLiteral("a.txt"), "a");
    dir.createFile(QStringLiteral("a.dat"), "taken");

    TestFileSystem fs;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDriverHost host;
    host.folder = dir.path();
    host.files = [](const QString&) { return QStringList{QStringLiteral("a.txt")}; };
    host.paramsFor = [](engine::Tab) { return toDat(); };
    engine::RunDriver driver(engine::DriverServices{fs, dialogs, clock, errlog}, host);
    support::settings::OptionFlags opts;
    opts.logFile = true;
    opts.fileDouble2 = true; // a clash is counted without a question

    driver.start(opts);

    ASSERT_EQ(dialogs.shown.size(), 2); // the question, then the log's message
    EXPECT_EQ(dialogs.shown[1].text,
              QStringLiteral(u"ｴﾗｰﾛｸﾞを最後まで書き込むことができませんでした。\r") + logPath);
    EXPECT_EQ(dialogs.shown[1].title, QStringLiteral(u"ｴﾗｰﾛｸﾞ"));
    EXPECT_EQ(dialogs.shown[1].style, 48);
    EXPECT_EQ(host.run.status2, QStringLiteral(u"ｴﾗｰ： 1件 - 20030331090507.log"));
    EXPECT_TRUE(S_ISLNK(statOf(logPath).st_mode));
    EXPECT_EQ(host.unlocks, 1);
    EXPECT_EQ(dir.read(QStringLiteral("a.txt")), "a");
    EXPECT_EQ(dir.read(QStringLiteral("a.dat")), "taken");
}

} // namespace
} // namespace tavil::test
