#include "support/testbed_vardek_client.h"

#include <string>

#include "support/test_kit.h"

namespace {

// vardekapi.dll in the system directory, where the DLL search finds it.
std::string ApiPath(const char* lpszSuffix = "") {
    char szDirectory[MAX_PATH] = {};
    ::GetSystemDirectoryA(szDirectory, MAX_PATH);
    return std::string(szDirectory) + "\\vardekapi.dll" + lpszSuffix;
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

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

} // namespace

bool TakeVardekCounts(TESTBED_VARDEK_COUNTS* pCounts) {
    // CloseHandle returns before Wine has delivered IRP_MJ_CLOSE to the
    // driver; keep collecting until nothing more has come in for a while.
    TESTBED_VARDEK_COUNTS total = {};
    int nQuiet = 0;
    for (int nRound = 0; nRound < 100 && nQuiet < 3; ++nRound) {
        TESTBED_VARDEK_COUNTS c = {};
        if (!TakeCountsOnce(&c))
            return false;
        nQuiet = (c.Opens | c.Cleanups | c.Closes | c.Updates | c.Others) ? 0 : nQuiet + 1;
        total.Opens += c.Opens;
        total.Cleanups += c.Cleanups;
        total.Closes += c.Closes;
        total.Updates += c.Updates;
        total.Others += c.Others;
        ::Sleep(20);
    }
    *pCounts = total;
    return true;
}

void RestoreHiddenVardekApi() {
    if (!FileExists(ApiPath()) && FileExists(ApiPath(".hidden")))
        ::MoveFileA(ApiPath(".hidden").c_str(), ApiPath().c_str());
}

// The test kit loads the library afresh, as a start-up with or without it
// would.
CHiddenVardekApi::CHiddenVardekApi() {
    TestKit().m_controller.Unload();
    m_bHidden =
        ::MoveFileExA(ApiPath().c_str(), ApiPath(".hidden").c_str(), MOVEFILE_REPLACE_EXISTING) &&
        !FileExists(ApiPath());
    TestKit().m_controller.Load();
}

CHiddenVardekApi::~CHiddenVardekApi() {
    TestKit().m_controller.Unload();
    if (m_bHidden)
        ::MoveFileA(ApiPath(".hidden").c_str(), ApiPath().c_str());
    TestKit().m_controller.Load();
}
