#pragma once
// Opens the stand-in hot-swap driver into the application's driver handle,
// as start-up does, and closes it again. Construct it before a private
// registry (RegistrySandbox), which would hide the device interface.
#include "app/zorvik_app.h"
#include "support/testbed_quarnel_client.h"
#include "sys/hotswap_driver.h"

struct DriverConnection {
    DriverConnection() {
        quarnel.Reset();
        opened = OpenHotSwapDriver(&GetZorvikApp()->m_hDriver) == 0;
    }
    ~DriverConnection() {
        ZorvikApp* app = GetZorvikApp();
        quarnel.Close();
        if (app->m_hDriver)
            CloseHotSwapDriver(app->m_hDriver);
        app->m_hDriver = nullptr;
    }
    QuarnelTestbed quarnel;
    bool opened = false;
};
