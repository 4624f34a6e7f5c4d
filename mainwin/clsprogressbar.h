#pragma once

#include "mainwin/progress.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <optional>

namespace tavil::mainwin {

class PictureBox;

// A progress bar drawn into a picture box: a bar in BarColor over a white
// surface with the value and unit centred on it; where the bar covers the
// text, the text shows white. Both the width and the height of the surface
// measure Max units. Every property write but the target's redraws at once.
class clsProgressBar final : public QObject, public Progress {
    Q_OBJECT
public:
    // Vertical: the bar grows upwards from the bottom.
    enum Styles { Horizontal = 0, Vertical = 1 };

    clsProgressBar();
    ~clsProgressBar() override;

    // The surface, not owned. Setting it clears it and draws Value 0.
    void setTarget(PictureBox* target);
    PictureBox* target() const;

    // Clamped to 0..Max.
    void setValue(int value) override;
    int value() const override { return m_value; }
    // A Max of 0 or less draws an empty bar and holds Value at 0.
    void setMax(int max) override;
    int max() const override { return m_max; }
    void setBarColor(const QColor& color);
    QColor barColor() const { return m_barColor; }
    // The tint of the part the bar has not reached yet.
    void setBackColor(const QColor& color);
    QColor backColor() const { return m_backColor; }
    void setUnit(const QString& unit);
    QString unit() const { return m_unit; }
    // Whether the value is written before the unit.
    void setValueShow(bool show);
    bool valueShow() const { return m_valueShow; }
    void setStyle(int style);
    int style() const { return m_style; }

    // How many times the picture has been drawn. A new Value that changes
    // neither the bar's edge by a pixel nor the text is not drawn: a run
    // over 100,000 files would otherwise paint the whole picture each file.
    int drawCount() const { return m_drawCount; }

protected:
    // Follows the surface's size: the scale measures its new extent.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What one drawing shows: the same look needs no drawing again.
    struct Look {
        QSize size;
        int edge = -1;      // where the bar ends, in pixels
        bool bar = false;   // a bar at all (none at Value 0)
        QString text;
        bool operator==(const Look&) const = default;
    };

    void RefreshBar();
    void draw();
    // Draws only when the picture would look different from the last one.
    void drawIfChanged();
    Look lookFor(const QSize& size) const;

    PictureBox* surface() const;

    // Held as a widget: the surface is still watched while it is being
    // destroyed, when it is no longer a picture box.
    QPointer<QWidget> m_target;
    int m_value = 0;
    QColor m_barColor{0, 0, 0x80}; // dark blue
    QColor m_backColor{Qt::white};
    int m_max = 100;
    QString m_unit = QStringLiteral("%");
    bool m_valueShow = true;
    int m_style = Horizontal;
    std::optional<Look> m_drawn; // none: the next drawing is due whatever it shows
    int m_drawCount = 0;
};

} // namespace tavil::mainwin
