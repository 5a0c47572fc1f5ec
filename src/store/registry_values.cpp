#include "store/registry_values.h"

void ReadScalar(HKEY hKey, const char* name, DWORD& member) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof(data);
    if (::RegQueryValueExA(hKey, name, nullptr, nullptr, data, &size) != ERROR_SUCCESS || size == 0)
        return;
    member = static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8 |
             static_cast<DWORD>(data[2]) << 16 | static_cast<DWORD>(data[3]) << 24;
}

void ReadScalar(HKEY hKey, const char* name, int& member) {
    DWORD value = static_cast<DWORD>(member);
    ReadScalar(hKey, name, value);
    member = static_cast<int>(value);
}

void WriteScalar(HKEY hKey, const char* name, DWORD value) {
    ::RegSetValueExA(hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof(value));
}
