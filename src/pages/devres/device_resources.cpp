#include "pages/devres/device_resources.h"

#include "res/resource.h"

CDeviceResources::CDeviceResources() : CPropertyPage(IDD_DEVRES) {}
