// Starts a program and reports, in milliseconds, how long it takes until a
// visible window with the given caption exists; then closes that window: a
// dialog (the property sheets) with Cancel, any other main window (regedit's)
// as its close box would.
//   sheet_timer <program> <caption>
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sheet_timer <program> <caption>\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, now;
    ::QueryPerformanceFrequency(&frequency);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessA(argv[1], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi)) {
        std::fprintf(stderr, "cannot start %s: %lu\n", argv[1], ::GetLastError());
        return 1;
    }
    HWND window = nullptr;
    for (;;) {
        window = ::FindWindowA(nullptr, argv[2]);
        if (window && ::IsWindowVisible(window))
            break;
        if (::WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "%s ended without showing \"%s\"\n", argv[1], argv[2]);
            return 1;
        }
    }
    ::QueryPerformanceCounter(&now);
    double ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                static_cast<double>(frequency.QuadPart);
    std::printf("%.1f\n", ms);
    char windowClass[16] = "";
    ::GetClassNameA(window, windowClass, sizeof(windowClass));
    if (std::strcmp(windowClass, "#32770") == 0)
        ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    else
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return 0;
}
