#pragma once
// Test-side access to the stand-in controller driver and controller library.
#include <windows.h>

#include "testbed_vardek.h"

// Counts of the controller device since the last take, then resets them;
// waits until late closes have come in (about 60 ms when all is quiet).
// False when the testbed device cannot be reached (driver not running).
bool TakeVardekCounts(TESTBED_VARDEK_COUNTS* pCounts);

bool IsVardekDriverRunning();
bool StopVardekDriver();
bool StartVardekDriver();

// Full path of vardekapi.dll in the system directory, where the DLL search
// order finds it.
const char* VardekApiPath();
// Puts a vardekapi.dll back that an earlier, interrupted test hid.
void RestoreHiddenVardekApi();

// Keeps vardekapi.dll out of the DLL search path while it lives.
class CHiddenVardekApi {
public:
    CHiddenVardekApi();
    ~CHiddenVardekApi();
    CHiddenVardekApi(const CHiddenVardekApi&) = delete;
    CHiddenVardekApi& operator=(const CHiddenVardekApi&) = delete;

    bool IsHidden() const { return m_bHidden; }

private:
    bool m_bHidden = false;
};

// Puts another library (a file name in the system directory, such as
// "vardekapi_noclose.dll") in the place of vardekapi.dll while it lives.
class CSubstitutedVardekApi {
public:
    explicit CSubstitutedVardekApi(const char* lpszReplacement);
    ~CSubstitutedVardekApi();
    CSubstitutedVardekApi(const CSubstitutedVardekApi&) = delete;
    CSubstitutedVardekApi& operator=(const CSubstitutedVardekApi&) = delete;

    bool IsInPlace() const { return m_bInPlace; }

private:
    CHiddenVardekApi m_hidden;
    bool m_bInPlace = false;
};

// Keeps the controller driver stopped while it lives.
class CStoppedVardekDriver {
public:
    CStoppedVardekDriver() : m_bStopped(StopVardekDriver()) {}
    ~CStoppedVardekDriver() { StartVardekDriver(); }
    CStoppedVardekDriver(const CStoppedVardekDriver&) = delete;
    CStoppedVardekDriver& operator=(const CStoppedVardekDriver&) = delete;

    bool IsStopped() const { return m_bStopped; }

private:
    bool m_bStopped;
};
