#include "sys/service_control.h"

#include <gtest/gtest.h>

#include <string>

#include "support/registry_sandbox.h"
#include "support/scratch_service.h"
#include "support/testbed_moravik_client.h"

namespace {
const char kNoSuchService[] = "MirandelNoSuchService";

// Real stops and starts: the system board service's restart (tests/store).
TEST(ServiceControlTest, ADriverIsCreatedOnceAndDeletedAndWhatIsNotThereFails) {
    CServiceControl control;
    ASSERT_EQ(0u, control.Open(nullptr));
    DWORD state = 0xDEADBEEF;
    EXPECT_EQ(DWORD(ERROR_SERVICE_DOES_NOT_EXIST), control.QueryState(kNoSuchService, &state));
    EXPECT_EQ(0xDEADBEEFu, state);
    for (DWORD error : {control.Start(kNoSuchService), control.Stop(kNoSuchService),
                        control.Delete(kNoSuchService)})
        EXPECT_EQ(DWORD(ERROR_SERVICE_DOES_NOT_EXIST), error);

    ScratchService scratch(UniqueServiceName("MirandelTestDriver"));
    EXPECT_EQ(0u, control.CreateKernelDriver(scratch.Name(), "System32\\drivers\\mtd.sys",
                                             "Mirandel test driver", SERVICE_DISABLED,
                                             "Extended Base"));
    ServiceConfig config = QueryServiceConfigOf(scratch.Name());
    EXPECT_EQ(DWORD(SERVICE_KERNEL_DRIVER), config.type);
    EXPECT_EQ(DWORD(SERVICE_DISABLED), config.startType);
    EXPECT_EQ("System32\\drivers\\mtd.sys", config.imagePath);
    EXPECT_EQ("Extended Base", config.group);
    EXPECT_EQ("Mirandel test driver", config.displayName);
    EXPECT_EQ(0u, control.QueryState(scratch.Name(), &state));
    EXPECT_EQ(DWORD(SERVICE_STOPPED), state);
    EXPECT_EQ(DWORD(ERROR_SERVICE_EXISTS),
              control.CreateKernelDriver(scratch.Name(), "System32\\drivers\\b.sys", "Second",
                                         SERVICE_DISABLED, nullptr));
    EXPECT_EQ(0u, control.Delete(scratch.Name()));
    EXPECT_FALSE(control.Exists(scratch.Name()));

    // A closed connection finds nothing.
    EXPECT_TRUE(control.Exists(TESTBED_MORAVIK_SERVICE));
    EXPECT_EQ(0u, control.Close());
    EXPECT_FALSE(control.Exists(TESTBED_MORAVIK_SERVICE));
}

TEST(ServiceRegistryTest, EachReaderHasOneBufferAndWhatItCannotReadGivesAnEmptyText) {
    // Service keys made directly in the registry, with no service behind.
    // "SYSTEM\CurrentControlSet\Services\" and 93 characters fill the key path.
    const std::string first = UniqueServiceName("MirandelKeyFirst"),
                      second = UniqueServiceName("MirandelKeySecond"), longest(93, 'N'),
                      tooLong = longest + "X";
    auto path = [](const std::string& name) {
        return "SYSTEM\\CurrentControlSet\\Services\\" + name;
    };
    WriteTexts(HKEY_LOCAL_MACHINE, path(first).c_str(),
               {{"ImagePath", "first.sys"}, {"DisplayName", "A longer first name"}});
    WriteText(HKEY_LOCAL_MACHINE, path(second).c_str(), "DisplayName", "Second");
    for (const std::string& name : {longest, tooLong})
        WriteText(HKEY_LOCAL_MACHINE, path(name).c_str(), "ImagePath", "x.sys");

    const char* pFirst = GetServiceDisplayName(first.c_str());
    EXPECT_STREQ("A longer first name", pFirst);
    const char* pSecond = GetServiceDisplayName(second.c_str());
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_STREQ("Second", pSecond); // no tail of the longer first name
    EXPECT_STREQ("first.sys", GetServiceImagePath(first.c_str()));
    EXPECT_STREQ("Second", pSecond); // the image path has a buffer of its own
    // A read that finds nothing must not hand back what the last one found.
    EXPECT_STREQ("", GetServiceImagePath(second.c_str()));
    EXPECT_STREQ("", GetServiceDisplayName(kNoSuchService));
    EXPECT_STREQ("x.sys", GetServiceImagePath(longest.c_str()));
    // Neither the cut-off name's key nor the real one is read.
    EXPECT_STREQ("", GetServiceImagePath(tooLong.c_str()));
    for (const std::string& name : {first, second, longest, tooLong})
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, path(name).c_str());
}
} // namespace
