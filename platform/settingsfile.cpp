#include "platform/settingsfile.h"

#include "platform/fsname.h"

#include <algorithm>

namespace tavil::platform::settingsfile {

namespace {

constexpr char kUpperHex[] = "0123456789ABCDEF";
constexpr char kLowerHex[] = "0123456789abcdef";

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendHex(QByteArray& out, unsigned value, int digits, const char* alphabet)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += alphabet[(value >> shift) & 0xF];
}

// A value written as one run in double quotes, as files of earlier versions
// hold a value with commas, semicolons or blanks at its ends: the first
// quote that no backslash escapes is the last character.
bool isQuoted(QByteArrayView raw)
{
    if (raw.size() < 2 || raw.front() != '"')
        return false;
    for (qsizetype i = 1; i < raw.size(); ++i) {
        if (raw[i] == '\\')
            ++i;
        else if (raw[i] == '"')
            return i == raw.size() - 1;
    }
    return false;
}

// The escapes of the file and nothing more: any other backslash is text.
QString unescape(QByteArrayView raw)
{
    QString out;
    qsizetype run = 0; // start of the bytes not yet taken over as they are
    qsizetype i = 0;
    const qsizetype n = raw.size();
    const auto take = [&](qsizetype upTo) { out += nameFromBytes(raw.sliced(run, upTo - run)); };
    while (i < n) {
        if (raw[i] != '\\' || i + 1 >= n) {
            ++i;
            continue;
        }
        const char c = raw[i + 1];
        char16_t decoded = 0;
        qsizetype length = 2;
        switch (c) {
        case '\\': decoded = u'\\'; break;
        case '"': decoded = u'"'; break;
        case 'a': decoded = u'\a'; break;
        case 'b': decoded = u'\b'; break;
        case 'f': decoded = u'\f'; break;
        case 'n': decoded = u'\n'; break;
        case 'r': decoded = u'\r'; break;
        case 't': decoded = u'\t'; break;
        case 'v': decoded = u'\v'; break;
        case 'x': {
            // One or two digits: a control character, or a byte of a name
            // that is not UTF-8.
            unsigned v = 0;
            int digits = 0;
            while (digits < 2 && i + 2 + digits < n && hexValue(raw[i + 2 + digits]) >= 0) {
                v = v * 16 + unsigned(hexValue(raw[i + 2 + digits]));
                ++digits;
            }
            if (digits == 0) {
                length = 0;
                break;
            }
            decoded = v < 0x80 ? char16_t(v) : char16_t(kEscapedByteFirst - 0x80 + v);
            length = 2 + digits;
            break;
        }
        case 'u': {
            unsigned v = 0;
            int digits = 0;
            while (digits < 4 && i + 2 + digits < n && hexValue(raw[i + 2 + digits]) >= 0) {
                v = v * 16 + unsigned(hexValue(raw[i + 2 + digits]));
                ++digits;
            }
            if (digits < 4) {
                length = 0;
                break;
            }
            decoded = char16_t(v);
            length = 6;
            break;
        }
        default:
            if (c >= '0' && c <= '7') {
                unsigned v = 0;
                int digits = 0;
                while (digits < 3 && i + 1 + digits < n && raw[i + 1 + digits] >= '0' && raw[i + 1 + digits] <= '7') {
                    v = v * 8 + unsigned(raw[i + 1 + digits] - '0');
                    ++digits;
                }
                decoded = char16_t(v);
                length = 1 + digits;
            } else {
                length = 0;
            }
        }
        if (length == 0) {
            ++i; // a backslash that starts no escape is itself
            continue;
        }
        take(i);
        out += QChar(decoded);
        i += length;
        run = i;
    }
    take(n);
    return out;
}

QByteArrayView trimmed(QByteArrayView v)
{
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t'))
        v.chop(1);
    return v;
}

bool isBlank(const QByteArray& line)
{
    return trimmed(line).isEmpty();
}

QByteArray headerFor(const QString& section)
{
    // "General" alone names the lines outside every section.
    if (section.isEmpty())
        return QByteArrayLiteral("[General]");
    if (section == u"General")
        return QByteArrayLiteral("[%General]");
    return '[' + encodeKey(section) + ']';
}

QString sectionOf(QByteArrayView header)
{
    QByteArrayView inner = header.sliced(1);
    if (const qsizetype close = inner.indexOf(']'); close >= 0)
        inner = inner.first(close);
    inner = trimmed(inner);
    const QByteArray lower = inner.toByteArray().toLower();
    if (lower == "general")
        return QString();
    if (lower == "%general")
        return nameFromBytes(inner.sliced(1));
    return decodeKey(inner);
}

} // namespace

