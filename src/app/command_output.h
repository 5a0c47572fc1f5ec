#pragma once
// Where the command line writes: a file or pipe its caller redirected the
// output to, else the console of the parent (a program built for windows has
// none of its own), else the standard handles it was given. Text is in the
// ANSI code page; a console is written in UTF-16, so that it shows the
// characters whatever its own code page.
#include <windows.h>

#include "framework/cstring.h"

class CCommandOutput {
public:
    CCommandOutput();
    ~CCommandOutput();
    CCommandOutput(const CCommandOutput&) = delete;
    CCommandOutput& operator=(const CCommandOutput&) = delete;

    // One or more lines each; a line break ends the text.
    void Out(const CString& text) { Write(m_hOut, text); }
    void Err(const CString& text) { Write(m_hErr, text); }

private:
    static void Write(HANDLE hTarget, const CString& text);

    HANDLE m_hOut;
    HANDLE m_hErr;
    HANDLE m_hConsole = INVALID_HANDLE_VALUE;
};
