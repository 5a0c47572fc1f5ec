#include "store/registry_values.h"

#include <algorithm>
#include <cstring>

CRegistryValue StringValue(const CString& name, const CString& text) {
    return {name, REG_SZ, text.str() + '\0'};
}

CRegistryValue DwordValue(const CString& name, DWORD value) {
    std::string data(4, '\0');
    for (int i = 0; i < 4; ++i)
        data[static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return {name, REG_DWORD, data};
}

std::wstring Widen(UINT codePage, const std::string& bytes) {
    if (bytes.empty())
        return std::wstring();
    int size = static_cast<int>(bytes.size());
    int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, &wide[0], length);
    return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
    if (wide.empty())
        return std::string();
    int size = static_cast<int>(wide.size());
    int length =
        ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), size, &text[0], length, nullptr, nullptr);
    return text;
}

std::string FoldName(const char* name, ValueEncoding encoding) {
    if (encoding == ValueEncoding::Wide) {
        std::wstring wide = Widen(CP_UTF8, name);
        if (!wide.empty())
            ::CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
        return Narrow(CP_UTF8, wide);
    }
    std::string folded(name);
    if (!folded.empty())
        ::CharUpperBuffA(&folded[0], static_cast<DWORD>(folded.size()));
    return folded;
}

void CKeyValues::Assign(std::vector<CRegistryValue> values) {
    m_values = std::move(values);
    m_index.clear();
    for (size_t i = 0; i < m_values.size(); ++i)
        m_index.emplace(FoldName(m_values[i].m_strName, m_encoding), i);
}

const CRegistryValue* CKeyValues::Find(const char* name) const {
    auto found = m_index.find(FoldName(name, m_encoding));
    return found == m_index.end() ? nullptr : &m_values[found->second];
}

void CKeyValues::Set(const CRegistryValue& value) {
    auto found = m_index.find(FoldName(value.m_strName, m_encoding));
    if (found != m_index.end()) {
        // The registry keeps the name as it was first given.
        m_values[found->second].m_dwType = value.m_dwType;
        m_values[found->second].m_data = value.m_data;
        return;
    }
    m_index.emplace(FoldName(value.m_strName, m_encoding), m_values.size());
    m_values.push_back(value);
}

void CKeyValues::Remove(const char* name) {
    auto found = m_index.find(FoldName(name, m_encoding));
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

namespace {
// RegEnumValueA or RegEnumValueW, with a name buffer of its characters.
LONG EnumValue(HKEY hKey, DWORD index, std::string& name, DWORD* pLength, DWORD* pType, BYTE* pData,
               DWORD* pSize) {
    return ::RegEnumValueA(hKey, index, &name[0], pLength, nullptr, pType, pData, pSize);
}
LONG EnumValue(HKEY hKey, DWORD index, std::wstring& name, DWORD* pLength, DWORD* pType,
               BYTE* pData, DWORD* pSize) {
    return ::RegEnumValueW(hKey, index, &name[0], pLength, nullptr, pType, pData, pSize);
}
CString NameOf(const std::string& name) { return CString(name); }
CString NameOf(const std::wstring& name) { return CString(Narrow(CP_UTF8, name)); }

template <class Name> std::vector<CRegistryValue> ReadAll(HKEY hKey) {
    std::vector<CRegistryValue> values;
    DWORD longestName = 0, longestData = 0;
    // The longest name in characters, as the API of the name's kind counts.
    if (sizeof(typename Name::value_type) == 1)
        ::RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longestName, &longestData, nullptr, nullptr);
    else
        ::RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longestName, &longestData, nullptr, nullptr);
    Name name(std::max(kFirstBufferSize, longestName + 1), '\0');
    std::string data(std::max(kFirstBufferSize, longestData + 1), '\0');
    for (DWORD index = 0, retries = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LONG rc = EnumValue(hKey, index, name, &nameLength, &type,
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
        values.push_back({NameOf(name.substr(0, nameLength)), type, data.substr(0, dataSize)});
        ++index;
        retries = 0;
    }
    return values;
}
} // namespace

std::vector<CRegistryValue> ReadAllValues(HKEY hKey, ValueEncoding encoding) {
    return encoding == ValueEncoding::Wide ? ReadAll<std::wstring>(hKey)
                                           : ReadAll<std::string>(hKey);
}

LONG ReadValue(HKEY hKey, const char* name, CRegistryValue* pValue, ValueEncoding encoding) {
    std::string data(kFirstBufferSize, '\0');
    std::wstring wide = Widen(CP_UTF8, name);
    for (DWORD retries = 0;; ++retries) {
        DWORD type = REG_NONE, size = static_cast<DWORD>(data.size());
        BYTE* pData = reinterpret_cast<BYTE*>(&data[0]);
        LONG rc = encoding == ValueEncoding::Wide
                      ? ::RegQueryValueExW(hKey, wide.c_str(), nullptr, &type, pData, &size)
                      : ::RegQueryValueExA(hKey, name, nullptr, &type, pData, &size);
        if (rc == ERROR_MORE_DATA && retries < kMaxRetries) {
            data.resize(std::max<size_t>(data.size() * 2, static_cast<size_t>(size) + 1));
            continue;
        }
        if (rc == ERROR_SUCCESS)
            *pValue = {CString(name), type, data.substr(0, size)};
        return rc;
    }
}

LONG WriteValue(HKEY hKey, const CRegistryValue& value, ValueEncoding encoding) {
    const BYTE* pData = reinterpret_cast<const BYTE*>(value.m_data.data());
    DWORD size = static_cast<DWORD>(value.m_data.size());
    if (encoding == ValueEncoding::Wide)
        return ::RegSetValueExW(hKey, Widen(CP_UTF8, value.m_strName.str()).c_str(), 0,
                                value.m_dwType, pData, size);
    return ::RegSetValueExA(hKey, value.m_strName, 0, value.m_dwType, pData, size);
}

LONG DeleteValue(HKEY hKey, const char* name, ValueEncoding encoding) {
    if (encoding == ValueEncoding::Wide)
        return ::RegDeleteValueW(hKey, Widen(CP_UTF8, name).c_str());
    return ::RegDeleteValueA(hKey, name);
}

CRegistryValue AnsiViewOf(const CRegistryValue& wide) {
    CRegistryValue view{CString(Narrow(CP_ACP, Widen(CP_UTF8, wide.m_strName.str()))),
                        wide.m_dwType, wide.m_data};
    if (wide.m_dwType == REG_SZ || wide.m_dwType == REG_EXPAND_SZ ||
        wide.m_dwType == REG_MULTI_SZ) {
        std::wstring text(wide.m_data.size() / 2, L'\0');
        if (!text.empty())
            std::memcpy(&text[0], wide.m_data.data(), text.size() * 2);
        view.m_data = Narrow(CP_ACP, text);
    }
    return view;
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
