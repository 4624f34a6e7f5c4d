#pragma once

#include "mainwin/clsprogressbar.h"
#include "mainwin/progress.h"

#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QProgressBar;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWidget;

namespace tavil::platform {
struct Services;
class SettingsStore;
}

namespace tavil::mainwin {

class PictureBox;
using platform::Services;

// True when the setting PrBar chooses the drawn bar: it is missing, or it
// reads as the number 1. A text that is not a number counts as 1 too, so a
// damaged setting still shows progress.
bool drawnBarChosen(platform::SettingsStore& store);

// The progress-bar control PBar seen as a progress display. Its Max may be 0
// (an empty list) and a value beyond it is held at it, where the bare
// control would show a busy bar or drop the value.
class ControlProgress final : public Progress {
public:
    explicit ControlProgress(QProgressBar* bar);
    void setMax(int max) override;
    int max() const override { return m_max; }
    void setValue(int value) override;
    int value() const override;

private:
    QProgressBar* m_bar;
    int m_max = 100;
};

// The main window's status bar SBar1 with its two panels, the progress area
// laid over panel 2 (the drawn bar in Picture1 or the control PBar) and the
// output-folder button of Toolbar3.
class StatusArea : public QObject, public StatusSink {
    Q_OBJECT
public:
    // window: the main window, parent of the progress area; form: the
    // central widget, Toolbar3's parent; SBar1: the main window's status bar.
    StatusArea(QWidget* window, QWidget* form, QStatusBar* SBar1, Services& services);
    ~StatusArea() override;

    QStatusBar* SBar1;
    QLabel* panel1;         // 1440 twips: the state text
    QLabel* panel2;         // the rest: the folder text
    PictureBox* Picture1;   // the drawn bar's surface
    QProgressBar* PBar;
    QToolBar* Toolbar3;
    QAction* outputAction;  // Toolbar3's button 1, two states
    QToolButton* outputButton;
    clsProgressBar gProgressBar;

    // The display chosen last (the drawn bar until anything was chosen).
    Progress& gProgress();
    // Chooses the display by PrBar, read now; with show, shows it and hides
    // the other (start-up chooses without showing either).
    void chooseProgress(bool show = false);
    // Lays the progress area over panel 2.
    void placeProgress();

    // "" or a folder ending with "/" (raw name, platform/fsname.h).
    QString outFolder() const;
    bool outputButtonPressed() const;
    // Releases the button without asking: no output folder in force.
    void releaseOutputButton();
    void setOutputButtonEnabled(bool enabled);
    // The output-folder button after it toggled itself.
    void Toolbar3_ButtonClick();
    // A mouse button pressed on the tool bar: the right one tells the
    // output folder.
    void Toolbar3_MouseDown(Qt::MouseButton button);

    // After a resize: Toolbar3 for the window's width w (twips, outer), and
    // the progress area. Without w the window's own width is taken.
    void layout(double w);
    void layout();

    // StatusSink
    void setPanelText(int panel, const QString& text) override;
    QString panelText(int panel) const override;
    Progress& showProgress() override;
    void hideProgress() override;

signals:
    // While an output folder is in force the sub-folder walk can't be
    // chosen: chkSubDir is cleared and disabled (true), or enabled (false).
    void outputFolderChanged(bool inForce);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void wire();
    void setNoOutputFolder();

    QWidget* m_window;
    Services& m_services;
    QString m_outFolder;
    ControlProgress m_control;
    Progress* m_progress;
};

} // namespace tavil::mainwin
