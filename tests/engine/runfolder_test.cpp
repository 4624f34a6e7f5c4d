// The run driver owns the folder an operation works in: each call runs in
// the folder it was made for, and a folder text that names no folder (empty,
// or relative) is refused before anything happens, never read as the root
// or as the working folder.

#include "engine/operations.h"
#include "engine/rundriver.h"
#include "tests/common/fsprobe.h"
#include "tests/common/opfixture.h"
#include "tests/common/scopedmount.h"
#include "tests/engine/fakedriverhost.h"

#include <QDir>
#include <QFileInfo>

#include <functional>
#include <iostream>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace tavil::test {
namespace {

using engine::OperationParams;
using engine::Tab;

const QString kFolderRefused = QStringLiteral(u"変更するフォルダが正しく指定されていません。");
const QString kNotListedAtStart =
    QStringLiteral(u"一覧を読み込んだときのフォルダではなくなっています。変更は行わずに一覧を読み込み直しました。\r");
const QString kNotListedInWalk =
    QStringLiteral(u"一覧を読み込んだときのフォルダではなくなっています。このフォルダとその中のフォルダは変更しませんでした。\r");

OperationParams kakuChange()
{
    engine::ChangeKakuParams p;
    p.NewExtension = QStringLiteral("dat");
    return p;
}

// The main window over a temporary tree, with the real operations behind it.
struct DriverBench {
    DriverBench() { host.fs = &fs; }

    void start() { driver.start(opts); }

