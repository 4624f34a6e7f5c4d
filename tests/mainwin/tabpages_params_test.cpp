// What the tabs hand to the operations, and the settings they keep.

#include "tests/mainwin/tabpagesfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTimeEdit>

namespace tavil::test {
namespace {

template <typename P>
P gathered(const mainwin::TabPages* pages, engine::Tab tab)
{
    const engine::OperationParams params = pages->gather(tab);
    EXPECT_TRUE(std::holds_alternative<P>(params));
    return std::holds_alternative<P>(params) ? std::get<P>(params) : P{};
}

// ---- Parameters ----

TEST_F(TabPagesTest, NumberingParametersAreTheBoxesAsTyped)
{
    const auto atStart = gathered<engine::AddNumParams>(pages, engine::Tab::AddNum);
    EXPECT_EQ(atStart.NumPrefix, QString());
    EXPECT_EQ(atStart.NumSuffix, QString());
    EXPECT_EQ(atStart.StartNumber, QStringLiteral("0"));
    EXPECT_EQ(atStart.Step, QStringLiteral("1"));
    EXPECT_EQ(atStart.Digits, QStringLiteral("1"));
    EXPECT_FALSE(atStart.UnifyName);
    EXPECT_EQ(atStart.UnifiedName, QString());
    EXPECT_FALSE(atStart.UnifyExtension);
    EXPECT_EQ(atStart.UnifiedExtension, QString());
    EXPECT_EQ(atStart.NumberShape, 1);

    pages->Text1->setText(QStringLiteral("_"));
    pages->Text3->setText(QStringLiteral("x"));
    pages->Text2->setText(QStringLiteral("007"));
    pages->Text7->setText(QStringLiteral("0")); // the operation refuses it, with its message
    pages->Text6->setText(QStringLiteral("00"));
    pages->Check5->setChecked(true);
    pages->Text4->setEditText(QStringLiteral("photo"));
    pages->Check6->setChecked(true);
    pages->Text5->setEditText(QStringLiteral("jpg"));
    pages->Option2->setChecked(true);
    const auto p = gathered<engine::AddNumParams>(pages, engine::Tab::AddNum);
    EXPECT_EQ(p.NumPrefix, QStringLiteral("_"));
    EXPECT_EQ(p.NumSuffix, QStringLiteral("x"));
    EXPECT_EQ(p.StartNumber, QStringLiteral("007"));
    EXPECT_EQ(p.Step, QStringLiteral("0"));
    EXPECT_EQ(p.Digits, QStringLiteral("00"));
    EXPECT_TRUE(p.UnifyName);
    EXPECT_EQ(p.UnifiedName, QStringLiteral("photo"));
    EXPECT_TRUE(p.UnifyExtension);
    EXPECT_EQ(p.UnifiedExtension, QStringLiteral("jpg"));
    EXPECT_EQ(p.NumberShape, 2);

    pages->Option3->setChecked(true);
    const auto third = gathered<engine::AddNumParams>(pages, engine::Tab::AddNum);
    EXPECT_EQ(third.NumberShape, 3);
    EXPECT_FALSE(third.UnifyExtension);
}

TEST_F(TabPagesTest, ExtensionParametersFollowTheMode)
{
    struct Row {
        QRadioButton* option;
        engine::ChangeKakuParams::Mode mode;
    };
    pages->Text8->setEditText(QStringLiteral(".TXT"));
    const Row rows[] = {{pages->OptKaku2, engine::ChangeKakuParams::Mode::Delete},
                        {pages->OptKaku3, engine::ChangeKakuParams::Mode::Join},
                        {pages->OptKaku1, engine::ChangeKakuParams::Mode::Change}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.option->objectName().toStdString());
        r.option->setChecked(true);
        const auto p = gathered<engine::ChangeKakuParams>(pages, engine::Tab::Kaku);
        EXPECT_EQ(p.ExtensionMode, r.mode);
        EXPECT_EQ(p.NewExtension, QStringLiteral(".TXT"));
    }
}

TEST_F(TabPagesTest, EditParametersAreEveryBoxOfThePage)
{
    using P = engine::FNameEditParams;
    const auto atStart = gathered<P>(pages, engine::Tab::Edit);
    EXPECT_EQ(atStart.EditMode, P::Mode::Add);
    EXPECT_EQ(atStart.EditPosition, QStringLiteral("1"));
    EXPECT_EQ(atStart.PositionFrom, P::From::Front);
    EXPECT_TRUE(atStart.UsePosition);
    EXPECT_EQ(atStart.EditText, QString());
    EXPECT_EQ(atStart.ReplaceText, QString());
    EXPECT_EQ(atStart.DeleteCount, QStringLiteral("1"));
    EXPECT_EQ(atStart.DeleteDirection, P::Direction::Right);

    pages->Option8[1]->setChecked(true);
    pages->Check12->setChecked(true);
    pages->Text9->setText(QStringLiteral("12"));
    pages->Option9[1]->setChecked(true);
    pages->Text10->setEditText(QStringLiteral("old"));
    pages->Text11->setEditText(QStringLiteral("new"));
    pages->Text12->setText(QStringLiteral("3"));
    pages->Option10[1]->setChecked(true);
    const auto p = gathered<P>(pages, engine::Tab::Edit);
    EXPECT_EQ(p.EditMode, P::Mode::Replace);
    EXPECT_EQ(p.EditPosition, QStringLiteral("12"));
    EXPECT_EQ(p.PositionFrom, P::From::Back);
    EXPECT_TRUE(p.UsePosition);
    EXPECT_EQ(p.EditText, QStringLiteral("old"));
    EXPECT_EQ(p.ReplaceText, QStringLiteral("new"));
    EXPECT_EQ(p.DeleteCount, QStringLiteral("3"));
    EXPECT_EQ(p.DeleteDirection, P::Direction::Left);

    pages->Option8[2]->setChecked(true);
    EXPECT_EQ(gathered<P>(pages, engine::Tab::Edit).EditMode, P::Mode::Delete);
    pages->Option8[1]->setChecked(true);
    EXPECT_FALSE(gathered<P>(pages, engine::Tab::Edit).UsePosition);
}

TEST_F(TabPagesTest, ConversionParametersAreEveryBoxOfThePage)
{
    const auto atStart = gathered<engine::FNameConvParams>(pages, engine::Tab::Conv);
    EXPECT_FALSE(atStart.ConvertName);
    EXPECT_EQ(atStart.NameCase, 0);
    EXPECT_FALSE(atStart.ConvertExtension);
    EXPECT_EQ(atStart.ExtensionCase, 0);
    EXPECT_FALSE(atStart.ConvertWidth);
    EXPECT_EQ(atStart.WidthTarget, 0);
    EXPECT_TRUE(atStart.WidthKana);
    EXPECT_TRUE(atStart.WidthAlnum);
    EXPECT_FALSE(atStart.ConvertKana);
    EXPECT_EQ(atStart.KanaTarget, 0);

    for (QCheckBox* box : {pages->Check7, pages->Check8, pages->Check9, pages->Check10})
        box->setChecked(true);
    pages->Option4[2]->setChecked(true);
    pages->Option5[1]->setChecked(true);
    pages->Option6[1]->setChecked(true);
    pages->chkHalf1->setChecked(false);
    pages->Option7[1]->setChecked(true);
    const auto p = gathered<engine::FNameConvParams>(pages, engine::Tab::Conv);
    EXPECT_TRUE(p.ConvertName);
    EXPECT_EQ(p.NameCase, 2);
    EXPECT_TRUE(p.ConvertExtension);
    EXPECT_EQ(p.ExtensionCase, 1);
    EXPECT_TRUE(p.ConvertWidth);
    EXPECT_EQ(p.WidthTarget, 1);
    EXPECT_FALSE(p.WidthKana);
    EXPECT_TRUE(p.WidthAlnum);
    EXPECT_TRUE(p.ConvertKana);
    EXPECT_EQ(p.KanaTarget, 1);

    pages->Option4[1]->setChecked(true);
    pages->chkHalf2->setChecked(false);
    const auto q = gathered<engine::FNameConvParams>(pages, engine::Tab::Conv);
    EXPECT_EQ(q.NameCase, 1);
    EXPECT_FALSE(q.WidthAlnum);
}

TEST_F(TabPagesTest, TimeStampParametersAreBothPages)
{
    pages->loadSettings(QDateTime(QDate(2003, 3, 31), QTime(9, 5, 7)));
    const auto atStart = gathered<engine::SetTimeStampParams>(pages, engine::Tab::TimeStamp);
    EXPECT_FALSE(atStart.TimeToName);
    EXPECT_TRUE(atStart.TimeSource);
    EXPECT_FALSE(atStart.UseYear || atStart.UseMonth || atStart.UseDay || atStart.UseHour || atStart.UseMinute
                 || atStart.UseSecond);
    EXPECT_EQ(atStart.YearDigits, 0);
    EXPECT_EQ(atStart.DateSeparator, QStringLiteral("-"));
    EXPECT_EQ(atStart.DateTimeSeparator, QStringLiteral("_"));
    EXPECT_EQ(atStart.TimeSeparator, QStringLiteral("-"));
    EXPECT_EQ(atStart.TextBeforeTime, QStringLiteral("("));
    EXPECT_EQ(atStart.TextAfterTime, QStringLiteral(")"));
    EXPECT_FALSE(atStart.AddToName);
    EXPECT_TRUE(atStart.AddPosition);
    EXPECT_FALSE(atStart.NumberOnClash);
    EXPECT_FALSE(atStart.SetCreationTime || atStart.SetWriteTime || atStart.SetAccessTime);
    const QDateTime started(QDate(2003, 3, 31), QTime(9, 5, 7));
    EXPECT_EQ(atStart.NewCreationTime, started);
    EXPECT_EQ(atStart.NewWriteTime, started);
    EXPECT_EQ(atStart.NewAccessTime, started);

    pages->Check18->setChecked(true);
    pages->OptTimeRenew->setChecked(true);
    for (QCheckBox* part : {pages->ChkYear, pages->ChkMonth, pages->ChkDay, pages->ChkHour, pages->ChkMin,
                            pages->ChkSec})
        part->setChecked(true);
    pages->Option15[1]->setChecked(true);
    pages->Combo6->setEditText(QStringLiteral("年月日"));
    pages->Combo7->setEditText(QStringLiteral("T"));
    pages->Combo8->setEditText(QStringLiteral("."));
    pages->Combo9->setEditText(QStringLiteral("["));
    pages->Combo10->setEditText(QStringLiteral("]"));
    pages->Check20->setChecked(true);
    pages->Option17->setChecked(true);
    pages->Check19->setChecked(true);
    pages->Check2->setChecked(true);
    pages->Check4->setChecked(true);
    pages->DTPicker1->setDate(QDate(2001, 2, 3));
    pages->DTPicker2->setTime(QTime(4, 5, 6));
    pages->DTPicker3->setDate(QDate(1999, 12, 31));
    pages->DTPicker4->setTime(QTime(23, 59, 59));
    pages->DTPicker5->setDate(QDate(2010, 10, 10));
    const auto p = gathered<engine::SetTimeStampParams>(pages, engine::Tab::TimeStamp);
    EXPECT_TRUE(p.TimeToName);
    EXPECT_FALSE(p.TimeSource);
    EXPECT_TRUE(p.UseYear && p.UseMonth && p.UseDay && p.UseHour && p.UseMinute && p.UseSecond);
    EXPECT_EQ(p.YearDigits, 1);
    EXPECT_EQ(p.DateSeparator, QStringLiteral("年月日"));
    EXPECT_EQ(p.DateTimeSeparator, QStringLiteral("T"));
    EXPECT_EQ(p.TimeSeparator, QStringLiteral("."));
    EXPECT_EQ(p.TextBeforeTime, QStringLiteral("["));
    EXPECT_EQ(p.TextAfterTime, QStringLiteral("]"));
    EXPECT_TRUE(p.AddToName);
    EXPECT_FALSE(p.AddPosition);
    EXPECT_TRUE(p.NumberOnClash);
    EXPECT_TRUE(p.SetCreationTime);
    EXPECT_FALSE(p.SetWriteTime);
    EXPECT_TRUE(p.SetAccessTime);
    EXPECT_EQ(p.NewCreationTime, QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6)));
    EXPECT_EQ(p.NewWriteTime, QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)));
    // The access time's own time box is never shown: it keeps start-up's.
    EXPECT_EQ(p.NewAccessTime, QDateTime(QDate(2010, 10, 10), QTime(9, 5, 7)));
}

