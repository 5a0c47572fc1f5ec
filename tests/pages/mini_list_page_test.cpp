// The Alternate HS-CSR Drivers page: the list and its order, the fields a
// click or a refresh fills, the service lookup while typing, and Browse.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <string>
#include <vector>

#include "app/zorvik_app.h"
#include "res/resource.h"
#include "pages/miniports/zorvik_mini_list.h"
#include "support/test_kit.h"
#include "support/page_host.h"
#include "support/scratch_service.h"
#include "support/scripted_responder.h"

namespace {
CMiniportRecord Record(const char* service, const char* file, const char* description,
                       const char* restrictions, int copy = 0) {
    CMiniportRecord record;
    record.m_strServiceName = service;
    record.m_strFile = file;
    record.m_strDescription = description;
    record.m_strRestrictions = restrictions;
    record.m_bCopyFile = copy;
    return record;
}

HWND List(HWND page) { return ::GetDlgItem(page, IDC_MINIPORT_LIST); }

std::string CellText(HWND list, int item, int subItem) {
    char text[512] = "";
    LVITEMA lvi = {};
    lvi.iSubItem = subItem;
    lvi.pszText = text;
    lvi.cchTextMax = sizeof(text);
    ::SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lvi));
    return text;
}

// Every row as "service|file|description|restrictions".
std::vector<std::string> Rows(HWND page) {
    std::vector<std::string> rows;
    int count = static_cast<int>(::SendMessageA(List(page), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        rows.push_back(CellText(List(page), i, 0) + "|" + CellText(List(page), i, 1) + "|" +
                       CellText(List(page), i, 2) + "|" + CellText(List(page), i, 3));
    return rows;
}

std::vector<std::string> Services(const CMiniportList& list) {
    std::vector<std::string> names;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        names.push_back(list.GetNext(pos).m_strServiceName.str());
    return names;
}

int SelectedRow(HWND page) {
    return static_cast<int>(
        ::SendMessageA(List(page), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

// A click as the list view reports it: the row under the mouse becomes the
// only selected one (none when the click is beside the rows), then NM_CLICK.
void ClickRow(HWND page, int item) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(List(page), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&state));
    if (item >= 0) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(List(page), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    }
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = List(page);
    nm.hdr.idFrom = IDC_MINIPORT_LIST;
    nm.hdr.code = NM_CLICK;
    nm.iItem = item;
    ::SendMessageA(page, WM_NOTIFY, IDC_MINIPORT_LIST, reinterpret_cast<LPARAM>(&nm));
    PumpMessages();
}

class MiniListPageTest : public ::testing::Test {
protected:
    void SetUp() override { TestKit().m_services.Open(nullptr); }
    void TearDown() override { TestKit().m_services.Close(); }

    HWND ShowWithThree() {
        m_page.m_miniports.AddTail(Record("alpha", "a.sys", "Alpha", "0A08"));
        m_page.m_miniports.AddTail(Record("beta", "b.sys", "Beta", "", 1));
        m_page.m_miniports.AddTail(Record("gamma", "c.sys", "Gamma", "1008, 1808"));
        return m_host.Show();
    }

    ScriptedResponder m_responder;
    ZorvikMiniList m_page{TestKit().m_services};
    PageHost m_host{m_page};
};
} // namespace

TEST_F(MiniListPageTest, ShowsFourEqualColumnsAndTheListInOrderWithNothingSelected) {
    HWND page = ShowWithThree();
    HWND header = reinterpret_cast<HWND>(::SendMessageA(List(page), LVM_GETHEADER, 0, 0));
    ASSERT_EQ(4, ::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    RECT rc;
    ::GetClientRect(List(page), &rc);
    const char* headings[] = {"Service", "File", "Description", "Restrictions"};
    for (int i = 0; i < 4; ++i) {
        char text[64] = "";
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = text;
        col.cchTextMax = sizeof(text);
        ::SendMessageA(List(page), LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
        EXPECT_STREQ(headings[i], text);
        EXPECT_EQ(rc.right / 4, col.cx);
    }
    EXPECT_EQ(DWORD(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
              DWORD(::SendMessageA(List(page), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)));
    EXPECT_EQ((std::vector<std::string>{"alpha|a.sys|Alpha|0A08", "beta|b.sys|Beta|",
                                        "gamma|c.sys|Gamma|1008, 1808"}),
              Rows(page));
    EXPECT_EQ(-1, SelectedRow(page));
    EXPECT_EQ("", ItemText(page, IDC_MINIPORT_SERVICE));
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));
}

TEST_F(MiniListPageTest, ClickShowsTheRowsRecordAndAClickBesideTheRowsKeepsTheFields) {
    HWND page = ShowWithThree();
    ClickRow(page, 1);
    EXPECT_EQ("beta", ItemText(page, IDC_MINIPORT_SERVICE));
    EXPECT_EQ("b.sys", ItemText(page, IDC_MINIPORT_FILE));
    EXPECT_EQ("Beta", ItemText(page, IDC_MINIPORT_DESCRIPTION));
    EXPECT_EQ("", ItemText(page, IDC_MINIPORT_RESTRICTIONS));
    EXPECT_EQ(BST_CHECKED, GetCheck(page, IDC_MINIPORT_COPY_FILE));
    ClickRow(page, 2);
    EXPECT_EQ("1008, 1808", ItemText(page, IDC_MINIPORT_RESTRICTIONS));
    EXPECT_EQ(BST_UNCHECKED, GetCheck(page, IDC_MINIPORT_COPY_FILE));

    TypeText(page, IDC_MINIPORT_DESCRIPTION, "typed, not added yet");
    ClickRow(page, -1);
    EXPECT_EQ("typed, not added yet", ItemText(page, IDC_MINIPORT_DESCRIPTION));
    EXPECT_EQ("gamma", ItemText(page, IDC_MINIPORT_SERVICE));
    // Showing records is no edit.
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));
}

TEST_F(MiniListPageTest, AddUpdateReplacesAListedServiceInPlaceAndAppendsANewOne) {
    HWND page = ShowWithThree();
    TypeText(page, IDC_MINIPORT_SERVICE, "beta");
    TypeText(page, IDC_MINIPORT_FILE, "C:\\new\\b2.sys");
    TypeText(page, IDC_MINIPORT_DESCRIPTION, "Beta two");
    TypeText(page, IDC_MINIPORT_RESTRICTIONS, "2008");
    Click(page, IDC_MINIPORT_COPY_FILE);
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    EXPECT_TRUE(IsApplyEnabled(m_host.Sheet()));
    EXPECT_EQ((std::vector<std::string>{"alpha", "beta", "gamma"}), Services(m_page.m_miniports));
    EXPECT_EQ("beta|C:\\new\\b2.sys|Beta two|2008", Rows(page)[1]);
    EXPECT_EQ(1, m_page.m_miniports.GetAt(m_page.m_miniports.FindByService("beta")).m_bCopyFile);

    // Names are told apart by case: "Beta" is another service.
    TypeText(page, IDC_MINIPORT_SERVICE, "Beta");
    Click(page, IDC_MINIPORT_ADD_UPDATE);
    EXPECT_EQ((std::vector<std::string>{"alpha", "beta", "gamma", "Beta"}),
              Services(m_page.m_miniports));
    EXPECT_EQ("Beta|C:\\new\\b2.sys|Beta two|2008", Rows(page)[3]);
}

TEST_F(MiniListPageTest, MovesKeepTheMovedRowSelectedAndStopAtTheEnds) {
    HWND page = ShowWithThree();
    Click(page, IDC_MINIPORT_MOVE_UP);
    Click(page, IDC_MINIPORT_MOVE_DOWN);
    EXPECT_EQ(2, m_responder.m_beeps);
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));

    ClickRow(page, 0);
    Click(page, IDC_MINIPORT_MOVE_UP);
    EXPECT_EQ((std::vector<std::string>{"alpha", "beta", "gamma"}), Services(m_page.m_miniports));
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));

    Click(page, IDC_MINIPORT_MOVE_DOWN);
    Click(page, IDC_MINIPORT_MOVE_DOWN);
    EXPECT_EQ((std::vector<std::string>{"beta", "gamma", "alpha"}), Services(m_page.m_miniports));
    EXPECT_EQ(2, SelectedRow(page));
    EXPECT_EQ("alpha|a.sys|Alpha|0A08", Rows(page)[2]);
    EXPECT_TRUE(IsApplyEnabled(m_host.Sheet()));
    Click(page, IDC_MINIPORT_MOVE_DOWN);
    EXPECT_EQ((std::vector<std::string>{"beta", "gamma", "alpha"}), Services(m_page.m_miniports));

    Click(page, IDC_MINIPORT_MOVE_UP);
    EXPECT_EQ((std::vector<std::string>{"beta", "alpha", "gamma"}), Services(m_page.m_miniports));
    EXPECT_EQ(1, SelectedRow(page));
    EXPECT_EQ("alpha", ItemText(page, IDC_MINIPORT_SERVICE));
    EXPECT_EQ(2, m_responder.m_beeps);
}

