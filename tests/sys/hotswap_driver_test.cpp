// Hot-swap driver access against the stand-in driver (testbed/quarnel) that
// testbed/install puts into the Wine prefix: what reaches the driver, what
// comes back, and what is refused before anything is sent.
#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "app/zorvik_app.h"
#include "support/testbed_quarnel_client.h"
#include "sys/hotswap_driver.h"

namespace {

const BYTE GUARD = 0xA5;
// Buses the tests add to the chassis; the installed default uses 0 to 6.
const unsigned TEST_BUS = 200;
const unsigned UNKNOWN_BUS = 250;

class HotSwapDriverTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_testbed.Reset()) << "stand-in hot-swap driver not reachable";
        m_savedHandle = GetZorvikApp()->m_hDriver;
        m_driver = nullptr;
        ASSERT_EQ(0u, OpenHotSwapDriver(&m_driver));
        GetZorvikApp()->m_hDriver = m_driver;
    }

    void TearDown() override {
        GetZorvikApp()->m_hDriver = m_savedHandle;
        if (m_driver != nullptr && m_driver != INVALID_HANDLE_VALUE)
            CloseHotSwapDriver(m_driver);
        RemoveTestbedBus(TEST_BUS);
        m_testbed.Reset();
    }

    TESTBED_QUARNEL_STATS Stats() {
        TESTBED_QUARNEL_STATS stats = {};
        EXPECT_TRUE(m_testbed.ReadStats(&stats));
        return stats;
    }

    // Sends the slot path and returns the bytes the stand-in received.
    std::vector<BYTE> SentBytes(const char* slotPath) {
        BYTE answer[544];
        ResolveSlotPath(m_driver, slotPath, answer, sizeof(answer));
        TESTBED_QUARNEL_STATS stats = Stats();
        return std::vector<BYTE>(stats.LastResolveInput,
                                 stats.LastResolveInput + stats.LastResolveInputLength);
    }

    QuarnelTestbed m_testbed;
    HANDLE m_driver = nullptr;
    HANDLE m_savedHandle = nullptr;
};

struct Location {
    DWORD bus = 0x11111111;
    DWORD device = 0x22222222;
    DWORD function = 0x33333333;
};

TEST_F(HotSwapDriverTest, OpenFindsTheStandInAndClearsTheLastError) {
    HANDLE handle = nullptr;
    SetLastError(1234);
    ASSERT_EQ(0u, OpenHotSwapDriver(&handle));
    EXPECT_EQ(0u, GetLastError());
    ASSERT_NE(nullptr, handle);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    // It is the stand-in's device: it answers the stand-in's own request.
    TESTBED_QUARNEL_STATS stats;
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(handle, IOCTL_TESTBED_QUARNEL_GET_STATS, nullptr, 0, &stats,
                                sizeof(stats), &returned, nullptr));
    EXPECT_EQ(sizeof(stats), returned);
    EXPECT_EQ(0u, CloseHotSwapDriver(handle));
    EXPECT_EQ(0u, GetLastError());
}

TEST_F(HotSwapDriverTest, CloseOfAClosedHandleReportsTheError) {
    HANDLE handle = nullptr;
    ASSERT_EQ(0u, OpenHotSwapDriver(&handle));
    ASSERT_EQ(0u, CloseHotSwapDriver(handle));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), CloseHotSwapDriver(handle));
}

TEST_F(HotSwapDriverTest, BusTwoDeviceThreeFunctionOneGives191008) {
    Location where;
    where.bus = 2;
    where.device = 3;
    where.function = 1;
    CString path = "old";
    ASSERT_TRUE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE));
    EXPECT_STREQ("191008", path);
    // The numbers are only read.
    EXPECT_EQ(2u, where.bus);
    EXPECT_EQ(3u, where.device);
    EXPECT_EQ(1u, where.function);

    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(1u, stats.GetBusPathCount);
    EXPECT_EQ(0u, stats.ResolveCount);
    EXPECT_EQ(4u, stats.LastBusPathInputLength);
    EXPECT_EQ(255u, stats.LastBusPathOutputLength);
    EXPECT_EQ(2u, stats.LastBusNumber);
}

