// Device requirement records: identity and resource texts as the registry
// holds them, and the list that keeps one record per identity (its order is
// held to a reference by the fuzz target).
#include <gtest/gtest.h>

#include <string>

#include "model/device_requirement.h"

using namespace std::string_literals;

namespace {
CDeviceRequirement Parsed(const char* identity) {
    CDeviceRequirement r;
    EXPECT_TRUE(r.ParseIdentityText(identity)) << identity;
    return r;
}
} // namespace

TEST(DeviceRequirement, IdentitiesReadWhereverTheirPartsStandAndFormatUpperCase) {
    CDeviceRequirement a = Parsed("DEV_2DEF&VEN_1ABC");
    EXPECT_EQ(0x2DEF, a.m_wDeviceId);
    EXPECT_EQ(0, CompareIdentity(a, Parsed("PCI\\VEN_1ABC&DEV_2DEF")));
    // Fewer than eight digits: the number's low half is the subsystem vendor.
    CDeviceRequirement b = Parsed("REV_0b&PCI\\VEN_1abc&DEV_2DEF&SUBSYS_1ABC");
    EXPECT_EQ(1u, b.m_bHasSubsystem);
    EXPECT_EQ(0x1ABC, b.m_wSubsystemVendorId);
    EXPECT_EQ(0x0B, b.m_byRevisionId);
    // A part reads at most its width, sign and 0x prefix included; a minus
    // sign negates within the field's size, as scanf does.
    EXPECT_EQ(0x1234, Parsed("VEN_12345&DEV_1").m_wVendorId);
    EXPECT_EQ(0x1A, Parsed("VEN_0x1AB&DEV_1").m_wVendorId);
    EXPECT_EQ(0xFEDD, Parsed("VEN_1&DEV_-1234").m_wDeviceId);
    EXPECT_EQ(0, Parsed("VEN_1&DEV_2&REV_0x").m_byRevisionId);
    EXPECT_EQ(0x12, Parsed("VEN_1&DEV_2&REV_123").m_byRevisionId);
    for (const char* text : {"PCI\\VEN_0000&DEV_2DEF", "PCI\\DEV_2DEF", "VEN_&DEV_2DEF",
                             "VEN_1ABC&DEV_", "ven_1ABC&dev_2DEF", "VEN_1ABC&DEV_2DEF&SUBSYS_",
                             "VEN_1ABC&DEV_2DEF&REV_x", "", "VEN_1ABC&DEV_-", "PCI\\VEN_1ABC"}) {
        CDeviceRequirement r;
        EXPECT_FALSE(r.ParseIdentityText(text)) << text;
    }
    // A parse starts from a new record, whatever the record held.
    CDeviceRequirement r = Parsed("VEN_1ABC&DEV_2DEF&SUBSYS_12345678&REV_01");
    r.m_dwBars[3] = 7;
    ASSERT_TRUE(r.ParseIdentityText("VEN_1&DEV_2"));
    EXPECT_EQ(0u, r.m_bHasSubsystem + r.m_bHasRevision + r.m_dwBars[3]);

    r = CDeviceRequirement();
    EXPECT_EQ("", r.GetIdentityText());
    r.m_wVendorId = 0x1ABC;
    r.m_wDeviceId = 0x2DEF;
    r.m_bHasSubsystem = 1;
    r.m_wSubsystemVendorId = 0x1ABC;
    r.m_wSubsystemId = 0x3C5E;
    r.m_bHasRevision = 1;
    r.m_byRevisionId = 0x0B;
    EXPECT_EQ("PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_3C5E1ABC&REV_0B", r.GetIdentityText());
    EXPECT_EQ(0x3C5E, Parsed(r.GetIdentityText()).m_wSubsystemId);
}

TEST(DeviceRequirement, ResourcesReadIndexZeroToFiveAndWriteNulSeparatedStrings) {
    CDeviceRequirement r;
    for (const char* text : {"6:1000", "-1:1000", "0:", "0 1000", ":1000", "0:xyz", "1:", "-",
                             "99999999999999999999:1"}) {
        EXPECT_FALSE(r.ParseResourceString(text)) << text;
        EXPECT_EQ(0, r.GetResourceText().GetLength()) << text;
    }
    ASSERT_TRUE(r.ParseResourceString("0:0x1000"));
    ASSERT_TRUE(r.ParseResourceString(" 5: fffff000"));
    ASSERT_TRUE(r.ParseResourceString("2:FFF00000"));
    ASSERT_TRUE(r.ParseResourceString("5:0"));
    EXPECT_EQ("0:1000\0"
              "2:FFF00000\0\0"s,
              r.GetResourceText().str());
    // Too large for 32 bits saturates, as the Windows C library reads it.
    ASSERT_TRUE(r.ParseResourceString("1:123456789"));
    EXPECT_EQ(0xFFFFFFFFu, r.m_dwBars[1]);
    ASSERT_TRUE(r.ParseResourceString("1:0x"));
    EXPECT_EQ(0u, r.m_dwBars[1]);
    // As the page's fields give it: nothing but blanks after the value.
    EXPECT_TRUE(r.ParseResourceString("0:1000junk"));
    EXPECT_FALSE(r.ParseResourceString("0:1000junk", true));
    EXPECT_TRUE(r.ParseResourceString("0:1000 ", true));
}

TEST(DeviceRequirementList, MergesTheSameIdentity) {
    CDeviceRequirementList list;
    CDeviceRequirement first = Parsed("PCI\\VEN_1ABC&DEV_2DEF");
    ASSERT_TRUE(first.ParseResourceString("0:1000"));
    CDeviceRequirement second = Parsed("PCI\\VEN_1ABC&DEV_2DEF&");
    ASSERT_TRUE(second.ParseResourceString("1:2000"));
    POSITION pos = list.Add(first, false);
    EXPECT_EQ(pos, list.Add(second, false));
    EXPECT_EQ("0:1000\0"
              "1:2000\0\0"s,
              list.GetAt(pos).GetResourceText().str());
    // Replacing all BARs also clears the ones the new record leaves at 0.
    EXPECT_EQ(pos, list.Add(second, true));
    EXPECT_EQ("1:2000\0\0"s, list.GetAt(pos).GetResourceText().str());
}
