#pragma once
// A test with a private registry, scripted message boxes and the main sheet
// built on demand.
#include <gtest/gtest.h>

#include <memory>

#include "res/resource.h"
#include "sheet/zorvik_sheet.h"
#include "support/registry_sandbox.h"
#include "support/scripted_responder.h"
#include "support/sheet_driver.h"
#include "support/test_kit.h"

// The parameter keys below HKEY_LOCAL_MACHINE.
inline constexpr char kQuarnelKey[] = "System\\CurrentControlSet\\Services\\quarnel\\Parameters";
inline constexpr char kVardekKey[] = "System\\CurrentControlSet\\Services\\Vardek\\Parameters";
inline constexpr char kMoravikKey[] = "System\\CurrentControlSet\\Services\\Moravik\\Parameters";
inline constexpr char kRestrictKey[] =
    "System\\CurrentControlSet\\Services\\quarnel\\Parameters\\RestrictMiniports";
#define BRISSET_KEY "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\"
inline constexpr char kSlotsKey[] = BRISSET_KEY "PhysicalSlots";
inline constexpr char kAssignmentsKey[] = BRISSET_KEY "ResourceAssignments";
inline constexpr char kNoResetKey[] = BRISSET_KEY "NoResetSecondaryBus";
inline constexpr char kRequirementsKey[] = BRISSET_KEY "ExplicitResourceRequirements";
#undef BRISSET_KEY

class SheetTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_sheet.reset();
        PumpMessages();
    }
    // Builds the sheet (which loads the registry) without showing it.
    ZorvikSheet& Build() {
        TestKit().FindOptionalParts();
        m_sheet = std::make_unique<ZorvikSheet>(TestKit(), TestApp().m_journal, IDS_SHEET_CAPTION);
        return *m_sheet;
    }
    // Builds the sheet and shows it, modeless, on its first page.
    HWND Show() {
        if (!m_sheet)
            Build();
        EXPECT_TRUE(m_sheet->Create());
        PumpMessages();
        return m_sheet->m_hWnd;
    }
    HWND MiscPage() {
        SelectPage(m_sheet->m_hWnd, m_sheet->GetPageIndex(&m_sheet->m_Misc));
        return m_sheet->m_Misc.m_hWnd;
    }

    RegistrySandbox m_registry;
    ScriptedResponder m_responder;
    std::unique_ptr<ZorvikSheet> m_sheet;
};
