// Bridge resource strings (ResourceAssignments data): a stored text loads as a
// bridge record whose string fits the load's 256-byte data buffer and loads
// again as the same record; a record with any mix of window flags stores a
// string that loads back with its windows, the missing ones as NOT_GIVEN. The
// first byte picks that mix; the rest is the stored text.
#include "fuzz_support.h"
#include "model/bridge_windows.h"

namespace {
const int LOAD_DATA_BUFFER = 256;
const uint32_t LOAD_FLAGS = SLOT_HAS_IO | SLOT_HAS_MEM | SLOT_HAS_PREFETCH | SLOT_HAS_DYNBUS;

bool SameWindow(const CBridgeWindow& a, const CBridgeWindow& b) {
    return a.m_dwFrom == b.m_dwFrom && a.m_dwTo == b.m_dwTo && a.m_dwSize == b.m_dwSize &&
           a.m_dwAlignment == b.m_dwAlignment;
}

CBridgeWindow Stored(const CSlotRecord& record, uint32_t flag, const CBridgeWindow& window) {
    if (record.m_dwFlags & flag)
        return window;
    return {NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, NOT_GIVEN};
}

// A bridge record as the load makes it from one stored string.
CSlotRecord Loaded(const CString& text) {
    CSlotRecord record;
    record.m_bDynamicBusAssignment = 7;
    FUZZ_CHECK(ParseResourceString(text, &record.m_ioWindow, &record.m_memWindow,
                                   &record.m_prefetchWindow, &record.m_bDynamicBusAssignment));
    FUZZ_CHECK(record.m_bDynamicBusAssignment == 0 || record.m_bDynamicBusAssignment == 1);
    record.m_dwFlags = LOAD_FLAGS;
    return record;
}

// Saves the record and loads what was saved.
void CheckSaveAndLoad(const CSlotRecord& record) {
    CString stored = FormatResourceString(record);
    FUZZ_CHECK(stored.GetLength() + 1 <= LOAD_DATA_BUFFER);
    CSlotRecord again = Loaded(stored);
    FUZZ_CHECK(SameWindow(again.m_ioWindow, Stored(record, SLOT_HAS_IO, record.m_ioWindow)));
    FUZZ_CHECK(SameWindow(again.m_memWindow, Stored(record, SLOT_HAS_MEM, record.m_memWindow)));
    FUZZ_CHECK(SameWindow(again.m_prefetchWindow,
                          Stored(record, SLOT_HAS_PREFETCH, record.m_prefetchWindow)));
    bool dynamic = (record.m_dwFlags & SLOT_HAS_DYNBUS) && record.m_bDynamicBusAssignment != 0;
    FUZZ_CHECK(again.m_bDynamicBusAssignment == (dynamic ? 1 : 0));
    FUZZ_CHECK(FormatResourceString(again) == stored);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    CSlotRecord record = Loaded(CString(InputText(data + 1, size - 1)));
    CheckSaveAndLoad(record);

    const uint32_t mixes[8] = {SLOT_HAS_IO,
                               SLOT_HAS_MEM,
                               SLOT_HAS_PREFETCH,
                               SLOT_HAS_DYNBUS,
                               SLOT_HAS_NORESET,
                               SLOT_HAS_PATH,
                               0,
                               0};
    record.m_dwFlags = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (data[0] & (1u << bit))
            record.m_dwFlags |= mixes[bit];
    }
    record.m_bDynamicBusAssignment = (data[0] & 0x40) ? 2 : (data[0] & 0x80) ? 1 : 0;
    CheckSaveAndLoad(record);
    return 0;
}
