// Entry point of mirandelcfg.exe.
#include <windows.h>

#include <cstdlib>

#include "app/command_line.h"
#include "app/zorvik_app.h"
#include "framework/app.h"

// The one application object of the program.
static ZorvikApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Arguments ask for the command line: no sheet and no message box.
    if (__argc > 1)
        return RunCommandLine(__argc - 1, __argv + 1);
    return AfxWinMain();
}
