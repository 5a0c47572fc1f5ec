// The Alternate HS-CSR Drivers page: its list and order, the fields a click or
// a refresh fills, service lookups, Browse, and the restrictions edit.
#include "support/sheet_fixture.h"

#include <dlgs.h>

#include <cstring>

#include "res/resource.h"
#include "support/scratch_service.h"

namespace {
using Texts = std::vector<std::string>;
const std::vector<int> kFields = {IDC_MINIPORT_SERVICE, IDC_MINIPORT_FILE, IDC_MINIPORT_DESCRIPTION,
                                  IDC_MINIPORT_RESTRICTIONS};

class MiniListPageTest : public SheetTest {
protected:
    void SetUp() override { TestKit().m_services.Open(nullptr); }
    void TearDown() override {
        SheetTest::TearDown();
        TestKit().m_services.Close();
    }
    // The page on alpha, beta and gamma; only alpha's file is copied.
    HWND Page() {
        CMiniportList& list = Build().m_MiniList.m_miniports;
        list.AddTail({"0A08", "alpha", "a.sys", "Alpha", 1});
        list.AddTail({"", "beta", "b.sys", "Beta", 0});
        list.AddTail({"1008, 1808", "gamma", "c.sys", "Gamma", 0});
        SelectPage(Show(), m_sheet->GetPageIndex(&m_sheet->m_MiniList));
        return m_sheet->m_MiniList.m_hWnd;
    }
    Texts Services(HWND page) { return ListRows(page, IDC_MINIPORT_LIST, 1); }
};
} // namespace

TEST_F(MiniListPageTest, ClicksAddUpdateMovesAndRemoveKeepTheListInItsOrder) {
    HWND page = Page();
    HWND sheet = m_sheet->m_hWnd;
    RECT rc;
    ::GetClientRect(::GetDlgItem(page, IDC_MINIPORT_LIST), &rc);
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(ColumnWidth(page, IDC_MINIPORT_LIST, column), rc.right / 4);
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), -1);
    EXPECT_EQ(ItemTexts(page, kFields), "|||");
    // A listed service is replaced in place; another one (names differ by
    // case too) goes last.
    TypeTexts(page, kFields, "beta|C:\\new\\b2.sys|Beta two|2008");
    Click(page, {IDC_MINIPORT_COPY_FILE, IDC_MINIPORT_ADD_UPDATE});
    EXPECT_TRUE(IsApplyEnabled(sheet));
    TypeText(page, IDC_MINIPORT_SERVICE, "Beta");
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    EXPECT_EQ(ListRows(page, IDC_MINIPORT_LIST),
              (Texts{"alpha|a.sys|Alpha|0A08", "beta|C:\\new\\b2.sys|Beta two|2008",
                     "gamma|c.sys|Gamma|1008, 1808", "Beta|C:\\new\\b2.sys|Beta two|2008"}));

    // A click shows the row's record, one beside the rows keeps the fields;
    // neither is an edit.
    m_sheet->m_MiniList.SetModified(FALSE);
    ClickListRow(page, IDC_MINIPORT_LIST, 1);
    EXPECT_EQ(GetCheck(page, IDC_MINIPORT_COPY_FILE), BST_CHECKED);
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
    EXPECT_EQ(Services(page), (Texts{"beta", "gamma", "Beta", "alpha"}));
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), 3);
    EXPECT_TRUE(IsApplyEnabled(sheet));
    Click(page, IDC_MINIPORT_MOVE_UP);
    EXPECT_EQ(SelectedRow(page, IDC_MINIPORT_LIST), 2);
    EXPECT_EQ(ItemTexts(page, kFields), "alpha|a.sys|Alpha|0A08");

    // Remove selects the same row, or the one before, and shows it; the
    // last record removed leaves its fields.
    ClickListRow(page, IDC_MINIPORT_LIST, 1);
    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_EQ(Services(page), (Texts{"beta", "alpha", "Beta"}));
    EXPECT_EQ(ItemText(page, IDC_MINIPORT_SERVICE), "alpha");
    ClickListRow(page, IDC_MINIPORT_LIST, 2);
    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_EQ(ItemText(page, IDC_MINIPORT_SERVICE), "alpha");
    Click(page, std::vector<int>(3, IDC_MINIPORT_REMOVE));
    EXPECT_TRUE(Services(page).empty());
    EXPECT_EQ(ItemText(page, IDC_MINIPORT_SERVICE), "beta");
    EXPECT_EQ(m_responder.m_beeps, 2);
}

