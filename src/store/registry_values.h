#pragma once
// Values of the parameter keys as the registry holds them, and reading them.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "framework/cstring.h"

// One value as stored: name, type and bytes.
struct CRegistryValue {
    CString m_strName;
    DWORD m_dwType = REG_NONE;
    std::string m_data;

    // The data taken as text, whatever the type: up to its first NUL.
    CString Text() const { return CString(m_data.c_str()); }
    bool SameContent(const CRegistryValue& other) const {
        return m_dwType == other.m_dwType && m_data == other.m_data;
    }
};

// REG_SZ: the text and its NUL.
CRegistryValue StringValue(const CString& name, const CString& text);
CRegistryValue DwordValue(const CString& name, DWORD value);

// How names and data are read and written: through the ANSI API, as the
// pages do, or through the wide API, as the command line does so that every
// name and byte is kept: names then in UTF-8, data as the registry holds it
// (strings in UTF-16LE, of any length).
enum class ValueEncoding { Ansi, Wide };

// A value name as the registry compares names: without regard to case.
std::string FoldName(const char* name, ValueEncoding encoding = ValueEncoding::Ansi);

// Text between a code page (CP_ACP, CP_UTF8) and UTF-16. Narrow gives a
// character the code page lacks as its default character.
std::wstring Widen(UINT codePage, const std::string& bytes);
std::string Narrow(UINT codePage, const std::wstring& wide);

// The values of one key in the order they were read, found by name as the
// registry finds them.
class CKeyValues {
public:
    explicit CKeyValues(ValueEncoding encoding = ValueEncoding::Ansi) : m_encoding(encoding) {}
    void Assign(std::vector<CRegistryValue> values);
    const std::vector<CRegistryValue>& All() const { return m_values; }
    const CRegistryValue* Find(const char* name) const;
    // Replaces the value of that name, or adds it.
    void Set(const CRegistryValue& value);
    void Remove(const char* name);

private:
    ValueEncoding m_encoding;
    std::vector<CRegistryValue> m_values;
    std::map<std::string, size_t> m_index;
};

// Every value of the key in enumeration order, whatever the length of its
// name and data. Stops early only at a failure other than a short buffer.
std::vector<CRegistryValue> ReadAllValues(HKEY hKey, ValueEncoding encoding = ValueEncoding::Ansi);

// The value of that name as stored now: ERROR_SUCCESS, ERROR_FILE_NOT_FOUND
// when there is none, or the error that kept it from being read.
LONG ReadValue(HKEY hKey, const char* name, CRegistryValue* pValue,
               ValueEncoding encoding = ValueEncoding::Ansi);
// RegSetValueEx and RegDeleteValue of that encoding.
LONG WriteValue(HKEY hKey, const CRegistryValue& value, ValueEncoding encoding);
LONG DeleteValue(HKEY hKey, const char* name, ValueEncoding encoding);

// A value of the wide encoding as the ANSI API would give it (a character
// the code page lacks as its default character): for the checks the pages
// make of what is typed, and for messages.
CRegistryValue AnsiViewOf(const CRegistryValue& wide);

// When the key's values were last written; zero when that cannot be told.
FILETIME LastWriteTime(HKEY hKey);

// The scalar in a stored value: its one to four bytes, whatever its type,
// zero-extended; false when the value holds no bytes or more than four.
bool ScalarOf(const CRegistryValue& value, DWORD* pdwValue);
