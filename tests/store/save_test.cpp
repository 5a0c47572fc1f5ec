// Saving: what is written where, the list keys cleared, and who is told:
// the stand-in hot-swap driver, the stand-in controller, and the stand-in
// system board service.
#include "support/sheet_fixture.h"

#include "res/resource.h"
#include "sys/hotswap_driver.h"
#include "support/driver_connection.h"
#include "support/testbed_moravik_client.h"
#include "support/testbed_quarnel_client.h"
#include "support/testbed_vardek_client.h"

namespace {

int ValueCount(const char* path) {
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD count = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                       nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return static_cast<int>(count);
}

// Opens the driver and the service connection as start-up does, before the
// private registry hides the device interface; leaves the system board
// service stopped, since a running one is restarted with a 2 s pause.
struct RealConnections : DriverConnection {
    RealConnections() {
        TestKit().m_services.Open(nullptr);
        StopTestbedService("moravik");
    }
    ~RealConnections() {
        quarnel.Reset();
        TestKit().m_services.Close();
    }
    CMoravikStateKeeper keeper;
};

class SaveTest : public RealConnections, public SheetTest {
protected:
    DWORD DriverUpdates() {
        TESTBED_QUARNEL_STATS stats = {};
        EXPECT_TRUE(quarnel.ReadStats(&stats));
        return stats.UpdateCount;
    }
    DWORD MoravikStarts() {
        DWORD starts = 0;
        m_registry.WithRealRegistry([&] { starts = ReadMoravikStartCount(); });
        return starts;
    }
    DWORD ControllerUpdates() {
        TESTBED_VARDEK_COUNTS counts = {};
        EXPECT_TRUE(TakeVardekCounts(&counts));
        EXPECT_EQ(counts.Opens, counts.Closes);
        return counts.Updates;
    }
    void ApplyYes() {
        m_responder.Answer(IDYES);
        PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    }
};
} // namespace

TEST_F(SaveTest, ApplyYesWritesTellsTheDriversAndRestartsTheRunningService) {
    ASSERT_TRUE(opened);
    ASSERT_TRUE(StartTestbedService("moravik"));
    ControllerUpdates();
    DWORD startsBefore = MoravikStarts();

    HWND sheet = Show();
    ASSERT_TRUE(m_sheet->m_Vardek.m_bPresent);
    ASSERT_NE(m_sheet->GetPageIndex(&m_sheet->m_Moravik), -1);
    TypeText(MiscPage(), IDC_POLLING_RATE, "750");
    ApplyYes();

    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &value));
    EXPECT_EQ(value, 750u);
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", &value));
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", &value));
    EXPECT_EQ(DriverUpdates(), 1u);
    EXPECT_EQ(ControllerUpdates(), 1u);
    EXPECT_EQ(MoravikStarts(), startsBefore + 1);
    EXPECT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_RUNNING));
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_FALSE(SheetEnded(sheet));
}

TEST_F(SaveTest, StoppedServiceStaysStoppedAndAMissingOneKeepsItsKey) {
    DWORD startsBefore = MoravikStarts();
    Build().m_Moravik.m_dwTimeout = 4444;
    m_sheet->SaveParameters();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", &value));
    EXPECT_EQ(value, 4444u);
    EXPECT_EQ(QueryTestbedServiceState("moravik"), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(MoravikStarts(), startsBefore);

    TestKit().m_services.Close();
    m_sheet->m_Moravik.m_dwTimeout = 5555;
    m_sheet->SaveParameters();
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", &value));
    EXPECT_EQ(value, 4444u);
}

TEST_F(SaveTest, NoScanIsWrittenAtPollingRateZeroAndDeletedOnceARateIsTyped) {
    Show();
    HWND page = MiscPage();
    TypeText(page, IDC_POLLING_RATE, "0");
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);
    ApplyYes();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", &value));
    EXPECT_EQ(value, 1u);

    TypeText(page, IDC_POLLING_RATE, "70000");
    ApplyYes();
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &value));
    EXPECT_EQ(value, 70000u);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval"));
}

TEST_F(SaveTest, WithoutTheLibraryTheControllerFlagsStayAsTheyWere) {
    CHiddenVardekApi hidden;
    ASSERT_TRUE(hidden.IsHidden());
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", 0);
    ZorvikSheet& sheet = Build();
    EXPECT_EQ(sheet.GetPageIndex(&sheet.m_Vardek), -1);
    sheet.m_Vardek.m_bSuppressLedControl = 1;
    ControllerUpdates();
    sheet.SaveParameters();
    DWORD value = 7;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", &value));
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(ControllerUpdates(), 0u);
}

