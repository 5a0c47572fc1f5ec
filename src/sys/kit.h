#pragma once
// The program's connections to the kit, in one object that the application
// owns and hands down: the hot-swap driver, the service control manager and
// the controller library. Each closes with it.
#include <windows.h>

#include "sys/controller_library.h"
#include "sys/hotswap_driver.h"
#include "sys/service_control.h"

class CKit {
public:
    CKit() = default;
    ~CKit() { Close(); }
    CKit(const CKit&) = delete;
    CKit& operator=(const CKit&) = delete;

    // Opens all three; the result is the driver's (0, or the error that
    // the user is told of). A service control manager that cannot be
    // reached shows later as services that cannot be found.
    DWORD Open();
    void Close();

    CHotSwapDriver m_driver;
    CServiceControl m_services;
    CVardekLibrary m_controller;
};
