#pragma once
// Device Resource Requirements page: BAR requirements per PCI device
// identity. The parameter store fills and reads m_requirements.
#include "framework/controls.h"
#include "framework/property_page.h"
#include "model/device_requirement.h"
#include "pages/record_list_view.h"

class CDeviceResources : public CListPage {
public:
    CDeviceResources();

    CString m_strBars[6]; // BAR 0 to BAR 5, hexadecimal
    CString m_strDeviceId;
    CString m_strRevisionId;
    CString m_strSubsystemId;
    CString m_strSubsystemVendorId;
    CString m_strVendorId;
    CDeviceRequirementList m_requirements; // in identity order

    // The column widths from (FALSE) or into (TRUE) the user's profile; they
    // are saved only once the list exists.
    BOOL Persist(BOOL bSave);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(UINT nID, UINT nCode) override;
    BOOL OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    // 0, or the string id of the first field that is refused.
    UINT Validate();
    void OnAddUpdate();
    void OnRemove();
    // Fills the fields from the row's record; empty fields for no row (-1).
    void ShowSelected(int nItem);
    void RefreshList() override;

    CRecordListView<CDeviceRequirement> m_rows; // list view 1021
};
