#include "support/testbed_moravik_client.h"

#include <cstdio>

namespace {
// The named service opened with the access; null when it cannot be.
struct ServiceHandle {
    ServiceHandle(const char* name, DWORD access)
        : manager(::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT)),
          service(::OpenServiceA(manager, name, access)) {}
    ~ServiceHandle() {
        ::CloseServiceHandle(service);
        ::CloseServiceHandle(manager);
    }
    SC_HANDLE manager, service;
};
} // namespace

DWORD QueryTestbedServiceState(const char* lpszServiceName) {
    ServiceHandle handle(lpszServiceName, SERVICE_QUERY_STATUS);
    SERVICE_STATUS status = {};
    return ::QueryServiceStatus(handle.service, &status) ? status.dwCurrentState : 0;
}

bool WaitForTestbedServiceState(const char* lpszServiceName, DWORD dwState, DWORD dwTimeoutMs) {
    for (DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart <= dwTimeoutMs; ::Sleep(50))
        if (QueryTestbedServiceState(lpszServiceName) == dwState)
            return true;
    return false;
}

bool StopTestbedService(const char* lpszServiceName) {
    ServiceHandle handle(lpszServiceName, SERVICE_STOP);
    SERVICE_STATUS status;
    bool bStopping = ::ControlService(handle.service, SERVICE_CONTROL_STOP, &status) ||
                     ::GetLastError() == ERROR_SERVICE_NOT_ACTIVE;
    return bStopping && WaitForTestbedServiceState(lpszServiceName, SERVICE_STOPPED);
}

bool StartTestbedService(const char* lpszServiceName) {
    // A driver that has just stopped may still be unloading; try again for a
    // while before giving up.
    DWORD dwError = 0;
    for (int nTry = 0; nTry < 20; ++nTry, ::Sleep(100)) {
        ServiceHandle handle(lpszServiceName, SERVICE_START);
        dwError = ::StartServiceA(handle.service, 0, nullptr) ? 0 : ::GetLastError();
        if (dwError == 0 || dwError == ERROR_SERVICE_ALREADY_RUNNING)
            return WaitForTestbedServiceState(lpszServiceName, SERVICE_RUNNING);
        if (!handle.service)
            break;
    }
    std::fprintf(stderr, "cannot start %s: error %lu\n", lpszServiceName, dwError);
    return false;
}

DWORD ReadMoravikStartCount() {
    DWORD dwCount = 0, cbCount = sizeof(dwCount);
    ::RegGetValueA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, TESTBED_MORAVIK_START_COUNT,
                   RRF_RT_REG_DWORD, nullptr, &dwCount, &cbCount);
    return dwCount;
}

CMoravikStateKeeper::~CMoravikStateKeeper() {
    if (m_dwState == SERVICE_RUNNING)
        StartTestbedService(TESTBED_MORAVIK_SERVICE);
    else if (m_dwState == SERVICE_STOPPED)
        StopTestbedService(TESTBED_MORAVIK_SERVICE);
}
