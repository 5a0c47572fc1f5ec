// The Bridge Resource Requirements page, second page of the main sheet,
// driven as a user would against the stand-in hot-swap driver (0A08 is bus 1,
// device 1, function 2; 0B08 function 3) and the stand-in controller library.
#include "support/sheet_fixture.h"

#include "res/resource.h"
#include "support/driver_connection.h"
#include "support/testbed_vardek_client.h"

namespace {
class BridgesPageTest : public DriverConnection, public SheetTest {
protected:
    ZorvikRes& Res() { return m_sheet->m_Res; }
    HWND Page() {
        Show();
        SelectPage(m_sheet->m_hWnd, m_sheet->GetPageIndex(&Res()));
        return Res().m_hWnd;
    }
    void Add(HWND page, const char* path) {
        TypeText(page, IDC_SLOT_PATH, path);
        Click(page, IDC_ADD_UPDATE);
    }
    // Every row, its cells separated by "|".
    std::vector<std::string> Rows(HWND page) {
        std::vector<std::string> rows;
        for (int row = 0; row < ListRowCount(page, IDC_SLOT_LIST); ++row) {
            std::string text = ListText(page, IDC_SLOT_LIST, row, 0);
            for (int column = 1; column < 7; ++column)
                text += "|" + ListText(page, IDC_SLOT_LIST, row, column);
            rows.push_back(text);
        }
        return rows;
    }
    // The four fields of each window, I/O, memory, prefetchable.
    std::string Windows(HWND page) {
        const int ids[12] = {IDC_IO_FROM,   IDC_IO_TO,   IDC_IO_SIZE,   IDC_IO_ALIGN,
                             IDC_MEM_FROM,  IDC_MEM_TO,  IDC_MEM_SIZE,  IDC_MEM_ALIGN,
                             IDC_PREF_FROM, IDC_PREF_TO, IDC_PREF_SIZE, IDC_PREF_ALIGN};
        std::string text;
        for (int id : ids)
            text += ItemText(page, id) + (id == IDC_PREF_ALIGN ? "" : " ");
        return text;
    }
    int ColumnWidth(HWND page, int column) {
        return static_cast<int>(
            ::SendDlgItemMessageA(page, IDC_SLOT_LIST, LVM_GETCOLUMNWIDTH, column, 0));
    }
    void ExpectRefused(HWND page, UINT message, const char* what) {
        size_t asked = m_responder.asked.size();
        int beeps = m_responder.m_beeps;
        m_responder.Answer(IDOK);
        Click(page, IDC_ADD_UPDATE);
        ASSERT_EQ(m_responder.asked.size(), asked + 1) << what;
        EXPECT_EQ(m_responder.asked.back().id, message) << what;
        EXPECT_EQ(m_responder.asked.back().type & MB_ICONMASK, UINT(MB_ICONSTOP));
        EXPECT_EQ(m_responder.m_beeps, beeps + 1);
    }
};

const char kDefaultWindows[] =
    "0x0 0xFFFF 0x1000 0x1000 0x0 0xFFFFFFFF 0x100000 0x100000 0x0 0xFFFFFFFF 0x100000 0x100000";
} // namespace

TEST_F(BridgesPageTest, FirstDisplayShowsTheDefaultWindowsAndSevenColumns) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    EXPECT_EQ(m_sheet->GetPageIndex(&Res()), 1);
    EXPECT_EQ(Windows(page), "0x0000 0xFFFF 0x1000 0x1000 0x00000000 0xFFFFFFFF 0x00100000 "
                             "0x00100000 0x00000000 0xFFFFFFFF 0x00100000 0x00100000");
    EXPECT_EQ(GetCheck(page, IDC_NO_RESET), BST_CHECKED);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(page, IDC_NO_RESET)));
    EXPECT_EQ(GetCheck(page, IDC_ENTRY_SLOT_PATH), BST_CHECKED);
    for (int column = 0; column < 7; ++column)
        EXPECT_GT(ColumnWidth(page, column), 0) << column;
    EXPECT_LT(ColumnWidth(page, 0), ColumnWidth(page, 1));
    EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));

    // Slot path 0A08 with those fields: one row, the switch on.
    Add(page, "0A08");
    EXPECT_EQ(Rows(page), std::vector<std::string>{"0A08|1000|100000|100000|1/1/2|No|Yes"});
    EXPECT_TRUE(IsApplyEnabled(m_sheet->m_hWnd));
    // The added row is selected and shown, in the "0x%X" form.
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{0});
    EXPECT_EQ(Windows(page), kDefaultWindows);
    EXPECT_EQ(ItemText(page, IDC_BUS), "1");
}

