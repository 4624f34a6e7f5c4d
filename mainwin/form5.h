#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

using platform::Services;
class FileBrowser;
class UpDown;

// "連番付フォルダ作成": makes a series of numbered folders (a text, the
// number padded to a count of digits, a second text) in a chosen folder,
// over a range of numbers or for a count of folders. It stays open for
// further series; its fields are kept in the settings when it closes.
class Form5 : public QDialog {
    Q_OBJECT
public:
    // parentFolder: the main window's folder, the first destination (a raw
    // name, platform/fsname.h).
    Form5(Services& services, const QString& parentFolder, QWidget* owner = nullptr);
    ~Form5() override;

    // More than this many folders in one series is taken for a typing
    // mistake and refused.
    static constexpr qint64 kMaxFolders = 10000;

    QLabel* Label1;        // "作成先："
    QLineEdit* Text1;      // the destination
    QPushButton* Command1; // "...": the folder picker
    QGroupBox* Frame1;     // "ﾌｫﾙﾀﾞ名"
    QLineEdit* Text4;      // text before the number
    QLineEdit* Text3;      // text after the number
    QRadioButton* Option1; // "範囲指定"
    QRadioButton* Option2; // "個数指定"
    QLabel* Label2;        // "開始"
    QLineEdit* Text2;      // first number
    QLabel* Label3;        // "終了"
    QLineEdit* Text5;      // last number (range)
    QGroupBox* Frame2;     // "桁数"
    QLineEdit* Text6;
    UpDown* UpDown2;
    QGroupBox* Frame3;     // "増加数"
    QLineEdit* Text7;
    UpDown* UpDown1;
    QGroupBox* Frame4;     // "個数"
    QLineEdit* Text8;
    UpDown* UpDown3;
    QProgressBar* PBar1;
    QPushButton* Command2; // "OK": make the series
    QPushButton* Command3; // "Cancel": close

    // The destination as it is used (raw); Text1 shows it.
    QString destination() const { return m_destination; }

    void Command1_Click();
    // Makes the series; every refusal and failure is told in a message.
    // True when the series ran to its end.
    bool Command2_Click();
    void Command3_Click();

    // The names the fields give now, in order and as they will be made on
    // disk (trailing dots and blanks dropped); empty (with the reason in
    // *error) when the fields make no series. For the dialog and its tests.
    QStringList seriesNames(QString* error = nullptr, QString* errorTitle = nullptr) const;

    // Closing by any way saves the fields.
    void done(int result) override;

signals:
    // Folders were made: the main window's folder list is to be refreshed.
    void foldersMade();

private:
    class BoxRules;

    void build();
    void wire();
    void loadSettings();
    void saveSettings();
    void applyMode();
    void Text6_Change();
    void leaveStepOrCount(QLineEdit* box);
    void Text1_Change(const QString& text);

    Services& m_services;
    QString m_parentFolder;
    // The main window's browser when opened from it: the folders are made in
    // its open folder, which shows them at once.
    FileBrowser* m_browser = nullptr;
    QString m_destination;
    BoxRules* m_rules = nullptr;
    bool m_saved = false;
};

} // namespace tavil::mainwin
