#include "pages/slots/location_entry.h"

#include "framework/message_box.h"
#include "res/resource.h"

namespace {
bool InRange(uint32_t nBus, uint32_t nDevice, uint32_t nFunction) {
    return nBus <= 255 && nDevice <= 31 && nFunction <= 7;
}
} // namespace

CLocationEntryPage::CLocationEntryPage(UINT nIDTemplate, CLocationResolver& resolver,
                                       CLocationResolver& locations, CSlotRecordList& records,
                                       int nColumns, int nLocationColumn)
    : CListPage(nIDTemplate), m_resolver(resolver), m_locations(locations), m_records(records),
      m_rows(records, nColumns) {
    m_rows.m_nColumnShownLater = nLocationColumn;
}

void CLocationEntryPage::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_SLOT_LIST, m_rows.m_list);
    DDX_Radio(pDX, IDC_ENTRY_SLOT_PATH, m_nEntryMode);
    DDX_Text(pDX, IDC_BUS, m_strBus);
    DDX_Text(pDX, IDC_DEVICE, m_strDevice);
    DDX_Text(pDX, IDC_FUNCTION, m_strFunction);
    DDX_Text(pDX, IDC_SLOT_PATH, m_strSlotPath);
}

void CLocationEntryPage::OnAddUpdate() {
    UpdateData(TRUE);
    if (UINT nMessage = ValidateEntry()) {
        AfxMessageBeep(0xFFFFFFFF);
        ShowRefusal(nMessage);
        return;
    }
    StoreEntry();
    RecordsChanged();
}

void CLocationEntryPage::OnRemove() { RemoveSelected(m_rows); }

const CSlotRecord* CLocationEntryPage::ClickedRecord(const NMITEMACTIVATE* pNotify) {
    POSITION pos = m_rows.GetRowRecord(pNotify ? pNotify->iItem : m_rows.GetSelectedRow());
    if (!pos || m_records.IsEmpty())
        return nullptr;
    CSlotRecord& record = m_records.GetAt(pos);
    record.ResolveLocation(m_locations);
    return &record;
}

void CLocationEntryPage::OnEntryMode() {
    bool bByBusDeviceFunction = IsDlgButtonChecked(IDC_ENTRY_BDF) == BST_CHECKED;
    if (bByBusDeviceFunction && !m_resolver.IsAvailable()) {
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
        m_strSlotPath = GetDlgItemText(IDC_SLOT_PATH);
        bool bResolved = m_resolver.ConvertSlotLocation(&m_nBusValue, &m_nDeviceValue,
                                                        &m_nFunctionValue, m_strSlotPath, false);
        // Each write raises a change of an edit this mode does not convert from.
        SetDlgItemText(IDC_BUS, bResolved ? FormatDecimal(m_nBusValue) : CString());
        SetDlgItemText(IDC_DEVICE, bResolved ? FormatDecimal(m_nDeviceValue) : CString());
        SetDlgItemText(IDC_FUNCTION, bResolved ? FormatDecimal(m_nFunctionValue) : CString());
        return;
    }
    if (nID != IDC_BUS && nID != IDC_DEVICE && nID != IDC_FUNCTION)
        return;
    m_strBus = GetDlgItemText(IDC_BUS);
    m_strDevice = GetDlgItemText(IDC_DEVICE);
    m_strFunction = GetDlgItemText(IDC_FUNCTION);
    m_nBusValue = ParseLocationNumber(m_strBus);
    m_nDeviceValue = ParseLocationNumber(m_strDevice);
    m_nFunctionValue = ParseLocationNumber(m_strFunction);
    // Only a whole, valid triple is shown as a slot path: while the user is
    // still typing it, a half-typed one would name some other slot.
    bool bResolved = InRange(m_nBusValue, m_nDeviceValue, m_nFunctionValue) &&
                     m_resolver.ConvertSlotLocation(&m_nBusValue, &m_nDeviceValue,
                                                    &m_nFunctionValue, m_strSlotPath, true);
    SetDlgItemText(IDC_SLOT_PATH, bResolved ? m_strSlotPath : CString());
}

