// The Physical slot numbering and Bridge Resource Requirements pages against
// the stand-in hot-swap driver (bus 1's path is 08: 0A08 is bus 1, device 1,
// function 2; 191008 is bus 2, device 3, function 1) and controller library.
#include "support/sheet_fixture.h"

#include "res/resource.h"
#include "support/driver_connection.h"
#include "support/testbed_vardek_client.h"

namespace {
using Rows = std::vector<std::string>;
const std::vector<int> kSlotFields = {IDC_PHYSICAL_SLOT, IDC_SLOT_PATH, IDC_BUS, IDC_DEVICE,
                                      IDC_FUNCTION};
// The slot path, then From, To, Size and Alignment of each window: I/O,
// memory, prefetchable memory.
const std::vector<int> kBridgeFields = {IDC_SLOT_PATH, IDC_IO_FROM,   IDC_IO_TO,   IDC_IO_SIZE,
                                        IDC_IO_ALIGN,  IDC_MEM_FROM,  IDC_MEM_TO,  IDC_MEM_SIZE,
                                        IDC_MEM_ALIGN, IDC_PREF_FROM, IDC_PREF_TO, IDC_PREF_SIZE,
                                        IDC_PREF_ALIGN};

class LocationPageTest : public DriverConnection, public SheetTest {
protected:
    // The sheet shown on the slots (0) or the bridges (1) page.
    HWND Page(int index) {
        Show();
        SelectPage(m_sheet->m_hWnd, index);
        m_fields = index ? kBridgeFields : kSlotFields;
        return m_sheet->GetActivePage()->m_hWnd;
    }
    // The first fields typed, then Add/Update.
    void Add(HWND page, const char* texts) {
        TypeTexts(page, m_fields, texts);
        Click(page, IDC_ADD_UPDATE);
    }
    std::vector<int> m_fields;
};
using SlotsPageTest = LocationPageTest;
using BridgesPageTest = LocationPageTest;
} // namespace

TEST_F(SlotsPageTest, TypingConvertsInTheChosenModeAndBadEntriesAreRefusedInOrder) {
    ASSERT_TRUE(opened);
    HWND page = Page(0);
    EXPECT_EQ(Enabled(page, {IDC_SLOT_PATH, IDC_BUS}), "10");
    // 0A alone is bus 0 (the host bus, whose path is empty), device 1, function 2.
    std::string triples;
    for (const char* path : {"0", "0A", "0A0", "0A08", "*191008"}) {
        TypeText(page, IDC_SLOT_PATH, path);
        triples += ItemTexts(page, {IDC_BUS, IDC_DEVICE, IDC_FUNCTION}) + " ";
    }
    EXPECT_EQ(triples, "|| 0|1|2 || 1|1|2 2|3|1 ");
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd)); // typing is no edit of the list
    // The location is tested before the number; a refusal keeps the entry.
    for (const char* entry : {"1|0A08", "|0A0", "3|0A0G", "3|*0A08", " |", "3a|0A08", "-3|0A08"})
        Add(page, entry);
    EXPECT_TRUE(IsApplyEnabled(m_sheet->m_hWnd));
    EXPECT_EQ(ItemTexts(page, {IDC_PHYSICAL_SLOT, IDC_SLOT_PATH}), "-3|0A08");

    // By Bus/Device/Function only a whole triple in range shows its path;
    // the conversion comes before the ranges (the stand-in knows no bus 9 and
    // forms a path for any device on bus 1).
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
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST), (Rows{"1|0A08|1/1/2", "4|191008|2/3/1"}));

    // Without the driver Bus/Device/Function is refused, slot paths still add.
    Click(page, IDC_ENTRY_SLOT_PATH);
    TestKit().m_driver.Close();
    Click(page, IDC_ENTRY_BDF);
    EXPECT_EQ(AskedIds(m_responder), "4024 4022 4024 4026 4027 4027 4021 4025 4025 4026 4023");
    EXPECT_EQ(m_responder.m_beeps, 10);
    for (const AskedMessage& asked : m_responder.asked)
        EXPECT_EQ(asked.type, UINT(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(Checked(page, {IDC_ENTRY_SLOT_PATH, IDC_ENTRY_BDF}), "10");
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page, IDC_ENTRY_SLOT_PATH));
    EXPECT_EQ(Enabled(page, {IDC_SLOT_PATH, IDC_BUS, IDC_DEVICE, IDC_FUNCTION}), "1000");
    Add(page, "3|1A08");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST), (Rows{"1|0A08|1/1/2", "3|1A08|", "4|191008|2/3/1"}));
}

