#include "quick/form4.h"

#include "platform/gui/desktop.h"
#include "platform/gui/qtdialogs.h"
#include "quick/droppedpaths.h"
#include "quick/quickhost.h"
#include "quick/quickicons.h"
#include "support/classfile.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTimeEdit>
#include <QToolBar>
#include <QVBoxLayout>

namespace tavil::quick {

namespace {

// Controls that are no drop targets: a drop there does nothing. The events
// are taken with no action, so they neither reach the window behind nor
// offer the drop.
class DropRefuser final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->setDropAction(Qt::IgnoreAction);
            drop->accept();
            return true;
        }
        default:
            return false;
        }
    }
};

// A font that has the Japanese glyphs, the user's own first where it has them.
QFont japaneseFont(QFont font)
{
    QStringList families = font.families();
    if (families.isEmpty())
        families.append(font.family());
    families << QStringLiteral("Noto Sans CJK JP") << QStringLiteral("IPAPGothic") << QStringLiteral("IPAGothic")
             << QStringLiteral("VL PGothic") << QStringLiteral("TakaoPGothic");
    font.setFamilies(families);
    return font;
}

QFrame* line(QWidget* parent, const char* name)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QString indexed(const char* name, int i)
{
    return QString::fromLatin1(name) + u'(' + QString::number(i) + u')';
}

} // namespace

// The window as its operations see it.
class Form4::Host final : public QuickHost {
public:
    explicit Host(Form4& form) : m_form(form) {}
    void setProgressMax(int max) override { m_form.PBar1->setRange(0, max); }
    void setProgressValue(int value) override { m_form.PBar1->setValue(value); }
    void beep() override { m_form.m_services.desktop.beep(); }
    void clearCollection() override { m_form.List1.clear(); }

private:
    Form4& m_form;
};

Form4::Form4(platform::Services& services, bool fromMenu, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint),
      m_services(services),
      m_fromMenu(fromMenu),
      m_owner(owner),
      m_file(std::make_unique<support::classFile>(services.fs, services.dialogs)),
      m_host(std::make_unique<Host>(*this))
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Quick Form"));
    setFont(japaneseFont(font()));
    setAcceptDrops(true);
    setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(3);
    buildMenu();
    layout->setMenuBar(m_menuBar);
    buildToolbar();
    layout->addWidget(Toolbar3);
    Line1 = line(this, "Line1");
    layout->addWidget(Line1);
    m_deletePanel = buildDeletePanel();
    layout->addWidget(m_deletePanel);
    layout->addStretch(1);
    PBar1 = new QProgressBar(this);
    PBar1->setObjectName(QStringLiteral("PBar1"));
    PBar1->setRange(0, 100);
    PBar1->setValue(0);
    PBar1->setTextVisible(false);
    PBar1->setFixedHeight(10);
    PBar1->setMinimumWidth(20);
    layout->addWidget(PBar1);
    Line2 = line(this, "Line2");
    layout->addWidget(Line2);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    Command1->hide();

    refuseDrops();
    wire();
    load();

    // Boxes the window asks belong to it, so they come up above it and not
    // behind a window that stays on top.
    if (auto* qtDialogs = dynamic_cast<platform::QtDialogs*>(&m_services.dialogs))
        qtDialogs->setParent(this);
}

Form4::~Form4()
{
    if (auto* qtDialogs = dynamic_cast<platform::QtDialogs*>(&m_services.dialogs))
        qtDialogs->setParent(m_owner);
}

QuickTools Form4::tools()
{
    return QuickTools{m_services.fs, m_services.dialogs, m_services.desktop, *m_file, *m_host};
}

