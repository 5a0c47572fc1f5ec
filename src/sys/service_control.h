#pragma once
// The service-control connection and two readers of a service's registry
// entry. Every operation opens the named service afresh and closes it before
// returning; results are Win32 error codes (0 on success) and the thread's
// last error is left matching them.
//
// CreateService and GetServiceDisplayName are also the names of Win32 macros;
// in this ANSI build both sides of every use expand to the ...A form, so the
// method and the one-argument overload below resolve as written.
#include <windows.h>

#include "framework/handle.h"

// The kit's system board service.
constexpr char SYSTEM_BOARD_SERVICE[] = "moravik";

class CServiceControl {
public:
    CServiceControl() = default;
    CServiceControl(const CServiceControl&) = delete;
    CServiceControl& operator=(const CServiceControl&) = delete;

    // Connects to the service control manager of the machine (null: this one)
    // with full access. A connection already open is closed first.
    DWORD Open(const char* lpszMachineName);
    // Always 0; harmless on a closed connection.
    DWORD Close();

    DWORD CreateService(const char* lpszServiceName, const char* lpszImagePath,
                        const char* lpszDisplayName, DWORD dwStartType, DWORD dwServiceType,
                        const char* lpszLoadOrderGroup);
    DWORD CreateKernelDriver(const char* lpszServiceName, const char* lpszImagePath,
                             const char* lpszDisplayName, DWORD dwStartType,
                             const char* lpszLoadOrderGroup);
    DWORD Start(const char* lpszServiceName);
    DWORD Stop(const char* lpszServiceName);
    DWORD Delete(const char* lpszServiceName);
    // TRUE when the service can be opened with full access.
    BOOL Exists(const char* lpszServiceName) const;
    // On success *pdwState receives the service's current state (1 to 7);
    // on an error it keeps what the caller put there.
    DWORD QueryState(const char* lpszServiceName, DWORD* pdwState) const;

private:
    CServiceHandle m_hSCManager;
};

// The service's ImagePath and DisplayName as stored (REG_EXPAND_SZ left
// unexpanded). Each function returns its own static buffer, valid until its
// next call; empty when the service's key cannot be opened with full access,
// the value is missing or does not fit 1024 bytes with its terminator, or
// the name is too long for the key path (more than 93 characters).
const char* GetServiceImagePath(const char* lpszServiceName);
const char* GetServiceDisplayName(const char* lpszServiceName);
