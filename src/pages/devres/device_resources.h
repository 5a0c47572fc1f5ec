#pragma once
// Device Resource Requirements page: BAR requirements per PCI device
// identity. The parameter store fills and reads m_requirements.
#include "framework/property_page.h"
#include "pages/devres/device_requirement.h"

class CDeviceResources : public CPropertyPage {
public:
    CDeviceResources();

    CDeviceRequirementList m_requirements; // in identity order
};