TEST_F(HotSwapDriverTest, BusNumberIsSentAsFourLittleEndianBytes) {
    char text[64];
    // The stand-in knows no bus above 255 but records what it was asked.
    EXPECT_NE(0u, BuildSlotPath(m_driver, 0x01020304, 0, 0, text, sizeof(text)));
    EXPECT_EQ(0x01020304u, Stats().LastBusNumber);
}

TEST_F(HotSwapDriverTest, HostBusGivesTheDeviceFunctionByteAlone) {
    char text[8];
    ASSERT_EQ(0u, BuildSlotPath(m_driver, 0, 31, 7, text, sizeof(text)));
    EXPECT_STREQ("FF", text);
}

TEST_F(HotSwapDriverTest, DeviceFunctionByteIsTakenModulo256) {
    char text[8];
    // (33 << 3) | 1 = 0x109.
    ASSERT_EQ(0u, BuildSlotPath(m_driver, 0, 33, 1, text, sizeof(text)));
    EXPECT_STREQ("09", text);
}

TEST_F(HotSwapDriverTest, BuiltPathIsUpperCase) {
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, "abcdef"));
    char text[16];
    ASSERT_EQ(0u, BuildSlotPath(m_driver, TEST_BUS, 1, 2, text, sizeof(text)));
    EXPECT_STREQ("0AABCDEF", text);
}

TEST_F(HotSwapDriverTest, BuildSetsLastErrorToZeroOnSuccess) {
    char text[16];
    SetLastError(1234);
    ASSERT_EQ(0u, BuildSlotPath(m_driver, 2, 3, 1, text, sizeof(text)));
    EXPECT_EQ(0u, GetLastError());
}

TEST_F(HotSwapDriverTest, BuildNeedsRoomForEveryDigitAndTheNul) {
    char text[16];
    std::memset(text, 'z', sizeof(text));
    // Three bytes: six digits and a NUL.
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              BuildSlotPath(m_driver, 2, 3, 1, text, 6));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    for (char c : text)
        EXPECT_EQ('z', c);
    ASSERT_EQ(0u, BuildSlotPath(m_driver, 2, 3, 1, text, 7));
    EXPECT_STREQ("191008", text);
    EXPECT_EQ('z', text[7]);
}

TEST_F(HotSwapDriverTest, PathOf254BusBytesFits) {
    std::string busPath = HexRun(0x40, 254);
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, busPath));
    Location where;
    where.bus = TEST_BUS;
    where.device = 2;
    where.function = 0;
    CString path;
    ASSERT_TRUE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE));
    EXPECT_EQ(510, path.GetLength());
    EXPECT_EQ("10" + busPath, path.str());

    // And the 255-byte path converts back.
    Location back;
    ASSERT_TRUE(ConvertSlotLocation(&back.bus, &back.device, &back.function, path, FALSE));
    EXPECT_EQ(TEST_BUS, back.bus);
    EXPECT_EQ(2u, back.device);
    EXPECT_EQ(0u, back.function);
    EXPECT_EQ(255u, Stats().LastResolveInputLength);
}

TEST_F(HotSwapDriverTest, PathOf255BusBytesDoesNotFit) {
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, HexRun(0x40, 255)));
    char text[512];
    std::memset(text, 'z', sizeof(text));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              BuildSlotPath(m_driver, TEST_BUS, 2, 0, text, sizeof(text)));
    EXPECT_EQ('z', text[0]);

    Location where;
    where.bus = TEST_BUS;
    where.device = 2;
    where.function = 0;
    CString path = "*0A08";
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE));
    EXPECT_STREQ("*0A08", path);
    // The driver did answer; the refusal is the utility's.
    EXPECT_EQ(2u, Stats().GetBusPathCount);
}

