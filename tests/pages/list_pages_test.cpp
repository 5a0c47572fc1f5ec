// The list pages. The stand-in driver's bus 1 has path 08: 0A08 is bus 1,
// device 1, function 2; 191008 is bus 2, device 3, function 1.
#include "support/sheet_fixture.h"

#include <algorithm>

#include "res/resource.h"
#include "support/driver_connection.h"
#include "support/testbed_vardek_client.h"

namespace {
const std::vector<int> kSlotFields = {IDC_PHYSICAL_SLOT, IDC_SLOT_PATH, IDC_BUS, IDC_DEVICE,
                                      IDC_FUNCTION};
// The slot path, then From, To, Size and Alignment of each window.
const std::vector<int> kBridgeFields = {IDC_SLOT_PATH, IDC_IO_FROM,   IDC_IO_TO,   IDC_IO_SIZE,
                                        IDC_IO_ALIGN,  IDC_MEM_FROM,  IDC_MEM_TO,  IDC_MEM_SIZE,
                                        IDC_MEM_ALIGN, IDC_PREF_FROM, IDC_PREF_TO, IDC_PREF_SIZE,
                                        IDC_PREF_ALIGN};

// Vendor, device, subsystem vendor, subsystem, revision, then BAR 0 to BAR 5.
const std::vector<int> kDevResFields = {
    IDC_DEVRES_VENDOR_ID,    IDC_DEVRES_DEVICE_ID,   IDC_DEVRES_SUBSYSTEM_VENDOR_ID,
    IDC_DEVRES_SUBSYSTEM_ID, IDC_DEVRES_REVISION_ID, IDC_DEVRES_BAR0,
    IDC_DEVRES_BAR1,         IDC_DEVRES_BAR2,        IDC_DEVRES_BAR3,
    IDC_DEVRES_BAR4,         IDC_DEVRES_BAR5};

class LocationPageTest : public DriverConnection, public SheetTest {
protected:
    // The slots (0) or the bridges (1) page of a sheet built anew.
    HWND Page(int index) {
        EXPECT_TRUE(opened) << "the stand-in driver";
        m_sheet.reset();
        SelectPage(Show(), index);
        m_fields = index ? kBridgeFields : kSlotFields;
        return m_sheet->GetActivePage()->m_hWnd;
    }
    void Add(HWND page, const char* texts) {
        TypeTexts(page, m_fields, texts);
        Click(page, IDC_ADD_UPDATE);
    }
    std::vector<int> m_fields;
};
using SlotsPageTest = LocationPageTest;
using BridgesPageTest = LocationPageTest;
} // namespace

