#include "pages/options/zorvik_misc.h"

#include "res/resource.h"

ZorvikMisc::ZorvikMisc() : CPropertyPage(IDD_MISC) {}

void ZorvikMisc::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_POLLING_RATE_SPIN, m_spinPollingRate);
    DDX_Control(pDX, IDC_DISCONNECT_TIMEOUT_SPIN, m_spinDisconnectTimeout);
    DDX_Control(pDX, IDC_INSERT_BEFORE_EJECT_SPIN, m_spinInsertBeforeEject);
    DDX_Text(pDX, IDC_DISCONNECT_TIMEOUT, m_dwDisconnectTimeout);
    DDX_Text(pDX, IDC_POLLING_RATE, m_dwPollingRate);
    DDX_Text(pDX, IDC_INSERT_BEFORE_EJECT, m_dwInsertBeforeEject);
    DDX_Check(pDX, IDC_SCAN_SURPRISE_REMOVAL, m_bScanSurpriseRemoval);
}

BOOL ZorvikMisc::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    m_spinPollingRate.SetRange32(0, STALL_INTERVAL_LARGEST);
    m_spinDisconnectTimeout.SetRange32(0, INTERVAL_LARGEST);
    m_spinInsertBeforeEject.SetRange32(0, INTERVAL_LARGEST);
    return TRUE;
}

BOOL ZorvikMisc::OnCommand(UINT nID, UINT nCode) {
    if ((nID == IDC_DISCONNECT_TIMEOUT || nID == IDC_INSERT_BEFORE_EJECT) && nCode == EN_CHANGE) {
        SetModified(TRUE);
        return TRUE;
    }
    if (nID == IDC_SCAN_SURPRISE_REMOVAL && nCode == BN_CLICKED) {
        SetModified(TRUE);
        return TRUE;
    }
    if (nID == IDC_POLLING_RATE && nCode == EN_CHANGE) {
        OnChangePollingRate();
        return TRUE;
    }
    return FALSE;
}

void ZorvikMisc::OnControlsFilled() {
    // Scanning can be switched off only while the driver does not poll.
    GetDlgItem(IDC_SCAN_SURPRISE_REMOVAL).EnableWindow(m_dwPollingRate == 0);
}

void ZorvikMisc::OnChangePollingRate() {
    SetModified(TRUE);
    if (!m_spinPollingRate.m_hWnd)
        return;
    // While the user types, a rate that cannot be read yet (an emptied field)
    // changes nothing and says nothing: the fields are read, and a bad one
    // named, when the page is left or applied.
    uint32_t nRate = 0;
    if (!ParseUnsignedDecimal(GetDlgItemText(IDC_POLLING_RATE), nRate))
        return;
    CButton scan;
    scan.Attach(GetDlgItem(IDC_SCAN_SURPRISE_REMOVAL));
    if (nRate != 0) {
        // A polling driver always scans; the flag follows at the next read-back.
        scan.EnableWindow(FALSE);
        scan.SetCheck(BST_CHECKED);
    } else {
        scan.EnableWindow(TRUE);
    }
}
