#pragma once
// Owner of one open registry key; closes it when it goes.
#include <windows.h>

class CRegistryKey {
public:
    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    LONG Create(HKEY hParent, const char* lpszPath) {
        Close();
        return ::RegCreateKeyExA(hParent, lpszPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                 KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr);
    }
    LONG Open(HKEY hParent, const char* lpszPath, REGSAM access = KEY_READ) {
        Close();
        return ::RegOpenKeyExA(hParent, lpszPath, 0, access, &m_hKey);
    }
    void Close() {
        if (m_hKey) {
            ::RegCloseKey(m_hKey);
            m_hKey = nullptr;
        }
    }
    operator HKEY() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};
