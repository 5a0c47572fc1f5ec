#include "sys/controller_library.h"

#include <gtest/gtest.h>

#include "support/testbed_moravik_client.h"
#include "support/testbed_vardek_client.h"

namespace {

class ControllerLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        RestoreHiddenVardekApi();
        ASSERT_TRUE(StartTestbedService(TESTBED_VARDEK_SERVICE))
            << "the testbed's Vardek driver is not installed";
        Counts(); // start from zero
    }
    void TearDown() override { StartTestbedService(TESTBED_VARDEK_SERVICE); }

    // Counts since SetUp or the previous call.
    TESTBED_VARDEK_COUNTS Counts() {
        TESTBED_VARDEK_COUNTS counts = {};
        EXPECT_TRUE(TakeVardekCounts(&counts));
        return counts;
    }
};

TEST_F(ControllerLibraryTest, WithoutTheLibraryNothingIsAvailable) {
    CHiddenVardekApi hidden;
    ASSERT_TRUE(hidden.IsHidden());
    CVardekLibrary library;
    library.Load();
    EXPECT_FALSE(library.IsAvailable());
    EXPECT_FALSE(library.SendUpdateParameters());
}

TEST_F(ControllerLibraryTest, StoppedControllerDriverIsNotAvailableUntilStartedAgain) {
    CVardekLibrary library;
    library.Load();
    ASSERT_TRUE(StopTestbedService(TESTBED_VARDEK_SERVICE));
    EXPECT_FALSE(library.IsAvailable());
    EXPECT_FALSE(library.SendUpdateParameters());
    ASSERT_TRUE(StartTestbedService(TESTBED_VARDEK_SERVICE));
    EXPECT_TRUE(library.IsAvailable()); // no answer is kept from before
}

TEST_F(ControllerLibraryTest, WorkingControllerClosesEverySessionAndGetsOneUpdate) {
    CVardekLibrary library;
    library.Load();
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_TRUE(library.SendUpdateParameters());
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(3u, counts.Opens);
    EXPECT_EQ(3u, counts.Closes);
    EXPECT_EQ(1u, counts.Updates);
}

TEST_F(ControllerLibraryTest, ASessionThatIsNoDeviceHandleIsAvailableButGetsNoRequest) {
    for (const char* kind : {"event", "number"}) {
        ::SetEnvironmentVariableA(TESTBED_VARDEK_SESSION_ENV, kind);
        CVardekLibrary library;
        library.Load();
        EXPECT_TRUE(library.IsAvailable()) << kind;
        EXPECT_FALSE(library.SendUpdateParameters()) << kind;
        ::SetEnvironmentVariableA(TESTBED_VARDEK_SESSION_ENV, nullptr);
    }
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(0u, counts.Opens);
    EXPECT_EQ(0u, counts.Updates);
}

} // namespace
