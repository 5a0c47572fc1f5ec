#pragma once
// Hot-swap controller page: four behaviour flags of the controller driver.
#include "framework/property_page.h"
#include "model/parameters.h"

class ZorvikVardek : public CPropertyPage, public CControllerParameters {
public:
    ZorvikVardek();

    int m_bPresent; // set by the sheet: the controller library opened a session

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
};
