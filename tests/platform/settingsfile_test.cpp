#include "platform/fsname.h"
#include "platform/settingsfile.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/tempdir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QUtf8StringView>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace Qt::Literals::StringLiterals;
using tavil::platform::nameFromBytes;
using tavil::platform::QtSettingsStore;
using tavil::platform::SettingsFailure;
using tavil::test::FakeDialogs;
using tavil::test::TempDir;

namespace {

// The lines of a settings file that start with prefix.
QByteArrayList linesStarting(const QByteArray& file, const QByteArray& prefix)
{
    QByteArrayList out;
    for (const QByteArray& line : file.split('\n')) {
        if (line.startsWith(prefix))
            out.append(line);
    }
    return out;
}

// Every entry below root, by its bytes and without following a link: a
// folder with its mode, a link with its target as written, a file with its
// mode and what it holds. The disk to compare before and after a save.
QStringList diskOf(const QByteArray& root, const QByteArray& sub = {})
{
    QStringList out;
    DIR* dir = ::opendir((sub.isEmpty() ? root : root + '/' + sub).constData());
    if (!dir)
        return {u"(unreadable) "_s + QString::fromUtf8(sub)};
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        const QByteArray rel = sub.isEmpty() ? name : sub + '/' + name;
        const QByteArray full = root + '/' + rel;
        struct stat st {};
        ::lstat(full.constData(), &st);
        const QString mode = QString::number(st.st_mode & 07777, 8);
        if (S_ISLNK(st.st_mode)) {
            char target[PATH_MAX];
            const ssize_t n = ::readlink(full.constData(), target, sizeof target);
            out.append(nameFromBytes(rel) + u" -> "_s + nameFromBytes(QByteArray(target, std::max<ssize_t>(n, 0))));
        } else if (S_ISDIR(st.st_mode)) {
            out.append(nameFromBytes(rel) + u"/ "_s + mode);
            out += diskOf(root, rel);
        } else {
            QFile f(QFile::decodeName(full));
            const QByteArray data = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
            out.append(nameFromBytes(rel) + u' ' + mode + u" = "_s + nameFromBytes(data));
        }
    }
    ::closedir(dir);
    out.sort();
    return out;
}

// Links as "where" -> "target", made with their folders; "@" at the start of
// a target stands for the test folder's path.
using Links = std::vector<std::pair<QByteArray, QByteArray>>;

void makeLinks(const TempDir& dir, const Links& links)
{
    for (const auto& [where, target] : links) {
        const QByteArray t = target.startsWith('@') ? dir.root() + target.sliced(1) : target;
        const QByteArray at = dir.root() + '/' + where;
        QDir().mkpath(QFile::decodeName(at.first(at.lastIndexOf('/'))));
        ASSERT_EQ(::symlink(t.constData(), at.constData()), 0) << at.constData();
    }
}

// A chain of count links from config/Tavil.conf, one after the other in
// config/, the last one pointing at dotfiles/Tavil.conf.
Links chainOf(int count)
{
    Links out;
    QByteArray at = "config/Tavil.conf";
    for (int i = 1; i < count; ++i) {
        out.emplace_back(at, "l" + QByteArray::number(i));
        at = "config/l" + QByteArray::number(i);
    }
    out.emplace_back(at, "../dotfiles/Tavil.conf");
    return out;
}

// ---- Values through the file and a new start ------------------------------

struct RoundTrip {
    const char* name;
    QString text;
    QByteArray line; // what the file holds after "Patt0="
};

const RoundTrip kRoundTrips[] = {
    {"numberingPreset", u"1,1,,,0,,,0,0,1"_s, "1,1,,,0,,,0,0,1"},
    {"patternWithComma", u"c,d.txt"_s, "c,d.txt"},
    {"commaAndBlank", u"a, b"_s, "a, b"},
    {"semicolons", u"*.txt;*.log"_s, "*.txt;*.log"},
    {"equalsSign", u"k=v"_s, "k=v"},
    {"blanksAtTheEnds", u"  lead and trail  "_s, "  lead and trail  "},
    {"empty", u""_s, ""},
    {"percentSigns", u"50% %U9023 %20"_s, "50% %U9023 %20"},
    {"quotes", u"say \"hi\""_s, "say \\\"hi\\\""},
    {"wholeInQuotes", u"\"q\""_s, "\\\"q\\\""},
    {"backslashes", u"C:\\写真\\"_s, "C:\\\\写真\\\\"},
    {"typedBackslashEscape", u"caf\\xE9"_s, "caf\\\\xE9"},
    {"controlCharacters", u"a\tb\nc\x01"_s, "a\\tb\\nc\\x01"},
    {"atSign", u"@at"_s, "@@at"},
    {"invalidMarkerAsText", u"@Invalid()"_s, "@@Invalid()"},
    {"japanese", u"写真, ２００３年 ｶﾞｲﾄﾞ"_s, "写真, ２００３年 ｶﾞｲﾄﾞ"},
    {"beyondTheFirstPlane", u"😀.jpg"_s, "😀.jpg"},
    {"notUtf8", nameFromBytes("/tmp/caf\xE9"), "/tmp/caf\\xE9"},
    {"notUtf8ThenHexDigits", nameFromBytes("\xE9" "abc\xFF" "1"), "\\xE9abc\\xFF1"},
    {"halfACharacter", u"a"_s + QChar(0xD83D) + u"b"_s, "a\\uD83Db"},
};

