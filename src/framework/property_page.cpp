#include "framework/property_page.h"

#include "framework/app.h"

CPropertyPage::CPropertyPage(UINT nIDTemplate) : m_psp() {
    m_psp.dwSize = sizeof(m_psp);
    // Every page has help so that the sheet keeps the button Reload is made of.
    m_psp.dwFlags = PSP_DEFAULT | PSP_HASHELP;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
    m_psp.pfnDlgProc = &CPropertyPage::DialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

BOOL CPropertyPage::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    if (!bSaveAndValidate)
        ++m_nInitMode;
    DoDataExchange(&dx);
    if (!bSaveAndValidate) {
        --m_nInitMode;
        OnControlsFilled();
    }
    return !dx.Failed();
}

void CPropertyPage::SetModified(BOOL bChanged) {
    if (!m_hWnd)
        return;
    HWND sheet = ::GetParent(m_hWnd);
    ::SendMessageA(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd),
                   0);
}

BOOL CPropertyPage::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnSetActive() {
    // The first activation follows the initialisation, which has already
    // filled the controls.
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

INT_PTR CPropertyPage::OnNotify(NMHDR* pnmh) {
    switch (pnmh->code) {
    case PSN_SETACTIVE:
        return OnSetActive() ? 0 : -1;
    case PSN_KILLACTIVE:
        return OnKillActive() ? FALSE : TRUE;
    case PSN_APPLY:
        // The sheet saves on its own Apply and OK handlers; nothing to do.
        return PSNRET_NOERROR;
    default:
        return 0;
    }
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    CPropertyPage* page;
    if (msg == WM_INITDIALOG) {
        auto* psp = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
        page = reinterpret_cast<CPropertyPage*>(psp->lParam);
        ::SetWindowLongPtrA(hDlg, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->m_hWnd = hDlg;
        page->m_bFirstSetActive = TRUE;
        ++page->m_nInitMode;
        BOOL result = page->OnInitDialog();
        --page->m_nInitMode;
        return result;
    }
    page = reinterpret_cast<CPropertyPage*>(::GetWindowLongPtrA(hDlg, DWLP_USER));
    if (!page)
        return FALSE;

    LRESULT result = 0;
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && page->IsInitMode())
            return TRUE;
        return page->OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        if (!page->OnMessage(msg, wParam, lParam, &result))
            result = page->OnNotify(reinterpret_cast<NMHDR*>(lParam));
        ::SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, result);
        return TRUE;
    case WM_TIMER:
        page->OnTimer(wParam);
        return TRUE;
    case WM_NCDESTROY:
        page->m_hWnd = nullptr;
        ::SetWindowLongPtrA(hDlg, DWLP_USER, 0);
        return FALSE;
    case WM_RELOAD_NOTIFY:
        if (!page->OnMessage(msg, wParam, lParam, &result))
            page->OnReloadNotify();
        ::SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, result);
        return TRUE;
    default:
        if (page->OnMessage(msg, wParam, lParam, &result)) {
            ::SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
}
