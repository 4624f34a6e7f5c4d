#include "mainwin/selectedlists.h"

#include "engine/runcontext.h"
#include "mainwin/filelistsource.h"
#include "mainwin/form6.h"
#include "mainwin/listentries.h"
#include "mainwin/listrules.h"
#include "mainwin/progress.h"
#include "mainwin/twips.h"
#include "platform/dialogs.h"
#include "platform/gui/services.h"
#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace tavil::mainwin {

namespace {

namespace set = support::settings;

const QString kAddCaption = QStringLiteral("追加(&A)");
const QString kRemoveCaption = QStringLiteral("削除(&D)");

// The window shows the hourglass while the list changes.
class WaitCursor {
public:
    explicit WaitCursor(QWidget* window) : m_window(window) { m_window->setCursor(Qt::WaitCursor); }
    ~WaitCursor()
    {
        if (m_window)
            m_window->unsetCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    QPointer<QWidget> m_window;
};

// A list is not redrawn while many rows come and go.
class PausedUpdates {
public:
    explicit PausedUpdates(QWidget* widget) : m_widget(widget) { m_widget->setUpdatesEnabled(false); }
    ~PausedUpdates()
    {
        if (m_widget)
            m_widget->setUpdatesEnabled(true);
    }
    PausedUpdates(const PausedUpdates&) = delete;
    PausedUpdates& operator=(const PausedUpdates&) = delete;

private:
    QPointer<QWidget> m_widget;
};

void setBackground(QListWidget* list, const QColor& colour)
{
    QPalette palette = list->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    list->setPalette(palette);
}

// Removes the given rows, from the last up, a run of neighbours at a time.
void removeRows(QListWidget* list, QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    qsizetype i = 0;
    while (i < rows.size()) {
        int first = rows.at(i);
        const int last = first;
        while (i + 1 < rows.size() && rows.at(i + 1) == first - 1) {
            first = rows.at(++i);
        }
        ++i;
        list->model()->removeRows(first, last - first + 1);
    }
}

QPushButton* makeButton(QWidget* form, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, form);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QAction* makeAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QAction* makeSeparator(QMenu* menu, const char* name)
{
    QAction* bar = menu->addSeparator();
    bar->setObjectName(QString::fromLatin1(name));
    return bar;
}

} // namespace

// The keys of a list and the presses on its viewport.
class SelectedLists::ListFilter final : public QObject {
public:
    ListFilter(SelectedLists* owner, QListWidget* list) : QObject(list), m_owner(owner), m_list(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_owner)
            return false;
        if (watched == m_list && event->type() == QEvent::KeyPress)
            return m_owner->listKeyPress(m_list, static_cast<QKeyEvent*>(event));
        if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonPress)
            return m_owner->listMousePress(m_list, static_cast<QMouseEvent*>(event));
        return false;
    }

private:
    QPointer<SelectedLists> m_owner;
    QListWidget* m_list;
};

SelectedLists::SelectedLists(QWidget* form, Services& services, FileListSource& files, StatusSink& status)
    : m_form(form), m_services(services), m_files(files), m_status(status)
{
    build();
    wire();
    m_work = List1;
    m_other = List2;
    execPopup = [](QMenu* menu, const QPoint& globalPos) { menu->exec(globalPos); };
    // Select mode starts off: both twins greyed, hidden until the settings
    // choose the one in use.
    Check1_Click();
    List1->hide();
    List2->hide();
    layout(6150, 0, 6550);
}

SelectedLists::~SelectedLists() = default;