TEST_F(SlotsPageTest, RowsSortByNumberTypingConvertsAndBadEntriesAreRefusedInOrder) {
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "8", "1808");
    HWND page = Page(0);
    // A number replaces its row, else a slot its row; 10 replaces 10, not 5.
    for (const char* entry :
         {"3|0A08", "3|191008", "5|191008", "10|0A08", "100|", "9|", "10|191008"})
        Add(page, entry);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST),
              (Texts{"5|191008|2/3/1", "8|1808|1/3/0", "9||", "10|191008|2/3/1", "100||"}));
    // Nothing was selected: the fields keep what was typed.
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), -1);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "10|191008|2|3|1");
    ClickListRow(page, IDC_SLOT_LIST, 2, true);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "9||||");
    // The selection stays at its index, and shows the row now there.
    Add(page, "0|1908");
    EXPECT_EQ(ItemTexts(page, kSlotFields), "8|1808|1|3|0");
    Add(page, "8|0A08");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST)[2], "8|0A08|1/1/2");
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), 2);
    // Keys select rows and the fields follow them as a click's do; removing
    // the last row selects and shows the new last row.
    ClickListRow(page, IDC_SLOT_LIST, 2);
    std::string shown;
    for (UINT key : {VK_HOME, VK_DOWN, VK_END, VK_UP, VK_DOWN}) {
        PressKey(m_sheet->m_hWnd, key);
        shown += ItemText(page, IDC_PHYSICAL_SLOT) + " ";
    }
    EXPECT_EQ(shown, "0 5 100 10 100 ");
    Click(page, IDC_REMOVE);
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), 4);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "10|191008|2|3|1");
    // A click on empty space empties the fields; Remove then does nothing.
    ClickListRow(page, IDC_SLOT_LIST, -1);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "||||");
    Click(page, IDC_REMOVE);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST).size(), 5u);
    // Reload shows the registry's rows; removing the only row empties the fields.
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, IDC_RELOAD);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST), Texts{"8|1808|1/3/0"});
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));
    ClickListRow(page, IDC_SLOT_LIST, 0);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "||||");

    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "7", "2008"); // two paths to resolve at the load
    page = Page(0);
    // 0A alone is bus 0 (the host bus, whose path is empty), device 1, function 2.
    std::string triples;
    for (const char* path : {"0", "0A", "0A0", "0A08", "*191008"}) {
        TypeText(page, IDC_SLOT_PATH, path);
        triples += ItemTexts(page, {IDC_BUS, IDC_DEVICE, IDC_FUNCTION}) + " ";
    }
    EXPECT_EQ(triples, "|| 0|1|2 || 1|1|2 2|3|1 ");
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd)); // typing is no edit of the list
    // The location is tested before the number; a refusal keeps the entry.
    for (const char* entry :
         {"1|0A08", "|0A0", "3|0A0G", "3|*0A08", " |", "3a|0A08", "2147483648|0A08", "-3|0A08"})
        Add(page, entry);
    EXPECT_TRUE(IsApplyEnabled(m_sheet->m_hWnd));
    EXPECT_EQ(ItemTexts(page, {IDC_PHYSICAL_SLOT, IDC_SLOT_PATH}), "-3|0A08");
    // Only a whole triple in range shows a path; at Add/Update the conversion
    // (no bus 9; any device of bus 1) comes before the ranges.
    Click(page, IDC_ENTRY_BDF);
    EXPECT_EQ(Enabled(page, {IDC_SLOT_PATH, IDC_BUS}), "01");
    std::string paths;
    for (const char* triple : {"||", "2||", "2|3|", "2|3|1", "0x1|3|1", "9|3|1", "1|32|1"}) {
        TypeTexts(page, {IDC_BUS, IDC_DEVICE, IDC_FUNCTION}, triple);
        paths += ItemText(page, IDC_SLOT_PATH) + " ";
    }
    EXPECT_EQ(paths, "   191008 1908   ");
    for (const char* entry : {"7||9||0", "7||1|32|0", "7||1|1|8", "||1|1|2", "4||2|3|1"})
        Add(page, entry);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST),
              (Texts{"1|0A08|1/1/2", "4|191008|2/3/1", "7|2008|1/4/0", "8|1808|1/3/0"}));
    // Without the driver Bus/Device/Function is refused; slot paths still add.
    Click(page, IDC_ENTRY_SLOT_PATH);
    TestKit().m_driver.Close();
    Click(page, IDC_ENTRY_BDF);
    EXPECT_EQ(AskedIds(m_responder),
              "4011 4024 4022 4024 4026 4027 4069 4027 4021 4025 4025 4026 4023");
    EXPECT_EQ(m_responder.m_beeps, 11);
    for (size_t i = 1; i < m_responder.asked.size(); ++i)
        EXPECT_EQ(m_responder.asked[i].type, UINT(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(Checked(page, {IDC_ENTRY_SLOT_PATH, IDC_ENTRY_BDF}), "10");
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page, IDC_ENTRY_SLOT_PATH));
    EXPECT_EQ(Enabled(page, {IDC_SLOT_PATH, IDC_BUS, IDC_DEVICE, IDC_FUNCTION}), "1000");
    Add(page, "3|1A08");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST),
              (Texts{"1|0A08|1/1/2", "3|1A08|", "4|191008|2/3/1", "7|2008|1/4/0", "8|1808|1/3/0"}));
}

TEST_F(SlotsPageTest, ANumberIsOneSlotHoweverItsValuesSpellIt) {
    WriteTexts(HKEY_LOCAL_MACHINE, kSlotsKey, {{"7", "0A08"}, {"07", "0B08"}, {"8", "1808"}});
    HWND page = Page(0);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST, 1), (Texts{"7", "7", "8"}));
    // Add/Update of 7 replaces both rows of 7; Apply stores it under "7".
    Add(page, "7|0C08");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST, 2), (Texts{"7|0C08", "8|1808"}));
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    EXPECT_EQ(SzValues({{"7", "0C08"}, {"8", "1808"}}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
    // Remove takes out the selected row's own value.
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "07", "0B08");
    page = Page(0);
    Texts rows = ListRows(page, IDC_SLOT_LIST, 2);
    ClickListRow(page, IDC_SLOT_LIST,
                 static_cast<int>(std::find(rows.begin(), rows.end(), "7|0B08") - rows.begin()));
    Click(page, IDC_REMOVE);
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    EXPECT_EQ(SzValues({{"7", "0C08"}, {"8", "1808"}}),
              ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey));
    EXPECT_EQ(AskedIds(m_responder), "4005 4005");
}

