#pragma once
// The numbers of the pages' entry fields and of the registry's value names,
// each read as the program has always read it, all through the framework's
// one number reader. Free of windows.h.
#include <cstdint>

#include "framework/cstring.h"

// No number: in list operation arguments, in parse results, and for a field
// whose presence flag is clear.
constexpr uint32_t NOT_GIVEN = 0xABCDEFAA;

// A typed bus, device, function or window number: "0x" (lower case) means
// hexadecimal, otherwise decimal, as sscanf's %x or %d read it; NOT_GIVEN
// when there is no number. Text after the number is ignored.
uint32_t ParseLocationNumber(CString text);
// The "%d" form.
CString FormatDecimal(uint32_t nValue);

// A PhysicalSlots value name as a number, the way atoi reads it: leading
// blanks, a sign and the digits; 0 when there are none. Out-of-range
// numbers stop at the limits of 32 bits.
int32_t ParseSlotNumber(const char* pszName);

// A hexadecimal field of the device requirements page, read as the Windows
// run-time's strtoul in base 16 reads it, whatever the host's run-time does.
// Trims white space from both ends of the text itself, skips one leading
// "0x" or "0X" and reads the rest: white space, an optional sign (a minus
// negates modulo 2^32), an optional "0x" prefix, then hexadecimal digits. A
// number beyond 32 bits reads as FFFFFFFF, with or without a sign; no digits
// read as 0. When pbError is given, it is set to whether any character
// remains behind the number (an empty text reads as 0 without error).
uint32_t ParseHexField(CString& text, bool* pbError = nullptr);
