// Natively there is no hot-swap driver: every conversion fails, as it does
// in the utility when the driver is not installed.
#include "sys/slot_location.h"

bool ConvertSlotLocation(uint32_t*, uint32_t*, uint32_t*, CString&, bool) { return false; }
