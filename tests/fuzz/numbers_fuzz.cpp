// The one number reader and the field readings built on it. ScanNumber must
// stay inside its text, keep to a field width, leave everything alone when
// there is no number, and read what strtoull reads in the field (the text cut
// after the width), saturating where the magnitude passes 32 bits. A typed
// location number reads the same way in the base its "0x" chooses and reads
// back from its "%d" form; a PhysicalSlots name's number reads back from its
// "%d" form. The first byte picks base and width; the rest is the text.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "framework/number_text.h"
#include "fuzz_support.h"
#include "model/field_numbers.h"

namespace {
const uint32_t UNTOUCHED = 0x5A5A5A5A;

// What strtoull reads, saturated at 32 bits and negated modulo 2^32.
bool Reference(const std::string& field, int base, uint32_t* value, size_t* used) {
    errno = 0;
    char* end = nullptr;
    unsigned long long read = std::strtoull(field.c_str(), &end, base);
    *used = static_cast<size_t>(end - field.c_str());
    if (*used == 0)
        return false;
    bool negative = field[field.find_first_not_of(" \t\n\v\f\r")] == '-';
    unsigned long long magnitude = negative ? 0ull - read : read;
    if (errno == ERANGE || magnitude > 0xFFFFFFFFull)
        magnitude = 0xFFFFFFFFull;
    *value = negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    int base = (data[0] & 1) ? 16 : 10;
    size_t width = (data[0] >> 1) % 12; // 0: no width
    std::string text = InputText(data + 1, size - 1);
    const char* start = text.c_str();
    size_t blanks = std::strspn(start, " \t\n\v\f\r");

    const char* p = start;
    uint32_t value = UNTOUCHED;
    bool read = ScanNumber(&p, base, &value, width);
    uint32_t expected = 0;
    size_t used = 0;
    std::string field = width != 0 ? text.substr(0, blanks + width) : text;
    FUZZ_CHECK(read == Reference(field, base, &expected, &used));
    if (read) {
        FUZZ_CHECK(static_cast<size_t>(p - start) == used && value == expected);
    } else {
        FUZZ_CHECK(p == start && value == UNTOUCHED);
    }

    // A typed location number: trimmed, hexadecimal after an exact "0x".
    size_t last = text.find_last_not_of(" \t\n\v\f\r");
    std::string trimmed = last == std::string::npos ? "" : text.substr(blanks, last + 1 - blanks);
    uint32_t number = ParseLocationNumber(CString(text));
    int typedBase = trimmed.compare(0, 2, "0x") == 0 ? 16 : 10;
    if (!Reference(trimmed, typedBase, &expected, &used))
        expected = NOT_GIVEN;
    FUZZ_CHECK(number == expected);
    if (number != NOT_GIVEN)
        FUZZ_CHECK(ParseLocationNumber(FormatDecimal(number)) == number);

    int32_t slot = ParseSlotNumber(start);
    CString written;
    written.Format("%d", slot);
    FUZZ_CHECK(written.GetLength() <= 11 && ParseSlotNumber(written) == slot);
    return 0;
}
