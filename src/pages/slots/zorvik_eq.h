#pragma once
// Physical slot numbering page: which physical slot number the hot-swap
// driver gives to which slot. The parameter store fills and reads m_slots.
#include "pages/slots/location_entry.h"

class ZorvikEq : public CLocationEntryPage {
public:
    ZorvikEq();

    CSlotRecordList m_slots;   // new records go in at the head
    CString m_strPhysicalSlot; // edit 1006
    // Widths of the three columns; -1: a third of the list each.
    int m_nColumnWidth[3] = {-1, -1, -1};

    // The column widths from (FALSE) or into (TRUE) the user's profile.
    BOOL Persist(BOOL bSave);

    UINT ValidateEntry() override;
    // Rows in ascending physical slot order; the selection stays at its
    // index (or moves to the last row) and is shown in the fields.
    void RefreshList() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;

    CSlotRecordList& Records() override { return m_slots; }
    // Replaces the record of the same number, else the one of the same slot,
    // and adds the new one at the head.
    void StoreEntry() override;
    void ClearEntry() override;
    void ShowRecord(const CSlotRecord& record) override;
    void FormatRow(const CSlotRecord& record, CString* pTexts) override;

private:
    static int CALLBACK CompareByPhysicalSlot(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
};