TEST_F(TabPagesTest, AttributeParametersPairEachBoxWithItsChoice)
{
    const auto atStart = gathered<engine::SetAttributeParams>(pages, engine::Tab::Attribute);
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(atStart.AttributeChange[k]) << k;
        EXPECT_TRUE(atStart.AttributeValue[k]) << k;
    }
    pages->Check11[1]->setChecked(true);
    pages->Check11[3]->setChecked(true);
    pages->Opt1_0->setChecked(true);
    pages->Opt2_0->setChecked(true);
    const auto p = gathered<engine::SetAttributeParams>(pages, engine::Tab::Attribute);
    const bool change[] = {false, true, false, true};
    const bool value[] = {true, false, false, true};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(p.AttributeChange[k], change[k]);
        EXPECT_EQ(p.AttributeValue[k], value[k]);
    }
}

TEST_F(TabPagesTest, ImportParametersTakeTheRawNamesOfTheList)
{
    const auto atStart = gathered<engine::FNameImportParams>(pages, engine::Tab::Import);
    EXPECT_TRUE(atStart.ImportNames.isEmpty());
    EXPECT_TRUE(atStart.ExtensionRule);
    EXPECT_EQ(atStart.ImportExtension, QStringLiteral("ﾘｽﾄと同じ"));

    pages->List4->addItem(QStringLiteral("one.txt"));
    auto* shownOtherwise = new QListWidgetItem(QStringLiteral("two␍␊lines"));
    shownOtherwise->setData(Qt::UserRole, QStringLiteral("two\r\nlines"));
    pages->List4->addItem(shownOtherwise);
    pages->List4->addItem(QStringLiteral(""));
    pages->Option12->setChecked(true);
    pages->Combo4->setEditText(QStringLiteral("md"));
    const auto p = gathered<engine::FNameImportParams>(pages, engine::Tab::Import);
    EXPECT_EQ(p.ImportNames, (QStringList{QStringLiteral("one.txt"), QStringLiteral("two\r\nlines"), QString()}));
    EXPECT_FALSE(p.ExtensionRule);
    EXPECT_EQ(p.ImportExtension, QStringLiteral("md"));
}

