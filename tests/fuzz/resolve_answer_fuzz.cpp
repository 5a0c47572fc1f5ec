// The driver's resolve answer: the description is read from the bytes the
// driver returned only, after the header, as little-endian UTF-16 units up to
// the first NUL, and never written past the caller's room (the first input
// byte gives it).
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "sys/slot_path_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    size_t capacity = data[0] + 1u;
    // Exact sizes, so that AddressSanitizer sees any step outside.
    std::unique_ptr<uint8_t[]> answer(new uint8_t[size - 1]);
    std::memcpy(answer.get(), data + 1, size - 1);
    std::unique_ptr<uint16_t[]> text(new uint16_t[capacity]);

    size_t units = CopyAnswerText(answer.get(), size - 1, text.get(), capacity);
    FUZZ_CHECK(units < capacity);
    FUZZ_CHECK(text[units] == 0);
    for (size_t i = 0; i < units; ++i) {
        size_t at = SLOT_LOCATION_HEADER_SIZE + 2 * i;
        FUZZ_CHECK(at + 2 <= size - 1);
        FUZZ_CHECK(text[i] == (answer[at] | answer[at + 1] << 8));
        FUZZ_CHECK(text[i] != 0);
    }
    // It stopped at a NUL, at the end of the answer, or at the end of the room.
    size_t next = SLOT_LOCATION_HEADER_SIZE + 2 * units;
    bool atNul = next + 2 <= size - 1 && answer[next] == 0 && answer[next + 1] == 0;
    FUZZ_CHECK(atNul || next + 2 > size - 1 || units + 1 == capacity);
    return 0;
}
