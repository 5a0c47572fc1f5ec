// Bridge windows and resource strings (ResourceAssignments data). A window
// text that matches no form leaves the window marked unparsed; every window,
// read from a text or made of any four numbers, formats to a text that reads
// back as the same window. A stored resource string loads as a bridge record
// whose string fits the load's 256-byte data buffer and loads again as the
// same record. The first byte picks the window's kind; with 17 bytes or more,
// bytes 1 to 16 are also a window as it is; the rest is the text.
#include <cstring>

#include "fuzz_support.h"
#include "model/bridge_windows.h"

namespace {
const int LOAD_DATA_BUFFER = 256;
// The longest form: "(size,from,to:alignment)" with eight digits each.
const int LONGEST_WINDOW_TEXT = 37;

void CheckWindow(const CBridgeWindow& window, bool bIoKind) {
    CString text;
    FormatWindow(text, window.m_dwFrom, window.m_dwTo, window.m_dwSize, window.m_dwAlignment,
                 bIoKind);
    FUZZ_CHECK(text.GetLength() > 0 && text.GetLength() <= LONGEST_WINDOW_TEXT);
    CBridgeWindow again;
    FUZZ_CHECK(ParseWindow(text, &again, bIoKind) && again == window);
}

CSlotRecord Loaded(const CString& text) {
    CSlotRecordList bridges;
    return bridges.GetAt(AddFromRegistry(bridges, "0A08", text));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    bool bIoKind = (data[0] & 1) != 0;
    CString text(InputText(data + 1, size - 1));
    CBridgeWindow window = {1, 2, 3, 4};
    if (!ParseWindow(text, &window, bIoKind))
        FUZZ_CHECK(window == (CBridgeWindow{WINDOW_UNPARSED, WINDOW_UNPARSED, WINDOW_UNPARSED,
                                            WINDOW_UNPARSED}));
    CheckWindow(window, bIoKind);
    if (size >= 1 + sizeof(CBridgeWindow)) {
        CBridgeWindow raw;
        std::memcpy(&raw, data + 1, sizeof raw);
        CheckWindow(raw, bIoKind);
    }

    CSlotRecord record = Loaded(text);
    FUZZ_CHECK(record.m_bDynamicBusAssignment == 0 || record.m_bDynamicBusAssignment == 1);
    CString stored = FormatResourceString(record);
    FUZZ_CHECK(stored.GetLength() + 1 <= LOAD_DATA_BUFFER);
    CSlotRecord again = Loaded(stored);
    FUZZ_CHECK(again == record && FormatResourceString(again) == stored);
    return 0;
}
