#pragma once
// System board service page: the service's mode, time-outs and time-out
// action, and its state with Start and Stop.
#include "framework/controls.h"
#include "framework/property_page.h"

class ZorvikMoravik : public CPropertyPage {
public:
    ZorvikMoravik();

    CEdit m_editPollInterval;
    CEdit m_editTimeout;
    CSpinButtonCtrl m_spinPollInterval;
    CSpinButtonCtrl m_spinTimeout;
    int m_nTimeoutActionChoice;
    DWORD m_dwTimeout;      // "Timeout", milliseconds
    DWORD m_dwPollInterval; // "SpyPollTimeout", milliseconds
    int m_nModeChoice;
    CString m_strStatus;
    DWORD m_dwMode;          // "Mode": 0 concession, 1 request
    DWORD m_dwTimeoutAction; // "TimeoutAction": 0, 1 or 2

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    void OnTimer(UINT_PTR nIDEvent) override;
    void OnControlsFilled() override;

private:
    void ApplyEnablingRule();
    void RefreshStatus();
};
