#include "framework/number_text.h"

#include <cctype>

int HexDigitValue(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

namespace {
int DigitValue(char ch, int base) {
    int value = HexDigitValue(ch);
    return value < base ? value : -1;
}
} // namespace

bool ReadNumber(const char** ppText, int base, CNumberText* pNumber, size_t width) {
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
    uint64_t magnitude = 0;
    for (int digit; left > 0 && (digit = DigitValue(*p, base)) >= 0; ++p, --left) {
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFu)
            magnitude = 0x100000000u; // stays above the limit however many digits follow
    }
    pNumber->bNegative = negative;
    pNumber->nMagnitude = magnitude;
    *ppText = p;
    return true;
}

bool ScanNumber(const char** ppText, int base, uint32_t* pValue, size_t width) {
    CNumberText number;
    if (!ReadNumber(ppText, base, &number, width))
        return false;
    uint32_t result = number.Overflows() ? 0xFFFFFFFFu : static_cast<uint32_t>(number.nMagnitude);
    *pValue = number.bNegative ? 0u - result : result;
    return true;
}

bool ScanLiteral(const char** ppText, char ch) {
    if (**ppText != ch)
        return false;
    ++*ppText;
    return true;
}