void SelectedLists::build()
{
    for (QListWidget** slot : {&List1, &List2}) {
        auto* list = new QListWidget(m_form);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setUniformItemSizes(true);
        *slot = list;
    }
    List1->setObjectName(QStringLiteral("List1"));
    List2->setObjectName(QStringLiteral("List2"));

    Check1 = new QCheckBox(QStringLiteral("選択する"), m_form);
    Check1->setObjectName(QStringLiteral("Check1"));
    Command1 = makeButton(m_form, "Command1", QStringLiteral("追加 ->>"));
    Command2 = makeButton(m_form, "Command2", QStringLiteral("<<- 削除"));
    Command3 = makeButton(m_form, "Command3", QStringLiteral("クリア"));
    Command5 = makeButton(m_form, "Command5", QStringLiteral("すべて追加"));

    mnuPopup1 = new QMenu(m_form);
    mnuPopup1->setObjectName(QStringLiteral("mnuPopup1"));
    mnuPopup1All = makeAction(mnuPopup1, "mnuPopup1All", QStringLiteral("すべて選択(&A)"));
    mnuPopup1Kirikae = makeAction(mnuPopup1, "mnuPopup1Kirikae", QStringLiteral("選択の切り替え(&I)"));
    mnuPopup1Bar1 = makeSeparator(mnuPopup1, "mnuPopup1Bar1");
    mnuPopup1Add = makeAction(mnuPopup1, "mnuPopup1Add", kAddCaption);
    mnuPopup1Bar2 = makeSeparator(mnuPopup1, "mnuPopup1Bar2");
    mnuPopup1SkipMenu = mnuPopup1->addMenu(QStringLiteral("ｽｷｯﾌﾟ(&S)"));
    mnuPopup1SkipMenu->setObjectName(QStringLiteral("mnuPopup1SkipMenu"));
    mnuPopup1Skip = mnuPopup1SkipMenu->menuAction();
    mnuPopup1Skip->setObjectName(QStringLiteral("mnuPopup1Skip"));
    mnuPopup1SkipIns = makeAction(mnuPopup1SkipMenu, "mnuPopup1SkipIns", QStringLiteral("挿入(I&)"));
    mnuPopup1SkipIns2 = makeAction(mnuPopup1SkipMenu, "mnuPopup1SkipIns2", QStringLiteral("複数挿入(&S)"));
    mnuPopup1SkipIns3 = makeAction(mnuPopup1SkipMenu, "mnuPopup1SkipIns3", QStringLiteral("等間隔挿入(&F)..."));
    mnuPopup1SkipDel = makeAction(mnuPopup1SkipMenu, "mnuPopup1SkipDel", QStringLiteral("ｽｷｯﾌﾟ全削除(&D)"));
    mnuPopup1Bar3 = makeSeparator(mnuPopup1, "mnuPopup1Bar3");
    mnuPopup1Up = makeAction(mnuPopup1, "mnuPopup1Up", QStringLiteral("上に(&U)"));
    mnuPopup1Down = makeAction(mnuPopup1, "mnuPopup1Down", QStringLiteral("下に(&D)"));
    mnuPopup1Bar4 = makeSeparator(mnuPopup1, "mnuPopup1Bar4");
    mnuPopup1Hanten = makeAction(mnuPopup1, "mnuPopup1Hanten", QStringLiteral("反転(&S)"));
}

void SelectedLists::wire()
{
    connect(Check1, &QCheckBox::toggled, this, &SelectedLists::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &SelectedLists::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SelectedLists::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &SelectedLists::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &SelectedLists::Command5_Click);

    connect(mnuPopup1All, &QAction::triggered, this, &SelectedLists::mnuPopup1All_Click);
    connect(mnuPopup1Kirikae, &QAction::triggered, this, &SelectedLists::mnuPopup1Kirikae_Click);
    connect(mnuPopup1Add, &QAction::triggered, this, &SelectedLists::mnuPopup1Add_Click);
    connect(mnuPopup1SkipIns, &QAction::triggered, this, &SelectedLists::mnuPopup1SkipIns_Click);
    connect(mnuPopup1SkipIns2, &QAction::triggered, this, &SelectedLists::mnuPopup1SkipIns2_Click);
    connect(mnuPopup1SkipIns3, &QAction::triggered, this, &SelectedLists::mnuPopup1SkipIns3_Click);
    connect(mnuPopup1SkipDel, &QAction::triggered, this, &SelectedLists::mnuPopup1SkipDel_Click);
    connect(mnuPopup1Up, &QAction::triggered, this, &SelectedLists::mnuPopup1Up_Click);
    connect(mnuPopup1Down, &QAction::triggered, this, &SelectedLists::mnuPopup1Down_Click);
    connect(mnuPopup1Hanten, &QAction::triggered, this, &SelectedLists::mnuPopup1Hanten_Click);

    for (QListWidget* list : {List1, List2}) {
        auto* filter = new ListFilter(this, list);
        list->installEventFilter(filter);
        list->viewport()->installEventFilter(filter);
    }
}

QListWidget* SelectedLists::gWorkList() const
{
    return m_work;
}

QListWidget* SelectedLists::gOtherList() const
{
    return m_other;
}

bool SelectedLists::sorted() const
{
    return m_work == List1;
}

QStringList SelectedLists::workList() const
{
    return lists::entryNames(m_work);
}

bool SelectedLists::selectMode() const
{
    return Check1->isChecked();
}

void SelectedLists::clearBoth()
{
    List1->clear();
    List2->clear();
}

void SelectedLists::clearWorkList()
{
    m_work->clear();
}

