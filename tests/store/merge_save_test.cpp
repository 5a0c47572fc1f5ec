// The save as a merge against what was loaded: a save without an edit
// changes no byte, another program's values survive, a key that cannot be
// deleted is no obstacle, a write that fails leaves the changes pending and
// every value old or new, and no list is ever missing while a save runs.
#include "support/sheet_fixture.h"

#include <string>

#include "support/scratch_service.h"
#include "support/testbed_moravik_client.h"

namespace {
using namespace std::string_literals;

const char* const kAllKeys[] = {kQuarnelKey,      kRestrictKey, kAssignmentsKey, kSlotsKey,
                                kRequirementsKey, kNoResetKey,  kVardekKey,      kMoravikKey};

// Every value of the eight keys.
std::map<std::string, StoredValues> AllParameters() {
    std::map<std::string, StoredValues> all;
    for (const char* path : kAllKeys)
        all[path] = ReadStoredValues(HKEY_LOCAL_MACHINE, path);
    return all;
}

// Fails the write or delete of the given number (from 1), passes the others.
struct FailingWriter : CValueWriter {
    explicit FailingWriter(int failing) : failing(failing) {}
    LONG SetValue(HKEY hKey, const CRegistryValue& value) override {
        return ++calls == failing ? ERROR_ACCESS_DENIED : CValueWriter::SetValue(hKey, value);
    }
    LONG DeleteValue(HKEY hKey, const char* lpszName) override {
        return ++calls == failing ? ERROR_ACCESS_DENIED : CValueWriter::DeleteValue(hKey, lpszName);
    }
    int failing, calls = 0;
};

// The system board service stays stopped: a running one is restarted with a
// pause at every save.
class MergeSaveTest : public SheetTest {
protected:
    void SetUp() override {
        TestKit().m_services.Open(nullptr);
        m_registry.WithRealRegistry([] { StopTestbedService("moravik"); });
    }
    void TearDown() override {
        SheetTest::TearDown();
        TestKit().m_services.Close();
    }
    CMoravikStateKeeper m_keeper;
    void ApplyYes() {
        m_responder.Answer(IDYES);
        PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    }
    // Odd spellings the load reads and the pages would write otherwise.
    void StoreOddLists() {
        WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "7", "0A08");
        WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "07", "0A08");
        WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, " 8", " 1008 ");
        WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "12abc", "2008");
        WriteRaw(HKEY_LOCAL_MACHINE, kSlotsKey, "3", REG_EXPAND_SZ, "1808\0junk", 10);
        WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, " 0A08", "0x1000 , 100000,100000");
        WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0A08", "1000,100000,100000,5");
        WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "0a08", "data nobody reads");
        const std::string bars = "0:0x1000\0"
                                 "9:1\0\0"s;
        WriteRaw(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_1ABC&DEV_0002&ZZ", REG_MULTI_SZ,
                 bars.data(), static_cast<DWORD>(bars.size()));
        WriteRaw(HKEY_LOCAL_MACHINE, kRequirementsKey, "DEV_0002&VEN_1ABC", REG_MULTI_SZ, "1:20\0",
                 6);
        const std::string names = "first\0second"s;
        WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "Miniports", REG_MULTI_SZ, names.data(),
                 static_cast<DWORD>(names.size()));
        WriteText(HKEY_LOCAL_MACHINE, kRestrictKey, "second", "1008, 1808");
        const unsigned char two[2] = {0x20, 0x03};
        WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", REG_BINARY, two, 2);
        WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 20000);
        WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval", 5000);
        WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", 0);
        WriteText(HKEY_LOCAL_MACHINE, kQuarnelKey, "NotOurs", "left alone");
        for (const char* name : {"SuppressSlotPowerAtStartup", "SuppressDomainAutoConcession",
                                 "SuppressLedControl", "SuppressDomainPickup"})
            WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, name, 0);
        WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Mode", 7);
        WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "SpyPollTimeout", 500);
        WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", 10000);
        WriteText(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", "2");
    }
};
} // namespace

TEST_F(MergeSaveTest, ApplyWithoutAnEditChangesNoByteWhateverTheSpellingsAndLocks) {
    StoreOddLists();
    // A list key with a subkey cannot be deleted: no save needs it to be.
    WriteText(HKEY_LOCAL_MACHINE, (std::string(kSlotsKey) + "\\Sub").c_str(), "x", "y");
    std::map<std::string, StoredValues> before = AllParameters();
    Show();
    // Both spellings of slot 7 and of bridge 0A08 are records of their own;
    // without the driver, the mark 0a08 is a bridge of its own too.
    EXPECT_EQ(5, m_sheet->m_Eq.m_slots.GetCount());
    EXPECT_EQ(3, m_sheet->m_Res.m_bridges.GetCount());
    ApplyYes();
    EXPECT_EQ(before, AllParameters());
    EXPECT_EQ(1u, m_responder.asked.size());

    // A list key locked to the utility stops a save before it starts.
    {
        KeyLock lock(HKEY_LOCAL_MACHINE, kRestrictKey);
        ASSERT_TRUE(lock.Locked());
        m_sheet->m_Misc.m_dwPollingRate = 900;
        m_responder.Answer(IDOK);
        EXPECT_FALSE(m_sheet->SaveParameters());
    }
    EXPECT_EQ(before, AllParameters());

    // Removing a row of that key removes its value, and it stays removed.
    m_sheet->m_Eq.m_slots.RemoveAt(
        m_sheet->m_Eq.m_slots.FindBySlotPath("1808", TestKit().m_driver));
    ASSERT_TRUE(m_sheet->SaveParameters());
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSlotsKey, "3"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSlotsKey, "07"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kSlotsKey) + "\\Sub").c_str()));
    m_sheet->LoadParameters();
    EXPECT_EQ(4, m_sheet->m_Eq.m_slots.GetCount());
}

