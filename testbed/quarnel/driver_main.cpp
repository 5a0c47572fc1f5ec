// Stand-in for the kit's hot-swap driver: a non-PnP kernel driver that
// publishes a GUID_DEVINTERFACE_HOTSWAP device interface and answers the
// kit's requests from a chassis described in the registry.
#include <initguid.h>

#include "stand_in.h"

DEFINE_GUID(GUID_DEVINTERFACE_HOTSWAP, 0x4EC32020, 0x5104, 0x11D2, 0x8B, 0x4D, 0x00, 0x80, 0xAD,
            0xB7, 0x22, 0x06);

StandInState g_state;

namespace {

// The device node that the interface hangs on. Device id and instance id
// together name HKLM\System\CurrentControlSet\Enum\ROOT\QUARNEL\0000.
const wchar_t DEVICE_ID[] = L"ROOT\\QUARNEL";
const wchar_t INSTANCE_ID[] = L"0000";
const wchar_t ENUM_KEY[] =
    L"\\Registry\\Machine\\System\\CurrentControlSet\\Enum\\ROOT\\QUARNEL\\0000";

PDEVICE_OBJECT g_device;
UNICODE_STRING g_interfaceName;
wchar_t g_serviceKey[200];

// Opens, or creates as a volatile key, the key at a full kernel path.
NTSTATUS OpenKeyPath(const wchar_t* text, ACCESS_MASK access, bool create, HANDLE* key) {
    UNICODE_STRING path;
    RtlInitUnicodeString(&path, text);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &path, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE,
                               nullptr, nullptr);
    return create ? ZwCreateKey(key, access, &attributes, 0, nullptr, REG_OPTION_VOLATILE, nullptr)
                  : ZwOpenKey(key, access, &attributes);
}

// Appends at most count characters of src to the terminated text, which
// holds capacity characters with its terminator.
void AppendWide(wchar_t* text, size_t capacity, const wchar_t* src, size_t count = ~size_t(0)) {
    size_t n = wcslen(text);
    for (size_t i = 0; i < count && src[i] != L'\0' && n + 1 < capacity; ++i)
        text[n++] = src[i];
    text[n] = L'\0';
}

NTSTATUS Complete(PIRP irp, NTSTATUS status) {
    irp->IoStatus.Status = status;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS DispatchCreateClose(PDEVICE_OBJECT, PIRP irp) {
    irp->IoStatus.Information = 0;
    return Complete(irp, STATUS_SUCCESS);
}

// A multi-string id in pool memory, as IRP_MN_QUERY_ID hands it back.
wchar_t* PoolString(const wchar_t* text, bool multi) {
    size_t chars = wcslen(text) + (multi ? 2 : 1);
    auto* copy = static_cast<wchar_t*>(ExAllocatePool(PagedPool, chars * sizeof(wchar_t)));
    if (copy != nullptr) {
        RtlZeroMemory(copy, chars * sizeof(wchar_t));
        RtlCopyMemory(copy, text, wcslen(text) * sizeof(wchar_t));
    }
    return copy;
}

// Registering a device interface asks the device for its ids; nothing else
// of PnP applies to a driver that is started as a service.
NTSTATUS DispatchPnp(PDEVICE_OBJECT, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    if (stack->MinorFunction != IRP_MN_QUERY_ID)
        return Complete(irp, irp->IoStatus.Status);
    wchar_t* id = nullptr;
    switch (stack->Parameters.QueryId.IdType) {
    case BusQueryDeviceID:
        id = PoolString(DEVICE_ID, false);
        break;
    case BusQueryInstanceID:
        id = PoolString(INSTANCE_ID, false);
        break;
    case BusQueryHardwareIDs:
        id = PoolString(DEVICE_ID, true);
        break;
    default:
        return Complete(irp, irp->IoStatus.Status);
    }
    if (id == nullptr)
        return Complete(irp, STATUS_INSUFFICIENT_RESOURCES);
    irp->IoStatus.Information = reinterpret_cast<ULONG_PTR>(id);
    return Complete(irp, STATUS_SUCCESS);
}

// Wine marks the device node Phantom once its driver has gone, and then
// refuses to register an interface on it again; a restart clears the mark.
void ClearPhantomMark() {
    HANDLE key;
    if (!NT_SUCCESS(OpenKeyPath(ENUM_KEY, KEY_ALL_ACCESS, false, &key)))
        return;
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, L"Phantom");
    ZwDeleteValueKey(key, &name);
    ZwClose(key);
}

