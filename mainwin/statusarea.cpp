#include "mainwin/statusarea.h"

#include "mainwin/picturebox.h"
#include "mainwin/twips.h"
#include "platform/dialogs.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/names.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace tavil::mainwin {

namespace {

namespace keys = support::settings::ActionSetting;

const QString kNoOutputTip = QStringLiteral("出力先フォルダを設定します");
const QString kOutputPrefix = QStringLiteral("出力先：");
const QString kPickerTitle = QStringLiteral("出力先フォルダを選択して下さい。");
const QString kNoOutputMessage = QStringLiteral("出力先フォルダは設定されていません");

// Design of the tool bar and the progress area, in twips.
constexpr double kToolbarFromRight = 4375;
constexpr double kToolbarTop = 45;
constexpr double kToolbarSize = 345;
constexpr double kPanel1Width = 1440;
constexpr double kAreaLeft = 1500;
constexpr double kAreaBelowBarTop = 40;
constexpr double kAreaNarrower = 65;
constexpr double kPictureHeight = 190;
constexpr double kPBarHeight = 180;

// An open folder, drawn: the button's picture.
QIcon folderIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QColor edge(128, 96, 0);
    p.setPen(edge);
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(255, 230, 130));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    return QIcon(pixmap);
}

// Panel 1 is designed 1440 twips wide; it is wider where the font needs more
// for the longest state texts written into it (the walk through sub-folders,
// the count of a run over a full list).
int panel1Width(const QFontMetrics& fm)
{
    int width = twips::toPx(kPanel1Width);
    for (const QString& text : {QStringLiteral(u"ｻﾌﾞﾌｫﾙﾀﾞ検索中..."), QStringLiteral(u"変更中 32767/32767")})
        width = std::max(width, fm.horizontalAdvance(text) + 2);
    return width;
}

} // namespace

bool drawnBarChosen(platform::SettingsStore& store)
{
    bool isNumber = false;
    const double value = store.read(keys::Section, keys::PrBar, 1).trimmed().toDouble(&isNumber);
    return !isNumber || value == 1.0;
}

ControlProgress::ControlProgress(QProgressBar* bar)
    : m_bar(bar)
{
    m_bar->setRange(0, m_max);
    m_bar->setValue(0);
}

void ControlProgress::setMax(int max)
{
    const int before = value();
    m_max = max;
    // A range of 0 would make the control a busy indicator; a range that
    // leaves the value out would reset the control.
    m_bar->setRange(0, std::max(max, 1));
    setValue(before);
}

void ControlProgress::setValue(int value)
{
    m_bar->setValue(std::clamp(value, 0, std::max(m_max, 0)));
}

int ControlProgress::value() const
{
    return std::max(m_bar->value(), 0);
}

StatusArea::StatusArea(QWidget* window, QWidget* form, QStatusBar* SBar1_, Services& services)
    : QObject(window)
    , SBar1(SBar1_)
    , panel1(new QLabel(SBar1_))
    , panel2(new QLabel(SBar1_))
    , Picture1(new PictureBox(window))
    , PBar(new QProgressBar(window))
    , Toolbar3(new QToolBar(form))
    , outputAction(new QAction(folderIcon(), QString(), Toolbar3))
    , outputButton(nullptr)
    , m_window(window)
    , m_services(services)
    , m_control(PBar)
    , m_progress(&gProgressBar)
{
    SBar1->setObjectName(QStringLiteral("SBar1"));
    panel1->setObjectName(QStringLiteral("panel1"));
    panel2->setObjectName(QStringLiteral("panel2"));
    panel1->setFixedWidth(panel1Width(panel1->fontMetrics()));
    SBar1->addWidget(panel1);
    SBar1->addWidget(panel2, 1);

    Toolbar3->setObjectName(QStringLiteral("Toolbar3"));
    Toolbar3->setMovable(false);
    Toolbar3->setFloatable(false);
    Toolbar3->setIconSize(QSize(16, 16));
    Toolbar3->setContentsMargins(0, 0, 0, 0);
    Toolbar3->setContextMenuPolicy(Qt::PreventContextMenu);
    outputAction->setObjectName(QStringLiteral("Toolbar3Button1"));
    outputAction->setCheckable(true);
    outputAction->setToolTip(kNoOutputTip);
    Toolbar3->addAction(outputAction);
    outputButton = qobject_cast<QToolButton*>(Toolbar3->widgetForAction(outputAction));
    twips::place(Toolbar3, 6150 - kToolbarFromRight, kToolbarTop, kToolbarSize, kToolbarSize);

    Picture1->setObjectName(QStringLiteral("Picture1"));
    PBar->setObjectName(QStringLiteral("PBar"));
    PBar->setTextVisible(false);

    // The drawn bar as the main window shows it: tinted with the button
    // face, no text.
    gProgressBar.setTarget(Picture1);
    gProgressBar.setBackColor(window->palette().color(QPalette::Button));
    gProgressBar.setUnit(QString());
    gProgressBar.setValueShow(false);

    placeProgress();
    PBar->hide();
    Picture1->hide();
    chooseProgress();

    wire();
}

