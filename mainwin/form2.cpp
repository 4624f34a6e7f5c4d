#include "mainwin/form2.h"

#include "mainwin/clsmousetrack.h"
#include "mainwin/homepage.h"
#include "mainwin/twips.h"
#include "mainwin/version.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace tavil::mainwin {

namespace {

// Design, in twips.
constexpr int kWidth = 6600;
constexpr int kHeight = 3600;
constexpr int kLabel8Left = 4200;
constexpr int kLabel8Top = 3000;
constexpr int kAnimationInterval = 850; // ms
// The figure re-enters from the right once it is this far out on the left.
constexpr int kWrapBelow = -600;
constexpr int kWrapTo = 6600;
constexpr int kCrawl = 200;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    twips::move(label, left, top);
    label->adjustSize();
    return label;
}

void setUnderline(QLabel* label, bool on)
{
    QFont font = label->font();
    font.setUnderline(on);
    label->setFont(font);
}

} // namespace

QString versionText(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision, 4, 10, QLatin1Char('0'));
}

Label8Frame label8Step(const Label8Frame& now)
{
    Label8Frame next = now;
    if (next.left < kWrapBelow)
        next.left = kWrapTo;
    if (next.caption.isEmpty()) {
        next.caption = kLabel8Short;
    } else if (next.caption == kLabel8Short) {
        next.caption = kLabel8Long;
        next.left -= kCrawl;
    } else {
        // The long figure contracts in place; anything else becomes it.
        next.caption = next.caption == kLabel8Long ? kLabel8Short : kLabel8Long;
    }
    return next;
}

Form2::Form2(Services& services, QWidget* owner)
    : QDialog(owner)
    , m_services(services)
    , m_label8Left(kLabel8Left)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(twips::toPx(kWidth), twips::toPx(kHeight));

    Label1 = makeLabel(this, "Label1", QStringLiteral("Tavil"), 600, 240);
    QFont title = Label1->font();
    title.setPointSize(title.pointSize() * 2);
    title.setBold(true);
    Label1->setFont(title);
    Label1->adjustSize();
    Label3 = makeLabel(this, "Label3", QString(), 600, 960);
    Label2 = makeLabel(this, "Label2", QStringLiteral("Linux / Qt 6"), 600, 1260);
    Label4 = makeLabel(this, "Label4", QStringLiteral("ファイル名を一括で変更するツール"), 600, 1560);

    Picture3 = new QWidget(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    twips::move(Picture3, 600, 2040);
    Label5 = makeLabel(Picture3, "Label5", kMailAddress, 0, 0);
    Picture4 = new QWidget(this);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    twips::move(Picture4, 600, 2340);
    Label7 = makeLabel(Picture4, "Label7", kWebAddress, 0, 0);
    for (QLabel* link : {Label5, Label7}) {
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
        link->setPalette(palette);
        link->setCursor(Qt::PointingHandCursor);
    }

    Label8 = makeLabel(this, "Label8", QString(), kLabel8Left, kLabel8Top);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    twips::place(Command1, 5130, 2040, 1110, 390);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    // Load: the version, OK hidden until the Help menu shows it, hover on
    // both links, each link's box sized to its label.
    Label3->setText(versionText(kVersionMajor, kVersionMinor, kVersionRevision));
    Label3->adjustSize();
    Command1->hide();
    mclsTrack1 = new clsMouseTrack(this);
    mclsTrack1->setTarget(Picture3);
    mclsTrack1->setCapture(true);
    mclsTrack2 = new clsMouseTrack(this);
    mclsTrack2->setTarget(Picture4);
    mclsTrack2->setCapture(true);
    Picture3->resize(Label5->size());
    Label7->show();
    Picture4->resize(Label7->size());

    wire();
}

Form2::~Form2() = default;

