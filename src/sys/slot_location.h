#pragma once
// The two-way conversion between a slot path and a Bus/Device/Function that
// the hot-swap driver performs. Declared free of windows.h so that the slot
// records, which resolve through it, also build natively.
#include <cstdint>

#include "framework/cstring.h"

// toSlotPath reads the three numbers and writes the slot path text;
// otherwise it reads the text (a leading '*' skipped) and writes the numbers.
// false, with nothing written, when the driver is unavailable or refuses.
bool ConvertSlotLocation(uint32_t* pBus, uint32_t* pDevice, uint32_t* pFunction, CString& slotPath,
                         bool toSlotPath);
