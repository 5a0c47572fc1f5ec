#include "app/parameter_file.h"

#include <algorithm>
#include <set>
#include <utility>

#include "store/regedit_encoding.h"
#include "app/value_checks.h"
#include "framework/handle.h"
#include "framework/message_box.h"

namespace {
const char kMachine[] = "HKEY_LOCAL_MACHINE\\";

DWORD ReadWholeFile(const char* pszPath, std::string* pBytes) {
    CFileHandle file(::CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return ::GetLastError();
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file, &size))
        return ::GetLastError();
    // A registry editor file of the eight keys is far smaller than this.
    if (size.QuadPart > 0x10000000)
        return ERROR_FILE_TOO_LARGE;
    pBytes->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!pBytes->empty() &&
        !::ReadFile(file, &(*pBytes)[0], static_cast<DWORD>(pBytes->size()), &read, nullptr))
        return ::GetLastError();
    pBytes->resize(read);
    return 0;
}

// The parameter key a file's key path names, or KEY_COUNT.
ParameterKey KeyOfPath(const std::string& path) {
    for (int i = 0; i < KEY_COUNT; ++i) {
        ParameterKey key = static_cast<ParameterKey>(i);
        if (CString(path).CompareNoCase(CString(kMachine) + ParameterKeyPath(key)) == 0)
            return key;
    }
    return KEY_COUNT;
}

// Takes a value or a deletion into the key's state; a later one of the same
// name takes the place of an earlier.
void Want(CKeyState& state, std::set<std::string>& seen, const CRegistryValue& value,
          bool bRemove) {
    std::string folded = FoldName(value.m_strName);
    if (!seen.insert(folded).second) {
        auto same = [&](const char* name) { return FoldName(name) == folded; };
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
} // namespace

BOOL ReadParameterFile(const char* pszPath, CParameterFile* pFile, CString* pError) {
    std::string bytes;
    if (DWORD error = ReadWholeFile(pszPath, &bytes)) {
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
    // Refusals are told in the order of their lines.
    std::vector<std::pair<int, CString>> refusals;
    auto refuse = [&](int line, const std::string& where, const char* reason) {
        CString text;
        text.Format("%s(%d): %s%s", pszPath, line, where.c_str(), reason);
        refusals.push_back({line, text});
    };
    for (const CRegFileError& error : errors)
        refuse(error.line, "", error.reason.c_str());

    std::vector<size_t> stateOf(KEY_COUNT, SIZE_MAX);
    std::vector<std::set<std::string>> seen(KEY_COUNT);
    for (const CRegFileKey& fileKey : file.keys) {
        std::string path = AnsiForDisplay(fileKey.path);
        ParameterKey key = KeyOfPath(fileKey.path);
        if (key == KEY_COUNT) {
            CString text;
            text.Format("%s(%d): %s: ignored, not one of the utility's keys", pszPath, fileKey.line,
                        path.c_str());
            pFile->ignored.push_back(text);
            continue;
        }
        if (fileKey.remove) {
            refuse(fileKey.line, path + ": ", "the utility never deletes its keys");
            continue;
        }
        if (stateOf[key] == SIZE_MAX) {
            stateOf[key] = pFile->states.size();
            pFile->states.push_back(CKeyState());
            pFile->states.back().key = key;
        }
        for (const CRegFileValue& value : fileKey.values) {
            ++pFile->valueCount;
            CRegistryValue stored;
            CString reason;
            if (const char* problem = StoredValueOf(value, file.version, &stored))
                reason = problem;
            else if (!value.remove)
                reason = CheckParameterValue(key, stored);
            if (!reason.IsEmpty()) {
                std::string name = value.name.empty() ? "@" : AnsiForDisplay(value.name);
                refuse(value.line, path + "\\" + name + ": ", reason);
                continue;
            }
            Want(pFile->states[stateOf[key]], seen[key], stored, value.remove);
        }
    }
    std::stable_sort(refusals.begin(), refusals.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& refusal : refusals)
        pFile->refusals.push_back(refusal.second);
    return TRUE;
}
