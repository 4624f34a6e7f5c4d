#include "mainwin/tabpages.h"

#include "mainwin/inputfilters.h"
#include "mainwin/presetbar.h"
#include "mainwin/tabpages_build.h"
#include "mainwin/twips.h"
#include "mainwin/updown.h"
#include "platform/gui/services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>
#include <QTimeEdit>

#include <algorithm>
#include <functional>
#include <memory>

namespace tavil::mainwin {

namespace {

struct TabInfo {
    const char16_t* caption;
    const char* key;
    const char16_t* toolTip;
};

// The captions are the tabs' identity: the run and the tab handler compare
// them, never the index.
constexpr TabInfo kTabs[8] = {
    {u"連番付加", "tabNum", u"様々な形で連番を付加します"},
    {u"拡張子", "tabExp", u"拡張子を統一します"},
    {u"編集", "tabEdit", u"特定文字の追加等を行います"},
    {u"a<->A", "tabConv", u"大・小文字を統一します"},
    {u"ﾀｲﾑｽﾀﾝﾌﾟ", "tabTime", u"ﾀｲﾑｽﾀﾝﾌﾟを統一します"},
    {u"属性", "tabZoku", u"属性を統一します"},
    {u"ｲﾝﾎﾟｰﾄ", "tabInport", u"ﾃｷｽﾄﾌｧｲﾙからﾌｧｲﾙ名を取り込みます"},
    {u"ｺﾋﾟｰ", "tabFileCopy", u"ﾌｧｲﾙのｺﾋﾟｰを行います"},
};
constexpr int kTimeTab = 4;

// The strip is narrower than eight tabs of the style's usual width; tabs
// that take only a little room around their captions show most of them at
// once (the strip scrolls for the rest). Above and below their captions
// they take no more than the pages leave them: the pages begin 360 twips
// under the strip's top, and the style's usual tabs are taller than that
// in a 9-point desktop font.
class CompactTabStyle final : public QProxyStyle {
public:
    CompactTabStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 10;
        if (metric == PM_TabBarTabVSpace)
            return 10;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

class StripTabBar final : public QTabBar {
public:
    explicit StripTabBar(QWidget* parent) : QTabBar(parent), m_style(std::make_unique<CompactTabStyle>())
    {
        setStyle(m_style.get());
    }
    // The widget lets go of its style before the style goes.
    ~StripTabBar() override { setStyle(nullptr); }

private:
    std::unique_ptr<CompactTabStyle> m_style;
};

// The frame of the strip's client area, drawn as the style draws a tab
// widget's pane.
class TabPane final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionTabWidgetFrame option;
        option.initFrom(this);
        option.shape = QTabBar::RoundedNorth;
        option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
        painter.drawPrimitive(QStyle::PE_FrameTabWidget, option);
    }
};

// Runs a box's leaving rule when the focus moves on inside the window; a
// switch to another window or a popup menu is not leaving the box.
class LeaveHook final : public QObject {
public:
    LeaveHook(QObject* parent, std::function<void()> onLeave) : QObject(parent), m_onLeave(std::move(onLeave)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_onLeave();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onLeave;
};

QFrame* makePage(QWidget* form, const QString& name)
{
    auto* page = new QFrame(form);
    page->setObjectName(name);
    page->setFrameShape(QFrame::NoFrame);
    // The pages are designed for a 9-point text in the application's font.
    QFont font;
    font.setPointSize(9);
    page->setFont(font);
    return page;
}

} // namespace

TabPages::TabPages(QWidget* form, Services& services) : QObject(form), m_services(services)
{
    buildStrip(form);
    buildNumberPage();
    Toolbar1 = new PresetBar(form);
    buildExtensionPage();
    buildEditPage();
    buildConversionPage();
    buildStampPage();
    buildStampNamePage();
    buildAttributePage();
    buildImportPage();
    buildCopyPage();
    setStartValues();
    wire();
    layout(6150);
    TabStrip1_Click();
}

void TabPages::buildStrip(QWidget* form)
{
    QFont font;
    font.setPointSize(9);

    m_pane = new TabPane(form);
    m_pane->setObjectName(QStringLiteral("TabStrip1Pane"));
    m_pane->setFont(font);

    TabStrip1 = new StripTabBar(form);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setFont(font);
    TabStrip1->setDrawBase(false);
    TabStrip1->setExpanding(false);
    TabStrip1->setElideMode(Qt::ElideNone);
    TabStrip1->setUsesScrollButtons(true);
    for (int i = 0; i < 8; ++i) {
        TabStrip1->addTab(QString::fromUtf16(kTabs[i].caption));
        TabStrip1->setTabData(i, QString::fromLatin1(kTabs[i].key));
        TabStrip1->setTabToolTip(i, QString::fromUtf16(kTabs[i].toolTip));
    }

    for (int i = 0; i < 8; ++i)
        Frame1[i] = makePage(form, tabbuild::indexed("Frame1", i));
    Frame17 = makePage(form, QStringLiteral("Frame17"));

    chkSubDir = new QCheckBox(QStringLiteral("ｻﾌﾞﾌｫﾙﾀﾞも変更"), form);
    chkSubDir->setObjectName(QStringLiteral("chkSubDir"));
    chkSubDir->setFont(font);
    Check18 = new QCheckBox(QStringLiteral("ﾀｲﾑｽﾀﾝﾌﾟをﾌｧｲﾙ名に"), form);
    Check18->setObjectName(QStringLiteral("Check18"));
    Check18->setFont(font);
}

void TabPages::setStartValues()
{
    Text2->setText(QStringLiteral("0"));
    Text6->setText(QStringLiteral("1"));
    Text7->setText(QStringLiteral("1"));
    Option1->setChecked(true);
    Combo2->addItems({QStringLiteral("Name1.*"), QStringLiteral("Name_1.*"), QStringLiteral("Name(1).*"),
                      QStringLiteral("Name[1].*")});
    Combo2->setCurrentIndex(-1);

    OptKaku1->setChecked(true);

    Option8[0]->setChecked(true);
    Text9->setText(QStringLiteral("1"));
    Option9[0]->setChecked(true);
    Text12->setText(QStringLiteral("1"));
    Option10[0]->setChecked(true);

    Option4[0]->setChecked(true);
    Option5[0]->setChecked(true);
    Option6[0]->setChecked(true);
    chkHalf1->setChecked(true);
    chkHalf2->setChecked(true);
    Option7[0]->setChecked(true);

    OptTimeCreate->setChecked(true);
    Option15[0]->setChecked(true);
    Combo6->addItems({QStringLiteral("-"), QStringLiteral("_"), QStringLiteral("年月日")});
    Combo7->setEditText(QStringLiteral("_"));
    Combo8->addItems({QStringLiteral("-"), QStringLiteral("_"), QStringLiteral("時分秒")});
    Combo9->setEditText(QStringLiteral("("));
    Combo10->setEditText(QStringLiteral(")"));
    Option16->setChecked(true);
    Text16->setText(QStringLiteral("変換イメージをここに表示します"));

    for (QRadioButton* set : m_setOption)
        set->setChecked(true);

    Combo3->addItems({QStringLiteral("改行"), QStringLiteral("ﾀﾌﾞ"), QStringLiteral("ｺﾛﾝ"), QStringLiteral("ｾﾐｺﾛﾝ"),
                      QStringLiteral("ｶﾝﾏ")});
    Combo3->setCurrentIndex(0);
    Option11->setChecked(true);
    Combo4->addItem(engine::kSameAsList);
    Combo4->setEditText(engine::kSameAsList);

    Option13->setChecked(true);
    Combo5->addItems({QStringLiteral("1"), QStringLiteral("01"), QStringLiteral("001"), QStringLiteral("0001"),
                      QStringLiteral("00001")});
    Combo5->setCurrentIndex(0);
    Text15->setText(QStringLiteral("0"));

    // Typing rules.
    for (QWidget* box : {static_cast<QWidget*>(Text1), static_cast<QWidget*>(Text3), static_cast<QWidget*>(Text13),
                         static_cast<QWidget*>(Text14), static_cast<QWidget*>(Combo6), static_cast<QWidget*>(Combo7),
                         static_cast<QWidget*>(Combo8)})
        filters::refuseCharacters(box, filters::kNameCharacters);
    for (QLineEdit* box : {Text2, Text6, Text7, Text9, Text12})
        filters::digitsOnly(box);
    filters::refuseAllKeys(Combo2);
    for (QLineEdit* box : {Text1, Text2, Text3, Text6, Text7, Text9, Text12, Text13, Text14, Text15})
        filters::selectAllOnFocus(box);
    for (QLineEdit* box : {Text2, Text6, Text7, Text9, Text12})
        box->installEventFilter(new LeaveHook(box, [this, box] { normalise(box); }));

    // Every rule in the state its controlling control starts in; the edit
    // page starts in add mode, whose position boxes are in use.
    applyAllFollowers();
    applyNumberShape();
    applyExtensionMode();
    applyImportExtension();
    applyEditMode();
    partBoxClicked(ChkYear);
    Combo6->setEnabled(true);
    Combo8->setEnabled(true);
    Text16->setText(QStringLiteral("変換イメージをここに表示します"));
}

void TabPages::wire()
{
    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { TabStrip1_Click(); });
    connect(Check18, &QCheckBox::toggled, this, [this] { TabStrip1_Click(); });

