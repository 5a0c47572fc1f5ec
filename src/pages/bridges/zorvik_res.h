#pragma once
// Bridge Resource Requirements page: the windows and switches of each PCI
// bridge. The parameter store fills and reads m_bridges.
#include "framework/property_page.h"
#include "pages/slots/slot_record.h"

class ZorvikRes : public CPropertyPage {
public:
    ZorvikRes();

    // One ResourceAssignments value: the bridge's slot path and its
    // resource string. The record goes in at its slot path place.
    BOOL AddFromRegistry(CString name, CString data);

    CSlotRecordList m_bridges; // in slot path order after a load
};