TEST(SettingsFileRoundTrip, EveryTextComesBackThroughTheFileAndANewStart)
{
    TempDir dir;
    const QString path = dir.file(u"Tavil.conf"_s);
    for (const RoundTrip& c : kRoundTrips) {
        SCOPED_TRACE(c.name);
        {
            QtSettingsStore store(path);
            store.write(u"FilePatt"_s, u"Patt0"_s, c.text);
            store.sync();
        }
        const QByteArray file = dir.read(u"Tavil.conf"_s);
        EXPECT_EQ(linesStarting(file, "Patt0="), QByteArrayList{"Patt0=" + c.line});
        EXPECT_TRUE(QUtf8StringView(file).isValidUtf8()) << file.constData();
        QtSettingsStore again(path);
        EXPECT_EQ(again.value(u"FilePatt"_s, u"Patt0"_s), c.text);
    }
}

struct HandWritten {
    const char* name;
    QByteArray raw; // after "Set0="
    QString text;
};

const HandWritten kHandWritten[] = {
    // What earlier versions wrote reads as it always has.
    {"quotedWithCommas", "\"a, b\"", u"a, b"_s},
    {"quotedBlanks", "\"  x \"", u"  x "_s},
    {"escapedQuote", "say \\\"hi\\\"", u"say \"hi\""_s},
    {"escapedBackslash", "C:\\\\dir\\\\", u"C:\\dir\\"_s},
    {"quotedEndingInBackslash", "\"a,\\\\\"", u"a,\\"_s},
    {"doubledAt", "@@at", u"@at"_s},
    {"invalidIsEmpty", "@Invalid()", u""_s},
    {"tabEscape", "x\\ty", u"x\ty"_s},
    {"shortHexThenEscapedDigit", "\\x1\\x61", u"\x01"_s + u"a"_s},
    {"nulEscape", "a\\0b", u"a"_s + QChar(0) + u"b"_s},
    // And a line written by hand is its text as written.
    {"numberingPreset", "1,1,,,0,,,0,0,1", u"1,1,,,0,,,0,0,1"_s},
    {"bareCommas", "c,d.txt", u"c,d.txt"_s},
    {"semicolonIsText", "*.txt;*.doc", u"*.txt;*.doc"_s},
    {"percentSigns", "100%U9023%", u"100%U9023%"_s},
    {"backslashStartingNoEscape", "a\\d\\", u"a\\d\\"_s},
    {"hexEscapeWithoutDigits", "\\xg", u"\\xg"_s},
    {"shortUnicodeEscape", "\\u12", u"\\u12"_s},
    {"quoteInTheMiddle", "\"a\"b\"", u"\"a\"b\""_s},
    {"loneQuote", "\"", u"\""_s},
    {"blanksKept", "  3  ", u"  3  "_s},
    {"typedValue", "@Rect(1 2 3 4)", u"@Rect(1 2 3 4)"_s},
    {"byteEscape", "caf\\xE9", nameFromBytes("caf\xE9")},
    {"rawByteNotUtf8", "caf\xE9", nameFromBytes("caf\xE9")},
    {"unicodeEscape", "\\u5199\\u771F", u"写真"_s},
};

TEST(SettingsFileRoundTrip, HandWrittenLinesReadAsWrittenAndStayAsTheyAre)
{
    QByteArray file = "; my own notes\n[NumSett]\n";
    for (std::size_t i = 0; i < std::size(kHandWritten); ++i)
        file += "Set" + QByteArray::number(i) + '=' + kHandWritten[i].raw + '\n';
    file += "\n[Setting]\nTabStrip=2\n";
    TempDir dir;
    dir.createFile(u"Tavil.conf"_s, file);
    const QString path = dir.file(u"Tavil.conf"_s);
    {
        QtSettingsStore store(path);
        for (std::size_t i = 0; i < std::size(kHandWritten); ++i) {
            SCOPED_TRACE(kHandWritten[i].name);
            EXPECT_EQ(store.value(u"NumSett"_s, u"Set"_s + QString::number(i)), kHandWritten[i].text);
            // Writing back what was read leaves the line alone.
            store.write(u"NumSett"_s, u"Set"_s + QString::number(i), kHandWritten[i].text);
        }
        store.write(u"Setting"_s, u"TabStrip"_s, u"3"_s);
        store.sync();
    }
    QByteArray expected = file;
    expected.replace("TabStrip=2", "TabStrip=3");
    EXPECT_EQ(dir.read(u"Tavil.conf"_s), expected);
    QtSettingsStore again(path);
    for (std::size_t i = 0; i < std::size(kHandWritten); ++i) {
        SCOPED_TRACE(kHandWritten[i].name);
        EXPECT_EQ(again.value(u"NumSett"_s, u"Set"_s + QString::number(i)), kHandWritten[i].text);
    }
}

