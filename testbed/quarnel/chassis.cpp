#include "chassis.h"

#include "stand_in.h"

namespace {

const wchar_t BUSES_SUBKEY[] = L"Testbed\\Buses";

// Large enough for a value name of a few digits and 255 path bytes as text.
constexpr ULONG VALUE_BUFFER_SIZE = 1280;

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// REG_SZ data of hexadecimal digit pairs; trailing terminators are ignored.
bool ParsePathText(const UCHAR* data, ULONG size, BusPath* path) {
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
    ULONG length = size / sizeof(wchar_t);
    while (length > 0 && text[length - 1] == L'\0')
        --length;
    if (length % 2 != 0 || length / 2 > TESTBED_QUARNEL_MAX_PATH_BYTES)
        return false;
    for (ULONG i = 0; i < length; i += 2) {
        int high = HexDigit(text[i]);
        int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0)
            return false;
        path->bytes[i / 2] = static_cast<UCHAR>(high * 16 + low);
    }
    path->count = length / 2;
    return true;
}

// Bus numbers are value names in decimal, 0 to 255.
bool ParseBusName(const wchar_t* name, ULONG chars, ULONG* bus) {
    if (chars == 0 || chars > 3)
        return false;
    ULONG value = 0;
    for (ULONG i = 0; i < chars; ++i) {
        if (name[i] < L'0' || name[i] > L'9')
            return false;
        value = value * 10 + (name[i] - L'0');
    }
    if (value > 255)
        return false;
    *bus = value;
    return true;
}

} // namespace

bool ReadBusPath(ULONG bus, BusPath* path) {
    HANDLE key;
    if (!NT_SUCCESS(OpenServiceSubkey(BUSES_SUBKEY, &key)))
        return false;
    wchar_t nameText[10];
    UNICODE_STRING name;
    name.Buffer = nameText;
    name.Length = static_cast<USHORT>(AppendDecimal(nameText, 0, bus) * sizeof(wchar_t));
    name.MaximumLength = sizeof(nameText);

    alignas(8) UCHAR buffer[VALUE_BUFFER_SIZE];
    auto* info = reinterpret_cast<KEY_VALUE_PARTIAL_INFORMATION*>(buffer);
    ULONG size = 0;
    NTSTATUS status =
        ZwQueryValueKey(key, &name, KeyValuePartialInformation, info, sizeof(buffer), &size);
    ZwClose(key);
    if (!NT_SUCCESS(status) || info->Type != REG_SZ)
        return false;
    return ParsePathText(info->Data, info->DataLength, path);
}

bool FindBusByPath(const UCHAR* bytes, ULONG count, ULONG* bus) {
    HANDLE key;
    if (!NT_SUCCESS(OpenServiceSubkey(BUSES_SUBKEY, &key)))
        return false;
    alignas(8) UCHAR buffer[VALUE_BUFFER_SIZE];
    auto* info = reinterpret_cast<KEY_VALUE_FULL_INFORMATION*>(buffer);
    bool found = false;
    for (ULONG index = 0; !found; ++index) {
        ULONG size = 0;
        NTSTATUS status =
            ZwEnumerateValueKey(key, index, KeyValueFullInformation, info, sizeof(buffer), &size);
        if (status == STATUS_NO_MORE_ENTRIES)
            break;
        if (!NT_SUCCESS(status) || info->Type != REG_SZ)
            continue;
        ULONG number;
        BusPath path;
        if (!ParseBusName(info->Name, info->NameLength / sizeof(wchar_t), &number) ||
            !ParsePathText(buffer + info->DataOffset, info->DataLength, &path))
            continue;
        if (path.count == count && RtlCompareMemory(path.bytes, bytes, count) == count) {
            *bus = number;
            found = true;
        }
    }
    ZwClose(key);
    return found;
}
