#include "sys/service_control.h"

#include <gtest/gtest.h>

#include <string>

#include "support/registry_sandbox.h"
#include "support/testbed_moravik_client.h"

namespace {

constexpr DWORD kUntouched = 0xDEADBEEF;
const char kNoSuchService[] = "MirandelNoSuchService";
const char* const kMoravik = TESTBED_MORAVIK_SERVICE;

// A service name no other test process uses.
std::string UniqueName(const char* lpszStem) {
    return std::string(lpszStem) + std::to_string(::GetCurrentProcessId());
}

// A call's result and the last error it left.
void ExpectError(DWORD dwExpected, DWORD dwResult) {
    EXPECT_EQ(dwExpected, dwResult);
    EXPECT_EQ(dwExpected, ::GetLastError());
}

// A call that succeeds and clears a stale last error.
template <typename Call> void ExpectSuccess(Call call) {
    ::SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, call());
    EXPECT_EQ(0u, ::GetLastError());
}

// A service key made directly in the registry (no service behind it), for
// the two readers; removed with everything under it when the test ends.
class CScratchServiceKey {
public:
    explicit CScratchServiceKey(const std::string& name)
        : m_path("SYSTEM\\CurrentControlSet\\Services\\" + name) {
        EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr,
                                                   0, KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr));
    }
    ~CScratchServiceKey() {
        ::RegCloseKey(m_hKey);
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, m_path.c_str());
    }

    // Text values are stored with their terminator, REG_BINARY data without.
    void Set(const char* lpszName, const std::string& data, DWORD dwType = REG_SZ) {
        DWORD cbData = static_cast<DWORD>(data.size() + (dwType == REG_BINARY ? 0 : 1));
        EXPECT_EQ(ERROR_SUCCESS,
                  ::RegSetValueExA(m_hKey, lpszName, 0, dwType,
                                   reinterpret_cast<const BYTE*>(data.c_str()), cbData));
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
        SC_HANDLE hService = ::OpenServiceA(hManager, m_name.c_str(), DELETE);
        if (hService)
            ::DeleteService(hService);
        ::CloseServiceHandle(hService);
        ::CloseServiceHandle(hManager);
    }

private:
    std::string m_name;
};

// The service's configuration as the service manager reports it.
struct ServiceConfig {
    DWORD dwServiceType = 0, dwStartType = 0, dwErrorControl = 0;
    std::string binaryPath, loadOrderGroup, displayName;
};

std::string Text(const char* psz) { return psz ? psz : ""; }

ServiceConfig ReadServiceConfig(const std::string& name) {
    SC_HANDLE hManager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE hService = ::OpenServiceA(hManager, name.c_str(), SERVICE_QUERY_CONFIG);
    union {
        QUERY_SERVICE_CONFIGA c;
        BYTE bytes[8192];
    } buffer;
    DWORD dwNeeded = 0;
    ServiceConfig config;
    if (hService && ::QueryServiceConfigA(hService, &buffer.c, sizeof(buffer), &dwNeeded))
        config = {buffer.c.dwServiceType,          buffer.c.dwStartType,
                  buffer.c.dwErrorControl,         Text(buffer.c.lpBinaryPathName),
                  Text(buffer.c.lpLoadOrderGroup), Text(buffer.c.lpDisplayName)};
    else
        ADD_FAILURE() << "no configuration for " << name;
    ::CloseServiceHandle(hService);
    ::CloseServiceHandle(hManager);
    return config;
}

class ServiceControlTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, m_control.Open(nullptr)); }

    void ExpectState(const char* lpszName, DWORD dwExpected) {
        DWORD dwState = kUntouched;
        ExpectSuccess([&] { return m_control.QueryState(lpszName, &dwState); });
        EXPECT_EQ(dwExpected, dwState);
    }

    CMoravikStateKeeper m_moravikKeeper; // moravik is put back as found
    CServiceControl m_control;
};

TEST_F(ServiceControlTest, OpenAgainKeepsAWorkingConnection) {
    ExpectSuccess([&] { return m_control.Open(nullptr); });
    EXPECT_TRUE(m_control.Exists(kMoravik));
    EXPECT_FALSE(m_control.Exists(kNoSuchService));
}

