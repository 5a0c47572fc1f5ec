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
        m_driver = m_hotswap.GetHandle();
    }

    void TearDown() override {
        m_hotswap.Close();
        RemoveTestbedBus(TEST_BUS);
        SetQuarnelKeepInterfaceOnStop(false);
        StartQuarnelService(); // after the test that stops it
        m_testbed.Reset();
        std::setlocale(LC_ALL, "C");
    }

    // The slot path bytes of the last resolve request.
    std::vector<BYTE> LastSent() {
        TESTBED_QUARNEL_STATS s = {};
        EXPECT_TRUE(m_testbed.ReadStats(&s));
        return std::vector<BYTE>(s.LastResolveInput, s.LastResolveInput + s.LastResolveInputLength);
    }

    // Into a fresh guarded m_answer.
    DWORD Resolve(DWORD cbOut, const std::string& text = "191008") {
        m_answer.assign(600, GUARD);
        return ResolveSlotPath(m_driver, text.c_str(), m_answer.data(), cbOut);
    }
    bool AnswerUntouched() { return std::count(m_answer.begin(), m_answer.end(), GUARD) == 600; }
    std::string Description() {
        const char* text = reinterpret_cast<char*>(&m_answer[28]);
        return std::string(text, strnlen(text, m_answer.size() - 28));
    }

    // Slot path text to location through the driver.
    Location LocationOf(const std::string& text, bool expected = true) {
        Location where = UNTOUCHED;
        CString path = text.c_str();
        EXPECT_EQ(expected,
                  m_hotswap.ConvertSlotLocation(&where[0], &where[1], &where[2], path, false));
        return where;
    }
    // Location to slot path text; "old" when nothing was written.
    CString TextOf(Location where, bool expected = true) {
        CString path = "old";
        EXPECT_EQ(expected,
                  m_hotswap.ConvertSlotLocation(&where[0], &where[1], &where[2], path, true));
        return path;
    }

    QuarnelTestbed m_testbed;
    CHotSwapDriver m_hotswap;
    HANDLE m_driver = nullptr;
    std::vector<BYTE> m_answer;
};

TEST_F(HotSwapDriverTest, SlotPathTextConvertsBothWaysAndIsSentAsItsBytes) {
    EXPECT_STREQ("191008", TextOf({2, 3, 1}));
    EXPECT_EQ((Location{2, 3, 1}), LocationOf("191008"));
    EXPECT_EQ((Location{2, 3, 1}), LocationOf("*191008"));
    EXPECT_EQ((std::vector<BYTE>{0x19, 0x10, 0x08}), LastSent());
    // Bus 1's path is 08: device 1, function 2 on it, in either case.
    for (const char* text : {"0A08", "0a08"}) {
        EXPECT_EQ((Location{1, 1, 2}), LocationOf(text)) << text;
        EXPECT_EQ((std::vector<BYTE>{0x0A, 0x08}), LastSent()) << text;
    }
}

TEST_F(HotSwapDriverTest, MalformedTextIsRefusedBeforeAnythingIsSent) {
    for (const char* text : {"0A0", "0G", "19 10", "*0A0"}) {
        EXPECT_EQ(UNTOUCHED, LocationOf(text, FALSE)) << text;
        EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), Resolve(544, text + (text[0] == '*'))) << text;
        EXPECT_TRUE(AnswerUntouched()) << text;
    }
    TESTBED_QUARNEL_STATS stats = {};
    ASSERT_TRUE(m_testbed.ReadStats(&stats));
    EXPECT_EQ(0u, stats.ResolveCount);
}

TEST_F(HotSwapDriverTest, BusPathOf254BytesFits255DoNotAndOverlongTextIsRefused) {
    std::string busPath = HexRun(0x40, 254);
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, busPath));
    EXPECT_EQ("10" + busPath, TextOf({TEST_BUS, 2, 0}).str());
    EXPECT_EQ((Location{TEST_BUS, 2, 0}), LocationOf("10" + busPath));

    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, HexRun(0x40, 255)));
    char text[512];
    EXPECT_EQ(TOO_SMALL, BuildSlotPath(m_driver, TEST_BUS, 2, 0, text, sizeof(text)));
    EXPECT_STREQ("old", TextOf({TEST_BUS, 2, 0}, FALSE));

    // Valid digits, far more bytes than any path: refused without overrun.
    EXPECT_EQ(TOO_SMALL, Resolve(544, std::string(10000, 'A')));
    EXPECT_TRUE(AnswerUntouched());
    EXPECT_EQ(UNTOUCHED, LocationOf(std::string(10000, 'A'), FALSE));
}

