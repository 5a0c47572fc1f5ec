// The save as a merge against what was loaded: what it writes and keeps,
// what a load makes of stored values, who is told and what is reported;
// and the miniports it installs against the real service manager and shell.
#include "support/sheet_fixture.h"

#include <algorithm>
#include <set>
#include <string>

#include "save/miniport_install.h"
#include "sheet/sheet_save_report.h"
#include "support/driver_connection.h"
#include "support/scratch_service.h"
#include "support/testbed_moravik_client.h"
#include "support/testbed_vardek_client.h"

namespace {
using namespace std::string_literals;
using AllValues = std::map<std::string, StoredValues>;

void WriteMulti(const char* path, const std::string& name, const std::string& data) {
    WriteRaw(HKEY_LOCAL_MACHINE, path, name.c_str(), REG_MULTI_SZ, data.data(),
             static_cast<DWORD>(data.size()));
}

template <class TList> void CopyList(const TList& from, TList& to) {
    for (POSITION pos = from.GetHeadPosition(); pos;)
        to.AddTail(from.GetNext(pos));
}

// Every value of the eight keys.
AllValues AllParameters() {
    AllValues all;
    for (int key = 0; key < KEY_COUNT; ++key) {
        const char* path = ParameterKeyPath(ParameterKey(key));
        all[path] = ReadStoredValues(HKEY_LOCAL_MACHINE, path);
    }
    return all;
}

DWORD Dword(const char* path, const char* name) {
    DWORD value = 0xBAD;
    ReadDword(HKEY_LOCAL_MACHINE, path, name, &value);
    return value;
}

// Refuses every write and delete of the named values, passes the others.
struct FailingWriter : CValueWriter {
    explicit FailingWriter(std::set<std::string> names) : names(std::move(names)) {}
    LONG SetValue(HKEY hKey, const CRegistryValue& value) override {
        return names.count(value.m_strName.str()) ? ERROR_ACCESS_DENIED
                                                  : CValueWriter::SetValue(hKey, value);
    }
    LONG DeleteValue(HKEY hKey, const char* lpszName) override {
        return names.count(lpszName) ? ERROR_ACCESS_DENIED
                                     : CValueWriter::DeleteValue(hKey, lpszName);
    }
    std::set<std::string> names;
};

void WriteFileText(const std::string& path, const std::string& text) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), nullptr, nullptr);
    ::CloseHandle(h);
}

// A service's registry entry as the service manager keeps it.
std::string ServicePath(const std::string& name) {
    return "SYSTEM\\CurrentControlSet\\Services\\" + name;
}
StoredValues ServiceEntry(RegistrySandbox& registry, const std::string& name) {
    StoredValues entry;
    registry.WithRealRegistry(
        [&] { entry = ReadStoredValues(HKEY_LOCAL_MACHINE, ServicePath(name).c_str()); });
    return entry;
}

DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.nFileSizeLow;
}

// The driver is opened before the private registry hides its interface; the
// system board service is stopped: a running one is restarted at every save.
class SaveTest : public DriverConnection, public SheetTest {
protected:
    SaveTest() {
        TestKit().m_services.Open(nullptr);
        StopTestbedService("moravik");
    }
    ~SaveTest() override {
        quarnel.Reset();
        TestKit().m_services.Close();
    }
    void ApplyYes() {
        m_responder.Answer(IDYES);
        PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    }
    // The updates the controller was sent since the last call.
    DWORD ControllerUpdates() {
        TESTBED_VARDEK_COUNTS counts = {};
        EXPECT_TRUE(TakeVardekCounts(&counts));
        return counts.Updates;
    }
    DWORD MoravikStarts() {
        DWORD starts = 0;
        m_registry.WithRealRegistry([&] { starts = ReadMoravikStartCount(); });
        return starts;
    }
    CMoravikStateKeeper m_keeper;
};

// Against the real registry, where the service manager keeps its entries.
class MiniportInstallTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0u, m_services.Open(nullptr)); }
    // Installs the miniports given (restrictions, service, file, description,
    // copy), telling as the sheet tells; the milliseconds it took. The
    // services of the records left to install go to m_left.
    DWORD Install(std::initializer_list<CMiniportRecord> records) {
        CSheetSaveReport report;
        m_left.clear();
        DWORD start = ::GetTickCount();
        for (const CMiniportRecord& record : records)
            if (!InstallMiniport(record, m_services, report))
                m_left += record.m_strServiceName.str() + " ";
        return ::GetTickCount() - start;
    }
    ScriptedResponder m_responder;
    CServiceControl m_services;
    std::string m_left;
};
} // namespace

