#pragma once
// A value as the command line shows it in a change line: a number with its
// hexadecimal form, text in quotes on one line, other data as its bytes; cut
// to a readable length.
#include "store/registry_values.h"

// A value of the wide encoding (names in UTF-8, strings in UTF-16LE).
CString ShownValue(const CRegistryValue& wide);
