#pragma once
// The scalar parameters of the kit's drivers and services, with the values
// they keep while the registry holds none. The option pages show them; the
// parameter store loads and saves them. Free of windows.h.
#include <cstdint>

// The largest values the option pages take: their up-down ranges (which
// start at 0), and the flags and choices their buttons stand for.
constexpr uint32_t STALL_INTERVAL_LARGEST = 65535;
constexpr uint32_t INTERVAL_LARGEST = 100000; // the other intervals and time-outs
constexpr uint32_t FLAG_LARGEST = 1;          // the controller's flags, the mode
constexpr uint32_t TIMEOUT_ACTION_LARGEST = 2;
// An edit's number is saved as typed, beyond its up-down's range too.
constexpr uint32_t TYPED_LARGEST = 0xFFFFFFFF;

// The main hot-swap driver's timings and its surprise-removal scan.
struct CMiscParameters {
    uint32_t m_dwDisconnectTimeout = 20000; // "DisconnectRetryInterval", milliseconds
    uint32_t m_dwPollingRate = 500;         // "StallInterval", milliseconds
    uint32_t m_dwInsertBeforeEject = 5000;  // "InsertBeforeEjectInterval", milliseconds
    int m_bScanSurpriseRemoval = 1;         // "NoScanForSurpriseRemoval", inverted
};

// The hot-swap controller driver's four behaviour flags.
struct CControllerParameters {
    int m_bSuppressDomainAutoConcession = 0;
    int m_bSuppressDomainPickup = 0;
    int m_bSuppressLedControl = 0;
    int m_bSuppressSlotPowerAtStartup = 0;
};

// The system board service's mode, time-outs and time-out action.
struct CSystemBoardParameters {
    uint32_t m_dwTimeout = 10000;    // "Timeout", milliseconds
    uint32_t m_dwPollInterval = 500; // "SpyPollTimeout", milliseconds
    uint32_t m_dwMode = 0;           // "Mode": 0 concession, 1 request
    uint32_t m_dwTimeoutAction = 2;  // "TimeoutAction": 0, 1 or 2
};
