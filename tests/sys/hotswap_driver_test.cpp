// Hot-swap driver access against the stand-in driver (testbed/quarnel) that
// testbed/install puts into the Wine prefix: what reaches the driver, what
// comes back, and what is refused before anything is sent.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
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
const char DESCRIPTION[] = "Bus 2, device 3, function 1"; // the stand-in's, of 191008

// Starts with values no conversion gives, to show what was written.
struct Location {
    DWORD bus = 0x11111111;
    DWORD device = 0x22222222;
    DWORD function = 0x33333333;
};

bool operator==(const Location& a, const Location& b) {
    return a.bus == b.bus && a.device == b.device && a.function == b.function;
}
void PrintTo(const Location& l, std::ostream* os) {
    *os << std::hex << l.bus << "/" << l.device << "/" << l.function;
}

// A call's result and the last error it left.
void ExpectError(DWORD expected, DWORD result) {
    EXPECT_EQ(expected, result);
    EXPECT_EQ(expected, GetLastError());
}

std::vector<BYTE> Guarded(size_t size = 544) { return std::vector<BYTE>(size, GUARD); }

bool AllGuard(const std::vector<BYTE>& b) {
    return std::all_of(b.begin(), b.end(), [](BYTE x) { return x == GUARD; });
}

// Slot path text to location with the application's handle: what was
// written (Location() when nothing was). The text is never changed; the last
// error is kept for the caller.
Location LocationOf(const char* text, BOOL expected = TRUE) {
    Location where;
    CString path = text;
    BOOL ok = ConvertSlotLocation(&where.bus, &where.device, &where.function, path, FALSE);
    DWORD error = GetLastError();
    EXPECT_EQ(expected, ok) << text;
    EXPECT_STREQ(text, path);
    SetLastError(error);
    return where;
}

// Location to slot path text: the text after the call, "old" when nothing
// was written. The numbers are only read.
CString TextOf(Location where, BOOL expected = TRUE) {
    const Location given = where;
    CString path = "old";
    BOOL ok = ConvertSlotLocation(&where.bus, &where.device, &where.function, path, TRUE);
    DWORD error = GetLastError();
    EXPECT_EQ(expected, ok);
    EXPECT_EQ(given, where);
    SetLastError(error);
    return path;
}

// With the application's handle set to hDriver both directions fail, write
// nothing, and leave the last error expectedError (1234 when nothing ran).
void ExpectBothDirectionsFail(HANDLE hDriver, DWORD expectedError) {
    GetZorvikApp()->m_hDriver = hDriver;
    SetLastError(1234);
    EXPECT_EQ(Location(), LocationOf("191008", FALSE));
    EXPECT_EQ(expectedError, GetLastError());
    SetLastError(1234);
    EXPECT_STREQ("old", TextOf({2, 3, 1}, FALSE));
    EXPECT_EQ(expectedError, GetLastError());
}

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
        std::setlocale(LC_ALL, "C");
    }

    TESTBED_QUARNEL_STATS Stats() {
        TESTBED_QUARNEL_STATS stats = {};
        EXPECT_TRUE(m_testbed.ReadStats(&stats));
        return stats;
    }

    // The slot path bytes of the last resolve request.
    std::vector<BYTE> LastSent() {
        TESTBED_QUARNEL_STATS stats = Stats();
        return std::vector<BYTE>(stats.LastResolveInput,
                                 stats.LastResolveInput + stats.LastResolveInputLength);
    }

    DWORD Resolve(std::vector<BYTE>& answer, DWORD cbOut, const char* text = "191008") {
        return ResolveSlotPath(m_driver, text, answer.data(), cbOut);
    }

    QuarnelTestbed m_testbed;
    HANDLE m_driver = nullptr;
    HANDLE m_savedHandle = nullptr;
};

TEST_F(HotSwapDriverTest, OpenFindsTheStandInAndASecondCloseFails) {
    HANDLE handle = nullptr;
    SetLastError(1234);
    ASSERT_EQ(0u, OpenHotSwapDriver(&handle));
    EXPECT_EQ(0u, GetLastError());
    // It is the stand-in's device: it answers the stand-in's own request.
    TESTBED_QUARNEL_STATS stats;
    DWORD returned = 0;
    EXPECT_TRUE(DeviceIoControl(handle, IOCTL_TESTBED_QUARNEL_GET_STATS, nullptr, 0, &stats,
                                sizeof(stats), &returned, nullptr));
    EXPECT_EQ(sizeof(stats), returned);
    SetLastError(1234);
    EXPECT_EQ(0u, CloseHotSwapDriver(handle));
    EXPECT_EQ(0u, GetLastError());
    ExpectError(ERROR_INVALID_HANDLE, CloseHotSwapDriver(handle));
}

