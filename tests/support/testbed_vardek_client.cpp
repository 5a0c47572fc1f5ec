#include "support/testbed_vardek_client.h"

#include <string>

#include "support/testbed_moravik_client.h"

namespace {

std::string SystemPath(const char* lpszFileName) {
    char szDirectory[MAX_PATH] = {};
    ::GetSystemDirectoryA(szDirectory, MAX_PATH);
    return std::string(szDirectory) + "\\" + lpszFileName;
}

std::string HiddenPath() { return std::string(VardekApiPath()) + ".hidden"; }

bool FileExists(const char* lpszPath) {
    return ::GetFileAttributesA(lpszPath) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

namespace {

bool TakeCountsOnce(TESTBED_VARDEK_COUNTS* pCounts) {
    HANDLE hDevice = ::CreateFileA(TESTBED_VARDEK_TESTBED_PATH, GENERIC_READ | GENERIC_WRITE, 0,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
    if (hDevice == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwReturned = 0;
    BOOL bOk = ::DeviceIoControl(hDevice, TESTBED_VARDEK_IOCTL_TAKE_COUNTS, nullptr, 0, pCounts,
                                 sizeof(*pCounts), &dwReturned, nullptr);
    ::CloseHandle(hDevice);
    return bOk && dwReturned == sizeof(*pCounts);
}

bool IsZero(const TESTBED_VARDEK_COUNTS& counts) {
    return !counts.Opens && !counts.Cleanups && !counts.Closes && !counts.Updates && !counts.Others;
}

} // namespace

bool TakeVardekCounts(TESTBED_VARDEK_COUNTS* pCounts) {
    // CloseHandle returns before Wine has delivered IRP_MJ_CLOSE to the
    // driver; keep collecting until nothing more has come in for a while.
    TESTBED_VARDEK_COUNTS total = {};
    int nQuiet = 0;
    for (int nRound = 0; nRound < 100 && nQuiet < 3; ++nRound) {
        TESTBED_VARDEK_COUNTS counts = {};
        if (!TakeCountsOnce(&counts))
            return false;
        nQuiet = IsZero(counts) ? nQuiet + 1 : 0;
        total.Opens += counts.Opens;
        total.Cleanups += counts.Cleanups;
        total.Closes += counts.Closes;
        total.Updates += counts.Updates;
        total.Others += counts.Others;
        ::Sleep(20);
    }
    *pCounts = total;
    return true;
}

bool IsVardekDriverRunning() {
    return QueryTestbedServiceState(TESTBED_VARDEK_SERVICE) == SERVICE_RUNNING;
}

bool StopVardekDriver() { return StopTestbedService(TESTBED_VARDEK_SERVICE); }

bool StartVardekDriver() { return StartTestbedService(TESTBED_VARDEK_SERVICE); }

const char* VardekApiPath() {
    static const std::string s_path = SystemPath("vardekapi.dll");
    return s_path.c_str();
}

void RestoreHiddenVardekApi() {
    if (!FileExists(VardekApiPath()) && FileExists(HiddenPath().c_str()))
        ::MoveFileA(HiddenPath().c_str(), VardekApiPath());
}

CHiddenVardekApi::CHiddenVardekApi() {
    m_bHidden = ::MoveFileExA(VardekApiPath(), HiddenPath().c_str(), MOVEFILE_REPLACE_EXISTING) &&
                !FileExists(VardekApiPath());
}

CHiddenVardekApi::~CHiddenVardekApi() {
    if (m_bHidden)
        ::MoveFileA(HiddenPath().c_str(), VardekApiPath());
}

CSubstitutedVardekApi::CSubstitutedVardekApi(const char* lpszReplacement) {
    m_bInPlace = m_hidden.IsHidden() &&
                 ::CopyFileA(SystemPath(lpszReplacement).c_str(), VardekApiPath(), TRUE);
}

CSubstitutedVardekApi::~CSubstitutedVardekApi() {
    if (m_bInPlace)
        ::DeleteFileA(VardekApiPath());
}
