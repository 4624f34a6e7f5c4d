#pragma once

#include <QComboBox>
#include <QString>

namespace tavil::platform {
class Volumes;
}

namespace tavil::mainwin {

// The drive box Drive1: the mounted volumes, each shown by its root path,
// "/" first. The list is read again whenever it drops down, so a volume
// mounted meanwhile is there to choose.
//
// It also keeps the Ctrl-held flag: 17 (the Ctrl key's code) after Ctrl went
// down in the box, 0 again after the next key released in it.
class DriveBox final : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kCtrlHeld = 17;

    DriveBox(QWidget* parent, platform::Volumes& volumes);

    void readVolumes();
    QStringList roots() const;
    QString rootAt(int index) const;
    // Shows the volume that holds path, without a change being signalled.
    void showVolumeOf(const QString& path);
    int ctrlFlag() const { return m_ctrlFlag; }

protected:
    void showPopup() override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    platform::Volumes& m_volumes;
    int m_ctrlFlag = 0;
};

} // namespace tavil::mainwin
