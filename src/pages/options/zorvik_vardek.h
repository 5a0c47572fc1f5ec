#pragma once
// Hot-swap controller page: four behaviour flags of the controller driver.
#include "framework/property_page.h"

class ZorvikVardek : public CPropertyPage {
public:
    ZorvikVardek();

    int m_bPresent; // set by the sheet: the controller library opened a session
    int m_bSuppressDomainAutoConcession;
    int m_bSuppressDomainPickup;
    int m_bSuppressLedControl;
    int m_bSuppressSlotPowerAtStartup;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
};
