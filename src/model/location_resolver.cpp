#include "model/location_resolver.h"

#include "model/slot_path_text.h"

bool CResolverMemo::ConvertSlotLocation(uint32_t* pBus, uint32_t* pDevice, uint32_t* pFunction,
                                        CString& slotPath, bool toSlotPath) {
    if (toSlotPath) {
        auto key = std::make_tuple(*pBus, *pDevice, *pFunction);
        auto found = m_byTriple.find(key);
        if (found == m_byTriple.end()) {
            SlotPath answer;
            answer.bConverted =
                m_resolver.ConvertSlotLocation(pBus, pDevice, pFunction, answer.text, true);
            found = m_byTriple.emplace(key, answer).first;
        }
        if (found->second.bConverted)
            slotPath = found->second.text;
        return found->second.bConverted;
    }
    // A text with a leading '*' asks what the text without it asks.
    std::string key = SkipSlotPathMark(slotPath);
    auto found = m_byPath.find(key);
    if (found == m_byPath.end()) {
        Location answer;
        answer.bConverted = m_resolver.ConvertSlotLocation(&answer.nBus, &answer.nDevice,
                                                           &answer.nFunction, slotPath, false);
        found = m_byPath.emplace(key, answer).first;
    }
    const Location& location = found->second;
    if (!location.bConverted)
        return false;
    *pBus = location.nBus;
    *pDevice = location.nDevice;
    *pFunction = location.nFunction;
    return true;
}
