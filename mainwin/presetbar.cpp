#include "mainwin/presetbar.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QStyle>
#include <QToolButton>

namespace tavil::mainwin {

namespace {

constexpr char kSaveKey[] = "tbSave";
constexpr char kSaveTag[] = "tbSave";
constexpr char kDeleteTag[] = "tbDelete";

// A menu shows "&" as the mark of a shortcut letter; a name shows as typed.
QString menuText(const QString& caption)
{
    QString text = caption;
    return text.replace(u'&', QStringLiteral("&&"));
}

int slotOf(int index)
{
    return index == 1 ? 0 : 1;
}

} // namespace

PresetBar::PresetBar(QWidget* parent) : QToolBar(parent)
{
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setContextMenuPolicy(Qt::PreventContextMenu);
    // Only as tall as its buttons: it lives in the strip under the page.
    setContentsMargins(0, 0, 0, 0);
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);

    struct Button {
        QStyle::StandardPixmap icon;
        const char16_t* tip;
        const char* tag;
    };
    const Button buttons[] = {
        {QStyle::SP_DialogSaveButton, u"フォームに入力されている内容等を保存します。", kSaveTag},
        {QStyle::SP_TrashIcon, u"保存したフォームの内容を削除します。", kDeleteTag},
    };
    for (int b = 0; b < 2; ++b) {
        const int index = b == 0 ? 1 : 3;
        if (index == 3) {
            m_buttons[1] = addSeparator();
            m_buttons[1]->setObjectName(QStringLiteral("Toolbar1.Buttons(2)"));
        }
        const QString name = QStringLiteral("Toolbar1.Buttons(%1)").arg(index);
        QAction* action = addAction(style()->standardIcon(buttons[b].icon), QString());
        action->setObjectName(name);
        action->setToolTip(QString::fromUtf16(buttons[b].tip));
        if (index == 1)
            action->setData(QString::fromLatin1(kSaveKey));
        auto* menu = new QMenu(this);
        menu->setObjectName(name + QStringLiteral(".ButtonMenus"));
        for (int k = 1; k <= kEntries; ++k) {
            QAction* entry = menu->addAction(QString());
            entry->setObjectName(name + QStringLiteral(".ButtonMenus(%1)").arg(k));
            entry->setData(QString::fromLatin1(buttons[b].tag));
            entry->setVisible(false);
            m_entries[b][k - 1] = entry;
            connect(entry, &QAction::triggered, this,
                    [this, k, entry] { emit ButtonMenuClick(k, entry->data().toString()); });
        }
        action->setMenu(menu);
        if (auto* tool = qobject_cast<QToolButton*>(widgetForAction(action))) {
            tool->setPopupMode(QToolButton::MenuButtonPopup);
            tool->setObjectName(name + QStringLiteral(".Button"));
        }
        connect(action, &QAction::triggered, this, [this, index] { emit ButtonClick(index); });
        m_buttons[index - 1] = action;
        m_menus[b] = menu;
    }
    for (int k = 0; k < kEntries; ++k)
        m_captions.append(QString());
    setFixedSize(sizeHint());
}

QAction* PresetBar::button(int index) const
{
    return index >= 1 && index <= 3 ? m_buttons[index - 1] : nullptr;
}

QToolButton* PresetBar::toolButton(int index) const
{
    return index == 1 || index == 3 ? qobject_cast<QToolButton*>(widgetForAction(m_buttons[index - 1])) : nullptr;
}

QMenu* PresetBar::buttonMenu(int index) const
{
    return index == 1 || index == 3 ? m_menus[slotOf(index)] : nullptr;
}

QAction* PresetBar::buttonMenuEntry(int index, int entry) const
{
    if ((index != 1 && index != 3) || entry < 1 || entry > kEntries)
        return nullptr;
    return m_entries[slotOf(index)][entry - 1];
}

QString PresetBar::entryText(int entry) const
{
    return entry >= 1 && entry <= kEntries ? m_captions[entry - 1] : QString();
}

void PresetBar::setEntry(int entry, const QString& caption, bool inUse)
{
    if (entry < 1 || entry > kEntries)
        return;
    m_captions[entry - 1] = caption;
    for (auto& list : m_entries) {
        list[entry - 1]->setText(menuText(caption));
        list[entry - 1]->setVisible(inUse);
    }
}

void PresetBar::clearEntries()
{
    for (int k = 1; k <= kEntries; ++k)
        setEntry(k, QString(), false);
}

void PresetBar::setButtonsEnabled(bool enabled)
{
    m_buttons[0]->setEnabled(enabled);
    m_buttons[2]->setEnabled(enabled);
}

} // namespace tavil::mainwin
