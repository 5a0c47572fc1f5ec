#include "support/registry_sandbox.h"

#include <cstdio>

RegistrySandbox::RegistrySandbox() {
    char path[128];
    std::snprintf(path, sizeof(path), "Software\\MirandelTests\\%lu-%lu",
                  static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long>(::GetTickCount()));
    m_path = path;
    ::RegCreateKeyExA(HKEY_CURRENT_USER, (m_path + "\\HKLM").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &m_hMachine, nullptr);
    ::RegCreateKeyExA(HKEY_CURRENT_USER, (m_path + "\\HKCU").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, &m_hUser, nullptr);
    Redirect(true);
}

RegistrySandbox::~RegistrySandbox() {
    Redirect(false);
    ::RegCloseKey(m_hMachine);
    ::RegCloseKey(m_hUser);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
}

void RegistrySandbox::Redirect(bool on) {
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, on ? m_hMachine : nullptr);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, on ? m_hUser : nullptr);
}

StoredValues ReadStoredValues(HKEY root, const char* path) {
    StoredValues values;
    HKEY key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    std::string name(32768, '\0'), data(1 << 20, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size()), type = 0;
        if (::RegEnumValueA(key, index, &name[0], &nameLength, nullptr, &type,
                            reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
            break;
        values[name.substr(0, nameLength)] = {type, data.substr(0, size)};
    }
    ::RegCloseKey(key);
    return values;
}

KeyLock::KeyLock(HKEY root, const char* path) {
    if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr))
        return;
    SECURITY_DESCRIPTOR sd;
    ACL acl;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ::InitializeAcl(&acl, sizeof(acl), ACL_REVISION);
    ::SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE);
    HKEY probe = nullptr;
    m_bLocked = ::RegSetKeySecurity(m_hKey, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS &&
                ::RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS;
    if (probe)
        ::RegCloseKey(probe);
}

KeyLock::~KeyLock() {
    if (!m_hKey)
        return;
    // The handle was opened before the lock and may still change the access list.
    SECURITY_DESCRIPTOR sd;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ::SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    ::RegSetKeySecurity(m_hKey, DACL_SECURITY_INFORMATION, &sd);
    ::RegCloseKey(m_hKey);
}
