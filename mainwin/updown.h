#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tavil::mainwin {

// A pair of spin buttons beside a text box (its buddy): each click reads the
// box's number, moves it by one within the range and writes it back. The box
// stays a plain text box, so that a text such as "00" is kept as typed until
// a button is used; a text that is no number counts as the value the buttons
// last wrote (0, within the range, before the first click).
class UpDown final : public QWidget {
    Q_OBJECT
public:
    UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

    void stepUp();
    void stepDown();

signals:
    // After the buddy's text has been written.
    void upClicked();
    void downClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void wire();
    void step(int by);

    QLineEdit* m_buddy;
    int m_minimum;
    int m_maximum;
    int m_value;
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace tavil::mainwin
