#include "platform/fsname.h"

namespace tavil::platform {

namespace {

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence that starts at p (1 to 4), or 0
// when the lead byte at p does not start one: overlong forms, surrogates and
// code points beyond U+10FFFF are not valid.
int validSequence(const unsigned char* p, const unsigned char* end, char32_t* cp)
{
    const unsigned char b0 = p[0];
    const qsizetype left = end - p;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !isContinuation(p[1]))
            return 0;
        *cp = (char32_t(b0 & 0x1F) << 6) | (p[1] & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !isContinuation(p[1]) || !isContinuation(p[2]))
            return 0;
        if (b0 == 0xE0 && p[1] < 0xA0)
            return 0; // overlong
        if (b0 == 0xED && p[1] >= 0xA0)
            return 0; // a surrogate
        *cp = (char32_t(b0 & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !isContinuation(p[1]) || !isContinuation(p[2]) || !isContinuation(p[3]))
            return 0;
        if (b0 == 0xF0 && p[1] < 0x90)
            return 0; // overlong
        if (b0 == 0xF4 && p[1] >= 0x90)
            return 0; // beyond U+10FFFF
        *cp = (char32_t(b0 & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) | (char32_t(p[2] & 0x3F) << 6)
            | (p[3] & 0x3F);
        return 4;
    }
    return 0;
}

} // namespace

QString nameFromBytes(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    // Never more UTF-16 units than bytes; a name (at most 255 bytes) fits on
    // the stack, so the text is allocated once, at its size.
    constexpr qsizetype kStack = 1024;
    char16_t stack[kStack];
    QString heap;
    const bool small = bytes.size() <= kStack;
    if (!small)
        heap.resize(bytes.size());
    char16_t* o = small ? stack : reinterpret_cast<char16_t*>(heap.data());
    char16_t* const start = o;
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            *o++ = b;
            ++p;
            continue;
        }
        char32_t cp = 0;
        const int n = validSequence(p, end, &cp);
        if (n == 0) {
            *o++ = char16_t(kEscapedByteFirst + (b - 0x80));
            ++p;
            continue;
        }
        if (cp >= 0x10000) {
            *o++ = char16_t(0xD800 + ((cp - 0x10000) >> 10));
            *o++ = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            *o++ = char16_t(cp);
        }
        p += n;
    }
    return QString(reinterpret_cast<const QChar*>(start), o - start);
}

bool nameToBytes(QStringView text, QByteArray* out)
{
    // Written into a buffer on the stack where it fits (paths usually do),
    // so the result is allocated once, at its size.
    constexpr qsizetype kStack = 1024;
    unsigned char stack[kStack * 3];
    QByteArray heap;
    const bool small = text.size() <= kStack;
    if (!small)
        heap.resize(text.size() * 3); // never more than 3 bytes a UTF-16 unit
    auto* o = small ? stack : reinterpret_cast<unsigned char*>(heap.data());
    auto* const start = o;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t c = *p++;
        if (c == 0) {
            out->clear();
            return false;
        }
        if (c < 0x80) {
            *o++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (c >= 0xD800 && c <= 0xDBFF) {
            if (p == end || *p < 0xDC00 || *p > 0xDFFF) {
                out->clear();
                return false;
            }
            const char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(*p++) - 0xDC00);
            *o++ = static_cast<unsigned char>(0xF0 | (cp >> 18));
            *o++ = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            if (!isEscapedByte(c)) {
                out->clear();
                return false;
            }
            *o++ = static_cast<unsigned char>(0x80 + (c - kEscapedByteFirst));
        } else {
            *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    *out = QByteArray(reinterpret_cast<const char*>(start), o - start);
    return true;
}

bool hasBrokenCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else
                return true;
        } else if (c >= 0xDC00 && c <= 0xDFFF && !isEscapedByte(c)) {
            return true;
        }
    }
    return false;
}

} // namespace tavil::platform
