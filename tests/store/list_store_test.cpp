// The five list keys: what a load makes of stored values; that a save with
// no edit changes no byte of them, also when names and data are odd, long or
// larger than the kit's buffers; and what the same records store when they
// are new.
#include "support/sheet_fixture.h"

#include <string>

namespace {
StoredValue Multi(const std::string& data) { return {REG_MULTI_SZ, data}; }

template <class TList> void CopyList(const TList& from, TList& to) {
    to.RemoveAll();
    for (POSITION pos = from.GetHeadPosition(); pos;)
        to.AddTail(from.GetNext(pos));
}

class ListStoreTest : public SheetTest {
protected:
    // A save with no edit changes nothing; the same records saved anew, by
    // a sheet whose registry lacks the key's values, store what returns.
    StoredValues SavedUnchangedThenAnew(const char* path) {
        StoredValues before = ReadStoredValues(HKEY_LOCAL_MACHINE, path);
        EXPECT_TRUE(m_sheet->SaveParameters());
        EXPECT_EQ(before, ReadStoredValues(HKEY_LOCAL_MACHINE, path)) << path;
        HKEY key;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
            for (const auto& value : before)
                ::RegDeleteValueA(key, value.first.c_str());
            ::RegCloseKey(key);
        }
        ZorvikSheet fresh(TestKit(), IDS_SHEET_CAPTION);
        CopyList(m_sheet->m_Eq.m_slots, fresh.m_Eq.m_slots);
        CopyList(m_sheet->m_Res.m_bridges, fresh.m_Res.m_bridges);
        CopyList(m_sheet->m_DevRes.m_requirements, fresh.m_DevRes.m_requirements);
        CopyList(m_sheet->m_MiniList.m_miniports, fresh.m_MiniList.m_miniports);
        EXPECT_TRUE(fresh.SaveParameters());
        return ReadStoredValues(HKEY_LOCAL_MACHINE, path);
    }
};
} // namespace

TEST_F(ListStoreTest, PhysicalSlotsLoadHeadFirstAndSaveEveryValue) {
    const std::string longPath = std::string(600, 'A');
    const std::string bigData = std::string(5000, '0') + "8";
    const std::string longName = std::string(300, '0') + "4";
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "3", "0A08");
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "5", " 1008 ");
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "6", bigData);
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "7", longPath);
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "9", "");
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "12abc", "2008");
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "abc", "1808");
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, longName.c_str(), "191008");
    WriteRaw(HKEY_LOCAL_MACHINE, kSlotsKey, "10", REG_BINARY, "0B08", 4);
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "", "not a slot");

    ZorvikSheet& sheet = Build();
    // Every named value is a record, the last one enumerated (Wine lists
    // values by name) at the head.
    std::string order;
    for (POSITION pos = sheet.m_Eq.m_slots.GetHeadPosition(); pos;)
        order += std::to_string(sheet.m_Eq.m_slots.GetNext(pos).m_nPhysicalSlot) + " ";
    EXPECT_EQ("0 9 7 6 5 3 12 10 4 ", order);

    StoredValues expected = {{"0", Sz("1808")}, {"3", Sz("0A08")},  {"4", Sz("191008")},
                             {"5", Sz("1008")}, {"6", Sz(bigData)}, {"7", Sz(longPath)},
                             {"9", Sz("")},     {"10", Sz("0B08")}, {"12", Sz("2008")}};
    EXPECT_EQ(expected, SavedUnchangedThenAnew(kSlotsKey));
}

TEST_F(ListStoreTest, BridgesMergeNoResetMarksAndWindowlessBridgesWriteOnlyTheirMark) {
    const std::string longName = "*" + std::string(400, 'C');
    const std::string paddedData = "1000,100000,100000,1" + std::string(3000, ' ');
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0B08", "1000,100000,100000");
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0A08",
              "(1000,2000,7fff:2000),100000:1000,(100000,0,ffff)");
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "*0A08", "2000");
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, longName.c_str(), paddedData);
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "", "1000,100000,100000");
    WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "0A08", "ignored");
    WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "0C08", "");
    WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "", "");

    ZorvikSheet& sheet = Build();
    std::string order;
    for (POSITION pos = sheet.m_Res.m_bridges.GetHeadPosition(); pos;) {
        const CSlotRecord& record = sheet.m_Res.m_bridges.GetNext(pos);
        order += "[" + record.GetSlotPath().str().substr(0, 5) +
                 (record.m_bNoResetSecondaryBus ? " noreset" : "") + "]";
    }
    EXPECT_EQ("[ noreset][*0A08][*CCCC][0A08 noreset][0B08][0C08 noreset]", order);

    StoredValues marks = ReadStoredValues(HKEY_LOCAL_MACHINE, kNoResetKey);
    StoredValues assignments = {{"*0A08", Sz("2000,(bad,bad,bad:bad),(bad,bad,bad:bad)")},
                                {"0A08", Sz("(1000,2000,7fff:2000),100000:1000,(100000,0,ffff)")},
                                {"0B08", Sz("1000,100000,100000")},
                                {longName, Sz("1000,100000,100000,0")}};
    EXPECT_EQ(assignments, SavedUnchangedThenAnew(kAssignmentsKey));
    // The marks as stored: a save with no edit left them, the new records
    // put them back in their canonical form.
    marks["0A08"] = Sz("");
    EXPECT_EQ(marks, ReadStoredValues(HKEY_LOCAL_MACHINE, kNoResetKey));
}

