#pragma once

#include "engine/operations.h"
#include "engine/runcontext.h"

#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTime;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTimeEdit;
class QWidget;

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

class PresetBar;
using platform::Services;
class UpDown;

// The operation tabs of the main window: the tab strip, its nine pages (one
// per operation; the time-stamp tab has two) with every parameter control,
// their enabling and layout rules, and the settings they keep. The controls
// are children of the form's central widget and carry their own names as
// member and object names; control arrays are named "Option8(0)", ...
//
// The caption of the selected tab is what tells the operations apart.
class TabPages final : public QObject {
    Q_OBJECT
public:
    TabPages(QWidget* form, Services& services);

    // The tab strip and what sits below it.
    QTabBar* TabStrip1;            // the eight tabs; the tab's key as tabData
    std::array<QFrame*, 8> Frame1; // the pages, in tab order
    QFrame* Frame17;               // the time-to-name page of the time-stamp tab
    QCheckBox* chkSubDir;          // "ｻﾌﾞﾌｫﾙﾀﾞも変更"
    QCheckBox* Check18;            // "ﾀｲﾑｽﾀﾝﾌﾟをﾌｧｲﾙ名に"

    // Tab 1, serial numbering (Frame1(0)).
    QLineEdit* Text1;   // prefix before the number
    QLabel* Label2;     // "開始数"
    QLineEdit* Text2;   // start number
    QLineEdit* Text3;   // suffix after the number
    QCheckBox* Check5;  // "名前を統一"
    QLabel* Label3;     // "名前"
    QComboBox* Text4;   // the unified name
    QCheckBox* Check6;  // "拡張子を統一"
    QLabel* Label1;     // "．"
    QLabel* Label4;     // "拡張子"
    QComboBox* Text5;   // the unified extension
    QGroupBox* Frame3;  // "桁数"
    QLineEdit* Text6;   // digits
    UpDown* UpDown2;
    QGroupBox* Frame4;  // "増加数"
    QLineEdit* Text7;   // step
    UpDown* UpDown1;
    QGroupBox* Frame2;  // the number shape
    QRadioButton* Option1; // "名前 + 連番"
    QRadioButton* Option2; // "連番 + 名前"
    QRadioButton* Option3; // "拡張子を連番"
    QGroupBox* Frame5;  // "形式"
    QComboBox* Combo2;  // the presets of prefix and suffix
    PresetBar* Toolbar1; // the numbering presets, under the page while it shows

    // Tab 2, extension (Frame1(1)).
    QRadioButton* OptKaku1; // "変更"
    QRadioButton* OptKaku2; // "削除"
    QRadioButton* OptKaku3; // "結合"
    QLabel* Label5;         // "．"
    QComboBox* Text8;       // the new extension

    // Tab 3, edit (Frame1(2)).
    QGroupBox* Frame10;                    // "変更"
    std::array<QRadioButton*, 3> Option8;  // "追加", "置換", "削除"
    QCheckBox* Check12;                    // "場所の指定"
    QLineEdit* Text9;                      // position
    UpDown* UpDown3;
    QLabel* Label8;                        // "文字目"
    std::array<QRadioButton*, 2> Option9;  // "前から", "後から"
    QLabel* Label7;                        // "場所の指定は拡張子を含みません。"
    std::array<QFrame*, 2> Frame12;        // add/replace boxes; delete boxes
    QComboBox* Text10;                     // text to add or to find
    QLabel* Label9;                        // "-->"
    QComboBox* Text11;                     // replacement
    QLineEdit* Text12;                     // characters to delete
    UpDown* UpDown4;
    QLabel* Label10;                       // "文字分を削除"
    std::array<QRadioButton*, 2> Option10; // "右に", "左に"

    // Tab 4, case, width and kana (Frame1(3)).
    QLabel* Label6;                       // "（）の中の番号順に実行されます。"
    QCheckBox* Check7;                    // "名前(1)"
    std::array<QRadioButton*, 3> Option4; // "先頭を大文字", "すべて大文字", "すべて小文字"
    QCheckBox* Check8;                    // "拡張子(2)"
    std::array<QRadioButton*, 2> Option5; // "すべて大文字", "すべて小文字"
    QCheckBox* Check9;                    // "半角<->全角(3)"
    std::array<QRadioButton*, 2> Option6; // "半角に", "全角に"
    QCheckBox* chkHalf1;                  // "カナ"
    QCheckBox* chkHalf2;                  // "英数"
    QCheckBox* Check10;                   // "かな<->カナ(4)"
    std::array<QRadioButton*, 2> Option7; // "平仮名に", "片仮名に"

    // Tab 5, time stamps set (Frame1(4)).
    QCheckBox* Check2;                   // "作成日時"
    QDateEdit* DTPicker1;
    QTimeEdit* DTPicker2;
    std::array<QPushButton*, 2> Command7; // "now", "zero"
    QCheckBox* Check3;                   // "更新日時"
    QDateEdit* DTPicker3;
    QTimeEdit* DTPicker4;
    std::array<QPushButton*, 2> Command8;
    QCheckBox* Check4;                   // "アクセス日"
    QDateEdit* DTPicker5;
    QTimeEdit* DTPicker6;                // never shown: keeps the time of start-up

