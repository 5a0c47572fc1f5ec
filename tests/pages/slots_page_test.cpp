// The Physical slot numbering page, first page of the main sheet, driven as
// a user would against the stand-in hot-swap driver (bus 1's path is 08, so
// 0A08 is bus 1, device 1, function 2; 191008 is bus 2, device 3, function 1).
#include "support/sheet_fixture.h"

#include "res/resource.h"
#include "support/driver_connection.h"

namespace {
class SlotsPageTest : public DriverConnection, public SheetTest {
protected:
    ZorvikEq& Eq() { return m_sheet->m_Eq; }
    HWND Page() {
        HWND sheet = Show();
        EXPECT_EQ(m_sheet->GetActivePage(), &Eq());
        (void)sheet;
        return Eq().m_hWnd;
    }
    // Physical slot and slot path typed in slot path mode, then Add/Update.
    void Add(HWND page, const char* number, const char* path) {
        TypeText(page, IDC_PHYSICAL_SLOT, number);
        TypeText(page, IDC_SLOT_PATH, path);
        Click(page, IDC_ADD_UPDATE);
    }
    // Every row as "number path triple".
    std::vector<std::string> Rows(HWND page) {
        std::vector<std::string> rows;
        for (int row = 0; row < ListRowCount(page, IDC_SLOT_LIST); ++row)
            rows.push_back(ListText(page, IDC_SLOT_LIST, row, 0) + " " +
                           ListText(page, IDC_SLOT_LIST, row, 1) + " " +
                           ListText(page, IDC_SLOT_LIST, row, 2));
        return rows;
    }
    // The five fields as "number path bus device function".
    std::string Fields(HWND page) {
        return ItemText(page, IDC_PHYSICAL_SLOT) + " " + ItemText(page, IDC_SLOT_PATH) + " " +
               ItemText(page, IDC_BUS) + " " + ItemText(page, IDC_DEVICE) + " " +
               ItemText(page, IDC_FUNCTION);
    }
    std::string Triple(HWND page) {
        return ItemText(page, IDC_BUS) + "/" + ItemText(page, IDC_DEVICE) + "/" +
               ItemText(page, IDC_FUNCTION);
    }
    void ChooseBusDeviceFunction(HWND page) {
        Click(page, IDC_ENTRY_BDF);
        ASSERT_EQ(GetCheck(page, IDC_ENTRY_BDF), BST_CHECKED);
    }
    void TypeTriple(HWND page, const char* bus, const char* device, const char* function) {
        TypeText(page, IDC_BUS, bus);
        TypeText(page, IDC_DEVICE, device);
        TypeText(page, IDC_FUNCTION, function);
    }
};
} // namespace

TEST_F(SlotsPageTest, ConversionFollowsEveryKeystrokeInTheChosenMode) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    EXPECT_EQ(m_sheet->GetPageIndex(&Eq()), 0);
    for (int column = 0; column < 3; ++column)
        EXPECT_GT(::SendDlgItemMessageA(page, IDC_SLOT_LIST, LVM_GETCOLUMNWIDTH, column, 0), 0);
    EXPECT_EQ(GetCheck(page, IDC_ENTRY_SLOT_PATH), BST_CHECKED);
    EXPECT_FALSE(IsEnabled(page, IDC_BUS));
    const char* typed[] = {"0", "0A", "0A0", "0A08"};
    // 0A alone is bus 0 (the host bus, whose path is empty), device 1, function 2.
    const char* shown[] = {"//", "0/1/2", "//", "1/1/2"};
    for (int i = 0; i < 4; ++i) {
        TypeText(page, IDC_SLOT_PATH, typed[i]);
        EXPECT_EQ(Triple(page), shown[i]) << typed[i];
    }
    TypeText(page, IDC_SLOT_PATH, "*191008");
    EXPECT_EQ(Triple(page), "2/3/1");

    ChooseBusDeviceFunction(page);
    EXPECT_FALSE(IsEnabled(page, IDC_SLOT_PATH));
    EXPECT_TRUE(IsEnabled(page, IDC_BUS));
    TypeTriple(page, "", "", "");
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "");
    TypeText(page, IDC_BUS, "2");
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "");
    TypeText(page, IDC_DEVICE, "3");
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "");
    TypeText(page, IDC_FUNCTION, "1");
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "191008");
    TypeText(page, IDC_BUS, "0x1");
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "1908");
    TypeText(page, IDC_BUS, "9"); // no such bus
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "");
    TypeText(page, IDC_BUS, "1");
    TypeText(page, IDC_DEVICE, "32"); // out of range: no other slot's path
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "");
    // Typing is no edit of the list.
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));
    EXPECT_EQ(m_responder.asked.size(), 0u);
}

