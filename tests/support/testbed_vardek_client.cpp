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
} // namespace

bool TakeVardekCounts(TESTBED_VARDEK_COUNTS* pCounts) {
    // CloseHandle returns before Wine has delivered IRP_MJ_CLOSE to the
    // driver; keep collecting until nothing more has come in for a while.
    using Counts = TESTBED_VARDEK_COUNTS;
    *pCounts = {};
    for (int nRound = 0, nQuiet = 0; nRound < 100 && nQuiet < 3; ++nRound, ::Sleep(20)) {
        HANDLE hDevice = ::CreateFileA(TESTBED_VARDEK_TESTBED_PATH, GENERIC_READ | GENERIC_WRITE, 0,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
        Counts c = {};
        DWORD dwReturned = 0;
        BOOL bOk = ::DeviceIoControl(hDevice, TESTBED_VARDEK_IOCTL_TAKE_COUNTS, nullptr, 0, &c,
                                     sizeof(c), &dwReturned, nullptr);
        ::CloseHandle(hDevice);
        if (!bOk || dwReturned != sizeof(c))
            return false;
        ++nQuiet;
        for (ULONG Counts::*field : {&Counts::Opens, &Counts::Cleanups, &Counts::Closes,
                                     &Counts::Updates, &Counts::Others}) {
            pCounts->*field += c.*field;
            nQuiet = c.*field ? 0 : nQuiet;
        }
    }
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
