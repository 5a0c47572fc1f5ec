#pragma once
// The machine's one save at a time: a named mutex, held by the save that
// writes, from its journal record to its end. A holder that ended without
// letting go (killed) leaves it to the next.
#include <windows.h>

#include "framework/handle.h"

class CSaveLock {
public:
    CSaveLock() = default;
    ~CSaveLock() { Release(); }
    CSaveLock(const CSaveLock&) = delete;
    CSaveLock& operator=(const CSaveLock&) = delete;

    // Waits up to dwWaitMs for the lock; true once this thread holds it.
    bool Acquire(DWORD dwWaitMs);
    void Release();
    bool IsHeld() const { return m_bHeld; }

private:
    CKernelHandle m_mutex;
    bool m_bHeld = false;
};
