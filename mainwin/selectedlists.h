#pragma once

#include <QObject>
#include <QPoint>
#include <QStringList>

#include <functional>

class QAction;
class QCheckBox;
class QKeyEvent;
class QListWidget;
class QMenu;
class QMouseEvent;
class QPushButton;
class QWidget;

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

class FileListSource;
class StatusSink;
using platform::Services;

// The selected-files list of select mode and its SKIP rows. It is made of two
// twins: List1 keeps its entries sorted, List2 in the order they came. The
// one in use (gWorkList) is shown; the other (gOtherList) is hidden and keeps
// what it held when it was last in use. Entries are raw file names of the
// open folder (platform/fsname.h) or the SKIP row engine::kSkipRow; every
// call here gives and takes raw names.
//
// Form1 owns this object (it is not a child of the form); the controls are
// children of the form.
class SelectedLists : public QObject {
    Q_OBJECT
public:
    SelectedLists(QWidget* form, Services& services, FileListSource& files, StatusSink& status);
    ~SelectedLists() override;

    QListWidget* List1; // sorted
    QListWidget* List2; // unsorted
    QCheckBox* Check1;  // "選択する": select mode
    QPushButton* Command1; // "追加 ->>"
    QPushButton* Command2; // "<<- 削除"
    QPushButton* Command3; // "クリア"
    QPushButton* Command5; // "すべて追加"

    // The list popup, shared by File1, the twins and the import list List4.
    QMenu* mnuPopup1;
    QAction* mnuPopup1All;
    QAction* mnuPopup1Kirikae; // kirikae: switch (invert) the selection
    QAction* mnuPopup1Bar1;
    QAction* mnuPopup1Add;     // "追加(&A)" or "削除(&D)", set when the popup opens
    QAction* mnuPopup1Bar2;
    QAction* mnuPopup1Skip;    // the SKIP submenu's entry
    QMenu* mnuPopup1SkipMenu;  // the SKIP submenu itself
    QAction* mnuPopup1SkipIns;
    QAction* mnuPopup1SkipIns2;
    QAction* mnuPopup1SkipIns3;
    QAction* mnuPopup1SkipDel;
    QAction* mnuPopup1Bar3;
    QAction* mnuPopup1Up;
    QAction* mnuPopup1Down;
    QAction* mnuPopup1Bar4;
    QAction* mnuPopup1Hanten; // hanten: reverse the list

    QListWidget* gWorkList() const;
    QListWidget* gOtherList() const;
    bool sorted() const; // gWorkList is List1
    QStringList workList() const; // gWorkList's raw entries in order (SKIP rows included)
    bool selectMode() const;      // Check1 = 1

    void clearBoth();       // a folder change or Command3
    void clearWorkList();   // what the operations ask for after a run
    // The sort option: the chosen twin becomes gWorkList, filled with the
    // other's entries; ActionSetting/Sorted is written.
    void swapLists(bool sorted);
    void loadSettings();    // ActionSetting/Sorted chooses gWorkList and shows it
    void Check1_Click();
    void chkSubDir_Click(bool checked); // sub-folders turn select mode off and lock Check1
    void reapplySelectMode();           // Check1 set to its other value and back (the run's wrap-up)
    void setRunLocked(bool locked);     // Command1, 2, 3, 5 and Check1 disabled while locked
    // File1's right button: add caption "追加(&A)", enabled only in select
    // mode; moves, reverse and SKIP disabled.
    void showFilePopup(const QPoint& globalPos);

    void Command1_Click(); // add File1's selected files (only in select mode)
    void Command2_Click(); // remove gWorkList's selected entries
    void Command3_Click(); // clear both twins
    void Command5_Click(); // add all of File1's files

    // The list the popup entries and the selection keys act on. Each list's
    // key and mouse handling sets it first.
    enum class PopupTarget { None, File1, List1, List2, List4 };
    PopupTarget popupTarget() const;
    void setPopupTarget(PopupTarget target);
    // The import list shares the popup; its owner hands it in once, with the
    // removal that "削除(&D)" runs on it.
    void setImportList(QListWidget* list4, std::function<void()> removeSelected);
    // List4's right button: "削除(&D)", SKIP disabled. Its owner sets the
    // enabled states of mnuPopup1Up, mnuPopup1Down and mnuPopup1Hanten first.
    void showImportPopup(const QPoint& globalPos);

    // The popup's entries. Selection, add/remove and order act on the popup
    // target; the SKIP entries always on gWorkList.
    void mnuPopup1All_Click();
    void mnuPopup1Kirikae_Click();
    void mnuPopup1Add_Click();
    void mnuPopup1SkipIns_Click();
    void mnuPopup1SkipIns2_Click();
    void mnuPopup1SkipIns3_Click(); // the equal-interval dialog Form6
    void mnuPopup1SkipDel_Click();
    void mnuPopup1Up_Click();
    void mnuPopup1Down_Click();
    void mnuPopup1Hanten_Click();

    std::function<bool()> numberingTabSelected; // the SKIP submenu is enabled only then
    // Shows the popup at a screen position and returns when it closed; tests
    // put their own in its place.
    std::function<void(QMenu* menu, const QPoint& globalPos)> execPopup;

    void layout(double w, double half, double h);

private:
    class ListFilter;

    void build();
    void wire();
    QListWidget* targetList() const;
    PopupTarget targetOf(const QListWidget* list) const;
    void addFiles(bool selectedOnly);
    void fillSorted(QListWidget* list, const QStringList& names);
    bool listKeyPress(QListWidget* list, QKeyEvent* event);
    bool listMousePress(QListWidget* list, QMouseEvent* event);
    void setOrderEntries(const QListWidget* list);
    void popupAt(const QPoint& globalPos);

    QWidget* m_form;
    Services& m_services;
    FileListSource& m_files;
    StatusSink& m_status;
    QListWidget* m_work = nullptr;
    QListWidget* m_other = nullptr;
    PopupTarget m_target = PopupTarget::None;
    QListWidget* m_list4 = nullptr;
    std::function<void()> m_removeFromList4;
    bool m_subDirOn = false;
};

} // namespace tavil::mainwin
