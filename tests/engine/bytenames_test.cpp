// Names that are not UTF-8 are bytes like any others: every operation must
// change exactly the file it was given, never its UTF-8 look-alike, and
// every message and log line must show such a name as it is.

#include "engine/operations.h"
#include "engine/rundriver.h"
#include "engine/texts.h"
#include "tests/common/opfixture.h"
#include "tests/engine/fakedriverhost.h"
#include "tests/common/rawbytes.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace tavil::test {
namespace {

using engine::OperationParams;
using raw::Entry;

const QByteArray kLatin = "caf\xe9.txt";          // é as one Latin-1 byte: not UTF-8
const QByteArray kUtf8 = "caf\xc3\xa9.txt";       // é in UTF-8
const QByteArray kByteFF = "\xff.txt";            // a byte that never occurs in UTF-8
const QByteArray kReplacement = "\xef\xbf\xbd.txt"; // U+FFFD in UTF-8, what a lossy decoding makes of \xff

QByteArray bytesOf(const QString& path)
{
    return QFile::encodeName(path); // the temporary folders are ASCII
}

time_t localSeconds(int y, int mo, int d, int h = 12, int mi = 0, int s = 0)
{
    return time_t(QDateTime(QDate(y, mo, d), QTime(h, mi, s)).toSecsSinceEpoch());
}

// A folder with the two names that are not UTF-8 beside their UTF-8
// look-alikes, each file holding one letter of its own.
struct ByteNames : RunBench {
    ByteNames()
    {
        folder = bytesOf(dir.path());
        for (const Entry& e : initial())
            EXPECT_TRUE(raw::makeFile(raw::join(folder, e.first), e.second));
        for (const Entry& e : initial())
            EXPECT_TRUE(raw::setTimes(raw::join(folder, e.first), kOldTime, kOldTime));
        pickListedNames();
    }
    ~ByteNames() { raw::removeContents(folder); }
    ByteNames(const ByteNames&) = delete;
    ByteNames& operator=(const ByteNames&) = delete;

    static QList<Entry> initial() { return {{kLatin, "L"}, {kUtf8, "U"}, {kByteFF, "F"}, {kReplacement, "R"}}; }

    // The names as the platform lists them; the two that are UTF-8 are known
    // texts, so the other two are the byte names.
    void pickListedNames()
    {
        QList<platform::DirEntry> listed;
        ASSERT_TRUE(fs.listDir(dir.path(), &listed).ok());
        ASSERT_EQ(listed.size(), 4);
        for (const platform::DirEntry& e : listed) {
            if (e.name == q("caf\xc3\xa9.txt") || e.name == q("\xef\xbf\xbd.txt"))
                continue;
            (e.name.startsWith(u"caf") ? latin : byteFF) = e.name;
        }
        ASSERT_FALSE(latin.isEmpty());
        ASSERT_FALSE(byteFF.isEmpty());
        ASSERT_NE(latin, q("caf\xc3\xa9.txt"));
        ASSERT_NE(byteFF, q("\xef\xbf\xbd.txt"));
    }

    QByteArray path(const QByteArray& name) const { return raw::join(folder, name); }

