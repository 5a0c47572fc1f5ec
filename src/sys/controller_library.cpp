#include "sys/controller_library.h"

namespace {

// GetProcAddress hands out a generic function pointer; going through
// void (*)() tells the compiler the signature change is meant.
template <typename Proc> Proc GetEntry(HMODULE hModule, const char* lpszName) {
    return reinterpret_cast<Proc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, lpszName)));
}

} // namespace

CVardekLibrary::CVardekLibrary() {
    m_hModule = ::LoadLibraryA("vardekapi.dll");
    if (!m_hModule)
        return;
    m_pfnOpenSession = GetEntry<OpenSessionProc>(m_hModule, "VardekOpenSession");
    m_pfnCloseSession = GetEntry<CloseSessionProc>(m_hModule, "VardekCloseSession");
}

CVardekLibrary::~CVardekLibrary() {
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

BOOL CVardekLibrary::OpenSession(uint32_t* pdwSession) const {
    return m_hModule && m_pfnOpenSession && m_pfnCloseSession && m_pfnOpenSession(pdwSession) == 0;
}

BOOL CVardekLibrary::IsAvailable() const {
    uint32_t dwSession = 0;
    if (!OpenSession(&dwSession))
        return FALSE;
    m_pfnCloseSession(dwSession);
    return TRUE;
}

BOOL CVardekLibrary::SendUpdateParameters() {
    if (!OpenSession(&m_dwSession)) {
        m_dwSession = 0;
        return FALSE;
    }
    // Handle values fit in 32 bits and are sign-extended back to a HANDLE.
    HANDLE hDevice =
        reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(static_cast<int32_t>(m_dwSession)));
    DWORD dwReturned = 0;
    BOOL bSent = ::DeviceIoControl(hDevice, IOCTL_VARDEK_UPDATE_PARAMETERS, nullptr, 0, nullptr, 0,
                                   &dwReturned, nullptr);
    m_pfnCloseSession(m_dwSession);
    m_dwSession = 0;
    return bSent;
}
