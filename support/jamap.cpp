#include "support/jamap.h"

#include <iterator>
#include <span>
#include <string_view>

namespace tavil::support {

namespace {

// The half-width katakana block U+FF61 to U+FF9F and, position by position,
// the full-width form of each.
constexpr std::u16string_view kHalfKana =
    u"｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ";
constexpr std::u16string_view kFullKana =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
static_assert(kHalfKana.size() == kFullKana.size());

constexpr char16_t kVoicedMark = u'ﾞ';
constexpr char16_t kSemiVoicedMark = u'ﾟ';
constexpr char16_t kFirstHalfLetter = u'ｦ';
constexpr char16_t kLastHalfLetter = u'ﾝ';


// ASCII 21-7E and the full-width forms FF01-FF5E lie this far apart.
constexpr char16_t kWideOffset = 0xFEE0;
// Hiragana U+3041-3096 and katakana U+30A1-30F6 lie this far apart.
constexpr char16_t kKanaOffset = 0x60;

// The form at the same position in `to`, or 0 when c is not in `from`.
char16_t pairOf(char16_t c, std::u16string_view from, std::u16string_view to)
{
    const std::size_t at = from.find(c);
    return at == std::u16string_view::npos ? 0 : to[at];
}

void appendHalfWidth(QString& out, char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E) {
        out.append(QChar(char16_t(c - kWideOffset)));
    } else if (c == 0x3000) {
        out.append(u' ');
    } else if (const char16_t half = pairOf(c, kFullKana, kHalfKana)) {
        out.append(QChar(half));
    } else if (const char16_t base = pairOf(c, kVoiced, kVoicedBase)) {
        out.append(QChar(pairOf(base, kFullKana, kHalfKana)));
        out.append(QChar(kVoicedMark));
    } else if (const char16_t semiBase = pairOf(c, kSemiVoiced, kSemiVoicedBase)) {
        out.append(QChar(pairOf(semiBase, kFullKana, kHalfKana)));
        out.append(QChar(kSemiVoicedMark));
    } else {
        out.append(QChar(c)); // hiragana, ヮヰヱヵヶ and the rest have no half-width form
    }
}

QString toHalfWidth(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 2);
    for (const QChar ch : text)
        appendHalfWidth(out, ch.unicode());
    return out;
}

QString toFullWidth(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x21 && c <= 0x7E) {
            out.append(QChar(char16_t(c + kWideOffset)));
            continue;
        }
        if (c == u' ') {
            out.append(QChar(char16_t(0x3000)));
            continue;
        }
        const char16_t full = pairOf(c, kHalfKana, kFullKana);
        if (!full) {
            out.append(QChar(c));
            continue;
        }
        // A letter and the mark after it are one character in full width.
        if (c >= kFirstHalfLetter && c <= kLastHalfLetter && i + 1 < text.size()) {
            const char16_t next = text[i + 1].unicode();
            char16_t joined = 0;
            if (next == kVoicedMark)
                joined = pairOf(full, kVoicedBase, kVoiced);
            else if (next == kSemiVoicedMark)
                joined = pairOf(full, kSemiVoicedBase, kSemiVoiced);
            if (joined) {
                out.append(QChar(joined));
                ++i;
                continue;
            }
        }
        out.append(QChar(full));
    }
    return out;
}

QString toHiragana(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        const char16_t c = ch.unicode();
        if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) // ァ-ヶ, ヽヾ
            ch = QChar(char16_t(c - kKanaOffset));
    }
    return out;
}

QString toKatakana(const QString& text)
{
    QString out = text;
    for (QChar& ch : out) {
        const char16_t c = ch.unicode();
        if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) // ぁ-ゖ, ゝゞ
            ch = QChar(char16_t(c + kKanaOffset));
    }
    return out;
}

// Qt's per-character mapping leaves alone the characters whose full mapping
// has more than one letter, even where Unicode gives them a single one as
// well: capital I with dot above lower-cases to a plain "i", and the Greek
// letters with ypogegrammeni upper-case to their prosgegrammeni forms.
struct CasePair {
    char32_t from;
    char32_t to;
};

constexpr CasePair kLowerMissed[] = {{0x0130, 0x0069}};

constexpr CasePair kUpperMissed[] = {
    {0x1F80, 0x1F88}, {0x1F81, 0x1F89}, {0x1F82, 0x1F8A}, {0x1F83, 0x1F8B},
    {0x1F84, 0x1F8C}, {0x1F85, 0x1F8D}, {0x1F86, 0x1F8E}, {0x1F87, 0x1F8F},
    {0x1F90, 0x1F98}, {0x1F91, 0x1F99}, {0x1F92, 0x1F9A}, {0x1F93, 0x1F9B},
    {0x1F94, 0x1F9C}, {0x1F95, 0x1F9D}, {0x1F96, 0x1F9E}, {0x1F97, 0x1F9F},
    {0x1FA0, 0x1FA8}, {0x1FA1, 0x1FA9}, {0x1FA2, 0x1FAA}, {0x1FA3, 0x1FAB},
    {0x1FA4, 0x1FAC}, {0x1FA5, 0x1FAD}, {0x1FA6, 0x1FAE}, {0x1FA7, 0x1FAF},
    {0x1FB3, 0x1FBC}, {0x1FC3, 0x1FCC}, {0x1FF3, 0x1FFC},
};

char32_t simpleCase(char32_t c, bool upper)
{
    if (c >= kLowerMissed[0].from && c <= std::end(kUpperMissed)[-1].from) {
        for (const CasePair& p : upper ? std::span<const CasePair>(kUpperMissed)
                                       : std::span<const CasePair>(kLowerMissed)) {
            if (p.from == c)
                return p.to;
        }
    }
    return upper ? QChar::toUpper(c) : QChar::toLower(c);
}

// One code point at a time, each to its own single mapping: the text keeps
// its length ("ß" has no single upper-case letter and stays).
QString mapCase(const QString& text, bool upper)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const char32_t mapped = simpleCase(c, upper);
        if (QChar::requiresSurrogates(mapped)) {
            out.append(QChar(QChar::highSurrogate(mapped)));
            out.append(QChar(QChar::lowSurrogate(mapped)));
        } else {
            out.append(QChar(char16_t(mapped)));
        }
    }
    return out;
}

} // namespace

QString jaMapString(const QString& text, JaMapping mapping)
{
    switch (mapping) {
    case JaMapping::UpperCase:
        return mapCase(text, true);
    case JaMapping::LowerCase:
        return mapCase(text, false);
    case JaMapping::HalfWidth:
        return toHalfWidth(text);
    case JaMapping::FullWidth:
        return toFullWidth(text);
    case JaMapping::Hiragana:
        return toHiragana(text);
    case JaMapping::Katakana:
        return toKatakana(text);
    }
    return text;
}

} // namespace tavil::support
