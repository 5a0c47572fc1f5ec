#pragma once
// What the Physical slot numbering page and the Bridge Resource Requirements
// page share: a slot named by slot path or by Bus/Device/Function (the two
// entry-mode radio buttons, the conversion while the user types, the location
// tests of an entry), a list view of slot records, and the buttons and clicks
// that run the same steps on both pages: Add/Update (validate, store,
// refresh), Remove, a click on a row, the reload notification.
#include <cstdint>

#include "framework/controls.h"
#include "framework/message_box.h"
#include "framework/property_page.h"
#include "model/slot_record.h"
#include "pages/record_list_view.h"

class CLocationEntryPage : public CListPage {
public:
    // Typed locations convert through the resolver; the records' through
    // locations, when their Bus/Device/Function is first needed: shown in
    // the list's column nLocationColumn or in the fields, or compared with
    // an entry at Add/Update.
    CLocationEntryPage(UINT nIDTemplate, CLocationResolver& resolver, CLocationResolver& locations,
                       CSlotRecordList& records, int nColumns, int nLocationColumn);

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

    void OnAddUpdate();
    void OnRemove();
    // Radio buttons: Bus/Device/Function needs the driver (message 4023).
    void OnEntryMode();
    // Converts the typed location into its other form.
    void OnEditChange(UINT nID);

protected:
    // The list view, the entry-mode radio buttons and the location fields;
    // a page exchanges its own fields after calling this.
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnControlsFilled() override;

    // Puts the entry, which passed ValidateEntry, into the records.
    virtual void StoreEntry() = 0;
    // A click on a row (pNotify's item, -1 for empty space), or, without a
    // notification, the first selected row: its record in the fields.
    virtual void OnClickList(const NMITEMACTIVATE* pNotify) = 0;
    // The message of a refused entry, after the beep.
    virtual void ShowRefusal(UINT nMessage) { AfxMessageBox(nMessage, MB_OK | MB_ICONSTOP); }

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
    // The record of a click's row, or of the first selected row, its
    // location resolved; null for none.
    const CSlotRecord* ClickedRecord(const NMITEMACTIVATE* pNotify);

    // "%d/%d/%d" of a record's Bus/Device/Function, empty when it has none.
    static CString BusDeviceFunctionText(const CSlotRecord& record);

    CLocationResolver& m_resolver;
    CLocationResolver& m_locations;
    CSlotRecordList& m_records;
    CRecordListView<CSlotRecord> m_rows; // list view 1008

private:
    void EnableEntryFields(bool bByBusDeviceFunction);
    // The Bus/Device/Function text of a row being drawn.
    void ShowRowLocation(LVITEMA& item);
};