    for (QCheckBox* box : {Check5, Check6, Check7, Check8, Check9, Check10, Check11[0], Check11[1], Check11[2],
                           Check11[3], Check12, Check2, Check3, Check4, Check20})
        connect(box, &QCheckBox::toggled, this, [this, box] { applyFollowers(box); });
    for (QCheckBox* part : {ChkYear, ChkMonth, ChkDay, ChkHour, ChkMin, ChkSec})
        connect(part, &QCheckBox::toggled, this, [this, part] { partBoxClicked(part); });

    for (QRadioButton* shape : {Option1, Option2, Option3})
        connect(shape, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyNumberShape();
        });
    for (QRadioButton* mode : {OptKaku1, OptKaku2, OptKaku3})
        connect(mode, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyExtensionMode();
        });
    for (QRadioButton* mode : Option8)
        connect(mode, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyEditMode();
        });
    for (QRadioButton* rule : {Option11, Option12})
        connect(rule, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyImportExtension();
        });

    for (QRadioButton* option : {Option15[0], Option15[1], Option16, Option17})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                refreshPreview();
        });
    for (QComboBox* box : {Combo6, Combo7, Combo8, Combo9, Combo10})
        connect(box, &QComboBox::editTextChanged, this, [this] { refreshPreview(); });

    connect(Combo2, &QComboBox::activated, this, [this](int index) { Combo2_Click(index); });
    connect(UpDown1, &UpDown::upClicked, this, [this] { stepSpun(true); });
    connect(UpDown1, &UpDown::downClicked, this, [this] { stepSpun(false); });

    connect(Command7[0], &QPushButton::clicked, this, [this] { setNow(DTPicker1, DTPicker2); });
    connect(Command7[1], &QPushButton::clicked, this, [this] { DTPicker2->setTime(QTime(0, 0, 0)); });
    connect(Command8[0], &QPushButton::clicked, this, [this] { setNow(DTPicker3, DTPicker4); });
    connect(Command8[1], &QPushButton::clicked, this, [this] { DTPicker4->setTime(QTime(0, 0, 0)); });

    connect(Command6, &QPushButton::clicked, List4, &QListWidget::clear);
}

