#pragma once
// Bridge Resource Requirements page: the windows and switches of each PCI
// bridge. The parameter store fills and reads m_bridges.
#include "pages/slots/location_entry.h"
#include "sys/controller_library.h"

class ZorvikRes : public CLocationEntryPage {
public:
    ZorvikRes(CLocationResolver& resolver, CLocationResolver& locations, CVardekLibrary& library);

    CSlotRecordList m_bridges; // in slot path order after a load
    CButton m_btnNoReset;      // check box 1125, hidden without the library
    int m_bDynamicBusAssignment = 0;
    CString m_strIoSize, m_strIoFrom, m_strIoTo, m_strIoAlign;
    CString m_strMemSize, m_strMemFrom, m_strMemTo, m_strMemAlign;
    CString m_strPrefSize, m_strPrefFrom, m_strPrefTo, m_strPrefAlign;
    int m_bNoResetSecondaryBus = 0;

    // The column widths and the entry mode from (FALSE) or into (TRUE) the
    // user's profile; the widths are saved only once the list exists.
    BOOL Persist(BOOL bSave);
    // The default windows and the tick in 1125 appear on the first
    // initialisation only.
    int m_bFirstInit = 1;

    UINT ValidateEntry() override;
    // Rows in list order; the selection stays at its index, moves one row
    // up when that is past the end, or goes to row 0 when there was none.
    void RefreshList() override;
    // The selected record changes places with its neighbour; a beep when no
    // row is selected.
    void OnMoveDown();
    void OnMoveUp();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;

    // Replaces the record of the same slot in place, or inserts the new one
    // at its slot path place.
    void StoreEntry() override;
    void OnClickList(const NMITEMACTIVATE* pNotify) override;
    void ShowRefusal(UINT nMessage) override;

private:
    void SetHex16Text(int nID, uint32_t nValue);
    void SetHex32Text(int nID, uint32_t nValue);

    // The field a window refusal names.
    CString m_strRefused;
    // The availability test of the no-reset switch (a fresh session each time).
    CVardekLibrary& m_library;
};
