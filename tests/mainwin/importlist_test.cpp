#include "engine/fnameimport.h"
#include "engine/operations.h"
#include "mainwin/form1.h"
#include "mainwin/importlist.h"
#include "mainwin/importtext.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"
#include "tests/mainwin/listfakes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>
#include <variant>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavil::test {
namespace {

namespace text = mainwin::importtext;
using mainwin::ImportList;

// ---------------------------------------------------------------------------
// The text of a list, without widgets.

TEST(ImportText, DecodingAndSplittingByEverySeparator)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QString combo;
        QStringList expected;
    };
    const Case cases[] = {
        {"utf8WithoutMark", "\xE3\x81\x82\n\xE3\x81\x84\n", u"改行"_s, {u"あ"_s, u"い"_s}},
        {"utf8WithMark", "\xEF\xBB\xBF" "a\r\nb", u"改行"_s, {u"a"_s, u"b"_s}},
        {"cp932", "\x82\xA0\x83\x41.txt\r\n\x95\x5C\r\n", u"改行"_s, {u"あア.txt"_s, u"表"_s}},
        {"lfOnly", "a\nb\nc", u"改行"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {"crLf", "a\r\nb\r\n", u"改行"_s, {u"a"_s, u"b"_s}},
        {"crOnly", "a\rb\r", u"改行"_s, {u"a"_s, u"b"_s}},
        {"emptyLinesGiveNothingBlanksStay", "\n a \n\n\r\nb\n\n", u"改行"_s, {u" a "_s, u"b"_s}},
        {"emptyFile", "", u"改行"_s, {}},
        {"lineModeKeepsOtherSeparators", "a,b\nc,\n", u"改行"_s, {u"a,b"_s, u"c,"_s}},
        {"tab", "a\tb\tc\n", u"ﾀﾌﾞ"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {"colon", "a:b\n", u"ｺﾛﾝ"_s, {u"a"_s, u"b"_s}},
        {"twoSemicolonsGiveNoEmptyName", "x;;y", u"ｾﾐｺﾛﾝ"_s, {u"x"_s, u"y"_s}},
        {"commaNameAcrossLinesAndTrailingBreak", "a,b\nc,\n", u"ｶﾝﾏ"_s, {u"a"_s, u"b\r\nc"_s, u""_s}},
        {"breaksAroundANameAreTrimmed", "x;\ny\nz;", u"ｾﾐｺﾛﾝ"_s, {u"x"_s, u"y\r\nz"_s, u""_s}},
        {"lfOnlyNameKeepsCrLf", "a\nb;c", u"ｾﾐｺﾛﾝ"_s, {u"a\r\nb"_s, u"c"_s}},
        {"storedSingleCharacter", "a|b|c\n", u"|"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {"storedLongerSeparatorAsAWhole", "a--b-c--\n--d", u"--"_s, {u"a"_s, u"b-c"_s, u""_s, u"d"_s}},
        {"storedJapaneseSeparator", "\xE3\x81\x82\xE3\x80\x81\xE3\x81\x84", u"、"_s, {u"あ"_s, u"い"_s}},
        {"emptySeparatorNeverCuts", "a,b\nc\n", u""_s, {u"a,b\r\nc"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<QString> decoded = text::decode(c.bytes);
        ASSERT_TRUE(decoded.has_value());
        const QStringList names = text::split(text::joinLines(*decoded), text::separatorFor(c.combo));
        EXPECT_EQ(names, c.expected);
    }
}

TEST(ImportText, TextThatIsNeitherUtf8NorCp932IsRefused)
{
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"byteFF", "abc\xFF\n"},
        {"leadByteWithoutTrail", "ab\x81\x20" "cd"},
        {"markedButNotUtf8", "\xEF\xBB\xBF\x82\xA0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(text::decode(c.bytes).has_value());
    }
}

TEST(ImportText, LinesAreJoinedWithCrLf)
{
    struct Case {
        const char* name;
        QString in;
        QString out;
    };
    const Case cases[] = {
        {"empty", u""_s, u""_s},
        {"lastLineWithoutEnd", u"a\r\nb"_s, u"a\r\nb\r\n"_s},
        {"lf", u"a\nb\n"_s, u"a\r\nb\r\n"_s},
        {"cr", u"a\rb"_s, u"a\r\nb\r\n"_s},
        {"crThenCrLfAreTwoLines", u"a\r\r\nb"_s, u"a\r\n\r\nb\r\n"_s},
        {"lfCrAreTwoLines", u"a\n\rb"_s, u"a\r\n\r\nb\r\n"_s},
        {"oneEmptyLine", u"\n"_s, u"\r\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text::joinLines(c.in), c.out);
    }
}

TEST(ImportText, ComboTextsChooseTheirSeparators)
{
    EXPECT_TRUE(text::separatorFor(u"改行"_s).lineMode);
    EXPECT_EQ(text::separatorFor(u"ﾀﾌﾞ"_s).text, u"\t"_s);
    EXPECT_EQ(text::separatorFor(u"ｺﾛﾝ"_s).text, u":"_s);
    EXPECT_EQ(text::separatorFor(u"ｾﾐｺﾛﾝ"_s).text, u";"_s);
    EXPECT_EQ(text::separatorFor(u"ｶﾝﾏ"_s).text, u","_s);
    EXPECT_EQ(text::separatorFor(u"#"_s).text, u"#"_s);
    EXPECT_FALSE(text::separatorFor(u"#"_s).lineMode);
}

TEST(ImportText, SplitReportsItsPlaceEveryHundredCharacters)
{
    const QString joined = QString(250, u'a') + u","_s;
    QList<qsizetype> steps;
    const QStringList names = text::split(joined, text::separatorFor(u"ｶﾝﾏ"_s), [&](qsizetype i) { steps.append(i); });
    EXPECT_EQ(names, QStringList{QString(250, u'a')});
    EXPECT_EQ(steps, (QList<qsizetype>{100, 200}));
}

TEST(ImportText, ReadingRefusesFoldersFifosAndMissingFiles)
{
    TempDir d;
    d.createDir(u"sub"_s);
    const QString fifo = d.file(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString file = d.createFile(u"a.txt"_s, "hello");
    struct Case {
        const char* name;
        QString path;
        text::ReadFailure failure;
    };
    const Case cases[] = {
        {"file", file, text::ReadFailure::None},
        {"folder", d.file(u"sub"_s), text::ReadFailure::Folder},
        {"fifoIsNeverWaitedFor", fifo, text::ReadFailure::NotAFile},
        {"missing", d.file(u"gone.txt"_s), text::ReadFailure::Missing},
        {"missingFolderOnTheWay", d.file(u"gone/a.txt"_s), text::ReadFailure::Missing},
        {"emptyPath", u""_s, text::ReadFailure::Missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = "stale";
        EXPECT_EQ(text::readFile(c.path, &bytes).failure, c.failure);
        EXPECT_EQ(bytes, c.failure == text::ReadFailure::None ? QByteArray("hello") : QByteArray());
    }
}

// ---------------------------------------------------------------------------
// The list in a form.

// Whether any descriptor of this process is open on path.
bool descriptorOpenOn(const QString& path)
{
    const QByteArray wanted = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    const QStringList fds = QDir(u"/proc/self/fd"_s).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& fd : fds) {
        char target[4096];
        const QByteArray link = QFile::encodeName(u"/proc/self/fd/"_s + fd);
        const ssize_t n = ::readlink(link.constData(), target, sizeof target);
        if (n > 0 && QByteArray(target, int(n)) == wanted)
            return true;
    }
    return false;
}

// Drags the URLs onto a widget and drops them there; true when the drop was
// taken.
bool dropUrls(QWidget* target, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

class ImportListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_windowsBefore = QApplication::topLevelWidgets().size();
        form = std::make_unique<QWidget>();
        form->resize(410, 437);
        pages = new mainwin::TabPages(form.get(), services);
        lists = std::make_unique<mainwin::SelectedLists>(form.get(), services, files, status);
        lists->execPopup = [this](QMenu*, const QPoint&) {
            ++popups;
            if (onPopup)
                onPopup();
        };
        import = std::make_unique<ImportList>(*pages, *lists, status, services);
        list4 = pages->List4;
    }

    void TearDown() override
    {
        import.reset();
        lists.reset();
        form.reset();
        EXPECT_EQ(QApplication::topLevelWidgets().size(), m_windowsBefore);
    }

    bool dropFiles(const QStringList& paths, QWidget* target = nullptr)
    {
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls.append(QUrl::fromLocalFile(p));
        return dropUrls(target ? target : list4->viewport(), urls);
    }

    void fill(const QStringList& names)
    {
        list4->clear();
        list4->addItems(names);
    }

    QStringList shown() const
    {
        QStringList out;
        for (int i = 0; i < list4->count(); ++i)
            out.append(list4->item(i)->text());
        return out;
    }

    QStringList gathered() const
    {
        const engine::OperationParams p = pages->gather(engine::Tab::Import);
        return std::get<engine::FNameImportParams>(p).ImportNames;
    }

    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (int i = 0; i < list4->count(); ++i) {
            if (list4->item(i)->isSelected())
                rows.append(i);
        }
        return rows;
    }

    // The lock is undone: list usable, pointer normal, no progress, no state text.
    void expectUnlocked() const
    {
        EXPECT_TRUE(list4->isEnabled());
        EXPECT_EQ(form->cursor().shape(), Qt::ArrowCursor);
        EXPECT_FALSE(status.shown);
        EXPECT_EQ(status.panelText(1), u""_s);
        EXPECT_FALSE(import->importing());
        EXPECT_EQ(list4->palette().color(QPalette::Active, QPalette::Base),
                  form->palette().color(QPalette::Active, QPalette::Base));
    }

    TempDir dir;
    TestFileSystem fs;
    platform::MemorySettingsStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()};
    FakeFiles files;
    FakeStatus status;
    std::unique_ptr<QWidget> form;
    mainwin::TabPages* pages = nullptr; // owned by the form
    std::unique_ptr<mainwin::SelectedLists> lists;
    std::unique_ptr<ImportList> import;
    QListWidget* list4 = nullptr;
    int popups = 0;
    std::function<void()> onPopup;

private:
    qsizetype m_windowsBefore = 0;
};

TEST_F(ImportListTest, ADropOnTheListImportsTheFirstFileOnly)
{
    const QString first = dir.createFile(u"names.txt"_s, "one\ntwo\n");
    const QString second = dir.createFile(u"other.txt"_s, "three\n");
    ASSERT_TRUE(dropFiles({first, second}));
    EXPECT_EQ(shown(), (QStringList{u"one"_s, u"two"_s}));
    EXPECT_EQ(status.panelText(2), u"2個見つかりました"_s);
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_TRUE(dialogs.shown.isEmpty()); // an empty list is not asked about
    EXPECT_EQ(status.shows, 1);
    EXPECT_TRUE(status.log.contains(u"1:読み込み中"_s));
    EXPECT_TRUE(status.log.contains(u"1:検索中..."_s));
    expectUnlocked();
    EXPECT_FALSE(descriptorOpenOn(first));
}

TEST_F(ImportListTest, ADropOnTheImportPageImportsToo)
{
    const QString file = dir.createFile(u"names.txt"_s, "a;b");
    pages->Combo3->setCurrentIndex(3); // ｾﾐｺﾛﾝ
    ASSERT_TRUE(dropFiles({file}, pages->Frame1[6]));
    EXPECT_EQ(shown(), (QStringList{u"a"_s, u"b"_s}));
}

TEST_F(ImportListTest, DroppedFilesFillTheListByTheChosenSeparator)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        int separator; // Combo3's item
        QStringList shown;
    };
    const Case cases[] = {
        {"utf8", "\xE3\x81\x82.jpg\n\xE3\x81\x84.jpg\n", 0, {u"あ.jpg"_s, u"い.jpg"_s}},
        {"utf8WithMarkAndCrLf", "\xEF\xBB\xBF" "a\r\nb\r\n", 0, {u"a"_s, u"b"_s}},
        {"cp932", "\x83\x65\x83\x58\x83\x67\r\n\x95\x5C\r\n", 0, {u"テスト"_s, u"表"_s}},
        {"lfOnlyWithoutLastEnd", "a\nb", 0, {u"a"_s, u"b"_s}},
        {"crOnly", "a\rb\r", 0, {u"a"_s, u"b"_s}},
        {"emptyLinesGiveNothing", "\n\na\n\n \n", 0, {u"a"_s, u" "_s}},
        {"tab", "a\tb\n", 1, {u"a"_s, u"b"_s}},
        {"colonTheLastLineEndMakesAnEmptyName", "a:b:", 2, {u"a"_s, u"b"_s, u""_s}},
        {"semicolon", "x;;y\n", 3, {u"x"_s, u"y"_s}},
        {"comma", "a,b\nc,\n", 4, {u"a"_s, u"b␍␊c"_s, u""_s}},
        {"emptyFile", "", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list4->clear();
        desktop.beeps = 0;
        pages->Combo3->setCurrentIndex(c.separator);
        const QString file = dir.createFile(QString::fromLatin1(c.name) + u".txt"_s, c.bytes);
        ASSERT_TRUE(dropFiles({file}));
        EXPECT_EQ(shown(), c.shown);
        EXPECT_EQ(status.panelText(2), QString::number(c.shown.size()) + u"個見つかりました"_s);
        EXPECT_EQ(desktop.beeps, 1);
        EXPECT_TRUE(dialogs.shown.isEmpty());
        expectUnlocked();
        EXPECT_FALSE(descriptorOpenOn(file));
    }
}

TEST_F(ImportListTest, ADropOnAnotherPageOnlyReportsNothingFound)
{
    const QString file = dir.createFile(u"names.txt"_s, "x\n");
    fill({u"kept"_s});
    for (int page : {0, 1, 7}) {
        SCOPED_TRACE(page);
        desktop.beeps = 0;
        status.panels[1].clear();
        ASSERT_TRUE(dropFiles({file}, pages->Frame1[size_t(page)]));
        EXPECT_EQ(shown(), QStringList{u"kept"_s});
        EXPECT_EQ(status.panelText(2), u"0個見つかりました"_s);
        EXPECT_EQ(desktop.beeps, 1);
        EXPECT_TRUE(dialogs.shown.isEmpty());
        expectUnlocked();
    }
}

TEST_F(ImportListTest, AFullListIsClearedOnlyAfterYes)
{
    const QString file = dir.createFile(u"names.txt"_s, "new\n");
    fill({u"old1"_s, u"old2"_s});

    dialogs.answers = {platform::MsgButton::No};
    ASSERT_TRUE(dropFiles({file}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"リストの内容がクリアされます。よろしいですか？"_s);
    EXPECT_EQ(dialogs.shown[0].title, u"ファイル名の取り込み"_s);
    EXPECT_EQ(dialogs.shown[0].style, 68);
    EXPECT_EQ(shown(), (QStringList{u"old1"_s, u"old2"_s}));
    EXPECT_EQ(desktop.beeps, 0);
    expectUnlocked();

    dialogs.answers = {platform::MsgButton::Yes};
    ASSERT_TRUE(dropFiles({file}));
    EXPECT_EQ(shown(), QStringList{u"new"_s});
    EXPECT_EQ(status.panelText(2), u"1個見つかりました"_s);
    EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(ImportListTest, FailuresSayWhyAndLeaveTheListAsItWas)
{
    dir.createDir(u"folder"_s);
    const QString fifo = dir.file(u"pipe"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString binary = dir.createFile(u"binary.txt"_s, "ab\x81\x20\xFF");
    struct Case {
        const char* name;
        QUrl url;
        QString text;
        QString watched; // a file that must not stay open
    };
    const Case cases[] = {
        {"missingFile", QUrl::fromLocalFile(dir.file(u"gone.txt"_s)),
         u"ファイルが見つかりません。\r\n"_s + dir.file(u"gone.txt"_s), QString()},
        {"folderDropped", QUrl::fromLocalFile(dir.file(u"folder"_s)),
         u"フォルダは取り込めません。テキスト ファイルをドロップして下さい。\r\n"_s + dir.file(u"folder"_s),
         QString()},
        {"fifoDropped", QUrl::fromLocalFile(fifo), u"通常のファイルではないため、取り込めません。\r\n"_s + fifo, fifo},
        {"neitherUtf8NorCp932", QUrl::fromLocalFile(binary),
         u"文字コードが UTF-8 でもシフトJIS (CP932) でもないため、取り込めません。\r\n"_s + binary, binary},
        {"notALocalFile", QUrl(u"https://example.org/names.txt"_s),
         u"ドロップされたものの中に、このコンピュータ上のファイルがありません。"_s, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill({u"kept"_s});
        dialogs.shown.clear();
        desktop.beeps = 0;
        status.panels[1] = u"before"_s;
        ASSERT_TRUE(dropUrls(list4->viewport(), {c.url}));
        ASSERT_FALSE(dialogs.shown.isEmpty());
        const ShownBox& last = dialogs.shown.last();
        EXPECT_EQ(last.text, c.text);
        EXPECT_EQ(last.title, u"ファイル名の取り込み"_s);
        EXPECT_EQ(last.style, 48);
        EXPECT_EQ(shown(), QStringList{u"kept"_s});
        EXPECT_EQ(status.panelText(2), u"before"_s); // no count is claimed
        EXPECT_EQ(desktop.beeps, 0);
        expectUnlocked();
        if (!c.watched.isEmpty()) {
            EXPECT_FALSE(descriptorOpenOn(c.watched));
        }
    }
}

TEST_F(ImportListTest, AFileThatCantBeReadIsReported)
{
    QString file;
    if (::geteuid() != 0) {
        file = dir.createFile(u"secret.txt"_s, "a\n");
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0), 0);
    } else {
        // Root reads every file of a disk; a write-only kernel setting is
        // closed to it all the same.
        file = u"/proc/sys/vm/drop_caches"_s;
        const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        if (fd >= 0 || error != EACCES)
            GTEST_SKIP() << "no file here that root can't read";
    }
    ASSERT_TRUE(dropFiles({file}));
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, u"このファイルを読み取る権限がありません。\r\n"_s + file);
    EXPECT_EQ(list4->count(), 0);
    expectUnlocked();
}

TEST_F(ImportListTest, StoredSeparatorsAreOfferedAndNamesKeepTheirLineBreaks)
{
    store.write(u"FileDiv"_s, u"All"_s, u"2"_s);
    store.write(u"FileDiv"_s, u"Str0"_s, u"--"_s);
    store.write(u"FileDiv"_s, u"Str1"_s, u"#"_s);
    pages->loadSettings(QDateTime(QDate(2003, 3, 31), QTime(9, 5, 7)));
    ASSERT_EQ(pages->Combo3->count(), 7);
    EXPECT_EQ(pages->Combo3->itemText(5), u"--"_s);
    pages->Combo3->setCurrentIndex(5);

    const QString file = dir.createFile(u"names.txt"_s, "a--b\nc--\xE3\x81\x82\n");
    ASSERT_TRUE(dropFiles({file}));
    EXPECT_EQ(shown(), (QStringList{u"a"_s, u"b␍␊c"_s, u"あ"_s}));
    EXPECT_EQ(gathered(), (QStringList{u"a"_s, u"b\r\nc"_s, u"あ"_s}));
    EXPECT_EQ(import->names(), gathered());
}

TEST_F(ImportListTest, ANameWithALineBreakIsRefusedByTheRunNotHere)
{
    const QString file = dir.createFile(u"names.txt"_s, "a,b\nc");
    pages->Combo3->setCurrentIndex(4); // ｶﾝﾏ
    ASSERT_TRUE(dropFiles({file}));
    ASSERT_EQ(gathered(), (QStringList{u"a"_s, u"b\r\nc"_s}));
    engine::FNameImportParams p;
    p.ImportNames = gathered();
    EXPECT_FALSE(engine::fnameImportCheck({u"1.txt"_s, u"2.txt"_s}, p, 2).isEmpty());
}

TEST_F(ImportListTest, ADropWhileTheListIsBeingFilledIsIgnored)
{
    const QString first = dir.createFile(u"first.txt"_s, "one\n");
    const QString second = dir.createFile(u"second.txt"_s, "two\n");
    // The second drop waits in the queue and arrives while the first file
    // is read (the window is drawn after every block).
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(second)});
    QApplication::postEvent(list4->viewport(),
                            new QDropEvent(QPointF(5, 5), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier));
    ASSERT_TRUE(dropFiles({first}));
    QApplication::processEvents();
    delete mime;
    EXPECT_EQ(shown(), QStringList{u"one"_s});
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(ImportListTest, DragsWithoutFilesAreNotTaken)
{
    QMimeData mime;
    mime.setText(u"plain text"_s);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list4->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(ImportListTest, KeysMoveAndRemoveEntries)
{
    fill({u"a"_s, u"b"_s, u"c"_s, u"d"_s});
    list4->setCurrentRow(1);
    QTest::keyClick(list4, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(shown(), (QStringList{u"a"_s, u"c"_s, u"b"_s, u"d"_s}));
    EXPECT_EQ(list4->currentRow(), 2);
    QTest::keyClick(list4, Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(list4, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"a"_s, u"c"_s, u"d"_s}));
    EXPECT_EQ(list4->currentRow(), 0);
    QTest::keyClick(list4, Qt::Key_Up, Qt::ControlModifier); // at the top: nothing
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"a"_s, u"c"_s, u"d"_s}));

    // Delete: the selected entries go, the noted place is selected again.
    list4->clearSelection();
    list4->setCurrentRow(1, QItemSelectionModel::Select);
    list4->item(3)->setSelected(true);
    QTest::keyClick(list4, Qt::Key_Delete);
    EXPECT_EQ(shown(), (QStringList{u"b"_s, u"c"_s}));
    EXPECT_EQ(list4->currentRow(), 1);
    EXPECT_EQ(selectedRows(), QList<int>{1});

    // Past the end the last entry is selected; nothing selected removes nothing.
    list4->clearSelection();
    list4->setCurrentRow(1, QItemSelectionModel::Select);
    QTest::keyClick(list4, Qt::Key_Delete);
    EXPECT_EQ(shown(), QStringList{u"b"_s});
    EXPECT_EQ(list4->currentRow(), 0);
    list4->clearSelection();
    QTest::keyClick(list4, Qt::Key_Delete);
    EXPECT_EQ(shown(), QStringList{u"b"_s});
}

