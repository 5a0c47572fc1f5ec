// The main sheet: buttons, system menu, the Miscellaneous page, the Apply, OK,
// Cancel and Reload flows with their questions, and the column widths kept.
#include "support/sheet_fixture.h"

#include <commctrl.h>

#include "res/resource.h"
#include "save/save_journal.h"
#include "support/testbed_quarnel_client.h"

namespace {
const std::string kProfile = "Software\\Tavrel Systems\\Tavrel Mirandel - configuration\\";
const std::vector<int> kMiscFields = {IDC_DISCONNECT_TIMEOUT, IDC_POLLING_RATE,
                                      IDC_INSERT_BEFORE_EJECT};

// A value of the driver's parameters or of the profile; -100 for none.
int Stored(const char* name, HKEY root = HKEY_LOCAL_MACHINE, std::string key = kQuarnelKey) {
    DWORD value = 0;
    return ReadDword(root, key.c_str(), name, &value) ? static_cast<int>(value) : -100;
}
int Profile(const char* section, const char* name) {
    return Stored(name, HKEY_CURRENT_USER, kProfile + section);
}
int Left(HWND sheet, int id) {
    RECT rc;
    ::GetWindowRect(::GetDlgItem(sheet, id), &rc);
    return rc.left;
}
} // namespace

TEST_F(SheetTest, ApplyAndReloadAskFirstAndTheMiscPageKeepsItsRules) {
    HWND sheet = Show();
    char text[128] = "";
    ::GetWindowTextA(sheet, text, sizeof(text));
    EXPECT_STREQ(text, "Mirandel Configuration Utility");
    // The row reads Reload (in Help's place), OK, Cancel, Apply.
    EXPECT_EQ(ItemText(sheet, IDC_RELOAD), "&Reload");
    EXPECT_EQ(Enabled(sheet, {IDC_RELOAD, ID_APPLY_NOW}), "10");
    EXPECT_LT(Left(sheet, IDC_RELOAD), Left(sheet, IDOK));
    EXPECT_LT(Left(sheet, IDOK), Left(sheet, IDCANCEL));
    EXPECT_LT(Left(sheet, IDCANCEL), Left(sheet, ID_APPLY_NOW));
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageA(sheet, WM_QUERYDRAGICON, 0, 0)),
              m_sheet->m_hIcon);
    // The system menu's last entry shows the About page.
    ::GetMenuStringA(::GetSystemMenu(sheet, FALSE), IDM_ABOUTBOX, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ(text, "&About...");
    ::SendMessageA(sheet, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    EXPECT_EQ(m_sheet->GetActivePage(), &m_sheet->m_About);

    // The scan box (enabled, checked) can be cleared only at polling rate 0.
    HWND page = MiscPage();
    ZorvikMisc& misc = m_sheet->m_Misc;
    const std::vector<int> scan = {IDC_SCAN_SURPRISE_REMOVAL};
    EXPECT_EQ(ItemTexts(page, kMiscFields) + Enabled(page, scan) + Checked(page, scan),
              "20000|500|5000"
              "01");
    TypeText(page, IDC_POLLING_RATE, "0");
    EXPECT_TRUE(IsApplyEnabled(sheet));
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);
    EXPECT_EQ(Enabled(page, scan) + Checked(page, scan), "10");
    TypeText(page, IDC_POLLING_RATE, "70000");
    EXPECT_EQ(Enabled(page, scan) + Checked(page, scan), "01");
    ASSERT_TRUE(misc.UpdateData(TRUE));
    EXPECT_EQ(misc.m_bScanSurpriseRemoval, 1);
    EXPECT_EQ(misc.m_dwPollingRate, 70000u);

    // Reload answered No keeps the edits; Yes shows the registry.
    TypeText(page, IDC_POLLING_RATE, "0");
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "DisconnectRetryInterval", 11111);
    WriteDword(HKEY_LOCAL_MACHINE, kQuarnelKey, "StallInterval", 400);
    m_responder.Answer(IDNO);
    PressSheetButton(sheet, IDC_RELOAD);
    EXPECT_EQ(m_responder.asked[0].id, UINT(IDS_CONFIRM_RELOAD));
    EXPECT_EQ(m_responder.asked[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(ItemTexts(page, kMiscFields), "20000|0|5000");
    EXPECT_TRUE(IsApplyEnabled(sheet));
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, IDC_RELOAD);
    EXPECT_EQ(ItemTexts(page, kMiscFields) + Enabled(page, scan) + Checked(page, scan),
              "11111|400|5000"
              "01");
    EXPECT_FALSE(IsApplyEnabled(sheet));

    // Typing asks nothing: a rate that cannot be read yet leaves the box's
    // rule as it was, and the other fields are not read.
    TypeTexts(page, {IDC_DISCONNECT_TIMEOUT, IDC_INSERT_BEFORE_EJECT},
              std::string(500, '9') + "|-5");
    TypeText(page, IDC_POLLING_RATE, "0");
    Click(page, IDC_SCAN_SURPRISE_REMOVAL);
    TypeText(page, IDC_POLLING_RATE, "");
    EXPECT_EQ(Enabled(page, scan) + Checked(page, scan), "10");
    EXPECT_EQ(m_responder.asked.size(), 2u);
    // Leaving the page, Apply or OK reads the fields: the first bad one is
    // named, focused and selected, and nothing is asked or saved.
    for (int i = 0; i < 3; ++i)
        m_responder.Answer(IDOK);
    SelectPage(sheet, 0);
    EXPECT_EQ(m_sheet->GetActivePage(), &misc);
    PressSheetButton(sheet, ID_APPLY_NOW);
    PressSheetButton(sheet, IDOK);
    ASSERT_EQ(m_responder.asked.size(), 5u);
    for (size_t i = 2; i < 5; ++i)
        EXPECT_EQ(m_responder.asked[i].text, "Please enter a positive integer.");
    EXPECT_EQ(m_responder.asked[2].caption, "Tavrel Mirandel - configuration");
    EXPECT_EQ(m_responder.asked[2].type, UINT(MB_OK | MB_ICONEXCLAMATION));
    HWND bad = ::GetDlgItem(page, IDC_DISCONNECT_TIMEOUT);
    EXPECT_EQ(::GetFocus(), bad);
    DWORD from = 1, to = 0;
    ::SendMessageA(bad, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 500u);
    EXPECT_FALSE(SheetEnded(sheet));
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_EQ(Stored("DisconnectRetryInterval"), 11111);
    EXPECT_EQ(Stored("NoScanForSurpriseRemoval"), -100);

    // With the fields read, Apply asks: Cancel, No or Yes (saves).
    TypeTexts(page, kMiscFields, "1234|0|4321");
    for (int answer : {IDCANCEL, IDNO, IDYES})
        m_responder.Answer(answer);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(m_responder.asked[5].id, UINT(IDS_CONFIRM_UPDATE));
    EXPECT_EQ(m_responder.asked[5].type, UINT(MB_YESNOCANCEL | MB_ICONQUESTION));
    EXPECT_TRUE(IsApplyEnabled(sheet));
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(Stored("DisconnectRetryInterval"), 11111);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    TypeText(page, IDC_INSERT_BEFORE_EJECT, "6000");
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(Stored("DisconnectRetryInterval"), 1234);
    EXPECT_EQ(Stored("StallInterval"), 0);
    EXPECT_EQ(Stored("NoScanForSurpriseRemoval"), 1);
    EXPECT_EQ(Stored("InsertBeforeEjectInterval"), 6000);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    EXPECT_EQ(m_responder.asked.size(), 8u);
    EXPECT_EQ(m_responder.m_unexpected, 0);
}

