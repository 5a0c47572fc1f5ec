#include "support/testbed_quarnel_client.h"

#include <cstdio>

#include "support/testbed_moravik_client.h"
#include "sys/hotswap_driver.h"

DWORD QuarnelTestbed::Open() {
    Close();
    HANDLE handle = nullptr;
    DWORD error = OpenHotSwapDriver(&handle);
    if (error == 0)
        m_handle = handle;
    return error;
}

void QuarnelTestbed::Close() {
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

bool QuarnelTestbed::Control(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize) {
    if (m_handle == INVALID_HANDLE_VALUE && Open() != 0)
        return false;
    DWORD returned = 0;
    return DeviceIoControl(m_handle, code, const_cast<void*>(in), inSize, out, outSize, &returned,
                           nullptr) &&
           returned == outSize;
}

bool QuarnelTestbed::Reset() {
    return Control(IOCTL_TESTBED_QUARNEL_RESET, nullptr, 0, nullptr, 0);
}

bool QuarnelTestbed::ReadStats(TESTBED_QUARNEL_STATS* stats) {
    return Control(IOCTL_TESTBED_QUARNEL_GET_STATS, nullptr, 0, stats, sizeof(*stats));
}

bool QuarnelTestbed::SetRefuseUpdates(bool refuse) {
    uint32_t value = refuse ? 1 : 0;
    return Control(IOCTL_TESTBED_QUARNEL_SET_REFUSE_UPDATES, &value, sizeof(value), nullptr, 0);
}

bool QuarnelTestbed::SetResolveAnswer(uint32_t answer) {
    return Control(IOCTL_TESTBED_QUARNEL_SET_RESOLVE_ANSWER, &answer, sizeof(answer), nullptr, 0);
}

bool SetTestbedBusPath(unsigned bus, const std::string& hexPath) {
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_BUSES_KEY,
                           std::to_string(bus).c_str(), REG_SZ, hexPath.c_str(),
                           static_cast<DWORD>(hexPath.size() + 1)) == ERROR_SUCCESS;
}

void RemoveTestbedBus(unsigned bus) {
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_BUSES_KEY, std::to_string(bus).c_str());
}

std::string HexRun(unsigned first, unsigned count) {
    std::string text;
    char pair[3];
    for (unsigned i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof(pair), "%02X", (first + i) & 0xFF);
        text += pair;
    }
    return text;
}

bool SetQuarnelKeepInterfaceOnStop(bool keep) {
    DWORD value = keep ? 1 : 0;
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_TESTBED_KEY,
                           TESTBED_QUARNEL_KEEP_INTERFACE_VALUE, REG_DWORD, &value,
                           sizeof(value)) == ERROR_SUCCESS;
}

DWORD StopQuarnelService() { return StopTestbedService("quarnel") ? 0 : ERROR_TIMEOUT; }

DWORD StartQuarnelService() { return StartTestbedService("quarnel") ? 0 : ERROR_TIMEOUT; }