void TabPages::layout(double w)
{
    const double left = w - 4005;
    // The tabs take their own height; the frame of the client area starts
    // under them, as a tab widget's does.
    const QRect strip = twips::rect(left, 60, 3900, 2580);
    const int tabHeight = TabStrip1->sizeHint().height();
    TabStrip1->setGeometry(strip.x(), strip.y(), strip.width(), tabHeight);
    // The pages begin under the tabs, lower than designed where the tabs
    // are taller than the room left for them, and the row under the pages
    // gives way as far as they come down.
    QRect page = twips::rect(left + 60, 420, 3780, 1890);
    page.moveTop(std::max(page.top(), TabStrip1->geometry().bottom() + 1));
    for (QFrame* frame : Frame1)
        frame->setGeometry(page);
    Frame17->setGeometry(page);
    const auto underPage = [&](QRect r) {
        r.moveTop(std::max(r.top(), page.bottom() + 1));
        return r;
    };
    chkSubDir->setGeometry(underPage(twips::rect(left + 70, 2310, 1700, 255)));
    Check18->setGeometry(underPage(twips::rect(left + 1820, 2310, 2000, 255)));
    // The presets' bar takes the row's right end, which is Check18's only on
    // the time-stamp tab.
    Toolbar1->setGeometry(underPage(QRect(twips::toPx(left + 3820) - Toolbar1->width(), twips::toPx(2295),
                                          Toolbar1->width(), Toolbar1->height())));
    // The frame holds the bar, its buttons being taller than the row.
    const int overlap = TabStrip1->style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, TabStrip1);
    const int paneTop = strip.y() + tabHeight - overlap;
    const int paneBottom = std::max(strip.bottom(), Toolbar1->geometry().bottom());
    m_pane->setGeometry(strip.x(), paneTop, strip.width(), paneBottom + 1 - paneTop);
}

