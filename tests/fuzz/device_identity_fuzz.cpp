// Device identity texts (ExplicitResourceRequirements value names): the
// pieces of the input between NULs are the names of one key. A name that
// reads formats to a name that fits the load's 256-character name buffer and
// reads back as the same identity; the list that the load builds from them
// holds one record per identity, in ascending order, the non-zero BARs of
// later names winning, as a plain map of the same records does.
#include <array>
#include <map>
#include <tuple>

#include "fuzz_support.h"
#include "model/device_requirement.h"

namespace {
const int LOAD_NAME_BUFFER = 256;

using Identity = std::tuple<unsigned, unsigned, unsigned, unsigned, unsigned, unsigned, unsigned>;
using Bars = std::array<uint32_t, 6>;

// The identity's keys in comparison order; a part the record lacks counts
// as 0.
Identity KeyOf(const CDeviceRequirement& r) {
    return Identity(r.m_wVendorId, r.m_wDeviceId, r.m_bHasSubsystem,
                    r.m_bHasSubsystem ? r.m_wSubsystemVendorId : 0u,
                    r.m_bHasSubsystem ? r.m_wSubsystemId : 0u, r.m_bHasRevision,
                    r.m_bHasRevision ? r.m_byRevisionId : 0u);
}

void CheckRoundTrip(const CDeviceRequirement& record) {
    CString name = record.GetIdentityText();
    FUZZ_CHECK(name.GetLength() > 0 && name.GetLength() < LOAD_NAME_BUFFER);
    CDeviceRequirement again;
    again.m_dwBars[0] = 1; // a parse starts from a new record
    FUZZ_CHECK(again.ParseIdentityText(name));
    FUZZ_CHECK(CompareIdentity(again, record) == 0 && KeyOf(again) == KeyOf(record));
    FUZZ_CHECK(again.m_dwBars[0] == 0);
    FUZZ_CHECK(again.GetIdentityText() == name);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> names = InputPieces(data, size);
    CDeviceRequirementList list;
    std::map<Identity, Bars> model;
    for (size_t n = 0; n < names.size(); ++n) {
        CDeviceRequirement record;
        if (!record.ParseIdentityText(names[n].c_str()))
            continue;
        FUZZ_CHECK(record.m_wVendorId != 0);
        FUZZ_CHECK(record.m_bHasSubsystem <= 1 && record.m_bHasRevision <= 1);
        FUZZ_CHECK(KeyOf(record) == Identity(record.m_wVendorId, record.m_wDeviceId,
                                             record.m_bHasSubsystem, record.m_wSubsystemVendorId,
                                             record.m_wSubsystemId, record.m_bHasRevision,
                                             record.m_byRevisionId));
        CheckRoundTrip(record);

        // Some BARs per name, some of them 0, so that merges keep and replace.
        for (size_t i = 0; i < 6; ++i)
            record.m_dwBars[i] = (n + i) % 3 == 0 ? 0 : static_cast<uint32_t>(n * 6 + i + 1);
        POSITION pos = list.Add(record, false);
        FUZZ_CHECK(CompareIdentity(list.GetAt(pos), record) == 0);
        Bars& bars = model[KeyOf(record)];
        for (size_t i = 0; i < 6; ++i) {
            if (record.m_dwBars[i] != 0)
                bars[i] = record.m_dwBars[i];
        }
    }

    FUZZ_CHECK(static_cast<size_t>(list.GetCount()) == model.size());
    auto expected = model.begin();
    for (POSITION pos = list.GetHeadPosition(); pos; ++expected) {
        const CDeviceRequirement& record = list.GetNext(pos);
        FUZZ_CHECK(KeyOf(record) == expected->first);
        for (size_t i = 0; i < 6; ++i)
            FUZZ_CHECK(record.m_dwBars[i] == expected->second[i]);
    }

    // Any identity the page can make, taken from the first bytes.
    if (size >= 9) {
        CDeviceRequirement made;
        made.m_wVendorId = static_cast<uint16_t>(data[0] << 8 | data[1] | 1);
        made.m_wDeviceId = static_cast<uint16_t>(data[2] << 8 | data[3]);
        made.m_wSubsystemVendorId = static_cast<uint16_t>(data[4] << 8 | data[5]);
        made.m_wSubsystemId = static_cast<uint16_t>(data[6] << 8 | data[7]);
        made.m_byRevisionId = data[8];
        made.m_bHasSubsystem = data[1] >> 7;
        made.m_bHasRevision = (data[1] >> 6) & 1;
        if (!made.m_bHasSubsystem)
            made.m_wSubsystemVendorId = made.m_wSubsystemId = 0;
        if (!made.m_bHasRevision)
            made.m_byRevisionId = 0;
        CheckRoundTrip(made);
    }
    return 0;
}
