/* Stand-in hot-swap controller driver. It does no hardware work: it accepts
 * the controller's update request and counts what reaches its controller
 * device, so that tests can see sessions opened and closed and requests
 * made. A second device hands the counts to tests without being counted. */
#include <ntddk.h>

#include "testbed_vardek.h"

static PDEVICE_OBJECT g_controller;
static PDEVICE_OBJECT g_testbed;
static TESTBED_VARDEK_COUNTS g_counts;
static KSPIN_LOCK g_countsLock;

static void Count(ULONG* counter) {
    KIRQL irql;
    KeAcquireSpinLock(&g_countsLock, &irql);
    ++*counter;
    KeReleaseSpinLock(&g_countsLock, irql);
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS DispatchCreate(PDEVICE_OBJECT device, PIRP irp) {
    if (device == g_controller)
        Count(&g_counts.Opens);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchCleanup(PDEVICE_OBJECT device, PIRP irp) {
    if (device == g_controller)
        Count(&g_counts.Cleanups);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS DispatchClose(PDEVICE_OBJECT device, PIRP irp) {
    if (device == g_controller)
        Count(&g_counts.Closes);
    return Complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS TakeCounts(PIRP irp, PIO_STACK_LOCATION stack) {
    KIRQL irql;
    if (stack->Parameters.DeviceIoControl.OutputBufferLength < sizeof(TESTBED_VARDEK_COUNTS))
        return Complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    KeAcquireSpinLock(&g_countsLock, &irql);
    RtlCopyMemory(irp->AssociatedIrp.SystemBuffer, &g_counts, sizeof(g_counts));
    RtlZeroMemory(&g_counts, sizeof(g_counts));
    KeReleaseSpinLock(&g_countsLock, irql);
    return Complete(irp, STATUS_SUCCESS, sizeof(TESTBED_VARDEK_COUNTS));
}

static NTSTATUS DispatchControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;

    if (device == g_testbed) {
        if (code == TESTBED_VARDEK_IOCTL_TAKE_COUNTS)
            return TakeCounts(irp, stack);
        return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
    }
    if (code == TESTBED_VARDEK_IOCTL_UPDATE_PARAMETERS) {
        Count(&g_counts.Updates);
        return Complete(irp, STATUS_SUCCESS, 0);
    }
    Count(&g_counts.Others);
    return Complete(irp, STATUS_INVALID_DEVICE_REQUEST, 0);
}

static void DeleteDevice(PDEVICE_OBJECT* device, PCWSTR link) {
    UNICODE_STRING name;
    if (!*device)
        return;
    RtlInitUnicodeString(&name, link);
    IoDeleteSymbolicLink(&name);
    IoDeleteDevice(*device);
    *device = NULL;
}

static void DriverUnload(PDRIVER_OBJECT driver) {
    (void)driver;
    DeleteDevice(&g_testbed, TESTBED_VARDEK_TESTBED_LINK);
    DeleteDevice(&g_controller, TESTBED_VARDEK_CONTROLLER_LINK);
}

static NTSTATUS MakeDevice(PDRIVER_OBJECT driver, PCWSTR deviceName, PCWSTR linkName,
                           PDEVICE_OBJECT* device) {
    UNICODE_STRING name;
    UNICODE_STRING link;
    NTSTATUS status;

    RtlInitUnicodeString(&name, deviceName);
    status = IoCreateDevice(driver, 0, &name, TESTBED_VARDEK_DEVICE_TYPE, 0, FALSE, device);
    if (!NT_SUCCESS(status))
        return status;
    RtlInitUnicodeString(&link, linkName);
    status = IoCreateSymbolicLink(&link, &name);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(*device);
        *device = NULL;
        return status;
    }
    (*device)->Flags |= DO_BUFFERED_IO;
    (*device)->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    NTSTATUS status;
    (void)registryPath;

    KeInitializeSpinLock(&g_countsLock);
    RtlZeroMemory(&g_counts, sizeof(g_counts));
    driver->DriverUnload = DriverUnload;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLEANUP] = DispatchCleanup;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchControl;

    status = MakeDevice(driver, TESTBED_VARDEK_CONTROLLER_DEVICE, TESTBED_VARDEK_CONTROLLER_LINK,
                        &g_controller);
    if (!NT_SUCCESS(status))
        return status;
    status =
        MakeDevice(driver, TESTBED_VARDEK_TESTBED_DEVICE, TESTBED_VARDEK_TESTBED_LINK, &g_testbed);
    if (!NT_SUCCESS(status))
        DeleteDevice(&g_controller, TESTBED_VARDEK_CONTROLLER_LINK);
    return status;
}