// Every text the earlier store could hold, written by it, reads back the same.
TEST(SettingsFileRoundTrip, FilesOfTheEarlierStoreReadTheSame)
{
    const QStringList texts = {
        u"a, b"_s,     u"a,b"_s,       u"a,"_s,    u","_s,        u"*.txt;*.log"_s, u";"_s,
        u"/tmp/dir/"_s, u"C:\\写真\\"_s, u"\\\\"_s, u"say \"hi\""_s, u"\"q\""_s,     u"k=v"_s,
        u"  lead"_s,   u"trail  "_s,   u" "_s,     u"#note"_s,    u"@at"_s,        u"@Invalid()"_s,
        u"[Sec]"_s,    u"x\ty\r\n"_s,  u"\x01" "1"_s, u"写真, ２００３年"_s, u"1,,,,,,,,,"_s, u""_s,
        u"%U9023 50%"_s, u"a\\0b"_s,   u"\\x41"_s, u"@@"_s,
    };
    TempDir dir;
    const QString path = dir.file(u"Tavil.conf"_s);
    {
        QSettings old(path, QSettings::IniFormat);
        for (int i = 0; i < texts.size(); ++i)
            old.setValue(u"TempEdit/str"_s + QString::number(i), texts[i]);
        old.setValue(u"%U4E00 General/k"_s, u"v"_s);
        old.setValue(u"General/k"_s, u"w"_s);
        old.sync();
        ASSERT_EQ(old.status(), QSettings::NoError);
    }
    QtSettingsStore store(path);
    for (int i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i].toStdString());
        EXPECT_EQ(store.value(u"TempEdit"_s, u"str"_s + QString::number(i)), texts[i]);
    }
    // Sections as the earlier store escaped them.
    EXPECT_EQ(store.value(u"%U4E00 General"_s, u"k"_s), u"v"_s);
    EXPECT_EQ(store.value(u"General"_s, u"k"_s), u"w"_s);
}

TEST(SettingsFileRoundTrip, SectionsAndKeysAsTheyAreFoundByHand)
{
    TempDir dir;
    dir.createFile(u"Tavil.conf"_s, "\xEF\xBB\xBF[Setting]\r\n  Top = 5\r\nDir=/a b/\r\n[Dir]\r\nAll=1\r\n"
                                    "Dir0=/x\r\n[%53etting]\r\nLeft=7\r\n");
    QtSettingsStore store(dir.file(u"Tavil.conf"_s));
    EXPECT_EQ(store.value(u"Setting"_s, u"Top"_s), u" 5"_s);
    EXPECT_EQ(store.value(u"Setting"_s, u"Dir"_s), u"/a b/"_s);
    EXPECT_EQ(store.value(u"Dir"_s, u"Dir0"_s), u"/x"_s);
    // "%53" is "S": the same section, found wherever it stands.
    EXPECT_EQ(store.value(u"Setting"_s, u"Left"_s), u"7"_s);
    EXPECT_EQ(store.value(u"setting"_s, u"Top"_s), std::nullopt);
}

TEST(SettingsFileRoundTrip, LaterOfTwoEqualKeysCountsAndIsTheOneChanged)
{
    TempDir dir;
    dir.createFile(u"Tavil.conf"_s, "[Exp]\nExp0=a\nExp0=b\n");
    const QString path = dir.file(u"Tavil.conf"_s);
    {
        QtSettingsStore store(path);
        EXPECT_EQ(store.value(u"Exp"_s, u"Exp0"_s), u"b"_s);
        store.write(u"Exp"_s, u"Exp0"_s, u"c"_s);
    }
    EXPECT_EQ(QtSettingsStore(path).value(u"Exp"_s, u"Exp0"_s), u"c"_s);
    {
        QtSettingsStore store(path);
        store.removeKey(u"Exp"_s, u"Exp0"_s);
    }
    EXPECT_EQ(QtSettingsStore(path).value(u"Exp"_s, u"Exp0"_s), std::nullopt);
}

