#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tavil::platform {
class Desktop;
}

namespace tavil::mainwin {

// "スキップくり返し挿入": after every N entries of the selected-files list in
// use, M SKIP rows. Made anew at each opening, so both boxes start at "1".
class Form6 : public QDialog {
    Q_OBJECT
public:
    Form6(QListWidget* workList, platform::Desktop& desktop, QWidget* owner = nullptr);
    ~Form6() override;

    QLineEdit* Text1; // N, the interval
    QLabel* Label1;   // "個ごとに"
    QLineEdit* Text2; // M, the rows of each group
    QLabel* Label2;   // "個挿入"
    QPushButton* Command1; // "OK"
    QPushButton* Command2; // "Cancel"

    // Inserts, beeps and closes; stays open without a message when the
    // interval is below 1, a box holds no number or the list is full.
    void Command1_Click();
    void Command2_Click();

private:
    class BoxKeys;

    void build();
    void wire();
    void Text1_LostFocus();

    QListWidget* m_list;
    platform::Desktop& m_desktop;
    BoxKeys* m_keys = nullptr;
};

} // namespace tavil::mainwin
