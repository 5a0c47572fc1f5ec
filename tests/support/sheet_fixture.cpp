#include "support/sheet_fixture.h"

const char kQuarnelKey[] = "System\\CurrentControlSet\\Services\\quarnel\\Parameters";
const char kVardekKey[] = "System\\CurrentControlSet\\Services\\Vardek\\Parameters";
const char kMoravikKey[] = "System\\CurrentControlSet\\Services\\Moravik\\Parameters";
const char kSlotsKey[] = "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\PhysicalSlots";
const char kAssignmentsKey[] =
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ResourceAssignments";
const char kNoResetKey[] =
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\NoResetSecondaryBus";
const char kRequirementsKey[] =
    "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\ExplicitResourceRequirements";
const char kRestrictKey[] =
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters\\RestrictMiniports";

void SheetTest::TearDown() {
    m_sheet.reset();
    PumpMessages();
}

ZorvikSheet& SheetTest::Build() {
    m_sheet = std::make_unique<ZorvikSheet>(TestKit(), IDS_SHEET_CAPTION);
    return *m_sheet;
}

HWND SheetTest::Show() {
    if (!m_sheet)
        Build();
    EXPECT_TRUE(m_sheet->Create());
    PumpMessages();
    return m_sheet->m_hWnd;
}

HWND SheetTest::MiscPage() {
    int index = m_sheet->GetPageIndex(&m_sheet->m_Misc);
    SelectPage(m_sheet->m_hWnd, index);
    return m_sheet->m_Misc.m_hWnd;
}