TEST(SettingsFileRoundTrip, NewSectionsAndKeysKeepTheFileReadable)
{
    TempDir dir;
    dir.createFile(u"Tavil.conf"_s, "[Setting]\nTop=1\n\n[Exp]\nAll=0\n");
    const QString path = dir.file(u"Tavil.conf"_s);
    {
        QtSettingsStore store(path);
        store.write(u"Setting"_s, u"Left"_s, u"2"_s);
        store.write(u"QuickPos"_s, u"tlBar"_s, u"Del"_s);
        store.write(u"NumDir"_s, u"strL"_s, u"写真"_s);
    }
    EXPECT_EQ(dir.read(u"Tavil.conf"_s), QByteArray("[Setting]\nTop=1\nLeft=2\n\n[Exp]\nAll=0\n\n[QuickPos]\ntlBar=Del\n"
                                                    "\n[NumDir]\nstrL=写真\n"));
}

// ---- Failures --------------------------------------------------------------

TEST(SettingsFileFailures, AFolderInTheFilesPlaceIsToldAndLeftAlone)
{
    TempDir dir;
    dir.createDir(u"Tavil.conf"_s);
    dir.createFile(u"Tavil.conf/keep"_s, "mine");
    const QString path = dir.file(u"Tavil.conf"_s);
    FakeDialogs dialogs;
    QtSettingsStore store(path);
    store.reportTo(&dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"設定ﾌｧｲﾙを読み込むことができませんでした。\r\n"_s + path
                                         + u"\r\n同じ名前のﾌｫﾙﾀﾞがあります。\r\n\r\n"
                                           u"このﾌｧｲﾙは書き換えずに残します。今回の設定は保存されません。"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"設定ﾌｧｲﾙ"_s);
    EXPECT_EQ(dialogs.shown[0].style, 48);
    // The session goes on with its settings in memory, and is told no more.
    store.write(u"Setting"_s, u"Dir"_s, u"/x"_s);
    EXPECT_EQ(store.value(u"Setting"_s, u"Dir"_s), u"/x"_s);
    store.sync();
    store.sync();
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dir.list(), QStringList{u"Tavil.conf"_s});
    EXPECT_EQ(dir.list(u"Tavil.conf"_s), QStringList{u"keep"_s});
}

struct FailureCase {
    const char* name;
    const char* call; // the step made to fail
    int sysErrno;
    bool reading;
    QString reason;
};

const FailureCase kFailures[] = {
    {"unreadable", "read", EACCES, true, u"ﾌｧｲﾙを読み取る権限がありません。"_s},
    {"readError", "read", EIO, true, u"ﾃﾞｨｽｸの読み書きでｴﾗｰが発生しました。"_s},
    {"readOnlyFile", "access", EACCES, false, u"読み取り専用のﾌｧｲﾙです。"_s},
    {"readOnlyDisk", "create", EROFS, false, u"読み取り専用のﾃﾞｨｽｸです。"_s},
    {"folderNotWritable", "create", EACCES, false, u"書き込む権限がありません。"_s},
    {"diskFull", "write", ENOSPC, false, u"ﾃﾞｨｽｸの空き容量が不足しています。"_s},
    {"quotaAtSync", "sync", EDQUOT, false, u"ﾃﾞｨｽｸの空き容量が不足しています。"_s},
    {"replaceFails", "replace", EIO, false, u"ﾃﾞｨｽｸの読み書きでｴﾗｰが発生しました。"_s},
};

TEST(SettingsFileFailures, EachFailureIsToldOnceAndTheFileStaysWhole)
{
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const QByteArray before = "[Setting]\nDir=/before\n; a note\n";
        dir.createFile(u"Tavil.conf"_s, before);
        const QString path = dir.file(u"Tavil.conf"_s);
        FakeDialogs dialogs;
        int failed = 0;
        const auto inject = [&](const char* call, const QString& p) {
            if (qstrcmp(call, c.call) != 0)
                return 0;
            EXPECT_EQ(p, path);
            ++failed;
            return c.sysErrno;
        };
        // The fault is in place before the store reads the file.
        auto store = std::make_unique<QtSettingsStore>(path, inject);
        store->reportTo(&dialogs);
        store->write(u"Setting"_s, u"Dir"_s, u"/after"_s);
        store->write(u"Exp"_s, u"All"_s, u"0"_s);
        store->sync();
        store->sync();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text.section(u"\r\n"_s, 2, 2), c.reason);
        EXPECT_EQ(dialogs.shown[0].text.section(u"\r\n"_s, 1, 1), path);
        EXPECT_EQ(dialogs.shown[0].text.startsWith(u"設定ﾌｧｲﾙを読み込む"_s), c.reading);
        ASSERT_TRUE(store->failure());
        EXPECT_EQ(store->failure()->step, QString::fromLatin1(c.call));
        EXPECT_EQ(store->failure()->sysErrno, c.sysErrno);
        EXPECT_GE(failed, 1);
        store.reset();
        // Nothing half-written, no temporary file left behind.
        EXPECT_EQ(dir.read(u"Tavil.conf"_s), before);
        EXPECT_EQ(dir.list(), QStringList{u"Tavil.conf"_s});
    }
}

