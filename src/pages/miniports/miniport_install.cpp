// Installing the miniports when the sheet saves: each file copied into the
// drivers directory when asked, each service (re)created as a disabled
// kernel driver when its registry entry differs from the record.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <vector>

#include "framework/message_box.h"
#include "pages/miniports/zorvik_mini_list.h"
#include "res/resource.h"
#include "sys/service_control.h"

namespace {
const DWORD kRecreatePauseMs = 1000;
// The shell takes the file to copy in a MAX_PATH buffer that also holds the
// list's two terminators.
const int kMaxCopiedPath = MAX_PATH - 2;

// "<name><ext>" of a path: what follows its drive and last directory.
const char* FileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    return name;
}

// A list of one path for the shell: the text and two terminators.
std::vector<char> ShellList(const char* path) {
    std::vector<char> list(path, path + std::strlen(path));
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

// 0, or the shell's error. A file that is already the one in the
// directory is not copied onto itself. An older copy is replaced without
// asking: the user asked for this file, and no question may hold up a save.
int CopyIntoDirectory(const char* file, const CString& directory) {
    char szFull[MAX_PATH];
    DWORD n = ::GetFullPathNameA(file, sizeof(szFull), szFull, nullptr);
    if (n > 0 && n < sizeof(szFull) && lstrcmpiA(szFull, directory + "\\" + FileNameOf(file)) == 0)
        return 0;
    std::vector<char> from = ShellList(file), to = ShellList(directory);
    SHFILEOPSTRUCTA op = {};
    op.hwnd = ::GetDesktopWindow();
    op.wFunc = FO_COPY;
    op.pFrom = from.data();
    op.pTo = to.data();
    op.fFlags = FOF_NOERRORUI | FOF_NOCONFIRMATION;
    // The shell is loaded on first use, which keeps it out of start-up.
    using CopyProc = int(WINAPI*)(SHFILEOPSTRUCTA*);
    HMODULE hShell = ::LoadLibraryA("shell32.dll");
    auto pfnCopy = hShell ? reinterpret_cast<CopyProc>(reinterpret_cast<void (*)()>(
                                ::GetProcAddress(hShell, "SHFileOperationA")))
                          : nullptr;
    if (!pfnCopy)
        return ERROR_DLL_NOT_FOUND;
    int result = pfnCopy(&op);
    if (result == 0 && op.fAnyOperationsAborted)
        result = ERROR_CANCELLED;
    return result;
}
} // namespace

BOOL ZorvikMiniList::InstallMiniports(CServiceControl& services) {
    for (POSITION pos = m_miniports.GetHeadPosition(); pos;)
        InstallMiniport(m_miniports.GetNext(pos), services);
    return TRUE;
}

void ZorvikMiniList::InstallMiniport(const CMiniportRecord& record, CServiceControl& services) {
    const char* name = record.m_strServiceName;
    // The service gets the relative form wherever the file came from.
    CString imagePath = CString("System32\\drivers\\") + FileNameOf(record.m_strFile);

    if (record.m_bCopyFile) {
        if (record.m_strFile.GetLength() > kMaxCopiedPath) {
            AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_PATH_TOO_LONG, name,
                                kMaxCopiedPath);
            return;
        }
        char szSystem[MAX_PATH] = "";
        UINT n = ::GetSystemDirectoryA(szSystem, sizeof(szSystem));
        CString directory = CString(n < sizeof(szSystem) ? szSystem : "") + "\\drivers";
        if (int error = CopyIntoDirectory(record.m_strFile, directory))
            AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_NOT_COPIED,
                                static_cast<const char*>(record.m_strFile), name,
                                static_cast<const char*>(directory), error);
    }

    if (std::strcmp(record.m_strFile, GetServiceImagePath(name)) == 0 &&
        std::strcmp(record.m_strDescription, GetServiceDisplayName(name)) == 0)
        return;
    services.Delete(name);
    ::Sleep(kRecreatePauseMs);
    DWORD error = services.CreateKernelDriver(name, imagePath, record.m_strDescription,
                                              SERVICE_DISABLED, nullptr);
    if (error)
        AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_NOT_INSTALLED, name,
                            static_cast<unsigned long>(error),
                            static_cast<const char*>(GetErrorText(error)));
}
