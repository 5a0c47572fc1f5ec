#pragma once
// Owners of one Win32 handle each, closed when they go. Each kind knows its
// own invalid value: null for services, modules and kernel objects,
// INVALID_HANDLE_VALUE for files and devices.
#include <windows.h>

template <class Traits> class CHandle {
public:
    using Type = typename Traits::Type;

    CHandle() = default;
    explicit CHandle(Type handle) : m_handle(handle) {}
    ~CHandle() { Close(); }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    // Takes the handle over, closing the one held before.
    void Attach(Type handle) {
        Close();
        m_handle = handle;
    }
    void Close() {
        if (IsValid())
            Traits::Close(m_handle);
        m_handle = Traits::Invalid();
    }
    bool IsValid() const { return m_handle != Traits::Invalid(); }
    operator Type() const { return m_handle; }

private:
    Type m_handle = Traits::Invalid();
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};
// Kernel objects other than files: mutexes, events.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { ::CloseHandle(handle); }
};
struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { ::CloseServiceHandle(handle); }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type handle) { ::FreeLibrary(handle); }
};

using CFileHandle = CHandle<FileHandleTraits>;
using CKernelHandle = CHandle<KernelHandleTraits>;
using CServiceHandle = CHandle<ServiceHandleTraits>;
using CModule = CHandle<ModuleTraits>;

// An entry of a loaded module as the function type it has; null when the
// module or the entry is missing. GetProcAddress hands out a generic
// function pointer: going through void (*)() says the change is meant.
template <typename Proc> Proc GetEntry(HMODULE hModule, const char* lpszName) {
    if (!hModule)
        return nullptr;
    return reinterpret_cast<Proc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(hModule, lpszName)));
}
