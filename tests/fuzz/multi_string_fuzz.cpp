// REG_MULTI_SZ data comes from the registry at any length and with or without
// its NULs: the strings are the data's own bytes, in order, none empty, and
// the walk ends only at the end of the data or at an empty string.
#include <cstring>

#include "model/multi_string.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    size_t offset = 0;
    for (const CString& text : SplitMultiString(bytes, size)) {
        size_t length = static_cast<size_t>(text.GetLength());
        FUZZ_CHECK(length > 0 && std::strlen(text) == length);
        FUZZ_CHECK(offset + length <= size);
        FUZZ_CHECK(std::memcmp(bytes + offset, static_cast<const char*>(text), length) == 0);
        offset += length;
        FUZZ_CHECK(offset == size || bytes[offset] == '\0');
        ++offset;
    }
    FUZZ_CHECK(offset >= size || bytes[offset] == '\0');
    return 0;
}
