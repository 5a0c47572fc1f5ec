// Loading the parameters: keys created, defaults, every scalar, the
// inverted scan flag and the raw-bytes rule.
#include "support/sheet_fixture.h"

namespace {
const char* const kAllKeys[] = {
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters",
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters\\RestrictMiniports",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ResourceAssignments",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\PhysicalSlots",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ExplicitResourceRequirements",
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\NoResetSecondaryBus",
    "System\\CurrentControlSet\\Services\\Vardek\\Parameters",
    "System\\CurrentControlSet\\Services\\Moravik\\Parameters",
};
using LoadTest = SheetTest;
} // namespace

TEST_F(LoadTest, EmptyRegistryCreatesAllEightKeysAndKeepsEveryDefault) {
    for (const char* path : kAllKeys)
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, path)) << path;
    ZorvikSheet& sheet = Build();
    for (const char* path : kAllKeys)
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, path)) << path;
    for (HKEY key : sheet.m_hKeys)
        EXPECT_EQ(key, nullptr);

    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 500u);
    EXPECT_EQ(sheet.m_Misc.m_dwDisconnectTimeout, 20000u);
    EXPECT_EQ(sheet.m_Misc.m_dwInsertBeforeEject, 5000u);
    EXPECT_EQ(sheet.m_Misc.m_bScanSurpriseRemoval, 1);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressSlotPowerAtStartup, 0);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressDomainAutoConcession, 0);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressLedControl, 0);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressDomainPickup, 0);
    EXPECT_EQ(sheet.m_Moravik.m_dwMode, 0u);
    EXPECT_EQ(sheet.m_Moravik.m_dwPollInterval, 500u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeout, 10000u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeoutAction, 2u);
    EXPECT_TRUE(m_responder.asked.empty());
}

TEST_F(LoadTest, EveryScalarLandsInItsPageMember) {
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 250);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 30000);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval", 7000);
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressSlotPowerAtStartup", 1);
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressDomainAutoConcession", 0);
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", 1);
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressDomainPickup", 1);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Mode", 1);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "SpyPollTimeout", 750);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", 12345);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", 0);

    ZorvikSheet& sheet = Build();
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 250u);
    EXPECT_EQ(sheet.m_Misc.m_dwDisconnectTimeout, 30000u);
    EXPECT_EQ(sheet.m_Misc.m_dwInsertBeforeEject, 7000u);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressSlotPowerAtStartup, 1);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressDomainAutoConcession, 0);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressLedControl, 1);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressDomainPickup, 1);
    EXPECT_EQ(sheet.m_Moravik.m_dwMode, 1u);
    EXPECT_EQ(sheet.m_Moravik.m_dwPollInterval, 750u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeout, 12345u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeoutAction, 0u);
}

TEST_F(LoadTest, NoScanValueIsInvertedZeroMeaningScan) {
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", 0);
    EXPECT_EQ(Build().m_Misc.m_bScanSurpriseRemoval, 1);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", 1);
    EXPECT_EQ(Build().m_Misc.m_bScanSurpriseRemoval, 0);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", 0x100);
    EXPECT_EQ(Build().m_Misc.m_bScanSurpriseRemoval, 0);
}

TEST_F(LoadTest, ShortValueOfAnotherTypeIsTakenAsItsBytes) {
    const unsigned char two[2] = {0x34, 0x12};
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", REG_BINARY, two, sizeof(two));
    // One byte replaces the whole number, not only its lowest byte.
    const unsigned char one[1] = {0x05};
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", REG_BINARY, one, 1);
    WriteRaw(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", REG_SZ, "7", 2);
    ZorvikSheet& sheet = Build();
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 0x1234u);
    EXPECT_EQ(sheet.m_Misc.m_dwDisconnectTimeout, 5u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeout, static_cast<DWORD>('7'));
}

TEST_F(LoadTest, LongerValueLeavesTheMemberAlone) {
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", REG_QWORD, eight, sizeof(eight));
    WriteRaw(HKEY_LOCAL_MACHINE, kMoravikKey, "Mode", REG_SZ, "request", 8);
    ZorvikSheet& sheet = Build();
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 500u);
    EXPECT_EQ(sheet.m_Moravik.m_dwMode, 0u);
}

TEST_F(LoadTest, ReloadKeepsScalarsTheRegistryLacks) {
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 100);
    ZorvikSheet& sheet = Build();
    sheet.m_Misc.m_dwPollingRate = 1;
    sheet.m_Misc.m_dwInsertBeforeEject = 4242;
    sheet.m_Moravik.m_dwTimeout = 99;
    EXPECT_TRUE(sheet.LoadParameters());
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 100u);
    EXPECT_EQ(sheet.m_Misc.m_dwInsertBeforeEject, 4242u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeout, 99u);
}

TEST_F(LoadTest, KeysThatCannotBeOpenedLeaveTheDataAndSayNothing) {
    ZorvikSheet& sheet = Build();
    sheet.m_Misc.m_dwPollingRate = 4321;
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 100);
    KeyLock lock(HKEY_LOCAL_MACHINE, kMoravikKey);
    ASSERT_TRUE(lock.Locked());
    EXPECT_FALSE(sheet.LoadParameters());
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 4321u);
    for (HKEY key : sheet.m_hKeys)
        EXPECT_EQ(key, nullptr);
    EXPECT_TRUE(m_responder.asked.empty());
}