TEST_F(SaveTest, DriverIsToldWhenThereAndARefusalBringsMessage4003) {
    ZorvikSheet& sheet = Build();
    TestKit().m_driver.Close();
    sheet.SaveParameters();
    EXPECT_TRUE(m_responder.asked.empty());
    EXPECT_EQ(DriverUpdates(), 0u);

    m_registry.WithRealRegistry([] { ASSERT_EQ(0u, TestKit().m_driver.Open()); });
    ASSERT_TRUE(quarnel.SetRefuseUpdates(true));
    m_responder.Answer(IDOK);
    sheet.SaveParameters();
    EXPECT_EQ(DriverUpdates(), 1u);
    ASSERT_EQ(m_responder.asked.size(), 1u);
    for (const AskedMessage& asked : m_responder.asked) {
        EXPECT_EQ(asked.text, "Mirandel Configuration Utility cannot update Mirandel parameters. "
                              "You may need to reboot to apply parameters");
        EXPECT_EQ(asked.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    }
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval"));
}

TEST_F(SaveTest, LockedKeysStopTheSaveBeforeAnythingChangesAndListsStartAfresh) {
    WriteRaw(HKEY_LOCAL_MACHINE, kSlotsKey, "3", REG_SZ, "1008", 5);
    ZorvikSheet& sheet = Build();
    ControllerUpdates();
    {
        KeyLock lock(HKEY_LOCAL_MACHINE, kMoravikKey);
        ASSERT_TRUE(lock.Locked());
        m_responder.Answer(IDOK);
        sheet.SaveParameters();
    }
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].text, "Cannot open registry for write");
    EXPECT_EQ(m_responder.asked[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(ValueCount(kSlotsKey), 1);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval"));
    EXPECT_EQ(DriverUpdates(), 0u);
    EXPECT_EQ(ControllerUpdates(), 0u);

    // Once the keys open, every list is written from scratch, from what the
    // pages hold.
    sheet.m_Eq.m_slots.AddHeadNew(4, "2008", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, TestKit().m_driver);
    sheet.SaveParameters();
    StoredValues expected = {{"3", Sz("1008")}, {"4", Sz("2008")}};
    EXPECT_EQ(expected, ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
}

TEST_F(SaveTest, ReloadAfterASaveShowsWhatWasSaved) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "33333");
    ApplyYes();
    m_sheet->m_Misc.m_dwDisconnectTimeout = 1;
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDC_RELOAD);
    EXPECT_EQ(ItemText(m_sheet->m_Misc.m_hWnd, IDC_DISCONNECT_TIMEOUT), "33333");
}

TEST_F(SaveTest, SlotPathsResolveThroughTheDriverSoNoResetMarksFindTheirBridgeByLocation) {
    ASSERT_TRUE(opened);
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "7", "0A08");
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0A08", "1000,100000,100000");
    WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "0a08", "");
    WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "*0A08", "");

    ZorvikSheet& sheet = Build();
    const CSlotRecord& slot = sheet.m_Eq.m_slots.GetHead();
    EXPECT_EQ(SLOT_HAS_PHYSICAL | SLOT_HAS_PATH | SLOT_HAS_BDF, slot.m_dwFlags);
    EXPECT_EQ(1u, slot.m_nBus);
    EXPECT_EQ(1u, slot.m_nDevice);
    EXPECT_EQ(2u, slot.m_nFunction);
    EXPECT_NE(nullptr, sheet.m_Eq.m_slots.FindBySlotPath("0a08", TestKit().m_driver));
    // The starred mark stays a bridge of its own, although it resolves alike.
    EXPECT_EQ(2, sheet.m_Res.m_bridges.GetCount());
    sheet.SaveParameters();
    StoredValues marks = {{"*0A08", Sz("")}, {"0a08", Sz("")}};
    EXPECT_EQ(marks, ReadStoredValues(HKEY_LOCAL_MACHINE, kNoResetKey));
    StoredValues assignments = {{"0A08", Sz("1000,100000,100000")}};
    EXPECT_EQ(assignments, ReadStoredValues(HKEY_LOCAL_MACHINE, kAssignmentsKey));

    // Without the driver, texts that differ name different slots.
    TestKit().m_driver.Close();
    sheet.LoadParameters();
    EXPECT_EQ(nullptr, sheet.m_Eq.m_slots.FindBySlotPath("0a08", TestKit().m_driver));
    EXPECT_EQ(3, sheet.m_Res.m_bridges.GetCount());
    sheet.SaveParameters();
    EXPECT_EQ(marks, ReadStoredValues(HKEY_LOCAL_MACHINE, kNoResetKey));
    EXPECT_EQ(assignments, ReadStoredValues(HKEY_LOCAL_MACHINE, kAssignmentsKey));
}

