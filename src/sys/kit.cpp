#include "sys/kit.h"

DWORD CKit::Open() {
    DWORD error = m_driver.Open();
    m_services.Open(nullptr);
    m_controller.Load();
    return error;
}

void CKit::Close() {
    m_controller.Unload();
    m_services.Close();
    m_driver.Close();
}