TEST_F(HotSwapDriverTest, BuildGives191008ForBusTwoDeviceThreeFunctionOneInUpperCase) {
    EXPECT_STREQ("191008", TextOf({2, 3, 1}));
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(1u, stats.GetBusPathCount);
    EXPECT_EQ(4u, stats.LastBusPathInputLength);
    EXPECT_EQ(255u, stats.LastBusPathOutputLength);
    EXPECT_EQ(2u, stats.LastBusNumber);

    // Six digits and a NUL: one character less is refused, nothing written.
    std::string text(16, 'z');
    ExpectError(ERROR_INSUFFICIENT_BUFFER, BuildSlotPath(m_driver, 2, 3, 1, &text[0], 6));
    EXPECT_EQ(std::string(16, 'z'), text);
    SetLastError(1234);
    ASSERT_EQ(0u, BuildSlotPath(m_driver, 2, 3, 1, &text[0], 7));
    EXPECT_EQ(0u, GetLastError());
    EXPECT_EQ(std::string("191008\0zzzzzzzzz", 16), text);

    // The host bus has no path bytes: the device/function byte alone.
    EXPECT_STREQ("FF", TextOf({0, 31, 7}));
    // (33 << 3) | 1 = 0x109.
    EXPECT_STREQ("09", TextOf({0, 33, 1}));
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, "abcdef"));
    EXPECT_STREQ("0AABCDEF", TextOf({TEST_BUS, 1, 2}));
    // Four little-endian bytes: the stand-in knows no such bus but records it.
    EXPECT_STREQ("old", TextOf({0x01020304, 0, 0}, FALSE));
    EXPECT_EQ(0x01020304u, Stats().LastBusNumber);
}

TEST_F(HotSwapDriverTest, BusPathOf254BytesFits255DoNotAndOverlongTextIsRefused) {
    std::string busPath = HexRun(0x40, 254);
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, busPath));
    CString path = TextOf({TEST_BUS, 2, 0});
    EXPECT_EQ("10" + busPath, path.str());
    // And the 255-byte slot path converts back.
    EXPECT_EQ((Location{TEST_BUS, 2, 0}), LocationOf(path));
    EXPECT_EQ(255u, Stats().LastResolveInputLength);

    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, HexRun(0x40, 255)));
    std::string text(512, 'z');
    ExpectError(ERROR_INSUFFICIENT_BUFFER, BuildSlotPath(m_driver, TEST_BUS, 2, 0, &text[0], 512));
    EXPECT_EQ(std::string(512, 'z'), text);
    EXPECT_STREQ("old", TextOf({TEST_BUS, 2, 0}, FALSE));
    // An unknown bus is refused the same way.
    EXPECT_STREQ("old", TextOf({UNKNOWN_BUS, 2, 0}, FALSE));
    // The driver answered every time; the refusals are the utility's.
    EXPECT_EQ(4u, Stats().GetBusPathCount);

    // Valid digits, far more bytes than any path.
    EXPECT_EQ(Location(), LocationOf(std::string(10000, 'A').c_str(), FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    std::vector<BYTE> answer = Guarded();
    ExpectError(ERROR_INSUFFICIENT_BUFFER, Resolve(answer, 544, std::string(514, '0').c_str()));
    // 256 bytes is the most that is sent.
    ASSERT_TRUE(SetTestbedBusPath(TEST_BUS, HexRun(1, 255)));
    EXPECT_EQ(0u, Resolve(answer, 544, ("08" + HexRun(1, 255)).c_str()));
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(2u, stats.ResolveCount);
    EXPECT_EQ(256u, stats.LastResolveInputLength);
    EXPECT_EQ(TEST_BUS, answer[4]);

    // The digit converter itself stays inside its buffer.
    std::vector<BYTE> bytes = Guarded(8);
    DWORD count = 99;
    EXPECT_FALSE(HexTextToBytes(bytes.data(), 4, "0102030405", &count));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(99u, count);
    EXPECT_TRUE(AllGuard(bytes));
    ASSERT_TRUE(HexTextToBytes(bytes.data(), 4, "01020304", &count));
    EXPECT_EQ(4u, count);
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3, 4, GUARD}),
              std::vector<BYTE>(bytes.begin(), bytes.begin() + 5));
}

