#include "framework/app.h"

#include <commctrl.h>

#include "framework/registry_key.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp(const char* lpszAppName)
    : m_pszAppName(lpszAppName), m_hInstance(::GetModuleHandleA(nullptr)) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleA(nullptr); }

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) { m_strRegistryKey = lpszRegistryKey; }

CString CWinApp::ProfileKeyPath(const char* lpszSection) const {
    CString path;
    path.Format("Software\\%s\\%s\\%s", static_cast<const char*>(m_strRegistryKey), m_pszAppName,
                lpszSection);
    return path;
}

UINT CWinApp::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) const {
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, ProfileKeyPath(lpszSection), KEY_READ) != ERROR_SUCCESS)
        return static_cast<UINT>(nDefault);
    DWORD value = 0, type = 0, size = sizeof(value);
    if (::RegQueryValueExA(key, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return static_cast<UINT>(nDefault);
    return value;
}

BOOL CWinApp::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue) const {
    CRegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, ProfileKeyPath(lpszSection)) != ERROR_SUCCESS)
        return FALSE;
    DWORD value = static_cast<DWORD>(nValue);
    return ::RegSetValueExA(key, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

void AfxEnableControlContainer() {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    AfxEnableControlContainer();
    // A program built as one modal sheet does all its work in InitInstance.
    app->InitInstance();
    return 0;
}