TEST_F(BridgesPageTest, WindowsInEveryFormReplaceInPlaceAndNewSlotsGoInByPath) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "0B08");
    Add(page, "0A08");
    TypeText(page, IDC_IO_FROM, "0x2000");
    TypeText(page, IDC_IO_TO, "0x7FFF");
    TypeText(page, IDC_MEM_ALIGN, "0x1000");
    TypeText(page, IDC_PREF_TO, "0xFFFF");
    Click(page, IDC_DYNAMIC_BUS);
    Click(page, IDC_NO_RESET);
    Add(page, "0A08");
    std::vector<std::string> expected = {
        "0A08|(1000,2000,7fff)|100000:1000|(100000,0,ffff)|1/1/2|Yes|No",
        "0B08|1000|100000|100000|1/1/3|No|Yes"};
    EXPECT_EQ(Rows(page), expected);

    // Through the driver the same bridge by its Bus/Device/Function.
    ClickListRow(page, IDC_SLOT_LIST, 1);
    Click(page, IDC_ENTRY_BDF);
    TypeText(page, IDC_BUS, "1");
    TypeText(page, IDC_DEVICE, "1");
    TypeText(page, IDC_FUNCTION, "3");
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0B08");
    TypeText(page, IDC_IO_SIZE, "0x2000");
    Click(page, IDC_ADD_UPDATE);
    EXPECT_EQ(Rows(page)[1], "0B08|2000|100000|100000|1/1/3|No|Yes");

    // An empty slot path adds a record without a location ahead, each time.
    Click(page, IDC_ENTRY_SLOT_PATH);
    Add(page, "");
    Add(page, "");
    ASSERT_EQ(ListRowCount(page, IDC_SLOT_LIST), 4);
    EXPECT_EQ(ListText(page, IDC_SLOT_LIST, 1, 0), "");
    EXPECT_EQ(ListText(page, IDC_SLOT_LIST, 2, 0), "0A08");

    // A starred path is taken, star and all; the star sorts first.
    Add(page, "*0A08");
    EXPECT_EQ(ListText(page, IDC_SLOT_LIST, 2, 0), "*0A08");
    EXPECT_EQ(ListText(page, IDC_SLOT_LIST, 2, 4), "1/1/2");
    EXPECT_EQ(m_responder.asked.size(), 0u);
}

TEST_F(BridgesPageTest, BadEntriesAreRefusedInTheOrderOfTheTests) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    const struct {
        const char* path;
        const char* ioFrom;
        const char* ioSize;
        UINT message;
    } cases[] = {
        {"0A0", "0x800", "0x1000", 4024}, {"0A0G", "0x0", "0x1000", 4022},
        {"*0A0", "0x0", "0x1000", 4024},  {"0A08", "0x800", "0x1000", 4029},
        {"0A08", "0x0", "0x800", 4029},   {"0A08", "0x0", "", 4029},
    };
    for (const auto& c : cases) {
        TypeText(page, IDC_SLOT_PATH, c.path);
        TypeText(page, IDC_IO_FROM, c.ioFrom);
        TypeText(page, IDC_IO_SIZE, c.ioSize);
        ExpectRefused(page, c.message, c.path);
        EXPECT_EQ(ItemText(page, IDC_IO_FROM), c.ioFrom);
    }
    EXPECT_EQ(ListRowCount(page, IDC_SLOT_LIST), 0);

    // Decimal 4096 is aligned; 0X1000 reads as 0 and passes too.
    TypeText(page, IDC_IO_SIZE, "0X1000");
    TypeText(page, IDC_IO_FROM, "4096");
    Click(page, IDC_ADD_UPDATE);
    EXPECT_EQ(Rows(page),
              std::vector<std::string>{"0A08|(0,1000,ffff)|100000|100000|1/1/2|No|Yes"});

    // A window field without a number is refused by its name, lest "no
    // number" be stored as an address.
    const struct {
        int id;
        const char* text;
        const char* message;
    } fields[] = {{IDC_MEM_FROM, "", "From of the Memory window"},
                  {IDC_IO_TO, "to", "To of the I/O space window"},
                  {IDC_PREF_ALIGN, " ", "Alignment of the Prefetchable memory window"}};
    for (const auto& field : fields) {
        std::string kept = ItemText(page, field.id);
        TypeText(page, field.id, field.text);
        ExpectRefused(page, 0, field.message);
        EXPECT_EQ(std::string(field.message) +
                      " should be a number (decimal, or hexadecimal after 0x)",
                  m_responder.asked.back().text);
        TypeText(page, field.id, kept.c_str());
    }
    EXPECT_EQ(Rows(page),
              std::vector<std::string>{"0A08|(0,1000,ffff)|100000|100000|1/1/2|No|Yes"});

    // Bus/Device/Function: the driver's answer comes before the ranges.
    Click(page, IDC_ENTRY_BDF);
    TypeText(page, IDC_BUS, "1");
    TypeText(page, IDC_DEVICE, "1");
    TypeText(page, IDC_FUNCTION, "8");
    ExpectRefused(page, 4025, "function 8");
    TypeText(page, IDC_BUS, "9");
    ExpectRefused(page, 4021, "bus 9");
    EXPECT_EQ(m_responder.m_unexpected, 0);
}

