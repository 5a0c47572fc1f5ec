#pragma once
// Installing the miniports when the parameters are saved: each file copied
// into the drivers directory when asked, each service (re)created as a
// disabled kernel driver when its registry entry differs from the record.
#include "model/miniport_record.h"

class CServiceControl;

// Every miniport in list order; one that cannot be installed is told by name
// and reason, and the others go on.
void InstallMiniports(const CMiniportList& miniports, CServiceControl& services);
