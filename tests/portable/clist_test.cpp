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

TEST(CList, KeepsOrderThroughInsertsAndRemovals) {
    CList<int> list;
    list.AddTail(2);
    list.AddHead(1);
    POSITION three = list.AddTail(3);
    list.InsertBefore(three, 25);
    list.InsertAfter(three, 4);
    list.InsertBefore(list.GetHeadPosition(), 0);
    EXPECT_EQ(Items(list), (std::vector<int>{0, 1, 2, 25, 3, 4}));
    list.RemoveAt(three);
    EXPECT_EQ(list.RemoveHead(), 0);
    EXPECT_EQ(list.RemoveTail(), 4);
    EXPECT_EQ(Items(list), (std::vector<int>{1, 2, 25}));
    std::vector<int> backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards.push_back(list.GetPrev(pos));
    EXPECT_EQ(backwards, (std::vector<int>{25, 2, 1}));
}

TEST(CList, PositionsStayValidThroughRemovalsAndReuse) {
    CList<std::string> list;
    POSITION kept = list.AddTail("kept");
    std::vector<POSITION> others;
    for (int i = 0; i < 25; ++i)
        others.push_back(list.AddTail(std::to_string(i)));
    for (size_t i = 0; i < others.size(); i += 2)
        list.RemoveAt(others[i]);
    for (int i = 0; i < 13; ++i)
        list.AddHead("new");
    EXPECT_EQ(list.GetAt(kept), "kept");
    while (!list.IsEmpty())
        list.RemoveTail();
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}
