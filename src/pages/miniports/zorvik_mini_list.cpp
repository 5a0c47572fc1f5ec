#include "pages/miniports/zorvik_mini_list.h"

#include "res/resource.h"

ZorvikMiniList::ZorvikMiniList() : CPropertyPage(IDD_MINIPORTS) {}
