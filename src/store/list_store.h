#pragma once
// Loading and saving the five list-valued parameters: the physical slot list
// (PhysicalSlots), the bridge list (ResourceAssignments and
// NoResetSecondaryBus), the device requirements
// (ExplicitResourceRequirements) and the miniports ("Miniports" and
// RestrictMiniports). A save expects its keys freshly emptied.
#include <windows.h>

#include "pages/devres/device_requirement.h"
#include "pages/miniports/miniport_record.h"
#include "pages/slots/slot_record.h"
#include "store/registry_values.h"

class CServiceControl;
class ZorvikRes;

// One record per named value, each at the head: the list ends up in the
// reverse of the enumeration order.
void LoadPhysicalSlots(HKEY hSlots, CSlotRecordList& slots, CKeptValues& kept);
void SavePhysicalSlots(HKEY hSlots, const CSlotRecordList& slots, const CKeptValues& kept);

// The bridges in slot path order, then the no-reset marks merged in.
void LoadBridges(HKEY hAssignments, HKEY hNoReset, ZorvikRes& page, CKeptValues& kept);
void SaveBridges(HKEY hAssignments, HKEY hNoReset, const CSlotRecordList& bridges,
                 const CKeptValues& kept);
// Walk callbacks of the save; the context is the open key.
int32_t WriteResourceAssignment(const CSlotRecord* pRecord, POSITION pos, void* pContext);
int32_t WriteNoResetSecondaryBus(const CSlotRecord* pRecord, POSITION pos, void* pContext);

// TRUE when every value was understood.
BOOL LoadDeviceRequirements(HKEY hRequirements, CDeviceRequirementList& requirements,
                            CKeptValues& kept);
BOOL SaveDeviceRequirements(HKEY hRequirements, const CDeviceRequirementList& requirements,
                            const CKeptValues& kept);

// The miniports of "Miniports" (looked up through the connection), then
// every restricted one moved or added behind them.
void LoadMiniports(HKEY hParameters, HKEY hRestrict, CMiniportList& miniports,
                   const CServiceControl* pServices);
void SaveMiniports(HKEY hParameters, HKEY hRestrict, const CMiniportList& miniports);
