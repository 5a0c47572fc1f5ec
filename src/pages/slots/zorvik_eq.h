#pragma once
// Physical slot numbering page: which physical slot number the hot-swap
// driver gives to which slot. The parameter store fills and reads m_slots.
#include "pages/slots/location_entry.h"

class ZorvikEq : public CLocationEntryPage {
public:
    ZorvikEq(CLocationResolver& resolver, CLocationResolver& locations);

    CSlotRecordList m_slots;   // new records go in at the head
    CString m_strPhysicalSlot; // edit 1006

    // The column widths from (FALSE) or into (TRUE) the user's profile.
    BOOL Persist(BOOL bSave);

    UINT ValidateEntry() override;
    // Rows in ascending physical slot order; the selection stays at its
    // index (or moves to the last row) and is shown in the fields.
    void RefreshList() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // Replaces every record of the same number, else the one of the same
    // slot, and adds the new one at the head.
    void StoreEntry() override;
    void OnClickList(const NMITEMACTIVATE* pNotify) override;

private:
    static int CALLBACK CompareByPhysicalSlot(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
};
