// Deletion by conditions, run from the window in the delete mode on a small
// fixture: which files survive each condition.

#include "tests/quick/quickfixture.h"

#include "platform/filesystem.h"
#include "quick/form4.h"
#include "tests/common/datahomeguard.h"
#include "tests/common/faults.h"
#include "tests/common/fsprobe.h"
#include "tests/common/rawbytes.h"
#include "tests/common/tzguard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTest>
#include <QTimeEdit>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using tavil::platform::MsgButton;
using tavil::quick::QuickMode;

namespace tavil::test {
namespace {

const QString kQuestion = u"ファイルの削除|条件にあったファイルを削除します。\r\nよろしいですか？"_s;
const QString kStayedPrefix = u"ゴミ箱へ移せなかった "_s;

// dir1: a.txt, b.doc, a hidden .h.txt, a read-only r.txt; dir2: c.txt.
class QuickDelete : public QuickFixture {
protected:
    QuickDelete()
    {
        a = dir.createFile(u"dir1/a.txt"_s, "a");
        b = dir.createFile(u"dir1/b.doc"_s, "b");
        h = dir.createFile(u"dir1/.h.txt"_s, "h");
        r = dir.createFile(u"dir1/r.txt"_s, "r");
        ::chmod(QFile::encodeName(r).constData(), 0444);
        c = dir.createFile(u"dir2/c.txt"_s, "c");
        store.setValue(u"QuickPos"_s, u"tlBar"_s, u"Del"_s);
        store.setValue(u"QuickPos"_s, u"Trash"_s, u"0"_s);
        store.setValue(u"FilePatt"_s, u"All"_s, u"2"_s);
        store.setValue(u"FilePatt"_s, u"Patt0"_s, u"*.doc"_s);
        store.setValue(u"FilePatt"_s, u"Patt1"_s, u"*.txt"_s);
    }

    quick::Form4& openAndDrop(const QStringList& paths)
    {
        quick::Form4& w = open();
        drop(paths);
        return w;
    }
    QStringList all() const { return {a, b, h, r, c}; }
    // The survivors, by name, of both folders.
    QStringList left() const { return dir.list(u"dir1"_s) + dir.list(u"dir2"_s); }
    void typePattern(const QString& text)
    {
        window->Combo1->lineEdit()->clear();
        QTest::keyClicks(window->Combo1->lineEdit(), text);
    }
    void run()
    {
        dialogs.shown.clear();
        window->mnuFileDel_Click();
    }
    void chooseTab(int tab) { window->TabStrip1->setCurrentIndex(tab); }

