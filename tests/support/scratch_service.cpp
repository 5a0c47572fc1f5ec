#include "support/scratch_service.h"

namespace {
void DeleteServiceIfAny(const std::string& name) {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    SC_HANDLE service = ::OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
    ::DeleteService(service);
    ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
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
    auto text = [](const char* p) { return std::string(p ? p : ""); };
    if (::QueryServiceConfigA(service, config, sizeof(buffer), &needed))
        result = {config->dwServiceType, config->dwStartType, text(config->lpBinaryPathName),
                  text(config->lpDisplayName), text(config->lpLoadOrderGroup)};
    ::CloseServiceHandle(service);
    ::CloseServiceHandle(manager);
    return result;
}

ScratchService::ScratchService(const std::string& name, const std::string& imagePath,
                               const std::string& displayName)
    : m_name(name) {
    DeleteServiceIfAny(name);
    if (imagePath.empty())
        return;
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ::CloseServiceHandle(::CreateServiceA(manager, name.c_str(), displayName.c_str(),
                                          SERVICE_ALL_ACCESS, SERVICE_KERNEL_DRIVER,
                                          SERVICE_DISABLED, SERVICE_ERROR_NORMAL, imagePath.c_str(),
                                          nullptr, nullptr, nullptr, nullptr, nullptr));
    ::CloseServiceHandle(manager);
}

ScratchService::~ScratchService() { DeleteServiceIfAny(m_name); }
