#pragma once

// The larger pieces of LinuxFileSystem, one file each: rename, copy,
// listing and the trash. Their paths arrive located and with final names.

#include "platform/filesystem.h"
#include "platform/linuxsys.h"

namespace tavil::platform::lfs {

// Renames to a target whose name is already final; never replaces.
FsStatus renameEntry(const Sys& sys, const Loc& from, const Loc& to);

struct CopyOptions {
    // A move across file systems keeps the creation time (it is still the
    // same file) and must be on disk before the source goes; a copy is a new
    // file, created now, and its source stays, so it needs no sync.
    bool forMove = false;
    const CopyProgress* progress = nullptr;
};
FsStatus copyEntry(const Sys& sys, const Loc& from, const Loc& to, const CopyOptions& options);

FsStatus listEntries(const Loc& folder, QList<DirEntry>* entries, ListAttributes which);

FsStatus trashEntry(const Sys& sys, const Loc& loc);

} // namespace tavil::platform::lfs
