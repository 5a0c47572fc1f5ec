#include "store/parameter_keys.h"

#include <string>

#include "store/registry_values.h"

const char MINIPORTS_VALUE[] = "Miniports";
const char NO_SCAN_VALUE[] = "NoScanForSurpriseRemoval";

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

uint32_t* AsUnsigned(int* p) { return reinterpret_cast<uint32_t*>(p); }
} // namespace

const ScalarValue SCALAR_TABLE[SCALAR_TABLE_SIZE] = {
    {KEY_QUARNEL, "StallInterval", [](const CParameterData& d) { return &d.misc.m_dwPollingRate; },
     TYPED_LARGEST},
    {KEY_QUARNEL, "DisconnectRetryInterval",
     [](const CParameterData& d) { return &d.misc.m_dwDisconnectTimeout; }, TYPED_LARGEST},
    {KEY_QUARNEL, "InsertBeforeEjectInterval",
     [](const CParameterData& d) { return &d.misc.m_dwInsertBeforeEject; }, TYPED_LARGEST},
    {KEY_VARDEK, "SuppressSlotPowerAtStartup",
     [](const CParameterData& d) {
         return AsUnsigned(&d.controller.m_bSuppressSlotPowerAtStartup);
     },
     FLAG_LARGEST},
    {KEY_VARDEK, "SuppressDomainAutoConcession",
     [](const CParameterData& d) {
         return AsUnsigned(&d.controller.m_bSuppressDomainAutoConcession);
     },
     FLAG_LARGEST},
    {KEY_VARDEK, "SuppressLedControl",
     [](const CParameterData& d) { return AsUnsigned(&d.controller.m_bSuppressLedControl); },
     FLAG_LARGEST},
    {KEY_VARDEK, "SuppressDomainPickup",
     [](const CParameterData& d) { return AsUnsigned(&d.controller.m_bSuppressDomainPickup); },
     FLAG_LARGEST},
    {KEY_MORAVIK, "Mode", [](const CParameterData& d) { return &d.systemBoard.m_dwMode; },
     FLAG_LARGEST},
    {KEY_MORAVIK, "SpyPollTimeout",
     [](const CParameterData& d) { return &d.systemBoard.m_dwPollInterval; }, TYPED_LARGEST},
    {KEY_MORAVIK, "Timeout", [](const CParameterData& d) { return &d.systemBoard.m_dwTimeout; },
     TYPED_LARGEST},
    {KEY_MORAVIK, "TimeoutAction",
     [](const CParameterData& d) { return &d.systemBoard.m_dwTimeoutAction; },
     TIMEOUT_ACTION_LARGEST},
};

const char* ParameterKeyPath(ParameterKey key) { return kKeyPaths[key]; }

bool IsListKey(ParameterKey key) {
    return key != KEY_QUARNEL && key != KEY_VARDEK && key != KEY_MORAVIK;
}

ScalarKeyValue FindScalarKeyValue(ParameterKey key, const char* name, DWORD* pdwLargest) {
    std::string folded = FoldName(name);
    for (const ScalarValue& scalar : SCALAR_TABLE) {
        if (scalar.key == key && FoldName(scalar.name) == folded) {
            if (pdwLargest)
                *pdwLargest = scalar.largest;
            return ScalarKeyValue::Scalar;
        }
    }
    if (key != KEY_QUARNEL)
        return ScalarKeyValue::Other;
    if (FoldName(NO_SCAN_VALUE) == folded) {
        // Any value but 0 turns the scan off.
        if (pdwLargest)
            *pdwLargest = 0xFFFFFFFF;
        return ScalarKeyValue::Scalar;
    }
    return FoldName(MINIPORTS_VALUE) == folded ? ScalarKeyValue::Miniports : ScalarKeyValue::Other;
}
