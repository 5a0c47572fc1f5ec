#pragma once
// Registry editor files (.reg) as text in the program's ANSI code page: read
// into keys and values, each with the line it starts on, and written back in
// the notation regedit itself uses. Converting a Version 5.00 file from and to
// UTF-16LE, and the bytes of its string-typed hex values, is the caller's part:
// hex data passes through here unchanged. Free of windows.h.
#include <cstdint>
#include <string>
#include <vector>

// Value types as the registry numbers them.
constexpr uint32_t REGFILE_NONE = 0, REGFILE_SZ = 1, REGFILE_EXPAND_SZ = 2, REGFILE_BINARY = 3,
                   REGFILE_DWORD = 4, REGFILE_MULTI_SZ = 7, REGFILE_QWORD = 11;

enum class RegFileVersion { Version5, Regedit4 };

struct CRegFileValue {
    std::string name;    // "" is the key's default value, written @
    bool remove = false; // "name"=-  (delete the value); type and data are then not written
    uint32_t type = REGFILE_NONE;
    std::string data;    // the value's bytes; a quoted string gives its text and one NUL
    int line = 0;        // line where the value starts, from 1
    bool quoted = false; // read from a quoted string: data is text in the file's own encoding
};

struct CRegFileKey {
    std::string path;    // the text between the brackets, e.g. HKEY_LOCAL_MACHINE\System\...
    bool remove = false; // [-path]; a deleted key's values are not written
    int line = 0;
    std::vector<CRegFileValue> values;
};

struct CRegFile {
    RegFileVersion version = RegFileVersion::Version5;
    std::vector<CRegFileKey> keys;
};

struct CRegFileError {
    int line;
    std::string reason;
};

// Reads the text of a file. false, with one error, when the text is no registry
// file at all (its first non-empty line is neither header); otherwise true, with
// one error per line that could not be read (that line's value is left out, the
// rest is read). Lines end with CR LF, LF or a lone CR, as regedit reads them.
// Blanks may surround the '=' and the commas of hex data, a ';' comment may end
// a value, and hex data whose line ends in '\' goes on at the next line that is
// neither blank nor a comment. Type words (dword:, hex:, hex(N):) are lower case.
// In quoted names and strings \\ and \" stand for \ and ", \n and \r for LF and
// CR as Wine's reg and regedit read and write them, \0 is refused as they refuse
// it, and any other character after \ stands for itself, as they take it.
bool ReadRegFile(const std::string& text, CRegFile* file, std::vector<CRegFileError>* errors);

// The text of a file: the header of its version, a blank line, then each key as
// "[path]" followed by its values and a blank line; every line ends with CR LF.
// Each value takes the notation regedit gives it; a REG_SZ that is not text with
// one closing NUL, or that holds a CR or LF, goes as hex(1), and a name's CR and
// LF as \r and \n. A file cannot carry a NUL in a path or name, nor a CR or LF
// in a path, nor an empty path.
std::string WriteRegFile(const CRegFile& file);

// Whether WriteRegFile writes the value as a quoted string, whose text is in
// the file's own encoding, rather than as hex bytes, which pass unchanged.
bool IsWrittenQuoted(const CRegFileValue& value);
