// REG_MULTI_SZ data at any length, with or without its NULs, as "Miniports"
// holds it (at most the 1024 bytes the load reads): the strings are the
// data's own bytes, in order, none empty, up to the end of the data or an
// empty string. The names make a miniport list whose value image is every
// name with its NUL and one final NUL, leaves unnamed records out, reads
// back as the same names, and finds a name at the first record of that name in any case.
#include <strings.h>

#include <cstring>

#include "fuzz_support.h"
#include "model/miniport_record.h"
#include "model/multi_string.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    std::vector<std::string> names;
    size_t offset = 0;
    for (const CString& text : SplitMultiString(bytes, size)) {
        size_t length = static_cast<size_t>(text.GetLength());
        FUZZ_CHECK(length > 0 && std::strlen(text) == length && offset + length <= size);
        FUZZ_CHECK(std::memcmp(bytes + offset, static_cast<const char*>(text), length) == 0);
        offset += length;
        FUZZ_CHECK(offset == size || bytes[offset] == '\0');
        ++offset;
        names.push_back(text.str());
    }
    FUZZ_CHECK(offset >= size || bytes[offset] == '\0');
    if (size > 1024)
        return 0;

    CMiniportList list;
    std::vector<POSITION> positions;
    size_t expectedSize = 1;
    for (const std::string& name : names) {
        CMiniportRecord record;
        record.SetServiceName(CString(name));
        positions.push_back(list.AddTail(record));
        expectedSize += name.size() + 1;
    }
    // A record the user has not named yet stands anywhere in the list.
    if (!names.empty())
        list.InsertBefore(positions[data[0] % positions.size()], CMiniportRecord());
    std::string image = FormatMiniportNames(list);
    FUZZ_CHECK(image.size() == expectedSize && image.back() == '\0');
    std::vector<std::string> again;
    for (const CString& text : SplitMultiString(image.data(), image.size()))
        again.push_back(text.str());
    FUZZ_CHECK(again == names);
    for (size_t i = 0; i < names.size(); i += 1 + names.size() / 3) {
        // Service names compare without regard to case.
        size_t first = 0;
        while (strcasecmp(names[first].c_str(), names[i].c_str()) != 0)
            ++first;
        FUZZ_CHECK(list.FindByService(names[i].c_str()) == positions[first]);
    }
    return 0;
}
