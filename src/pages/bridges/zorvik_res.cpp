#include "pages/bridges/zorvik_res.h"

#include "pages/bridges/bridge_windows.h"
#include "res/resource.h"

ZorvikRes::ZorvikRes() : CPropertyPage(IDD_BRIDGES) {}

BOOL ZorvikRes::AddFromRegistry(CString name, CString data) {
    CSlotRecord record;
    CBridgeWindow io, mem, prefetch;
    int32_t dynamicBus = 0;
    ParseResourceString(data, &io, &mem, &prefetch, &dynamicBus);
    record.m_ioWindow = io;
    record.m_dwFlags |= SLOT_HAS_IO;
    record.SetSlotPath(name);
    record.m_memWindow = mem;
    record.m_prefetchWindow = prefetch;
    record.m_bDynamicBusAssignment = dynamicBus;
    record.m_dwFlags |= SLOT_HAS_MEM | SLOT_HAS_PREFETCH | SLOT_HAS_DYNBUS;
    m_bridges.InsertBySlotPath(record);
    return TRUE;
}
