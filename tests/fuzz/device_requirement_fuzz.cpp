// Device requirements (ExplicitResourceRequirements): the pieces of the input
// between NULs are the value names of one key, and the whole input is also
// one value's REG_MULTI_SZ data.
// - A name that reads formats to a name that fits the load's 256-character
//   buffer and reads back as the same identity; the list built from them
//   holds one record per identity, in ascending order, the non-zero BARs of
//   later names winning, as a plain map of the same records does.
// - Each resource string that reads sets one BAR and nothing else; the
//   record's resource text fits the 256-byte data buffer, ends as
//   REG_MULTI_SZ, and loads back as the same BARs and the same text.
#include <array>
#include <map>
#include <tuple>

#include "fuzz_support.h"
#include "model/device_requirement.h"
#include "model/multi_string.h"

namespace {
const int LOAD_BUFFER = 256;
using Identity = std::tuple<unsigned, unsigned, unsigned, unsigned, unsigned, unsigned, unsigned>;

// The identity's keys in comparison order; a part the record lacks counts as 0.
Identity KeyOf(const CDeviceRequirement& r) {
    return Identity(r.m_wVendorId, r.m_wDeviceId, r.m_bHasSubsystem,
                    r.m_bHasSubsystem ? r.m_wSubsystemVendorId : 0u,
                    r.m_bHasSubsystem ? r.m_wSubsystemId : 0u, r.m_bHasRevision,
                    r.m_bHasRevision ? r.m_byRevisionId : 0u);
}

void CheckIdentities(const std::vector<std::string>& names) {
    CDeviceRequirementList list;
    std::map<Identity, std::array<uint32_t, 6>> model;
    for (size_t n = 0; n < names.size(); ++n) {
        CDeviceRequirement record;
        if (!record.ParseIdentityText(names[n].c_str()))
            continue;
        CString name = record.GetIdentityText();
        FUZZ_CHECK(record.m_wVendorId != 0 && name.GetLength() < LOAD_BUFFER);
        CDeviceRequirement again;
        FUZZ_CHECK(again.ParseIdentityText(name) && again == record);
        // Some BARs per name, some of them 0, so that merges keep and replace.
        for (size_t i = 0; i < 6; ++i)
            record.m_dwBars[i] = (n + i) % 3 == 0 ? 0 : static_cast<uint32_t>(n * 6 + i + 1);
        FUZZ_CHECK(CompareIdentity(list.GetAt(list.Add(record, false)), record) == 0);
        for (size_t i = 0; i < 6; ++i)
            if (record.m_dwBars[i] != 0)
                model[KeyOf(record)][i] = record.m_dwBars[i];
    }
    FUZZ_CHECK(static_cast<size_t>(list.GetCount()) == model.size());
    auto expected = model.begin();
    for (POSITION pos = list.GetHeadPosition(); pos; ++expected) {
        const CDeviceRequirement& record = list.GetNext(pos);
        FUZZ_CHECK(KeyOf(record) == expected->first);
        for (size_t i = 0; i < 6; ++i)
            FUZZ_CHECK(record.m_dwBars[i] == expected->second[i]);
    }
}

void CheckResources(const char* data, size_t size) {
    CDeviceRequirement record;
    for (const CString& text : SplitMultiString(data, size)) {
        CDeviceRequirement before = record;
        bool read = record.ParseResourceString(text);
        int changed = 0;
        for (int i = 0; i < 6; ++i)
            changed += record.m_dwBars[i] != before.m_dwBars[i];
        FUZZ_CHECK(changed <= (read ? 1 : 0));
    }
    std::string stored = record.GetResourceText().str();
    FUZZ_CHECK(stored.size() <= static_cast<size_t>(LOAD_BUFFER));
    FUZZ_CHECK(stored.empty() || stored.compare(stored.size() - 2, 2, std::string(2, '\0')) == 0);
    CDeviceRequirement again;
    for (const CString& text : SplitMultiString(stored.data(), stored.size()))
        FUZZ_CHECK(again.ParseResourceString(text));
    FUZZ_CHECK(again == record && again.GetResourceText().str() == stored);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckIdentities(InputPieces(data, size));
    CheckResources(reinterpret_cast<const char*>(data), size);
    return 0;
}
