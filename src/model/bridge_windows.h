#pragma once
// The text forms of a bridge's windows: one window ("size", "size:align",
// "(size,from,to)" or "(size,from,to:align)", in hexadecimal) and the
// resource string of a bridge record (I/O, memory and prefetchable memory
// windows, then ",0" when bus numbers are assigned dynamically), as stored
// in ResourceAssignments and shown in the bridge list. Free of windows.h.
#include <cstdint>

#include "framework/cstring.h"
#include "model/slot_record.h"

// All four numbers of a window whose text matches none of the forms.
constexpr uint32_t WINDOW_UNPARSED = 0xBAD;

// The I/O kind's range ends at 0xFFFF and aligns at 0x1000 by default; the
// memory kind's ends at 0xFFFFFFFF and aligns at 0x100000.
constexpr uint32_t IO_WINDOW_TOP = 0xFFFF;
constexpr uint32_t IO_WINDOW_ALIGNMENT = 0x1000;
constexpr uint32_t MEM_WINDOW_TOP = 0xFFFFFFFF;
constexpr uint32_t MEM_WINDOW_ALIGNMENT = 0x100000;

// Leaves out the default range and the default alignment of the kind.
void FormatWindow(CString& text, uint32_t dwFrom, uint32_t dwTo, uint32_t dwSize,
                  uint32_t dwAlignment, bool bIoKind);
// Tries the four forms in order; false, with WINDOW_UNPARSED in all four
// numbers, when none matches. *pbWhole tells whether the form took the whole
// text, blanks apart: "1000zz" reads as 1000, but is no window the bridge
// page would write.
bool ParseWindow(CString text, CBridgeWindow* pWindow, bool bIoKind, bool* pbWhole = nullptr);
// How far a resource string keeps to its form: whether each window's text
// matched one of the forms and was nothing but that form, and whether what
// follows the third window is nothing or one hexadecimal number.
struct CResourceStringForm {
    bool bWindowMatched[3];
    bool bWindowWhole[3];
    bool bTailIsNumber;
};
// Splits the three window texts and the dynamic-bus field; always true.
bool ParseResourceString(CString text, CBridgeWindow* pIo, CBridgeWindow* pMem,
                         CBridgeWindow* pPrefetch, int32_t* pbDynamicBusAssignment,
                         CResourceStringForm* pForm = nullptr);
// The resource string a record stores: a window whose flag is clear reads
// as NOT_GIVEN in all four numbers.
CString FormatResourceString(const CSlotRecord& record);
// A record carries at least one window: one that has none (a bridge known
// only for its no-reset mark) stores no resource string.
bool HasAnyWindow(const CSlotRecord& record);

// One ResourceAssignments value: the bridge's slot path and its resource
// string. The record goes in at its slot path place, which is returned; its
// Bus/Device/Function is asked for when first needed.
POSITION AddFromRegistry(CSlotRecordList& bridges, CString name, CString data);
