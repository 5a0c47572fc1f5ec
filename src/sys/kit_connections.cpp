#include "sys/kit_connections.h"

#include "sys/hotswap_driver.h"

namespace {
CKitConnections* g_pCurrent = nullptr;
}

CKitConnections::CKitConnections() { g_pCurrent = this; }

CKitConnections::~CKitConnections() {
    if (m_hDriver && m_hDriver != INVALID_HANDLE_VALUE)
        CloseHotSwapDriver(m_hDriver);
    m_ServiceControl.Close();
    if (g_pCurrent == this)
        g_pCurrent = nullptr;
}

CKitConnections* GetKitConnections() { return g_pCurrent; }
