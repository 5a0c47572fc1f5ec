// Installs, starts, stops and removes the stand-in hot-swap driver as the
// kernel-driver service "quarnel" through the service control manager, for
// testbed/install. Exit code: 0, or the Win32 error of the step that failed.
#include <windows.h>
#include <setupapi.h>
#include <initguid.h>

#include <cstdio>
#include <cstring>

DEFINE_GUID(GUID_DEVINTERFACE_HOTSWAP, 0x4EC32020, 0x5104, 0x11D2, 0x8B, 0x4D, 0x00, 0x80, 0xAD,
            0xB7, 0x22, 0x06);

namespace {

const char SERVICE_NAME[] = "quarnel";
const DWORD WAIT_MS = 10000;

DWORD Fail(const char* what) {
    DWORD error = GetLastError();
    std::fprintf(stderr, "quarnel_service: %s failed, error %lu\n", what, error);
    return error != 0 ? error : 1;
}

// Waits until the service leaves its pending state; false on timeout.
bool WaitForState(SC_HANDLE service, DWORD wanted) {
    SERVICE_STATUS status;
    for (DWORD waited = 0; waited < WAIT_MS; waited += 100) {
        if (!QueryServiceStatus(service, &status))
            return false;
        if (status.dwCurrentState == wanted)
            return true;
        Sleep(100);
    }
    return false;
}

bool InterfaceListed() {
    HDEVINFO set = SetupDiGetClassDevsA(&GUID_DEVINTERFACE_HOTSWAP, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVICE_INTERFACE_DATA data = {};
    data.cbSize = sizeof(data);
    bool listed = SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_HOTSWAP, 0, &data);
    SetupDiDestroyDeviceInfoList(set);
    return listed;
}

DWORD Stop(SC_HANDLE service) {
    SERVICE_STATUS status;
    if (!QueryServiceStatus(service, &status))
        return Fail("QueryServiceStatus");
    if (status.dwCurrentState == SERVICE_STOPPED)
        return 0;
    if (!ControlService(service, SERVICE_CONTROL_STOP, &status) &&
        GetLastError() != ERROR_SERVICE_NOT_ACTIVE)
        return Fail("ControlService(STOP)");
    if (!WaitForState(service, SERVICE_STOPPED))
        return Fail("waiting for the stop");
    return 0;
}

// Creates the service or brings its configuration up to date, then loads
// the driver afresh so that a new build is the one running.
DWORD Install(SC_HANDLE manager, const char* imagePath) {
    SC_HANDLE service =
        CreateServiceA(manager, SERVICE_NAME, SERVICE_NAME, SERVICE_ALL_ACCESS,
                       SERVICE_KERNEL_DRIVER, SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, imagePath,
                       nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service == nullptr) {
        if (GetLastError() != ERROR_SERVICE_EXISTS)
            return Fail("CreateService");
        service = OpenServiceA(manager, SERVICE_NAME, SERVICE_ALL_ACCESS);
        if (service == nullptr)
            return Fail("OpenService");
        if (!ChangeServiceConfigA(service, SERVICE_KERNEL_DRIVER, SERVICE_AUTO_START,
                                  SERVICE_ERROR_NORMAL, imagePath, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, SERVICE_NAME)) {
            DWORD error = Fail("ChangeServiceConfig");
            CloseServiceHandle(service);
            return error;
        }
    }
    DWORD error = Stop(service);
    if (error == 0 && !StartServiceA(service, 0, nullptr))
        error = Fail("StartService");
    if (error == 0 && !WaitForState(service, SERVICE_RUNNING))
        error = Fail("waiting for the start");
    CloseServiceHandle(service);
    if (error == 0 && !InterfaceListed()) {
        std::fprintf(stderr, "quarnel_service: driver runs but its interface is not listed\n");
        error = ERROR_DEV_NOT_EXIST;
    }
    return error;
}

DWORD Remove(SC_HANDLE manager) {
    SC_HANDLE service = OpenServiceA(manager, SERVICE_NAME, SERVICE_ALL_ACCESS);
    if (service == nullptr)
        return GetLastError() == ERROR_SERVICE_DOES_NOT_EXIST ? 0 : Fail("OpenService");
    DWORD error = Stop(service);
    if (error == 0 && !DeleteService(service))
        error = Fail("DeleteService");
    CloseServiceHandle(service);
    return error;
}

} // namespace

int main(int argc, char** argv) {
    bool install = argc == 3 && std::strcmp(argv[1], "install") == 0;
    bool remove = argc == 2 && std::strcmp(argv[1], "remove") == 0;
    if (!install && !remove) {
        std::fprintf(stderr, "usage: quarnel_service install <image path> | remove\n");
        return ERROR_INVALID_PARAMETER;
    }
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr)
        return static_cast<int>(Fail("OpenSCManager"));
    DWORD error = install ? Install(manager, argv[2]) : Remove(manager);
    CloseServiceHandle(manager);
    return static_cast<int>(error);
}
