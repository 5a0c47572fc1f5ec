#pragma once
// The strings of REG_MULTI_SZ-shaped data, as the kit reads them: up to the
// first empty string; a last string without its NUL ends with the data.
// Free of windows.h.
#include <cstddef>
#include <vector>

#include "framework/cstring.h"

std::vector<CString> SplitMultiString(const char* pData, size_t cbData);