TEST_F(HotSwapDriverTest, UnknownBusIsRefusedAndTheTextKept) {
    Location where;
    where.bus = UNKNOWN_BUS;
    where.device = 1;
    where.function = 0;
    CString path = "191008";
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE));
    EXPECT_STREQ("191008", path);
    EXPECT_EQ(1u, Stats().GetBusPathCount);
}

TEST_F(HotSwapDriverTest, SlotPathResolvesToBusDeviceFunction) {
    CString path = "191008";
    Location where;
    ASSERT_TRUE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(2u, where.bus);
    EXPECT_EQ(3u, where.device);
    EXPECT_EQ(1u, where.function);
    EXPECT_STREQ("191008", path);

    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(1u, stats.ResolveCount);
    EXPECT_EQ(3u, stats.LastResolveInputLength);
    EXPECT_EQ(541u, stats.LastResolveOutputLength);
}

TEST_F(HotSwapDriverTest, LeadingStarConvertsLikeThePlainText) {
    CString marked = "*191008";
    Location where;
    ASSERT_TRUE(ConvertSlotLocation(&where.bus, &where.device, &where.function, marked, FALSE));
    EXPECT_EQ(2u, where.bus);
    EXPECT_EQ(3u, where.device);
    EXPECT_EQ(1u, where.function);
    EXPECT_EQ((std::vector<BYTE>{0x19, 0x10, 0x08}), SentBytes("191008"));
    EXPECT_STREQ("*191008", marked);
}

TEST_F(HotSwapDriverTest, UpperAndLowerCaseDigitsSendTheSameBytes) {
    const std::vector<BYTE> expected = {0x0A, 0x08};
    EXPECT_EQ(expected, SentBytes("0A08"));
    EXPECT_EQ(expected, SentBytes("0a08"));
    // Bus 1's path is 08: device 1, function 2 on it.
    CString path = "0a08";
    Location where;
    ASSERT_TRUE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(1u, where.bus);
    EXPECT_EQ(1u, where.device);
    EXPECT_EQ(2u, where.function);
}

TEST_F(HotSwapDriverTest, MalformedTextFailsWith87BeforeAnythingIsSent) {
    for (const char* text : {"0A0", "0G", "*0A0", "19 10", "**191008"}) {
        CString path = text;
        Location where;
        EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE))
            << text;
        EXPECT_EQ(0x11111111u, where.bus) << text;
        EXPECT_EQ(0x22222222u, where.device) << text;
        EXPECT_EQ(0x33333333u, where.function) << text;
    }
    BYTE answer[544];
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              ResolveSlotPath(m_driver, "0A0", answer, sizeof(answer)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER),
              ResolveSlotPath(m_driver, "0G", answer, sizeof(answer)));
    EXPECT_EQ(0u, Stats().ResolveCount);
}

TEST_F(HotSwapDriverTest, EmptyPathIsSentWithNoBytesAndTheAnswerDecides) {
    CString path = "";
    Location where;
    // The stand-in refuses a path without a device/function byte.
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(0x11111111u, where.bus);
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(1u, stats.ResolveCount);
    EXPECT_EQ(0u, stats.LastResolveInputLength);
}

TEST_F(HotSwapDriverTest, UnknownSlotPathIsRefusedWithTheDriversError) {
    BYTE answer[544];
    std::memset(answer, GUARD, sizeof(answer));
    DWORD error = ResolveSlotPath(m_driver, "19AA", answer, sizeof(answer));
    EXPECT_NE(0u, error);
    EXPECT_EQ(error, GetLastError());
    EXPECT_EQ(GUARD, answer[4]);
    CString path = "19AA";
    Location where;
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(0x11111111u, where.bus);
    EXPECT_EQ(2u, Stats().ResolveCount);
}