void SelectedLists::swapLists(bool sorted)
{
    QListWidget* work = sorted ? List1 : List2;
    QListWidget* other = sorted ? List2 : List1;
    m_services.store.write(QString::fromLatin1(set::ActionSetting::Section),
                           QString::fromLatin1(set::ActionSetting::Sorted), set::boolToText(sorted));
    // Choosing the twin already in use would fill it with the stale entries
    // of the hidden one: the list in use stays as it is.
    if (work != m_work) {
        m_work = work;
        m_other = other;
        const QStringList names = lists::entryNames(other);
        PausedUpdates paused(work);
        work->clear();
        if (work == List1)
            fillSorted(work, names);
        else
            lists::insertEntries(work, 0, names);
    }
    m_work->show();
    m_other->hide();
}

void SelectedLists::loadSettings()
{
    platform::Err err = platform::Err::None;
    const bool stored = set::textToBool(m_services.store.read(QString::fromLatin1(set::ActionSetting::Section),
                                                              QString::fromLatin1(set::ActionSetting::Sorted), true),
                                        &err);
    // A stored text that is not a flag counts as the default, sorted.
    const bool useSorted = err == platform::Err::None ? stored : true;
    m_work = useSorted ? List1 : List2;
    m_other = useSorted ? List2 : List1;
    m_work->show();
    m_other->hide();
}

void SelectedLists::Check1_Click()
{
    const bool on = Check1->isChecked();
    const QColor background = m_form->palette().color(QPalette::Active, on ? QPalette::Base : QPalette::Button);
    for (QListWidget* list : {List1, List2}) {
        setBackground(list, background);
        list->setEnabled(on);
    }
    for (QPushButton* button : {Command1, Command2, Command3, Command5})
        button->setEnabled(on);
}

void SelectedLists::chkSubDir_Click(bool checked)
{
    m_subDirOn = checked;
    if (checked) {
        Check1->setChecked(false);
        Check1->setEnabled(false);
    } else {
        Check1->setEnabled(true);
    }
}

void SelectedLists::reapplySelectMode()
{
    const bool on = Check1->isChecked();
    Check1->setChecked(!on);
    Check1->setChecked(on);
}

void SelectedLists::setRunLocked(bool locked)
{
    const bool on = !locked && Check1->isChecked();
    for (QPushButton* button : {Command1, Command2, Command3, Command5})
        button->setEnabled(on);
    Check1->setEnabled(!locked && !m_subDirOn);
}

void SelectedLists::showFilePopup(const QPoint& globalPos)
{
    setPopupTarget(PopupTarget::File1);
    if (m_files.fileCount() < 1)
        return;
    for (QAction* entry : {mnuPopup1Up, mnuPopup1Down, mnuPopup1Hanten, mnuPopup1Skip})
        entry->setEnabled(false);
    mnuPopup1Add->setText(kAddCaption);
    mnuPopup1Add->setEnabled(selectMode());
    popupAt(globalPos);
}

void SelectedLists::Command1_Click()
{
    if (!selectMode())
        return;
    addFiles(true);
}

void SelectedLists::Command5_Click()
{
    addFiles(false);
}

void SelectedLists::addFiles(bool selectedOnly)
{
    QListWidget* list = m_work;
    Progress& progress = m_status.showProgress();
    m_status.setPanelText(1, QStringLiteral("追加中..."));
    {
        WaitCursor wait(m_form->window());
        PausedUpdates paused(list);
        const QStringList before = lists::entryNames(list);
        const int m = m_files.fileCount();
        if (m > 0) {
            progress.setMax(m == 1 ? 1 : m - 1);
            // Once, so that the status text is drawn; user input waits, so
            // no second add can start in the middle of this one.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            const QStringList all = m_files.allFiles();
            QSet<QString> chosen;
            if (selectedOnly) {
                const QStringList selected = m_files.selectedFiles();
                chosen = QSet<QString>(selected.cbegin(), selected.cend());
            }
            QStringList taken;
            for (qsizetype i = 0; i < all.size(); ++i) {
                if (!selectedOnly || chosen.contains(all.at(i)))
                    taken.append(all.at(i));
                progress.setValue(int(i));
            }
            // A full list takes no more names.
            const QStringList added = lists::namesToAdd(before, taken, lists::kMaxEntries - list->count());
            if (list == List1)
                fillSorted(list, added);
            else
                lists::insertEntries(list, list->count(), added);
        }
    }
    progress.setValue(0);
    m_status.setPanelText(1, QString());
    m_status.hideProgress();
}

