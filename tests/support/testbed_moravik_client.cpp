#include "support/testbed_moravik_client.h"

#include <cstdio>

namespace {

// Manager and service handles for one call, closed on the way out.
class CServiceHandles {
public:
    CServiceHandles(const char* lpszServiceName, DWORD dwAccess) {
        m_hManager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (m_hManager)
            m_hService = ::OpenServiceA(m_hManager, lpszServiceName, dwAccess);
    }
    ~CServiceHandles() {
        if (m_hService)
            ::CloseServiceHandle(m_hService);
        if (m_hManager)
            ::CloseServiceHandle(m_hManager);
    }
    CServiceHandles(const CServiceHandles&) = delete;
    CServiceHandles& operator=(const CServiceHandles&) = delete;

    SC_HANDLE Service() const { return m_hService; }

private:
    SC_HANDLE m_hManager = nullptr;
    SC_HANDLE m_hService = nullptr;
};

bool ReadRecordValue(const char* lpszName, DWORD* pdwValue) {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, 0, KEY_READ, &hKey) !=
        ERROR_SUCCESS)
        return false;
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwSize = sizeof(dwValue);
    LONG lResult = ::RegQueryValueExA(hKey, lpszName, nullptr, &dwType,
                                      reinterpret_cast<BYTE*>(&dwValue), &dwSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_DWORD || dwSize != sizeof(dwValue))
        return false;
    *pdwValue = dwValue;
    return true;
}

} // namespace

DWORD QueryTestbedServiceState(const char* lpszServiceName) {
    CServiceHandles handles(lpszServiceName, SERVICE_QUERY_STATUS);
    SERVICE_STATUS status;
    if (!handles.Service() || !::QueryServiceStatus(handles.Service(), &status))
        return 0;
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
    {
        CServiceHandles handles(lpszServiceName, SERVICE_STOP | SERVICE_QUERY_STATUS);
        if (!handles.Service())
            return false;
        SERVICE_STATUS status;
        if (!::ControlService(handles.Service(), SERVICE_CONTROL_STOP, &status) &&
            ::GetLastError() != ERROR_SERVICE_NOT_ACTIVE)
            return false;
    }
    return WaitForTestbedServiceState(lpszServiceName, SERVICE_STOPPED);
}

bool StartTestbedService(const char* lpszServiceName) {
    // A driver that has just stopped may still be unloading; try again for a
    // while before giving up.
    DWORD dwError = 0;
    for (int nTry = 0; nTry < 20; ++nTry) {
        {
            CServiceHandles handles(lpszServiceName, SERVICE_START | SERVICE_QUERY_STATUS);
            if (!handles.Service())
                return false;
            dwError = ::StartServiceA(handles.Service(), 0, nullptr) ? 0 : ::GetLastError();
        }
        if (dwError == 0 || dwError == ERROR_SERVICE_ALREADY_RUNNING)
            return WaitForTestbedServiceState(lpszServiceName, SERVICE_RUNNING);
        ::Sleep(100);
    }
    std::fprintf(stderr, "cannot start %s: error %lu\n", lpszServiceName, dwError);
    return false;
}

DWORD ReadMoravikStartCount() {
    DWORD dwCount = 0;
    return ReadRecordValue(TESTBED_MORAVIK_START_COUNT, &dwCount) ? dwCount : 0;
}

bool ReadMoravikRecordedParameter(const char* lpszName, DWORD* pdwValue) {
    return ReadRecordValue(lpszName, pdwValue);
}

CMoravikStateKeeper::CMoravikStateKeeper()
    : m_dwState(QueryTestbedServiceState(TESTBED_MORAVIK_SERVICE)) {}

CMoravikStateKeeper::~CMoravikStateKeeper() {
    DWORD dwState = QueryTestbedServiceState(TESTBED_MORAVIK_SERVICE);
    if (m_dwState == SERVICE_RUNNING && dwState != SERVICE_RUNNING)
        StartTestbedService(TESTBED_MORAVIK_SERVICE);
    else if (m_dwState == SERVICE_STOPPED && dwState != SERVICE_STOPPED)
        StopTestbedService(TESTBED_MORAVIK_SERVICE);
}
