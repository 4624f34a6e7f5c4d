#include "platform/dosattrib.h"

#include <gtest/gtest.h>

using namespace tavil::platform;

namespace {

// 2003-03-31 09:05:07 UTC in NT time.
constexpr quint64 kCreation = 126935751070000000ULL;

TEST(DosAttrib, EncodesVersion4Exactly)
{
    DosAttrib value;
    value.validFlags = kDosValidAttrib | kDosValidCreation;
    value.attributes = 0x22;
    value.itime = 0x0102030405060708ULL;
    value.creationTime = kCreation;
    const QByteArray expected = QByteArray::fromHex("0000" "0400" "04000000" "11000000" "22000000"
                                                    "0807060504030201" "8023d39f64f7c201");
    EXPECT_EQ(encodeDosAttrib(value).toHex(), expected.toHex());
    EXPECT_EQ(encodeDosAttrib(value).size(), 32);
}

TEST(DosAttrib, DecodesWhatItEncodes)
{
    DosAttrib value;
    value.validFlags = kDosValidAttrib | kDosValidItime;
    value.attributes = 0x827;
    value.itime = 42;
    const auto back = decodeDosAttrib(encodeDosAttrib(value));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->validFlags, value.validFlags);
    EXPECT_EQ(back->attributes, 0x827u);
    EXPECT_EQ(back->itime, 42u);
    EXPECT_EQ(back->creationTime, 0u);
}

TEST(DosAttrib, DecodesVersion5AsSambaWritesIt)
{
    // setmode +hs from an SMB client on a file created at kCreation.
    const QByteArray blob = QByteArray::fromHex("0000" "0500" "05000000" "11000000" "06000000"
                                                "8023d39f64f7c201");
    const auto value = decodeDosAttrib(blob);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->validFlags, 0x11u);
    EXPECT_EQ(value->attributes, 0x06u);
    EXPECT_EQ(value->creationTime, kCreation);
}

TEST(DosAttrib, DecodesVersion3WithHexText)
{
    // "0x20", version 3, flags attrib|create, archive, ea size, size, alloc
    // size, creation, change.
    const QByteArray blob = QByteArray("0x20", 4) + QByteArray::fromHex(
        "00" "00" "0300" "0300" "0000" "11000000" "20000000" "00000000"
        "0010000000000000" "0010000000000000" "8023d39f64f7c201" "0000000000000000");
    const auto value = decodeDosAttrib(blob);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->attributes, 0x20u);
    EXPECT_EQ(value->validFlags, 0x11u);
    EXPECT_EQ(value->creationTime, kCreation);
}

TEST(DosAttrib, RefusesOtherVersionsAndShortBlobs)
{
    const struct {
        const char* name;
        QByteArray blob;
    } cases[] = {
        {"empty", QByteArray()},
        {"noTerminator", QByteArray("0x20")},
        {"version2", QByteArray::fromHex("0000020002000000" "20000000")},
        {"version6", QByteArray::fromHex("0000060006000000" "1100000006000000" "8023d39f64f7c201")},
        {"levelDiffers", QByteArray::fromHex("0000040005000000" "1100000022000000" "0000000000000000"
                                             "8023d39f64f7c201")},
        {"v4Truncated", QByteArray::fromHex("0000040004000000" "1100000022000000" "00000000")},
        {"v5Truncated", QByteArray::fromHex("0000050005000000" "11000000")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(decodeDosAttrib(c.blob).has_value());
    }
}

TEST(DosAttrib, NtTimeConversion)
{
    EXPECT_EQ(ntTimeToUnixSeconds(kCreation), 1049101507);
    EXPECT_EQ(ntTimeToUnixSeconds(kCreation + 9999999), 1049101507); // truncated
    EXPECT_EQ(unixSecondsToNtTime(1049101507), kCreation);
    EXPECT_EQ(ntTimeToUnixSeconds(116444736000000000ULL), 0);
    EXPECT_EQ(unixSecondsToNtTime(-11644473600LL), 0u);
}

} // namespace
