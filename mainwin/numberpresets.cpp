#include "mainwin/numberpresets.h"

#include "mainwin/presetbar.h"
#include "mainwin/tabpages.h"
#include "platform/dialogs.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace tavil::mainwin {

namespace {

const QString kTitle = QStringLiteral("Tavil");
const QString kFull = QStringLiteral("10個以上は登録できません。");
const QString kNamePrompt = QStringLiteral("保存する名前を入力して下さい。");
const QString kNameTitle = QStringLiteral("名前を付けて保存");
const QString kDeleteQuestion = QStringLiteral(" を削除しますか？");
constexpr char kLoadTag[] = "tbSave";

} // namespace

NumberPresets::NumberPresets(TabPages& tabs, Services& services, std::function<void(bool)> suppressCompletion)
    : m_tabs(tabs), m_services(services), m_suppress(std::move(suppressCompletion))
{
    wire();
}

void NumberPresets::wire()
{
    connect(m_tabs.Toolbar1, &PresetBar::ButtonClick, this, &NumberPresets::Toolbar1_ButtonClick);
    connect(m_tabs.Toolbar1, &PresetBar::ButtonMenuClick, this, &NumberPresets::Toolbar1_ButtonMenuClick);
}

platform::Err NumberPresets::loadCaptions()
{
    platform::Err err = platform::Err::None;
    const int n = numsett::count(m_services.store, &err);
    m_tabs.Toolbar1->clearEntries();
    for (int i = 0; i < n; ++i)
        m_tabs.Toolbar1->setEntry(i + 1, numsett::caption(m_services.store, i), true);
    return err;
}

void NumberPresets::Toolbar1_ButtonClick(int index)
{
    if (index == 1)
        save();
}

void NumberPresets::Toolbar1_ButtonMenuClick(int entry, const QString& tag)
{
    if (entry < 1 || entry > numsett::kCapacity)
        return;
    if (tag == QLatin1String(kLoadTag))
        load(entry - 1);
    else
        remove(entry - 1);
}

void NumberPresets::save()
{
    platform::SettingsStore& store = m_services.store;
    const int n = numsett::count(store);
    if (n >= numsett::kCapacity) {
        m_services.dialogs.msgBox(kFull, kTitle, platform::MsgStyle::Critical);
        return;
    }
    const QString name = m_services.dialogs.inputBox(kNamePrompt, kNameTitle, QString());
    if (name.isEmpty())
        return;
    const int index = numsett::append(store, name, numsett::toRecord(fieldsOfPage()));
    if (index < 0)
        return;
    store.sync();
    m_tabs.Toolbar1->setEntry(index + 1, numsett::caption(store, index), true);
}

void NumberPresets::load(int index)
{
    // An entry past the presets there are holds nothing to load: the page
    // keeps what it has.
    if (index >= numsett::count(m_services.store))
        return;
    const numsett::Fields fields = numsett::fromRecord(numsett::record(m_services.store, index));
    if (m_suppress)
        m_suppress(true);
    fillPage(fields);
    if (m_suppress)
        m_suppress(false);
}

void NumberPresets::remove(int index)
{
    platform::SettingsStore& store = m_services.store;
    // An entry past the presets there are: nothing to ask about, nothing
    // another preset may lose.
    if (index >= numsett::count(store))
        return;
    const QString name = numsett::caption(store, index);
    if (m_services.dialogs.msgBox(name + kDeleteQuestion, kTitle, platform::MsgStyle::YesNoInformation)
        != platform::MsgButton::Yes)
        return;
    if (!numsett::remove(store, index))
        return;
    store.sync();
    showCaptions();
}

void NumberPresets::showCaptions()
{
    (void)loadCaptions();
}

numsett::Fields NumberPresets::fieldsOfPage() const
{
    numsett::Fields f;
    f.digits = m_tabs.Text6->text();
    f.step = m_tabs.Text7->text();
    f.unifiedName = m_tabs.Text4->currentText();
    f.prefix = m_tabs.Text1->text();
    f.startNumber = m_tabs.Text2->text();
    f.suffix = m_tabs.Text3->text();
    f.unifiedExtension = m_tabs.Text5->currentText();
    f.unifyName = m_tabs.Check5->isChecked();
    f.unifyExtension = m_tabs.Check6->isChecked();
    f.shape = m_tabs.numberShape();
    return f;
}

void NumberPresets::fillPage(const numsett::Fields& f)
{
    // Straight assignments: the boxes' leaving rules are for what a user
    // types, not for what a preset brings back.
    m_tabs.Text6->setText(f.digits);
    m_tabs.Text7->setText(f.step);
    m_tabs.Text4->setEditText(f.unifiedName);
    m_tabs.Text1->setText(f.prefix);
    m_tabs.Text2->setText(f.startNumber);
    m_tabs.Text3->setText(f.suffix);
    m_tabs.Text5->setEditText(f.unifiedExtension);
    m_tabs.Check5->setChecked(f.unifyName);
    m_tabs.Check6->setChecked(f.unifyExtension);
    // The shape last: its rule may clear and disable Check6 again, and it
    // runs even when the shape is already selected.
    m_tabs.setNumberShape(f.shape);
}

} // namespace tavil::mainwin