UINT CLocationEntryPage::ValidateLocation(bool bStarAllowed) {
    if (m_nEntryMode != 0) {
        m_nBusValue = ParseLocationNumber(m_strBus);
        m_nDeviceValue = ParseLocationNumber(m_strDevice);
        m_nFunctionValue = ParseLocationNumber(m_strFunction);
        if (!m_resolver.ConvertSlotLocation(&m_nBusValue, &m_nDeviceValue, &m_nFunctionValue,
                                            m_strSlotPath, true))
            return IDS_CANNOT_RESOLVE_BDF;
        if (!InRange(m_nBusValue, m_nDeviceValue, m_nFunctionValue))
            return IDS_INVALID_BDF;
        return 0;
    }
    m_strSlotPath.TrimLeft();
    m_strSlotPath.TrimRight();
    switch (CheckSlotPathText(m_strSlotPath, bStarAllowed)) {
    case SlotPathTextCheck::OddLength:
        return IDS_SLOT_PATH_ODD;
    case SlotPathTextCheck::NotHex:
        return IDS_SLOT_PATH_NOT_HEX;
    default:
        return 0;
    }
}

CSlotRecord CLocationEntryPage::NewLocationRecord() {
    // A new record's location is formed as a load forms it: the triple
    // resolved to its slot path, or the slot path resolved to its triple.
    CSlotRecordList scratch;
    POSITION pos = m_nEntryMode == 0
                       ? scratch.AddHeadNew(NOT_GIVEN, m_strSlotPath, NOT_GIVEN, NOT_GIVEN,
                                            NOT_GIVEN, m_resolver)
                       : scratch.AddHeadNew(NOT_GIVEN, CString(), ParseLocationNumber(m_strBus),
                                            ParseLocationNumber(m_strDevice),
                                            ParseLocationNumber(m_strFunction), m_resolver);
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

void CLocationEntryPage::ShowRowLocation(LVITEMA& item) {
    if (!(item.mask & LVIF_TEXT) || item.iSubItem != m_rows.m_nColumnShownLater ||
        item.cchTextMax <= 0)
        return;
    item.pszText[0] = '\0';
    // A row drawn while its records change may name one that is gone.
    POSITION pos = m_rows.GetRowRecord(item.iItem);
    if (!pos || !m_records.Contains(pos))
        return;
    CSlotRecord& record = m_records.GetAt(pos);
    record.ResolveLocation(m_locations);
    ::lstrcpynA(item.pszText, BusDeviceFunctionText(record), item.cchTextMax);
}

CString CLocationEntryPage::BusDeviceFunctionText(const CSlotRecord& record) {
    CString text;
    if ((record.m_dwFlags & SLOT_HAS_BDF) && record.m_nBus != NOT_GIVEN)
        text.Format("%d/%d/%d", static_cast<int>(record.m_nBus), static_cast<int>(record.m_nDevice),
                    static_cast<int>(record.m_nFunction));
    return text;
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
    if (pnmh->hwndFrom == m_rows.m_list && pnmh->code == LVN_GETDISPINFOA) {
        ShowRowLocation(reinterpret_cast<NMLVDISPINFOA*>(lParam)->item);
        *pResult = 0;
        return TRUE;
    }
    if (pnmh->idFrom == IDC_SLOT_LIST && pnmh->code == NM_DBLCLK) {
        // The click before it has shown the row; nothing more.
        *pResult = 0;
        return TRUE;
    }
    // A row selected from the keyboard shows its record as a click does,
    // so that the fields show what Remove and Move act on.
    NMITEMACTIVATE row = {};
    if (!m_rows.RowToShow(pnmh, &row.iItem))
        return FALSE;
    OnClickList(&row);
    *pResult = 0;
    return TRUE;
}