TEST_F(MiniListPageTest, RemoveSelectsTheSameRowOrTheOneBeforeAndShowsIt) {
    HWND page = ShowWithThree();
    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_EQ(3, m_page.m_miniports.GetCount());
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));

    ClickRow(page, 1);
    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_EQ((std::vector<std::string>{"alpha", "gamma"}), Services(m_page.m_miniports));
    EXPECT_EQ(1, SelectedRow(page));
    EXPECT_EQ("gamma", ItemText(page, IDC_MINIPORT_SERVICE));
    EXPECT_TRUE(IsApplyEnabled(m_host.Sheet()));

    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_EQ(0, SelectedRow(page));
    EXPECT_EQ("alpha", ItemText(page, IDC_MINIPORT_SERVICE));
    Click(page, IDC_MINIPORT_REMOVE);
    EXPECT_TRUE(m_page.m_miniports.IsEmpty());
    EXPECT_TRUE(Rows(page).empty());
    EXPECT_EQ("alpha", ItemText(page, IDC_MINIPORT_SERVICE));
}

TEST_F(MiniListPageTest, TypingAnInstalledServiceNameFillsFileAndDescriptionOnly) {
    ScratchService service(UniqueServiceName("MirandelPageLookup"), "System32\\drivers\\lookup.sys",
                           "Lookup miniport");
    HWND page = ShowWithThree();
    TypeText(page, IDC_MINIPORT_RESTRICTIONS, "1008");
    TypeText(page, IDC_MINIPORT_SERVICE, service.Name());
    EXPECT_EQ("System32\\drivers\\lookup.sys", ItemText(page, IDC_MINIPORT_FILE));
    EXPECT_EQ("Lookup miniport", ItemText(page, IDC_MINIPORT_DESCRIPTION));
    EXPECT_EQ("1008", ItemText(page, IDC_MINIPORT_RESTRICTIONS));
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));

    // A name that is no service leaves the fields alone.
    TypeText(page, IDC_MINIPORT_SERVICE, "MirandelNoSuchService");
    EXPECT_EQ("System32\\drivers\\lookup.sys", ItemText(page, IDC_MINIPORT_FILE));

    // The reload notification rebuilds the rows and shows the record now at
    // the selected index, without looking its service up.
    ClickRow(page, 2);
    m_page.m_miniports.RemoveHead();
    m_page.m_miniports.AddTail(Record(service.Name(), "C:\\mine.sys", "Mine", ""));
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(3u, Rows(page).size());
    EXPECT_EQ(2, SelectedRow(page));
    EXPECT_EQ(service.Name(), ItemText(page, IDC_MINIPORT_SERVICE));
    EXPECT_EQ("C:\\mine.sys", ItemText(page, IDC_MINIPORT_FILE));
    EXPECT_EQ("Mine", ItemText(page, IDC_MINIPORT_DESCRIPTION));
}

