// The Device Resource Requirements page: its messages in order, entries merged
// per identity in identity order, clicks, Remove, refresh, and what Apply stores.
#include "support/sheet_fixture.h"

#include "res/resource.h"

namespace {
using Texts = std::vector<std::string>;
// Vendor, device, subsystem vendor, subsystem, revision, then BAR 0 to BAR 5.
const std::vector<int> kFields = {
    IDC_DEVRES_VENDOR_ID,    IDC_DEVRES_DEVICE_ID,   IDC_DEVRES_SUBSYSTEM_VENDOR_ID,
    IDC_DEVRES_SUBSYSTEM_ID, IDC_DEVRES_REVISION_ID, IDC_DEVRES_BAR0,
    IDC_DEVRES_BAR1,         IDC_DEVRES_BAR2,        IDC_DEVRES_BAR3,
    IDC_DEVRES_BAR4,         IDC_DEVRES_BAR5};
} // namespace

TEST_F(SheetTest, DeviceRequirementsAreCheckedMergedPerIdentityAndStoredInIdentityOrder) {
    using namespace std::string_literals;
    WriteRaw(HKEY_LOCAL_MACHINE, kRequirementsKey, "PCI\\VEN_9999&DEV_0001", REG_MULTI_SZ,
             "0:1\0\0", 5);
    HWND sheet = Show();
    int index = m_sheet->GetPageIndex(&m_sheet->m_DevRes);
    EXPECT_EQ(index + 1, m_sheet->GetPageIndex(&m_sheet->m_Misc));
    SelectPage(sheet, index);
    HWND page = m_sheet->m_DevRes.m_hWnd;
    // Without a selection the first row is selected and shown.
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST), Texts{"PCI\\VEN_9999&DEV_0001|0:1"});
    EXPECT_EQ(ItemTexts(page, kFields), "9999|0001||||1|||||");

    // Every field bad; fixing one at a time brings up the next message. The
    // fields typed each time are the first ones.
    auto enter = [&](const char* fields) {
        TypeTexts(page, kFields, fields);
        Click(page, IDC_DEVRES_ADD_UPDATE);
    };
    for (const char* fields :
         {"FFFF|10000|1 2|x|100||||1000h", "1ABC", "1ABC|", "1ABC||0x1ABC", "1ABC||0x1ABC| 3c5e ",
          "1ABC||0x1ABC| 3c5e |FF", "1ABC||0x1ABC| 3c5e |FF||||0", "|||||1", "0", "10000"})
        enter(fields);
    EXPECT_EQ(AskedIds(m_responder), "4030 4031 4032 4033 4033 4034 4035 4030 4030 4030");
    for (const AskedMessage& asked : m_responder.asked)
        EXPECT_EQ(asked.type, UINT(MB_OK | MB_ICONERROR));
    EXPECT_EQ(m_responder.m_beeps, 10);
    EXPECT_EQ(m_responder.asked[0].text,
              "Invalid Vendor ID (must fit in 16 bits and cannot be 0 or FFFF) ");
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST).size(), 1u);
    EXPECT_FALSE(IsApplyEnabled(sheet));

    enter("0x2000|1||||1000||FFF00000|||");
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST)[0], "PCI\\VEN_2000&DEV_0001|0:1000;2:FFF00000");
    EXPECT_TRUE(IsApplyEnabled(sheet));
    // The last entry of an identity replaces every BAR of it.
    for (const char* fields : {"1ABC|2DEF|1ABC|||10|||||", "1ABC|2DEF|||0b|20|||||",
                               "1ABC|2DEF||||30|||||7", "2000|1|||||FFFFFFFFF||||"})
        enter(fields);
    EXPECT_EQ(m_responder.asked.size(), 10u);
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST),
              (Texts{"PCI\\VEN_1ABC&DEV_2DEF|0:30;5:7", "PCI\\VEN_1ABC&DEV_2DEF&REV_0B|0:20",
                     "PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00001ABC|0:10",
                     "PCI\\VEN_2000&DEV_0001|1:FFFFFFFF", "PCI\\VEN_9999&DEV_0001|0:1"}));

    ClickListRow(page, IDC_DEVRES_LIST, 2);
    EXPECT_EQ(ItemTexts(page, kFields), "1ABC|2DEF|1ABC|0000||10|||||");
    ClickListRow(page, IDC_DEVRES_LIST, -1); // beside the rows
    EXPECT_EQ(ItemTexts(page, kFields), "||||||||||");
    // Removing the last row selects and shows the new last row.
    ClickListRow(page, IDC_DEVRES_LIST, 4);
    Click(page, IDC_DEVRES_REMOVE);
    EXPECT_EQ(SelectedRow(page, IDC_DEVRES_LIST), 3);
    EXPECT_EQ(ItemTexts(page, kFields), "2000|0001|||||FFFFFFFF||||");

    // Apply stores exactly the list, value after value in identity order.
    m_responder.Answer(IDYES);
    PressSheetButton(sheet, ID_APPLY_NOW);
    EXPECT_EQ(m_responder.asked.size(), 11u);
    StoredValues expected = {
        {"PCI\\VEN_1ABC&DEV_2DEF",
         {REG_MULTI_SZ, "0:30\0"
                        "5:7\0\0"s}},
        {"PCI\\VEN_1ABC&DEV_2DEF&REV_0B", {REG_MULTI_SZ, "0:20\0\0"s}},
        {"PCI\\VEN_1ABC&DEV_2DEF&SUBSYS_00001ABC", {REG_MULTI_SZ, "0:10\0\0"s}},
        {"PCI\\VEN_2000&DEV_0001", {REG_MULTI_SZ, "1:FFFFFFFF\0\0"s}}};
    EXPECT_EQ(ReadStoredValues(HKEY_LOCAL_MACHINE, kRequirementsKey), expected);
    Texts names, sorted; // in the order the key holds them, and by name
    HKEY key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRequirementsKey, 0, KEY_READ, &key), 0);
    char name[256];
    for (DWORD i = 0, n = sizeof(name);
         ::RegEnumValueA(key, i, name, &n, nullptr, nullptr, nullptr, nullptr) == 0;
         ++i, n = sizeof(name))
        names.push_back(name);
    ::RegCloseKey(key);
    for (const auto& value : expected)
        sorted.push_back(value.first);
    EXPECT_EQ(names, sorted);

    // The reload notification rebuilds the rows from the list and shows the
    // selected one; a record without BARs shows no resources.
    m_sheet->m_DevRes.m_requirements.RemoveTail();
    CDeviceRequirement bare;
    ASSERT_TRUE(bare.ParseIdentityText("VEN_FFFF&DEV_1"));
    m_sheet->m_DevRes.m_requirements.Add(bare, true);
    ::PostMessageA(page, WM_RELOAD_NOTIFY, 0, 0);
    PumpMessages();
    EXPECT_EQ(ListRows(page, IDC_DEVRES_LIST).back(), "PCI\\VEN_FFFF&DEV_0001|");
    EXPECT_EQ(ItemTexts(page, kFields), "FFFF|0001|||||||||");
}
