// The Quick window's life: what it restores when it opens, what it saves when
// it closes, and the opening itself.

#include "quick/form4.h"

#include "platform/clock.h"
#include "platform/settingsstore.h"
#include "quick/quicksettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGuiApplication>
#include <QLayout>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTimeEdit>

#include <cmath>

namespace tavil::quick {

namespace {

// Stored measures are twips, 1440 to the inch.
double twipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int toPixels(double twips)
{
    return int(std::lround(twips / twipsPerPixel()));
}

QSize screenTwips()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize pixels = screen ? screen->geometry().size() : QSize(1024, 768);
    const double tpp = twipsPerPixel();
    return QSize(int(std::lround(pixels.width() * tpp)), int(std::lround(pixels.height() * tpp)));
}

} // namespace

void Form4::load()
{
    mLaunchMain = false;
    const QuickPos pos = loadQuickPos(m_services.store);
    restorePlace(pos);
    Toolbar3Buttons[pos.mode == QuickMode::Files ? 0 : pos.mode == QuickMode::Folders ? 1 : 2]->setChecked(true);
    Check1->setChecked(pos.trash);
    applyMode();

    Combo1->addItem(QStringLiteral("*.*"));
    Combo1->addItems(loadFilePatterns(m_services.store));
    Combo1->setCurrentIndex(0);

    TabStrip1->setCurrentIndex(0);
    TabStrip1_Click();
    const QDateTime now = m_services.clock.now();
    DTPicker1->setDate(now.date());
    const QTime time = now.time();
    DTPicker2->setTime(QTime(time.hour(), time.minute(), time.second()));
    for (QRadioButton* option : Option6)
        option->setEnabled(true);
    for (QCheckBox* box : Check2)
        box->setEnabled(true);
}

void Form4::restorePlace(const QuickPos& stored)
{
    // A damaged or foreign value (a height of 1e9) must not make a window
    // millions of pixels tall.
    const QuickPos pos = heldToScreen(stored, screenTwips());
    QPoint topLeft(toPixels(pos.left), toPixels(pos.top));
    // A place on no screen (one since unplugged, a damaged value) comes back
    // to the corner of the screen.
    if (!QGuiApplication::screenAt(topLeft + QPoint(8, 8))) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            topLeft = screen->availableGeometry().topLeft();
    }
    move(topLeft);
    m_outerSize = QSize(toPixels(pos.width), toPixels(pos.height));
    layout()->activate(); // the smallest size that shows the controls
    resize(m_outerSize);
}

// The stored size is the outer one; the frame is known only once the window
// is on screen.
void Form4::fitFrame()
{
    if (m_frameFitted || !isVisible())
        return;
    const QSize extra = frameGeometry().size() - size();
    if (extra.width() <= 0 && extra.height() <= 0)
        return;
    m_frameFitted = true;
    resize(m_outerSize - extra);
}

void Form4::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    fitFrame();
}

void Form4::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    fitFrame();
}

void Form4::closingSteps()
{
    if (m_closed)
        return;
    m_closed = true;
    const double tpp = twipsPerPixel();
    const QRect frame = frameGeometry();
    QuickPos pos;
    pos.left = frame.x() * tpp;
    pos.top = frame.y() * tpp;
    pos.width = frame.width() * tpp;
    pos.height = frame.height() * tpp;
    pos.mode = mode();
    pos.trash = Check1->isChecked();
    saveQuickPos(m_services.store, pos);
    // The program may end right after this; what was written must be on disk.
    m_services.store.sync();
    if (!m_fromMenu && !mLaunchMain)
        emit endProgram();
}

void Form4::closeEvent(QCloseEvent* event)
{
    closingSteps();
    QDialog::closeEvent(event);
}

void Form4::done(int result)
{
    closingSteps();
    QDialog::done(result);
}

void Form4::mnuChangeBack_Click()
{
    m_openMainWindow = true;
    mLaunchMain = true;
    close();
}

QuickResult runQuickWindow(platform::Services& services, bool fromMenu, QWidget* owner)
{
    // The main window is hidden meanwhile: closing the last window shown must
    // not end the program on its own.
    const bool quitOnLastClosed = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    const bool hideOwner = fromMenu && owner && owner->isVisible();
    if (hideOwner)
        owner->hide();
    QuickResult result;
    {
        Form4 window(services, fromMenu, owner);
        window.exec();
        result.openMainWindow = window.openMainWindow();
    }
    if (hideOwner)
        owner->show();
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLastClosed);
    return result;
}

} // namespace tavil::quick
