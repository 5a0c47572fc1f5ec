#include "sys/driver_files.h"

#include <shellapi.h>

#include <cstring>
#include <vector>

#include "framework/handle.h"

CString DriversDirectory() {
    char szSystem[MAX_PATH] = "";
    UINT n = ::GetSystemDirectoryA(szSystem, sizeof(szSystem));
    return CString(n < sizeof(szSystem) ? szSystem : "") + "\\drivers";
}

const char* FileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    return name;
}

namespace {
// A list of one path for the shell: the text and two terminators.
std::vector<char> ShellList(const char* path) {
    std::vector<char> list(path, path + std::strlen(path));
    list.push_back('\0');
    list.push_back('\0');
    return list;
}

CString FullPath(const char* path) {
    char szFull[MAX_PATH];
    DWORD n = ::GetFullPathNameA(path, sizeof(szFull), szFull, nullptr);
    return n > 0 && n < sizeof(szFull) ? CString(szFull) : CString(path);
}

CFileHandle OpenForReading(const char* path) {
    return CFileHandle(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Whether the two open files hold the same bytes; false when either read fails.
bool SameBytes(HANDLE a, HANDLE b, bool* pbReadable) {
    *pbReadable = true;
    LARGE_INTEGER sizeA, sizeB;
    if (!::GetFileSizeEx(a, &sizeA) || !::GetFileSizeEx(b, &sizeB)) {
        *pbReadable = false;
        return false;
    }
    if (sizeA.QuadPart != sizeB.QuadPart)
        return false;
    std::vector<char> bufferA(65536), bufferB(65536);
    for (;;) {
        DWORD readA = 0, readB = 0;
        if (!::ReadFile(a, bufferA.data(), static_cast<DWORD>(bufferA.size()), &readA, nullptr) ||
            !::ReadFile(b, bufferB.data(), static_cast<DWORD>(bufferB.size()), &readB, nullptr)) {
            *pbReadable = false;
            return false;
        }
        if (readA != readB || std::memcmp(bufferA.data(), bufferB.data(), readA) != 0)
            return false;
        if (readA == 0)
            return true;
    }
}
} // namespace

FileCopyCheck CheckFileCopy(const char* file, const CString& directory) {
    CString target = directory + "\\" + FileNameOf(file);
    if (lstrcmpiA(FullPath(file), target) == 0)
        return FileCopyCheck::SameFile;
    if (::GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES)
        return FileCopyCheck::Missing;
    CFileHandle source = OpenForReading(file), existing = OpenForReading(target);
    if (!source.IsValid() || !existing.IsValid())
        return FileCopyCheck::Unreadable;
    bool bReadable = true;
    bool bSame = SameBytes(source, existing, &bReadable);
    if (!bReadable)
        return FileCopyCheck::Unreadable;
    return bSame ? FileCopyCheck::Identical : FileCopyCheck::Different;
}

int CopyFileInto(const char* file, const CString& directory) {
    std::vector<char> from = ShellList(file), to = ShellList(directory);
    SHFILEOPSTRUCTA op = {};
    op.hwnd = ::GetDesktopWindow();
    op.wFunc = FO_COPY;
    op.pFrom = from.data();
    op.pTo = to.data();
    op.fFlags = FOF_NOERRORUI | FOF_NOCONFIRMATION;
    // The shell is loaded on first use, which keeps it out of start-up, and
    // kept until the program ends, since it may leave threads of its own.
    using CopyProc = int(WINAPI*)(SHFILEOPSTRUCTA*);
    static CModule shell(::LoadLibraryA("shell32.dll"));
    auto pfnCopy = GetEntry<CopyProc>(shell, "SHFileOperationA");
    if (!pfnCopy)
        return ERROR_DLL_NOT_FOUND;
    int result = pfnCopy(&op);
    if (result == 0 && op.fAnyOperationsAborted)
        result = ERROR_CANCELLED;
    return result;
}
