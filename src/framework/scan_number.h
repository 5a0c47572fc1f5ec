#pragma once
// Reads one number the way sscanf's %d and %x conversions do, for texts that
// come from the registry or the user: white space skipped, an optional sign
// (a minus negates modulo 2^32), for base 16 an optional "0x" or "0X" prefix,
// then the digits. Unlike sscanf it is defined for any input: a value too
// large for 32 bits saturates at 0xFFFFFFFF. Free of windows.h.
#include <cstddef>
#include <cstdint>

// A width other than 0 limits the characters read after the white space,
// sign and prefix included, as a scanf field width does ("%04X").
// On success advances *ppText past the number and stores it; otherwise
// leaves both alone.
bool ScanNumber(const char** ppText, int base, uint32_t* pValue, size_t width = 0);

// Matches one literal character, as a format's ordinary character does (no
// white space is skipped before it).
bool ScanLiteral(const char** ppText, char ch);
