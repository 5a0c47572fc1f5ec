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

extern const char kQuarnelKey[];
extern const char kVardekKey[];
extern const char kMoravikKey[];
extern const char kSlotsKey[];
extern const char kAssignmentsKey[];
extern const char kNoResetKey[];
extern const char kRequirementsKey[];
extern const char kRestrictKey[];

class SheetTest : public ::testing::Test {
protected:
    void TearDown() override;
    // Builds the sheet (which loads the registry) without showing it.
    ZorvikSheet& Build();
    // Builds the sheet and shows it, modeless, on its first page.
    HWND Show();
    HWND MiscPage();

    RegistrySandbox m_registry;
    ScriptedResponder m_responder;
    std::unique_ptr<ZorvikSheet> m_sheet;
};
