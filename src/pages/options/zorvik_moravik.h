#pragma once
// System board service page: the service's mode, time-outs and time-out
// action, and its state with Start and Stop.
#include "framework/controls.h"
#include "framework/property_page.h"
#include "model/parameters.h"

class CServiceControl;

class ZorvikMoravik : public CPropertyPage, public CSystemBoardParameters {
public:
    explicit ZorvikMoravik(CServiceControl& services);

    CEdit m_editPollInterval;
    CEdit m_editTimeout;
    CSpinButtonCtrl m_spinPollInterval;
    CSpinButtonCtrl m_spinTimeout;
    int m_nTimeoutActionChoice;
    int m_nModeChoice;
    CString m_strStatus;

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

    CServiceControl& m_services;
};
