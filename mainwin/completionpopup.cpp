#include "mainwin/completionpopup.h"

#include "mainwin/filebrowser.h"
#include "mainwin/inputfilters.h"
#include "mainwin/tabpages.h"
#include "mainwin/twips.h"
#include "platform/gui/services.h"
#include "support/module1.h"
#include "support/settingsschema.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>

#include <algorithm>

namespace tavil::mainwin {

namespace {

namespace schema = support::settings;

// Every character a file name can't hold, and the ones the boxes allow back.
const QString kFullSet = QStringLiteral("\"*,./:;<>?\\|");
QString without(const QString& set, const QString& allowed)
{
    QString out;
    for (const QChar c : set) {
        if (!allowed.contains(c))
            out += c;
    }
    return out;
}

// The popup shows at most this many rows; more scroll.
constexpr int kMaxRows = 6;

bool caretKey(int key)
{
    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Insert:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

} // namespace

CompletionPopup::CompletionPopup(QWidget* form, Services& services)
    : QObject(form),
      List3(new QListWidget(form)),
      SBar2(new QLineEdit(form)),
      Toolbar2(new QToolBar(form)),
      Picture2(new QLabel(form)),
      m_form(form),
      m_services(services)
{
    List3->setObjectName(QStringLiteral("List3"));
    List3->setFocusPolicy(Qt::NoFocus);
    List3->setSelectionMode(QAbstractItemView::SingleSelection);
    List3->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List3->setMouseTracking(true);
    List3->viewport()->setMouseTracking(true);
    List3->viewport()->installEventFilter(this);

    SBar2->setObjectName(QStringLiteral("SBar2"));
    SBar2->setReadOnly(true);
    SBar2->setFocusPolicy(Qt::NoFocus);

    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setFocusPolicy(Qt::NoFocus);
    Toolbar2->setMovable(false);
    Toolbar2->setFloatable(false);
    Toolbar2->setIconSize(QSize(10, 10));
    Toolbar2->setContextMenuPolicy(Qt::PreventContextMenu);
    QAction* close = Toolbar2->addAction(Toolbar2->style()->standardIcon(QStyle::SP_TitleBarCloseButton), QString());
    close->setObjectName(QStringLiteral("Toolbar2.Buttons(1)"));
    if (QWidget* button = Toolbar2->widgetForAction(close))
        button->setFocusPolicy(Qt::NoFocus);
    Toolbar2->setFixedSize(Toolbar2->sizeHint());
    SBar2->setFixedHeight(Toolbar2->height() + 4);

    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setFocusPolicy(Qt::NoFocus);
    Picture2->setPixmap(Picture2->style()->standardIcon(QStyle::SP_ArrowDown).pixmap(10, 10));
    Picture2->setFixedSize(10, 10);

    for (QWidget* w : {static_cast<QWidget*>(List3), static_cast<QWidget*>(SBar2), static_cast<QWidget*>(Toolbar2),
                       static_cast<QWidget*>(Picture2)})
        w->hide();
    m_form->installEventFilter(this);
    wire();
}

CompletionPopup::~CompletionPopup() = default;

QComboBox* CompletionPopup::Served::combo() const
{
    // A box being destroyed is no combo box any more: it is left alone.
    return qobject_cast<QComboBox*>(box.data());
}

QComboBox* CompletionPopup::currentBox() const
{
    return qobject_cast<QComboBox*>(m_current.data());
}

QComboBox* CompletionPopup::servedBox() const
{
    return qobject_cast<QComboBox*>(m_served.data());
}

void CompletionPopup::wire()
{
    connect(List3, &QListWidget::itemClicked, this, &CompletionPopup::List3_Click);
    connect(Toolbar2, &QToolBar::actionTriggered, this, &CompletionPopup::Toolbar2_ButtonClick);
}

void CompletionPopup::serveTabs(TabPages& tabs)
{
    using completion::OwnList;
    serve(tabs.Text4, OwnList::None, History::Name, without(kFullSet, QStringLiteral(",")));
    serve(tabs.Text5, OwnList::First, History::Extension, kFullSet);
    serve(tabs.Text8, OwnList::First, History::Extension, kFullSet);
    serve(tabs.Combo4, OwnList::First, History::Extension, kFullSet);
    serve(tabs.Text10, OwnList::None, History::Edit, without(kFullSet, QStringLiteral(",.")));
    serve(tabs.Text11, OwnList::None, History::Edit, without(kFullSet, QStringLiteral(",.")));
}

void CompletionPopup::servePatternBox(FileBrowser& browser)
{
    m_browser = &browser;
    QComboBox* box = browser.Combo1;
    m_boxes.push_back({box, box->lineEdit(), completion::OwnList::All, History::Pattern, true});
    box->installEventFilter(this);
    if (box->lineEdit())
        box->lineEdit()->installEventFilter(this);
    connect(&browser, &FileBrowser::patternTextChanged, this, [this, box] { textChanged(box); });
    connect(box, &QComboBox::activated, this, [this] { CompletePopupClose(false); });
}

void CompletionPopup::serve(QComboBox* box, completion::OwnList own, History history, const QString& refused)
{
    m_boxes.push_back({box, box->lineEdit(), own, history, false});
    // The popup is the box's completion: the box's own inline completion
    // would write a list entry over what is being typed.
    box->setCompleter(nullptr);
    filters::refuseCharacters(box, refused);
    box->installEventFilter(this);
    if (box->lineEdit())
        box->lineEdit()->installEventFilter(this);
    connect(box, &QComboBox::editTextChanged, this, [this, box] { textChanged(box); });
    connect(box, &QComboBox::activated, this, [this] { CompletePopupClose(false); });
}

const CompletionPopup::Served* CompletionPopup::servedFor(const QObject* watched) const
{
    if (!watched)
        return nullptr;
    for (const Served& s : m_boxes) {
        if (watched == s.box.data() || watched == s.edit.data())
            return s.combo() ? &s : nullptr;
    }
    return nullptr;
}

const CompletionPopup::Served* CompletionPopup::servedFor(const QComboBox* box) const
{
    return servedFor(static_cast<const QObject*>(box));
}

void CompletionPopup::setSuppressed(bool suppressed)
{
    m_suppressed = suppressed;
    if (m_browser)
        m_browser->setPatternChangeSuppressed(suppressed);
}

QStringList CompletionPopup::historyOf(History history) const
{
    const char* section = nullptr;
    const char* prefix = nullptr;
    switch (history) {
    case History::Pattern:
        section = schema::TempPatt::Section;
        prefix = schema::TempPatt::Prefix;
        break;
    case History::Extension:
        section = schema::TempExp::Section;
        prefix = schema::TempExp::Prefix;
        break;
    case History::Name:
        section = schema::TempName::Section;
        prefix = schema::TempName::Prefix;
        break;
    case History::Edit:
        section = schema::TempEdit::Section;
        prefix = schema::TempEdit::Prefix;
        break;
    }
    // The reader holds a count beyond the thirty entries to them.
    return support::Module1::ReadStoredList(m_services.store, QString::fromLatin1(section),
                                            QString::fromLatin1(prefix), support::Module1::kHistoryCapacity);
}

void CompletionPopup::storeHistory(const Served& served, const QString& text)
{
    platform::SettingsStore& store = m_services.store;
    QStringList items;
    QComboBox* box = served.combo();
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    switch (served.history) {
    case History::Pattern: {
        QString pattern = text;
        support::Module1::AddPattHistory(store, pattern, items);
        break;
    }
    case History::Extension:
        support::Module1::AddExpHistory(store, text, items);
        break;
    case History::Name:
        support::Module1::AddNameHistory(store, text);
        break;
    case History::Edit:
        support::Module1::AddEditHistory(store, text);
        break;
    }
}

bool CompletionPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_form) {
        // The boxes move with the window's size; the popup would stay behind.
        if (event->type() == QEvent::Resize && m_shown)
            CompletePopupClose(false);
        return QObject::eventFilter(watched, event);
    }
    if (watched == List3->viewport()) {
        if (event->type() == QEvent::MouseMove)
            List3_MouseMove(static_cast<const QMouseEvent*>(event));
        return QObject::eventFilter(watched, event);
    }
    const Served* served = servedFor(watched);
    if (!served)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::FocusIn:
        // Whatever the option says: the box that has the focus is the one
        // whose history a later Enter or choice writes to.
        m_current = served->box;
        break;
    case QEvent::FocusOut: {
        CompletePopupClose(false);
        const QWidget* now = QApplication::focusWidget();
        const bool stays = now && (now == served->box.data() || now == served->edit.data());
        if (!stays && m_current.data() == served->box.data())
            m_current = nullptr;
        break;
    }
    case QEvent::InputMethod:
        // Text from an input method is typing, whatever key came before it.
        m_lastKey = 0;
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_lastKey = key->key();
            if (served->byBrowser) {
                // The browser stores the pattern and selects it.
                CompletePopupClose(false);
                return false;
            }
            enterPressed(*served);
            return true;
        }
        return keyDown(*served, key);
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool CompletionPopup::keyDown(const Served& served, const QKeyEvent* key)
{
    int code = key->key();
    if (m_shown && m_served.data() == served.box.data() && (code == Qt::Key_Down || code == Qt::Key_Up)) {
        move(served.combo(), code == Qt::Key_Down ? 1 : -1);
        code = 0;
    } else if (m_shown && code == Qt::Key_Escape) {
        // Esc takes the popup away and leaves the box as it stands.
        CompletePopupClose(false);
        code = 0;
    }
    m_lastKey = code;
    return code == 0;
}

