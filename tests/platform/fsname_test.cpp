#include "platform/fsname.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringDecoder>

#include <string>

using namespace tavil::platform;

namespace {

std::u16string units(const QString& s)
{
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size()));
}

QString text(std::u16string_view u)
{
    return QString(reinterpret_cast<const QChar*>(u.data()), qsizetype(u.size()));
}

std::string hex(const QByteArray& b)
{
    return b.toHex(' ').toStdString();
}

// Bytes on disk and the text the program holds for them. Every byte outside
// valid UTF-8 is U+DC80 + byte; the boundaries of each sequence length are
// where a decoder goes wrong.
struct NameCase {
    const char* name;
    QByteArray bytes;
    std::u16string units;
};

const NameCase kNames[] = {
    {"ascii", "report-2003.txt", u"report-2003.txt"},
    {"empty", "", u""},
    {"twoByteE", "caf\xc3\xa9", u"caf\u00e9"},
    {"threeByteA", "\xe3\x81\x82.txt", u"\u3042.txt"},
    {"fourByteEmojiAsPair", "\xf0\x9f\x98\x80", u"\xD83D\xDE00"},
    // The low half of this pair lies in the range of escaped bytes; it is
    // still one character.
    {"pairWithLowHalfInEscapeRange", "\xf0\x9f\x92\x80", u"\xD83D\xDC80"},
    {"latin1", "caf\xe9", u"caf\xDCE9"},
    {"latin1Inside", "\xe9t\xe9.txt", u"\xDCE9t\xDCE9.txt"},
    // 日本語.txt in CP932: lead bytes, trail bytes and a trail byte that is
    // ASCII "{".
    {"cp932", "\x93\xfa\x96\x7b\x8c\xea.txt", u"\xDC93\xDCFA\xDC96{\xDC8C\xDCEA.txt"},
    {"loneContinuation", "a\x80" "b", u"a\xDC80" u"b"},
    {"truncatedAtEnd", "a\xe3\x81", u"a\xDCE3\xDC81"},
    {"truncatedBeforeAscii", "\xe3\x81" "a", u"\xDCE3\xDC81" u"a"},
    {"leadThenAscii", "\xc3(", u"\xDCC3("},
    {"overlongSlash", "\xc0\xaf", u"\xDCC0\xDCAF"},
    {"overlongTwoByteTop", "\xc1\xbf", u"\xDCC1\xDCBF"},
    {"smallestTwoByte", "\xc2\x80", u"\u0080"},
    {"overlongThreeByte", "\xe0\x9f\xbf", u"\xDCE0\xDC9F\xDCBF"},
    {"smallestThreeByte", "\xe0\xa0\x80", u"\u0800"},
    {"lastBeforeSurrogates", "\xed\x9f\xbf", u"\uD7FF"},
    {"encodedSurrogate", "\xed\xa0\x80", u"\xDCED\xDCA0\xDC80"},
    {"encodedLowSurrogate", "\xed\xb2\x80", u"\xDCED\xDCB2\xDC80"},
    {"firstAfterSurrogates", "\xee\x80\x80", u"\uE000"},
    {"overlongFourByte", "\xf0\x8f\xbf\xbf", u"\xDCF0\xDC8F\xDCBF\xDCBF"},
    {"smallestFourByte", "\xf0\x90\x80\x80", u"\xD800\xDC00"},
    {"largestCodePoint", "\xf4\x8f\xbf\xbf", u"\xDBFF\xDFFF"},
    {"beyondLargestCodePoint", "\xf4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
    {"leadF5", "\xf5\x80\x80\x80", u"\xDCF5\xDC80\xDC80\xDC80"},
    {"byteFF", "\xff", u"\xDCFF"},
    {"replacementCharacter", "\xef\xbf\xbd", u"\uFFFD"},
    {"nonCharacterFFFF", "\xef\xbf\xbf", u"\uFFFF"},
};

TEST(FsName, BytesToTextAndBack)
{
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.name);
        const QString t = nameFromBytes(c.bytes);
        EXPECT_EQ(units(t), c.units);
        QByteArray back = "stale";
        ASSERT_TRUE(nameToBytes(text(c.units), &back));
        EXPECT_EQ(hex(back), hex(c.bytes));
    }
}

