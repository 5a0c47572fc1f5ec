#include "sys/service_control.h"

#include <gtest/gtest.h>

#include <string>

#include "support/testbed_moravik_client.h"

namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;
const char kNoSuchService[] = "MirandelNoSuchService";

// A service name no other test process uses.
std::string UniqueName(const char* lpszStem) {
    return std::string(lpszStem) + std::to_string(::GetCurrentProcessId());
}

// A service key made directly in the registry (no service behind it), for
// the two readers; removed with everything under it when the test ends.
class CScratchServiceKey {
public:
    explicit CScratchServiceKey(const std::string& name)
        : m_path("SYSTEM\\CurrentControlSet\\Services\\" + name) {
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                          nullptr, &m_hKey, nullptr);
    }
    ~CScratchServiceKey() {
        if (m_hKey)
            ::RegCloseKey(m_hKey);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_path.c_str());
    }
    CScratchServiceKey(const CScratchServiceKey&) = delete;
    CScratchServiceKey& operator=(const CScratchServiceKey&) = delete;

    bool IsOpen() const { return m_hKey != nullptr; }
    void SetText(const char* lpszName, const std::string& text, DWORD dwType = REG_SZ) {
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(m_hKey, lpszName, 0, dwType,
                                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                                  static_cast<DWORD>(text.size() + 1)));
    }
    void SetBytes(const char* lpszName, const std::string& bytes) {
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(m_hKey, lpszName, 0, REG_BINARY,
                                                  reinterpret_cast<const BYTE*>(bytes.data()),
                                                  static_cast<DWORD>(bytes.size())));
    }

private:
    std::string m_path;
    HKEY m_hKey = nullptr;
};

// Deletes a service the test created, whatever the test's outcome.
class CServiceRemover {
public:
    explicit CServiceRemover(const std::string& name) : m_name(name) {}
    ~CServiceRemover() {
        SC_HANDLE hManager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
        SC_HANDLE hService = hManager ? ::OpenServiceA(hManager, m_name.c_str(), DELETE) : nullptr;
        if (hService) {
            ::DeleteService(hService);
            ::CloseServiceHandle(hService);
        }
        if (hManager)
            ::CloseServiceHandle(hManager);
    }
    CServiceRemover(const CServiceRemover&) = delete;
    CServiceRemover& operator=(const CServiceRemover&) = delete;

private:
    std::string m_name;
};

struct ServiceConfig {
    DWORD dwServiceType = 0;
    DWORD dwStartType = 0;
    DWORD dwErrorControl = 0;
    std::string binaryPath;
    std::string loadOrderGroup;
    std::string displayName;
};

bool ReadServiceConfig(const std::string& name, ServiceConfig* pConfig) {
    SC_HANDLE hManager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE hService =
        hManager ? ::OpenServiceA(hManager, name.c_str(), SERVICE_QUERY_CONFIG) : nullptr;
    union {
        QUERY_SERVICE_CONFIGA config;
        BYTE bytes[8192];
    } buffer;
    DWORD dwNeeded = 0;
    bool bOk = hService &&
               ::QueryServiceConfigA(hService, &buffer.config, sizeof(buffer.bytes), &dwNeeded);
    if (bOk) {
        const QUERY_SERVICE_CONFIGA& config = buffer.config;
        pConfig->dwServiceType = config.dwServiceType;
        pConfig->dwStartType = config.dwStartType;
        pConfig->dwErrorControl = config.dwErrorControl;
        pConfig->binaryPath = config.lpBinaryPathName ? config.lpBinaryPathName : "";
        pConfig->loadOrderGroup = config.lpLoadOrderGroup ? config.lpLoadOrderGroup : "";
        pConfig->displayName = config.lpDisplayName ? config.lpDisplayName : "";
    }
    if (hService)
        ::CloseServiceHandle(hService);
    if (hManager)
        ::CloseServiceHandle(hManager);
    return bOk;
}

class ServiceControlTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, m_control.Open(nullptr)); }

    // moravik running, as the testbed installs it; put back as found.
    void RequireRunningMoravik() {
        ASSERT_NE(0u, QueryTestbedServiceState(TESTBED_MORAVIK_SERVICE))
            << "the testbed's moravik service is not installed";
        ASSERT_TRUE(StartTestbedService(TESTBED_MORAVIK_SERVICE));
    }

    CMoravikStateKeeper m_moravikKeeper;
    CServiceControl m_control;
};

TEST_F(ServiceControlTest, OpenClearsTheLastError) {
    CServiceControl control;
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, control.Open(nullptr));
    EXPECT_EQ(0u, ::GetLastError());
    EXPECT_TRUE(control.Exists(TESTBED_MORAVIK_SERVICE));
}

TEST_F(ServiceControlTest, OpenAgainKeepsAWorkingConnection) {
    EXPECT_EQ(0u, m_control.Open(nullptr));
    EXPECT_TRUE(m_control.Exists(TESTBED_MORAVIK_SERVICE));
}

TEST_F(ServiceControlTest, ExistsOnlyForInstalledServices) {
    EXPECT_TRUE(m_control.Exists(TESTBED_MORAVIK_SERVICE));
    EXPECT_FALSE(m_control.Exists(kNoSuchService));
}

TEST_F(ServiceControlTest, ClosedConnectionFindsNothing) {
    EXPECT_EQ(0u, m_control.Close());
    EXPECT_FALSE(m_control.Exists(TESTBED_MORAVIK_SERVICE));
    EXPECT_EQ(0u, m_control.Close()); // closing twice is harmless
    EXPECT_FALSE(m_control.Exists(TESTBED_MORAVIK_SERVICE));
}

TEST_F(ServiceControlTest, NeverOpenedConnectionFindsNothing) {
    CServiceControl control;
    EXPECT_FALSE(control.Exists(TESTBED_MORAVIK_SERVICE));
}

TEST_F(ServiceControlTest, OperationsOnAClosedConnectionFail) {
    m_control.Close();
    DWORD dwState = kUntouched;
    DWORD dwError = m_control.QueryState(TESTBED_MORAVIK_SERVICE, &dwState);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), dwError);
    EXPECT_EQ(dwError, ::GetLastError());
    EXPECT_EQ(kUntouched, dwState);
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), m_control.Start(TESTBED_MORAVIK_SERVICE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), m_control.Stop(TESTBED_MORAVIK_SERVICE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE),
              m_control.CreateKernelDriver(UniqueName("MirandelClosed").c_str(),
                                           "System32\\drivers\\x.sys", "x", SERVICE_DISABLED,
                                           nullptr));
}

TEST_F(ServiceControlTest, UnknownServiceLeavesTheStateAlone) {
    DWORD dwState = kUntouched;
    ::SetLastError(0);
    DWORD dwError = m_control.QueryState(kNoSuchService, &dwState);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), dwError);
    EXPECT_EQ(dwError, ::GetLastError());
    EXPECT_EQ(kUntouched, dwState);
}

TEST_F(ServiceControlTest, UnknownServiceCannotBeStartedStoppedOrDeleted) {
    for (DWORD dwError : {m_control.Start(kNoSuchService), m_control.Stop(kNoSuchService),
                          m_control.Delete(kNoSuchService)})
        EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), dwError);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), ::GetLastError());
}

TEST_F(ServiceControlTest, QueryStateReportsTheRunningService) {
    RequireRunningMoravik();
    DWORD dwState = kUntouched;
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, m_control.QueryState(TESTBED_MORAVIK_SERVICE, &dwState));
    EXPECT_EQ(0u, ::GetLastError());
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), dwState);
}

