#pragma once
// Alternate HS-CSR Drivers page: the miniports the hot-swap driver uses, in
// its order, and their installation as kernel-driver services when the
// sheet saves. The parameter store fills and reads m_miniports.
#include "framework/controls.h"
#include "framework/property_page.h"
#include "pages/miniports/hex_edit.h"
#include "pages/miniports/miniport_record.h"

class CServiceControl;

class ZorvikMiniList : public CPropertyPage {
public:
    ZorvikMiniList();

    // Copies and (re)creates the service of every miniport, in list order;
    // a miniport that cannot be installed is reported and the others go on.
    BOOL InstallMiniports(CServiceControl& services);

    int m_nColumnWidth[4]; // -1 in column 0: a quarter of the list each

    // The column widths from (FALSE) or into (TRUE) the user's profile. The
    // save writes the members as they are: widths the user gives the columns
    // are not kept.
    BOOL Persist(BOOL bSave);
    CMiniportList m_miniports;
    CHexEdit m_editRestrictions;
    CListCtrl m_list;
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
    void OnReloadNotify() override { RefreshList(); }

private:
    void OnBrowse();
    void OnChangeServiceName();
    void OnAddUpdate();
    void OnRemove();
    void OnMove(bool bDown);
    void RefreshList();
    // The record of the given row into the fields; without one (-1, as for a
    // click beside the rows) the fields keep what the user may have typed.
    void ShowSelected(int nItem);
    POSITION SelectedRecord(int* pnItem) const;
    void InstallMiniport(const CMiniportRecord& record, CServiceControl& services);
};
