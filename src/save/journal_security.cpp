#include "save/journal_security.h"

#include <aclapi.h>
#include <sddl.h>

#include "framework/handle.h"

const char JOURNAL_SDDL[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

namespace {
// Every right that changes a file or folder, what it holds, or who may.
const ACCESS_MASK kChangingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                                    FILE_DELETE_CHILD | FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC |
                                    WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;

bool IsWellKnown(PSID pSid, WELL_KNOWN_SID_TYPE type) {
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(buffer);
    return ::CreateWellKnownSid(type, nullptr, buffer, &size) && ::EqualSid(pSid, buffer);
}

// This process's user, when the process runs as an administrator: what it
// makes may be owned by it rather than by the group.
bool IsThisAdministrator(PSID pSid) {
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(admins);
    BOOL bMember = FALSE;
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &size) ||
        !::CheckTokenMembership(nullptr, admins, &bMember) || !bMember)
        return false;
    HANDLE hToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return false;
    CKernelHandle token(hToken);
    BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD needed = 0;
    return ::GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &needed) &&
           ::EqualSid(pSid, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid);
}

bool IsAdministrator(PSID pSid) {
    return pSid && ::IsValidSid(pSid) &&
           (IsWellKnown(pSid, WinBuiltinAdministratorsSid) ||
            IsWellKnown(pSid, WinLocalSystemSid) || IsThisAdministrator(pSid));
}
} // namespace

CJournalSecurity::CJournalSecurity() {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorA(JOURNAL_SDDL, SDDL_REVISION_1,
                                                               &pDescriptor, nullptr))
        m_attributes.lpSecurityDescriptor = pDescriptor;
}

CJournalSecurity::~CJournalSecurity() { ::LocalFree(m_attributes.lpSecurityDescriptor); }

bool IsAdministratorsOnly(PSECURITY_DESCRIPTOR pDescriptor) {
    PSID pOwner = nullptr;
    BOOL bDefaulted = FALSE, bPresent = FALSE;
    PACL pDacl = nullptr;
    if (!pDescriptor || !::GetSecurityDescriptorOwner(pDescriptor, &pOwner, &bDefaulted) ||
        !IsAdministrator(pOwner) ||
        !::GetSecurityDescriptorDacl(pDescriptor, &bPresent, &pDacl, &bDefaulted) || !bPresent ||
        !pDacl)
        return false;
    for (DWORD i = 0; i < pDacl->AceCount; ++i) {
        ACE_HEADER* pHeader = nullptr;
        if (!::GetAce(pDacl, i, reinterpret_cast<void**>(&pHeader)))
            return false;
        if (pHeader->AceFlags & INHERIT_ONLY_ACE)
            continue;
        if (pHeader->AceType == ACCESS_DENIED_ACE_TYPE)
            continue;
        // Allowing entries of any other kind are not looked into: distrusted.
        if (pHeader->AceType != ACCESS_ALLOWED_ACE_TYPE)
            return false;
        auto* pAce = reinterpret_cast<ACCESS_ALLOWED_ACE*>(pHeader);
        if ((pAce->Mask & kChangingRights) && !IsAdministrator(&pAce->SidStart))
            return false;
    }
    return true;
}

bool IsWrittenByAdministratorsOnly(const char* lpszPath) {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    if (::GetNamedSecurityInfoA(lpszPath, SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, nullptr, nullptr, &pDescriptor) != ERROR_SUCCESS)
        return false;
    bool bOnly = IsAdministratorsOnly(pDescriptor);
    ::LocalFree(pDescriptor);
    return bOnly;
}
