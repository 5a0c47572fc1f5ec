// Loading the parameters: keys created, defaults, every scalar, the
// inverted scan flag and the raw-bytes rule.
#include "support/sheet_fixture.h"

namespace {
const char* const kAllKeys[] = {kQuarnelKey,      kRestrictKey, kAssignmentsKey, kSlotsKey,
                                kRequirementsKey, kNoResetKey,  kVardekKey,      kMoravikKey};
using LoadTest = SheetTest;
} // namespace

TEST_F(LoadTest, EmptyRegistryCreatesAllEightKeysAndKeepsEveryDefault) {
    ZorvikSheet& sheet = Build();
    for (const char* path : kAllKeys)
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, path)) << path;
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 500u);
    EXPECT_EQ(sheet.m_Misc.m_dwDisconnectTimeout, 20000u);
    EXPECT_EQ(sheet.m_Misc.m_dwInsertBeforeEject, 5000u);
    EXPECT_EQ(sheet.m_Misc.m_bScanSurpriseRemoval, 1);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressLedControl, 0);
    EXPECT_EQ(sheet.m_Moravik.m_dwMode, 0u);
    EXPECT_EQ(sheet.m_Moravik.m_dwPollInterval, 500u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeout, 10000u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeoutAction, 2u);
}

TEST_F(LoadTest, ScalarsLandInTheirMembersAsTheirBytes) {
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 250);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", 0x100);
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressSlotPowerAtStartup", 1);
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressDomainPickup", 1);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", 0);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "SpyPollTimeout", 750);
    // One byte replaces the whole number; eight bytes leave it alone.
    const unsigned char one[1] = {0x05}, eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", REG_BINARY, one, 1);
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval", REG_QWORD, eight, 8);
    WriteRaw(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", REG_SZ, "7", 2);

    ZorvikSheet& sheet = Build();
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 250u);
    EXPECT_EQ(sheet.m_Misc.m_bScanSurpriseRemoval, 0);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressSlotPowerAtStartup, 1);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressDomainPickup, 1);
    EXPECT_EQ(sheet.m_Vardek.m_bSuppressLedControl, 0);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeoutAction, 0u);
    EXPECT_EQ(sheet.m_Moravik.m_dwPollInterval, 750u);
    EXPECT_EQ(sheet.m_Misc.m_dwDisconnectTimeout, 5u);
    EXPECT_EQ(sheet.m_Misc.m_dwInsertBeforeEject, 5000u);
    EXPECT_EQ(sheet.m_Moravik.m_dwTimeout, static_cast<DWORD>('7'));

    // A stored 0 means scanning, like no value at all.
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", 0);
    sheet.LoadParameters();
    EXPECT_EQ(sheet.m_Misc.m_bScanSurpriseRemoval, 1);
}

TEST_F(LoadTest, ReloadKeepsWhatTheRegistryLacksAndLockedKeysChangeNothing) {
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 100);
    ZorvikSheet& sheet = Build();
    sheet.m_Misc.m_dwPollingRate = 1;
    sheet.m_Misc.m_dwInsertBeforeEject = 4242;
    EXPECT_TRUE(sheet.LoadParameters());
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 100u);
    EXPECT_EQ(sheet.m_Misc.m_dwInsertBeforeEject, 4242u);

    sheet.m_Misc.m_dwPollingRate = 4321;
    KeyLock lock(HKEY_LOCAL_MACHINE, kMoravikKey);
    ASSERT_TRUE(lock.Locked());
    EXPECT_FALSE(sheet.LoadParameters());
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 4321u);
    EXPECT_TRUE(m_responder.asked.empty());
}
