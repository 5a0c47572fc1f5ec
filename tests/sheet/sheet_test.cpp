// The main sheet: its buttons, captions, system menu, and the Apply, OK and
// Reload flows with their questions.
#include "support/sheet_fixture.h"

#include "pages/options/page_ids.h"

namespace {
const char kCaption[] = "Mirandel Configuration Utility";
const char kAppName[] = "Tavrel Mirandel - configuration";

int Left(HWND sheet, int id) {
    RECT rc;
    ::GetWindowRect(::GetDlgItem(sheet, id), &rc);
    return rc.left;
}
} // namespace

TEST_F(SheetTest, ButtonRowReadsReloadOkCancelApply) {
    HWND sheet = Show();
    char caption[128] = "";
    ::GetWindowTextA(sheet, caption, sizeof(caption));
    EXPECT_STREQ(caption, kCaption);

    HWND reload = ::GetDlgItem(sheet, IDC_RELOAD);
    ASSERT_NE(reload, nullptr);
    EXPECT_EQ(::GetDlgItem(sheet, IDHELP), nullptr);
    EXPECT_EQ(ItemText(sheet, IDC_RELOAD), "&Reload");
    EXPECT_TRUE(::IsWindowEnabled(reload));
    EXPECT_LT(Left(sheet, IDC_RELOAD), Left(sheet, IDOK));
    EXPECT_LT(Left(sheet, IDOK), Left(sheet, IDCANCEL));
    EXPECT_LT(Left(sheet, IDCANCEL), Left(sheet, ID_APPLY_NOW));
    EXPECT_FALSE(::GetWindowLongA(::GetDlgItem(sheet, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_FALSE(IsApplyEnabled(sheet));
}

TEST_F(SheetTest, AboutPageIsLastAndTheSystemMenuSwitchesToIt) {
    HWND sheet = Show();
    int last = m_sheet->GetPageCount() - 1;
    EXPECT_EQ(m_sheet->GetPage(last), &m_sheet->m_About);
    EXPECT_EQ(m_sheet->GetPage(0), &m_sheet->m_Misc);

    HMENU menu = ::GetSystemMenu(sheet, FALSE);
    char text[64] = "";
    ASSERT_GT(::GetMenuStringA(menu, IDM_ABOUTBOX, text, sizeof(text), MF_BYCOMMAND), 0);
    EXPECT_STREQ(text, "&About...");

    ::SendMessageA(sheet, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    PumpMessages();
    EXPECT_EQ(m_sheet->GetActivePage(), &m_sheet->m_About);
    EXPECT_EQ(ItemText(m_sheet->m_About.m_hWnd, IDC_ABOUT_TEXT), kCaption);
    EXPECT_FALSE(SheetEnded(sheet));
}

TEST_F(SheetTest, EditingAFieldEnablesApply) {
    HWND sheet = Show();
    EXPECT_FALSE(IsApplyEnabled(sheet));
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "25000");
    EXPECT_TRUE(IsApplyEnabled(sheet));
}

TEST_F(SheetTest, ApplyYesWritesAndDisablesApply) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "25000");
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);

    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, static_cast<UINT>(IDS_CONFIRM_UPDATE));
    EXPECT_EQ(m_responder.asked[0].text,
              "Mirandel configuration is about to be updated. Do you want to update parameters ?");
    EXPECT_EQ(m_responder.asked[0].caption, kAppName);
    EXPECT_EQ(m_responder.asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));
    EXPECT_EQ(m_responder.asked[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));

    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", &value));
    EXPECT_EQ(value, 25000u);
    EXPECT_TRUE(m_sheet->m_bUpdateConfirmed);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    EXPECT_FALSE(SheetEnded(sheet));
}

TEST_F(SheetTest, ApplyWithABadFieldStillAsksAndSavesTheLastGoodValue) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "");
    m_responder.Answer(IDOK);
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);
    ASSERT_EQ(m_responder.asked.size(), 2u);
    EXPECT_EQ(m_responder.asked[0].text, "Please enter a positive integer.");
    EXPECT_EQ(m_responder.asked[1].id, static_cast<UINT>(IDS_CONFIRM_UPDATE));
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", &value));
    EXPECT_EQ(value, 20000u);
}

