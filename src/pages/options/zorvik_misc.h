#pragma once
// Miscellaneous page: the hot-swap driver's timings and the surprise-removal
// scan.
#include "framework/controls.h"
#include "framework/property_page.h"

class ZorvikMisc : public CPropertyPage {
public:
    ZorvikMisc();

    CSpinButtonCtrl m_spinPollingRate;
    CSpinButtonCtrl m_spinDisconnectTimeout;
    CSpinButtonCtrl m_spinInsertBeforeEject;
    DWORD m_dwDisconnectTimeout; // "DisconnectRetryInterval", milliseconds
    DWORD m_dwPollingRate;       // "StallInterval", milliseconds
    DWORD m_dwInsertBeforeEject; // "InsertBeforeEjectInterval", milliseconds
    int m_bScanSurpriseRemoval;  // "NoScanForSurpriseRemoval", inverted

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    void OnControlsFilled() override;

private:
    void OnChangePollingRate();
};
