#include "support/pattern.h"

#include <QChar>
#include <QList>

namespace tavil::support {

namespace {

// Wildcards sit above the last code point, so no character of a name can
// be taken for one.
constexpr char32_t kStar = 0x110000;
constexpr char32_t kOne = 0x110001;

// The character at i (a pair of surrogates is one; a lone one, such as a
// byte of a name that is not UTF-8, is one too), and where the next begins.
char32_t characterAt(QStringView text, qsizetype& i)
{
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        const char32_t both = QChar::surrogateToUcs4(c, text[i + 1].unicode());
        i += 2;
        return both;
    }
    ++i;
    return c;
}

char32_t folded(char32_t c)
{
    return QChar::toCaseFolded(c);
}

std::vector<char32_t> compile(QStringView text)
{
    std::vector<char32_t> glob;
    glob.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size();) {
        const char32_t c = characterAt(text, i);
        if (c == u'*') {
            if (glob.empty() || glob.back() != kStar) // "**" is "*"
                glob.push_back(kStar);
        } else if (c == u'?') {
            glob.push_back(kOne);
        } else {
            glob.push_back(folded(c));
        }
    }
    return glob;
}

bool onlyStars(const std::vector<char32_t>& glob)
{
    return glob.size() == 1 && glob.front() == kStar;
}

} // namespace

FilePattern::FilePattern(QStringView pattern)
{
    for (QStringView piece : pattern.split(u';')) {
        piece = piece.trimmed();
        if (piece.isEmpty())
            continue;
        Part part;
        if (piece.size() > 1 && piece.endsWith(u".*")) {
            part.glob = compile(piece);
            part.bareGlob = compile(piece.chopped(2));
            part.hasBareGlob = true;
            if (onlyStars(part.bareGlob))
                m_everything = true;
        } else if (piece.endsWith(u'.')) {
            part.glob = compile(piece.chopped(1));
            part.noExtension = true;
        } else {
            part.glob = compile(piece);
            if (onlyStars(part.glob))
                m_everything = true;
        }
        m_parts.push_back(std::move(part));
    }
    if (m_parts.empty())
        m_everything = true;
}

bool FilePattern::matches(QStringView name) const
{
    if (m_everything)
        return true;
    for (const Part& part : m_parts) {
        if (part.noExtension) {
            if (!name.contains(u'.') && globMatches(part.glob, name))
                return true;
            continue;
        }
        if (globMatches(part.glob, name) || (part.hasBareGlob && globMatches(part.bareGlob, name)))
            return true;
    }
    return false;
}

bool FilePattern::globMatches(const std::vector<char32_t>& glob, QStringView name)
{
    // Greedy matching that goes back to the last "*" on a mismatch: linear
    // for the usual patterns, never worse than name length x pattern length.
    const size_t count = glob.size();
    size_t p = 0;
    qsizetype n = 0;
    size_t starP = 0;
    qsizetype starN = -1; // where the last "*" began to match; -1 before any
    while (n < name.size()) {
        qsizetype next = n;
        const char32_t c = characterAt(name, next);
        if (p < count && glob[p] == kStar) {
            starP = p++;
            starN = n;
        } else if (p < count && (glob[p] == kOne || glob[p] == folded(c))) {
            ++p;
            n = next;
        } else if (starN >= 0) {
            // The last "*" takes one more character and the rest is tried
            // again after it.
            p = starP + 1;
            characterAt(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < count && glob[p] == kStar)
        ++p;
    return p == count;
}

bool matchesPattern(QStringView pattern, QStringView name)
{
    return FilePattern(pattern).matches(name);
}

} // namespace tavil::support
