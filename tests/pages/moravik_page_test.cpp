// The System board service page: modes and their enabling, the time-out
// action, and the service status that follows the stand-in service.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "app/zorvik_app.h"
#include "framework/framework_ids.h"
#include "pages/options/page_ids.h"
#include "pages/options/zorvik_moravik.h"
#include "framework/property_sheet.h"
#include "pages/page_messages.h"
#include "res/resource.h"
#include "support/scripted_responder.h"
#include "support/sheet_driver.h"
#include "support/testbed_moravik_client.h"

namespace {
class MoravikPageTest : public ::testing::Test {
protected:
    void SetUp() override { GetZorvikApp()->m_ServiceControl.Open(nullptr); }
    void TearDown() override {
        m_sheet.DestroyWindow();
        GetZorvikApp()->m_ServiceControl.Close();
    }
    HWND Show() {
        m_sheet.AddPage(&m_page);
        m_sheet.AddPage(&m_about);
        m_sheet.Create();
        PumpMessages();
        return m_page.m_hWnd;
    }

    struct Sheet : CPropertySheet {
        Sheet() : CPropertySheet(IDS_SHEET_CAPTION) {}
        void DestroyWindow() {
            if (m_hWnd)
                ::DestroyWindow(m_hWnd);
        }
    };

    ScriptedResponder m_responder;
    CMoravikStateKeeper m_keeper;
    ZorvikMoravik m_page;
    CPropertyPage m_about{IDD_ABOUTBOX};
    Sheet m_sheet;
};
} // namespace

TEST_F(MoravikPageTest, DefaultsShowConcessionModeWithRestoreSelected) {
    HWND page = Show();
    EXPECT_EQ(GetCheck(page, IDC_MODE_CONCESSION), BST_CHECKED);
    EXPECT_EQ(GetCheck(page, IDC_MODE_REQUEST), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(page, IDC_ACTION_NOTHING), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(page, IDC_ACTION_CONCEDE), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(page, IDC_ACTION_RESTORE), BST_CHECKED);
    EXPECT_EQ(ItemText(page, IDC_TIMEOUT), "10000");
    EXPECT_EQ(ItemText(page, IDC_POLL_INTERVAL), "500");
    EXPECT_TRUE(IsEnabled(page, IDC_TIMEOUT));
    EXPECT_TRUE(IsEnabled(page, IDC_ACTION_RESTORE));
    EXPECT_FALSE(IsEnabled(page, IDC_POLL_INTERVAL));
    EXPECT_FALSE(IsEnabled(page, IDC_POLL_INTERVAL_SPIN));
    int lo = -1, hi = -1;
    ::SendDlgItemMessageA(page, IDC_TIMEOUT_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo),
                          reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 100000);
    EXPECT_FALSE(IsApplyEnabled(m_sheet.m_hWnd));
}

TEST_F(MoravikPageTest, SwitchingModesSwapsTheEnabledFieldsAndMarksModified) {
    HWND page = Show();
    Click(page, IDC_MODE_REQUEST);
    EXPECT_TRUE(IsApplyEnabled(m_sheet.m_hWnd));
    for (int id : {IDC_ACTION_NOTHING, IDC_ACTION_CONCEDE, IDC_ACTION_RESTORE, IDC_TIMEOUT,
                   IDC_TIMEOUT_SPIN})
        EXPECT_FALSE(IsEnabled(page, id)) << id;
    EXPECT_TRUE(IsEnabled(page, IDC_POLL_INTERVAL));
    EXPECT_TRUE(IsEnabled(page, IDC_POLL_INTERVAL_SPIN));
    ASSERT_TRUE(m_page.UpdateData(TRUE));
    EXPECT_EQ(m_page.m_dwMode, 1u);

    m_page.SetModified(FALSE);
    Click(page, IDC_MODE_CONCESSION);
    EXPECT_TRUE(IsApplyEnabled(m_sheet.m_hWnd));
    EXPECT_TRUE(IsEnabled(page, IDC_TIMEOUT));
    EXPECT_FALSE(IsEnabled(page, IDC_POLL_INTERVAL));
}

