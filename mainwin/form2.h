#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace tavil::platform {
struct Services;
}

namespace tavil::mainwin {

class clsMouseTrack;
using platform::Services;

// "Version " & major & "." & minor & "." & the revision with at least four
// digits (7 gives "0007").
QString versionText(int major, int minor, int revision);

// One step of the About box's animation: the figure's caption and its left
// edge in twips, before and after.
struct Label8Frame {
    QString caption;
    int left = 0;
    friend bool operator==(const Label8Frame&, const Label8Frame&) = default;
};
Label8Frame label8Step(const Label8Frame& now);

inline const QString kLabel8Short = QStringLiteral("¨****～");
inline const QString kLabel8Long = QStringLiteral("¨******～");

// The About box, which is also the splash screen. Each opening makes a new
// box; closing it (OK, a click on its surface, the close button, the main
// window's splash timer) stops its animation and calls back the main window.
class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(Services& services, QWidget* owner = nullptr);
    ~Form2() override;

    // The splash: no owner, modeless, no OK, no animation; it deletes
    // itself when closed.
    static Form2* showSplash(Services& services, std::function<void()> onUnload);
    // The About box: owned by owner, modal, with OK and the animation. A
    // splash still open is closed first. Returns when the box is closed.
    static int showAbout(QWidget* owner, Services& services, std::function<void()> onUnload);

    // What the Help menu does before showing: OK shown, the animation on.
    void prepareAsAbout();
    // Called once, when the box closes.
    void setOnUnload(std::function<void()> onUnload);
    bool isSplash() const { return m_splash; }

    QLabel* Label1;       // the program's name
    QLabel* Label2;       // the platform
    QLabel* Label3;       // the version
    QLabel* Label4;       // a line about the program
    QWidget* Picture3;    // holds the e-mail link
    QLabel* Label5;       // the e-mail address
    QWidget* Picture4;    // holds the web link
    QLabel* Label7;       // the web address
    QLabel* Label8;       // the animated figure
    QPushButton* Command1;
    QTimer* Timer1;
    clsMouseTrack* mclsTrack1; // hover on Picture3
    clsMouseTrack* mclsTrack2; // hover on Picture4

    void Timer1_Timer();
    void Command1_Click();
    void Label5_Click();
    void Label7_Click();
    // Label8's left edge in twips.
    int label8Left() const { return m_label8Left; }

    void done(int result) override;

signals:
    // The box lost the activation (the main window is enabled then).
    void lostFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void wire();
    void Form_Unload();
    void openLink(const QString& address);
    void setLabel8(const Label8Frame& frame);

    Services& m_services;
    std::function<void()> m_onUnload;
    bool m_splash = false;
    bool m_unloaded = false;
    int m_label8Left;
    QObject* m_pressed = nullptr; // the link label a press began on
};

} // namespace tavil::mainwin
