// Slot paths, from the registry and from the driver. The first byte gives a
// buffer's room; the rest is a slot path text, a driver's resolve answer, and
// (cut at its first NUL) a PhysicalSlots value's name and data.
// - Digit pairs are read never past their buffer and not at all unless the
//   whole text is good; what was read formats back, in exactly its room, as
//   the upper-case text.
// - The resolve answer's description is read from the returned bytes only,
//   after the header, up to the first NUL, within the caller's room.
// - A stored slot loads, saves and loads again to the same record.
#include <cctype>
#include <cstring>
#include <memory>

#include "fuzz_support.h"
#include "model/slot_record.h"
#include "portable/fake_resolver.h"
#include "model/slot_path_text.h"

namespace {
const uint8_t GUARD = 0xA5;

void CheckHexText(const std::string& text, size_t capacity) {
    const char* start = text.c_str();
    size_t length = std::strlen(start);
    // Exact sizes, so that AddressSanitizer sees any step outside.
    std::unique_ptr<uint8_t[]> bytes(new uint8_t[capacity + 1]);
    std::memset(bytes.get(), GUARD, capacity + 1);
    size_t count = 12345;
    HexTextResult result = ParseHexText(start, bytes.get(), capacity, &count);
    bool wellFormed = length % 2 == 0;
    for (size_t i = 0; i < length; ++i)
        wellFormed = wellFormed && std::isxdigit(static_cast<unsigned char>(start[i]));
    FUZZ_CHECK((result == HexTextResult::Malformed) == !wellFormed);
    FUZZ_CHECK((result == HexTextResult::TooLong) == (wellFormed && length / 2 > capacity));
    FUZZ_CHECK(bytes[capacity] == GUARD);
    if (result != HexTextResult::Ok) {
        FUZZ_CHECK(count == 12345 && bytes[0] == GUARD);
        return;
    }
    std::unique_ptr<char[]> formatted(new char[length + 1]);
    FUZZ_CHECK(!FormatHexText(bytes.get(), count, formatted.get(), length));
    FUZZ_CHECK(FormatHexText(bytes.get(), count, formatted.get(), length + 1));
    for (size_t i = 0; i <= length; ++i)
        FUZZ_CHECK(formatted[i] == std::toupper(static_cast<unsigned char>(start[i])));
}

void CheckAnswer(const uint8_t* answer, size_t size, size_t capacity) {
    std::unique_ptr<uint16_t[]> text(new uint16_t[capacity]);
    size_t units = CopyAnswerText(answer, size, text.get(), capacity);
    FUZZ_CHECK(units < capacity && text[units] == 0);
    for (size_t i = 0; i < units; ++i) {
        size_t at = SLOT_LOCATION_HEADER_SIZE + 2 * i;
        FUZZ_CHECK(at + 2 <= size && text[i] == (answer[at] | answer[at + 1] << 8) && text[i]);
    }
    // It stopped at a NUL, at the end of the answer, or at the end of the room.
    size_t next = SLOT_LOCATION_HEADER_SIZE + 2 * units;
    bool atNul = next + 2 <= size && answer[next] == 0 && answer[next + 1] == 0;
    FUZZ_CHECK(atNul || next + 2 > size || units + 1 == capacity);
}

void CheckStoredSlot(const std::string& name, const std::string& data) {
    int32_t slot = ParseSlotNumber(name.c_str());
    // This one number is the list operations' "no number".
    if (static_cast<uint32_t>(slot) == NOT_GIVEN)
        return;
    CTableResolver driver({{"0A08", 1, 1, 2}});
    CSlotRecordList loaded, reloaded;
    const CSlotRecord& record = loaded.GetAt(loaded.AddHeadNew(
        static_cast<uint32_t>(slot), CString(data), NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, driver));
    FUZZ_CHECK((record.m_dwFlags & SLOT_HAS_PHYSICAL) && record.m_nPhysicalSlot == slot);
    CString savedName;
    savedName.Format("%d", record.m_nPhysicalSlot);
    const CSlotRecord& again = reloaded.GetAt(
        reloaded.AddHeadNew(static_cast<uint32_t>(ParseSlotNumber(savedName)), record.GetSlotPath(),
                            NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, driver));
    FUZZ_CHECK(again == record && IsSameSlot(record, again));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::string text = InputText(data + 1, size - 1);
    CheckHexText(text, data[0]);
    FUZZ_CHECK(SkipSlotPathMark(text.c_str()) == text.c_str() + (text[0] == '*' ? 1 : 0));
    std::unique_ptr<uint8_t[]> answer(new uint8_t[size - 1]);
    std::memcpy(answer.get(), data + 1, size - 1);
    CheckAnswer(answer.get(), size - 1, data[0] + 1u);
    std::vector<std::string> pieces = InputPieces(data + 1, size - 1);
    CheckStoredSlot(pieces[0], pieces.size() > 1 ? pieces[1] : std::string());
    return 0;
}
