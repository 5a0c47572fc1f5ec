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

    // Opens all three and finds the optional parts, one after the other:
    // threads of their own were measured slower, as each step is a few
    // requests to another process and the loader serializes the libraries.
    // The result is the driver's (0, or the error that the user is told of).
    // A service control manager that cannot be reached shows later as
    // services that cannot be found.
    DWORD Open();
    void Close();

    // Whether the controller answers (a session opens) and the system board
    // service exists, as the sheet's pages need to know before it is built.
    void FindOptionalParts();
    bool m_bControllerAvailable = false;
    bool m_bSystemBoardService = false;

    CHotSwapDriver m_driver;
    CServiceControl m_services;
    CVardekLibrary m_controller;
};
