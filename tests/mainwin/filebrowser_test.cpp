#include "mainwin/filebrowser.h"

#include "platform/gui/services.h"
#include "platform/linuxfilesystem.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/qtprint.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <memory>
#include <string_view>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
using tavil::mainwin::DirList;
using tavil::mainwin::FileBrowser;
using tavil::platform::Services;
using tavil::platform::Err;
namespace raw = tavil::test::raw;

namespace {

constexpr int kCritical = 16;
constexpr int kExclamation = 48;

const QString kDropNoPath = u"パスが見つかりません。\r\nフォルダではなくファイルをドロップしてみて下さい。"_s;
const QString kNetTitle = u"変更したいファイルがあるフォルダを選択して下さい。"_s;
const QString kNetNoPath = u"フォルダをダブルクリックで選択して下さい"_s;
const QString kGeneric76 = u"ｴﾗｰ番号  76 でｴﾗｰが発生しました。\r"_s;
const QString kErrorTitle = u"ｴﾗｰ"_s;

// The rows of the file list as the user reads them.
QStringList shownFiles(const FileBrowser& b)
{
    QStringList out;
    const QAbstractItemModel* model = b.File1->model();
    for (int i = 0; i < model->rowCount(); ++i)
        out.append(model->index(i, 0).data(Qt::DisplayRole).toString());
    return out;
}

// The folder list's entries below the open folder.
QStringList shownSubfolders(const FileBrowser& b)
{
    QStringList out;
    for (int i = b.Dir1->openRow() + 1; i < b.Dir1->count(); ++i)
        out.append(b.Dir1->item(i)->text());
    return out;
}

int rowOf(const DirList* list, const QString& text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == text)
            return i;
    }
    return -1;
}

// The stored attributes as SMB servers keep them: version 4, attributes
// valid, no times.
bool setDosAttributes(const QByteArray& path, quint32 attributes)
{
    QByteArray blob(32, '\0');
    blob[2] = 4;
    blob[4] = 4;
    blob[8] = 1;
    blob[12] = char(attributes & 0xff);
    return ::setxattr(path.constData(), "user.DOSATTRIB", blob.constData(), size_t(blob.size()), 0) == 0;
}

QMimeData* dropOf(const QList<QUrl>& urls)
{
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

class FileBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        form->resize(640, 480);
        form->show();
    }

    void TearDown() override
    {
        form.reset(); // the browser and its controls with it
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a window was left behind";
    }

    void activate()
    {
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QString folder(const QString& name) { return dir.createDir(name); }

    tavil::test::TempDir dir;
    tavil::test::TestFileSystem fs;
    tavil::platform::MemorySettingsStore store;
    tavil::test::FakeDialogs dialogs;
    tavil::test::FakeClock clock;
    tavil::test::FakeDesktop desktop;
    tavil::test::FakeVolumes volumes;
    Services services{fs, store, dialogs, clock, desktop, volumes, QString(), dir.createDir(u"prog"_s)};
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    FileBrowser* browser = new FileBrowser(form.get(), services); // owned by the form
};

// ---- the file list ----------------------------------------------------------

TEST_F(FileBrowserTest, ListsFilesAndLinksSortedWithoutRegardToCase)
{
    const QString f = folder(u"f"_s);
    for (const QString& name : {u"b.txt"_s, u"a.txt"_s, u"C.TXT"_s, u"B.doc"_s})
        dir.createFile(u"f/"_s + name);
    folder(u"f/sub"_s);
    const QByteArray root = QFile::encodeName(f);
    ASSERT_EQ(::symlink("a.txt", raw::join(root, "tofile").constData()), 0);
    ASSERT_EQ(::symlink("sub", raw::join(root, "todir").constData()), 0);
    ASSERT_EQ(::mkfifo(raw::join(root, "pipe").constData(), 0644), 0);

    ASSERT_EQ(browser->setPath(f), Err::None);

    // Links are renamed as themselves, so both are files here; the FIFO is
    // not a file any operation is for, and a folder is not a file.
    EXPECT_EQ(shownFiles(*browser),
              (QStringList{u"a.txt"_s, u"B.doc"_s, u"b.txt"_s, u"C.TXT"_s, u"todir"_s, u"tofile"_s}));
    EXPECT_EQ(browser->allFiles(), shownFiles(*browser));
    EXPECT_EQ(browser->fileCount(), 6);
}

TEST_F(FileBrowserTest, NameThatIsNotUtf8IsShownVisiblyAndHandedOutRaw)
{
    const QString f = folder(u"f"_s);
    const QByteArray root = QFile::encodeName(f);
    ASSERT_TRUE(raw::makeFile(raw::join(root, "caf\xe9.txt"), "L"));

    ASSERT_EQ(browser->setPath(f), Err::None);

    EXPECT_EQ(shownFiles(*browser), QStringList{u"caf\\xE9.txt"_s});
    const QString rawName = u"caf"_s + QChar(char16_t(0xDCE9)) + u".txt"_s;
    ASSERT_EQ(browser->allFiles(), QStringList{rawName});
    // The name handed out is the file itself, not a look-alike.
    ASSERT_TRUE(fs.rename(f + u'/' + browser->allFiles().first(), f + u"/cafe.txt"_s).ok());
    EXPECT_EQ(raw::describe(raw::files(root)), "cafe.txt=L");
}

TEST_F(FileBrowserTest, DotNamesShowOnlyWithHiddenFiles)
{
    const QString f = folder(u"f"_s);
    dir.createFile(u"f/.profile"_s);
    dir.createFile(u"f/plain.txt"_s);
    ASSERT_EQ(browser->setPath(f), Err::None);
    EXPECT_EQ(shownFiles(*browser), QStringList{u"plain.txt"_s});

    browser->setShowHidden(true);
    EXPECT_EQ(shownFiles(*browser), (QStringList{u".profile"_s, u"plain.txt"_s}));

    browser->setShowHidden(false);
    EXPECT_EQ(shownFiles(*browser), QStringList{u"plain.txt"_s});
}

