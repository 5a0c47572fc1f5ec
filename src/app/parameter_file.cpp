#include "app/parameter_file.h"

#include <algorithm>
#include <set>
#include <utility>

#include "app/key_paths.h"
#include "app/value_checks.h"
#include "framework/file_bytes.h"
#include "framework/message_box.h"
#include "store/regedit_encoding.h"

namespace {

// Takes a value or a deletion into the key's state; a later one of the same
// name takes the place of an earlier.
void Want(CKeyState& state, std::set<std::string>& seen, const CRegistryValue& value,
          bool bRemove) {
    std::string folded = FoldName(value.m_strName, ValueEncoding::Wide);
    if (!seen.insert(folded).second) {
        auto same = [&](const char* name) { return FoldName(name, ValueEncoding::Wide) == folded; };
        state.values.erase(
            std::remove_if(state.values.begin(), state.values.end(),
                           [&](const CRegistryValue& v) { return same(v.m_strName); }),
            state.values.end());
        state.removed.erase(std::remove_if(state.removed.begin(), state.removed.end(),
                                           [&](const CString& name) { return same(name); }),
                            state.removed.end());
    }
    if (bRemove)
        state.removed.push_back(value.m_strName);
    else
        state.values.push_back(value);
}

// The machine holds the value already, with the same type and bytes.
bool Holds(const CParameterStore& machine, const CFileValue& value) {
    const CRegistryValue* held = machine.Base(value.key).Find(value.value.m_strName);
    return !value.bRemove && held && held->SameContent(value.value);
}
} // namespace

BOOL ReadParameterFile(const char* pszPath, CParameterFile* pFile, CString* pError) {
    std::string bytes;
    if (DWORD error = ReadFileBytes(pszPath, &bytes)) {
        pError->Format("cannot read %s: %s", pszPath,
                       static_cast<const char*>(GetErrorText(error)));
        return FALSE;
    }
    CRegFile file;
    std::vector<CRegFileError> errors;
    if (!ReadRegFile(RegFileTextOf(bytes), &file, &errors)) {
        pError->Format("%s(%d): %s", pszPath, errors[0].line, errors[0].reason.c_str());
        return FALSE;
    }
    auto where = [&](int line, const std::string& what) {
        CString text;
        text.Format("%s(%d): %s", pszPath, line, what.c_str());
        return text;
    };
    for (const CRegFileError& error : errors)
        pFile->fixedRefusals.push_back({error.line, where(error.line, error.reason)});

    DWORD currentSet = CurrentControlSet();
    std::vector<bool> named(KEY_COUNT);
    for (const CRegFileKey& fileKey : file.keys) {
        std::string path = AnsiForDisplay(fileKey.path);
        ParameterKey key = KEY_COUNT;
        switch (MatchKeyPath(fileKey.path, currentSet, &key)) {
        case KeyMatch::Other:
            pFile->ignored.push_back(
                where(fileKey.line, path + ": ignored, not one of the utility's keys"));
            continue;
        case KeyMatch::OtherSet: {
            CString reason;
            reason.Format(": not the current control set (HKLM\\SYSTEM\\Select\\Current is %lu)",
                          static_cast<unsigned long>(currentSet));
            pFile->bNamesKey = true;
            pFile->fixedRefusals.push_back({fileKey.line, where(fileKey.line, path) + reason});
            continue;
        }
        case KeyMatch::Key:
            break;
        }
        pFile->bNamesKey = true;
        if (fileKey.remove) {
            pFile->fixedRefusals.push_back(
                {fileKey.line, where(fileKey.line, path + ": the utility never deletes its keys")});
            continue;
        }
        if (!named[key]) {
            named[key] = true;
            pFile->keys.push_back(key);
        }
        for (const CRegFileValue& value : fileKey.values) {
            ++pFile->valueCount;
            CFileValue entry;
            entry.key = key;
            entry.bRemove = value.remove;
            entry.line = value.line;
            entry.where =
                where(value.line,
                      path + "\\" + (value.name.empty() ? "@" : AnsiForDisplay(value.name)) + ": ");
            if (const char* problem =
                    StoredValueOf(value, file.version, &entry.value, ValueEncoding::Wide)) {
                pFile->fixedRefusals.push_back({value.line, entry.where + problem});
                continue;
            }
            if (!value.remove)
                entry.reason = CheckParameterValue(key, AnsiViewOf(entry.value));
            pFile->values.push_back(entry);
        }
    }
    return TRUE;
}

CFilePlan PlanFile(const CParameterFile& file, const CParameterStore* pMachine) {
    CFilePlan plan;
    std::vector<size_t> stateOf(KEY_COUNT, SIZE_MAX);
    for (ParameterKey key : file.keys) {
        stateOf[key] = plan.states.size();
        plan.states.push_back(CKeyState());
        plan.states.back().key = key;
    }
    std::vector<std::pair<int, CString>> refusals = file.fixedRefusals;
    std::vector<std::set<std::string>> seen(KEY_COUNT);
    CSlotsGiven slots;
    for (const CFileValue& value : file.values) {
        CString reason = value.reason;
        if (reason.IsEmpty() && value.key == KEY_PHYSICAL_SLOTS && !value.bRemove)
            reason = slots.Check(AnsiViewOf(value.value));
        if (!reason.IsEmpty() && !(pMachine && Holds(*pMachine, value))) {
            refusals.push_back({value.line, value.where + reason});
            continue;
        }
        Want(plan.states[stateOf[value.key]], seen[value.key], value.value, value.bRemove);
    }
    // Refusals are told in the order of their lines.
    std::stable_sort(refusals.begin(), refusals.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& refusal : refusals)
        plan.refusals.push_back(refusal.second);
    return plan;
}
