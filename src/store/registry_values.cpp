#include "store/registry_values.h"

#include <algorithm>

ScalarRead ReadScalar(HKEY hKey, const char* name, DWORD& member) {
    BYTE data[4] = {0, 0, 0, 0};
    DWORD size = sizeof(data);
    LONG result = ::RegQueryValueExA(hKey, name, nullptr, nullptr, data, &size);
    if (result == ERROR_FILE_NOT_FOUND)
        return SCALAR_MISSING;
    if (result != ERROR_SUCCESS || size == 0)
        return SCALAR_UNREADABLE;
    member = static_cast<DWORD>(data[0]) | static_cast<DWORD>(data[1]) << 8 |
             static_cast<DWORD>(data[2]) << 16 | static_cast<DWORD>(data[3]) << 24;
    return SCALAR_TAKEN;
}

void WriteScalar(HKEY hKey, const char* name, DWORD value) {
    ::RegSetValueExA(hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof(value));
}

namespace {
// Buffers start at the sizes the kit's own tools use and grow on demand.
const DWORD kFirstBufferSize = 257;
// A registry value name has at most 16383 characters; an ANSI form may take
// two bytes for each.
const DWORD kLongestName = 2 * 16384;
// Growing buffers for one value more often than this means the value keeps
// changing under us; the enumeration then ends there.
const DWORD kMaxRetries = 8;
} // namespace

std::vector<CRegistryValue> ReadAllValues(HKEY hKey) {
    std::vector<CRegistryValue> values;
    DWORD longestName = 0, longestData = 0;
    ::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &longestName, &longestData, nullptr, nullptr);
    std::string name(std::max(kFirstBufferSize, longestName + 1), '\0');
    std::string data(std::max(kFirstBufferSize, longestData + 1), '\0');
    for (DWORD index = 0, retries = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LONG rc = ::RegEnumValueA(hKey, index, &name[0], &nameLength, nullptr, &type,
                                  reinterpret_cast<BYTE*>(&data[0]), &dataSize);
        if (rc == ERROR_MORE_DATA && ++retries <= kMaxRetries) {
            // The value changed or its ANSI form is longer than measured:
            // grow and read the same index again.
            if (name.size() < kLongestName)
                name.resize(name.size() * 2);
            data.resize(std::max<size_t>(data.size() * 2, static_cast<size_t>(dataSize) + 1));
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        values.push_back({CString(name.substr(0, nameLength)), type, data.substr(0, dataSize)});
        ++index;
        retries = 0;
    }
    return values;
}

bool ReadValueData(HKEY hKey, const char* name, std::string* data) {
    DWORD size = 0;
    if (::RegQueryValueExA(hKey, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::string buffer(static_cast<size_t>(size) + 1, '\0');
    for (DWORD retries = 0;; ++retries) {
        size = static_cast<DWORD>(buffer.size());
        LONG rc = ::RegQueryValueExA(hKey, name, nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&buffer[0]), &size);
        if (rc == ERROR_MORE_DATA && retries < kMaxRetries) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, static_cast<size_t>(size) + 1));
            continue;
        }
        if (rc != ERROR_SUCCESS)
            return false;
        data->assign(buffer, 0, size);
        return true;
    }
}

void WriteString(HKEY hKey, const char* name, const CString& text) {
    ::RegSetValueExA(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.str().c_str()),
                     static_cast<DWORD>(text.GetLength() + 1));
}

void WriteValue(HKEY hKey, const CRegistryValue& value) {
    ::RegSetValueExA(hKey, value.m_strName, 0, value.m_dwType,
                     reinterpret_cast<const BYTE*>(value.m_data.data()),
                     static_cast<DWORD>(value.m_data.size()));
}

void WriteValues(HKEY hKey, const CKeptValues& values) {
    for (const CRegistryValue& value : values)
        WriteValue(hKey, value);
}
