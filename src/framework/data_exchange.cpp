#include "framework/data_exchange.h"

#include <cctype>
#include <cstdio>

#include "framework/message_box.h"
#include "framework/number_text.h"
#include "res/resource.h"

namespace {
void SkipBlanks(const char*& p) {
    while (*p == ' ' || *p == '\t')
        ++p;
}

// Sets a control's text only when it differs, so that an exchange towards
// the controls does not raise change notifications for nothing.
void SetTextIfChanged(HWND hWnd, const char* text) {
    char current[256];
    int n = ::GetWindowTextLengthA(hWnd);
    if (n < static_cast<int>(sizeof(current))) {
        ::GetWindowTextA(hWnd, current, sizeof(current));
        if (lstrcmpA(current, text) == 0)
            return;
    }
    ::SetWindowTextA(hWnd, text);
}
} // namespace

bool ParseUnsignedDecimal(const char* text, uint32_t& value) {
    const char* p = text;
    SkipBlanks(p);
    // Digits only: no sign.
    CNumberText number;
    if (!std::isdigit(static_cast<unsigned char>(*p)) || !ReadNumber(&p, 10, &number) ||
        number.Overflows())
        return false;
    SkipBlanks(p);
    if (*p)
        return false;
    value = static_cast<uint32_t>(number.nMagnitude);
    return true;
}

void CDataExchange::Fail() {
    m_bFailed = true;
    if (m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->Failed())
        return;
    if (!rControl.m_hWnd)
        rControl.Attach(pDX->PrepareCtrl(nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = GetWindowTextOf(hWnd);
    else
        SetTextIfChanged(hWnd, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, uint32_t& value) {
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        uint32_t parsed = 0;
        if (!ParseUnsignedDecimal(GetWindowTextOf(hWnd), parsed)) {
            AfxMessageBox(AFX_IDP_PARSE_UINT);
            pDX->Fail();
            return;
        }
        value = parsed;
    } else {
        char text[16];
        std::snprintf(text, sizeof(text), "%lu", static_cast<unsigned long>(value));
        SetTextIfChanged(hWnd, text);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(hWnd, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(hWnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->Failed())
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control that starts
    // a group of its own.
    int index = 0;
    do {
        if (::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            } else {
                ::SendMessageA(hWnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd && !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP));
}
