#pragma once
// Installing the miniports the page added or changed when the parameters
// are saved: each file copied into the drivers directory when asked, each
// service (re)created as a disabled kernel driver when its registry entry
// differs from the record. Records as loaded or as last installed are
// never touched, so a working service keeps every value of its own.
#include "model/miniport_record.h"

class CServiceControl;

// Every record marked for install, in list order; one that cannot be
// installed is told by name and reason and stays marked, and the others go
// on. False when one stays marked.
bool InstallMiniports(CMiniportList& miniports, CServiceControl& services);
