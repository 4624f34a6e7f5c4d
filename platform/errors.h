#pragma once

#include <QString>

namespace tavil::platform {

// Failures cross the platform seam as the program's error numbers, never as
// exceptions: the engine decides per file whether to skip, retry, ask or stop.
enum class Err : int {
    None = 0,
    IllegalCall = 5,
    Overflow = 6,
    Interrupted = 18, // the user stopped a long copy halfway
    TypeMismatch = 13,
    Internal = 51, // an unexpected failure inside the program
    BadName = 52,
    NotFound = 53,
    Exists = 58,
    DiskFull = 61,
    PastEnd = 62,
    DeviceUnavailable = 68,
    Denied = 70,
    Access = 75,
    NoPath = 76,
    InvalidProperty = 380,
    PropertyNotFound = 461,
};

struct [[nodiscard]] FsStatus {
    Err err = Err::None;
    int sysErrno = 0;
    // The failure was in reading a file (a copy's source), not in writing or
    // changing one: "permission denied" then means the file can't be read,
    // not that the disk is write-protected.
    bool reading = false;
    // The entry to be copied is not a plain file (a folder, a FIFO, a
    // device, or a link that leads round in a loop): nothing was opened.
    bool notAFile = false;

    bool ok() const { return err == Err::None; }
    int number() const { return static_cast<int>(err); }
};

// What the failing call was doing decides between "file not found" (the
// source) and "path not found" (a folder on the way), and how an existing
// entry reads when a folder is made.
enum class ErrnoContext { Source, Folder, MakeDir };

Err errFromErrno(int sysErrno, ErrnoContext context = ErrnoContext::Source);
inline FsStatus statusFromErrno(int sysErrno, ErrnoContext context = ErrnoContext::Source)
{
    return FsStatus{errFromErrno(sysErrno, context), sysErrno, false};
}
// A failure in reading the source of a copy.
inline FsStatus readingStatusFromErrno(int sysErrno)
{
    return FsStatus{errFromErrno(sysErrno, ErrnoContext::Source), sysErrno, true};
}

// The fixed Japanese description shown in the generic error message.
QString errDescription(int number);

} // namespace tavil::platform
