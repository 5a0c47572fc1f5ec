// Slot records and their list, with a resolver that stands in for the
// hot-swap driver (0A08 is bus 1, device 1, function 2) or with none.
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

CSlotRecord WithPath(const char* path, CLocationResolver& resolver = NoDriver()) {
    CSlotRecord record;
    record.SetSlotPath(path, resolver);
    return record;
}
} // namespace

TEST(SlotRecord, PathsAreTrimmedStarMarkedResolvedAndComparedByTheThreeRules) {
    CTableResolver driver({{"0A08", 1, 1, 2}, {"0B08", 1, 1, 3}});
    CSlotRecord record = WithPath("  *0A08\t", driver);
    EXPECT_STREQ("*0A08", record.GetSlotPath());
    EXPECT_EQ(SLOT_HAS_PATH | SLOT_HAS_BDF | SLOT_PATH_STARRED, record.m_dwFlags);
    EXPECT_EQ(2u, record.m_nFunction);
    record.SetSlotPath("   ", driver); // only blanks: nothing changes
    EXPECT_EQ(SLOT_HAS_PATH | SLOT_HAS_BDF | SLOT_PATH_STARRED, record.m_dwFlags);
    record.SetSlotPath("0C08", driver); // refused: the old triple stays, the star goes
    EXPECT_EQ(SLOT_HAS_PATH | SLOT_HAS_BDF, record.m_dwFlags);
    EXPECT_EQ(2u, record.m_nFunction);
    record.m_dwFlags = 0;
    EXPECT_STREQ("", record.GetSlotPath());

    // Same number, same text (case counts), or the same unstarred triple.
    CSlotRecord seven = WithPath("0A08"), nine = WithPath("0a08");
    seven.m_nPhysicalSlot = 7;
    nine.m_nPhysicalSlot = 9;
    seven.m_dwFlags |= SLOT_HAS_PHYSICAL;
    nine.m_dwFlags |= SLOT_HAS_PHYSICAL;
    EXPECT_FALSE(IsSameSlot(seven, nine));
    nine.m_nPhysicalSlot = 7;
    EXPECT_TRUE(IsSameSlot(seven, nine));
    EXPECT_TRUE(IsSameSlot(WithPath("0A08"), WithPath(" 0A08 ")));
    EXPECT_TRUE(IsSameSlot(WithPath("0A08", driver), WithPath("0a08", driver)));
    EXPECT_FALSE(IsSameSlot(WithPath("0A08", driver), WithPath("0B08", driver)));
    EXPECT_FALSE(IsSameSlot(WithPath("*0A08", driver), WithPath("0A08", driver)));
    EXPECT_FALSE(IsSameSlot(WithPath("0A08", driver), WithPath("*0a08", driver)));
    EXPECT_FALSE(IsSameSlot(CSlotRecord(), CSlotRecord()));
}

