#pragma once
// Test-side access to the stand-in controller driver and controller library.
#include <windows.h>

#include "testbed_vardek.h"

// Counts of the controller device since the last take, once late closes
// have come in (about 60 ms); false when the testbed device is not running.
bool TakeVardekCounts(TESTBED_VARDEK_COUNTS* pCounts);

// Puts a vardekapi.dll back that an earlier, interrupted test hid.
void RestoreHiddenVardekApi();

// Keeps vardekapi.dll out of the DLL search path while it lives.
class CHiddenVardekApi {
public:
    CHiddenVardekApi();
    ~CHiddenVardekApi();
    CHiddenVardekApi(const CHiddenVardekApi&) = delete;
    CHiddenVardekApi& operator=(const CHiddenVardekApi&) = delete;

    bool IsHidden() const { return m_bHidden; }

private:
    bool m_bHidden = false;
};
