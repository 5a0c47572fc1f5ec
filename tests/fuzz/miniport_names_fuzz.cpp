// The "Miniports" value: the input is its data as the load reads it (at most
// 1024 bytes). The names it holds make a list whose value image is every name
// with its NUL and one final NUL, leaves unnamed records out, reads back as
// the same names, and finds a name at its first record.
#include "model/multi_string.h"
#include "fuzz_support.h"
#include "model/miniport_record.h"

namespace {
const size_t LOAD_VALUE_BUFFER = 1024;

std::vector<std::string> Names(const char* data, size_t size) {
    std::vector<std::string> names;
    for (const CString& text : SplitMultiString(data, size))
        names.push_back(text.str());
    return names;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LOAD_VALUE_BUFFER)
        return 0;
    std::vector<std::string> names = Names(reinterpret_cast<const char*>(data), size);

    CMiniportList list;
    std::vector<POSITION> positions;
    size_t expectedSize = 1;
    for (const std::string& name : names) {
        CMiniportRecord record;
        record.m_strServiceName = CString(name);
        positions.push_back(list.AddTail(record));
        expectedSize += name.size() + 1;
    }
    // A record the user has not named yet stands anywhere in the list.
    if (size > 0 && !list.IsEmpty()) {
        POSITION at = positions[data[0] % positions.size()];
        list.InsertBefore(at, CMiniportRecord());
    }

    std::string image = FormatMiniportNames(list);
    FUZZ_CHECK(image.size() == expectedSize && image.back() == '\0');
    FUZZ_CHECK(Names(image.data(), image.size()) == names);
    if (names.empty())
        return 0;
    // The first, the last and one more name, each found at its first record.
    for (size_t i : {size_t(0), names.size() - 1, data[0] % names.size()}) {
        size_t first = 0;
        while (names[first] != names[i])
            ++first;
        FUZZ_CHECK(list.FindByService(names[i].c_str()) == positions[first]);
    }
    return 0;
}
