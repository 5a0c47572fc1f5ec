#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/cstring.h"

TEST(CString, FormatHandlesTextLongerThanAnyFixedBuffer) {
    CString s;
    std::string big(5000, 'x');
    s.Format("%s-%d/%d/%d", big.c_str(), 2, 3, 1);
    EXPECT_EQ(s.GetLength(), 5000 + 6);
    EXPECT_EQ(std::string(s).substr(5000), "-2/3/1");
    s.Format("%02X", 0x0a);
    EXPECT_STREQ(s, "0A");
}

TEST(CString, TrimRemovesOnlyOuterBlanks) {
    CString s(" \t 12 34 \r\n");
    s.TrimLeft();
    EXPECT_STREQ(s, "12 34 \r\n");
    s.TrimRight();
    EXPECT_STREQ(s, "12 34");
    CString blank("   ");
    blank.TrimLeft();
    EXPECT_TRUE(blank.IsEmpty());
}

TEST(CString, GetBufferLetsACallerFillAndReleaseTakesTheLength) {
    CString s("old");
    char* p = s.GetBuffer(512);
    std::memset(p, 'A', 512);
    p[512] = '\0'; // room for the terminator after the asked-for length
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 512);

    p = s.GetBuffer(16);
    std::strcpy(p, "191008");
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "191008");

    s.GetBuffer(10);
    s.ReleaseBuffer(3);
    EXPECT_STREQ(s, "191");
    // A length beyond the buffer is clamped, never read past it.
    s.ReleaseBuffer(1000);
    EXPECT_EQ(s.GetLength(), 3);
}

TEST(CString, ComparisonsOrderByBytes) {
    EXPECT_TRUE(CString("0A08") == "0A08");
    EXPECT_FALSE(CString("0A08") == "0a08");
    EXPECT_EQ(CString("0A08").CompareNoCase("0a08"), 0);
    EXPECT_TRUE(CString("10") < CString("9"));
    EXPECT_TRUE(CString("") < CString("0"));
    EXPECT_TRUE(CString("abc") != CString("abd"));
}

TEST(CString, NullPointersReadAsEmpty) {
    CString s(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsEmpty());
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(s.Compare(nullptr), 0);
}