TEST_F(SheetTest, OkKeepsTheColumnWidthsAndSavesAsAnsweredAndCancelKeepsNothing) {
    // Entries that are missing, no DWORD or negative give the defaults; an
    // entry mode other than 1 is the slot path.
    WriteText(HKEY_CURRENT_USER, (kProfile + "ZorvikEq").c_str(), "w1", "120");
    WriteRaw(HKEY_CURRENT_USER, (kProfile + "ZorvikEq").c_str(), "w2", REG_DWORD, "", 0);
    WriteDword(HKEY_CURRENT_USER, (kProfile + "ZorvikEq").c_str(), "w3", 0xFFFFFFF0);
    WriteDword(HKEY_CURRENT_USER, (kProfile + "ZorvikRes").c_str(), "w0", 90);
    WriteDword(HKEY_CURRENT_USER, (kProfile + "ZorvikRes").c_str(), "m_SpathToggle", 7);
    WriteDword(HKEY_CURRENT_USER, (kProfile + "ZorvikMiniList").c_str(), "w1", 0xFFFFFFF0);
    HWND sheet = Show();
    HWND slots = m_sheet->m_Eq.m_hWnd;
    int third = ColumnWidth(slots, IDC_SLOT_LIST, 0);
    EXPECT_GT(third, 0);
    EXPECT_EQ(ColumnWidth(slots, IDC_SLOT_LIST, 1), third);
    EXPECT_EQ(ColumnWidth(slots, IDC_SLOT_LIST, 2), third);
    SelectPage(sheet, 1);
    HWND bridges = m_sheet->m_Res.m_hWnd;
    EXPECT_EQ(ColumnWidth(bridges, IDC_SLOT_LIST, 0), 90);
    EXPECT_EQ(Checked(bridges, {IDC_ENTRY_SLOT_PATH}), "1");

    // OK closes at once and writes the widths of the pages shown, the entry
    // mode, and what the miniport page holds.
    ListView_SetColumnWidth(::GetDlgItem(slots, IDC_SLOT_LIST), 1, 123);
    PressSheetButton(sheet, IDOK);
    EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
    ASSERT_TRUE(SheetEnded(sheet));
    EXPECT_EQ(Profile("ZorvikEq", "w2"), 123);
    EXPECT_EQ(Profile("ZorvikEq", "w1"), third);
    EXPECT_EQ(Profile("ZorvikRes", "w0"), 90);
    EXPECT_EQ(Profile("ZorvikRes", "m_SpathToggle"), 0);
    EXPECT_EQ(Profile("ZorvikDevRes", "w0"), -100);
    EXPECT_EQ(Profile("ZorvikMiniList", "w1"), -1);
    EXPECT_EQ(Stored("StallInterval"), -100);

    // The widths come back; Cancel closes, writing neither widths nor edits.
    m_sheet.reset();
    sheet = Show();
    HWND list = ::GetDlgItem(m_sheet->m_Eq.m_hWnd, IDC_SLOT_LIST);
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 123);
    ListView_SetColumnWidth(list, 1, 40);
    TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
    PressSheetButton(sheet, IDCANCEL);
    EXPECT_TRUE(SheetEnded(sheet));
    EXPECT_EQ(Profile("ZorvikEq", "w2"), 123);
    // OK with changes asks: Cancel stays open (widths written), No, Yes close.
    for (int answer : {IDNO, IDYES}) {
        m_sheet.reset();
        sheet = Show();
        ListView_SetColumnWidth(::GetDlgItem(m_sheet->m_Eq.m_hWnd, IDC_SLOT_LIST), 1, 60 + answer);
        TypeText(MiscPage(), IDC_INSERT_BEFORE_EJECT, "6000");
        m_responder.Answer(IDCANCEL);
        m_responder.Answer(answer);
        PressSheetButton(sheet, IDOK);
        EXPECT_FALSE(SheetEnded(sheet));
        EXPECT_EQ(Profile("ZorvikEq", "w2"), 60 + answer);
        EXPECT_EQ(Stored("InsertBeforeEjectInterval"), -100);
        PressSheetButton(sheet, IDOK);
        EXPECT_EQ(m_sheet->GetEndResult(), IDOK);
        EXPECT_EQ(Stored("InsertBeforeEjectInterval"), answer == IDYES ? 6000 : -100);
    }
    EXPECT_EQ(m_responder.asked.size(), 4u);
    EXPECT_EQ(m_responder.m_unexpected, 0);
}

