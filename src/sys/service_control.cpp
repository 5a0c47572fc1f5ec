#include "sys/service_control.h"

#include <cstdio>
#include <cstring>

#include "framework/registry_key.h"

namespace {

// Operations that fail return GetLastError() and leave it set; operations
// that succeed leave 0. Closing handles must not disturb that.
DWORD Finish(DWORD dwError) {
    ::SetLastError(dwError);
    return dwError;
}

// Runs one call on a freshly opened service handle.
template <typename Call> DWORD WithService(SC_HANDLE hManager, const char* lpszName, Call call) {
    CServiceHandle hService(::OpenServiceA(hManager, lpszName, SERVICE_ALL_ACCESS));
    if (!hService.IsValid())
        return Finish(::GetLastError());
    ::SetLastError(0);
    DWORD dwError = call(hService) ? 0 : ::GetLastError();
    hService.Close();
    return Finish(dwError);
}

// Reads one text value of a service's key into buffer. The key path buffer
// holds 128 characters; a name that does not fit gives the empty text
// rather than the path of some other service.
const char* ReadServiceText(const char* lpszServiceName, const char* lpszValueName,
                            char (&buffer)[1024]) {
    char szKeyPath[128];
    int nLength = std::snprintf(szKeyPath, sizeof(szKeyPath),
                                "SYSTEM\\CurrentControlSet\\Services\\%s", lpszServiceName);
    if (nLength < 0 || static_cast<size_t>(nLength) >= sizeof(szKeyPath))
        return "";

    CRegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, szKeyPath, KEY_ALL_ACCESS) != ERROR_SUCCESS)
        return "";
    std::memset(buffer, 0, sizeof(buffer));
    DWORD dwSize = sizeof(buffer);
    LONG lResult = ::RegQueryValueExA(key, lpszValueName, nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(buffer), &dwSize);
    // A failed read (missing, or larger than the buffer) may leave bytes
    // behind; data that fills the buffer without a terminator is no text.
    if (lResult != ERROR_SUCCESS || !std::memchr(buffer, 0, sizeof(buffer)))
        buffer[0] = '\0';
    return buffer;
}

} // namespace

DWORD CServiceControl::Open(const char* lpszMachineName) {
    Close();
    ::SetLastError(0);
    m_hSCManager.Attach(::OpenSCManagerA(lpszMachineName, nullptr, SC_MANAGER_ALL_ACCESS));
    return m_hSCManager.IsValid() ? Finish(0) : Finish(::GetLastError());
}

DWORD CServiceControl::Close() {
    m_hSCManager.Close();
    return 0;
}

DWORD CServiceControl::CreateService(const char* lpszServiceName, const char* lpszImagePath,
                                     const char* lpszDisplayName, DWORD dwStartType,
                                     DWORD dwServiceType, const char* lpszLoadOrderGroup) {
    CServiceHandle hService(
        ::CreateServiceA(m_hSCManager, lpszServiceName, lpszDisplayName, SERVICE_ALL_ACCESS,
                         dwServiceType, dwStartType, SERVICE_ERROR_NORMAL, lpszImagePath,
                         lpszLoadOrderGroup, nullptr, nullptr, nullptr, nullptr));
    if (!hService.IsValid())
        return Finish(::GetLastError());
    hService.Close();
    return Finish(0);
}

DWORD CServiceControl::CreateKernelDriver(const char* lpszServiceName, const char* lpszImagePath,
                                          const char* lpszDisplayName, DWORD dwStartType,
                                          const char* lpszLoadOrderGroup) {
    return CreateService(lpszServiceName, lpszImagePath, lpszDisplayName, dwStartType,
                         SERVICE_KERNEL_DRIVER, lpszLoadOrderGroup);
}

DWORD CServiceControl::Start(const char* lpszServiceName) {
    return WithService(m_hSCManager, lpszServiceName,
                       [](SC_HANDLE hService) { return ::StartServiceA(hService, 0, nullptr); });
}

DWORD CServiceControl::Stop(const char* lpszServiceName) {
    return WithService(m_hSCManager, lpszServiceName, [](SC_HANDLE hService) {
        SERVICE_STATUS status;
        return ::ControlService(hService, SERVICE_CONTROL_STOP, &status);
    });
}

DWORD CServiceControl::Delete(const char* lpszServiceName) {
    return WithService(m_hSCManager, lpszServiceName,
                       [](SC_HANDLE hService) { return ::DeleteService(hService); });
}

BOOL CServiceControl::Exists(const char* lpszServiceName) const {
    SC_HANDLE hOpened = ::OpenServiceA(m_hSCManager, lpszServiceName, SERVICE_ALL_ACCESS);
    if (hOpened == reinterpret_cast<SC_HANDLE>(INVALID_HANDLE_VALUE))
        return FALSE;
    CServiceHandle hService(hOpened);
    return hService.IsValid();
}

DWORD CServiceControl::QueryState(const char* lpszServiceName, DWORD* pdwState) const {
    return WithService(m_hSCManager, lpszServiceName, [pdwState](SC_HANDLE hService) {
        SERVICE_STATUS status;
        if (!::QueryServiceStatus(hService, &status))
            return FALSE;
        *pdwState = status.dwCurrentState;
        return TRUE;
    });
}

const char* GetServiceImagePath(const char* lpszServiceName) {
    static char s_szImagePath[1024];
    return ReadServiceText(lpszServiceName, "ImagePath", s_szImagePath);
}

const char* GetServiceDisplayName(const char* lpszServiceName) {
    static char s_szDisplayName[1024];
    return ReadServiceText(lpszServiceName, "DisplayName", s_szDisplayName);
}