TEST_F(BridgesPageTest, MoveUpAndDownCarryTheSelectionAndStopAtBothEnds) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "0A08");
    TypeText(page, IDC_IO_FROM, "0x2000");
    TypeText(page, IDC_IO_TO, "0x7FFF");
    Click(page, IDC_DYNAMIC_BUS);
    Click(page, IDC_NO_RESET);
    Add(page, "0B08");
    ClickListRow(page, IDC_SLOT_LIST, 0);
    Add(page, "0C08");
    auto paths = [&] {
        std::string text;
        for (int row = 0; row < ListRowCount(page, IDC_SLOT_LIST); ++row)
            text += ListText(page, IDC_SLOT_LIST, row, 0) + " ";
        return text;
    };
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    ASSERT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));

    ClickListRow(page, IDC_SLOT_LIST, 0);
    Click(page, IDC_MOVE_DOWN);
    EXPECT_EQ(paths(), "0B08 0A08 0C08 ");
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{1});
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0A08");
    EXPECT_TRUE(IsApplyEnabled(m_sheet->m_hWnd));
    Click(page, IDC_MOVE_DOWN);
    Click(page, IDC_MOVE_DOWN); // at the end: nothing, silently
    EXPECT_EQ(paths(), "0B08 0C08 0A08 ");
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{2});

    ClickListRow(page, IDC_SLOT_LIST, 1);
    Click(page, IDC_MOVE_UP);
    Click(page, IDC_MOVE_UP); // at the top: nothing, silently
    EXPECT_EQ(paths(), "0C08 0B08 0A08 ");
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{0});
    EXPECT_EQ(m_responder.m_beeps, 0);

    // No selection: a beep and nothing else.
    ClickListRow(page, IDC_SLOT_LIST, -1);
    EXPECT_EQ(Windows(page), kDefaultWindows);
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "");
    Click(page, IDC_MOVE_UP);
    Click(page, IDC_MOVE_DOWN);
    EXPECT_EQ(m_responder.m_beeps, 2);
    EXPECT_EQ(paths(), "0C08 0B08 0A08 ");

    // The save walks the list in the order the rows show, and the registry
    // holds exactly its records, the no-reset marks with them.
    std::string order;
    for (POSITION pos = Res().m_bridges.GetHeadPosition(); pos;)
        order += Res().m_bridges.GetNext(pos).GetSlotPath().str() + " ";
    EXPECT_EQ(order, "0C08 0B08 0A08 ");
    m_responder.Answer(IDYES);
    PressSheetButton(m_sheet->m_hWnd, ID_APPLY_NOW);
    StoredValues assignments = {{"0A08", Sz("1000,100000,100000")},
                                {"0B08", Sz("(1000,2000,7fff),100000,100000,0")},
                                {"0C08", Sz("1000,100000,100000")}};
    EXPECT_EQ(ReadStoredValues(HKEY_LOCAL_MACHINE, kAssignmentsKey), assignments);
    StoredValues marks = {{"0A08", Sz("")}, {"0C08", Sz("")}};
    EXPECT_EQ(ReadStoredValues(HKEY_LOCAL_MACHINE, kNoResetKey), marks);
}

TEST_F(BridgesPageTest, RemoveSelectsTheNewLastRowAndTheOnlyRowLeavesTheFields) {
    ASSERT_TRUE(opened);
    HWND page = Page();
    Add(page, "0A08");
    Add(page, "0B08");
    ClickListRow(page, IDC_SLOT_LIST, 1);
    Click(page, IDC_REMOVE);
    EXPECT_EQ(SelectedRows(page, IDC_SLOT_LIST), std::vector<int>{0});
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0A08");
    Click(page, IDC_REMOVE);
    EXPECT_EQ(ListRowCount(page, IDC_SLOT_LIST), 0);
    EXPECT_EQ(ItemText(page, IDC_SLOT_PATH), "0A08");
    Click(page, IDC_REMOVE);
    EXPECT_EQ(m_responder.m_beeps, 0);
}

TEST_F(BridgesPageTest, WithoutTheControllerLibraryTheSwitchIsHiddenAndStoredOff) {
    ASSERT_TRUE(opened);
    CHiddenVardekApi hidden;
    ASSERT_TRUE(hidden.IsHidden());
    WriteText(HKEY_LOCAL_MACHINE, kAssignmentsKey, "0B08", "1000,100000,100000");
    WriteText(HKEY_LOCAL_MACHINE, kNoResetKey, "0B08", "");
    HWND page = Page();
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(page, IDC_NO_RESET)));
    EXPECT_EQ(ColumnWidth(page, 6), 0);
    EXPECT_GT(ColumnWidth(page, 5), 0);
    // A loaded record keeps its switch until it is replaced.
    EXPECT_EQ(Rows(page), std::vector<std::string>{"0B08|1000|100000|100000|1/1/3|No|Yes"});
    Add(page, "0A08");
    Add(page, "0B08");
    EXPECT_EQ(Rows(page), (std::vector<std::string>{"0A08|1000|100000|100000|1/1/2|No|No",
                                                    "0B08|1000|100000|100000|1/1/3|No|No"}));
}
