#include "mainwin/drivebox.h"

#include "platform/volumes.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace tavil::mainwin {

DriveBox::DriveBox(QWidget* parent, platform::Volumes& volumes) : QComboBox(parent), m_volumes(volumes)
{
    readVolumes();
}

void DriveBox::readVolumes()
{
    const QSignalBlocker quiet(this);
    const QString shown = currentText();
    clear();
    addItems(m_volumes.roots());
    const int at = findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive);
    setCurrentIndex(at >= 0 ? at : 0);
}

QStringList DriveBox::roots() const
{
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out.append(itemText(i));
    return out;
}

QString DriveBox::rootAt(int index) const
{
    return itemText(index);
}

void DriveBox::showVolumeOf(const QString& path)
{
    const QSignalBlocker quiet(this);
    const int at = findText(platform::volumeOf(roots(), path), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0)
        setCurrentIndex(at);
}

void DriveBox::showPopup()
{
    readVolumes();
    QComboBox::showPopup();
}

void DriveBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Control)
        m_ctrlFlag = kCtrlHeld;
    QComboBox::keyPressEvent(event);
}

void DriveBox::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats as release and press pairs; only a real release
    // ends the hold.
    if (!event->isAutoRepeat() && m_ctrlFlag == kCtrlHeld)
        m_ctrlFlag = 0;
    QComboBox::keyReleaseEvent(event);
}

} // namespace tavil::mainwin
