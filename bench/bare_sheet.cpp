// The smallest comctl32 property sheet: one empty page, no data, no
// drivers. The utility's start-up is measured against it.
#include <windows.h>
#include <commctrl.h>

namespace {
INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// An empty page template built in memory, so the program needs no resources.
struct PageTemplate {
    DLGTEMPLATE dlg;
    WORD menu, windowClass, title;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    static PageTemplate page = {
        {WS_CHILD | WS_DISABLED | WS_CAPTION, 0, 0, 0, 0, 305, 215}, 0, 0, 0};
    PROPSHEETPAGEA psp = {};
    psp.dwSize = sizeof(psp);
    psp.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    psp.hInstance = instance;
    psp.pResource = &page.dlg;
    psp.pszTitle = "Page";
    psp.pfnDlgProc = PageProc;
    PROPSHEETHEADERA psh = {};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = PSH_PROPSHEETPAGE | PSH_HASHELP;
    psh.hInstance = instance;
    psh.pszCaption = "Bare Property Sheet";
    psh.nPages = 1;
    psh.ppsp = &psp;
    ::PropertySheetA(&psh);
    return 0;
}