TEST(SettingsFileFailures, AWriteThatFailedIsDoneByTheNextThatCan)
{
    TempDir dir;
    const QString path = dir.file(u"Tavil.conf"_s);
    int errnoNow = ENOSPC;
    FakeDialogs dialogs;
    QtSettingsStore store(path, [&](const char* call, const QString&) { return qstrcmp(call, "write") ? 0 : errnoNow; });
    store.reportTo(&dialogs);
    store.write(u"Setting"_s, u"Dir"_s, u"/kept"_s);
    store.sync();
    EXPECT_FALSE(dir.exists(u"Tavil.conf"_s));
    errnoNow = 0;
    store.sync();
    EXPECT_EQ(dir.read(u"Tavil.conf"_s), QByteArray("[Setting]\nDir=/kept\n"));
    EXPECT_EQ(dialogs.shown.size(), 1);
}

TEST(SettingsFileFailures, AFileInTheFoldersPlace)
{
    TempDir dir;
    dir.createFile(u"config/Tavil"_s, "not a folder");
    const QString path = dir.file(u"config/Tavil/Tavil.conf"_s);
    FakeDialogs dialogs;
    {
        QtSettingsStore store(path);
        store.reportTo(&dialogs);
        EXPECT_TRUE(dialogs.shown.isEmpty()) << "nothing could be read, nothing is lost yet";
        store.write(u"Setting"_s, u"Dir"_s, u"/x"_s);
        store.sync();
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text,
                  u"設定ﾌｧｲﾙに書き込むことができませんでした。\r\n"_s + path
                      + u"\r\nﾌｫﾙﾀﾞのあるべき所にﾌｧｲﾙがあります。\r\n\r\n今回変更した設定は保存されていません。"_s);
        store.sync();
    }
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dir.read(u"config/Tavil"_s), QByteArray("not a folder"));
}

TEST(SettingsFileFailures, AReadOnlyFileIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes a read-only file; the injected case covers it";
    TempDir dir;
    const QString path = dir.createFile(u"Tavil.conf"_s, "[Setting]\nDir=/mine\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    FakeDialogs dialogs;
    {
        QtSettingsStore store(path);
        store.reportTo(&dialogs);
        store.write(u"Setting"_s, u"Dir"_s, u"/other"_s);
        store.sync();
    }
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text.section(u"\r\n"_s, 2, 2), u"読み取り専用のﾌｧｲﾙです。"_s);
    EXPECT_EQ(dir.read(u"Tavil.conf"_s), QByteArray("[Setting]\nDir=/mine\n"));
}

TEST(SettingsFileFailures, AnUnreadableFileIsNeverOverwritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file; the injected case covers it";
    TempDir dir;
    const QString path = dir.createFile(u"Tavil.conf"_s, "[Setting]\nDir=/mine\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0200), 0);
    FakeDialogs dialogs;
    {
        QtSettingsStore store(path);
        store.reportTo(&dialogs);
        store.write(u"Setting"_s, u"Dir"_s, u"/other"_s);
        store.sync();
    }
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(u"設定ﾌｧｲﾙを読み込む"_s));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(dir.read(u"Tavil.conf"_s), QByteArray("[Setting]\nDir=/mine\n"));
}

TEST(SettingsFileWriting, ALinkStaysALinkAndItsFileIsWritten)
{
    TempDir dir;
    dir.createFile(u"dotfiles/Tavil.conf"_s, "[Setting]\nTop=1\n");
    const QString path = dir.file(u"Tavil.conf"_s);
    ASSERT_TRUE(QFile::link(u"dotfiles/Tavil.conf"_s, path));
    {
        QtSettingsStore store(path);
        EXPECT_EQ(store.value(u"Setting"_s, u"Top"_s), u"1"_s);
        store.write(u"Setting"_s, u"Top"_s, u"2"_s);
    }
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(dir.read(u"dotfiles/Tavil.conf"_s), QByteArray("[Setting]\nTop=2\n"));
}

// ---- Links at the settings path -------------------------------------------

struct DanglingChain {
    const char* name;
    Links links;         // the first one at config/Tavil.conf
    QByteArray end;      // the file the chain leads to, not there yet
};