void Form2::wire()
{
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
    connect(mclsTrack1, &clsMouseTrack::MouseEnter, this, [this] { setUnderline(Label5, true); });
    connect(mclsTrack1, &clsMouseTrack::MouseLeave, this, [this] { setUnderline(Label5, false); });
    connect(mclsTrack2, &clsMouseTrack::MouseEnter, this, [this] { setUnderline(Label7, true); });
    connect(mclsTrack2, &clsMouseTrack::MouseLeave, this, [this] { setUnderline(Label7, false); });
    for (QObject* watched : {static_cast<QObject*>(Label5), static_cast<QObject*>(Label7),
                             static_cast<QObject*>(Picture3), static_cast<QObject*>(Picture4)})
        watched->installEventFilter(this);
}

Form2* Form2::showSplash(Services& services, std::function<void()> onUnload)
{
    auto* splash = new Form2(services, nullptr);
    splash->m_splash = true;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setWindowFlags(Qt::SplashScreen);
    splash->setModal(false);
    splash->setOnUnload(std::move(onUnload));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = splash->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        splash->move(frame.topLeft());
    }
    splash->show();
    return splash;
}

int Form2::showAbout(QWidget* owner, Services& services, std::function<void()> onUnload)
{
    // The splash can still be up when the Help menu is used; the About box
    // is a box of its own, and the splash would outlive the main window's
    // splash timer, which closing the About box stops.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (auto* open = qobject_cast<Form2*>(window); open && open->isSplash() && open->isVisible())
            open->close();
    }
    Form2 box(services, owner);
    box.setOnUnload(std::move(onUnload));
    box.prepareAsAbout();
    return box.exec();
}

void Form2::prepareAsAbout()
{
    Timer1->setInterval(kAnimationInterval);
    Timer1->start();
    Command1->show();
}

void Form2::setOnUnload(std::function<void()> onUnload)
{
    m_onUnload = std::move(onUnload);
}

void Form2::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void Form2::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    delete mclsTrack1;
    mclsTrack1 = nullptr;
    delete mclsTrack2;
    mclsTrack2 = nullptr;
    Timer1->stop();
    if (m_onUnload)
        m_onUnload();
}

void Form2::Command1_Click()
{
    accept();
}

void Form2::Label5_Click()
{
    openLink(QStringLiteral("mailto:") + Label5->text());
}

void Form2::Label7_Click()
{
    openLink(Label7->text());
}

void Form2::openLink(const QString& address)
{
    // Nothing is shown when no program takes the address.
    m_services.desktop.openUrl(QUrl(address));
}

void Form2::Timer1_Timer()
{
    setLabel8(label8Step({Label8->text(), m_label8Left}));
}

void Form2::setLabel8(const Label8Frame& frame)
{
    // The left edge is kept in twips: read back from pixels it would drift.
    m_label8Left = frame.left;
    Label8->setText(frame.caption);
    Label8->adjustSize();
    twips::move(Label8, m_label8Left, kLabel8Top);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    const bool isLabel = watched == Label5 || watched == Label7;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (isLabel) {
            m_pressed = watched;
            return true; // a click on a link does not reach the box's surface
        }
        if (watched == Picture3) {
            Label5_Click();
            return true;
        }
        if (watched == Picture4) {
            if (Label7->isVisible())
                Label7_Click();
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (isLabel) {
            const auto* e = static_cast<QMouseEvent*>(event);
            const bool clicked = m_pressed == watched && e->button() == Qt::LeftButton
                && static_cast<QWidget*>(watched)->rect().contains(e->position().toPoint());
            m_pressed = nullptr;
            if (clicked) {
                if (watched == Label5)
                    Label5_Click();
                else
                    Label7_Click();
            }
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

bool Form2::event(QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate)
        emit lostFocus();
    return QDialog::event(event);
}

void Form2::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    close();
}

void Form2::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, palette().color(QPalette::Base));
    gradient.setColorAt(1, QColor(200, 215, 240));
    p.fillRect(rect(), gradient);
}

} // namespace tavil::mainwin
