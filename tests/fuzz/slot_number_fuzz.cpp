// Numbers of slot records: a PhysicalSlots value name (ParseSlotNumber) and a
// typed bus, device or function (ParseLocationNumber). A number written back
// in its "%d" form reads as itself, a typed number reads as strtoull reads it
// in the base its "0x" chooses, and a stored slot (name, then data after a
// NUL) loads, saves and loads again to the same record.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "model/slot_record.h"
#include "portable/fake_resolver.h"

namespace {
// What sscanf's "%d" or "%x" reads, saturated at 32 bits as ScanNumber does.
uint32_t Reference(const char* text, int base) {
    errno = 0;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, base);
    if (end == text)
        return NOT_GIVEN;
    bool negative = *text == '-';
    unsigned long long magnitude = negative ? 0ull - value : value;
    if (errno == ERANGE || magnitude > 0xFFFFFFFFull)
        magnitude = 0xFFFFFFFFull;
    return negative ? 0u - static_cast<uint32_t>(magnitude) : static_cast<uint32_t>(magnitude);
}

void CheckLocationNumber(const std::string& typed) {
    uint32_t number = ParseLocationNumber(CString(typed));
    size_t first = 0, last = typed.size();
    while (first < last && std::isspace(static_cast<unsigned char>(typed[first])))
        ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(typed[last - 1])))
        --last;
    std::string trimmed = typed.substr(first, last - first);
    int base = trimmed.compare(0, 2, "0x") == 0 ? 16 : 10;
    FUZZ_CHECK(number == Reference(trimmed.c_str(), base));
    if (number != NOT_GIVEN)
        FUZZ_CHECK(ParseLocationNumber(FormatDecimal(number)) == number);
}

void CheckStoredSlot(const std::string& name, const std::string& data) {
    int32_t slot = ParseSlotNumber(name.c_str());
    CString written;
    written.Format("%d", slot);
    FUZZ_CHECK(written.GetLength() <= 11 && ParseSlotNumber(written) == slot);
    // This one number is the list operations' "no number": such a value loads
    // without a physical slot, as the load has always read it.
    if (static_cast<uint32_t>(slot) == NOT_GIVEN)
        return;

    CSlotRecordList loaded;
    const CSlotRecord& record = loaded.GetAt(loaded.AddHeadNew(
        static_cast<uint32_t>(slot), CString(data), NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, NoDriver()));
    FUZZ_CHECK((record.m_dwFlags & SLOT_HAS_PHYSICAL) && record.m_nPhysicalSlot == slot);
    FUZZ_CHECK((record.m_dwFlags & ~(SLOT_HAS_PHYSICAL | SLOT_HAS_PATH | SLOT_PATH_STARRED)) == 0);

    CString savedName;
    savedName.Format("%d", record.m_nPhysicalSlot);
    CString savedData = record.GetSlotPath();
    CSlotRecordList reloaded;
    const CSlotRecord& again =
        reloaded.GetAt(reloaded.AddHeadNew(static_cast<uint32_t>(ParseSlotNumber(savedName)),
                                           savedData, NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, NoDriver()));
    FUZZ_CHECK(again.m_nPhysicalSlot == record.m_nPhysicalSlot);
    FUZZ_CHECK(again.m_dwFlags == record.m_dwFlags);
    FUZZ_CHECK(again.GetSlotPath() == savedData);
    FUZZ_CHECK(IsSameSlot(record, again));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> pieces = InputPieces(data, size);
    CheckLocationNumber(pieces[0]);
    CheckStoredSlot(pieces[0], pieces.size() > 1 ? pieces[1] : std::string());
    return 0;
}
