// Slot records and their list, without the hot-swap driver: natively no
// driver exists, and the Windows test program never opens one here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/slot_record.h"
#include "portable/fake_resolver.h"

namespace {
std::vector<std::string> Paths(const CSlotRecordList& list) {
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos).GetSlotPath().str());
    return out;
}

CSlotRecord WithPath(const char* path) {
    CSlotRecord record;
    record.SetSlotPath(path, NoDriver());
    return record;
}

CSlotRecord Resolved(const char* path, uint32_t bus, uint32_t device, uint32_t function) {
    CSlotRecord record = WithPath(path);
    record.m_nBus = bus;
    record.m_nDevice = device;
    record.m_nFunction = function;
    record.m_dwFlags |= SLOT_HAS_BDF;
    return record;
}
} // namespace

TEST(LocationNumbers, ReadAsTypedAndWrittenAsDecimal) {
    EXPECT_EQ(31u, ParseLocationNumber("  0x1F  "));
    EXPECT_EQ(0u, ParseLocationNumber("0X1F")); // only a lower-case x means hexadecimal
    EXPECT_EQ(12u, ParseLocationNumber("12abc"));
    EXPECT_EQ(NOT_GIVEN, ParseLocationNumber(""));
    EXPECT_EQ(NOT_GIVEN, ParseLocationNumber("   "));
    EXPECT_EQ(NOT_GIVEN, ParseLocationNumber("bus"));
    EXPECT_EQ(0xFFFFFFFDu, ParseLocationNumber("-3"));
    EXPECT_EQ(0u, ParseLocationNumber("0x"));
    EXPECT_EQ(0xFFFFFFFFu, ParseLocationNumber("99999999999999999999999"));
    EXPECT_EQ(0xFFFFFFFFu, ParseLocationNumber("0xfffffffff"));
    EXPECT_STREQ("7", FormatDecimal(7));
    EXPECT_STREQ("-3", FormatDecimal(0xFFFFFFFD));

    EXPECT_EQ(12, ParseSlotNumber("12abc"));
    EXPECT_EQ(0, ParseSlotNumber("abc"));
    EXPECT_EQ(-4, ParseSlotNumber(" -4"));
    EXPECT_EQ(INT32_MAX, ParseSlotNumber("99999999999"));
    EXPECT_EQ(INT32_MIN, ParseSlotNumber("-99999999999"));
}

TEST(SlotRecord, SlotPathIsTrimmedStarMarkedAndBlankTextChangesNothing) {
    CSlotRecord record = WithPath("  *0A08\t");
    EXPECT_STREQ("*0A08", record.GetSlotPath());
    EXPECT_EQ(SLOT_HAS_PATH | SLOT_PATH_STARRED, record.m_dwFlags);

    record.SetSlotPath("   ", NoDriver());
    EXPECT_STREQ("*0A08", record.GetSlotPath());
    EXPECT_EQ(SLOT_HAS_PATH | SLOT_PATH_STARRED, record.m_dwFlags);

    record.SetSlotPath("0A08", NoDriver());
    EXPECT_EQ(SLOT_HAS_PATH, record.m_dwFlags);

    // A text without its presence flag reads as no slot path.
    record.m_dwFlags = 0;
    EXPECT_STREQ("", record.GetSlotPath());
}

TEST(SlotRecord, SameSlotByNumberByTextOrByUnstarredTriple) {
    CSlotRecord seven = WithPath("0A08"), nine = WithPath("0a08");
    seven.m_nPhysicalSlot = 7;
    nine.m_nPhysicalSlot = 9;
    seven.m_dwFlags |= SLOT_HAS_PHYSICAL;
    nine.m_dwFlags |= SLOT_HAS_PHYSICAL;
    // Unresolved, the texts differ in case and the numbers differ.
    EXPECT_FALSE(IsSameSlot(seven, nine));
    nine.m_nPhysicalSlot = 7;
    EXPECT_TRUE(IsSameSlot(seven, nine));

    EXPECT_TRUE(IsSameSlot(WithPath("0A08"), WithPath(" 0A08 ")));
    EXPECT_TRUE(IsSameSlot(Resolved("0A08", 1, 1, 2), Resolved("0a08", 1, 1, 2)));
    EXPECT_FALSE(IsSameSlot(Resolved("0A08", 1, 1, 2), Resolved("0a08", 1, 1, 3)));
    // A starred path's triple never counts, on either side.
    EXPECT_FALSE(IsSameSlot(Resolved("*0A08", 1, 1, 2), Resolved("0A08", 1, 1, 2)));
    EXPECT_FALSE(IsSameSlot(Resolved("0A08", 1, 1, 2), Resolved("*0A08", 1, 1, 2)));
    // Two records without a slot path are not the same slot for that.
    EXPECT_FALSE(IsSameSlot(CSlotRecord(), CSlotRecord()));
}

TEST(SlotRecordList, HeadInsertsReverseAndSortedInsertsKeepArrivalOrder) {
    CSlotRecordList slots;
    for (uint32_t number : {3u, 5u, 9u})
        slots.AddHeadNew(number, "0A08", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, NoDriver());
    std::vector<int> numbers;
    for (POSITION pos = slots.GetHeadPosition(); pos;)
        numbers.push_back(slots.GetNext(pos).m_nPhysicalSlot);
    EXPECT_EQ((std::vector<int>{9, 5, 3}), numbers);
    EXPECT_EQ(SLOT_HAS_PHYSICAL | SLOT_HAS_PATH, slots.GetHead().m_dwFlags);

    // Without the driver a triple is kept but yields no slot path.
    slots.AddHeadNew(NOT_GIVEN, "", 2, 3, 1, NoDriver());
    EXPECT_EQ(SLOT_HAS_BDF, slots.GetHead().m_dwFlags);
    slots.Clear();

    CSlotRecordList bridges;
    CSlotRecord firstA = WithPath("0A");
    firstA.m_nPhysicalSlot = 1;
    for (const CSlotRecord& record : {WithPath("0B"), firstA, WithPath("0C"), WithPath("0A")})
        bridges.InsertBySlotPath(record);
    EXPECT_EQ((std::vector<std::string>{"0A", "0A", "0B", "0C"}), Paths(bridges));
    EXPECT_EQ(1, bridges.GetHead().m_nPhysicalSlot);

    bridges.InsertBySlotPath(WithPath("*0A08"));
    bridges.InsertBySlotPath(CSlotRecord());
    EXPECT_EQ((std::vector<std::string>{"", "*0A08", "0A", "0A", "0B", "0C"}), Paths(bridges));

    POSITION found = bridges.FindBySlotPath(" 0B ", NoDriver());
    ASSERT_NE(nullptr, found);
    EXPECT_STREQ("0B", bridges.GetAt(found).GetSlotPath());
    EXPECT_EQ(nullptr, bridges.FindBySlotPath("0b", NoDriver()));
    EXPECT_EQ(nullptr, bridges.FindBySlotPath("", NoDriver()));
}