TEST_F(SlotsPageTest, AddShowsTheRowWithItsTripleAndEnablesApply) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "3", "0A08");
    EXPECT_EQ(Rows(page), std::vector<std::string>{"3 0A08 1/1/2"});
    EXPECT_TRUE(IsApplyEnabled(m_sheet->m_hWnd));

    ChooseBusDeviceFunction(page);
    TypeText(page, IDC_PHYSICAL_SLOT, "4");
    TypeTriple(page, "2", "3", "1");
    Click(page, IDC_ADD_UPDATE);
    EXPECT_EQ(Rows(page), (std::vector<std::string>{"3 0A08 1/1/2", "4 191008 2/3/1"}));
    EXPECT_EQ(m_responder.asked.size(), 0u);
}

TEST_F(SlotsPageTest, ReplacesByNumberFirstThenBySlot) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "3", "0A08");
    Add(page, "3", "191008");
    EXPECT_EQ(Rows(page), std::vector<std::string>{"3 191008 2/3/1"});
    Add(page, "5", "191008");
    EXPECT_EQ(Rows(page), std::vector<std::string>{"5 191008 2/3/1"});
    // By slot also through the driver: the same triple under another text.
    ChooseBusDeviceFunction(page);
    TypeText(page, IDC_PHYSICAL_SLOT, "6");
    TypeTriple(page, "2", "3", "1");
    Click(page, IDC_ADD_UPDATE);
    EXPECT_EQ(Rows(page), std::vector<std::string>{"6 191008 2/3/1"});

    Click(page, IDC_ENTRY_SLOT_PATH);
    Add(page, "3", "0A08");
    // Rows 3 (0A08) and 6 (191008): 3 with 191008 replaces row 3 only.
    Add(page, "3", "191008");
    EXPECT_EQ(Rows(page), (std::vector<std::string>{"3 191008 2/3/1", "6 191008 2/3/1"}));
    EXPECT_EQ(Eq().m_slots.GetCount(), 2);
}

TEST_F(SlotsPageTest, BadEntriesAreRefusedWithTheirMessageInTheOrderOfTheTests) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "1", "0A08");
    struct Case {
        const char* number;
        const char* path;
        UINT message;
    };
    const Case cases[] = {
        {"3", "0A0", 4024},   {"3", "0A0G", 4022}, {"3", "*0A08", 4024}, {"3", "*0A0", 4022},
        {"", "0A0", 4024},    {"", "0A08", 4026},  {" ", "", 4026},      {"3a", "0A08", 4027},
        {"-3", "0A08", 4027}, {"+3", "", 4027},
    };
    int beeps = 0;
    for (const Case& c : cases) {
        m_responder.Answer(IDOK);
        Add(page, c.number, c.path);
        ASSERT_EQ(m_responder.asked.size(), static_cast<size_t>(beeps + 1)) << c.path;
        const AskedMessage& asked = m_responder.asked.back();
        EXPECT_EQ(asked.id, c.message) << c.number << " " << c.path;
        EXPECT_EQ(asked.type & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_OK | MB_ICONSTOP));
        EXPECT_EQ(m_responder.m_beeps, ++beeps);
        // Nothing lost: the list and what the user typed stay.
        EXPECT_EQ(Rows(page), std::vector<std::string>{"1 0A08 1/1/2"});
        EXPECT_EQ(ItemText(page, IDC_PHYSICAL_SLOT), c.number);
        EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), c.path);
    }
    EXPECT_EQ(m_responder.asked[1].text, "Slot path can contain olny hexadecimal digits");

    // Bus/Device/Function: the conversion is tried before the ranges. The
    // stand-in knows no bus 9, and forms a path for any device on bus 1.
    ChooseBusDeviceFunction(page);
    struct Triple {
        const char* bus;
        const char* device;
        const char* function;
        UINT message;
    };
    const Triple triples[] = {{"9", "", "0", 4021}, {"1", "32", "0", 4025}, {"1", "1", "8", 4025}};
    for (const Triple& t : triples) {
        m_responder.Answer(IDOK);
        TypeText(page, IDC_PHYSICAL_SLOT, "7");
        TypeTriple(page, t.bus, t.device, t.function);
        Click(page, IDC_ADD_UPDATE);
        EXPECT_EQ(m_responder.asked.back().id, t.message) << t.bus << "/" << t.device;
    }
    m_responder.Answer(IDOK);
    TypeText(page, IDC_PHYSICAL_SLOT, "");
    TypeTriple(page, "1", "1", "2");
    Click(page, IDC_ADD_UPDATE);
    EXPECT_EQ(m_responder.asked.back().id, 4026u);
    EXPECT_EQ(m_responder.m_unexpected, 0);
    EXPECT_EQ(Rows(page), std::vector<std::string>{"1 0A08 1/1/2"});
}

TEST_F(SlotsPageTest, RowsAreSortedByNumberWhateverTheListOrder) {
    ASSERT_TRUE(opened);
    ZorvikEq& eq = Build().m_Eq;
    eq.m_slots.Clear();
    for (uint32_t number : {9u, 10u, 2u, 100u})
        eq.m_slots.AddHeadNew(number, "", NOT_GIVEN, NOT_GIVEN, NOT_GIVEN, TestKit().m_driver);
    HWND page = Page();
    EXPECT_EQ(Rows(page), (std::vector<std::string>{"2  ", "9  ", "10  ", "100  "}));
    // An empty slot path is accepted; its row shows the number only.
    Add(page, "11", "");
    EXPECT_EQ(Rows(page).back(), "100  ");
    EXPECT_EQ(Rows(page)[3], "11  ");
}

