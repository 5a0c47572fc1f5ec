#pragma once
// One place in the chassis, named by its slot path and by its PCI
// Bus/Device/Function, with what a list attaches to it: a physical slot
// number (the physical slot list) or bridge windows and switches (the bridge
// list); and the list that holds such records by value. Slot paths are
// resolved through the resolver the caller hands in, at once or, for stored
// records, when first needed. Free of windows.h.
#include <cstdint>

#include "framework/clist.h"
#include "framework/cstring.h"
#include "model/field_numbers.h"
#include "model/location_resolver.h"

// Presence flags of CSlotRecord::m_dwFlags.
constexpr uint32_t SLOT_HAS_PATH = 0x0001;
constexpr uint32_t SLOT_HAS_BDF = 0x0002;
// The slot path's Bus/Device/Function has not been asked for yet.
constexpr uint32_t SLOT_LOCATION_PENDING = 0x0004;
constexpr uint32_t SLOT_HAS_PHYSICAL = 0x0010;
constexpr uint32_t SLOT_HAS_MEM = 0x0100;
constexpr uint32_t SLOT_HAS_PREFETCH = 0x0200;
constexpr uint32_t SLOT_HAS_IO = 0x0400;
constexpr uint32_t SLOT_HAS_DYNBUS = 0x0800;
constexpr uint32_t SLOT_HAS_NORESET = 0x1000;
constexpr uint32_t SLOT_PATH_STARRED = 0x8000;

// A bridge window: its range, its length and its alignment.
struct CBridgeWindow {
    uint32_t m_dwFrom;
    uint32_t m_dwTo;
    uint32_t m_dwSize;
    uint32_t m_dwAlignment;

    bool operator==(const CBridgeWindow& other) const {
        return m_dwFrom == other.m_dwFrom && m_dwTo == other.m_dwTo && m_dwSize == other.m_dwSize &&
               m_dwAlignment == other.m_dwAlignment;
    }
};

class CSlotRecord {
public:
    int32_t m_nPhysicalSlot = 0;
    CString m_strSlotPath; // trimmed, possibly with one leading '*'
    uint32_t m_nBus = 0;
    uint32_t m_nDevice = 0;
    uint32_t m_nFunction = 0;
    CBridgeWindow m_ioWindow = {};
    CBridgeWindow m_memWindow = {};
    CBridgeWindow m_prefetchWindow = {};
    int32_t m_bDynamicBusAssignment = 0;
    int32_t m_bNoResetSecondaryBus = 0;
    uint32_t m_dwFlags = 0;

    // Stores a typed or stored slot path, trimmed, and resolves it when it
    // can; a text of only blanks changes nothing.
    void SetSlotPath(CString text, CLocationResolver& resolver);
    // Stores a slot path as SetSlotPath does, its Bus/Device/Function left
    // to be asked for when first needed; false for a text of only blanks.
    bool SetStoredSlotPath(CString text);
    // Asks for the Bus/Device/Function of a slot path stored without it,
    // once; whether the record has one.
    bool ResolveLocation(CLocationResolver& resolver);
    // The slot path, or the empty text when the record has none.
    CString GetSlotPath() const;

    // Every field alike, meaningful or not: a copy, unchanged.
    bool operator==(const CSlotRecord& other) const;
};

// What is wrong with a slot path as typed or stored: after one leading '*'
// where bStarAllowed, it must be an even number of hexadecimal digits. The
// text is taken as it is (no blanks trimmed); an empty one passes.
enum class SlotPathTextCheck { Ok, OddLength, NotHex };
SlotPathTextCheck CheckSlotPathText(const char* text, bool bStarAllowed);

// A physical slot number as typed or stored: decimal digits and nothing else,
// of a number that a 32-bit signed integer holds (0 to 2147483647).
enum class PhysicalSlotTextCheck { Ok, NotDecimal, OutOfRange };
PhysicalSlotTextCheck CheckPhysicalSlotText(const char* text);

// Same physical slot number, same slot path text, or (both unstarred) the
// same resolved Bus/Device/Function.
bool IsSameSlot(const CSlotRecord& a, const CSlotRecord& b);

// Whether two records store the same values: every field alike but the
// Bus/Device/Function, which is never stored and may have been asked for
// since.
bool HasSameStoredForm(const CSlotRecord& a, const CSlotRecord& b);

// Walked with FindIf (framework/clist.h), as a search or a for-each.
class CSlotRecordList : public CList<CSlotRecord> {
public:
    // A new record at the head: the triple (resolved to a slot path when it
    // can be) when all three are given, the number unless NOT_GIVEN, then
    // the slot path text unless it is empty.
    POSITION AddHeadNew(uint32_t nPhysicalSlot, CString slotPath, uint32_t nBus, uint32_t nDevice,
                        uint32_t nFunction, CLocationResolver& resolver);
    // A loaded record at the head: the number unless NOT_GIVEN, then the
    // slot path text unless it is empty, its Bus/Device/Function asked for
    // when first needed.
    POSITION AddHeadStored(uint32_t nPhysicalSlot, CString slotPath);
    // The first record with the same text or, resolved, the same
    // Bus/Device/Function; records before it are resolved on the way.
    POSITION FindBySlotPath(CString slotPath, CLocationResolver& resolver);
    // The first record with the same slot path text, trimmed.
    POSITION FindBySlotPathText(CString slotPath) const;
    // Before the first record whose slot path text sorts after the new one.
    POSITION InsertBySlotPath(const CSlotRecord& record);
    void Clear();
};
