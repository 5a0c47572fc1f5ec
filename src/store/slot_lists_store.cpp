// PhysicalSlots, ResourceAssignments and NoResetSecondaryBus.
#include <map>

#include "model/bridge_windows.h"
#include "store/list_store.h"

namespace {
using COrigins = std::vector<std::pair<ParameterKey, CString>>;

// The records of the list in list order, with the values each came from.
std::vector<CLoadedRecord<CSlotRecord>> InListOrder(const CSlotRecordList& list,
                                                    std::map<POSITION, COrigins>& origins) {
    std::vector<CLoadedRecord<CSlotRecord>> loaded;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION here = pos;
        loaded.push_back({list.GetNext(pos), origins[here]});
    }
    return loaded;
}
} // namespace

std::vector<CLoadedRecord<CSlotRecord>> LoadPhysicalSlots(const CKeyValues& values,
                                                          CSlotRecordList& slots) {
    slots.Clear();
    std::map<POSITION, COrigins> origins;
    for (const CRegistryValue& value : values.All()) {
        if (value.m_strName.IsEmpty())
            continue;
        POSITION pos = slots.AddHeadStored(static_cast<uint32_t>(ParseSlotNumber(value.m_strName)),
                                           value.Text());
        origins[pos] = {{KEY_PHYSICAL_SLOTS, value.m_strName}};
    }
    return InListOrder(slots, origins);
}

void PhysicalSlotValues(const CSlotRecord& record, CKeyedValues& out) {
    CString name;
    name.Format("%d", record.m_nPhysicalSlot);
    out.push_back({KEY_PHYSICAL_SLOTS, StringValue(name, record.GetSlotPath())});
}

std::vector<CLoadedRecord<CSlotRecord>> LoadBridges(const CKeyValues& assignments,
                                                    const CKeyValues& noReset,
                                                    CSlotRecordList& bridges,
                                                    CLocationResolver& resolver) {
    bridges.Clear();
    std::map<POSITION, COrigins> origins;
    for (const CRegistryValue& value : assignments.All()) {
        if (value.m_strName.IsEmpty())
            continue;
        POSITION pos = AddFromRegistry(bridges, value.m_strName, value.Text());
        origins[pos] = {{KEY_RESOURCE_ASSIGNMENTS, value.m_strName}};
    }
    for (const CRegistryValue& value : noReset.All()) {
        CSlotRecord record;
        COrigins from;
        // A mark names its bridge as the bridge's own value does, or else
        // by another spelling of its location.
        POSITION pos = bridges.FindBySlotPathText(value.m_strName);
        if (!pos)
            pos = bridges.FindBySlotPath(value.m_strName, resolver);
        if (pos) {
            record = bridges.GetAt(pos);
            from = origins[pos];
            origins.erase(pos);
            bridges.RemoveAt(pos);
        } else {
            record.SetStoredSlotPath(value.m_strName);
        }
        record.m_bNoResetSecondaryBus = 1;
        record.m_dwFlags |= SLOT_HAS_NORESET;
        from.push_back({KEY_NO_RESET_SECONDARY_BUS, value.m_strName});
        origins[bridges.InsertBySlotPath(record)] = from;
    }
    return InListOrder(bridges, origins);
}

void BridgeValues(const CSlotRecord& record, CKeyedValues& out) {
    if (HasAnyWindow(record))
        out.push_back({KEY_RESOURCE_ASSIGNMENTS,
                       StringValue(record.GetSlotPath(), FormatResourceString(record))});
    if ((record.m_dwFlags & SLOT_HAS_NORESET) && record.m_bNoResetSecondaryBus != 0)
        out.push_back({KEY_NO_RESET_SECONDARY_BUS, StringValue(record.GetSlotPath(), CString())});
}
