#pragma once
// Reading and writing the scalar parameters.
#include <windows.h>

// Replaces the member with the stored bytes when the value exists and holds
// at most four bytes (whatever its type), zero-extended; otherwise the member
// keeps what it held.
void ReadScalar(HKEY hKey, const char* name, DWORD& member);
void ReadScalar(HKEY hKey, const char* name, int& member);
void WriteScalar(HKEY hKey, const char* name, DWORD value);
