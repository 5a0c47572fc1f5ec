// "Miniports" and RestrictMiniports of the hot-swap driver's parameters.
#include "model/multi_string.h"
#include "store/list_store.h"
#include "sys/service_control.h"

std::vector<CLoadedRecord<CMiniportRecord>> LoadMiniports(const CKeyValues& parameters,
                                                          const CKeyValues& restrictions,
                                                          CMiniportList& miniports) {
    miniports.RemoveAll();
    std::vector<CLoadedRecord<CMiniportRecord>> loaded;
    if (const CRegistryValue* names = parameters.Find(MINIPORTS_VALUE)) {
        for (const CString& name : SplitMultiString(names->m_data.data(), names->m_data.size())) {
            CMiniportRecord record;
            // The service's registry entry gives file and description.
            record.SetServiceName(name);
            record.SetDescription(GetServiceDisplayName(name));
            record.SetFile(GetServiceImagePath(name));
            loaded.push_back({record, {}});
        }
    }
    // A restriction belongs to the miniport of its service, whatever the
    // case of either name.
    for (const CRegistryValue& value : restrictions.All()) {
        CLoadedRecord<CMiniportRecord> entry;
        entry.record.SetServiceName(value.m_strName);
        for (auto it = loaded.begin(); it != loaded.end(); ++it) {
            if (IsSameServiceName(it->record.m_strServiceName, value.m_strName)) {
                entry = *it;
                loaded.erase(it);
                break;
            }
        }
        entry.record.SetRestrictions(value.Text());
        entry.origins.push_back({KEY_RESTRICT_MINIPORTS, value.m_strName});
        loaded.push_back(entry);
    }
    for (const CLoadedRecord<CMiniportRecord>& entry : loaded)
        miniports.AddTail(entry.record);
    return loaded;
}

void MiniportValues(const CMiniportRecord& record, CKeyedValues& out) {
    if (!record.m_strRestrictions.IsEmpty())
        out.push_back({KEY_RESTRICT_MINIPORTS,
                       StringValue(record.m_strServiceName, record.m_strRestrictions)});
}
