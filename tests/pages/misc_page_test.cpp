// The Miscellaneous page: its controls, ranges, the polling-rate rule for the
// scan box, and the exchange with its members.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "res/resource.h"
#include "pages/options/zorvik_misc.h"
#include "support/page_host.h"
#include "support/scripted_responder.h"

namespace {
class MiscPageTest : public ::testing::Test {
protected:
    ScriptedResponder m_responder;
    ZorvikMisc m_page;
    PageHost m_host{m_page};
};
} // namespace

TEST_F(MiscPageTest, ShowsDefaultsWithTheScanBoxCheckedAndDisabled) {
    HWND page = m_host.Show();
    EXPECT_EQ(ItemText(page, IDC_POLLING_RATE), "500");
    EXPECT_EQ(ItemText(page, IDC_DISCONNECT_TIMEOUT), "20000");
    EXPECT_EQ(ItemText(page, IDC_INSERT_BEFORE_EJECT), "5000");
    EXPECT_EQ(GetCheck(page, IDC_SCAN_SURPRISE_REMOVAL), BST_CHECKED);
    EXPECT_FALSE(IsEnabled(page, IDC_SCAN_SURPRISE_REMOVAL));
    int lo = -1, hi = -1;
    ::SendDlgItemMessageA(page, IDC_POLLING_RATE_SPIN, UDM_GETRANGE32,
                          reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(hi, 65535);
    ::SendDlgItemMessageA(page, IDC_INSERT_BEFORE_EJECT_SPIN, UDM_GETRANGE32,
                          reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(hi, 100000);
    // Filling the controls is not an edit.
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));
}

TEST_F(MiscPageTest, ZeroPollingRateEnablesTheBoxAndAnyOtherRateChecksAndDisablesIt) {
    HWND page = m_host.Show();
    TypeText(page, IDC_POLLING_RATE, "0");
    EXPECT_TRUE(IsEnabled(page, IDC_SCAN_SURPRISE_REMOVAL));
    EXPECT_TRUE(IsApplyEnabled(m_host.Sheet()));
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);
    ASSERT_TRUE(m_page.UpdateData(TRUE));
    EXPECT_EQ(m_page.m_bScanSurpriseRemoval, 0);

    TypeText(page, IDC_POLLING_RATE, "70000");
    EXPECT_FALSE(IsEnabled(page, IDC_SCAN_SURPRISE_REMOVAL));
    EXPECT_EQ(GetCheck(page, IDC_SCAN_SURPRISE_REMOVAL), BST_CHECKED);
    // The flag follows at the next read-back; the rate is taken as typed.
    EXPECT_EQ(m_page.m_bScanSurpriseRemoval, 0);
    ASSERT_TRUE(m_page.UpdateData(TRUE));
    EXPECT_EQ(m_page.m_bScanSurpriseRemoval, 1);
    EXPECT_EQ(m_page.m_dwPollingRate, 70000u);
}

TEST_F(MiscPageTest, BadNumberStopsTheExchangeAtThatField) {
    HWND page = m_host.Show();
    TypeText(page, IDC_DISCONNECT_TIMEOUT, "1234");
    TypeText(page, IDC_INSERT_BEFORE_EJECT, "4321");
    m_responder.Answer(IDOK);
    TypeText(page, IDC_POLLING_RATE, "-5");
    // The change reads every field back: the one before the bad field takes
    // its value, the one after it keeps the old one.
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].text, "Please enter a positive integer.");
    EXPECT_EQ(m_page.m_dwDisconnectTimeout, 1234u);
    EXPECT_EQ(m_page.m_dwPollingRate, 500u);
    EXPECT_EQ(m_page.m_dwInsertBeforeEject, 5000u);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page, IDC_POLLING_RATE));
}

TEST_F(MiscPageTest, ReloadNotificationRefreshesTheControls) {
    HWND page = m_host.Show();
    TypeText(page, IDC_INSERT_BEFORE_EJECT, "1");
    m_page.m_dwInsertBeforeEject = 6500;
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(ItemText(page, IDC_INSERT_BEFORE_EJECT), "6500");
    EXPECT_TRUE(m_responder.asked.empty());
}