TEST_F(ListStoreTest, DeviceRequirementsMergePerIdentityAndKeepWhatTheyCannotRead) {
    using namespace std::string_literals;
    std::string manyStrings;
    for (int i = 0; i < 200; ++i)
        manyStrings += "3:" + std::to_string(i) + '\0';
    manyStrings += "5:ABC\0\0"s;
    const std::string longName = "PCI\\VEN_3333&DEV_4444&" + std::string(300, 'x');
    auto write = [](const std::string& name, const std::string& data, DWORD type = REG_MULTI_SZ) {
        WriteRaw(HKEY_LOCAL_MACHINE, kRequirementsKey, name.c_str(), type, data.data(),
                 static_cast<DWORD>(data.size()));
    };
    write("PCI\\VEN_1ABC&DEV_2DEF", "0:1000\0 2:fff00000\0\0"s);
    write("DEV_2DEF&VEN_1ABC&", "1:2000\0junk\0\0"s);
    write("PCI\\VEN_1111&DEV_2222&SUBSYS_1ABC", ""s);
    write(longName, manyStrings);
    write("PCI\\VEN_0000&DEV_1234", "0:10\0\0"s);
    write("garbage", "text", REG_SZ);
    write("", "0:1\0\0"s);

    Build();
    EXPECT_EQ(3, m_sheet->m_DevRes.m_requirements.GetCount());
    StoredValues expected = {{"PCI\\VEN_1ABC&DEV_2DEF", Multi("0:1000\0"
                                                              "1:2000\0"
                                                              "2:FFF00000\0\0"s)},
                             {"PCI\\VEN_1111&DEV_2222&SUBSYS_00001ABC", Multi("")},
                             {"PCI\\VEN_3333&DEV_4444", Multi("3:199\0"
                                                              "5:ABC\0\0"s)}};
    EXPECT_EQ(expected, SavedUnchangedThenAnew(kRequirementsKey));
}

TEST_F(ListStoreTest, RestrictedMiniportsFollowTheOthersWhateverTheSizeOfTheirValues) {
    using namespace std::string_literals;
    const std::string longRestriction = std::string(2000, '1') + "-2";
    const std::string names = "first\0second\0third\0\0"s;
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "Miniports", REG_MULTI_SZ, names.data(),
             static_cast<DWORD>(names.size()));
    WriteText(HKEY_LOCAL_MACHINE, kRestrictKey, "first", "1,2");
    WriteText(HKEY_LOCAL_MACHINE, kRestrictKey, "Other", "3-4");
    WriteText(HKEY_LOCAL_MACHINE, kRestrictKey, "third", longRestriction);
    WriteText(HKEY_LOCAL_MACHINE, kRestrictKey, "", "5");

    ZorvikSheet& sheet = Build();
    std::string order;
    for (POSITION pos = sheet.m_MiniList.m_miniports.GetHeadPosition(); pos;)
        order += "[" + sheet.m_MiniList.m_miniports.GetNext(pos).m_strServiceName.str() + "]";
    EXPECT_EQ("[second][][first][Other][third]", order);

    StoredValues restrictions = {
        {"", Sz("5")}, {"first", Sz("1,2")}, {"Other", Sz("3-4")}, {"third", Sz(longRestriction)}};
    EXPECT_EQ(restrictions, SavedUnchangedThenAnew(kRestrictKey));
    // The unnamed one is left out: its empty string would end the list.
    EXPECT_EQ(Multi("second\0first\0Other\0third\0\0"s),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey)["Miniports"]);

    // An empty list is one terminator.
    sheet.m_MiniList.m_miniports.RemoveAll();
    ASSERT_TRUE(sheet.SaveParameters());
    EXPECT_EQ(Multi("\0"s), ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey)["Miniports"]);
    EXPECT_TRUE(ReadStoredValues(HKEY_LOCAL_MACHINE, kRestrictKey).empty());
}

TEST_F(ListStoreTest, MiniportNamesBeyondTheLimitRefuseTheSaveAndLoseNothing) {
    std::string names;
    for (int i = 0; i < 60; ++i)
        names += "miniport_service_" + std::to_string(100 + i) + '\0';
    names += '\0';
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "Miniports", REG_MULTI_SZ, names.data(),
             static_cast<DWORD>(names.size()));
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "3", "0A08");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 250);

    HWND sheet = Show();
    EXPECT_EQ(60, m_sheet->m_MiniList.m_miniports.GetCount());
    StoredValues before = ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey);
    TypeText(MiscPage(), 1000 /* polling rate */, "750");
    ASSERT_TRUE(IsApplyEnabled(sheet));

    m_responder.Answer(IDYES);
    m_responder.Answer(IDOK);
    PressSheetButton(sheet, IDOK);
    ASSERT_EQ(2u, m_responder.asked.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP | MB_OK), m_responder.asked[1].type);
    EXPECT_NE(std::string::npos, m_responder.asked[1].text.find("1261 bytes"))
        << m_responder.asked[1].text;
    EXPECT_EQ(before, ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey));
    EXPECT_EQ(1u, ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey).size());
    // The edit is still pending and the sheet still open.
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_FALSE(SheetEnded(sheet));
}
