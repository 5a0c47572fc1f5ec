#pragma once
// The program's connections to the kit: the hot-swap driver's handle and the
// service control manager. Their owner (the application object) opens them
// at start-up; they close when it goes. The sheet, the pages and the driver
// access reach them through GetKitConnections, not through the application.
#include <windows.h>

#include "sys/service_control.h"

class CKitConnections {
public:
    // The newest owner is the one GetKitConnections gives.
    CKitConnections();
    ~CKitConnections();
    CKitConnections(const CKitConnections&) = delete;
    CKitConnections& operator=(const CKitConnections&) = delete;

    HANDLE m_hDriver = nullptr;       // 0: driver not found; INVALID_HANDLE_VALUE: open failed
    CServiceControl m_ServiceControl; // connection to the service control manager
};

// Null while no owner exists.
CKitConnections* GetKitConnections();
