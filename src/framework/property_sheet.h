#pragma once
// A property sheet run through comctl32. The sheet window is subclassed so
// that the derived sheet sees its messages first (WindowProc) and passes on
// what it does not handle (DefWindowProc).
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/cstring.h"
#include "framework/property_page.h"
#include "framework/wnd.h"

#ifndef ID_APPLY_NOW
#define ID_APPLY_NOW 0x3021
#endif

class CPropertySheet : public CWnd {
public:
    CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const { return m_pages[static_cast<size_t>(nPage)]; }
    int GetPageIndex(const CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

    // Runs the sheet modally; IDOK or IDCANCEL.
    virtual INT_PTR DoModal();
    // Creates the sheet without a modal loop of its own (the caller pumps
    // messages and destroys it with DestroyWindow).
    BOOL Create(CWnd* pParentWnd = nullptr);
    // Closes the sheet with the given result, without asking the pages.
    void EndDialog(int nEndID);
    // The result that ended the sheet; 0 while it runs.
    int GetEndResult() const { return m_nEndResult; }

    PROPSHEETHEADERA m_psh;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Run(bool modeless, CWnd* pParentWnd);

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_pageData;
    WNDPROC m_pfnSuper = nullptr;
    int m_nEndResult = 0;
};