TEST_F(SaveTest, ASaveThatCannotWriteLeavesTheChangesPendingAndOkOpen) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_POLLING_RATE, "750");
    {
        KeyLock lock(HKEY_LOCAL_MACHINE, kMoravikKey);
        ASSERT_TRUE(lock.Locked());
        ApplyYes();
        EXPECT_TRUE(IsApplyEnabled(sheet));
        m_responder.Answer(IDYES);
        PressSheetButton(sheet, IDOK);
        EXPECT_FALSE(SheetEnded(sheet));
    }
    ASSERT_EQ(4u, m_responder.asked.size());
    EXPECT_EQ("Cannot open registry for write", m_responder.asked[1].text);
    EXPECT_EQ("Cannot open registry for write", m_responder.asked[3].text);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval"));

    // Once the registry can be written, the same edit is saved.
    ApplyYes();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &value));
    EXPECT_EQ(750u, value);
    EXPECT_FALSE(IsApplyEnabled(sheet));
}

TEST_F(SaveTest, StoredChoicesNoButtonStandsForAreKeptAndTakenAsTheDefaultMode) {
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Mode", 2);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", 7);
    HWND sheet = Show();
    int index = m_sheet->GetPageIndex(&m_sheet->m_Moravik);
    ASSERT_NE(index, -1);
    SelectPage(sheet, index);
    HWND page = m_sheet->m_Moravik.m_hWnd;
    EXPECT_EQ(GetCheck(page, IDC_MODE_CONCESSION), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(page, IDC_MODE_REQUEST), BST_UNCHECKED);
    EXPECT_TRUE(IsEnabled(page, IDC_TIMEOUT));
    EXPECT_FALSE(IsEnabled(page, IDC_POLL_INTERVAL));

    TypeText(page, IDC_TIMEOUT, "3000");
    ApplyYes();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Mode", &value));
    EXPECT_EQ(value, 2u);
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", &value));
    EXPECT_EQ(value, 7u);
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", &value));
    EXPECT_EQ(value, 3000u);
}

TEST_F(SaveTest, AServiceThatDoesNotStartAgainIsReportedAfterTheOtherSteps) {
    ASSERT_TRUE(StartTestbedService("moravik"));
    // The stop outlasts the restart's pause, so the start meets a service
    // that is still stopping.
    m_registry.WithRealRegistry(
        [] { WriteDword(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, "StopDelay", 4000); });
    ZorvikSheet& sheet = Build();
    ASSERT_TRUE(quarnel.SetRefuseUpdates(true));
    m_responder.Answer(IDOK);
    m_responder.Answer(IDOK);
    sheet.m_Moravik.m_dwTimeout = 6000;
    EXPECT_TRUE(sheet.SaveParameters());
    m_registry.WithRealRegistry([] {
        HKEY record;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, 0, KEY_SET_VALUE,
                            &record) == ERROR_SUCCESS) {
            ::RegDeleteValueA(record, "StopDelay");
            ::RegCloseKey(record);
        }
    });
    EXPECT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_STOPPED));

    ASSERT_EQ(m_responder.asked.size(), 2u);
    EXPECT_EQ(m_responder.asked[0].id, static_cast<UINT>(IDS_CANNOT_UPDATE_DRIVER));
    const std::string& text = m_responder.asked[1].text;
    const std::string lead = "The parameters have been saved, but the service \"moravik\" was "
                             "stopped to take them up and could not be started again: ";
    EXPECT_EQ(text.compare(0, lead.size(), lead), 0) << text;
    EXPECT_GT(text.size(), lead.size() + 40) << text;
    EXPECT_EQ(m_responder.asked[1].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", &value));
    EXPECT_EQ(value, 6000u);
}
