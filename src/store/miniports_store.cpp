// "Miniports" and RestrictMiniports of the hot-swap driver's parameters.
#include "framework/multi_string.h"
#include "store/list_store.h"

namespace {
const char kMiniports[] = "Miniports";

int32_t WriteRestriction(const CMiniportRecord* pRecord, POSITION, void* pContext) {
    if (!pRecord->m_strRestrictions.IsEmpty())
        WriteString(static_cast<HKEY>(pContext), pRecord->m_strServiceName,
                    pRecord->m_strRestrictions);
    return 0;
}
} // namespace

void LoadMiniports(HKEY hParameters, HKEY hRestrict, CMiniportList& miniports,
                   const CServiceControl* pServices) {
    miniports.RemoveAll();
    std::string names;
    if (ReadValueData(hParameters, kMiniports, &names)) {
        for (const CString& name : SplitMultiString(names.data(), names.size())) {
            CMiniportRecord record;
            record.SetServiceName(name, pServices);
            miniports.AddTail(record);
        }
    }
    for (const CRegistryValue& value : ReadAllValues(hRestrict)) {
        CMiniportRecord record;
        if (POSITION pos = miniports.FindByService(value.m_strName)) {
            record = miniports.GetAt(pos);
            miniports.RemoveAt(pos);
        } else {
            record.SetServiceName(value.m_strName, nullptr);
        }
        record.SetRestrictions(value.Text());
        miniports.AddTail(record);
    }
}

void SaveMiniports(HKEY hParameters, HKEY hRestrict, const CMiniportList& miniports) {
    std::string names = FormatMiniportNames(miniports);
    ::RegSetValueExA(hParameters, kMiniports, 0, REG_MULTI_SZ,
                     reinterpret_cast<const BYTE*>(names.data()), static_cast<DWORD>(names.size()));
    miniports.FindIf(WriteRestriction, hRestrict);
}
