#include "model/miniport_record.h"

#include <cstring>

bool IsSameServiceName(const char* a, const char* b) { return CString(a).CompareNoCase(b) == 0; }

namespace {
int32_t SameService(const CMiniportRecord* pRecord, POSITION, void* pContext) {
    return IsSameServiceName(pRecord->m_strServiceName, static_cast<const char*>(pContext)) ? 1 : 0;
}

int32_t AppendName(const CMiniportRecord* pRecord, POSITION, void* pContext) {
    if (!pRecord->m_strServiceName.IsEmpty()) {
        auto* image = static_cast<std::string*>(pContext);
        image->append(pRecord->m_strServiceName.str().c_str());
        image->push_back('\0');
    }
    return 0;
}
} // namespace

POSITION CMiniportList::FindByService(const char* pszName) const {
    return FindIf(SameService, const_cast<char*>(pszName));
}

std::string FormatMiniportNames(const CMiniportList& list) {
    std::string image;
    list.FindIf(AppendName, &image);
    image.push_back('\0');
    return image;
}

bool IsServiceName(CString name) {
    name.TrimLeft();
    return !name.TrimRight().IsEmpty();
}
