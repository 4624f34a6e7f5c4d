#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace tavil::platform {

// The user.DOSATTRIB extended attribute, as Samba and the kernel's SMB server
// keep it, so a shared folder shows Windows clients what was set here.
struct DosAttrib {
    quint32 validFlags = 0;  // 0x1 attributes, 0x10 creation time, 0x40 itime
    quint32 attributes = 0;
    quint64 itime = 0;        // NT time: 100 ns since 1601-01-01 UTC
    quint64 creationTime = 0; // NT time
};

inline constexpr quint32 kDosValidAttrib = 0x1;
inline constexpr quint32 kDosValidCreation = 0x10;
inline constexpr quint32 kDosValidItime = 0x40;

// Reads versions 3, 4 and 5; nullopt for anything else.
std::optional<DosAttrib> decodeDosAttrib(const QByteArray& blob);
// Writes version 4 (32 bytes).
QByteArray encodeDosAttrib(const DosAttrib& value);

qint64 ntTimeToUnixSeconds(quint64 ntTime);
quint64 unixSecondsToNtTime(qint64 seconds);

} // namespace tavil::platform
