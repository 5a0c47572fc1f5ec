// Loading the parameters into the pages, and saving them: writing every
// parameter back and telling the drivers and the system board service to
// take them up.
#include "framework/message_box.h"
#include "res/resource.h"
#include "sheet/zorvik_sheet.h"
#include "sys/hotswap_driver.h"
#include "sys/kit_connections.h"

namespace {
const DWORD kRestartPauseMs = 2000;

// The error of the restart's start when the service is left not running;
// 0 when it runs again, was not running, or never stopped (a refused stop
// goes unreported).
DWORD RestartSystemBoardServiceIfRunning(CServiceControl& services) {
    DWORD state = 0;
    if (services.QueryState(SYSTEM_BOARD_SERVICE, &state) != 0 || state != SERVICE_RUNNING)
        return 0;
    CWnd::BeginWaitCursor();
    services.Stop(SYSTEM_BOARD_SERVICE);
    ::Sleep(kRestartPauseMs);
    DWORD error = services.Start(SYSTEM_BOARD_SERVICE);
    CWnd::EndWaitCursor();
    if (error != 0 && services.QueryState(SYSTEM_BOARD_SERVICE, &state) == 0 &&
        (state == SERVICE_RUNNING || state == SERVICE_START_PENDING))
        return 0;
    return error;
}

// A service that was stopped for the restart and did not start again is no
// longer running: the administrator has to know.
void ReportServiceNotRestarted(DWORD error) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_SERVICE_NOT_RESTARTED, SYSTEM_BOARD_SERVICE,
                        static_cast<const char*>(GetErrorText(error)));
}
} // namespace

CParameterData ZorvikSheet::PageData() {
    return CParameterData{m_Misc, m_Eq, m_Res, m_MiniList, m_Moravik, m_DevRes, m_Vardek};
}

BOOL ZorvikSheet::LoadParameters() {
    return m_store.Load(PageData(), &GetKitConnections()->m_ServiceControl);
}

BOOL ZorvikSheet::SaveParameters() {
    CKitConnections* kit = GetKitConnections();

    // The hot-swap driver takes at most 256 bytes of miniport names. Refuse
    // before anything is written, rather than store a cut list.
    size_t namesSize = FormatMiniportNames(m_MiniList.m_miniports).size();
    if (namesSize > MINIPORTS_VALUE_LIMIT) {
        AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORTS_TOO_LONG,
                            static_cast<int>(namesSize));
        return FALSE;
    }

    if (!m_store.BeginWrite()) {
        AfxMessageBox("Cannot open registry for write", MB_ICONSTOP | MB_OK);
        return FALSE;
    }
    // The miniports are installed once the save is sure to go ahead, before
    // any parameter names them to the driver.
    m_MiniList.InstallMiniports(kit->m_ServiceControl);

    bool bService = kit->m_ServiceControl.Exists(SYSTEM_BOARD_SERVICE);
    m_store.Write(PageData(), m_VardekLibrary.IsAvailable() != FALSE, bService);
    DWORD restartError = 0;
    if (bService)
        restartError = RestartSystemBoardServiceIfRunning(kit->m_ServiceControl);

    if (kit->m_hDriver) {
        DWORD returned = 0;
        if (!::DeviceIoControl(kit->m_hDriver, IOCTL_HOTSWAP_UPDATE_PARAMETERS, nullptr, 0, nullptr,
                               0, &returned, nullptr))
            AfxMessageBox(IDS_CANNOT_UPDATE_DRIVER, MB_ICONSTOP | MB_OK);
    }

    // The request goes through a session of its own; a session that cannot
    // be opened is the failed availability test, and nothing is sent.
    if (m_Vardek.m_bPresent)
        m_VardekLibrary.SendUpdateParameters();

    m_store.CloseKeys();
    if (restartError != 0)
        ReportServiceNotRestarted(restartError);
    return TRUE;
}
