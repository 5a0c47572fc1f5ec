// Saving: what is written where, the list keys cleared, and who is told:
// the stand-in hot-swap driver, the stand-in controller, and the stand-in
// system board service.
#include "support/sheet_fixture.h"

#include "app/zorvik_app.h"
#include "pages/options/page_ids.h"
#include "sys/hotswap_driver.h"
#include "support/testbed_moravik_client.h"
#include "support/testbed_quarnel_client.h"
#include "support/testbed_vardek_client.h"

namespace {
const char kSlotsKey[] = "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\PhysicalSlots";
const char kRestrictKey[] =
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters\\RestrictMiniports";

int ValueCount(HKEY root, const char* path) {
    HKEY key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD count = 0;
    ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                       nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return static_cast<int>(count);
}

// Opens the driver and the service connection the way start-up does, while
// the real registry is still visible (device interfaces are found there).
struct RealConnections {
    RealConnections() {
        ZorvikApp* app = GetZorvikApp();
        driverOpened = OpenHotSwapDriver(&app->m_hDriver) == 0;
        app->m_ServiceControl.Open(nullptr);
        quarnel.Reset();
    }
    ~RealConnections() {
        ZorvikApp* app = GetZorvikApp();
        quarnel.Reset();
        quarnel.Close();
        if (app->m_hDriver)
            CloseHotSwapDriver(app->m_hDriver);
        app->m_hDriver = nullptr;
        app->m_ServiceControl.Close();
    }
    QuarnelTestbed quarnel;
    bool driverOpened = false;
};

class SaveTest : public ::testing::Test {
protected:
    // A running system board service is restarted by every save, with a
    // two-second pause; tests that want that start it themselves.
    void SetUp() override {
        m_registry.WithRealRegistry([] { StopTestbedService("moravik"); });
    }
    void TearDown() override {
        m_sheet.reset();
        PumpMessages();
    }
    ZorvikSheet& Build() {
        m_sheet = std::make_unique<ZorvikSheet>(IDS_SHEET_CAPTION);
        return *m_sheet;
    }
    DWORD DriverUpdates() {
        TESTBED_QUARNEL_STATS stats = {};
        EXPECT_TRUE(m_real.quarnel.ReadStats(&stats));
        return stats.UpdateCount;
    }
    DWORD MoravikStarts() {
        DWORD starts = 0;
        m_registry.WithRealRegistry([&] { starts = ReadMoravikStartCount(); });
        return starts;
    }
    // Apply with Yes on a shown sheet, after the given edit.
    void ApplyYes() {
        m_responder.Answer(IDYES);
        PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    }

    CMoravikStateKeeper m_keeper;
    RealConnections m_real;
    RegistrySandbox m_registry;
    ScriptedResponder m_responder;
    std::unique_ptr<ZorvikSheet> m_sheet;
};
} // namespace

TEST_F(SaveTest, ApplyYesWritesTellsTheDriversAndRestartsTheRunningService) {
    ASSERT_TRUE(m_real.driverOpened);
    ASSERT_TRUE(StartTestbedService("moravik"));
    TESTBED_VARDEK_COUNTS counts;
    TakeVardekCounts(&counts);
    DWORD startsBefore = MoravikStarts();

    Build();
    ASSERT_TRUE(m_sheet->m_Vardek.m_bPresent);
    ASSERT_NE(m_sheet->GetPageIndex(&m_sheet->m_Moravik), -1);
    m_sheet->Create();
    PumpMessages();
    SelectPage(m_sheet->m_hWnd, m_sheet->GetPageIndex(&m_sheet->m_Misc));
    TypeText(m_sheet->m_Misc.m_hWnd, IDC_POLLING_RATE, "750");
    ApplyYes();

    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &value));
    EXPECT_EQ(value, 750u);
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", &value));
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", &value));
    EXPECT_EQ(value, 2u);
    EXPECT_EQ(DriverUpdates(), 1u);
    ASSERT_TRUE(TakeVardekCounts(&counts));
    EXPECT_EQ(counts.Updates, 1u);
    EXPECT_EQ(counts.Opens, counts.Closes);
    EXPECT_EQ(MoravikStarts(), startsBefore + 1);
    EXPECT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_RUNNING));
    // Nothing but the question was asked.
    EXPECT_EQ(m_responder.asked.size(), 1u);
}

TEST_F(SaveTest, StoppedServiceGetsItsValuesAndStaysStopped) {
    ASSERT_TRUE(StopTestbedService("moravik"));
    DWORD startsBefore = MoravikStarts();
    Build().m_Moravik.m_dwTimeout = 4444;
    m_sheet->SaveParameters();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", &value));
    EXPECT_EQ(value, 4444u);
    EXPECT_EQ(QueryTestbedServiceState("moravik"), static_cast<DWORD>(SERVICE_STOPPED));
    EXPECT_EQ(MoravikStarts(), startsBefore);
}

TEST_F(SaveTest, WithoutTheServiceItsKeyIsNotWritten) {
    ZorvikSheet& sheet = Build();
    GetZorvikApp()->m_ServiceControl.Close();
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", 1);
    sheet.m_Moravik.m_dwTimeout = 4444;
    sheet.SaveParameters();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", &value));
    EXPECT_EQ(value, 1u);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kMoravikKey, "Mode"));
}

TEST_F(SaveTest, ScanFlagDecidesWhetherNoScanIsWrittenOrDeleted) {
    ZorvikSheet& sheet = Build();
    sheet.m_Misc.m_bScanSurpriseRemoval = 0;
    sheet.SaveParameters();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", &value));
    EXPECT_EQ(value, 1u);
    sheet.m_Misc.m_bScanSurpriseRemoval = 1;
    sheet.SaveParameters();
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval"));
}

