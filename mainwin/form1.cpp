#include "mainwin/form1.h"

#include "engine/texts.h"
#include "mainwin/caption.h"
#include "mainwin/completionpopup.h"
#include "mainwin/filebrowser.h"
#include "mainwin/form2.h"
#include "mainwin/importlist.h"
#include "mainwin/numberpresets.h"
#include "mainwin/runhost.h"
#include "mainwin/selectedlists.h"
#include "mainwin/statusarea.h"
#include "mainwin/tabpages.h"
#include "mainwin/twips.h"
#include "platform/dialogs.h"
#include "platform/gui/desktop.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace tavil::mainwin {

namespace {

// The window as designed, and never smaller.
constexpr int kMinWidth = 6150;
constexpr int kMinHeight = 6550;

} // namespace

Form1::Form1(Services& services, QString commandLine)
    : m_services(services), m_commandLine(std::move(commandLine))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(mainWindowCaption());
    m_form = new QWidget(this);
    m_form->setObjectName(QStringLiteral("Form1Client"));
    setCentralWidget(m_form);
    auto* bar = new QStatusBar(this);
    setStatusBar(bar);

    m_browser = std::make_unique<FileBrowser>(m_form, services);
    m_tabs = std::make_unique<TabPages>(m_form, services);
    m_status = std::make_unique<StatusArea>(this, m_form, bar, services);
    m_lists = std::make_unique<SelectedLists>(m_form, services, *m_browser, *m_status);
    m_lists->numberingTabSelected = [this] { return m_tabs->selectedTab() == engine::Tab::AddNum; };
    m_completion = std::make_unique<CompletionPopup>(m_form, services);
    m_completion->autoComp = [this] { return m_options.autoComp; };
    m_completion->serveTabs(*m_tabs);
    m_completion->servePatternBox(*m_browser);
    m_presets = std::make_unique<NumberPresets>(*m_tabs, services, [this](bool on) { m_completion->setSuppressed(on); });
    m_import = std::make_unique<ImportList>(*m_tabs, *m_lists, *m_status, services);
    buildControls();
    buildMenus();
    buildSettingsMenus();
    wire();
    wireSettingsMenus();

    m_host = std::make_unique<Form1RunHost>(*this);
    m_driver = std::make_unique<engine::RunDriver>(
        engine::DriverServices{services.fs, services.dialogs, services.clock, services.errlogFolder}, *m_host);

    setMinimumSize(twips::toPx(kMinWidth), twips::toPx(kMinHeight));
    resize(twips::toPx(kMinWidth), twips::toPx(kMinHeight));
}

Form1::~Form1()
{
    if (m_splash)
        delete m_splash.data();
}

void Form1::buildControls()
{
    Command4 = new QPushButton(QStringLiteral(u"変更開始"), m_form);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command12 = new QPushButton(QStringLiteral(u"中止"), m_form);
    Command12->setObjectName(QStringLiteral("Command12"));
    Command12->hide(); // shown only while a run is active

    Line1 = new QFrame(m_form);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    Uzo = new QLabel(m_form);
    Uzo->setObjectName(QStringLiteral("Uzo"));
    Uzo->setAutoFillBackground(true);
    Uzo->setBackgroundRole(QPalette::Button);
    Uzo->installEventFilter(this);
    // A status bar that grows taller (a larger font) takes its room from
    // the lists.
    statusBar()->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
}

