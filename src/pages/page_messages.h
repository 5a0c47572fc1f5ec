#pragma once
#include <windows.h>

// Posted by the sheet to every page that has a window after it reloaded the
// registry, both parameters 0; the page refreshes its controls from its
// members and answers 0.
#define WM_RELOAD_NOTIFY (WM_USER + 17)
