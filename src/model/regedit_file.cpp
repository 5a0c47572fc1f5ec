#include "model/regedit_file.h"

#include <string_view>

#include "framework/number_text.h"

namespace {
const char HEADER5[] = "Windows Registry Editor Version 5.00";
const char HEADER4[] = "REGEDIT4";
const char UTF8_BOM[] = "\xEF\xBB\xBF";
// regedit wraps hex data once a line reaches this many characters before its '\'.
const size_t HEX_WRAP = 77;

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

void SkipBlanks(std::string_view* text) {
    while (!text->empty() && IsBlank(text->front()))
        text->remove_prefix(1);
}

void TrimEndBlanks(std::string_view* text) {
    while (!text->empty() && IsBlank(text->back()))
        text->remove_suffix(1);
}

bool IsBlankLine(std::string_view line) {
    SkipBlanks(&line);
    return line.empty();
}

bool IsBlankOrComment(std::string_view line) {
    SkipBlanks(&line);
    return line.empty() || line.front() == ';';
}

bool TakePrefix(std::string_view* text, std::string_view prefix) {
    if (text->substr(0, prefix.size()) != prefix)
        return false;
    text->remove_prefix(prefix.size());
    return true;
}

// Up to maxDigits hex digits; false when there are none or more.
bool TakeHexNumber(std::string_view* text, size_t maxDigits, uint32_t* value) {
    size_t count = 0;
    *value = 0;
    while (count < text->size() && HexDigitValue((*text)[count]) >= 0) {
        if (count == maxDigits)
            return false;
        *value = *value << 4 | static_cast<uint32_t>(HexDigitValue((*text)[count]));
        ++count;
    }
    text->remove_prefix(count);
    return count > 0;
}

// Lines end with CR LF, LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

// Reads a quoted name or string at *text (which starts with the quote) up to
// its closing quote; nullptr or the reason it cannot be read.
const char* TakeQuoted(std::string_view* text, std::string* out) {
    text->remove_prefix(1);
    while (!text->empty()) {
        char ch = text->front();
        text->remove_prefix(1);
        if (ch == '"')
            return nullptr;
        if (ch == '\\') {
            if (text->empty())
                break;
            ch = text->front();
            text->remove_prefix(1);
            if (ch == 'n')
                ch = '\n';
            else if (ch == 'r')
                ch = '\r';
            else if (ch == '0')
                return "\\0 is not allowed in a string";
        }
        if (ch == '\0')
            return "NUL character in a string";
        *out += ch;
    }
    return "unterminated string";
}

// Only blanks and a comment may follow a value.
const char* CheckEnd(std::string_view text) {
    return IsBlankOrComment(text) ? nullptr : "unexpected text after the value";
}

class Reader {
public:
    Reader(std::string_view text, CRegFile* file, std::vector<CRegFileError>* errors)
        : lines_(SplitLines(text)), file_(file), errors_(errors) {}

    bool Read() {
        if (!ReadHeader())
            return false;
        while (next_ < lines_.size()) {
            size_t index = next_++;
            std::string_view line = lines_[index];
            SkipBlanks(&line);
            if (line.empty() || line.front() == ';')
                continue;
            const char* error = nullptr;
            if (line.front() == '[')
                error = ReadKey(line, index);
            else if (line.front() == '"' || line.front() == '@')
                error = ReadValue(line, index);
            else
                error = "line is no key, value or comment";
            if (error)
                errors_->push_back({LineNumber(index), error});
        }
        return true;
    }

private:
    static int LineNumber(size_t index) { return static_cast<int>(index + 1); }

    bool ReadHeader() {
        if (!lines_.empty())
            TakePrefix(&lines_[0], UTF8_BOM);
        while (next_ < lines_.size() && IsBlankLine(lines_[next_]))
            ++next_;
        std::string_view line = next_ < lines_.size() ? lines_[next_] : std::string_view();
        SkipBlanks(&line);
        if (line == HEADER5) {
            file_->version = RegFileVersion::Version5;
        } else if (line == HEADER4) {
            file_->version = RegFileVersion::Regedit4;
        } else {
            errors_->push_back(
                {LineNumber(next_ < lines_.size() ? next_ : 0), "no registry editor header"});
            return false;
        }
        ++next_;
        return true;
    }

