#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/cstring.h"

TEST(CString, FormatTrimAndCompare) {
    CString s;
    std::string big(5000, 'x');
    s.Format("%s-%d/%d/%d", big.c_str(), 2, 3, 1);
    EXPECT_EQ(std::string(s), big + "-2/3/1");
    CString t(" \t 12 34 \r\n");
    t.TrimLeft();
    t.TrimRight();
    EXPECT_STREQ(t, "12 34");
    EXPECT_TRUE(CString("10") < CString("9"));
    EXPECT_EQ(CString("0A08").CompareNoCase("0a08"), 0);
    EXPECT_TRUE(CString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(CString, GetBufferLeavesRoomForTheTerminatorAndReleaseTakesTheLength) {
    CString s("old");
    char* p = s.GetBuffer(512);
    std::memset(p, 'A', 512);
    p[512] = '\0';
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 512);
    std::strcpy(s.GetBuffer(16), "191008");
    s.ReleaseBuffer();
    EXPECT_STREQ(s, "191008");
    s.GetBuffer(10);
    s.ReleaseBuffer(1000); // clamped, never read past the buffer
    EXPECT_EQ(s.GetLength(), 10);
    s.ReleaseBuffer(3);
    EXPECT_STREQ(s, "191");
}