std::vector<DanglingChain> danglingChains()
{
    return {
        {"twoRelative", {{"config/Tavil.conf", "../links/second"}, {"links/second", "../dotfiles/Tavil.conf"}},
         "dotfiles/Tavil.conf"},
        {"twoAbsolute", {{"config/Tavil.conf", "@/links/second"}, {"links/second", "@/dotfiles/Tavil.conf"}},
         "dotfiles/Tavil.conf"},
        {"threeMixed",
         {{"config/Tavil.conf", "@/links/second"},
          {"links/second", "third"},
          {"links/third", "../dotfiles/deep/tavil.ini"}},
         "dotfiles/deep/tavil.ini"},
        // "..", from a link inside a folder reached through a link, is the
        // real folder's parent, not the parent by the path's text.
        {"relativeInALinkedFolder",
         {{"config/Tavil.conf", "../view/Tavil.conf"},
          {"view", "repo/sub"},
          {"repo/sub/Tavil.conf", "../store/Tavil.conf"}},
         "repo/store/Tavil.conf"},
        // As many links as the system follows in one path.
        {"fortyLinks", chainOf(40), "dotfiles/Tavil.conf"},
    };
}

TEST(SettingsFileLinks, ADanglingChainIsFollowedToItsEndWhichIsMadeAndReadBack)
{
    for (const DanglingChain& c : danglingChains()) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        makeLinks(dir, c.links);
        dir.createDir(QString::fromUtf8(c.end.first(c.end.lastIndexOf('/'))));
        const QString path = dir.file(u"config/Tavil.conf"_s);
        const QStringList before = diskOf(dir.root());
        FakeDialogs dialogs;
        {
            QtSettingsStore store(path);
            store.reportTo(&dialogs);
            store.write(u"Setting"_s, u"Dir"_s, u"/x"_s);
            store.sync();
            EXPECT_FALSE(store.failure());
        }
        QStringList expected = before;
        expected.append(QString::fromUtf8(c.end) + u" 600 = [Setting]\nDir=/x\n"_s);
        expected.sort();
        EXPECT_EQ(diskOf(dir.root()), expected);

        // The next start reads it through the same chain, and writes it there.
        {
            QtSettingsStore again(path);
            again.reportTo(&dialogs);
            EXPECT_EQ(again.value(u"Setting"_s, u"Dir"_s), u"/x"_s);
            again.write(u"Setting"_s, u"Dir"_s, u"/y"_s);
        }
        expected.replaceInStrings(u"Dir=/x"_s, u"Dir=/y"_s);
        EXPECT_EQ(diskOf(dir.root()), expected);
        EXPECT_TRUE(dialogs.shown.isEmpty());
    }
}

struct BrokenChain {
    const char* name;
    Links links;
    bool endExists; // dotfiles/Tavil.conf holds settings already
};

std::vector<BrokenChain> brokenChains()
{
    return {
        {"itself", {{"config/Tavil.conf", "Tavil.conf"}}, false},
        {"loopOfTwo", {{"config/Tavil.conf", "../links/a"}, {"links/a", "@/config/Tavil.conf"}}, false},
        {"loopFurtherOn", {{"config/Tavil.conf", "a"}, {"config/a", "b"}, {"config/b", "a"}}, false},
        {"fortyOneLinks", chainOf(41), false},
        {"fortyOneLinksToAFile", chainOf(41), true},
    };
}

// A chain the system cannot follow is told once, and nothing is replaced or
// made: whether it was there at the start (the reading fails) or came while
// the program ran (the writing does).
TEST(SettingsFileLinks, ALoopOrAnOverLongChainIsToldOnceAndTheDiskStaysAsItWas)
{
    for (const bool atStart : {true, false}) {
        for (const BrokenChain& c : brokenChains()) {
            SCOPED_TRACE(std::string(c.name) + (atStart ? " at the start" : " made later"));
            TempDir dir;
            dir.createDir(u"config"_s);
            if (c.endExists)
                dir.createFile(u"dotfiles/Tavil.conf"_s, "[Setting]\nDir=/mine\n");
            if (atStart)
                makeLinks(dir, c.links);
            FakeDialogs dialogs;
            auto store = std::make_unique<QtSettingsStore>(dir.file(u"config/Tavil.conf"_s));
            store->reportTo(&dialogs);
            if (!atStart)
                makeLinks(dir, c.links);
            const QStringList before = diskOf(dir.root());
            store->write(u"Setting"_s, u"Dir"_s, u"/x"_s);
            store->sync();
            store->sync();
            store.reset();
            ASSERT_EQ(dialogs.shown.size(), 1);
            EXPECT_EQ(dialogs.shown[0].text.section(u"\r\n"_s, 2, 2), u"ﾘﾝｸが循環しているか、ﾘﾝｸの数が多すぎます。"_s);
            EXPECT_EQ(dialogs.shown[0].text.startsWith(u"設定ﾌｧｲﾙを読み込む"_s), atStart);
            EXPECT_EQ(diskOf(dir.root()), before);
        }
    }
}

