// The portable text layer: the strings of REG_MULTI_SZ data, slot path text
// and the numbers of fields and value names, each read as the program has
// always read it, on every host.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/cstring.h"
#include "model/field_numbers.h"
#include "model/miniport_record.h"
#include "model/multi_string.h"
#include "sys/slot_path_text.h"

using namespace std::string_literals;

namespace {
const uint8_t GUARD = 0xA5;

std::vector<std::string> Split(const std::string& data) {
    std::vector<std::string> out;
    for (const CString& text : SplitMultiString(data.data(), data.size()))
        out.push_back(text.str());
    return out;
}
} // namespace

TEST(Text, MultiStringsEndAtAnEmptyStringAndMiniportNamesLeaveUnnamedRecordsOut) {
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), Split("first\0second\0\0third\0\0"s));
    EXPECT_TRUE(Split("\0second\0\0"s).empty());
    EXPECT_EQ((std::vector<std::string>{"a", "bc"}), Split("a\0bc"s));
    CMiniportList miniports;
    EXPECT_EQ("\0"s, FormatMiniportNames(miniports));
    miniports.AddTail(CMiniportRecord());
    miniports.GetHead().SetServiceName("first");
    miniports.AddTail(CMiniportRecord()); // unnamed: its empty string would end the list
    POSITION second = miniports.AddTail(CMiniportRecord());
    miniports.GetAt(second).SetServiceName("second");
    EXPECT_EQ("first\0second\0\0"s, FormatMiniportNames(miniports));
    EXPECT_EQ(second, miniports.FindByService("second"));
    EXPECT_EQ(nullptr, miniports.FindByService("Second"));
}

TEST(Text, SlotPathTextIsReadAndWrittenWithinItsBuffers) {
    for (const char* text : {"0A08", "0a08"}) {
        std::vector<uint8_t> bytes(3, GUARD);
        size_t count = 99;
        ASSERT_EQ(HexTextResult::Ok, ParseHexText(text, bytes.data(), 2, &count)) << text;
        EXPECT_EQ((std::vector<uint8_t>{0x0A, 0x08, GUARD}), bytes) << text;
        EXPECT_EQ(2u, count);
    }
    // A bad character after good pairs is found before anything is written.
    for (const char* text : {"0A0", "0G", " 0A", "0x0A", "1122z3"}) {
        std::vector<uint8_t> bytes(4, GUARD);
        size_t count = 99;
        EXPECT_EQ(HexTextResult::Malformed, ParseHexText(text, bytes.data(), 4, &count)) << text;
        EXPECT_EQ(std::vector<uint8_t>(4, GUARD), bytes) << text;
    }
    std::vector<uint8_t> bytes(257, GUARD);
    size_t count = 0;
    EXPECT_EQ(HexTextResult::TooLong,
              ParseHexText(std::string(514, 'A').c_str(), bytes.data(), 256, &count));
    EXPECT_EQ(std::vector<uint8_t>(257, GUARD), bytes);

    const uint8_t path[3] = {0x19, 0x10, 0xab};
    std::string text(8, 'z');
    EXPECT_FALSE(FormatHexText(path, 3, &text[0], 6));
    EXPECT_EQ(std::string(8, 'z'), text);
    ASSERT_TRUE(FormatHexText(path, 3, &text[0], 7));
    EXPECT_STREQ("1910AB", text.c_str());
    EXPECT_STREQ("*191008", SkipSlotPathMark("**191008"));
    EXPECT_STREQ("191008", SkipSlotPathMark("*191008"));
}

TEST(Text, NumbersReadAsTypedOrStored) {
    EXPECT_EQ(31u, ParseLocationNumber("  0x1F  "));
    EXPECT_EQ(0u, ParseLocationNumber("0X1F")); // only a lower-case x means hexadecimal
    EXPECT_EQ(12u, ParseLocationNumber("12abc"));
    EXPECT_EQ(NOT_GIVEN, ParseLocationNumber("   "));
    EXPECT_EQ(NOT_GIVEN, ParseLocationNumber("bus"));
    EXPECT_EQ(0xFFFFFFFDu, ParseLocationNumber("-3"));
    EXPECT_EQ(0u, ParseLocationNumber("0x"));
    EXPECT_EQ(0xFFFFFFFFu, ParseLocationNumber("99999999999999999999999"));
    EXPECT_EQ(0xFFFFFFFFu, ParseLocationNumber("0xfffffffff"));
    EXPECT_STREQ("-3", FormatDecimal(0xFFFFFFFD));

    EXPECT_EQ(12, ParseSlotNumber("12abc"));
    EXPECT_EQ(0, ParseSlotNumber("abc"));
    EXPECT_EQ(-4, ParseSlotNumber(" -4"));
    EXPECT_EQ(INT32_MAX, ParseSlotNumber("99999999999"));
    EXPECT_EQ(INT32_MIN, ParseSlotNumber("-99999999999"));

    // The device page's fields read as the Windows run-time's strtoul.
    const struct {
        const char* text;
        uint32_t value;
        bool error;
    } fields[] = {
        {"", 0, false},
        {"0x 12", 0x12, false},
        {"0x0x12", 0x12, false},
        {"-1000", 0xFFFFF000, false},
        {"100000000", 0xFFFFFFFF, false},
        {"-123456789ABCDEF", 0xFFFFFFFF, false}, // saturates behind a minus sign too
        {"10 00", 0x10, true},
        {"0xg", 0, true},
        {"+ 5", 0, true},
    };
    for (const auto& f : fields) {
        CString field(f.text);
        bool error = !f.error;
        EXPECT_EQ(f.value, ParseHexField(field, &error)) << f.text;
        EXPECT_EQ(f.error, error) << f.text;
    }
    CString field(" \t0X1aF0 \r\n");
    EXPECT_EQ(0x1AF0u, ParseHexField(field));
    EXPECT_STREQ("0X1aF0", field); // the text itself is trimmed
}