void Form1::buildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral(u"ﾌｧｲﾙ(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const auto add = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    mnuFileNet = add(mnuFile, "mnuFileNet", QStringLiteral(u"ﾈｯﾄﾜｰｸ上のﾌｧｲﾙ(&N)"));
    mnuFile->addSeparator();
    mnuFileStart = add(mnuFile, "mnuFileStart", QStringLiteral(u"変更開始(&S)"));
    mnuFileRenew = add(mnuFile, "mnuFileRenew", QStringLiteral(u"最新の情報に更新(&R)"));
    // Without a Quick window its group is empty; the menu shows one
    // separator where two meet.
    mnuFile->addSeparator();
    mnuFileQuick = add(mnuFile, "mnuFileQuick", QStringLiteral(u"QuickFormの表示(&Q)"));
    mnuFileQuick->setVisible(false); // until there is a Quick window to open
    mnuFile->addSeparator();
    mnuFileExit = add(mnuFile, "mnuFileExit", QStringLiteral(u"終了(&X)"));

    mnuHelp = menuBar()->addMenu(QStringLiteral(u"ﾍﾙﾌﾟ(&H)"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpVer = add(mnuHelp, "mnuHelpVer", QStringLiteral(u"ﾊﾞｰｼﾞｮﾝ情報(&A)..."));
}

void Form1::wire()
{
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command12, &QPushButton::clicked, this, &Form1::Command12_Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(this, &Form1::storedListEdited, this, [this] { m_completion->CompletePopupClose(false); });

    connect(mnuFileNet, &QAction::triggered, this, [this] { m_browser->mnuFileNet_Click(); });
    connect(mnuFileStart, &QAction::triggered, this, &Form1::Command4_Click);
    connect(mnuFileRenew, &QAction::triggered, this, [this] { m_browser->reread(); });
    connect(mnuFileQuick, &QAction::triggered, this, [this] {
        // Opened inside a run's pause, its operations would run inside the
        // run's own.
        if (m_openQuick && !running())
            m_openQuick();
    });
    connect(mnuFileExit, &QAction::triggered, this, &Form1::close);
    connect(mnuHelpVer, &QAction::triggered, this, &Form1::mnuHelpVer_Click);

    // The selected-files lists hold names of the open folder only.
    connect(m_browser.get(), &FileBrowser::pathChanged, this, [this] { m_lists->clearBoth(); });
    connect(m_browser.get(), &FileBrowser::folderReplaced, this, &Form1::folderReplaced);
    connect(m_browser.get(), &FileBrowser::addRequested, this, [this] { m_lists->Command1_Click(); });
    connect(m_browser.get(), &FileBrowser::popupRequested, this,
            [this](const QPoint& at) { m_lists->showFilePopup(at); });
    connect(m_tabs->chkSubDir, &QCheckBox::toggled, this, [this](bool on) { m_lists->chkSubDir_Click(on); });
    // While an output folder is in force the folder walk can't be chosen.
    connect(m_status.get(), &StatusArea::outputFolderChanged, this, [this](bool inForce) {
        if (inForce)
            m_tabs->chkSubDir->setChecked(false);
        m_tabs->chkSubDir->setEnabled(!inForce);
    });
}

void Form1::setQuickWindowOpener(std::function<void()> open)
{
    m_openQuick = std::move(open);
    mnuFileQuick->setVisible(bool(m_openQuick));
}

bool Form1::running() const
{
    return m_driver->running();
}

void Form1::Command4_Click()
{
    // The File menu's start entry comes here too; a second start during a
    // run's pauses is ignored by the driver.
    if (running())
        return;
    m_driver->start(m_options);
    if (m_closeAfterRun) {
        m_closeAfterRun = false;
        close();
    }
}

void Form1::Command12_Click()
{
    m_driver->abort();
}

void Form1::Timer1_Timer()
{
    if (m_splash)
        m_splash->close();
}

void Form1::folderReplaced()
{
    const bool hadPicks = m_lists->gWorkList()->count() > 0;
    m_lists->clearBoth();
    if (running()) {
        m_host->folderReplaced(hadPicks);
        return;
    }
    m_services.dialogs.msgBox(engine::folderNotListedText(engine::texts::kListsReread, hadPicks, m_browser->path()),
                              QString(), platform::MsgStyle::Critical);
}

void Form1::mnuHelpVer_Click()
{
    // A splash still on screen goes first: one box at a time.
    Timer1->stop();
    if (m_splash)
        m_splash->close();
    Form2::showAbout(this, m_services, [this] { Timer1->stop(); });
}

void Form1::lockForRun()
{
    QApplication::setOverrideCursor(Qt::BusyCursor);
    Command4->setEnabled(false);
    Command12->show();
    Command12->raise();
    m_lists->setRunLocked(true);
    m_browser->setBrowsingEnabled(false);
    m_status->setOutputButtonEnabled(false);
    mnuSet->menuAction()->setEnabled(false); // its entries rewrite the lists a run works from
    mnuFileQuick->setEnabled(false);         // one operation at a time
}

void Form1::unlockAfterRun(bool includeSubfolders)
{
    Command4->setEnabled(true);
    Command12->hide();
    m_lists->setRunLocked(false);
    // With sub-folders select mode stays off and its box greyed.
    if (includeSubfolders)
        m_lists->Check1->setEnabled(false);
    m_lists->reapplySelectMode();
    m_browser->setBrowsingEnabled(true);
    m_status->setOutputButtonEnabled(true);
    mnuSet->menuAction()->setEnabled(true);
    mnuFileQuick->setEnabled(true);
    QApplication::restoreOverrideCursor();
}

QRect Form1::geometryTwips() const
{
    const QRect outer = frameGeometry();
    const auto measure = [](int px, int givenPx, int givenTwips) {
        return px == givenPx ? givenTwips : twips::fromPx(px);
    };
    return QRect(measure(outer.x(), m_givenOuterPx.x(), m_givenTwips.x()),
                 measure(outer.y(), m_givenOuterPx.y(), m_givenTwips.y()),
                 measure(outer.width(), m_givenOuterPx.width(), m_givenTwips.width()),
                 measure(outer.height(), m_givenOuterPx.height(), m_givenTwips.height()));
}

void Form1::setGeometryTwips(int left, int top, int width, int height)
{
    // The stored measures are the window's outer frame: the place is the
    // frame's (move places a window's frame), the client gets what the frame
    // leaves of the size.
    m_givenTwips = QRect(left, top, width, height);
    m_givenOuterPx = QRect(twips::toPx(left), twips::toPx(top), twips::toPx(width), twips::toPx(height));
    const QMargins frame = outerFrame();
    m_givenClientPx = QSize(std::max(0, m_givenOuterPx.width() - frame.left() - frame.right()),
                            std::max(0, m_givenOuterPx.height() - frame.top() - frame.bottom()));
    move(m_givenOuterPx.topLeft());
    resize(m_givenClientPx);
    // A hidden window gets its resize event only when shown; the layout
    // must follow now.
    if (!isVisible())
        Form_Resize();
}

QMargins Form1::outerFrame() const
{
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

void Form1::followFrame()
{
    const QMargins frame = outerFrame();
    if (frame == m_frame)
        return;
    m_frame = frame;
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    // The minimum is the window's outer size, as designed.
    const QSize minimumBefore = minimumSize();
    const QSize minimum =
        (QSize(twips::toPx(kMinWidth), twips::toPx(kMinHeight)) - frameSize).expandedTo(QSize(0, 0));
    setMinimumSize(minimum);
    // A size given before this frame was known went to the client (held at
    // the minimum); unless the user has resized the window since, the whole
    // window now gets it. The frame's own place is not touched.
    if (m_givenClientPx.isValid() && windowState() == Qt::WindowNoState
        && size() == m_givenClientPx.expandedTo(minimumBefore)) {
        m_givenClientPx = (m_givenOuterPx.size() - frameSize).expandedTo(QSize(0, 0));
        resize(m_givenClientPx.expandedTo(minimum));
    }
}

void Form1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    followFrame();
}

void Form1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    followFrame();
}

void Form1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    followFrame();
    Form_Resize();
}

