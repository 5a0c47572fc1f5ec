#include "sys/location_resolver.h"

#include <atomic>
#include <thread>

#include "sys/slot_path_text.h"

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

void CResolverMemo::Prefetch(const std::vector<std::string>& slotPaths, unsigned nThreads) {
    if (!m_resolver.IsAvailable())
        return;
    // Each distinct question once; the answers go in after all threads end.
    std::vector<std::string> asked;
    std::map<std::string, bool> seen;
    for (const std::string& text : slotPaths) {
        std::string key = SkipSlotPathMark(text.c_str());
        if (m_byPath.count(key) == 0 && seen.emplace(key, true).second)
            asked.push_back(key);
    }
    std::vector<Location> answers(asked.size());
    std::atomic<size_t> next(0);
    auto work = [&] {
        for (size_t i; (i = next++) < asked.size();) {
            CString text(asked[i]);
            Location& answer = answers[i];
            answer.bConverted = m_resolver.ConvertSlotLocation(&answer.nBus, &answer.nDevice,
                                                               &answer.nFunction, text, false);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < nThreads && t < asked.size(); ++t)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    for (size_t i = 0; i < asked.size(); ++i)
        m_byPath.emplace(asked[i], answers[i]);
}
