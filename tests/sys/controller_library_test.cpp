#include "sys/controller_library.h"

#include <gtest/gtest.h>

#include "support/testbed_moravik_client.h"
#include "support/testbed_vardek_client.h"

namespace {
// Counts of the controller device since the previous call.
TESTBED_VARDEK_COUNTS Counts() {
    TESTBED_VARDEK_COUNTS counts = {};
    EXPECT_TRUE(TakeVardekCounts(&counts));
    return counts;
}

TEST(ControllerLibraryTest, OnlyAWorkingControllerIsAvailableAndEachSessionIsClosedAgain) {
    RestoreHiddenVardekApi();
    struct Restart {
        ~Restart() { StartTestbedService(TESTBED_VARDEK_SERVICE); }
    } restart;
    ASSERT_TRUE(StartTestbedService(TESTBED_VARDEK_SERVICE))
        << "the testbed's Vardek driver is not installed";
    Counts();
    CVardekLibrary library;
    library.Load();
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_TRUE(library.SendUpdateParameters());
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(3u, counts.Opens);
    EXPECT_EQ(3u, counts.Closes);
    EXPECT_EQ(1u, counts.Updates);
    // No answer is kept from before.
    ASSERT_TRUE(StopTestbedService(TESTBED_VARDEK_SERVICE));
    EXPECT_FALSE(library.IsAvailable());
    EXPECT_FALSE(library.SendUpdateParameters());
    ASSERT_TRUE(StartTestbedService(TESTBED_VARDEK_SERVICE));
    EXPECT_TRUE(library.IsAvailable());
    Counts();

    // A session that is no device handle gets no request; without the
    // library nothing is available.
    for (const char* kind : {"event", "number"}) {
        ::SetEnvironmentVariableA(TESTBED_VARDEK_SESSION_ENV, kind);
        EXPECT_TRUE(library.IsAvailable()) << kind;
        EXPECT_FALSE(library.SendUpdateParameters()) << kind;
    }
    ::SetEnvironmentVariableA(TESTBED_VARDEK_SESSION_ENV, nullptr);
    library.Unload();
    {
        CHiddenVardekApi hidden;
        ASSERT_TRUE(hidden.IsHidden());
        library.Load();
        EXPECT_FALSE(library.IsAvailable());
        EXPECT_FALSE(library.SendUpdateParameters());
    }
    counts = Counts();
    EXPECT_EQ(0u, counts.Opens);
    EXPECT_EQ(0u, counts.Updates);
}
} // namespace
