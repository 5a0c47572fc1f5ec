// The Hot-swap controller page: four flags on check boxes.
#include <gtest/gtest.h>

#include "pages/options/page_ids.h"
#include "pages/options/zorvik_vardek.h"
#include "pages/page_messages.h"
#include "support/page_host.h"

TEST(VardekPage, BoxesShowTheFlagsAndClicksChangeThemOnlyAtReadBack) {
    ZorvikVardek page;
    EXPECT_EQ(page.m_bPresent, 1);
    page.m_bSuppressLedControl = 1;
    PageHost host(page);
    HWND hwnd = host.Show();
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_SLOT_POWER), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_AUTO_CONCESSION), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_LED_CONTROL), BST_CHECKED);
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_DOMAIN_PICKUP), BST_UNCHECKED);
    EXPECT_FALSE(IsApplyEnabled(host.Sheet()));

    Click(hwnd, IDC_SUPPRESS_DOMAIN_PICKUP);
    EXPECT_TRUE(IsApplyEnabled(host.Sheet()));
    EXPECT_EQ(page.m_bSuppressDomainPickup, 0);
    Click(hwnd, IDC_SUPPRESS_SLOT_POWER);
    Click(hwnd, IDC_SUPPRESS_LED_CONTROL);
    ASSERT_TRUE(page.UpdateData(TRUE));
    EXPECT_EQ(page.m_bSuppressDomainPickup, 1);
    EXPECT_EQ(page.m_bSuppressSlotPowerAtStartup, 1);
    EXPECT_EQ(page.m_bSuppressLedControl, 0);
    EXPECT_EQ(page.m_bSuppressDomainAutoConcession, 0);
}

TEST(VardekPage, EveryBoxMarksThePageModified) {
    ZorvikVardek page;
    PageHost host(page);
    HWND hwnd = host.Show();
    for (int id : {IDC_SUPPRESS_SLOT_POWER, IDC_SUPPRESS_AUTO_CONCESSION, IDC_SUPPRESS_LED_CONTROL,
                   IDC_SUPPRESS_DOMAIN_PICKUP}) {
        page.SetModified(FALSE);
        ASSERT_FALSE(IsApplyEnabled(host.Sheet()));
        Click(hwnd, id);
        EXPECT_TRUE(IsApplyEnabled(host.Sheet())) << id;
    }
}

TEST(VardekPage, ReloadNotificationPutsTheFlagsBack) {
    ZorvikVardek page;
    PageHost host(page);
    HWND hwnd = host.Show();
    Click(hwnd, IDC_SUPPRESS_AUTO_CONCESSION);
    page.m_bSuppressSlotPowerAtStartup = 1;
    ::PostMessageA(hwnd, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_AUTO_CONCESSION), BST_UNCHECKED);
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_SLOT_POWER), BST_CHECKED);
}
