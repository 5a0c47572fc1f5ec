// The part of a miniport record that reads the service's registry entry.
#include "pages/miniports/miniport_record.h"

#include "sys/service_control.h"

void CMiniportRecord::SetServiceName(const CString& name, const CServiceControl* pServices) {
    m_strServiceName = name;
    if (!pServices)
        return;
    m_strDescription = GetServiceDisplayName(name);
    m_strFile = GetServiceImagePath(name);
}