TEST_F(ServiceControlTest, ClosedOrNeverOpenedConnectionFindsAndDoesNothing) {
    EXPECT_FALSE(CServiceControl().Exists(kMoravik));
    EXPECT_EQ(0u, m_control.Close());
    EXPECT_FALSE(m_control.Exists(kMoravik));
    EXPECT_EQ(0u, m_control.Close()); // closing twice is harmless
    DWORD dwState = kUntouched;
    ExpectError(ERROR_INVALID_HANDLE, m_control.QueryState(kMoravik, &dwState));
    EXPECT_EQ(kUntouched, dwState);
    for (DWORD dwError :
         {m_control.Start(kMoravik), m_control.Stop(kMoravik),
          m_control.CreateKernelDriver(UniqueName("MirandelClosed").c_str(),
                                       "System32\\drivers\\x.sys", "x", SERVICE_DISABLED, nullptr)})
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), dwError);
}

TEST_F(ServiceControlTest, UnknownServiceFailsAndLeavesTheStateAlone) {
    DWORD dwState = kUntouched;
    ::SetLastError(0);
    ExpectError(ERROR_SERVICE_DOES_NOT_EXIST, m_control.QueryState(kNoSuchService, &dwState));
    EXPECT_EQ(kUntouched, dwState);
    for (DWORD dwError : {m_control.Start(kNoSuchService), m_control.Stop(kNoSuchService),
                          m_control.Delete(kNoSuchService)})
        EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), dwError);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST), ::GetLastError());
    EXPECT_STREQ("", GetServiceImagePath(kNoSuchService));
    EXPECT_STREQ("", GetServiceDisplayName(kNoSuchService));
}

TEST_F(ServiceControlTest, StopAndStartReallyRestartTheServiceWithFreshParameters) {
    ASSERT_NE(0u, QueryTestbedServiceState(kMoravik)) << "the testbed's moravik is not installed";
    ASSERT_TRUE(StartTestbedService(kMoravik));
    DWORD dwStarts = ReadMoravikStartCount();
    DWORD dwSaved = 0;
    bool bHadTimeout =
        ReadDword(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_PARAMETERS_KEY, "Timeout", &dwSaved);
    WriteDword(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_PARAMETERS_KEY, "Timeout", 4321);

    ExpectState(kMoravik, SERVICE_RUNNING);
    ExpectError(ERROR_SERVICE_ALREADY_RUNNING, m_control.Start(kMoravik));
    ExpectSuccess([&] { return m_control.Stop(kMoravik); });
    EXPECT_TRUE(WaitForTestbedServiceState(kMoravik, SERVICE_STOPPED));
    ExpectState(kMoravik, SERVICE_STOPPED);
    EXPECT_EQ(dwStarts, ReadMoravikStartCount());
    ExpectError(ERROR_SERVICE_NOT_ACTIVE, m_control.Stop(kMoravik));

    ExpectSuccess([&] { return m_control.Start(kMoravik); });
    EXPECT_TRUE(WaitForTestbedServiceState(kMoravik, SERVICE_RUNNING));
    ExpectState(kMoravik, SERVICE_RUNNING);
    EXPECT_EQ(dwStarts + 1, ReadMoravikStartCount());
    DWORD dwRecorded = 0;
    EXPECT_TRUE(ReadMoravikRecordedParameter("Timeout", &dwRecorded));
    EXPECT_EQ(4321u, dwRecorded);

    if (bHadTimeout)
        WriteDword(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_PARAMETERS_KEY, "Timeout", dwSaved);
    else
        ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_PARAMETERS_KEY, "Timeout");
}

TEST_F(ServiceControlTest, CreateInstallsWhatItIsGivenOnceAndDeleteRemovesIt) {
    std::string name = UniqueName("MirandelTestDriver");
    std::string other = UniqueName("MirandelTestService");
    CServiceRemover remover(name), otherRemover(other);
    ExpectSuccess([&] {
        return m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\mtd.sys",
                                            "Mirandel test driver", SERVICE_DISABLED, nullptr);
    });
    EXPECT_TRUE(m_control.Exists(name.c_str()));
    ServiceConfig config = ReadServiceConfig(name);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_KERNEL_DRIVER), config.dwServiceType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DISABLED), config.dwStartType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_ERROR_NORMAL), config.dwErrorControl);
    EXPECT_EQ("System32\\drivers\\mtd.sys", config.binaryPath);
    EXPECT_EQ("", config.loadOrderGroup);
    ExpectState(name.c_str(), SERVICE_STOPPED);
    ASSERT_EQ(0u, m_control.CreateService(other.c_str(), "C:\\windows\\system32\\mts.exe",
                                          "Mirandel test service", SERVICE_DEMAND_START,
                                          SERVICE_WIN32_OWN_PROCESS, "Extended Base"));
    config = ReadServiceConfig(other);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS), config.dwServiceType);
    EXPECT_EQ(static_cast<DWORD>(SERVICE_DEMAND_START), config.dwStartType);
    EXPECT_EQ("C:\\windows\\system32\\mts.exe", config.binaryPath);
    EXPECT_EQ("Extended Base", config.loadOrderGroup);
    EXPECT_EQ("Mirandel test service", config.displayName);

    // A second create fails; the first one stays as it was.
    ExpectError(ERROR_SERVICE_EXISTS,
                m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\b.sys", "Second",
                                             SERVICE_DISABLED, nullptr));
    EXPECT_STREQ("System32\\drivers\\mtd.sys", GetServiceImagePath(name.c_str()));
    EXPECT_STREQ("Mirandel test driver", GetServiceDisplayName(name.c_str()));

    ExpectSuccess([&] { return m_control.Delete(name.c_str()); });
    EXPECT_FALSE(m_control.Exists(name.c_str()));
    EXPECT_STREQ("", GetServiceImagePath(name.c_str()));
    EXPECT_NE(0u, m_control.Delete(name.c_str()));
}