TEST_F(SaveTest,
       EveryValueLoadsAndIsKeptByteForByteUntilEditedAndNewRecordsStoreTheirCanonicalForm) {
    TestKit().m_driver.Close(); // without it, texts that differ name different slots
    // Names and data that are odd, or larger than the kit's buffers.
    const std::string bigData = std::string(5000, '0') + "8";
    WriteTexts(HKEY_LOCAL_MACHINE, kSlotsKey,
               {{"6", bigData},
                {"7", "2008"},
                {"07", "2008"},
                {"12abc", " 1008 "},
                {"abc", "1808"},
                {"", "not a slot"},
                {std::string(300, '0') + "4", "191008"}});
    WriteRaw(HKEY_LOCAL_MACHINE, kSlotsKey, "10", REG_BINARY, "0B08", 4);
    // A subkey keeps its list key from being deleted: no save needs that.
    const std::string subkey = std::string(kSlotsKey) + "\\Sub";
    WriteText(HKEY_LOCAL_MACHINE, subkey.c_str(), "x", "y");
    const std::string windows = "(1000,2000,7fff:2000),100000:1000,(100000,0,ffff)";
    WriteTexts(HKEY_LOCAL_MACHINE, kAssignmentsKey,
               {{"0A08", windows}, {"*0A08", "2000"}, {"0B08", "1000,100000,100000"}});
    WriteTexts(HKEY_LOCAL_MACHINE, kNoResetKey, {{"0A08", "ignored"}, {"0C08", ""}});
    WriteMulti(kRequirementsKey, "PCI\\VEN_1ABC&DEV_2DEF", "0:1000\0 2:fff00000\0\0"s);
    WriteMulti(kRequirementsKey, "DEV_2DEF&VEN_1ABC&", "1:2000\0junk\0\0"s);
    WriteMulti(kRequirementsKey, "PCI\\VEN_1111&DEV_2222&SUBSYS_1ABC", ""s);
    WriteText(HKEY_LOCAL_MACHINE, kRequirementsKey, "garbage", "text");
    WriteMulti(kQuarnelKey, "Miniports", "first\0second\0third"s);
    WriteTexts(HKEY_LOCAL_MACHINE, kRestrictKey,
               {{"first", "1,2"}, {"Other", "3-4"}, {"third", "5"}, {"", "6"}});
    // Scalars: more than four bytes, or none, leave the member as it was;
    // fewer replace the whole number.
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8}, six[6] = {1, 0, 0, 0, 0, 9};
    const unsigned char two[2] = {0x20, 0x03};
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", REG_QWORD, eight, 8);
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "NoScanForSurpriseRemoval", REG_BINARY, six, 6);
    WriteRaw(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", REG_BINARY, two, 2);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval", 5000);
    for (const char* name :
         {"SuppressSlotPowerAtStartup", "SuppressDomainAutoConcession", "SuppressDomainPickup"})
        WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, name, 0);
    WriteText(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", "yes please");
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "Mode", 7);
    WriteDword(HKEY_LOCAL_MACHINE, kMoravikKey, "SpyPollTimeout", 500);
    WriteRaw(HKEY_LOCAL_MACHINE, kMoravikKey, "Timeout", REG_SZ, "", 0);
    WriteText(HKEY_LOCAL_MACHINE, kMoravikKey, "TimeoutAction", "2");
    AllValues before = AllParameters();

    // Slots at the head as enumerated (Wine sorts by name); bridges in slot
    // path order, each with its no-reset mark; restricted miniports behind.
    Show();
    std::string order;
    CSlotRecordList& slots = m_sheet->m_Eq.m_slots;
    for (POSITION pos = slots.GetHeadPosition(); pos;)
        order += std::to_string(slots.GetNext(pos).m_nPhysicalSlot) + " ";
    for (POSITION pos = m_sheet->m_Res.m_bridges.GetHeadPosition(); pos;) {
        const CSlotRecord& record = m_sheet->m_Res.m_bridges.GetNext(pos);
        order += "[" + record.GetSlotPath().str() + (record.m_bNoResetSecondaryBus ? "!]" : "]");
    }
    CMiniportList& miniports = m_sheet->m_MiniList.m_miniports;
    for (POSITION pos = miniports.GetHeadPosition(); pos;)
        order += "<" + miniports.GetNext(pos).m_strServiceName.str() + ">";
    EXPECT_EQ("0 7 6 12 10 7 4 [*0A08][0A08!][0B08][0C08!]<second><><first><Other><third>", order);
    EXPECT_EQ(500u, m_sheet->m_Misc.m_dwPollingRate);
    EXPECT_EQ(800u, m_sheet->m_Misc.m_dwDisconnectTimeout);
    EXPECT_EQ(1, m_sheet->m_Misc.m_bScanSurpriseRemoval);
    EXPECT_EQ(10000u, m_sheet->m_Moravik.m_dwTimeout);
    ApplyYes();
    EXPECT_EQ(before, AllParameters());
    EXPECT_EQ(1u, m_responder.asked.size());

    // Scanning turned off at polling rate 0 stores its flag; the scalars
    // that could not be shown are written once their fields change.
    HWND page = MiscPage();
    TypeText(page, IDC_POLLING_RATE, "0");
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);
    ApplyYes();
    EXPECT_EQ(0u, Dword(kQuarnelKey, "StallInterval"));
    EXPECT_EQ(1u, Dword(kQuarnelKey, "NoScanForSurpriseRemoval"));
    // A typed rate scans again, which removes the flag; a removed row
    // removes its value, a changed one writes it.
    TypeText(page, IDC_POLLING_RATE, "70000");
    miniports.GetTail().m_strRestrictions = "2008";
    slots.RemoveAt(slots.FindBySlotPath("1808", TestKit().m_driver));
    ApplyYes();
    AllValues expected = before;
    expected[kQuarnelKey]["StallInterval"] = {REG_DWORD, "\x70\x11\x01\0"s};
    expected[kQuarnelKey].erase("NoScanForSurpriseRemoval");
    expected[kSlotsKey].erase("abc");
    expected[kRestrictKey]["third"] = Sz("2008");
    EXPECT_EQ(expected, AllParameters());
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, subkey.c_str()));

    // A miniport that cannot be installed is told in the middle of a save:
    // every list value is still stored then, and the save stays pending.
    miniports.AddTail({"", "MirandelMidSave", std::string(300, 'x'), "", 1, 1});
    AllValues during;
    m_responder.whileShown = [&](const AskedMessage&) { during = AllParameters(); };
    m_responder.Answer(IDOK);
    EXPECT_FALSE(m_sheet->SaveParameters());
    EXPECT_EQ(4u, m_responder.asked.size());
    EXPECT_EQ(expected, during);
    // It stays to be installed by the next save.
    EXPECT_EQ(1, miniports.GetTail().m_bInstall);
    miniports.RemoveTail();
    m_responder.whileShown = nullptr;
    m_responder.asked.clear();

    // The same records saved anew, by a sheet whose registry lacks them.
    for (const auto& key : AllParameters())
        for (const auto& value : key.second)
            ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, key.first.c_str(), value.first.c_str());
    ZorvikSheet fresh(TestKit(), TestApp().m_journal, IDS_SHEET_CAPTION);
    CopyList(slots, fresh.m_Eq.m_slots);
    CopyList(m_sheet->m_Res.m_bridges, fresh.m_Res.m_bridges);
    CopyList(m_sheet->m_DevRes.m_requirements, fresh.m_DevRes.m_requirements);
    CopyList(miniports, fresh.m_MiniList.m_miniports);
    ASSERT_TRUE(fresh.SaveParameters());
    AllValues anew = AllParameters();
    EXPECT_EQ(
        SzValues({{"4", "191008"}, {"6", bigData}, {"7", "2008"}, {"10", "0B08"}, {"12", "1008"}}),
        anew[kSlotsKey]);
    // A bridge known only for its mark stores no resource string.
    EXPECT_EQ(SzValues({{"*0A08", "2000,(bad,bad,bad:bad),(bad,bad,bad:bad)"},
                        {"0A08", windows},
                        {"0B08", "1000,100000,100000"}}),
              anew[kAssignmentsKey]);
    EXPECT_EQ(SzValues({{"0A08", ""}, {"0C08", ""}}), anew[kNoResetKey]);
    // One requirement per identity, what it could not read left out.
    EXPECT_EQ((StoredValues{{"PCI\\VEN_1ABC&DEV_2DEF",
                             {REG_MULTI_SZ, "0:1000\0"
                                            "1:2000\0"
                                            "2:FFF00000\0\0"s}},
                            {"PCI\\VEN_1111&DEV_2222&SUBSYS_00001ABC", {REG_MULTI_SZ, ""}}}),
              anew[kRequirementsKey]);
    EXPECT_EQ(SzValues({{"first", "1,2"}, {"Other", "3-4"}, {"third", "2008"}, {"", "6"}}),
              anew[kRestrictKey]);
    // The unnamed miniport is left out: its empty string would end the list.
    StoredValue names = {REG_MULTI_SZ, "second\0first\0Other\0third\0\0"s};
    EXPECT_EQ(names, anew[kQuarnelKey]["Miniports"]);

    // The driver reads at most 256 bytes of names: a longer list is refused
    // before anything is written.
    fresh.m_MiniList.m_miniports.AddTail({"", std::string(240, 'm'), "", ""});
    fresh.m_Misc.m_dwPollingRate = 4321;
    m_responder.Answer(IDOK);
    EXPECT_FALSE(fresh.SaveParameters());
    ASSERT_EQ(1u, m_responder.asked.size());
    EXPECT_EQ(UINT(MB_ICONSTOP | MB_OK), m_responder.asked[0].type);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, " 267 bytes", m_responder.asked[0].text);
    EXPECT_EQ(anew, AllParameters());
    // An empty list is one terminator.
    fresh.m_MiniList.m_miniports.RemoveAll();
    ASSERT_TRUE(fresh.SaveParameters());
    EXPECT_EQ((StoredValue{REG_MULTI_SZ, "\0"s}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey)["Miniports"]);
    EXPECT_TRUE(ReadStoredValues(HKEY_LOCAL_MACHINE, kRestrictKey).empty());
}

