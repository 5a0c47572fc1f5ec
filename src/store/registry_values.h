#pragma once
// Reading and writing parameter values.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/cstring.h"

enum ScalarRead { SCALAR_TAKEN, SCALAR_MISSING, SCALAR_UNREADABLE };
// Replaces the member with the stored bytes when the value exists and holds
// one to four bytes (whatever its type), zero-extended; otherwise the member
// keeps what it held. Unreadable: the value exists but is empty, longer or
// cannot be read.
ScalarRead ReadScalar(HKEY hKey, const char* name, DWORD& member);
void WriteScalar(HKEY hKey, const char* name, DWORD value);

// One value as stored: name, type and bytes.
struct CRegistryValue {
    CString m_strName;
    DWORD m_dwType = REG_NONE;
    std::string m_data;

    // The data taken as text, whatever the type: up to its first NUL.
    CString Text() const { return CString(m_data.c_str()); }
};

// Values of a list key that the utility cannot take into its lists (an
// unnamed value, a name it cannot read); a save writes them back as they
// were, so that nothing stored is lost.
using CKeptValues = std::vector<CRegistryValue>;

// Every value of the key in enumeration order, whatever the length of its
// name and data. Stops early only at a failure other than a short buffer.
std::vector<CRegistryValue> ReadAllValues(HKEY hKey);
// One value's bytes, whatever their size; false when it cannot be read.
bool ReadValueData(HKEY hKey, const char* name, std::string* data);

// REG_SZ: the text and its NUL.
void WriteString(HKEY hKey, const char* name, const CString& text);
void WriteValue(HKEY hKey, const CRegistryValue& value);
void WriteValues(HKEY hKey, const CKeptValues& values);
