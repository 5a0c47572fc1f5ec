// Shared state and helpers of the stand-in hot-swap driver.
#pragma once

#include <ntddk.h>

#include "testbed_quarnel.h"

// The kit's own request codes, answered as the utility expects them.
constexpr ULONG IOCTL_HOTSWAP_RESOLVE_SLOT_PATH = 0x83210064;
constexpr ULONG IOCTL_HOTSWAP_GET_BUS_PATH = 0x83212090;
constexpr ULONG IOCTL_HOTSWAP_UPDATE_PARAMETERS = 0x83212094;

constexpr ULONG RESOLVE_HEADER_SIZE = 28;

// Everything a test can observe or switch; lives from start to unload.
struct StandInState {
    TESTBED_QUARNEL_STATS stats;
};

extern StandInState g_state;

void ResetState();
NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp);

// Writes value in decimal at out[at], unterminated; returns the new end.
ULONG AppendDecimal(wchar_t* out, ULONG at, ULONG value);

// Registry access below the service key (\Registry\Machine\...\Services\quarnel).
void RememberServiceKey(PCUNICODE_STRING registryPath);
NTSTATUS OpenServiceSubkey(const wchar_t* subkey, HANDLE* key);
// A REG_DWORD below the service key, or fallback when it is missing.
ULONG ReadServiceDword(const wchar_t* subkey, const wchar_t* name, ULONG fallback);