TEST_F(BridgesPageTest, EntriesAreRefusedInOrderGoInByPathMoveAndNeedTheLibraryForTheSwitch) {
    HWND page = Page(1);
    EXPECT_EQ(ItemTexts(page, kBridgeFields), "|0x0000|0xFFFF|0x1000|0x1000|0x00000000|0xFFFFFFFF|"
                                              "0x00100000|0x00100000|0x00000000|0xFFFFFFFF|"
                                              "0x00100000|0x00100000");
    EXPECT_EQ(Checked(page, {IDC_NO_RESET}), "1");
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(page, IDC_NO_RESET)));
    // A star may lead the path; the I/O alignment comes before the number tests.
    for (const char* entry :
         {"0A0|0x800", "0A0G|0x0", "*0A0", "0A08|0x800", "0A08|0x0||0x800", "0A08|0x0||",
          "0A08|0x0|to|0X1000", "0A08|0x0|0xFFFF|0X1000|0x1000|",
          "0A08|0x0|0xFFFF|0X1000|0x1000|0|0xFFFFFFFF|0x100000|0x100000|0|0xFFFFFFFF|0x100000| "})
        Add(page, entry);
    EXPECT_EQ(m_responder.asked[7].text,
              "From of the Memory window should be a number (decimal, or hexadecimal after 0x)");
    // 4096 is aligned, 0X1000 reads as 0; the new row is shown in "0x%X" form.
    Add(page, "0A08|4096|0xFFFF|0X1000|0x1000|0|0xFFFFFFFF|0x100000|0x100000|0|0xFFFFFFFF|"
              "0x100000|0x100000");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST),
              Texts{"0A08|(0,1000,ffff)|100000|100000|1/1/2|No|Yes"});
    EXPECT_EQ(ItemTexts(page, kBridgeFields),
              "0A08|0x1000|0xFFFF|0x0|0x1000|0x0|0xFFFFFFFF|0x100000|0x100000|0x0|0xFFFFFFFF|"
              "0x100000|0x100000");
    // Bus/Device/Function: the driver's answer comes before the ranges.
    Click(page, IDC_ENTRY_BDF);
    for (const char* triple : {"1|1|8", "9|1|8", "1|1|3|0|0x1000"}) {
        TypeTexts(page, {IDC_BUS, IDC_DEVICE, IDC_FUNCTION, IDC_IO_FROM, IDC_IO_SIZE}, triple);
        Click(page, IDC_ADD_UPDATE);
    }
    EXPECT_EQ(AskedIds(m_responder), "4024 4022 4024 4029 4029 4029 4067 4067 4067 4025 4021");
    EXPECT_EQ(m_responder.m_beeps, 11);
    for (const AskedMessage& asked : m_responder.asked)
        EXPECT_EQ(asked.type, UINT(MB_OK | MB_ICONSTOP));
    // A slot is replaced in place; new records go in by path, those without
    // one after the others; a starred path is a slot of its own.
    Click(page, {IDC_ENTRY_SLOT_PATH, IDC_DYNAMIC_BUS, IDC_NO_RESET});
    for (const char* entry :
         {"0A08|0x2000|0x7FFF|0x1000|0x1000|0|0xFFFFFFFF|0x100000|0x1000|0|0xFFFF",
          "|0x2000|0x7FFF|0x3000", "|0x2000|0x7FFF|0x4000", "*0A08|0x2000|0x7FFF|0x3000"})
        Add(page, entry);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST),
              (Texts{"|(3000,2000,7fff)|100000:1000|(100000,0,ffff)||Yes|No",
                     "|(4000,2000,7fff)|100000:1000|(100000,0,ffff)||Yes|No",
                     "*0A08|(3000,2000,7fff)|100000:1000|(100000,0,ffff)|1/1/2|Yes|No",
                     "0A08|(1000,2000,7fff)|100000:1000|(100000,0,ffff)|1/1/2|Yes|No",
                     "0B08|1000|100000|100000|1/1/3|No|Yes"}));

    // The moved row stays selected and shown; at an end nothing moves.
    page = Page(1);
    for (const char* path : {"0A08", "0B08", "0C08"})
        Add(page, path);
    m_sheet->m_Res.SetModified(FALSE);
    std::string moves;
    for (int id :
         {IDC_MOVE_DOWN, IDC_MOVE_DOWN, IDC_MOVE_DOWN, IDC_MOVE_UP, IDC_MOVE_UP, IDC_MOVE_UP}) {
        Click(page, id);
        for (const std::string& path : ListRows(page, IDC_SLOT_LIST, 1))
            moves += path + " ";
        moves += std::to_string(SelectedRow(page, IDC_SLOT_LIST)) + ":" +
                 ItemText(page, IDC_SLOT_PATH) + "\n";
    }
    EXPECT_EQ(moves, "0B08 0A08 0C08 1:0A08\n0B08 0C08 0A08 2:0A08\n0B08 0C08 0A08 2:0A08\n"
                     "0B08 0A08 0C08 1:0A08\n0A08 0B08 0C08 0:0A08\n0A08 0B08 0C08 0:0A08\n");
    EXPECT_TRUE(IsApplyEnabled(m_sheet->m_hWnd));
    EXPECT_EQ(m_responder.m_beeps, 11); // the refusals' only
    // No selection: the default fields, and a move only beeps.
    ClickListRow(page, IDC_SLOT_LIST, -1);
    EXPECT_EQ(ItemTexts(page, kBridgeFields), "|0x0|0xFFFF|0x1000|0x1000|0x0|0xFFFFFFFF|0x100000|"
                                              "0x100000|0x0|0xFFFFFFFF|0x100000|0x100000");
    Click(page, {IDC_MOVE_UP, IDC_MOVE_DOWN});
    EXPECT_EQ(m_responder.m_beeps, 13);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST, 1), (Texts{"0A08", "0B08", "0C08"}));
    // Remove selects the row in its place or the new last; the only row
    // leaves its fields.
    ClickListRow(page, IDC_SLOT_LIST, 2);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), 1);
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0B08");
    ClickListRow(page, IDC_SLOT_LIST, 0);
    Click(page, {IDC_REMOVE, IDC_REMOVE, IDC_REMOVE});
    EXPECT_TRUE(ListRows(page, IDC_SLOT_LIST).empty());
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0B08");

    // Without the controller library the switch is hidden and off when entered.
    CHiddenVardekApi hidden;
    ASSERT_TRUE(hidden.IsHidden());
    for (const char* path : {"0A08", "0B08"}) {
        WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, path, "1000,100000,100000");
        WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, path, "");
    }
    page = Page(1);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page, IDC_NO_RESET)));
    EXPECT_EQ(ColumnWidth(page, IDC_SLOT_LIST, 6), 0);
    EXPECT_GT(ColumnWidth(page, IDC_SLOT_LIST, 5), 0);
    Add(page, "0B08");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST), (Texts{"0A08|1000|100000|100000|1/1/2|No|Yes",
                                                    "0B08|1000|100000|100000|1/1/3|No|No"}));
}