    static constexpr time_t kOldTime = 946728000; // 2000-01-01 12:00 UTC
    QByteArray folder;
    QString latin;  // "caf\xe9.txt" as listed
    QString byteFF; // "\xff.txt" as listed
};

OperationParams kakuChange(const char* extension)
{
    engine::ChangeKakuParams p;
    p.NewExtension = QString::fromUtf8(extension);
    return p;
}

OperationParams editAdd(const char* position, const char* text)
{
    engine::FNameEditParams p;
    p.EditMode = engine::FNameEditParams::Mode::Add;
    p.EditPosition = QString::fromUtf8(position);
    p.EditText = QString::fromUtf8(text);
    return p;
}

OperationParams editDelete(const char* position, const char* count)
{
    engine::FNameEditParams p;
    p.EditMode = engine::FNameEditParams::Mode::Delete;
    p.EditPosition = QString::fromUtf8(position);
    p.DeleteCount = QString::fromUtf8(count);
    return p;
}

OperationParams upperCase()
{
    engine::FNameConvParams p;
    p.ConvertName = true;
    p.NameCase = 1;
    p.ConvertExtension = true;
    p.ExtensionCase = 0;
    return p;
}

OperationParams fullWidth()
{
    engine::FNameConvParams p;
    p.ConvertWidth = true;
    p.WidthTarget = 1;
    return p;
}

OperationParams stampToName()
{
    engine::SetTimeStampParams p;
    p.TimeToName = true;
    p.TimeSource = false; // the last-write time
    p.UseYear = p.UseMonth = p.UseDay = true;
    p.AddToName = true;
    p.AddPosition = false; // after the base name
    return p;
}

OperationParams stampWriteTime()
{
    engine::SetTimeStampParams p;
    p.SetWriteTime = true;
    p.NewWriteTime = QDateTime(QDate(2005, 6, 7), QTime(8, 9, 10));
    return p;
}

OperationParams readOnly()
{
    engine::SetAttributeParams p;
    p.AttributeChange[0] = true;
    p.AttributeValue[0] = true;
    return p;
}

OperationParams import(const QStringList& names)
{
    engine::FNameImportParams p;
    p.ImportNames = names;
    return p;
}

OperationParams copyOrMove(bool copy)
{
    engine::FNameCopyParams p;
    p.CopyMode = copy;
    return p;
}

// Every operation on the two byte names alone: on disk exactly those two
// files change, byte for byte, and their UTF-8 look-alikes keep name and
// content. A lossy round trip would miss the file (left alone, silently),
// or hit its look-alike.
TEST(ByteNameOperations, ChangeExactlyTheByteNamedFiles)
{
    const QList<Entry> untouched = ByteNames::initial();
    const QList<Entry> utf8Only = {{kUtf8, "U"}, {kReplacement, "R"}};
    const auto withUtf8 = [&](QList<Entry> changed) { return changed + utf8Only; };
    struct Case {
        const char* name;
        OperationParams params;
        bool toOutFolder;
        QList<Entry> folder; // the run's folder afterwards
        QList<Entry> out;    // the output folder afterwards
        std::function<void(ByteNames&)> check;
    };
    const Case cases[] = {
        {"addNum", engine::AddNumParams{}, false, withUtf8({{"caf\xe9" "0.txt", "L"}, {"\xff" "1.txt", "F"}}), {}, {}},
        {"changeKaku", kakuChange("dat"), false, withUtf8({{"caf\xe9.dat", "L"}, {"\xff.dat", "F"}}), {}, {}},
        {"changeKakuToOutFolder", kakuChange("dat"), true, untouched, {{"caf\xe9.dat", "L"}, {"\xff.dat", "F"}}, {}},
        // The byte is one character: the text goes before it.
        {"editAdd", editAdd("4", "_"), false, withUtf8({{"caf_\xe9.txt", "L"}, {"\xff_.txt", "F"}}), {}, {}},
        // "\xff" would lose its only character and is left alone.
        {"editDelete", editDelete("1", "1"), false, withUtf8({{"af\xe9.txt", "L"}, {kByteFF, "F"}}), {}, {}},
        {"caseConversion", upperCase(), false, withUtf8({{"CAF\xe9.TXT", "L"}, {"\xff.TXT", "F"}}), {}, {}},
        // "\xff" has nothing to widen and keeps its name.
        {"widthConversion", fullWidth(), false,
         withUtf8({{"\xef\xbd\x83\xef\xbd\x81\xef\xbd\x86\xe9.txt", "L"}, {kByteFF, "F"}}), {}, {}},
        {"timeStampName", stampToName(), false,
         withUtf8({{"caf\xe9(2001-02-03).txt", "L"}, {"\xff(2001-02-04).txt", "F"}}), {},
         {}},
        {"timeStampStamp", stampWriteTime(), false, untouched, {},
         [](ByteNames& b) {
             const time_t stamped = localSeconds(2005, 6, 7, 8, 9, 10);
             EXPECT_EQ(raw::lstatOf(b.path(kLatin)).st_mtime, stamped);
             EXPECT_EQ(raw::lstatOf(b.path(kByteFF)).st_mtime, stamped);
             EXPECT_EQ(raw::lstatOf(b.path(kUtf8)).st_mtime, ByteNames::kOldTime);
             EXPECT_EQ(raw::lstatOf(b.path(kReplacement)).st_mtime, ByteNames::kOldTime);
         }},
        {"attribute", readOnly(), false, untouched, {},
         [](ByteNames& b) {
             EXPECT_EQ(raw::lstatOf(b.path(kLatin)).st_mode & 0777, 0444u);
             EXPECT_EQ(raw::lstatOf(b.path(kByteFF)).st_mode & 0777, 0444u);
             EXPECT_EQ(raw::lstatOf(b.path(kUtf8)).st_mode & 0777, 0644u);
             EXPECT_EQ(raw::lstatOf(b.path(kReplacement)).st_mode & 0777, 0644u);
         }},
        {"import", import({QStringLiteral("n1"), QStringLiteral("n2")}), false,
         withUtf8({{"n1.txt", "L"}, {"n2.txt", "F"}}), {}, {}},
        {"copy", copyOrMove(true), true, untouched, {{kLatin, "L"}, {kByteFF, "F"}}, {}},
        {"move", copyOrMove(false), true, utf8Only, {{kLatin, "L"}, {kByteFF, "F"}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteNames b;
        ASSERT_FALSE(b.latin.isEmpty());
        ASSERT_TRUE(raw::setTimes(b.path(kLatin), localSeconds(2001, 2, 3), localSeconds(2001, 2, 3)));
        ASSERT_TRUE(raw::setTimes(b.path(kByteFF), localSeconds(2001, 2, 4), localSeconds(2001, 2, 4)));
        TempDir out;
        if (c.toOutFolder) {
            b.ctx.outFolder = out.folder();
            b.ctx.outputButtonPressed = true;
        }
        b.ctx.objList = {b.latin, b.byteFF};

        EXPECT_FALSE(engine::runOperation(b.ctx, c.params));

        EXPECT_TRUE(b.dialogs.shown.isEmpty()) << b.dialogs.shown.value(0).text.toStdString();
        EXPECT_EQ(raw::describe(raw::files(b.folder)), raw::describe(c.folder));
        EXPECT_EQ(raw::describe(raw::files(bytesOf(out.path()))), raw::describe(c.out));
        if (c.check)
            c.check(b);
    }
}

// A clash names both files as they are: the byte as "\xE9" (four visible
// characters), never as a replacement character, in the question and in the
// log alike.
TEST(ByteNameOperations, MessagesAndLogShowTheByteVisibly)
{
    struct Case {
        const char* name;
        OperationParams params;
        bool toOutFolder;
        QString message; // "%D" the run's folder, "%O" the output folder
        int style;
        QByteArray log;  // the entry; "%D" and "%O" as above
    };
    const Case cases[] = {
        {"extensionOntoTakenName", kakuChange("dat"), false,
         QStringLiteral(u"%D/caf\\xE9.dat\rと同じ名前のファイルが存在するため\r%D/caf\\xE9.txt\r"
                        u"の名前を変更することが出来ませんでした。"),
         49, "%D/caf\\xE9.txt\r\n\t-> %D/caf\\xE9.dat\r\n\r\n"},
        {"attributeCopyOntoTakenName", readOnly(), true,
         QStringLiteral(u"%O/caf\\xE9.txt\rと同じ名前のファイルが存在するため\r%D/caf\\xE9.txt\r"
                        u"のファイルをコピーできませんでした。"),
         0, "%D/caf\\xE9.txt\r\n\t-> %O/caf\\xE9.txt(属性変更)\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ByteNames b;
        ASSERT_FALSE(b.latin.isEmpty());
        TempDir out;
        const QByteArray outBytes = bytesOf(out.path());
        if (c.toOutFolder) {
            b.ctx.outFolder = out.folder();
            b.ctx.outputButtonPressed = true;
            ASSERT_TRUE(raw::makeFile(raw::join(outBytes, kLatin), "there"));
        } else {
            ASSERT_TRUE(raw::makeFile(b.path("caf\xe9.dat"), "D"));
        }
        ASSERT_TRUE(b.openLog());
        b.ctx.objList = {b.latin};

        EXPECT_FALSE(engine::runOperation(b.ctx, c.params));

        ASSERT_EQ(b.dialogs.shown.size(), 1);
        const QString message = QString(c.message)
                                    .replace(QStringLiteral("%D"), b.dir.path())
                                    .replace(QStringLiteral("%O"), out.path());
        EXPECT_EQ(b.dialogs.shown[0].text, message);
        EXPECT_EQ(b.dialogs.shown[0].title, QStringLiteral(u"同名ファイルの存在"));
        EXPECT_EQ(b.dialogs.shown[0].style, c.style);
        EXPECT_FALSE(b.dialogs.shown[0].text.contains(QChar(0xFFFD)));

        const QByteArray log = b.logBytes();
        EXPECT_EQ(log, kLogHeader + QByteArray(c.log).replace("%D", b.folder).replace("%O", outBytes));
        EXPECT_FALSE(log.contains("\xef\xbf\xbd"));
        // Nothing was lost or replaced.
        EXPECT_EQ(raw::read(b.path(kLatin)), "L");
        EXPECT_EQ(raw::read(b.path(kUtf8)), "U");
        if (c.toOutFolder) {
            EXPECT_EQ(raw::read(raw::join(outBytes, kLatin)), "there");
        } else {
            EXPECT_EQ(raw::read(b.path("caf\xe9.dat")), "D");
        }
    }
}

// A folder whose own name is not UTF-8 is walked like any other: found by
// the search, entered, its files listed and renamed in it. Both a sub-folder
// and the top folder of the walk.
TEST(ByteNameOperations, WalkEntersFoldersNamedByBytes)
{
    struct Case {
        const char* name;
        QByteArray top; // below the temporary folder
        QByteArray sub; // below top
        QString confirmationFolder; // how the question names the top folder, after the temporary folder
    };
    const Case cases[] = {
        {"subFolder", "top", "d\xe9", QStringLiteral("/top")},
        {"topFolder", "t\xff", "sub", QStringLiteral("/t\\xFF")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir tmp;
        TempDir data;
        const QByteArray top = raw::join(bytesOf(tmp.path()), c.top);
        const QByteArray sub = raw::join(top, c.sub);
        ASSERT_TRUE(raw::makeDir(top));
        ASSERT_TRUE(raw::makeDir(sub));
        ASSERT_TRUE(raw::makeFile(raw::join(top, "a.txt"), "A"));
        ASSERT_TRUE(raw::makeFile(raw::join(sub, "b.txt"), "B"));

        TestFileSystem fs;
        QList<platform::DirEntry> listed;
        ASSERT_TRUE(fs.listDir(tmp.path(), &listed).ok());
        ASSERT_EQ(listed.size(), 1);

        FakeDialogs dialogs;
        FakeClock clock;
        FakeDriverHost host;
        host.fs = &fs;
        host.folder = tmp.path() + u'/' + listed[0].name;
        host.subfolders = true;
        host.paramsFor = [](engine::Tab) { return kakuChange("dat"); };
        engine::RunDriver driver(engine::DriverServices{fs, dialogs, clock, data.file(QStringLiteral("errlog"))},
                                 host);
        driver.start(support::settings::OptionFlags{});

        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text,
                  tmp.path() + c.confirmationFolder + QStringLiteral(u"\r\n以下の変更を開始します。よろしいですか？"));
        EXPECT_EQ(raw::describe(raw::files(top)), raw::describe({{"a.dat", "A"}, {c.sub, "<dir>"}}));
        EXPECT_EQ(raw::describe(raw::files(sub)), raw::describe({{"b.dat", "B"}}));
        EXPECT_EQ(host.run.status2, QStringLiteral(u"ｴﾗｰ： 0件"));
    }
}

// The longest name the file systems take is counted in bytes on disk: a
// byte that is not UTF-8 is one byte there, however the program holds it.
// The imported name keeps the old extension of four such bytes.
TEST(ByteNameOperations, ImportJudgesTheLengthInBytesOnDisk)
{
    struct Case {
        const char* name;
        int baseLength;  // of the imported name
        bool refused;
    };
    const Case cases[] = {
        {"exactly255Bytes", 250, false},
        {"256Bytes", 251, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunBench b;
        const TempDir& dir = b.dir;
        const QByteArray old = "a.\xe9\xe9\xe9\xe9";
        ASSERT_TRUE(raw::makeFile(raw::join(bytesOf(dir.path()), old), "A"));
        QList<platform::DirEntry> listed;
        ASSERT_TRUE(b.fs.listDir(dir.path(), &listed).ok());
        ASSERT_EQ(listed.size(), 1);
        b.ctx.objList = {listed[0].name};
        engine::FNameImportParams p;
        p.ImportNames = {QString(c.baseLength, u'n')};

        EXPECT_EQ(engine::runOperation(b.ctx, p), c.refused);

        const QByteArray renamed = QByteArray(c.baseLength, 'n') + ".\xe9\xe9\xe9\xe9";
        if (c.refused) {
            ASSERT_EQ(b.dialogs.shown.size(), 1);
            EXPECT_EQ(b.dialogs.shown[0].text, QStringLiteral(u"インポートされたファイル名が不正です。\r1番目：「")
                                                   + QString(c.baseLength, u'n')
                                                   + QStringLiteral(u".\\xE9\\xE9\\xE9\\xE9」"));
            EXPECT_EQ(raw::names(bytesOf(dir.path())), QList<QByteArray>{old});
        } else {
            EXPECT_TRUE(b.dialogs.shown.isEmpty()) << b.dialogs.shown.value(0).text.toStdString();
            EXPECT_EQ(raw::names(bytesOf(dir.path())), QList<QByteArray>{renamed});
        }
    }
}

} // namespace
} // namespace tavil::test
