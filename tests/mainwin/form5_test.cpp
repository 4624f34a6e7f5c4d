#include "mainwin/dirlist.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form1.h"
#include "mainwin/form5.h"
#include "mainwin/updown.h"
#include "platform/gui/services.h"
#include "platform/names.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"
#include "tests/common/fakes.h"
#include "tests/common/guifakes.h"
#include "tests/common/tempdir.h"
#include "tests/common/testfs.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tavil::test {
namespace {

using mainwin::Form5;

const QString kSection = u"NumDir"_s;
const QString kNoNameText = u"フォルダ名には次の文字は使えません。\r\n        \\ / : , ; * ? \" < > |\r\n"_s;

// The fields of one series, as the user fills them in.
struct Fields {
    bool range = true;
    QString before;
    QString after;
    QString start = u"0"_s;
    QString end = u"100"_s;
    QString digits = u"1"_s;
    QString step = u"1"_s;
    QString count = u"1"_s;
};

class Form5Test : public ::testing::Test {
protected:
    void SetUp() override { m_windowsBefore = QApplication::topLevelWidgets().size(); }

    void TearDown() override
    {
        dialog.reset();
        EXPECT_EQ(QApplication::topLevelWidgets().size(), m_windowsBefore);
    }

    Form5& open(const QString& parent)
    {
        dialog = std::make_unique<Form5>(services, parent);
        return *dialog;
    }
    Form5& open() { return open(dir.path()); }

    void fill(const Fields& f)
    {
        (f.range ? dialog->Option1 : dialog->Option2)->setChecked(true);
        dialog->Text4->setText(f.before);
        dialog->Text3->setText(f.after);
        dialog->Text2->setText(f.start);
        dialog->Text5->setText(f.end);
        dialog->Text6->setText(f.digits);
        dialog->Text7->setText(f.step);
        dialog->Text8->setText(f.count);
    }

    TempDir dir;
    TestFileSystem fs;
    platform::MemorySettingsStore store;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeDesktop desktop;
    FakeVolumes volumes;
    platform::Services services{fs, store, dialogs, clock, desktop, volumes, QString(), QString()};
    std::unique_ptr<Form5> dialog;

private:
    qsizetype m_windowsBefore = 0;
};

// ---------------------------------------------------------------------------
// The controls.

TEST_F(Form5Test, ControlsCarryTheirNamesAndCaptions)
{
    Form5& d = open();
    EXPECT_EQ(d.objectName(), u"Form5"_s);
    EXPECT_EQ(d.windowTitle(), u"連番付フォルダ作成"_s);
    struct Case {
        QWidget* widget;
        const char* name;
        QString text;
    };
    const Case cases[] = {
        {d.Label1, "Label1", u"作成先："_s},
        {d.Command1, "Command1", u"..."_s},
        {d.Frame1, "Frame1", u"ﾌｫﾙﾀﾞ名"_s},
        {d.Option1, "Option1", u"範囲指定"_s},
        {d.Option2, "Option2", u"個数指定"_s},
        {d.Label2, "Label2", u"開始"_s},
        {d.Label3, "Label3", u"終了"_s},
        {d.Frame2, "Frame2", u"桁数"_s},
        {d.Frame3, "Frame3", u"増加数"_s},
        {d.Frame4, "Frame4", u"個数"_s},
        {d.Command2, "Command2", u"OK"_s},
        {d.Command3, "Command3", u"Cancel"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.widget->objectName(), QString::fromLatin1(c.name));
        QString text;
        if (auto* label = qobject_cast<QLabel*>(c.widget))
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(c.widget))
            text = button->text();
        else if (auto* frame = qobject_cast<QGroupBox*>(c.widget))
            text = frame->title();
        EXPECT_EQ(text, c.text);
    }
    for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "UpDown1",
                             "UpDown2", "UpDown3", "PBar1"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(d.findChild<QWidget*>(QString::fromLatin1(name)), nullptr);
    }
    // The step and count boxes sit in their frames, with their spin buttons.
    EXPECT_EQ(d.Text7->parentWidget(), d.Frame3);
    EXPECT_EQ(d.Text8->parentWidget(), d.Frame4);
    EXPECT_EQ(d.Text6->parentWidget(), d.Frame2);
    EXPECT_EQ(d.Text4->parentWidget(), d.Frame1);
    EXPECT_EQ(d.Text3->parentWidget(), d.Frame1);
}

