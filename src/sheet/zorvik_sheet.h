#pragma once
// The main property sheet: owns every page and the parameter data, decides
// which pages are shown, and implements Reload, OK and Apply.
#include "framework/property_sheet.h"
#include "pages/bridges/zorvik_res.h"
#include "pages/devres/device_resources.h"
#include "pages/miniports/zorvik_mini_list.h"
#include "pages/options/zorvik_misc.h"
#include "pages/options/zorvik_moravik.h"
#include "pages/options/zorvik_vardek.h"
#include "pages/slots/zorvik_eq.h"
#include "store/parameter_store.h"

class CKit;
class CSaveJournal;

class ZorvikSheet : public CPropertySheet {
public:
    // The kit's connections are handed down to the pages and the store; the
    // journal records every save.
    ZorvikSheet(CKit& kit, CSaveJournal& journal, UINT nIDCaption, CWnd* pParentWnd = nullptr,
                UINT iSelectPage = 0);

    BOOL LoadWithWaitCursor();
    BOOL SaveWithWaitCursor();
    // Reads every page that has a window back from its controls; FALSE at
    // the first field that cannot be read, which has been named and selected
    // on its page, now the active one.
    BOOL UpdateAllPagesFromControls();

    // The parameter store's keys are open only while a load or save runs.
    BOOL LoadParameters();
    // FALSE when not every change could be written (the user has been told
    // why): the changes then stay pending.
    BOOL SaveParameters();
    // After a save: the values of the pages another program changed since
    // they were loaded. When there are any, the user is told, and offered a
    // reload when the save left nothing pending; TRUE when it was taken.
    BOOL OfferReloadAfterSave(BOOL bAllSaved);

    CKit& m_kit;
    CSaveJournal& m_journal;
    // How long a save waits for another to end.
    DWORD m_dwSaveWaitMs = 60000;
    // For tests: a save ends after this step of its record, as if the
    // program had been ended there; -1 runs every step.
    int m_nStopSaveAfter = -1;
    BOOL m_bApplyCancelled;
    BOOL m_bUpdateConfirmed;
    // The pages were reloaded after Apply saved: OK then keeps the sheet
    // open on what the registry holds.
    BOOL m_bReloadedAfterSave = FALSE;
    CParameterStore m_store;
    size_t m_nChangedElsewhere = 0;
    // The driver's answers for the records' slot paths, from one load to
    // the next.
    CResolverMemo m_locations;
    HICON m_hIcon;

    ZorvikMisc m_Misc;
    ZorvikEq m_Eq;
    ZorvikRes m_Res;
    ZorvikMiniList m_MiniList;
    ZorvikMoravik m_Moravik;
    CDeviceResources m_DevRes;
    ZorvikVardek m_Vardek;
    CPropertyPage m_About;

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CParameterData PageData();
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaintIconic();
    void OnOK();
    void OnReload();
    // The pages that have a window show their data anew.
    void RefreshPagesAfterLoad();
    void OnApplyNow();
    void SaveColumnWidths();
    BOOL IsApplyEnabled() const;
};
