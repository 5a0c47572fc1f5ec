#include "store/parameter_store.h"

#include "pages/bridges/zorvik_res.h"
#include "pages/devres/device_resources.h"
#include "pages/miniports/zorvik_mini_list.h"
#include "pages/options/zorvik_misc.h"
#include "pages/options/zorvik_moravik.h"
#include "pages/options/zorvik_vardek.h"
#include "pages/slots/zorvik_eq.h"
#include "store/list_store.h"

namespace {

const char* const kKeyPaths[KEY_COUNT] = {
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters",
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters\\RestrictMiniports",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ResourceAssignments",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\PhysicalSlots",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ExplicitResourceRequirements",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\NoResetSecondaryBus",
    "System\\CurrentControlSet\\Services\\Vardek\\Parameters",
    "System\\CurrentControlSet\\Services\\Moravik\\Parameters",
};

// Present only while scanning is off; stored inverted in the page.
const char kNoScanForSurpriseRemoval[] = "NoScanForSurpriseRemoval";

// One scalar value: where it lives and the page member that holds it. The
// controller's flags are ints in their page; int and DWORD share their
// representation.
struct ScalarValue {
    ParameterKey key;
    const char* name;
    DWORD* (*member)(const CParameterData& data);
};

const ScalarValue kScalars[] = {
    {KEY_QUARNEL, "StallInterval", [](const CParameterData& d) { return &d.misc.m_dwPollingRate; }},
    {KEY_QUARNEL, "DisconnectRetryInterval",
     [](const CParameterData& d) { return &d.misc.m_dwDisconnectTimeout; }},
    {KEY_QUARNEL, "InsertBeforeEjectInterval",
     [](const CParameterData& d) { return &d.misc.m_dwInsertBeforeEject; }},
    {KEY_VARDEK, "SuppressSlotPowerAtStartup",
     [](const CParameterData& d) {
         return reinterpret_cast<DWORD*>(&d.vardek.m_bSuppressSlotPowerAtStartup);
     }},
    {KEY_VARDEK, "SuppressDomainAutoConcession",
     [](const CParameterData& d) {
         return reinterpret_cast<DWORD*>(&d.vardek.m_bSuppressDomainAutoConcession);
     }},
    {KEY_VARDEK, "SuppressLedControl",
     [](const CParameterData& d) {
         return reinterpret_cast<DWORD*>(&d.vardek.m_bSuppressLedControl);
     }},
    {KEY_VARDEK, "SuppressDomainPickup",
     [](const CParameterData& d) {
         return reinterpret_cast<DWORD*>(&d.vardek.m_bSuppressDomainPickup);
     }},
    {KEY_MORAVIK, "Mode", [](const CParameterData& d) { return &d.moravik.m_dwMode; }},
    {KEY_MORAVIK, "SpyPollTimeout",
     [](const CParameterData& d) { return &d.moravik.m_dwPollInterval; }},
    {KEY_MORAVIK, "Timeout", [](const CParameterData& d) { return &d.moravik.m_dwTimeout; }},
    {KEY_MORAVIK, "TimeoutAction",
     [](const CParameterData& d) { return &d.moravik.m_dwTimeoutAction; }},
};

// NoScanForSurpriseRemoval follows the table's scalars in the records of
// unreadable values.
const size_t kNoScanIndex = sizeof(kScalars) / sizeof(kScalars[0]);
static_assert(kNoScanIndex + 1 == CParameterStore::SCALAR_COUNT, "one slot per scalar");

} // namespace

const ParameterKey kListKeys[5] = {KEY_PHYSICAL_SLOTS, KEY_RESOURCE_ASSIGNMENTS,
                                   KEY_NO_RESET_SECONDARY_BUS, KEY_EXPLICIT_REQUIREMENTS,
                                   KEY_RESTRICT_MINIPORTS};

const char* ParameterKeyPath(ParameterKey key) { return kKeyPaths[key]; }

BOOL CParameterStore::OpenKeys() {
    for (int i = 0; i < KEY_COUNT; ++i) {
        // Missing keys are created, so a load also lays out the tree.
        if (m_keys[i].Create(HKEY_LOCAL_MACHINE, kKeyPaths[i]) != ERROR_SUCCESS) {
            CloseKeys();
            return FALSE;
        }
    }
    return TRUE;
}

