#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/clist.h"

namespace {
std::vector<int> Items(const CList<int>& list) {
    std::vector<int> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(list.GetNext(pos));
    return out;
}
} // namespace

TEST(CList, AddsAtBothEndsAndInsertsAroundAPosition) {
    CList<int> list;
    list.AddTail(2);
    list.AddHead(1);
    POSITION three = list.AddTail(3);
    list.InsertBefore(three, 25);
    list.InsertAfter(three, 4);
    list.InsertBefore(list.GetHeadPosition(), 0);
    list.InsertAfter(list.GetTailPosition(), 5);
    EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 2, 25, 3, 4, 5}));
    EXPECT_EQ(list.GetCount(), 7);
    EXPECT_EQ(list.GetHead(), 0);
    EXPECT_EQ(list.GetTail(), 5);
}

TEST(CList, WalksBackwards) {
    CList<int> list;
    for (int i = 0; i < 5; ++i)
        list.AddTail(i * 10);
    std::vector<int> backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards.push_back(list.GetPrev(pos));
    EXPECT_EQ(backwards, (std::vector<int>{40, 30, 20, 10, 0}));
}

TEST(CList, PositionsStayValidWhileOtherNodesComeAndGo) {
    CList<std::string> list;
    POSITION kept = list.AddTail("kept");
    std::vector<POSITION> others;
    for (int i = 0; i < 35; ++i)
        others.push_back(list.AddTail("other" + std::to_string(i)));
    for (size_t i = 0; i < others.size(); i += 2)
        list.RemoveAt(others[i]);
    for (int i = 0; i < 20; ++i)
        list.AddHead("new" + std::to_string(i));
    EXPECT_EQ(list.GetAt(kept), "kept");
    list.SetAt(kept, "changed");
    EXPECT_EQ(list.GetAt(kept), "changed");
    EXPECT_EQ(list.GetCount(), 1 + 17 + 20);
}

TEST(CList, AllocatesNodesInBlocksOfTenAndFreesThemWhenEmpty) {
    CList<int> list;
    EXPECT_EQ(list.GetBlockCount(), 0);
    for (int i = 0; i < 10; ++i)
        list.AddTail(i);
    EXPECT_EQ(list.GetBlockCount(), 1);
    list.AddTail(10);
    EXPECT_EQ(list.GetBlockCount(), 2);
    // Removed nodes are reused before a new block is taken.
    list.RemoveHead();
    list.AddTail(11);
    EXPECT_EQ(list.GetBlockCount(), 2);
    while (!list.IsEmpty())
        list.RemoveTail();
    EXPECT_EQ(list.GetBlockCount(), 0);
    list.AddHead(7);
    EXPECT_EQ(Items(list), (std::vector<int>{7}));
}

TEST(CList, RemovingHeadAndTailKeepsTheLinksRight) {
    CList<int> list;
    for (int i = 1; i <= 4; ++i)
        list.AddTail(i);
    EXPECT_EQ(list.RemoveHead(), 1);
    EXPECT_EQ(list.RemoveTail(), 4);
    EXPECT_EQ(Items(list), (std::vector<int>{2, 3}));
    list.RemoveAt(list.GetTailPosition());
    list.RemoveAt(list.GetHeadPosition());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
}
