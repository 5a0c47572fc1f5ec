#pragma once
// Gives a test a private HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER: both are
// redirected into fresh scratch keys for this process and put back after.
// The services, drivers and Wine itself keep seeing the real registry.
#include <windows.h>

#include <map>
#include <string>

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // Runs while the real registry is visible again, for reads of the
    // stand-ins' own state.
    template <class F> void WithRealRegistry(F f) {
        Suspend();
        f();
        Resume();
    }

private:
    void Suspend();
    void Resume();

    std::string m_path;
    HKEY m_hMachine = nullptr;
    HKEY m_hUser = nullptr;
};

// Registry helpers for tests; paths are below the given root.
bool KeyExists(HKEY root, const char* path);
bool ReadDword(HKEY root, const char* path, const char* name, DWORD* value);
bool ValueExists(HKEY root, const char* path, const char* name);
void WriteDword(HKEY root, const char* path, const char* name, DWORD value);
void WriteRaw(HKEY root, const char* path, const char* name, DWORD type, const void* data,
              DWORD size);
// REG_SZ with its NUL; a std::string may hold NULs of its own.
void WriteText(HKEY root, const char* path, const char* name, const std::string& text);

// Every value of a key as stored: name -> (type, bytes).
struct StoredValue {
    DWORD type;
    std::string data;
    bool operator==(const StoredValue& other) const {
        return type == other.type && data == other.data;
    }
};
using StoredValues = std::map<std::string, StoredValue>;
StoredValues ReadStoredValues(HKEY root, const char* path);
// REG_SZ data as a save writes it: the text and its NUL.
StoredValue Sz(const std::string& text);

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