TEST_F(MiniListPageTest, ServicesAreLookedUpByNameAndByBrowseAndRestrictionsKeepSlotCharacters) {
    ScratchService service(UniqueServiceName("MirandelPageLookup"), "System32\\drivers\\lookup.sys",
                           "Lookup miniport");
    const std::string name = service.Name();
    const std::string entry = "|System32\\drivers\\lookup.sys|Lookup miniport|1008";
    HWND page = Page();
    // Typed and pasted characters outside hexadecimal digits, comma, blank
    // and hyphen are dropped; keys that are no printable characters of the C
    // locale (backspace, e-acute) pass. The page takes what the field holds.
    HWND edit = ::GetDlgItem(page, IDC_MINIPORT_RESTRICTIONS);
    ::SetWindowTextA(edit, "");
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
    ASSERT_TRUE(m_sheet->m_MiniList.UpdateData(TRUE));
    EXPECT_EQ(m_sheet->m_MiniList.m_strRestrictions.str(), "0A, 1b-2\xE9"
                                                           "1a-2 3");

    // The services' entries are in the real registry, which the sandbox hides.
    m_registry.WithRealRegistry([&] {
        TypeTexts(page, {IDC_MINIPORT_RESTRICTIONS, IDC_MINIPORT_SERVICE}, "1008|" + name);
        EXPECT_EQ(ItemTexts(page, kFields), name + entry);
        // A name that is no service leaves the fields alone; neither is an edit.
        TypeText(page, IDC_MINIPORT_SERVICE, "MirandelNoSuchService");
        EXPECT_EQ(ItemTexts(page, kFields), "MirandelNoSuchService" + entry);
        EXPECT_FALSE(IsApplyEnabled(m_sheet->m_hWnd));

        // The reload notification rebuilds the rows and shows the record now at
        // the selected index, without looking its service up.
        ClickListRow(page, IDC_MINIPORT_LIST, 2);
        m_sheet->m_MiniList.m_miniports.RemoveHead();
        m_sheet->m_MiniList.m_miniports.AddTail({"", name.c_str(), "C:\\mine.sys", "Mine", 0});
        ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
        PumpMessages();
        EXPECT_EQ(Services(page), (Texts{"beta", "gamma", name}));
        EXPECT_EQ(ItemTexts(page, kFields), name + "|C:\\mine.sys|Mine|");

        // Browse opens in the drivers directory on *.sys files; a file of no
        // service gives its title and path, a service's file the service's entry.
        char temp[MAX_PATH];
        ::GetTempPathA(sizeof(temp), temp);
        std::string title = UniqueServiceName("MirandelBrowsed"), seen;
        TypeText(page, IDC_MINIPORT_DESCRIPTION, "kept");
        for (const std::string& chosen : {title, name}) {
            std::string path = temp + chosen + ".sys";
            ::CloseHandle(
                ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            RunInModalLoop("Browse for miniport", [&](HWND dialog) {
                char text[MAX_PATH] = "";
                ::GetCurrentDirectoryA(sizeof(text), text);
                seen +=
                    lstrcmpiA(text, m_sheet->m_MiniList.m_strDriversDir) == 0 ? "drivers " : text;
                ::SendDlgItemMessageA(dialog, cmb1, CB_GETLBTEXT, 0,
                                      reinterpret_cast<LPARAM>(text));
                seen += std::string(text) + "\n";
                HWND box = ::GetDlgItem(dialog, cmb13) ? ::GetDlgItem(dialog, cmb13)
                                                       : ::GetDlgItem(dialog, edt1);
                ::SetWindowTextA(box, path.c_str());
                ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            });
            Click(page, IDC_MINIPORT_BROWSE);
            ::DeleteFileA(path.c_str());
            std::string file = ItemText(page, IDC_MINIPORT_FILE);
            seen += ItemTexts(page, {IDC_MINIPORT_SERVICE, IDC_MINIPORT_DESCRIPTION}) + "|" +
                    (lstrcmpiA(file.c_str(), path.c_str()) ? file : "the path") + "\n";
        }
        EXPECT_EQ(seen, "drivers Drivers(*.sys)\n" + title +
                            "|kept|the path\ndrivers Drivers(*.sys)\n" + name +
                            "|Lookup miniport|System32\\drivers\\lookup.sys\n");
    });
}
