#pragma once
// Dialog data exchange between a page's members and its controls. An
// exchange that fails (a field that is not a number) has told the user and
// put the focus back on the field; every later exchange of the same pass does
// nothing, so the members after the failing field keep their values.
#include <windows.h>

#include <cstdint>

#include "framework/cstring.h"
#include "framework/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    HWND PrepareCtrl(int nIDC) {
        m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
        return m_hWndLastControl;
    }
    // Puts the focus back on the control that failed and ends the pass.
    void Fail();
    bool Failed() const { return m_bFailed; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
    bool m_bFailed = false;
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, uint32_t& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of the group; value is the index of the
// checked one, -1 when none is.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);

// Reads an unsigned decimal number as the exchange does: optional blanks
// around it, digits only, at most 4294967295; value is left alone otherwise.
bool ParseUnsignedDecimal(const char* text, uint32_t& value);
