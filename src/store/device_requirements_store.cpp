// ExplicitResourceRequirements: one REG_MULTI_SZ value per device identity.
#include <map>

#include "model/multi_string.h"
#include "store/list_store.h"

std::vector<CLoadedRecord<CDeviceRequirement>>
LoadDeviceRequirements(const CKeyValues& values, CDeviceRequirementList& requirements) {
    requirements.RemoveAll();
    std::map<POSITION, std::vector<std::pair<ParameterKey, CString>>> origins;
    for (const CRegistryValue& value : values.All()) {
        CDeviceRequirement requirement;
        // A value whose name is no identity the page could show stays as it is.
        if (value.m_strName.IsEmpty() || !requirement.ParseIdentityText(value.m_strName))
            continue;
        for (const CString& text : SplitMultiString(value.m_data.data(), value.m_data.size()))
            requirement.ParseResourceString(text);
        // Values of one identity merge into one record.
        POSITION pos = requirements.Add(requirement, false);
        origins[pos].push_back({KEY_EXPLICIT_REQUIREMENTS, value.m_strName});
    }
    std::vector<CLoadedRecord<CDeviceRequirement>> loaded;
    for (POSITION pos = requirements.GetHeadPosition(); pos;) {
        POSITION here = pos;
        loaded.push_back({requirements.GetNext(pos), origins[here]});
    }
    return loaded;
}

void DeviceRequirementValues(const CDeviceRequirement& record, CKeyedValues& out) {
    CString data = record.GetResourceText();
    out.push_back({KEY_EXPLICIT_REQUIREMENTS,
                   CRegistryValue{record.GetIdentityText(), REG_MULTI_SZ, data.str()}});
}
