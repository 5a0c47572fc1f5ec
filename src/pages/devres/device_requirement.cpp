#include "pages/devres/device_requirement.h"

#include <cstring>
#include <string>

namespace {

const int kBarCount = 6;
// Magnitudes saturate at 32 bits, as the Windows C library's scanf does, so no
// text can overflow.
const uint64_t kMagnitudeCap = UINT32_MAX;

bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Reads a number the way scanf's %d and %x read one, without depending on the
// C library: white space, then within `width` characters (0: no limit) an
// optional sign, in base 16 an optional 0x prefix, and at least one digit. A
// prefix without a digit behind it is not taken, so "0x" reads as 0. On
// success p is moved behind the number.
bool ScanNumber(const char*& p, int base, size_t width, bool& negative, uint64_t& magnitude) {
    const char* s = p;
    while (IsScanSpace(*s))
        ++s;
    size_t left = width != 0 ? width : SIZE_MAX;
    negative = false;
    if (*s == '+' || *s == '-') {
        negative = *s == '-';
        ++s;
        --left;
    }
    if (base == 16 && left >= 3 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') &&
        DigitValue(s[2], 16) >= 0) {
        s += 2;
        left -= 2;
    }
    size_t digits = 0;
    magnitude = 0;
    for (; left > 0 && DigitValue(*s, base) >= 0; ++s, --left, ++digits) {
        magnitude = magnitude * base + DigitValue(*s, base);
        if (magnitude > kMagnitudeCap)
            magnitude = kMagnitudeCap;
    }
    if (digits == 0)
        return false;
    p = s;
    return true;
}

// A hexadecimal number stored as scanf stores it in an unsigned target: a
// minus sign negates it modulo 2^32.
bool ScanHex(const char*& p, size_t width, uint32_t& value) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (!ScanNumber(p, 16, width, negative, magnitude))
        return false;
    value = static_cast<uint32_t>(magnitude);
    if (negative)
        value = 0u - value;
    return true;
}

enum class PartResult { Absent, NoDigits, Read };

// Finds the first occurrence of the tag anywhere in the text and reads the
// hexadecimal number right behind it.
PartResult ReadIdentityPart(const char* text, const char* tag, size_t width, uint32_t& value) {
    const char* p = std::strstr(text, tag);
    if (!p)
        return PartResult::Absent;
    p += std::strlen(tag);
    return ScanHex(p, width, value) ? PartResult::Read : PartResult::NoDigits;
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

bool CDeviceRequirement::ParseResourceString(const char* pszText) {
    if (!pszText)
        return false;
    const char* p = pszText;
    bool negative = false;
    uint64_t index = 0;
    if (!ScanNumber(p, 10, 0, negative, index))
        return false;
    if ((negative && index != 0) || index >= kBarCount)
        return false;
    if (*p != ':')
        return false;
    ++p;
    uint32_t value = 0;
    if (!ScanHex(p, 0, value))
        return false;
    m_dwBars[index] = value;
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
