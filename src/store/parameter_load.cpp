// Opening the parameter keys and loading every parameter into the pages.
#include "app/zorvik_app.h"
#include "sheet/zorvik_sheet.h"
#include "store/list_store.h"
#include "store/registry_layout.h"
#include "store/registry_values.h"

BOOL ZorvikSheet::OpenKeys() {
    for (HKEY& hKey : m_hKeys)
        hKey = nullptr;
    for (int i = 0; i < KEY_COUNT; ++i) {
        // Missing keys are created, so a load also lays out the tree.
        if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kParameterKeyPaths[i], 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &m_hKeys[i],
                              nullptr) != ERROR_SUCCESS) {
            m_hKeys[i] = nullptr;
            return FALSE;
        }
    }
    return TRUE;
}

void ZorvikSheet::CloseKeys() {
    for (HKEY& hKey : m_hKeys) {
        if (hKey)
            ::RegCloseKey(hKey);
        hKey = nullptr;
    }
}

BOOL ZorvikSheet::LoadParameters() {
    if (!OpenKeys()) {
        CloseKeys();
        return FALSE;
    }

    HKEY quarnel = m_hKeys[KEY_QUARNEL];
    ReadScalar(quarnel, "StallInterval", m_Misc.m_dwPollingRate);
    ReadScalar(quarnel, "DisconnectRetryInterval", m_Misc.m_dwDisconnectTimeout);
    ReadScalar(quarnel, "InsertBeforeEjectInterval", m_Misc.m_dwInsertBeforeEject);
    DWORD noScan = 0;
    ReadScalar(quarnel, "NoScanForSurpriseRemoval", noScan);
    m_Misc.m_bScanSurpriseRemoval = noScan == 0 ? 1 : 0;

    LoadPhysicalSlots(m_hKeys[KEY_PHYSICAL_SLOTS], m_Eq.m_slots, m_keptValues[KEY_PHYSICAL_SLOTS]);
    LoadBridges(m_hKeys[KEY_RESOURCE_ASSIGNMENTS], m_hKeys[KEY_NO_RESET_SECONDARY_BUS], m_Res,
                m_keptValues[KEY_RESOURCE_ASSIGNMENTS]);
    LoadDeviceRequirements(m_hKeys[KEY_EXPLICIT_REQUIREMENTS], m_DevRes.m_requirements,
                           m_keptValues[KEY_EXPLICIT_REQUIREMENTS]);
    LoadMiniports(quarnel, m_hKeys[KEY_RESTRICT_MINIPORTS], m_MiniList.m_miniports,
                  &GetZorvikApp()->m_ServiceControl);

    HKEY vardek = m_hKeys[KEY_VARDEK];
    ReadScalar(vardek, "SuppressSlotPowerAtStartup", m_Vardek.m_bSuppressSlotPowerAtStartup);
    ReadScalar(vardek, "SuppressDomainAutoConcession", m_Vardek.m_bSuppressDomainAutoConcession);
    ReadScalar(vardek, "SuppressLedControl", m_Vardek.m_bSuppressLedControl);
    ReadScalar(vardek, "SuppressDomainPickup", m_Vardek.m_bSuppressDomainPickup);

    HKEY moravik = m_hKeys[KEY_MORAVIK];
    ReadScalar(moravik, "Mode", m_Moravik.m_dwMode);
    ReadScalar(moravik, "SpyPollTimeout", m_Moravik.m_dwPollInterval);
    ReadScalar(moravik, "Timeout", m_Moravik.m_dwTimeout);
    ReadScalar(moravik, "TimeoutAction", m_Moravik.m_dwTimeoutAction);

    CloseKeys();
    return TRUE;
}