TEST_F(Form5Test, EachModeEnablesItsOwnBoxes)
{
    Form5& d = open();
    struct Case {
        const char* name;
        bool range;
    };
    const Case cases[] = {{"count", false}, {"range", true}, {"countAgain", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        (c.range ? d.Option1 : d.Option2)->click();
        EXPECT_EQ(d.Label3->isEnabled(), c.range);
        EXPECT_EQ(d.Text5->isEnabled(), c.range);
        EXPECT_EQ(d.Frame4->isEnabled(), !c.range);
        EXPECT_EQ(d.UpDown3->isEnabled(), !c.range);
        EXPECT_EQ(d.Text8->isEnabled(), !c.range);
        // A box that can't be used looks like it: the colour of a button face.
        const QColor white = d.palette().color(QPalette::Active, QPalette::Base);
        const QColor grey = d.palette().color(QPalette::Active, QPalette::Button);
        EXPECT_EQ(d.Text5->palette().color(QPalette::Base), c.range ? white : grey);
        EXPECT_EQ(d.Text8->palette().color(QPalette::Base), c.range ? grey : white);
        // The start counts in both modes.
        EXPECT_TRUE(d.Text2->isEnabled());
        EXPECT_TRUE(d.Label2->isEnabled());
    }
}

TEST_F(Form5Test, DigitBoxesTakeOnlyDigitsAndNeverStayEmptyOrZero)
{
    Form5& d = open();
    d.Option2->click(); // the count box takes keys only in its own mode
    for (QLineEdit* box : {d.Text6, d.Text7, d.Text8}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setText(u"2"_s);
        box->end(false);
        QTest::keyClicks(box, u"a-3.x"_s);
        EXPECT_EQ(box->text(), u"23"_s);
    }
    // The start and the end take any text; a text that is no number is
    // refused when the series is made.
    d.Option1->click();
    QTest::keyClicks(d.Text2, u"x"_s);
    EXPECT_TRUE(d.Text2->text().endsWith(u'x'));
    QTest::keyClicks(d.Text5, u"y"_s);
    EXPECT_TRUE(d.Text5->text().endsWith(u'y'));

    // Digits: at once.
    d.Text6->clear();
    EXPECT_EQ(d.Text6->text(), u"1"_s);
    d.Text6->setText(u"0"_s);
    EXPECT_EQ(d.Text6->text(), u"1"_s);
    d.Text6->setText(u"00"_s);
    EXPECT_EQ(d.Text6->text(), u"00"_s);

    // Step and count: when the box is left.
    struct Case {
        const char* name;
        QLineEdit* box;
        QString typed;
        QString left;
    };
    const Case cases[] = {
        {"stepEmpty", d.Text7, u""_s, u"1"_s},
        {"stepZero", d.Text7, u"0"_s, u"1"_s},
        {"stepDoubleZeroStays", d.Text7, u"00"_s, u"00"_s},
        {"stepNumber", d.Text7, u"4"_s, u"4"_s},
        {"countEmpty", d.Text8, u""_s, u"1"_s},
        {"countZero", d.Text8, u"0"_s, u"1"_s},
        {"countNumber", d.Text8, u"12"_s, u"12"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.box->setText(c.typed);
        EXPECT_EQ(c.box->text(), c.typed); // not before it is left
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(c.box, &out);
        EXPECT_EQ(c.box->text(), c.left);
    }
}

TEST_F(Form5Test, SpinButtonsStayWithinTheirRanges)
{
    Form5& d = open();
    EXPECT_EQ(d.UpDown2->minimum(), 1); // digits
    EXPECT_EQ(d.UpDown1->minimum(), 1); // step
    EXPECT_EQ(d.UpDown3->minimum(), 1); // count
    d.Text7->setText(u"1"_s);
    d.UpDown1->stepDown();
    EXPECT_EQ(d.Text7->text(), u"1"_s);
    d.UpDown1->stepUp();
    EXPECT_EQ(d.Text7->text(), u"2"_s);
}

// ---------------------------------------------------------------------------
// The stored fields.

TEST_F(Form5Test, AFirstOpeningShowsTheDefaultsAndTheMainWindowsFolder)
{
    Form5& d = open(dir.path());
    EXPECT_EQ(d.Text1->text(), dir.path());
    EXPECT_EQ(d.destination(), dir.path());
    EXPECT_EQ(d.Text4->text(), u""_s);
    EXPECT_EQ(d.Text3->text(), u""_s);
    EXPECT_EQ(d.Text2->text(), u"0"_s);
    EXPECT_EQ(d.Text5->text(), u"100"_s);
    EXPECT_EQ(d.Text6->text(), u"1"_s);
    EXPECT_EQ(d.Text7->text(), u"1"_s);
    EXPECT_EQ(d.Text8->text(), u"1"_s);
    EXPECT_TRUE(d.Option1->isChecked());
    EXPECT_TRUE(d.Text5->isEnabled());
    EXPECT_FALSE(d.Text8->isEnabled());
}

TEST_F(Form5Test, TheFieldsAreKeptWhenTheDialogIsClosedByAnyWay)
{
    struct Case {
        const char* name;
        std::function<void(Form5&)> close;
    };
    const Case cases[] = {
        {"cancelButton", [](Form5& d) { d.Command3->click(); }},
        {"closeBox", [](Form5& d) { d.reject(); }},
        {"takenDownWithItsOwner", [](Form5&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store = platform::MemorySettingsStore();
        open();
        fill({false, u"img"_s, u"_a"_s, u"7"_s, u"9"_s, u"3"_s, u"2"_s, u"5"_s});
        c.close(*dialog);
        dialog.reset();
        EXPECT_EQ(store.read(kSection, u"strL"_s), u"img"_s);
        EXPECT_EQ(store.read(kSection, u"strR"_s), u"_a"_s);
        EXPECT_EQ(store.read(kSection, u"Num1"_s), u"7"_s);
        EXPECT_EQ(store.read(kSection, u"Num2"_s), u"9"_s);
        EXPECT_EQ(store.read(kSection, u"Format"_s), u"3"_s);
        EXPECT_EQ(store.read(kSection, u"Up"_s), u"2"_s);
        EXPECT_EQ(store.read(kSection, u"Pice"_s), u"5"_s);
        EXPECT_EQ(store.read(kSection, u"Opt"_s), u"False"_s);
    }

    // ... and come back at the next opening; the destination does not.
    Form5& d = open(u"/elsewhere"_s);
    EXPECT_EQ(d.Text1->text(), u"/elsewhere"_s);
    EXPECT_EQ(d.Text4->text(), u"img"_s);
    EXPECT_EQ(d.Text3->text(), u"_a"_s);
    EXPECT_EQ(d.Text2->text(), u"7"_s);
    EXPECT_EQ(d.Text5->text(), u"9"_s);
    EXPECT_EQ(d.Text6->text(), u"3"_s);
    EXPECT_EQ(d.Text7->text(), u"2"_s);
    EXPECT_EQ(d.Text8->text(), u"5"_s);
    EXPECT_TRUE(d.Option2->isChecked());
    EXPECT_TRUE(d.Text8->isEnabled());
}

TEST_F(Form5Test, AStoredModeThatIsNoFlagMeansTheRange)
{
    struct Case {
        const char* stored;
        bool range;
    };
    const Case cases[] = {{"True", true}, {"false", false}, {"0", false}, {"junk", true}, {"", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        store.write(kSection, u"Opt"_s, QString::fromLatin1(c.stored));
        open();
        EXPECT_EQ(dialog->Option1->isChecked(), c.range);
        EXPECT_EQ(dialog->Option2->isChecked(), !c.range);
        dialog.reset();
    }
}

// ---------------------------------------------------------------------------
// The series the fields make.

TEST_F(Form5Test, FieldsMakeTheseNames)
{
    struct Case {
        const char* name;
        Fields fields;
        QStringList names;
    };
    const Case cases[] = {
        {"rangeStepThreeTwoDigits", {true, u""_s, u""_s, u"1"_s, u"10"_s, u"2"_s, u"3"_s, u"1"_s},
         {u"01"_s, u"04"_s, u"07"_s, u"10"_s}},
        {"rangeStepPastTheEnd", {true, u""_s, u""_s, u"1"_s, u"10"_s, u"1"_s, u"4"_s, u"1"_s},
         {u"1"_s, u"5"_s, u"9"_s}},
        {"countGrowsPastTheDigits", {false, u""_s, u""_s, u"8"_s, u"999"_s, u"1"_s, u"2"_s, u"3"_s},
         {u"8"_s, u"10"_s, u"12"_s}},
        {"textsAroundThePaddedNumber", {false, u"img"_s, u"_a"_s, u"7"_s, u"0"_s, u"3"_s, u"1"_s, u"1"_s},
         {u"img007_a"_s}},
        {"negativeStart", {true, u"n"_s, u""_s, u"-2"_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s},
         {u"n-02"_s, u"n-01"_s, u"n00"_s, u"n01"_s}},
        {"fractionsCountTheirWholePart", {true, u""_s, u""_s, u"1.7"_s, u" 3 "_s, u"1"_s, u"1"_s, u"1"_s},
         {u"1"_s, u"2"_s, u"3"_s}},
        {"japaneseTextsAndDotsInside", {false, u"第"_s, u"回.bak"_s, u"1"_s, u""_s, u"2"_s, u"1"_s, u"2"_s},
         {u"第01回.bak"_s, u"第02回.bak"_s}},
        {"trailingDotsAndBlanksAreDropped", {false, u"x"_s, u". ."_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"1"_s},
         {u"x1"_s}},
        {"twoDotsBeforeTheNumberAreAPlainName", {false, u".."_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"1"_s},
         {u"..1"_s}},
        {"backslashIsAPlainCharacterHere", {false, u"a\\"_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"1"_s},
         {u"a\\1"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        fill(c.fields);
        QString error;
        const QStringList names = dialog->seriesNames(&error);
        EXPECT_EQ(error, u""_s);
        EXPECT_EQ(names, c.names);
        dialog.reset();
    }
}

TEST_F(Form5Test, TheLargestSeriesIsTenThousandFolders)
{
    struct Case {
        const char* name;
        Fields fields;
        QString last;
    };
    const Case cases[] = {
        {"count", {false, u""_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"10000"_s}, u"10000"_s},
        {"range", {true, u""_s, u""_s, u"0"_s, u"9999"_s, u"4"_s, u"1"_s, u"1"_s}, u"9999"_s},
        {"rangeWithAStep", {true, u""_s, u""_s, u"0"_s, u"29999"_s, u"1"_s, u"3"_s, u"1"_s}, u"29997"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        open();
        fill(c.fields);
        QString error;
        const QStringList names = dialog->seriesNames(&error);
        EXPECT_EQ(error, u""_s);
        ASSERT_EQ(names.size(), 10000);
        EXPECT_EQ(names.last(), c.last);
        dialog.reset();
    }
}

TEST_F(Form5Test, FieldsThatMakeNoSensibleSeriesAreRefusedBeforeAnythingIsMade)
{
    const QString badRange = u"範囲を指定し直してください。"_s;
    const QString badStep = u"増加数には 1 以上の数を指定してください。"_s;
    const QString tooMany = u"一度に作成できるフォルダは 10000 個までです。\r\n範囲または個数を指定し直してください。"_s;
    const QString noNumber = u"ｴﾗｰ番号  13 でｴﾗｰが発生しました。\r型が一致しません。"_s;
    struct Case {
        const char* name;
        Fields fields;
        QString text;
        QString title;
    };
    const Case cases[] = {
        {"rangeOfOneNumber", {true, u""_s, u""_s, u"5"_s, u"5"_s, u"1"_s, u"1"_s, u"1"_s}, badRange, u"不正な範囲"_s},
        {"rangeBackwards", {true, u""_s, u""_s, u"9"_s, u"3"_s, u"1"_s, u"1"_s, u"1"_s}, badRange, u"不正な範囲"_s},
        {"rangeStepZero", {true, u""_s, u""_s, u"1"_s, u"10"_s, u"1"_s, u"0"_s, u"1"_s}, badStep, u"不正な範囲"_s},
        {"countStepDoubleZero", {false, u""_s, u""_s, u"1"_s, u""_s, u"1"_s, u"00"_s, u"3"_s}, badStep,
         u"不正な範囲"_s},
        {"countZero", {false, u""_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"0"_s}, badRange, u"不正な範囲"_s},
        {"countMistyped", {false, u""_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"10001"_s}, tooMany,
         u"不正な範囲"_s},
        {"countNearTheLimitOfNumbers", {false, u""_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"2147483647"_s}, tooMany,
         u"不正な範囲"_s},
        {"rangeTooWide", {true, u""_s, u""_s, u"0"_s, u"10000"_s, u"1"_s, u"1"_s, u"1"_s}, tooMany, u"不正な範囲"_s},
        {"rangeOfAllNumbers", {true, u""_s, u""_s, u"-2147483648"_s, u"2147483647"_s, u"1"_s, u"1"_s, u"1"_s},
         tooMany, u"不正な範囲"_s},
        {"tooManyDigits", {true, u""_s, u""_s, u"1"_s, u"2"_s, u"256"_s, u"1"_s, u"1"_s},
         u"桁数が大きすぎます。255 桁までにしてください。"_s, u"不正な範囲"_s},
        {"slashBefore", {true, u"a/"_s, u""_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s, u"1"_s}, kNoNameText + u"a/1"_s,
         u"連番付きﾌｫﾙﾀﾞの作成"_s},
        {"parentFolderBefore", {true, u"../x"_s, u""_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s, u"1"_s},
         kNoNameText + u"../x1"_s, u"連番付きﾌｫﾙﾀﾞの作成"_s},
        {"parentFolderAfter", {true, u""_s, u"/.."_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s, u"1"_s},
         kNoNameText + u"1/.."_s, u"連番付きﾌｫﾙﾀﾞの作成"_s},
        {"controlCharacter", {false, u"a\tb"_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"1"_s},
         kNoNameText + u"a␉b1"_s, u"連番付きﾌｫﾙﾀﾞの作成"_s},
        {"startNoNumber", {true, u""_s, u""_s, u"abc"_s, u"5"_s, u"1"_s, u"1"_s, u"1"_s}, noNumber, u"ｴﾗｰ"_s},
        {"endNoNumber", {true, u""_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"1"_s}, noNumber, u"ｴﾗｰ"_s},
        {"stepNoNumber", {true, u""_s, u""_s, u"1"_s, u"5"_s, u"1"_s, u""_s, u"1"_s}, noNumber, u"ｴﾗｰ"_s},
        {"startTooLarge", {true, u""_s, u""_s, u"99999999999"_s, u"5"_s, u"1"_s, u"1"_s, u"1"_s},
         u"ｴﾗｰ番号  6 でｴﾗｰが発生しました。\rオーバーフローしました。"_s, u"ｴﾗｰ"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        desktop.beeps = 0;
        store = platform::MemorySettingsStore();
        open();
        fill(c.fields);
        EXPECT_FALSE(dialog->Command2_Click());
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, c.text);
        EXPECT_EQ(dialogs.shown[0].title, c.title);
        EXPECT_EQ(dialogs.shown[0].style, 16);
        EXPECT_EQ(desktop.beeps, 0);
        EXPECT_EQ(dir.list(), QStringList());
        // A refusal does not close the dialog (closing would keep the fields).
        EXPECT_FALSE(store.value(kSection, u"strL"_s).has_value());
        dialog.reset();
    }
    // Nothing above the destination either.
    EXPECT_FALSE(QFileInfo::exists(dir.path() + u"/../x1"_s));
}

// ---------------------------------------------------------------------------
// Making the folders.

TEST_F(Form5Test, ARangeIsMadeInTheDestinationAndTheDialogStaysOpen)
{
    open();
    fill({true, u"d"_s, u""_s, u"1"_s, u"10"_s, u"2"_s, u"3"_s, u"1"_s});
    QSignalSpy made(dialog.get(), &Form5::foldersMade);
    EXPECT_TRUE(dialog->Command2_Click());
    EXPECT_EQ(dir.list(), (QStringList{u"d01"_s, u"d04"_s, u"d07"_s, u"d10"_s}));
    for (const QString& name : dir.list())
        EXPECT_TRUE(QFileInfo(dir.file(name)).isDir()) << name.toStdString();
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(desktop.beeps, 1);
    EXPECT_EQ(made.size(), 1);
    EXPECT_EQ(dialog->PBar1->value(), 0);

    // A second series from the same dialog.
    dialog->Option2->click();
    fill({false, u"c"_s, u"x"_s, u"8"_s, u""_s, u"1"_s, u"2"_s, u"3"_s});
    EXPECT_TRUE(dialog->Command2_Click());
    EXPECT_EQ(dir.list(), (QStringList{u"c10x"_s, u"c12x"_s, u"c8x"_s, u"d01"_s, u"d04"_s, u"d07"_s, u"d10"_s}));
    EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(Form5Test, FoldersAlreadyThereArePassedOverAndTheRestMade)
{
    dir.createDir(u"f2"_s);
    dir.createFile(u"f2/kept.txt"_s, "x");
    open();
    fill({true, u"f"_s, u""_s, u"1"_s, u"3"_s, u"1"_s, u"1"_s, u"1"_s});
    EXPECT_TRUE(dialog->Command2_Click());
    EXPECT_EQ(dir.list(), (QStringList{u"f1"_s, u"f2"_s, u"f3"_s}));
    EXPECT_EQ(dir.read(u"f2/kept.txt"_s), QByteArray("x"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(desktop.beeps, 1);

    // All of them there: nothing to say, nothing new to show.
    QSignalSpy made(dialog.get(), &Form5::foldersMade);
    EXPECT_TRUE(dialog->Command2_Click());
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(made.size(), 0);
    EXPECT_EQ(desktop.beeps, 2);
}

TEST_F(Form5Test, FailuresSayWhichFolderAndWhyAndStopTheSeries)
{
    struct Case {
        const char* name;
        int failAt; // the folder of the series whose mkdir fails (1-based), 0: none
        int sysErrno;
        QString text;
        QStringList left;
    };
    const Case cases[] = {
        {"noPermission", 1, EACCES, u"フォルダ「g1」を作成できませんでした。\r\n作成先のフォルダに書き込む権限がありません。"_s, {}},
        {"readOnlyDisk", 1, EROFS, u"フォルダ「g1」を作成できませんでした。\r\n作成先は読み取り専用です。"_s, {}},
        {"diskFullHalfway", 3, ENOSPC,
         u"フォルダ「g3」を作成できませんでした。\r\nディスクの空き容量が不足しています。\r\n作成済みの 2 個のフォルダはそのまま残ります。"_s,
         {u"g1"_s, u"g2"_s}},
        {"nameTooLong", 2, ENAMETOOLONG,
         u"フォルダ「g2」を作成できませんでした。\r\nフォルダ名が長すぎます。\r\n作成済みの 1 個のフォルダはそのまま残ります。"_s,
         {u"g1"_s}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir target;
        int calls = 0;
        fs.injectErrno = [&](const char* call, const QString&) {
            if (QByteArray(call) != "mkdir")
                return 0;
            ++calls;
            return calls == c.failAt ? c.sysErrno : 0;
        };
        dialogs.shown.clear();
        desktop.beeps = 0;
        open(target.path());
        fill({false, u"g"_s, u""_s, u"1"_s, u""_s, u"1"_s, u"1"_s, u"4"_s});
        QSignalSpy made(dialog.get(), &Form5::foldersMade);
        EXPECT_FALSE(dialog->Command2_Click());
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, c.text);
        EXPECT_EQ(dialogs.shown[0].title, u"連番付きﾌｫﾙﾀﾞの作成"_s);
        EXPECT_EQ(dialogs.shown[0].style, 16);
        EXPECT_EQ(calls, c.failAt); // the series stops at the failure
        EXPECT_EQ(target.list(), c.left);
        EXPECT_EQ(desktop.beeps, 0); // no sign of success
        EXPECT_EQ(made.size(), c.left.isEmpty() ? 0 : 1);
        dialog.reset();
        fs.injectErrno = nullptr;
    }
}

TEST_F(Form5Test, AReadOnlyDestinationIsNotTakenForSuccess)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder";
    const QString locked = dir.createDir(u"locked"_s);
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0555), 0);
    open(locked);
    fill({true, u""_s, u""_s, u"1"_s, u"3"_s, u"1"_s, u"1"_s, u"1"_s});
    EXPECT_FALSE(dialog->Command2_Click());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              u"フォルダ「1」を作成できませんでした。\r\n作成先のフォルダに書き込む権限がありません。"_s);
    EXPECT_EQ(desktop.beeps, 0);
    ::chmod(QFile::encodeName(locked).constData(), 0755);
}

TEST_F(Form5Test, ADestinationThatIsNotThereOrNotAFolderIsReported)
{
    const QString file = dir.createFile(u"plain.txt"_s, "x");
    struct Case {
        const char* name;
        QString destination;
        QString text;
    };
    const Case cases[] = {
        {"missing", dir.file(u"gone"_s),
         u"フォルダ「1」を作成できませんでした。\r\n作成先のフォルダが見つかりません。\r\n"_s + dir.file(u"gone"_s)},
        {"aFile", file,
         u"フォルダ「1」を作成できませんでした。\r\n作成先のフォルダが見つかりません。\r\n"_s + file},
        {"relative", u"sub"_s, u"作成先のフォルダが見つかりません。\r\nsub"_s},
        {"empty", u""_s, u"作成先のフォルダが見つかりません。\r\n"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        open(c.destination);
        fill({true, u""_s, u""_s, u"1"_s, u"3"_s, u"1"_s, u"1"_s, u"1"_s});
        EXPECT_FALSE(dialog->Command2_Click());
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].text, c.text);
        EXPECT_EQ(dialogs.shown[0].title, u"連番付きﾌｫﾙﾀﾞの作成"_s);
        EXPECT_EQ(desktop.beeps, 0);
        EXPECT_EQ(dir.list(), QStringList{u"plain.txt"_s});
        dialog.reset();
    }
}

TEST_F(Form5Test, AFileOrALinkInThePlaceOfAFolderStopsTheSeries)
{
    const QString elsewhere = dir.createDir(u"elsewhere"_s);
    TempDir target;
    target.createFile(u"h2"_s, "file");
    ASSERT_EQ(::symlink(QFile::encodeName(elsewhere).constData(), QFile::encodeName(target.file(u"h4"_s)).constData()),
              0);
    open(target.path());
    fill({true, u"h"_s, u""_s, u"1"_s, u"4"_s, u"1"_s, u"1"_s, u"1"_s});
    EXPECT_FALSE(dialog->Command2_Click());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              u"フォルダ「h2」を作成できませんでした。\r\n同じ名前のファイルがあります。\r\n作成済みの 1 個のフォルダはそのまま残ります。"_s);
    EXPECT_EQ(target.list(), (QStringList{u"h1"_s, u"h2"_s, u"h4"_s}));
    EXPECT_EQ(target.read(u"h2"_s), QByteArray("file"));

    // With the file gone, the link is the one in the way.
    ASSERT_TRUE(QFile::remove(target.file(u"h2"_s)));
    dialogs.shown.clear();
    EXPECT_FALSE(dialog->Command2_Click());
    ASSERT_EQ(dialogs.shown.size(), 1);
    EXPECT_EQ(dialogs.shown[0].text,
              u"フォルダ「h4」を作成できませんでした。\r\n同じ名前のファイルがあります。\r\n作成済みの 2 個のフォルダはそのまま残ります。"_s);
    EXPECT_EQ(QDir(elsewhere).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

TEST_F(Form5Test, TheProgressBarCountsTheFoldersOfTheSeries)
{
    open();
    // A range below zero: the bar runs by the count of folders.
    fill({true, u"p"_s, u""_s, u"-30"_s, u"-10"_s, u"1"_s, u"10"_s, u"1"_s});
    QList<int> values;
    QObject::connect(dialog->PBar1, &QProgressBar::valueChanged, dialog.get(), [&](int v) { values.append(v); });
    EXPECT_TRUE(dialog->Command2_Click());
    EXPECT_EQ(dialog->PBar1->maximum(), 3);
    EXPECT_EQ(values, (QList<int>{1, 2, 3, 0}));
    EXPECT_EQ(dir.list(), (QStringList{u"p-10"_s, u"p-20"_s, u"p-30"_s}));
}

// ---------------------------------------------------------------------------
// The destination.

TEST_F(Form5Test, ThePickerChangesTheDestinationAndCancellingKeepsIt)
{
    TempDir other;
    Form5& d = open();
    desktop.folders = {other.path()};
    d.Command1->click();
    ASSERT_EQ(desktop.pickerTitles.size(), 1);
    EXPECT_EQ(desktop.pickerTitles[0], u"連番付きフォルダを作成するフォルダを指定してください"_s);
    EXPECT_EQ(d.Text1->text(), other.path());
    EXPECT_EQ(d.destination(), other.path());

    desktop.folders = {u""_s}; // cancelled
    d.Command1->click();
    EXPECT_EQ(d.Text1->text(), other.path());

    fill({true, u""_s, u""_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s, u"1"_s});
    EXPECT_TRUE(d.Command2_Click());
    EXPECT_EQ(other.list(), (QStringList{u"1"_s, u"2"_s}));
    EXPECT_EQ(dir.list(), QStringList());
}

TEST_F(Form5Test, ATypedDestinationIsUsed)
{
    const QString sub = dir.createDir(u"typed"_s);
    Form5& d = open();
    d.Text1->selectAll();
    QTest::keyClicks(d.Text1, sub);
    EXPECT_EQ(d.destination(), sub);
    fill({true, u""_s, u""_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s, u"1"_s});
    EXPECT_TRUE(d.Command2_Click());
    EXPECT_EQ(dir.list(u"typed"_s), (QStringList{u"1"_s, u"2"_s}));
}

TEST_F(Form5Test, ADestinationWithBytesThatAreNotUtf8IsUsedAsItIs)
{
    // The raw name of a folder whose name is the Latin-1 byte E9.
    const QByteArray raw = QFile::encodeName(dir.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(raw.constData(), 0755), 0);
    QString rawName;
    {
        QList<platform::DirEntry> entries;
        ASSERT_TRUE(fs.listDir(dir.path(), &entries).ok());
        ASSERT_EQ(entries.size(), 1);
        rawName = platform::joinPath(dir.path(), entries[0].name);
    }
    Form5& d = open(rawName);
    EXPECT_EQ(d.Text1->text(), dir.path() + u"/caf\\xE9"_s);
    fill({true, u""_s, u""_s, u"1"_s, u"2"_s, u"1"_s, u"1"_s, u"1"_s});
    EXPECT_TRUE(d.Command2_Click());
    struct stat st {};
    EXPECT_EQ(::stat((raw + "/1").constData(), &st), 0);
    EXPECT_EQ(::stat((raw + "/2").constData(), &st), 0);
}

// ---------------------------------------------------------------------------
// Opened from the main window.

TEST(Form5InWindow, TheMainWindowsFolderListShowsTheNewFolders)
{
    const qsizetype before = QApplication::topLevelWidgets().size();
    {
        TempDir home;
        TempDir dir;
        TempDir data;
        TestFileSystem fs;
        platform::MemorySettingsStore store;
        FakeDialogs dialogs;
        FakeClock clock;
        FakeDesktop desktop;
        FakeVolumes volumes;
        platform::Services services{fs, store, dialogs, clock, desktop, volumes, data.file(u"errlog"_s), home.path()};
        namespace S = support::settings;
        store.write(QString::fromLatin1(S::Setting::Section), QString::fromLatin1(S::Setting::Dir), dir.path());
        mainwin::Form1 form(services, QString());
        ASSERT_TRUE(form.Form_Load());
        form.Timer1_Timer();
        ASSERT_EQ(form.browser().path(), dir.path());

        const auto shown = [&] {
            QStringList out;
            const mainwin::DirList* list = form.browser().Dir1;
            for (int row = 0; row < list->count(); ++row)
                out.append(list->entryPath(row));
            return out;
        };
        EXPECT_FALSE(shown().contains(dir.file(u"n1"_s)));
        {
            Form5 d(services, form.browser().path(), &form);
            d.Option2->setChecked(true);
            d.Text4->setText(u"n"_s);
            d.Text8->setText(u"2"_s);
            d.Text2->setText(u"1"_s);
            EXPECT_TRUE(d.Command2_Click());
        }
        EXPECT_TRUE(shown().contains(dir.file(u"n1"_s)));
        EXPECT_TRUE(shown().contains(dir.file(u"n2"_s)));
    }
    EXPECT_EQ(QApplication::topLevelWidgets().size(), before);
}

} // namespace
} // namespace tavil::test
