#include "app/zorvik_app.h"

#include "framework/message_box.h"
#include "res/resource.h"
#include "save/save_sequence.h"
#include "sheet/pending_saves.h"
#include "sheet/sheet_save_report.h"
#include "sheet/zorvik_sheet.h"

ZorvikApp::ZorvikApp() : CWinApp("Tavrel Mirandel - configuration") {
    SetRegistryKey("Tavrel Systems");
}

ZorvikApp::~ZorvikApp() = default;

BOOL ZorvikApp::InitInstance() {
    AfxEnableControlContainer();

    // Without the driver the utility still runs; only conversions and the
    // driver's notification after a save are unavailable. A service control
    // manager that cannot be reached shows later as services not found.
    if (m_kit.Open() != 0)
        AfxMessageBox(IDS_CANNOT_OPEN_DRIVER, MB_ICONSTOP | MB_OK);

    // A save that did not finish is finished (or not) before the load, so
    // that the pages show what the registry then holds.
    {
        CSheetSaveReport report;
        CSaveSequence sequence(m_kit, m_journal, report);
        OfferToFinishPendingSaves(sequence);
    }
    {
        ZorvikSheet sheet(m_kit, m_journal, IDS_SHEET_CAPTION, nullptr, 0);
        m_pMainWnd = &sheet;
        sheet.DoModal();
        m_pMainWnd = nullptr;
    }
    m_kit.Close();
    return FALSE;
}
