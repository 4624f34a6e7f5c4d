#pragma once

#include "platform/gui/services.h"
#include "quick/folderlisting.h"
#include "quick/quicknames.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QMenu;
class QMenuBar;
class QMimeData;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabBar;
class QTimeEdit;
class QToolBar;

namespace tavil::support {
class classFile;
}

namespace tavil::quick {

struct QuickPos;
struct QuickTools;
struct DeleteParams;

// What one opening of the Quick window leaves the opener to do: go on to the
// main window (the user asked for it), or not.
struct QuickResult {
    bool openMainWindow = false;
};

// The Quick window: a small window on top of all others that collects the
// files and folders dropped on it and, by its mode, changes their extensions,
// replaces a text in their names, or deletes those that meet a condition.
// It is made for one opening, so every opening starts with an empty
// collection.
class Form4 : public QDialog {
    Q_OBJECT
public:
    // fromMenu: opened from the main window's menu (closing it returns there);
    // else opened at start-up in place of the main window.
    Form4(platform::Services& services, bool fromMenu, QWidget* owner = nullptr);
    ~Form4() override;

    // Menu.
    QMenu* mnuChange = nullptr;
    QAction* mnuChangeExp = nullptr;
    QAction* mnuChangeReplace = nullptr;
    QAction* mnuFileDel = nullptr;
    QAction* mnuChamgeBar1 = nullptr; // the separator
    QAction* mnuChangeBack = nullptr;
    // The mode buttons: files, folders, delete ("Toolbar3.Buttons(1)" to "(3)").
    QToolBar* Toolbar3 = nullptr;
    std::array<QAction*, 3> Toolbar3Buttons{};
    QFrame* Line1 = nullptr;
    QFrame* Line2 = nullptr;
    QProgressBar* PBar1 = nullptr;
    QPushButton* Command1 = nullptr; // "OK": never shown, does nothing
    // Delete mode.
    QCheckBox* Check1 = nullptr;
    QTabBar* TabStrip1 = nullptr;
    std::array<QFrame*, 3> Frame1{};
    QComboBox* Combo1 = nullptr;
    std::array<QCheckBox*, 4> Check2{}; // test archive, read-only, hidden, system
    std::array<QCheckBox*, 4> Check3{}; // the state wanted
    std::array<QRadioButton*, 2> Option6{}; // AND, OR
    QRadioButton* Option1 = nullptr; // creation
    QRadioButton* Option2 = nullptr; // last write
    QRadioButton* Option3 = nullptr; // last access (the date alone)
    QDateEdit* DTPicker1 = nullptr;
    QTimeEdit* DTPicker2 = nullptr;
    QFrame* Frame2 = nullptr;
    QRadioButton* Option4 = nullptr; // newer
    QRadioButton* Option5 = nullptr; // older
    // Never shown: the collection (sorted), the latest drop, and the listing
    // of the first dropped path's folder.
    QStringList List1;
    QStringList List2;
    FolderListing File1;

    bool mFilesMode = false;  // files rather than folders for the replacement
    bool mLaunchMain = false; // the user asked to go on to the main window

    QStringList collection() const { return List1; }
    QuickMode mode() const;
    // Whether the user asked to go on to the main window.
    bool openMainWindow() const { return m_openMainWindow; }

    void expFileName(); // the numbered menu
    void mnuChangeExp_Click();
    void mnuChangeReplace_Click();
    void mnuFileDel_Click();
    void mnuChangeBack_Click();
    void Toolbar3_ButtonClick();
    void TabStrip1_Click();
    // Takes the files of a drop into the collection.
    void handleDrop(const QMimeData* data);

signals:
    // The program must end now (opened at start-up, closed without going on);
    // the settings are already synced.
    void endProgram();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    class Host;

    void buildMenu();
    void buildToolbar();
    QWidget* buildDeletePanel();
    QFrame* buildNamePage();
    QFrame* buildAttributePage();
    QFrame* buildDatePage();
    void refuseDrops();
    void wire();
    void load();
    void applyMode();
    void restorePlace(const QuickPos& pos);
    void fitFrame();
    void closingSteps();
    void takeDrop(const QStringList& paths);
    void dropPath(const QStringList& paths);
    DeleteParams deleteParams() const;
    QuickTools tools();

    platform::Services& m_services;
    QMenuBar* m_menuBar = nullptr;
    const bool m_fromMenu;
    QWidget* m_owner;
    std::unique_ptr<support::classFile> m_file;
    std::unique_ptr<Host> m_host;
    QWidget* m_deletePanel = nullptr;
    QStackedWidget* m_pages = nullptr;
    bool m_openMainWindow = false;
    bool m_closed = false;
    // The stored outer size, until the window frame is known.
    QSize m_outerSize;
    bool m_frameFitted = false;
};

// Opens the window modally and gives what the opener must do next. Opened
// from the menu, the owner (the main window) is hidden meanwhile and shown
// again afterwards. Opened at start-up, openMainWindow false means the
// program ends: nothing else is to be saved.
QuickResult runQuickWindow(platform::Services& services, bool fromMenu, QWidget* owner);

} // namespace tavil::quick