TEST_F(SlotsPageTest, SelectionStaysAtItsRowOrMovesToTheLastAndIsShown) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "1", "0A08");
    Add(page, "2", "191008");
    Add(page, "4", "");
    // Nothing was selected: the fields keep what was typed.
    EXPECT_TRUE(SelectedRows(page, IDC_SLOT_LIST).empty());
    EXPECT_EQ(ItemText(page, IDC_PHYSICAL_SLOT), "4");

    ClickListRow(page, IDC_SLOT_LIST, 2);
    EXPECT_EQ(Fields(page), "4    ");
    ClickListRow(page, IDC_SLOT_LIST, 1);
    EXPECT_EQ(Fields(page), "2 191008 2 3 1");
    ClickListRow(page, IDC_SLOT_LIST, 2);

    // Add/Update with the third row selected: the third row of the new order.
    Add(page, "0", "1908");
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{2});
    EXPECT_EQ(Fields(page), "2 191008 2 3 1");
    // Update of the number: the row keeps its place and stays selected.
    Add(page, "2", "0A08");
    EXPECT_EQ(Rows(page),
              (std::vector<std::string>{"0 1908 1/3/1", "1 0A08 1/1/2", "2 0A08 1/1/2", "4  "}));
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{2});

    // Removing the selected last row selects and shows the new last row.
    ClickListRow(page, IDC_SLOT_LIST, 3);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{2});
    EXPECT_EQ(Fields(page), "2 0A08 1 1 2");
    for (int i = 0; i < 3; ++i)
        Click(page, IDC_REMOVE);
    EXPECT_EQ(ListRowCount(page, IDC_SLOT_LIST), 0);
    EXPECT_EQ(Fields(page), "    ");
}

TEST_F(SlotsPageTest, ClickOnEmptySpaceEmptiesTheFieldsAndRemoveThenDoesNothing) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "1", "0A08");
    ClickListRow(page, IDC_SLOT_LIST, 0, true);
    EXPECT_EQ(Fields(page), "1 0A08 1 1 2");
    EXPECT_EQ(m_responder.asked.size(), 0u);

    ClickListRow(page, IDC_SLOT_LIST, -1);
    EXPECT_EQ(Fields(page), "    ");
    EXPECT_TRUE(SelectedRows(page, IDC_SLOT_LIST).empty());
    Click(page, IDC_REMOVE);
    EXPECT_EQ(Rows(page), std::vector<std::string>{"1 0A08 1/1/2"});
}

TEST_F(SlotsPageTest, WithoutTheDriverBusDeviceFunctionIsRefusedAndSlotPathsStillAdd) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    TestKit().m_driver.Close();
    m_responder.Answer(IDOK);
    Click(page, IDC_ENTRY_BDF);
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, 4023u);
    EXPECT_EQ(m_responder.asked[0].type & MB_ICONMASK, UINT(MB_ICONSTOP));
    EXPECT_EQ(GetCheck(page, IDC_ENTRY_SLOT_PATH), BST_CHECKED);
    EXPECT_EQ(GetCheck(page, IDC_ENTRY_BDF), BST_UNCHECKED);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page, IDC_ENTRY_SLOT_PATH));
    EXPECT_TRUE(IsEnabled(page, IDC_SLOT_PATH));
    for (int id : {IDC_BUS, IDC_DEVICE, IDC_FUNCTION})
        EXPECT_FALSE(IsEnabled(page, id));

    Add(page, "3", "0A08");
    EXPECT_EQ(Rows(page), std::vector<std::string>{"3 0A08 "});
    EXPECT_EQ(m_responder.asked.size(), 1u);
}

TEST_F(SlotsPageTest, ApplyWritesExactlyTheListAndReloadShowsItAgain) {
    ASSERT_TRUE(opened);
    WriteText(HKEY_LOCAL_MACHINE, kSlotsKey, "8", "1808");
    HWND page = Page();
    EXPECT_EQ(Rows(page), std::vector<std::string>{"8 1808 1/3/0"});
    Add(page, "3", "0A08");
    Add(page, "10", "191008");
    Add(page, "9", "");
    ClickListRow(page, IDC_SLOT_LIST, 0);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(Rows(page), (std::vector<std::string>{"8 1808 1/3/0", "9  ", "10 191008 2/3/1"}));

    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));
    StoredValues expected = {{"8", Sz("1808")}, {"9", Sz("")}, {"10", Sz("191008")}};
    EXPECT_EQ(ReadStoredValues(HKEY_LOCAL_MACHINE, kSlotsKey), expected);

    // Reload: the rows come back from the registry, sorted again.
    Add(page, "1", "0A08");
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, IDC_RELOAD);
    PumpMessages();
    EXPECT_EQ(Rows(page), (std::vector<std::string>{"8 1808 1/3/0", "9  ", "10 191008 2/3/1"}));
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));
}
