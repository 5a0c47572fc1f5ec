// The Device Resource Requirements page: validation messages in their order,
// entries merged per identity in identity order, the click and refresh rules,
// and what Apply stores.
#include "support/sheet_fixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "support/page_host.h"

namespace {
using Texts = std::vector<std::string>;
// Vendor, device, subsystem vendor, subsystem, revision, then BAR 0 to BAR 5.
const int kFieldIds[11] = {
    IDC_DEVRES_VENDOR_ID,    IDC_DEVRES_DEVICE_ID,   IDC_DEVRES_SUBSYSTEM_VENDOR_ID,
    IDC_DEVRES_SUBSYSTEM_ID, IDC_DEVRES_REVISION_ID, IDC_DEVRES_BAR0,
    IDC_DEVRES_BAR1,         IDC_DEVRES_BAR2,        IDC_DEVRES_BAR3,
    IDC_DEVRES_BAR4,         IDC_DEVRES_BAR5};

// Types the fields in that order (missing ones empty) and presses Add/Update.
void Enter(HWND page, Texts fields) {
    fields.resize(11);
    for (int i = 0; i < 11; ++i)
        TypeText(page, kFieldIds[i], fields[i].c_str());
    Click(page, IDC_DEVRES_ADD_UPDATE);
}

Texts Fields(HWND page) {
    Texts fields;
    for (int id : kFieldIds)
        fields.push_back(ItemText(page, id));
    return fields;
}

// Each row as "identity | resources".
Texts Rows(HWND page) {
    HWND list = ::GetDlgItem(page, IDC_DEVRES_LIST);
    Texts rows;
    char a[256], b[256];
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
        ListView_GetItemText(list, i, 0, a, sizeof(a));
        ListView_GetItemText(list, i, 1, b, sizeof(b));
        rows.push_back(std::string(a) + " | " + b);
    }
    return rows;
}

// A click as the list view reports it: the row selected, then NM_CLICK.
void ClickRow(HWND page, int item) {
    HWND list = ::GetDlgItem(page, IDC_DEVRES_LIST);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, item, LVIS_SELECTED, LVIS_SELECTED);
    NMITEMACTIVATE click = {};
    click.hdr = {list, IDC_DEVRES_LIST, static_cast<UINT>(NM_CLICK)};
    click.iItem = item;
    ::SendMessageA(page, WM_NOTIFY, IDC_DEVRES_LIST, reinterpret_cast<LPARAM>(&click));
}

class DevResPageTest : public ::testing::Test {
protected:
    ScriptedResponder m_responder;
    CDeviceResources m_page;
    PageHost m_host{m_page};
};
} // namespace

