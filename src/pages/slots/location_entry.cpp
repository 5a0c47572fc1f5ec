#include "pages/slots/location_entry.h"

#include <cctype>
#include <cstring>

#include "framework/message_box.h"
#include "pages/slots/slot_page_ids.h"
#include "res/resource.h"
#include "sys/kit_connections.h"
#include "sys/slot_location.h"

namespace {
CString ControlText(HWND hDlg, int nID) {
    HWND hWnd = ::GetDlgItem(hDlg, nID);
    CString text;
    int n = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, text.GetBuffer(n), n + 1);
    text.ReleaseBuffer();
    return text;
}

bool InRange(uint32_t nBus, uint32_t nDevice, uint32_t nFunction) {
    return nBus <= 255 && nDevice <= 31 && nFunction <= 7;
}
} // namespace

CLocationEntryPage::CLocationEntryPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

void CLocationEntryPage::OnAddUpdate() {
    UpdateData(TRUE);
    if (UINT nMessage = ValidateEntry()) {
        AfxMessageBeep(0xFFFFFFFF);
        AfxMessageBox(nMessage, MB_OK | MB_ICONSTOP);
        return;
    }
    StoreEntry();
    RefreshList();
    SetModified(TRUE);
}

void CLocationEntryPage::OnRemove() {
    POSITION pos = GetRowRecord(GetFirstSelectedRow());
    if (!pos)
        return;
    Records().RemoveAt(pos);
    RefreshList();
    SetModified(TRUE);
}

void CLocationEntryPage::OnClickList(const NMITEMACTIVATE* pNotify) {
    ClearEntry();
    POSITION pos = GetRowRecord(pNotify ? pNotify->iItem : GetFirstSelectedRow());
    if (pos && !Records().IsEmpty())
        ShowRecord(Records().GetAt(pos));
    UpdateData(FALSE);
}

void CLocationEntryPage::OnEntryMode() {
    bool bByBusDeviceFunction = IsDlgButtonChecked(IDC_ENTRY_BDF) == BST_CHECKED;
    if (bByBusDeviceFunction && GetKitConnections()->m_hDriver == nullptr) {
        AfxMessageBox(IDS_NO_CONVERSIONS, MB_OK | MB_ICONSTOP);
        ::CheckDlgButton(m_hWnd, IDC_ENTRY_SLOT_PATH, BST_CHECKED);
        ::CheckDlgButton(m_hWnd, IDC_ENTRY_BDF, BST_UNCHECKED);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_ENTRY_SLOT_PATH));
        bByBusDeviceFunction = false;
    }
    m_nEntryMode = bByBusDeviceFunction ? 1 : 0;
    EnableEntryFields(bByBusDeviceFunction);
}

void CLocationEntryPage::OnControlsFilled() {
    // The exchange sets the radio buttons from m_nEntryMode; the fields
    // follow them.
    EnableEntryFields(m_nEntryMode != 0);
}

void CLocationEntryPage::EnableEntryFields(bool bByBusDeviceFunction) {
    GetDlgItem(IDC_SLOT_PATH).EnableWindow(!bByBusDeviceFunction);
    GetDlgItem(IDC_BUS).EnableWindow(bByBusDeviceFunction);
    GetDlgItem(IDC_DEVICE).EnableWindow(bByBusDeviceFunction);
    GetDlgItem(IDC_FUNCTION).EnableWindow(bByBusDeviceFunction);
}

void CLocationEntryPage::OnEditChange(UINT nID) {
    if (m_nEntryMode == 0) {
        if (nID != IDC_SLOT_PATH)
            return;
        m_strSlotPath = ControlText(m_hWnd, IDC_SLOT_PATH);
        bool bResolved = ConvertSlotLocation(&m_nBusValue, &m_nDeviceValue, &m_nFunctionValue,
                                             m_strSlotPath, false);
        // Each write raises a change of an edit this mode does not convert from.
        SetDlgItemText(IDC_BUS, bResolved ? FormatDecimal(m_nBusValue) : CString());
        SetDlgItemText(IDC_DEVICE, bResolved ? FormatDecimal(m_nDeviceValue) : CString());
        SetDlgItemText(IDC_FUNCTION, bResolved ? FormatDecimal(m_nFunctionValue) : CString());
        return;
    }
    if (nID != IDC_BUS && nID != IDC_DEVICE && nID != IDC_FUNCTION)
        return;
    m_strBus = ControlText(m_hWnd, IDC_BUS);
    m_strDevice = ControlText(m_hWnd, IDC_DEVICE);
    m_strFunction = ControlText(m_hWnd, IDC_FUNCTION);
    m_nBusValue = ParseLocationNumber(m_strBus);
    m_nDeviceValue = ParseLocationNumber(m_strDevice);
    m_nFunctionValue = ParseLocationNumber(m_strFunction);
    // Only a whole, valid triple is shown as a slot path: while the user is
    // still typing it, a half-typed one would name some other slot.
    bool bResolved =
        InRange(m_nBusValue, m_nDeviceValue, m_nFunctionValue) &&
        ConvertSlotLocation(&m_nBusValue, &m_nDeviceValue, &m_nFunctionValue, m_strSlotPath, true);
    SetDlgItemText(IDC_SLOT_PATH, bResolved ? m_strSlotPath : CString());
}

