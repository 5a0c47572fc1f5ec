#pragma once
// A one-line edit that drops every printable character outside a set its
// owner fills, typed or pasted, so that a field of slot paths holds only
// hexadecimal digits and separators.
#include "framework/controls.h"
#include "framework/data_exchange.h"

class CHexEdit : public CEdit {
public:
    CHexEdit() = default;
    ~CHexEdit() override;
    CHexEdit(const CHexEdit&) = delete;
    CHexEdit& operator=(const CHexEdit&) = delete;

    // Takes the messages of the dialog's edit before the edit itself does.
    void SubclassWindow(HWND hWnd);

    // The accepted characters; empty until the owner fills it, before the
    // control can receive input.
    char m_szValidChars[512] = "";

private:
    // WM_CHAR: FALSE drops the character (silently, whatever its repeat
    // count); TRUE passes it on to the edit.
    BOOL OnChar(UINT nChar) const;
    // WM_PASTE: the clipboard text goes in without the characters that
    // typing would drop, nor line breaks and other control characters.
    void OnPaste() const;
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
};

// Binds the edit of the dialog to the control and subclasses it once.
void DDX_Control(CDataExchange* pDX, int nIDC, CHexEdit& rControl);
