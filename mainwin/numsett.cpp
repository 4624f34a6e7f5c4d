#include "mainwin/numsett.h"

#include "platform/settingsstore.h"
#include "support/settingsschema.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tavil::mainwin::numsett {

namespace schema = support::settings;

namespace {

QString section()
{
    return QString::fromLatin1(schema::NumSett::Section);
}

QString countKey()
{
    return QString::fromLatin1(schema::kCountKey);
}

QString captionKey(int index)
{
    return QString::fromLatin1(schema::NumSett::CaptionPrefix) + QString::number(index);
}

QString setKey(int index)
{
    return QString::fromLatin1(schema::NumSett::SetPrefix) + QString::number(index);
}

// A field's value as a number, as the record's flags and shape are read:
// blanks around it are allowed; a text that is no number is none.
bool numberIs(const QString& field, double wanted)
{
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    return ok && value == wanted;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

QString emptyRecord()
{
    return QStringLiteral(",,,,,,,,,");
}

QString escapeField(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'%')
            out += QStringLiteral("%25");
        else if (c == u',')
            out += QStringLiteral("%2C");
        else
            out += c;
    }
    return out;
}

QString unescapeField(const QString& text)
{
    // Only the two escapes this program writes are read as escapes; any
    // other "%" is the character itself.
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 2 < text.size()) {
            const QStringView code = QStringView(text).mid(i + 1, 2);
            if (code == u"25") {
                out += u'%';
                i += 2;
                continue;
            }
            if (code.compare(u"2C", Qt::CaseInsensitive) == 0) {
                out += u',';
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

QStringList splitRecord(const QString& record)
{
    QStringList fields = record.split(u',');
    if (fields.size() > kFieldCount)
        fields.resize(kFieldCount);
    for (QString& field : fields)
        field = unescapeField(field);
    return fields;
}

QString toRecord(const Fields& f)
{
    const QStringList fields = {
        escapeField(f.digits),
        escapeField(f.step),
        escapeField(f.unifiedName),
        escapeField(f.prefix),
        escapeField(f.startNumber),
        escapeField(f.suffix),
        escapeField(f.unifiedExtension),
        flag(f.unifyName),
        flag(f.unifyExtension),
        QString::number(f.shape == 1 || f.shape == 2 ? f.shape : 3),
    };
    return fields.join(u',');
}

Fields fromRecord(const QString& record)
{
    QStringList v = splitRecord(record);
    while (v.size() < kFieldCount)
        v.append(QString());
    Fields f;
    f.digits = v[0];
    f.step = v[1];
    f.unifiedName = v[2];
    f.prefix = v[3];
    f.startNumber = v[4];
    f.suffix = v[5];
    f.unifiedExtension = v[6];
    f.unifyName = numberIs(v[7], 1);
    f.unifyExtension = numberIs(v[8], 1);
    f.shape = numberIs(v[9], 1) ? 1 : numberIs(v[9], 2) ? 2 : 3;
    return f;
}

int count(platform::SettingsStore& store, platform::Err* err)
{
    if (err)
        *err = platform::Err::None;
    const std::optional<QString> stored = store.value(section(), countKey());
    if (!stored)
        return 0;
    if (stored->isEmpty()) {
        store.write(section(), countKey(), QStringLiteral("0"));
        return 0;
    }
    bool ok = false;
    const double value = stored->trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        if (err)
            *err = platform::Err::TypeMismatch;
        return 0;
    }
    // A count pushed past the ten entries by an outside edit can't index
    // beyond them.
    return int(std::clamp(std::trunc(value), 0.0, double(kCapacity)));
}

QString caption(platform::SettingsStore& store, int index)
{
    return store.read(section(), captionKey(index));
}

QString record(platform::SettingsStore& store, int index)
{
    return store.read(section(), setKey(index), emptyRecord());
}

QStringList captions(platform::SettingsStore& store)
{
    QStringList names;
    const int n = count(store);
    for (int i = 0; i < n; ++i)
        names.append(caption(store, i));
    return names;
}

int append(platform::SettingsStore& store, const QString& name, const QString& rec)
{
    const int n = count(store);
    if (n >= kCapacity)
        return -1;
    store.write(section(), captionKey(n), name);
    store.write(section(), countKey(), QString::number(n + 1));
    store.write(section(), setKey(n), rec);
    return n;
}

bool remove(platform::SettingsStore& store, int index)
{
    const int n = count(store);
    if (index < 0 || index >= n)
        return false;
    for (int i = index; i < n - 1; ++i) {
        store.write(section(), captionKey(i), caption(store, i + 1));
        store.write(section(), setKey(i), record(store, i + 1));
    }
    store.write(section(), countKey(), QString::number(n - 1));
    store.removeKey(section(), captionKey(n - 1));
    store.removeKey(section(), setKey(n - 1));
    return true;
}

} // namespace tavil::mainwin::numsett
