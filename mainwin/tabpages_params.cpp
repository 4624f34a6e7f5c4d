// What the tabs hand to the operations, and what they keep in the settings
// store between two sessions.

#include "mainwin/tabpages.h"

#include "engine/settimestamp.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "support/module1.h"
#include "support/settingsschema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTimeEdit>

#include <cmath>

namespace tavil::mainwin {

namespace schema = support::settings;

namespace {

// A stored count beyond this is not taken at its word: a damaged count must
// not fill the boxes with endless empty entries at start-up.
constexpr int kStoredListCapacity = 1000;

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

// Replaces the list of an editable box; the text in it stays as it was.
void refill(QComboBox* box, const QStringList& items)
{
    const QString text = box->currentText();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

// A whole number as stored; false when the text is none.
bool storedNumber(const QString& text, qint64* value)
{
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::fabs(number) > 1e15)
        return false;
    *value = qint64(std::trunc(number));
    return true;
}

// A check box's stored value: 1 ticks it; 0 (or anything else) clears it.
void restoreCheck(QCheckBox* box, const QString& stored)
{
    qint64 value = 0;
    box->setChecked(storedNumber(stored, &value) && value == 1);
}

QString checkValue(const QCheckBox* box)
{
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

engine::OperationParams TabPages::gather(engine::Tab tab) const
{
    switch (tab) {
    case engine::Tab::AddNum:
        return gatherAddNum();
    case engine::Tab::Kaku:
        return gatherChangeKaku();
    case engine::Tab::Edit:
        return gatherEdit();
    case engine::Tab::Conv:
        return gatherConv();
    case engine::Tab::TimeStamp:
        return gatherTimeStamp();
    case engine::Tab::Attribute:
        return gatherAttribute();
    case engine::Tab::Import:
        return gatherImport();
    case engine::Tab::Copy:
        return gatherCopy();
    case engine::Tab::Other:
        break;
    }
    // Every tab's caption is one of the eight, so this does not recurse.
    const engine::Tab selected = selectedTab();
    return selected == engine::Tab::Other ? engine::OperationParams(gatherAddNum()) : gather(selected);
}

engine::AddNumParams TabPages::gatherAddNum() const
{
    // Number fields as typed: the operation judges them, a step of 0 too.
    engine::AddNumParams p;
    p.NumPrefix = Text1->text();
    p.NumSuffix = Text3->text();
    p.StartNumber = Text2->text();
    p.Step = Text7->text();
    p.Digits = Text6->text();
    p.UnifyName = Check5->isChecked();
    p.UnifiedName = Text4->currentText();
    p.UnifyExtension = Check6->isChecked();
    p.UnifiedExtension = Text5->currentText();
    p.NumberShape = numberShape();
    return p;
}

engine::ChangeKakuParams TabPages::gatherChangeKaku() const
{
    using Mode = engine::ChangeKakuParams::Mode;
    engine::ChangeKakuParams p;
    p.ExtensionMode = OptKaku1->isChecked() ? Mode::Change : OptKaku2->isChecked() ? Mode::Delete : Mode::Join;
    p.NewExtension = Text8->currentText();
    return p;
}

engine::FNameEditParams TabPages::gatherEdit() const
{
    using P = engine::FNameEditParams;
    P p;
    p.EditMode = Option8[0]->isChecked() ? P::Mode::Add : Option8[1]->isChecked() ? P::Mode::Replace : P::Mode::Delete;
    p.EditPosition = Text9->text();
    p.PositionFrom = Option9[1]->isChecked() ? P::From::Back : P::From::Front;
    p.UsePosition = Check12->isChecked();
    p.EditText = Text10->currentText();
    p.ReplaceText = Text11->currentText();
    p.DeleteCount = Text12->text();
    p.DeleteDirection = Option10[1]->isChecked() ? P::Direction::Left : P::Direction::Right;
    return p;
}

engine::FNameConvParams TabPages::gatherConv() const
{
    engine::FNameConvParams p;
    p.ConvertName = Check7->isChecked();
    p.NameCase = Option4[1]->isChecked() ? 1 : Option4[2]->isChecked() ? 2 : 0;
    p.ConvertExtension = Check8->isChecked();
    p.ExtensionCase = Option5[1]->isChecked() ? 1 : 0;
    p.ConvertWidth = Check9->isChecked();
    p.WidthTarget = Option6[1]->isChecked() ? 1 : 0;
    p.WidthKana = chkHalf1->isChecked();
    p.WidthAlnum = chkHalf2->isChecked();
    p.ConvertKana = Check10->isChecked();
    p.KanaTarget = Option7[1]->isChecked() ? 1 : 0;
    return p;
}

engine::SetTimeStampParams TabPages::gatherTimeStamp() const
{
    engine::SetTimeStampParams p;
    p.TimeToName = Check18->isChecked();
    p.TimeSource = OptTimeCreate->isChecked();
    p.UseYear = ChkYear->isChecked();
    p.UseMonth = ChkMonth->isChecked();
    p.UseDay = ChkDay->isChecked();
    p.UseHour = ChkHour->isChecked();
    p.UseMinute = ChkMin->isChecked();
    p.UseSecond = ChkSec->isChecked();
    p.YearDigits = Option15[1]->isChecked() ? 1 : 0;
    p.DateSeparator = Combo6->currentText();
    p.DateTimeSeparator = Combo7->currentText();
    p.TimeSeparator = Combo8->currentText();
    p.TextBeforeTime = Combo9->currentText();
    p.TextAfterTime = Combo10->currentText();
    p.AddToName = Check20->isChecked();
    p.AddPosition = Option16->isChecked();
    p.NumberOnClash = Check19->isChecked();
    p.SetCreationTime = Check2->isChecked();
    p.SetWriteTime = Check3->isChecked();
    p.SetAccessTime = Check4->isChecked();
    p.NewCreationTime = engine::pickerDateTime(DTPicker1->date(), DTPicker2->time());
    p.NewWriteTime = engine::pickerDateTime(DTPicker3->date(), DTPicker4->time());
    p.NewAccessTime = engine::pickerDateTime(DTPicker5->date(), DTPicker6->time());
    return p;
}

engine::SetAttributeParams TabPages::gatherAttribute() const
{
    engine::SetAttributeParams p;
    for (int k = 0; k < 4; ++k) {
        p.AttributeChange[k] = Check11[k]->isChecked();
        p.AttributeValue[k] = m_setOption[k]->isChecked();
    }
    return p;
}

engine::FNameImportParams TabPages::gatherImport() const
{
    engine::FNameImportParams p;
    for (int i = 0; i < List4->count(); ++i) {
        // An entry shown otherwise than it is (a name with line breaks)
        // keeps its own text beside the shown one.
        const QListWidgetItem* item = List4->item(i);
        const QVariant raw = item->data(Qt::UserRole);
        p.ImportNames.append(raw.isValid() ? raw.toString() : item->text());
    }
    p.ExtensionRule = Option11->isChecked();
    p.ImportExtension = Combo4->currentText();
    return p;
}

engine::FNameCopyParams TabPages::gatherCopy() const
{
    engine::FNameCopyParams p;
    p.CopyMode = Option13->isChecked();
    p.SkipSameCreation = Check15->isChecked();
    p.SkipSameWrite = Check16->isChecked();
    p.SkipSameSize = Check17->isChecked();
    p.ClashDigits = Combo5->currentIndex();
    p.ClashPrefix = Text13->text();
    p.ClashSuffix = Text14->text();
    p.ClashStart = Text15->text();
    return p;
}

void TabPages::loadSettings(const QDateTime& now)
{
    platform::SettingsStore& store = m_services.store;

    // The extensions offered by the extension boxes.
    const QStringList extensions = support::Module1::ReadStoredList(
        store, latin(schema::Exp::Section), latin(schema::Exp::Prefix), kStoredListCapacity);
    refill(Combo4, QStringList{engine::kSameAsList} + extensions);
    refill(Text5, extensions);
    refill(Text8, extensions);

    // The import separators: the fixed ones, then the user's.
    const QStringList separators = support::Module1::ReadStoredList(
        store, latin(schema::FileDiv::Section), latin(schema::FileDiv::Prefix), kStoredListCapacity);
    Combo3->clear();
    Combo3->addItems({QStringLiteral("改行"), QStringLiteral("ﾀﾌﾞ"), QStringLiteral("ｺﾛﾝ"), QStringLiteral("ｾﾐｺﾛﾝ"),
                      QStringLiteral("ｶﾝﾏ")});
    Combo3->addItems(separators);
    Combo3->setCurrentIndex(0);

    // The copy tab.
    const QString copy = latin(schema::FileCopy::Section);
    Text13->setText(store.read(copy, latin(schema::FileCopy::NameL)));
    Text14->setText(store.read(copy, latin(schema::FileCopy::NameR)));
    qint64 digits = 0;
    if (storedNumber(store.read(copy, latin(schema::FileCopy::Num), 0), &digits) && digits >= 0
        && digits < Combo5->count())
        Combo5->setCurrentIndex(int(digits));
    platform::Err err = platform::Err::None;
    const bool copyMode = schema::textToBool(store.read(copy, latin(schema::FileCopy::OptCopy), true), &err);
    if (err == platform::Err::None)
        (copyMode ? Option13 : Option14)->setChecked(true);
    restoreCheck(Check15, store.read(copy, latin(schema::FileCopy::Create), 0));
    restoreCheck(Check16, store.read(copy, latin(schema::FileCopy::Write), 0));
    restoreCheck(Check17, store.read(copy, latin(schema::FileCopy::Size), 0));
    Text15->setText(store.read(copy, latin(schema::FileCopy::StartNum), 0));

    // The numbering tab.
    const QString setting = latin(schema::Setting::Section);
    Text6->setText(store.read(setting, latin(schema::Setting::Digit), 1));
    Text7->setText(store.read(setting, latin(schema::Setting::AddNum), 1));
    qint64 shape = 0;
    storedNumber(store.read(setting, latin(schema::Setting::NumShape), 1), &shape);
    setNumberShape(shape == 1 ? 1 : shape == 2 ? 2 : 3);

    qint64 tab = 0;
    if (storedNumber(store.read(setting, latin(schema::Setting::TabStrip), 1), &tab) && tab >= 1 && tab <= 8)
        selectTab(int(tab));

    // The pickers start at the moment of start-up.
    const QTime time(now.time().hour(), now.time().minute(), now.time().second());
    for (QDateEdit* date : {DTPicker1, DTPicker3, DTPicker5})
        date->setDate(now.date());
    for (QTimeEdit* picker : {DTPicker2, DTPicker4, DTPicker6})
        picker->setTime(time);
}

void TabPages::saveSettings()
{
    platform::SettingsStore& store = m_services.store;
    const QString setting = latin(schema::Setting::Section);
    store.write(setting, latin(schema::Setting::TabStrip), QString::number(selectedIndex()));
    store.write(setting, latin(schema::Setting::Digit), Text6->text());
    store.write(setting, latin(schema::Setting::AddNum), Text7->text());
    store.write(setting, latin(schema::Setting::NumShape), QString::number(numberShape()));

    const QString copy = latin(schema::FileCopy::Section);
    store.write(copy, latin(schema::FileCopy::NameL), Text13->text());
    store.write(copy, latin(schema::FileCopy::NameR), Text14->text());
    store.write(copy, latin(schema::FileCopy::Num), QString::number(Combo5->currentIndex()));
    store.write(copy, latin(schema::FileCopy::OptCopy), schema::boolToText(Option13->isChecked()));
    store.write(copy, latin(schema::FileCopy::Create), checkValue(Check15));
    store.write(copy, latin(schema::FileCopy::Write), checkValue(Check16));
    store.write(copy, latin(schema::FileCopy::Size), checkValue(Check17));
    store.write(copy, latin(schema::FileCopy::StartNum), Text15->text());
}

} // namespace tavil::mainwin
