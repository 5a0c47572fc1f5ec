// The System board service page (modes and their enabling, the time-out
// action, the status of the stand-in service) and the controller page's flags.
#include "support/sheet_fixture.h"

#include "res/resource.h"
#include "support/testbed_moravik_client.h"

namespace {
class OptionPagesTest : public SheetTest {
protected:
    void SetUp() override { TestKit().m_services.Open(nullptr); }
    void TearDown() override {
        SheetTest::TearDown();
        TestKit().m_services.Close();
    }
    CMoravikStateKeeper m_keeper;
};
} // namespace

TEST_F(OptionPagesTest, ModesEnableTheirFieldsTheStatusFollowsTheServiceAndBoxesTheFlags) {
    // Whether the time-out actions, time-out, poll interval, Start and Stop
    // are enabled.
    const std::vector<int> controls = {
        IDC_ACTION_NOTHING, IDC_ACTION_CONCEDE, IDC_ACTION_RESTORE,     IDC_TIMEOUT,
        IDC_TIMEOUT_SPIN,   IDC_POLL_INTERVAL,  IDC_POLL_INTERVAL_SPIN, IDC_START_SERVICE,
        IDC_STOP_SERVICE};
    ASSERT_TRUE(StartTestbedService("moravik"));
    ZorvikMoravik& moravik = Build().m_Moravik;
    ZorvikVardek& flags = m_sheet->m_Vardek;
    flags.m_bSuppressLedControl = 1;
    HWND sheet = Show();
    SelectPage(sheet, m_sheet->GetPageIndex(&moravik));
    HWND page = moravik.m_hWnd;
    EXPECT_EQ(ItemTexts(page, {IDC_TIMEOUT, IDC_POLL_INTERVAL, IDC_SERVICE_STATUS}),
              "10000|500|Service is running");
    EXPECT_EQ(Checked(page, {IDC_MODE_CONCESSION, IDC_MODE_REQUEST, IDC_ACTION_RESTORE}), "101");
    EXPECT_EQ(Enabled(page, controls), "111110001");
    EXPECT_FALSE(IsApplyEnabled(sheet));

    Click(page, IDC_ACTION_NOTHING);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    moravik.SetModified(FALSE);
    Click(page, IDC_MODE_REQUEST);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_EQ(Enabled(page, controls), "000001101");
    // A bad number ends the read-back before the mode and the action are taken.
    TypeTexts(page, {IDC_POLL_INTERVAL, IDC_TIMEOUT}, "250000|ten");
    m_responder.Answer(IDOK);
    EXPECT_FALSE(moravik.UpdateData(TRUE));
    EXPECT_EQ(std::to_string(moravik.m_dwMode) + "/" + std::to_string(moravik.m_dwTimeoutAction),
              "0/2");
    TypeText(page, IDC_TIMEOUT, "10000");
    ASSERT_TRUE(moravik.UpdateData(TRUE));
    EXPECT_EQ(std::to_string(moravik.m_dwMode) + "/" + std::to_string(moravik.m_dwTimeoutAction),
              "1/0");
    EXPECT_EQ(moravik.m_dwPollInterval, 250000u);
    EXPECT_EQ(m_responder.asked.size(), 1u);
    // The reload notification puts the members back, enabling included; a
    // stored mode that no button stands for counts as concession, and stays.
    moravik.m_dwMode = 5;
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(Checked(page, {IDC_MODE_CONCESSION, IDC_MODE_REQUEST}), "00");
    EXPECT_EQ(Enabled(page, controls), "111110001");
    ASSERT_TRUE(moravik.UpdateData(TRUE));
    EXPECT_EQ(moravik.m_dwMode, 5u);

    Click(page, IDC_STOP_SERVICE);
    ASSERT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_STOPPED));
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
    EXPECT_EQ(Enabled(page, {IDC_START_SERVICE, IDC_STOP_SERVICE}), "10");
    // While the flags page is active the status stays as it was. Each box
    // shows its flag; a click marks the page modified, and the flag follows
    // at the read-back.
    moravik.SetModified(FALSE);
    SelectPage(sheet, m_sheet->GetPageIndex(&flags));
    ASSERT_TRUE(StartTestbedService("moravik"));
    const std::vector<int> boxes = {IDC_SUPPRESS_SLOT_POWER, IDC_SUPPRESS_AUTO_CONCESSION,
                                    IDC_SUPPRESS_LED_CONTROL, IDC_SUPPRESS_DOMAIN_PICKUP};
    EXPECT_EQ(Checked(flags.m_hWnd, boxes), "0010");
    for (int id : boxes) {
        flags.SetModified(FALSE);
        Click(flags.m_hWnd, id);
        EXPECT_TRUE(IsApplyEnabled(sheet)) << id;
    }
    ASSERT_TRUE(flags.UpdateData(TRUE));
    EXPECT_EQ(flags.m_bSuppressSlotPowerAtStartup, 1);
    EXPECT_EQ(flags.m_bSuppressDomainAutoConcession, 1);
    EXPECT_EQ(flags.m_bSuppressLedControl, 0);
    EXPECT_EQ(flags.m_bSuppressDomainPickup, 1);
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
    SelectPage(sheet, m_sheet->GetPageIndex(&moravik));
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is running");

    TestKit().m_services.Close();
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Cannot determine current state of the service");
    EXPECT_EQ(Enabled(page, {IDC_START_SERVICE, IDC_STOP_SERVICE}), "00");
}
