#include "engine/numbers.h"

#include "tests/common/qtprint.h"

#include <gtest/gtest.h>

using tavil::platform::Err;

TEST(NumberFields, LongAndIntegerParsing)
{
    struct Case {
        const char* text;
        Err longErr;
        qint32 longValue;
        Err intErr;
        qint16 intValue;
    };
    const Case cases[] = {
        {"7", Err::None, 7, Err::None, 7},
        {" -12 ", Err::None, -12, Err::None, -12},
        {"+3", Err::None, 3, Err::None, 3},
        {"32767", Err::None, 32767, Err::None, 32767},
        {"32768", Err::None, 32768, Err::Overflow, 0},
        {"-32769", Err::None, -32769, Err::Overflow, 0},
        {"2147483647", Err::None, 2147483647, Err::Overflow, 0},
        {"-2147483648", Err::None, -2147483648, Err::Overflow, 0},
        {"2147483648", Err::Overflow, 0, Err::Overflow, 0},
        {"99999999999999999999", Err::Overflow, 0, Err::Overflow, 0},
        {"", Err::TypeMismatch, 0, Err::TypeMismatch, 0},
        {"-", Err::TypeMismatch, 0, Err::TypeMismatch, 0},
        {"1.5", Err::TypeMismatch, 0, Err::TypeMismatch, 0},
        {"1 2", Err::TypeMismatch, 0, Err::TypeMismatch, 0},
        {"１２", Err::TypeMismatch, 0, Err::TypeMismatch, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        qint32 l = 99;
        qint16 s = 99;
        EXPECT_EQ(tavil::engine::toLong(QString::fromUtf8(c.text), &l), c.longErr);
        EXPECT_EQ(l, c.longErr == Err::None ? c.longValue : 99);
        EXPECT_EQ(tavil::engine::toInteger(QString::fromUtf8(c.text), &s), c.intErr);
        EXPECT_EQ(s, c.intErr == Err::None ? c.intValue : 99);
    }
}

TEST(NumberFields, ZeroMask)
{
    EXPECT_EQ(tavil::engine::formatNumber(7, 3), QStringLiteral("007"));
    EXPECT_EQ(tavil::engine::formatNumber(100, 2), QStringLiteral("100"));
    EXPECT_EQ(tavil::engine::formatNumber(-5, 3), QStringLiteral("-005"));
    EXPECT_EQ(tavil::engine::formatNumber(42, 0), QStringLiteral("42"));
    EXPECT_EQ(tavil::engine::formatNumber(42, -1), QStringLiteral("42"));
}