void CParameterStore::CloseKeys() {
    for (CRegistryKey& key : m_keys)
        key.Close();
}

bool CParameterStore::IsOpen() const {
    for (const CRegistryKey& key : m_keys)
        if (key)
            return true;
    return false;
}

BOOL CParameterStore::Load(const CParameterData& data, const CServiceControl* pServices) {
    if (!OpenKeys())
        return FALSE;
    for (size_t i = 0; i < kNoScanIndex; ++i) {
        DWORD* member = kScalars[i].member(data);
        m_unreadable[i] =
            ReadScalar(m_keys[kScalars[i].key], kScalars[i].name, *member) == SCALAR_UNREADABLE;
        m_shown[i] = *member;
    }
    DWORD noScan = 0;
    m_unreadable[kNoScanIndex] =
        ReadScalar(m_keys[KEY_QUARNEL], kNoScanForSurpriseRemoval, noScan) == SCALAR_UNREADABLE;
    data.misc.m_bScanSurpriseRemoval = noScan == 0 ? 1 : 0;
    m_shown[kNoScanIndex] = static_cast<DWORD>(data.misc.m_bScanSurpriseRemoval);

    LoadPhysicalSlots(m_keys[KEY_PHYSICAL_SLOTS], data.slots.m_slots, m_kept[KEY_PHYSICAL_SLOTS]);
    LoadBridges(m_keys[KEY_RESOURCE_ASSIGNMENTS], m_keys[KEY_NO_RESET_SECONDARY_BUS], data.bridges,
                m_kept[KEY_RESOURCE_ASSIGNMENTS]);
    LoadDeviceRequirements(m_keys[KEY_EXPLICIT_REQUIREMENTS], data.devices.m_requirements,
                           m_kept[KEY_EXPLICIT_REQUIREMENTS]);
    LoadMiniports(m_keys[KEY_QUARNEL], m_keys[KEY_RESTRICT_MINIPORTS], data.miniports.m_miniports,
                  pServices);
    CloseKeys();
    return TRUE;
}

BOOL CParameterStore::BeginWrite() {
    // The list keys are cleared only once the keys are known to open, so that
    // a save that cannot write leaves the stored lists as they were.
    if (!OpenKeys())
        return FALSE;
    CloseKeys();
    for (ParameterKey key : kListKeys)
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kKeyPaths[key]);
    return OpenKeys();
}

void CParameterStore::Write(const CParameterData& data, bool bController, bool bService) {
    // A stored value the page could not show is left as it is until the
    // user changes what the page shows in its place.
    auto keeps = [&](size_t i, DWORD value) { return m_unreadable[i] && value == m_shown[i]; };
    auto writeScalars = [&](ParameterKey key) {
        for (size_t i = 0; i < kNoScanIndex; ++i) {
            DWORD value = *kScalars[i].member(data);
            if (kScalars[i].key == key && !keeps(i, value))
                WriteScalar(m_keys[key], kScalars[i].name, value);
        }
    };
    writeScalars(KEY_QUARNEL);
    DWORD scan = static_cast<DWORD>(data.misc.m_bScanSurpriseRemoval);
    if (!keeps(kNoScanIndex, scan)) {
        if (scan == 0)
            WriteScalar(m_keys[KEY_QUARNEL], kNoScanForSurpriseRemoval, 1);
        else
            ::RegDeleteValueA(m_keys[KEY_QUARNEL], kNoScanForSurpriseRemoval);
    }

    SavePhysicalSlots(m_keys[KEY_PHYSICAL_SLOTS], data.slots.m_slots, m_kept[KEY_PHYSICAL_SLOTS]);
    SaveBridges(m_keys[KEY_RESOURCE_ASSIGNMENTS], m_keys[KEY_NO_RESET_SECONDARY_BUS],
                data.bridges.m_bridges, m_kept[KEY_RESOURCE_ASSIGNMENTS]);
    SaveDeviceRequirements(m_keys[KEY_EXPLICIT_REQUIREMENTS], data.devices.m_requirements,
                           m_kept[KEY_EXPLICIT_REQUIREMENTS]);
    SaveMiniports(m_keys[KEY_QUARNEL], m_keys[KEY_RESTRICT_MINIPORTS], data.miniports.m_miniports);

    if (bController)
        writeScalars(KEY_VARDEK);
    if (bService)
        writeScalars(KEY_MORAVIK);
}
