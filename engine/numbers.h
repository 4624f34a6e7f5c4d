#pragma once

#include "platform/errors.h"

#include <QString>

namespace tavil::engine {

// Number fields as the tabs hold them: blanks around an optional sign and
// decimal digits. No number is Err::TypeMismatch (13), a number beyond the
// type's range Err::Overflow (6).
platform::Err toLong(const QString& text, qint32* value);    // 32-bit
platform::Err toInteger(const QString& text, qint16* value); // 16-bit

// The whole part of a number field that may hold a fraction ("1.7" → 1,
// "-0.5" → -1): blanks around an optional sign, digits and an optional
// decimal part. No number is Err::TypeMismatch, a whole part beyond 32 bits
// Err::Overflow.
platform::Err wholePartOf(const QString& text, qint32* value);

// The number written with a mask of `digits` zeros: at least that many
// digits, a wider number in full, a negative number with its sign before the
// padded digits ("-005"); digits <= 0 gives the plain decimal number.
QString formatNumber(qint64 value, int digits);

} // namespace tavil::engine
