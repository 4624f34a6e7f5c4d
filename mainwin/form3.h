#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tavil::platform {
class SettingsStore;
}

namespace tavil::mainwin {

// The list editor: one of the four stored lists (file patterns, folder
// shortcuts, extensions, import separators) read from the settings, its
// entries added, moved and deleted, and written back by OK. Made anew at
// each opening; the main window rebuilds what shows the list once OK has
// closed it.
class Form3 : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Patterns, Shortcuts, Extensions, Separators };

    Form3(platform::SettingsStore& store, Mode mode, QWidget* owner = nullptr);
    ~Form3() override;

    QListWidget* List1;    // the entries, in stored order
    QLineEdit* Text1;      // a new entry (hidden for the shortcuts)
    QPushButton* Command1; // "追加" (hidden for the shortcuts)
    QPushButton* Command2; // "UP"
    QPushButton* Command3; // "DOWN"
    QPushButton* Command6; // "削除"
    QPushButton* Command4; // "OK"
    QPushButton* Command5; // "Cancel"
    QRadioButton* Option1; // "ﾌｧｲﾙﾊﾟﾀｰﾝ"; the four mark the mode and can't be chosen
    QRadioButton* Option2; // "ショートカット"
    QRadioButton* Option3; // "拡張子"
    QRadioButton* Option4; // "区切り文字"

    Mode mode() const { return m_mode; }
    // List1's entries in order.
    QStringList entries() const;
    // Entries a list can hold: the shortcuts 10, the others as many as a
    // list box takes.
    static int capacity(Mode mode);

    // Adds Text1's text at the end: in the extensions mode without a leading
    // "."; never "*.*", an empty text or an entry already listed (compared
    // exactly).
    void Command1_Click();
    void Command2_Click(); // as Ctrl+Up
    void Command3_Click(); // as Ctrl+Down
    void Command6_Click(); // deletes the highlighted entry
    // Writes the list (count and entries) into its section and closes.
    void Command4_Click();
    void Command5_Click(); // closes, nothing written
    // Ctrl+Up and Ctrl+Down move the highlighted entry (and are taken even
    // at the ends, so the list never moves its highlight instead); Delete
    // deletes it. True when the key was taken.
    bool List1_KeyDown(int key, Qt::KeyboardModifiers modifiers);

private:
    class Keys;

    void build();
    void wire();
    void load();
    int highlighted() const;
    void moveHighlighted(int by);
    void highlight(int row);

    platform::SettingsStore& m_store;
    Mode m_mode;
    Keys* m_keys = nullptr;
};

} // namespace tavil::mainwin
