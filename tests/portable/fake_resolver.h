#pragma once
// Resolvers for tests without the hot-swap driver: one that is not there,
// and one that answers from a table of slots and counts what it is asked.
#include <atomic>
#include <string>
#include <vector>

#include "model/location_resolver.h"

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
        for (const Slot& slot : m_available ? m_slots : std::vector<Slot>()) {
            if (toSlotPath && slot.bus == *pBus && slot.device == *pDevice &&
                slot.function == *pFunction) {
                slotPath = slot.path.c_str();
                return true;
            }
            // The driver reads the digits as bytes: their case does not matter.
            if (!toSlotPath && CString(slot.path.c_str()).CompareNoCase(SkipMark(slotPath)) == 0) {
                *pBus = slot.bus;
                *pDevice = slot.device;
                *pFunction = slot.function;
                return true;
            }
        }
        return false;
    }
    std::atomic<int> asked{0};

private:
    static const char* SkipMark(const char* text) { return *text == '*' ? text + 1 : text; }
    std::vector<Slot> m_slots;
    bool m_available;
};

// No driver: every conversion fails, as when the driver is not installed.
inline CLocationResolver& NoDriver() {
    static CTableResolver none({}, false);
    return none;
}
