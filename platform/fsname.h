#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tavil::platform {

// File names on Linux are bytes, not text. Inside the program a name is a
// QString: its valid UTF-8 decoded as usual, and every byte that is not part
// of valid UTF-8 held as a code of its own, U+DC80 + the byte (the way
// surrogate escaping works). Such a code never arises from valid UTF-8, so
// two different names never become one text, and the text goes back to
// exactly the bytes it came from.

inline constexpr char16_t kEscapedByteFirst = 0xDC80;
inline constexpr char16_t kEscapedByteLast = 0xDCFF;

inline bool isEscapedByte(char16_t c)
{
    return c >= kEscapedByteFirst && c <= kEscapedByteLast;
}

// Never fails: whatever the bytes, there is a text for them.
QString nameFromBytes(QByteArrayView bytes);

// False when the text has no bytes: a NUL, or a lone surrogate that is not
// an escaped byte (half of a character cut in two).
bool nameToBytes(QStringView text, QByteArray* out);

// True when the text holds a lone surrogate that is not an escaped byte.
bool hasBrokenCharacter(QStringView text);

} // namespace tavil::platform