void CompletionPopup::enterPressed(const Served& served)
{
    QComboBox* box = served.combo();
    storeHistory(served, box->currentText());
    CompletePopupClose(false);
    if (QLineEdit* edit = box->lineEdit())
        edit->selectAll();
}

void CompletionPopup::move(QComboBox* box, int step)
{
    const int count = List3->count();
    const int selected = List3->currentItem() && List3->currentItem()->isSelected() ? List3->currentRow() : -1;
    int i = selected + step;
    if (step > 0) {
        i = std::min(i, count - 1);
        if (i < 0)
            return;
        List3->setCurrentRow(i);
        writeBox(box, List3->item(i)->text());
        return;
    }
    if (i < -1)
        return; // nothing selected: nothing to go back from
    if (i == -1) {
        List3->clearSelection();
        List3->setCurrentRow(-1);
        writeBox(box, m_typed);
        return;
    }
    List3->setCurrentRow(i);
    writeBox(box, List3->item(i)->text());
}

void CompletionPopup::writeBox(QComboBox* box, const QString& text)
{
    // The text the keys bring in is the user's choice so far, not typing:
    // it neither rebuilds the popup nor filters the file list.
    setSuppressed(true);
    box->setEditText(text);
    if (QLineEdit* edit = box->lineEdit())
        edit->setCursorPosition(int(text.size()));
    setSuppressed(false);
}