TEST_F(TabPagesTest, CopyParametersAreEveryBoxOfThePage)
{
    const auto atStart = gathered<engine::FNameCopyParams>(pages, engine::Tab::Copy);
    EXPECT_TRUE(atStart.CopyMode);
    EXPECT_FALSE(atStart.SkipSameCreation || atStart.SkipSameWrite || atStart.SkipSameSize);
    EXPECT_EQ(atStart.ClashDigits, 0);
    EXPECT_EQ(atStart.ClashPrefix, QString());
    EXPECT_EQ(atStart.ClashSuffix, QString());
    EXPECT_EQ(atStart.ClashStart, QStringLiteral("0"));

    pages->Option14->setChecked(true);
    pages->Check15->setChecked(true);
    pages->Check17->setChecked(true);
    pages->Combo5->setCurrentIndex(3);
    pages->Text13->setText(QStringLiteral("_"));
    pages->Text14->setText(QStringLiteral("c"));
    pages->Text15->setText(QStringLiteral("1.5"));
    const auto p = gathered<engine::FNameCopyParams>(pages, engine::Tab::Copy);
    EXPECT_FALSE(p.CopyMode);
    EXPECT_TRUE(p.SkipSameCreation);
    EXPECT_FALSE(p.SkipSameWrite);
    EXPECT_TRUE(p.SkipSameSize);
    EXPECT_EQ(p.ClashDigits, 3);
    EXPECT_EQ(p.ClashPrefix, QStringLiteral("_"));
    EXPECT_EQ(p.ClashSuffix, QStringLiteral("c"));
    EXPECT_EQ(p.ClashStart, QStringLiteral("1.5"));
}

