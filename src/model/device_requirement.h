#pragma once
// Explicit resource requirement of a PCI device for the bus filter driver: the
// record, its identity and resource texts (the registry value name and data),
// and the list that keeps one record per identity in identity order.
#include <cstdint>
#include "framework/clist.h"
#include "framework/cstring.h"

// A PCI device identity with a requirement value for each of its six BARs
// (0: no requirement for that BAR). Plain value; a new record is all zero.
struct CDeviceRequirement {
    uint16_t m_wVendorId = 0;
    uint16_t m_wDeviceId = 0;
    uint16_t m_wSubsystemVendorId = 0; // meaningful only with m_bHasSubsystem
    uint16_t m_wSubsystemId = 0;       // meaningful only with m_bHasSubsystem
    uint8_t m_byRevisionId = 0;        // meaningful only with m_bHasRevision
    uint32_t m_bHasSubsystem = 0;      // 0 or 1
    uint32_t m_bHasRevision = 0;       // 0 or 1
    uint32_t m_dwBars[6] = {};

    // "PCI\VEN_%04X&DEV_%04X" [+ "&SUBSYS_%04X%04X" subsystem ID then subsystem vendor ID]
    // [+ "&REV_%02X"]; empty when the vendor ID is 0.
    CString GetIdentityText() const;
    // Resets *this to a new record, then reads the identity parts wherever they stand in the text.
    // false when VEN_ or DEV_ is missing or has no digits, the vendor is 0, or a SUBSYS_/REV_ part
    // has no digits.
    bool ParseIdentityText(const char* pszText);
    // REG_MULTI_SZ form: "%d:%X" per non-zero BAR in index order, each followed by a NUL, then one
    // more NUL when at least one was written; empty (length 0) when no BAR is set.
    // The CString holds the embedded NULs: GetLength() is the byte count to store.
    CString GetResourceText() const;
    // One string "%d:%x" (decimal index 0..5, colon, hex value, either case, optional 0x prefix);
    // on success the value replaces that BAR. false, record unchanged, otherwise, and (when
    // bWhole) when anything but blanks follows the value.
    bool ParseResourceString(const char* pszText, bool bWhole = false);

    // Every field alike: a copy, unchanged.
    bool operator==(const CDeviceRequirement& other) const;
};

// Identity order: <0, 0 or >0 (vendor, device, has-subsystem, [subsystem vendor, subsystem ID when
// both have one], has-revision, [revision when both have one]; all unsigned ascending). BARs take
// no part.
int CompareIdentity(const CDeviceRequirement& a, const CDeviceRequirement& b);

// Records in ascending identity order, one per identity; nodes in blocks of 10.
class CDeviceRequirementList : public CList<CDeviceRequirement> {
public:
    // Walks past every record that comes before the new one; a record of the same identity is
    // merged (each BAR copied when bReplaceAllBars or the new value is non-zero) and its position
    // returned; otherwise a copy is inserted there (or at the tail) and the new position returned.
    POSITION Add(const CDeviceRequirement& requirement, bool bReplaceAllBars);
};
