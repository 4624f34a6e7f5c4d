#pragma once

#include <QString>
#include <QStringList>
#include <QToolBar>

#include <array>

class QAction;
class QMenu;
class QToolButton;

namespace tavil::mainwin {

// Toolbar1 of the numbering page: button 1 (key "tbSave") saves the page's
// fields as a preset and its drop-down list loads one; button 2 is a
// separator; button 3's drop-down list deletes one. Entry k (1 to 10) of
// both lists stands for preset k - 1; its tag ("tbSave" in button 1's list,
// "tbDelete" in button 3's) tells a load from a delete. The actions are
// named "Toolbar1.Buttons(1)" and "Toolbar1.Buttons(1).ButtonMenus(k)".
class PresetBar final : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kEntries = 10;

    explicit PresetBar(QWidget* parent);

    QAction* button(int index) const;             // 1 to 3
    QToolButton* toolButton(int index) const;     // 1 or 3
    QMenu* buttonMenu(int index) const;           // 1 or 3
    QAction* buttonMenuEntry(int index, int entry) const; // entry 1 to 10

    // The name entry k of both lists shows, as it was given.
    QString entryText(int entry) const;
    // Entry k of both lists: the preset's name, offered only while it stands
    // for a preset.
    void setEntry(int entry, const QString& caption, bool inUse);
    // Every entry empty and offered by neither list.
    void clearEntries();

    // Buttons 1 and 3 (a numbering run takes them away).
    void setButtonsEnabled(bool enabled);

signals:
    void ButtonClick(int index);
    void ButtonMenuClick(int entry, const QString& tag);

private:
    std::array<QAction*, 3> m_buttons{};
    std::array<QMenu*, 2> m_menus{}; // of buttons 1 and 3
    std::array<std::array<QAction*, kEntries>, 2> m_entries{};
    QStringList m_captions;
};

} // namespace tavil::mainwin
