#pragma once

#include <QString>
#include <QStringList>

namespace tavil::platform {
class FileSystem;
}

namespace tavil::engine {

class RunHost;

// Lists the folder tree below root breadth first: the root (with its "/")
// first, then every sub-folder in the order found. Hidden and system folders
// are left out; a folder that vanished or cannot be read is passed over; a
// folder reached twice (through a symbolic link) is listed once.
QStringList GetAllDir(const QString& root, platform::FileSystem& fs, RunHost& host);

} // namespace tavil::engine
