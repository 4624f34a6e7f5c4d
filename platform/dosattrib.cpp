#include "platform/dosattrib.h"

namespace tavil::platform {

namespace {

// Seconds from 1601-01-01 to 1970-01-01 (UTC).
constexpr qint64 kNtEpochOffset = 11644473600LL;
constexpr qint64 kNtTicksPerSecond = 10000000LL;

// A little-endian reader with the alignment rules of the encoding Samba
// uses for this attribute: every field is aligned to its own size, at most 4
// (times are two 4-byte halves).
class Reader {
public:
    explicit Reader(const QByteArray& data) : m_data(data) {}

    bool align(int n)
    {
        while (m_pos % n != 0)
            ++m_pos;
        return m_pos <= m_data.size();
    }
    bool u16(quint16* out)
    {
        if (!align(2) || m_pos + 2 > m_data.size())
            return false;
        *out = quint16(byte(0) | (byte(1) << 8));
        m_pos += 2;
        return true;
    }
    bool u32(quint32* out)
    {
        if (!align(4) || m_pos + 4 > m_data.size())
            return false;
        *out = quint32(byte(0)) | (quint32(byte(1)) << 8) | (quint32(byte(2)) << 16)
            | (quint32(byte(3)) << 24);
        m_pos += 4;
        return true;
    }
    bool u64(quint64* out)
    {
        quint32 low = 0, high = 0;
        if (!u32(&low) || !u32(&high))
            return false;
        *out = (quint64(high) << 32) | low;
        return true;
    }
    // The leading NUL-terminated text (a hex form of the attributes in old
    // versions, empty in new ones).
    qsizetype pos() const { return m_pos; }
    void seek(qsizetype pos) { m_pos = pos; }

    bool skipString()
    {
        const qsizetype nul = m_data.indexOf('\0', m_pos);
        if (nul < 0)
            return false;
        m_pos = nul + 1;
        return true;
    }

private:
    quint32 byte(int i) const { return quint8(m_data.at(m_pos + i)); }

    const QByteArray& m_data;
    qsizetype m_pos = 0;
};

void putU16(QByteArray* out, quint16 v)
{
    out->append(char(v & 0xff));
    out->append(char((v >> 8) & 0xff));
}

void putU32(QByteArray* out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out->append(char((v >> (8 * i)) & 0xff));
}

void putU64(QByteArray* out, quint64 v)
{
    putU32(out, quint32(v & 0xffffffffu));
    putU32(out, quint32(v >> 32));
}

} // namespace

std::optional<DosAttrib> decodeDosAttrib(const QByteArray& blob)
{
    Reader in(blob);
    quint16 version = 0;
    if (!in.skipString() || !in.u16(&version))
        return std::nullopt;
    // The version is repeated as the selector of the layout that follows,
    // as 16 bits; after an empty text, as every current writer makes it, that
    // reads the same as a 32-bit field. Accept either.
    const qsizetype afterVersion = in.pos();
    quint16 level16 = 0;
    if (!in.u16(&level16) || level16 != version) {
        in.seek(afterVersion);
        quint32 level32 = 0;
        if (!in.u32(&level32) || level32 != version)
            return std::nullopt;
    }

    DosAttrib out;
    switch (version) {
    case 3: {
        quint32 eaSize = 0;
        quint64 size = 0, allocSize = 0, changeTime = 0;
        if (!in.u32(&out.validFlags) || !in.u32(&out.attributes) || !in.u32(&eaSize)
            || !in.u64(&size) || !in.u64(&allocSize) || !in.u64(&out.creationTime)
            || !in.u64(&changeTime))
            return std::nullopt;
        // Only the attributes and the creation time mean anything here.
        out.validFlags &= kDosValidAttrib | kDosValidCreation;
        return out;
    }
    case 4:
        if (!in.u32(&out.validFlags) || !in.u32(&out.attributes) || !in.u64(&out.itime)
            || !in.u64(&out.creationTime))
            return std::nullopt;
        return out;
    case 5:
        if (!in.u32(&out.validFlags) || !in.u32(&out.attributes) || !in.u64(&out.creationTime))
            return std::nullopt;
        out.validFlags &= kDosValidAttrib | kDosValidCreation;
        return out;
    default:
        return std::nullopt;
    }
}

QByteArray encodeDosAttrib(const DosAttrib& value)
{
    QByteArray out;
    out.reserve(32);
    out.append('\0'); // the empty text
    out.append('\0'); // padding to the version
    putU16(&out, 4);
    putU32(&out, 4);
    putU32(&out, value.validFlags);
    putU32(&out, value.attributes);
    putU64(&out, value.itime);
    putU64(&out, value.creationTime);
    return out;
}

qint64 ntTimeToUnixSeconds(quint64 ntTime)
{
    // Truncates to whole seconds (NT times are never before 1601).
    return qint64(ntTime / quint64(kNtTicksPerSecond)) - kNtEpochOffset;
}

quint64 unixSecondsToNtTime(qint64 seconds)
{
    const qint64 sinceNtEpoch = seconds + kNtEpochOffset;
    if (sinceNtEpoch <= 0)
        return 0;
    return quint64(sinceNtEpoch) * quint64(kNtTicksPerSecond);
}

} // namespace tavil::platform
