#include "sys/hotswap_driver.h"

#include <setupapi.h>

#include <cstdlib>
#include <cstring>

#include "model/slot_path_text.h"

const GUID GUID_DEVINTERFACE_HOTSWAP = {
    0x4EC32020, 0x5104, 0x11D2, {0x8B, 0x4D, 0x00, 0x80, 0xAD, 0xB7, 0x22, 0x06}};

namespace {

// The detail buffer holds a device path of up to 260 characters.
constexpr DWORD INTERFACE_DETAIL_SIZE = 265;
// The resolve answer area; the driver is offered 541 bytes of it.
constexpr DWORD RESOLVE_ANSWER_AREA = 544;
constexpr DWORD RESOLVE_ANSWER_OFFERED = 541;
constexpr DWORD BUS_PATH_MAX_BYTES = 255;
// ConvertSlotLocation's slot path buffer, in characters with the NUL.
constexpr DWORD SLOT_PATH_TEXT_SIZE = 512;

DWORD Failed(DWORD error) {
    SetLastError(error);
    return error;
}

DWORD Succeeded() {
    SetLastError(0);
    return 0;
}

// The device installation functions, loaded when the driver is first looked
// for: SetupAPI and what it pulls in stay out of the program's own start.
struct SetupApi {
    decltype(&::SetupDiGetClassDevsA) pfnGetClassDevs;
    decltype(&::SetupDiEnumDeviceInterfaces) pfnEnumDeviceInterfaces;
    decltype(&::SetupDiGetDeviceInterfaceDetailA) pfnGetDeviceInterfaceDetail;
    decltype(&::SetupDiDestroyDeviceInfoList) pfnDestroyDeviceInfoList;
};

const SetupApi& Setup() {
    static CModule module(::LoadLibraryA("setupapi.dll"));
    static const SetupApi api = {
        GetEntry<decltype(&::SetupDiGetClassDevsA)>(module, "SetupDiGetClassDevsA"),
        GetEntry<decltype(&::SetupDiEnumDeviceInterfaces)>(module, "SetupDiEnumDeviceInterfaces"),
        GetEntry<decltype(&::SetupDiGetDeviceInterfaceDetailA)>(module,
                                                                "SetupDiGetDeviceInterfaceDetailA"),
        GetEntry<decltype(&::SetupDiDestroyDeviceInfoList)>(module,
                                                            "SetupDiDestroyDeviceInfoList")};
    return api;
}

struct DeviceInfoListTraits {
    using Type = HDEVINFO;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type handle) { Setup().pfnDestroyDeviceInfoList(handle); }
};
using CDeviceInfoList = CHandle<DeviceInfoListTraits>;

} // namespace

DWORD OpenHotSwapDriver(HANDLE* phDriver) {
    const SetupApi& setup = Setup();
    if (!setup.pfnGetClassDevs || !setup.pfnEnumDeviceInterfaces ||
        !setup.pfnGetDeviceInterfaceDetail || !setup.pfnDestroyDeviceInfoList)
        return Failed(ERROR_DLL_NOT_FOUND);
    CDeviceInfoList set(setup.pfnGetClassDevs(&GUID_DEVINTERFACE_HOTSWAP, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.IsValid())
        return GetLastError();

    DWORD error = 0;
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(data);
    alignas(SP_DEVICE_INTERFACE_DETAIL_DATA_A) BYTE buffer[INTERFACE_DETAIL_SIZE] = {};
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer);
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    // Only the first present interface is used.
    if (!setup.pfnEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_HOTSWAP, 0, &data) ||
        !setup.pfnGetDeviceInterfaceDetail(set, &data, detail, sizeof(buffer), nullptr, nullptr))
        error = GetLastError();
    set.Close();
    if (error != 0)
        return Failed(error);

    // Stored before the test: a failed open leaves INVALID_HANDLE_VALUE.
    *phDriver = CreateFileA(detail->DevicePath, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (*phDriver == INVALID_HANDLE_VALUE)
        return GetLastError();
    return Succeeded();
}

DWORD CloseHotSwapDriver(HANDLE hDriver) {
    if (!CloseHandle(hDriver))
        return GetLastError();
    return Succeeded();
}

