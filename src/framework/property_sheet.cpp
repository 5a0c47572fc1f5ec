#include "framework/property_sheet.h"

#include "framework/app.h"

namespace {
// The sheet that is being created on this thread; comctl32's callback
// carries no pointer of its own.
thread_local CPropertySheet* t_pCreating = nullptr;
const char kSheetProp[] = "CPropertySheet";
} // namespace

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : m_psh() {
    m_strCaption.LoadString(nIDCaption);
    m_psh.dwSize = sizeof(m_psh);
    // Help is on so that the sheet has the fourth button, which the
    // application's sheet turns into Reload.
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP;
    m_psh.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.nStartPage = iSelectPage;
    m_psh.pfnCallback = &CPropertySheet::SheetCallback;
}

CPropertySheet::~CPropertySheet() {
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

void CPropertySheet::AddPage(CPropertyPage* pPage) { m_pages.push_back(pPage); }

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const {
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == pPage)
            return static_cast<int>(i);
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    if (!m_hWnd)
        return m_pages.empty() ? nullptr : m_pages[m_psh.nStartPage];
    HWND hPage = PropSheet_GetCurrentPageHwnd(m_hWnd);
    for (CPropertyPage* page : m_pages)
        if (page->m_hWnd && page->m_hWnd == hPage)
            return page;
    return nullptr;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

INT_PTR CPropertySheet::Run(bool modeless, CWnd* pParentWnd) {
    m_pageData.clear();
    for (CPropertyPage* page : m_pages)
        m_pageData.push_back(page->m_psp);
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = static_cast<UINT>(m_pageData.size());
    m_psh.ppsp = m_pageData.data();
    if (pParentWnd)
        m_psh.hwndParent = pParentWnd->m_hWnd;
    if (modeless)
        m_psh.dwFlags |= PSH_MODELESS;
    else
        m_psh.dwFlags &= ~PSH_MODELESS;
    m_nEndResult = 0;
    t_pCreating = this;
    INT_PTR result = ::PropertySheetA(&m_psh);
    t_pCreating = nullptr;
    return result;
}

INT_PTR CPropertySheet::DoModal() {
    INT_PTR result = Run(false, nullptr);
    m_hWnd = nullptr;
    if (m_nEndResult)
        return m_nEndResult;
    // comctl32 answers a positive number after OK, 0 after Cancel.
    m_nEndResult = result > 0 ? IDOK : IDCANCEL;
    return m_nEndResult;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd) { return Run(true, pParentWnd) > 0; }

void CPropertySheet::EndDialog(int nEndID) {
    m_nEndResult = nEndID;
    // comctl32's Cancel ends its loop without asking the pages to validate
    // or apply anything; DoModal reports the result kept here.
    SendMessage(PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

LRESULT CPropertySheet::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(msg, wParam, lParam);
}

LRESULT CPropertySheet::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && t_pCreating) {
        CPropertySheet* sheet = t_pCreating;
        sheet->m_hWnd = hWnd;
        ::SetPropA(hWnd, kSheetProp, sheet);
        sheet->m_pfnSuper = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPropertySheet::SubclassProc)));
        sheet->OnInitDialog();
    }
    return 0;
}

LRESULT CALLBACK CPropertySheet::SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* sheet = static_cast<CPropertySheet*>(::GetPropA(hWnd, kSheetProp));
    if (msg == WM_NCDESTROY) {
        WNDPROC super = sheet->m_pfnSuper;
        ::RemovePropA(hWnd, kSheetProp);
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
        sheet->m_hWnd = nullptr;
        return ::CallWindowProcA(super, hWnd, msg, wParam, lParam);
    }
    return sheet->WindowProc(msg, wParam, lParam);
}