TEST_F(SaveTest, AnEditIsSavedBesideAnotherProgramsValuesTheKitIsToldAndAReloadShowsIt) {
    ASSERT_TRUE(opened);
    ASSERT_TRUE(StartTestbedService("moravik"));
    ControllerUpdates();
    DWORD starts = MoravikStarts();
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "3", "0A08");
    WriteTexts(HKEY_LOCAL_MACHINE, kAssignmentsKey,
               {{"0A08", "1000,100000,100000"}, {"0B08", "1000,100000,100000"}});
    WriteTexts(HKEY_LOCAL_MACHINE, kNoResetKey, {{"0a08", ""}, {"*0A08", ""}, {"0B08", "mark"}});
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 500);
    TESTBED_QUARNEL_STATS stats = {};
    EXPECT_TRUE(quarnel.ReadStats(&stats));
    DWORD resolves = stats.ResolveCount;
    HWND sheet = Show();
    // Through the driver the mark 0a08 finds its bridge by location; the
    // starred one stays a bridge of its own. The driver was asked for the
    // two spellings only: the slot row shown takes the answer for 0A08.
    EXPECT_EQ(3, m_sheet->m_Res.m_bridges.GetCount());
    EXPECT_EQ("3|0A08|1/1/2", ListRows(m_sheet->m_Eq.m_hWnd, IDC_SLOT_LIST).at(0));
    EXPECT_TRUE(quarnel.ReadStats(&stats));
    EXPECT_EQ(resolves + 2, stats.ResolveCount);
    StoredValues marks = ReadStoredValues(HKEY_LOCAL_MACHINE, kNoResetKey);
    // Another program, while the sheet is open.
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "9", "1008");
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0A08", "2000,100000,100000");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 111);
    WriteText(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_1111&DEV_2222", "");
    // A value the load did not find: the page shows its default.
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval", 1234);
    // A mark whose bridge the user then edits: stored anew only because its
    // bridge changed, it stays as the other program left it.
    WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "0B08", "their mark");
    marks["0B08"] = Sz("their mark");
    // The windows, which the user edits too: the user's edit wins.
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0B08", "3000,100000,100000");

    TypeText(MiscPage(), IDC_POLLING_RATE, "750");
    CSlotRecordList& bridges = m_sheet->m_Res.m_bridges;
    bridges.GetAt(bridges.FindBySlotPathText("0B08")).m_memWindow.m_dwSize = 0x200000;
    m_sheet->m_Eq.m_slots.AddHeadNew(4, "2008", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN,
                                     TestKit().m_driver);
    // After the save the sheet says how many values changed underneath it,
    // and reloads on Yes.
    m_responder.Answer(IDYES);
    ApplyYes();
    ASSERT_EQ(2u, m_responder.asked.size());
    EXPECT_EQ(UINT(IDS_CHANGED_ELSEWHERE_RELOAD), m_responder.asked[1].id);
    EXPECT_EQ(UINT(MB_ICONQUESTION | MB_YESNO), m_responder.asked[1].type);
    EXPECT_EQ(0u, m_responder.asked[1].text.find("Another program changed 7 of the values"));
    PumpMessages();
    EXPECT_EQ("1234", ItemText(m_sheet->m_Misc.m_hWnd, IDC_INSERT_BEFORE_EJECT));
    EXPECT_EQ(1234u, Dword(kQuarnelKey, "InsertBeforeEjectInterval"));
    EXPECT_EQ(SzValues({{"3", "0A08"}, {"4", "2008"}, {"9", "1008"}}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
    StoredValues assignments = ReadStoredValues(HKEY_LOCAL_MACHINE, kAssignmentsKey);
    EXPECT_EQ(Sz("2000,100000,100000"), assignments["0A08"]);
    EXPECT_EQ(Sz("1000,200000,100000"), assignments["0B08"]);
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_1111&DEV_2222"));
    EXPECT_EQ(marks, ReadStoredValues(HKEY_LOCAL_MACHINE, kNoResetKey));
    EXPECT_EQ(750u, Dword(kQuarnelKey, "StallInterval"));
    // Defaults the registry lacked are stored.
    EXPECT_EQ(0u, Dword(kVardekKey, "SuppressLedControl"));
    EXPECT_EQ(2u, Dword(kMoravikKey, "TimeoutAction"));
    EXPECT_TRUE(quarnel.ReadStats(&stats));
    EXPECT_EQ(1u, stats.UpdateCount);
    EXPECT_EQ(1u, ControllerUpdates());
    EXPECT_EQ(starts + 1, MoravikStarts());
    EXPECT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_RUNNING));
    EXPECT_FALSE(SheetEnded(sheet));

    // A reload asks the driver afresh.
    TypeText(m_sheet->m_Misc.m_hWnd, IDC_POLLING_RATE, "1");
    EXPECT_TRUE(quarnel.ReadStats(&stats));
    resolves = stats.ResolveCount;
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDC_RELOAD);
    EXPECT_EQ("750", ItemText(m_sheet->m_Misc.m_hWnd, IDC_POLLING_RATE));
    EXPECT_EQ(3, m_sheet->m_Eq.m_slots.GetCount());
    EXPECT_EQ(3u, m_responder.asked.size());
    EXPECT_TRUE(quarnel.ReadStats(&stats));
    EXPECT_EQ(resolves + 2, stats.ResolveCount);
}

