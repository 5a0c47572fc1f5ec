// A cell of the fault matrix that no other test covers: stored scalars the
// pages cannot show.
#include "support/sheet_fixture.h"

namespace {
using FaultMatrixTest = SheetTest;
} // namespace

TEST_F(FaultMatrixTest, ScalarsThePagesCannotShowAreKeptUntilTheirFieldChanges) {
    TestKit().m_services.Open(nullptr);
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8}, six[6] = {1, 0, 0, 0, 0, 9};
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", REG_QWORD, eight, 8);
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", REG_BINARY, six, 6);
    WriteRaw(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", REG_SZ, "", 0);
    WriteRaw(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", REG_SZ, "yes please", 11);
    StoredValues quarnel = ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey);
    StoredValues moravik = ReadStoredValues(HKEY_LOCAL_MACHINE, kMoravikKey);
    StoredValues vardek = ReadStoredValues(HKEY_LOCAL_MACHINE, kVardekKey);

    ZorvikSheet& sheet = Build();
    EXPECT_EQ(sheet.m_Misc.m_dwPollingRate, 500u);
    EXPECT_EQ(sheet.m_Misc.m_bScanSurpriseRemoval, 1);
    ASSERT_TRUE(sheet.SaveParameters());
    StoredValues saved = ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey);
    EXPECT_EQ(saved["StallInterval"], quarnel["StallInterval"]);
    EXPECT_EQ(saved["NoScanForSurpriseRemoval"], quarnel["NoScanForSurpriseRemoval"]);
    EXPECT_EQ(ReadStoredValues(HKEY_LOCAL_MACHINE, kMoravikKey)["Timeout"], moravik["Timeout"]);
    EXPECT_EQ(ReadStoredValues(HKEY_LOCAL_MACHINE, kVardekKey)["SuppressLedControl"],
              vardek["SuppressLedControl"]);
    // Readable neighbours are written as usual.
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", &value));

    // Once the user changes a field, the value it shows is saved.
    sheet.m_Misc.m_dwPollingRate = 700;
    sheet.m_Misc.m_bScanSurpriseRemoval = 0;
    ASSERT_TRUE(sheet.SaveParameters());
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &value));
    EXPECT_EQ(value, 700u);
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", &value));
    EXPECT_EQ(value, 1u);
    TestKit().m_services.Close();
}
