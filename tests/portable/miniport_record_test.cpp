// Miniport lists and the strings of "Miniports" values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/multi_string.h"
#include "model/miniport_record.h"

namespace {
std::vector<std::string> Split(const std::string& data) {
    std::vector<std::string> out;
    for (const CString& text : SplitMultiString(data.data(), data.size()))
        out.push_back(text.str());
    return out;
}

CMiniportRecord Named(const char* name) {
    CMiniportRecord record;
    record.m_strServiceName = name;
    return record;
}
} // namespace

TEST(MultiString, EndsAtTheFirstEmptyStringOrTheEndOfTheData) {
    using Strings = std::vector<std::string>;
    EXPECT_EQ((Strings{"first", "second"}), Split(std::string("first\0second\0\0third\0\0", 22)));
    EXPECT_EQ(Strings{}, Split(std::string("\0second\0\0", 9)));
    EXPECT_EQ((Strings{"a", "bc"}), Split(std::string("a\0bc", 4)));
    EXPECT_EQ(Strings{}, Split(""));
    EXPECT_EQ(Strings{std::string(5000, 'm')}, Split(std::string(5000, 'm')));
}

TEST(MiniportList, NamesImageSkipsUnnamedRecordsAndLookupIsCaseSensitive) {
    CMiniportList miniports;
    EXPECT_EQ(std::string(1, '\0'), FormatMiniportNames(miniports));

    miniports.AddTail(Named("first"));
    miniports.AddTail(Named(""));
    POSITION second = miniports.AddTail(Named("second"));
    EXPECT_EQ(std::string("first\0second\0\0", 14), FormatMiniportNames(miniports));

    EXPECT_EQ(second, miniports.FindByService("second"));
    EXPECT_EQ(nullptr, miniports.FindByService("Second"));
    EXPECT_NE(nullptr, miniports.FindByService(""));
}
