// Device requirement records: identity and resource texts as the registry
// holds them, and the list that keeps one record per identity in order.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/device_requirement.h"

namespace {

CDeviceRequirement Parsed(const char* identity) {
    CDeviceRequirement r;
    EXPECT_TRUE(r.ParseIdentityText(identity)) << identity;
    return r;
}

std::string ResourceBytes(const CDeviceRequirement& r) {
    CString text = r.GetResourceText();
    return std::string(static_cast<const char*>(text), text.GetLength());
}

std::vector<std::string> Identities(CDeviceRequirementList& list) {
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos).GetIdentityText().str());
    return out;
}

} // namespace

TEST(DeviceIdentityText, ReadsItsPartsWhereverTheyStand) {
    CDeviceRequirement a = Parsed("DEV_2DEF&VEN_1ABC");
    EXPECT_EQ(0x1ABC, a.m_wVendorId);
    EXPECT_EQ(0x2DEF, a.m_wDeviceId);
    EXPECT_EQ(0u, a.m_bHasSubsystem);
    EXPECT_EQ(0u, a.m_bHasRevision);
    EXPECT_EQ(0, CompareIdentity(a, Parsed("PCI\\VEN_1ABC&DEV_2DEF")));

    // Fewer than eight digits: the number's low half is the subsystem vendor.
    CDeviceRequirement b = Parsed("REV_0b&PCI\\VEN_1abc&DEV_2DEF&SUBSYS_1ABC");
    EXPECT_EQ(1u, b.m_bHasSubsystem);
    EXPECT_EQ(0x1ABC, b.m_wSubsystemVendorId);
    EXPECT_EQ(0, b.m_wSubsystemId);
    EXPECT_EQ(1u, b.m_bHasRevision);
    EXPECT_EQ(0x0B, b.m_byRevisionId);
    // A part reads at most its width, sign and 0x prefix included; a minus
    // sign negates within the field's size, as scanf does.
    EXPECT_EQ(0x1234, Parsed("VEN_12345&DEV_1").m_wVendorId);
    EXPECT_EQ(0x1A, Parsed("VEN_0x1AB&DEV_1").m_wVendorId);
    EXPECT_EQ(0xFEDD, Parsed("VEN_1&DEV_-1234").m_wDeviceId);
}

TEST(DeviceIdentityText, RefusesTextsWithoutAUsableVendorOrDevice) {
    for (const char* text :
         {"PCI\\VEN_0000&DEV_2DEF", "PCI\\DEV_2DEF", "PCI\\VEN_1ABC", "VEN_&DEV_2DEF",
          "VEN_1ABC&DEV_", "ven_1ABC&dev_2DEF", "VEN_1ABC&DEV_2DEF&SUBSYS_",
          "VEN_1ABC&DEV_2DEF&REV_x", "", "VEN_1ABC&DEV_-"}) {
        CDeviceRequirement r;
        EXPECT_FALSE(r.ParseIdentityText(text)) << text;
    }
    // A parse starts from a new record, whatever the record held.
    CDeviceRequirement r = Parsed("VEN_1ABC&DEV_2DEF&SUBSYS_12345678&REV_01");
    r.m_dwBars[3] = 7;
    ASSERT_TRUE(r.ParseIdentityText("VEN_1&DEV_2"));
    EXPECT_EQ(0u, r.m_bHasSubsystem + r.m_bHasRevision + r.m_dwBars[3]);
}

TEST(DeviceIdentityText, FormatsUpperCaseZeroPaddedAndReadsBackTheSameIdentity) {
    CDeviceRequirement r;
    EXPECT_EQ("", r.GetIdentityText());
    r.m_wVendorId = 0x1ABC;
    r.m_wDeviceId = 0x2DEF;
    r.m_bHasSubsystem = 1;
    r.m_wSubsystemVendorId = 0x1ABC;
    r.m_wSubsystemId = 0x3C5E;
    r.m_bHasRevision = 1;
    r.m_byRevisionId = 0x0B;
    EXPECT_EQ("PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_3C5E1ABC&REV_0B", r.GetIdentityText());

    CDeviceRequirement small;
    small.m_wVendorId = 0x1;
    small.m_wDeviceId = 0xa;
    small.m_bHasRevision = 1;
    EXPECT_EQ("PCI\\VEN_0001&DEV_000A&REV_00", small.GetIdentityText());

    for (const CDeviceRequirement& original : {r, small}) {
        CDeviceRequirement copy = Parsed(original.GetIdentityText());
        EXPECT_EQ(0, CompareIdentity(original, copy)) << original.GetIdentityText().str();
        EXPECT_EQ(original.m_wSubsystemId, copy.m_wSubsystemId);
    }
}