BOOL HexTextToBytes(BYTE* pBytes, DWORD cbCapacity, const char* pszText, DWORD* pcbWritten) {
    size_t count = 0;
    switch (ParseHexText(pszText, pBytes, cbCapacity, &count)) {
    case HexTextResult::Ok:
        *pcbWritten = static_cast<DWORD>(count);
        return TRUE;
    case HexTextResult::TooLong:
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    case HexTextResult::Malformed:
        break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

DWORD ResolveSlotPath(HANDLE hDriver, const char* pszSlotPath, BYTE* pOut, DWORD cbOut) {
    BYTE path[SLOT_PATH_MAX_BYTES];
    DWORD pathBytes = 0;
    if (!HexTextToBytes(path, sizeof(path), pszSlotPath, &pathBytes))
        return GetLastError();

    BYTE answer[RESOLVE_ANSWER_AREA] = {};
    DWORD returned = 0;
    if (!DeviceIoControl(hDriver, IOCTL_HOTSWAP_RESOLVE_SLOT_PATH, path, pathBytes, answer,
                         RESOLVE_ANSWER_OFFERED, &returned, nullptr))
        return GetLastError();
    // Only the bytes the driver returned are its answer.
    if (returned < SLOT_LOCATION_HEADER_SIZE || returned > RESOLVE_ANSWER_OFFERED)
        return Failed(ERROR_INVALID_DATA);

    constexpr size_t kTextUnits = (RESOLVE_ANSWER_OFFERED - SLOT_LOCATION_HEADER_SIZE) / 2 + 1;
    uint16_t units[kTextUnits];
    size_t chars = CopyAnswerText(answer, returned, units, kTextUnits);
    static_assert(sizeof(wchar_t) == sizeof(uint16_t), "UTF-16 wide characters");
    wchar_t text[kTextUnits];
    for (size_t i = 0; i <= chars; ++i)
        text[i] = static_cast<wchar_t>(units[i]);
    // The multibyte form may be longer than the UTF-16 one (two bytes per
    // character in a double-byte code page); measure it first. A text the
    // current locale cannot represent is left out: no caller reads it.
    size_t multibyte = std::wcstombs(nullptr, text, 0);
    if (multibyte == static_cast<size_t>(-1)) {
        multibyte = 0;
        text[0] = L'\0';
    }
    size_t needed = SLOT_LOCATION_HEADER_SIZE + (multibyte > chars ? multibyte : chars) + 1;
    if (cbOut < needed)
        return Failed(ERROR_INSUFFICIENT_BUFFER);

    std::memcpy(pOut, answer, SLOT_LOCATION_HEADER_SIZE);
    char* converted = reinterpret_cast<char*>(pOut + SLOT_LOCATION_HEADER_SIZE);
    // Some run-time libraries measure a text that they then refuse to
    // convert; the limit keeps any partial result inside the measured size.
    size_t written = std::wcstombs(converted, text, multibyte);
    if (written == static_cast<size_t>(-1) || written > multibyte)
        written = 0;
    converted[written] = '\0';
    return Succeeded();
}

DWORD BuildSlotPath(HANDLE hDriver, DWORD dwBus, DWORD dwDevice, DWORD dwFunction, char* pszOut,
                    DWORD cchOut) {
    // The device/function byte, then the bus's path bytes.
    BYTE path[1 + BUS_PATH_MAX_BYTES];
    path[0] = static_cast<BYTE>((dwDevice << 3) | dwFunction);
    BYTE busNumber[4] = {static_cast<BYTE>(dwBus), static_cast<BYTE>(dwBus >> 8),
                         static_cast<BYTE>(dwBus >> 16), static_cast<BYTE>(dwBus >> 24)};
    DWORD returned = 0;
    if (!DeviceIoControl(hDriver, IOCTL_HOTSWAP_GET_BUS_PATH, busNumber, sizeof(busNumber),
                         path + 1, BUS_PATH_MAX_BYTES, &returned, nullptr))
        return GetLastError();
    if (returned > BUS_PATH_MAX_BYTES)
        return Failed(ERROR_INVALID_DATA);
    if (!FormatHexText(path, returned + 1, pszOut, cchOut))
        return Failed(ERROR_INSUFFICIENT_BUFFER);
    return Succeeded();
}

DWORD CHotSwapDriver::Open() {
    Close();
    HANDLE hDriver = nullptr;
    DWORD error = OpenHotSwapDriver(&hDriver);
    if (hDriver == nullptr)
        return error;
    m_handle.Attach(hDriver);
    m_state = m_handle.IsValid() ? OPEN : OPEN_FAILED;
    return error;
}

void CHotSwapDriver::Close() {
    m_handle.Close();
    m_state = NOT_FOUND;
}

bool CHotSwapDriver::ConvertSlotLocation(uint32_t* pBus, uint32_t* pDevice, uint32_t* pFunction,
                                         CString& slotPath, bool toSlotPath) {
    if (!IsAvailable())
        return false;
    if (toSlotPath) {
        char text[SLOT_PATH_TEXT_SIZE];
        if (BuildSlotPath(m_handle, *pBus, *pDevice, *pFunction, text, sizeof(text)) != 0)
            return false;
        slotPath = text;
        return true;
    }
    BYTE answer[RESOLVE_ANSWER_AREA];
    if (ResolveSlotPath(m_handle, SkipSlotPathMark(slotPath), answer, sizeof(answer)) != 0)
        return false;
    *pBus = answer[4];
    *pDevice = answer[5];
    *pFunction = answer[6];
    return true;
}

DWORD CHotSwapDriver::UpdateParameters() {
    if (!IsAvailable())
        return 0;
    DWORD returned = 0;
    if (!DeviceIoControl(m_handle, IOCTL_HOTSWAP_UPDATE_PARAMETERS, nullptr, 0, nullptr, 0,
                         &returned, nullptr))
        return GetLastError();
    return 0;
}
