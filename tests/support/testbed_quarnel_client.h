#pragma once
// Test-side control of the stand-in hot-swap driver (testbed/quarnel): its
// counters and switches through its own device handle, its chassis in the
// registry, and its service.
#include <windows.h>

#include <string>

#include "testbed_quarnel.h"

class QuarnelTestbed {
public:
    QuarnelTestbed() = default;
    ~QuarnelTestbed() { Close(); }
    QuarnelTestbed(const QuarnelTestbed&) = delete;
    QuarnelTestbed& operator=(const QuarnelTestbed&) = delete;

    // Opens the stand-in through the first interface of the hot-swap class;
    // 0 or the error. Other calls open on demand.
    DWORD Open();
    // Closes the handle; needed before the service is stopped.
    void Close();

    // Back to the state after start (counters cleared, switches off).
    bool Reset();
    bool ReadStats(TESTBED_QUARNEL_STATS* stats);
    bool SetRefuseUpdates(bool refuse);
    bool SetResolveAnswer(uint32_t answer);

private:
    bool Control(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// The chassis: a bus's path bytes as hex digit pairs, or no such bus.
bool SetTestbedBusPath(unsigned bus, const std::string& hexPath);
void RemoveTestbedBus(unsigned bus);
// Hex text of count bytes, each the low byte of (first + i).
std::string HexRun(unsigned first, unsigned count);

// Whether a stop leaves the interface listed (so that opening it fails).
bool SetQuarnelKeepInterfaceOnStop(bool keep);
// 0, or non-zero when the service did not reach the state.
DWORD StopQuarnelService();
DWORD StartQuarnelService();
