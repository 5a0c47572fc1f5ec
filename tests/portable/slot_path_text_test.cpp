// Slot path text <-> bytes, without Windows: also built natively for the
// sanitizer runs, which catch any write past the buffers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sys/slot_path_text.h"

namespace {
const uint8_t GUARD = 0xA5;
}

TEST(ParseHexText, ReadsPairsInAnyCaseAndRefusesMalformedTextWithoutWriting) {
    for (const char* text : {"0A08", "0a08"}) {
        std::vector<uint8_t> bytes(3, GUARD);
        size_t count = 99;
        ASSERT_EQ(HexTextResult::Ok, ParseHexText(text, bytes.data(), 2, &count)) << text;
        EXPECT_EQ((std::vector<uint8_t>{0x0A, 0x08, GUARD}), bytes) << text;
        EXPECT_EQ(2u, count);
    }
    size_t count = 99;
    EXPECT_EQ(HexTextResult::Ok, ParseHexText("", nullptr, 0, &count));
    EXPECT_EQ(0u, count);
    // A bad character after good pairs is found before anything is written.
    for (const char* text : {"0A0", "0G", " 0A", "0x0A", "1122z3"}) {
        std::vector<uint8_t> bytes(4, GUARD);
        EXPECT_EQ(HexTextResult::Malformed, ParseHexText(text, bytes.data(), 4, &count)) << text;
        EXPECT_EQ(std::vector<uint8_t>(4, GUARD), bytes) << text;
    }
}

TEST(ParseHexText, NeverWritesPastItsBufferWhateverTheLength) {
    std::vector<uint8_t> bytes(257, GUARD);
    size_t count = 0;
    ASSERT_EQ(HexTextResult::Ok,
              ParseHexText(std::string(512, 'F').c_str(), bytes.data(), 256, &count));
    EXPECT_EQ(256u, count);
    EXPECT_EQ(GUARD, bytes[256]);
    std::fill(bytes.begin(), bytes.end(), GUARD);
    EXPECT_EQ(HexTextResult::TooLong,
              ParseHexText(std::string(10000, 'A').c_str(), bytes.data(), 256, &count));
    EXPECT_EQ(std::vector<uint8_t>(257, GUARD), bytes);
}

TEST(FormatHexText, WritesUpperCasePairsOnlyWhenTheyFitWithTheirNul) {
    const uint8_t path[3] = {0x19, 0x10, 0xab};
    std::string text(8, 'z');
    EXPECT_FALSE(FormatHexText(path, 3, &text[0], 6));
    EXPECT_EQ(std::string(8, 'z'), text);
    ASSERT_TRUE(FormatHexText(path, 3, &text[0], 7));
    EXPECT_STREQ("1910AB", text.c_str());
    // A count whose doubled size would wrap is refused, not trusted.
    EXPECT_FALSE(FormatHexText(path, static_cast<size_t>(-1) / 2 + 1, &text[0], 8));
}

TEST(SkipSlotPathMark, SkipsOneLeadingStarOnly) {
    EXPECT_STREQ("191008", SkipSlotPathMark("*191008"));
    EXPECT_STREQ("*191008", SkipSlotPathMark("**191008"));
    EXPECT_STREQ("191008", SkipSlotPathMark("191008"));
}
