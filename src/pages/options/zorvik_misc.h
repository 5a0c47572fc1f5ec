#pragma once
// Miscellaneous page: the hot-swap driver's timings and the surprise-removal
// scan.
#include "framework/controls.h"
#include "framework/property_page.h"
#include "model/parameters.h"

class ZorvikMisc : public CPropertyPage, public CMiscParameters {
public:
    ZorvikMisc();

    CSpinButtonCtrl m_spinPollingRate;
    CSpinButtonCtrl m_spinDisconnectTimeout;
    CSpinButtonCtrl m_spinInsertBeforeEject;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    void OnControlsFilled() override;

private:
    void OnChangePollingRate();
};
