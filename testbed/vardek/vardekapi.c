/* Stand-in controller library. A session is an open handle on the stand-in
 * controller driver's device, so opening one succeeds exactly while that
 * driver is running. The session value is the handle itself: Windows handle
 * values fit in 32 bits and sign-extend back to the handle. */
#include <windows.h>

#include "testbed_vardek.h"

/* Tests can ask for sessions whose value is no device handle, as another
 * library's might be: TESTBED_VARDEK_SESSION_ENV set to "event" gives an
 * event handle, "number" a plain number that is no handle at all. */
static int OpenOtherSession(unsigned int* session) {
    char kind[16] = "";
    if (!GetEnvironmentVariableA(TESTBED_VARDEK_SESSION_ENV, kind, sizeof(kind)))
        return -1;
    if (lstrcmpA(kind, "event") == 0) {
        HANDLE event = CreateEventA(NULL, TRUE, FALSE, NULL);
        if (!event)
            return (int)GetLastError();
        *session = (unsigned int)(ULONG_PTR)event;
        return 0;
    }
    if (lstrcmpA(kind, "number") == 0) {
        *session = 0x7FFF0001u;
        return 0;
    }
    return -1;
}

__declspec(dllexport) int __cdecl VardekOpenSession(unsigned int* session) {
    HANDLE device;
    if (!session)
        return ERROR_INVALID_PARAMETER;
    if (OpenOtherSession(session) == 0)
        return 0;
    device = CreateFileA(TESTBED_VARDEK_CONTROLLER_PATH, GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (device == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error ? (int)error : -1;
    }
    *session = (unsigned int)(ULONG_PTR)device;
    return 0;
}

__declspec(dllexport) int __cdecl VardekCloseSession(unsigned int session) {
    return CloseHandle((HANDLE)(LONG_PTR)(LONG)session) ? 0 : (int)GetLastError();
}
