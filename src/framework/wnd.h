#pragma once
// Thin window wrapper: a handle and one-line forwarding methods. It owns
// nothing; the window belongs to whoever created it.
#include <windows.h>

#include "framework/cstring.h"

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() {
        HWND h = m_hWnd;
        m_hWnd = nullptr;
        return h;
    }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam);
    }

    CWnd GetDlgItem(int nID) const { return CWnd(::GetDlgItem(m_hWnd, nID)); }
    CWnd GetParent() const { return CWnd(::GetParent(m_hWnd)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void SetDlgCtrlID(int nID) const { ::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) const { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    void SetStyle(DWORD dwStyle) const {
        ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwStyle));
    }

    void SetWindowText(const char* psz) const { ::SetWindowTextA(m_hWnd, psz); }
    CString GetWindowText() const {
        CString text;
        int n = ::GetWindowTextLengthA(m_hWnd);
        ::GetWindowTextA(m_hWnd, text.GetBuffer(n), n + 1);
        text.ReleaseBuffer();
        return text;
    }
    void SetDlgItemText(int nID, const char* psz) const { ::SetDlgItemTextA(m_hWnd, nID, psz); }
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }

    void GetWindowRect(RECT* rc) const { ::GetWindowRect(m_hWnd, rc); }
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    void ScreenToClient(RECT* rc) const {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rc), 2);
    }
    void MoveWindow(const RECT& rc, BOOL bRepaint = TRUE) const {
        ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, bRepaint);
    }
    void SetFocus() const { ::SetFocus(m_hWnd); }
    void Invalidate() const { ::InvalidateRect(m_hWnd, nullptr, TRUE); }

    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse) const {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, nullptr);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) const { return ::KillTimer(m_hWnd, nIDEvent); }

    HMENU GetSystemMenu(BOOL bRevert) const { return ::GetSystemMenu(m_hWnd, bRevert); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) const {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(hIcon)));
    }

    // The wait cursor, as load and save show it; nests.
    static void BeginWaitCursor();
    static void EndWaitCursor();

    HWND m_hWnd = nullptr;
};
