#include "mainwin/listentries.h"

#include "engine/runcontext.h"
#include "mainwin/listrules.h"
#include "platform/names.h"

#include <QListWidget>

#include <algorithm>

namespace tavil::mainwin::lists {

QString entryName(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QStringList entryNames(const QListWidget* list)
{
    QStringList names;
    names.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        names.append(entryName(list->item(i)));
    return names;
}

bool insertEntries(QListWidget* list, int row, const QStringList& names)
{
    const qsizetype room = std::max(0, kMaxEntries - list->count());
    const qsizetype n = std::min(room, names.size());
    if (n > 0) {
        // One insertion for the whole run of rows: the view is told once.
        QStringList shown;
        shown.reserve(n);
        for (qsizetype i = 0; i < n; ++i)
            shown.append(platform::visibleName(names.at(i)));
        list->insertItems(row, shown);
        for (qsizetype i = 0; i < n; ++i)
            list->item(row + int(i))->setData(Qt::UserRole, names.at(i));
    }
    return n == names.size();
}

bool insertSkipRows(QListWidget* list, int row, qint64 count)
{
    if (count <= 0)
        return true;
    const qint64 room = std::max(0, kMaxEntries - list->count());
    const bool fits = count <= room;
    insertEntries(list, row, QStringList(qsizetype(std::min(count, room)), engine::kSkipRow));
    return fits;
}

} // namespace tavil::mainwin::lists
