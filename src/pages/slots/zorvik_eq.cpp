#include "pages/slots/zorvik_eq.h"

#include "res/resource.h"

ZorvikEq::ZorvikEq() : CPropertyPage(IDD_SLOTS) {}
