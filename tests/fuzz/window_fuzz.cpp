// Bridge window texts: a text that matches no form leaves the window marked
// unparsed, and every window, read from a text or made of any four numbers,
// formats to a text that reads back as the same window. The first byte picks
// the kind; with 17 bytes or more, bytes 1 to 16 are also a window as it is.
#include <cstring>

#include "fuzz_support.h"
#include "model/bridge_windows.h"

namespace {
// The longest form: "(size,from,to:alignment)" with eight digits each.
const int LONGEST_WINDOW_TEXT = 37;

bool SameWindow(const CBridgeWindow& a, const CBridgeWindow& b) {
    return a.m_dwFrom == b.m_dwFrom && a.m_dwTo == b.m_dwTo && a.m_dwSize == b.m_dwSize &&
           a.m_dwAlignment == b.m_dwAlignment;
}

void CheckRoundTrip(const CBridgeWindow& window, bool bIoKind) {
    CString text;
    FormatWindow(text, window.m_dwFrom, window.m_dwTo, window.m_dwSize, window.m_dwAlignment,
                 bIoKind);
    FUZZ_CHECK(text.GetLength() > 0 && text.GetLength() <= LONGEST_WINDOW_TEXT);
    CBridgeWindow again;
    FUZZ_CHECK(ParseWindow(text, &again, bIoKind));
    FUZZ_CHECK(SameWindow(again, window));
    CString twice;
    FormatWindow(twice, again.m_dwFrom, again.m_dwTo, again.m_dwSize, again.m_dwAlignment, bIoKind);
    FUZZ_CHECK(twice == text);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    bool bIoKind = (data[0] & 1) != 0;
    CBridgeWindow window = {1, 2, 3, 4};
    if (!ParseWindow(CString(InputText(data + 1, size - 1)), &window, bIoKind)) {
        const CBridgeWindow unparsed = {WINDOW_UNPARSED, WINDOW_UNPARSED, WINDOW_UNPARSED,
                                        WINDOW_UNPARSED};
        FUZZ_CHECK(SameWindow(window, unparsed));
    }
    CheckRoundTrip(window, bIoKind);

    if (size >= 1 + sizeof(CBridgeWindow)) {
        CBridgeWindow raw;
        std::memcpy(&raw, data + 1, sizeof raw);
        CheckRoundTrip(raw, bIoKind);
    }
    return 0;
}
