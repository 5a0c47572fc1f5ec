#pragma once
// The application object: name, profile, start-up.
#include <windows.h>

#include "framework/cstring.h"
#include "framework/wnd.h"

class CWinApp {
public:
    explicit CWinApp(const char* lpszAppName);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Runs the program; FALSE ends the process when it returns.
    virtual BOOL InitInstance() { return FALSE; }

    // Profile entries live under HKCU\Software\<registry key>\<app name>\<section>.
    void SetRegistryKey(const char* lpszRegistryKey);
    UINT GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) const;
    BOOL WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue) const;

    HICON LoadIcon(UINT nIDResource) const;

    const char* m_pszAppName;
    CString m_strRegistryKey;
    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance;

private:
    CString ProfileKeyPath(const char* lpszSection) const;
};

CWinApp* AfxGetApp();
// The module that holds the program's resources.
HINSTANCE AfxGetResourceHandle();
// What the framework does before InitInstance: common controls.
void AfxEnableControlContainer();
int AfxWinMain();