TEST_F(SaveTest, ZeroPollingRateWithScanningOffSavesNoScanAndARateSavesScanningOn) {
    Build().Create();
    PumpMessages();
    HWND page = m_sheet->m_Misc.m_hWnd;
    TypeText(page, IDC_POLLING_RATE, "0");
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);
    ApplyYes();
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval"));

    TypeText(page, IDC_POLLING_RATE, "70000");
    ApplyYes();
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &value));
    EXPECT_EQ(value, 70000u);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval"));
}

TEST_F(SaveTest, ListKeysAreWrittenFromScratch) {
    WriteRaw(HKEY_LOCAL_MACHINE, kSlotsKey, "3", REG_SZ, "1008", 5);
    WriteRaw(HKEY_LOCAL_MACHINE, kRestrictKey, "oldport", REG_SZ, "", 1);
    ZorvikSheet& sheet = Build();
    ASSERT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kSlotsKey), 1);
    sheet.SaveParameters();
    EXPECT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kSlotsKey), 0);
    EXPECT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kRestrictKey), 0);
}

TEST_F(SaveTest, WithoutTheLibraryTheControllerFlagsStayAsTheyWere) {
    CHiddenVardekApi hidden;
    ASSERT_TRUE(hidden.IsHidden());
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", 0);
    ZorvikSheet& sheet = Build();
    EXPECT_EQ(sheet.GetPageIndex(&sheet.m_Vardek), -1);
    EXPECT_EQ(sheet.m_Vardek.m_bPresent, 0);
    sheet.m_Vardek.m_bSuppressLedControl = 1;
    TESTBED_VARDEK_COUNTS counts;
    TakeVardekCounts(&counts);
    sheet.SaveParameters();
    DWORD value = 7;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", &value));
    EXPECT_EQ(value, 0u);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressDomainPickup"));
    ASSERT_TRUE(TakeVardekCounts(&counts));
    EXPECT_EQ(counts.Updates, 0u);
}

TEST_F(SaveTest, WithoutTheDriverNothingIsSentAndNothingShown) {
    HANDLE saved = GetZorvikApp()->m_hDriver;
    GetZorvikApp()->m_hDriver = nullptr;
    Build().SaveParameters();
    GetZorvikApp()->m_hDriver = saved;
    EXPECT_TRUE(m_responder.asked.empty());
    EXPECT_EQ(DriverUpdates(), 0u);
}

TEST_F(SaveTest, DriverThatRefusesBringsMessage4003) {
    ASSERT_TRUE(m_real.quarnel.SetRefuseUpdates(true));
    m_responder.Answer(IDOK);
    Build().SaveParameters();
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, 4003u);
    EXPECT_EQ(m_responder.asked[0].text, "Mirandel Configuration Utility cannot update Mirandel "
                                         "parameters. You may need to reboot to apply parameters");
    EXPECT_EQ(m_responder.asked[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(DriverUpdates(), 1u);
    // The values are saved all the same.
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval"));
}

TEST_F(SaveTest, DriverThatCouldNotBeOpenedBringsMessage4003AtEverySave) {
    HANDLE saved = GetZorvikApp()->m_hDriver;
    GetZorvikApp()->m_hDriver = INVALID_HANDLE_VALUE;
    m_responder.Answer(IDOK);
    m_responder.Answer(IDOK);
    ZorvikSheet& sheet = Build();
    sheet.SaveParameters();
    sheet.SaveParameters();
    GetZorvikApp()->m_hDriver = saved;
    ASSERT_EQ(m_responder.asked.size(), 2u);
    EXPECT_EQ(m_responder.asked[0].id, 4003u);
    EXPECT_EQ(m_responder.asked[1].id, 4003u);
}

TEST_F(SaveTest, KeysThatCannotBeOpenedStopTheSaveBeforeAnythingChanges) {
    ASSERT_TRUE(StartTestbedService("moravik"));
    WriteRaw(HKEY_LOCAL_MACHINE, kSlotsKey, "3", REG_SZ, "1008", 5);
    ZorvikSheet& sheet = Build();
    DWORD startsBefore = MoravikStarts();
    TESTBED_VARDEK_COUNTS counts;
    TakeVardekCounts(&counts);
    {
        KeyLock lock(HKEY_LOCAL_MACHINE, kMoravikKey);
        ASSERT_TRUE(lock.Locked());
        m_responder.Answer(IDOK);
        EXPECT_TRUE(sheet.SaveParameters());
    }
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, 0u);
    EXPECT_EQ(m_responder.asked[0].text, "Cannot open registry for write");
    EXPECT_EQ(m_responder.asked[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(ValueCount(HKEY_LOCAL_MACHINE, kSlotsKey), 1);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval"));
    EXPECT_EQ(DriverUpdates(), 0u);
    ASSERT_TRUE(TakeVardekCounts(&counts));
    EXPECT_EQ(counts.Updates, 0u);
    EXPECT_EQ(MoravikStarts(), startsBefore);
    for (HKEY key : sheet.m_hKeys)
        EXPECT_EQ(key, nullptr);
}

TEST_F(SaveTest, ReloadAfterASaveShowsWhatWasSaved) {
    Build().Create();
    PumpMessages();
    HWND page = m_sheet->m_Misc.m_hWnd;
    TypeText(page, IDC_DISCONNECT_TIMEOUT, "33333");
    ApplyYes();
    m_sheet->m_Misc.m_dwDisconnectTimeout = 1;
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, IDC_RELOAD);
    EXPECT_EQ(m_sheet->m_Misc.m_dwDisconnectTimeout, 33333u);
    EXPECT_EQ(ItemText(page, IDC_DISCONNECT_TIMEOUT), "33333");
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));
}
