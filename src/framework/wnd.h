#pragma once
// Thin window wrapper: a handle and one-line forwarding methods. It owns
// nothing; the window belongs to whoever created it.
#include <windows.h>

#include "framework/cstring.h"

// The text of any window or control.
CString GetWindowTextOf(HWND hWnd);

class CWnd {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}
    virtual ~CWnd() = default;

    operator HWND() const { return m_hWnd; }
    void Attach(HWND hWnd) { m_hWnd = hWnd; }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam);
    }

    CWnd GetDlgItem(int nID) const { return CWnd(::GetDlgItem(m_hWnd, nID)); }
    void SetDlgCtrlID(int nID) const { ::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) const { return ::EnableWindow(m_hWnd, bEnable); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }

    void SetWindowText(const char* psz) const { ::SetWindowTextA(m_hWnd, psz); }
    void SetDlgItemText(int nID, const char* psz) const { ::SetDlgItemTextA(m_hWnd, nID, psz); }
    CString GetDlgItemText(int nID) const { return GetWindowTextOf(::GetDlgItem(m_hWnd, nID)); }
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
    // The keyboard focus to a control of this dialog, as the dialog manager
    // moves it (default button included); nID 0: the next control that takes
    // Tab after the one that has the focus.
    void GotoDlgCtrl(int nID) const {
        if (nID)
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, nID)), TRUE);
        else
            SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    }

    void GetWindowRect(RECT* rc) const { ::GetWindowRect(m_hWnd, rc); }
    void GetClientRect(RECT* rc) const { ::GetClientRect(m_hWnd, rc); }
    void ScreenToClient(RECT* rc) const {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rc), 2);
    }
    void MoveWindow(const RECT& rc, BOOL bRepaint = TRUE) const {
        ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, bRepaint);
    }

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
