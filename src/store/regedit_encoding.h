#pragma once
// Registry editor files between their own encodings and the utility's. The
// portable reader and writer (model/regedit_file.h) are handed UTF-8, never
// ANSI text: a trail byte of a double-byte code page may be 0x5C, the
// backslash they escape with. The utility reads and writes values with the
// ANSI API, so names and data are ANSI bytes on its side.
#include <string>

#include "model/regedit_file.h"
#include "store/registry_values.h"

// The text of a file's bytes in UTF-8: UTF-16LE after its byte order mark
// (Version 5.00), UTF-8 after its own, anything else in the ANSI code page
// (REGEDIT4).
std::string RegFileTextOf(const std::string& bytes);

// A value read from a file of that version as the utility stores it. Of the
// ANSI encoding: name and quoted text in the ANSI code page, and
// string-typed hex data too (in a Version 5.00 file they are UTF-16LE, in a
// REGEDIT4 file ANSI already). Of the wide encoding: the name in UTF-8,
// string data in UTF-16LE, and hex data of a Version 5.00 file byte for
// byte. Null, or why the value cannot be stored so.
const char* StoredValueOf(const CRegFileValue& value, RegFileVersion version,
                          CRegistryValue* pValue, ValueEncoding encoding = ValueEncoding::Ansi);

// A stored value as a Version 5.00 file carries it: quoted when its text
// reads back as the same bytes, in hex otherwise.
CRegFileValue RegFileValueOf(const CRegistryValue& value,
                             ValueEncoding encoding = ValueEncoding::Ansi);

// The bytes of a Version 5.00 file: its text in UTF-16LE after a byte order
// mark.
std::string Version5FileBytes(const CRegFile& file);

// UTF-8 text in the ANSI code page, for messages: a character the code page
// lacks shows as its default character.
std::string AnsiForDisplay(const std::string& utf8);