TEST(DeviceResourceString, AcceptsIndexZeroToFiveOnlyAndLaterValuesReplace) {
    CDeviceRequirement r;
    for (const char* text :
         {"6:1000", "-1:1000", "0:", "0 1000", ":1000", "0:xyz", "99999999999999999999:1"}) {
        EXPECT_FALSE(r.ParseResourceString(text)) << text;
        EXPECT_EQ(ResourceBytes(CDeviceRequirement()), ResourceBytes(r)) << text;
    }
    ASSERT_TRUE(r.ParseResourceString("0:0x1000"));
    EXPECT_EQ(0x1000u, r.m_dwBars[0]);
    ASSERT_TRUE(r.ParseResourceString(" 5: fffff000"));
    ASSERT_TRUE(r.ParseResourceString("0:2000"));
    EXPECT_EQ(0x2000u, r.m_dwBars[0]);
    EXPECT_EQ(0xFFFFF000u, r.m_dwBars[5]);
    ASSERT_TRUE(r.ParseResourceString("5:0"));
    EXPECT_EQ(0u, r.m_dwBars[5]);
    // Too large for 32 bits saturates, as the Windows C library reads it.
    ASSERT_TRUE(r.ParseResourceString("1:123456789"));
    EXPECT_EQ(0xFFFFFFFFu, r.m_dwBars[1]);
}

TEST(DeviceResourceText, WritesNulSeparatedStringsWithAFinalNulOrNothing) {
    CDeviceRequirement r;
    EXPECT_EQ(0, r.GetResourceText().GetLength());
    r.m_dwBars[0] = 0x1000;
    r.m_dwBars[2] = 0xFFF00000;
    const char expected[] = "0:1000\0"
                            "2:FFF00000\0";
    EXPECT_EQ(std::string(expected, sizeof expected), ResourceBytes(r));
    EXPECT_EQ(19u, ResourceBytes(r).size());
}

TEST(DeviceRequirementList, MergesTheSameIdentityAndKeepsIdentityOrder) {
    CDeviceRequirementList list;
    CDeviceRequirement first = Parsed("PCI\\VEN_1ABC&DEV_2DEF");
    ASSERT_TRUE(first.ParseResourceString("0:1000"));
    CDeviceRequirement second = Parsed("PCI\\VEN_1ABC&DEV_2DEF&");
    ASSERT_TRUE(second.ParseResourceString("1:2000"));
    POSITION pos = list.Add(first, false);
    EXPECT_EQ(pos, list.Add(second, false));
    ASSERT_EQ(1, list.GetCount());
    EXPECT_EQ(std::string("0:1000\0"
                          "1:2000\0",
                          15),
              ResourceBytes(list.GetAt(pos)));

    // Replacing all BARs also clears the ones the new record leaves at 0.
    EXPECT_EQ(pos, list.Add(second, true));
    EXPECT_EQ(std::string("1:2000\0", 8), ResourceBytes(list.GetAt(pos)));

    list.RemoveAll();
    const char* ascending[] = {"PCI\\VEN_0001&DEV_FFFF",
                               "PCI\\VEN_1ABC&DEV_0001",
                               "PCI\\VEN_1ABC&DEV_2DEF",
                               "PCI\\VEN_1ABC&DEV_2DEF&REV_00",
                               "PCI\\VEN_1ABC&DEV_2DEF&REV_01",
                               "PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00011ABC",
                               "PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00001ABD",
                               "PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00001ABD&REV_00",
                               "PCI\\VEN_FFFF&DEV_0000"};
    std::vector<std::string> expected(std::begin(ascending), std::end(ascending));
    for (auto it = expected.rbegin(); it != expected.rend(); ++it) {
        POSITION added = list.Add(Parsed(it->c_str()), true);
        EXPECT_EQ(*it, list.GetAt(added).GetIdentityText().str());
    }
    EXPECT_EQ(expected, Identities(list));
    for (const std::string& text : expected)
        list.Add(Parsed(text.c_str()), false);
    EXPECT_EQ(expected, Identities(list));
}

TEST(DeviceRequirementTexts, StopAtTheEndOfTextsThatEndInsideAPart) {
    // Exact-size copies, so that a read past the terminator is caught.
    struct Case {
        const char* text;
        bool identity;
        bool resource;
    };
    for (const Case& c : {Case{"VEN_", false, false}, Case{"VEN_1ABC&DEV_", false, false},
                          Case{"VEN_1&DEV_2&REV_0x", true, false}, Case{"0:0x", false, true},
                          Case{"1:", false, false}, Case{"-", false, false}}) {
        size_t size = std::strlen(c.text) + 1;
        std::unique_ptr<char[]> exact(new char[size]);
        std::memcpy(exact.get(), c.text, size);
        CDeviceRequirement r;
        EXPECT_EQ(c.identity, r.ParseIdentityText(exact.get())) << c.text;
        r.m_dwBars[0] = 5;
        EXPECT_EQ(c.resource, r.ParseResourceString(exact.get())) << c.text;
        // A prefix without digits behind it is the number 0.
        if (c.resource) {
            EXPECT_EQ(0u, r.m_dwBars[0]) << c.text;
        }
    }
    CDeviceRequirement r = Parsed("VEN_1&DEV_2&REV_0x1");
    EXPECT_EQ(1u, r.m_bHasRevision);
    EXPECT_EQ(0, r.m_byRevisionId);
}
