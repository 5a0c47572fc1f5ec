// Entry point of mirandelcfg.exe.
#include <windows.h>

#include "app/zorvik_app.h"
#include "framework/app.h"

// The one application object of the program.
static ZorvikApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return AfxWinMain(); }
