#pragma once

#include <QString>
#include <QStringList>

class QListWidget;
class QListWidgetItem;

// Entries of the selected-files lists as list widget rows. An entry is a raw
// file name (platform/fsname.h) or the SKIP row: the row shows
// platform::visibleName of it and keeps the raw text in Qt::UserRole, which is
// what every reader gets back.
namespace tavil::mainwin::lists {

QString entryName(const QListWidgetItem* item);
QStringList entryNames(const QListWidget* list);

// Inserts the entries at `row`, in their order, as far as the list has room
// (kMaxEntries, mainwin/listrules.h); false when not all of them fitted.
bool insertEntries(QListWidget* list, int row, const QStringList& names);
// `count` SKIP rows at `row`, as far as there is room; false when not all fitted.
bool insertSkipRows(QListWidget* list, int row, qint64 count);

} // namespace tavil::mainwin::lists
