#include "pages/miniports/hex_edit.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace {
const UINT_PTR kSubclassId = 1;

// The printable characters of the C locale, the only ones the set filters.
bool IsPrintable(UINT ch) { return ch >= 0x20 && ch <= 0x7E; }
} // namespace

CHexEdit::~CHexEdit() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::RemoveWindowSubclass(m_hWnd, &CHexEdit::SubclassProc, kSubclassId);
}

void CHexEdit::SubclassWindow(HWND hWnd) {
    Attach(hWnd);
    ::SetWindowSubclass(hWnd, &CHexEdit::SubclassProc, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
}

BOOL CHexEdit::OnChar(UINT nChar) const {
    return !IsPrintable(nChar) || std::strchr(m_szValidChars, static_cast<int>(nChar)) != nullptr;
}

void CHexEdit::OnPaste() const {
    if (!::OpenClipboard(m_hWnd))
        return;
    std::string text;
    if (HANDLE hData = ::GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(::GlobalLock(hData))) {
            for (; *p; ++p) {
                auto ch = static_cast<unsigned char>(*p);
                if (ch >= 0x20 && OnChar(ch))
                    text += *p;
            }
            ::GlobalUnlock(hData);
        }
    }
    ::CloseClipboard();
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

LRESULT CALLBACK CHexEdit::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR dwRefData) {
    auto* edit = reinterpret_cast<CHexEdit*>(dwRefData);
    switch (msg) {
    case WM_CHAR:
        if (!edit->OnChar(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_PASTE:
        edit->OnPaste();
        return 0;
    case WM_NCDESTROY:
        // A later window may come back with the same handle; it is bound anew.
        ::RemoveWindowSubclass(hWnd, &CHexEdit::SubclassProc, kSubclassId);
        edit->m_hWnd = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, msg, wParam, lParam);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CHexEdit& rControl) {
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (rControl.m_hWnd != hWnd)
        rControl.SubclassWindow(hWnd);
}