void SelectedLists::fillSorted(QListWidget* list, const QStringList& names)
{
    const QList<int> places = lists::sortedAddPlaces(lists::entryNames(list), names);
    // Places that follow one another form one run of rows, put in at once.
    qsizetype i = 0;
    while (i < places.size()) {
        qsizetype j = i + 1;
        while (j < places.size() && places.at(j) == places.at(j - 1) + 1)
            ++j;
        if (!lists::insertEntries(list, places.at(i), names.mid(i, j - i)))
            return;
        i = j;
    }
}

void SelectedLists::Command2_Click()
{
    QListWidget* list = m_work;
    WaitCursor wait(m_form->window());
    const int focused = list->currentRow();
    {
        PausedUpdates paused(list);
        QList<int> rows;
        const QModelIndexList selected = list->selectionModel()->selectedIndexes();
        for (const QModelIndex& index : selected)
            rows.append(index.row());
        removeRows(list, rows);
    }
    const int row = lists::rowAfterRemoval(focused, list->count());
    if (row >= 0)
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    list->setFocus();
}

void SelectedLists::Command3_Click()
{
    clearBoth();
}

SelectedLists::PopupTarget SelectedLists::popupTarget() const
{
    return m_target;
}

void SelectedLists::setPopupTarget(PopupTarget target)
{
    m_target = target;
}

void SelectedLists::setImportList(QListWidget* list4, std::function<void()> removeSelected)
{
    m_list4 = list4;
    m_removeFromList4 = std::move(removeSelected);
}

void SelectedLists::showImportPopup(const QPoint& globalPos)
{
    if (!m_list4 || m_list4->count() < 1)
        return;
    setPopupTarget(PopupTarget::List4);
    mnuPopup1Add->setText(kRemoveCaption);
    mnuPopup1Add->setEnabled(true);
    // SKIP rows belong to the selected-files list, not to the import list.
    mnuPopup1Skip->setEnabled(false);
    popupAt(globalPos);
    setPopupTarget(PopupTarget::None);
}

QListWidget* SelectedLists::targetList() const
{
    switch (m_target) {
    case PopupTarget::List1:
        return List1;
    case PopupTarget::List2:
        return List2;
    case PopupTarget::List4:
        return m_list4;
    case PopupTarget::None:
    case PopupTarget::File1:
        break;
    }
    return nullptr;
}

SelectedLists::PopupTarget SelectedLists::targetOf(const QListWidget* list) const
{
    if (list == List1)
        return PopupTarget::List1;
    if (list == List2)
        return PopupTarget::List2;
    if (list && list == m_list4)
        return PopupTarget::List4;
    return PopupTarget::None;
}

void SelectedLists::popupAt(const QPoint& globalPos)
{
    if (execPopup)
        execPopup(mnuPopup1, globalPos);
}

void SelectedLists::setOrderEntries(const QListWidget* list)
{
    const lists::OrderEntries allowed = lists::orderEntriesFor(list->count(), list->currentRow());
    mnuPopup1Up->setEnabled(allowed.up);
    mnuPopup1Down->setEnabled(allowed.down);
    mnuPopup1Hanten->setEnabled(allowed.reverse);
}

bool SelectedLists::listKeyPress(QListWidget* list, QKeyEvent* event)
{
    setPopupTarget(targetOf(list));
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        if (modifiers != Qt::ControlModifier)
            return false;
        mnuPopup1Up_Click();
        return true;
    case Qt::Key_Down:
        if (modifiers != Qt::ControlModifier)
            return false;
        mnuPopup1Down_Click();
        return true;
    case Qt::Key_Delete:
        Command2_Click();
        return true;
    case Qt::Key_F7:
        mnuPopup1All_Click();
        list->setFocus();
        return true;
    case Qt::Key_F8:
        mnuPopup1Kirikae_Click();
        list->setFocus();
        return true;
    default:
        return false;
    }
}

bool SelectedLists::listMousePress(QListWidget* list, QMouseEvent* event)
{
    setPopupTarget(targetOf(list));
    const bool right = event->button() == Qt::RightButton;
    if (list->count() >= 1) {
        setOrderEntries(list);
        if (right) {
            mnuPopup1Add->setText(kRemoveCaption);
            mnuPopup1Add->setEnabled(true);
            mnuPopup1Skip->setEnabled(numberingTabSelected && numberingTabSelected());
            popupAt(event->globalPosition().toPoint());
        }
    }
    // A right press leaves the current entry and the selection alone, as the
    // old list box did; Qt would move them to the entry under the mouse.
    return right;
}

void SelectedLists::mnuPopup1All_Click()
{
    if (m_target == PopupTarget::File1) {
        m_files.selectAllFiles();
        return;
    }
    if (QListWidget* list = targetList())
        list->selectAll();
}

