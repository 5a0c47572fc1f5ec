// PhysicalSlots, ResourceAssignments and NoResetSecondaryBus.
#include "pages/bridges/bridge_windows.h"
#include "pages/bridges/zorvik_res.h"
#include "store/list_store.h"

namespace {
int32_t WritePhysicalSlot(const CSlotRecord* pRecord, POSITION, void* pContext) {
    CString name;
    name.Format("%d", pRecord->m_nPhysicalSlot);
    WriteString(static_cast<HKEY>(pContext), name, pRecord->GetSlotPath());
    return 0;
}
} // namespace

void LoadPhysicalSlots(HKEY hSlots, CSlotRecordList& slots, CKeptValues& kept) {
    slots.Clear();
    kept.clear();
    for (const CRegistryValue& value : ReadAllValues(hSlots)) {
        if (value.m_strName.IsEmpty()) {
            kept.push_back(value);
            continue;
        }
        slots.AddHeadNew(static_cast<uint32_t>(ParseSlotNumber(value.m_strName)), value.Text(),
                         NOT_GIVEN, NOT_GIVEN, NOT_GIVEN);
    }
}

void SavePhysicalSlots(HKEY hSlots, const CSlotRecordList& slots, const CKeptValues& kept) {
    WriteValues(hSlots, kept);
    slots.FindIf(WritePhysicalSlot, hSlots);
}

void LoadBridges(HKEY hAssignments, HKEY hNoReset, ZorvikRes& page, CKeptValues& kept) {
    CSlotRecordList& bridges = page.m_bridges;
    bridges.Clear();
    kept.clear();
    for (const CRegistryValue& value : ReadAllValues(hAssignments)) {
        if (value.m_strName.IsEmpty())
            kept.push_back(value);
        else
            page.AddFromRegistry(value.m_strName, value.Text());
    }
    for (const CRegistryValue& value : ReadAllValues(hNoReset)) {
        CSlotRecord record;
        if (POSITION pos = bridges.FindBySlotPath(value.m_strName)) {
            record = bridges.GetAt(pos);
            bridges.RemoveAt(pos);
        } else {
            record.SetSlotPath(value.m_strName);
        }
        record.m_bNoResetSecondaryBus = 1;
        record.m_dwFlags |= SLOT_HAS_NORESET;
        bridges.InsertBySlotPath(record);
    }
}

int32_t WriteResourceAssignment(const CSlotRecord* pRecord, POSITION, void* pContext) {
    // A bridge known only for its no-reset mark has no windows to store.
    if (HasAnyWindow(*pRecord))
        WriteString(static_cast<HKEY>(pContext), pRecord->GetSlotPath(),
                    FormatResourceString(*pRecord));
    return 0;
}

int32_t WriteNoResetSecondaryBus(const CSlotRecord* pRecord, POSITION, void* pContext) {
    if ((pRecord->m_dwFlags & SLOT_HAS_NORESET) && pRecord->m_bNoResetSecondaryBus != 0)
        WriteString(static_cast<HKEY>(pContext), pRecord->GetSlotPath(), CString());
    return 0;
}

void SaveBridges(HKEY hAssignments, HKEY hNoReset, const CSlotRecordList& bridges,
                 const CKeptValues& kept) {
    WriteValues(hAssignments, kept);
    bridges.FindIf(WriteResourceAssignment, hAssignments);
    bridges.FindIf(WriteNoResetSecondaryBus, hNoReset);
}