TEST_F(SaveTest, AFailedWriteIsToldAndStaysPendingAndARetryWritesWhatIsStillDifferent) {
    WriteTexts(HKEY_LOCAL_MACHINE, kSlotsKey, {{"3", "0A08"}, {"5", "1808"}, {"9", "1008"}});
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 500);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 20000);
    HWND sheet = Show();
    HWND misc = MiscPage();
    TypeText(misc, IDC_POLLING_RATE, "750");
    TypeText(misc, IDC_DISCONNECT_TIMEOUT, "30000");
    CSlotRecordList& slots = m_sheet->m_Eq.m_slots;
    for (const char* path : {"1008", "1808"})
        slots.RemoveAt(slots.FindBySlotPath(path, TestKit().m_driver));
    slots.AddHeadNew(6, "2008", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, TestKit().m_driver);
    WriteText(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_1111&DEV_2222", "");

    // The polling rate and slot 6 cannot be written, slot 5 not deleted; the
    // rest of the save goes on.
    FailingWriter writer({"StallInterval", "5", "6"});
    m_sheet->m_store.SetWriter(&writer);
    m_responder.Answer(IDYES);
    m_responder.Answer(IDOK);
    m_responder.Answer(IDOK);
    PressSheetButton(sheet, ID_APPLY_NOW);
    m_sheet->m_store.SetWriter(nullptr);
    ASSERT_EQ(3u, m_responder.asked.size());
    const std::string& text = m_responder.asked[1].text;
    EXPECT_EQ(0u, text.find("These parameters could not be saved:\n\nHKEY_LOCAL_MACHINE\\" +
                            std::string(kQuarnelKey) + "\\StallInterval: "))
        << text;
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "PhysicalSlots\\5 (to be deleted): ", text);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "PhysicalSlots\\6: ", text);
    // Another program's value is told of too, but a reload is not offered:
    // it would drop the change still pending.
    EXPECT_EQ(UINT(IDS_CHANGED_ELSEWHERE), m_responder.asked[2].id);
    EXPECT_EQ(UINT(MB_ICONINFORMATION | MB_OK), m_responder.asked[2].type);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_EQ(SzValues({{"3", "0A08"}, {"5", "1808"}}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
    EXPECT_EQ(500u, Dword(kQuarnelKey, "StallInterval"));
    EXPECT_EQ(30000u, Dword(kQuarnelKey, "DisconnectRetryInterval"));

    // What landed is known: slot 9 and the timeout taken back as they were
    // loaded are changes now, and the retry makes every one of them.
    slots.AddHeadNew(9, "1008", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, TestKit().m_driver);
    TypeText(misc, IDC_DISCONNECT_TIMEOUT, "20000");
    ApplyYes();
    EXPECT_EQ(4u, m_responder.asked.size());
    EXPECT_FALSE(IsApplyEnabled(sheet));
    EXPECT_EQ(SzValues({{"3", "0A08"}, {"6", "2008"}, {"9", "1008"}}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
    EXPECT_EQ(750u, Dword(kQuarnelKey, "StallInterval"));
    EXPECT_EQ(20000u, Dword(kQuarnelKey, "DisconnectRetryInterval"));
}

TEST_F(SaveTest, OnlyMiniportsEditedOnThePageAreInstalledAndAServiceIsOneRowWhateverItsCase) {
    // Services with values of their own, looked up by the load in the
    // private registry, which holds a copy of their entries.
    ScratchService mine(UniqueServiceName("MirandelMyMini"), "System32\\drivers\\mymini.sys",
                        "My mini");
    ScratchService other(UniqueServiceName("MirandelOther"), "System32\\drivers\\other.sys",
                         "Other mini");
    ScratchService edited(UniqueServiceName("MirandelEdited"), "System32\\drivers\\edited.sys",
                          "Edited mini");
    std::map<std::string, StoredValues> entries;
    for (const char* name : {mine.Name(), other.Name(), edited.Name()}) {
        const std::string path = ServicePath(name);
        m_registry.WithRealRegistry([&] {
            WriteText(HKEY_LOCAL_MACHINE, path.c_str(), "Group", "Extended Base");
            WriteDword(HKEY_LOCAL_MACHINE, path.c_str(), "MirandelExtra", 7);
        });
        entries[name] = ServiceEntry(m_registry, name);
        for (const auto& value : entries[name])
            WriteRaw(HKEY_LOCAL_MACHINE, path.c_str(), value.first.c_str(), value.second.first,
                     value.second.second.data(), static_cast<DWORD>(value.second.second.size()));
    }
    // "Miniports" takes 250 bytes: mine, edited and fillers. The restriction
    // values name mine in lower case, and other, which it does not name.
    std::string names = std::string(mine.Name()) + '\0' + edited.Name() + '\0';
    int fillers = 0;
    for (; names.size() + 21 <= 247; ++fillers)
        names += "MirandelFiller" + std::string(6, char('a' + fillers)) + '\0';
    names += std::string(249 - names.size() - 1, 'f') + '\0';
    WriteMulti(kQuarnelKey, "Miniports", names + '\0');
    std::string lower = mine.Name();
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    WriteTexts(HKEY_LOCAL_MACHINE, kRestrictKey, {{lower, "0A08"}, {other.Name(), "1008"}});

    HWND sheet = Show();
    CMiniportList& list = m_sheet->m_MiniList.m_miniports;
    EXPECT_EQ(2 + fillers + 1 + 1, list.GetCount());
    EXPECT_EQ("0A08", list.GetAt(list.FindByService(mine.Name())).m_strRestrictions.str());
    // Another page's edit: "Miniports" stays as it is, so its length does not
    // stop the save, and no miniport is installed.
    TypeText(MiscPage(), IDC_POLLING_RATE, "750");
    ApplyYes();
    EXPECT_EQ(AskedIds(m_responder), "4005");
    EXPECT_EQ(750u, Dword(kQuarnelKey, "StallInterval"));
    const StoredValues parameters = ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey);
    EXPECT_EQ((StoredValue{REG_MULTI_SZ, names + '\0'}), parameters.at("Miniports"));
    for (const char* name : {mine.Name(), other.Name(), edited.Name()})
        EXPECT_EQ(entries[name], ServiceEntry(m_registry, name)) << name;

    // A record changed on the page is installed, once.
    SelectPage(sheet, m_sheet->GetPageIndex(&m_sheet->m_MiniList));
    HWND page = m_sheet->m_MiniList.m_hWnd;
    ClickListRow(page, IDC_MINIPORT_LIST, 0);
    ASSERT_EQ(edited.Name(), ItemText(page, IDC_MINIPORT_SERVICE));
    TypeTexts(page, {IDC_MINIPORT_FILE, IDC_MINIPORT_DESCRIPTION},
              "C:\\Drivers\\edited.sys|Edited anew");
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    ApplyYes();
    ServiceConfig config = QueryServiceConfigOf(edited.Name());
    EXPECT_EQ("Edited anew", config.displayName);
    EXPECT_EQ("System32\\drivers\\edited.sys", config.imagePath);
    m_registry.WithRealRegistry([&] {
        WriteDword(HKEY_LOCAL_MACHINE, ServicePath(edited.Name()).c_str(), "MirandelExtra", 8);
    });
    const StoredValues installed = ServiceEntry(m_registry, edited.Name());
    TypeText(MiscPage(), IDC_POLLING_RATE, "760");
    ApplyYes();
    EXPECT_EQ(installed, ServiceEntry(m_registry, edited.Name()));

    // Names in another order are stored anew, but only once they fit the
    // 256 bytes the driver reads: other, named by its restriction alone,
    // takes them past.
    SelectPage(sheet, m_sheet->GetPageIndex(&m_sheet->m_MiniList));
    ClickListRow(page, IDC_MINIPORT_LIST, 0);
    Click(page, IDC_MINIPORT_MOVE_DOWN);
    m_responder.Answer(IDYES);
    m_responder.Answer(IDOK);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(UINT(IDS_MINIPORTS_TOO_LONG), m_responder.asked.back().id);
    Texts rows = ListRows(page, IDC_MINIPORT_LIST, 1);
    ClickListRow(
        page, IDC_MINIPORT_LIST,
        static_cast<int>(std::find(rows.begin(), rows.end(), other.Name()) - rows.begin()));
    Click(page, IDC_MINIPORT_REMOVE);
    ApplyYes();
    std::string stored = names.substr(names.find('\0') + 1); // without mine
    const std::string first = stored.substr(0, stored.find('\0') + 1);
    stored = stored.substr(first.size());
    const std::string second = stored.substr(0, stored.find('\0') + 1);
    const std::string rest = stored.substr(second.size()) + mine.Name() + '\0' + '\0';
    EXPECT_EQ(second + first + rest,
              ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey).at("Miniports").second);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kRestrictKey, other.Name()));
    // Moved back: as long as before, still another list.
    ClickListRow(page, IDC_MINIPORT_LIST, 1);
    Click(page, IDC_MINIPORT_MOVE_UP);
    ApplyYes();
    EXPECT_EQ(first + second + rest,
              ReadStoredValues(HKEY_LOCAL_MACHINE, kQuarnelKey).at("Miniports").second);
    for (const char* name : {mine.Name(), other.Name()})
        EXPECT_EQ(entries[name], ServiceEntry(m_registry, name)) << name;
}

