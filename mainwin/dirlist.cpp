#include "mainwin/dirlist.h"

#include "platform/names.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace tavil::mainwin {

namespace {

// Indents each entry by its depth, as a tree would, in a flat list.
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem indented = option;
        indented.rect.setLeft(option.rect.left() + indentOf(option, index));
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += indentOf(option, index);
        return size;
    }

private:
    static int indentOf(const QStyleOptionViewItem& option, const QModelIndex& index)
    {
        return index.data(DirList::LevelRole).toInt() * option.fontMetrics.height() * 2 / 3;
    }
};

} // namespace

DirList::DirList(QWidget* parent) : QListWidget(parent)
{
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void DirList::showFolder(const QString& folder, const QStringList& subfolders)
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto add = [this](const QIcon& icon, const QString& text, const QString& path, int level) {
        auto* item = new QListWidgetItem(icon, text);
        item->setData(PathRole, path);
        item->setData(LevelRole, level);
        addItem(item);
    };

    setUpdatesEnabled(false);
    clear();
    add(open, QStringLiteral("/"), QStringLiteral("/"), 0);
    int level = 0;
    if (folder != u"/") {
        qsizetype from = 1;
        while (from <= folder.size()) {
            qsizetype end = folder.indexOf(u'/', from);
            if (end < 0)
                end = folder.size();
            add(open, platform::visibleName(folder.mid(from, end - from)), folder.left(end), ++level);
            from = end + 1;
        }
    }
    m_openRow = count() - 1;
    for (const QString& name : subfolders)
        add(closed, platform::visibleName(name), platform::joinPath(folder, name), level + 1);
    setCurrentRow(m_openRow);
    setUpdatesEnabled(true);
}

QString DirList::entryPath(int row) const
{
    const QListWidgetItem* entry = item(row);
    return entry ? entry->data(PathRole).toString() : QString();
}

void DirList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (currentRow() >= 0)
            emit openRequested(entryPath(currentRow()));
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirList::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit popupRequested(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
}

void DirList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        emit openRequested(entryPath(index.row()));
}

} // namespace tavil::mainwin
