#pragma once
// Messages to the user. The caption is always the application's name.
#include <windows.h>

#include "framework/cstring.h"

// Shows a string-table message or a literal text; returns the button pressed.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK);
// Shows a string-table text used as a printf format for the arguments.
int AfxFormatMessageBox(UINT nType, UINT nIDFormat, ...);
// The error beep that precedes a validation message.
void AfxMessageBeep(UINT uType);
// The system's text for a Win32 error code, without the trailing line break;
// "Error <code>" when the system has none.
CString GetErrorText(DWORD dwError);

// The one seam for tests: while a responder is set, message boxes are not
// shown but answered by it, and beeps are handed to it.
class CMessageBoxResponder {
public:
    virtual ~CMessageBoxResponder() = default;
    // nIDPrompt is the string-table id of the text or of its format, 0 for a
    // literal text; the text is the one the user would see.
    virtual int Answer(UINT nIDPrompt, const char* text, const char* caption, UINT nType) = 0;
    virtual void Beep(UINT uType) = 0;
};
void AfxSetMessageBoxResponder(CMessageBoxResponder* responder);
