// ScanNumber reads every number of the registry and typed texts. It must stay
// inside its text, keep to a field width, leave everything alone when there is
// no number, and read what strtoull reads in the field (the text cut after
// the width), saturating where the magnitude passes 32 bits. The first byte
// picks the base and the width.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "framework/number_text.h"
#include "fuzz_support.h"

namespace {
const uint32_t UNTOUCHED = 0x5A5A5A5A;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    int base = (data[0] & 1) ? 16 : 10;
    size_t width = (data[0] >> 1) % 12; // 0: no width
    std::string text = InputText(data + 1, size - 1);
    const char* start = text.c_str();
    const char* end = start + std::strlen(start);
    const char* digits = start + std::strspn(start, " \t\n\v\f\r");

    const char* p = start;
    uint32_t value = UNTOUCHED;
    bool read = ScanNumber(&p, base, &value, width);
    if (!read) {
        FUZZ_CHECK(p == start && value == UNTOUCHED);
    } else {
        FUZZ_CHECK(p > digits && p <= end);
        FUZZ_CHECK(width == 0 || static_cast<size_t>(p - digits) <= width);
    }

    std::string field = width != 0 ? text.substr(0, (digits - start) + width) : text;
    errno = 0;
    char* referenceEnd = nullptr;
    unsigned long long reference = std::strtoull(field.c_str(), &referenceEnd, base);
    bool overflow = errno == ERANGE;
    FUZZ_CHECK(read == (referenceEnd != field.c_str()));
    if (!read)
        return 0;
    FUZZ_CHECK(p - start == referenceEnd - field.c_str());
    bool negative = *digits == '-';
    unsigned long long magnitude = negative ? 0ull - reference : reference;
    if (overflow || magnitude > 0xFFFFFFFFull)
        magnitude = 0xFFFFFFFFull;
    uint32_t expected = static_cast<uint32_t>(magnitude);
    FUZZ_CHECK(value == (negative ? 0u - expected : expected));
    return 0;
}
