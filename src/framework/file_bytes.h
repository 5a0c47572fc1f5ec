#pragma once
// A whole file read into memory: the registry editor files the command line
// is given, and the save journal's records.
#include <windows.h>

#include <string>

// Every byte of the file; 0, or the system's error. Others may go on writing
// the file meanwhile (a save appends to its record): what it held when its
// size was taken is read. Files over 256 MB are refused with
// ERROR_FILE_TOO_LARGE: none of the utility's comes near.
DWORD ReadFileBytes(const char* lpszPath, std::string* pBytes);
