// Slot path text <-> bytes, without Windows: also builds natively for
// sanitizer runs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sys/slot_path_text.h"

namespace {

const uint8_t GUARD = 0xA5;

TEST(ParseHexText, ReadsPairsHighDigitFirst) {
    uint8_t bytes[4] = {GUARD, GUARD, GUARD, GUARD};
    size_t count = 99;
    ASSERT_EQ(HexTextResult::Ok, ParseHexText("0A08", bytes, sizeof(bytes), &count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ(0x0A, bytes[0]);
    EXPECT_EQ(0x08, bytes[1]);
    EXPECT_EQ(GUARD, bytes[2]);
}

TEST(ParseHexText, AcceptsLowerAndMixedCase) {
    uint8_t upper[3], lower[3], mixed[3];
    size_t n1 = 0, n2 = 0, n3 = 0;
    ASSERT_EQ(HexTextResult::Ok, ParseHexText("ABCDEF", upper, 3, &n1));
    ASSERT_EQ(HexTextResult::Ok, ParseHexText("abcdef", lower, 3, &n2));
    ASSERT_EQ(HexTextResult::Ok, ParseHexText("aBcDeF", mixed, 3, &n3));
    const uint8_t expected[3] = {0xAB, 0xCD, 0xEF};
    EXPECT_EQ(0, std::memcmp(expected, upper, 3));
    EXPECT_EQ(0, std::memcmp(expected, lower, 3));
    EXPECT_EQ(0, std::memcmp(expected, mixed, 3));
    EXPECT_EQ(3u, n1);
    EXPECT_EQ(3u, n2);
    EXPECT_EQ(3u, n3);
}

TEST(ParseHexText, EmptyTextGivesNoBytes) {
    uint8_t byte = GUARD;
    size_t count = 99;
    ASSERT_EQ(HexTextResult::Ok, ParseHexText("", &byte, 1, &count));
    EXPECT_EQ(0u, count);
    EXPECT_EQ(GUARD, byte);
    // Nothing to write, so even no room at all is enough.
    EXPECT_EQ(HexTextResult::Ok, ParseHexText("", nullptr, 0, &count));
}

TEST(ParseHexText, RejectsOddLengthAndNonHexWithoutWriting) {
    const char* texts[] = {"0A0", "0G", "G0", " 0A", "0A ", "0x0A", "1-", "\xC3\xA9"};
    for (const char* text : texts) {
        uint8_t bytes[4] = {GUARD, GUARD, GUARD, GUARD};
        size_t count = 99;
        EXPECT_EQ(HexTextResult::Malformed, ParseHexText(text, bytes, sizeof(bytes), &count))
            << text;
        EXPECT_EQ(99u, count) << text;
        for (uint8_t b : bytes)
            EXPECT_EQ(GUARD, b) << text;
    }
}

TEST(ParseHexText, MalformedTailIsFoundBeforeAnyByteIsWritten) {
    uint8_t bytes[3] = {GUARD, GUARD, GUARD};
    size_t count = 0;
    EXPECT_EQ(HexTextResult::Malformed, ParseHexText("1122z3", bytes, sizeof(bytes), &count));
    EXPECT_EQ(GUARD, bytes[0]);
    EXPECT_EQ(GUARD, bytes[1]);
}

TEST(ParseHexText, FillsTheBufferExactly) {
    std::vector<uint8_t> bytes(256 + 1, GUARD);
    std::string text(512, 'F');
    size_t count = 0;
    ASSERT_EQ(HexTextResult::Ok, ParseHexText(text.c_str(), bytes.data(), 256, &count));
    EXPECT_EQ(256u, count);
    EXPECT_EQ(0xFF, bytes[255]);
    EXPECT_EQ(GUARD, bytes[256]);
}

TEST(ParseHexText, NeverWritesPastTheBufferWhateverTheLength) {
    for (size_t length : {2u, 10u, 514u, 10000u, 100000u}) {
        std::vector<uint8_t> bytes(8, GUARD);
        std::string text(length, '7');
        size_t count = 99;
        // Room for 4 bytes; the other 4 are a guard.
        HexTextResult result = ParseHexText(text.c_str(), bytes.data(), 4, &count);
        if (length / 2 <= 4) {
            EXPECT_EQ(HexTextResult::Ok, result);
            EXPECT_EQ(length / 2, count);
        } else {
            EXPECT_EQ(HexTextResult::TooLong, result) << length;
            EXPECT_EQ(99u, count);
            EXPECT_EQ(GUARD, bytes[0]);
        }
        for (size_t i = 4; i < bytes.size(); ++i)
            EXPECT_EQ(GUARD, bytes[i]) << length;
    }
}

TEST(ParseHexText, MalformedWinsOverTooLong) {
    std::string text(10000, '0');
    text[5000] = 'q';
    uint8_t bytes[2];
    size_t count = 0;
    EXPECT_EQ(HexTextResult::Malformed, ParseHexText(text.c_str(), bytes, 2, &count));
    text = std::string(10001, '0');
    EXPECT_EQ(HexTextResult::Malformed, ParseHexText(text.c_str(), bytes, 2, &count));
}

TEST(FormatHexText, WritesUpperCasePairsAndNul) {
    const uint8_t bytes[] = {0x19, 0x10, 0x08, 0xAB, 0x0F};
    char text[16];
    std::memset(text, 'z', sizeof(text));
    ASSERT_TRUE(FormatHexText(bytes, sizeof(bytes), text, sizeof(text)));
    EXPECT_STREQ("191008AB0F", text);
    EXPECT_EQ('z', text[11]);
}

TEST(FormatHexText, NeedsTwoCharactersPerByteAndTheNul) {
    const uint8_t bytes[] = {0xDE, 0xAD, 0xBE};
    char text[8];
    std::memset(text, 'z', sizeof(text));
    EXPECT_FALSE(FormatHexText(bytes, 3, text, 6));
    for (char c : text)
        EXPECT_EQ('z', c);
    ASSERT_TRUE(FormatHexText(bytes, 3, text, 7));
    EXPECT_STREQ("DEADBE", text);
    EXPECT_EQ('z', text[7]);
}

TEST(FormatHexText, EmptyInputNeedsRoomForTheNul) {
    char text[2] = {'z', 'z'};
    EXPECT_FALSE(FormatHexText(nullptr, 0, text, 0));
    EXPECT_EQ('z', text[0]);
    ASSERT_TRUE(FormatHexText(nullptr, 0, text, 1));
    EXPECT_EQ('\0', text[0]);
    EXPECT_EQ('z', text[1]);
}

TEST(FormatHexText, HugeCountDoesNotWrapTheSizeCheck) {
    char text[8];
    std::memset(text, 'z', sizeof(text));
    const uint8_t byte = 1;
    // 2 * count + 1 would overflow to a small number.
    EXPECT_FALSE(FormatHexText(&byte, SIZE_MAX / 2 + 1, text, sizeof(text)));
    EXPECT_EQ('z', text[0]);
}

TEST(FormatHexText, RoundTripsThroughParse) {
    uint8_t bytes[255];
    for (size_t i = 0; i < sizeof(bytes); ++i)
        bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    char text[511];
    ASSERT_TRUE(FormatHexText(bytes, sizeof(bytes), text, sizeof(text)));
    EXPECT_EQ(510u, std::strlen(text));
    uint8_t back[255];
    size_t count = 0;
    ASSERT_EQ(HexTextResult::Ok, ParseHexText(text, back, sizeof(back), &count));
    EXPECT_EQ(sizeof(bytes), count);
    EXPECT_EQ(0, std::memcmp(bytes, back, sizeof(bytes)));
}

TEST(SkipSlotPathMark, SkipsOneLeadingStarOnly) {
    const char plain[] = "191008";
    const char marked[] = "*191008";
    const char twice[] = "**19";
    const char inside[] = "19*08";
    EXPECT_EQ(plain, SkipSlotPathMark(plain));
    EXPECT_EQ(marked + 1, SkipSlotPathMark(marked));
    EXPECT_EQ(twice + 1, SkipSlotPathMark(twice));
    EXPECT_EQ(inside, SkipSlotPathMark(inside));
    EXPECT_STREQ("", SkipSlotPathMark("*"));
    EXPECT_STREQ("", SkipSlotPathMark(""));
}

} // namespace
