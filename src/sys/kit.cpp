#include "sys/kit.h"

DWORD CKit::Open() {
    DWORD error = m_driver.Open();
    m_services.Open(nullptr);
    m_controller.Load();
    FindOptionalParts();
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
