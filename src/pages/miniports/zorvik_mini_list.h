#pragma once
// Alternate HS-CSR Drivers page: the miniports the hot-swap driver uses, in
// its order. The parameter store fills and reads m_miniports.
#include "framework/property_page.h"
#include "pages/miniports/miniport_record.h"

class ZorvikMiniList : public CPropertyPage {
public:
    ZorvikMiniList();

    CMiniportList m_miniports;
};
