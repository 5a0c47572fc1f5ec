#include "app/zorvik_app.h"

#include "framework/message_box.h"
#include "res/resource.h"
#include "sheet/zorvik_sheet.h"
#include "sys/hotswap_driver.h"

ZorvikApp::ZorvikApp() : CWinApp("Tavrel Mirandel - configuration") {
    SetRegistryKey("Tavrel Systems");
}

ZorvikApp::~ZorvikApp() = default;

ZorvikApp* GetZorvikApp() { return static_cast<ZorvikApp*>(AfxGetApp()); }

BOOL ZorvikApp::InitInstance() {
    AfxEnableControlContainer();

    // Without the driver the utility still runs; only conversions and the
    // driver's notification after a save are unavailable.
    if (OpenHotSwapDriver(&m_hDriver) != 0)
        AfxMessageBox(IDS_CANNOT_OPEN_DRIVER, MB_ICONSTOP | MB_OK);

    // A failure shows up later as services that cannot be found.
    m_ServiceControl.Open(nullptr);

    {
        ZorvikSheet sheet(IDS_SHEET_CAPTION, nullptr, 0);
        m_pMainWnd = &sheet;
        sheet.DoModal();
        m_ServiceControl.Close();
        CloseHotSwapDriver(m_hDriver);
        m_hDriver = nullptr;
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
