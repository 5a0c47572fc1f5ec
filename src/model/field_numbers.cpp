#include "model/field_numbers.h"

#include <cstring>

#include "framework/number_text.h"

uint32_t ParseLocationNumber(CString text) {
    text.TrimLeft();
    text.TrimRight();
    const char* p = text;
    int base = std::strncmp(p, "0x", 2) == 0 ? 16 : 10;
    uint32_t value = NOT_GIVEN;
    if (!ScanNumber(&p, base, &value))
        return NOT_GIVEN;
    return value;
}

CString FormatDecimal(uint32_t nValue) {
    CString text;
    text.Format("%d", static_cast<int>(nValue));
    return text;
}

int32_t ParseSlotNumber(const char* pszName) {
    CNumberText number;
    if (!ReadNumber(&pszName, 10, &number))
        return 0;
    int64_t value = static_cast<int64_t>(number.nMagnitude);
    if (number.bNegative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

uint32_t ParseHexField(CString& text, bool* pbError) {
    text.TrimLeft();
    text.TrimRight();
    const char* p = text;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    // The Windows run-time's unsigned long has 32 bits: an overflow gives
    // ULONG_MAX even behind a minus sign, and a text without digits ends at
    // its start.
    CNumberText number;
    uint32_t value = 0;
    if (ReadNumber(&p, 16, &number)) {
        value = number.Overflows() ? 0xFFFFFFFFu : static_cast<uint32_t>(number.nMagnitude);
        if (number.bNegative && !number.Overflows())
            value = 0u - value;
    }
    if (pbError)
        *pbError = *p != '\0';
    return value;
}