TEST_F(ServiceControlTest, StopAndStartReallyRestartTheService) {
    RequireRunningMoravik();
    DWORD dwStarts = ReadMoravikStartCount();

    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, m_control.Stop(TESTBED_MORAVIK_SERVICE));
    EXPECT_EQ(0u, ::GetLastError());
    ASSERT_TRUE(WaitForTestbedServiceState(TESTBED_MORAVIK_SERVICE, SERVICE_STOPPED));
    DWORD dwState = kUntouched;
    EXPECT_EQ(0u, m_control.QueryState(TESTBED_MORAVIK_SERVICE, &dwState));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), dwState);
    EXPECT_EQ(dwStarts, ReadMoravikStartCount());

    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, m_control.Start(TESTBED_MORAVIK_SERVICE));
    EXPECT_EQ(0u, ::GetLastError());
    ASSERT_TRUE(WaitForTestbedServiceState(TESTBED_MORAVIK_SERVICE, SERVICE_RUNNING));
    EXPECT_EQ(0u, m_control.QueryState(TESTBED_MORAVIK_SERVICE, &dwState));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_RUNNING), dwState);
    EXPECT_EQ(dwStarts + 1, ReadMoravikStartCount());
}

TEST_F(ServiceControlTest, RestartedServiceReadsItsParametersAgain) {
    RequireRunningMoravik();
    HKEY hKey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_PARAMETERS_KEY, 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &hKey, nullptr));
    DWORD dwSaved = 0;
    DWORD dwSize = sizeof(dwSaved);
    bool bHadValue =
        ::RegQueryValueExA(hKey, "Timeout", nullptr, nullptr, reinterpret_cast<BYTE*>(&dwSaved),
                           &dwSize) == ERROR_SUCCESS;
    DWORD dwTimeout = 4321;
    ::RegSetValueExA(hKey, "Timeout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwTimeout),
                     sizeof(dwTimeout));

    EXPECT_EQ(0u, m_control.Stop(TESTBED_MORAVIK_SERVICE));
    EXPECT_TRUE(WaitForTestbedServiceState(TESTBED_MORAVIK_SERVICE, SERVICE_STOPPED));
    EXPECT_EQ(0u, m_control.Start(TESTBED_MORAVIK_SERVICE));
    EXPECT_TRUE(WaitForTestbedServiceState(TESTBED_MORAVIK_SERVICE, SERVICE_RUNNING));
    DWORD dwRecorded = 0;
    EXPECT_TRUE(ReadMoravikRecordedParameter("Timeout", &dwRecorded));
    EXPECT_EQ(dwTimeout, dwRecorded);

    if (bHadValue)
        ::RegSetValueExA(hKey, "Timeout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwSaved),
                         sizeof(dwSaved));
    else
        ::RegDeleteValueA(hKey, "Timeout");
    ::RegCloseKey(hKey);
}

TEST_F(ServiceControlTest, StartOfARunningServiceFails) {
    RequireRunningMoravik();
    DWORD dwError = m_control.Start(TESTBED_MORAVIK_SERVICE);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_ALREADY_RUNNING), dwError);
    EXPECT_EQ(dwError, ::GetLastError());
}

TEST_F(ServiceControlTest, StopOfAStoppedServiceFails) {
    RequireRunningMoravik();
    ASSERT_TRUE(StopTestbedService(TESTBED_MORAVIK_SERVICE));
    DWORD dwError = m_control.Stop(TESTBED_MORAVIK_SERVICE);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE), dwError);
    EXPECT_EQ(dwError, ::GetLastError());
}

TEST_F(ServiceControlTest, CreateKernelDriverInstallsWhatItIsGiven) {
    std::string name = UniqueName("MirandelTestDriver");
    CServiceRemover remover(name);
    ::SetLastError(ERROR_ACCESS_DENIED);
    ASSERT_EQ(0u, m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\mtd.sys",
                                               "Mirandel test driver", SERVICE_DISABLED, nullptr));
    EXPECT_EQ(0u, ::GetLastError());
    EXPECT_TRUE(m_control.Exists(name.c_str()));

    ServiceConfig config;
    ASSERT_TRUE(ReadServiceConfig(name, &config));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_KERNEL_DRIVER), config.dwServiceType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DISABLED), config.dwStartType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_ERROR_NORMAL), config.dwErrorControl);
    EXPECT_EQ("System32\\drivers\\mtd.sys", config.binaryPath);
    EXPECT_EQ("", config.loadOrderGroup);
    EXPECT_STREQ("System32\\drivers\\mtd.sys", GetServiceImagePath(name.c_str()));
    EXPECT_STREQ("Mirandel test driver", GetServiceDisplayName(name.c_str()));

    DWORD dwState = kUntouched;
    EXPECT_EQ(0u, m_control.QueryState(name.c_str(), &dwState));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_STOPPED), dwState);
}

