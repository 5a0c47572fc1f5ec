#pragma once
// The layout of the kit's parameters: the eight keys below
// HKEY_LOCAL_MACHINE, the scalar values of the pages with the members that
// hold them, and what the utility makes of a value of a scalar key.
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "model/device_requirement.h"
#include "model/miniport_record.h"
#include "model/parameters.h"
#include "model/slot_record.h"

// The keys below HKEY_LOCAL_MACHINE, in the order they are opened.
enum ParameterKey {
    KEY_QUARNEL = 0,        // main hot-swap driver: scalars and "Miniports"
    KEY_RESTRICT_MINIPORTS, // one value per restricted miniport
    KEY_RESOURCE_ASSIGNMENTS,
    KEY_PHYSICAL_SLOTS,
    KEY_EXPLICIT_REQUIREMENTS,
    KEY_NO_RESET_SECONDARY_BUS,
    KEY_VARDEK,  // hot-swap controller driver
    KEY_MORAVIK, // system board service
    KEY_COUNT
};

// The path of a key below HKEY_LOCAL_MACHINE.
const char* ParameterKeyPath(ParameterKey key);

// A list key holds one value per record, and nothing else of the utility's;
// a scalar key holds the utility's scalars among values of other programs.
bool IsListKey(ParameterKey key);

// What the utility makes of a value of a scalar key: one of its scalars (the
// largest value the pages take in *pdwLargest), "Miniports", or nothing.
enum class ScalarKeyValue { Other, Scalar, Miniports };
ScalarKeyValue FindScalarKeyValue(ParameterKey key, const char* name, DWORD* pdwLargest = nullptr);

// The values of the hot-swap driver's key that are not scalars of the
// table: the miniports' names, and the scan flag (present only while the
// scan is off, the page's member inverted).
extern const char MINIPORTS_VALUE[];
extern const char NO_SCAN_VALUE[];

// The parameters the store loads and saves; the pages hold them.
struct CParameterData {
    CMiscParameters& misc;
    CSlotRecordList& slots;
    CSlotRecordList& bridges;
    CDeviceRequirementList& requirements;
    CMiniportList& miniports;
    CControllerParameters& controller;
    CSystemBoardParameters& systemBoard;
};

// One scalar value: where it lives, the member that holds it and the
// largest value its page takes. The controller's flags are ints; int and
// unsigned share their representation.
struct ScalarValue {
    ParameterKey key;
    const char* name;
    uint32_t* (*member)(const CParameterData& data);
    uint32_t largest;
};
constexpr size_t SCALAR_TABLE_SIZE = 11;
extern const ScalarValue SCALAR_TABLE[SCALAR_TABLE_SIZE];
