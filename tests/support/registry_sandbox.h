#pragma once
// Gives a test a private HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER: both are
// redirected into fresh scratch keys for this process and put back after.
// The services, drivers and Wine itself keep seeing the real registry.
#include <windows.h>

#include <initializer_list>
#include <map>
#include <string>
#include <utility>

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Runs while the real registry is visible again, for reads of the
    // stand-ins' own state.
    template <class F> void WithRealRegistry(F f) {
        Redirect(false);
        f();
        Redirect(true);
    }

private:
    void Redirect(bool on);

    std::string m_path;
    HKEY m_hMachine = nullptr;
    HKEY m_hUser = nullptr;
};

// Registry helpers for tests; paths are below the given root, and writes
// create the key when it is missing.
inline bool ReadDword(HKEY root, const char* path, const char* name, DWORD* value) {
    DWORD size = sizeof(*value);
    return ::RegGetValueA(root, path, name, RRF_RT_REG_DWORD, nullptr, value, &size) == 0;
}
inline bool KeyExists(HKEY root, const char* path) {
    HKEY key;
    if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}
inline bool ValueExists(HKEY root, const char* path, const char* name) {
    return ::RegGetValueA(root, path, name, RRF_RT_ANY, nullptr, nullptr, nullptr) == 0;
}
inline void WriteRaw(HKEY root, const char* path, const char* name, DWORD type, const void* data,
                     DWORD size) {
    ::RegSetKeyValueA(root, path, name, type, data, size);
}
inline void WriteDword(HKEY root, const char* path, const char* name, DWORD value) {
    WriteRaw(root, path, name, REG_DWORD, &value, sizeof(value));
}
// REG_SZ with its NUL; a std::string may hold NULs of its own.
inline void WriteText(HKEY root, const char* path, const char* name, const std::string& text) {
    WriteRaw(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}
using NamedTexts = std::initializer_list<std::pair<std::string, std::string>>;
inline void WriteTexts(HKEY root, const char* path, NamedTexts texts) {
    for (const auto& text : texts)
        WriteText(root, path, text.first.c_str(), text.second);
}

// Makes a key refuse every access (an empty access list) for as long as the
// lock lives, as a key of another owner would.
class KeyLock {
public:
    KeyLock(HKEY root, const char* path);
    ~KeyLock();
    bool Locked() const { return m_bLocked; }

private:
    HKEY m_hKey = nullptr;
    bool m_bLocked = false;
};

// Every value of a key as stored: name -> (type, bytes).
using StoredValue = std::pair<DWORD, std::string>;
using StoredValues = std::map<std::string, StoredValue>;
StoredValues ReadStoredValues(HKEY root, const char* path);
// REG_SZ data as a save writes it: the text and its NUL.
inline StoredValue Sz(const std::string& text) { return {REG_SZ, text + '\0'}; }
inline StoredValues SzValues(NamedTexts texts) {
    StoredValues values;
    for (const auto& text : texts)
        values[text.first] = Sz(text.second);
    return values;
}
