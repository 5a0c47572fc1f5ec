#pragma once
// A registry editor file read for the command line: what it wants of the
// utility's keys, each value checked as the pages check what a user types,
// and every line that the utility refuses or passes over.
#include <vector>

#include "framework/cstring.h"
#include "store/parameter_store.h"

struct CParameterFile {
    // One per key the file names, in the order first named; where a name
    // comes twice, the later value or deletion counts.
    std::vector<CKeyState> states;
    // "FILE(LINE): key\value: reason", one per value or line refused.
    std::vector<CString> refusals;
    // "FILE(LINE): key: ignored ...", one per key of another path.
    std::vector<CString> ignored;
    int valueCount = 0; // values and deletions of the utility's keys
};

// Reads and checks the file. FALSE, with *pError saying why, when it cannot
// be read or is no registry editor file.
BOOL ReadParameterFile(const char* pszPath, CParameterFile* pFile, CString* pError);
