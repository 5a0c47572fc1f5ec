#pragma once
// Test-side access to the stand-in system board service, and the plain
// service-manager calls that tests use to put testbed services into a known
// state (independent of the CServiceControl under test).
#include <windows.h>

#include "testbed_moravik.h"

// Current state (1 to 7) of a service, or 0 when it cannot be queried.
DWORD QueryTestbedServiceState(const char* lpszServiceName);
// Waits until the service reaches the state; false after timeoutMs.
bool WaitForTestbedServiceState(const char* lpszServiceName, DWORD dwState,
                                DWORD dwTimeoutMs = 10000);
// Bring a service to SERVICE_STOPPED / SERVICE_RUNNING and wait for it;
// true when it got there (also when it was there already).
bool StopTestbedService(const char* lpszServiceName);
bool StartTestbedService(const char* lpszServiceName);

// The stand-in's record of its starts (testbed_moravik.h); 0 before any.
DWORD ReadMoravikStartCount();

// Puts moravik back into the state it had when this was made.
class CMoravikStateKeeper {
public:
    CMoravikStateKeeper() : m_dwState(QueryTestbedServiceState(TESTBED_MORAVIK_SERVICE)) {}
    ~CMoravikStateKeeper();
    CMoravikStateKeeper(const CMoravikStateKeeper&) = delete;
    CMoravikStateKeeper& operator=(const CMoravikStateKeeper&) = delete;

private:
    DWORD m_dwState;
};
