#include "model/multi_string.h"

#include <cstring>
#include <string>

std::vector<CString> SplitMultiString(const char* pData, size_t cbData) {
    std::vector<CString> strings;
    size_t offset = 0;
    while (offset < cbData && pData[offset] != '\0') {
        const char* start = pData + offset;
        const void* nul = std::memchr(start, '\0', cbData - offset);
        size_t length =
            nul ? static_cast<size_t>(static_cast<const char*>(nul) - start) : cbData - offset;
        strings.push_back(CString(std::string(start, length)));
        offset += length + 1;
    }
    return strings;
}
