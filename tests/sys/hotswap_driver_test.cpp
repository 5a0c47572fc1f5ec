// Hot-swap driver access against the stand-in driver (testbed/quarnel).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "support/testbed_quarnel_client.h"
#include "sys/hotswap_driver.h"

namespace {
const BYTE GUARD = 0xA5;
const unsigned TEST_BUS = 200; // the installed chassis uses buses 0 to 6
const DWORD TOO_SMALL = ERROR_INSUFFICIENT_BUFFER;
// Bus, device, function; UNTOUCHED is what no conversion writes.
using Location = std::array<uint32_t, 3>;
const Location UNTOUCHED = {0x11111111, 0x22222222, 0x33333333};

class HotSwapDriverTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_testbed.Reset()) << "stand-in hot-swap driver not reachable";
        ASSERT_EQ(0u, m_hotswap.Open());
    }
    void TearDown() override {
        m_hotswap.Close();
        RemoveTestbedBus(TEST_BUS);
        SetQuarnelKeepInterfaceOnStop(false);
        StartQuarnelService(); // after the story that stops it
        m_testbed.Reset();
        std::setlocale(LC_ALL, "C");
    }
    TESTBED_QUARNEL_STATS Stats() {
        TESTBED_QUARNEL_STATS stats = {};
        EXPECT_TRUE(m_testbed.ReadStats(&stats));
        return stats;
    }
    // Into a fresh guarded m_answer, of which the callee may use cbOut bytes.
    DWORD Resolve(DWORD cbOut, const std::string& text = "191008") {
        m_answer.assign(600, GUARD);
        return ResolveSlotPath(m_hotswap.GetHandle(), text.c_str(), m_answer.data(), cbOut);
    }
    bool AnswerUntouched() { return std::count(m_answer.begin(), m_answer.end(), GUARD) == 600; }
    std::string Description() {
        const char* text = reinterpret_cast<char*>(&m_answer[28]);
        return std::string(text, strnlen(text, m_answer.size() - 28));
    }
    // Slot path text to location and back through the driver; what is
    // returned holds what was written, if anything.
    Location LocationOf(const std::string& text, bool expected = true) {
        Location at = UNTOUCHED;
        CString path = text.c_str();
        EXPECT_EQ(expected, m_hotswap.ConvertSlotLocation(&at[0], &at[1], &at[2], path, false));
        return at;
    }
    std::string TextOf(Location at, bool expected = true) {
        CString path = "old";
        EXPECT_EQ(expected, m_hotswap.ConvertSlotLocation(&at[0], &at[1], &at[2], path, true));
        return path.str();
    }

    QuarnelTestbed m_testbed;
    CHotSwapDriver m_hotswap;
    std::vector<BYTE> m_answer;
};

TEST_F(HotSwapDriverTest, SlotPathsConvertBothWaysAsTheirBytesAndBadTextsAreNeverSent) {
    EXPECT_EQ("191008", TextOf({2, 3, 1}));
    EXPECT_EQ((Location{2, 3, 1}), LocationOf("*191008"));
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(3u, stats.LastResolveInputLength);
    EXPECT_EQ(0, std::memcmp("\x19\x10\x08", stats.LastResolveInput, 3));
    // Bus 1's path is 08: device 1, function 2 on it, in either case.
    EXPECT_EQ((Location{1, 1, 2}), LocationOf("0A08"));
    EXPECT_EQ((Location{1, 1, 2}), LocationOf("0a08"));

    // A bus path of 254 bytes still fits a slot path, one of 255 does not.
    const std::string busPath(2 * 254, 'A');
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, busPath));
    EXPECT_EQ("10" + busPath, TextOf({TEST_BUS, 2, 0}));
    EXPECT_EQ((Location{TEST_BUS, 2, 0}), LocationOf("10" + busPath));
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, busPath + "AA"));
    char text[512];
    EXPECT_EQ(TOO_SMALL, BuildSlotPath(m_hotswap.GetHandle(), TEST_BUS, 2, 0, text, sizeof(text)));
    EXPECT_EQ("old", TextOf({TEST_BUS, 2, 0}, false));

    // Malformed or overlong texts are refused without a request or overrun.
    DWORD requests = Stats().ResolveCount;
    for (const char* bad : {"0A0", "0G", "19 10", "*0A0"}) {
        EXPECT_EQ(UNTOUCHED, LocationOf(bad, false));
        EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), Resolve(544, bad + (bad[0] == '*'))) << bad;
        EXPECT_TRUE(AnswerUntouched()) << bad;
    }
    EXPECT_EQ(TOO_SMALL, Resolve(544, std::string(10000, 'A')));
    EXPECT_TRUE(AnswerUntouched());
    EXPECT_EQ(requests, Stats().ResolveCount);
}

