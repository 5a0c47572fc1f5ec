#pragma once
// Who may write the save journal. Finishing or undoing a save writes into
// the kit's keys with an administrator's rights, so the journal's folders
// and files are made so that only Administrators and SYSTEM can write them,
// and a record is acted on only when that still holds.
#include <windows.h>

// The descriptor the journal's folders and files are made with, as SDDL:
// owned by Administrators; full access for SYSTEM and Administrators only;
// nothing inherited from the folder above, which lets every user create.
extern const char JOURNAL_SDDL[];

// Security attributes of that descriptor, for creating files and folders.
class CJournalSecurity {
public:
    CJournalSecurity();
    ~CJournalSecurity();
    CJournalSecurity(const CJournalSecurity&) = delete;
    CJournalSecurity& operator=(const CJournalSecurity&) = delete;

    // Null when the descriptor could not be made.
    SECURITY_ATTRIBUTES* Attributes() {
        return m_attributes.lpSecurityDescriptor ? &m_attributes : nullptr;
    }

private:
    SECURITY_ATTRIBUTES m_attributes = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

// Whether only administrators can change what the descriptor guards: its
// owner is Administrators, SYSTEM or (when it is an administrator) this
// process's user, and no entry allows anyone else to write, delete, or
// change the descriptor. A descriptor without an access list allows all.
bool IsAdministratorsOnly(PSECURITY_DESCRIPTOR pDescriptor);
// The same of a file or folder; false when its descriptor cannot be read.
bool IsWrittenByAdministratorsOnly(const char* lpszPath);
