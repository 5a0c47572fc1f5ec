#pragma once
// Kernel-driver services that a test makes and removes through the plain
// service manager calls (independent of the CServiceControl under test), and
// what the service manager holds for one.
#include <windows.h>

#include <string>

// A service name no other test process uses.
std::string UniqueServiceName(const char* stem);

struct ServiceConfig {
    DWORD type = 0;
    DWORD startType = 0;
    std::string imagePath;
    std::string displayName;
    std::string group;
};
ServiceConfig QueryServiceConfigOf(const std::string& name);

// A disabled kernel-driver service made for the test (none when there is no
// image path), deleted at the end also when the code under test re-created it.
class ScratchService {
public:
    explicit ScratchService(const std::string& name, const std::string& imagePath = "",
                            const std::string& displayName = "");
    ~ScratchService();
    ScratchService(const ScratchService&) = delete;
    ScratchService& operator=(const ScratchService&) = delete;

    const char* Name() const { return m_name.c_str(); }

private:
    std::string m_name;
};
