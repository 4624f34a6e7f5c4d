#pragma once

#include "platform/filesystem.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tavil::engine {

class RunHost;

// Lists the folder tree below root breadth first: the root (with its "/")
// first, then every sub-folder in the order found (within a folder, the file
// system's order). Hidden and system folders are left out, and so are
// symbolic links to folders, which lead out of the tree; a folder that
// vanished or cannot be read is passed over; a folder reached twice (a bind
// mount of a folder above it) is listed once, so the walk always ends.
// Status panel 1 shows the search and its animation, panel 2 the folder being
// read; both are emptied at the end. When ids is given it receives, entry by
// entry, which folder each path led to when it was found, so that a folder
// put in its place before the walk reaches it is not taken for it.
QStringList GetAllDir(const QString& root, platform::FileSystem& fs, RunHost& host,
                      QList<platform::FolderId>* ids = nullptr);

} // namespace tavil::engine