TEST(SlotRecordList, HeadInsertsReverseSortedInsertsKeepArrivalOrderAndLookupsResolveWhenNeeded) {
    CTableResolver driver({{"0A08", 1, 1, 2}, {"191008", 2, 3, 1}});
    CSlotRecordList slots;
    for (uint32_t number : {3u, 5u, 9u})
        slots.AddHeadNew(number, "0A08", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, NoDriver());
    std::string numbers;
    for (POSITION pos = slots.GetHeadPosition(); pos;)
        numbers += std::to_string(slots.GetNext(pos).m_nPhysicalSlot) + " ";
    EXPECT_EQ("9 5 3 ", numbers);
    EXPECT_EQ(SLOT_HAS_PHYSICAL | SLOT_HAS_PATH, slots.GetHead().m_dwFlags);
    // A triple is kept; resolved, it gives the slot path.
    slots.AddHeadNew(NOT_GIVEN, "", 2, 3, 1, NoDriver());
    EXPECT_EQ(SLOT_HAS_BDF, slots.GetHead().m_dwFlags);
    slots.AddHeadNew(NOT_GIVEN, "", 2, 3, 1, driver);
    EXPECT_STREQ("191008", slots.GetHead().GetSlotPath());
    // Another spelling finds its record through the driver only.
    slots.AddHeadNew(4, "0a08", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, driver);
    EXPECT_EQ(slots.GetHeadPosition(), slots.FindBySlotPath("0A08", driver));
    EXPECT_NE(slots.GetHeadPosition(), slots.FindBySlotPath("0A08", NoDriver()));
    EXPECT_EQ(nullptr, slots.FindBySlotPath("*0A08", driver));

    // A stored record asks for its location when first needed, once; a
    // look-up by text asks nothing, one by location resolves on its way.
    CTableResolver lazy({{"0A08", 1, 1, 2}, {"191008", 2, 3, 1}});
    CSlotRecordList stored;
    stored.AddHeadStored(7, " 191008 ");
    stored.AddHeadStored(NOT_GIVEN, "0A08");
    EXPECT_EQ(SLOT_HAS_PATH | SLOT_LOCATION_PENDING, stored.GetHead().m_dwFlags);
    EXPECT_EQ(stored.GetTailPosition(), stored.FindBySlotPathText("191008 "));
    EXPECT_EQ(nullptr, stored.FindBySlotPathText("0a08"));
    EXPECT_EQ(stored.GetHeadPosition(), stored.FindBySlotPath("0A08", lazy));
    EXPECT_EQ(0, lazy.asked);
    EXPECT_TRUE(stored.GetHead().ResolveLocation(lazy));
    EXPECT_TRUE(stored.GetHead().ResolveLocation(lazy));
    EXPECT_EQ(1, lazy.asked);
    EXPECT_EQ(nullptr, stored.FindBySlotPath("*0a08", lazy));
    EXPECT_EQ(1, lazy.asked);
    EXPECT_EQ(stored.GetTailPosition(), stored.FindBySlotPath("191008", lazy));
    EXPECT_EQ(2, lazy.asked); // the text, to compare with the record before
    EXPECT_EQ(SLOT_HAS_PHYSICAL | SLOT_HAS_PATH | SLOT_LOCATION_PENDING,
              stored.GetTail().m_dwFlags);
    EXPECT_TRUE(stored.GetTail().ResolveLocation(lazy));
    EXPECT_EQ(2u, stored.GetTail().m_nBus);
    // What is stored of a record does not include its location.
    CSlotRecord asLoaded;
    asLoaded.m_nPhysicalSlot = 7;
    asLoaded.m_dwFlags = SLOT_HAS_PHYSICAL;
    asLoaded.SetStoredSlotPath("191008");
    EXPECT_TRUE(HasSameStoredForm(asLoaded, stored.GetTail()));
    EXPECT_FALSE(asLoaded == stored.GetTail());
    asLoaded.m_nPhysicalSlot = 8;
    EXPECT_FALSE(HasSameStoredForm(asLoaded, stored.GetTail()));

    CSlotRecordList bridges;
    CSlotRecord firstA = WithPath("0A");
    firstA.m_nPhysicalSlot = 1;
    for (const CSlotRecord& record :
         {WithPath("0B"), firstA, WithPath("0C"), WithPath("0A"), WithPath("*0A08"), CSlotRecord()})
        bridges.InsertBySlotPath(record);
    EXPECT_EQ((std::vector<std::string>{"", "*0A08", "0A", "0A", "0B", "0C"}), Paths(bridges));
    POSITION firstPos = bridges.GetHeadPosition();
    bridges.GetNext(firstPos);
    bridges.GetNext(firstPos);
    EXPECT_EQ(1, bridges.GetAt(firstPos).m_nPhysicalSlot); // the first 0A first
    POSITION found = bridges.FindBySlotPath(" 0B ", NoDriver());
    ASSERT_NE(nullptr, found);
    EXPECT_STREQ("0B", bridges.GetAt(found).GetSlotPath());
    EXPECT_EQ(nullptr, bridges.FindBySlotPath("0b", NoDriver()));
    EXPECT_EQ(nullptr, bridges.FindBySlotPath("", NoDriver()));
}

TEST(ResolverMemo, AsksEachDistinctQuestionOnceRefusalsIncluded) {
    CTableResolver driver({{"0A08", 1, 1, 2}});
    CResolverMemo memo(driver);
    uint32_t bus = 0, device = 0, function = 0;
    for (const char* text : {"0A08", "*0A08", "0A08", "0B08", "0B08"}) {
        CString path(text);
        EXPECT_EQ(std::string(text).find("0B") == std::string::npos,
                  memo.ConvertSlotLocation(&bus, &device, &function, path, false))
            << text;
    }
    EXPECT_EQ(2, driver.asked);
    EXPECT_EQ(2u, function);
    for (int i = 0; i < 3; ++i) {
        CString path;
        uint32_t b = 1, d = 1, f = 2;
        EXPECT_TRUE(memo.ConvertSlotLocation(&b, &d, &f, path, true));
        EXPECT_STREQ("0A08", path);
    }
    EXPECT_EQ(3, driver.asked);

    // Forgotten, every answer is asked again.
    memo.Forget();
    CString path("0A08");
    EXPECT_TRUE(memo.ConvertSlotLocation(&bus, &device, &function, path, false));
    EXPECT_EQ(4, driver.asked);
}