QString TabPages::selectedCaption() const
{
    return TabStrip1->tabText(TabStrip1->currentIndex());
}

engine::Tab TabPages::selectedTab() const
{
    return engine::tabFromCaption(selectedCaption());
}

int TabPages::selectedIndex() const
{
    return TabStrip1->currentIndex() + 1;
}

bool TabPages::selectTab(int oneBased)
{
    if (oneBased < 1 || oneBased > TabStrip1->count())
        return false;
    if (TabStrip1->currentIndex() == oneBased - 1)
        TabStrip1_Click(); // the page follows the tab even when it stays
    else
        TabStrip1->setCurrentIndex(oneBased - 1);
    return true;
}

void TabPages::TabStrip1_Click()
{
    const QString caption = selectedCaption();
    int shown = -1;
    for (int j = 0; j < 8; ++j) {
        if (caption == QString::fromUtf16(kTabs[j].caption))
            shown = j;
    }
    // Numbering, import and copy work on one list, never on a folder tree.
    const bool subFolders = !(caption == QString::fromUtf16(kTabs[0].caption)
                              || caption == QString::fromUtf16(kTabs[6].caption)
                              || caption == QString::fromUtf16(kTabs[7].caption));
    if (!subFolders)
        chkSubDir->setChecked(false);

    for (int j = 0; j < 8; ++j)
        Frame1[j]->setVisible(j == shown);
    // The time-stamp tab has two pages; the other tabs show neither.
    if (shown == kTimeTab && Check18->isChecked()) {
        Frame17->raise();
        Frame17->show();
        Frame1[kTimeTab]->hide();
    } else {
        if (shown == kTimeTab)
            Frame1[kTimeTab]->raise();
        Frame17->hide();
    }
    Check18->setVisible(shown == kTimeTab);

    if (shown >= 0)
        Frame1[shown]->raise();
    Check18->raise();
    chkSubDir->raise();
    chkSubDir->setVisible(subFolders);
    Toolbar1->setVisible(shown == 0);
    emit tabChanged();
}

void TabPages::focusField(engine::Field field)
{
    switch (field) {
    case engine::Field::UnifiedName:
        Text4->setFocus(Qt::OtherFocusReason);
        return;
    case engine::Field::Step:
        Text7->setFocus(Qt::OtherFocusReason);
        return;
    case engine::Field::NewExtension:
        Text8->setFocus(Qt::OtherFocusReason);
        return;
    }
}

} // namespace tavil::mainwin
