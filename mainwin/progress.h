#pragma once

#include <QString>

namespace tavil::mainwin {

// The progress display in use (gProgress): the drawn bar in Picture1 or the
// progress-bar control PBar, whichever the setting PrBar chooses. Its users
// know it only through Max and Value.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void setMax(int max) = 0;
    virtual int max() const = 0;
    virtual void setValue(int value) = 0;
    virtual int value() const = 0;
};

// What the run and the list operations need of the status area.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    // Status panel 1 (state texts) or 2 (the folder text and a run's result).
    virtual void setPanelText(int panel, const QString& text) = 0;
    virtual QString panelText(int panel) const = 0;
    // Places the progress area over panel 2, chooses the display by PrBar
    // (read now), shows it and gives it.
    virtual Progress& showProgress() = 0;
    // Hides both displays and sets the value back to 0.
    virtual void hideProgress() = 0;
};

} // namespace tavil::mainwin