TEST_F(ImportListTest, PopupOffersOrderFromThreeEntriesAndRemovesTheSelection)
{
    struct Case {
        const char* name;
        int entries;
        int current;
        bool up, down, reverse;
    };
    const Case cases[] = {
        {"oneEntry", 1, 0, false, false, false},
        {"twoEntries", 2, 1, false, false, false},
        {"threeAtTheTop", 3, 0, false, true, true},
        {"threeInTheMiddle", 3, 1, true, true, true},
        {"threeAtTheEnd", 3, 2, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList names;
        for (int i = 0; i < c.entries; ++i)
            names.append(QString::number(i));
        fill(names);
        list4->setCurrentRow(c.current);
        popups = 0;
        import->List4_MouseDown(Qt::RightButton, QPoint());
        EXPECT_EQ(popups, 1);
        EXPECT_EQ(lists->mnuPopup1Up->isEnabled(), c.up);
        EXPECT_EQ(lists->mnuPopup1Down->isEnabled(), c.down);
        EXPECT_EQ(lists->mnuPopup1Hanten->isEnabled(), c.reverse);
        EXPECT_EQ(lists->mnuPopup1Add->text(), u"削除(&D)"_s);
        EXPECT_FALSE(lists->mnuPopup1Skip->isEnabled());
    }

    // "削除(&D)" chosen from the popup removes what is selected.
    fill({u"a"_s, u"b"_s, u"c"_s});
    list4->setCurrentRow(0);
    list4->item(0)->setSelected(true);
    list4->item(2)->setSelected(true);
    onPopup = [this] { lists->mnuPopup1Add->trigger(); };
    import->List4_MouseDown(Qt::RightButton, QPoint());
    EXPECT_EQ(shown(), QStringList{u"b"_s});
    EXPECT_EQ(lists->popupTarget(), mainwin::SelectedLists::PopupTarget::None);

    // An empty list has no popup.
    list4->clear();
    popups = 0;
    import->List4_MouseDown(Qt::RightButton, QPoint());
    EXPECT_EQ(popups, 0);
}

TEST_F(ImportListTest, ReverseFromThePopupActsOnTheImportList)
{
    fill({u"a"_s, u"b"_s, u"c"_s});
    list4->setCurrentRow(0);
    onPopup = [this] { lists->mnuPopup1Hanten->trigger(); };
    import->List4_MouseDown(Qt::RightButton, QPoint());
    EXPECT_EQ(shown(), (QStringList{u"c"_s, u"b"_s, u"a"_s}));
}

TEST_F(ImportListTest, ClearButtonEmptiesTheList)
{
    fill({u"a"_s, u"b"_s});
    QTest::mouseClick(pages->Command6, Qt::LeftButton);
    EXPECT_EQ(list4->count(), 0);
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// ---------------------------------------------------------------------------
// The main window imports into its own List4.

TEST(ImportListInWindow, TheMainWindowsImportPageTakesADrop)
{
    const qsizetype before = QApplication::topLevelWidgets().size();
    {
        TempDir dir;
        TestFileSystem fs;
        platform::MemorySettingsStore store;
        FakeDialogs dialogs;
        FakeClock clock;
        FakeDesktop desktop;
        FakeVolumes volumes;
        platform::Services services{fs, store, dialogs, clock, desktop, volumes, dir.file(u"errlog"_s), dir.path()};
        mainwin::Form1 form(services, QString());
        const QString file = dir.createFile(u"names.txt"_s, "\xEF\xBB\xBF" "x\r\ny\r\n");
        QListWidget* list = form.tabs().List4;
        ASSERT_TRUE(dropUrls(list->viewport(), {QUrl::fromLocalFile(file)}));
        ASSERT_EQ(list->count(), 2);
        EXPECT_EQ(list->item(0)->text(), u"x"_s);
        EXPECT_EQ(list->item(1)->text(), u"y"_s);
        EXPECT_EQ(form.status().panelText(2), u"2個見つかりました"_s);
        EXPECT_FALSE(form.status().PBar->isVisibleTo(&form));
        EXPECT_TRUE(list->isEnabled());
    }
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

} // namespace
} // namespace tavil::test
