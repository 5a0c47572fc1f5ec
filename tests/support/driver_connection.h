#pragma once
// Opens the stand-in hot-swap driver into the test kit, as start-up does,
// and closes it again. Construct it before a private registry
// (RegistrySandbox), which would hide the device interface.
#include "support/test_kit.h"
#include "support/testbed_quarnel_client.h"

struct DriverConnection {
    DriverConnection() {
        quarnel.Reset();
        opened = TestKit().m_driver.Open() == 0;
    }
    ~DriverConnection() {
        quarnel.Close();
        TestKit().m_driver.Close();
    }
    QuarnelTestbed quarnel;
    bool opened = false;
};