TEST_F(FileBrowserTest, StoredHiddenAndSystemAttributesFollowTheOptions)
{
    const QString f = folder(u"f"_s);
    const QByteArray root = QFile::encodeName(f);
    if (!raw::userXattrsWork(root))
        GTEST_SKIP() << "this file system keeps no user attributes";
    for (const QString& name : {u"plain.txt"_s, u"h.txt"_s, u"s.txt"_s, u"hs.txt"_s})
        dir.createFile(u"f/"_s + name);
    ASSERT_TRUE(setDosAttributes(raw::join(root, "h.txt"), 0x2));
    ASSERT_TRUE(setDosAttributes(raw::join(root, "s.txt"), 0x4));
    ASSERT_TRUE(setDosAttributes(raw::join(root, "hs.txt"), 0x6));
    ASSERT_EQ(browser->setPath(f), Err::None);

    struct Case {
        bool hidden;
        bool system;
        QStringList shown;
    };
    const Case cases[] = {
        {false, false, {u"plain.txt"_s}},
        {true, false, {u"h.txt"_s, u"plain.txt"_s}},
        {false, true, {u"plain.txt"_s, u"s.txt"_s}},
        {true, true, {u"h.txt"_s, u"hs.txt"_s, u"plain.txt"_s, u"s.txt"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hidden " << c.hidden << ", system " << c.system);
        browser->setShowHidden(c.hidden);
        browser->setShowSystem(c.system);
        EXPECT_EQ(shownFiles(*browser), c.shown);
    }
}

// A folder opened while every file is shown is read without the files'
// stored attributes; hiding hidden or system files afterwards must still
// hide the ones marked so, and never show a hidden or system folder.
TEST_F(FileBrowserTest, HidingAfterAListingThatShowedEverything)
{
    const QString f = folder(u"f"_s);
    const QByteArray root = QFile::encodeName(f);
    if (!raw::userXattrsWork(root))
        GTEST_SKIP() << "this file system keeps no user attributes";
    for (const QString& name : {u"plain.txt"_s, u"h.txt"_s, u"s.txt"_s})
        dir.createFile(u"f/"_s + name);
    folder(u"f/hsub"_s);
    folder(u"f/sub"_s);
    ASSERT_TRUE(setDosAttributes(raw::join(root, "h.txt"), 0x2));
    ASSERT_TRUE(setDosAttributes(raw::join(root, "s.txt"), 0x4));
    ASSERT_TRUE(setDosAttributes(raw::join(root, "hsub"), 0x6));

    struct Case {
        const char* name;
        bool hidden;
        bool system;
        QStringList shown;
    };
    const Case cases[] = {
        {"hidden hidden", false, true, {u"plain.txt"_s, u"s.txt"_s}},
        {"system hidden", true, false, {u"h.txt"_s, u"plain.txt"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        browser->setShowHidden(true);
        browser->setShowSystem(true);
        ASSERT_EQ(browser->setPath(f), Err::None);
        EXPECT_EQ(shownFiles(*browser), (QStringList{u"h.txt"_s, u"plain.txt"_s, u"s.txt"_s}));
        EXPECT_EQ(shownSubfolders(*browser), QStringList{u"sub"_s});

        browser->setShowHidden(c.hidden);
        browser->setShowSystem(c.system);
        EXPECT_EQ(shownFiles(*browser), c.shown);
        browser->reread();
        EXPECT_EQ(shownFiles(*browser), c.shown);
        EXPECT_EQ(shownSubfolders(*browser), QStringList{u"sub"_s});
    }
}

TEST_F(FileBrowserTest, RereadShowsNewFilesAndFoldersAtOnce)
{
    const QString f = folder(u"f"_s);
    dir.createFile(u"f/a.txt"_s);
    ASSERT_EQ(browser->setPath(f), Err::None);
    dir.createFile(u"f/b.txt"_s);
    folder(u"f/new"_s);
    QSignalSpy changed(browser, &FileBrowser::pathChanged);

    browser->reread();
    EXPECT_EQ(shownFiles(*browser), (QStringList{u"a.txt"_s, u"b.txt"_s}));
    EXPECT_EQ(shownSubfolders(*browser), QStringList{u"new"_s});
    EXPECT_EQ(changed.count(), 0) << "the same folder: the selected-files lists stay";

    raw::removeContents(QFile::encodeName(f));
    ASSERT_EQ(::rmdir(QFile::encodeName(f).constData()), 0);
    browser->reread();
    EXPECT_EQ(browser->fileCount(), 0);
    EXPECT_TRUE(shownSubfolders(*browser).isEmpty());
    EXPECT_EQ(browser->path(), f);
}

TEST_F(FileBrowserTest, RefreshShowsNewEntriesAndAVanishedFolderShowsNone)
{
    const QString f = folder(u"f"_s);
    dir.createFile(u"f/a.txt"_s);
    ASSERT_EQ(browser->setPath(f), Err::None);
    dir.createFile(u"f/b.txt"_s);
    folder(u"f/new"_s);
    EXPECT_EQ(shownFiles(*browser), QStringList{u"a.txt"_s}); // until it is read again

    browser->refreshFiles();
    EXPECT_EQ(shownFiles(*browser), (QStringList{u"a.txt"_s, u"b.txt"_s}));
    EXPECT_TRUE(shownSubfolders(*browser).isEmpty());
    browser->refreshFolders();
    EXPECT_EQ(shownSubfolders(*browser), QStringList{u"new"_s});

    raw::removeContents(QFile::encodeName(f));
    ASSERT_EQ(::rmdir(QFile::encodeName(f).constData()), 0);
    browser->refreshFiles();
    browser->refreshFolders();
    EXPECT_EQ(browser->fileCount(), 0);
    EXPECT_TRUE(shownSubfolders(*browser).isEmpty());
    EXPECT_EQ(browser->path(), f);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// Every reading of the open folder compares what is at its path with the
// folder listed. Another folder there (replaced under the same names, or
// gone) is told once by folderReplaced, with both lists showing what is
// there now, and its identity taken for the one shown; the same folder read
// again tells nothing. A change of folder is pathChanged, not this.
TEST_F(FileBrowserTest, AReadingThatFindsAnotherFolderTellsItOnce)
{
    const struct {
        const char* name;
        std::function<void(FileBrowser& b)> read;
    } readings[] = {
        {"files", [](FileBrowser& b) { b.refreshFiles(); }},
        {"folders", [](FileBrowser& b) { b.refreshFolders(); }},
        {"both", [](FileBrowser& b) { b.reread(); }},
        {"openedAgain", [](FileBrowser& b) { ASSERT_EQ(b.setPath(b.path()), Err::None); }},
    };
    const QString f = dir.file(u"f"_s);
    for (const auto& r : readings) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(QDir(f).removeRecursively() || !QFileInfo::exists(f));
        dir.createFile(u"f/a.txt"_s, "listed");
        ASSERT_EQ(browser->setPath(f), Err::None);
        QSignalSpy replaced(browser, &FileBrowser::folderReplaced);
        QSignalSpy changed(browser, &FileBrowser::pathChanged);

        r.read(*browser);
        EXPECT_EQ(replaced.count(), 0) << "still the listed folder";

        ASSERT_TRUE(QDir().rename(f, dir.file(u"f.old"_s)));
        dir.createFile(u"f/b.txt"_s, "other");
        folder(u"f/in"_s);
        r.read(*browser);
        EXPECT_EQ(replaced.count(), 1);
        EXPECT_EQ(shownFiles(*browser), QStringList{u"b.txt"_s});
        EXPECT_EQ(shownSubfolders(*browser), QStringList{u"in"_s});
        EXPECT_TRUE(tavil::platform::sameFolder(browser->folderId(), fs.folderId(f)));
        r.read(*browser);
        EXPECT_EQ(replaced.count(), 1) << "the folder now shown is the listed one";

        if (r.name != std::string_view("openedAgain")) {
            // A folder gone is told once, however often it is read.
            ASSERT_TRUE(QDir(f).removeRecursively());
            r.read(*browser);
            r.read(*browser);
            EXPECT_EQ(replaced.count(), 2);
        }
        EXPECT_EQ(changed.count(), 0);
        EXPECT_TRUE(dialogs.shown.isEmpty());
        ASSERT_TRUE(QDir(dir.file(u"f.old"_s)).removeRecursively());
    }
}

// The program's own change to the open folder may change what the file
// system tells of it (an overlay's copy-up; the test's file system moves
// the identity of a folder that gets a new folder): the identity after it
// is the listed folder's own, and no reading afterwards tells of another
// folder. A folder replaced before the change is still told. A change that
// changed nothing reads nothing.
TEST_F(FileBrowserTest, OwnChangesTakeTheFolderIdentityAgain)
{
    fs.copyUpOnMakeDir = true;
    const QString f = folder(u"f"_s);
    ASSERT_EQ(browser->setPath(f), Err::None);
    QSignalSpy replaced(browser, &FileBrowser::folderReplaced);
    const tavil::platform::FolderId before = fs.folderId(f);

    browser->changeOpenFolder([&] { return fs.makeDir(f + u"/new"_s).ok(); });
    ASSERT_FALSE(tavil::platform::sameFolder(fs.folderId(f), before)) << "the copy-up is simulated";
    EXPECT_EQ(shownSubfolders(*browser), QStringList{u"new"_s});
    browser->reread();
    EXPECT_EQ(replaced.count(), 0);

    fs.listed.clear();
    browser->changeOpenFolder([] { return false; });
    EXPECT_TRUE(fs.listed.isEmpty());

    ASSERT_TRUE(QDir().rename(f, dir.file(u"f.old"_s)));
    folder(u"f"_s);
    browser->changeOpenFolder([&] { return fs.makeDir(f + u"/other"_s).ok(); });
    EXPECT_EQ(replaced.count(), 1);
    EXPECT_EQ(shownSubfolders(*browser), QStringList{u"other"_s});
}

TEST_F(FileBrowserTest, F7SelectsEveryFileAndF8InvertsWithoutLeavingTheList)
{
    const QString f = folder(u"f"_s);
    for (const QString& name : {u"a"_s, u"b"_s, u"c"_s})
        dir.createFile(u"f/"_s + name);
    ASSERT_EQ(browser->setPath(f), Err::None);
    activate();
    browser->File1->setFocus();
    browser->File1->selectionModel()->select(browser->File1->model()->index(1, 0), QItemSelectionModel::Select);

    QTest::keyClick(browser->File1, Qt::Key_F8);
    EXPECT_EQ(browser->selectedFiles(), (QStringList{u"a"_s, u"c"_s}));
    QTest::keyClick(browser->File1, Qt::Key_F7);
    EXPECT_EQ(browser->selectedFiles(), (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    QTest::keyClick(browser->File1, Qt::Key_F8);
    EXPECT_TRUE(browser->selectedFiles().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), browser->File1);
}

TEST_F(FileBrowserTest, CtrlRightAlonePassesTheSelectionOn)
{
    const QString f = folder(u"f"_s);
    dir.createFile(u"f/a"_s);
    ASSERT_EQ(browser->setPath(f), Err::None);
    QSignalSpy add(browser, &FileBrowser::addRequested);

    QTest::keyClick(browser->File1, Qt::Key_Right);
    QTest::keyClick(browser->File1, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(add.count(), 0);
    QTest::keyClick(browser->File1, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(add.count(), 1);
}

TEST_F(FileBrowserTest, RightButtonAsksForTheMenuOnlyWhenAFileIsListed)
{
    const QString empty = folder(u"empty"_s);
    const QString f = folder(u"f"_s);
    for (const QString& name : {u"a"_s, u"b"_s, u"c"_s})
        dir.createFile(u"f/"_s + name);
    QSignalSpy popup(browser, &FileBrowser::popupRequested);

    ASSERT_EQ(browser->setPath(empty), Err::None);
    QTest::mouseClick(browser->File1->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(popup.count(), 0);

    ASSERT_EQ(browser->setPath(f), Err::None);
    browser->File1->selectionModel()->select(browser->File1->model()->index(0, 0), QItemSelectionModel::Select);
    const QPoint onThird = browser->File1->visualRect(browser->File1->model()->index(2, 0)).center();
    QTest::mouseClick(browser->File1->viewport(), Qt::RightButton, {}, onThird);
    ASSERT_EQ(popup.count(), 1);
    EXPECT_EQ(popup.at(0).at(0).toPoint(), browser->File1->viewport()->mapToGlobal(onThird));
    // The menu acts on the selection, so the click must not change it.
    EXPECT_EQ(browser->selectedFiles(), QStringList{u"a"_s});
}

// ---- the folder list --------------------------------------------------------

TEST_F(FileBrowserTest, FolderListShowsAncestorsTheOpenFolderThenRealVisibleSubfolders)
{
    const QString b = folder(u"a/b"_s);
    for (const QString& name : {u"zed"_s, u"Alpha"_s, u".git"_s, u"beta"_s})
        folder(u"a/b/"_s + name);
    dir.createFile(u"a/b/file.txt"_s);
    const QByteArray root = QFile::encodeName(b);
    ASSERT_EQ(::symlink("zed", raw::join(root, "linked").constData()), 0);
    const bool attributes = raw::userXattrsWork(root);
    if (attributes) {
        folder(u"a/b/sys"_s);
        ASSERT_TRUE(setDosAttributes(raw::join(root, "sys"), 0x4));
    }

    ASSERT_EQ(browser->setPath(b), Err::None);

    QStringList ancestors{u"/"_s};
    ancestors += b.split(u'/', Qt::SkipEmptyParts);
    QStringList expected = ancestors;
    expected += QStringList{u"Alpha"_s, u"beta"_s, u"zed"_s};
    QStringList texts;
    for (int i = 0; i < browser->Dir1->count(); ++i)
        texts.append(browser->Dir1->item(i)->text());
    EXPECT_EQ(texts, expected);

    const int open = int(ancestors.size()) - 1;
    EXPECT_EQ(browser->Dir1->openRow(), open);
    EXPECT_EQ(browser->Dir1->currentRow(), open);
    EXPECT_TRUE(browser->Dir1->item(open)->isSelected());
    EXPECT_EQ(browser->Dir1->entryPath(0), u"/"_s);
    EXPECT_EQ(browser->Dir1->entryPath(open - 1), dir.file(u"a"_s));
    EXPECT_EQ(browser->Dir1->entryPath(open + 1), b + u"/Alpha"_s);
    // Each step down is indented one step further; sub-folders one more.
    for (int i = 0; i <= open; ++i)
        EXPECT_EQ(browser->Dir1->item(i)->data(DirList::LevelRole).toInt(), i);
    EXPECT_EQ(browser->Dir1->item(open + 1)->data(DirList::LevelRole).toInt(), open + 1);
}

TEST_F(FileBrowserTest, ClickHighlightsAFolderAndDoubleClickOrEnterOpensIt)
{
    const QString a = folder(u"a"_s);
    folder(u"a/sub"_s);
    folder(u"a/other"_s);
    ASSERT_EQ(browser->setPath(a), Err::None);
    QSignalSpy changed(browser, &FileBrowser::pathChanged);
    DirList* list = browser->Dir1;

    const int sub = rowOf(list, u"sub"_s);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(sub)).center());
    EXPECT_EQ(list->currentRow(), sub);
    EXPECT_EQ(browser->path(), a);
    EXPECT_EQ(changed.count(), 0);

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(sub)).center());
    EXPECT_EQ(browser->path(), a + u"/sub"_s);
    EXPECT_EQ(changed.count(), 1);

    // Enter opens the highlighted entry: here the ancestor one step up.
    list->setCurrentRow(list->openRow() - 1);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(browser->path(), a);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(shownSubfolders(*browser), (QStringList{u"other"_s, u"sub"_s}));
}

TEST_F(FileBrowserTest, RightButtonOnTheFolderListAsksForItsMenuAndKeepsTheHighlight)
{
    const QString a = folder(u"a"_s);
    folder(u"a/sub"_s);
    ASSERT_EQ(browser->setPath(a), Err::None);
    QSignalSpy popup(browser, &FileBrowser::folderPopupRequested);
    DirList* list = browser->Dir1;
    const int open = list->currentRow();

    QTest::mouseClick(list->viewport(), Qt::RightButton, {},
                      list->visualItemRect(list->item(rowOf(list, u"sub"_s))).center());
    EXPECT_EQ(popup.count(), 1);
    EXPECT_EQ(list->currentRow(), open);
}

TEST_F(FileBrowserTest, OpeningAFolderThatHasGoneShowsTheErrorAndDropsIt)
{
    const QString a = folder(u"a"_s);
    const QString gone = folder(u"a/gone"_s);
    ASSERT_EQ(browser->setPath(a), Err::None);
    ASSERT_EQ(::rmdir(QFile::encodeName(gone).constData()), 0);
    DirList* list = browser->Dir1;

    list->setCurrentRow(rowOf(list, u"gone"_s));
    QTest::keyClick(list, Qt::Key_Return);

    EXPECT_EQ(browser->path(), a);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(dialogs.shown[0].text.startsWith(kGeneric76)) << dialogs.shown[0].text.toStdString();
    EXPECT_EQ(dialogs.shown[0].title, kErrorTitle);
    EXPECT_EQ(dialogs.shown[0].style, kCritical);
    EXPECT_TRUE(shownSubfolders(*browser).isEmpty());
}

// A folder that is there but may not be read (as root every folder may: the
// refusal comes from the file system's seam) is named with that cause, not
// as a failure to write; another failure names the folder after the
// generic text. The browser stays where it was.
TEST_F(FileBrowserTest, OpeningAFolderThatCannotBeReadNamesItAndWhy)
{
    const struct {
        const char* name;
        int sysErrno;
        QString title;
        QString cause; // after the folder's name
    } cases[] = {
        {"denied", EACCES, u"フォルダの読み取りエラー"_s,
         u"\r\nを開くことができませんでした。\r\nフォルダのアクセス権を確認して下さい。"_s},
        {"notPermitted", EPERM, u"フォルダの読み取りエラー"_s,
         u"\r\nを開くことができませんでした。\r\nフォルダのアクセス権を確認して下さい。"_s},
        {"ioError", EIO, kErrorTitle, {}},
    };
    const QString a = folder(u"a"_s);
    const QString locked = folder(u"a/locked"_s);
    dir.createFile(u"a/x.txt"_s);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs.listErrno = nullptr;
        ASSERT_EQ(browser->setPath(a), Err::None);
        dialogs.shown.clear();
        fs.listErrno = [&](const QString& d) { return d.startsWith(locked) ? c.sysErrno : 0; };
        DirList* list = browser->Dir1;
        list->setCurrentRow(rowOf(list, u"locked"_s));
        QTest::keyClick(list, Qt::Key_Return);

        EXPECT_EQ(browser->path(), a);
        EXPECT_EQ(shownFiles(*browser), QStringList{u"x.txt"_s});
        ASSERT_EQ(dialogs.shown.size(), 1);
        const QString want = c.cause.isEmpty()
                                 ? u"ｴﾗｰ番号  75 でｴﾗｰが発生しました。\rパス名が無効です。\r"_s + locked
                                 : locked + c.cause;
        EXPECT_EQ(dialogs.shown[0].text, want);
        EXPECT_EQ(dialogs.shown[0].title, c.title);
        EXPECT_EQ(dialogs.shown[0].style, kCritical);
        EXPECT_EQ(browser->strMsg(), want);
    }
}

// ---- opening folders ---------------------------------------------------------

TEST_F(FileBrowserTest, AnotherFolderSignalsAChangeAndAFailureChangesNothing)
{
    const QString a = folder(u"a"_s);
    const QString b = folder(u"b"_s);
    dir.createFile(u"a/x.txt"_s);
    folder(u"a/in"_s);
    QSignalSpy changed(browser, &FileBrowser::pathChanged);

    ASSERT_EQ(browser->setPath(a), Err::None);
    EXPECT_EQ(changed.count(), 1);
    ASSERT_EQ(browser->setPath(a + u"/"_s), Err::None); // the same folder
    EXPECT_EQ(changed.count(), 1);

    const QString missing = dir.file(u"missing"_s);
    const QString plainFile = dir.file(u"a/x.txt"_s);
    for (const QString& bad : {missing, plainFile, u"relative/folder"_s, QString()}) {
        SCOPED_TRACE(bad.toStdString());
        EXPECT_EQ(browser->setPath(bad), Err::NoPath);
        EXPECT_EQ(browser->path(), a);
        EXPECT_EQ(shownFiles(*browser), QStringList{u"x.txt"_s});
        EXPECT_EQ(shownSubfolders(*browser), QStringList{u"in"_s});
    }
    EXPECT_EQ(changed.count(), 1);

    ASSERT_EQ(browser->setPath(b), Err::None);
    EXPECT_EQ(changed.count(), 2);
    // Written once: no doubled separators, "." or "..", no closing "/".
    ASSERT_EQ(browser->setPath(dir.path() + u"//b/./../a/in/"_s), Err::None);
    EXPECT_EQ(browser->path(), a + u"/in"_s);
    ASSERT_EQ(browser->setPath(u"/"_s), Err::None);
    EXPECT_EQ(browser->path(), u"/"_s);
}

TEST_F(FileBrowserTest, FilesInOpensTheFolderOrGivesNothing)
{
    const QString a = folder(u"a"_s);
    dir.createFile(u"a/2.txt"_s);
    dir.createFile(u"a/1.txt"_s);

    const std::optional<QStringList> files = browser->filesIn(a + u"/"_s);
    ASSERT_TRUE(files.has_value());
    EXPECT_EQ(*files, (QStringList{u"1.txt"_s, u"2.txt"_s}));
    EXPECT_EQ(browser->path(), a);
    EXPECT_FALSE(browser->filesIn(dir.file(u"missing"_s)).has_value());
    EXPECT_EQ(browser->path(), a);
}

// ---- the drive box -------------------------------------------------------------

class DriveBoxTest : public FileBrowserTest {
protected:
    void SetUp() override
    {
        FileBrowserTest::SetUp();
        volA = folder(u"volA"_s);
        volB = folder(u"volB"_s);
        folder(u"volA/inside"_s);
        volumes.list = {u"/"_s, volA, volB};
        browser->Drive1->readVolumes();
        ASSERT_EQ(browser->setPath(volA + u"/inside"_s), Err::None);
        ASSERT_EQ(browser->Drive1->currentText(), volA);
    }

    QString volA;
    QString volB;
};

TEST_F(DriveBoxTest, ADriveWhoseRootCannotBeReadSaysSoAndStays)
{
    fs.listErrno = [this](const QString& d) { return d.startsWith(volB) ? EACCES : 0; };
    QTest::keyClick(browser->Drive1, Qt::Key_Down);
    EXPECT_EQ(browser->path(), volA + u"/inside"_s);
    EXPECT_EQ(browser->Drive1->currentText(), volA);
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              volB + u"\r\nを開くことができませんでした。\r\nフォルダのアクセス権を確認して下さい。"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"フォルダの読み取りエラー"_s);
    EXPECT_EQ(dialogs.shown[0].style, kExclamation);
}

TEST_F(DriveBoxTest, ChoosingADriveOpensItsRoot)
{
    QSignalSpy changed(browser, &FileBrowser::pathChanged);
    QTest::keyClick(browser->Drive1, Qt::Key_Down);
    EXPECT_EQ(browser->path(), volB);
    EXPECT_EQ(browser->Drive1->currentText(), volB);
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(DriveBoxTest, ADriveThatIsNotReadyChangesNothingSilently)
{
    volumes.notReady = {volB};
    QSignalSpy changed(browser, &FileBrowser::pathChanged);

    QTest::keyClick(browser->Drive1, Qt::Key_Down);

    EXPECT_EQ(browser->path(), volA + u"/inside"_s);
    EXPECT_EQ(browser->Drive1->currentText(), volA);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(DriveBoxTest, ADriveWhoseRootHasGoneOpensTheProgramFolder)
{
    ASSERT_EQ(::rmdir(QFile::encodeName(volB).constData()), 0);
    QTest::keyClick(browser->Drive1, Qt::Key_Down);
    EXPECT_EQ(browser->path(), services.programFolder);
    EXPECT_EQ(browser->Drive1->currentText(), u"/"_s); // the program folder's drive
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(DriveBoxTest, CtrlIsHeldFromItsPressUntilTheNextKeyIsReleased)
{
    EXPECT_FALSE(browser->ctrlHeld());
    QTest::keyPress(browser->Drive1, Qt::Key_Shift);
    EXPECT_FALSE(browser->ctrlHeld());
    QTest::keyPress(browser->Drive1, Qt::Key_Control);
    EXPECT_TRUE(browser->ctrlHeld());
    QTest::keyRelease(browser->Drive1, Qt::Key_Shift);
    EXPECT_FALSE(browser->ctrlHeld());
}

// ---- the pattern box -----------------------------------------------------------

class PatternBoxTest : public FileBrowserTest {
protected:
    void SetUp() override
    {
        FileBrowserTest::SetUp();
        const QString f = folder(u"f"_s);
        for (const QString& name : {u"a.txt"_s, u"b.jpg"_s, u"c.doc"_s, u"d.TXT"_s})
            dir.createFile(u"f/"_s + name);
        ASSERT_EQ(browser->setPath(f), Err::None);
        edit = browser->Combo1->lineEdit();
        ASSERT_NE(edit, nullptr);
    }

    // Typed as the user types: into the box, which keeps the focus while its
    // line edit shows the text.
    void retype(const QString& text)
    {
        edit->clear();
        QTest::keyClicks(browser->Combo1, text);
    }

    QLineEdit* edit = nullptr;
};

TEST_F(PatternBoxTest, StartsWithAllFilesAndItsTip)
{
    EXPECT_EQ(browser->Combo1->currentText(), u"*.*"_s);
    EXPECT_EQ(browser->Combo1->itemText(0), u"*.*"_s);
    EXPECT_TRUE(browser->Combo1->isEditable());
    EXPECT_EQ(browser->Combo1->toolTip(), u"ｾﾐｺﾛﾝ(;)で区切れば複数指定できます"_s);
    EXPECT_EQ(browser->fileCount(), 4);
}

TEST_F(PatternBoxTest, TypingAppliesThePatternButAClosingSemicolonWaitsForTheNext)
{
    retype(u"*.txt;"_s);
    EXPECT_EQ(browser->Combo1->currentText(), u"*.txt;"_s);
    EXPECT_EQ(shownFiles(*browser), (QStringList{u"a.txt"_s, u"d.TXT"_s}));

    QTest::keyClicks(browser->Combo1, u"*.jpg"_s);
    EXPECT_EQ(shownFiles(*browser), (QStringList{u"a.txt"_s, u"b.jpg"_s, u"d.TXT"_s}));
}

TEST_F(PatternBoxTest, EnterAppliesTheTextWithoutItsSemicolonAndMovesToTheList)
{
    activate();
    browser->Combo1->setFocus();
    retype(u"*.jpg;"_s);

    QTest::keyClick(browser->Combo1, Qt::Key_Return);

    EXPECT_EQ(browser->Combo1->currentText(), u"*.jpg"_s);
    EXPECT_EQ(browser->pattern(), u"*.jpg"_s);
    EXPECT_EQ(shownFiles(*browser), QStringList{u"b.jpg"_s});
    EXPECT_EQ(QApplication::focusWidget(), browser->File1);
    EXPECT_EQ(edit->selectedText(), u"*.jpg"_s);
    EXPECT_EQ(store.read(u"TempPatt"_s, u"tp0"_s), u"*.jpg"_s);
    EXPECT_EQ(store.read(u"TempPatt"_s, u"All"_s), u"1"_s);
    EXPECT_EQ(browser->Combo1->count(), 1); // Enter adds nothing to the list itself
}

TEST_F(PatternBoxTest, EnterKeepsTheFocusWhenNothingMatches)
{
    activate();
    browser->Combo1->setFocus();
    retype(u"*.zzz"_s);

    QTest::keyClick(browser->Combo1, Qt::Key_Return);

    EXPECT_EQ(browser->fileCount(), 0);
    EXPECT_NE(QApplication::focusWidget(), browser->File1);
    EXPECT_EQ(edit->selectedText(), u"*.zzz"_s);
}

TEST_F(PatternBoxTest, EnterDoesNotStoreAPatternTheListHolds)
{
    retype(u"*.*"_s);
    QTest::keyClick(browser->Combo1, Qt::Key_Return);
    EXPECT_FALSE(store.value(u"TempPatt"_s, u"tp0"_s).has_value());
}

TEST_F(PatternBoxTest, CharactersThatCannotBeInANameAreRefused)
{
    retype(u"a/b:c"_s);
    EXPECT_EQ(browser->Combo1->currentText(), u"abc"_s);
    retype(u"1\"2,3/4:5<6>7?8\\9|0*;"_s);
    EXPECT_EQ(browser->Combo1->currentText(), u"1234567890*;"_s);
}

TEST_F(PatternBoxTest, ChoosingAnItemAppliesItEvenWithAClosingSemicolon)
{
    store.write(u"FilePatt"_s, u"All"_s, u"1"_s);
    store.write(u"FilePatt"_s, u"Patt0"_s, u"*.doc;"_s);
    ASSERT_EQ(browser->loadPatterns(), Err::None);

    QTest::keyClick(browser->Combo1, Qt::Key_Down); // the item below "*.*"

    EXPECT_EQ(browser->Combo1->currentText(), u"*.doc;"_s);
    EXPECT_EQ(shownFiles(*browser), QStringList{u"c.doc"_s});
}

TEST_F(PatternBoxTest, SuppressedTextChangesDoNothing)
{
    QSignalSpy typed(browser, &FileBrowser::patternTextChanged);
    browser->setPatternChangeSuppressed(true);
    browser->Combo1->setEditText(u"*.doc"_s);
    EXPECT_EQ(browser->fileCount(), 4);
    EXPECT_EQ(typed.count(), 0);

    browser->setPatternChangeSuppressed(false);
    retype(u"c*"_s);
    EXPECT_EQ(typed.count(), 3); // cleared, then two keys
    EXPECT_EQ(shownFiles(*browser), QStringList{u"c.doc"_s});
}

TEST_F(PatternBoxTest, LoadPatternsPutsTheFixedItemFirst)
{
    struct Case {
        const char* why;
        std::optional<QString> count;
        QStringList entries;
        Err err;
        QStringList items;
    };
    const Case cases[] = {
        {"nothing stored: one empty entry", std::nullopt, {}, Err::None, {u"*.*"_s, u""_s}},
        {"two entries, an empty one kept", u"2"_s, {u"*.txt"_s, u""_s}, Err::None, {u"*.*"_s, u"*.txt"_s, u""_s}},
        {"an empty count lists none", u""_s, {u"*.txt"_s}, Err::None, {u"*.*"_s}},
        {"zero lists none", u"0"_s, {u"*.txt"_s}, Err::None, {u"*.*"_s}},
        {"a count that is not a number", u"abc"_s, {u"*.txt"_s}, Err::TypeMismatch, {u"*.*"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        store.sections.clear();
        if (c.count)
            store.write(u"FilePatt"_s, u"All"_s, *c.count);
        for (int i = 0; i < c.entries.size(); ++i)
            store.write(u"FilePatt"_s, u"Patt"_s + QString::number(i), c.entries[i]);
        browser->Combo1->setEditText(u"*.doc"_s);

        EXPECT_EQ(browser->loadPatterns(), c.err);

        QStringList items;
        for (int i = 0; i < browser->Combo1->count(); ++i)
            items.append(browser->Combo1->itemText(i));
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(browser->Combo1->currentText(), u"*.*"_s);
        EXPECT_EQ(browser->fileCount(), 4);
    }
}

// ---- drops ---------------------------------------------------------------------

TEST_F(FileBrowserTest, DropOpensTheFolderThatHoldsWhatWasDropped)
{
    const QString a = folder(u"a"_s);
    folder(u"a/sub"_s);
    const QString file = dir.createFile(u"a/sub/f.txt"_s);
    ASSERT_TRUE(raw::makeDir(raw::join(dir.root(), "caf\xe9")));
    const QString rawFolder = dir.path() + u"/caf"_s + QChar(char16_t(0xDCE9));
    // A name that is not UTF-8 arrives percent-encoded in its bytes.
    const QUrl rawUrl(u"file://"_s + QString::fromLatin1(QUrl::toPercentEncoding(QFile::decodeName(dir.root()), "/"))
                      + u"/caf%E9/f.txt"_s);

    struct Case {
        const char* why;
        QList<QUrl> urls;
        QString opens;
        QString listedFolder;
    };
    const Case cases[] = {
        {"a folder opens the folder above it", {QUrl::fromLocalFile(a + u"/sub"_s)}, a, u"sub"_s},
        {"a file opens its folder", {QUrl::fromLocalFile(file)}, a + u"/sub"_s, QString()},
        {"the first local path counts", {QUrl(u"https://example.com/x"_s), QUrl::fromLocalFile(file)}, a + u"/sub"_s,
         QString()},
        {"the root opens the root", {QUrl::fromLocalFile(u"/"_s)}, u"/"_s, QString()},
        {"a name that is not UTF-8 keeps its bytes", {rawUrl}, rawFolder, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_EQ(browser->setPath(services.programFolder), Err::None);
        std::unique_ptr<QMimeData> data(dropOf(c.urls));
        browser->DropPath(data.get());
        EXPECT_EQ(browser->path(), c.opens);
        if (!c.listedFolder.isEmpty()) {
            EXPECT_TRUE(shownSubfolders(*browser).contains(c.listedFolder));
        }
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(FileBrowserTest, DropWithoutALocalFileOnlyBeeps)
{
    const QString a = folder(u"a"_s);
    ASSERT_EQ(browser->setPath(a), Err::None);
    QMimeData text;
    text.setText(u"just words"_s);
    browser->DropPath(&text);
    std::unique_ptr<QMimeData> web(dropOf({QUrl(u"https://example.com/a.txt"_s)}));
    browser->DropPath(web.get());
    browser->DropPath(nullptr);

    EXPECT_EQ(desktop.beeps, 3);
    EXPECT_EQ(browser->path(), a);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(FileBrowserTest, DropOfAMissingPathShowsThePathMessage)
{
    const QString a = folder(u"a"_s);
    ASSERT_EQ(browser->setPath(a), Err::None);
    std::unique_ptr<QMimeData> data(dropOf({QUrl::fromLocalFile(dir.file(u"gone/f.txt"_s))}));

    browser->DropPath(data.get());

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, kDropNoPath);
    EXPECT_TRUE(dialogs.shown[0].title.isEmpty()); // the application's title
    EXPECT_EQ(dialogs.shown[0].style, kCritical);
    EXPECT_EQ(browser->path(), a);
}

TEST_F(FileBrowserTest, DrivesFoldersAndFilesEachTakeADrop)
{
    const QString a = folder(u"a"_s);
    const QString file = dir.createFile(u"a/f.txt"_s);
    QWidget* const targets[] = {browser->Drive1, browser->Dir1->viewport(), browser->File1->viewport()};
    for (QWidget* target : targets) {
        SCOPED_TRACE(target->objectName().isEmpty() ? target->parent()->objectName().toStdString()
                                                    : target->objectName().toStdString());
        ASSERT_EQ(browser->setPath(services.programFolder), Err::None);
        std::unique_ptr<QMimeData> data(dropOf({QUrl::fromLocalFile(file)}));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        EXPECT_EQ(browser->path(), a);
    }
}

// ---- settings --------------------------------------------------------------------

TEST_F(FileBrowserTest, StartFolderFallsBackToTheProgramFolderSilently)
{
    const QString a = folder(u"a"_s);
    const QString plainFile = dir.createFile(u"plain.txt"_s);
    const QString disc = folder(u"disc"_s);
    folder(u"disc/photos"_s);
    volumes.list = {u"/"_s, disc};
    volumes.notReady = {disc};
    struct Case {
        const char* why;
        std::optional<QString> stored;
        QString opens;
    };
    const Case cases[] = {
        {"nothing stored", std::nullopt, services.programFolder},
        {"a stored folder", a, a},
        {"a stored folder that has gone", dir.file(u"gone"_s), services.programFolder},
        {"a stored file", plainFile, services.programFolder},
        {"an empty text", u""_s, services.programFolder},
        {"a folder on a volume that is not ready", disc + u"/photos"_s, services.programFolder},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_EQ(browser->setPath(u"/"_s), Err::None);
        store.sections.clear();
        if (c.stored)
            store.write(u"Setting"_s, u"Dir"_s, *c.stored);
        EXPECT_EQ(browser->loadSettings(), Err::None);
        EXPECT_EQ(browser->path(), c.opens);
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(FileBrowserTest, StoredOptionsDecideOnHiddenAndSystemFiles)
{
    const QString a = folder(u"a"_s);
    dir.createFile(u"a/.dot"_s);
    dir.createFile(u"a/plain"_s);
    store.write(u"Setting"_s, u"Dir"_s, a);
    struct Case {
        QString hidden;
        bool shown;
    };
    const Case cases[] = {{u"True"_s, true}, {u"false"_s, false}, {u"1"_s, true}, {u"abc"_s, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hidden.toStdString());
        store.write(u"ActionSetting"_s, u"Hidden"_s, c.hidden);
        store.write(u"ActionSetting"_s, u"System"_s, u"True"_s);
        ASSERT_EQ(browser->loadSettings(), Err::None);
        EXPECT_EQ(browser->showHidden(), c.shown);
        EXPECT_TRUE(browser->showSystem());
        EXPECT_EQ(shownFiles(*browser).contains(u".dot"_s), c.shown);
    }
}

TEST_F(FileBrowserTest, SaveSettingsStoresTheOpenFolder)
{
    const QString a = folder(u"a"_s);
    ASSERT_EQ(browser->setPath(a + u"/"_s), Err::None);
    browser->saveSettings();
    EXPECT_EQ(store.read(u"Setting"_s, u"Dir"_s), a);
}

// ---- the network folder ------------------------------------------------------------

TEST_F(FileBrowserTest, NetworkEntryOpensTheChosenFolder)
{
    const QString share = folder(u"share"_s);
    desktop.folders = {share};
    browser->mnuFileNet_Click();
    EXPECT_EQ(desktop.pickerTitles, QStringList{kNetTitle});
    EXPECT_EQ(browser->path(), share);

    desktop.folders.clear(); // cancelled
    browser->mnuFileNet_Click();
    EXPECT_EQ(browser->path(), share);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(FileBrowserTest, NetworkFolderThatCannotBeOpenedAsksForADoubleClick)
{
    const QString share = folder(u"share"_s);
    ASSERT_EQ(browser->setPath(share), Err::None);
    desktop.folders = {dir.file(u"gone"_s)};
    browser->mnuFileNet_Click();
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, kNetNoPath);
    EXPECT_TRUE(dialogs.shown[0].title.isEmpty());
    EXPECT_EQ(dialogs.shown[0].style, kCritical);
    EXPECT_EQ(browser->path(), share);
}

// Remembers where each folder picker started.
class StartRecordingDesktop final : public tavil::platform::Desktop {
public:
    void beep() override {}
    bool openUrl(const QUrl&) override { return false; }
    QString pickFolder(QWidget*, const QString&, const QString& startFolder) override
    {
        starts.append(startFolder);
        return {};
    }
    QStringList starts;
};

TEST_F(FileBrowserTest, NetworkPickerStartsAtTheNetworkMounts)
{
    StartRecordingDesktop recorder;
    Services withRecorder{fs, store, dialogs, clock, recorder, volumes, QString(), services.programFolder};
    QWidget otherForm;
    FileBrowser other(&otherForm, withRecorder);

    // The test's runtime folder is a temporary one of its own.
    const QString gvfs = qEnvironmentVariable("XDG_RUNTIME_DIR") + u"/gvfs"_s;
    ASSERT_FALSE(QDir(gvfs).exists());
    other.mnuFileNet_Click();
    ASSERT_TRUE(QDir().mkdir(gvfs));
    other.mnuFileNet_Click();
    QDir().rmdir(gvfs);

    const QString withoutGvfs = QDir(u"/mnt"_s).exists() ? u"/mnt"_s : u"/"_s;
    EXPECT_EQ(recorder.starts, (QStringList{withoutGvfs, gvfs}));
}

// ---- the window ----------------------------------------------------------------------

TEST_F(FileBrowserTest, LayoutPlacesTheControlsByTheWindowSize)
{
    // 7350 x 7500 twips: 1200 wider and 950 taller than the design size, so
    // half the extra width is 600; 15 twips to the pixel.
    browser->layout(7350, 600, 7500);
    EXPECT_EQ(browser->Drive1->geometry(), QRect(4, 4, 193, 21));
    EXPECT_EQ(browser->Dir1->geometry(), QRect(4, 28, 218, 144));
    EXPECT_EQ(browser->Combo1->geometry(), QRect(4, 180, 153, 21));
    EXPECT_EQ(browser->File1->geometry(), QRect(4, 204, 194, 240));
}

TEST_F(FileBrowserTest, RunLockDisablesTheBrowserAndUnlockEnablesIt)
{
    QWidget* const controls[] = {browser->Drive1, browser->Dir1, browser->Combo1, browser->File1};
    browser->setBrowsingEnabled(false);
    for (QWidget* w : controls)
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    browser->setBrowsingEnabled(true);
    for (QWidget* w : controls)
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(FileBrowserTest, ControlsAreFoundByTheirNames)
{
    EXPECT_EQ(form->findChild<QComboBox*>(u"Drive1"_s), browser->Drive1);
    EXPECT_EQ(form->findChild<QListWidget*>(u"Dir1"_s), browser->Dir1);
    EXPECT_EQ(form->findChild<QListView*>(u"File1"_s), browser->File1);
    EXPECT_EQ(form->findChild<QComboBox*>(u"Combo1"_s), browser->Combo1);
    EXPECT_EQ(browser->File1->selectionMode(), QAbstractItemView::ExtendedSelection);
}

} // namespace
