// Writing every parameter back and telling the drivers and the system board
// service to take them up.
#include "app/zorvik_app.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "sheet/zorvik_sheet.h"
#include "store/list_store.h"
#include "store/registry_layout.h"
#include "store/registry_values.h"
#include "sys/hotswap_driver.h"

namespace {
const DWORD kRestartPauseMs = 2000;

void RestartSystemBoardServiceIfRunning(CServiceControl& services) {
    DWORD state = 0;
    if (services.QueryState(SYSTEM_BOARD_SERVICE, &state) != 0 || state != SERVICE_RUNNING)
        return;
    CWnd::BeginWaitCursor();
    services.Stop(SYSTEM_BOARD_SERVICE);
    ::Sleep(kRestartPauseMs);
    services.Start(SYSTEM_BOARD_SERVICE);
    CWnd::EndWaitCursor();
}
} // namespace

BOOL ZorvikSheet::SaveParameters() {
    ZorvikApp* app = GetZorvikApp();

    // The hot-swap driver takes at most 256 bytes of miniport names. Refuse
    // before anything is written, rather than store a cut list.
    size_t namesSize = FormatMiniportNames(m_MiniList.m_miniports).size();
    if (namesSize > MINIPORTS_VALUE_LIMIT) {
        CString format, text;
        format.LoadString(IDS_MINIPORTS_TOO_LONG);
        text.Format(format, static_cast<int>(namesSize));
        AfxMessageBox(text, MB_ICONSTOP | MB_OK);
        return FALSE;
    }

    // The list keys are cleared only once the keys are known to open, so that
    // a save that cannot write leaves the stored lists as they were.
    bool canWrite = OpenKeys() != FALSE;
    CloseKeys();
    if (canWrite) {
        for (const char* path : kListKeyPaths)
            ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
        canWrite = OpenKeys() != FALSE;
    }
    if (!canWrite) {
        CloseKeys();
        AfxMessageBox("Cannot open registry for write", MB_ICONSTOP | MB_OK);
        return FALSE;
    }

    // The miniports are installed once the save is sure to go ahead, before
    // any parameter names them to the driver.
    m_MiniList.InstallMiniports(app->m_ServiceControl);

    HKEY quarnel = m_hKeys[KEY_QUARNEL];
    WriteScalar(quarnel, "StallInterval", m_Misc.m_dwPollingRate);
    WriteScalar(quarnel, "DisconnectRetryInterval", m_Misc.m_dwDisconnectTimeout);
    WriteScalar(quarnel, "InsertBeforeEjectInterval", m_Misc.m_dwInsertBeforeEject);
    if (m_Misc.m_bScanSurpriseRemoval == 0)
        WriteScalar(quarnel, "NoScanForSurpriseRemoval", 1);
    else
        ::RegDeleteValueA(quarnel, "NoScanForSurpriseRemoval");

    SavePhysicalSlots(m_hKeys[KEY_PHYSICAL_SLOTS], m_Eq.m_slots, m_keptValues[KEY_PHYSICAL_SLOTS]);
    SaveBridges(m_hKeys[KEY_RESOURCE_ASSIGNMENTS], m_hKeys[KEY_NO_RESET_SECONDARY_BUS],
                m_Res.m_bridges, m_keptValues[KEY_RESOURCE_ASSIGNMENTS]);
    SaveDeviceRequirements(m_hKeys[KEY_EXPLICIT_REQUIREMENTS], m_DevRes.m_requirements,
                           m_keptValues[KEY_EXPLICIT_REQUIREMENTS]);
    SaveMiniports(quarnel, m_hKeys[KEY_RESTRICT_MINIPORTS], m_MiniList.m_miniports);

    if (m_VardekLibrary.IsAvailable()) {
        HKEY vardek = m_hKeys[KEY_VARDEK];
        WriteScalar(vardek, "SuppressSlotPowerAtStartup",
                    static_cast<DWORD>(m_Vardek.m_bSuppressSlotPowerAtStartup));
        WriteScalar(vardek, "SuppressDomainAutoConcession",
                    static_cast<DWORD>(m_Vardek.m_bSuppressDomainAutoConcession));
        WriteScalar(vardek, "SuppressLedControl",
                    static_cast<DWORD>(m_Vardek.m_bSuppressLedControl));
        WriteScalar(vardek, "SuppressDomainPickup",
                    static_cast<DWORD>(m_Vardek.m_bSuppressDomainPickup));
    }

    if (app->m_ServiceControl.Exists(SYSTEM_BOARD_SERVICE)) {
        HKEY moravik = m_hKeys[KEY_MORAVIK];
        WriteScalar(moravik, "Mode", m_Moravik.m_dwMode);
        WriteScalar(moravik, "SpyPollTimeout", m_Moravik.m_dwPollInterval);
        WriteScalar(moravik, "Timeout", m_Moravik.m_dwTimeout);
        WriteScalar(moravik, "TimeoutAction", m_Moravik.m_dwTimeoutAction);
        RestartSystemBoardServiceIfRunning(app->m_ServiceControl);
    }

    if (app->m_hDriver) {
        DWORD returned = 0;
        if (!::DeviceIoControl(app->m_hDriver, IOCTL_HOTSWAP_UPDATE_PARAMETERS, nullptr, 0, nullptr,
                               0, &returned, nullptr))
            AfxMessageBox(IDS_CANNOT_UPDATE_DRIVER, MB_ICONSTOP | MB_OK);
    }

    // The request goes through a session of its own; a session that cannot
    // be opened is the failed availability test, and nothing is sent.
    if (m_Vardek.m_bPresent)
        m_VardekLibrary.SendUpdateParameters();

    CloseKeys();
    return TRUE;
}