TEST_F(TabPagesTest, OtherTabReadsTheSelectedTab)
{
    const engine::Tab expected[] = {engine::Tab::AddNum, engine::Tab::Kaku,      engine::Tab::Edit,
                                    engine::Tab::Conv,   engine::Tab::TimeStamp, engine::Tab::Attribute,
                                    engine::Tab::Import, engine::Tab::Copy};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(pages->selectTab(i + 1));
        EXPECT_EQ(engine::tabOf(pages->gather(engine::Tab::Other)), expected[i]);
        EXPECT_EQ(engine::tabOf(pages->gather(expected[i])), expected[i]);
    }
}

// ---- Settings ----

using Sections = QMap<QString, QMap<QString, QString>>;

TEST_F(TabPagesTest, EmptyStoreGivesTheStartValues)
{
    const QDateTime now(QDate(2004, 5, 6), QTime(7, 8, 9));
    pages->loadSettings(now);
    EXPECT_EQ(pages->selectedIndex(), 1);
    EXPECT_EQ(pages->Text6->text(), QStringLiteral("1"));
    EXPECT_EQ(pages->Text7->text(), QStringLiteral("1"));
    EXPECT_TRUE(pages->Option1->isChecked());
    EXPECT_EQ(pages->Combo4->count(), 1);
    EXPECT_EQ(pages->Combo4->itemText(0), QStringLiteral("ﾘｽﾄと同じ"));
    EXPECT_EQ(pages->Combo4->currentText(), QStringLiteral("ﾘｽﾄと同じ"));
    EXPECT_EQ(pages->Text5->count(), 0);
    EXPECT_EQ(pages->Text8->count(), 0);
    EXPECT_EQ(pages->Combo3->count(), 5);
    EXPECT_EQ(pages->Combo3->currentText(), QStringLiteral("改行"));
    EXPECT_EQ(pages->Text13->text(), QString());
    EXPECT_EQ(pages->Text14->text(), QString());
    EXPECT_EQ(pages->Combo5->currentIndex(), 0);
    EXPECT_TRUE(pages->Option13->isChecked());
    EXPECT_FALSE(pages->Check15->isChecked() || pages->Check16->isChecked() || pages->Check17->isChecked());
    EXPECT_EQ(pages->Text15->text(), QStringLiteral("0"));
    for (QDateEdit* date : {pages->DTPicker1, pages->DTPicker3, pages->DTPicker5})
        EXPECT_EQ(date->date(), QDate(2004, 5, 6)) << date->objectName().toStdString();
    for (QTimeEdit* time : {pages->DTPicker2, pages->DTPicker4, pages->DTPicker6})
        EXPECT_EQ(time->time(), QTime(7, 8, 9)) << time->objectName().toStdString();
    EXPECT_TRUE(store.sections.isEmpty()); // loading writes nothing

    pages->saveSettings();
    const Sections written{
        {QStringLiteral("Setting"),
         {{QStringLiteral("TabStrip"), QStringLiteral("1")},
          {QStringLiteral("Digit"), QStringLiteral("1")},
          {QStringLiteral("AddNum"), QStringLiteral("1")},
          {QStringLiteral("NumShape"), QStringLiteral("1")}}},
        {QStringLiteral("FileCopy"),
         {{QStringLiteral("NameL"), QString()},
          {QStringLiteral("NameR"), QString()},
          {QStringLiteral("Num"), QStringLiteral("0")},
          {QStringLiteral("OptCopy"), QStringLiteral("True")},
          {QStringLiteral("Create"), QStringLiteral("0")},
          {QStringLiteral("Write"), QStringLiteral("0")},
          {QStringLiteral("Size"), QStringLiteral("0")},
          {QStringLiteral("StartNum"), QStringLiteral("0")}}},
    };
    EXPECT_EQ(store.sections, written);
}