    QString a, b, h, r, c;
};

TEST_F(QuickDelete, NamePatternDeletesDroppedFilesOfTheListedFolder)
{
    openAndDrop(all());
    typePattern(u"*.txt"_s);
    run();
    EXPECT_EQ(left(), (QStringList{u".h.txt"_s, u"b.doc"_s, u"c.txt"_s}));
    EXPECT_EQ(boxes(), QStringList{kQuestion});
    EXPECT_EQ(dialogs.shown[0].style, 36);
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_EQ(window->collection().size(), 5) << "the collection stays";

    // Again, to the trash, by an attribute the deleted r.txt had: the files
    // already gone are passed over without a word.
    window->Check1->setChecked(true);
    typePattern(u"*.*"_s);
    chooseTab(1);
    window->Check2[1]->setChecked(true);
    window->Check3[1]->setChecked(true);
    run();
    EXPECT_EQ(boxes(), QStringList{kQuestion});
    EXPECT_EQ(left(), (QStringList{u".h.txt"_s, u"b.doc"_s, u"c.txt"_s}));
    EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(QuickDelete, EnterInThePatternBoxDeletes)
{
    openAndDrop(all());
    typePattern(u"*.doc"_s);
    QTest::keyClick(window->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(boxes(), QStringList{kQuestion}) << "no numbered menu, one question";
    EXPECT_EQ(left(), (QStringList{u".h.txt"_s, u"a.txt"_s, u"r.txt"_s, u"c.txt"_s}));
    EXPECT_EQ(window->Combo1->count(), 3) << "Enter adds nothing to the list";
}

TEST_F(QuickDelete, ThePatternIsTheOneTheBoxShows)
{
    openAndDrop(all());
    typePattern(u"*.txt"_s);
    // Picked from the list: the box shows "*.doc", and that deletes.
    window->Combo1->setCurrentIndex(1);
    ASSERT_EQ(window->Combo1->currentText(), u"*.doc"_s);
    run();
    EXPECT_EQ(left(), (QStringList{u".h.txt"_s, u"a.txt"_s, u"r.txt"_s, u"c.txt"_s}));
}

TEST_F(QuickDelete, AnAttributeRunLeavesTheTypedPatternAsItIs)
{
    openAndDrop(all());
    typePattern(u"*.txt;"_s);
    chooseTab(1);
    window->Check2[3]->setChecked(true); // system set: no file has it
    window->Check3[3]->setChecked(true);
    run();
    EXPECT_EQ(left().size(), 5);
    chooseTab(0);
    run();
    EXPECT_EQ(left(), (QStringList{u".h.txt"_s, u"b.doc"_s, u"c.txt"_s}));
}

TEST_F(QuickDelete, AttributesCombinedByAndOrOr)
{
    // Archive wanted set, read-only wanted clear; r.txt has both set.
    for (const bool useOr : {false, true}) {
        SCOPED_TRACE(useOr ? "OR" : "AND");
        openAndDrop({r});
        chooseTab(1);
        window->Check2[0]->setChecked(true);
        window->Check3[0]->setChecked(true);
        window->Check2[1]->setChecked(true);
        window->Check3[1]->setChecked(false);
        window->Option6[useOr ? 1 : 0]->setChecked(true);
        run();
        EXPECT_EQ(dir.exists(u"dir1/r.txt"_s), !useOr);
        window.reset();
    }
    // The others were not dropped.
    EXPECT_EQ(left(), (QStringList{u".h.txt"_s, u"a.txt"_s, u"b.doc"_s, u"c.txt"_s}));
}

TEST_F(QuickDelete, AttributeConditionReachesHiddenAndOtherFolders)
{
    openAndDrop(all());
    chooseTab(1);
    window->Check2[2]->setChecked(true); // hidden, wanted set
    window->Check3[2]->setChecked(true);
    run();
    EXPECT_EQ(left(), (QStringList{u"a.txt"_s, u"b.doc"_s, u"r.txt"_s, u"c.txt"_s}));

    window->Check3[2]->setChecked(false); // not hidden: every other one
    run();
    EXPECT_TRUE(left().isEmpty());
}

TEST_F(QuickDelete, NoAttributeTested)
{
    openAndDrop(all());
    chooseTab(1);
    run();
    EXPECT_EQ(boxes(), (QStringList{kQuestion, u"ファイルの削除|1つ以上チェックする必要があります。"_s}));
    EXPECT_EQ(dialogs.shown[1].style, 48);
    EXPECT_EQ(left().size(), 5);
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(QuickDelete, NoAnswerOrNothingDropped)
{
    open();
    run();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    drop(all());
    dialogs.answers = {MsgButton::No};
    run();
    EXPECT_EQ(boxes(), QStringList{kQuestion});
    EXPECT_EQ(left().size(), 5);
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(QuickDelete, EmptyListingDeletesNothingUnderAnyCondition)
{
    openAndDrop(all());
    typePattern(u"*.xyz"_s);
    for (int tab = 0; tab < 3; ++tab) {
        SCOPED_TRACE(tab);
        chooseTab(tab);
        window->Check2[0]->setChecked(true);
        window->Check3[0]->setChecked(true);
        window->DTPicker1->setDate(QDate(2100, 1, 1)); // everything is older
        run();
        EXPECT_EQ(boxes(), QStringList{kQuestion});
        EXPECT_EQ(left().size(), 5);
    }
    EXPECT_EQ(desktop.beeps, 0);
}

class QuickDeleteByDate : public QuickDelete {
protected:
    TzGuard tz{"JST-9"};
    const QDateTime moment{QDate(2020, 5, 1), QTime(12, 0, 0)};

    QString fileAt(const QString& name, timespec access, timespec write)
    {
        const QString path = dir.createFile(u"dates/"_s + name);
        EXPECT_TRUE(setTimes(path, access, write));
        return path;
    }
    timespec at(qint64 offsetSeconds, long nanoseconds = 0) const
    {
        return timespec{time_t(moment.toSecsSinceEpoch() + offsetSeconds), nanoseconds};
    }
    void setMoment(QRadioButton* stamp, QRadioButton* direction)
    {
        chooseTab(2);
        stamp->setChecked(true);
        direction->setChecked(true);
        window->DTPicker1->setDate(moment.date());
        window->DTPicker2->setTime(moment.time());
    }
};

TEST_F(QuickDeleteByDate, LastWriteStrictlyOlderOrNewer)
{
    const timespec old = at(-86400);
    const QStringList files{fileAt(u"before.txt"_s, old, at(-1)), fileAt(u"equal.txt"_s, old, at(0, 700000000)),
                            fileAt(u"after.txt"_s, old, at(1))};
    openAndDrop(files);
    setMoment(window->Option2, window->Option5);
    run();
    EXPECT_EQ(dir.list(u"dates"_s), (QStringList{u"after.txt"_s, u"equal.txt"_s}));
    setMoment(window->Option2, window->Option4);
    run();
    EXPECT_EQ(dir.list(u"dates"_s), QStringList{u"equal.txt"_s}) << "equal to the second is neither";
}

TEST_F(QuickDeleteByDate, AccessDayCountsFromMidnight)
{
    // Accessed at 10:00 on the chosen day; the time box says 12:00, but the
    // access date compares with the day's start.
    const QString f = fileAt(u"read.txt"_s, at(-2 * 3600), at(-86400 * 30));
    openAndDrop({f});
    setMoment(window->Option3, window->Option5);
    EXPECT_FALSE(window->DTPicker2->isEnabled());
    run();
    EXPECT_TRUE(dir.exists(u"dates/read.txt"_s));
    setMoment(window->Option3, window->Option4);
    run();
    EXPECT_FALSE(dir.exists(u"dates/read.txt"_s));
}

TEST_F(QuickDeleteByDate, UnknownCreationTimeNeverDeletes)
{
    fs.hideCreation = true;
    openAndDrop(all());
    typePattern(u"*.*"_s);
    for (QRadioButton* direction : {window->Option5, window->Option4}) {
        setMoment(window->Option1, direction);
        window->DTPicker1->setDate(direction == window->Option5 ? QDate(2100, 1, 1) : QDate(1990, 1, 1));
        run();
        EXPECT_EQ(left().size(), 5);
    }
}

TEST_F(QuickDeleteByDate, KnownCreationTimeDeletes)
{
    const QString f = dir.createFile(u"dates/made.txt"_s);
    if (!fs.writeTimes(f, moment.addSecs(-60), QDateTime(), QDateTime()).ok())
        GTEST_SKIP() << "this file system keeps no creation time";
    openAndDrop({f});
    setMoment(window->Option1, window->Option4);
    run();
    EXPECT_TRUE(dir.exists(u"dates/made.txt"_s));
    setMoment(window->Option1, window->Option5);
    run();
    EXPECT_FALSE(dir.exists(u"dates/made.txt"_s));
}

TEST_F(QuickDelete, ToTheTrashNeverForGood)
{
    Faults faults;
    fs.injectErrno = faults.injector();
    openAndDrop(all());
    window->Check1->setChecked(true);
    typePattern(u"*.txt"_s);
    run();
    EXPECT_EQ(left(), (QStringList{u".h.txt"_s, u"b.doc"_s, u"c.txt"_s}));
    EXPECT_FALSE(faults.called(u"unlink"_s));
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/Trash/files"_s;
    const QStringList trashed = QDir(trash).entryList(QDir::Files | QDir::Hidden);
    EXPECT_TRUE(trashed.contains(u"a.txt"_s)) << trashed.join(u' ').toStdString();
    EXPECT_TRUE(trashed.contains(u"r.txt"_s));
    EXPECT_EQ(raw::statOf(QFile::encodeName(trash + u"/r.txt"_s)).st_mode & 0777, 0444u)
        << "attributes are not touched on the way to the trash";

    // A trash that can't be reached leaves the file where it is.
    faults.calls.clear();
    faults.rule = [](const QString& call, const QString&) { return call == u"renameat2" ? EXDEV : 0; };
    typePattern(u"*.doc"_s);
    run();
    EXPECT_TRUE(dir.exists(u"dir1/b.doc"_s));
    EXPECT_FALSE(faults.called(u"unlink"_s));
    EXPECT_EQ(boxes(), (QStringList{kQuestion, u"ファイルの削除|"_s + kStayedPrefix
                                                   + u"1 個のファイルは削除されずに残っています。\r\n"
                                                     u"ゴミ箱が使えない場所にあるもの: 1 個"_s}));
}

// A trash that won't take a file leaves it, and the run ends by saying how
// many stayed and why; the files the trash took are gone.
TEST_F(QuickDelete, WhatTheTrashRefusedStaysAndIsCounted)
{
    const QString longName = QString(247, u'x') + u".txt"_s; // no room for ".trashinfo"
    const struct {
        const char* name;
        bool trashIsAFile;
        QStringList left;
        QString told;
    } cases[] = {
        {"trashIsAFile", true, {u".h.txt"_s, u"a.txt"_s, u"b.doc"_s, u"r.txt"_s, longName, u"c.txt"_s},
         kStayedPrefix + u"3 個のファイルは削除されずに残っています。\r\n"
                         u"ゴミ箱が使えない場所にあるもの: 3 個"_s},
        {"nameTooLongForItsRecord", false, {u".h.txt"_s, u"b.doc"_s, longName, u"c.txt"_s},
         kStayedPrefix + u"1 個のファイルは削除されずに残っています。\r\n"
                         u"ファイル名が長すぎてゴミ箱に記録できないもの: 1 個"_s},
    };
    const QString lengthy = dir.createFile(u"dir1/"_s + longName, "long");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir data;
        const DataHomeGuard home(data.root());
        if (c.trashIsAFile)
            data.createFile(u"Trash"_s, "not a folder");
        openAndDrop(all() << lengthy);
        window->Check1->setChecked(true);
        typePattern(u"*.txt"_s);
        run();
        EXPECT_EQ(left(), c.left);
        EXPECT_EQ(boxes(), (QStringList{kQuestion, u"ファイルの削除|"_s + c.told}));
        EXPECT_EQ(dialogs.shown.last().style, 48);
        EXPECT_EQ(data.read(u"Trash"_s).isEmpty(), !c.trashIsAFile);
        window.reset();
    }
}

// Deleting needs only the folder's permission: the file's mode and
// attributes, which a second hard link elsewhere shares, stay as they were.
TEST_F(QuickDelete, ASecondHardLinkKeepsItsModeAndAttributes)
{
    const QByteArray link = QFile::encodeName(dir.file(u"dir2/r-again.txt"_s));
    ASSERT_EQ(::link(QFile::encodeName(r).constData(), link.constData()), 0);
    const bool xattrs = userXattrsWork(dir.path());
    if (xattrs) {
        ::chmod(QFile::encodeName(r).constData(), 0644);
        ASSERT_TRUE(fs.writeAttributes(r, platform::Attr::ReadOnly | platform::Attr::Hidden | platform::Attr::System).ok());
    }
    openAndDrop(all());
    chooseTab(1);
    window->Check2[1]->setChecked(true); // read-only, wanted set
    window->Check3[1]->setChecked(true);
    run();
    EXPECT_FALSE(dir.exists(u"dir1/r.txt"_s));
    const QString again = QFile::decodeName(link);
    EXPECT_EQ(statOf(again).st_mode & 0777, 0444u);
    if (xattrs) {
        quint32 attrs = 0;
        ASSERT_TRUE(fs.readAttributes(again, &attrs).ok());
        EXPECT_EQ(attrs & (platform::Attr::ReadOnly | platform::Attr::Hidden | platform::Attr::System),
                  platform::Attr::ReadOnly | platform::Attr::Hidden | platform::Attr::System);
    }
}

TEST_F(QuickDelete, FailedRemoveKeepsTheAttributes)
{
    Faults faults;
    faults.rule = [](const QString& call, const QString&) { return call == u"unlink" ? EACCES : 0; };
    fs.injectErrno = faults.injector();
    openAndDrop(all());
    typePattern(u"r.txt"_s);
    run();
    ASSERT_TRUE(dir.exists(u"dir1/r.txt"_s));
    EXPECT_EQ(statOf(r).st_mode & 0777, 0444u);
}

TEST_F(QuickDelete, LiteralNamesFifosAndLinks)
{
    const QString star = dir.createFile(u"dir1/*.txt"_s, "*");
    const QByteArray fifo = QFile::encodeName(dir.file(u"dir1/pipe.txt"_s));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    const QString target = dir.createFile(u"dir2/target.dat"_s, "T");
    ::chmod(QFile::encodeName(target).constData(), 0444);
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(dir.file(u"dir1/link.txt"_s)).constData()),
              0);
    openAndDrop({star, dir.file(u"dir1/pipe.txt"_s), dir.file(u"dir1/link.txt"_s)});
    typePattern(u"*.txt"_s);
    run();
    // The file named "*.txt" alone, and the link itself.
    EXPECT_FALSE(dir.exists(u"dir1/*.txt"_s));
    EXPECT_FALSE(dir.exists(u"dir1/link.txt"_s));
    EXPECT_TRUE(dir.exists(u"dir1/a.txt"_s));
    EXPECT_TRUE(dir.exists(u"dir1/pipe.txt"_s));
    EXPECT_EQ(dir.read(u"dir2/target.dat"_s), "T");
    EXPECT_EQ(statOf(target).st_mode & 0777, 0444u);

    // Neither the attribute nor the date condition takes the FIFO.
    chooseTab(1);
    window->Check2[0]->setChecked(false);
    window->Check2[1]->setChecked(true); // read-only clear
    run();
    chooseTab(2);
    window->DTPicker1->setDate(QDate(2100, 1, 1));
    window->Option2->setChecked(true);
    run();
    EXPECT_TRUE(dir.exists(u"dir1/pipe.txt"_s));
}

TEST_F(QuickDelete, FoldersAreNeverDeleted)
{
    const QString sub = dir.createDir(u"dir1/sub.txt"_s);
    openAndDrop({sub, a});
    chooseTab(1);
    window->Check2[1]->setChecked(true); // read-only clear: the folder is
    run();
    EXPECT_TRUE(dir.exists(u"dir1/sub.txt"_s));
    EXPECT_FALSE(dir.exists(u"dir1/a.txt"_s));
}

} // namespace
} // namespace tavil::test
