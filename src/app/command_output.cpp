#include "app/command_output.h"

#include <string>

namespace {
// A handle the caller redirected to a file or a pipe; a console or nothing
// at all is not one.
bool IsRedirected(HANDLE hHandle) {
    if (hHandle == nullptr || hHandle == INVALID_HANDLE_VALUE)
        return false;
    DWORD type = ::GetFileType(hHandle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}
} // namespace

CCommandOutput::CCommandOutput()
    : m_hOut(::GetStdHandle(STD_OUTPUT_HANDLE)), m_hErr(::GetStdHandle(STD_ERROR_HANDLE)) {
    if (IsRedirected(m_hOut) && IsRedirected(m_hErr))
        return;
    if (!::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    m_hConsole =
        ::CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (m_hConsole == INVALID_HANDLE_VALUE)
        return;
    if (!IsRedirected(m_hOut))
        m_hOut = m_hConsole;
    if (!IsRedirected(m_hErr))
        m_hErr = m_hConsole;
}

CCommandOutput::~CCommandOutput() {
    if (m_hConsole != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hConsole);
}

void CCommandOutput::Write(HANDLE hTarget, const CString& text) {
    if (hTarget == nullptr || hTarget == INVALID_HANDLE_VALUE || text.IsEmpty())
        return;
    DWORD mode = 0, written = 0;
    if (::GetConsoleMode(hTarget, &mode)) {
        int length = ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), nullptr, 0);
        std::wstring wide(static_cast<size_t>(length), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), &wide[0], length);
        ::WriteConsoleW(hTarget, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    // Files and pipes get the line ends of Windows text files.
    std::string lines;
    for (char ch : text.str()) {
        if (ch == '\n' && (lines.empty() || lines.back() != '\r'))
            lines += '\r';
        lines += ch;
    }
    ::WriteFile(hTarget, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}
