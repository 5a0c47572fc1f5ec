#include "model/device_requirement.h"

#include <cstring>
#include <string>

#include "framework/number_text.h"

namespace {

const int kBarCount = 6;

enum class PartResult { Absent, NoDigits, Read };

// Finds the first occurrence of the tag anywhere in the text and reads the
// hexadecimal number right behind it.
PartResult ReadIdentityPart(const char* text, const char* tag, size_t width, uint32_t& value) {
    const char* p = std::strstr(text, tag);
    if (!p)
        return PartResult::Absent;
    p += std::strlen(tag);
    return ScanNumber(&p, 16, &value, width) ? PartResult::Read : PartResult::NoDigits;
}

int CompareUnsigned(uint32_t a, uint32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

} // namespace

CString CDeviceRequirement::GetIdentityText() const {
    CString text;
    if (m_wVendorId == 0)
        return text;
    text.Format("PCI\\VEN_%04X&DEV_%04X", static_cast<unsigned>(m_wVendorId),
                static_cast<unsigned>(m_wDeviceId));
    CString part;
    if (m_bHasSubsystem) {
        // Hardware identifiers put the subsystem ID before its vendor.
        part.Format("&SUBSYS_%04X%04X", static_cast<unsigned>(m_wSubsystemId),
                    static_cast<unsigned>(m_wSubsystemVendorId));
        text += part;
    }
    if (m_bHasRevision) {
        part.Format("&REV_%02X", static_cast<unsigned>(m_byRevisionId));
        text += part;
    }
    return text;
}

bool CDeviceRequirement::ParseIdentityText(const char* pszText) {
    *this = CDeviceRequirement();
    const char* text = pszText ? pszText : "";
    uint32_t value = 0;
    if (ReadIdentityPart(text, "VEN_", 4, value) != PartResult::Read)
        return false;
    m_wVendorId = static_cast<uint16_t>(value);
    if (m_wVendorId == 0)
        return false;
    if (ReadIdentityPart(text, "DEV_", 4, value) != PartResult::Read)
        return false;
    m_wDeviceId = static_cast<uint16_t>(value);

    PartResult subsystem = ReadIdentityPart(text, "SUBSYS_", 8, value);
    if (subsystem == PartResult::NoDigits)
        return false;
    if (subsystem == PartResult::Read) {
        m_bHasSubsystem = 1;
        m_wSubsystemVendorId = static_cast<uint16_t>(value & 0xFFFF);
        m_wSubsystemId = static_cast<uint16_t>(value >> 16);
    }

    PartResult revision = ReadIdentityPart(text, "REV_", 2, value);
    if (revision == PartResult::NoDigits)
        return false;
    if (revision == PartResult::Read) {
        m_bHasRevision = 1;
        m_byRevisionId = static_cast<uint8_t>(value & 0xFF);
    }
    return true;
}

CString CDeviceRequirement::GetResourceText() const {
    std::string text;
    CString entry;
    for (int i = 0; i < kBarCount; ++i) {
        if (m_dwBars[i] == 0)
            continue;
        entry.Format("%d:%X", i, static_cast<unsigned>(m_dwBars[i]));
        text += entry.str();
        text += '\0';
    }
    if (!text.empty())
        text += '\0';
    return CString(text);
}

bool CDeviceRequirement::ParseResourceString(const char* pszText, bool bWhole) {
    if (!pszText)
        return false;
    const char* p = pszText;
    uint32_t index = 0, value = 0;
    // A negative index reads as a number far above the last BAR.
    if (!ScanNumber(&p, 10, &index) || index >= kBarCount)
        return false;
    if (!ScanLiteral(&p, ':') || !ScanNumber(&p, 16, &value))
        return false;
    while (bWhole && (*p == ' ' || *p == '\t'))
        ++p;
    if (bWhole && *p != '\0')
        return false;
    m_dwBars[index] = value;
    return true;
}

bool CDeviceRequirement::operator==(const CDeviceRequirement& other) const {
    if (CompareIdentity(*this, other) != 0 || m_bHasSubsystem != other.m_bHasSubsystem ||
        m_wSubsystemVendorId != other.m_wSubsystemVendorId ||
        m_wSubsystemId != other.m_wSubsystemId || m_byRevisionId != other.m_byRevisionId)
        return false;
    for (int i = 0; i < kBarCount; ++i)
        if (m_dwBars[i] != other.m_dwBars[i])
            return false;
    return true;
}

int CompareIdentity(const CDeviceRequirement& a, const CDeviceRequirement& b) {
    if (int order = CompareUnsigned(a.m_wVendorId, b.m_wVendorId))
        return order;
    if (int order = CompareUnsigned(a.m_wDeviceId, b.m_wDeviceId))
        return order;
    if (int order = CompareUnsigned(a.m_bHasSubsystem, b.m_bHasSubsystem))
        return order;
    if (a.m_bHasSubsystem) {
        if (int order = CompareUnsigned(a.m_wSubsystemVendorId, b.m_wSubsystemVendorId))
            return order;
        if (int order = CompareUnsigned(a.m_wSubsystemId, b.m_wSubsystemId))
            return order;
    }
    if (int order = CompareUnsigned(a.m_bHasRevision, b.m_bHasRevision))
        return order;
    if (a.m_bHasRevision)
        return CompareUnsigned(a.m_byRevisionId, b.m_byRevisionId);
    return 0;
}

POSITION CDeviceRequirementList::Add(const CDeviceRequirement& requirement, bool bReplaceAllBars) {
    POSITION pos = GetHeadPosition();
    while (pos) {
        POSITION current = pos;
        CDeviceRequirement& existing = GetNext(pos);
        int order = CompareIdentity(existing, requirement);
        if (order < 0)
            continue;
        if (order > 0)
            return InsertBefore(current, requirement);
        for (int i = 0; i < kBarCount; ++i) {
            if (bReplaceAllBars || requirement.m_dwBars[i] != 0)
                existing.m_dwBars[i] = requirement.m_dwBars[i];
        }
        return current;
    }
    return AddTail(requirement);
}
