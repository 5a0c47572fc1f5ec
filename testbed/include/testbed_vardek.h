/* Stand-in hot-swap controller driver (service "Vardek", vardek.sys) and its
 * controller library (vardekapi.dll): the names and control codes that the
 * library and the test programs share with the driver.
 *
 * The driver has two devices. The controller device is what the kit's
 * controller driver offers: it accepts the update request and counts opens,
 * closes and update requests. The testbed device is for tests only: it hands
 * out those counts without being counted itself. */
#pragma once

/* The driver includes ntddk.h first; user-mode code gets the Win32 headers. */
#ifndef _NTDDK_
#include <windows.h>
#include <winioctl.h>
#endif

/* Win32 names of the two devices. */
#define TESTBED_VARDEK_CONTROLLER_PATH "\\\\.\\VardekController"
#define TESTBED_VARDEK_TESTBED_PATH "\\\\.\\VardekTestbed"

/* Kernel names, for the driver. */
#define TESTBED_VARDEK_CONTROLLER_DEVICE L"\\Device\\VardekController"
#define TESTBED_VARDEK_CONTROLLER_LINK L"\\DosDevices\\VardekController"
#define TESTBED_VARDEK_TESTBED_DEVICE L"\\Device\\VardekTestbed"
#define TESTBED_VARDEK_TESTBED_LINK L"\\DosDevices\\VardekTestbed"

#define TESTBED_VARDEK_SERVICE "Vardek"
#define TESTBED_VARDEK_DEVICE_TYPE 0x8320

/* Control codes of device type 0x8320 (written out: CTL_CODE's shift of
 * 0x8320 overflows int). The controller's "take up your parameters" request,
 * function 0xA4, buffered, any access, no buffers: the same code as the
 * utility's IOCTL_VARDEK_UPDATE_PARAMETERS. */
#define TESTBED_VARDEK_IOCTL_UPDATE_PARAMETERS 0x83200290UL

/* Function 0x800, buffered, any access; testbed device only. The output
 * buffer receives a TESTBED_VARDEK_COUNTS with the counts since the driver
 * loaded or since the last such request; the counts are then reset. */
#define TESTBED_VARDEK_IOCTL_TAKE_COUNTS 0x83202000UL

/* What happened on the controller device. */
typedef struct TESTBED_VARDEK_COUNTS {
    ULONG Opens;    /* IRP_MJ_CREATE */
    ULONG Cleanups; /* IRP_MJ_CLEANUP (Wine 8 sends none) */
    ULONG Closes;   /* IRP_MJ_CLOSE: file object gone */
    ULONG Updates;  /* TESTBED_VARDEK_IOCTL_UPDATE_PARAMETERS received */
    ULONG Others;   /* any other control code (refused) */
} TESTBED_VARDEK_COUNTS;

/* Environment variable read by the stand-in library at each open: "event"
 * or "number" make the session value something other than a device handle
 * (an event handle, or a number that is no handle). */
#define TESTBED_VARDEK_SESSION_ENV "MIRANDEL_TESTBED_VARDEK_SESSION"