TEST_F(HotSwapDriverTest, SlotPathTextIsSentAsItsBytesOrNotAtAll) {
    // Odd length or a non-hex character: 87 before anything is sent.
    std::vector<BYTE> answer = Guarded();
    for (const char* text : {"0A0", "0G", "19 10", "*0A0", "**191008"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Location(), LocationOf(text, FALSE));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
        // ResolveSlotPath takes the text after the '*'.
        ExpectError(ERROR_INVALID_PARAMETER, Resolve(answer, 544, text + (text[0] == '*')));
    }
    EXPECT_TRUE(AllGuard(answer));
    EXPECT_EQ(0u, Stats().ResolveCount);

    EXPECT_EQ((Location{2, 3, 1}), LocationOf("191008"));
    EXPECT_EQ(541u, Stats().LastResolveOutputLength);
    EXPECT_EQ((std::vector<BYTE>{0x19, 0x10, 0x08}), LastSent());
    EXPECT_EQ((Location{2, 3, 1}), LocationOf("*191008"));
    EXPECT_EQ((std::vector<BYTE>{0x19, 0x10, 0x08}), LastSent());
    // Bus 1's path is 08: device 1, function 2 on it.
    EXPECT_EQ((Location{1, 1, 2}), LocationOf("0A08"));
    EXPECT_EQ((std::vector<BYTE>{0x0A, 0x08}), LastSent());
    EXPECT_EQ((Location{1, 1, 2}), LocationOf("0a08"));
    EXPECT_EQ((std::vector<BYTE>{0x0A, 0x08}), LastSent());
    // The empty path is sent as no bytes; the stand-in refuses it.
    EXPECT_EQ(Location(), LocationOf("", FALSE));
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(5u, stats.ResolveCount);
    EXPECT_EQ(0u, stats.LastResolveInputLength);
}

TEST_F(HotSwapDriverTest, ResolveWritesOnlyWhatFitsOfWhateverTheDriverAnswers) {
    const DWORD needed = SLOT_LOCATION_HEADER_SIZE + sizeof(DESCRIPTION);
    std::vector<BYTE> answer = Guarded();
    ExpectError(ERROR_INSUFFICIENT_BUFFER, Resolve(answer, needed - 1));
    EXPECT_TRUE(AllGuard(answer));
    SetLastError(1234);
    ASSERT_EQ(0u, Resolve(answer, needed));
    EXPECT_EQ(0u, GetLastError());
    // The stand-in's header: size 28 in byte 0, bus/device/function, zeros.
    std::vector<BYTE> header(28, 0);
    header[0] = 28, header[4] = 2, header[5] = 3, header[6] = 1;
    EXPECT_EQ(header, std::vector<BYTE>(answer.begin(), answer.begin() + 28));
    EXPECT_STREQ(DESCRIPTION, reinterpret_cast<char*>(answer.data() + 28));
    EXPECT_EQ(GUARD, answer[needed]);

    // A slot path the driver does not know: its error, nothing written.
    answer = Guarded();
    DWORD error = Resolve(answer, 544, "19AA");
    EXPECT_NE(0u, error);
    EXPECT_EQ(error, GetLastError());
    EXPECT_TRUE(AllGuard(answer));
    EXPECT_EQ(Location(), LocationOf("19AA", FALSE));

    // Shorter than the header: a failure, nothing written.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_SHORT));
    answer = Guarded(600);
    ExpectError(ERROR_INVALID_DATA, Resolve(answer, 544));
    EXPECT_TRUE(AllGuard(answer));
    EXPECT_EQ(Location(), LocationOf("191008", FALSE));
    EXPECT_EQ(6u, Stats().ResolveCount);

    // The header alone: an empty description.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_HEADER_ONLY));
    ASSERT_EQ(0u, Resolve(answer, 29));
    EXPECT_EQ(2, answer[4]);
    EXPECT_EQ(0, answer[28]);
    EXPECT_EQ(GUARD, answer[29]);

    // No terminator: the description ends with the answer.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_UNTERMINATED));
    answer = Guarded(600);
    ASSERT_EQ(0u, Resolve(answer, 544));
    EXPECT_STREQ(DESCRIPTION, reinterpret_cast<char*>(answer.data() + 28));
    EXPECT_EQ(GUARD, answer[28 + sizeof(DESCRIPTION)]);

    // 256 characters and an odd byte, every offered byte, no terminator.
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_FILL));
    answer = Guarded(600);
    ExpectError(ERROR_INSUFFICIENT_BUFFER, Resolve(answer, 28 + 256));
    EXPECT_TRUE(AllGuard(answer));
    ASSERT_EQ(0u, Resolve(answer, 28 + 256 + 1));
    EXPECT_EQ(std::string(256, 'x'), reinterpret_cast<char*>(answer.data() + 28));
    EXPECT_EQ(GUARD, answer[28 + 257]);
    // ConvertSlotLocation's own 544-byte area takes it too.
    EXPECT_EQ((Location{2, 3, 1}), LocationOf("191008"));
}