TEST_F(HotSwapDriverTest, ResolveCopiesTheHeaderAndConvertsTheDescription) {
    BYTE answer[544];
    std::memset(answer, GUARD, sizeof(answer));
    SetLastError(1234);
    ASSERT_EQ(0u, ResolveSlotPath(m_driver, "191008", answer, sizeof(answer)));
    EXPECT_EQ(0u, GetLastError());
    // The stand-in's header: size 28 in byte 0, bus/device/function, zeros.
    EXPECT_EQ(28, answer[0]);
    EXPECT_EQ(2, answer[4]);
    EXPECT_EQ(3, answer[5]);
    EXPECT_EQ(1, answer[6]);
    for (int i = 7; i < 28; ++i)
        EXPECT_EQ(0, answer[i]) << i;
    const char expected[] = "Bus 2, device 3, function 1";
    EXPECT_STREQ(expected, reinterpret_cast<char*>(answer + 28));
    EXPECT_EQ(GUARD, answer[28 + sizeof(expected)]);
}

TEST_F(HotSwapDriverTest, ResolveNeedsRoomForTheDescription) {
    const DWORD needed = 28 + 27 + 1; // "Bus 2, device 3, function 1"
    BYTE answer[64];
    std::memset(answer, GUARD, sizeof(answer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              ResolveSlotPath(m_driver, "191008", answer, needed - 1));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    for (BYTE b : answer)
        EXPECT_EQ(GUARD, b);
    ASSERT_EQ(0u, ResolveSlotPath(m_driver, "191008", answer, needed));
    EXPECT_EQ(0, answer[needed - 1]);
    EXPECT_EQ(GUARD, answer[needed]);
}

TEST_F(HotSwapDriverTest, HandleZeroFailsAtOnceInBothDirections) {
    GetZorvikApp()->m_hDriver = nullptr;
    Location where;
    CString path = "191008";
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(0x11111111u, where.bus);
    EXPECT_EQ(0x22222222u, where.device);
    EXPECT_EQ(0x33333333u, where.function);

    where.bus = 2;
    where.device = 3;
    where.function = 1;
    path = "*0A08";
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE));
    EXPECT_STREQ("*0A08", path);

    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(0u, stats.ResolveCount);
    EXPECT_EQ(0u, stats.GetBusPathCount);
}

TEST_F(HotSwapDriverTest, InvalidHandleMakesTheRequestsWhichFail) {
    GetZorvikApp()->m_hDriver = INVALID_HANDLE_VALUE;
    Location where;
    CString path = "191008";
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    // The failure is DeviceIoControl's: the request was attempted.
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(0x11111111u, where.bus);
    EXPECT_EQ(0x22222222u, where.device);
    EXPECT_EQ(0x33333333u, where.function);

    where.bus = 2;
    where.device = 3;
    where.function = 1;
    path = "*0A08";
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_STREQ("*0A08", path);

    // Nothing reached the driver.
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(0u, stats.ResolveCount);
    EXPECT_EQ(0u, stats.GetBusPathCount);
}

TEST_F(HotSwapDriverTest, VeryLongSlotPathIsRefusedWithoutOverrun) {
    // Valid digits, far more bytes than any path: refused as too long.
    CString path = std::string(10000, 'A').c_str();
    Location where;
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(0x11111111u, where.bus);
    EXPECT_EQ(10000, path.GetLength());

    BYTE answer[544];
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              ResolveSlotPath(m_driver, std::string(514, '0').c_str(), answer, sizeof(answer)));
    // 256 bytes is the most that is sent.
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, HexRun(1, 255)));
    EXPECT_EQ(0u,
              ResolveSlotPath(m_driver, ("08" + HexRun(1, 255)).c_str(), answer, sizeof(answer)));
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(1u, stats.ResolveCount);
    EXPECT_EQ(256u, stats.LastResolveInputLength);
    EXPECT_EQ(TEST_BUS, answer[4]);
}

