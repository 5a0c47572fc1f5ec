#pragma once
// The parameter store: the eight keys of the kit's parameters and every value
// the utility reads and writes in them. Load and save walk the same table, so
// each value name stands once. The pages hold the data; the store is handed
// their members and is the only one that touches the registry.
#include <windows.h>

#include "framework/registry_key.h"
#include "store/registry_values.h"

class CServiceControl;
class ZorvikMisc;
class ZorvikEq;
class ZorvikRes;
class ZorvikMiniList;
class ZorvikMoravik;
class CDeviceResources;
class ZorvikVardek;

// The keys below HKEY_LOCAL_MACHINE, in the order they are opened.
enum ParameterKey {
    KEY_QUARNEL = 0,        // main hot-swap driver: scalars and "Miniports"
    KEY_RESTRICT_MINIPORTS, // one value per restricted miniport
    KEY_RESOURCE_ASSIGNMENTS,
    KEY_PHYSICAL_SLOTS,
    KEY_EXPLICIT_REQUIREMENTS,
    KEY_NO_RESET_SECONDARY_BUS,
    KEY_VARDEK,  // hot-swap controller driver
    KEY_MORAVIK, // system board service
    KEY_COUNT
};

// The path of a key below HKEY_LOCAL_MACHINE.
const char* ParameterKeyPath(ParameterKey key);

// The list keys, in the order a save deletes them.
extern const ParameterKey kListKeys[5];

// The pages' data the store reads and writes.
struct CParameterData {
    ZorvikMisc& misc;
    ZorvikEq& slots;
    ZorvikRes& bridges;
    ZorvikMiniList& miniports;
    ZorvikMoravik& moravik;
    CDeviceResources& devices;
    ZorvikVardek& vardek;
};

class CParameterStore {
public:
    // Opens every key for all access, creating missing ones; on a failure
    // the keys opened so far are closed again.
    BOOL OpenKeys();
    void CloseKeys();
    bool IsOpen() const;

    // FALSE when the keys cannot be opened; the data then keep their values.
    BOOL Load(const CParameterData& data, const CServiceControl* pServices);

    // Opens the keys for a save and clears the list keys. FALSE, with
    // nothing deleted and the keys closed, when they cannot be opened.
    BOOL BeginWrite();
    // Writes every value into the keys BeginWrite opened, the controller's
    // only when bController and the service's only when bService. The keys
    // stay open for the steps that follow.
    void Write(const CParameterData& data, bool bController, bool bService);

    // The scalar values, NoScanForSurpriseRemoval included.
    static const size_t SCALAR_COUNT = 12;

private:
    CRegistryKey m_keys[KEY_COUNT];
    // Per scalar: stored but unreadable at the last load, and what the page
    // was given in its place.
    bool m_unreadable[SCALAR_COUNT] = {};
    DWORD m_shown[SCALAR_COUNT] = {};
    // Per list key, the values the lists cannot hold, from load to save.
    CKeptValues m_kept[KEY_COUNT];
};