    // The path runs to the last ']', as key names may hold brackets; the
    // rest of the line is ignored, as regedit ignores it.
    const char* ReadKey(std::string_view line, size_t index) {
        inKey_ = false;
        size_t close = line.rfind(']');
        if (close == std::string_view::npos)
            return "key without a closing bracket";
        std::string_view path = line.substr(1, close - 1);
        bool remove = TakePrefix(&path, "-");
        if (path.empty())
            return "empty key path";
        if (path.find('\0') != std::string_view::npos)
            return "NUL character in the key path";
        CRegFileKey key;
        key.path = std::string(path);
        key.remove = remove;
        key.line = LineNumber(index);
        file_->keys.push_back(std::move(key));
        inKey_ = true;
        return nullptr;
    }

    const char* ReadValue(std::string_view line, size_t index) {
        CRegFileValue value;
        value.line = LineNumber(index);
        const char* error = ReadValueText(line, &value);
        if (error)
            return error;
        if (!inKey_)
            return "value outside any key";
        if (file_->keys.back().remove)
            return "value under a deleted key";
        file_->keys.back().values.push_back(std::move(value));
        return nullptr;
    }

    const char* ReadValueText(std::string_view line, CRegFileValue* value) {
        if (line.front() == '@') {
            line.remove_prefix(1);
        } else if (const char* error = TakeQuoted(&line, &value->name)) {
            return error;
        }
        SkipBlanks(&line);
        if (!TakePrefix(&line, "="))
            return "'=' missing after the name";
        SkipBlanks(&line);
        if (TakePrefix(&line, "-")) {
            value->remove = true;
            return CheckEnd(line);
        }
        if (!line.empty() && line.front() == '"') {
            value->type = REGFILE_SZ;
            value->quoted = true;
            if (const char* error = TakeQuoted(&line, &value->data))
                return error;
            value->data += '\0';
            return CheckEnd(line);
        }
        if (TakePrefix(&line, "dword:")) {
            SkipBlanks(&line);
            uint32_t number = 0;
            if (!TakeHexNumber(&line, 8, &number) ||
                !(line.empty() || IsBlank(line.front()) || line.front() == ';'))
                return "dword needs up to 8 hex digits";
            value->type = REGFILE_DWORD;
            for (int i = 0; i < 4; ++i)
                value->data += static_cast<char>(number >> (8 * i) & 0xFF);
            return CheckEnd(line);
        }
        if (TakePrefix(&line, "hex:")) {
            value->type = REGFILE_BINARY;
        } else if (TakePrefix(&line, "hex(")) {
            if (!TakeHexNumber(&line, 8, &value->type) || !TakePrefix(&line, "):")) {
                SkipContinuation(line);
                return "bad hex type";
            }
        } else {
            return "unknown data type";
        }
        return ReadHexBytes(line, &value->data);
    }

    // Hex data goes on over the following lines while a line ends with '\'
    // (blanks and a comment may follow it); blank and comment lines between
    // are skipped. Returns the data's pieces, one per line, without the '\'.
    const char* TakeHexLines(std::string_view line, std::vector<std::string_view>* pieces) {
        for (;;) {
            line = line.substr(0, line.find(';'));
            TrimEndBlanks(&line);
            bool continued = !line.empty() && line.back() == '\\';
            if (continued)
                line.remove_suffix(1);
            pieces->push_back(line);
            if (!continued)
                return nullptr;
            while (next_ < lines_.size() && IsBlankOrComment(lines_[next_]))
                ++next_;
            if (next_ == lines_.size())
                return "hex data continues past the end of the file";
            line = lines_[next_++];
        }
    }

    void SkipContinuation(std::string_view line) {
        std::vector<std::string_view> pieces;
        TakeHexLines(line, &pieces);
    }