void Form4::buildMenu()
{
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    mnuChange = m_menuBar->addMenu(QStringLiteral(u"ﾒﾆｭｰ(&M)"));
    mnuChange->setObjectName(QStringLiteral("mnuChange"));
    mnuChangeExp = mnuChange->addAction(QStringLiteral(u"拡張子(&E)"));
    mnuChangeExp->setObjectName(QStringLiteral("mnuChangeExp"));
    mnuChangeReplace = mnuChange->addAction(QStringLiteral(u"置換(&R)"));
    mnuChangeReplace->setObjectName(QStringLiteral("mnuChangeReplace"));
    mnuFileDel = mnuChange->addAction(QStringLiteral(u"削除(&D)"));
    mnuFileDel->setObjectName(QStringLiteral("mnuFileDel"));
    mnuChamgeBar1 = mnuChange->addSeparator();
    mnuChamgeBar1->setObjectName(QStringLiteral("mnuChamgeBar1"));
    mnuChangeBack = mnuChange->addAction(QStringLiteral(u"Tavilを起動(&X)"));
    mnuChangeBack->setObjectName(QStringLiteral("mnuChangeBack"));
}

void Form4::buildToolbar()
{
    Toolbar3 = new QToolBar(this);
    Toolbar3->setObjectName(QStringLiteral("Toolbar3"));
    Toolbar3->setIconSize(QSize(20, 20));
    Toolbar3->setMovable(false);
    Toolbar3->setFloatable(false);
    auto* group = new QActionGroup(Toolbar3);
    group->setExclusive(true);
    const struct {
        QuickMode mode;
        const char16_t* tip;
    } buttons[] = {{QuickMode::Files, u"ファイルを変更"},
                   {QuickMode::Folders, u"フォルダを変更"},
                   {QuickMode::Delete, u"条件にあったファイルを削除"}};
    for (int i = 0; i < 3; ++i) {
        QAction* action = Toolbar3->addAction(modeIcon(buttons[i].mode), QString::fromUtf16(buttons[i].tip));
        action->setObjectName(QStringLiteral("Toolbar3.Buttons(%1)").arg(i + 1));
        action->setToolTip(QString::fromUtf16(buttons[i].tip));
        action->setCheckable(true);
        group->addAction(action);
        Toolbar3Buttons[i] = action;
    }
    Toolbar3Buttons[0]->setChecked(true);
    // All three buttons stay in sight, however small the window.
    Toolbar3->setMinimumWidth(Toolbar3->sizeHint().width());
}

QWidget* Form4::buildDeletePanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("deletePanel"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    Check1 = new QCheckBox(QStringLiteral(u"ゴミ箱へ"), panel);
    Check1->setObjectName(QStringLiteral("Check1"));
    layout->addWidget(Check1);

    TabStrip1 = new QTabBar(panel);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setExpanding(false);
    TabStrip1->setDrawBase(false);
    const struct {
        const char16_t* caption;
        const char* key;
    } tabs[] = {{u"名前", "tubName"}, {u"属性", "tubZoku"}, {u"日時", "tubTime"}};
    for (const auto& tab : tabs) {
        const int index = TabStrip1->addTab(QString::fromUtf16(tab.caption));
        TabStrip1->setTabData(index, QString::fromLatin1(tab.key));
    }
    auto* strip = new QVBoxLayout;
    strip->setSpacing(0);
    strip->addWidget(TabStrip1);
    layout->addLayout(strip);

    // The pages lie in the tab strip's client area, one in front.
    auto* client = new QFrame(panel);
    client->setObjectName(QStringLiteral("tabClient"));
    client->setFrameShape(QFrame::StyledPanel);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(6, 6, 6, 6);
    m_pages = new QStackedWidget(client);
    m_pages->setObjectName(QStringLiteral("pages"));
    Frame1[0] = buildNamePage();
    Frame1[1] = buildAttributePage();
    Frame1[2] = buildDatePage();
    for (QFrame* page : Frame1)
        m_pages->addWidget(page);
    clientLayout->addWidget(m_pages);
    strip->addWidget(client);
    panel->hide();
    return panel;
}

QFrame* Form4::buildNamePage()
{
    auto* page = new QFrame;
    page->setObjectName(indexed("Frame1", 0));
    page->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    Combo1 = new QComboBox(page);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    // Enter deletes; it must not add the text to the list.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setToolTip(QStringLiteral(u"ｾﾐｺﾛﾝ(;)で区切れば複数指定できます"));
    Combo1->setMinimumWidth(160);
    layout->addWidget(Combo1);
    layout->addStretch(1);
    return page;
}

