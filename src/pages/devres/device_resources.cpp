#include "pages/devres/device_resources.h"

#include <string>

#include "framework/message_box.h"
#include "model/field_numbers.h"
#include "res/resource.h"

namespace {

const int kBarIds[6] = {IDC_DEVRES_BAR0, IDC_DEVRES_BAR1, IDC_DEVRES_BAR2,
                        IDC_DEVRES_BAR3, IDC_DEVRES_BAR4, IDC_DEVRES_BAR5};

// The identity's edits and the members that hold their texts.
struct IdentityField {
    int nId;
    CString CDeviceResources::*pText;
};
const IdentityField kIdentity[5] = {
    {IDC_DEVRES_VENDOR_ID, &CDeviceResources::m_strVendorId},
    {IDC_DEVRES_DEVICE_ID, &CDeviceResources::m_strDeviceId},
    {IDC_DEVRES_SUBSYSTEM_VENDOR_ID, &CDeviceResources::m_strSubsystemVendorId},
    {IDC_DEVRES_SUBSYSTEM_ID, &CDeviceResources::m_strSubsystemId},
    {IDC_DEVRES_REVISION_ID, &CDeviceResources::m_strRevisionId}};

// The resource text on one line: its strings joined by ';'.
CString DisplayResources(const CDeviceRequirement& requirement) {
    std::string text = requirement.GetResourceText().str();
    for (size_t i = 0; i + 2 < text.size(); ++i) {
        if (text[i] == '\0')
            text[i] = ';';
    }
    return CString(text.c_str());
}

} // namespace

CDeviceResources::CDeviceResources() : CListPage(IDD_DEVRES), m_rows(m_requirements, 2) {
    KeepWidthsWhenLeft(m_rows.m_widths, m_rows.m_list);
}

void CDeviceResources::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_DEVRES_LIST, m_rows.m_list);
    for (int i = 0; i < 6; ++i)
        DDX_Text(pDX, kBarIds[i], m_strBars[i]);
    for (const IdentityField& field : kIdentity)
        DDX_Text(pDX, field.nId, this->*field.pText);
}

BOOL CDeviceResources::OnInitDialog() {
    CListPage::OnInitDialog();
    int nWidth = m_rows.ClientWidth();
    const int defaults[2] = {nWidth / 3 * 2, nWidth - nWidth / 3 * 2};
    const char* const headings[2] = {"Device Identification", "Device Resources"};
    m_rows.CreateColumns(defaults, headings);
    RefreshList();
    return TRUE;
}

BOOL CDeviceResources::Persist(BOOL bSave) {
    m_rows.PersistWidths(bSave, "ZorvikDevRes", 0, true, false);
    return TRUE;
}

BOOL CDeviceResources::OnCommand(UINT nID, UINT nCode) {
    if (nCode != BN_CLICKED)
        return FALSE;
    if (nID == IDC_DEVRES_ADD_UPDATE) {
        OnAddUpdate();
        return TRUE;
    }
    if (nID == IDC_DEVRES_REMOVE) {
        OnRemove();
        return TRUE;
    }
    return FALSE;
}

BOOL CDeviceResources::OnMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
    int nRow = -1;
    if (msg != WM_NOTIFY || !m_rows.RowToShow(reinterpret_cast<NMHDR*>(lParam), &nRow))
        return FALSE;
    ShowSelected(nRow);
    *pResult = 0;
    return TRUE;
}

UINT CDeviceResources::Validate() {
    bool bError = false;
    uint32_t value = ParseHexField(m_strVendorId, &bError);
    if (bError || value == 0 || value >= 0xFFFF)
        return IDS_INVALID_VENDOR_ID;
    value = ParseHexField(m_strDeviceId, &bError);
    if (bError || value > 0xFFFF)
        return IDS_INVALID_DEVICE_ID;
    value = ParseHexField(m_strSubsystemVendorId, &bError);
    if (bError || value > 0xFFFF)
        return IDS_INVALID_SUBSYSTEM_VENDOR_ID;
    value = ParseHexField(m_strSubsystemId, &bError);
    if (bError || value > 0xFFFF)
        return IDS_INVALID_SUBSYSTEM_ID;
    // The revision has no message of its own.
    value = ParseHexField(m_strRevisionId, &bError);
    if (bError || value > 0xFF)
        return IDS_INVALID_SUBSYSTEM_ID;
    bool bAnyBar = false;
    for (CString& bar : m_strBars) {
        value = ParseHexField(bar, &bError);
        if (bError)
            return IDS_INVALID_REQUIREMENT;
        bAnyBar = bAnyBar || value != 0;
    }
    return bAnyBar ? 0 : IDS_NO_REQUIREMENT;
}

