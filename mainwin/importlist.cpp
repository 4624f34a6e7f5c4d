#include "mainwin/importlist.h"

#include "mainwin/browserpaths.h"
#include "mainwin/importtext.h"
#include "mainwin/progress.h"
#include "mainwin/selectedlists.h"
#include "mainwin/tabpages.h"
#include "platform/dialogs.h"
#include "platform/gui/desktop.h"
#include "platform/gui/services.h"
#include "platform/names.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFrame>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>

#include <algorithm>
#include <climits>

namespace tavil::mainwin {

namespace {

constexpr int kImportPage = 6;
const QString kTitle = QStringLiteral("ファイル名の取り込み");
const QString kReading = QStringLiteral("読み込み中");

int clampToInt(qsizetype value)
{
    return int(std::min<qsizetype>(value, INT_MAX));
}

void setBackground(QListWidget* list, const QColor& colour)
{
    QPalette palette = list->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, colour);
    list->setPalette(palette);
}

QColor systemColour(const QWidget* widget, QPalette::ColorRole role)
{
    return widget->window()->palette().color(QPalette::Active, role);
}

// Lets the window draw the status text; the user's input waits, so nothing
// else can start in the middle of an import.
void letWindowDraw()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString readFailureText(const importtext::ReadResult& result)
{
    switch (result.failure) {
    case importtext::ReadFailure::Missing:
        return QStringLiteral("ファイルが見つかりません。");
    case importtext::ReadFailure::Denied:
        return QStringLiteral("このファイルを読み取る権限がありません。");
    case importtext::ReadFailure::Folder:
        return QStringLiteral("フォルダは取り込めません。テキスト ファイルをドロップして下さい。");
    case importtext::ReadFailure::NotAFile:
        return QStringLiteral("通常のファイルではないため、取り込めません。");
    case importtext::ReadFailure::Failed:
    case importtext::ReadFailure::None:
        break;
    }
    return QStringLiteral("ファイルを読み込めませんでした。（システムのエラー番号 %1）").arg(result.sysErrno);
}

bool acceptsDrag(QEvent* event)
{
    auto* drag = static_cast<QDropEvent*>(event);
    if (!drag->mimeData() || !drag->mimeData()->hasUrls())
        return false;
    drag->acceptProposedAction();
    return true;
}

} // namespace

// The list's state while it is being filled: hourglass, list greyed and
// disabled, "読み込み中". Undone on every way out of the import.
class ImportList::Lock {
public:
    explicit Lock(ImportList& owner) : m_owner(owner), m_list(owner.m_tabs.List4), m_window(m_list->window())
    {
        m_owner.m_importing = true;
        m_window->setCursor(Qt::WaitCursor);
        m_list->setEnabled(false);
        setBackground(m_list, systemColour(m_list, QPalette::Button));
        m_owner.m_status.setPanelText(1, kReading);
    }
    ~Lock() { release(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void release()
    {
        if (m_released)
            return;
        m_released = true;
        m_owner.m_status.hideProgress();
        if (m_window)
            m_window->unsetCursor();
        if (m_list) {
            m_list->setEnabled(true);
            setBackground(m_list, systemColour(m_list, QPalette::Base));
        }
        m_owner.m_status.setPanelText(1, QString());
        m_owner.m_importing = false;
    }

private:
    ImportList& m_owner;
    QPointer<QListWidget> m_list;
    QPointer<QWidget> m_window;
    bool m_released = false;
};

// Drags and drops on one of the tab pages.
class ImportList::DropFilter final : public QObject {
public:
    DropFilter(ImportList* owner, QWidget* page, int index) : QObject(page), m_owner(owner), m_index(index) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove:
            return acceptsDrag(event);
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            if (m_owner)
                m_owner->Frame1_OLEDragDrop(m_index, drop->mimeData());
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    QPointer<ImportList> m_owner;
    int m_index;
};

// List4's keys, and the presses and drops on its viewport.
class ImportList::ListFilter final : public QObject {
public:
    ListFilter(ImportList* owner, QListWidget* list) : QObject(list), m_owner(owner), m_list(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_owner)
            return false;
        if (watched == m_list && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            bool consumed = false;
            m_owner->List4_KeyDown(key->key(), key->modifiers(), &consumed);
            return consumed;
        }
        if (watched != m_list->viewport())
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            m_owner->List4_MouseDown(press->button(), press->globalPosition().toPoint());
            // A right press leaves the current entry and the selection as
            // they were; Qt would move them to the entry under the mouse.
            return press->button() == Qt::RightButton;
        }
        case QEvent::DragEnter:
        case QEvent::DragMove:
            return acceptsDrag(event);
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            drop->acceptProposedAction();
            m_owner->List4_OLEDragDrop(drop->mimeData());
            return true;
        }
        default:
            return false;
        }
    }

