#include "pages/slots/slot_record.h"

#include <cstdlib>
#include <cstring>

#include "framework/scan_number.h"
#include "sys/slot_location.h"

void CSlotRecord::SetSlotPath(CString text) {
    text.TrimLeft();
    text.TrimRight();
    if (text.IsEmpty())
        return;
    m_dwFlags |= SLOT_HAS_PATH;
    m_strSlotPath = text;
    if (ConvertSlotLocation(&m_nBus, &m_nDevice, &m_nFunction, text, false))
        m_dwFlags |= SLOT_HAS_BDF;
    if (text[0] == '*')
        m_dwFlags |= SLOT_PATH_STARRED;
    else
        m_dwFlags &= ~SLOT_PATH_STARRED;
}

CString CSlotRecord::GetSlotPath() const {
    return (m_dwFlags & SLOT_HAS_PATH) ? m_strSlotPath : CString();
}

bool IsSameSlot(const CSlotRecord& a, const CSlotRecord& b) {
    if ((a.m_dwFlags & b.m_dwFlags & SLOT_HAS_PHYSICAL) && a.m_nPhysicalSlot == b.m_nPhysicalSlot)
        return true;
    if ((a.m_dwFlags & b.m_dwFlags & SLOT_HAS_PATH) && a.m_strSlotPath == b.m_strSlotPath)
        return true;
    // A starred path names its slot in a way of its own: its triple never counts.
    if (((a.m_dwFlags | b.m_dwFlags) & SLOT_PATH_STARRED) == 0 &&
        (a.m_dwFlags & b.m_dwFlags & SLOT_HAS_BDF) && a.m_nBus == b.m_nBus &&
        a.m_nDevice == b.m_nDevice && a.m_nFunction == b.m_nFunction)
        return true;
    return false;
}

POSITION CSlotRecordList::AddHeadNew(uint32_t nPhysicalSlot, CString slotPath, uint32_t nBus,
                                     uint32_t nDevice, uint32_t nFunction) {
    CSlotRecord record;
    if (nBus != NOT_GIVEN && nDevice != NOT_GIVEN && nFunction != NOT_GIVEN) {
        record.m_nBus = nBus;
        record.m_nDevice = nDevice;
        record.m_nFunction = nFunction;
        record.m_dwFlags |= SLOT_HAS_BDF;
        if (ConvertSlotLocation(&nBus, &nDevice, &nFunction, record.m_strSlotPath, true))
            record.m_dwFlags |= SLOT_HAS_PATH;
    }
    if (nPhysicalSlot != NOT_GIVEN) {
        record.m_nPhysicalSlot = static_cast<int32_t>(nPhysicalSlot);
        record.m_dwFlags |= SLOT_HAS_PHYSICAL;
    }
    record.SetSlotPath(slotPath);
    return AddHead(record);
}

namespace {
int32_t SameSlot(const CSlotRecord* pRecord, POSITION, void* pContext) {
    return IsSameSlot(*pRecord, *static_cast<const CSlotRecord*>(pContext)) ? 1 : 0;
}
} // namespace

POSITION CSlotRecordList::FindBySlotPath(CString slotPath) const {
    CSlotRecord probe;
    probe.SetSlotPath(slotPath);
    return FindIf(SameSlot, &probe);
}

namespace {
// GetSlotPath without a copy, for the walks of a sorted insert.
const char* SlotPathText(const CSlotRecord& record) {
    return (record.m_dwFlags & SLOT_HAS_PATH) ? static_cast<const char*>(record.m_strSlotPath) : "";
}
} // namespace

POSITION CSlotRecordList::InsertBySlotPath(const CSlotRecord& record) {
    const char* text = SlotPathText(record);
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION current = pos;
        if (std::strcmp(SlotPathText(GetNext(pos)), text) > 0)
            return InsertBefore(current, record);
    }
    return AddTail(record);
}

void CSlotRecordList::Clear() {
    while (!IsEmpty())
        RemoveHead();
}

uint32_t ParseLocationNumber(CString text) {
    text.TrimLeft();
    text.TrimRight();
    const char* p = text;
    int base = std::strncmp(p, "0x", 2) == 0 ? 16 : 10;
    uint32_t value = NOT_GIVEN;
    if (!ScanNumber(&p, base, &value))
        return NOT_GIVEN;
    return value;
}

CString FormatDecimal(uint32_t nValue) {
    CString text;
    text.Format("%d", static_cast<int>(nValue));
    return text;
}

int32_t ParseSlotNumber(const char* pszName) {
    long long value = std::strtoll(pszName, nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}