TEST_F(SlotsPageTest, RowsSortByNumberReplaceByNumberThenBySlotAndKeepTheSelectionInPlace) {
    ASSERT_TRUE(opened);
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "8", "1808");
    HWND page = Page(0);
    // 3 replaces 3; 5 replaces the row of its slot; 10 the row of its
    // number, not the one of its slot.
    for (const char* entry :
         {"3|0A08", "3|191008", "5|191008", "10|0A08", "100|", "9|", "10|191008"})
        Add(page, entry);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST),
              (Rows{"5|191008|2/3/1", "8|1808|1/3/0", "9||", "10|191008|2/3/1", "100||"}));
    // Nothing was selected: the fields keep what was typed.
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), -1);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "10|191008|2|3|1");

    ClickListRow(page, IDC_SLOT_LIST, 2, true);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "9||||");
    // Add/Update with the third row selected: the third row of the new
    // order; an update of its number keeps the row in place, selected.
    Add(page, "0|1908");
    EXPECT_EQ(ItemTexts(page, kSlotFields), "8|1808|1|3|0");
    Add(page, "8|0A08");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST)[2], "8|0A08|1/1/2");
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), 2);
    // Removing the selected last row selects and shows the new last row.
    ClickListRow(page, IDC_SLOT_LIST, 5);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), 4);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "10|191008|2|3|1");
    // A click on empty space empties the fields; Remove then does nothing.
    ClickListRow(page, IDC_SLOT_LIST, -1);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "||||");
    Click(page, IDC_REMOVE);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST).size(), 5u);
    EXPECT_TRUE(m_responder.asked.empty());

    // Reload shows the registry's rows again; removing the only row empties
    // the fields.
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, IDC_RELOAD);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST), Rows{"8|1808|1/3/0"});
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));
    ClickListRow(page, IDC_SLOT_LIST, 0);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(ItemTexts(page, kSlotFields), "||||");
}

TEST_F(BridgesPageTest, EntriesAreRefusedInOrderReplaceInPlaceAndNewOnesGoInByPath) {
    ASSERT_TRUE(opened);
    HWND page = Page(1);
    EXPECT_EQ(ItemTexts(page, kBridgeFields), "|0x0000|0xFFFF|0x1000|0x1000|0x00000000|0xFFFFFFFF|"
                                              "0x00100000|0x00100000|0x00000000|0xFFFFFFFF|"
                                              "0x00100000|0x00100000");
    EXPECT_EQ(Checked(page, {IDC_NO_RESET}), "1");
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(page, IDC_NO_RESET)));

    // A star may lead the slot path; the I/O window's alignment is tested
    // before the other fields, each of which must hold a number.
    for (const char* entry :
         {"0A0|0x800", "0A0G|0x0", "*0A0", "0A08|0x800", "0A08|0x0||0x800", "0A08|0x0||",
          "0A08|0x0|to|0X1000", "0A08|0x0|0xFFFF|0X1000|0x1000|",
          "0A08|0x0|0xFFFF|0X1000|0x1000|0|0xFFFFFFFF|0x100000|0x100000|0|0xFFFFFFFF|0x100000| "})
        Add(page, entry);
    std::string names;
    for (size_t i = 6; i < m_responder.asked.size(); ++i)
        names += m_responder.asked[i].text.substr(0, 28) + "|";
    EXPECT_EQ(names, "To of the I/O space window s|From of the Memory window sh|Alignment of the "
                     "Prefetchabl|");
    EXPECT_EQ(m_responder.asked[7].text,
              "From of the Memory window should be a number (decimal, or hexadecimal after 0x)");
    // 4096 is aligned, and 0X1000 reads as 0. The new row is selected and
    // shown in the "0x%X" form.
    Add(page, "0A08|4096|0xFFFF|0X1000|0x1000|0|0xFFFFFFFF|0x100000|0x100000|0|0xFFFFFFFF|"
              "0x100000|0x100000");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST), Rows{"0A08|(0,1000,ffff)|100000|100000|1/1/2|No|Yes"});
    EXPECT_TRUE(IsApplyEnabled(m_sheet->m_hWnd));
    EXPECT_EQ(ItemTexts(page, kBridgeFields),
              "0A08|0x1000|0xFFFF|0x0|0x1000|0x0|0xFFFFFFFF|0x100000|0x100000|0x0|0xFFFFFFFF|"
              "0x100000|0x100000");
    // Bus/Device/Function: the driver's answer comes before the ranges.
    Click(page, IDC_ENTRY_BDF);
    for (const char* triple : {"1|1|8", "9|1|8", "1|1|3|0|0x1000"}) {
        TypeTexts(page, {IDC_BUS, IDC_DEVICE, IDC_FUNCTION, IDC_IO_FROM, IDC_IO_SIZE}, triple);
        Click(page, IDC_ADD_UPDATE);
    }
    EXPECT_EQ(AskedIds(m_responder), "4024 4022 4024 4029 4029 4029 0 0 0 4025 4021");
    EXPECT_EQ(m_responder.m_beeps, 11);
    for (const AskedMessage& asked : m_responder.asked)
        EXPECT_EQ(asked.type, UINT(MB_OK | MB_ICONSTOP));

    // The same slot is replaced in place, with windows in every form; a
    // record without a location goes in after the others without one, ahead
    // of the rest; a starred path is another slot than its unstarred one, and
    // sorts before it.
    Click(page, {IDC_ENTRY_SLOT_PATH, IDC_DYNAMIC_BUS, IDC_NO_RESET});
    for (const char* entry :
         {"0A08|0x2000|0x7FFF|0x1000|0x1000|0|0xFFFFFFFF|0x100000|0x1000|0|0xFFFF",
          "|0x2000|0x7FFF|0x3000", "|0x2000|0x7FFF|0x4000", "*0A08|0x2000|0x7FFF|0x3000"})
        Add(page, entry);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST),
              (Rows{"|(3000,2000,7fff)|100000:1000|(100000,0,ffff)||Yes|No",
                    "|(4000,2000,7fff)|100000:1000|(100000,0,ffff)||Yes|No",
                    "*0A08|(3000,2000,7fff)|100000:1000|(100000,0,ffff)|1/1/2|Yes|No",
                    "0A08|(1000,2000,7fff)|100000:1000|(100000,0,ffff)|1/1/2|Yes|No",
                    "0B08|1000|100000|100000|1/1/3|No|Yes"}));
}

