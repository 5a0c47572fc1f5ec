#pragma once
// The two-way conversion between a slot path and a PCI Bus/Device/Function,
// which the hot-swap driver performs. The records and the pages are handed a
// resolver; the application's is its driver, tests bring their own. Free of
// windows.h.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>

#include "framework/cstring.h"

class CLocationResolver {
public:
    virtual ~CLocationResolver() = default;
    // Whether conversions can be asked for at all (the driver was found).
    virtual bool IsAvailable() const = 0;
    // toSlotPath reads the three numbers and writes the slot path text;
    // otherwise it reads the text (a leading '*' skipped) and writes the
    // numbers. false, with nothing written, when the conversion is
    // unavailable or refused.
    virtual bool ConvertSlotLocation(uint32_t* pBus, uint32_t* pDevice, uint32_t* pFunction,
                                     CString& slotPath, bool toSlotPath) = 0;
};

// Asks another resolver each distinct question once, answers included that
// were refusals: it lives from one load to the next, so that lists naming
// the same slots again and again cost one driver request per slot, while
// the next load asks afresh.
class CResolverMemo : public CLocationResolver {
public:
    explicit CResolverMemo(CLocationResolver& resolver) : m_resolver(resolver) {}
    bool IsAvailable() const override { return m_resolver.IsAvailable(); }
    bool ConvertSlotLocation(uint32_t* pBus, uint32_t* pDevice, uint32_t* pFunction,
                             CString& slotPath, bool toSlotPath) override;

    // Forgets every answer, so that the next load asks afresh.
    void Forget() {
        m_byPath.clear();
        m_byTriple.clear();
    }

private:
    struct Location {
        bool bConverted = false;
        uint32_t nBus = 0, nDevice = 0, nFunction = 0;
    };
    struct SlotPath {
        bool bConverted = false;
        CString text;
    };
    CLocationResolver& m_resolver;
    std::map<std::string, Location> m_byPath;
    std::map<std::tuple<uint32_t, uint32_t, uint32_t>, SlotPath> m_byTriple;
};
