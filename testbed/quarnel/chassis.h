// The simulated chassis: which buses exist and their path bytes, read from
// the registry (Testbed\Buses) on every request so tests can change it.
#pragma once

#include <ntddk.h>

#include "testbed_quarnel.h"

struct BusPath {
    ULONG count;
    UCHAR bytes[TESTBED_QUARNEL_MAX_PATH_BYTES];
};

// False when the bus has no value or its text is not hexadecimal digit pairs.
bool ReadBusPath(ULONG bus, BusPath* path);

// Finds the bus whose path bytes are exactly bytes[0..count).
bool FindBusByPath(const UCHAR* bytes, ULONG count, ULONG* bus);