TEST(FsName, ReplacementCharacterAndByteFFStayApart)
{
    // U+FFFD is a real character a name may hold; a byte that is not UTF-8
    // must never turn into it, or two files would share one name.
    const QString replacement = nameFromBytes("\xef\xbf\xbd.txt");
    const QString ff = nameFromBytes("\xff.txt");
    EXPECT_NE(replacement, ff);
    QByteArray a, b;
    ASSERT_TRUE(nameToBytes(replacement, &a));
    ASSERT_TRUE(nameToBytes(ff, &b));
    EXPECT_EQ(hex(a), hex("\xef\xbf\xbd.txt"));
    EXPECT_EQ(hex(b), hex("\xff.txt"));
}

// Every string of up to two bytes, and the three- and four-byte ones around
// each lead byte: no two give the same text, each comes back to exactly its
// bytes, and where the bytes are valid UTF-8 the text is what an ordinary
// decoder makes of them.
TEST(FsName, NoTwoByteStringsShareAText)
{
    QList<QByteArray> corpus;
    corpus.append(QByteArray());
    for (int a = 0; a < 256; ++a) {
        corpus.append(QByteArray(1, char(a)));
        for (int b = 0; b < 256; ++b)
            corpus.append(QByteArray(1, char(a)) + char(b));
    }
    const char tails[] = {'\x7f', '\x80', '\xbf', '\xc0', '\xff'};
    for (int lead = 0xe0; lead <= 0xff; ++lead) {
        for (int b = 0; b < 256; ++b) {
            for (const char t : tails) {
                const QByteArray head = QByteArray(1, char(lead)) + char(b);
                corpus.append(head + t);
                corpus.append(head + '\x80' + t);
            }
        }
    }

    QSet<QString> seen;
    seen.reserve(corpus.size());
    QStringDecoder utf8(QStringConverter::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    int mismatches = 0;
    for (const QByteArray& bytes : std::as_const(corpus)) {
        const QString t = nameFromBytes(bytes);
        seen.insert(t);
        QByteArray back;
        const bool ok = nameToBytes(t, &back);
        utf8.resetState();
        const QString plain = utf8(bytes);
        const bool valid = !utf8.hasError();
        // A NUL byte can't be in a name on disk, and its text has no bytes.
        const bool roundTrips = bytes.contains('\0') ? !ok : ok && back == bytes;
        const bool bad = !roundTrips || (valid && t != plain);
        if (bad && ++mismatches <= 5)
            ADD_FAILURE() << "bytes " << hex(bytes) << " text units " << testing::PrintToString(units(t));
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(seen.size(), corpus.size());
}

TEST(FsName, TextWithoutBytesIsRefused)
{
    const struct {
        const char* name;
        QString text;
    } cases[] = {
        {"nul", QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
        {"nulOnly", QString(QChar(0))},
        {"loneHighAtEnd", text(u"photo\xD83D")},
        {"loneHighBeforeAscii", text(u"\xD83Dx")},
        {"highThenHigh", text(u"\xD83D\xD83D\xDE00")},
        {"loneLowBelowEscapes", text(u"a\xDC00")},
        {"loneLowJustBelowEscapes", text(u"a\xDC7F")},
        {"loneLowAboveEscapes", text(u"a\xDD00")},
        {"loneLowTop", text(u"\xDFFF")},
        {"reversedPair", text(u"\xDE00\xD83D")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray out;
        EXPECT_FALSE(nameToBytes(c.text, &out));
    }
}

TEST(FsName, HasBrokenCharacter)
{
    const struct {
        const char* name;
        std::u16string_view text;
        bool broken;
    } cases[] = {
        {"plain", u"a.txt", false},
        {"japanese", u"\u5199\u771f.jpg", false},
        {"empty", u"", false},
        {"escapedBytes", u"caf\xDCE9\xDC80\xDCFF", false},
        {"pair", u"\xD83D\xDE00", false},
        {"pairWithLowHalfInEscapeRange", u"\xD83D\xDC80", false},
        {"replacementCharacter", u"\uFFFD", false},
        {"loneHighAtEnd", u"a\xD83D", true},
        {"loneHighBeforeAscii", u"\xD83D" u"a", true},
        {"highThenHigh", u"\xD83D\xD83D", true},
        {"loneLowBelowEscapes", u"\xDC7F", true},
        {"loneLowAboveEscapes", u"\xDD00", true},
        {"loneLowOfAPair", u"x\xDE00", true},
        {"reversedPair", u"\xDE00\xD83D", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hasBrokenCharacter(text(c.text)), c.broken);
    }
}

} // namespace
