#include "support/registry_sandbox.h"

#include <cstdio>

namespace {
// Deletes a key with everything below it (RegDeleteTree needs a newer SDK
// level than the program builds for).
void DeleteTree(HKEY parent, const char* name) {
    HKEY key;
    if (::RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    char child[256];
    while (::RegEnumKeyA(key, 0, child, sizeof(child)) == ERROR_SUCCESS)
        DeleteTree(key, child);
    ::RegCloseKey(key);
    ::RegDeleteKeyA(parent, name);
}
} // namespace

RegistrySandbox::RegistrySandbox() {
    char path[128];
    std::snprintf(path, sizeof(path), "Software\\MirandelTests\\%lu-%lu",
                  static_cast<unsigned long>(::GetCurrentProcessId()),
                  static_cast<unsigned long>(::GetTickCount()));
    m_path = path;
    std::string machine = m_path + "\\HKLM", user = m_path + "\\HKCU";
    ::RegCreateKeyExA(HKEY_CURRENT_USER, machine.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &m_hMachine, nullptr);
    ::RegCreateKeyExA(HKEY_CURRENT_USER, user.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &m_hUser, nullptr);
    Resume();
}

RegistrySandbox::~RegistrySandbox() {
    Suspend();
    ::RegCloseKey(m_hMachine);
    ::RegCloseKey(m_hUser);
    DeleteTree(HKEY_CURRENT_USER, m_path.c_str());
}

void RegistrySandbox::Suspend() {
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
}

void RegistrySandbox::Resume() {
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_hMachine);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, m_hUser);
}

bool KeyExists(HKEY root, const char* path) {
    HKEY key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

bool ReadDword(HKEY root, const char* path, const char* name, DWORD* value) {
    HKEY key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof(*value);
    LONG rc = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(*value);
}

bool ValueExists(HKEY root, const char* path, const char* name) {
    HKEY key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG rc = ::RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr);
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void WriteRaw(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size) {
    HKEY key;
    if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

void WriteText(HKEY root, const char* path, const char* name, const std::string& text) {
    WriteRaw(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
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

StoredValue Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }

void WriteDword(HKEY root, const char* path, const char* name, DWORD value) {
    WriteRaw(root, path, name, REG_DWORD, &value, sizeof(value));
}

KeyLock::KeyLock(HKEY root, const char* path) {
    if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr) !=
        ERROR_SUCCESS)
        return;
    SECURITY_DESCRIPTOR sd;
    ACL acl;
    ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    ::InitializeAcl(&acl, sizeof(acl), ACL_REVISION);
    ::SetSecurityDescriptorDacl(&sd, TRUE, &acl, FALSE);
    if (::RegSetKeySecurity(m_hKey, DACL_SECURITY_INFORMATION, &sd) != ERROR_SUCCESS)
        return;
    HKEY probe = nullptr;
    m_bLocked = ::RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &probe) != ERROR_SUCCESS;
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