// Marks the interface as enabled again in the registry, which is all that
// SetupDi looks at, while its symbolic link is gone: the interface stays
// listed and opening it fails. Leaving it enabled in Wine's kernel instead
// would keep a reference to the deleted device and make the next start fail.
void LeaveInterfaceListed() {
    const wchar_t prefix[] = L"\\Registry\\Machine\\System\\CurrentControlSet\\Control\\"
                             L"DeviceClasses\\{4EC32020-5104-11D2-8B4D-0080ADB72206}\\##?#";
    const wchar_t suffix[] = L"\\#\\Control";
    // The interface name is \??\<instance>#{guid}; its key is ##?#<instance>#{guid}.
    const size_t skip = 4;
    wchar_t text[400] = L"";
    AppendWide(text, 360, prefix);
    AppendWide(text, 360, g_interfaceName.Buffer + skip,
               g_interfaceName.Length / sizeof(wchar_t) - skip);
    AppendWide(text, 400, suffix);
    HANDLE key;
    if (!NT_SUCCESS(OpenKeyPath(text, KEY_ALL_ACCESS, true, &key)))
        return;
    UNICODE_STRING name;
    RtlInitUnicodeString(&name, L"Linked");
    ULONG linked = 1;
    ZwSetValueKey(key, &name, 0, REG_DWORD, &linked, sizeof(linked));
    ZwClose(key);
}

void DriverUnload(PDRIVER_OBJECT) {
    // Tests ask for a stale interface to get "listed but cannot be opened".
    bool keep = ReadServiceDword(L"Testbed", L"" TESTBED_QUARNEL_KEEP_INTERFACE_VALUE, 0) != 0;
    if (g_interfaceName.Buffer != nullptr) {
        IoSetDeviceInterfaceState(&g_interfaceName, FALSE);
        if (keep)
            LeaveInterfaceListed();
        RtlFreeUnicodeString(&g_interfaceName);
    }
    if (g_device != nullptr)
        IoDeleteDevice(g_device);
}

} // namespace

void RememberServiceKey(PCUNICODE_STRING registryPath) {
    size_t chars = registryPath->Length / sizeof(wchar_t);
    if (chars >= sizeof(g_serviceKey) / sizeof(wchar_t))
        chars = sizeof(g_serviceKey) / sizeof(wchar_t) - 1;
    RtlCopyMemory(g_serviceKey, registryPath->Buffer, chars * sizeof(wchar_t));
    g_serviceKey[chars] = L'\0';
}

NTSTATUS OpenServiceSubkey(const wchar_t* subkey, HANDLE* key) {
    wchar_t text[300] = L"";
    AppendWide(text, 300, g_serviceKey);
    AppendWide(text, 300, L"\\");
    AppendWide(text, 300, subkey);
    return OpenKeyPath(text, KEY_READ, false, key);
}

ULONG ReadServiceDword(const wchar_t* subkey, const wchar_t* name, ULONG fallback) {
    HANDLE key;
    if (!NT_SUCCESS(OpenServiceSubkey(subkey, &key)))
        return fallback;
    UNICODE_STRING valueName;
    RtlInitUnicodeString(&valueName, name);
    alignas(8) UCHAR buffer[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + sizeof(ULONG)];
    auto* info = reinterpret_cast<KEY_VALUE_PARTIAL_INFORMATION*>(buffer);
    ULONG size = 0;
    NTSTATUS status =
        ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, info, sizeof(buffer), &size);
    ZwClose(key);
    if (!NT_SUCCESS(status) || info->Type != REG_DWORD || info->DataLength != sizeof(ULONG))
        return fallback;
    ULONG value;
    RtlCopyMemory(&value, info->Data, sizeof(value));
    return value;
}

extern "C" NTSTATUS DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    RememberServiceKey(registryPath);
    ResetState();
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchCreateClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->MajorFunction[IRP_MJ_PNP] = DispatchPnp;
    driver->DriverUnload = DriverUnload;

    UNICODE_STRING deviceName;
    RtlInitUnicodeString(&deviceName, L"\\Device\\Quarnel");
    NTSTATUS status = IoCreateDevice(driver, 0, &deviceName, 0x8321, 0, FALSE, &g_device);
    if (!NT_SUCCESS(status))
        return status;

    ClearPhantomMark();
    status =
        IoRegisterDeviceInterface(g_device, &GUID_DEVINTERFACE_HOTSWAP, nullptr, &g_interfaceName);
    if (NT_SUCCESS(status))
        status = IoSetDeviceInterfaceState(&g_interfaceName, TRUE);
    if (!NT_SUCCESS(status)) {
        DbgPrint("quarnel: device interface not published (0x%08lx)\n", status);
        if (g_interfaceName.Buffer != nullptr)
            RtlFreeUnicodeString(&g_interfaceName);
        g_interfaceName.Buffer = nullptr;
        IoDeleteDevice(g_device);
        g_device = nullptr;
        return status;
    }
    return STATUS_SUCCESS;
}
