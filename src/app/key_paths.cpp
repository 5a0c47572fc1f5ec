#include "app/key_paths.h"

#include <cstdlib>

namespace {
bool Same(const std::string& a, const char* b) { return CString(a).CompareNoCase(b) == 0; }
} // namespace

DWORD CurrentControlSet() {
    DWORD value = 0, size = sizeof(value);
    if (::RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\Select", "Current", RRF_RT_REG_DWORD, nullptr,
                       &value, &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

KeyMatch MatchKeyPath(std::string path, DWORD currentSet, ParameterKey* pKey) {
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    size_t slash = path.find('\\');
    if (slash == std::string::npos ||
        !(Same(path.substr(0, slash), "HKEY_LOCAL_MACHINE") || Same(path.substr(0, slash), "HKLM")))
        return KeyMatch::Other;
    std::string rest = path.substr(slash + 1);
    bool bOtherSet = false;
    const size_t kSetAt = 7; // after "System\"
    const char kSet[] = "ControlSet";
    if (rest.size() > kSetAt && Same(rest.substr(0, kSetAt), "System\\") &&
        Same(rest.substr(kSetAt, sizeof(kSet) - 1), kSet)) {
        size_t end = rest.find('\\', kSetAt);
        std::string number =
            rest.substr(kSetAt + sizeof(kSet) - 1, end - kSetAt - (sizeof(kSet) - 1));
        if (!number.empty() && number.size() <= 3 &&
            number.find_first_not_of("0123456789") == std::string::npos) {
            bOtherSet = static_cast<DWORD>(std::atoi(number.c_str())) != currentSet;
            rest = "System\\CurrentControlSet" + (end == std::string::npos ? "" : rest.substr(end));
        }
    }
    for (int i = 0; i < KEY_COUNT; ++i) {
        if (Same(rest, ParameterKeyPath(static_cast<ParameterKey>(i)))) {
            *pKey = static_cast<ParameterKey>(i);
            return bOtherSet ? KeyMatch::OtherSet : KeyMatch::Key;
        }
    }
    return KeyMatch::Other;
}