TEST_F(TabPagesTest, StoredValuesComeBackAndAreSavedAgain)
{
    const Sections stored{
        {QStringLiteral("Exp"),
         {{QStringLiteral("All"), QStringLiteral("2")},
          {QStringLiteral("Exp0"), QStringLiteral("txt")},
          {QStringLiteral("Exp1"), QStringLiteral("jpg")}}},
        {QStringLiteral("FileDiv"), {{QStringLiteral("All"), QStringLiteral("1")}, {QStringLiteral("Str0"), QStringLiteral("--")}}},
        {QStringLiteral("Setting"),
         {{QStringLiteral("TabStrip"), QStringLiteral("8")},
          {QStringLiteral("Digit"), QStringLiteral("03")},
          {QStringLiteral("AddNum"), QStringLiteral("-2")},
          {QStringLiteral("NumShape"), QStringLiteral("2")}}},
        {QStringLiteral("FileCopy"),
         {{QStringLiteral("NameL"), QStringLiteral("_copy")},
          {QStringLiteral("NameR"), QStringLiteral("b")},
          {QStringLiteral("Num"), QStringLiteral("3")},
          {QStringLiteral("OptCopy"), QStringLiteral("False")},
          {QStringLiteral("Create"), QStringLiteral("1")},
          {QStringLiteral("Write"), QStringLiteral("0")},
          {QStringLiteral("Size"), QStringLiteral("1")},
          {QStringLiteral("StartNum"), QStringLiteral("5")}}},
    };
    store.sections = stored;
    pages->loadSettings(QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9)));

    EXPECT_EQ(pages->Combo4->count(), 3);
    EXPECT_EQ(pages->Combo4->itemText(1), QStringLiteral("txt"));
    EXPECT_EQ(pages->Combo4->itemText(2), QStringLiteral("jpg"));
    EXPECT_EQ(pages->Combo4->currentText(), QStringLiteral("ﾘｽﾄと同じ"));
    for (QComboBox* box : {pages->Text5, pages->Text8}) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->count(), 2);
        EXPECT_EQ(box->itemText(0), QStringLiteral("txt"));
        EXPECT_EQ(box->currentText(), QString()); // the list is offered, not chosen
    }
    EXPECT_EQ(pages->Combo3->count(), 6);
    EXPECT_EQ(pages->Combo3->itemText(5), QStringLiteral("--"));
    EXPECT_EQ(pages->Combo3->currentIndex(), 0);
    EXPECT_EQ(pages->selectedCaption(), QStringLiteral("ｺﾋﾟｰ"));
    EXPECT_EQ(pages->Text6->text(), QStringLiteral("03"));
    EXPECT_EQ(pages->Text7->text(), QStringLiteral("-2"));
    EXPECT_TRUE(pages->Option2->isChecked());
    EXPECT_EQ(pages->Text4->x(), px(1440)); // the shape's layout came with it
    EXPECT_EQ(pages->Text13->text(), QStringLiteral("_copy"));
    EXPECT_EQ(pages->Text14->text(), QStringLiteral("b"));
    EXPECT_EQ(pages->Combo5->currentText(), QStringLiteral("0001"));
    EXPECT_TRUE(pages->Option14->isChecked());
    EXPECT_TRUE(pages->Check15->isChecked());
    EXPECT_FALSE(pages->Check16->isChecked());
    EXPECT_TRUE(pages->Check17->isChecked());
    EXPECT_EQ(pages->Text15->text(), QStringLiteral("5"));

    store.sections.clear();
    pages->saveSettings();
    EXPECT_EQ(store.sections.value(QStringLiteral("Setting")), stored.value(QStringLiteral("Setting")));
    EXPECT_EQ(store.sections.value(QStringLiteral("FileCopy")), stored.value(QStringLiteral("FileCopy")));
    EXPECT_FALSE(store.sections.contains(QStringLiteral("Exp"))); // lists are the list editor's to write
}

