#include "framework/file_bytes.h"

#include "framework/handle.h"

DWORD ReadFileBytes(const char* lpszPath, std::string* pBytes) {
    CFileHandle file(::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return ::GetLastError();
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file, &size))
        return ::GetLastError();
    if (size.QuadPart > 0x10000000)
        return ERROR_FILE_TOO_LARGE;
    pBytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!pBytes->empty() &&
        !::ReadFile(file, &(*pBytes)[0], static_cast<DWORD>(pBytes->size()), &read, nullptr))
        return ::GetLastError();
    pBytes->resize(read);
    return ERROR_SUCCESS;
}
