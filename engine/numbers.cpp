#include "engine/numbers.h"

#include <limits>

namespace tavil::engine {

namespace {
// Blanks, an optional sign, digits and, where allowed, a decimal part.
struct Scanned {
    bool valid = false;    // at least one digit and nothing else
    bool negative = false;
    bool overflow = false; // the whole part is far beyond 32 bits
    bool fraction = false; // a non-zero digit after the point
    qint64 whole = 0;
};

Scanned scan(const QString& text, bool allowFraction)
{
    Scanned r;
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        r.negative = t[i] == u'-';
        ++i;
    }
    int digits = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++digits) {
        if (!r.overflow) {
            r.whole = r.whole * 10 + (t[i].unicode() - u'0');
            r.overflow = r.whole > (qint64(1) << 33);
        }
    }
    if (allowFraction && i < t.size() && t[i] == u'.') {
        for (++i; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i, ++digits)
            r.fraction = r.fraction || t[i] != u'0';
    }
    r.valid = digits > 0 && i == t.size();
    return r;
}

platform::Err parse(const QString& text, qint64 min, qint64 max, qint64* value)
{
    const Scanned s = scan(text, false);
    if (!s.valid)
        return platform::Err::TypeMismatch;
    const qint64 v = s.negative ? -s.whole : s.whole;
    if (s.overflow || v < min || v > max)
        return platform::Err::Overflow;
    *value = v;
    return platform::Err::None;
}
} // namespace

platform::Err toLong(const QString& text, qint32* value)
{
    qint64 v = 0;
    const auto err = parse(text, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), &v);
    if (err == platform::Err::None)
        *value = static_cast<qint32>(v);
    return err;
}

platform::Err toInteger(const QString& text, qint16* value)
{
    qint64 v = 0;
    const auto err = parse(text, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max(), &v);
    if (err == platform::Err::None)
        *value = static_cast<qint16>(v);
    return err;
}

platform::Err wholePartOf(const QString& text, qint32* value)
{
    const Scanned s = scan(text, true);
    if (!s.valid)
        return platform::Err::TypeMismatch;
    if (s.overflow)
        return platform::Err::Overflow;
    // The largest whole number not above the value.
    const qint64 v = s.negative ? -s.whole - (s.fraction ? 1 : 0) : s.whole;
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return platform::Err::Overflow;
    *value = static_cast<qint32>(v);
    return platform::Err::None;
}

QString formatNumber(qint64 value, int digits)
{
    const bool negative = value < 0;
    QString body = QString::number(negative ? -static_cast<quint64>(value) : static_cast<quint64>(value));
    if (digits > 0 && body.size() < digits)
        body = QString(digits - body.size(), u'0') + body;
    return negative ? u'-' + body : body;
}

} // namespace tavil::engine
