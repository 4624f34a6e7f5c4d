#pragma once

// The user.DOSATTRIB blob of an entry on disk, and the attributes and
// creation time that follow from it.

#include "platform/dosattrib.h"
#include "platform/linuxsys.h"

#include <QByteArray>

#include <optional>

struct statx;

namespace tavil::platform::lfs {

struct Blob {
    enum State { Absent, Present, Unsupported } state = Absent;
    QByteArray bytes;
    std::optional<DosAttrib> decoded;
};

// The entry's own blob; a symbolic link is never followed (links have none).
Blob readBlob(const Loc& loc);
// The blob of an open file.
Blob readBlob(int fd);
// The blob of the entry `name` in the open folder dirFd, for listings; the
// folder's path (with its closing "/") is the fallback for kernels without
// getxattrat.
Blob readBlobIn(int dirFd, const char* name, const QByteArray& folderPrefix);

// Hidden, system and archive as they stand when nothing was ever stored.
quint32 defaultFlags(const QByteArray& name, mode_t mode);
// Read-only and Directory, from the mode.
quint32 modeBits(mode_t mode);
quint32 attributesOf(const QByteArray& name, mode_t mode, const Blob& blob);
// The blob to rewrite: what is stored (fields not ours kept), or one made
// from the defaults. Read-only and the folder bit always follow the mode.
DosAttrib blobToRewrite(const QByteArray& name, mode_t mode, const Blob& blob);

// A user attribute needs write permission even where the owner changes it
// on a read-only file; the owner's write bit is granted for that one write.
int writeBlob(const Sys& sys, const Loc& loc, const QByteArray& bytes, mode_t mode);
int restoreBlob(const Sys& sys, const Loc& loc, const Blob& old, mode_t mode);

// The creation time an entry has: the stored one, else the birth time.
std::optional<qint64> creationSeconds(const Blob& blob, const struct statx& sx);

} // namespace tavil::platform::lfs
