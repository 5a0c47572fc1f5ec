// Device I/O control requests of the stand-in: the kit's three codes and the
// test-only ones of testbed_quarnel.h. All are METHOD_BUFFERED.
#include "chassis.h"
#include "stand_in.h"

namespace {

constexpr ULONG NOT_READ = 0xFFFFFFFF;

ULONG AppendText(wchar_t* out, ULONG at, const wchar_t* text) {
    while (*text != L'\0')
        out[at++] = *text++;
    return at;
}

// The description that follows the header: characters and whether a
// terminator follows them.
ULONG Describe(ULONG bus, ULONG device, ULONG function, wchar_t* text, ULONG capacity,
               bool* terminated) {
    *terminated = true;
    ULONG answer = g_state.stats.ResolveAnswer;
    if (answer == TESTBED_QUARNEL_ANSWER_KANA) {
        for (ULONG i = 0; i < TESTBED_QUARNEL_KANA_COUNT; ++i)
            text[i] = 0x30A2;
        return TESTBED_QUARNEL_KANA_COUNT;
    }
    if (answer == TESTBED_QUARNEL_ANSWER_FILL) {
        *terminated = false;
        for (ULONG i = 0; i < capacity; ++i)
            text[i] = L'x';
        return capacity;
    }
    ULONG n = AppendText(text, 0, L"Bus ");
    n = AppendDecimal(text, n, bus);
    n = AppendText(text, n, L", device ");
    n = AppendDecimal(text, n, device);
    n = AppendText(text, n, L", function ");
    n = AppendDecimal(text, n, function);
    *terminated = answer != TESTBED_QUARNEL_ANSWER_UNTERMINATED;
    return n;
}

NTSTATUS ResolveSlotPath(UCHAR* buffer, ULONG inLength, ULONG outLength, ULONG_PTR* information) {
    TESTBED_QUARNEL_STATS& stats = g_state.stats;
    ++stats.ResolveCount;
    stats.LastResolveInputLength = inLength;
    stats.LastResolveOutputLength = outLength;
    RtlZeroMemory(stats.LastResolveInput, sizeof(stats.LastResolveInput));
    RtlCopyMemory(stats.LastResolveInput, buffer,
                  inLength < TESTBED_QUARNEL_RECORDED_INPUT ? inLength
                                                            : TESTBED_QUARNEL_RECORDED_INPUT);
    // Byte 0 names the device and function; the rest must be a bus's path.
    if (inLength == 0 || inLength - 1 > TESTBED_QUARNEL_MAX_PATH_BYTES)
        return STATUS_INVALID_PARAMETER;
    ULONG bus;
    if (!FindBusByPath(buffer + 1, inLength - 1, &bus))
        return STATUS_NOT_FOUND;
    ULONG device = buffer[0] >> 3;
    ULONG function = buffer[0] & 7;

    if (stats.ResolveAnswer == TESTBED_QUARNEL_ANSWER_SHORT) {
        if (outLength < 7)
            return STATUS_BUFFER_TOO_SMALL;
        RtlZeroMemory(buffer, 7);
        buffer[4] = static_cast<UCHAR>(bus);
        buffer[5] = static_cast<UCHAR>(device);
        buffer[6] = static_cast<UCHAR>(function);
        *information = 7;
        return STATUS_SUCCESS;
    }
    if (outLength < RESOLVE_HEADER_SIZE)
        return STATUS_BUFFER_TOO_SMALL;

    // The header's other bytes carry nothing the utility reads: zero, except
    // a size field that makes them look like a real answer.
    UCHAR header[RESOLVE_HEADER_SIZE] = {};
    header[0] = static_cast<UCHAR>(RESOLVE_HEADER_SIZE);
    header[4] = static_cast<UCHAR>(bus);
    header[5] = static_cast<UCHAR>(device);
    header[6] = static_cast<UCHAR>(function);

    ULONG total = RESOLVE_HEADER_SIZE;
    wchar_t text[TESTBED_QUARNEL_RECORDED_INPUT + 8];
    ULONG room = (outLength - RESOLVE_HEADER_SIZE) / sizeof(wchar_t);
    if (room > TESTBED_QUARNEL_RECORDED_INPUT + 8)
        room = TESTBED_QUARNEL_RECORDED_INPUT + 8;
    bool terminated;
    ULONG chars = Describe(bus, device, function, text, room, &terminated);
    ULONG bytes = (chars + (terminated ? 1 : 0)) * sizeof(wchar_t);
    if (RESOLVE_HEADER_SIZE + bytes > outLength)
        return STATUS_BUFFER_TOO_SMALL;
    // The input shares the system buffer: write the header only now.
    RtlCopyMemory(buffer + RESOLVE_HEADER_SIZE, text, chars * sizeof(wchar_t));
    if (terminated)
        RtlZeroMemory(buffer + RESOLVE_HEADER_SIZE + chars * sizeof(wchar_t), sizeof(wchar_t));
    total += bytes;
    // Fill gives every offered byte, the odd last one included.
    if (stats.ResolveAnswer == TESTBED_QUARNEL_ANSWER_FILL && total < outLength)
        buffer[total++] = 'x';
    RtlCopyMemory(buffer, header, sizeof(header));
    *information = total;
    return STATUS_SUCCESS;
}

NTSTATUS GetBusPath(UCHAR* buffer, ULONG inLength, ULONG outLength, ULONG_PTR* information) {
    TESTBED_QUARNEL_STATS& stats = g_state.stats;
    ++stats.GetBusPathCount;
    stats.LastBusPathInputLength = inLength;
    stats.LastBusPathOutputLength = outLength;
    stats.LastBusNumber = NOT_READ;
    if (inLength < sizeof(ULONG))
        return STATUS_INVALID_PARAMETER;
    ULONG bus;
    RtlCopyMemory(&bus, buffer, sizeof(bus));
    stats.LastBusNumber = bus;
    BusPath path;
    if (bus > 255 || !ReadBusPath(bus, &path))
        return STATUS_NOT_FOUND;
    if (path.count > outLength)
        return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(buffer, path.bytes, path.count);
    *information = path.count;
    return STATUS_SUCCESS;
}

// Takes up the Parameters key as the kit's driver would; what it found is
// kept for tests of the save.
NTSTATUS UpdateParameters() {
    TESTBED_QUARNEL_STATS& stats = g_state.stats;
    ++stats.UpdateCount;
    if (stats.RefuseUpdates)
        return STATUS_DEVICE_BUSY;
    stats.ParameterValueCount = 0;
    stats.StallInterval = ReadServiceDword(L"Parameters", L"StallInterval", NOT_READ);
    HANDLE key;
    if (NT_SUCCESS(OpenServiceSubkey(L"Parameters", &key))) {
        KEY_FULL_INFORMATION info;
        ULONG size = 0;
        NTSTATUS status = ZwQueryKey(key, KeyFullInformation, &info, sizeof(info), &size);
        if (NT_SUCCESS(status) || status == STATUS_BUFFER_OVERFLOW)
            stats.ParameterValueCount = info.Values;
        ZwClose(key);
    }
    return STATUS_SUCCESS;
}

NTSTATUS ReadSwitch(const UCHAR* buffer, ULONG inLength, uint32_t* target) {
    if (inLength < sizeof(uint32_t))
        return STATUS_INVALID_PARAMETER;
    RtlCopyMemory(target, buffer, sizeof(uint32_t));
    return STATUS_SUCCESS;
}

} // namespace