QFrame* Form4::buildAttributePage()
{
    auto* page = new QFrame;
    page->setObjectName(indexed("Frame1", 1));
    page->setFrameShape(QFrame::NoFrame);
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(2);
    auto* wantedHeader = new QLabel(QStringLiteral(u"属性あり"), page);
    grid->addWidget(wantedHeader, 0, 1);
    const char16_t* names[] = {u"アーカイブ", u"読み取り専用", u"隠しファイル", u"システム"};
    for (int i = 0; i < 4; ++i) {
        Check2[i] = new QCheckBox(QString::fromUtf16(names[i]), page);
        Check2[i]->setObjectName(indexed("Check2", i));
        Check3[i] = new QCheckBox(page);
        Check3[i]->setObjectName(indexed("Check3", i));
        Check3[i]->setAccessibleName(QString::fromUtf16(names[i]));
        Check3[i]->setEnabled(false);
        grid->addWidget(Check2[i], i + 1, 0);
        grid->addWidget(Check3[i], i + 1, 1, Qt::AlignHCenter);
    }
    auto* combine = new QHBoxLayout;
    Option6[0] = new QRadioButton(QStringLiteral("AND"), page);
    Option6[1] = new QRadioButton(QStringLiteral("OR"), page);
    for (int i = 0; i < 2; ++i) {
        Option6[i]->setObjectName(indexed("Option6", i));
        combine->addWidget(Option6[i]);
    }
    combine->addStretch(1);
    Option6[0]->setChecked(true);
    grid->addLayout(combine, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
    return page;
}

QFrame* Form4::buildDatePage()
{
    auto* page = new QFrame;
    page->setObjectName(indexed("Frame1", 2));
    page->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* stamps = new QHBoxLayout;
    Option1 = new QRadioButton(QStringLiteral(u"作成日時"), page);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral(u"更新日時"), page);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3 = new QRadioButton(QStringLiteral(u"アクセス日"), page);
    Option3->setObjectName(QStringLiteral("Option3"));
    for (QRadioButton* option : {Option1, Option2, Option3})
        stamps->addWidget(option);
    stamps->addStretch(1);
    Option1->setChecked(true);
    layout->addLayout(stamps);

    auto* moment = new QHBoxLayout;
    DTPicker1 = new QDateEdit(page);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    DTPicker1->setCalendarPopup(true);
    DTPicker2 = new QTimeEdit(page);
    DTPicker2->setObjectName(QStringLiteral("DTPicker2"));
    DTPicker2->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    moment->addWidget(DTPicker1);
    moment->addWidget(DTPicker2);
    moment->addStretch(1);
    layout->addLayout(moment);

    Frame2 = new QFrame(page);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::NoFrame);
    auto* direction = new QHBoxLayout(Frame2);
    direction->setContentsMargins(0, 0, 0, 0);
    Option4 = new QRadioButton(QStringLiteral(u"新しいとき"), Frame2);
    Option4->setObjectName(QStringLiteral("Option4"));
    Option5 = new QRadioButton(QStringLiteral(u"古いとき"), Frame2);
    Option5->setObjectName(QStringLiteral("Option5"));
    direction->addWidget(Option4);
    direction->addWidget(Option5);
    direction->addStretch(1);
    Option5->setChecked(true);
    layout->addWidget(Frame2);
    layout->addStretch(1);
    return page;
}

void Form4::refuseDrops()
{
    // Text boxes take dropped text themselves; here a drop on them is a drop
    // on the window.
    Combo1->lineEdit()->setAcceptDrops(false);
    for (QWidget* picker : {static_cast<QWidget*>(DTPicker1), static_cast<QWidget*>(DTPicker2)}) {
        for (QLineEdit* edit : picker->findChildren<QLineEdit*>())
            edit->setAcceptDrops(false);
    }
    auto* refuser = new DropRefuser(this);
    QList<QWidget*> refusing{TabStrip1, m_menuBar, Option6[0], Option6[1]};
    for (QCheckBox* box : Check3)
        refusing.append(box);
    for (QWidget* widget : refusing) {
        widget->setAcceptDrops(true); // found as the target, then refusing
        widget->installEventFilter(refuser);
    }
}

