#include "pages/options/zorvik_moravik.h"

#include "res/resource.h"
#include "sys/service_control.h"

namespace {
struct StatusRow {
    DWORD state;
    const char* text;
    BOOL canStart;
    BOOL canStop;
};

const StatusRow kStatusRows[] = {
    {SERVICE_STOPPED, "Service is not running", TRUE, FALSE},
    {SERVICE_START_PENDING, "Service is starting", FALSE, TRUE},
    {SERVICE_STOP_PENDING, "Service is stopping", TRUE, FALSE},
    {SERVICE_RUNNING, "Service is running", FALSE, TRUE},
    {SERVICE_CONTINUE_PENDING, "Service continue is pending", FALSE, TRUE},
    {SERVICE_PAUSE_PENDING, "Service pause is pending", TRUE, TRUE},
    {SERVICE_PAUSED, "Service is paused", TRUE, TRUE},
};
const StatusRow kUnknownStatus = {0, "Cannot determine current state of the service", FALSE, FALSE};
} // namespace

ZorvikMoravik::ZorvikMoravik(CServiceControl& services)
    : CPropertyPage(IDD_MORAVIK), m_nTimeoutActionChoice(2), m_nModeChoice(0),
      m_services(services) {}

void ZorvikMoravik::DoDataExchange(CDataExchange* pDX) {
    if (!pDX->m_bSaveAndValidate) {
        m_nModeChoice = static_cast<int>(m_dwMode);
        m_nTimeoutActionChoice = static_cast<int>(m_dwTimeoutAction);
    }
    DDX_Control(pDX, IDC_POLL_INTERVAL, m_editPollInterval);
    DDX_Control(pDX, IDC_TIMEOUT, m_editTimeout);
    DDX_Control(pDX, IDC_POLL_INTERVAL_SPIN, m_spinPollInterval);
    DDX_Control(pDX, IDC_TIMEOUT_SPIN, m_spinTimeout);
    DDX_Radio(pDX, IDC_ACTION_NOTHING, m_nTimeoutActionChoice);
    DDX_Text(pDX, IDC_TIMEOUT, m_dwTimeout);
    DDX_Text(pDX, IDC_POLL_INTERVAL, m_dwPollInterval);
    DDX_Radio(pDX, IDC_MODE_CONCESSION, m_nModeChoice);
    DDX_Text(pDX, IDC_SERVICE_STATUS, m_strStatus);
    // A field that failed ends the exchange before this point, and the stored
    // mode and action then keep their values. So do stored values that no
    // button stands for, which leave every button of their group unchecked.
    if (pDX->m_bSaveAndValidate && !pDX->Failed()) {
        if (m_nModeChoice >= 0)
            m_dwMode = static_cast<DWORD>(m_nModeChoice);
        if (m_nTimeoutActionChoice >= 0)
            m_dwTimeoutAction = static_cast<DWORD>(m_nTimeoutActionChoice);
    }
}

BOOL ZorvikMoravik::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_spinTimeout.SetRange32(0, INTERVAL_LARGEST);
    m_spinPollInterval.SetRange32(0, INTERVAL_LARGEST);
    return TRUE;
}

BOOL ZorvikMoravik::OnSetActive() {
    SetTimer(STATUS_TIMER_ID, STATUS_TIMER_PERIOD);
    RefreshStatus();
    return CPropertyPage::OnSetActive();
}

BOOL ZorvikMoravik::OnKillActive() {
    KillTimer(STATUS_TIMER_ID);
    return CPropertyPage::OnKillActive();
}

void ZorvikMoravik::OnControlsFilled() { ApplyEnablingRule(); }

void ZorvikMoravik::ApplyEnablingRule() {
    // Concession is the default mode, and so stands for a stored mode that no
    // button shows.
    BOOL concession = IsDlgButtonChecked(IDC_MODE_REQUEST) != BST_CHECKED;
    GetDlgItem(IDC_ACTION_NOTHING).EnableWindow(concession);
    GetDlgItem(IDC_ACTION_CONCEDE).EnableWindow(concession);
    GetDlgItem(IDC_ACTION_RESTORE).EnableWindow(concession);
    GetDlgItem(IDC_TIMEOUT).EnableWindow(concession);
    GetDlgItem(IDC_TIMEOUT_SPIN).EnableWindow(concession);
    GetDlgItem(IDC_POLL_INTERVAL).EnableWindow(!concession);
    GetDlgItem(IDC_POLL_INTERVAL_SPIN).EnableWindow(!concession);
}

void ZorvikMoravik::RefreshStatus() {
    DWORD state = 0xFFFFFFFF;
    m_services.QueryState(SYSTEM_BOARD_SERVICE, &state);
    const StatusRow* row = &kUnknownStatus;
    for (const StatusRow& candidate : kStatusRows)
        if (candidate.state == state)
            row = &candidate;
    m_strStatus = row->text;
    SetDlgItemText(IDC_SERVICE_STATUS, m_strStatus);
    HWND focus = ::GetFocus();
    CWnd start = GetDlgItem(IDC_START_SERVICE), stop = GetDlgItem(IDC_STOP_SERVICE);
    start.EnableWindow(row->canStart);
    stop.EnableWindow(row->canStop);
    // A button that disables itself would keep the focus where the keyboard
    // cannot leave it: the focus goes to the other one, or on.
    if ((focus == start && !row->canStart) || (focus == stop && !row->canStop)) {
        if (row->canStart || row->canStop)
            GotoDlgCtrl(row->canStart ? IDC_START_SERVICE : IDC_STOP_SERVICE);
        else
            GotoDlgCtrl(0);
    }
}

BOOL ZorvikMoravik::OnCommand(UINT nID, UINT nCode) {
    if (nCode == BN_CLICKED) {
        switch (nID) {
        case IDC_MODE_CONCESSION:
        case IDC_MODE_REQUEST:
            ApplyEnablingRule();
            SetModified(TRUE);
            return TRUE;
        case IDC_ACTION_NOTHING:
        case IDC_ACTION_CONCEDE:
        case IDC_ACTION_RESTORE:
            SetModified(TRUE);
            return TRUE;
        case IDC_START_SERVICE:
            m_services.Start(SYSTEM_BOARD_SERVICE);
            return TRUE;
        case IDC_STOP_SERVICE:
            m_services.Stop(SYSTEM_BOARD_SERVICE);
            return TRUE;
        default:
            return FALSE;
        }
    }
    if (nCode == EN_CHANGE && (nID == IDC_TIMEOUT || nID == IDC_POLL_INTERVAL)) {
        SetModified(TRUE);
        return TRUE;
    }
    return FALSE;
}

void ZorvikMoravik::OnTimer(UINT_PTR) { RefreshStatus(); }
