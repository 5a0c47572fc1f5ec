#include "app/value_checks.h"

#include <cstring>

#include "model/bridge_windows.h"
#include "model/field_numbers.h"
#include "model/multi_string.h"

namespace {
CString SlotPathProblem(const char* text, bool bStarAllowed) {
    switch (CheckSlotPathText(text, bStarAllowed)) {
    case SlotPathTextCheck::OddLength:
        return "slot path needs an even number of hexadecimal digits";
    case SlotPathTextCheck::NotHex:
        return "slot path may hold only hexadecimal digits";
    default:
        return CString();
    }
}

std::vector<CString> Strings(const CRegistryValue& value) {
    return SplitMultiString(value.m_data.data(), value.m_data.size());
}

// A list value as the load reads it, whatever its type: its text up to the
// first NUL, trimmed as the pages trim what is typed.
CString TextOf(const CRegistryValue& value) {
    CString text = value.Text();
    return text.TrimLeft().TrimRight();
}

CString CheckMiniportNames(const CRegistryValue& value) {
    CMiniportList list;
    size_t used = 0;
    for (const CString& name : Strings(value)) {
        if (!IsServiceName(name))
            return "a miniport name must not be blank";
        CMiniportRecord record;
        record.SetServiceName(name);
        list.AddTail(record);
        used += static_cast<size_t>(name.GetLength()) + 1;
    }
    // The load stops at the first empty string: the names after it would
    // be neither shown nor kept.
    if (value.m_data.find_first_not_of('\0', used) != std::string::npos)
        return "an empty string ends the names: those after it would be lost";
    size_t size = FormatMiniportNames(list).size();
    CString reason;
    if (size > MINIPORTS_VALUE_LIMIT)
        reason.Format("miniport names take %d bytes, more than the %d the driver reads",
                      static_cast<int>(size), static_cast<int>(MINIPORTS_VALUE_LIMIT));
    return reason;
}

CString CheckScalarKeyValue(ParameterKey key, const CRegistryValue& value) {
    DWORD largest = 0, number = 0;
    switch (FindScalarKeyValue(key, value.m_strName, &largest)) {
    case ScalarKeyValue::Other:
        return CString();
    case ScalarKeyValue::Miniports:
        return CheckMiniportNames(value);
    case ScalarKeyValue::Scalar:
        break;
    }
    // The load takes one to four bytes of any type as the number.
    if (!ScalarOf(value, &number))
        return "must hold a number of 1 to 4 bytes (dword:)";
    CString reason;
    if (number > largest)
        reason.Format("%lu is out of range: 0 to %lu", static_cast<unsigned long>(number),
                      static_cast<unsigned long>(largest));
    return reason;
}

CString CheckPhysicalSlot(const CRegistryValue& value) {
    switch (CheckPhysicalSlotText(value.m_strName)) {
    case PhysicalSlotTextCheck::NotDecimal:
        return "name must be a physical slot number in decimal digits";
    case PhysicalSlotTextCheck::OutOfRange:
        return "name must be a physical slot number from 0 to 2147483647";
    default:
        break;
    }
    return SlotPathProblem(TextOf(value), false);
}

CString CheckResourceAssignment(const CRegistryValue& value) {
    if (CString problem = SlotPathProblem(value.m_strName, true); !problem.IsEmpty())
        return problem;
    CBridgeWindow windows[3];
    int32_t bDynamic = 0;
    CResourceStringForm form;
    ParseResourceString(TextOf(value), &windows[0], &windows[1], &windows[2], &bDynamic, &form);
    const char* const kinds[3] = {"I/O", "memory", "prefetchable memory"};
    CString reason;
    for (int i = 0; i < 3; ++i) {
        if (!form.bWindowMatched[i])
            reason.Format("%s window matches no window form", kinds[i]);
        else if (!form.bWindowWhole[i])
            reason.Format("%s window has more than a number where the bridge page takes one",
                          kinds[i]);
        if (!reason.IsEmpty())
            return reason;
    }
    if (((windows[0].m_dwFrom | windows[0].m_dwSize) & (IO_WINDOW_ALIGNMENT - 1)) != 0)
        return "I/O window must be 4K aligned";
    if (!form.bTailIsNumber)
        return "only one hexadecimal number may follow the three windows";
    return CString();
}

CString CheckDeviceRequirement(const CRegistryValue& value) {
    CDeviceRequirement requirement;
    // The page's fields make one spelling of an identity, and no other.
    if (!requirement.ParseIdentityText(value.m_strName) ||
        requirement.GetIdentityText().CompareNoCase(value.m_strName) != 0)
        return "name must be a device identity PCI\\VEN_vvvv&DEV_dddd[&SUBSYS_ssssvvvv][&REV_rr]";
    if (requirement.m_wVendorId == 0xFFFF)
        return "vendor FFFF is no device";
    CString reason;
    for (const CString& text : Strings(value)) {
        if (!requirement.ParseResourceString(text, true)) {
            reason.Format("\"%s\" is no BAR requirement (index 0 to 5, ':', hexadecimal size)",
                          static_cast<const char*>(text));
            return reason;
        }
    }
    for (uint32_t bar : requirement.m_dwBars)
        if (bar != 0)
            return CString();
    return "requires nothing of any BAR";
}

CString CheckRestriction(const CRegistryValue& value) {
    // As on the page: no service can be installed under a blank name.
    if (!IsServiceName(value.m_strName))
        return "name must be a miniport's service name";
    CString text = value.Text();
    if (std::strspn(text, MINIPORT_RESTRICTION_CHARS) != static_cast<size_t>(text.GetLength()))
        return "restrictions may hold only hexadecimal digits, commas, blanks and hyphens";
    return CString();
}
} // namespace

CString CheckParameterValue(ParameterKey key, const CRegistryValue& value) {
    switch (key) {
    case KEY_PHYSICAL_SLOTS:
        return CheckPhysicalSlot(value);
    case KEY_RESOURCE_ASSIGNMENTS:
        return CheckResourceAssignment(value);
    case KEY_NO_RESET_SECONDARY_BUS:
        return SlotPathProblem(value.m_strName, true);
    case KEY_EXPLICIT_REQUIREMENTS:
        return CheckDeviceRequirement(value);
    case KEY_RESTRICT_MINIPORTS:
        return CheckRestriction(value);
    default:
        return CheckScalarKeyValue(key, value);
    }
}

CString CSlotsGiven::Check(const CRegistryValue& value) {
    std::string name = FoldName(value.m_strName);
    int32_t number = ParseSlotNumber(value.m_strName);
    CString path = value.Text();
    std::string folded = FoldName(path.TrimLeft().TrimRight());
    CString reason;
    auto byNumber = m_names.find(number);
    auto byPath = m_paths.find(folded);
    if (byNumber != m_names.end() && byNumber->second != name)
        reason.Format("slot %d is given twice, also as \"%s\"", static_cast<int>(number),
                      byNumber->second.c_str());
    else if (!folded.empty() && byPath != m_paths.end() && byPath->second != name)
        reason.Format("slot path %s is given twice, also to \"%s\"", static_cast<const char*>(path),
                      byPath->second.c_str());
    if (reason.IsEmpty()) {
        m_names[number] = name;
        if (!folded.empty())
            m_paths[folded] = name;
    }
    return reason;
}
