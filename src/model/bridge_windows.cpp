#include "model/bridge_windows.h"

#include <cctype>
#include <cstring>

#include "framework/number_text.h"

namespace {
uint32_t WindowTop(bool bIoKind) { return bIoKind ? IO_WINDOW_TOP : MEM_WINDOW_TOP; }
uint32_t WindowAlignment(bool bIoKind) {
    return bIoKind ? IO_WINDOW_ALIGNMENT : MEM_WINDOW_ALIGNMENT;
}

// How many numbers the form "(%x,%x,%x:%x)" (parenthesised) or "%x:%x"
// reads before the first mismatch, as sscanf counts them.
// *ppEnd is where the scan stopped.
int ScanParenthesised(const char* p, uint32_t numbers[4], const char** ppEnd) {
    *ppEnd = p;
    if (!ScanLiteral(&p, '('))
        return 0;
    int count = 0;
    const char separators[3] = {',', ',', ':'};
    for (int i = 0; i < 4; ++i) {
        if (!ScanNumber(&p, 16, &numbers[i]))
            break;
        ++count;
        *ppEnd = p;
        if (i < 3 && !ScanLiteral(&p, separators[i]))
            break;
    }
    return count;
}

int ScanPlain(const char* p, uint32_t numbers[2], const char** ppEnd) {
    *ppEnd = p;
    if (!ScanNumber(&p, 16, &numbers[0]))
        return 0;
    *ppEnd = p;
    if (!ScanLiteral(&p, ':') || !ScanNumber(&p, 16, &numbers[1]))
        return 1;
    *ppEnd = p;
    return 2;
}

// Nothing but blanks from p on, after one closing bracket when bClosed.
bool EndsHere(const char* p, bool bClosed) {
    if (bClosed && !ScanLiteral(&p, ')'))
        return false;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    return *p == '\0';
}

CBridgeWindow WindowOrNotGiven(const CSlotRecord& record, uint32_t flag,
                               const CBridgeWindow& window) {
    if (record.m_dwFlags & flag)
        return window;
    return {NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, NOT_GIVEN};
}

void AppendWindow(CString& text, const CBridgeWindow& window, bool bIoKind) {
    CString one;
    FormatWindow(one, window.m_dwFrom, window.m_dwTo, window.m_dwSize, window.m_dwAlignment,
                 bIoKind);
    text += one;
}
} // namespace

void FormatWindow(CString& text, uint32_t dwFrom, uint32_t dwTo, uint32_t dwSize,
                  uint32_t dwAlignment, bool bIoKind) {
    CString suffix;
    if (dwAlignment != WindowAlignment(bIoKind))
        suffix.Format(":%x", dwAlignment);
    if (dwFrom == 0 && dwTo == WindowTop(bIoKind))
        text.Format("%x%s", dwSize, static_cast<const char*>(suffix));
    else
        text.Format("(%x,%x,%x%s)", dwSize, dwFrom, dwTo, static_cast<const char*>(suffix));
}

bool ParseWindow(CString text, CBridgeWindow* pWindow, bool bIoKind, bool* pbWhole) {
    *pWindow = {WINDOW_UNPARSED, WINDOW_UNPARSED, WINDOW_UNPARSED, WINDOW_UNPARSED};
    uint32_t n[4] = {};
    const char* end = nullptr;
    bool bWhole = false;
    int parenthesised = ScanParenthesised(text, n, &end);
    int plain = 0;
    if (parenthesised >= 3) {
        *pWindow = {n[1], n[2], n[0], parenthesised == 4 ? n[3] : WindowAlignment(bIoKind)};
        bWhole = EndsHere(end, true);
    } else if ((plain = ScanPlain(text, n, &end)) >= 1) {
        *pWindow = {0, WindowTop(bIoKind), n[0], plain == 2 ? n[1] : WindowAlignment(bIoKind)};
        bWhole = EndsHere(end, false);
    }
    if (pbWhole)
        *pbWhole = bWhole;
    return parenthesised >= 3 || plain >= 1;
}

bool ParseResourceString(CString text, CBridgeWindow* pIo, CBridgeWindow* pMem,
                         CBridgeWindow* pPrefetch, int32_t* pbDynamicBusAssignment,
                         CResourceStringForm* pForm) {
    CResourceStringForm form = {};
    *pbDynamicBusAssignment = 0;
    CBridgeWindow* windows[3] = {pIo, pMem, pPrefetch};
    const char* rest = text;
    for (int i = 0; i < 3; ++i) {
        while (std::isspace(static_cast<unsigned char>(*rest)))
            ++rest;
        // A parenthesised window runs to its ')', any other to the next ','.
        const char* end = nullptr;
        if (*rest == '(') {
            end = std::strchr(rest, ')');
            if (end)
                ++end;
        } else {
            end = std::strchr(rest, ',');
            if (end == rest)
                end = nullptr;
        }
        size_t length = end ? static_cast<size_t>(end - rest) : std::strlen(rest);
        form.bWindowMatched[i] = ParseWindow(CString(std::string(rest, length)), windows[i], i == 0,
                                             &form.bWindowWhole[i]);
        // Past the window text and the one separator after it, if any.
        rest += length;
        if (*rest)
            ++rest;
    }
    uint32_t field = 0;
    if (ScanNumber(&rest, 16, &field))
        *pbDynamicBusAssignment = 1;
    while (std::isspace(static_cast<unsigned char>(*rest)))
        ++rest;
    form.bTailIsNumber = *rest == '\0';
    if (pForm)
        *pForm = form;
    return true;
}

CString FormatResourceString(const CSlotRecord& record) {
    CString text;
    AppendWindow(text, WindowOrNotGiven(record, SLOT_HAS_IO, record.m_ioWindow), true);
    text += ",";
    AppendWindow(text, WindowOrNotGiven(record, SLOT_HAS_MEM, record.m_memWindow), false);
    text += ",";
    AppendWindow(text, WindowOrNotGiven(record, SLOT_HAS_PREFETCH, record.m_prefetchWindow), false);
    if ((record.m_dwFlags & SLOT_HAS_DYNBUS) && record.m_bDynamicBusAssignment != 0)
        text += ",0";
    return text;
}

bool HasAnyWindow(const CSlotRecord& record) {
    return (record.m_dwFlags & (SLOT_HAS_IO | SLOT_HAS_MEM | SLOT_HAS_PREFETCH)) != 0;
}

POSITION AddFromRegistry(CSlotRecordList& bridges, CString name, CString data) {
    CSlotRecord record;
    ParseResourceString(data, &record.m_ioWindow, &record.m_memWindow, &record.m_prefetchWindow,
                        &record.m_bDynamicBusAssignment);
    record.SetStoredSlotPath(name);
    record.m_dwFlags |= SLOT_HAS_IO | SLOT_HAS_MEM | SLOT_HAS_PREFETCH | SLOT_HAS_DYNBUS;
    return bridges.InsertBySlotPath(record);
}