TEST_F(MergeSaveTest, AnotherProgramsValuesSurviveAndAValueBothChangedTakesTheUsers) {
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "3", "0A08");
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0A08", "1000,100000,100000");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 500);
    Show();
    // Another program, while the sheet is open.
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "9", "1008");
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0A08", "2000,100000,100000");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 111);
    WriteText(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_1111&DEV_2222", "");

    TypeText(MiscPage(), IDC_POLLING_RATE, "750");
    m_sheet->m_Eq.m_slots.AddHeadNew(4, "2008", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN,
                                     TestKit().m_driver);
    ApplyYes();
    StoredValues slots = {{"3", Sz("0A08")}, {"4", Sz("2008")}, {"9", Sz("1008")}};
    EXPECT_EQ(slots, ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
    EXPECT_EQ(Sz("2000,100000,100000"),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kAssignmentsKey)["0A08"]);
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_1111&DEV_2222"));
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &value));
    EXPECT_EQ(750u, value);
}

TEST_F(MergeSaveTest, AFailedWriteIsToldAfterTheOtherStepsAndLeavesEveryValueOldOrNew) {
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "3", "0A08");
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "5", "1008");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 500);
    std::map<std::string, StoredValues> before = AllParameters();
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_POLLING_RATE, "750");
    CSlotRecordList& slots = m_sheet->m_Eq.m_slots;
    slots.RemoveAt(slots.FindBySlotPath("1008", TestKit().m_driver));
    slots.AddHeadNew(6, "2008", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, TestKit().m_driver);

    for (int failing = 1; failing <= 3; ++failing) {
        FailingWriter writer(failing);
        m_sheet->m_store.SetWriter(&writer);
        m_responder.asked.clear();
        m_responder.Answer(IDYES);
        m_responder.Answer(IDOK);
        PressSheetButton(sheet, ID_APPLY_NOW);
        m_sheet->m_store.SetWriter(nullptr);
        ASSERT_EQ(2u, m_responder.asked.size()) << failing;
        const std::string& text = m_responder.asked[1].text;
        EXPECT_EQ(0u, text.find("These parameters could not be saved:")) << text;
        EXPECT_NE(std::string::npos, text.find("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet"))
            << text;
        EXPECT_TRUE(IsApplyEnabled(sheet)) << failing;
        // Every value is as it was or as the save wanted it.
        std::map<std::string, StoredValues> now = AllParameters();
        DWORD rate = 0;
        ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", &rate);
        EXPECT_TRUE(rate == 500 || rate == 750);
        StoredValues newSlots = {{"3", Sz("0A08")}, {"6", Sz("2008")}};
        for (const auto& slot : now[kSlotsKey])
            EXPECT_TRUE(slot.second == before[kSlotsKey][slot.first] ||
                        slot.second == newSlots[slot.first])
                << slot.first;
    }
    // Applied again with the registry working, every change is made.
    ApplyYes();
    EXPECT_FALSE(IsApplyEnabled(sheet));
    EXPECT_EQ((StoredValues{{"3", Sz("0A08")}, {"6", Sz("2008")}}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
}

TEST_F(MergeSaveTest, WhileAMiniportIsInstalledEveryListValueIsStillStored) {
    std::string name = UniqueServiceName("MirandelMidSave");
    ScratchService service(name);
    char system[MAX_PATH];
    ::GetSystemDirectoryA(system, sizeof(system));
    std::string installed = std::string(system) + "\\drivers\\" + name + ".sys";
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof(temp), temp);
    std::string chosen = std::string(temp) + name + ".sys";
    for (const std::string& path : {installed, chosen}) {
        HANDLE file =
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::WriteFile(file, path.c_str(), static_cast<DWORD>(path.size()), nullptr, nullptr);
        ::CloseHandle(file);
    }
    StoreOddLists();
    std::map<std::string, StoredValues> before = AllParameters();
    Build();
    CMiniportRecord record;
    record.SetServiceName(name.c_str());
    record.SetFile(chosen.c_str());
    record.m_bCopyFile = 1;
    m_sheet->m_MiniList.m_miniports.AddTail(record);

    // The question about the installed file comes in the middle of the save.
    std::map<std::string, StoredValues> during;
    m_responder.whileShown = [&](const AskedMessage&) { during = AllParameters(); };
    m_responder.Answer(IDNO);
    ASSERT_TRUE(m_sheet->SaveParameters());
    ASSERT_EQ(1u, m_responder.asked.size());
    EXPECT_EQ(before, during);
    ::DeleteFileA(installed.c_str());
    ::DeleteFileA(chosen.c_str());
}