namespace {
// A file of the given name in a fresh folder below the temporary folder.
struct ScratchFile {
    explicit ScratchFile(const std::string& fileName) {
        char temp[MAX_PATH];
        ::GetTempPathA(sizeof(temp), temp);
        dir = std::string(temp) + UniqueServiceName("mirandel-browse-");
        ::CreateDirectoryA(dir.c_str(), nullptr);
        path = dir + "\\" + fileName;
        HANDLE h =
            ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::WriteFile(h, "MZ", 2, nullptr, nullptr);
        ::CloseHandle(h);
    }
    ~ScratchFile() {
        ::DeleteFileA(path.c_str());
        ::RemoveDirectoryA(dir.c_str());
    }
    std::string dir, path;
};

struct BrowseSeen {
    bool shown = false;
    std::string currentDir, firstFilter;
};

// Answers the open-file dialog with the path, as a user typing it would.
void ChooseInBrowseDialog(const std::string& path, BrowseSeen* seen) {
    RunInModalLoop("Browse for miniport", [path, seen](HWND dialog) {
        seen->shown = true;
        char dir[MAX_PATH] = "";
        ::GetCurrentDirectoryA(sizeof(dir), dir);
        seen->currentDir = dir;
        char filter[128] = "";
        ::SendDlgItemMessageA(dialog, cmb1, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(filter));
        seen->firstFilter = filter;
        HWND name = ::GetDlgItem(dialog, cmb13);
        if (!name)
            name = ::GetDlgItem(dialog, edt1);
        ::SetWindowTextA(name, path.c_str());
        ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}
} // namespace

TEST_F(MiniListPageTest, BrowseStartsInTheDriversDirectoryAndTakesANewFilesTitleAndPath) {
    std::string title = UniqueServiceName("MirandelBrowsed");
    ScratchFile file(title + ".sys");
    HWND page = ShowWithThree();
    TypeText(page, IDC_MINIPORT_DESCRIPTION, "kept");
    BrowseSeen seen;
    ChooseInBrowseDialog(file.path, &seen);
    Click(page, IDC_MINIPORT_BROWSE);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(0, lstrcmpiA(m_page.m_strDriversDir, seen.currentDir.c_str())) << seen.currentDir;
    EXPECT_EQ("Drivers(*.sys)", seen.firstFilter);
    EXPECT_EQ(title, ItemText(page, IDC_MINIPORT_SERVICE));
    EXPECT_EQ(0, lstrcmpiA(file.path.c_str(), ItemText(page, IDC_MINIPORT_FILE).c_str()))
        << ItemText(page, IDC_MINIPORT_FILE);
    EXPECT_EQ("kept", ItemText(page, IDC_MINIPORT_DESCRIPTION));
}

TEST_F(MiniListPageTest, BrowseToTheFileOfAnInstalledServiceTakesTheServicesEntry) {
    ScratchService service(UniqueServiceName("MirandelBrowsedService"),
                           "System32\\drivers\\browsed.sys", "Browsed miniport");
    ScratchFile file(std::string(service.Name()) + ".sys");
    HWND page = ShowWithThree();
    BrowseSeen seen;
    ChooseInBrowseDialog(file.path, &seen);
    Click(page, IDC_MINIPORT_BROWSE);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(service.Name(), ItemText(page, IDC_MINIPORT_SERVICE));
    EXPECT_EQ("System32\\drivers\\browsed.sys", ItemText(page, IDC_MINIPORT_FILE));
    EXPECT_EQ("Browsed miniport", ItemText(page, IDC_MINIPORT_DESCRIPTION));
}
