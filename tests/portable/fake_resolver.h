#pragma once
// Resolvers for tests that run without the hot-swap driver: one that is not
// there, and one that answers from a table of slots and counts what it is
// asked.
#include <cctype>
#include <string>
#include <vector>

#include "sys/location_resolver.h"

class CTableResolver : public CLocationResolver {
public:
    struct Slot {
        std::string path; // upper case, without '*'
        uint32_t bus, device, function;
    };
    explicit CTableResolver(std::vector<Slot> slots, bool available = true)
        : m_slots(std::move(slots)), m_available(available) {}

    bool IsAvailable() const override { return m_available; }
    bool ConvertSlotLocation(uint32_t* pBus, uint32_t* pDevice, uint32_t* pFunction,
                             CString& slotPath, bool toSlotPath) override {
        ++asked;
        if (!m_available)
            return false;
        if (toSlotPath) {
            for (const Slot& slot : m_slots)
                if (slot.bus == *pBus && slot.device == *pDevice && slot.function == *pFunction) {
                    slotPath = slot.path.c_str();
                    return true;
                }
            return false;
        }
        // The driver reads the digits as bytes: their case does not matter.
        std::string text = slotPath.str();
        if (!text.empty() && text[0] == '*')
            text.erase(0, 1);
        for (char& ch : text)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        for (const Slot& slot : m_slots)
            if (slot.path == text) {
                *pBus = slot.bus;
                *pDevice = slot.device;
                *pFunction = slot.function;
                return true;
            }
        return false;
    }

    int asked = 0;

private:
    std::vector<Slot> m_slots;
    bool m_available;
};

// No driver: every conversion fails, as it does when the driver is not
// installed.
inline CLocationResolver& NoDriver() {
    static CTableResolver none({}, false);
    return none;
}
