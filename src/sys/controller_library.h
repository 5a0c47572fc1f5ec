#pragma once
// The kit's controller library, vardekapi.dll, loaded at run time if it is
// there. A controller session that can be opened stands for a hot-swap
// controller that is present and whose driver works.
#include <windows.h>

#include <cstdint>

#include "framework/handle.h"

// Tells the hot-swap controller driver to take up its parameters: device
// type 0x8320, function 0xA4, buffered, any access; no buffers.
constexpr DWORD IOCTL_VARDEK_UPDATE_PARAMETERS = 0x83200290;

class CVardekLibrary {
public:
    CVardekLibrary() = default;
    CVardekLibrary(const CVardekLibrary&) = delete;
    CVardekLibrary& operator=(const CVardekLibrary&) = delete;

    // Loads the library and takes its two entries; without it every
    // availability test is FALSE.
    void Load();
    // Releases it; the entries are gone with it.
    void Unload();

    // Opens and closes a fresh session every time; no session stays open.
    BOOL IsAvailable() const;

    // Opens a session, sends IOCTL_VARDEK_UPDATE_PARAMETERS on the session
    // value taken as the controller driver's device handle, and closes the
    // session. Nothing is sent, and the result is FALSE, without a session
    // or when its value is not a device handle of this process; otherwise
    // the result is that of the request.
    BOOL SendUpdateParameters();

private:
    // TRUE with a session open when the library and both entries are there
    // and the open succeeds.
    BOOL OpenSession(uint32_t* pdwSession) const;

    // Both entries are cdecl with one argument; 0 from the open means a
    // session was opened.
    using OpenSessionProc = int32_t(__cdecl*)(uint32_t* pdwSession);
    using CloseSessionProc = int32_t(__cdecl*)(uint32_t dwSession);

    CModule m_hModule;
    uint32_t m_dwSession = 0;
    OpenSessionProc m_pfnOpenSession = nullptr;
    CloseSessionProc m_pfnCloseSession = nullptr;
};
