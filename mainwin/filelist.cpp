#include "mainwin/filelist.h"

#include "platform/names.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace tavil::mainwin {

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_names.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        // Made for the rows painted only: a big folder is never converted
        // whole.
        return platform::visibleName(m_names.at(index.row()));
    case RawNameRole:
        return m_names.at(index.row());
    default:
        return {};
    }
}

void FileListModel::setNames(QStringList names)
{
    beginResetModel();
    m_names = std::move(names);
    endResetModel();
}

FileListView::FileListView(QWidget* parent) : QListView(parent), m_model(new FileListModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row is one line of text: the view lays out a folder of 100,000
    // files without asking each row for its size.
    setUniformItemSizes(true);
}

void FileListView::selectAllFiles()
{
    selectAll();
}

void FileListView::invertSelection()
{
    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    const QItemSelection all(m_model->index(0), m_model->index(rows - 1));
    selectionModel()->select(all, QItemSelectionModel::Toggle);
}

QStringList FileListView::selectedNames() const
{
    QModelIndexList rows = selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList out;
    out.reserve(rows.size());
    const QStringList& names = m_model->names();
    int last = -1;
    for (const QModelIndex& index : std::as_const(rows)) {
        if (index.row() == last)
            continue; // ranges left overlapping by toggles count once
        last = index.row();
        out.append(names.at(last));
    }
    return out;
}

void FileListView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F7:
        selectAllFiles();
        event->accept();
        return;
    case Qt::Key_F8:
        invertSelection();
        event->accept();
        return;
    case Qt::Key_Right:
        if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
            emit addRequested();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QListView::keyPressEvent(event);
}

void FileListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (m_model->rowCount() > 0)
            emit popupRequested(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
}

} // namespace tavil::mainwin
