// The page's hexadecimal fields read as the Windows run-time's strtoul does,
// whatever the host: trailing characters are an error, long numbers saturate.
#include <gtest/gtest.h>

#include "model/field_numbers.h"

TEST(HexField, ReadsAsWindowsStrtoulAfterOnePrefix) {
    const struct {
        const char* text;
        uint32_t value;
        bool error;
    } cases[] = {
        {"", 0, false},
        {"0x", 0, false},
        {"0x 12", 0x12, false},
        {"0x0x12", 0x12, false},
        {"-1000", 0xFFFFF000, false},
        {"-FFFFFFFF", 1, false},
        {"000000000001", 1, false},
        {"100000000", 0xFFFFFFFF, false},
        {"-123456789ABCDEF", 0xFFFFFFFF, false}, // saturates behind a minus sign too
        {"10 00", 0x10, true},
        {"1000h", 0x1000, true},
        {"0xg", 0, true},
        {"+ 5", 0, true},
        {"-", 0, true},
    };
    for (const auto& c : cases) {
        CString field(c.text);
        bool error = !c.error;
        EXPECT_EQ(c.value, ParseHexField(field, &error)) << c.text;
        EXPECT_EQ(c.error, error) << c.text;
    }
    CString field(" \t0X1aF0 \r\n");
    EXPECT_EQ(0x1AF0u, ParseHexField(field));
    EXPECT_EQ("0X1aF0", field); // the text itself is trimmed
}
