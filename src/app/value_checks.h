#pragma once
// The rules a value from elsewhere (a file) must keep before the utility
// stores it in one of its keys: the ones the pages apply to what a user
// types, with the same parsers.
#include "framework/cstring.h"
#include "store/parameter_store.h"

// Empty when the key may hold the value; otherwise why not, in a few words.
CString CheckParameterValue(ParameterKey key, const CRegistryValue& value);