TEST_F(SaveTest, WhatTheKitCannotTakeIsToldAfterTheSaveAndAStoppedServiceStaysStopped) {
    ASSERT_TRUE(opened);
    // Without the controller library the flags stay as they were, untold.
    WriteDword(HKEY_LOCAL_MACHINE, kVardekKey, "SuppressLedControl", 0);
    ControllerUpdates();
    {
        CHiddenVardekApi hidden;
        ASSERT_TRUE(hidden.IsHidden());
        Build().m_Vardek.m_bSuppressLedControl = 1;
        EXPECT_TRUE(m_sheet->SaveParameters());
        m_sheet.reset();
    }
    EXPECT_EQ(0u, Dword(kVardekKey, "SuppressLedControl"));
    EXPECT_EQ(0u, ControllerUpdates());

    // A stopped system board service stays stopped.
    DWORD starts = MoravikStarts();
    ZorvikSheet& sheet = Build();
    sheet.m_Moravik.m_dwTimeout = 4444;
    EXPECT_TRUE(sheet.SaveParameters());
    EXPECT_EQ(4444u, Dword(kMoravikKey, "Timeout"));
    EXPECT_EQ(DWORD(SERVICE_STOPPED), QueryTestbedServiceState("moravik"));
    EXPECT_EQ(starts, MoravikStarts());

    // Without the service, its key is left as it is.
    TestKit().m_services.Close();
    sheet.m_Moravik.m_dwTimeout = 5555;
    EXPECT_TRUE(sheet.SaveParameters());
    EXPECT_EQ(4444u, Dword(kMoravikKey, "Timeout"));
    TestKit().m_services.Open(nullptr);

    // Keys that cannot be opened for write stop the save before anything is
    // installed, written or told; the changes stay pending.
    ControllerUpdates();
    {
        KeyLock lock(HKEY_LOCAL_MACHINE, kRestrictKey);
        ASSERT_TRUE(lock.Locked());
        m_responder.Answer(IDOK);
        EXPECT_FALSE(sheet.SaveParameters());
        // A load stops as well, silently, and leaves the pages as they were.
        EXPECT_FALSE(sheet.LoadParameters());
    }
    EXPECT_EQ(5555u, sheet.m_Moravik.m_dwTimeout);
    ASSERT_EQ(1u, m_responder.asked.size());
    EXPECT_EQ("Cannot open registry for write", m_responder.asked[0].text);
    EXPECT_EQ(4444u, Dword(kMoravikKey, "Timeout"));
    EXPECT_EQ(0u, ControllerUpdates());
    m_responder.asked.clear();

    // A refused update and a service that does not start again (its stop
    // outlasts the restart's pause) are told in that order, once every value
    // is written.
    ASSERT_TRUE(StartTestbedService("moravik"));
    m_registry.WithRealRegistry(
        [] { WriteDword(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, "StopDelay", 4000); });
    ASSERT_TRUE(quarnel.SetRefuseUpdates(true));
    m_responder.Answer(IDOK);
    m_responder.Answer(IDOK);
    sheet.m_Moravik.m_dwTimeout = 6000;
    EXPECT_TRUE(sheet.SaveParameters());
    m_registry.WithRealRegistry(
        [] { ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_MORAVIK_RECORD_KEY, "StopDelay"); });
    EXPECT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_STOPPED));
    EXPECT_EQ(6000u, Dword(kMoravikKey, "Timeout"));
    ASSERT_EQ(2u, m_responder.asked.size());
    EXPECT_EQ(UINT(IDS_CANNOT_UPDATE_DRIVER), m_responder.asked[0].id);
    EXPECT_EQ(0u, m_responder.asked[1].text.find("The parameters have been saved, but the "
                                                 "service \"moravik\" was stopped to take them "
                                                 "up and could not be started again: "));
    for (const AskedMessage& asked : m_responder.asked)
        EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), asked.type);
}

