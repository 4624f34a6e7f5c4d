#pragma once

#include "support/clsmessage.h"

#include <QPointer>
#include <QRect>

#include <vector>

class QWidget;

namespace tavil::mainwin {

// Tells when the mouse pointer enters and leaves one widget, and hot spots
// inside it. It watches the widget's Enter, Leave and mouse-move events
// through the widget's message hook, which every tracker of one widget
// shares; it never keeps an event from the widget. While the pointer is
// inside it counts as holding the mouse, so the move or release that takes
// the pointer out is seen. With a button held nothing leaves: the leave
// comes when the button is released outside. The widget tracks the mouse
// while any tracker is attached to it and goes back to its own setting when
// the last one leaves.
class clsMouseTrack final : public support::MessageReceiver {
    Q_OBJECT
public:
    explicit clsMouseTrack(QObject* parent = nullptr);
    ~clsMouseTrack() override;

    // The widget watched (not owned), or none.
    void setTarget(QWidget* target);
    QWidget* target() const;
    // Tracking switched on.
    void setCapture(bool capture);
    bool capture() const { return m_capture; }

    // A hot spot, in twips of the target's area; spots are numbered from 1
    // in the order they were added.
    void AddSpot(int left, int top, int width, int height);
    void ClearSpot();
    int spotCount() const { return int(m_spots.size()); }
    // A spot's area in pixels of the target.
    QRect spotRect(int index) const;

    // Called by the hook for each event of the target.
    void CallBackWindow(QObject* window, QEvent* event, bool& handled) override;

signals:
    void MouseEnter();
    void MouseLeave();
    void SpotMouseEnter(int index);
    void SpotMouseLeave(int index);

private:
    struct Spot {
        int left, top, right, bottom; // pixels; right and bottom outside
        bool inside = false;
        bool holds(QPoint p) const { return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom; }
    };

    void attach();
    void detach();
    void mouseMoved(QPoint pos, Qt::MouseButtons buttons);
    void buttonReleased(QPoint pos, Qt::MouseButtons buttons);
    void CheckSpotLeave(QPoint pos, Qt::MouseButtons buttons);

    QPointer<QWidget> m_target;
    bool m_capture = false;
    bool m_inside = false;
    // Holding the mouse: set on every move inside, given up when the
    // pointer leaves. A pointer outside that was never held is not seen.
    bool m_held = false;
    std::vector<Spot> m_spots;
};

} // namespace tavil::mainwin
