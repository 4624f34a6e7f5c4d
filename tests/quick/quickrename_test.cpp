// The extension change and the replacement, run from the window on files in
// a temporary folder.

#include "tests/quick/quickfixture.h"

#include "platform/fsname.h"
#include "platform/gui/qtdialogs.h"
#include "quick/form4.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tempdir.h"

#include <QAbstractButton>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using tavil::platform::MsgButton;
using tavil::quick::QuickMode;

namespace tavil::test {
namespace {

const QString kExtPrompt = u"変更後の拡張子を入力して下さい。"_s;
const QString kRefused = u"ﾌｧｲﾙ名には次の文字は使えません。\r\n        \\ / : , ; * ?\" < > |"_s;

class QuickRename : public QuickFixture {
protected:
    QStringList names() const { return dir.list(); }
};

TEST_F(QuickRename, ExtensionOfEveryDroppedFile)
{
    const QStringList dropped{dir.createFile(u"photo.bmp"_s, "P"), dir.createFile(u"archive.tar.gz"_s, "A"),
                              dir.createFile(u"README"_s, "R"), dir.createFile(u"d.x/f"_s, "F"),
                              dir.createDir(u"folder.old"_s)};
    open().resize(200, 120);
    drop(dropped);
    dialogs.inputs = {u"jpg"_s};
    window->mnuChangeExp_Click();

    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text, kExtPrompt);
    EXPECT_EQ(dialogs.shown[0].title, u"拡張子変更"_s);
    EXPECT_EQ(names(), (QStringList{u"README.jpg"_s, u"archive.jpg"_s, u"d.x"_s, u"folder.old"_s, u"photo.jpg"_s}));
    EXPECT_EQ(dir.list(u"d.x"_s), QStringList{u"f.jpg"_s});
    EXPECT_EQ(dir.read(u"photo.jpg"_s), "P");
    // The end: the collection forgotten, a beep, the progress back at 0.
    EXPECT_TRUE(window->collection().isEmpty());
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_EQ(window->PBar1->value(), 0);
    EXPECT_EQ(window->PBar1->maximum(), 4);
}

TEST_F(QuickRename, ClashKeepsBothFiles)
{
    const QString a = dir.createFile(u"a.bmp"_s, "new");
    dir.createFile(u"a.jpg"_s, "old");
    const QString b = dir.createFile(u"b.bmp"_s, "b");
    for (const MsgButton answer : {MsgButton::Ok, MsgButton::Cancel}) {
        SCOPED_TRACE(int(answer));
        dialogs.shown.clear();
        desktop.beeps = 0;
        open();
        drop({b, a});
        dialogs.inputs = {u".jpg"_s};
        dialogs.answers = {answer};
        window->mnuChangeExp_Click();
        ASSERT_EQ(dialogs.shown.size(), 2);
        EXPECT_EQ(dialogs.shown[1].text, dir.file(u"a.jpg"_s) + u"\r\n と同名のファイルが存在するため\r\n"_s + a
                                             + u"\r\nの名前は変更できません。"_s);
        EXPECT_EQ(dialogs.shown[1].title, u"拡張子変更"_s);
        EXPECT_EQ(dialogs.shown[1].style, 49);
        EXPECT_EQ(dir.read(u"a.bmp"_s), "new");
        EXPECT_EQ(dir.read(u"a.jpg"_s), "old");
        EXPECT_TRUE(window->collection().isEmpty());
        EXPECT_EQ(desktop.beeps, 1);
        window.reset();
    }
    // OK went on to b.bmp; Cancel stopped before it (it was b.jpg by then).
    EXPECT_EQ(names(), (QStringList{u"a.bmp"_s, u"a.jpg"_s, u"b.jpg"_s}));
}

TEST_F(QuickRename, RefusedCharacterAsksAgain)
{
    const QString a = dir.createFile(u"a.txt"_s);
    open();
    drop({a});
    dialogs.inputs = {u"j:pg"_s, u"jpg"_s};
    window->mnuChangeExp_Click();
    EXPECT_EQ(boxes(), (QStringList{u"拡張子変更|"_s + kExtPrompt, u"拡張子変更|"_s + kRefused, u"拡張子変更|"_s + kExtPrompt}));
    EXPECT_EQ(dialogs.shown[1].style, 16);
    EXPECT_EQ(names(), QStringList{u"a.jpg"_s});
}

TEST_F(QuickRename, EmptyExtensionAsksWhetherToCancel)
{
    const QStringList dropped{dir.createFile(u"a.txt"_s), dir.createFile(u".profile"_s), dir.createFile(u"b.tar.gz"_s)};
    open();
    drop(dropped);
    dialogs.inputs = {QString()};
    dialogs.answers = {MsgButton::Yes};
    window->mnuChangeExp_Click();
    ASSERT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(dialogs.shown[1].text, u"キャンセルを押しましたか？"_s);
    EXPECT_EQ(dialogs.shown[1].title, u"Cancel?"_s);
    EXPECT_EQ(dialogs.shown[1].style, 36);
    EXPECT_EQ(names(), (QStringList{u".profile"_s, u"a.txt"_s, u"b.tar.gz"_s}));
    EXPECT_TRUE(window->collection().isEmpty());
    EXPECT_EQ(desktop.beeps, 1);

    // No: the extensions go; a dot file, which would have no name left, stays.
    drop(dropped);
    dialogs.inputs = {QString()};
    dialogs.answers = {MsgButton::No};
    window->mnuChangeExp_Click();
    EXPECT_EQ(names(), (QStringList{u".profile"_s, u"a"_s, u"b"_s}));
    EXPECT_EQ(dialogs.shown.size(), 4);
}

TEST_F(QuickRename, SameNameAndNothingCollected)
{
    const QString a = dir.createFile(u"a.txt"_s, "A");
    open();
    window->mnuChangeExp_Click(); // nothing dropped: only the end
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(desktop.beeps, 1);
    drop({a});
    dialogs.inputs = {u"txt"_s};
    window->mnuChangeExp_Click();
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(names(), QStringList{u"a.txt"_s});
    // One entry still has a range of its own.
    EXPECT_EQ(window->PBar1->maximum(), 1);
}

TEST_F(QuickRename, LinkIsRenamedNotItsTarget)
{
    const QString target = dir.createFile(u"target.dat"_s, "T");
    ASSERT_EQ(::symlink("target.dat", (dir.root() + "/link.txt").constData()), 0);
    open();
    drop({dir.file(u"link.txt"_s)});
    dialogs.inputs = {u"jpg"_s};
    window->mnuChangeExp_Click();
    EXPECT_EQ(names(), (QStringList{u"link.jpg"_s, u"target.dat"_s}));
    EXPECT_EQ(raw::readLink(dir.root() + "/link.jpg"), "target.dat");
    EXPECT_EQ(dir.read(u"target.dat"_s), "T");
}

TEST_F(QuickRename, NameThatIsNotUtf8KeepsItsBytes)
{
    const QByteArray old = dir.root() + "/caf\xE9.txt";
    ASSERT_TRUE(raw::makeFile(old, "L"));
    open();
    dropUrls({fileUrl(old)});
    dialogs.inputs = {u"jpg"_s};
    window->mnuChangeExp_Click();
    EXPECT_EQ(raw::describe(raw::files(dir.root())), "caf\\xE9.jpg=L");
}

TEST_F(QuickRename, ReplacementInFileNames)
{
    const QStringList dropped{dir.createFile(u"old_photo.old.jpg"_s), dir.createFile(u"txt.txt"_s),
                              dir.createFile(u"OLDER"_s), dir.createFile(u"old"_s), dir.createDir(u"old_dir"_s)};
    open();
    drop(dropped);
    dialogs.inputs = {u"old"_s, u"new"_s};
    window->mnuChangeReplace_Click();
    EXPECT_EQ(boxes(), (QStringList{u"文字列置換|検索する文字列を入力して下さい。"_s,
                                    u"文字列置換|置換後の文字列を入力して下さい。"_s}));
    EXPECT_EQ(names(), (QStringList{u"OLDER"_s, u"new"_s, u"new_photo.old.jpg"_s, u"old_dir"_s, u"txt.txt"_s}));
    EXPECT_TRUE(window->collection().isEmpty());
    EXPECT_EQ(desktop.beeps, 1);

    // An empty replacement takes the text out.
    drop({dir.file(u"txt.txt"_s)});
    dialogs.inputs = {u"t"_s, QString()};
    window->mnuChangeReplace_Click();
    EXPECT_TRUE(dir.exists(u"x.txt"_s));
}

TEST_F(QuickRename, ReplacementAsksBothTextsAgainAfterARefusal)
{
    const QString a = dir.createFile(u"a-1.txt"_s);
    open();
    drop({a});
    dialogs.inputs = {u"-"_s, u"x:y"_s, u":"_s, u"_"_s};
    window->mnuChangeReplace_Click();
    EXPECT_EQ(boxes(), (QStringList{u"文字列置換|検索する文字列を入力して下さい。"_s,
                                    u"文字列置換|置換後の文字列を入力して下さい。"_s, u"文字列置換|"_s + kRefused,
                                    u"文字列置換|検索する文字列を入力して下さい。"_s,
                                    u"文字列置換|置換後の文字列を入力して下さい。"_s}));
    // A colon searched for is taken, and matches nothing.
    EXPECT_EQ(names(), QStringList{u"a-1.txt"_s});
    EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(QuickRename, CancelAtTheSearchTextKeepsTheCollection)
{
    const QString a = dir.createFile(u"a.txt"_s);
    open();
    drop({a});
    dialogs.inputs = {QString()};
    window->mnuChangeReplace_Click();
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(window->collection(), QStringList{a});
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(QuickRename, ReplacementClashAsksAndGoesOn)
{
    const QStringList dropped{dir.createFile(u"a1.txt"_s, "1"), dir.createFile(u"a2.txt"_s, "2")};
    dir.createFile(u"b1.txt"_s, "taken");
    open();
    drop(dropped);
    dialogs.inputs = {u"a"_s, u"b"_s};
    window->mnuChangeReplace_Click();
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_EQ(dialogs.shown[2].title, u"文字列置換"_s);
    EXPECT_EQ(dialogs.shown[2].style, 49);
    EXPECT_EQ(raw::describe(raw::files(dir.root())), "a1.txt=1; b1.txt=taken; b2.txt=2");
}

TEST_F(QuickRename, FoldersModeRenamesFoldersOnly)
{
    const QString d = dir.createDir(u"old_d"_s);
    const QString f = dir.createFile(u"old_f.txt"_s);
    ASSERT_EQ(::mkfifo((dir.root() + "/old_fifo").constData(), 0644), 0);
    ASSERT_EQ(::symlink("nowhere", (dir.root() + "/old_dangling").constData()), 0);
    ASSERT_EQ(::symlink("old_d", (dir.root() + "/old_linkdir").constData()), 0);
    const QString unreadable = dir.createFile(u"old_locked"_s);
    ::chmod(QFile::encodeName(unreadable).constData(), 0);
    open();
    setMode(QuickMode::Folders);
    drop({d, f, dir.file(u"old_fifo"_s), dir.file(u"old_dangling"_s), dir.file(u"old_linkdir"_s), unreadable});
    dialogs.inputs = {u"old"_s, u"new"_s};
    window->mnuChangeReplace_Click();
    EXPECT_EQ(dialogs.shown.size(), 2);
    EXPECT_EQ(names(), (QStringList{u"new_d"_s, u"old_dangling"_s, u"old_f.txt"_s, u"old_fifo"_s, u"old_linkdir"_s,
                                    u"old_locked"_s}));
    ::chmod(QFile::encodeName(unreadable).constData(), 0644);
}

TEST_F(QuickRename, FoldersModeStopsAtAFolderThatIsGone)
{
    const QString a = dir.createDir(u"old_a"_s);
    const QString b = dir.createDir(u"old_b"_s);
    open();
    setMode(QuickMode::Folders);
    drop({a, b});
    ASSERT_EQ(::rmdir(QFile::encodeName(a).constData()), 0);
    dialogs.inputs = {u"old"_s, u"new"_s};
    window->mnuChangeReplace_Click();
    ASSERT_EQ(dialogs.shown.size(), 3);
    EXPECT_EQ(dialogs.shown[2].text, u"ｴﾗｰ番号  53 でｴﾗｰが発生しました。\rファイルが見つかりません。"_s);
    EXPECT_EQ(dialogs.shown[2].title, u"ｴﾗｰ"_s);
    EXPECT_EQ(dialogs.shown[2].style, 16);
    EXPECT_EQ(names(), QStringList{u"old_b"_s}); // stopped
    EXPECT_TRUE(window->collection().isEmpty());
    EXPECT_EQ(desktop.beeps, 1);
}

// A new name longer than the file system keeps is named, with what is wrong
// with it, and ends the operation as any other failure does.
TEST_F(QuickRename, NameTooLongIsSaidSo)
{
    const QString longText(256, u'n');
    const struct {
        const char* name;
        QuickMode mode;
        bool folder;
        QStringList inputs;
        QString newName;
        QString text;
        QString title;
    } cases[] = {
        {"extension", QuickMode::Files, false, {longText}, u"a."_s + longText,
         u"ファイル名が長すぎます。"_s, u"拡張子変更"_s},
        {"fileName", QuickMode::Files, false, {u"a"_s, longText}, longText + u".txt"_s,
         u"ファイル名が長すぎます。"_s, u"文字列置換"_s},
        {"folderName", QuickMode::Folders, true, {u"a"_s, longText}, longText + u".txt"_s,
         u"フォルダ名が長すぎます。"_s, u"文字列置換"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir here;
        const QString item = c.folder ? here.createDir(u"a.txt"_s) : here.createFile(u"a.txt"_s, "A");
        const QString later = here.createFile(u"b.txt"_s, "B");
        desktop.beeps = 0;
        dialogs.shown.clear();
        open();
        setMode(c.mode);
        drop({item, later});
        dialogs.inputs = {c.inputs.cbegin(), c.inputs.cend()};
        if (c.inputs.size() == 1)
            window->mnuChangeExp_Click();
        else
            window->mnuChangeReplace_Click();
        ASSERT_EQ(dialogs.shown.size(), c.inputs.size() + 1);
        const ShownBox& box = dialogs.shown.last();
        EXPECT_EQ(box.text, u"「"_s + c.newName + u"」に名前を変更できませんでした。\r\n"_s + c.text);
        EXPECT_EQ(box.title, c.title);
        EXPECT_EQ(box.style, 16);
        EXPECT_EQ(here.list(), (QStringList{u"a.txt"_s, u"b.txt"_s})) << "stopped there";
        EXPECT_TRUE(window->collection().isEmpty());
        EXPECT_EQ(desktop.beeps, 1);
        window.reset();
    }
}

// Runs each step on the box in front, one after the other, while the
// operation waits on it.
class BoxScript : public QObject {
public:
    explicit BoxScript(std::vector<std::function<bool(QWidget*)>> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_timer.start();
    }
    bool finished() const { return m_next == m_steps.size(); }

private:
    void tick()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || finished() || ++m_ticks > 500)
            return;
        if (m_steps[m_next](modal))
            ++m_next;
    }
    std::vector<std::function<bool(QWidget*)>> m_steps;
    size_t m_next = 0;
    int m_ticks = 0;
    QTimer m_timer;
};

QAbstractButton* buttonNamed(QWidget* box, const QString& text)
{
    for (QAbstractButton* button : box->findChildren<QAbstractButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

TEST_F(QuickRename, EscAtTheCancelQuestionChangesNothing)
{
    // The real boxes, as the program shows them.
    platform::QtDialogs qtDialogs;
    platform::Services real{fs, store, qtDialogs, clock, desktop, volumes, QString(), QString()};
    const QString a = dir.createFile(u"a.txt"_s);
    quick::Form4 w(real, true);
    w.show();
    QMimeData mime;
    mime.setUrls({fileUrl(a)});
    w.handleDrop(&mime);

    bool stillAsking = false;
    BoxScript script({
        [](QWidget* box) {
            auto* input = qobject_cast<QInputDialog*>(box);
            if (!input)
                return false;
            input->accept(); // OK with nothing typed
            return true;
        },
        [&](QWidget* box) {
            if (!qobject_cast<QMessageBox*>(box))
                return false;
            QTest::keyClick(box, Qt::Key_Escape);
            box->close();
            return true;
        },
        [&](QWidget* box) {
            stillAsking = box->isVisible() && qobject_cast<QMessageBox*>(box);
            QAbstractButton* yes = buttonNamed(box, u"はい(&Y)"_s);
            if (!yes)
                return false;
            yes->click();
            return true;
        },
    });
    w.mnuChangeExp_Click();
    EXPECT_TRUE(script.finished());
    EXPECT_TRUE(stillAsking) << "Esc and the close button must not answer";
    EXPECT_EQ(names(), QStringList{u"a.txt"_s}) << "Esc must not mean No";
}

} // namespace
} // namespace tavil::test
