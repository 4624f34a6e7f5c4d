#include "engine/numbers.h"

#include <limits>

namespace tavil::engine {

namespace {
platform::Err parse(const QString& text, qint64 min, qint64 max, qint64* value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    if (i >= t.size())
        return platform::Err::TypeMismatch;
    qint64 v = 0;
    bool overflow = false;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return platform::Err::TypeMismatch;
        if (!overflow) {
            v = v * 10 + (c - u'0');
            if (v > max + 1)
                overflow = true;
        }
    }
    if (negative)
        v = -v;
    if (overflow || v < min || v > max)
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

QString formatNumber(qint64 value, int digits)
{
    const bool negative = value < 0;
    QString body = QString::number(negative ? -static_cast<quint64>(value) : static_cast<quint64>(value));
    if (digits > 0 && body.size() < digits)
        body = QString(digits - body.size(), u'0') + body;
    return negative ? u'-' + body : body;
}

} // namespace tavil::engine
