#pragma once
// The application object: opens the hot-swap driver and the service control
// manager, runs the main property sheet, and closes both again.
#include "framework/app.h"
#include "sys/service_control.h"

class ZorvikApp : public CWinApp {
public:
    ZorvikApp();
    ~ZorvikApp() override;

    BOOL InitInstance() override;

    HANDLE m_hDriver;                 // 0: driver not found; INVALID_HANDLE_VALUE: open failed
    CServiceControl m_ServiceControl; // connection to the service control manager
};

// The running application object.
ZorvikApp* GetZorvikApp();
