#pragma once
// The application object: opens the hot-swap driver and the service control
// manager, runs the main property sheet, and closes both again.
#include "framework/app.h"
#include "sys/kit_connections.h"

class ZorvikApp : public CWinApp, public CKitConnections {
public:
    ZorvikApp();
    ~ZorvikApp() override;

    BOOL InitInstance() override;
};

// The running application object.
ZorvikApp* GetZorvikApp();
