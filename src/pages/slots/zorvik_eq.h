#pragma once
// Physical slot numbering page: which physical slot number the hot-swap
// driver gives to which slot. The parameter store fills and reads m_slots.
#include "framework/property_page.h"
#include "pages/slots/slot_record.h"

class ZorvikEq : public CPropertyPage {
public:
    ZorvikEq();

    CSlotRecordList m_slots; // new records go in at the head
};
