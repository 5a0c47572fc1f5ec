#pragma once
// An alternate HS-CSR driver (a miniport): its service, file, description
// and slot restrictions; the list of them in the order the hot-swap driver
// takes them; and the "Miniports" value's text form. Free of windows.h.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/clist.h"
#include "framework/cstring.h"

// False for a name of blanks only, or none (the unnamed value of a
// restriction): no service can be installed under it.
bool IsServiceName(CString name);

class CMiniportRecord {
public:
    CString m_strRestrictions; // "Restrict to slots" as entered; empty: no restriction
    CString m_strServiceName;  // identifies the record
    CString m_strFile;         // the chosen file, or the service's ImagePath
    CString m_strDescription;  // the service's display name
    int32_t m_bCopyFile = 0;   // copy the file when installing; never stored

    void SetServiceName(const CString& name) { m_strServiceName = name; }
    bool NamesService() const { return IsServiceName(m_strServiceName); }
    void SetRestrictions(const CString& text) { m_strRestrictions = text; }
    void SetFile(const CString& text) { m_strFile = text; }
    void SetDescription(const CString& text) { m_strDescription = text; }

    bool operator==(const CMiniportRecord& other) const {
        return m_strRestrictions == other.m_strRestrictions &&
               m_strServiceName == other.m_strServiceName && m_strFile == other.m_strFile &&
               m_strDescription == other.m_strDescription && m_bCopyFile == other.m_bCopyFile;
    }
};

// Walked with FindIf (framework/clist.h), as a search or a for-each.
class CMiniportList : public CList<CMiniportRecord> {
public:
    // Exact, case-sensitive match of the service name.
    POSITION FindByService(const char* pszName) const;
};

// The "Miniports" value of a list: every service name with its NUL, then
// the final NUL. A record without a service name is left out, since its
// empty string would end the list for the drivers and the next load.
std::string FormatMiniportNames(const CMiniportList& list);

// The characters a miniport's slot restrictions are written with: slot
// paths in hexadecimal, and the separators between them.
constexpr char MINIPORT_RESTRICTION_CHARS[] = "0123456789abcdefABCDEF, -";

// The largest "Miniports" value the hot-swap driver is given, in bytes.
constexpr size_t MINIPORTS_VALUE_LIMIT = 256;
