#include "model/slot_record.h"

#include <cctype>
#include <cstdint>
#include <cstring>

#include "framework/number_text.h"

void CSlotRecord::SetSlotPath(CString text, CLocationResolver& resolver) {
    if (SetStoredSlotPath(text))
        ResolveLocation(resolver);
}

bool CSlotRecord::SetStoredSlotPath(CString text) {
    text.TrimLeft();
    text.TrimRight();
    if (text.IsEmpty())
        return false;
    m_dwFlags |= SLOT_HAS_PATH | SLOT_LOCATION_PENDING;
    m_strSlotPath = text;
    if (text[0] == '*')
        m_dwFlags |= SLOT_PATH_STARRED;
    else
        m_dwFlags &= ~SLOT_PATH_STARRED;
    return true;
}

bool CSlotRecord::ResolveLocation(CLocationResolver& resolver) {
    if (m_dwFlags & SLOT_LOCATION_PENDING) {
        m_dwFlags &= ~SLOT_LOCATION_PENDING;
        // A refused path keeps the location the record had.
        CString text = m_strSlotPath;
        if (resolver.ConvertSlotLocation(&m_nBus, &m_nDevice, &m_nFunction, text, false))
            m_dwFlags |= SLOT_HAS_BDF;
    }
    return (m_dwFlags & SLOT_HAS_BDF) != 0;
}

CString CSlotRecord::GetSlotPath() const {
    return (m_dwFlags & SLOT_HAS_PATH) ? m_strSlotPath : CString();
}

bool CSlotRecord::operator==(const CSlotRecord& other) const {
    return m_nPhysicalSlot == other.m_nPhysicalSlot && m_strSlotPath == other.m_strSlotPath &&
           m_nBus == other.m_nBus && m_nDevice == other.m_nDevice &&
           m_nFunction == other.m_nFunction && m_ioWindow == other.m_ioWindow &&
           m_memWindow == other.m_memWindow && m_prefetchWindow == other.m_prefetchWindow &&
           m_bDynamicBusAssignment == other.m_bDynamicBusAssignment &&
           m_bNoResetSecondaryBus == other.m_bNoResetSecondaryBus && m_dwFlags == other.m_dwFlags;
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

bool HasSameStoredForm(const CSlotRecord& a, const CSlotRecord& b) {
    CSlotRecord x = a, y = b;
    for (CSlotRecord* record : {&x, &y}) {
        record->m_nBus = record->m_nDevice = record->m_nFunction = 0;
        record->m_dwFlags &= ~(SLOT_HAS_BDF | SLOT_LOCATION_PENDING);
    }
    return x == y;
}

namespace {
// A record with the physical slot number, unless that is NOT_GIVEN.
CSlotRecord Numbered(uint32_t nPhysicalSlot) {
    CSlotRecord record;
    if (nPhysicalSlot != NOT_GIVEN) {
        record.m_nPhysicalSlot = static_cast<int32_t>(nPhysicalSlot);
        record.m_dwFlags |= SLOT_HAS_PHYSICAL;
    }
    return record;
}
} // namespace

POSITION CSlotRecordList::AddHeadNew(uint32_t nPhysicalSlot, CString slotPath, uint32_t nBus,
                                     uint32_t nDevice, uint32_t nFunction,
                                     CLocationResolver& resolver) {
    CSlotRecord record = Numbered(nPhysicalSlot);
    if (nBus != NOT_GIVEN && nDevice != NOT_GIVEN && nFunction != NOT_GIVEN) {
        record.m_nBus = nBus;
        record.m_nDevice = nDevice;
        record.m_nFunction = nFunction;
        record.m_dwFlags |= SLOT_HAS_BDF;
        if (resolver.ConvertSlotLocation(&nBus, &nDevice, &nFunction, record.m_strSlotPath, true))
            record.m_dwFlags |= SLOT_HAS_PATH;
    }
    record.SetSlotPath(slotPath, resolver);
    return AddHead(record);
}

namespace {
int32_t SameSlot(const CSlotRecord* pRecord, POSITION, void* pContext) {
    return IsSameSlot(*pRecord, *static_cast<const CSlotRecord*>(pContext)) ? 1 : 0;
}
} // namespace

POSITION CSlotRecordList::AddHeadStored(uint32_t nPhysicalSlot, CString slotPath) {
    CSlotRecord record = Numbered(nPhysicalSlot);
    record.SetStoredSlotPath(slotPath);
    return AddHead(record);
}

POSITION CSlotRecordList::FindBySlotPath(CString slotPath, CLocationResolver& resolver) {
    CSlotRecord probe;
    probe.SetStoredSlotPath(slotPath);
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION here = pos;
        CSlotRecord& record = GetNext(pos);
        // The text first: the location is asked for only when it can decide.
        if (IsSameSlot(record, probe))
            return here;
        if (((record.m_dwFlags | probe.m_dwFlags) & SLOT_PATH_STARRED) == 0 &&
            probe.ResolveLocation(resolver) && record.ResolveLocation(resolver) &&
            IsSameSlot(record, probe))
            return here;
    }
    return nullptr;
}

POSITION CSlotRecordList::FindBySlotPathText(CString slotPath) const {
    CSlotRecord probe;
    probe.SetStoredSlotPath(slotPath);
    return (probe.m_dwFlags & SLOT_HAS_PATH) ? FindIf(SameSlot, &probe) : nullptr;
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

SlotPathTextCheck CheckSlotPathText(const char* text, bool bStarAllowed) {
    if (bStarAllowed && *text == '*')
        ++text;
    if (std::strlen(text) % 2 != 0)
        return SlotPathTextCheck::OddLength;
    for (const char* p = text; *p; ++p)
        if (!std::isxdigit(static_cast<unsigned char>(*p)))
            return SlotPathTextCheck::NotHex;
    return SlotPathTextCheck::Ok;
}

PhysicalSlotTextCheck CheckPhysicalSlotText(const char* text) {
    if (!*text)
        return PhysicalSlotTextCheck::NotDecimal;
    for (const char* p = text; *p; ++p)
        if (!std::isdigit(static_cast<unsigned char>(*p)))
            return PhysicalSlotTextCheck::NotDecimal;
    CNumberText number;
    ReadNumber(&text, 10, &number);
    return number.nMagnitude > INT32_MAX ? PhysicalSlotTextCheck::OutOfRange
                                         : PhysicalSlotTextCheck::Ok;
}