TEST_F(BridgesPageTest, MovesAndRemoveCarryTheSelectionAndTheSwitchNeedsTheLibrary) {
    ASSERT_TRUE(opened);
    HWND page = Page(1);
    HWND sheet = m_sheet->m_hWnd;
    Add(page, "0A08");
    Click(page, {IDC_DYNAMIC_BUS, IDC_NO_RESET});
    Add(page, "0B08|0x2000|0x7FFF");
    Add(page, "0C08");
    m_sheet->m_Res.SetModified(FALSE);
    // The moved row stays selected and shown; at an end nothing moves.
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
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_EQ(m_responder.m_beeps, 0);
    // No selection: the default fields, and a move only beeps.
    ClickListRow(page, IDC_SLOT_LIST, -1);
    EXPECT_EQ(ItemTexts(page, kBridgeFields), "|0x0|0xFFFF|0x1000|0x1000|0x0|0xFFFFFFFF|0x100000|"
                                              "0x100000|0x0|0xFFFFFFFF|0x100000|0x100000");
    Click(page, {IDC_MOVE_UP, IDC_MOVE_DOWN});
    EXPECT_EQ(m_responder.m_beeps, 2);
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST, 1), (Rows{"0A08", "0B08", "0C08"}));

    // Remove selects the row at the same place, or the new last row; the
    // only row leaves its fields behind.
    ClickListRow(page, IDC_SLOT_LIST, 2);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(SelectedRow(page, IDC_SLOT_LIST), 1);
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0B08");
    ClickListRow(page, IDC_SLOT_LIST, 0);
    Click(page, {IDC_REMOVE, IDC_REMOVE, IDC_REMOVE});
    EXPECT_TRUE(ListRows(page, IDC_SLOT_LIST).empty());
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0B08");

    // Without the controller library the switch is hidden, and stored off
    // with every record entered; a loaded record keeps its own.
    CHiddenVardekApi hidden;
    ASSERT_TRUE(hidden.IsHidden());
    for (const char* path : {"0A08", "0B08"}) {
        WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, path, "1000,100000,100000");
        WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, path, "");
    }
    m_sheet.reset();
    page = Page(1);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page, IDC_NO_RESET)));
    EXPECT_EQ(ColumnWidth(page, IDC_SLOT_LIST, 6), 0);
    EXPECT_GT(ColumnWidth(page, IDC_SLOT_LIST, 5), 0);
    Add(page, "0B08");
    EXPECT_EQ(ListRows(page, IDC_SLOT_LIST), (Rows{"0A08|1000|100000|100000|1/1/2|No|Yes",
                                                   "0B08|1000|100000|100000|1/1/3|No|No"}));
}
