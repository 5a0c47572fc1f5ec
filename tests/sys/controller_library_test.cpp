#include "sys/controller_library.h"

#include <gtest/gtest.h>

#include "support/testbed_vardek_client.h"

namespace {

class ControllerLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        RestoreHiddenVardekApi();
        ASSERT_TRUE(IsVardekDriverRunning() || StartVardekDriver())
            << "the testbed's Vardek driver is not installed";
        TESTBED_VARDEK_COUNTS before = {};
        ASSERT_TRUE(TakeVardekCounts(&before)); // start from zero
    }

    // Counts since SetUp or the previous call.
    TESTBED_VARDEK_COUNTS Counts() {
        TESTBED_VARDEK_COUNTS counts = {};
        EXPECT_TRUE(TakeVardekCounts(&counts));
        return counts;
    }
};

TEST_F(ControllerLibraryTest, UpdateCodeIsBufferedAnyAccessOfTheControllerDevice) {
    EXPECT_EQ(IOCTL_VARDEK_UPDATE_PARAMETERS,
              static_cast<DWORD>(CTL_CODE(0x8320u, 0xA4, METHOD_BUFFERED, FILE_ANY_ACCESS)));
}

TEST_F(ControllerLibraryTest, WithoutLibraryNothingIsAvailableOrSent) {
    CHiddenVardekApi hidden;
    ASSERT_TRUE(hidden.IsHidden());
    {
        CVardekLibrary library;
        EXPECT_EQ(nullptr, ::GetModuleHandleA("vardekapi.dll"));
        EXPECT_FALSE(library.IsAvailable());
        EXPECT_FALSE(library.IsAvailable());
        EXPECT_FALSE(library.SendUpdateParameters());
        EXPECT_EQ(0u, library.GetSessionHandle());
    }
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(0u, counts.Opens);
    EXPECT_EQ(0u, counts.Closes);
    EXPECT_EQ(0u, counts.Updates);
}

TEST_F(ControllerLibraryTest, LibraryWithoutCloseEntryIsNotUsed) {
    CSubstitutedVardekApi substitute("vardekapi_noclose.dll");
    ASSERT_TRUE(substitute.IsInPlace());
    {
        CVardekLibrary library;
        EXPECT_NE(nullptr, ::GetModuleHandleA("vardekapi.dll"));
        EXPECT_FALSE(library.IsAvailable());
        EXPECT_FALSE(library.SendUpdateParameters());
    }
    // A session it could not close must not have been opened at all.
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(0u, counts.Opens);
    EXPECT_EQ(0u, counts.Updates);
}

TEST_F(ControllerLibraryTest, EveryTestOpensAndClosesExactlyOneSession) {
    CVardekLibrary library;
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_TRUE(library.IsAvailable());
    EXPECT_TRUE(library.IsAvailable());
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(3u, counts.Opens);
    EXPECT_EQ(3u, counts.Closes);
    EXPECT_EQ(0u, counts.Updates);
    EXPECT_EQ(0u, counts.Others);
}

TEST_F(ControllerLibraryTest, FailedOpenIsNotAvailableAndTheTestIsRepeated) {
    CVardekLibrary library;
    {
        CStoppedVardekDriver stopped;
        ASSERT_TRUE(stopped.IsStopped());
        EXPECT_FALSE(library.IsAvailable());
        EXPECT_FALSE(library.IsAvailable());
        EXPECT_FALSE(library.SendUpdateParameters());
        EXPECT_EQ(0u, library.GetSessionHandle());
    }
    ASSERT_TRUE(IsVardekDriverRunning());
    // The same object asks again: no answer is kept from before.
    EXPECT_TRUE(library.IsAvailable());
    // The restarted driver counts from zero.
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(1u, counts.Opens);
    EXPECT_EQ(1u, counts.Closes);
}

TEST_F(ControllerLibraryTest, UpdateRequestReachesTheControllerOnce) {
    CVardekLibrary library;
    EXPECT_TRUE(library.SendUpdateParameters());
    EXPECT_EQ(0u, library.GetSessionHandle());
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(1u, counts.Opens);
    EXPECT_EQ(1u, counts.Closes);
    EXPECT_EQ(1u, counts.Updates);
    EXPECT_EQ(0u, counts.Others);
}

TEST_F(ControllerLibraryTest, SaveOrderTestsThenSendsWithSessionsClosed) {
    CVardekLibrary library;
    ASSERT_TRUE(library.IsAvailable());
    EXPECT_TRUE(library.SendUpdateParameters());
    EXPECT_TRUE(library.SendUpdateParameters());
    TESTBED_VARDEK_COUNTS counts = Counts();
    EXPECT_EQ(3u, counts.Opens);
    EXPECT_EQ(3u, counts.Closes);
    EXPECT_EQ(2u, counts.Updates);
}

TEST_F(ControllerLibraryTest, DestructionUnloadsTheLibrary) {
    ASSERT_EQ(nullptr, ::GetModuleHandleA("vardekapi.dll"));
    {
        CVardekLibrary library;
        EXPECT_NE(nullptr, ::GetModuleHandleA("vardekapi.dll"));
    }
    EXPECT_EQ(nullptr, ::GetModuleHandleA("vardekapi.dll"));
    // Unloaded, the file can be moved away again.
    CHiddenVardekApi hidden;
    EXPECT_TRUE(hidden.IsHidden());
}

} // namespace