private:
    QPointer<ImportList> m_owner;
    QListWidget* m_list;
};

ImportList::ImportList(TabPages& tabs, SelectedLists& lists, StatusSink& status, Services& services)
    : m_tabs(tabs), m_lists(lists), m_status(status), m_services(services)
{
    wire();
}

ImportList::~ImportList()
{
    m_lists.setImportList(nullptr, {});
}

void ImportList::wire()
{
    for (int i = 0; i < int(m_tabs.Frame1.size()); ++i) {
        QFrame* page = m_tabs.Frame1[size_t(i)];
        page->setAcceptDrops(true);
        page->installEventFilter(new DropFilter(this, page, i));
    }
    QListWidget* list = m_tabs.List4;
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    auto* filter = new ListFilter(this, list);
    list->installEventFilter(filter);
    list->viewport()->installEventFilter(filter);
    m_lists.setImportList(list, [this] { removeSelected(); });
}

void ImportList::List4_OLEDragDrop(const QMimeData* data)
{
    Frame1_OLEDragDrop(kImportPage, data);
}

void ImportList::Frame1_OLEDragDrop(int index, const QMimeData* data)
{
    // A drop while the list is being filled (the window is drawn meanwhile)
    // is not a second import.
    if (m_importing)
        return;
    if (index != kImportPage) {
        m_status.showProgress();
        closingSteps(0);
        return;
    }
    // Only the first file of a drop is read.
    const std::optional<QString> path = browserpaths::firstDroppedPath(data);
    if (!path) {
        refuse(QStringLiteral("ドロップされたものの中に、このコンピュータ上のファイルがありません。"));
        return;
    }
    importFile(*path);
}

bool ImportList::importFile(const QString& path)
{
    if (m_importing)
        return false;
    QListWidget* list = m_tabs.List4;
    Progress& progress = m_status.showProgress();
    if (list->count() > 0) {
        const platform::MsgButton answer = m_services.dialogs.msgBox(
            QStringLiteral("リストの内容がクリアされます。よろしいですか？"), kTitle,
            platform::MsgStyle::YesNoInformation);
        if (answer != platform::MsgButton::Yes) {
            m_status.hideProgress();
            return false;
        }
    }

    Lock lock(*this);
    const QString shown = platform::visibleName(path);
    QByteArray bytes;
    int dots = 0;
    const importtext::ReadResult read = importtext::readFile(path, &bytes, [&] {
        dots = (dots + 1) % 4;
        m_status.setPanelText(1, kReading + QString(dots, u'.'));
        letWindowDraw();
    });
    if (!read.ok()) {
        lock.release();
        refuse(readFailureText(read) + QStringLiteral("\r\n") + shown);
        return false;
    }
    const std::optional<QString> text = importtext::decode(bytes);
    bytes.clear();
    if (!text) {
        lock.release();
        refuse(QStringLiteral("文字コードが UTF-8 でもシフトJIS (CP932) でもないため、取り込めません。\r\n") + shown);
        return false;
    }

    const importtext::Separator separator = importtext::separatorFor(m_tabs.Combo3->currentText());
    const QString joined = importtext::joinLines(*text);
    progress.setMax(clampToInt(joined.size()));
    m_status.setPanelText(1, QStringLiteral("検索中..."));
    const QStringList names = importtext::split(joined, separator, [&](qsizetype position) {
        progress.setValue(clampToInt(position));
        letWindowDraw();
    });
    progress.setValue(clampToInt(joined.size()));
    // Only now, with the names in hand, does the old content go.
    setNames(names);
    lock.release();
    closingSteps(int(std::min<qsizetype>(names.size(), INT_MAX)));
    return true;
}