void CompletionPopup::textChanged(QComboBox* box)
{
    if (m_suppressed || m_choosing)
        return;
    // Only typing into the box that has the focus opens anything; a text the
    // program writes into another box does not.
    if (box != m_current.data())
        return;
    m_typed = box->currentText();
    if (autoComp && autoComp())
        CompletePopupShow(box);
}

void CompletionPopup::CompletePopupShow(QComboBox* box)
{
    if (caretKey(m_lastKey))
        return;
    const Served* it = servedFor(box);
    if (!it)
        return;
    if (it->own == completion::OwnList::All && box->count() == 0)
        return;
    const QString typed = box->currentText();
    if (typed.isEmpty()) {
        CompletePopupClose(false);
        return;
    }
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    const QStringList own = completion::ownEntriesLookedAt(items, it->own);
    const QStringList offers = completion::candidates(typed, own, historyOf(it->history));
    List3->clear();
    if (offers.isEmpty()) {
        CompletePopupClose(false);
        return;
    }
    List3->addItems(offers);
    List3->setCurrentRow(-1);
    List3->clearSelection();
    m_served = box;
    place(box, int(offers.size()));
    CompletePopupClose(true);
}

void CompletionPopup::place(QComboBox* box, int rows)
{
    const QPoint at = box->mapTo(m_form, QPoint(0, box->height()));
    const int rowHeight = std::max(List3->sizeHintForRow(0), 1);
    const int frame = 2 * List3->frameWidth();
    const int shown = std::min(rows, kMaxRows);
    const int left = at.x() + twips::toPx(20);
    const int width = std::max(box->width() - twips::toPx(50), 1);
    List3->setGeometry(left, at.y(), width, shown * rowHeight + frame);

    const int stripTop = List3->geometry().bottom() + 1 - twips::toPx(40);
    SBar2->setGeometry(left + 1, stripTop, std::max(width - 2, 1), SBar2->height());
    Toolbar2->move(SBar2->x() + twips::toPx(30), stripTop + (SBar2->height() - Toolbar2->height()) / 2);
    Picture2->move(SBar2->x() + SBar2->width() - Picture2->width() - twips::toPx(10),
                   stripTop + (SBar2->height() - Picture2->height()) / 2);
    SBar2->raise();
    Toolbar2->raise();
    List3->raise();
    Picture2->raise();
}