// Start-up: without the driver, message 4001 once and the sheet all the
// same; with it, no message. A save that did not finish is offered to be
// finished, until it is given up. The driver is closed once the sheet has
// ended.
TEST(AppStart, WithoutTheDriverItSaysSoOnceAndTheSheetOpensAllTheSame) {
    CSaveRecord pending;
    pending.source = "a test";
    pending.steps.push_back({SaveStepKind::TellController, {}, false});
    ASSERT_EQ(0u, TestApp().m_journal.Create(&pending, CRegFile()));
    for (bool bDriver : {false, true}) {
        ASSERT_EQ(0u, bDriver ? StartQuarnelService() : StopQuarnelService());
        ScriptedResponder responder;
        if (!bDriver)
            responder.Answer(IDOK);
        responder.Answer(bDriver ? IDNO : IDCANCEL);
        HANDLE seen = nullptr;
        RunInModalLoop("Mirandel Configuration Utility", [&](HWND sheet) {
            seen = TestKit().m_driver.GetHandle();
            PressSheetButton(sheet, IDCANCEL);
        });
        EXPECT_FALSE(TestApp().InitInstance());
        EXPECT_EQ(bDriver ? "4076" : "4001 4076", AskedIds(responder));
        if (!bDriver) {
            EXPECT_EQ(UINT(IDS_CANNOT_OPEN_DRIVER), responder.asked[0].id);
            EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), responder.asked[0].type);
            EXPECT_EQ("Tavrel Mirandel - configuration", responder.asked[0].caption);
        }
        EXPECT_EQ(bDriver, seen != nullptr && seen != INVALID_HANDLE_VALUE);
        EXPECT_EQ(nullptr, TestKit().m_driver.GetHandle());
        EXPECT_EQ(nullptr, TestApp().m_pMainWnd);
    }
    EXPECT_EQ(SaveRecordState::Discarded, TestApp().m_journal.Records().at(0).record.state);
}
