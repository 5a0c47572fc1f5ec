/* Sample alternate HS-CSR driver (miniport) of the testbed: a kernel-mode
 * driver that loads and unloads and does nothing else. It exists so that the
 * configuration utility's Browse, copy and install of miniports can be tried
 * with a real driver file; the hot-swap driver stand-in never calls it. */
#include <ntddk.h>

static VOID SampleUnload(PDRIVER_OBJECT DriverObject) { UNREFERENCED_PARAMETER(DriverObject); }

NTSTATUS DriverEntry(PDRIVER_OBJECT DriverObject, PUNICODE_STRING RegistryPath) {
    UNREFERENCED_PARAMETER(RegistryPath);
    DriverObject->DriverUnload = SampleUnload;
    return STATUS_SUCCESS;
}