TEST_F(SheetTest, DeviceRequirementsAreCheckedMergedPerIdentityAndStoredInIdentityOrder) {
    using namespace std::string_literals;
    WriteRaw(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_9999&DEV_0001", REG_MULTI_SZ,
             "0:1\0\0", 5);
    HWND sheet = Show();
    SelectPage(sheet, m_sheet->GetPageIndex(&m_sheet->m_DevRes));
    HWND page = m_sheet->m_DevRes.m_hWnd;
    // Without a selection the first row is selected and shown.
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST), Texts{"PCI\\VEN_9999&DEV_0001|0:1"});
    EXPECT_EQ(ItemTexts(page, kDevResFields), "9999|0001||||1|||||");

    // Every field bad; fixing one at a time brings up the next message.
    auto enter = [&](const char* fields) {
        TypeTexts(page, kDevResFields, fields);
        Click(page, IDC_DEVRES_ADD_UPDATE);
    };
    for (const char* fields :
         {"FFFF|10000|1 2|x|100||||1000h", "1ABC", "1ABC|", "1ABC||0x1ABC", "1ABC||0x1ABC| 3c5e ",
          "1ABC||0x1ABC| 3c5e |FF", "1ABC||0x1ABC| 3c5e |FF||||0", "|||||1", "0", "10000"})
        enter(fields);
    EXPECT_EQ(AskedIds(m_responder), "4030 4031 4032 4033 4033 4034 4035 4030 4030 4030");
    for (const AskedMessage& asked : m_responder.asked)
        EXPECT_EQ(asked.type, UINT(MB_OK | MB_ICONERROR));
    EXPECT_EQ(m_responder.m_beeps, 10);
    EXPECT_EQ(m_responder.asked[0].text,
              "Invalid Vendor ID (must fit in 16 bits and cannot be 0 or FFFF) ");
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST).size(), 1u);
    EXPECT_FALSE(IsApplyEnabled(sheet));

    enter("0x2000|1||||1000||FFF00000|||");
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST)[0], "PCI\\VEN_2000&DEV_0001|0:1000;2:FFF00000");
    EXPECT_TRUE(IsApplyEnabled(sheet));
    // The last entry of an identity replaces every BAR of it.
    for (const char* fields : {"1ABC|2DEF|1ABC|||10|||||", "1ABC|2DEF|||0b|20|||||",
                               "1ABC|2DEF||||30|||||7", "2000|1|||||FFFFFFFFF||||"})
        enter(fields);
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST),
              (Texts{"PCI\\VEN_1ABC&DEV_2DEF|0:30;5:7", "PCI\\VEN_1ABC&DEV_2DEF&REV_0B|0:20",
                     "PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00001ABC|0:10",
                     "PCI\\VEN_2000&DEV_0001|1:FFFFFFFF", "PCI\\VEN_9999&DEV_0001|0:1"}));
    // The fields and the selection show the record just replaced.
    EXPECT_EQ(SelectedRow(page, IDC_DEVRES_LIST), 3);
    EXPECT_EQ(ItemTexts(page, kDevResFields), "2000|0001|||||FFFFFFFF||||");

    ClickListRow(page, IDC_DEVRES_LIST, 2);
    EXPECT_EQ(ItemTexts(page, kDevResFields), "1ABC|2DEF|1ABC|0000||10|||||");
    PressKey(sheet, VK_UP);
    EXPECT_EQ(ItemTexts(page, kDevResFields), "1ABC|2DEF|||0B|20|||||");
    ClickListRow(page, IDC_DEVRES_LIST, -1); // beside the rows
    EXPECT_EQ(ItemTexts(page, kDevResFields), "||||||||||");
    // Removing the last row selects and shows the new last row.
    ClickListRow(page, IDC_DEVRES_LIST, 4);
    Click(page, IDC_DEVRES_REMOVE);
    EXPECT_EQ(SelectedRow(page, IDC_DEVRES_LIST), 3);
    EXPECT_EQ(ItemTexts(page, kDevResFields), "2000|0001|||||FFFFFFFF||||");

    // Apply stores exactly the list, value after value in identity order.
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(m_responder.asked.size(), 11u);
    StoredValues expected = {
        {"PCI\\VEN_1ABC&DEV_2DEF",
         {REG_MULTI_SZ, "0:30\0"
                        "5:7\0\0"s}},
        {"PCI\\VEN_1ABC&DEV_2DEF&REV_0B", {REG_MULTI_SZ, "0:20\0\0"s}},
        {"PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00001ABC", {REG_MULTI_SZ, "0:10\0\0"s}},
        {"PCI\\VEN_2000&DEV_0001", {REG_MULTI_SZ, "1:FFFFFFFF\0\0"s}}};
    EXPECT_EQ(ReadStoredValues(HKEY_LOCAL_MACHINE, kRequirementsKey), expected);
    Texts names, sorted; // in the order the key holds them, and by name
    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRequirementsKey, 0, KEY_READ, &key), 0);
    char name[256];
    for (DWORD i = 0, n = sizeof(name);
         ::RegEnumValueA(key, i, name, &n, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, n = sizeof(name))
        names.push_back(name);
    ::RegCloseKey(key);
    for (const auto& value : expected)
        sorted.push_back(value.first);
    EXPECT_EQ(names, sorted);

    // The reload notification rebuilds the rows and shows the selected one.
    m_sheet->m_DevRes.m_requirements.RemoveTail();
    CDeviceRequirement bare;
    ASSERT_TRUE(bare.ParseIdentityText("VEN_FFFF&DEV_1"));
    m_sheet->m_DevRes.m_requirements.Add(bare, true);
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST).back(), "PCI\\VEN_FFFF&DEV_0001|");
    EXPECT_EQ(ItemTexts(page, kDevResFields), "FFFF|0001|||||||||");
}
