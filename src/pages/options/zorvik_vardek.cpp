#include "pages/options/zorvik_vardek.h"

#include "res/resource.h"

ZorvikVardek::ZorvikVardek() : CPropertyPage(IDD_VARDEK), m_bPresent(1) {}

void ZorvikVardek::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, IDC_SUPPRESS_AUTO_CONCESSION, m_bSuppressDomainAutoConcession);
    DDX_Check(pDX, IDC_SUPPRESS_DOMAIN_PICKUP, m_bSuppressDomainPickup);
    DDX_Check(pDX, IDC_SUPPRESS_LED_CONTROL, m_bSuppressLedControl);
    DDX_Check(pDX, IDC_SUPPRESS_SLOT_POWER, m_bSuppressSlotPowerAtStartup);
}

BOOL ZorvikVardek::OnCommand(UINT nID, UINT nCode) {
    switch (nID) {
    case IDC_SUPPRESS_SLOT_POWER:
    case IDC_SUPPRESS_AUTO_CONCESSION:
    case IDC_SUPPRESS_LED_CONTROL:
    case IDC_SUPPRESS_DOMAIN_PICKUP:
        if (nCode == BN_CLICKED) {
            SetModified(TRUE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
