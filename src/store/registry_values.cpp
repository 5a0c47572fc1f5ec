#include "store/registry_values.h"

#include <algorithm>

CRegistryValue StringValue(const CString& name, const CString& text) {
    return {name, REG_SZ, text.str() + '\0'};
}

CRegistryValue DwordValue(const CString& name, DWORD value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return {name, REG_DWORD, data};
}

std::string FoldName(const char* name) {
    std::string folded(name);
    if (!folded.empty())
        ::CharUpperBuffA(&folded[0], static_cast<DWORD>(folded.size()));
    return folded;
}

void CKeyValues::Assign(std::vector<CRegistryValue> values) {
    m_values = std::move(values);
    m_index.clear();
    for (size_t i = 0; i < m_values.size(); ++i)
        m_index.emplace(FoldName(m_values[i].m_strName), i);
}

const CRegistryValue* CKeyValues::Find(const char* name) const {
    auto found = m_index.find(FoldName(name));
    return found == m_index.end() ? nullptr : &m_values[found->second];
}

void CKeyValues::Set(const CRegistryValue& value) {
    auto found = m_index.find(FoldName(value.m_strName));
    if (found != m_index.end()) {
        // The registry keeps the name as it was first given.
        m_values[found->second].m_dwType = value.m_dwType;
        m_values[found->second].m_data = value.m_data;
        return;
    }
    m_index.emplace(FoldName(value.m_strName), m_values.size());
    m_values.push_back(value);
}

void CKeyValues::Remove(const char* name) {
    auto found = m_index.find(FoldName(name));
    if (found == m_index.end())
        return;
    m_values.erase(m_values.begin() + static_cast<std::ptrdiff_t>(found->second));
    Assign(std::move(m_values));
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

LONG ReadValue(HKEY hKey, const char* name, CRegistryValue* pValue) {
    std::string data(kFirstBufferSize, '\0');
    for (DWORD retries = 0;; ++retries) {
        DWORD type = REG_NONE, size = static_cast<DWORD>(data.size());
        LONG rc = ::RegQueryValueExA(hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]),
                                     &size);
        if (rc == ERROR_MORE_DATA && retries < kMaxRetries) {
            data.resize(std::max<size_t>(data.size() * 2, static_cast<size_t>(size) + 1));
            continue;
        }
        if (rc == ERROR_SUCCESS)
            *pValue = {CString(name), type, data.substr(0, size)};
        return rc;
    }
}

FILETIME LastWriteTime(HKEY hKey) {
    FILETIME written = {};
    if (::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, &written) != ERROR_SUCCESS)
        written = {};
    return written;
}

bool ScalarOf(const CRegistryValue& value, DWORD* pdwValue) {
    size_t size = value.m_data.size();
    if (size == 0 || size > 4)
        return false;
    DWORD result = 0;
    for (size_t i = 0; i < size; ++i)
        result |= static_cast<DWORD>(static_cast<unsigned char>(value.m_data[i])) << (8 * i);
    *pdwValue = result;
    return true;
}
