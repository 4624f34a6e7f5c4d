#include "mainwin/clsmousetrack.h"

#include "mainwin/twips.h"

#include <QEnterEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace tavil::mainwin {

namespace {

// How many trackers watch a widget, and whether it tracked the mouse before
// the first of them came. Kept on the widget itself, so they end with it.
constexpr char trackersProperty[] = "tavilMouseTrackers";
constexpr char trackedBeforeProperty[] = "tavilMouseTrackedBefore";

} // namespace

clsMouseTrack::clsMouseTrack(QObject* parent)
    : MessageReceiver(parent)
{
}

clsMouseTrack::~clsMouseTrack()
{
    detach();
    m_spots.clear();
}

void clsMouseTrack::setTarget(QWidget* target)
{
    m_inside = false;
    detach();
    m_target = target;
    attach();
}

QWidget* clsMouseTrack::target() const
{
    return m_target;
}

void clsMouseTrack::setCapture(bool capture)
{
    m_capture = capture;
    m_inside = false;
    if (!capture)
        m_held = false;
}

void clsMouseTrack::AddSpot(int left, int top, int width, int height)
{
    const double tpp = twips::perPixel();
    Spot spot{};
    spot.left = int(std::lround(left / tpp));
    spot.top = int(std::lround(top / tpp));
    spot.right = int(std::lround(width / tpp + spot.left));
    spot.bottom = int(std::lround(height / tpp + spot.top));
    m_spots.push_back(spot);
}

void clsMouseTrack::ClearSpot()
{
    m_spots.clear();
}

QRect clsMouseTrack::spotRect(int index) const
{
    if (index < 1 || index > spotCount())
        return {};
    const Spot& s = m_spots[std::size_t(index - 1)];
    return QRect(QPoint(s.left, s.top), QPoint(s.right - 1, s.bottom - 1));
}

void clsMouseTrack::attach()
{
    if (!m_target)
        return;
    // Moves without a button reach a widget only while it tracks the mouse:
    // on while any tracker is attached, as it was once the last one leaves.
    const int trackers = m_target->property(trackersProperty).toInt();
    if (trackers == 0)
        m_target->setProperty(trackedBeforeProperty, m_target->hasMouseTracking());
    m_target->setProperty(trackersProperty, trackers + 1);
    m_target->setMouseTracking(true);
    // All trackers of one widget share its hook; the first one makes it.
    support::clsMessage* hook = support::clsMessage::MessageClass(m_target);
    if (!hook)
        hook = new support::clsMessage(m_target);
    hook->AddMessage(this, m_target);
}

void clsMouseTrack::detach()
{
    m_held = false;
    if (!m_target)
        return;
    if (support::clsMessage* hook = support::clsMessage::MessageClass(m_target)) {
        hook->DeleteMessage(this, m_target);
        // The last user lets it go; the widget is unhooked by then.
        if (hook->MessageCount() == 0 && hook->ChildMessageCount() == 0)
            delete hook;
    }
    const int trackers = m_target->property(trackersProperty).toInt() - 1;
    if (trackers > 0) {
        m_target->setProperty(trackersProperty, trackers);
    } else {
        m_target->setMouseTracking(m_target->property(trackedBeforeProperty).toBool());
        // An empty value removes the property: nothing is left on the widget.
        m_target->setProperty(trackersProperty, QVariant());
        m_target->setProperty(trackedBeforeProperty, QVariant());
    }
    m_target = nullptr;
}

void clsMouseTrack::CallBackWindow(QObject* window, QEvent* event, bool& /*handled*/)
{
    // The widget still gets every event: handled is never set.
    if (window != m_target || !m_capture)
        return;
    switch (event->type()) {
    case QEvent::Enter: {
        const auto* e = static_cast<QEnterEvent*>(event);
        mouseMoved(e->position().toPoint(), e->buttons());
        break;
    }
    case QEvent::MouseMove: {
        const auto* e = static_cast<QMouseEvent*>(event);
        mouseMoved(e->position().toPoint(), e->buttons());
        break;
    }
    case QEvent::Leave:
        // Only sent once no button holds the pointer: a move out.
        mouseMoved(QPoint(-1, -1), Qt::NoButton);
        break;
    case QEvent::MouseButtonRelease: {
        const auto* e = static_cast<QMouseEvent*>(event);
        buttonReleased(e->position().toPoint(), e->buttons());
        break;
    }
    default:
        break;
    }
}

void clsMouseTrack::mouseMoved(QPoint pos, Qt::MouseButtons buttons)
{
    const bool noButton = buttons == Qt::NoButton;
    if (m_target->rect().contains(pos)) {
        if (!m_inside) {
            m_inside = true;
            emit MouseEnter();
        }
        CheckSpotLeave(pos, buttons);
        for (int i = spotCount(); i >= 1; --i) {
            Spot& spot = m_spots[std::size_t(i - 1)];
            if (spot.holds(pos) && noButton && !spot.inside) {
                spot.inside = true; // marked first: a handler may clear the spots
                emit SpotMouseEnter(i);
                break;
            }
        }
        m_held = true;
        return;
    }
    if (!m_held || !noButton)
        return;
    m_inside = false;
    emit MouseLeave();
    CheckSpotLeave(pos, buttons);
    m_held = false;
}

void clsMouseTrack::buttonReleased(QPoint pos, Qt::MouseButtons buttons)
{
    if (!m_inside || m_target->rect().contains(pos))
        return;
    m_inside = false;
    emit MouseLeave();
    CheckSpotLeave(pos, buttons);
    // The pointer is out and no longer held, so the Leave that follows the
    // release is not a second leave.
    m_held = false;
}

void clsMouseTrack::CheckSpotLeave(QPoint pos, Qt::MouseButtons buttons)
{
    if (buttons != Qt::NoButton)
        return;
    for (int i = spotCount(); i >= 1; --i) {
        Spot& spot = m_spots[std::size_t(i - 1)];
        if (!spot.holds(pos) && spot.inside) {
            spot.inside = false;
            emit SpotMouseLeave(i);
            return; // at most one leave per event
        }
    }
}

} // namespace tavil::mainwin