TEST_F(HotSwapDriverTest, OnlyTheBytesTheDriverReturnedAreReadAndOnlyWhatFitsIsWritten) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_SHORT)); // half a header
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), Resolve(544));
    EXPECT_TRUE(AnswerUntouched());
    EXPECT_EQ(UNTOUCHED, LocationOf("191008", FALSE));

    // No terminator: the description ends with the answer.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_UNTERMINATED));
    const std::string description = "Bus 2, device 3, function 1";
    ASSERT_EQ(0u, Resolve(544));
    EXPECT_EQ(description, Description());
    EXPECT_EQ(GUARD, m_answer[28 + description.size() + 1]);

    // Every offered byte: 256 characters and an odd byte, no terminator.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_FILL));
    EXPECT_EQ(TOO_SMALL, Resolve(28 + 256));
    EXPECT_TRUE(AnswerUntouched());
    ASSERT_EQ(0u, Resolve(28 + 256 + 1));
    EXPECT_EQ(std::string(256, 'x'), Description());
    EXPECT_EQ(GUARD, m_answer[28 + 257]);
    EXPECT_EQ((Location{2, 3, 1}), LocationOf("191008"));
}

TEST_F(HotSwapDriverTest, DoubleByteDescriptionStaysInsideTheCallersBuffer) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_KANA));
    const DWORD bytes = 2 * TESTBED_QUARNEL_KANA_COUNT; // two per character in code page 932
    ASSERT_NE(nullptr, std::setlocale(LC_ALL, ".932"));
    EXPECT_EQ(TOO_SMALL, Resolve(28 + bytes));
    EXPECT_TRUE(AnswerUntouched());
    ASSERT_EQ(0u, Resolve(28 + bytes + 1));
    EXPECT_EQ(bytes, Description().size());
    EXPECT_EQ(GUARD, m_answer[28 + bytes + 1]);
}

// Not found, the driver is asked nothing; found but not opened, every
// request is made and fails, the update included; both write nothing.
TEST_F(HotSwapDriverTest, NotFoundOrNotOpenedConvertsNothingInEitherDirection) {
    m_testbed.Close(); // no handle may stay open for the stop
    m_hotswap.Close();
    EXPECT_FALSE(m_hotswap.IsAvailable());
    EXPECT_EQ(UNTOUCHED, LocationOf("191008", FALSE));
    EXPECT_STREQ("old", TextOf({2, 3, 1}, FALSE));
    EXPECT_EQ(0u, m_hotswap.UpdateParameters());

    ASSERT_EQ(0u, StopQuarnelService());
    EXPECT_NE(0u, m_hotswap.Open());
    EXPECT_EQ(CHotSwapDriver::NOT_FOUND, m_hotswap.GetState());
    EXPECT_EQ(nullptr, m_hotswap.GetHandle());

    // An interface the stopped device left listed.
    ASSERT_TRUE(SetQuarnelKeepInterfaceOnStop(true));
    ASSERT_EQ(0u, StartQuarnelService());
    ASSERT_EQ(0u, StopQuarnelService());
    EXPECT_NE(0u, m_hotswap.Open());
    EXPECT_EQ(CHotSwapDriver::OPEN_FAILED, m_hotswap.GetState());
    EXPECT_EQ(INVALID_HANDLE_VALUE, m_hotswap.GetHandle());
    EXPECT_TRUE(m_hotswap.IsAvailable());
    EXPECT_EQ(UNTOUCHED, LocationOf("191008", FALSE));
    EXPECT_STREQ("old", TextOf({2, 3, 1}, FALSE));
    EXPECT_NE(0u, m_hotswap.UpdateParameters());
}

} // namespace