    TempDir tmp;
    TempDir data; // where the error logs go
    TestFileSystem fs;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDriverHost host;
    engine::RunDriver driver{engine::DriverServices{fs, dialogs, clock, data.file(QStringLiteral("errlog"))}, host};
    support::settings::OptionFlags opts;
};

// Makes the working folder `folder` for as long as it lives, so that a
// relative path would find the files a test put there.
class WorkingFolder {
public:
    explicit WorkingFolder(const QString& folder) : m_old(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~WorkingFolder() { QDir::setCurrent(m_old); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    QString m_old;
};

// Every folder of the tree holds "a.txt" with the folder's own text, so a
// call that ran in the wrong folder renames a file that must keep its name.
// The browser shows the files of the folders listed in `shown` only (as a
// pattern would), so in the walk the top folder's file must stay as it is.
TEST(RunFolderTest, EachCallRenamesInItsOwnFolder)
{
    struct Case {
        const char* name;
        bool subfolders;
        const char* folder;  // the folder box, below the temporary folder
        QStringList shown;   // folders whose files the browser lists
        QStringList renamed; // folders whose a.txt becomes a.dat
    };
    const QStringList all = {QStringLiteral("top"), QStringLiteral("top/s1"), QStringLiteral("top/s2"),
                             QStringLiteral("top/s1/deep")};
    const Case cases[] = {
        {"walkSkipsTheTop", true, "top", {"top/s1", "top/s2", "top/s1/deep"}, {"top/s1", "top/s2", "top/s1/deep"}},
        {"walkEveryFolder", true, "top", all, all},
        {"singleSubFolder", false, "top/s2", all, {"top/s2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverBench b;
        for (const QString& f : all)
            b.tmp.createFile(f + QStringLiteral("/a.txt"), f.toUtf8());
        b.host.folder = b.tmp.file(QString::fromUtf8(c.folder));
        b.host.subfolders = c.subfolders;
        b.host.paramsFor = [](Tab) { return kakuChange(); };
        b.host.files = [&b, &c](const QString& folder) {
            const QString relative = QDir(b.tmp.path()).relativeFilePath(folder);
            return c.shown.contains(relative) ? FakeDriverHost::visibleFiles(b.fs, folder) : QStringList();
        };

        b.start();

        ASSERT_EQ(b.dialogs.shown.size(), 1); // the confirmation alone
        for (const QString& f : all) {
            SCOPED_TRACE(f.toStdString());
            const QString name = c.renamed.contains(f) ? QStringLiteral("a.dat") : QStringLiteral("a.txt");
            QStringList expected = {name};
            for (const QString& sub : all)
                if (QFileInfo(sub).path() == f)
                    expected.append(QFileInfo(sub).fileName());
            expected.sort();
            EXPECT_EQ(b.tmp.list(f), expected);
            EXPECT_EQ(b.tmp.read(f + u'/' + name), f.toUtf8());
        }
    }
}

// A folder text that names no folder stops the run with the folder message
// before the question, and nothing is renamed: not in the root, not in the
// working folder, which holds the file under the same relative name. Even
// if the refusal failed, the file name is one no folder outside the
// temporary one holds, and the browser lists nothing anywhere else.
TEST(RunFolderTest, UnusableFolderIsRefusedBeforeTheQuestion)
{
    const QString name = QStringLiteral("tavil-never-in-the-root-3f9c.txt");
    ASSERT_FALSE(QFileInfo::exists(QStringLiteral("/") + name));
    struct Case {
        const char* name;
        const char* folder;
        bool subfolders;
        QString message;
    };
    const Case cases[] = {
        {"empty", "", false, kFolderRefused},
        {"emptyWithSubfolders", "", true, kFolderRefused},
        {"relative", "data", false, kFolderRefused + QStringLiteral("\rdata")},
        {"relativeWithSubfolders", "data", true, kFolderRefused + QStringLiteral("\rdata")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverBench b;
        b.tmp.createFile(QStringLiteral("data/") + name, "data");
        b.tmp.createFile(name, "top");
        const WorkingFolder cwd(b.tmp.path());
        b.host.folder = QString::fromUtf8(c.folder);
        b.host.subfolders = c.subfolders;
        b.host.paramsFor = [](Tab) { return kakuChange(); };
        b.host.files = [&b, &name](const QString& folder) {
            const bool ours = !folder.startsWith(u'/') || folder == b.tmp.path() || folder.startsWith(b.tmp.folder());
            return ours ? QStringList{name} : QStringList();
        };
        b.opts.logFile = true;

        b.start();

        ASSERT_EQ(b.dialogs.shown.size(), 1);
        EXPECT_EQ(b.dialogs.shown[0].text, c.message);
        EXPECT_EQ(b.dialogs.shown[0].title, QString());
        EXPECT_EQ(b.dialogs.shown[0].style, 16);
        EXPECT_EQ(b.host.locks, 0);
        EXPECT_EQ(b.host.unlocks, 0);
        EXPECT_EQ(b.host.paramsRead, 0);
        EXPECT_TRUE(b.host.run.statusLog.isEmpty()); // no folder search began
        EXPECT_EQ(b.tmp.list(), QStringList({QStringLiteral("data"), name}));
        EXPECT_EQ(b.tmp.list(QStringLiteral("data")), QStringList({name}));
        EXPECT_FALSE(QFileInfo::exists(b.data.file(QStringLiteral("errlog")))); // no log was opened
        EXPECT_FALSE(b.driver.running());
    }
}

// Called on its own, every operation refuses a folder that is not absolute
// before it touches a file: "" must not become "/", nor "data" a folder
// below wherever the program happens to run.
TEST(RunFolderTest, OperationRefusesAnUnusableFolder)
{
    // A name that cannot be in the root, so a run there could do nothing.
    const QString name = QStringLiteral("tavil-never-in-the-root-3f9c.txt");
    ASSERT_FALSE(QFileInfo::exists(QStringLiteral("/") + name));

    engine::FNameEditParams edit;
    edit.EditText = QStringLiteral("x");
    engine::FNameConvParams conv;
    conv.ConvertName = true;
    conv.NameCase = 1;
    engine::SetTimeStampParams stamp;
    stamp.SetWriteTime = true;
    stamp.NewWriteTime = QDateTime(QDate(2005, 6, 7), QTime(8, 9, 10));
    engine::SetAttributeParams attribute;
    attribute.AttributeChange[0] = true;
    engine::FNameImportParams import;
    import.ImportNames = {QStringLiteral("imported")};
    const std::pair<const char*, OperationParams> operations[] = {
        {"addNum", engine::AddNumParams{}},     {"changeKaku", kakuChange()},
        {"edit", edit},                         {"conv", conv},
        {"timeStamp", stamp},                   {"attribute", attribute},
        {"import", import},                     {"copy", engine::FNameCopyParams{}},
    };
    for (const char* folder : {"", "data"}) {
        for (const auto& [opName, params] : operations) {
            SCOPED_TRACE(std::string(opName) + " in \"" + folder + "\"");
            RunBench b;
            TempDir out;
            b.dir.createFile(name, "top");
            b.dir.createFile(QStringLiteral("data/") + name, "data");
            const WorkingFolder cwd(b.dir.path());
            const qint64 mtime = QFileInfo(b.dir.file(name)).lastModified().toSecsSinceEpoch();
            b.ctx.SourceFolder = QString::fromUtf8(folder);
            b.ctx.objList = {name};
            b.ctx.outFolder = out.folder();
            b.ctx.outputButtonPressed = true;

            EXPECT_TRUE(engine::runOperation(b.ctx, params));

            ASSERT_EQ(b.dialogs.shown.size(), 1);
            EXPECT_EQ(b.dialogs.shown[0].text,
                      *folder ? kFolderRefused + u'\r' + QString::fromUtf8(folder) : kFolderRefused);
            EXPECT_EQ(b.dialogs.shown[0].style, 16);
            EXPECT_EQ(b.dir.list(), QStringList({QStringLiteral("data"), name}));
            EXPECT_EQ(b.dir.list(QStringLiteral("data")), QStringList({name}));
            EXPECT_EQ(b.dir.read(QStringLiteral("data/") + name), "data");
            EXPECT_EQ(QFileInfo(b.dir.file(name)).lastModified().toSecsSinceEpoch(), mtime);
            EXPECT_TRUE(QFileInfo(b.dir.file(name)).isWritable());
            EXPECT_TRUE(out.list().isEmpty());
            EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/") + name));
        }
    }
}

// A refusal that sits in the tab's parameters is the same in every folder:
// a walk of three folders tells it once and stops, and no file anywhere is
// touched.
TEST(RunFolderTest, ParameterRefusalIsShownOncePerWalk)
{
    engine::SetTimeStampParams nameMode;
    nameMode.TimeToName = true; // no part of the time chosen
    engine::FNameEditParams badPosition;
    badPosition.EditPosition = QStringLiteral("x");
    badPosition.EditText = QStringLiteral("X");
    struct Case {
        const char* name;
        QString caption;
        OperationParams params;
        QString text;
        QString title;
        int style;
    };
    const Case cases[] = {
        {"stampModeWithoutTimes", QStringLiteral(u"ﾀｲﾑｽﾀﾝﾌﾟ"), engine::SetTimeStampParams{},
         QStringLiteral(u"1つ以上チェックする必要があります。"), QStringLiteral(u"ﾀｲﾑｽﾀﾝﾌﾟの変更"), 48},
        {"nameModeWithoutParts", QStringLiteral(u"ﾀｲﾑｽﾀﾝﾌﾟ"), nameMode,
         QStringLiteral(u"1つ以上チェックする必要があります。"), QStringLiteral(u"ﾀｲﾑｽﾀﾝﾌﾟの変更"), 48},
        {"emptyExtension", QStringLiteral(u"拡張子"), engine::ChangeKakuParams{},
         QStringLiteral(u"「拡張子」が入力されていません。"), QStringLiteral(u"拡張子の変更"), 48},
        {"positionNotANumber", QStringLiteral(u"編集"), badPosition,
         QStringLiteral(u"ｴﾗｰ番号  13 でｴﾗｰが発生しました。\r型が一致しません。"), QStringLiteral(u"ｴﾗｰ"), 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DriverBench b;
        const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6));
        for (const char* f : {"top/a.txt", "top/s1/b.txt", "top/s2/c.txt"})
            b.tmp.createFile(QString::fromUtf8(f), f, old);
        b.host.folder = b.tmp.file(QStringLiteral("top"));
        b.host.subfolders = true;
        b.host.caption = c.caption;
        b.host.paramsFor = [p = c.params](Tab) { return p; };

        b.start();

        ASSERT_EQ(b.dialogs.shown.size(), 2); // the question, then the refusal
        EXPECT_EQ(b.dialogs.shown[1].text, c.text);
        EXPECT_EQ(b.dialogs.shown[1].title, c.title);
        EXPECT_EQ(b.dialogs.shown[1].style, c.style);
        EXPECT_EQ(b.host.paramsRead, 1);
        EXPECT_EQ(b.host.unlocks, 1);
        for (const char* f : {"top/a.txt", "top/s1/b.txt", "top/s2/c.txt"}) {
            SCOPED_TRACE(f);
            EXPECT_EQ(b.tmp.read(QString::fromUtf8(f)), QByteArray(f));
            EXPECT_EQ(QFileInfo(b.tmp.file(QString::fromUtf8(f))).lastModified(), old);
        }
    }
}

// What can happen to the folder at a path while the browser shows it: each
// leaves a folder there that is not the one listed (or none), whose file
// has the name the user saw. The run must not touch it, nor the listed
// folder wherever it went.
struct FolderSwap {
    const char* name;
    bool needsMount;
    // Before the listing: the world the browser lists. `mount` may be kept.
    std::function<void(const TempDir& tmp, const QString& folder, std::unique_ptr<ScopedMount>& mount)> before;
    // After the listing, before the run.
    std::function<void(const TempDir& tmp, const QString& folder, std::unique_ptr<ScopedMount>& mount)> after;
    QStringList expected; // the disk below the temporary folder once all is over
    QStringList expectedInMount; // the mount's files, while it is still there
};

void moveAway(const TempDir& tmp, const QString& folder, const QString& to)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(tmp.file(to)).path()));
    ASSERT_TRUE(QDir().rename(folder, tmp.file(to)));
}

void mountOver(const QString& folder, std::unique_ptr<ScopedMount>& mount, const QString& file)
{
    mount = std::make_unique<ScopedMount>(folder);
    ASSERT_TRUE(mount->mounted());
    QFile f(folder + u'/' + file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("mounted");
}

// The swaps, for a folder "<rel>" holding "<file>" with the text "listed".
std::vector<FolderSwap> folderSwaps(const QString& rel, const QString& file)
{
    const QString listed = rel + u'/' + file + QStringLiteral("=listed");
    const auto nothing = [](const TempDir&, const QString&, std::unique_ptr<ScopedMount>&) {};
    return {
        {"replaced", false, nothing,
         [rel, file](const TempDir& tmp, const QString& folder, std::unique_ptr<ScopedMount>&) {
             moveAway(tmp, folder, rel + QStringLiteral(".old"));
             tmp.createFile(rel + u'/' + file, "other");
         },
         {rel + QStringLiteral(".old/") + file + QStringLiteral("=listed"),
          rel + u'/' + file + QStringLiteral("=other")},
         {}},
        {"removed", false, nothing,
         [](const TempDir& tmp, const QString& folder, std::unique_ptr<ScopedMount>&) {
             moveAway(tmp, folder, QStringLiteral("away/gone"));
         },
         {QStringLiteral("away/gone/") + file + QStringLiteral("=listed")},
         {}},
        {"mountedOver", true, nothing,
         [file](const TempDir&, const QString& folder, std::unique_ptr<ScopedMount>& mount) {
             mountOver(folder, mount, file);
         },
         {listed},
         {file + QStringLiteral("=mounted")}},
        {"unmounted", true,
         [file](const TempDir&, const QString& folder, std::unique_ptr<ScopedMount>& mount) {
             mountOver(folder, mount, file);
         },
         [](const TempDir&, const QString&, std::unique_ptr<ScopedMount>& mount) { mount->unmount(); },
         {listed}, // the file the mount hid, which nobody saw
         {}},
    };
}

bool mountingPermitted(const TempDir& tmp)
{
    const ScopedMount probe(tmp.createDir(QStringLiteral("probe")));
    const bool ok = probe.mounted();
    return ok;
}

// The browser listed a folder; before the start button the folder at that
// path became another (or none). After the question the run stops with a
// message naming the folder, the lists are read again, and no file is
// renamed anywhere: not at the path, not in the listed folder.
TEST(RunFolderTest, FolderReplacedUnderTheBrowserIsNotWorkedIn)
{
    bool canMount = false;
    {
        const TempDir probe;
        canMount = mountingPermitted(probe);
    }
    for (const FolderSwap& c : folderSwaps(QStringLiteral("top"), QStringLiteral("a.txt"))) {
        SCOPED_TRACE(c.name);
        if (c.needsMount && !canMount) {
            std::cout << "[  SKIPPED ] " << c.name << ": mounting is not permitted here\n";
            continue;
        }
        DriverBench b;
        b.opts.logFile = true;
        const QString folder = b.tmp.file(QStringLiteral("top"));
        b.tmp.createFile(QStringLiteral("top/a.txt"), "listed");
        std::unique_ptr<ScopedMount> mount;
        c.before(b.tmp, folder, mount);
        b.host.folder = folder;
        b.host.paramsFor = [](Tab) { return kakuChange(); };
        const QStringList shown = b.host.fileList();
        b.host.files = [shown](const QString&) { return shown; }; // what the user saw
        b.host.listFolder();
        c.after(b.tmp, folder, mount);

        b.start();

        ASSERT_EQ(b.dialogs.shown.size(), 2);
        EXPECT_EQ(b.dialogs.shown[1].text, kNotListedAtStart + folder);
        EXPECT_EQ(b.dialogs.shown[1].title, QString());
        EXPECT_EQ(b.dialogs.shown[1].style, 16);
        EXPECT_EQ(b.host.rereads, 1);
        EXPECT_EQ(b.host.locks, 0);
        EXPECT_EQ(b.host.paramsRead, 0);
        EXPECT_FALSE(b.driver.running());
        EXPECT_TRUE(QDir(b.data.file(QStringLiteral("errlog"))).entryList(QDir::Files).isEmpty());
        if (mount && mount->mounted()) {
            EXPECT_EQ(treeOf(folder), c.expectedInMount);
            mount->unmount();
        }
        EXPECT_EQ(treeOf(b.tmp.path()), c.expected);
    }
}

// The message tells that the selected-files lists were emptied exactly when
// the window's reading of the replaced folder emptied them.
TEST(RunFolderTest, ReplacedFolderMessageTellsOfEmptiedPicks)
{
    for (const bool emptied : {false, true}) {
        SCOPED_TRACE(emptied ? "emptied" : "nothing picked");
        DriverBench b;
        const QString folder = b.tmp.file(QStringLiteral("top"));
        b.tmp.createFile(QStringLiteral("top/a.txt"), "listed");
        b.host.folder = folder;
        b.host.select = true;
        b.host.selected = {QStringLiteral("a.txt")};
        b.host.listFolder();
        ASSERT_TRUE(QDir().rename(folder, b.tmp.file(QStringLiteral("old"))));
        b.tmp.createFile(QStringLiteral("top/a.txt"), "other");
        b.host.picksEmptied = emptied;

        b.start();

        ASSERT_EQ(b.dialogs.shown.size(), 2);
        EXPECT_EQ(b.dialogs.shown[1].text,
                  kNotListedAtStart.chopped(1)
                      + (emptied ? QStringLiteral(u"選択したファイルの一覧は空にしました。") : QString()) + u'\r'
                      + folder);
        EXPECT_EQ(treeOf(b.tmp.path()), (QStringList{QStringLiteral("old/a.txt=listed"), QStringLiteral("top/a.txt=other")}));
    }
}

// Where the file system keeps no birth time (here an ext2 card), a folder
// removed and made again takes the listed one's inode number, and its file
// the listed file's name. The run still tells it from the listed folder and
// renames nothing in it.
TEST(RunFolderTest, FolderMadeAgainOnACardIsNotWorkedIn)
{
    DriverBench b;
    const QString card = b.tmp.createDir(QStringLiteral("card"));
    const ScopedLoopMount mount(b.tmp.file(QStringLiteral("card.img")), card);
    if (!mount.mounted())
        GTEST_SKIP() << mount.problem().toStdString();
    const QString folder = card + QStringLiteral("/top");
    b.tmp.createFile(QStringLiteral("card/top/a.txt"), "listed");
    const ino_t listedInode = statOf(folder).st_ino;
    b.host.folder = folder;
    b.host.paramsFor = [](Tab) { return kakuChange(); };
    const QStringList shown = b.host.fileList();
    b.host.files = [shown](const QString&) { return shown; };
    b.host.listFolder();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    b.tmp.createFile(QStringLiteral("card/top/a.txt"), "other");
    ASSERT_EQ(statOf(folder).st_ino, listedInode) << "the card gave the new folder another inode number";

    b.start();

    ASSERT_EQ(b.dialogs.shown.size(), 2);
    EXPECT_EQ(b.dialogs.shown[1].text, kNotListedAtStart + folder);
    EXPECT_EQ(b.host.rereads, 1);
    EXPECT_FALSE(b.driver.running());
    EXPECT_EQ(treeOf(card), QStringList{QStringLiteral("top/a.txt=other")});
}

// The same in a walk: a sub-folder found by the search is replaced after
// the search, before the walk enters it. The top folder, entered first, and
// the untouched sub-folder beside it are worked in; the replaced one is not,
// nor anything the search found below it, and the user is told once.
TEST(RunFolderTest, WalkedFolderReplacedAfterTheSearchIsNotWorkedIn)
{
    bool canMount = false;
    {
        const TempDir probe;
        canMount = mountingPermitted(probe);
    }
    for (FolderSwap c : folderSwaps(QStringLiteral("top/sub"), QStringLiteral("b.txt"))) {
        SCOPED_TRACE(c.name);
        if (c.needsMount && !canMount) {
            std::cout << "[  SKIPPED ] " << c.name << ": mounting is not permitted here\n";
            continue;
        }
        DriverBench b;
        const QString top = b.tmp.file(QStringLiteral("top"));
        const QString sub = b.tmp.file(QStringLiteral("top/sub"));
        b.tmp.createFile(QStringLiteral("top/a.txt"), "top");
        b.tmp.createFile(QStringLiteral("top/sub/b.txt"), "listed");
        b.tmp.createFile(QStringLiteral("top/sub/deep/d.txt"), "deep");
        b.tmp.createFile(QStringLiteral("top/side/s.txt"), "side");
        std::unique_ptr<ScopedMount> mount;
        c.before(b.tmp, sub, mount);
        b.host.folder = top;
        b.host.subfolders = true;
        b.host.paramsFor = [](Tab) { return kakuChange(); };
        bool swapped = false;
        b.host.onEnter = [&](const QString& folder) {
            if (!swapped && folder == top + u'/') {
                swapped = true;
                c.after(b.tmp, sub, mount);
            }
        };

        b.start();

        EXPECT_TRUE(swapped);
        ASSERT_EQ(b.dialogs.shown.size(), 2);
        EXPECT_EQ(b.dialogs.shown[1].text, kNotListedInWalk + sub);
        EXPECT_EQ(b.dialogs.shown[1].style, 16);
        EXPECT_EQ(b.host.unlocks, 1);
        EXPECT_EQ(b.host.folder, top); // back in the top folder
        if (mount && mount->mounted()) {
            EXPECT_EQ(treeOf(sub), c.expectedInMount);
            mount->unmount();
        }
        QStringList expected;
        for (const QString& e : c.expected) {
            expected.append(e);
            // deep went wherever its parent went, or stayed beneath a mount.
            if (e.endsWith(QStringLiteral("b.txt=listed")))
                expected.append(e.chopped(12) + QStringLiteral("deep/d.txt=deep"));
        }
        expected.append(QStringLiteral("top/a.dat=top"));
        expected.append(QStringLiteral("top/side/s.dat=side"));
        expected.sort();
        EXPECT_EQ(treeOf(b.tmp.path()), expected);
    }
}

// A tab picked while the folder tree is searched is not what the user
// confirmed: the walk runs the confirmed tab's operation in every folder.
TEST(RunFolderTest, TabPickedDuringTheSearchDoesNotChangeTheOperation)
{
    DriverBench b;
    for (const char* f : {"top/a.txt", "top/s1/b.txt", "top/s2/c.txt"})
        b.tmp.createFile(QString::fromUtf8(f), f);
    b.host.folder = b.tmp.file(QStringLiteral("top"));
    b.host.subfolders = true;
    b.host.caption = QStringLiteral(u"拡張子");
    b.host.paramsFor = [](Tab tab) -> OperationParams {
        if (tab == Tab::Edit) {
            engine::FNameEditParams edit;
            edit.EditText = QStringLiteral("X");
            return edit;
        }
        return kakuChange();
    };
    int pumps = 0;
    b.host.run.onPump = [&](int) {
        ++pumps;
        b.host.caption = QStringLiteral(u"編集");
    };

    b.start();

    EXPECT_GT(pumps, 0);
    EXPECT_EQ(b.dialogs.shown.size(), 1); // the question alone
    EXPECT_EQ(treeOf(b.tmp.path()), QStringList({QStringLiteral("top/a.dat=top/a.txt"),
                                                 QStringLiteral("top/s1/b.dat=top/s1/b.txt"),
                                                 QStringLiteral("top/s2/c.dat=top/s2/c.txt")}));
}

} // namespace
} // namespace tavil::test