TEST_F(TabPagesTest, StoredValuesThatDoNotConvertLeaveTheStartValues)
{
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    };
    const Row rows[] = {
        {"Setting", "TabStrip", "9"},  {"Setting", "TabStrip", "0"},   {"Setting", "TabStrip", "x"},
        {"FileCopy", "Num", "7"},      {"FileCopy", "Num", "-1"},      {"FileCopy", "Num", "abc"},
        {"FileCopy", "OptCopy", "maybe"}, {"FileCopy", "Create", "2"}, {"FileCopy", "Size", "yes"},
        {"Exp", "All", "x"},           {"FileDiv", "All", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.section) + "/" + r.key + "=" + r.value);
        store.sections.clear();
        store.write(QString::fromUtf8(r.section), QString::fromUtf8(r.key), QString::fromUtf8(r.value));
        QWidget other;
        mainwin::TabPages fresh(&other, services);
        fresh.loadSettings(QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9)));
        EXPECT_EQ(fresh.selectedIndex(), 1);
        EXPECT_EQ(fresh.Combo5->currentIndex(), 0);
        EXPECT_TRUE(fresh.Option13->isChecked());
        EXPECT_FALSE(fresh.Check15->isChecked());
        EXPECT_FALSE(fresh.Check17->isChecked());
        EXPECT_EQ(fresh.Combo4->count(), 1);
        EXPECT_EQ(fresh.Combo3->count(), 5);
    }
}