void Form4::wire()
{
    for (QAction* button : Toolbar3Buttons)
        connect(button, &QAction::triggered, this, &Form4::Toolbar3_ButtonClick);
    connect(mnuChangeExp, &QAction::triggered, this, &Form4::mnuChangeExp_Click);
    connect(mnuChangeReplace, &QAction::triggered, this, &Form4::mnuChangeReplace_Click);
    connect(mnuFileDel, &QAction::triggered, this, &Form4::mnuFileDel_Click);
    connect(mnuChangeBack, &QAction::triggered, this, &Form4::mnuChangeBack_Click);
    connect(TabStrip1, &QTabBar::currentChanged, this, &Form4::TabStrip1_Click);
    // Typing sets the listing's pattern; a text ending in ";" waits for the
    // next pattern. Picking from the list does not.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!text.endsWith(u';'))
            File1.setPattern(text);
    });
    // Enter in the pattern box deletes. The key is taken before the box sees
    // it: the box would hand it on to its line edit a second time.
    Combo1->lineEdit()->installEventFilter(this);
    for (int i = 0; i < 4; ++i) {
        QCheckBox* wanted = Check3[i];
        connect(Check2[i], &QCheckBox::toggled, wanted, &QCheckBox::setEnabled);
    }
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) DTPicker2->setEnabled(true); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) DTPicker2->setEnabled(true); });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) { if (on) DTPicker2->setEnabled(false); });
}

QuickMode Form4::mode() const
{
    if (Toolbar3Buttons[0]->isChecked())
        return QuickMode::Files;
    if (Toolbar3Buttons[1]->isChecked())
        return QuickMode::Folders;
    return QuickMode::Delete;
}

void Form4::Toolbar3_ButtonClick()
{
    applyMode();
}

void Form4::applyMode()
{
    const QuickMode current = mode();
    if (current == QuickMode::Files)
        mFilesMode = true;
    else if (current == QuickMode::Folders)
        mFilesMode = false;
    mnuChangeExp->setEnabled(current == QuickMode::Files);
    mnuChangeReplace->setEnabled(current != QuickMode::Delete);
    mnuFileDel->setEnabled(current == QuickMode::Delete);
    m_deletePanel->setVisible(current == QuickMode::Delete);
    // The delete mode needs room for its controls: the window grows to show
    // them when it is smaller.
    layout()->activate();
    const QSize needed = size().expandedTo(minimumSizeHint());
    if (needed != size())
        resize(needed);
}

void Form4::TabStrip1_Click()
{
    const QString caption = TabStrip1->tabText(TabStrip1->currentIndex());
    const int page = caption == QStringLiteral(u"属性") ? 1 : caption == QStringLiteral(u"日時") ? 2 : 0;
    m_pages->setCurrentIndex(page);
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Combo1->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            mnuFileDel_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form4::keyPressEvent(QKeyEvent* event)
{
    // Esc leaves the window open, as it always has.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Only while the window itself has the focus: Enter on a check box
        // comes up here too.
        const QWidget* focus = focusWidget();
        if (!focus || focus == this) {
            event->accept();
            expFileName();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void Form4::mouseDoubleClickEvent(QMouseEvent* event)
{
    // On the window itself, not on one of its controls.
    if (event->button() == Qt::LeftButton && !childAt(event->position().toPoint())) {
        event->accept();
        expFileName();
        return;
    }
    QDialog::mouseDoubleClickEvent(event);
}

void Form4::dragEnterEvent(QDragEnterEvent* event)
{
    // Taken as a copy: the source must never think its files moved here.
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void Form4::dragMoveEvent(QDragMoveEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void Form4::dropEvent(QDropEvent* event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The drag source waits until this returns; the paths are read now and
    // taken (with any message) once the drop is over.
    const QStringList paths = droppedPaths(event->mimeData());
    QMetaObject::invokeMethod(this, [this, paths] { takeDrop(paths); }, Qt::QueuedConnection);
}

} // namespace tavil::quick
