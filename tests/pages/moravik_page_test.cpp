// The System board service page: modes and their enabling, the time-out
// action, and the service status that follows the stand-in service.
#include <gtest/gtest.h>

#include "app/zorvik_app.h"
#include "res/resource.h"
#include "pages/options/zorvik_moravik.h"
#include "support/test_kit.h"
#include "support/page_host.h"
#include "support/scripted_responder.h"
#include "support/testbed_moravik_client.h"

namespace {
class MoravikPageTest : public ::testing::Test {
protected:
    void SetUp() override { TestKit().m_services.Open(nullptr); }
    void TearDown() override { TestKit().m_services.Close(); }

    ScriptedResponder m_responder;
    CMoravikStateKeeper m_keeper;
    ZorvikMoravik m_page{TestKit().m_services};
    CPropertyPage m_about{IDD_ABOUTBOX};
    PageHost m_host{m_page, &m_about};
};
} // namespace

TEST_F(MoravikPageTest, ModesSwapTheEnabledFieldsAndEveryChoiceMarksModified) {
    HWND page = m_host.Show();
    EXPECT_EQ(GetCheck(page, IDC_MODE_CONCESSION), BST_CHECKED);
    EXPECT_EQ(GetCheck(page, IDC_ACTION_RESTORE), BST_CHECKED);
    EXPECT_EQ(ItemText(page, IDC_TIMEOUT), "10000");
    EXPECT_EQ(ItemText(page, IDC_POLL_INTERVAL), "500");
    EXPECT_TRUE(IsEnabled(page, IDC_TIMEOUT));
    EXPECT_FALSE(IsEnabled(page, IDC_POLL_INTERVAL_SPIN));
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));

    Click(page, IDC_ACTION_NOTHING);
    EXPECT_TRUE(IsApplyEnabled(m_host.Sheet()));
    m_page.SetModified(FALSE);
    Click(page, IDC_MODE_REQUEST);
    EXPECT_TRUE(IsApplyEnabled(m_host.Sheet()));
    for (int id : {IDC_ACTION_NOTHING, IDC_ACTION_RESTORE, IDC_TIMEOUT, IDC_TIMEOUT_SPIN})
        EXPECT_FALSE(IsEnabled(page, id)) << id;
    EXPECT_TRUE(IsEnabled(page, IDC_POLL_INTERVAL));
    TypeText(page, IDC_POLL_INTERVAL, "250000");
    ASSERT_TRUE(m_page.UpdateData(TRUE));
    EXPECT_EQ(m_page.m_dwMode, 1u);
    EXPECT_EQ(m_page.m_dwTimeoutAction, 0u);
    EXPECT_EQ(m_page.m_dwPollInterval, 250000u);

    // The reload notification puts the members back, enabling included.
    m_page.m_dwMode = 0;
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(GetCheck(page, IDC_MODE_CONCESSION), BST_CHECKED);
    EXPECT_TRUE(IsEnabled(page, IDC_TIMEOUT));
}

TEST_F(MoravikPageTest, BadTimeoutKeepsTheStoredModeAndAction) {
    HWND page = m_host.Show();
    Click(page, IDC_ACTION_CONCEDE);
    Click(page, IDC_MODE_REQUEST);
    TypeText(page, IDC_TIMEOUT, "ten");
    m_responder.Answer(IDOK);
    EXPECT_FALSE(m_page.UpdateData(TRUE));
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_page.m_dwMode, 0u);
    EXPECT_EQ(m_page.m_dwTimeoutAction, 2u);
}

TEST_F(MoravikPageTest, StatusFollowsTheServiceOnlyWhileThePageIsActive) {
    ASSERT_TRUE(StartTestbedService("moravik"));
    HWND page = m_host.Show();
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is running");
    EXPECT_FALSE(IsEnabled(page, IDC_START_SERVICE));
    EXPECT_TRUE(IsEnabled(page, IDC_STOP_SERVICE));

    Click(page, IDC_STOP_SERVICE);
    ASSERT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_STOPPED));
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
    EXPECT_TRUE(IsEnabled(page, IDC_START_SERVICE));
    EXPECT_FALSE(IsEnabled(page, IDC_STOP_SERVICE));

    SelectPage(m_host.Sheet(), 1);
    ASSERT_TRUE(StartTestbedService("moravik"));
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
    SelectPage(m_host.Sheet(), 0);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is running");

    TestKit().m_services.Close();
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Cannot determine current state of the service");
    EXPECT_FALSE(IsEnabled(page, IDC_START_SERVICE));
    EXPECT_FALSE(IsEnabled(page, IDC_STOP_SERVICE));
}
