// A registry editor file from anywhere: errors name lines of the text, and what
// was read writes back, in lines no longer than regedit's unless a path, name
// or string is itself long, as text that reads again as the same keys and
// values without an error.
#include "fuzz_support.h"
#include "model/regedit_file.h"

namespace {
int CountLines(const std::string& text) {
    int lines = 1;
    for (size_t i = 0; i < text.size(); ++i)
        lines +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    return lines;
}

// The line's length less a leading quoted name, and nothing for a key or a
// line that ends in a quoted string.
size_t LengthOfData(const std::string& line) {
    if (line.empty() || line[0] == '[' || line.back() == '"')
        return 0;
    size_t start = 0;
    if (line[0] == '"') {
        for (start = 1; start < line.size() && line[start] != '"'; ++start)
            start += line[start] == '\\';
    }
    return line.size() - start;
}

bool SameValues(const CRegFileKey& a, const CRegFileKey& b) {
    if (a.values.size() != b.values.size())
        return false;
    for (size_t i = 0; i < a.values.size(); ++i) {
        const CRegFileValue& x = a.values[i];
        const CRegFileValue& y = b.values[i];
        if (x.name != y.name || x.remove != y.remove || x.type != y.type || x.data != y.data ||
            y.quoted != (!x.remove && IsWrittenQuoted(x)))
            return false;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = InputText(data, size);
    CRegFile file;
    std::vector<CRegFileError> errors;
    bool read = ReadRegFile(text, &file, &errors);
    FUZZ_CHECK(read || (errors.size() == 1 && file.keys.empty()));
    int lines = CountLines(text);
    for (const CRegFileError& error : errors)
        FUZZ_CHECK(error.line >= 1 && error.line <= lines && !error.reason.empty());
    if (!read)
        return 0;

    std::string written = WriteRegFile(file);
    for (size_t start = 0, end; start < written.size(); start = end + 2) {
        end = written.find("\r\n", start);
        FUZZ_CHECK(end != std::string::npos);
        std::string line = written.substr(start, end - start);
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(LengthOfData(line) <= 100);
    }

    CRegFile again;
    FUZZ_CHECK(ReadRegFile(written, &again, &errors));
    FUZZ_CHECK(errors.empty());
    FUZZ_CHECK(again.version == file.version && again.keys.size() == file.keys.size());
    for (size_t i = 0; i < file.keys.size(); ++i) {
        const CRegFileKey& a = file.keys[i];
        const CRegFileKey& b = again.keys[i];
        FUZZ_CHECK(a.path == b.path && a.remove == b.remove && SameValues(a, b));
    }
    return 0;
}
