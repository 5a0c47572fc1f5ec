#include "sys/service_control.h"

#include <gtest/gtest.h>

#include <string>

#include "support/testbed_moravik_client.h"

namespace {

const char kNoSuchService[] = "MirandelNoSuchService";
const char* const kMoravik = TESTBED_MORAVIK_SERVICE;

// A service name no other test process uses.
std::string UniqueName(const char* stem) { return stem + std::to_string(GetCurrentProcessId()); }

// A service key made directly in the registry (no service behind it) with
// an image path and a display name (none when empty); removed at the end.
struct ScratchServiceKey {
    ScratchServiceKey(const std::string& name, const std::string& image, const std::string& display)
        : path("SYSTEM\\CurrentControlSet\\Services\\" + name) {
        for (const auto& value :
             {std::make_pair("ImagePath", image), std::make_pair("DisplayName", display)})
            if (!value.second.empty())
                RegSetKeyValueA(HKEY_LOCAL_MACHINE, path.c_str(), value.first, REG_SZ,
                                value.second.c_str(), DWORD(value.second.size() + 1));
    }
    ~ScratchServiceKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str()); }
    std::string path;
};

class ServiceControlTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, m_control.Open(nullptr)); }

    DWORD State(const char* name) {
        DWORD state = 0;
        EXPECT_EQ(0u, m_control.QueryState(name, &state));
        return state;
    }

    CMoravikStateKeeper m_moravikKeeper; // moravik is put back as found
    CServiceControl m_control;
};

TEST_F(ServiceControlTest, UnknownServiceFailsAndLeavesTheCallersStateAlone) {
    DWORD state = 0xDEADBEEF;
    EXPECT_EQ(DWORD(ERROR_SERVICE_DOES_NOT_EXIST), m_control.QueryState(kNoSuchService, &state));
    EXPECT_EQ(0xDEADBEEFu, state);
    for (DWORD error : {m_control.Start(kNoSuchService), m_control.Stop(kNoSuchService),
                        m_control.Delete(kNoSuchService)})
        EXPECT_EQ(DWORD(ERROR_SERVICE_DOES_NOT_EXIST), error);
}

TEST_F(ServiceControlTest, ClosedConnectionFindsNothing) {
    EXPECT_TRUE(m_control.Exists(kMoravik));
    EXPECT_EQ(0u, m_control.Close());
    EXPECT_FALSE(m_control.Exists(kMoravik));
}

TEST_F(ServiceControlTest, StopAndStartReallyStopAndRestartTheService) {
    ASSERT_TRUE(StartTestbedService(kMoravik)) << "the testbed's moravik is not installed";
    DWORD starts = ReadMoravikStartCount();
    EXPECT_EQ(DWORD(SERVICE_RUNNING), State(kMoravik));
    EXPECT_EQ(0u, m_control.Stop(kMoravik));
    EXPECT_TRUE(WaitForTestbedServiceState(kMoravik, SERVICE_STOPPED));
    EXPECT_EQ(DWORD(SERVICE_STOPPED), State(kMoravik));
    EXPECT_EQ(0u, m_control.Start(kMoravik));
    EXPECT_TRUE(WaitForTestbedServiceState(kMoravik, SERVICE_RUNNING));
    EXPECT_EQ(DWORD(SERVICE_RUNNING), State(kMoravik));
    EXPECT_EQ(starts + 1, ReadMoravikStartCount());
}

TEST_F(ServiceControlTest, CreateKernelDriverInstallsWhatItIsGivenOnce) {
    std::string name = UniqueName("MirandelTestDriver");
    EXPECT_EQ(0u, m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\mtd.sys",
                                               "Mirandel test driver", SERVICE_DISABLED,
                                               "Extended Base"));
    alignas(QUERY_SERVICE_CONFIGA) BYTE buffer[8192] = {};
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer);
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_CONFIG);
    DWORD needed = 0;
    EXPECT_TRUE(QueryServiceConfigA(service, config, sizeof(buffer), &needed));
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    EXPECT_EQ(DWORD(SERVICE_KERNEL_DRIVER), config->dwServiceType);
    EXPECT_EQ(DWORD(SERVICE_DISABLED), config->dwStartType);
    EXPECT_STREQ("System32\\drivers\\mtd.sys", config->lpBinaryPathName);
    EXPECT_STREQ("Extended Base", config->lpLoadOrderGroup);
    EXPECT_STREQ("Mirandel test driver", config->lpDisplayName);

    EXPECT_EQ(DWORD(ERROR_SERVICE_EXISTS),
              m_control.CreateKernelDriver(name.c_str(), "System32\\drivers\\b.sys", "Second",
                                           SERVICE_DISABLED, nullptr));
    EXPECT_EQ(0u, m_control.Delete(name.c_str()));
    EXPECT_FALSE(m_control.Exists(name.c_str()));
}

TEST(ServiceRegistryTest, EachReaderHasOneBufferAndMissingValuesGiveEmptyTexts) {
    std::string first = UniqueName("MirandelKeyFirst"), second = UniqueName("MirandelKeySecond");
    ScratchServiceKey firstKey(first, "first.sys", "A rather longer first display name");
    ScratchServiceKey secondKey(second, "", "Second");

    const char* pFirst = GetServiceDisplayName(first.c_str());
    EXPECT_STREQ("A rather longer first display name", pFirst);
    const char* pSecond = GetServiceDisplayName(second.c_str());
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_STREQ("Second", pSecond); // no tail of the longer first name
    EXPECT_STREQ("first.sys", GetServiceImagePath(first.c_str()));
    EXPECT_STREQ("Second", pSecond); // the image path has a buffer of its own
    // A read that finds nothing must not hand back what the last one found.
    EXPECT_STREQ("", GetServiceImagePath(second.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(kNoSuchService));
}

TEST(ServiceRegistryTest, NameTooLongForTheKeyPathGivesEmptyTexts) {
    // "SYSTEM\CurrentControlSet\Services\" and 93 characters fill the key path.
    std::string longest(93, 'N'), tooLong = longest + "X";
    ScratchServiceKey longestKey(longest, "x.sys", "X"), tooLongKey(tooLong, "x.sys", "X");
    EXPECT_STREQ("x.sys", GetServiceImagePath(longest.c_str()));
    // Neither the cut-off name's key nor the real one is read.
    EXPECT_STREQ("", GetServiceImagePath(tooLong.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(tooLong.c_str()));
}

} // namespace