TEST_F(ServiceControlTest, CreateServicePassesTypeStartTypeAndGroup) {
    std::string name = UniqueName("MirandelTestService");
    CServiceRemover remover(name);
    ASSERT_EQ(0u, m_control.CreateService(name.c_str(), "C:\\windows\\system32\\mts.exe",
                                          "Mirandel test service", SERVICE_DEMAND_START,
                                          SERVICE_WIN32_OWN_PROCESS, "Extended Base"));
    ServiceConfig config;
    ASSERT_TRUE(ReadServiceConfig(name, &config));
    EXPECT_EQ(static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS), config.dwServiceType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), config.dwStartType);
    EXPECT_EQ("Extended Base", config.loadOrderGroup);
    EXPECT_EQ("Mirandel test service", config.displayName);
}

TEST_F(ServiceControlTest, CreatingAnExistingServiceFails) {
    std::string name = UniqueName("MirandelTestTwice");
    CServiceRemover remover(name);
    ASSERT_EQ(0u, m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\a.sys", "First",
                                               SERVICE_DISABLED, nullptr));
    DWORD dwError = m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\b.sys", "Second",
                                                 SERVICE_DISABLED, nullptr);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_EXISTS), dwError);
    EXPECT_EQ(dwError, ::GetLastError());
    // The first one stays as it was.
    EXPECT_STREQ("System32\\drivers\\a.sys", GetServiceImagePath(name.c_str()));
    EXPECT_STREQ("First", GetServiceDisplayName(name.c_str()));
}

TEST_F(ServiceControlTest, DeleteRemovesTheService) {
    std::string name = UniqueName("MirandelTestDelete");
    CServiceRemover remover(name);
    ASSERT_EQ(0u, m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\d.sys", "D",
                                               SERVICE_DISABLED, nullptr));
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, m_control.Delete(name.c_str()));
    EXPECT_EQ(0u, ::GetLastError());
    EXPECT_FALSE(m_control.Exists(name.c_str()));
    EXPECT_STREQ("", GetServiceImagePath(name.c_str()));
    EXPECT_NE(0u, m_control.Delete(name.c_str()));
}

TEST(ServiceRegistryTest, UnknownServiceHasNoImagePathOrDisplayName) {
    EXPECT_STREQ("", GetServiceImagePath(kNoSuchService));
    EXPECT_STREQ("", GetServiceDisplayName(kNoSuchService));
}

