#include "support/testbed_quarnel_client.h"

#include <cstdio>

#include "sys/hotswap_driver.h"

namespace {

const DWORD SERVICE_WAIT_MS = 10000;

bool WriteDword(const char* keyPath, const char* name, DWORD value) {
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, keyPath, name, REG_DWORD, &value, sizeof(value)) ==
           ERROR_SUCCESS;
}

DWORD ChangeService(bool start) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr)
        return GetLastError();
    SC_HANDLE service =
        OpenServiceA(manager, "quarnel", SERVICE_START | SERVICE_STOP | SERVICE_QUERY_STATUS);
    DWORD error = 0;
    DWORD wanted = start ? SERVICE_RUNNING : SERVICE_STOPPED;
    SERVICE_STATUS status = {};
    if (service == nullptr) {
        error = GetLastError();
    } else if (start ? !StartServiceA(service, 0, nullptr)
                     : !ControlService(service, SERVICE_CONTROL_STOP, &status)) {
        error = GetLastError();
    } else {
        error = ERROR_TIMEOUT;
        for (DWORD waited = 0; waited < SERVICE_WAIT_MS; waited += 50) {
            if (!QueryServiceStatus(service, &status)) {
                error = GetLastError();
                break;
            }
            if (status.dwCurrentState == wanted) {
                error = 0;
                break;
            }
            Sleep(50);
        }
    }
    if (service != nullptr)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return error;
}

} // namespace

QuarnelTestbed::~QuarnelTestbed() { Close(); }

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
    char name[16];
    std::snprintf(name, sizeof(name), "%u", bus);
    return RegSetKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_BUSES_KEY, name, REG_SZ,
                           hexPath.c_str(),
                           static_cast<DWORD>(hexPath.size() + 1)) == ERROR_SUCCESS;
}

bool RemoveTestbedBus(unsigned bus) {
    char name[16];
    std::snprintf(name, sizeof(name), "%u", bus);
    LONG result = RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, TESTBED_QUARNEL_BUSES_KEY, name);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
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
    return WriteDword(TESTBED_QUARNEL_TESTBED_KEY, TESTBED_QUARNEL_KEEP_INTERFACE_VALUE,
                      keep ? 1 : 0);
}

DWORD StopQuarnelService() { return ChangeService(false); }

DWORD StartQuarnelService() { return ChangeService(true); }
