#include "sys/controller_library.h"

#include <winternl.h>

#include <cwchar>

namespace {

// The library only promises that a session opens and closes. Its value is
// taken as the controller driver's device handle only when it is one: a
// handle of this process on a file object that is neither a disk file, a
// pipe nor a character device. Any other value (an index, a handle on an
// event or a file) gets no request.
bool IsDeviceHandle(HANDLE hDevice) {
    DWORD dwFlags = 0;
    if (!::GetHandleInformation(hDevice, &dwFlags))
        return false;
    // The type information is followed by its name; 256 bytes hold both.
    alignas(8) unsigned char buffer[256] = {};
    ULONG returned = 0;
    if (!NT_SUCCESS(
            ::NtQueryObject(hDevice, ObjectTypeInformation, buffer, sizeof(buffer), &returned)))
        return false;
    const auto* type = reinterpret_cast<const PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer);
    const wchar_t kFile[] = L"File";
    if (type->TypeName.Length != sizeof(kFile) - sizeof(wchar_t) ||
        wmemcmp(type->TypeName.Buffer, kFile, 4) != 0)
        return false;
    DWORD fileType = ::GetFileType(hDevice);
    return fileType != FILE_TYPE_DISK && fileType != FILE_TYPE_PIPE && fileType != FILE_TYPE_CHAR;
}

} // namespace

void CVardekLibrary::Load() {
    m_hModule.Attach(::LoadLibraryA("vardekapi.dll"));
    m_pfnOpenSession = GetEntry<OpenSessionProc>(m_hModule, "VardekOpenSession");
    m_pfnCloseSession = GetEntry<CloseSessionProc>(m_hModule, "VardekCloseSession");
}

void CVardekLibrary::Unload() {
    m_pfnOpenSession = nullptr;
    m_pfnCloseSession = nullptr;
    m_hModule.Close();
}

BOOL CVardekLibrary::OpenSession(uint32_t* pdwSession) const {
    return m_pfnOpenSession && m_pfnCloseSession && m_pfnOpenSession(pdwSession) == 0;
}

BOOL CVardekLibrary::IsAvailable() const {
    uint32_t dwSession = 0;
    if (!OpenSession(&dwSession))
        return FALSE;
    m_pfnCloseSession(dwSession);
    return TRUE;
}

BOOL CVardekLibrary::SendUpdateParameters() {
    if (!OpenSession(&m_dwSession)) {
        m_dwSession = 0;
        return FALSE;
    }
    // Handle values fit in 32 bits and are sign-extended back to a HANDLE.
    HANDLE hDevice =
        reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(static_cast<int32_t>(m_dwSession)));
    DWORD dwReturned = 0;
    BOOL bSent =
        IsDeviceHandle(hDevice) && ::DeviceIoControl(hDevice, IOCTL_VARDEK_UPDATE_PARAMETERS,
                                                     nullptr, 0, nullptr, 0, &dwReturned, nullptr);
    m_pfnCloseSession(m_dwSession);
    m_dwSession = 0;
    return bSent;
}