void ResetState() {
    RtlZeroMemory(&g_state, sizeof(g_state));
    g_state.stats.LastBusNumber = NOT_READ;
    g_state.stats.StallInterval = NOT_READ;
}

NTSTATUS DispatchDeviceControl(PDEVICE_OBJECT, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    ULONG code = stack->Parameters.DeviceIoControl.IoControlCode;
    ULONG inLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    auto* buffer = static_cast<UCHAR*>(irp->AssociatedIrp.SystemBuffer);
    ULONG_PTR information = 0;
    NTSTATUS status;

    switch (code) {
    case IOCTL_HOTSWAP_RESOLVE_SLOT_PATH:
        status = ResolveSlotPath(buffer, inLength, outLength, &information);
        break;
    case IOCTL_HOTSWAP_GET_BUS_PATH:
        status = GetBusPath(buffer, inLength, outLength, &information);
        break;
    case IOCTL_HOTSWAP_UPDATE_PARAMETERS:
        status = UpdateParameters();
        break;
    case IOCTL_TESTBED_QUARNEL_GET_STATS:
        if (outLength < sizeof(TESTBED_QUARNEL_STATS)) {
            status = STATUS_BUFFER_TOO_SMALL;
            break;
        }
        RtlCopyMemory(buffer, &g_state.stats, sizeof(TESTBED_QUARNEL_STATS));
        information = sizeof(TESTBED_QUARNEL_STATS);
        status = STATUS_SUCCESS;
        break;
    case IOCTL_TESTBED_QUARNEL_RESET:
        ResetState();
        status = STATUS_SUCCESS;
        break;
    case IOCTL_TESTBED_QUARNEL_SET_REFUSE_UPDATES:
        status = ReadSwitch(buffer, inLength, &g_state.stats.RefuseUpdates);
        break;
    case IOCTL_TESTBED_QUARNEL_SET_RESOLVE_ANSWER:
        status = ReadSwitch(buffer, inLength, &g_state.stats.ResolveAnswer);
        break;
    default:
        status = STATUS_INVALID_DEVICE_REQUEST;
        break;
    }
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = NT_SUCCESS(status) ? information : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

ULONG AppendDecimal(wchar_t* out, ULONG at, ULONG value) {
    wchar_t digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0)
        out[at++] = digits[--n];
    return at;
}
