#include "pages/slots/zorvik_eq.h"

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

ZorvikEq::ZorvikEq(CLocationResolver& resolver, CLocationResolver& locations)
    : CLocationEntryPage(IDD_SLOTS, resolver, locations, m_slots, 3, 2) {
    KeepWidthsWhenLeft(m_rows.m_widths, m_rows.m_list);
}

void ZorvikEq::DoDataExchange(CDataExchange* pDX) {
    CLocationEntryPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PHYSICAL_SLOT, m_strPhysicalSlot);
}

BOOL ZorvikEq::OnInitDialog() {
    CLocationEntryPage::OnInitDialog();
    int third = m_rows.ClientWidth() / 3;
    const int defaults[3] = {third, third, third};
    m_rows.CreateColumns(defaults, kHeadings);
    RefreshList();
    OnEntryMode();
    return TRUE;
}

BOOL ZorvikEq::Persist(BOOL bSave) {
    m_rows.PersistWidths(bSave, "ZorvikEq", 1, true, true);
    return TRUE;
}

UINT ZorvikEq::ValidateEntry() {
    if (UINT nMessage = ValidateLocation(false))
        return nMessage;
    m_strPhysicalSlot.TrimLeft();
    m_strPhysicalSlot.TrimRight();
    if (m_strPhysicalSlot.IsEmpty())
        return IDS_PHYSICAL_SLOT_EMPTY;
    switch (CheckPhysicalSlotText(m_strPhysicalSlot)) {
    case PhysicalSlotTextCheck::NotDecimal:
        return IDS_PHYSICAL_SLOT_NOT_DECIMAL;
    case PhysicalSlotTextCheck::OutOfRange:
        return IDS_PHYSICAL_SLOT_OUT_OF_RANGE;
    default:
        return 0;
    }
}

void ZorvikEq::StoreEntry() {
    CSlotRecord record = NewLocationRecord();
    record.m_nPhysicalSlot = ParseSlotNumber(m_strPhysicalSlot);
    if (static_cast<uint32_t>(record.m_nPhysicalSlot) != NOT_GIVEN)
        record.m_dwFlags |= SLOT_HAS_PHYSICAL;

    // One number is one slot to the driver, however its values spell it
    // ("7", "07"): the entry replaces every record of the number. Without
    // one, it replaces the record of the same slot.
    CSlotRecord numberOnly;
    numberOnly.m_nPhysicalSlot = record.m_nPhysicalSlot;
    numberOnly.m_dwFlags = SLOT_HAS_PHYSICAL;
    bool bReplaced = false;
    while (POSITION found = m_slots.FindIf(SameSlot, &numberOnly)) {
        m_slots.RemoveAt(found);
        bReplaced = true;
    }
    if (!bReplaced)
        if (POSITION found = m_slots.FindBySlotPath(record.GetSlotPath(), m_locations))
            m_slots.RemoveAt(found);
    m_slots.AddHead(record);
}

void ZorvikEq::OnClickList(const NMITEMACTIVATE* pNotify) {
    ClearLocation();
    m_strPhysicalSlot.Empty();
    if (const CSlotRecord* record = ClickedRecord(pNotify)) {
        m_strPhysicalSlot.Format("%d", record->m_nPhysicalSlot);
        ShowLocation(*record);
    }
    UpdateData(FALSE);
}

void ZorvikEq::RefreshList() {
    int nSelected = m_rows.Refill([](const CSlotRecord& record, CString* pTexts) {
        pTexts[0].Format("%d", record.m_nPhysicalSlot);
        pTexts[1] = record.GetSlotPath();
    });
    m_rows.m_list.SortItems(CompareByPhysicalSlot, reinterpret_cast<LPARAM>(&m_slots));
    if (nSelected < 0)
        return;
    int nCount = m_rows.GetRowCount();
    if (nCount > 0)
        m_rows.SelectRow(nSelected < nCount ? nSelected : nCount - 1);
    OnClickList(nullptr);
}

int CALLBACK ZorvikEq::CompareByPhysicalSlot(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
    const auto* slots = reinterpret_cast<const CSlotRecordList*>(lParamSort);
    int32_t a = SortKey(slots->GetAt(reinterpret_cast<POSITION>(lParam1)));
    int32_t b = SortKey(slots->GetAt(reinterpret_cast<POSITION>(lParam2)));
    return a < b ? -1 : (a > b ? 1 : 0);
}
