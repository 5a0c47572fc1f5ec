#include "framework/message_box.h"

#include "framework/app.h"
#include "framework/cstring.h"

namespace {
CMessageBoxResponder* g_pResponder = nullptr;

// Messages without an icon of their own get the one that goes with their
// buttons, as users know it from other administration tools.
UINT WithDefaultIcon(UINT nType) {
    if (nType & MB_ICONMASK)
        return nType;
    switch (nType & MB_TYPEMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return nType | MB_ICONQUESTION;
    default:
        return nType | MB_ICONEXCLAMATION;
    }
}

HWND MessageOwner() {
    HWND active = ::GetActiveWindow();
    if (active)
        return active;
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

int Show(UINT nIDPrompt, const char* text, UINT nType) {
    CWinApp* app = AfxGetApp();
    const char* caption = app ? app->m_pszAppName : "";
    nType = WithDefaultIcon(nType);
    if (g_pResponder)
        return g_pResponder->Answer(nIDPrompt, text, caption, nType);
    return ::MessageBoxA(MessageOwner(), text, caption, nType);
}
} // namespace

int AfxMessageBox(UINT nIDPrompt, UINT nType) {
    CString text;
    text.LoadString(nIDPrompt);
    return Show(nIDPrompt, text, nType);
}

int AfxMessageBox(const char* lpszText, UINT nType) { return Show(0, lpszText, nType); }

void AfxMessageBeep(UINT uType) {
    if (g_pResponder)
        g_pResponder->Beep(uType);
    else
        ::MessageBeep(uType);
}

void AfxSetMessageBoxResponder(CMessageBoxResponder* responder) { g_pResponder = responder; }

CString GetErrorText(DWORD dwError) {
    char buffer[512] = "";
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, dwError, 0, buffer, sizeof(buffer), nullptr);
    while (length > 0 && (buffer[length - 1] == '\n' || buffer[length - 1] == '\r' ||
                          buffer[length - 1] == ' ' || buffer[length - 1] == '.'))
        buffer[--length] = '\0';
    CString text;
    if (length == 0)
        text.Format("Error %lu", static_cast<unsigned long>(dwError));
    else
        text = buffer;
    return text;
}

int AfxFormatMessageBox(UINT nType, UINT nIDFormat, ...) {
    CString format, text;
    format.LoadString(nIDFormat);
    va_list args;
    va_start(args, nIDFormat);
    text.FormatV(format, args);
    va_end(args);
    return Show(nIDFormat, text, nType);
}
