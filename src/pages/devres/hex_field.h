#pragma once
// The hexadecimal entry fields of the device requirements page. They read as
// the Windows run-time's strtoul in base 16 reads, whatever the host's
// run-time does, so that the page behaves the same in every build. Free of
// windows.h.
#include <cstdint>

#include "framework/cstring.h"

// Trims white space from both ends of the text itself, skips one leading
// "0x" or "0X" and reads the rest as strtoul does in base 16: white space,
// an optional sign (a minus negates modulo 2^32), an optional "0x" prefix,
// then hexadecimal digits. A number beyond 32 bits reads as FFFFFFFF, with
// or without a sign; no digits read as 0. When pbError is given, it is set
// to whether any character remains behind the number (an empty text reads
// as 0 without error).
uint32_t ParseHexField(CString& text, bool* pbError = nullptr);
