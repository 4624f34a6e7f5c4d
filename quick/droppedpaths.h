#pragma once

#include <QStringList>

class QMimeData;

namespace tavil::quick {

// The local files a drop carries, in the order of the drop, each as the
// program holds names: the exact bytes of the path, a name that is not UTF-8
// included. Addresses that are not local files are left out.
QStringList droppedPaths(const QMimeData* data);

// Adds to the collection what it does not hold yet (compared exactly, letter
// case counts) and keeps it in its order: letter case ignored, ties in exact
// order.
void addToCollection(QStringList& collection, const QStringList& batch);

} // namespace tavil::quick