TEST(ServiceRegistryTest, EachReaderReusesItsOwnBufferAndMissingValuesGiveEmptyTexts) {
    std::string first = UniqueName("MirandelKeyFirst");
    std::string second = UniqueName("MirandelKeySecond");
    std::string third = UniqueName("MirandelKeyThird");
    CScratchServiceKey firstKey(first), secondKey(second), thirdKey(third);
    firstKey.Set("DisplayName", "A rather longer first display name");
    firstKey.Set("ImagePath", "first.sys");
    secondKey.Set("DisplayName", "Second");
    thirdKey.Set("ImagePath", "%SystemRoot%\\System32\\drivers\\e.sys", REG_EXPAND_SZ);

    const char* pFirst = GetServiceDisplayName(first.c_str());
    EXPECT_STREQ("A rather longer first display name", pFirst);
    const char* pSecond = GetServiceDisplayName(second.c_str());
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_STREQ("Second", pSecond); // no tail of the longer first name
    const char* pImage = GetServiceImagePath(first.c_str());
    EXPECT_NE(pImage, pSecond);
    EXPECT_STREQ("first.sys", pImage);
    EXPECT_STREQ("Second", pSecond);
    // A read that finds nothing must not hand back what the last one found.
    EXPECT_STREQ("", GetServiceImagePath(second.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(third.c_str()));
    // REG_EXPAND_SZ comes back unexpanded.
    EXPECT_STREQ("%SystemRoot%\\System32\\drivers\\e.sys", GetServiceImagePath(third.c_str()));
}

TEST(ServiceRegistryTest, OnlyTerminatedValuesWithinTheBufferAreRead) {
    std::string name = UniqueName("MirandelKeyLong");
    CScratchServiceKey key(name);
    std::string fits(1023, 'p'); // 1024 bytes with the terminator
    key.Set("ImagePath", fits);
    key.Set("DisplayName", std::string(1024, 'd'));
    EXPECT_EQ(fits, GetServiceImagePath(name.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(name.c_str()));
    key.Set("ImagePath", std::string(1500, 'q'));
    EXPECT_STREQ("", GetServiceImagePath(name.c_str()));
    // Raw data filling the buffer has no terminator; short data is ended by
    // the buffer's zero fill.
    key.Set("ImagePath", std::string(1024, 'r'), REG_BINARY);
    key.Set("DisplayName", std::string(10, 's'), REG_BINARY);
    EXPECT_STREQ("", GetServiceImagePath(name.c_str()));
    EXPECT_STREQ("ssssssssss", GetServiceDisplayName(name.c_str()));
}

TEST(ServiceRegistryTest, NamesTooLongForTheKeyPathGiveEmptyTexts) {
    // "SYSTEM\CurrentControlSet\Services\" and 93 characters fill the
    // 128-character key path exactly.
    std::string longest(93, 'N');
    std::string tooLong = longest + "X";
    CScratchServiceKey longestKey(longest), tooLongKey(tooLong);
    longestKey.Set("ImagePath", "longest.sys");
    longestKey.Set("DisplayName", "Longest");
    tooLongKey.Set("ImagePath", "toolong.sys");
    tooLongKey.Set("DisplayName", "Too long");

    EXPECT_STREQ("longest.sys", GetServiceImagePath(longest.c_str()));
    EXPECT_STREQ("Longest", GetServiceDisplayName(longest.c_str()));
    // Neither the cut-off name's key nor the real one is read.
    EXPECT_STREQ("", GetServiceImagePath(tooLong.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(tooLong.c_str()));
    EXPECT_STREQ("", GetServiceImagePath(std::string(5000, 'L').c_str()));
}

} // namespace