QByteArray encodeValue(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() + 8);
    // Earlier files read "@..." as a typed value; "@@" has always been the
    // text "@".
    if (text.startsWith(u'@'))
        out += '@';
    const qsizetype n = text.size();
    qsizetype run = 0;
    const auto take = [&](qsizetype upTo) { out += QStringView(text).sliced(run, upTo - run).toUtf8(); };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        const char* named = nullptr;
        switch (c) {
        case u'\\': named = "\\\\"; break;
        case u'"': named = "\\\""; break;
        case u'\a': named = "\\a"; break;
        case u'\b': named = "\\b"; break;
        case u'\f': named = "\\f"; break;
        case u'\n': named = "\\n"; break;
        case u'\r': named = "\\r"; break;
        case u'\t': named = "\\t"; break;
        case u'\v': named = "\\v"; break;
        default: break;
        }
        if (named) {
            take(i);
            out += named;
            run = i + 1;
        } else if (c < 0x20) {
            take(i);
            out += "\\x";
            appendHex(out, c, 2, kLowerHex);
            run = i + 1;
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i; // a whole character beyond the first plane
        } else if (isEscapedByte(c)) {
            take(i);
            out += "\\x";
            appendHex(out, c - kEscapedByteFirst + 0x80, 2, kUpperHex);
            run = i + 1;
        } else if (QChar::isSurrogate(c)) {
            take(i);
            out += "\\u";
            appendHex(out, c, 4, kUpperHex);
            run = i + 1;
        }
    }
    take(n);
    return out;
}

QString decodeValue(QByteArrayView raw)
{
    const QByteArrayView body = isQuoted(raw) ? raw.sliced(1, raw.size() - 2) : raw;
    if (body.startsWith('@')) {
        if (body.startsWith("@@"))
            return unescape(body.sliced(1));
        if (body == "@Invalid()")
            return QString();
        // A typed value this program never wrote: its text as it stands.
        return nameFromBytes(raw);
    }
    return unescape(body);
}

QByteArray encodeKey(const QString& key)
{
    QByteArray out;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/') {
            out += '\\';
        } else if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_'
                   || c == u'-' || c == u'.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            appendHex(out, c, 2, kUpperHex);
        } else {
            out += "%U";
            appendHex(out, c, 4, kUpperHex);
        }
    }
    return out;
}

QString decodeKey(QByteArrayView raw)
{
    QString out;
    qsizetype run = 0;
    qsizetype i = 0;
    const qsizetype n = raw.size();
    const auto take = [&](qsizetype upTo) { out += nameFromBytes(raw.sliced(run, upTo - run)); };
    while (i < n) {
        if (raw[i] == '\\') {
            take(i);
            out += u'/';
            run = ++i;
            continue;
        }
        if (raw[i] != '%') {
            ++i;
            continue;
        }
        const bool wide = i + 1 < n && raw[i + 1] == 'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const int digits = wide ? 4 : 2;
        unsigned v = 0;
        bool ok = first + digits <= n;
        for (int d = 0; ok && d < digits; ++d) {
            const int h = hexValue(raw[first + d]);
            ok = h >= 0;
            v = v * 16 + unsigned(std::max(h, 0));
        }
        if (!ok) {
            ++i;
            continue;
        }
        take(i);
        out += QChar(char16_t(v));
        i = first + digits;
        run = i;
    }
    take(n);
    return out;
}

