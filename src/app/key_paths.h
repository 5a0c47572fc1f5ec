#pragma once
// The key paths of registry editor files as Windows and its tools write
// them, matched to the parameter keys.
#include <windows.h>

#include <string>

#include "store/parameter_keys.h"

// The control set HKLM\SYSTEM\Select names current; 0 when it names none.
DWORD CurrentControlSet();

enum class KeyMatch { Key, OtherSet, Other };

// The parameter key a file's key path names: below HKEY_LOCAL_MACHINE or
// HKLM, in any case, with or without a closing backslash; ControlSetNNN is
// CurrentControlSet when it is the current set (OtherSet when it is
// another).
KeyMatch MatchKeyPath(std::string path, DWORD currentSet, ParameterKey* pKey);
