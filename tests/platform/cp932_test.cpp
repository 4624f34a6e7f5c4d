#include "platform/cp932.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace tavil::platform;

namespace {

TEST(Cp932, ByteWidths)
{
    const struct {
        const char* name;
        QString text;
        int width;
    } cases[] = {
        {"ascii", u"abc"_s, 3},
        {"fullWidthDigitsAndKanji", u"２００３年"_s, 10},
        {"halfWidthKana", u"ｶﾞ"_s, 2},
        {"mixedPath", u"/写真/a.jpg"_s, 11},
        {"microsoftRows", u"～①－∥￢"_s, 10},
        {"unmappableCountOne", u"a😀é⑴"_s, 4},
        {"mappableAfterUnmappable", u"😀あa①"_s, 6},
        {"empty", QString(), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cp932ByteWidth(c.text), c.width);
    }
}

TEST(Cp932, EncodesWithQuestionMarkForUnmappable)
{
    EXPECT_EQ(encodeCp932(u"２００３年"_s), QByteArray::fromHex("8251824f824f8252944e"));
    EXPECT_EQ(encodeCp932(u"ｶﾞ～"_s), QByteArray::fromHex("b6de8160"));
    EXPECT_EQ(encodeCp932(u"a😀b"_s), QByteArray("a?b"));
    EXPECT_EQ(encodeCp932(u"é写真"_s), QByteArray::fromHex("3f8eca905e"));
}

TEST(Cp932, DecodesValidBytesOnly)
{
    EXPECT_EQ(decodeCp932(QByteArray::fromHex("8251824f824f8252944e")), u"２００３年"_s);
    EXPECT_EQ(decodeCp932(QByteArray::fromHex("8160")), u"～"_s);
    EXPECT_EQ(decodeCp932(QByteArray("abc")), u"abc"_s);
    EXPECT_FALSE(decodeCp932(QByteArray::fromHex("82")).has_value());       // cut after a lead byte
    EXPECT_FALSE(decodeCp932(QByteArray::fromHex("e38182")).has_value());   // UTF-8 あ
}

} // namespace
