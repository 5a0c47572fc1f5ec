#include "pages/slots/zorvik_eq.h"

#include <cctype>

#include "pages/column_widths.h"
#include "pages/slots/slot_page_ids.h"
#include "res/resource.h"

namespace {
const char* const kHeadings[3] = {"Physical Slot", "Slot path", "Bus/Device/Function"};

int32_t SameSlot(const CSlotRecord* pRecord, POSITION, void* pContext) {
    return IsSameSlot(*pRecord, *static_cast<const CSlotRecord*>(pContext)) ? 1 : 0;
}

int32_t SortKey(const CSlotRecord& record) {
    return (record.m_dwFlags & SLOT_HAS_PHYSICAL) ? record.m_nPhysicalSlot
                                                  : static_cast<int32_t>(NOT_GIVEN);
}
} // namespace

ZorvikEq::ZorvikEq() : CLocationEntryPage(IDD_SLOTS) {}

void ZorvikEq::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_SLOT_LIST, m_list);
    DDX_Text(pDX, IDC_BUS, m_strBus);
    DDX_Text(pDX, IDC_DEVICE, m_strDevice);
    DDX_Text(pDX, IDC_FUNCTION, m_strFunction);
    DDX_Text(pDX, IDC_PHYSICAL_SLOT, m_strPhysicalSlot);
    DDX_Radio(pDX, IDC_ENTRY_SLOT_PATH, m_nEntryMode);
    DDX_Text(pDX, IDC_SLOT_PATH, m_strSlotPath);
}

BOOL ZorvikEq::OnInitDialog() {
    CLocationEntryPage::OnInitDialog();
    RECT rc;
    m_list.GetClientRect(&rc);
    int widths[3];
    for (int i = 0; i < 3; ++i)
        widths[i] = m_nColumnWidth[i] < 0 ? (rc.right - rc.left) / 3 : m_nColumnWidth[i];
    InsertColumns(kHeadings, widths, 3);
    RefreshList();
    OnEntryMode();
    return TRUE;
}

BOOL ZorvikEq::Persist(BOOL bSave) {
    if (!bSave) {
        LoadColumnWidths("ZorvikEq", 1, m_nColumnWidth, 3);
        return TRUE;
    }
    if (m_list.m_hWnd)
        ReadColumnWidths(m_nColumnWidth, 3);
    SaveColumnWidths("ZorvikEq", 1, m_nColumnWidth, 3);
    return TRUE;
}

BOOL ZorvikEq::OnKillActive() {
    ReadColumnWidths(m_nColumnWidth, 3);
    return CLocationEntryPage::OnKillActive();
}

UINT ZorvikEq::ValidateEntry() {
    if (UINT nMessage = ValidateLocation(false))
        return nMessage;
    m_strPhysicalSlot.TrimLeft();
    m_strPhysicalSlot.TrimRight();
    if (m_strPhysicalSlot.IsEmpty())
        return IDS_PHYSICAL_SLOT_EMPTY;
    for (const char* p = m_strPhysicalSlot; *p; ++p)
        if (!std::isdigit(static_cast<unsigned char>(*p)))
            return IDS_PHYSICAL_SLOT_NOT_DECIMAL;
    return 0;
}

void ZorvikEq::StoreEntry() {
    CSlotRecord record = NewLocationRecord();
    record.m_nPhysicalSlot = ParseSlotNumber(m_strPhysicalSlot);
    if (static_cast<uint32_t>(record.m_nPhysicalSlot) != NOT_GIVEN)
        record.m_dwFlags |= SLOT_HAS_PHYSICAL;

    CSlotRecord numberOnly;
    numberOnly.m_nPhysicalSlot = record.m_nPhysicalSlot;
    numberOnly.m_dwFlags = SLOT_HAS_PHYSICAL;
    POSITION found = m_slots.FindIf(SameSlot, &numberOnly);
    if (!found)
        found = m_slots.FindBySlotPath(record.GetSlotPath());
    if (found)
        m_slots.RemoveAt(found);
    m_slots.AddHead(record);
}

void ZorvikEq::ClearEntry() {
    ClearLocation();
    m_strPhysicalSlot.Empty();
}

void ZorvikEq::ShowRecord(const CSlotRecord& record) {
    m_strPhysicalSlot.Format("%d", record.m_nPhysicalSlot);
    ShowLocation(record);
}

void ZorvikEq::FormatRow(const CSlotRecord& record, CString* pTexts) {
    pTexts[0].Format("%d", record.m_nPhysicalSlot);
    pTexts[1] = record.GetSlotPath();
    pTexts[2] = BusDeviceFunctionText(record);
}

void ZorvikEq::RefreshList() {
    int nSelected = GetFirstSelectedRow();
    FillRows(3);
    m_list.SortItems(CompareByPhysicalSlot, reinterpret_cast<LPARAM>(&m_slots));
    if (nSelected < 0)
        return;
    int nCount = m_list.GetItemCount();
    if (nCount > 0)
        SelectRow(nSelected < nCount ? nSelected : nCount - 1);
    OnClickList(nullptr);
}

int CALLBACK ZorvikEq::CompareByPhysicalSlot(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    const auto* slots = reinterpret_cast<const CSlotRecordList*>(lParamSort);
    int32_t a = SortKey(slots->GetAt(reinterpret_cast<POSITION>(lParam1)));
    int32_t b = SortKey(slots->GetAt(reinterpret_cast<POSITION>(lParam2)));
    return a < b ? -1 : (a > b ? 1 : 0);
}