    // Bytes of one or two hex digits, separated by commas with blanks around;
    // a trailing comma is allowed, and a line may only be continued where a
    // byte may start, as regedit continues it.
    const char* ReadHexBytes(std::string_view line, std::string* data) {
        std::vector<std::string_view> pieces;
        if (const char* error = TakeHexLines(line, &pieces))
            return error;
        bool byteNext = true;
        for (size_t i = 0; i < pieces.size(); ++i) {
            std::string_view piece = pieces[i];
            for (SkipBlanks(&piece); !piece.empty(); SkipBlanks(&piece)) {
                if (!byteNext) {
                    if (!TakePrefix(&piece, ","))
                        return "bad hex byte";
                    byteNext = true;
                    continue;
                }
                uint32_t byte = 0;
                if (!TakeHexNumber(&piece, 2, &byte))
                    return "bad hex byte";
                *data += static_cast<char>(byte);
                byteNext = false;
            }
            if (i + 1 < pieces.size() && !byteNext)
                return "line continuation must follow a comma";
        }
        return nullptr;
    }

    std::vector<std::string_view> lines_;
    size_t next_ = 0;
    CRegFile* file_;
    std::vector<CRegFileError>* errors_;
    bool inKey_ = false; // values go to the last key; not after a line that failed to be one
};

std::string Quote(const std::string& text) {
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '\\' || ch == '"')
            quoted += '\\';
        if (ch == '\n')
            quoted += "\\n";
        else if (ch == '\r')
            quoted += "\\r";
        else
            quoted += ch;
    }
    return quoted + '"';
}

// Text with exactly one NUL, at its end, and no line end reads back unchanged
// from the quoted form.
bool IsQuotable(const std::string& data) {
    return !data.empty() && data.back() == '\0' &&
           data.find_first_of(std::string_view("\0\r\n", 3)) == data.size() - 1;
}

std::string Hex(uint32_t number, int digits) {
    static const char DIGITS[] = "0123456789abcdef";
    std::string text;
    for (int shift = 28; shift >= 0; shift -= 4) {
        if (shift < 4 * digits || (number >> shift) != 0)
            text += DIGITS[number >> shift & 0xF];
    }
    return text;
}

void WriteValue(const CRegFileValue& value, std::string* out) {
    std::string line = value.name.empty() ? "@=" : Quote(value.name) + '=';
    if (value.remove) {
        *out += line + "-\r\n";
        return;
    }
    if (IsWrittenQuoted(value)) {
        *out += line + Quote(value.data.substr(0, value.data.size() - 1)) + "\r\n";
        return;
    }
    if (value.type == REGFILE_DWORD && value.data.size() == 4) {
        uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | static_cast<uint8_t>(value.data[i]);
        *out += line + "dword:" + Hex(number, 8) + "\r\n";
        return;
    }
    line += value.type == REGFILE_BINARY ? std::string("hex:") : "hex(" + Hex(value.type, 1) + "):";
    size_t width = line.size();
    for (size_t i = 0; i < value.data.size(); ++i) {
        line += Hex(static_cast<uint8_t>(value.data[i]), 2);
        if (i + 1 == value.data.size())
            break;
        line += ',';
        width += 3;
        if (width >= HEX_WRAP) {
            line += "\\\r\n  ";
            width = 2;
        }
    }
    *out += line + "\r\n";
}
} // namespace

bool IsWrittenQuoted(const CRegFileValue& value) {
    return value.type == REGFILE_SZ && IsQuotable(value.data);
}

bool ReadRegFile(const std::string& text, CRegFile* file, std::vector<CRegFileError>* errors) {
    *file = CRegFile();
    errors->clear();
    return Reader(text, file, errors).Read();
}

std::string WriteRegFile(const CRegFile& file) {
    std::string out = file.version == RegFileVersion::Regedit4 ? HEADER4 : HEADER5;
    out += "\r\n\r\n";
    for (const CRegFileKey& key : file.keys) {
        out += (key.remove ? "[-" : "[") + key.path + "]\r\n";
        if (!key.remove) {
            for (const CRegFileValue& value : key.values)
                WriteValue(value, &out);
        }
        out += "\r\n";
    }
    return out;
}