double Form1::listsFollowHeight(double h)
{
    // The lists are designed to end 840 twips above the window's outer
    // bottom, in a client area that held the status bar. Here the status
    // bar has a place of its own below the central widget, and the frame
    // around the window may be taller than the design allowed for: the
    // lists follow the window's height only as far as they stay clear of
    // the status bar, with a small margin above it.
    constexpr double kListsTop = 3060;
    constexpr double kListsBelowTop = 3900; // h - this is the lists' designed height
    constexpr double kAboveStatusBar = 60;
    if (!isVisible() && layout())
        layout()->setGeometry(rect()); // a hidden window's layout follows only when shown
    const int statusTop = statusBar()->isVisibleTo(this) ? statusBar()->y() : height();
    const double room = twips::fromPx(statusTop - m_form->y()) - kListsTop - kAboveStatusBar;
    return std::min(h, std::max(room, 0.0) + kListsBelowTop);
}

void Form1::Form_Resize()
{
    const QRect g = geometryTwips();
    const int w = g.width();
    const int h = g.height();
    if (w < kMinWidth) {
        setGeometryTwips(g.left(), g.top(), kMinWidth, std::max(h, kMinHeight));
        return;
    }
    if (h < kMinHeight) {
        setGeometryTwips(g.left(), g.top(), w, kMinHeight);
        return;
    }
    const double half = (w - kMinWidth) / 2.0;
    const double listsH = listsFollowHeight(h);
    m_browser->layout(w, half, listsH);
    m_tabs->layout(w);
    m_lists->layout(w, half, listsH);
    twips::place(Command4, half + 2430, 4680, 1110, 390);
    twips::place(Command12, half + 2430, 5100, 1110, 390);
    twips::place(Line1, 0, 0, w, 30);
    twips::place(Uzo, w - 240, 2700, 150, 255);
    m_status->layout();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == statusBar() && (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        && isVisible())
        Form_Resize();
    if (watched == Uzo && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Qt::KeyboardModifiers held = mouse->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (mouse->button() == Qt::LeftButton && held == (Qt::ControlModifier | Qt::AltModifier))
            Uzo_MouseDown();
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Uzo_MouseDown()
{
    // Five rows of five little figures, an empty line between the rows.
    const QString figure = QStringLiteral(u"(^^)");
    QStringList rows;
    for (int row = 0; row < 5; ++row)
        rows.append(figure.repeated(5));
    m_services.dialogs.msgBox(rows.join(QStringLiteral("\r\n\r\n")), QStringLiteral(u"ないしょ"),
                              platform::MsgStyle::Ok);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // A run is asked to stop first; the window closes when it has.
    if (running()) {
        m_closeAfterRun = true;
        m_driver->abort();
        event->ignore();
        return;
    }
    if (!m_unloaded)
        Form_Unload();
    event->accept();
}

} // namespace tavil::mainwin
