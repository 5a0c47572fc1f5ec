#pragma once
// What the Physical slot numbering page and the Bridge Resource Requirements
// page share: a slot named by slot path or by Bus/Device/Function (the two
// entry-mode radio buttons, the conversion through the hot-swap driver while
// the user types, the location tests of ValidateEntry), and a list view of
// slot records whose rows keep their record's position. Add/Update, Remove,
// a click on a row and the reload notification run the same steps on both
// pages; what each page stores and shows is its own.
#include <cstdint>

#include "framework/controls.h"
#include "framework/property_page.h"
#include "pages/slots/slot_record.h"

class CLocationEntryPage : public CPropertyPage {
public:
    explicit CLocationEntryPage(UINT nIDTemplate);

    // Radio group 1012/1013: 0 = slot path, 1 = Bus/Device/Function. A click
    // on a radio button sets it at once, so that the conversion while typing
    // always runs from the fields that are enabled.
    int m_nEntryMode = 0;
    CString m_strBus;      // edit 1007
    CString m_strDevice;   // edit 1009
    CString m_strFunction; // edit 1010
    CString m_strSlotPath; // edit 1014
    // The numbers last parsed from, or shown in, the three edits.
    uint32_t m_nBusValue = NOT_GIVEN;
    uint32_t m_nDeviceValue = NOT_GIVEN;
    uint32_t m_nFunctionValue = NOT_GIVEN;

    // 0, or the id of the message that refuses the entry; the members have
    // been read from the controls.
    virtual UINT ValidateEntry() = 0;
    // Rebuilds the rows from the records and shows the selected one.
    virtual void RefreshList() = 0;

    void OnAddUpdate();
    void OnRemove();
    // A click on a row (pNotify's item, -1 for empty space), or, without a
    // notification, the first selected row: its record in the fields.
    void OnClickList(const NMITEMACTIVATE* pNotify);
    // Radio buttons: Bus/Device/Function needs the driver (message 4023).
    void OnEntryMode();
    // Converts the typed location into its other form.
    void OnEditChange(UINT nID);

    // The first selected row, -1 when none.
    int GetFirstSelectedRow() const;
    // The position a row keeps as its item data; null when there is no row.
    POSITION GetRowRecord(int nRow) const;

protected:
    BOOL OnCommand(UINT nID, UINT nCode) override;
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnControlsFilled() override;
    void OnReloadNotify() override { RefreshList(); }

    virtual CSlotRecordList& Records() = 0;
    // Puts the entry, which passed ValidateEntry, into the records.
    virtual void StoreEntry() = 0;
    // The fields before a record is shown: empty location, page defaults.
    virtual void ClearEntry() = 0;
    virtual void ShowRecord(const CSlotRecord& record) = 0;
    // The texts of a record's row, one per column.
    virtual void FormatRow(const CSlotRecord& record, CString* pTexts) = 0;

    // The location part of ValidateEntry: in Bus/Device/Function mode the
    // conversion (4021), then the ranges (4025); in slot path mode the
    // trimmed text, after one '*' where bStarAllowed: even length (4024),
    // hexadecimal digits (4022). An empty slot path passes.
    UINT ValidateLocation(bool bStarAllowed);
    // A new record with the entry's location, in the current mode.
    CSlotRecord NewLocationRecord();
    // The record's location in the members; the texts are emptied first.
    void ShowLocation(const CSlotRecord& record);
    void ClearLocation();

    // "%d/%d/%d" of a record's Bus/Device/Function, empty when it has none.
    static CString BusDeviceFunctionText(const CSlotRecord& record);

    // Columns, left aligned, with grid lines and full-row selection.
    void InsertColumns(const char* const* ppszHeadings, const int* pnWidths, int nCount);
    // The current column widths into pnWidths.
    void ReadColumnWidths(int* pnWidths, int nCount) const;
    // One row per record from head to tail, with the record's position as
    // its item data; the previous rows are deleted.
    void FillRows(int nColumns);
    void SelectRow(int nRow);

    CListCtrl m_list; // list view 1008

private:
    void EnableEntryFields(bool bByBusDeviceFunction);
};