// The folder a link leads to is not made in its place: it may be a volume
// not mounted yet, whose mount point must stay empty.
TEST(SettingsFileLinks, AMissingFolderAtTheChainsEndIsToldAndNotMade)
{
    TempDir dir;
    makeLinks(dir, {{"config/Tavil.conf", "../usb/dotfiles/Tavil.conf"}});
    dir.createDir(u"usb"_s);
    const QString path = dir.file(u"config/Tavil.conf"_s);
    const QStringList before = diskOf(dir.root());
    FakeDialogs dialogs;
    QtSettingsStore store(path);
    store.reportTo(&dialogs);
    store.write(u"Setting"_s, u"Dir"_s, u"/x"_s);
    store.sync();
    store.sync();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              u"設定ﾌｧｲﾙに書き込むことができませんでした。\r\n"_s + path
                  + u"\r\nﾌｫﾙﾀﾞが見つかりません。\r\n\r\n今回変更した設定は保存されていません。"_s);
    EXPECT_EQ(diskOf(dir.root()), before);

    // Once the volume is there, the settings go to it.
    dir.createDir(u"usb/dotfiles"_s);
    store.sync();
    EXPECT_EQ(dir.read(u"usb/dotfiles/Tavil.conf"_s), QByteArray("[Setting]\nDir=/x\n"));
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(dialogs.shown.size(), 1);
}

// ---- Saves cut short ---------------------------------------------------------

// What a save killed before its rename leaves beside the file: a temporary
// named after it, whole, and no longer locked by anyone.
constexpr char kLeftoverMark[] = ".tavil-save-";

struct Leftover {
    QString name;
    bool removed;
};

TEST(SettingsFileLeftovers, TheNextSaveRemovesTheProgramsOwnLeftoversAndNothingElse)
{
    const QString own = u".Tavil.conf"_s + QLatin1String(kLeftoverMark);
    const Leftover kEntries[] = {
        {own + u"a1B2c3"_s, true},
        {own + u"ZZZZZZ"_s, true},
        // Not of this program's making, or not of this file's saves.
        {own + u"abc"_s, false},
        {own + u"abcdefg"_s, false},
        {own + u"abc-de"_s, false},
        {u".Other.conf"_s + QLatin1String(kLeftoverMark) + u"abcdef"_s, false},
        {u"Tavil.conf"_s + QLatin1String(kLeftoverMark) + u"abcdef"_s, false},
        {u".Tavil.conf.backup"_s, false},
        {u".Tavil.conf.Ab12Cd"_s, false},
    };
    TempDir dir;
    dir.createFile(u"config/Tavil.conf"_s, "[Setting]\nDir=/before\n");
    for (const Leftover& e : kEntries)
        dir.createFile(u"config/"_s + e.name, "[Setting]\nDir=/lost\n");
    // Named as ours but no file: a link (to a file of the user's) and a folder.
    dir.createFile(u"mine.txt"_s, "keep");
    makeLinks(dir, {{"config/" + own.toUtf8() + "link12", "../mine.txt"}});
    dir.createFile(u"config/"_s + own + u"dir123/inside"_s, "keep");
    // One that another instance is writing: its lock is held.
    const QString held = u"config/"_s + own + u"Held99"_s;
    dir.createFile(held, "[Setting]\nDir=/being");
    const int lock = ::open(QFile::encodeName(dir.file(held)).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX | LOCK_NB), 0);

    QStringList expected = diskOf(dir.root());
    for (const Leftover& e : kEntries) {
        if (e.removed)
            expected.removeIf([&](const QString& entry) { return entry.startsWith(u"config/"_s + e.name + u' '); });
    }
    ASSERT_EQ(expected.size(), diskOf(dir.root()).size() - 2);
    expected.replaceInStrings(u"Dir=/before"_s, u"Dir=/after"_s);
    {
        QtSettingsStore store(dir.file(u"config/Tavil.conf"_s));
        store.write(u"Setting"_s, u"Dir"_s, u"/after"_s);
        store.sync();
        EXPECT_FALSE(store.failure());
    }
    ::close(lock);
    EXPECT_EQ(diskOf(dir.root()), expected);
}

TEST(SettingsFileLeftovers, LeftoversAreLookedForBesideTheFileALinkLeadsTo)
{
    TempDir dir;
    makeLinks(dir, {{"config/Tavil.conf", "../dotfiles/tavil.ini"}});
    dir.createDir(u"dotfiles"_s);
    QStringList expected = diskOf(dir.root());
    expected.append(u"dotfiles/tavil.ini 600 = [Setting]\nDir=/x\n"_s);
    expected.sort();
    dir.createFile(u"dotfiles/.tavil.ini"_s + QLatin1String(kLeftoverMark) + u"x1y2z3"_s, "[Setting]\nDir=/lost\n");
    {
        QtSettingsStore store(dir.file(u"config/Tavil.conf"_s));
        store.write(u"Setting"_s, u"Dir"_s, u"/x"_s);
    }
    EXPECT_EQ(diskOf(dir.root()), expected);
}