TEST_F(MoravikPageTest, ChoosingAnActionAloneEnablesApply) {
    HWND page = Show();
    Click(page, IDC_ACTION_NOTHING);
    EXPECT_TRUE(IsApplyEnabled(m_sheet.m_hWnd));
    ASSERT_TRUE(m_page.UpdateData(TRUE));
    EXPECT_EQ(m_page.m_dwTimeoutAction, 0u);
    EXPECT_EQ(m_page.m_dwMode, 0u);
}

TEST_F(MoravikPageTest, BadTimeoutKeepsTheStoredModeAndAction) {
    HWND page = Show();
    Click(page, IDC_ACTION_CONCEDE);
    Click(page, IDC_MODE_REQUEST);
    TypeText(page, IDC_TIMEOUT, "ten");
    TypeText(page, IDC_POLL_INTERVAL, "900");
    m_responder.Answer(IDOK);
    EXPECT_FALSE(m_page.UpdateData(TRUE));
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, static_cast<UINT>(AFX_IDP_PARSE_UINT));
    // The action radios come before the time-out in the exchange.
    EXPECT_EQ(m_page.m_nTimeoutActionChoice, 1);
    EXPECT_EQ(m_page.m_dwTimeout, 10000u);
    EXPECT_EQ(m_page.m_dwPollInterval, 500u);
    EXPECT_EQ(m_page.m_dwMode, 0u);
    EXPECT_EQ(m_page.m_dwTimeoutAction, 2u);
}

TEST_F(MoravikPageTest, ValuesAboveTheArrowsRangeAreTakenAsTyped) {
    HWND page = Show();
    TypeText(page, IDC_TIMEOUT, "250000");
    ASSERT_TRUE(m_page.UpdateData(TRUE));
    EXPECT_EQ(m_page.m_dwTimeout, 250000u);
}

TEST_F(MoravikPageTest, StatusFollowsTheServiceAndTheButtonsMatchIt) {
    ASSERT_TRUE(StartTestbedService("moravik"));
    HWND page = Show();
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is running");
    EXPECT_FALSE(IsEnabled(page, IDC_START_SERVICE));
    EXPECT_TRUE(IsEnabled(page, IDC_STOP_SERVICE));

    Click(page, IDC_STOP_SERVICE);
    ASSERT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_STOPPED));
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
    EXPECT_TRUE(IsEnabled(page, IDC_START_SERVICE));
    EXPECT_FALSE(IsEnabled(page, IDC_STOP_SERVICE));

    Click(page, IDC_START_SERVICE);
    PumpMessagesFor(1500);
    std::string status = ItemText(page, IDC_SERVICE_STATUS);
    EXPECT_TRUE(status == "Service is running" || status == "Service is starting") << status;
    EXPECT_FALSE(IsEnabled(page, IDC_START_SERVICE));
}

TEST_F(MoravikPageTest, StatusIsPolledOnlyWhileThePageIsActive) {
    ASSERT_TRUE(StartTestbedService("moravik"));
    HWND page = Show();
    SelectPage(m_sheet.m_hWnd, 1);
    ASSERT_TRUE(StopTestbedService("moravik"));
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is running");
    SelectPage(m_sheet.m_hWnd, 0);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
}

TEST_F(MoravikPageTest, ServiceThatCannotBeQueriedDisablesBothButtons) {
    GetZorvikApp()->m_ServiceControl.Close();
    HWND page = Show();
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Cannot determine current state of the service");
    EXPECT_FALSE(IsEnabled(page, IDC_START_SERVICE));
    EXPECT_FALSE(IsEnabled(page, IDC_STOP_SERVICE));
}

TEST_F(MoravikPageTest, ReloadNotificationRestoresModeAndEnabling) {
    HWND page = Show();
    Click(page, IDC_MODE_REQUEST);
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(GetCheck(page, IDC_MODE_CONCESSION), BST_CHECKED);
    EXPECT_TRUE(IsEnabled(page, IDC_TIMEOUT));
    EXPECT_FALSE(IsEnabled(page, IDC_POLL_INTERVAL));
}
