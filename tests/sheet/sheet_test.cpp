// The main sheet: its buttons, captions, system menu, and the Apply, OK and
// Reload flows with their questions.
#include "support/sheet_fixture.h"

#include "res/resource.h"

namespace {
int Left(HWND sheet, int id) {
    RECT rc;
    ::GetWindowRect(::GetDlgItem(sheet, id), &rc);
    return rc.left;
}

bool Stored(const char* name) { return ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, name); }
} // namespace

TEST_F(SheetTest, ButtonsCaptionIconAndSystemMenu) {
    HWND sheet = Show();
    char caption[128] = "";
    ::GetWindowTextA(sheet, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Mirandel Configuration Utility");
    EXPECT_EQ(::GetDlgItem(sheet, IDHELP), nullptr);
    EXPECT_EQ(ItemText(sheet, IDC_RELOAD), "&Reload");
    EXPECT_TRUE(IsEnabled(sheet, IDC_RELOAD));
    EXPECT_LT(Left(sheet, IDC_RELOAD), Left(sheet, IDOK));
    EXPECT_LT(Left(sheet, IDOK), Left(sheet, IDCANCEL));
    EXPECT_LT(Left(sheet, IDCANCEL), Left(sheet, ID_APPLY_NOW));
    EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(sheet, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(sheet, WM_QUERYDRAGICON, 0, 0)),
              m_sheet->m_hIcon);

    EXPECT_EQ(m_sheet->GetPage(m_sheet->GetPageCount() - 1), &m_sheet->m_About);
    char text[64] = "";
    ::GetMenuStringA(::GetSystemMenu(sheet, FALSE), IDM_ABOUTBOX, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ(text, "&About...");
    ::SendMessageA(sheet, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    EXPECT_EQ(m_sheet->GetActivePage(), &m_sheet->m_About);
    EXPECT_FALSE(SheetEnded(sheet));
}

TEST_F(SheetTest, ApplyAsksAndCancelNoAndYesDoWhatTheySay) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "25000");
    ASSERT_TRUE(IsApplyEnabled(sheet));

    m_responder.Answer(IDCANCEL);
    PressSheetButton(sheet, ID_APPLY_NOW);
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, static_cast<UINT>(IDS_CONFIRM_UPDATE));
    EXPECT_EQ(m_responder.asked[0].caption, "Tavrel Mirandel - configuration");
    EXPECT_EQ(m_responder.asked[0].type, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_TRUE(IsApplyEnabled(sheet));

    m_responder.Answer(IDNO);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_FALSE(Stored("DisconnectRetryInterval"));
    EXPECT_FALSE(IsApplyEnabled(sheet));

    TypeText(m_sheet->m_Misc.m_hWnd, IDC_DISCONNECT_TIMEOUT, "26000");
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", &value));
    EXPECT_EQ(value, 26000u);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    EXPECT_EQ(m_responder.asked.size(), 3u);
}

TEST_F(SheetTest, ApplyWithABadFieldStillAsksAndSavesTheLastGoodValue) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "");
    m_responder.Answer(IDOK);
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);
    ASSERT_EQ(m_responder.asked.size(), 2u);
    EXPECT_EQ(m_responder.asked[0].text, "Please enter a positive integer.");
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", &value));
    EXPECT_EQ(value, 20000u);
}

TEST_F(SheetTest, OkWithoutChangesClosesAtOnce) {
    HWND sheet = Show();
    PressSheetButton(sheet, IDOK);
    EXPECT_TRUE(m_responder.asked.empty());
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
    EXPECT_TRUE(SheetEnded(sheet));
    EXPECT_FALSE(Stored("StallInterval"));
}

TEST_F(SheetTest, OkWithChangesCancelStaysOpenAndYesSavesAndCloses) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    m_responder.Answer(IDCANCEL);
    PressSheetButton(sheet, IDOK);
    EXPECT_FALSE(SheetEnded(sheet));
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_FALSE(Stored("InsertBeforeEjectInterval"));

    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(m_responder.asked.size(), 2u);
    EXPECT_TRUE(Stored("InsertBeforeEjectInterval"));
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
    EXPECT_TRUE(SheetEnded(sheet));
}

TEST_F(SheetTest, OkAnsweredNoAndCancelCloseWithoutWriting) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    m_responder.Answer(IDNO);
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
    m_sheet.reset();

    sheet = Show();
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    PressSheetButton(sheet, IDCANCEL);
    EXPECT_TRUE(SheetEnded(sheet));
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_FALSE(Stored("InsertBeforeEjectInterval"));
}

TEST_F(SheetTest, ReloadNoKeepsTheEditsAndYesShowsTheRegistry) {
    HWND sheet = Show();
    HWND page = MiscPage();
    TypeText(page, IDC_DISCONNECT_TIMEOUT, "25000");
    TypeText(page, IDC_POLLING_RATE, "0");
    TypeText(page, IDC_INSERT_BEFORE_EJECT, "9");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 11111);

    m_responder.Answer(IDNO);
    PressSheetButton(sheet, IDC_RELOAD);
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, static_cast<UINT>(IDS_CONFIRM_RELOAD));
    EXPECT_EQ(m_responder.asked[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(ItemText(page, IDC_DISCONNECT_TIMEOUT), "25000");
    EXPECT_TRUE(IsApplyEnabled(sheet));

    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDC_RELOAD);
    EXPECT_EQ(ItemText(page, IDC_DISCONNECT_TIMEOUT), "11111");
    // Scalars the registry lacks keep the page's members: the polling rate
    // was read back when it changed, the later edit was never read.
    EXPECT_EQ(ItemText(page, IDC_POLLING_RATE), "0");
    EXPECT_EQ(ItemText(page, IDC_INSERT_BEFORE_EJECT), "5000");
    EXPECT_FALSE(IsApplyEnabled(sheet));
}

TEST_F(SheetTest, ReloadPutsBackTheScanBoxRuleOfTheReloadedPollingRate) {
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 500);
    HWND sheet = Show();
    HWND page = MiscPage();
    TypeText(page, IDC_POLLING_RATE, "0");
    ASSERT_TRUE(IsEnabled(page, IDC_SCAN_SURPRISE_REMOVAL));
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);

    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDC_RELOAD);
    PumpMessages();
    EXPECT_EQ(ItemText(page, IDC_POLLING_RATE), "500");
    EXPECT_FALSE(IsEnabled(page, IDC_SCAN_SURPRISE_REMOVAL));
    EXPECT_EQ(GetCheck(page, IDC_SCAN_SURPRISE_REMOVAL), BST_CHECKED);
}
