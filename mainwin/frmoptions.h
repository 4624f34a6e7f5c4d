#pragma once

#include "mainwin/clsprogressbar.h"
#include "support/settingsschema.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTimer;

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

class PictureBox;
using platform::Services;

// What OK of the options dialog changes in the main window, at once.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    // PrBar has been written: that display is chosen and shown, the other
    // hidden.
    virtual void applyProgressChoice() = 0;
    // The file list and the check mark of the Settings menu's entry.
    virtual void applyShowHidden(bool show) = 0;
    virtual void applyShowSystem(bool show) = 0;
    // The selected-files list in use: a choice that changes it swaps the
    // lists as the Settings menu's sort entry does. Saves Sorted either way.
    virtual void applySorted(bool sorted) = 0;
    virtual void applyOptionFlags(const support::settings::OptionFlags& flags) = 0;
};

// "動作設定": the run settings of section ActionSetting and the clearing of
// the input histories. OK writes every setting once and applies it through
// the host; Cancel and the close box change nothing.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    frmOptions(Services& services, OptionsHost& host, QWidget* owner = nullptr);
    ~frmOptions() override;

    QTabBar* tbsOptions;           // "全般", "入力支援", "連番付加"; the tab's key as tabData
    std::array<QFrame*, 3> Frame1; // pages: 0 "全般", 1 "連番付加", 2 "入力支援"

    // "全般"
    QGroupBox* fraPrBar;          // "プログレスバー"
    QRadioButton* optPrBar1;      // the drawn bar
    PictureBox* Picture1;         // its preview
    QRadioButton* optPrBar2;      // the progress-bar control
    QProgressBar* PBar;           // its preview
    QGroupBox* fraFileVis;        // "ファイルの表示"
    QCheckBox* chkFileHidden;     // "隠しファイル"
    QCheckBox* chkFileSys;        // "システムファイル"
    QGroupBox* fraSelected;       // "選択ファイルの設定"
    QCheckBox* chkSorted;         // "自動的にソートする"
    QCheckBox* chkListClear;      // "ファイル名を変更したとき以外はリストをクリアしない"
    QCheckBox* chkLog;            // "ｴﾗｰが出たときはﾛｸﾞﾌｧｲﾙに記録する"
    QLabel* lblLogPlace;          // "場所 ："
    QLineEdit* Text1;             // the error-log folder
    QCheckBox* Check1;            // "同名のファイルがあるときはスキップする"
    QCheckBox* Mesure;            // "処理時間を測定する"

    // "入力支援"
    QGroupBox* fraAutoComp;       // "入力支援機能"
    QCheckBox* chkAutoComp;       // "文字の入力支援機能を使う"
    QLabel* lblAutoComp;          // what the completion does
    QGroupBox* fraHistory;        // "履歴のクリア"
    QPushButton* Command1;        // "ﾌｧｲﾙﾊﾟﾀｰﾝ": clears TempPatt
    QPushButton* Command2;        // "拡張子": TempExp
    QPushButton* Command3;        // "「連番付加」の「名前」": TempName
    QPushButton* Command4;        // "「編集」のﾃｷｽﾄﾎﾞｯｸｽ": TempEdit
    QLabel* lblHistory;           // "履歴はそれぞれ30個まで保存されます。"

    // "連番付加"
    QCheckBox* chkDouble;         // "同名のファイルがあるときは番号を進めて続行する"

    QPushButton* cmdOK;           // "OK"
    QPushButton* cmdCancel;       // "ｷｬﾝｾﾙ"
    QTimer* Timer1;               // the preview's 200 ms tick

    // The drawn preview in Picture1.
    clsProgressBar& preview() { return m_preview; }

    void cmdOK_Click();
    void cmdCancel_Click();
    // The history clearing buttons: the section goes at once, a beep, and
    // the button is disabled.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // Shows the page of the selected tab; "全般" starts the preview over.
    void tbsOptions_Click();
    // One step of the preview: the drawn bar one further, the control one
    // ahead of it; both start again once the control would pass its end.
    void Timer1_Timer();
    // Ctrl+Tab selects the next tab, from the last the first. True when the
    // key was taken.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);

private:
    class Keys;

    void build();
    void buildGeneralPage(QFrame* page);
    void buildCompletionPage(QFrame* page);
    void buildNumberingPage(QFrame* page);
    void wire();
    void load();
    void clearHistory(QPushButton* button, const char* section);
    void restartPreview();

    Services& m_services;
    OptionsHost& m_host;
    clsProgressBar m_preview;
    Keys* m_keys = nullptr;
};

} // namespace tavil::mainwin