TEST_F(HotSwapDriverTest,
       OnlyTheAnswersBytesAreReadOnlyWhatFitsIsWrittenAndAnAbsentDriverIsNotAsked) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_SHORT)); // half a header
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), Resolve(544));
    EXPECT_TRUE(AnswerUntouched());
    // No terminator: the description ends with the answer.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_UNTERMINATED));
    ASSERT_EQ(0u, Resolve(544));
    EXPECT_EQ("Bus 2, device 3, function 1", Description());
    EXPECT_EQ(GUARD, m_answer[28 + 28]);
    // Every offered byte: 256 characters and an odd byte, no terminator.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_FILL));
    EXPECT_EQ(TOO_SMALL, Resolve(28 + 256));
    EXPECT_TRUE(AnswerUntouched());
    ASSERT_EQ(0u, Resolve(28 + 256 + 1));
    EXPECT_EQ(std::string(256, 'x'), Description());
    EXPECT_EQ(GUARD, m_answer[28 + 257]);
    // Two bytes per character in code page 932.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_KANA));
    const DWORD bytes = 2 * TESTBED_QUARNEL_KANA_COUNT;
    ASSERT_NE(nullptr, std::setlocale(LC_ALL, ".932"));
    EXPECT_EQ(TOO_SMALL, Resolve(28 + bytes));
    EXPECT_TRUE(AnswerUntouched());
    ASSERT_EQ(0u, Resolve(28 + bytes + 1));
    EXPECT_EQ(bytes, Description().size());
    EXPECT_EQ(GUARD, m_answer[28 + bytes + 1]);

    // Not found, the driver is asked nothing and nothing is written.
    m_testbed.Close(); // no handle may stay open for the stop
    m_hotswap.Close();
    ASSERT_EQ(0u, StopQuarnelService());
    EXPECT_NE(0u, m_hotswap.Open());
    EXPECT_EQ(CHotSwapDriver::NOT_FOUND, m_hotswap.GetState());
    EXPECT_FALSE(m_hotswap.IsAvailable());
    EXPECT_EQ(0u, m_hotswap.UpdateParameters());
    EXPECT_EQ(UNTOUCHED, LocationOf("191008", false));
    EXPECT_EQ("old", TextOf({2, 3, 1}, false));

    // Found but not opened (the stopped device left its interface listed):
    // every request is made, and fails.
    ASSERT_TRUE(SetQuarnelKeepInterfaceOnStop(true));
    ASSERT_EQ(0u, StartQuarnelService());
    ASSERT_EQ(0u, StopQuarnelService());
    EXPECT_NE(0u, m_hotswap.Open());
    EXPECT_EQ(CHotSwapDriver::OPEN_FAILED, m_hotswap.GetState());
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_hotswap.GetHandle());
    EXPECT_TRUE(m_hotswap.IsAvailable());
    EXPECT_NE(0u, m_hotswap.UpdateParameters());
    EXPECT_EQ(UNTOUCHED, LocationOf("191008", false));
}
} // namespace
