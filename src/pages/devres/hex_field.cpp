#include "pages/devres/hex_field.h"

#include <cctype>

namespace {

int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

bool IsHexPrefix(const char* p) { return p[0] == '0' && (p[1] == 'x' || p[1] == 'X'); }

// strtoul(text, &end, 16) of the Windows run-time, where unsigned long has
// 32 bits: an overflow gives ULONG_MAX even behind a minus sign, and a text
// without digits (a prefix or sign alone included) ends at its start.
uint32_t ReadUnsigned(const char* text, const char** pEnd) {
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    if (IsHexPrefix(p))
        p += 2;
    if (HexDigit(*p) < 0) {
        *pEnd = text;
        return 0;
    }
    uint64_t value = 0;
    bool overflow = false;
    for (int digit; (digit = HexDigit(*p)) >= 0; ++p) {
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value &= 0xFFFFFFFFu; // every digit is still read
        }
    }
    *pEnd = p;
    if (overflow)
        return 0xFFFFFFFFu;
    uint32_t result = static_cast<uint32_t>(value);
    return negative ? 0u - result : result;
}

} // namespace

uint32_t ParseHexField(CString& text, bool* pbError) {
    text.TrimLeft();
    text.TrimRight();
    const char* p = text;
    if (IsHexPrefix(p))
        p += 2;
    const char* end = p;
    uint32_t value = ReadUnsigned(p, &end);
    if (pbError)
        *pbError = *end != '\0';
    return value;
}