    // Tab 5, name from the time stamp (Frame17).
    QRadioButton* OptTimeCreate; // "作成日時"
    QRadioButton* OptTimeRenew;  // "更新日時"
    QCheckBox* ChkYear;          // "年"
    QCheckBox* ChkMonth;         // "月"
    QCheckBox* ChkDay;           // "日"
    QCheckBox* ChkHour;          // "時"
    QCheckBox* ChkMin;           // "分"
    QCheckBox* ChkSec;           // "秒"
    std::array<QRadioButton*, 2> Option15; // "YYYY", "YY"
    QGroupBox* Frame19;          // "区切り文字"
    QComboBox* Combo6;           // between the date parts
    QComboBox* Combo7;           // between date and time
    QComboBox* Combo8;           // between the time parts
    QCheckBox* Check20;          // "付加する"
    QComboBox* Combo9;           // before the time
    QComboBox* Combo10;          // after the time
    QRadioButton* Option16;      // "前に"
    QRadioButton* Option17;      // "後に"
    QCheckBox* Check19;          // "同名のとき連番付加"
    QLineEdit* Text16;           // the preview

    // Tab 6, attributes (Frame1(5)); k = 0 read-only, 1 archive, 2 hidden, 3 system.
    std::array<QFrame*, 4> Frame13;
    std::array<QCheckBox*, 4> Check11;
    QRadioButton* Opt0_1; // "設定"
    QRadioButton* Opt0_0; // "解除"
    QRadioButton* Opt1_1;
    QRadioButton* Opt1_0;
    QRadioButton* Opt2_1;
    QRadioButton* Opt2_0;
    QRadioButton* Opt3_1;
    QRadioButton* Opt3_0;

    // Tab 7, import (Frame1(6)).
    QListWidget* List4;      // the imported names
    QComboBox* Combo3;       // separator of the imported text
    QPushButton* Command6;   // "ﾘｽﾄをｸﾘｱ"
    QLabel* Label12;         // "拡張子の指定"
    QRadioButton* Option11;  // "変更しない"
    QRadioButton* Option12;  // "変更する"
    QComboBox* Combo4;       // the extension, or "ﾘｽﾄと同じ"

    // Tab 8, copy (Frame1(7)).
    QGroupBox* Frame14;     // "動作"
    QRadioButton* Option13; // "ｺﾋﾟｰ"
    QRadioButton* Option14; // "移動"
    QGroupBox* Frame15;     // "同じ時スキップ"
    QCheckBox* Check15;     // "作成日時"
    QCheckBox* Check16;     // "更新日時"
    QCheckBox* Check17;     // "ﾌｧｲﾙｻｲｽﾞ"
    QGroupBox* Frame16;     // "桁"
    QComboBox* Combo5;      // digits of the clash number
    QLabel* Label14;        // "名前部分"
    QLineEdit* Text13;
    QLabel* Label13;        // "．"
    QLabel* Label15;        // "拡張子"
    QLineEdit* Text14;
    QLabel* Label16;        // "開始番号"
    QLineEdit* Text15;
    QLabel* Label17;        // "ｺﾋﾟｰ（移動）先は『出力先フォルダ』で設定してください。"

    QString selectedCaption() const;
    engine::Tab selectedTab() const;
    int selectedIndex() const;    // 1-based, as the setting TabStrip stores it
    bool selectTab(int oneBased); // false (nothing changes) outside 1..8

    // The tab's parameters, read from the controls now. Tab::Other reads the
    // selected tab.
    engine::OperationParams gather(engine::Tab tab) const;
    // Focus on the control that holds that parameter.
    void focusField(engine::Field field);

    // The stored lists, the copy and numbering settings, the selected tab and
    // the date pickers (from now). A stored value that does not convert
    // leaves the control at its start value.
    void loadSettings(const QDateTime& now);
    // The selected tab, the numbering and the copy settings.
    void saveSettings();

    // Places the strip, its pages, chkSubDir and Check18 for a window width
    // w (twips).
    void layout(double w);

    // Shows the page of the selected tab.
    void TabStrip1_Click();

    // Selects the number shape (1, 2, else 3) and applies its layout even
    // when it was already selected, as a preset load needs.
    void setNumberShape(int shape);
    int numberShape() const; // 1, 2 or 3

signals:
    void tabChanged(); // after every TabStrip1_Click

private:
    // Pages, one builder each.
    void buildStrip(QWidget* form);
    void buildNumberPage();
    void buildExtensionPage();
    void buildEditPage();
    void buildConversionPage();
    void buildStampPage();
    void buildStampNamePage();
    void buildAttributePage();
    void buildImportPage();
    void buildCopyPage();
    void setStartValues();
    void wire();

    // Rules of the controls.
    void applyFollowers(const QCheckBox* box);
    void applyAllFollowers();
    void applyNumberShape();
    void applyExtensionMode();
    void applyImportExtension();
    void applyEditMode();
    void applyPositionRule();
    void partBoxClicked(QCheckBox* part);
    void refreshPreview();
    void Combo2_Click(int index);
    void stepSpun(bool up);
    void setNow(QDateEdit* date, QTimeEdit* time);
    void normalise(QLineEdit* box);

    engine::AddNumParams gatherAddNum() const;
    engine::ChangeKakuParams gatherChangeKaku() const;
    engine::FNameEditParams gatherEdit() const;
    engine::FNameConvParams gatherConv() const;
    engine::SetTimeStampParams gatherTimeStamp() const;
    engine::SetAttributeParams gatherAttribute() const;
    engine::FNameImportParams gatherImport() const;
    engine::FNameCopyParams gatherCopy() const;

    Services& m_services;
    QWidget* m_pane = nullptr; // the strip's frame behind the pages
    std::array<QRadioButton*, 4> m_setOption{};   // Opt<k>_1
    std::array<QRadioButton*, 4> m_clearOption{}; // Opt<k>_0
};

} // namespace tavil::mainwin