UINT CLocationEntryPage::ValidateLocation(bool bStarAllowed) {
    if (m_nEntryMode != 0) {
        m_nBusValue = ParseLocationNumber(m_strBus);
        m_nDeviceValue = ParseLocationNumber(m_strDevice);
        m_nFunctionValue = ParseLocationNumber(m_strFunction);
        if (!ConvertSlotLocation(&m_nBusValue, &m_nDeviceValue, &m_nFunctionValue, m_strSlotPath,
                                 true))
            return IDS_CANNOT_RESOLVE_BDF;
        if (!InRange(m_nBusValue, m_nDeviceValue, m_nFunctionValue))
            return IDS_INVALID_BDF;
        return 0;
    }
    m_strSlotPath.TrimLeft();
    m_strSlotPath.TrimRight();
    const char* pszDigits = m_strSlotPath;
    if (bStarAllowed && *pszDigits == '*')
        ++pszDigits;
    if (std::strlen(pszDigits) % 2 != 0)
        return IDS_SLOT_PATH_ODD;
    for (const char* p = pszDigits; *p; ++p)
        if (!std::isxdigit(static_cast<unsigned char>(*p)))
            return IDS_SLOT_PATH_NOT_HEX;
    return 0;
}

CSlotRecord CLocationEntryPage::NewLocationRecord() {
    // A new record's location is formed as a load forms it: the triple
    // resolved to its slot path, or the slot path resolved to its triple.
    CSlotRecordList scratch;
    POSITION pos =
        m_nEntryMode == 0
            ? scratch.AddHeadNew(NOT_GIVEN, m_strSlotPath, NOT_GIVEN, NOT_GIVEN, NOT_GIVEN)
            : scratch.AddHeadNew(NOT_GIVEN, CString(), ParseLocationNumber(m_strBus),
                                 ParseLocationNumber(m_strDevice),
                                 ParseLocationNumber(m_strFunction));
    return scratch.GetAt(pos);
}

void CLocationEntryPage::ClearLocation() {
    m_strFunction.Empty();
    m_strDevice.Empty();
    m_strBus.Empty();
    m_strSlotPath.Empty();
}

void CLocationEntryPage::ShowLocation(const CSlotRecord& record) {
    m_strSlotPath = record.GetSlotPath();
    bool bKnown = (record.m_dwFlags & SLOT_HAS_BDF) != 0;
    m_nBusValue = bKnown ? record.m_nBus : NOT_GIVEN;
    m_nDeviceValue = bKnown ? record.m_nDevice : NOT_GIVEN;
    m_nFunctionValue = bKnown ? record.m_nFunction : NOT_GIVEN;
    if (m_nBusValue != NOT_GIVEN) {
        m_strBus = FormatDecimal(m_nBusValue);
        m_strDevice = FormatDecimal(m_nDeviceValue);
        m_strFunction = FormatDecimal(m_nFunctionValue);
    }
}

int CLocationEntryPage::GetFirstSelectedRow() const {
    return m_list.GetNextItem(-1, LVNI_SELECTED);
}

POSITION CLocationEntryPage::GetRowRecord(int nRow) const {
    if (nRow < 0 || nRow >= m_list.GetItemCount())
        return nullptr;
    return reinterpret_cast<POSITION>(m_list.GetItemData(nRow));
}

void CLocationEntryPage::InsertColumns(const char* const* ppszHeadings, const int* pnWidths,
                                       int nCount) {
    for (int i = 0; i < nCount; ++i)
        m_list.InsertColumn(i, ppszHeadings[i], LVCFMT_LEFT, pnWidths[i]);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}

void CLocationEntryPage::ReadColumnWidths(int* pnWidths, int nCount) const {
    for (int i = 0; i < nCount; ++i)
        pnWidths[i] = m_list.GetColumnWidth(i);
}

CString CLocationEntryPage::BusDeviceFunctionText(const CSlotRecord& record) {
    CString text;
    if ((record.m_dwFlags & SLOT_HAS_BDF) && record.m_nBus != NOT_GIVEN)
        text.Format("%d/%d/%d", static_cast<int>(record.m_nBus), static_cast<int>(record.m_nDevice),
                    static_cast<int>(record.m_nFunction));
    return text;
}

void CLocationEntryPage::FillRows(int nColumns) {
    m_list.DeleteAllItems();
    CSlotRecordList& records = Records();
    for (POSITION pos = records.GetHeadPosition(); pos;) {
        POSITION here = pos;
        CString texts[8];
        FormatRow(records.GetNext(pos), texts);
        int nRow =
            m_list.InsertItem(m_list.GetItemCount(), texts[0], reinterpret_cast<LPARAM>(here));
        for (int i = 1; i < nColumns && i < 8; ++i)
            m_list.SetItemText(nRow, i, texts[i]);
    }
}

void CLocationEntryPage::SelectRow(int nRow) {
    m_list.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_list.EnsureVisible(nRow, FALSE);
}

BOOL CLocationEntryPage::OnCommand(UINT nID, UINT nCode) {
    if (nCode == BN_CLICKED) {
        switch (nID) {
        case IDC_ADD_UPDATE:
            OnAddUpdate();
            return TRUE;
        case IDC_REMOVE:
            OnRemove();
            return TRUE;
        case IDC_ENTRY_SLOT_PATH:
        case IDC_ENTRY_BDF:
            OnEntryMode();
            return TRUE;
        default:
            return FALSE;
        }
    }
    if (nCode == EN_CHANGE) {
        OnEditChange(nID);
        return TRUE;
    }
    return FALSE;
}

BOOL CLocationEntryPage::OnMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
    if (msg != WM_NOTIFY)
        return FALSE;
    const auto* pnmh = reinterpret_cast<const NMHDR*>(lParam);
    if (pnmh->idFrom != IDC_SLOT_LIST)
        return FALSE;
    switch (pnmh->code) {
    case NM_CLICK:
        OnClickList(reinterpret_cast<const NMITEMACTIVATE*>(lParam));
        *pResult = 0;
        return TRUE;
    case NM_DBLCLK:
        // The click before it has shown the row; nothing more.
        *pResult = 0;
        return TRUE;
    default:
        return FALSE;
    }
}
