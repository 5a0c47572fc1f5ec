#include "framework/scan_number.h"

#include <cctype>

namespace {
int DigitValue(char ch, int base) {
    int value = -1;
    if (ch >= '0' && ch <= '9')
        value = ch - '0';
    else if (ch >= 'a' && ch <= 'f')
        value = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F')
        value = ch - 'A' + 10;
    return value < base ? value : -1;
}
} // namespace

bool ScanNumber(const char** ppText, int base, uint32_t* pValue, size_t width) {
    const char* p = *ppText;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    size_t left = width != 0 ? width : SIZE_MAX;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p++ == '-';
        --left;
    }
    // "0x" is a prefix only when a digit follows within the width; otherwise
    // the 0 is the number.
    if (base == 16 && left >= 3 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
        DigitValue(p[2], 16) >= 0) {
        p += 2;
        left -= 2;
    }
    if (left == 0 || DigitValue(*p, base) < 0)
        return false;
    uint64_t value = 0;
    for (int digit; left > 0 && (digit = DigitValue(*p, base)) >= 0; ++p, --left) {
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu)
            value = 0x100000000u; // stays above the limit however many digits follow
    }
    uint32_t result = value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
    *pValue = negative ? 0u - result : result;
    *ppText = p;
    return true;
}

bool ScanLiteral(const char** ppText, char ch) {
    if (**ppText != ch)
        return false;
    ++*ppText;
    return true;
}
