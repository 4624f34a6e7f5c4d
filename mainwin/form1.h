#pragma once

#include "engine/rundriver.h"
#include "platform/gui/services.h"
#include "support/settingsschema.h"

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace tavil::mainwin {

using platform::Services;

class CompletionPopup;
class FileBrowser;
class Form1RunHost;
class Form2;
class ImportList;
class NumberPresets;
class SelectedLists;
class StatusArea;
class TabPages;

// The main window: the file browser on the left, the selected-files lists on
// the right, the operation tabs above them, the status bar below. Its pieces
// own their controls; Form1 puts them together, lays them out, starts and
// stops the program and the runs.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    // commandLine: the program's arguments joined by blanks, compared exactly.
    Form1(Services& services, QString commandLine);
    ~Form1() override;

    // The start-up. False when the program ends without the main window (a
    // Quick window started from the command line that did not go on to it).
    bool Form_Load();
    // The shutdown: saves the window's settings and ends the program.
    void Form_Unload();

    void Command4_Click();  // "変更開始": start a run
    void Command12_Click(); // "中止": ask the run to stop
    void Timer1_Timer();    // closes the splash

    // The Quick window opened from the command line; returns whether to go
    // on to the main window. Unset: the command line opens nothing.
    std::function<bool()> runQuickWindow;
    // The Quick window opened from the File menu (the main window is hidden
    // meanwhile). Unset: the menu entry is not shown.
    void setQuickWindowOpener(std::function<void()> open);

    bool running() const;

    // Every modal dialog of the window is run through here, so that tests
    // can drive one without blocking.
    std::function<int(QDialog& dialog)> execModal = [](QDialog& dialog) { return dialog.exec(); };

    // The pieces, for the window's own wiring and for tests.
    FileBrowser& browser() { return *m_browser; }
    TabPages& tabs() { return *m_tabs; }
    SelectedLists& lists() { return *m_lists; }
    StatusArea& status() { return *m_status; }
    NumberPresets& presets() { return *m_presets; }
    CompletionPopup& completion() { return *m_completion; }
    const support::settings::OptionFlags& options() const { return m_options; }
    void setOptions(const support::settings::OptionFlags& options) { m_options = options; }

    // Controls of the window itself.
    QPushButton* Command4 = nullptr;
    QPushButton* Command12 = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Uzo = nullptr;
    QTimer* Timer1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNet = nullptr;
    QAction* mnuFileStart = nullptr;
    QAction* mnuFileRenew = nullptr;
    QAction* mnuFileQuick = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpVer = nullptr;

    // The window's outer size and place in twips, as they are stored. The
    // outer size given before the window manager framed the window is
    // given again once the frame is known; a window that kept the place and
    // size it was given reports the very twips it was given (pixels alone
    // would turn 7000 into 7005).
    QRect geometryTwips() const;
    void setGeometryTwips(int left, int top, int width, int height);

    // ---- The Settings and Help menus and the folder popup (form1_menus.cpp).
    QMenu* mnuSet = nullptr;
    QAction* mnuSetMove = nullptr;      // the options dialog
    QMenu* mnuSetVis = nullptr;         // "ﾌｧｲﾙの表示(&F)"
    QAction* mnuSetVisHidden = nullptr; // checked: hidden files are listed
    QAction* mnuSetVisSystem = nullptr; // checked: system files are listed
    QAction* mnuSetSort = nullptr;      // checked: the sorted list is in use
    QAction* mnuSetPat = nullptr;       // the list editor with one of its lists
    QAction* mnuSetShort = nullptr;
    QAction* mnuSetKaku = nullptr;      // kaku(chōshi): the extensions
    QAction* mnuSetDiv = nullptr;       // the import separators
    QAction* mnuHelpHelp = nullptr;     // the manual's contents
    QAction* mnuHelpSerch = nullptr;    // the manual's index of topics
    QAction* mnuHelpWhats = nullptr;    // What's This mode
    QAction* mnuHelpWebsite = nullptr;  // the program's web page
    // The folder popup on Dir1's right button.
    QMenu* mnuPopup2 = nullptr;
    QAction* mnuPopup2Reg = nullptr;      // the open folder becomes a shortcut
    QMenu* mnuPopup2Create = nullptr;     // "新規作成(&N)"
    QAction* mnuPopup2MKDir = nullptr;    // a new folder
    QAction* mnuPopup2MKNumDir = nullptr; // numbered folders (Form5)
    QAction* mnuPopup2Bar1 = nullptr;
    // The folder shortcuts (section Dir): entry i shows shortcut i, visible
    // only while it holds a folder; the folder itself is the entry's data.
    std::array<QAction*, 10> mnuPopup2Short{};
    // Shows the folder popup at a screen position and returns when it
    // closed; tests put their own in its place.
    std::function<void(QMenu* menu, const QPoint& globalPos)> execFolderPopup;

signals:
    // The list editor's OK rebuilt the boxes that offer a stored list; the
    // completion popup closes.
    void storedListEdited();

private:
    void buildSettingsMenus();
    void wireSettingsMenus();
    void setWhatsThisTexts();
    platform::Err loadMenuState(); // start-up: the shortcuts and the check marks
    void showShortcuts(const QStringList& folders);
    void showFolderPopup(const QPoint& globalPos);
    void mnuSetMove_Click();
    void mnuSetVisHidden_Click();
    void mnuSetVisSystem_Click();
    void mnuSetSort_Click();
    void openListEditor(int mode); // a Form3::Mode
    void mnuHelpHelp_Click();
    void mnuHelpSerch_Click();
    void mnuHelpWhats_Click();
    void mnuHelpWebsite_Click();
    void mnuPopup2Reg_Click();
    void mnuPopup2MKDir_Click();
    void mnuPopup2MKNumDir_Click();
    void mnuPopup2Short_Click(int index);
    // ---- End of the menus.

signals:
    // The program is to end now (the unload has saved what it keeps).
    void ended();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class Form1RunHost;

    void buildControls();
    void buildMenus();
    void wire();
    void Form_Resize();
    // The frame the window manager put around the window (none yet while
    // the window was never shown).
    QMargins outerFrame() const;
    // The frame became known or changed: the minimum and a given outer size
    // follow it.
    void followFrame();
    // The height (outer, twips) the lists' layout follows: the window's,
    // or less where the status bar would cover their last rows.
    double listsFollowHeight(double h);
    void Uzo_MouseDown();
    void mnuHelpVer_Click();
    // The browser found another folder at the open folder's path: the
    // selected-files lists are emptied, as on a change of folder, and the
    // user told (by the run's own message during a run).
    void folderReplaced();

    // The run's lock of the window and its undoing.
    void lockForRun();
    void unlockAfterRun(bool includeSubfolders);

    // Start-up steps that belong to the window itself.
    platform::Err restoreGeometry();
    platform::Err selectStoredTab();
    void startupError(platform::Err err);

    Services& m_services;
    QString m_commandLine;
    support::settings::OptionFlags m_options;
    std::unique_ptr<FileBrowser> m_browser;
    std::unique_ptr<TabPages> m_tabs;
    std::unique_ptr<SelectedLists> m_lists;
    std::unique_ptr<StatusArea> m_status;
    std::unique_ptr<CompletionPopup> m_completion;
    std::unique_ptr<NumberPresets> m_presets;
    std::unique_ptr<ImportList> m_import; // fills the tabs' List4
    std::unique_ptr<Form1RunHost> m_host;
    std::unique_ptr<engine::RunDriver> m_driver;
    QPointer<Form2> m_splash;
    std::function<void()> m_openQuick;
    QWidget* m_form = nullptr; // the central widget, parent of every control
    bool m_unloaded = false;
    // The outer geometry last given, in twips and as it came to in pixels,
    // the client size it was given with, and the frame known then.
    QRect m_givenTwips;
    QRect m_givenOuterPx;
    QSize m_givenClientPx;
    QMargins m_frame;
    bool m_closeAfterRun = false;
};

} // namespace tavil::mainwin
