// Device resource texts (ExplicitResourceRequirements data): the input is a
// value's REG_MULTI_SZ data. Each string that reads sets one BAR and nothing
// else; the record's resource text fits the load's 256-byte data buffer, is
// NUL-ended as REG_MULTI_SZ, and loads back as the same BARs and the same
// text.
#include <cstring>

#include "model/multi_string.h"
#include "fuzz_support.h"
#include "model/device_requirement.h"

namespace {
const int LOAD_DATA_BUFFER = 256;

std::string Bytes(const CString& text) { return text.str(); }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDeviceRequirement record;
    for (const CString& text : SplitMultiString(reinterpret_cast<const char*>(data), size)) {
        CDeviceRequirement before = record;
        bool read = record.ParseResourceString(text);
        int changed = 0;
        for (int i = 0; i < 6; ++i)
            changed += record.m_dwBars[i] != before.m_dwBars[i];
        FUZZ_CHECK(changed <= (read ? 1 : 0));
    }

    std::string stored = Bytes(record.GetResourceText());
    FUZZ_CHECK(stored.size() <= static_cast<size_t>(LOAD_DATA_BUFFER));
    bool anyBar = false;
    for (uint32_t bar : record.m_dwBars)
        anyBar = anyBar || bar != 0;
    FUZZ_CHECK(stored.empty() != anyBar);
    if (anyBar)
        FUZZ_CHECK(stored.size() >= 2 && stored[stored.size() - 1] == '\0' &&
                   stored[stored.size() - 2] == '\0');

    CDeviceRequirement again;
    for (const CString& text : SplitMultiString(stored.data(), stored.size()))
        FUZZ_CHECK(again.ParseResourceString(text));
    FUZZ_CHECK(std::memcmp(again.m_dwBars, record.m_dwBars, sizeof record.m_dwBars) == 0);
    FUZZ_CHECK(Bytes(again.GetResourceText()) == stored);
    return 0;
}
