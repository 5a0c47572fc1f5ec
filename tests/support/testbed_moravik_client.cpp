#include "support/testbed_moravik_client.h"

#include <cstdio>

namespace {

// Opens the service, runs the call on it, closes both handles; false when
// the service cannot be opened.
template <typename Call> bool WithService(const char* lpszServiceName, DWORD dwAccess, Call call) {
    SC_HANDLE hManager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE hService = hManager ? ::OpenServiceA(hManager, lpszServiceName, dwAccess) : nullptr;
    if (hService) {
        call(hService);
        ::CloseServiceHandle(hService);
    }
    if (hManager)
        ::CloseServiceHandle(hManager);
    return hService != nullptr;
}

} // namespace

DWORD QueryTestbedServiceState(const char* lpszServiceName) {
    SERVICE_STATUS status = {};
    WithService(lpszServiceName, SERVICE_QUERY_STATUS, [&](SC_HANDLE hService) {
        if (!::QueryServiceStatus(hService, &status))
            status.dwCurrentState = 0;
    });
    return status.dwCurrentState;
}

bool WaitForTestbedServiceState(const char* lpszServiceName, DWORD dwState, DWORD dwTimeoutMs) {
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        if (QueryTestbedServiceState(lpszServiceName) == dwState)
            return true;
        if (::GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        ::Sleep(50);
    }
}

bool StopTestbedService(const char* lpszServiceName) {
    bool bStopping = false;
    WithService(lpszServiceName, SERVICE_STOP, [&](SC_HANDLE hService) {
        SERVICE_STATUS status;
        bStopping = ::ControlService(hService, SERVICE_CONTROL_STOP, &status) ||
                    ::GetLastError() == ERROR_SERVICE_NOT_ACTIVE;
    });
    return bStopping && WaitForTestbedServiceState(lpszServiceName, SERVICE_STOPPED);
}

bool StartTestbedService(const char* lpszServiceName) {
    // A driver that has just stopped may still be unloading; try again for a
    // while before giving up.
    DWORD dwError = 0;
    for (int nTry = 0; nTry < 20; ++nTry) {
        if (!WithService(lpszServiceName, SERVICE_START, [&](SC_HANDLE hService) {
                dwError = ::StartServiceA(hService, 0, nullptr) ? 0 : ::GetLastError();
            }))
            return false;
        if (dwError == 0 || dwError == ERROR_SERVICE_ALREADY_RUNNING)
            return WaitForTestbedServiceState(lpszServiceName, SERVICE_RUNNING);
        ::Sleep(100);
    }
    std::fprintf(stderr, "cannot start %s: error %lu\n", lpszServiceName, dwError);
    return false;
}

DWORD ReadMoravikStartCount() {
    DWORD dwCount = 0;
    DWORD cbCount = sizeof(dwCount);
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, TESTBED_MORAVIK_START_COUNT,
                       RRF_RT_REG_DWORD, nullptr, &dwCount, &cbCount) != ERROR_SUCCESS)
        return 0;
    return dwCount;
}

CMoravikStateKeeper::~CMoravikStateKeeper() {
    DWORD dwState = QueryTestbedServiceState(TESTBED_MORAVIK_SERVICE);
    if (m_dwState == SERVICE_RUNNING && dwState != SERVICE_RUNNING)
        StartTestbedService(TESTBED_MORAVIK_SERVICE);
    else if (m_dwState == SERVICE_STOPPED && dwState != SERVICE_STOPPED)
        StopTestbedService(TESTBED_MORAVIK_SERVICE);
}