void CompletionPopup::CompletePopupClose(bool show)
{
    List3->setVisible(show);
    Toolbar2->setVisible(show);
    SBar2->setVisible(show);
    Picture2->setVisible(show);
    m_shown = show;
    if (!show)
        m_served = nullptr;
}

void CompletionPopup::List3_Click(QListWidgetItem* item)
{
    QComboBox* box = servedBox();
    const Served* it = servedFor(box);
    if (!item || !it)
        return;
    const QString text = item->text();
    // The choice goes through the box's own change handling (the pattern
    // box filters the list by it) but does not reopen the popup.
    m_choosing = true;
    box->setEditText(text);
    m_choosing = false;
    m_typed = text;
    CompletePopupClose(false);
    storeHistory(*it, text);
    box->setFocus(Qt::OtherFocusReason);
    if (QLineEdit* edit = box->lineEdit())
        edit->setCursorPosition(int(text.size()));
}

void CompletionPopup::List3_MouseMove(const QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        return;
    QListWidgetItem* item = List3->itemAt(event->position().toPoint());
    if (!item)
        return;
    const int row = List3->row(item);
    const int rowHeight = std::max(List3->sizeHintForRow(0), 1);
    const int y = int(event->position().y());
    QScrollBar* bar = List3->verticalScrollBar();
    const int top = bar->value();
    const int visible = std::max(List3->viewport()->height() / rowHeight, 1);
    // At the top and bottom edges a row already selected lets the list
    // scroll on by one, so hovering reaches every entry.
    if (item->isSelected() && row == top && top > 0 && y < rowHeight / 2) {
        bar->setValue(top - 1);
        List3->setCurrentRow(top - 1);
        return;
    }
    if (item->isSelected() && row == top + visible - 1 && row + 1 < List3->count()
        && y > List3->viewport()->height() - rowHeight / 2) {
        bar->setValue(top + 1);
        List3->setCurrentRow(row + 1);
        return;
    }
    List3->setCurrentRow(row);
}

void CompletionPopup::Toolbar2_ButtonClick()
{
    CompletePopupClose(false);
    if (QComboBox* box = currentBox()) {
        box->setFocus(Qt::OtherFocusReason);
        if (QLineEdit* edit = box->lineEdit())
            edit->setCursorPosition(int(edit->text().size()));
    }
}

} // namespace tavil::mainwin
