#pragma once
#include <cstdarg>
// ANSI string in the shape the pages use (MFC's CString), kept free of
// windows.h so that record parsing and formatting also build natively.
#include <cstddef>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const std::string& s) : m_str(s) {}

    CString& operator=(const char* psz) {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const char* psz) {
        m_str += psz ? psz : "";
        return *this;
    }
    CString& operator+=(char ch) {
        m_str += ch;
        return *this;
    }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator const char*() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    int Compare(const char* psz) const;
    int CompareNoCase(const char* psz) const;

    CString& TrimLeft();
    CString& TrimRight();

    // printf-style formatting into this string; any length.
    void Format(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* pszFormat, va_list args);

    // Direct access for APIs that fill a character buffer: the buffer has
    // room for nMinBufLength characters plus a terminator; ReleaseBuffer
    // takes the length from the terminator when nNewLength is -1.
    char* GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

    // Loads a string-table entry of the program's module; false (and an
    // empty text) when there is none.
    bool LoadString(unsigned int nID);

private:
    std::string m_str;
};

inline CString operator+(const CString& a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const CString& a, const char* b) {
    CString r(a);
    r += b;
    return r;
}
inline CString operator+(const char* a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}
inline bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
inline bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
inline bool operator!=(const CString& a, const char* b) { return a.Compare(b) != 0; }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