void ImportList::setNames(const QStringList& names)
{
    QListWidget* list = m_tabs.List4;
    list->setUpdatesEnabled(false);
    list->clear();
    for (const QString& name : names) {
        // A name with line breaks or odd bytes shows them as pictures and
        // keeps its own text beside the shown one.
        auto* item = new QListWidgetItem(platform::visibleName(name));
        if (item->text() != name)
            item->setData(Qt::UserRole, name);
        list->addItem(item);
    }
    list->setUpdatesEnabled(true);
}

QStringList ImportList::names() const
{
    QStringList out;
    const QListWidget* list = m_tabs.List4;
    out.reserve(list->count());
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem* item = list->item(i);
        const QVariant raw = item->data(Qt::UserRole);
        out.append(raw.isValid() ? raw.toString() : item->text());
    }
    return out;
}

void ImportList::closingSteps(int found)
{
    m_status.hideProgress();
    m_status.setPanelText(2, QString::number(found) + QStringLiteral("個見つかりました"));
    m_status.setPanelText(1, QString());
    m_services.desktop.beep();
}

void ImportList::refuse(const QString& text)
{
    m_services.dialogs.msgBox(text, kTitle, platform::MsgStyle::Exclamation);
}

void ImportList::removeSelected()
{
    QListWidget* list = m_tabs.List4;
    QPointer<QWidget> window = list->window();
    window->setCursor(Qt::WaitCursor);
    const int noted = std::max(0, list->currentRow());
    QList<int> rows;
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    for (const QModelIndex& index : selected)
        rows.append(index.row());
    std::sort(rows.begin(), rows.end(), std::greater<>());
    list->setUpdatesEnabled(false);
    for (const int row : std::as_const(rows))
        delete list->takeItem(row);
    list->setUpdatesEnabled(true);
    if (noted < list->count())
        list->setCurrentRow(noted, QItemSelectionModel::ClearAndSelect);
    else if (list->count() > 0)
        list->setCurrentRow(list->count() - 1, QItemSelectionModel::ClearAndSelect);
    list->setFocus();
    if (window)
        window->unsetCursor();
}

void ImportList::List4_KeyDown(int key, Qt::KeyboardModifiers modifiers, bool* consumed)
{
    m_lists.setPopupTarget(SelectedLists::PopupTarget::List4);
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    *consumed = false;
    if (key == Qt::Key_Up && mods == Qt::ControlModifier) {
        m_lists.mnuPopup1Up_Click();
        *consumed = true;
    } else if (key == Qt::Key_Down && mods == Qt::ControlModifier) {
        m_lists.mnuPopup1Down_Click();
        *consumed = true;
    } else if (key == Qt::Key_Delete) {
        removeSelected();
        *consumed = true;
    }
}

void ImportList::List4_MouseDown(Qt::MouseButton button, const QPoint& globalPos)
{
    m_lists.setPopupTarget(SelectedLists::PopupTarget::List4);
    const QListWidget* list = m_tabs.List4;
    const int count = list->count();
    if (count < 1)
        return;
    // Moving and reversing are offered from three entries on.
    const int row = list->currentRow();
    const bool orderable = count >= 3;
    m_lists.mnuPopup1Up->setEnabled(orderable && row > 0);
    m_lists.mnuPopup1Down->setEnabled(orderable && row < count - 1);
    m_lists.mnuPopup1Hanten->setEnabled(orderable);
    if (button == Qt::RightButton)
        m_lists.showImportPopup(globalPos);
}

} // namespace tavil::mainwin
