// Column widths and the bridge page's entry mode in the user's profile: read
// when the sheet is built, written on OK only, and never a zero or negative
// column from an entry that is missing or not a number.
#include "support/sheet_fixture.h"

#include "res/resource.h"

namespace {
const char kProfile[] = "Software\\Tavrel Systems\\Tavrel Mirandel - configuration\\";

std::string Section(const char* name) { return std::string(kProfile) + name; }

int ProfileValue(const char* section, const char* entry) {
    DWORD value = 0;
    if (!ReadDword(HKEY_CURRENT_USER, Section(section).c_str(), entry, &value))
        return -100;
    return static_cast<int>(value);
}

int ColumnWidth(HWND page, int column) {
    return static_cast<int>(
        ::SendDlgItemMessageA(page, IDC_SLOT_LIST, LVM_GETCOLUMNWIDTH, column, 0));
}

using ColumnWidthsTest = SheetTest;
} // namespace

TEST_F(ColumnWidthsTest, AWidthSurvivesARestartAfterOkButNotAfterCancel) {
    HWND sheet = Show();
    HWND slots = m_sheet->m_Eq.m_hWnd;
    int third = ColumnWidth(slots, 0);
    EXPECT_GT(third, 0);
    EXPECT_EQ(ColumnWidth(slots, 2), third);
    ::SendDlgItemMessageA(slots, IDC_SLOT_LIST, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(123, 0));
    PressSheetButton(sheet, IDOK);
    ASSERT_TRUE(SheetEnded(sheet));
    EXPECT_EQ(ProfileValue("ZorvikEq", "w2"), 123);
    EXPECT_EQ(ProfileValue("ZorvikEq", "w1"), third);
    // Pages never shown keep their entries; the bridge page's choice is
    // written all the same, and the miniport page writes what it holds.
    EXPECT_EQ(ProfileValue("ZorvikRes", "w0"), -100);
    EXPECT_EQ(ProfileValue("ZorvikRes", "m_SpathToggle"), 0);
    EXPECT_EQ(ProfileValue("ZorvikDevRes", "w0"), -100);
    EXPECT_EQ(ProfileValue("ZorvikMiniList", "w1"), -1);

    m_sheet.reset();
    sheet = Show();
    slots = m_sheet->m_Eq.m_hWnd;
    EXPECT_EQ(ColumnWidth(slots, 1), 123);
    ::SendDlgItemMessageA(slots, IDC_SLOT_LIST, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(40, 0));
    PressSheetButton(sheet, IDCANCEL);
    EXPECT_EQ(ProfileValue("ZorvikEq", "w2"), 123);
}

TEST_F(ColumnWidthsTest, EntriesThatAreMissingOrNotNumbersGiveTheDefaults) {
    WriteText(HKEY_CURRENT_USER, Section("ZorvikEq").c_str(), "w1", "120");
    WriteRaw(HKEY_CURRENT_USER, Section("ZorvikEq").c_str(), "w2", REG_DWORD, "", 0);
    WriteDword(HKEY_CURRENT_USER, Section("ZorvikEq").c_str(), "w3", 0xFFFFFFF0);
    WriteDword(HKEY_CURRENT_USER, Section("ZorvikRes").c_str(), "w0", 90);
    WriteDword(HKEY_CURRENT_USER, Section("ZorvikRes").c_str(), "w3", 0xFFFFFFFB);
    WriteDword(HKEY_CURRENT_USER, Section("ZorvikRes").c_str(), "m_SpathToggle", 7);
    Show();
    HWND slots = m_sheet->m_Eq.m_hWnd;
    int third = ColumnWidth(slots, 0);
    EXPECT_GT(third, 0);
    EXPECT_EQ(ColumnWidth(slots, 1), third);
    EXPECT_EQ(ColumnWidth(slots, 2), third);

    SelectPage(m_sheet->m_hWnd, m_sheet->GetPageIndex(&m_sheet->m_Res));
    HWND bridges = m_sheet->m_Res.m_hWnd;
    EXPECT_EQ(ColumnWidth(bridges, 0), 90);
    EXPECT_GT(ColumnWidth(bridges, 3), 0);
    EXPECT_EQ(ColumnWidth(bridges, 3), ColumnWidth(bridges, 1));
    EXPECT_EQ(m_sheet->m_Res.m_nEntryMode, 0);
    EXPECT_EQ(GetCheck(bridges, IDC_ENTRY_SLOT_PATH), BST_CHECKED);
}
