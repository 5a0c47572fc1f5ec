#pragma once
// The five list-valued parameters: the physical slot list (PhysicalSlots),
// the bridge list (ResourceAssignments and NoResetSecondaryBus), the device
// requirements (ExplicitResourceRequirements) and the miniports
// ("Miniports" and RestrictMiniports). Each load fills its list from the
// values read and tells, per record in list order, the values it was read
// from; each list's canonical values are what a new or changed record
// stores.
#include <string>
#include <utility>
#include <vector>

#include "store/parameter_keys.h"
#include "store/registry_values.h"

// A record of a list as the load or the last save left it, and the values
// it stands for. A pending one is never taken for unchanged: a write of its
// values failed, or it is gone from the list and holds the names a failed
// delete left behind.
template <class TRecord> struct CLoadedRecord {
    TRecord record;
    std::vector<std::pair<ParameterKey, CString>> origins;
    bool bPending = false;
};

// A record's values in their canonical form, with their keys.
using CKeyedValues = std::vector<std::pair<ParameterKey, CRegistryValue>>;

// One record per named value, each at the head: the list ends up in the
// reverse of the enumeration order. An unnamed value makes no record. The
// slot records' Bus/Device/Function is asked for when first needed.
std::vector<CLoadedRecord<CSlotRecord>> LoadPhysicalSlots(const CKeyValues& values,
                                                          CSlotRecordList& slots);
void PhysicalSlotValues(const CSlotRecord& record, CKeyedValues& out);

// The bridges in slot path order, then the no-reset marks merged in: into
// the bridge of the same text, or else (asking the resolver) of the same
// location.
std::vector<CLoadedRecord<CSlotRecord>> LoadBridges(const CKeyValues& assignments,
                                                    const CKeyValues& noReset,
                                                    CSlotRecordList& bridges,
                                                    CLocationResolver& resolver);
// A bridge without windows (known only for its no-reset mark) stores no
// resource string.
void BridgeValues(const CSlotRecord& record, CKeyedValues& out);

// One record per identity; values whose name is no identity make none.
std::vector<CLoadedRecord<CDeviceRequirement>>
LoadDeviceRequirements(const CKeyValues& values, CDeviceRequirementList& requirements);
void DeviceRequirementValues(const CDeviceRequirement& record, CKeyedValues& out);

// The miniports of "Miniports" (their file and description from their
// services' registry entries), then every restricted one moved or added
// behind them.
std::vector<CLoadedRecord<CMiniportRecord>> LoadMiniports(const CKeyValues& parameters,
                                                          const CKeyValues& restrictions,
                                                          CMiniportList& miniports);
void MiniportValues(const CMiniportRecord& record, CKeyedValues& out);