TEST_F(DevResPageTest, RefusesFieldsInOrderWithTheirMessagesAndChangesNothing) {
    HWND page = m_host.Show();
    // Every field bad; fixing one at a time brings up the next message.
    Enter(page, {"FFFF", "10000", "1 2", "x", "100", "", "", "", "1000h"});
    for (auto fix :
         {std::make_pair(0, "1ABC"), {1, ""}, {2, "0x1ABC"}, {3, " 3c5e "}, {4, "FF"}, {8, "0"}}) {
        TypeText(page, kFieldIds[fix.first], fix.second);
        Click(page, IDC_DEVRES_ADD_UPDATE);
    }
    for (const char* vendor : {"", "0", "10000"})
        Enter(page, {vendor, "", "", "", "", "1"});
    std::vector<UINT> ids;
    for (const AskedMessage& m : m_responder.asked) {
        ids.push_back(m.id);
        EXPECT_EQ(m.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
    EXPECT_EQ(ids, (std::vector<UINT>{4030, 4031, 4032, 4033, 4033, 4034, 4035, 4030, 4030, 4030}));
    EXPECT_EQ(m_responder.m_beeps, 10);
    EXPECT_EQ(m_responder.asked[0].text,
              "Invalid Vendor ID (must fit in 16 bits and cannot be 0 or FFFF) ");
    EXPECT_TRUE(Rows(page).empty());
    EXPECT_FALSE(IsApplyEnabled(m_host.Sheet()));

    Enter(page, {"1ABC", "", "", "", "", "", "0x1000"});
    EXPECT_EQ(Rows(page), Texts{"PCI\\VEN_1ABC&DEV_0000 | 1:1000"});
    EXPECT_TRUE(IsApplyEnabled(m_host.Sheet()));
}

TEST_F(DevResPageTest, EntriesMergePerIdentityInIdentityOrderAndFollowClicks) {
    HWND page = m_host.Show();
    Enter(page, {"2000", "1", "", "", "", "1000", "", "FFF00000"});
    Enter(page, {"1ABC", "2DEF", "1ABC", "", "", "10"});
    Enter(page, {"1ABC", "2DEF", "", "", "0b", "20"});
    Enter(page, {"1ABC", "2DEF", "", "", "", "30"});
    Enter(page, {"2000", "1", "", "", "", "", "FFFFFFFFF"}); // every BAR of it replaced
    EXPECT_TRUE(m_responder.asked.empty());
    EXPECT_EQ(Rows(page),
              (Texts{"PCI\\VEN_1ABC&DEV_2DEF | 0:30", "PCI\\VEN_1ABC&DEV_2DEF&REV_0B | 0:20",
                     "PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00001ABC | 0:10",
                     "PCI\\VEN_2000&DEV_0001 | 1:FFFFFFFF"}));

    ClickRow(page, 2);
    EXPECT_EQ(Fields(page), (Texts{"1ABC", "2DEF", "1ABC", "0000", "", "10", "", "", "", "", ""}));
    ClickRow(page, -1); // beside the rows
    EXPECT_EQ(Fields(page), Texts(11));

    // Removing the last row selects and shows the new last row.
    ClickRow(page, 3);
    Click(page, IDC_DEVRES_REMOVE);
    EXPECT_EQ(Rows(page).size(), 3u);
    EXPECT_EQ(ListView_GetNextItem(::GetDlgItem(page, IDC_DEVRES_LIST), -1, LVNI_SELECTED), 2);
    EXPECT_EQ(ItemText(page, IDC_DEVRES_SUBSYSTEM_VENDOR_ID), "1ABC");

    // The reload notification rebuilds the rows from the list; a record
    // without BARs (a stored value with no data) shows no resources.
    m_page.m_requirements.RemoveTail();
    CDeviceRequirement bare;
    ASSERT_TRUE(bare.ParseIdentityText("VEN_FFFF&DEV_1"));
    m_page.m_requirements.Add(bare, true);
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(Rows(page).back(), "PCI\\VEN_FFFF&DEV_0001 | ");
    EXPECT_EQ(Fields(page), (Texts{"FFFF", "0001", "", "", "", "", "", "", "", "", ""}));
}

TEST_F(SheetTest, DeviceRequirementsPageStoresExactlyItsListInIdentityOrder) {
    using namespace std::string_literals;
    WriteRaw(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_9999&DEV_0001", REG_MULTI_SZ,
             "0:1\0\0", 5);
    HWND sheet = Show();
    int index = m_sheet->GetPageIndex(&m_sheet->m_DevRes);
    EXPECT_EQ(index + 1, m_sheet->GetPageIndex(&m_sheet->m_Misc));
    SelectPage(sheet, index);
    HWND page = m_sheet->m_DevRes.m_hWnd;
    EXPECT_EQ(Rows(page), Texts{"PCI\\VEN_9999&DEV_0001 | 0:1"});

    Enter(page, {"8086", "1229", "", "", "8", "", "FFFFF000"});
    Enter(page, {"10B5", "9054", "10B5", "2FA1", "", "1000", "", "FFF00000"});
    ClickRow(page, 2);
    Click(page, IDC_DEVRES_REMOVE);
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(m_responder.asked.size(), 1u);
    EXPECT_EQ(m_responder.m_unexpected, 0);

    Texts names; // in the order the key holds them
    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRequirementsKey, 0, KEY_READ, &key), 0);
    char name[256];
    for (DWORD i = 0, n = sizeof(name);
         ::RegEnumValueA(key, i, name, &n, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, n = sizeof(name))
        names.push_back(name);
    ::RegCloseKey(key);
    ASSERT_EQ(names,
              (Texts{"PCI\\VEN_10B5&DEV_9054&SUBSYS_2FA110B5", "PCI\\VEN_8086&DEV_1229&REV_08"}));
    StoredValues expected = {{names[0],
                              {REG_MULTI_SZ, "0:1000\0"
                                             "2:FFF00000\0\0"s}},
                             {names[1], {REG_MULTI_SZ, "1:FFFFF000\0\0"s}}};
    EXPECT_EQ(expected, ReadStoredValues(HKEY_LOCAL_MACHINE, kRequirementsKey));
}