TEST_F(MiniportInstallTest, AServiceIsKeptWhileItsEntryMatchesAndMadeAnewWithItsFileOtherwise) {
    const std::string name = UniqueServiceName("MirandelChanged");
    const std::string image = "System32\\drivers\\" + name + ".sys";
    ScratchService service(name, image, "Old description");
    char temp[MAX_PATH], system[MAX_PATH];
    ::GetTempPathA(sizeof(temp), temp);
    ::GetSystemDirectoryA(system, sizeof(system));
    const std::string chosen = std::string(temp) + name + ".sys";
    const std::string copied = std::string(system) + "\\drivers\\" + name + ".sys";
    WriteFileText(chosen, "MZ-sample");
    ::DeleteFileA(copied.c_str());
    // Made anew, a service takes a second's pause. A record without a file
    // (known by its restriction alone) leaves the service as it is.
    EXPECT_LT(Install({{"", name, image, "Old description"}, {"1008", name, " ", ""}}), 1000u);
    EXPECT_GE(Install({{"", name, image, "New description"}}), 1000u);
    EXPECT_EQ("New description", QueryServiceConfigOf(name).displayName);

    // A chosen file, a full path whose text differs from any image path, is
    // copied and named by its relative path.
    Install({{"", name, chosen, "Copied", 1}});
    ServiceConfig config = QueryServiceConfigOf(name);
    EXPECT_EQ(DWORD(SERVICE_DISABLED), config.startType);
    EXPECT_EQ(image, config.imagePath);
    EXPECT_EQ("Copied", config.displayName);
    EXPECT_EQ(9u, FileSize(copied));
    // Another file of that name is replaced only when the user says so, and
    // with No the file and the service stay as they are.
    WriteFileText(chosen, "MZ-newer");
    m_responder.Answer(IDNO);
    Install({{"", name, chosen, "Newer", 1}});
    ASSERT_EQ(1u, m_responder.asked.size());
    const AskedMessage& question = m_responder.asked[0];
    EXPECT_EQ(UINT(MB_ICONQUESTION | MB_YESNO), question.type);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, std::string(system) + "\\drivers", question.text);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, chosen, question.text);
    EXPECT_EQ("Copied", QueryServiceConfigOf(name).displayName);
    EXPECT_EQ(9u, FileSize(copied));
    m_responder.Answer(IDYES);
    Install({{"", name, chosen, "Newer", 1}});
    EXPECT_EQ(2u, m_responder.asked.size());
    EXPECT_EQ("Newer", QueryServiceConfigOf(name).displayName);
    EXPECT_EQ(8u, FileSize(copied));
    ::DeleteFileA(chosen.c_str());
    ::DeleteFileA(copied.c_str());
}

