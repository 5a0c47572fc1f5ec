#pragma once
// Access to the kit's hot-swap driver through its device interface, and the
// slot path <-> Bus/Device/Function conversion that the driver performs.
#include <windows.h>
#include <winioctl.h>

#include "framework/cstring.h"
#include "framework/handle.h"
#include "model/location_resolver.h"
#include "model/slot_path_text.h"

// {4EC32020-5104-11D2-8B4D-0080ADB72206}
extern const GUID GUID_DEVINTERFACE_HOTSWAP;

// Input: slot path bytes. Output: a 28-byte location header (bus, device,
// function at bytes 4, 5, 6) and a NUL-terminated UTF-16 description.
constexpr DWORD IOCTL_HOTSWAP_RESOLVE_SLOT_PATH = 0x83210064;
// Input: the bus number, 4 bytes little-endian. Output: that bus's path bytes.
constexpr DWORD IOCTL_HOTSWAP_GET_BUS_PATH = 0x83212090;
// No buffers: the driver re-reads its Parameters key.
constexpr DWORD IOCTL_HOTSWAP_UPDATE_PARAMETERS = 0x83212094;

static_assert(IOCTL_HOTSWAP_RESOLVE_SLOT_PATH ==
                  static_cast<DWORD>(CTL_CODE(0x8321, 0x019, METHOD_BUFFERED, FILE_ANY_ACCESS)),
              "resolve code");
static_assert(IOCTL_HOTSWAP_GET_BUS_PATH ==
                  static_cast<DWORD>(CTL_CODE(0x8321, 0x824, METHOD_BUFFERED, FILE_ANY_ACCESS)),
              "bus path code");
static_assert(IOCTL_HOTSWAP_UPDATE_PARAMETERS ==
                  static_cast<DWORD>(CTL_CODE(0x8321, 0x825, METHOD_BUFFERED, FILE_ANY_ACCESS)),
              "update code");

// Longest slot path in bytes that the utility sends (a 512-character text).
constexpr DWORD SLOT_PATH_MAX_BYTES = 256;

// Opens the first present interface of the class into *phDriver. Returns 0,
// or the error of the failing step: with no interface *phDriver is left
// alone; a failed open stores INVALID_HANDLE_VALUE there.
DWORD OpenHotSwapDriver(HANDLE* phDriver);
DWORD CloseHotSwapDriver(HANDLE hDriver);

// Digit pairs into pBytes[0..cbCapacity), *pcbWritten bytes. FALSE with the
// last error ERROR_INVALID_PARAMETER for an odd length or a non-hex
// character, ERROR_INSUFFICIENT_BUFFER when the bytes would not fit; the
// output is then unchanged.
BOOL HexTextToBytes(BYTE* pBytes, DWORD cbCapacity, const char* pszText, DWORD* pcbWritten);

// Asks the driver where the slot path (no leading '*') lies. On success pOut
// holds the 28-byte header and the description as multibyte text with a NUL.
// Returns 0 or an error code; ERROR_INVALID_DATA when the driver's answer is
// shorter than the header, ERROR_INSUFFICIENT_BUFFER when cbOut is too small.
DWORD ResolveSlotPath(HANDLE hDriver, const char* pszSlotPath, BYTE* pOut, DWORD cbOut);

// Forms the slot path text of a Bus/Device/Function into pszOut (cchOut
// characters, NUL included). Returns 0 or an error code.
DWORD BuildSlotPath(HANDLE hDriver, DWORD dwBus, DWORD dwDevice, DWORD dwFunction, char* pszOut,
                    DWORD cchOut);

// The hot-swap driver as the program holds it: not found (no interface of its
// class is present), found but not opened (every request then fails), or
// open. It is the resolver of slot paths that the records and pages use.
class CHotSwapDriver : public CLocationResolver {
public:
    enum State { NOT_FOUND, OPEN_FAILED, OPEN };

    CHotSwapDriver() = default;
    CHotSwapDriver(const CHotSwapDriver&) = delete;
    CHotSwapDriver& operator=(const CHotSwapDriver&) = delete;

    // Finds and opens the first present interface; 0, or the error of the
    // failing step (the caller tells the user).
    DWORD Open();
    // Back to not found; the one place the handle is closed.
    void Close();
    State GetState() const { return m_state; }
    // 0 when not found, INVALID_HANDLE_VALUE when the open failed.
    HANDLE GetHandle() const {
        return m_state == NOT_FOUND ? nullptr : static_cast<HANDLE>(m_handle);
    }

    // Found, whether or not it opened: requests are made, and fail when it
    // did not open.
    bool IsAvailable() const override { return m_state != NOT_FOUND; }
    bool ConvertSlotLocation(uint32_t* pBus, uint32_t* pDevice, uint32_t* pFunction,
                             CString& slotPath, bool toSlotPath) override;

    // Tells the driver to take up its parameters: 0, or the error of the
    // request; nothing is sent when the driver was not found.
    DWORD UpdateParameters();

private:
    CFileHandle m_handle;
    State m_state = NOT_FOUND;
};
