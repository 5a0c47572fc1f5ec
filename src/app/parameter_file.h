#pragma once
// A registry editor file read for the command line: what it wants of the
// utility's keys, each value checked as the pages check what a user types,
// and every line that the utility refuses or passes over. A value the
// machine already holds with the same type and bytes is taken whatever the
// pages would say of it: importing a machine's own export changes nothing.
#include <vector>

#include "framework/cstring.h"
#include "store/parameter_store.h"

// A value or a deletion the file gives one of the parameter keys, with why
// the pages would refuse it (empty when they take it).
struct CFileValue {
    ParameterKey key = KEY_QUARNEL;
    CRegistryValue value; // for a deletion, its name
    bool bRemove = false;
    int line = 0;
    CString where; // "FILE(LINE): key\name: "
    CString reason;
};

struct CParameterFile {
    // The file's values of the utility's keys, in file order.
    std::vector<CFileValue> values;
    // The keys the file names, in the order first named.
    std::vector<ParameterKey> keys;
    // Lines refused whatever the machine holds, with their line numbers.
    std::vector<std::pair<int, CString>> fixedRefusals;
    // "FILE(LINE): key: ignored ...", one per key of another path.
    std::vector<CString> ignored;
    // The file names one of the utility's keys (even one refused).
    bool bNamesKey = false;
    int valueCount = 0; // values and deletions of the utility's keys
};

// What a file makes of the keys.
struct CFilePlan {
    // One per key the file names; where a name comes twice, the later value
    // or deletion counts.
    std::vector<CKeyState> states;
    // "FILE(LINE): key\value: reason", one per value or line refused, in
    // line order.
    std::vector<CString> refusals;
};

// Reads and checks the file. FALSE, with *pError saying why, when it cannot
// be read or is no registry editor file.
BOOL ReadParameterFile(const char* pszPath, CParameterFile* pFile, CString* pError);

// The file's values against the machine's (null: no machine, every rule
// applies): a value the machine holds with the same type and bytes is taken
// as it is.
CFilePlan PlanFile(const CParameterFile& file, const CParameterStore* pMachine);