TEST_F(TabPagesTest, StoredShapeChoosesTheOption)
{
    struct Row {
        const char* stored;
        int shape;
    };
    const Row rows[] = {{"1", 1}, {"2", 2}, {"3", 3}, {"0", 3}, {"abc", 3}, {" 2 ", 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.stored);
        store.write(QStringLiteral("Setting"), QStringLiteral("NumShape"), QString::fromUtf8(r.stored));
        pages->loadSettings(QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9)));
        EXPECT_EQ(pages->numberShape(), r.shape);
        EXPECT_EQ(pages->Check6->isEnabled(), r.shape != 3);
    }
}

TEST_F(TabPagesTest, ReloadingReplacesTheListsInsteadOfAddingToThem)
{
    store.write(QStringLiteral("Exp"), QStringLiteral("All"), QStringLiteral("1"));
    store.write(QStringLiteral("Exp"), QStringLiteral("Exp0"), QStringLiteral("txt"));
    pages->loadSettings(QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9)));
    pages->Text5->setEditText(QStringLiteral("png"));
    pages->loadSettings(QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9)));
    EXPECT_EQ(pages->Combo4->count(), 2);
    EXPECT_EQ(pages->Text5->count(), 1);
    EXPECT_EQ(pages->Text5->currentText(), QStringLiteral("png"));
    EXPECT_EQ(pages->Combo3->count(), 5);
}

} // namespace
} // namespace tavil::test
