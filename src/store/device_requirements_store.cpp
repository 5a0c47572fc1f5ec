// ExplicitResourceRequirements: one REG_MULTI_SZ value per device identity.
#include "framework/multi_string.h"
#include "store/list_store.h"

BOOL LoadDeviceRequirements(HKEY hRequirements, CDeviceRequirementList& requirements,
                            CKeptValues& kept) {
    requirements.RemoveAll();
    kept.clear();
    BOOL understood = TRUE;
    for (const CRegistryValue& value : ReadAllValues(hRequirements)) {
        if (value.m_strName.IsEmpty()) {
            kept.push_back(value);
            continue;
        }
        CDeviceRequirement requirement;
        if (!requirement.ParseIdentityText(value.m_strName)) {
            // Not an identity the page could show: kept as it is.
            understood = FALSE;
            kept.push_back(value);
            continue;
        }
        for (const CString& text : SplitMultiString(value.m_data.data(), value.m_data.size())) {
            if (!requirement.ParseResourceString(text))
                understood = FALSE;
        }
        requirements.Add(requirement, false);
    }
    return understood;
}

BOOL SaveDeviceRequirements(HKEY hRequirements, const CDeviceRequirementList& requirements,
                            const CKeptValues& kept) {
    WriteValues(hRequirements, kept);
    for (POSITION pos = requirements.GetHeadPosition(); pos;) {
        const CDeviceRequirement& requirement = requirements.GetNext(pos);
        CString data = requirement.GetResourceText();
        ::RegSetValueExA(hRequirements, requirement.GetIdentityText(), 0, REG_MULTI_SZ,
                         reinterpret_cast<const BYTE*>(data.str().data()),
                         static_cast<DWORD>(data.GetLength()));
    }
    return TRUE;
}
