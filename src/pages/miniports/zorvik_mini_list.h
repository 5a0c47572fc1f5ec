#pragma once
// Alternate HS-CSR Drivers page: the miniports the hot-swap driver uses, in
// its order. The parameter store fills and reads m_miniports, and installs
// them when the sheet saves.
#include "framework/controls.h"
#include "framework/property_page.h"
#include "model/miniport_record.h"
#include "pages/miniports/hex_edit.h"
#include "pages/record_list_view.h"

class CServiceControl;

class ZorvikMiniList : public CListPage {
public:
    explicit ZorvikMiniList(CServiceControl& services);

    // The column widths from (FALSE) or into (TRUE) the user's profile. The
    // save writes the widths as the page was given or defaulted them:
    // widths the user gives the columns are not kept.
    BOOL Persist(BOOL bSave);
    CMiniportList m_miniports;
    CHexEdit m_editRestrictions;
    CString m_strDescription;
    CString m_strFile;
    CString m_strServiceName;
    CString m_strRestrictions;
    int m_bCopyFile;
    CString m_strDriversDir; // where Browse starts: the system's drivers directory

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void OnBrowse();
    void OnChangeServiceName();
    void OnAddUpdate();
    void OnRemove();
    void RefreshList() override;
    // The record of the given row into the fields; without one (-1, as for a
    // click beside the rows) the fields keep what the user may have typed.
    void ShowSelected(int nItem);

    CServiceControl& m_services;
    CRecordListView<CMiniportRecord> m_rows; // list view 1021
};
