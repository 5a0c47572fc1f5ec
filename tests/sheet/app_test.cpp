// Start-up of the application object: the driver message, the sheet run
// modally, and the connections closed after it.
#include <gtest/gtest.h>

#include "support/test_kit.h"
#include "support/registry_sandbox.h"
#include "support/scripted_responder.h"
#include "support/sheet_driver.h"
#include "support/testbed_quarnel_client.h"

TEST(AppStart, WithoutTheDriverSaysSoOnceAndStillShowsTheSheet) {
    ASSERT_EQ(StopQuarnelService(), 0u);
    struct Restart {
        ~Restart() { StartQuarnelService(); }
    } restart;
    RegistrySandbox registry;
    ScriptedResponder responder;
    responder.Answer(IDOK);
    bool sheetShown = false;
    RunInModalLoop("Mirandel Configuration Utility", [&](HWND sheet) {
        sheetShown = true;
        PressSheetButton(sheet, IDCANCEL);
    });
    ZorvikApp* app = &TestApp();
    EXPECT_FALSE(app->InitInstance());

    EXPECT_TRUE(sheetShown);
    ASSERT_EQ(responder.asked.size(), 1u);
    EXPECT_EQ(responder.asked[0].id, 4001u);
    EXPECT_EQ(responder.asked[0].text,
              "Cannot open hot-swap driver. Make sure Mirandel is installed on this machine");
    EXPECT_EQ(responder.asked[0].caption, "Tavrel Mirandel - configuration");
    EXPECT_EQ(responder.asked[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(responder.asked[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_EQ(app->m_kit.m_driver.GetHandle(), nullptr);
    EXPECT_EQ(app->m_pMainWnd, nullptr);
    EXPECT_FALSE(app->m_kit.m_services.Exists("moravik"));
}

TEST(AppStart, WithTheDriverRunningOpensItQuietlyAndClosesItAtTheEnd) {
    // The device interface is found in the real registry, so this start-up
    // runs without a private one; it only creates the parameter keys.
    ScriptedResponder responder;
    HANDLE seen = nullptr;
    RunInModalLoop("Mirandel Configuration Utility", [&](HWND sheet) {
        seen = TestKit().m_driver.GetHandle();
        PressSheetButton(sheet, IDCANCEL);
    });
    EXPECT_FALSE(TestApp().InitInstance());
    EXPECT_NE(seen, nullptr);
    EXPECT_NE(seen, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(responder.asked.empty());
    EXPECT_EQ(TestKit().m_driver.GetHandle(), nullptr);
}

TEST(AppStart, ProfileEntriesLiveUnderTheCompanyAndApplicationName) {
    RegistrySandbox registry;
    ZorvikApp* app = &TestApp();
    EXPECT_EQ(app->GetProfileInt("ZorvikEq", "w1", -1), static_cast<UINT>(-1));
    EXPECT_TRUE(app->WriteProfileInt("ZorvikEq", "w1", 120));
    DWORD value = 0;
    EXPECT_TRUE(ReadDword(HKEY_CURRENT_USER,
                          "Software\\Tavrel Systems\\Tavrel Mirandel - configuration\\ZorvikEq",
                          "w1", &value));
    EXPECT_EQ(value, 120u);
    EXPECT_EQ(app->GetProfileInt("ZorvikEq", "w1", -1), 120u);
}
