#include "sys/kit.h"

#include <thread>

DWORD CKit::Open() {
    DWORD error = 0;
    std::thread driver([this, &error] { error = m_driver.Open(); });
    std::thread services([this] {
        m_services.Open(nullptr);
        m_bSystemBoardService = m_services.Exists(SYSTEM_BOARD_SERVICE) != FALSE;
    });
    m_controller.Load();
    m_bControllerAvailable = m_controller.IsAvailable() != FALSE;
    services.join();
    driver.join();
    return error;
}

void CKit::Close() {
    m_controller.Unload();
    m_services.Close();
    m_driver.Close();
}

void CKit::FindOptionalParts() {
    m_bControllerAvailable = m_controller.IsAvailable() != FALSE;
    m_bSystemBoardService = m_services.Exists(SYSTEM_BOARD_SERVICE) != FALSE;
}
