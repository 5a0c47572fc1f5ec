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
    // Added or changed on the page since the load or the last save that
    // installed it: only such a record is installed. Never stored.
    int32_t m_bInstall = 0;

    void SetServiceName(const CString& name) { m_strServiceName = name; }
    bool NamesService() const { return IsServiceName(m_strServiceName); }
    void SetRestrictions(const CString& text) { m_strRestrictions = text; }
    void SetFile(const CString& text) { m_strFile = text; }
    void SetDescription(const CString& text) { m_strDescription = text; }

    // What the parameter keys hold of the record: its name in "Miniports"
    // and its restriction value. File and description live in the service.
    bool StoresTheSameAs(const CMiniportRecord& other) const {
        return m_strRestrictions == other.m_strRestrictions &&
               m_strServiceName == other.m_strServiceName;
    }
};

// Service names compare without regard to case, as Windows compares them.
bool IsSameServiceName(const char* a, const char* b);

// Walked with FindIf (framework/clist.h), as a search or a for-each.
class CMiniportList : public CList<CMiniportRecord> {
public:
    // The first record of that service, whatever the case of its name.
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
