// The numbers of fields and value names, each read as the program has always
// read it, on every host. The fuzz targets hold the rest of the text layer
// (multi-strings, slot path text, location numbers) to their references.
#include <gtest/gtest.h>

#include "framework/cstring.h"
#include "model/field_numbers.h"

TEST(Text, NumbersReadAsTypedOrStored) {
    EXPECT_EQ(0xFFFFFFFDu, ParseLocationNumber("-3"));
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
