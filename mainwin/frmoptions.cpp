#include "mainwin/frmoptions.h"

#include "mainwin/picturebox.h"
#include "mainwin/statusarea.h"
#include "mainwin/twips.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/names.h"
#include "platform/settingsstore.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>

namespace tavil::mainwin {

namespace S = support::settings;
namespace A = support::settings::ActionSetting;

namespace {

// Design, in twips.
constexpr int kWidth = 6090;
constexpr int kHeight = 5040;
constexpr int kPageLeft = 120;
constexpr int kPageTop = 495;
constexpr int kPageWidth = 5850;
constexpr int kPageHeight = 3840;
constexpr int kPreviewMax = 50;
constexpr int kPreviewMs = 200;

const QString kTabGeneral = QStringLiteral("全般");
const QString kTabCompletion = QStringLiteral("入力支援");
const QString kTabNumbering = QStringLiteral("連番付加");

QString latin(const char* text)
{
    return QString::fromLatin1(text);
}

// A flag as it is stored; a text that is not a flag reads as the key's
// default.
bool readFlag(platform::SettingsStore& store, const char* key, bool def)
{
    platform::Err err = platform::Err::None;
    const bool value = S::textToBool(store.read(latin(A::Section), latin(key), def), &err);
    return err == platform::Err::None ? value : def;
}

void writeFlag(platform::SettingsStore& store, const char* key, bool value)
{
    store.write(latin(A::Section), latin(key), S::boolToText(value));
}

// Whether a history holds anything: a count that is not a number holds
// nothing that could be offered.
bool historyHoldsEntries(platform::SettingsStore& store, const char* section)
{
    bool ok = false;
    const int count = store.read(latin(section), latin(S::kCountKey), 0).trimmed().toInt(&ok);
    return ok && count > 0;
}

QCheckBox* makeCheck(QWidget* parent, const char* name, const QString& caption, double l, double t, double w)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(latin(name));
    twips::place(box, l, t, w, 270);
    return box;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& title, double l, double t, double w,
                     double h)
{
    auto* frame = new QGroupBox(title, parent);
    frame->setObjectName(latin(name));
    twips::place(frame, l, t, w, h);
    return frame;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(latin(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

// Ctrl+Tab wherever the focus is in the dialog.
class frmOptions::Keys final : public QObject {
public:
    explicit Keys(frmOptions* dialog) : QObject(dialog), m_dialog(dialog) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        return m_dialog->Form_KeyDown(key->key(), key->modifiers());
    }

private:
    frmOptions* m_dialog;
};

frmOptions::frmOptions(Services& services, OptionsHost& host, QWidget* owner)
    : QDialog(owner), m_services(services), m_host(host)
{
    build();
    wire();
    load();
}

frmOptions::~frmOptions()
{
    Timer1->stop();
    delete m_keys;
}

void frmOptions::build()
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("動作設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(twips::toPx(kWidth), twips::toPx(kHeight));
    // Centred on the screen by its designed size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }

    tbsOptions = new QTabBar(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->setDrawBase(true);
    tbsOptions->setTabData(tbsOptions->addTab(kTabGeneral), QStringLiteral("tabAll"));
    tbsOptions->setTabData(tbsOptions->addTab(kTabCompletion), QStringLiteral("tabAll2"));
    tbsOptions->setTabData(tbsOptions->addTab(kTabNumbering), QStringLiteral("tabAddNum"));
    twips::place(tbsOptions, kPageLeft, 120, kPageWidth, 375);

    // The pages lie over the tab strip's client area, without a border of
    // their own; the strip's pane draws one around them.
    auto* pane = new QFrame(this);
    pane->setObjectName(QStringLiteral("tbsOptionsPane"));
    pane->setFrameShape(QFrame::StyledPanel);
    twips::place(pane, kPageLeft, kPageTop, kPageWidth, kPageHeight);
    for (std::size_t i = 0; i < Frame1.size(); ++i) {
        auto* page = new QFrame(this);
        page->setObjectName(QStringLiteral("Frame1(%1)").arg(i));
        page->setFrameShape(QFrame::NoFrame);
        twips::place(page, kPageLeft + 30, kPageTop + 30, kPageWidth - 60, kPageHeight - 60);
        Frame1[i] = page;
    }
    buildGeneralPage(Frame1[0]);
    buildNumberingPage(Frame1[1]);
    buildCompletionPage(Frame1[2]);

    cmdOK = makeButton(this, "cmdOK", QStringLiteral("OK"));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"));
    twips::place(cmdOK, 3300, 4500, 1215, 375);
    twips::place(cmdCancel, 4755, 4500, 1215, 375);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
}

void frmOptions::buildGeneralPage(QFrame* page)
{
    fraPrBar = makeFrame(page, "fraPrBar", QStringLiteral("プログレスバー"), 90, 30, 2790, 1080);
    optPrBar1 = new QRadioButton(fraPrBar);
    optPrBar1->setObjectName(QStringLiteral("optPrBar1"));
    twips::place(optPrBar1, 150, 360, 300, 270);
    Picture1 = new PictureBox(fraPrBar);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    twips::place(Picture1, 510, 390, 2100, 210);
    optPrBar2 = new QRadioButton(fraPrBar);
    optPrBar2->setObjectName(QStringLiteral("optPrBar2"));
    twips::place(optPrBar2, 150, 720, 300, 270);
    PBar = new QProgressBar(fraPrBar);
    PBar->setObjectName(QStringLiteral("PBar"));
    PBar->setTextVisible(false);
    PBar->setRange(0, kPreviewMax);
    twips::place(PBar, 510, 750, 2100, 210);

    fraFileVis = makeFrame(page, "fraFileVis", QStringLiteral("ファイルの表示"), 3000, 30, 2700, 1080);
    chkFileHidden = makeCheck(fraFileVis, "chkFileHidden", QStringLiteral("隠しファイル"), 150, 360, 2400);
    chkFileSys = makeCheck(fraFileVis, "chkFileSys", QStringLiteral("システムファイル"), 150, 720, 2400);

    fraSelected = makeFrame(page, "fraSelected", QStringLiteral("選択ファイルの設定"), 90, 1200, 5610, 960);
    chkSorted = makeCheck(fraSelected, "chkSorted", QStringLiteral("自動的にソートする"), 150, 300, 5310);
    chkListClear = makeCheck(fraSelected, "chkListClear",
                             QStringLiteral("ファイル名を変更したとき以外はリストをクリアしない"), 150, 600, 5310);

    chkLog = makeCheck(page, "chkLog", QStringLiteral("ｴﾗｰが出たときはﾛｸﾞﾌｧｲﾙに記録する"), 90, 2280, 5610);
    lblLogPlace = new QLabel(QStringLiteral("場所 ："), page);
    lblLogPlace->setObjectName(QStringLiteral("lblLogPlace"));
    twips::place(lblLogPlace, 330, 2625, 720, 255);
    Text1 = new QLineEdit(page);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true); // it tells where the logs go; the place is not chosen here
    twips::place(Text1, 1050, 2580, 4650, 330);
    Check1 = makeCheck(page, "Check1", QStringLiteral("同名のファイルがあるときはスキップする"), 90, 2985, 5610);
    Mesure = makeCheck(page, "Mesure", QStringLiteral("処理時間を測定する"), 90, 3270, 5610);
}

void frmOptions::buildCompletionPage(QFrame* page)
{
    fraAutoComp = makeFrame(page, "fraAutoComp", QStringLiteral("入力支援機能"), 90, 30, 5610, 1500);
    chkAutoComp = makeCheck(fraAutoComp, "chkAutoComp", QStringLiteral("文字の入力支援機能を使う"), 150, 330, 5310);
    lblAutoComp = new QLabel(QStringLiteral("入力支援機能はファイルパターンや拡張子などを入力する際、以前に入力した"
                                            "内容や登録されているものの中から近いものを表示する機能です。"),
                             fraAutoComp);
    lblAutoComp->setObjectName(QStringLiteral("lblAutoComp"));
    lblAutoComp->setWordWrap(true);
    twips::place(lblAutoComp, 150, 660, 5310, 780);

    fraHistory = makeFrame(page, "fraHistory", QStringLiteral("履歴のクリア"), 90, 1650, 5610, 1620);
    Command1 = makeButton(fraHistory, "Command1", QStringLiteral("ﾌｧｲﾙﾊﾟﾀｰﾝ"));
    Command2 = makeButton(fraHistory, "Command2", QStringLiteral("拡張子"));
    Command3 = makeButton(fraHistory, "Command3", QStringLiteral("「連番付加」の「名前」"));
    Command4 = makeButton(fraHistory, "Command4", QStringLiteral("「編集」のﾃｷｽﾄﾎﾞｯｸｽ"));
    twips::place(Command1, 150, 330, 2580, 375);
    twips::place(Command2, 2880, 330, 2580, 375);
    twips::place(Command3, 150, 780, 2580, 375);
    twips::place(Command4, 2880, 780, 2580, 375);
    lblHistory = new QLabel(QStringLiteral("履歴はそれぞれ30個まで保存されます。"), fraHistory);
    lblHistory->setObjectName(QStringLiteral("lblHistory"));
    twips::place(lblHistory, 150, 1260, 5310, 255);
}

void frmOptions::buildNumberingPage(QFrame* page)
{
    chkDouble = makeCheck(page, "chkDouble", QStringLiteral("同名のファイルがあるときは番号を進めて続行する"), 90,
                          150, 5610);
}

void frmOptions::wire()
{
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(Command1, &QPushButton::clicked, this, &frmOptions::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmOptions::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmOptions::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmOptions::Command4_Click);
    connect(tbsOptions, &QTabBar::currentChanged, this, &frmOptions::tbsOptions_Click);
    connect(Timer1, &QTimer::timeout, this, &frmOptions::Timer1_Timer);
    // The preview ends with the dialog, however it was closed.
    connect(this, &QDialog::finished, Timer1, &QTimer::stop);

    m_keys = new Keys(this);
    installEventFilter(m_keys);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(m_keys);
}

void frmOptions::load()
{
    platform::SettingsStore& store = m_services.store;
    // The display the main window uses, by the same reading of PrBar.
    (drawnBarChosen(store) ? optPrBar1 : optPrBar2)->setChecked(true);

    const S::OptionFlags def;
    chkFileHidden->setChecked(readFlag(store, A::Hidden, false));
    chkFileSys->setChecked(readFlag(store, A::System, false));
    chkSorted->setChecked(readFlag(store, A::Sorted, true));
    chkListClear->setChecked(readFlag(store, A::Clear, def.keepList));
    chkLog->setChecked(readFlag(store, A::LogFile, def.logFile));
    Text1->setText(platform::visibleName(platform::withTrailingSeparator(m_services.errlogFolder)));
    Check1->setChecked(readFlag(store, A::FileDouble2, def.fileDouble2));
    Mesure->setChecked(readFlag(store, A::TimeMeasure, def.timeMeasure));
    chkAutoComp->setChecked(readFlag(store, A::AutoComp, def.autoComp));
    chkDouble->setChecked(readFlag(store, A::FileDouble, def.fileDouble));

    Command1->setEnabled(historyHoldsEntries(store, S::TempPatt::Section));
    Command2->setEnabled(historyHoldsEntries(store, S::TempExp::Section));
    Command3->setEnabled(historyHoldsEntries(store, S::TempName::Section));
    Command4->setEnabled(historyHoldsEntries(store, S::TempEdit::Section));

    m_preview.setTarget(Picture1);
    m_preview.setBackColor(palette().color(QPalette::Button));
    m_preview.setUnit(QString());
    m_preview.setValueShow(false);
    m_preview.setMax(kPreviewMax);
    tbsOptions->setCurrentIndex(0);
    tbsOptions_Click();
}

void frmOptions::cmdOK_Click()
{
    platform::SettingsStore& store = m_services.store;
    store.write(latin(A::Section), latin(A::PrBar), optPrBar1->isChecked() ? QStringLiteral("1") : QStringLiteral("2"));
    m_host.applyProgressChoice();

    writeFlag(store, A::Hidden, chkFileHidden->isChecked());
    m_host.applyShowHidden(chkFileHidden->isChecked());
    writeFlag(store, A::System, chkFileSys->isChecked());
    m_host.applyShowSystem(chkFileSys->isChecked());
    m_host.applySorted(chkSorted->isChecked());

    S::OptionFlags flags;
    flags.keepList = chkListClear->isChecked();
    flags.logFile = chkLog->isChecked();
    flags.fileDouble2 = Check1->isChecked();
    flags.timeMeasure = Mesure->isChecked();
    flags.autoComp = chkAutoComp->isChecked();
    flags.fileDouble = chkDouble->isChecked();
    writeFlag(store, A::Clear, flags.keepList);
    writeFlag(store, A::LogFile, flags.logFile);
    writeFlag(store, A::FileDouble2, flags.fileDouble2);
    writeFlag(store, A::TimeMeasure, flags.timeMeasure);
    writeFlag(store, A::AutoComp, flags.autoComp);
    writeFlag(store, A::FileDouble, flags.fileDouble);
    m_host.applyOptionFlags(flags);
    accept();
}

void frmOptions::cmdCancel_Click()
{
    reject();
}

void frmOptions::clearHistory(QPushButton* button, const char* section)
{
    m_services.store.removeSection(latin(section));
    m_services.desktop.beep();
    button->setEnabled(false);
}

void frmOptions::Command1_Click()
{
    clearHistory(Command1, S::TempPatt::Section);
}

void frmOptions::Command2_Click()
{
    clearHistory(Command2, S::TempExp::Section);
}

void frmOptions::Command3_Click()
{
    clearHistory(Command3, S::TempName::Section);
}

void frmOptions::Command4_Click()
{
    clearHistory(Command4, S::TempEdit::Section);
}

void frmOptions::restartPreview()
{
    m_preview.setMax(kPreviewMax);
    m_preview.setValue(0);
    PBar->setMaximum(kPreviewMax);
    PBar->setValue(0);
    Timer1->start(kPreviewMs);
}

void frmOptions::tbsOptions_Click()
{
    const QString caption = tbsOptions->tabText(tbsOptions->currentIndex());
    int page = -1;
    if (caption == kTabGeneral) {
        restartPreview();
        page = 0;
    } else if (caption == kTabNumbering) {
        Timer1->stop();
        page = 1;
    } else if (caption == kTabCompletion) {
        page = 2; // the preview goes on as it was
    }
    if (page < 0)
        return;
    for (std::size_t i = 0; i < Frame1.size(); ++i)
        Frame1[i]->setVisible(int(i) == page);
    Frame1[std::size_t(page)]->raise();
}

void frmOptions::Timer1_Timer()
{
    // The drawn bar holds at its maximum; the control, one step ahead, would
    // pass its own, and then both begin again.
    m_preview.setValue(m_preview.value() + 1);
    const int ahead = m_preview.value() + 1;
    if (ahead > PBar->maximum()) {
        m_preview.setValue(0);
        PBar->setValue(0);
        return;
    }
    PBar->setValue(ahead);
}

bool frmOptions::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key != Qt::Key_Tab || held != Qt::ControlModifier)
        return false;
    tbsOptions->setCurrentIndex((tbsOptions->currentIndex() + 1) % tbsOptions->count());
    return true;
}

} // namespace tavil::mainwin