Document Document::parse(QByteArrayView bytes)
{
    Document doc;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    doc.m_sections.append(Section{});
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArrayView lineView = bytes.sliced(pos, end - pos);
        pos = end + 1;
        if (lineView.endsWith('\r'))
            lineView.chop(1);
        Line line{lineView.toByteArray(), std::nullopt, QString()};
        const QByteArrayView content = trimmed(lineView);
        if (content.startsWith('[')) {
            doc.m_sections.append(Section{sectionOf(content), line.raw, {}});
            continue;
        }
        if (!content.isEmpty() && content.front() != ';' && content.front() != '#') {
            if (const qsizetype eq = lineView.indexOf('='); eq >= 0) {
                const QByteArrayView name = trimmed(lineView.first(eq));
                if (!name.isEmpty()) {
                    line.key = decodeKey(name);
                    line.value = decodeValue(lineView.sliced(eq + 1));
                }
            }
        }
        doc.m_sections.last().lines.append(line);
    }
    if (doc.m_sections.first().lines.isEmpty())
        doc.m_sections.removeFirst();
    return doc;
}

QByteArray Document::serialize() const
{
    QByteArray out;
    for (const Section& s : m_sections) {
        if (!s.header.isEmpty())
            out += s.header + '\n';
        for (const Line& line : s.lines)
            out += line.raw + '\n';
    }
    return out;
}

const Document::Line* Document::find(const QString& section, const QString& key) const
{
    const Line* found = nullptr;
    for (const Section& s : m_sections) {
        if (s.name != section)
            continue;
        for (const Line& line : s.lines) {
            if (line.key && *line.key == key)
                found = &line;
        }
    }
    return found;
}

Document::Line* Document::find(const QString& section, const QString& key)
{
    return const_cast<Line*>(std::as_const(*this).find(section, key));
}

std::optional<QString> Document::value(const QString& section, const QString& key) const
{
    if (const Line* line = find(section, key))
        return line->value;
    return std::nullopt;
}

bool Document::setValue(const QString& section, const QString& key, const QString& text)
{
    const QByteArray raw = encodeKey(key) + '=' + encodeValue(text);
    if (Line* line = find(section, key)) {
        // The same text keeps its line as it was written, by hand too.
        if (line->value == text)
            return false;
        line->raw = raw;
        line->value = text;
        return true;
    }
    auto s = std::find_if(m_sections.rbegin(), m_sections.rend(), [&](const Section& x) { return x.name == section; });
    Section* target = nullptr;
    if (s == m_sections.rend()) {
        // A blank line between sections, as the file has always had.
        if (!m_sections.isEmpty() && !m_sections.last().lines.isEmpty() && !isBlank(m_sections.last().lines.last().raw))
            m_sections.last().lines.append(Line{QByteArray(), std::nullopt, QString()});
        m_sections.append(Section{section, headerFor(section), {}});
        target = &m_sections.last();
    } else {
        target = &*s;
    }
    // After the section's last line that is not blank, so the blank line
    // before the next section stays where it is.
    qsizetype at = target->lines.size();
    while (at > 0 && isBlank(target->lines[at - 1].raw))
        --at;
    target->lines.insert(at, Line{raw, key, text});
    return true;
}

bool Document::removeKey(const QString& section, const QString& key)
{
    bool changed = false;
    for (qsizetype si = m_sections.size() - 1; si >= 0; --si) {
        Section& s = m_sections[si];
        if (s.name != section)
            continue;
        const qsizetype before = s.lines.size();
        s.lines.removeIf([&](const Line& line) { return line.key && *line.key == key; });
        if (s.lines.size() == before)
            continue;
        changed = true;
        // A section left with nothing in it goes with its last key.
        if (std::all_of(s.lines.cbegin(), s.lines.cend(), [](const Line& line) { return isBlank(line.raw); })
            && !s.header.isEmpty())
            m_sections.removeAt(si);
    }
    return changed;
}

bool Document::removeSection(const QString& section)
{
    return m_sections.removeIf([&](const Section& s) { return s.name == section; }) > 0;
}

} // namespace tavil::platform::settingsfile
