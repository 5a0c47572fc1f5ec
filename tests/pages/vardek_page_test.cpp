// The Hot-swap controller page: four flags on check boxes.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "pages/options/zorvik_vardek.h"
#include "support/page_host.h"

TEST(VardekPage, BoxesShowTheFlagsAndClicksChangeThemOnlyAtReadBack) {
    ZorvikVardek page;
    page.m_bSuppressLedControl = 1;
    PageHost host(page);
    HWND hwnd = host.Show();
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_LED_CONTROL), BST_CHECKED);
    EXPECT_EQ(GetCheck(hwnd, IDC_SUPPRESS_DOMAIN_PICKUP), BST_UNCHECKED);
    EXPECT_FALSE(IsApplyEnabled(host.Sheet()));

    for (int id : {IDC_SUPPRESS_SLOT_POWER, IDC_SUPPRESS_AUTO_CONCESSION, IDC_SUPPRESS_LED_CONTROL,
                   IDC_SUPPRESS_DOMAIN_PICKUP}) {
        page.SetModified(FALSE);
        Click(hwnd, id);
        EXPECT_TRUE(IsApplyEnabled(host.Sheet())) << id;
    }
    EXPECT_EQ(page.m_bSuppressDomainPickup, 0);
    ASSERT_TRUE(page.UpdateData(TRUE));
    EXPECT_EQ(page.m_bSuppressSlotPowerAtStartup, 1);
    EXPECT_EQ(page.m_bSuppressDomainAutoConcession, 1);
    EXPECT_EQ(page.m_bSuppressLedControl, 0);
    EXPECT_EQ(page.m_bSuppressDomainPickup, 1);
}