TEST_F(SheetTest, ApplyNoWritesNothingAndDisablesApply) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "25000");
    m_responder.Answer(IDNO);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval"));
    EXPECT_FALSE(m_sheet->m_bUpdateConfirmed);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    // Applied data stays in the page: the member holds what was typed.
    EXPECT_EQ(m_sheet->m_Misc.m_dwDisconnectTimeout, 25000u);

    // With nothing unsaved, OK closes without a question.
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
}

TEST_F(SheetTest, ApplyCancelKeepsEverythingUnsaved) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_DISCONNECT_TIMEOUT, "25000");
    m_responder.Answer(IDCANCEL);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_TRUE(m_sheet->m_bApplyCancelled);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval"));
    EXPECT_TRUE(IsApplyEnabled(sheet));
}

TEST_F(SheetTest, OkWithoutChangesClosesAtOnce) {
    HWND sheet = Show();
    PressSheetButton(sheet, IDOK);
    EXPECT_TRUE(m_responder.asked.empty());
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
    EXPECT_TRUE(SheetEnded(sheet));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval"));
}

TEST_F(SheetTest, OkWithChangesAsksAndYesSavesAndCloses) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDOK);
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, static_cast<UINT>(IDS_CONFIRM_UPDATE));
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval", &value));
    EXPECT_EQ(value, 6000u);
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
    EXPECT_TRUE(SheetEnded(sheet));
}

TEST_F(SheetTest, OkWithChangesAnsweredNoClosesWithoutWriting) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    m_responder.Answer(IDNO);
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval"));
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
}

TEST_F(SheetTest, OkThenCancelStaysOpenWithApplyEnabled) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    m_responder.Answer(IDCANCEL);
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_FALSE(SheetEnded(sheet));
    EXPECT_EQ(m_sheet->GetEndResult(), 0);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval"));
}

TEST_F(SheetTest, CancelEndsWithoutWritingAnything) {
    HWND sheet = Show();
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    PressSheetButton(sheet, IDCANCEL);
    EXPECT_TRUE(SheetEnded(sheet));
    EXPECT_TRUE(m_responder.asked.empty());
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kQuarnelKey, "InsertBeforeEjectInterval"));
}

TEST_F(SheetTest, ReloadAnsweredNoKeepsTheEdits) {
    HWND sheet = Show();
    HWND page = MiscPage();
    TypeText(page, IDC_DISCONNECT_TIMEOUT, "25000");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 11111);
    m_responder.Answer(IDNO);
    PressSheetButton(sheet, IDC_RELOAD);
    ASSERT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.asked[0].id, static_cast<UINT>(IDS_CONFIRM_RELOAD));
    EXPECT_EQ(m_responder.asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(m_responder.asked[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));
    EXPECT_EQ(ItemText(page, IDC_DISCONNECT_TIMEOUT), "25000");
    EXPECT_TRUE(IsApplyEnabled(sheet));
}

TEST_F(SheetTest, ReloadAnsweredYesShowsTheRegistryAndDisablesApply) {
    HWND sheet = Show();
    HWND page = MiscPage();
    TypeText(page, IDC_DISCONNECT_TIMEOUT, "25000");
    TypeText(page, IDC_POLLING_RATE, "0");
    TypeText(page, IDC_INSERT_BEFORE_EJECT, "9");
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 11111);
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDC_RELOAD);
    PumpMessages();
    EXPECT_EQ(ItemText(page, IDC_DISCONNECT_TIMEOUT), "11111");
    // Scalars the registry lacks keep the page's members: the polling rate
    // was read back when it changed, the later edit of the third field was
    // never read and is discarded.
    EXPECT_EQ(ItemText(page, IDC_POLLING_RATE), "0");
    EXPECT_EQ(ItemText(page, IDC_INSERT_BEFORE_EJECT), "5000");
    EXPECT_FALSE(IsApplyEnabled(sheet));
    EXPECT_EQ(m_responder.m_unexpected, 0);
}

TEST_F(SheetTest, IconicSheetAnswersItsIconForDragging) {
    HWND sheet = Show();
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(sheet, WM_QUERYDRAGICON, 0, 0)),
              m_sheet->m_hIcon);
    EXPECT_NE(m_sheet->m_hIcon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(sheet, WM_GETICON, ICON_BIG, 0)),
              m_sheet->m_hIcon);
}
