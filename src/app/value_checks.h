#pragma once
// The rules a value from elsewhere (a file) must keep before the utility
// stores it in one of its keys: the ones the pages apply to what a user
// types, with the same parsers.
#include <map>
#include <string>

#include "framework/cstring.h"
#include "store/parameter_store.h"

// Empty when the key may hold the value; otherwise why not, in a few words.
CString CheckParameterValue(ParameterKey key, const CRegistryValue& value);

// One slot number is one slot for the driver, and one slot one number, as
// the page keeps them: a second name for a number or a slot path the file
// gives already is refused.
class CSlotsGiven {
public:
    // Empty when the PhysicalSlots value names a slot no earlier one does.
    CString Check(const CRegistryValue& value);

private:
    std::map<int32_t, std::string> m_names;
    std::map<std::string, std::string> m_paths;
};
