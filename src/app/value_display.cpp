#include "app/value_display.h"

#include "model/multi_string.h"

namespace {
// Values are shown cut to this many characters in a change line.
const int kShownLength = 60;

CString Cut(CString text) {
    if (text.GetLength() <= kShownLength)
        return text;
    return CString(text.str().substr(0, kShownLength - 3)) + "...";
}

// A string in quotes, its control characters escaped so that it keeps to
// one line.
CString Quoted(const CString& text) {
    CString quoted = "\"";
    for (char ch : text.str()) {
        if (ch == '\r' || ch == '\n' || ch == '\t') {
            quoted += ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : "\\t";
        } else if (static_cast<unsigned char>(ch) < 0x20) {
            CString escaped;
            escaped.Format("\\x%02x", static_cast<unsigned char>(ch));
            quoted += escaped;
        } else {
            quoted += ch;
        }
    }
    return quoted + "\"";
}

// A short, readable form of a value's data.
} // namespace

CString ShownValue(const CRegistryValue& wide) {
    // Text as the code page shows it; other data as its bytes.
    CRegistryValue value = AnsiViewOf(wide);
    CString text;
    DWORD number = 0;
    if (value.m_dwType == REG_DWORD && value.m_data.size() == 4 && ScalarOf(value, &number)) {
        text.Format("%lu (0x%lx)", static_cast<unsigned long>(number),
                    static_cast<unsigned long>(number));
        return text;
    }
    if (value.m_dwType == REG_SZ || value.m_dwType == REG_EXPAND_SZ)
        return Cut(Quoted(value.Text()));
    if (value.m_dwType == REG_MULTI_SZ) {
        for (const CString& string : SplitMultiString(value.m_data.data(), value.m_data.size()))
            text += (text.IsEmpty() ? "" : " ") + Quoted(string);
        return Cut(text.IsEmpty() ? CString("(no strings)") : text);
    }
    if (value.m_dwType == REG_BINARY)
        text = "hex:";
    else
        text.Format("hex(%lx):", static_cast<unsigned long>(value.m_dwType));
    for (size_t i = 0; i < value.m_data.size() && text.GetLength() <= kShownLength; ++i) {
        CString byte;
        byte.Format(i == 0 ? "%02x" : ",%02x", static_cast<unsigned char>(value.m_data[i]));
        text += byte;
    }
    return Cut(text);
}
