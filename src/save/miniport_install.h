#pragma once
// Installing a miniport the page added or changed: its file copied into the
// drivers directory when asked, its service (re)created as a disabled kernel
// driver when the service's registry entry differs from the record. Records
// as loaded or as last installed are never installed, so a working service
// keeps every value of its own.
#include "model/miniport_record.h"

class CServiceControl;
class ISaveReport;

// False when a step failed (it has been told): the miniport stays to be
// installed. A record without a service name has nothing to install.
bool InstallMiniport(const CMiniportRecord& record, CServiceControl& services, ISaveReport& report);
