// The Alternate HS-CSR Drivers, System board service and Hot-swap controller
// pages, with the service manager open.
#include "support/sheet_fixture.h"

#include <dlgs.h>

#include <cstring>

#include "res/resource.h"
#include "support/scratch_service.h"
#include "support/testbed_moravik_client.h"

namespace {
const std::vector<int> kFields = {IDC_MINIPORT_SERVICE, IDC_MINIPORT_FILE, IDC_MINIPORT_DESCRIPTION,
                                  IDC_MINIPORT_RESTRICTIONS};

class ServicePagesTest : public SheetTest {
protected:
    void SetUp() override { TestKit().m_services.Open(nullptr); }
    void TearDown() override {
        SheetTest::TearDown();
        TestKit().m_services.Close();
    }
    CMoravikStateKeeper m_keeper;
};
} // namespace

TEST_F(ServicePagesTest, MiniportsKeepTheirOrderAndSystemBoardFieldsFollowModeAndService) {
    ScratchService service(UniqueServiceName("MirandelPageLookup"), "System32\\drivers\\lookup.sys",
                           "Lookup miniport");
    ASSERT_TRUE(StartTestbedService("moravik"));
    CMiniportList& list = Build().m_MiniList.m_miniports; // only alpha's file is copied
    list.AddTail({"0A08", "alpha", "a.sys", "Alpha", 1});
    list.AddTail({"", "beta", "b.sys", "Beta", 0});
    list.AddTail({"1008, 1808", "gamma", "c.sys", "Gamma", 0});
    ZorvikMoravik& moravik = m_sheet->m_Moravik;
    ZorvikVardek& flags = m_sheet->m_Vardek;
    flags.m_bSuppressLedControl = 1;
    HWND sheet = Show();
    SelectPage(sheet, m_sheet->GetPageIndex(&m_sheet->m_MiniList));
    HWND page = m_sheet->m_MiniList.m_hWnd;
    RECT rc;
    ::GetClientRect(::GetDlgItem(page, IDC_MINIPORT_LIST), &rc);
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(ColumnWidth(page, IDC_MINIPORT_LIST, column), rc.right / 4);
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), -1);

    // Restrictions keep hexadecimal digits, comma, blank, hyphen and keys that
    // are no printable characters of the C locale (backspace, e-acute).
    HWND edit = ::GetDlgItem(page, IDC_MINIPORT_RESTRICTIONS);
    for (const char* p = "0A,g x;1b-.2C\b\xE9"; *p; ++p)
        ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*p), 1);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, 16);
    std::strcpy(static_cast<char*>(::GlobalLock(data)), "1a;g-2 zz\r\n3");
    ::GlobalUnlock(data);
    ::SetClipboardData(CF_TEXT, data);
    ::CloseClipboard();
    ::SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(ItemTexts(page, kFields), "|||0A, 1b-2\xE9"
                                        "1a-2 3");

    // A service name of blanks is refused; a listed service (whatever the
    // case of its name) is replaced in place, another goes last, and the
    // fields and the selection show it.
    TypeTexts(page, kFields, " |x.sys|X|");
    m_responder.Answer(IDOK);
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    EXPECT_EQ(AskedIds(m_responder), "4068");
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(page, IDC_MINIPORT_SERVICE));
    EXPECT_EQ(ListRows(page, IDC_MINIPORT_LIST).size(), 3u);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    TypeTexts(page, kFields, "beta|C:\\new\\b2.sys|Beta two|2008");
    Click(page, {IDC_MINIPORT_COPY_FILE, IDC_MINIPORT_ADD_UPDATE});
    EXPECT_TRUE(IsApplyEnabled(sheet));
    TypeTexts(page, {IDC_MINIPORT_SERVICE, IDC_MINIPORT_FILE}, "Beta|b.sys");
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), 1);
    TypeTexts(page, {IDC_MINIPORT_SERVICE, IDC_MINIPORT_FILE}, "delta|d.sys");
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    EXPECT_EQ(ListRows(page, IDC_MINIPORT_LIST),
              (Texts{"alpha|a.sys|Alpha|0A08", "Beta|b.sys|Beta two|2008",
                     "gamma|c.sys|Gamma|1008, 1808", "delta|d.sys|Beta two|2008"}));
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), 3);
    EXPECT_EQ(ItemTexts(page, kFields), "delta|d.sys|Beta two|2008");
    EXPECT_EQ(GetCheck(page, IDC_MINIPORT_COPY_FILE), BST_CHECKED);

    // A click shows the row's record, one beside the rows keeps the fields.
    m_sheet->m_MiniList.SetModified(FALSE);
    ClickListRow(page, IDC_MINIPORT_LIST, 1);
    EXPECT_EQ(GetCheck(page, IDC_MINIPORT_COPY_FILE), BST_CHECKED);
    PressKey(sheet, VK_HOME);
    EXPECT_EQ(ItemTexts(page, kFields), "alpha|a.sys|Alpha|0A08");
    ClickListRow(page, IDC_MINIPORT_LIST, 2);
    TypeText(page, IDC_MINIPORT_DESCRIPTION, "typed");
    ClickListRow(page, IDC_MINIPORT_LIST, -1);
    EXPECT_EQ(ItemTexts(page, kFields), "gamma|c.sys|typed|1008, 1808");
    EXPECT_EQ(GetCheck(page, IDC_MINIPORT_COPY_FILE), BST_UNCHECKED);
    // A move without a selection beeps; at an end it does nothing.
    Click(page, {IDC_MINIPORT_MOVE_UP, IDC_MINIPORT_MOVE_DOWN});
    ClickListRow(page, IDC_MINIPORT_LIST, 0);
    Click(page, IDC_MINIPORT_MOVE_UP);
    EXPECT_FALSE(IsApplyEnabled(sheet));
    Click(page, std::vector<int>(4, IDC_MINIPORT_MOVE_DOWN));
    EXPECT_EQ(ListRows(page, IDC_MINIPORT_LIST, 1), (Texts{"Beta", "gamma", "delta", "alpha"}));
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), 3);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    Click(page, IDC_MINIPORT_MOVE_UP);
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), 2);
    EXPECT_EQ(ItemTexts(page, kFields), "alpha|a.sys|Alpha|0A08");
    // Remove selects the same row, or the one before, and shows it.
    ClickListRow(page, IDC_MINIPORT_LIST, 1);
    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_EQ(ListRows(page, IDC_MINIPORT_LIST, 1), (Texts{"Beta", "alpha", "delta"}));
    EXPECT_EQ(ItemText(page, IDC_MINIPORT_SERVICE), "alpha");
    ClickListRow(page, IDC_MINIPORT_LIST, 2);
    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_EQ(ItemText(page, IDC_MINIPORT_SERVICE), "alpha");
    EXPECT_EQ(m_responder.m_beeps, 3);

    // A typed service name brings its file and description from the (real)
    // registry; the reload notification shows a record without a look-up.
    const std::string name = service.Name();
    m_registry.WithRealRegistry([&] {
        TypeTexts(page, {IDC_MINIPORT_RESTRICTIONS, IDC_MINIPORT_SERVICE}, "1008|" + name);
        EXPECT_EQ(ItemTexts(page, kFields),
                  name + "|System32\\drivers\\lookup.sys|Lookup miniport|1008");
        TypeText(page, IDC_MINIPORT_SERVICE, "MirandelNoSuchService");
        EXPECT_EQ(ItemText(page, IDC_MINIPORT_FILE), "System32\\drivers\\lookup.sys");
        list.RemoveHead();
        list.AddTail({"", name.c_str(), "C:\\mine.sys", "Mine", 0});
        ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
        PumpMessages();
        EXPECT_EQ(ListRows(page, IDC_MINIPORT_LIST, 1), (Texts{"alpha", name}));
        EXPECT_EQ(ItemTexts(page, kFields), name + "|C:\\mine.sys|Mine|");
    });
    // Browse starts in the drivers directory. A chosen file's title names
    // the service; its path is the file unless that service has an entry,
    // which then gives file and description.
    char temp[MAX_PATH];
    ::GetTempPathA(sizeof(temp), temp);
    for (const std::string& title : {UniqueServiceName("MirandelBrowsed"), name}) {
        const std::string path = temp + title + ".sys";
        ::CloseHandle(
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        std::string folder, filter;
        RunInModalLoop("Browse for miniport", [&](HWND dialog) {
            char text[MAX_PATH] = "";
            ::GetCurrentDirectoryA(sizeof(text), text);
            folder = text;
            ::SendDlgItemMessageA(dialog, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
            filter = text;
            HWND edit = ::GetDlgItem(dialog, cmb13) ? ::GetDlgItem(dialog, cmb13)
                                                    : ::GetDlgItem(dialog, edt1);
            ::SetWindowTextA(edit, path.c_str());
            ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        m_registry.WithRealRegistry([&] { Click(page, IDC_MINIPORT_BROWSE); });
        ::DeleteFileA(path.c_str());
        EXPECT_EQ(0, lstrcmpiA(folder.c_str(), m_sheet->m_MiniList.m_strDriversDir)) << folder;
        EXPECT_EQ("Drivers(*.sys)", filter);
        EXPECT_EQ(title, ItemText(page, IDC_MINIPORT_SERVICE));
        if (title == name)
            EXPECT_EQ(ItemTexts(page, {IDC_MINIPORT_FILE, IDC_MINIPORT_DESCRIPTION}),
                      "System32\\drivers\\lookup.sys|Lookup miniport");
        else
            EXPECT_EQ(0, lstrcmpiA(path.c_str(), ItemText(page, IDC_MINIPORT_FILE).c_str()));
    }
    // The last record removed leaves its fields.
    Click(page, std::vector<int>(3, IDC_MINIPORT_REMOVE));
    EXPECT_TRUE(ListRows(page, IDC_MINIPORT_LIST).empty());
    EXPECT_EQ(ItemText(page, IDC_MINIPORT_SERVICE), "alpha");

    m_sheet->m_MiniList.SetModified(FALSE);
    // The system board page: time-out actions and fields, poll fields, Start, Stop.
    const std::vector<int> controls = {
        IDC_ACTION_NOTHING, IDC_ACTION_CONCEDE, IDC_ACTION_RESTORE,     IDC_TIMEOUT,
        IDC_TIMEOUT_SPIN,   IDC_POLL_INTERVAL,  IDC_POLL_INTERVAL_SPIN, IDC_START_SERVICE,
        IDC_STOP_SERVICE};
    SelectPage(sheet, m_sheet->GetPageIndex(&moravik));
    page = moravik.m_hWnd;
    EXPECT_EQ(ItemTexts(page, {IDC_TIMEOUT, IDC_POLL_INTERVAL, IDC_SERVICE_STATUS}),
              "10000|500|Service is running");
    EXPECT_EQ(Checked(page, {IDC_MODE_CONCESSION, IDC_MODE_REQUEST, IDC_ACTION_RESTORE}), "101");
    EXPECT_EQ(Enabled(page, controls), "111110001");
    EXPECT_FALSE(IsApplyEnabled(sheet));

    Click(page, IDC_ACTION_NOTHING);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    moravik.SetModified(FALSE);
    Click(page, IDC_MODE_REQUEST);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    EXPECT_EQ(Enabled(page, controls), "000001101");
    // A bad number ends the read-back before the mode and the action are taken.
    TypeTexts(page, {IDC_POLL_INTERVAL, IDC_TIMEOUT}, "250000|ten");
    m_responder.Answer(IDOK);
    EXPECT_FALSE(moravik.UpdateData(TRUE));
    EXPECT_EQ(std::to_string(moravik.m_dwMode) + "/" + std::to_string(moravik.m_dwTimeoutAction),
              "0/2");
    TypeText(page, IDC_TIMEOUT, "10000");
    ASSERT_TRUE(moravik.UpdateData(TRUE));
    EXPECT_EQ(std::to_string(moravik.m_dwMode) + "/" + std::to_string(moravik.m_dwTimeoutAction),
              "1/0");
    EXPECT_EQ(moravik.m_dwPollInterval, 250000u);
    EXPECT_EQ(m_responder.asked.size(), 2u);
    // After the reload notification a mode no button stands for is concession.
    moravik.m_dwMode = 5;
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(Checked(page, {IDC_MODE_CONCESSION, IDC_MODE_REQUEST}), "00");
    EXPECT_EQ(Enabled(page, controls), "111110001");
    ASSERT_TRUE(moravik.UpdateData(TRUE));
    EXPECT_EQ(moravik.m_dwMode, 5u);

    // Stop from the keyboard: once the button has disabled itself, the focus
    // is on Start, and Tab goes on from there.
    HWND start = ::GetDlgItem(page, IDC_START_SERVICE);
    ::SendMessageA(page, WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(::GetDlgItem(page, IDC_STOP_SERVICE)), TRUE);
    PressKey(sheet, VK_SPACE);
    ASSERT_TRUE(WaitForTestbedServiceState("moravik", SERVICE_STOPPED));
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
    EXPECT_EQ(Enabled(page, {IDC_START_SERVICE, IDC_STOP_SERVICE}), "10");
    EXPECT_EQ(::GetFocus(), start);
    PressKey(sheet, VK_TAB);
    HWND next = ::GetFocus();
    EXPECT_TRUE(next != start && ::IsChild(sheet, next) && ::IsWindowEnabled(next));
    // The status stays while the controller page, whose boxes are its flags,
    // is active.
    moravik.SetModified(FALSE);
    SelectPage(sheet, m_sheet->GetPageIndex(&flags));
    ASSERT_TRUE(StartTestbedService("moravik"));
    const std::vector<int> boxes = {IDC_SUPPRESS_SLOT_POWER, IDC_SUPPRESS_AUTO_CONCESSION,
                                    IDC_SUPPRESS_LED_CONTROL, IDC_SUPPRESS_DOMAIN_PICKUP};
    EXPECT_EQ(Checked(flags.m_hWnd, boxes), "0010");
    for (int id : boxes) {
        flags.SetModified(FALSE);
        Click(flags.m_hWnd, id);
        EXPECT_TRUE(IsApplyEnabled(sheet)) << id;
    }
    ASSERT_TRUE(flags.UpdateData(TRUE));
    EXPECT_EQ(flags.m_bSuppressSlotPowerAtStartup, 1);
    EXPECT_EQ(flags.m_bSuppressDomainAutoConcession, 1);
    EXPECT_EQ(flags.m_bSuppressLedControl, 0);
    EXPECT_EQ(flags.m_bSuppressDomainPickup, 1);
    PumpMessagesFor(1500);
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is not running");
    SelectPage(sheet, m_sheet->GetPageIndex(&moravik));
    EXPECT_EQ(ItemText(page, IDC_SERVICE_STATUS), "Service is running");
}