TEST(ServiceRegistryTest, MissingValuesGiveEmptyTexts) {
    std::string withValues = UniqueName("MirandelKeyFull");
    std::string withoutValues = UniqueName("MirandelKeyBare");
    CScratchServiceKey full(withValues);
    CScratchServiceKey bare(withoutValues);
    ASSERT_TRUE(full.IsOpen());
    ASSERT_TRUE(bare.IsOpen());
    full.SetText("ImagePath", "System32\\drivers\\full.sys");
    full.SetText("DisplayName", "Full");
    // A read that finds nothing must not hand back what the last one found.
    EXPECT_STREQ("System32\\drivers\\full.sys", GetServiceImagePath(withValues.c_str()));
    EXPECT_STREQ("", GetServiceImagePath(withoutValues.c_str()));
    EXPECT_STREQ("Full", GetServiceDisplayName(withValues.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(withoutValues.c_str()));
}

TEST(ServiceRegistryTest, ExpandableImagePathIsReturnedUnexpanded) {
    std::string name = UniqueName("MirandelKeyExpand");
    CScratchServiceKey key(name);
    ASSERT_TRUE(key.IsOpen());
    key.SetText("ImagePath", "%SystemRoot%\\System32\\drivers\\e.sys", REG_EXPAND_SZ);
    EXPECT_STREQ("%SystemRoot%\\System32\\drivers\\e.sys", GetServiceImagePath(name.c_str()));
}

TEST(ServiceRegistryTest, EachReaderReusesItsOwnBuffer) {
    std::string first = UniqueName("MirandelKeyFirst");
    std::string second = UniqueName("MirandelKeySecond");
    CScratchServiceKey firstKey(first);
    CScratchServiceKey secondKey(second);
    ASSERT_TRUE(firstKey.IsOpen());
    ASSERT_TRUE(secondKey.IsOpen());
    firstKey.SetText("DisplayName", "A rather longer first display name");
    firstKey.SetText("ImagePath", "first.sys");
    secondKey.SetText("DisplayName", "Second");

    const char* pFirst = GetServiceDisplayName(first.c_str());
    const char* pSecond = GetServiceDisplayName(second.c_str());
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_STREQ("Second", pFirst); // no tail of the longer first name
    // The image path has a buffer of its own.
    const char* pImage = GetServiceImagePath(first.c_str());
    EXPECT_NE(pImage, pSecond);
    EXPECT_STREQ("first.sys", pImage);
    EXPECT_STREQ("Second", pSecond);
}

TEST(ServiceRegistryTest, ValuesUpToTheBufferSizeAreRead) {
    std::string name = UniqueName("MirandelKeyLong");
    CScratchServiceKey key(name);
    ASSERT_TRUE(key.IsOpen());
    std::string fits(1023, 'p'); // 1024 bytes with the terminator
    key.SetText("ImagePath", fits);
    key.SetText("DisplayName", std::string(1024, 'd'));
    EXPECT_EQ(fits, GetServiceImagePath(name.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(name.c_str()));
    key.SetText("ImagePath", std::string(1500, 'q'));
    EXPECT_STREQ("", GetServiceImagePath(name.c_str()));
}

TEST(ServiceRegistryTest, DataFillingTheBufferWithoutTerminatorIsNoText) {
    std::string name = UniqueName("MirandelKeyRaw");
    CScratchServiceKey key(name);
    ASSERT_TRUE(key.IsOpen());
    key.SetBytes("ImagePath", std::string(1024, 'r'));
    key.SetBytes("DisplayName", std::string(10, 's')); // short: the zero fill ends it
    EXPECT_STREQ("", GetServiceImagePath(name.c_str()));
    EXPECT_STREQ("ssssssssss", GetServiceDisplayName(name.c_str()));
}

TEST(ServiceRegistryTest, NamesTooLongForTheKeyPathGiveEmptyTexts) {
    // "SYSTEM\CurrentControlSet\Services\" and 93 characters fill the
    // 128-character key path exactly.
    std::string longest(93, 'N');
    std::string tooLong = longest + "X";
    CScratchServiceKey longestKey(longest);
    CScratchServiceKey tooLongKey(tooLong);
    ASSERT_TRUE(longestKey.IsOpen());
    ASSERT_TRUE(tooLongKey.IsOpen());
    longestKey.SetText("ImagePath", "longest.sys");
    longestKey.SetText("DisplayName", "Longest");
    tooLongKey.SetText("ImagePath", "toolong.sys");
    tooLongKey.SetText("DisplayName", "Too long");

    EXPECT_STREQ("longest.sys", GetServiceImagePath(longest.c_str()));
    EXPECT_STREQ("Longest", GetServiceDisplayName(longest.c_str()));
    // Neither the cut-off name's key nor the real one is read.
    EXPECT_STREQ("", GetServiceImagePath(tooLong.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(tooLong.c_str()));
    EXPECT_STREQ("", GetServiceImagePath(std::string(5000, 'L').c_str()));
}

} // namespace
