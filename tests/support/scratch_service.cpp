#include "support/scratch_service.h"

namespace {
const char kMarker[] = "MirandelTestMarker";

std::string KeyPath(const std::string& name) {
    return "SYSTEM\\CurrentControlSet\\Services\\" + name;
}
} // namespace

std::string UniqueServiceName(const char* stem) {
    return stem + std::to_string(::GetCurrentProcessId());
}

ServiceConfig QueryServiceConfigOf(const std::string& name) {
    ServiceConfig result;
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = ::OpenServiceA(manager, name.c_str(), SERVICE_QUERY_CONFIG);
    alignas(QUERY_SERVICE_CONFIGA) BYTE buffer[8192] = {};
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer);
    DWORD needed = 0;
    if (service && ::QueryServiceConfigA(service, config, sizeof(buffer), &needed)) {
        result.exists = true;
        result.type = config->dwServiceType;
        result.startType = config->dwStartType;
        result.imagePath = config->lpBinaryPathName ? config->lpBinaryPathName : "";
        result.displayName = config->lpDisplayName ? config->lpDisplayName : "";
    }
    if (service)
        ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
    return result;
}

bool DeleteServiceIfAny(const std::string& name) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (SC_HANDLE service = ::OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS)) {
        ::DeleteService(service);
        ::CloseServiceHandle(service);
    }
    SC_HANDLE left = ::OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS);
    if (left)
        ::CloseServiceHandle(left);
    ::CloseServiceHandle(manager);
    return left == nullptr;
}

ScratchService::ScratchService(const std::string& name, const std::string& imagePath,
                               const std::string& displayName)
    : m_name(name) {
    DeleteServiceIfAny(name);
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service =
        ::CreateServiceA(manager, name.c_str(), displayName.c_str(), SERVICE_ALL_ACCESS,
                         SERVICE_KERNEL_DRIVER, SERVICE_DISABLED, SERVICE_ERROR_NORMAL,
                         imagePath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service)
        ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
}

void ScratchService::Mark() {
    DWORD one = 1;
    ::RegSetKeyValueA(HKEY_LOCAL_MACHINE, KeyPath(m_name).c_str(), kMarker, REG_DWORD, &one,
                      sizeof(one));
}

bool ScratchService::IsMarked() const {
    DWORD value = 0, size = sizeof(value);
    return ::RegGetValueA(HKEY_LOCAL_MACHINE, KeyPath(m_name).c_str(), kMarker, RRF_RT_REG_DWORD,
                          nullptr, &value, &size) == ERROR_SUCCESS;
}