TEST_F(MiniportInstallTest, WhatCannotBeInstalledIsToldByNameAndTheNextIsStillInstalled) {
    ScratchService held(UniqueServiceName("MirandelHeld"), "System32\\drivers\\held.sys", "Held");
    ScratchService refused(UniqueServiceName("MirandelLongCopy"), "System32\\drivers\\old.sys",
                           "Old");
    ScratchService next(UniqueServiceName("MirandelNext"));
    // Someone keeps the service open: deleting it only marks it, and the
    // new one cannot be created.
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE handle = ::OpenServiceA(manager, held.Name(), SERVICE_QUERY_STATUS);
    ASSERT_NE(nullptr, handle);
    // The shell copies from a path of at most 258 characters.
    const std::string longDir = "C:\\" + std::string(250, 'd') + "\\";
    m_responder.Answer(IDOK);
    m_responder.Answer(IDOK);
    // A record stored without a service name is passed over, untold.
    Install({{"", "", "C:\\drivers\\unnamed.sys", "Unnamed"},
             {"", held.Name(), "C:\\drivers\\held.sys", "Held again"},
             {"", refused.Name(), longDir + "copied.sys", "Long", 1},
             {"", next.Name(), longDir + std::string(600, 'n') + ".sys", "Next"}});
    ::CloseServiceHandle(handle);
    ::CloseServiceHandle(manager);
    // The two that failed stay to be installed by the next save.
    EXPECT_EQ(std::string(held.Name()) + " " + refused.Name() + " ", m_left);

    ASSERT_EQ(2u, m_responder.asked.size());
    const std::string first = m_responder.asked[0].text, second = m_responder.asked[1].text;
    EXPECT_PRED_FORMAT2(testing::IsSubstring, '"' + std::string(held.Name()) + '"', first);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, std::to_string(ERROR_SERVICE_MARKED_FOR_DELETE),
                        first);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, '"' + std::string(refused.Name()) + '"', second);
    EXPECT_PRED_FORMAT2(testing::IsSubstring, "258", second);
    // Nothing of the refused miniport changed; the next one, not copied, is
    // named by its file alone, however long its path.
    EXPECT_EQ("System32\\drivers\\old.sys", QueryServiceConfigOf(refused.Name()).imagePath);
    EXPECT_EQ("System32\\drivers\\" + std::string(600, 'n') + ".sys",
              QueryServiceConfigOf(next.Name()).imagePath);
}