void SelectedLists::mnuPopup1Kirikae_Click()
{
    if (m_target == PopupTarget::File1) {
        m_files.invertFileSelection();
        return;
    }
    QListWidget* list = targetList();
    if (!list || list->count() == 0)
        return;
    const int focused = std::max(0, list->currentRow());
    QAbstractItemModel* model = list->model();
    const QItemSelection all(model->index(0, 0), model->index(list->count() - 1, 0));
    list->selectionModel()->select(all, QItemSelectionModel::Toggle);
    // The focused entry keeps its new state and regains the focus mark.
    list->selectionModel()->setCurrentIndex(model->index(focused, 0), QItemSelectionModel::NoUpdate);
}

void SelectedLists::mnuPopup1Add_Click()
{
    if (m_target == PopupTarget::List4) {
        if (m_removeFromList4)
            m_removeFromList4();
        return;
    }
    if (mnuPopup1Add->text() == kAddCaption)
        Command1_Click();
    else
        Command2_Click();
}

void SelectedLists::mnuPopup1SkipIns_Click()
{
    lists::insertSkipRows(m_work, std::max(0, m_work->currentRow()), 1);
}

void SelectedLists::mnuPopup1SkipIns2_Click()
{
    QListWidget* list = m_work;
    const int place = std::max(0, list->currentRow());
    const QString prompt = QStringLiteral("いくつ挿入しますか？\r\n半角で入力してください。");
    const QString title = QStringLiteral("スキップの複数挿入");
    QString answer = m_services.dialogs.inputBox(prompt, title, QStringLiteral("0"));
    for (;;) {
        const lists::SkipAnswer read = lists::readSkipAnswer(answer);
        switch (read.kind) {
        case lists::SkipAnswer::Kind::AskAgain:
            answer = m_services.dialogs.inputBox(prompt, title, QStringLiteral("0"));
            continue;
        case lists::SkipAnswer::Kind::Insert:
            // The list's limit caps a huge answer: the rows that fit go in,
            // the rest are refused without a message.
            lists::insertSkipRows(list, place, read.rows);
            return;
        case lists::SkipAnswer::Kind::Nothing:
        case lists::SkipAnswer::Kind::Stop:
            return;
        }
    }
}

void SelectedLists::mnuPopup1SkipIns3_Click()
{
    Form6 dialog(m_work, m_services.desktop, m_form->window());
    dialog.exec();
}

void SelectedLists::mnuPopup1SkipDel_Click()
{
    QList<int> rows;
    for (int i = m_work->count() - 1; i >= 0; --i) {
        if (lists::entryName(m_work->item(i)) == engine::kSkipRow)
            rows.append(i);
    }
    PausedUpdates paused(m_work);
    removeRows(m_work, rows);
}

void SelectedLists::mnuPopup1Up_Click()
{
    QListWidget* list = targetList();
    if (!list)
        return;
    const int i = list->currentRow();
    if (i <= 0)
        return;
    list->insertItem(i - 1, list->takeItem(i));
    list->setCurrentRow(i - 1, QItemSelectionModel::Select);
}

void SelectedLists::mnuPopup1Down_Click()
{
    QListWidget* list = targetList();
    if (!list)
        return;
    const int i = list->currentRow();
    if (i < 0 || i >= list->count() - 1)
        return;
    list->insertItem(i + 1, list->takeItem(i));
    list->setCurrentRow(i + 1, QItemSelectionModel::Select);
}

void SelectedLists::mnuPopup1Hanten_Click()
{
    QListWidget* list = targetList();
    if (!list)
        return;
    PausedUpdates paused(list);
    // Taken from the end, the rows come out last first: put back in that
    // order, the list is reversed. Each row keeps what it holds.
    QList<QListWidgetItem*> items;
    items.reserve(list->count());
    while (list->count() > 0)
        items.append(list->takeItem(list->count() - 1));
    for (QListWidgetItem* item : items)
        list->addItem(item);
}

void SelectedLists::layout(double /*w*/, double half, double h)
{
    twips::place(Check1, half + 2460, 2700, 1110, 255);
    twips::place(Command1, half + 2430, 3060, 1110, 330);
    twips::place(Command2, half + 2430, 3450, 1110, 330);
    twips::place(Command3, half + 2430, 3840, 1110, 330);
    twips::place(Command5, half + 2430, 4230, 1110, 330);
    for (QListWidget* list : {List1, List2})
        twips::place(list, half + 3600, 3060, half + 2415, h - 3900);
}

} // namespace tavil::mainwin