TEST_F(HotSwapDriverTest, HexTextToBytesNeverWritesPastItsBuffer) {
    BYTE bytes[8];
    std::memset(bytes, GUARD, sizeof(bytes));
    DWORD count = 99;
    EXPECT_FALSE(HexTextToBytes(bytes, 4, "0102030405", &count));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(99u, count);
    for (BYTE b : bytes)
        EXPECT_EQ(GUARD, b);
    EXPECT_FALSE(HexTextToBytes(bytes, 4, "010", &count));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    ASSERT_TRUE(HexTextToBytes(bytes, 4, "01020304", &count));
    EXPECT_EQ(4u, count);
    EXPECT_EQ(4, bytes[3]);
    EXPECT_EQ(GUARD, bytes[4]);
}

TEST_F(HotSwapDriverTest, AnswerShorterThanTheHeaderIsAFailure) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_SHORT));
    BYTE answer[544];
    std::memset(answer, GUARD, sizeof(answer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_DATA),
              ResolveSlotPath(m_driver, "191008", answer, sizeof(answer)));
    EXPECT_EQ(GUARD, answer[4]);
    CString path = "191008";
    Location where;
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(0x11111111u, where.bus);
    EXPECT_EQ(0x22222222u, where.device);
    EXPECT_EQ(0x33333333u, where.function);
    EXPECT_EQ(2u, Stats().ResolveCount);
}

TEST_F(HotSwapDriverTest, HeaderAloneGivesAnEmptyDescription) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_HEADER_ONLY));
    BYTE answer[64];
    std::memset(answer, GUARD, sizeof(answer));
    ASSERT_EQ(0u, ResolveSlotPath(m_driver, "191008", answer, 29));
    EXPECT_EQ(2, answer[4]);
    EXPECT_EQ(0, answer[28]);
    EXPECT_EQ(GUARD, answer[29]);
}

TEST_F(HotSwapDriverTest, UnterminatedDescriptionEndsWithTheAnswer) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_UNTERMINATED));
    BYTE answer[544];
    std::memset(answer, GUARD, sizeof(answer));
    ASSERT_EQ(0u, ResolveSlotPath(m_driver, "191008", answer, sizeof(answer)));
    EXPECT_STREQ("Bus 2, device 3, function 1", reinterpret_cast<char*>(answer + 28));
    EXPECT_EQ(GUARD, answer[28 + 28]);
}

TEST_F(HotSwapDriverTest, AnswerFillingEveryOfferedByteIsReadWithinIt) {
    // 256 characters and an odd byte, no terminator anywhere.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_FILL));
    std::vector<BYTE> answer(600, GUARD);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              ResolveSlotPath(m_driver, "191008", answer.data(), 28 + 256));
    EXPECT_EQ(GUARD, answer[0]);
    ASSERT_EQ(0u, ResolveSlotPath(m_driver, "191008", answer.data(), 28 + 256 + 1));
    EXPECT_EQ(std::string(256, 'x'), reinterpret_cast<char*>(answer.data() + 28));
    EXPECT_EQ(GUARD, answer[28 + 257]);
    // ConvertSlotLocation's own 544-byte area takes it too.
    CString path = "191008";
    Location where;
    ASSERT_TRUE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(2u, where.bus);
}

// Double-byte code page: every character of the description takes two bytes.
class DoubleByteLocale {
public:
    DoubleByteLocale() : m_ok(std::setlocale(LC_ALL, ".932") != nullptr) {}
    ~DoubleByteLocale() { std::setlocale(LC_ALL, "C"); }
    bool ok() const { return m_ok; }

private:
    bool m_ok;
};

