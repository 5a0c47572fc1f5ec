#include "framework/wnd.h"

namespace {
int g_nWaitCursor = 0;
HCURSOR g_hcurRestore = nullptr;
} // namespace

void CWnd::BeginWaitCursor() {
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    if (g_nWaitCursor++ == 0)
        g_hcurRestore = previous;
}

void CWnd::EndWaitCursor() {
    if (g_nWaitCursor > 0 && --g_nWaitCursor == 0)
        ::SetCursor(g_hcurRestore ? g_hcurRestore : ::LoadCursorA(nullptr, IDC_ARROW));
}

CString GetWindowTextOf(HWND hWnd) {
    CString text;
    int n = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, text.GetBuffer(n), n + 1);
    text.ReleaseBuffer();
    return text;
}
