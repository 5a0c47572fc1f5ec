#include "support/testbed_quarnel_client.h"

#include "support/testbed_moravik_client.h"
#include "sys/hotswap_driver.h"

void QuarnelTestbed::Close() {
    if (m_handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

bool QuarnelTestbed::Control(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize) {
    if (m_handle == INVALID_HANDLE_VALUE)
        OpenHotSwapDriver(&m_handle); // leaves it invalid on a failure
    DWORD returned = 0;
    return ::DeviceIoControl(m_handle, code, const_cast<void*>(in), inSize, out, outSize, &returned,
                             nullptr) &&
           returned == outSize;
}

bool SetTestbedBusPath(unsigned bus, const std::string& hexPath) {
    return ::RegSetKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_BUSES_KEY,
                             std::to_string(bus).c_str(), REG_SZ, hexPath.c_str(),
                             static_cast<DWORD>(hexPath.size() + 1)) == ERROR_SUCCESS;
}

void RemoveTestbedBus(unsigned bus) {
    ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_BUSES_KEY,
                         std::to_string(bus).c_str());
}

bool SetQuarnelKeepInterfaceOnStop(bool keep) {
    DWORD value = keep ? 1 : 0;
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_TESTBED_KEY,
                           TESTBED_QUARNEL_KEEP_INTERFACE_VALUE, REG_DWORD, &value,
                           sizeof(value)) == ERROR_SUCCESS;
}

DWORD StopQuarnelService() { return StopTestbedService("quarnel") ? 0 : ERROR_TIMEOUT; }

DWORD StartQuarnelService() { return StartTestbedService("quarnel") ? 0 : ERROR_TIMEOUT; }
