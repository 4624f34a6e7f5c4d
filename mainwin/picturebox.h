#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace tavil::mainwin {

// A drawing surface that keeps what was drawn on it: the drawing lives in an
// image of the widget's size, which the widget paints whenever it is
// uncovered, so drawing code never waits for a paint event.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The kept drawing, sized to the widget (a resize keeps what fits and
    // fills the rest with the back colour). Null while the widget has no
    // area. Call refresh() after drawing on it.
    QImage& canvas();
    // A copy of the kept drawing as it stands.
    QImage image() const;
    // Fills the drawing with the back colour.
    void clear();
    // Shows the drawing at once.
    void refresh();

    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitImage() const;

    QColor m_backColor;
    mutable QImage m_image;
};

} // namespace tavil::mainwin