TEST_F(HotSwapDriverTest, DoubleByteDescriptionNeverOverrunsTheCallersBuffer) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_KANA));
    DoubleByteLocale locale;
    ASSERT_TRUE(locale.ok());
    const DWORD chars = TESTBED_QUARNEL_KANA_COUNT;
    std::vector<BYTE> answer(200, GUARD);
    // Room for one byte per character is not enough.
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              ResolveSlotPath(m_driver, "191008", answer.data(), 28 + chars + 1));
    for (BYTE b : answer)
        EXPECT_EQ(GUARD, b);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER),
              ResolveSlotPath(m_driver, "191008", answer.data(), 28 + 2 * chars));
    EXPECT_EQ(GUARD, answer[0]);

    ASSERT_EQ(0u, ResolveSlotPath(m_driver, "191008", answer.data(), 28 + 2 * chars + 1));
    const char* text = reinterpret_cast<char*>(answer.data() + 28);
    EXPECT_EQ(2 * chars, std::strlen(text));
    // U+30A2 is 83 41 in code page 932.
    EXPECT_EQ(0x83, answer[28]);
    EXPECT_EQ(0x41, answer[29]);
    EXPECT_EQ(GUARD, answer[28 + 2 * chars + 1]);
}

TEST_F(HotSwapDriverTest, DescriptionTheLocaleCannotShowIsLeftOut) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_KANA));
    std::setlocale(LC_ALL, "C");
    BYTE answer[544];
    std::memset(answer, GUARD, sizeof(answer));
    ASSERT_EQ(0u, ResolveSlotPath(m_driver, "191008", answer, sizeof(answer)));
    EXPECT_EQ(2, answer[4]);
    EXPECT_EQ(0, answer[28]);
}

TEST_F(HotSwapDriverTest, UpdateParametersRequestReachesTheDriver) {
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(m_driver, IOCTL_HOTSWAP_UPDATE_PARAMETERS, nullptr, 0, nullptr, 0,
                                &returned, nullptr));
    ASSERT_TRUE(m_testbed.SetRefuseUpdates(true));
    EXPECT_FALSE(DeviceIoControl(m_driver, IOCTL_HOTSWAP_UPDATE_PARAMETERS, nullptr, 0, nullptr, 0,
                                 &returned, nullptr));
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(2u, stats.UpdateCount);
    EXPECT_EQ(1u, stats.RefuseUpdates);
}

// These stop the stand-in: the fixture's handle must be closed first, and
// the service is started again before the test ends.
class HotSwapDriverStateTest : public HotSwapDriverTest {
protected:
    void TearDown() override {
        SetQuarnelKeepInterfaceOnStop(false);
        HotSwapDriverTest::TearDown();
    }

    void StopStandIn() {
        m_testbed.Close();
        CloseHotSwapDriver(m_driver);
        m_driver = nullptr;
        GetZorvikApp()->m_hDriver = nullptr;
        ASSERT_EQ(0u, StopQuarnelService());
    }

    void RestartStandIn() {
        ASSERT_TRUE(SetQuarnelKeepInterfaceOnStop(false));
        ASSERT_EQ(0u, StartQuarnelService());
        HANDLE handle = nullptr;
        ASSERT_EQ(0u, OpenHotSwapDriver(&handle));
        CloseHotSwapDriver(handle);
    }
};

TEST_F(HotSwapDriverStateTest, WithoutAnInterfaceOpenFailsAndLeavesTheHandleZero) {
    StopStandIn();
    HANDLE handle = nullptr;
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), OpenHotSwapDriver(&handle));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_ITEMS), GetLastError());
    EXPECT_EQ(nullptr, handle);
    RestartStandIn();
}

TEST_F(HotSwapDriverStateTest, InterfaceWhoseDeviceIsGoneGivesInvalidHandle) {
    ASSERT_TRUE(SetQuarnelKeepInterfaceOnStop(true));
    StopStandIn();
    HANDLE handle = nullptr;
    DWORD error = OpenHotSwapDriver(&handle);
    EXPECT_NE(0u, error);
    EXPECT_EQ(error, GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE, handle);

    // Such a handle counts as open: both directions try, fail, write nothing.
    GetZorvikApp()->m_hDriver = handle;
    Location where;
    CString path = "191008";
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE));
    EXPECT_EQ(0x11111111u, where.bus);
    where.bus = 2;
    EXPECT_FALSE(ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE));
    EXPECT_STREQ("191008", path);
    GetZorvikApp()->m_hDriver = nullptr;
    RestartStandIn();
}

} // namespace