StatusArea::~StatusArea() = default;

void StatusArea::wire()
{
    connect(outputAction, &QAction::triggered, this, &StatusArea::Toolbar3_ButtonClick);
    Toolbar3->installEventFilter(this);
    if (outputButton)
        outputButton->installEventFilter(this);
    // The area follows panel 2 wherever the status bar's own layout puts it.
    SBar1->installEventFilter(this);
    panel2->installEventFilter(this);
}

bool StatusArea::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == Toolbar3 || watched == outputButton) {
            const auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() == Qt::RightButton) {
                Toolbar3_MouseDown(e->button());
                return true; // told once, not again by the tool bar
            }
        }
        break;
    case QEvent::Resize:
    case QEvent::Move:
        if (watched == SBar1 || watched == panel2)
            placeProgress();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

Progress& StatusArea::gProgress()
{
    return *m_progress;
}

void StatusArea::chooseProgress(bool show)
{
    if (drawnBarChosen(m_services.store)) {
        m_progress = &gProgressBar;
        if (show) {
            Picture1->show();
            PBar->hide();
        }
    } else {
        m_progress = &m_control;
        if (show) {
            PBar->show();
            Picture1->hide();
        }
    }
}

void StatusArea::placeProgress()
{
    const double top = twips::fromPx(SBar1->mapTo(m_window, QPoint(0, 0)).y()) + kAreaBelowBarTop;
    // Moved right by as much as panel 1 was widened for its font.
    const double left = kAreaLeft + std::max(0, twips::width(panel1) - int(kPanel1Width));
    // A panel narrower than the margin gives an area of no width (the
    // placement clamps it), never a negative one.
    const double width = twips::width(panel2) - kAreaNarrower;
    twips::place(Picture1, left, top, width, kPictureHeight);
    Picture1->raise();
    twips::place(PBar, left, top, width, kPBarHeight);
    PBar->raise();
}

QString StatusArea::outFolder() const
{
    return m_outFolder;
}

bool StatusArea::outputButtonPressed() const
{
    return outputAction->isChecked();
}

void StatusArea::releaseOutputButton()
{
    outputAction->setChecked(false);
    setNoOutputFolder();
}

void StatusArea::setOutputButtonEnabled(bool enabled)
{
    outputAction->setEnabled(enabled);
}

void StatusArea::setNoOutputFolder()
{
    m_outFolder.clear();
    outputAction->setToolTip(kNoOutputTip);
    emit outputFolderChanged(false);
}

void StatusArea::Toolbar3_ButtonClick()
{
    if (!outputAction->isChecked()) {
        setNoOutputFolder();
        return;
    }
    const QString folder = m_services.desktop.pickFolder(m_window, kPickerTitle, QStringLiteral("/"));
    if (folder.isEmpty()) {
        outputAction->setChecked(false);
        setNoOutputFolder();
        return;
    }
    m_outFolder = platform::withTrailingSeparator(folder);
    outputAction->setToolTip(kOutputPrefix + platform::visibleName(m_outFolder));
    emit outputFolderChanged(true);
}

void StatusArea::Toolbar3_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    const QString text = m_outFolder.isEmpty() ? kNoOutputMessage : kOutputPrefix + platform::visibleName(m_outFolder);
    m_services.dialogs.msgBox(text, QStringLiteral("Tavil"), platform::MsgStyle::Ok);
}

void StatusArea::layout(double w)
{
    twips::setLeft(Toolbar3, w - kToolbarFromRight);
    placeProgress();
}

void StatusArea::layout()
{
    layout(twips::fromPx(m_window->frameGeometry().width()));
}

void StatusArea::setPanelText(int panel, const QString& text)
{
    if (panel == 1)
        panel1->setText(text);
    else if (panel == 2)
        panel2->setText(text);
}

QString StatusArea::panelText(int panel) const
{
    if (panel == 1)
        return panel1->text();
    if (panel == 2)
        return panel2->text();
    return {};
}

Progress& StatusArea::showProgress()
{
    placeProgress();
    chooseProgress(true);
    return gProgress();
}

void StatusArea::hideProgress()
{
    Picture1->hide();
    PBar->hide();
    gProgressBar.setValue(0);
    m_control.setValue(0);
}

} // namespace tavil::mainwin
