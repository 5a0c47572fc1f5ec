#include "save/save_lock.h"

namespace {
// One name for every session of the machine.
const char kLockName[] = "Global\\MirandelConfigurationSave";
} // namespace

bool CSaveLock::Acquire(DWORD dwWaitMs) {
    if (m_bHeld)
        return true;
    if (!m_mutex.IsValid())
        m_mutex.Attach(::CreateMutexA(nullptr, FALSE, kLockName));
    if (!m_mutex.IsValid())
        return false;
    DWORD result = ::WaitForSingleObject(m_mutex, dwWaitMs);
    m_bHeld = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    return m_bHeld;
}

void CSaveLock::Release() {
    if (m_bHeld)
        ::ReleaseMutex(m_mutex);
    m_bHeld = false;
}
