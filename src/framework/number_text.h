#pragma once
// The one reader of numbers in text, for texts that come from the registry,
// the driver or the user; the callers' readings (sscanf's %d and %x, the
// Windows run-time's strtoul and atoi, the data exchange's unsigned fields)
// differ only in what they make of its result. Defined for any input, the
// same on every host. Free of windows.h.
#include <cstddef>
#include <cstdint>

// 0 to 15 for a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char ch);

// A number as read: its sign and its magnitude, which stops growing just
// above 32 bits, so that an overflow shows whatever the number of digits.
struct CNumberText {
    bool bNegative = false;
    uint64_t nMagnitude = 0;
    bool Overflows() const { return nMagnitude > 0xFFFFFFFFu; }
};

// White space, an optional sign, for base 16 an optional "0x" or "0X" when a
// digit follows it, then the digits of the base. A width other than 0 limits
// the characters read after the white space, sign and prefix included, as a
// scanf field width does. On success advances *ppText past the digits;
// otherwise leaves it alone.
bool ReadNumber(const char** ppText, int base, CNumberText* pNumber, size_t width = 0);

// sscanf's %d or %x (with an optional width): a magnitude beyond 32 bits
// reads as 0xFFFFFFFF, and a minus negates modulo 2^32.
bool ScanNumber(const char** ppText, int base, uint32_t* pValue, size_t width = 0);

// Matches one literal character, as a format's ordinary character does (no
// white space is skipped before it).
bool ScanLiteral(const char** ppText, char ch);
