#include "framework/cstring.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>

int CString::Compare(const char* psz) const { return std::strcmp(m_str.c_str(), psz ? psz : ""); }

int CString::CompareNoCase(const char* psz) const {
    return strcasecmp(m_str.c_str(), psz ? psz : "");
}

CString& CString::TrimLeft() {
    size_t n = 0;
    while (n < m_str.size() && std::isspace(static_cast<unsigned char>(m_str[n])))
        ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && std::isspace(static_cast<unsigned char>(m_str[n - 1])))
        --n;
    m_str.resize(n);
    return *this;
}

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(const char* pszFormat, va_list args) {
    va_list again;
    va_copy(again, args);
    int needed = std::vsnprintf(nullptr, 0, pszFormat, args);
    if (needed < 0) {
        va_end(again);
        m_str.clear();
        return;
    }
    std::string out(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(&out[0], out.size(), pszFormat, again);
    va_end(again);
    out.resize(static_cast<size_t>(needed));
    m_str.swap(out);
}

char* CString::GetBuffer(int nMinBufLength) {
    size_t want = nMinBufLength > 0 ? static_cast<size_t>(nMinBufLength) : 0;
    if (m_str.size() < want)
        m_str.resize(want);
    // std::string keeps a terminator after its last character, so a caller
    // may write nMinBufLength characters and then a NUL.
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
    size_t len;
    if (nNewLength < 0)
        len = std::strlen(m_str.c_str());
    else
        len = static_cast<size_t>(nNewLength) < m_str.size() ? static_cast<size_t>(nNewLength)
                                                             : m_str.size();
    m_str.resize(len);
}
