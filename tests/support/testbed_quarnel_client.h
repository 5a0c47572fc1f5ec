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

    // The handle is opened through the first interface of the hot-swap class
    // on demand, and must be closed before the service is stopped.
    void Close();
    // Back to the state after start (counters cleared, switches off).
    bool Reset() { return Control(IOCTL_TESTBED_QUARNEL_RESET, nullptr, 0, nullptr, 0); }
    bool ReadStats(TESTBED_QUARNEL_STATS* stats) {
        return Control(IOCTL_TESTBED_QUARNEL_GET_STATS, nullptr, 0, stats, sizeof(*stats));
    }
    bool SetRefuseUpdates(bool refuse) {
        return Set(IOCTL_TESTBED_QUARNEL_SET_REFUSE_UPDATES, refuse ? 1 : 0);
    }
    bool SetResolveAnswer(uint32_t answer) {
        return Set(IOCTL_TESTBED_QUARNEL_SET_RESOLVE_ANSWER, answer);
    }

private:
    bool Set(DWORD code, uint32_t value) {
        return Control(code, &value, sizeof(value), nullptr, 0);
    }
    bool Control(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize);
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};

// The chassis: a bus's path bytes as hex digit pairs, or no such bus.
bool SetTestbedBusPath(unsigned bus, const std::string& hexPath);
void RemoveTestbedBus(unsigned bus);

// Whether a stop leaves the interface listed (so that opening it fails).
bool SetQuarnelKeepInterfaceOnStop(bool keep);
// 0, or non-zero when the service did not reach the state.
DWORD StopQuarnelService();
DWORD StartQuarnelService();