void CDeviceResources::OnAddUpdate() {
    UpdateData(TRUE);
    if (UINT nIDPrompt = Validate()) {
        AfxMessageBeep(static_cast<UINT>(-1));
        AfxMessageBox(nIDPrompt, MB_OK | MB_ICONERROR);
        return;
    }
    CDeviceRequirement requirement;
    requirement.m_wVendorId = static_cast<uint16_t>(ParseHexField(m_strVendorId));
    requirement.m_wDeviceId = static_cast<uint16_t>(ParseHexField(m_strDeviceId));
    // One of the subsystem pair is enough; the other then counts as 0.
    if (!m_strSubsystemVendorId.IsEmpty() || !m_strSubsystemId.IsEmpty()) {
        requirement.m_bHasSubsystem = 1;
        requirement.m_wSubsystemVendorId =
            static_cast<uint16_t>(ParseHexField(m_strSubsystemVendorId));
        requirement.m_wSubsystemId = static_cast<uint16_t>(ParseHexField(m_strSubsystemId));
    }
    if (!m_strRevisionId.IsEmpty()) {
        requirement.m_bHasRevision = 1;
        requirement.m_byRevisionId = static_cast<uint8_t>(ParseHexField(m_strRevisionId) & 0xFF);
    }
    for (int i = 0; i < 6; ++i)
        requirement.m_dwBars[i] = ParseHexField(m_strBars[i]);
    // An entry replaces every BAR of its identity, zeros included.
    POSITION pos = m_requirements.Add(requirement, true);
    RecordsChanged();
    // The fields and the selection show the record just added or replaced.
    ShowSelected(m_rows.SelectRecord(pos));
}

void CDeviceResources::OnRemove() { RemoveSelected(m_rows); }

void CDeviceResources::ShowSelected(int nItem) {
    for (CString& bar : m_strBars)
        bar.Empty();
    for (const IdentityField& field : kIdentity)
        (this->*field.pText).Empty();

    if (POSITION pos = m_rows.GetRowRecord(nItem)) {
        const CDeviceRequirement& r = m_requirements.GetAt(pos);
        m_strVendorId.Format("%04X", static_cast<unsigned>(r.m_wVendorId));
        m_strDeviceId.Format("%04X", static_cast<unsigned>(r.m_wDeviceId));
        if (r.m_bHasSubsystem) {
            m_strSubsystemVendorId.Format("%04X", static_cast<unsigned>(r.m_wSubsystemVendorId));
            m_strSubsystemId.Format("%04X", static_cast<unsigned>(r.m_wSubsystemId));
        }
        if (r.m_bHasRevision)
            m_strRevisionId.Format("%02X", static_cast<unsigned>(r.m_byRevisionId));
        for (int i = 0; i < 6; ++i) {
            if (r.m_dwBars[i] != 0)
                m_strBars[i].Format("%X", static_cast<unsigned>(r.m_dwBars[i]));
        }
    }
    UpdateData(FALSE);
}

void CDeviceResources::RefreshList() {
    int nSelected = m_rows.Refill(
        [](const CDeviceRequirement& requirement, CString* pTexts) {
            pTexts[0] = requirement.GetIdentityText();
            pTexts[1] = DisplayResources(requirement);
        },
        [](const CString& identity) {
            AfxMessageBox(CString("InsertItem failed on: ") + identity, MB_OK);
        });
    int nCount = m_rows.GetRowCount();
    if (nCount > 0) {
        int nItem = nSelected < 0 ? 0 : (nSelected < nCount ? nSelected : nCount - 1);
        m_rows.SelectRow(nItem, LVIS_SELECTED);
    }
    ShowSelected(m_rows.GetSelectedRow());
}