// A child program that saves the settings and stops just before its rename,
// killed when the test is done with it.
class StoppedSave {
public:
    StoppedSave(const QString& settings, const QByteArray& value)
    {
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const QByteArray file = QFile::encodeName(settings);
        char* argv[] = {const_cast<char*>(TAVIL_SAVECHILD), const_cast<char*>(file.constData()),
                        const_cast<char*>(value.constData()), nullptr};
        if (posix_spawn(&m_pid, TAVIL_SAVECHILD, &actions, nullptr, argv, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        char c = 0;
        // The child writes one byte when it has stopped; none if it ended.
        m_stopped = m_pid > 0 && ::read(fds[0], &c, 1) == 1;
        ::close(fds[0]);
    }
    ~StoppedSave() { kill(); }
    StoppedSave(const StoppedSave&) = delete;
    StoppedSave& operator=(const StoppedSave&) = delete;

    bool stopped() const { return m_stopped; }
    // Killed as a program is that never gets to clean up.
    void kill()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    bool m_stopped = false;
};

// The entries of a folder other than the settings file.
QStringList othersIn(const TempDir& dir, const QString& folder)
{
    QStringList out = dir.list(folder);
    out.removeAll(u"Tavil.conf"_s);
    return out;
}

TEST(SettingsFileLeftovers, ASaveStillBeingWrittenIsLeftAloneAndOnceKilledIsRemoved)
{
    TempDir dir;
    dir.createFile(u"config/Tavil.conf"_s, "[Setting]\nDir=/before\n");
    const QString path = dir.file(u"config/Tavil.conf"_s);
    QStringList expected = diskOf(dir.root());
    expected.replaceInStrings(u"Dir=/before\n"_s, u"Dir=/live\n\n[Exp]\nAll=0\n"_s);
    StoppedSave child(path, "/child");
    ASSERT_TRUE(child.stopped());
    const QStringList temps = othersIn(dir, u"config"_s);
    ASSERT_EQ(temps.size(), 1);
    const QString temp = u"config/"_s + temps[0];
    EXPECT_TRUE(temps[0].startsWith(u".Tavil.conf"_s + QLatin1String(kLeftoverMark))) << temps[0].toStdString();
    EXPECT_EQ(dir.read(temp), QByteArray("[Setting]\nDir=/child\n"));

    // Another instance saves while the child's save is under way.
    {
        QtSettingsStore store(path);
        store.write(u"Setting"_s, u"Dir"_s, u"/live"_s);
        store.sync();
        EXPECT_FALSE(store.failure());
    }
    EXPECT_EQ(dir.read(u"config/Tavil.conf"_s), QByteArray("[Setting]\nDir=/live\n"));
    EXPECT_EQ(othersIn(dir, u"config"_s), temps);
    EXPECT_EQ(dir.read(temp), QByteArray("[Setting]\nDir=/child\n"));

    // Killed before its rename: the settings file is what it was, and the
    // temporary stays until the next save.
    child.kill();
    EXPECT_EQ(dir.read(u"config/Tavil.conf"_s), QByteArray("[Setting]\nDir=/live\n"));
    EXPECT_EQ(othersIn(dir, u"config"_s), temps);
    {
        QtSettingsStore store(path);
        EXPECT_EQ(store.value(u"Setting"_s, u"Dir"_s), u"/live"_s);
        store.write(u"Exp"_s, u"All"_s, u"0"_s);
    }
    EXPECT_EQ(diskOf(dir.root()), expected);
}

TEST(SettingsFileWriting, TheFileKeepsItsModeAndNothingIsWrittenWithoutAChange)
{
    TempDir dir;
    const QString path = dir.createFile(u"Tavil.conf"_s, "[Setting]\nTop = 1\n");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    int writes = 0;
    {
        QtSettingsStore store(path, [&](const char* call, const QString&) {
            writes += qstrcmp(call, "write") == 0;
            return 0;
        });
        store.write(u"Setting"_s, u"Top"_s, u" 1"_s); // what it holds already
        store.sync();
        EXPECT_EQ(writes, 0);
        store.write(u"Setting"_s, u"Top"_s, u"2"_s);
        store.sync();
        EXPECT_EQ(writes, 1);
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SettingsFileWriting, TheUsersFileFollowsTheConfigFolderByItsBytes)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    TempDir dir;
    const QByteArray folder = dir.root() + "/conf\xE9";
    qputenv("XDG_CONFIG_HOME", folder);
    {
        QtSettingsStore store;
        EXPECT_EQ(store.path(), nameFromBytes(folder + "/Tavil/Tavil.conf"));
        store.write(u"Setting"_s, u"Top"_s, u"1"_s);
        store.sync();
        EXPECT_FALSE(store.failure());
    }
    EXPECT_EQ(::access((folder + "/Tavil/Tavil.conf").constData(), R_OK), 0);
    qputenv("XDG_CONFIG_HOME", saved);
}

} // namespace
