#include "store/regedit_encoding.h"

#include <windows.h>

#include <cstring>

namespace {
const char UTF16_BOM[] = "\xFF\xFE";
const char UTF8_BOM[] = "\xEF\xBB\xBF";

// False when the ANSI code page cannot hold every character: one replaced
// by the default character, or mapped to a look-alike that reads back as
// another.
bool ToAnsi(const std::wstring& wide, std::string* pText) {
    pText->clear();
    if (wide.empty())
        return true;
    int size = static_cast<int>(wide.size());
    // A UTF-8 ANSI code page takes neither the flag nor the report.
    bool utf8 = ::GetACP() == CP_UTF8;
    DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* pUsedDefault = utf8 ? nullptr : &usedDefault;
    int length =
        ::WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, pUsedDefault);
    pText->assign(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, wide.data(), size, &(*pText)[0], length, nullptr,
                          pUsedDefault);
    return !usedDefault && Widen(CP_ACP, *pText) == wide;
}

std::wstring FromUtf16Bytes(const std::string& bytes) {
    std::wstring wide(bytes.size() / 2, L'\0');
    if (!wide.empty())
        std::memcpy(&wide[0], bytes.data(), wide.size() * 2);
    return wide;
}

std::string Utf16Bytes(const std::wstring& wide) {
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

bool IsStringType(uint32_t type) {
    return type == REGFILE_SZ || type == REGFILE_EXPAND_SZ || type == REGFILE_MULTI_SZ;
}
} // namespace

std::string RegFileTextOf(const std::string& bytes) {
    if (bytes.compare(0, 2, UTF16_BOM) == 0)
        return Narrow(CP_UTF8, FromUtf16Bytes(bytes.substr(2)));
    // The reader skips the UTF-8 mark itself.
    if (bytes.compare(0, 3, UTF8_BOM) == 0)
        return bytes;
    return Narrow(CP_UTF8, Widen(CP_ACP, bytes));
}

namespace {
const char* WideStoredValueOf(const CRegFileValue& value, RegFileVersion version,
                              CRegistryValue* pValue) {
    pValue->m_strName = value.name;
    pValue->m_dwType = value.type;
    if (value.quoted)
        pValue->m_data = Utf16Bytes(Widen(CP_UTF8, value.data));
    else if (IsStringType(value.type) && version == RegFileVersion::Regedit4)
        pValue->m_data = Utf16Bytes(Widen(CP_ACP, value.data));
    else
        pValue->m_data = value.data;
    return nullptr;
}

CRegFileValue WideRegFileValueOf(const CRegistryValue& value) {
    CRegFileValue out;
    out.name = value.m_strName.str();
    out.type = value.m_dwType;
    out.data = value.m_data;
    // Quoted only when the quoted text is exactly these bytes again.
    if (IsStringType(value.m_dwType) && value.m_data.size() % 2 == 0) {
        CRegFileValue quoted = out;
        std::wstring text = FromUtf16Bytes(value.m_data);
        quoted.data = Narrow(CP_UTF8, text);
        if (Widen(CP_UTF8, quoted.data) == text && IsWrittenQuoted(quoted))
            return quoted;
    }
    return out;
}
} // namespace

const char* StoredValueOf(const CRegFileValue& value, RegFileVersion version,
                          CRegistryValue* pValue, ValueEncoding encoding) {
    if (encoding == ValueEncoding::Wide)
        return WideStoredValueOf(value, version, pValue);
    std::string name, data;
    if (!ToAnsi(Widen(CP_UTF8, value.name), &name))
        return "the name has characters the ANSI code page lacks";
    pValue->m_strName = name;
    pValue->m_dwType = value.type;
    if (value.quoted) {
        if (!ToAnsi(Widen(CP_UTF8, value.data), &data))
            return "the text has characters the ANSI code page lacks";
    } else if (IsStringType(value.type) && version == RegFileVersion::Version5) {
        // Wine's reg import fails on such data too.
        if (value.data.size() % 2 != 0)
            return "string data in hex needs an even number of bytes (UTF-16)";
        if (!ToAnsi(FromUtf16Bytes(value.data), &data))
            return "the text has characters the ANSI code page lacks";
    } else {
        data = value.data;
    }
    pValue->m_data = data;
    return nullptr;
}

CRegFileValue RegFileValueOf(const CRegistryValue& value, ValueEncoding encoding) {
    if (encoding == ValueEncoding::Wide)
        return WideRegFileValueOf(value);
    CRegFileValue out;
    out.name = Narrow(CP_UTF8, Widen(CP_ACP, value.m_strName.str()));
    out.type = value.m_dwType;
    out.data = value.m_data;
    // Quotable ANSI text stays quotable in UTF-8: NULs, CR and LF keep
    // their places.
    if (IsWrittenQuoted(out))
        out.data = Narrow(CP_UTF8, Widen(CP_ACP, value.m_data));
    else if (IsStringType(value.m_dwType))
        out.data = Utf16Bytes(Widen(CP_ACP, value.m_data));
    return out;
}

std::string Version5FileBytes(const CRegFile& file) {
    return std::string(UTF16_BOM, 2) + Utf16Bytes(Widen(CP_UTF8, WriteRegFile(file)));
}

std::string AnsiForDisplay(const std::string& utf8) {
    std::string text;
    ToAnsi(Widen(CP_UTF8, utf8), &text);
    return text;
}