TEST_F(HotSwapDriverTest, DoubleByteDescriptionFitsTheCallersBufferOrIsLeftOut) {
    ASSERT_TRUE(m_testbed.SetResolveAnswer(TESTBED_QUARNEL_ANSWER_KANA));
    const DWORD chars = TESTBED_QUARNEL_KANA_COUNT;
    std::vector<BYTE> answer = Guarded(200);
    // Code page 932 (TearDown restores "C"): every character takes two bytes.
    ASSERT_NE(nullptr, std::setlocale(LC_ALL, ".932"));
    for (DWORD cbOut : {28 + chars + 1, 28 + 2 * chars})
        ExpectError(ERROR_INSUFFICIENT_BUFFER, Resolve(answer, cbOut));
    EXPECT_TRUE(AllGuard(answer));
    ASSERT_EQ(0u, Resolve(answer, 28 + 2 * chars + 1));
    EXPECT_EQ(2 * chars, std::strlen(reinterpret_cast<char*>(answer.data() + 28)));
    // U+30A2 is 83 41 in code page 932.
    EXPECT_EQ(0x83, answer[28]);
    EXPECT_EQ(0x41, answer[29]);
    EXPECT_EQ(GUARD, answer[28 + 2 * chars + 1]);
    // The "C" locale cannot show it: the description is left out.
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(0u, Resolve(answer, static_cast<DWORD>(answer.size())));
    EXPECT_EQ(2, answer[4]);
    EXPECT_EQ(0, answer[28]);
}

TEST_F(HotSwapDriverTest, HandleZeroOrInvalidFailsInBothDirectionsWritingNothing) {
    // Handle 0 is refused before any request.
    ExpectBothDirectionsFail(nullptr, 1234);
    // INVALID_HANDLE_VALUE counts as open: the requests are made and fail.
    ExpectBothDirectionsFail(INVALID_HANDLE_VALUE, ERROR_INVALID_HANDLE);
    TESTBED_QUARNEL_STATS stats = Stats();
    EXPECT_EQ(0u, stats.ResolveCount);
    EXPECT_EQ(0u, stats.GetBusPathCount);
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

// Stops the stand-in (its handles closed first); TearDown starts it again.
class HotSwapDriverStateTest : public HotSwapDriverTest {
protected:
    void TearDown() override {
        SetQuarnelKeepInterfaceOnStop(false);
        StartQuarnelService();
        HotSwapDriverTest::TearDown();
    }
};

TEST_F(HotSwapDriverStateTest, OpenWithoutAnInterfaceOrWithItsDeviceGoneFails) {
    m_testbed.Close();
    CloseHotSwapDriver(m_driver);
    m_driver = nullptr;
    ASSERT_EQ(0u, StopQuarnelService());
    // No interface: the handle stays 0.
    HANDLE handle = nullptr;
    ExpectError(ERROR_NO_MORE_ITEMS, OpenHotSwapDriver(&handle));
    EXPECT_EQ(nullptr, handle);

    // An interface the stopped device left listed: INVALID_HANDLE_VALUE.
    ASSERT_TRUE(SetQuarnelKeepInterfaceOnStop(true));
    ASSERT_EQ(0u, StartQuarnelService());
    ASSERT_EQ(0u, StopQuarnelService());
    DWORD error = OpenHotSwapDriver(&handle);
    EXPECT_NE(0u, error);
    EXPECT_EQ(error, GetLastError());
    EXPECT_EQ(INVALID_HANDLE_VALUE, handle);
    // Such a handle counts as open: both directions try and fail.
    ExpectBothDirectionsFail(handle, ERROR_INVALID_HANDLE);

    // Started again, the stand-in opens as before.
    ASSERT_TRUE(SetQuarnelKeepInterfaceOnStop(false));
    ASSERT_EQ(0u, StartQuarnelService());
    ASSERT_EQ(0u, OpenHotSwapDriver(&handle));
    CloseHotSwapDriver(handle);
}

} // namespace
