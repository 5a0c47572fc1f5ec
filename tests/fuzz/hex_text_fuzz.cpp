// Slot path text: digit pairs read into a buffer of the first byte's size,
// never past it and not at all unless the whole text is good; what was read
// formats back, in exactly its room, as the upper-case text and reads again
// as the same bytes.
#include <cctype>
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "sys/slot_path_text.h"

namespace {
const uint8_t GUARD = 0xA5;
const size_t UNTOUCHED = 12345;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    size_t capacity = data[0];
    std::string text = InputText(data + 1, size - 1);
    const char* start = text.c_str();
    size_t length = std::strlen(start);

    FUZZ_CHECK(SkipSlotPathMark(start) == start + (start[0] == '*' ? 1 : 0));

    // Exact sizes, so that AddressSanitizer sees any step outside.
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[capacity]);
    std::memset(bytes.get(), GUARD, capacity);
    size_t count = UNTOUCHED;
    HexTextResult result = ParseHexText(start, bytes.get(), capacity, &count);

    bool wellFormed = length % 2 == 0;
    for (size_t i = 0; i < length; ++i)
        wellFormed = wellFormed && std::isxdigit(static_cast<unsigned char>(start[i]));
    FUZZ_CHECK((result == HexTextResult::Malformed) == !wellFormed);
    FUZZ_CHECK((result == HexTextResult::TooLong) == (wellFormed && length / 2 > capacity));
    if (result != HexTextResult::Ok) {
        FUZZ_CHECK(count == UNTOUCHED);
        for (size_t i = 0; i < capacity; ++i)
            FUZZ_CHECK(bytes[i] == GUARD);
        return 0;
    }
    FUZZ_CHECK(count == length / 2);

    size_t room = 2 * count + 1;
    std::unique_ptr<char[]> formatted(new char[room]);
    std::memset(formatted.get(), 'z', room);
    FUZZ_CHECK(!FormatHexText(bytes.get(), count, formatted.get(), room - 1));
    for (size_t i = 0; i < room; ++i)
        FUZZ_CHECK(formatted[i] == 'z');
    FUZZ_CHECK(FormatHexText(bytes.get(), count, formatted.get(), room));
    FUZZ_CHECK(std::strlen(formatted.get()) == length);
    for (size_t i = 0; i < length; ++i)
        FUZZ_CHECK(formatted[i] == std::toupper(static_cast<unsigned char>(start[i])));

    std::unique_ptr<uint8_t[]> again(new uint8_t[count]);
    size_t againCount = 0;
    FUZZ_CHECK(ParseHexText(formatted.get(), again.get(), count, &againCount) == HexTextResult::Ok);
    FUZZ_CHECK(againCount == count && std::memcmp(again.get(), bytes.get(), count) == 0);
    return 0;
}
