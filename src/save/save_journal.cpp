#include "save/save_journal.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/file_bytes.h"
#include "framework/handle.h"
#include "save/journal_security.h"
#include "store/regedit_encoding.h"

namespace {
// A record is written as ID.save and renamed ID.done once it has ended, so
// that the records still to finish are found without reading the others.
const char kRecordExtension[] = ".save";
const char kEndedExtension[] = ".done";
const char kBeforeExtension[] = ".reg";

// A string of the program's version resource; empty when it has none.
CString VersionString(const char* lpszName) {
    char path[MAX_PATH];
    DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
    if (length == 0 || length >= sizeof(path))
        return CString();
    // Loaded when first needed, which keeps it out of the start-up of a
    // sheet that never saves.
    using SizeProc = DWORD(WINAPI*)(LPCSTR, LPDWORD);
    using InfoProc = BOOL(WINAPI*)(LPCSTR, DWORD, DWORD, LPVOID);
    using QueryProc = BOOL(WINAPI*)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    static CModule version(::LoadLibraryA("version.dll"));
    auto pfnSize = GetEntry<SizeProc>(version, "GetFileVersionInfoSizeA");
    auto pfnInfo = GetEntry<InfoProc>(version, "GetFileVersionInfoA");
    auto pfnQuery = GetEntry<QueryProc>(version, "VerQueryValueA");
    DWORD handle = 0;
    DWORD size = pfnSize && pfnInfo && pfnQuery ? pfnSize(path, &handle) : 0;
    if (size == 0)
        return CString();
    std::string block(size, '\0');
    char* pText = nullptr;
    UINT cch = 0;
    CString query = CString("\\StringFileInfo\\040904b0\\") + lpszName;
    if (!pfnInfo(path, 0, size, &block[0]) ||
        !pfnQuery(block.data(), query, reinterpret_cast<void**>(&pText), &cch) || !pText)
        return CString();
    return CString(std::string(pText, strnlen(pText, cch)));
}

CString ParentOf(const CString& path) {
    std::string text = path.str();
    size_t slash = text.find_last_of('\\');
    return CString(slash == std::string::npos ? std::string() : text.substr(0, slash));
}

std::string TimeText(const SYSTEMTIME& t, const char* format) {
    char text[64];
    std::snprintf(text, sizeof(text), format, t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                  t.wSecond, t.wMilliseconds, static_cast<unsigned long>(::GetCurrentProcessId()));
    return text;
}
} // namespace

CString CSaveJournal::DefaultFolder() {
    char data[MAX_PATH] = "";
    DWORD length = ::GetEnvironmentVariableA("ProgramData", data, sizeof(data));
    if (length == 0 || length >= sizeof(data))
        std::snprintf(data, sizeof(data), "C:\\ProgramData");
    return CString(data) + "\\" + VersionString("CompanyName") + "\\" +
           VersionString("ProductName") + "\\Journal";
}

const CString& CSaveJournal::Folder() {
    if (m_folder.IsEmpty())
        m_folder = DefaultFolder();
    return m_folder;
}

CString CSaveJournal::RecordPath(const std::string& id, bool bEnded) {
    return Folder() + "\\" + CString(id) + (bEnded ? kEndedExtension : kRecordExtension);
}

CString CSaveJournal::BeforePath(const CSaveRecord& record) {
    return Folder() + "\\" + CString(record.id) + kBeforeExtension;
}

bool CSaveJournal::IsTrusted(const CSaveRecord& record) {
    const CString& folder = Folder();
    CString path = RecordPath(record.id);
    if (::GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        path = RecordPath(record.id, true);
    return IsWrittenByAdministratorsOnly(folder) &&
           IsWrittenByAdministratorsOnly(ParentOf(folder)) && IsWrittenByAdministratorsOnly(path) &&
           IsWrittenByAdministratorsOnly(BeforePath(record));
}

std::vector<std::string> CSaveJournal::FileNames(const char* lpszExtension) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA(Folder() + "\\*" + lpszExtension, &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return names;
}

std::vector<CSaveJournal::CEntry> CSaveJournal::Records(bool bTrust, bool bEnded) {
    std::vector<std::string> names = FileNames(kRecordExtension);
    if (bEnded) {
        std::vector<std::string> ended = FileNames(kEndedExtension);
        names.insert(names.end(), ended.begin(), ended.end());
    }
    std::vector<CEntry> entries;
    for (const std::string& name : names) {
        CString path = Folder() + "\\" + CString(name);
        std::string text;
        CEntry entry;
        auto ended = m_ended.find(name);
        if (ended != m_ended.end()) {
            entry.record = ended->second;
        } else if (ReadFileBytes(path, &text) != ERROR_SUCCESS ||
                   !ParseSaveRecord(text, &entry.record) ||
                   (RecordPath(entry.record.id) != path &&
                    RecordPath(entry.record.id, true) != path)) {
            continue;
        } else if (entry.record.state != SaveRecordState::Incomplete) {
            // One ended, as read, does not change.
            m_ended[name] = entry.record;
        }
        entry.bTrusted = bTrust && IsTrusted(entry.record);
        entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const CEntry& a, const CEntry& b) { return a.record.id > b.record.id; });
    return entries;
}

std::vector<CSaveJournal::CEntry> CSaveJournal::Pending() {
    std::vector<CEntry> pending;
    for (CEntry& entry : Records(false, false)) {
        if (entry.record.state != SaveRecordState::Incomplete)
            continue;
        entry.bTrusted = IsTrusted(entry.record);
        pending.push_back(entry);
    }
    return pending;
}

DWORD CSaveJournal::MakeFolders() {
    CJournalSecurity security;
    std::string path = Folder().str();
    // Each missing folder from the top down gets the journal's descriptor.
    for (size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (!::CreateDirectoryA(part.c_str(), security.Attributes()) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS)
            return ::GetLastError();
        if (slash == std::string::npos)
            return ERROR_SUCCESS;
    }
}

DWORD CSaveJournal::WriteNewFile(const CString& path, const std::string& bytes) {
    CJournalSecurity security;
    CString next = path + ".new";
    {
        CFileHandle file(::CreateFileA(next, GENERIC_WRITE, 0, security.Attributes(), CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid())
            return ::GetLastError();
        DWORD written = 0;
        if (m_trace)
            m_trace("write", next);
        if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size())
            return ::GetLastError();
        if (m_trace)
            m_trace("flush", next);
        if (!::FlushFileBuffers(file))
            return ::GetLastError();
    }
    if (m_trace)
        m_trace("rename", next);
    if (!::MoveFileExA(next, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

DWORD CSaveJournal::Create(CSaveRecord* pRecord, const CRegFile& before) {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    pRecord->id = TimeText(now, "%04u%02u%02u-%02u%02u%02u-%03u-%lu");
    pRecord->time = TimeText(now, "%04u-%02u-%02u %02u:%02u:%02u");
    // A later save of the process in the same millisecond sorts after.
    static unsigned s_saves = 0;
    if (s_saves++ > 0)
        pRecord->id += "-" + std::to_string(s_saves);
    EndRecord();
    // The content before comes first: a record found is one that can be
    // finished or undone. The folders are made when first missing.
    std::string bytes = Version5FileBytes(before);
    DWORD error = WriteNewFile(BeforePath(*pRecord), bytes);
    if (error == ERROR_PATH_NOT_FOUND && (error = MakeFolders()) == ERROR_SUCCESS)
        error = WriteNewFile(BeforePath(*pRecord), bytes);
    if (!error)
        error = WriteNewFile(RecordPath(pRecord->id), FormatSaveRecord(*pRecord));
    return error;
}

DWORD CSaveJournal::Append(const CSaveRecord& record, const std::string& line) {
    if (record.id != m_currentId || !m_current.IsValid()) {
        EndRecord();
        m_current.Attach(::CreateFileA(RecordPath(record.id), FILE_APPEND_DATA,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!m_current.IsValid())
            return ::GetLastError();
        m_currentId = record.id;
    }
    DWORD written = 0;
    // A line cut by a kill is passed over when the record is read again.
    if (!::WriteFile(m_current, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return ::GetLastError();
    return ERROR_SUCCESS;
}

void CSaveJournal::EndRecord() {
    m_current.Close();
    m_currentId.clear();
}

DWORD CSaveJournal::MarkDone(const CSaveRecord& record, size_t step) {
    return Append(record, StepDoneLine(step));
}

DWORD CSaveJournal::MarkState(const CSaveRecord& record, SaveRecordState state,
                              const std::string& by) {
    DWORD error = Append(record, StateLine(state, by));
    EndRecord();
    // Ended at its state line; the name follows, so that only the records
    // still to finish are read at start.
    if (!error && !::MoveFileExA(RecordPath(record.id), RecordPath(record.id, true), 0))
        error = ::GetLastError();
    return error;
}

bool CSaveJournal::ReadBefore(const CSaveRecord& record, CRegFile* pBefore) {
    std::string bytes;
    std::vector<CRegFileError> errors;
    return ReadFileBytes(BeforePath(record), &bytes) == ERROR_SUCCESS &&
           ReadRegFile(RegFileTextOf(bytes), pBefore, &errors) && errors.empty();
}

void CSaveJournal::Prune() {
    std::vector<std::string> names = FileNames(kEndedExtension);
    if (names.size() <= KEPT_RECORDS)
        return;
    // Ids sort in time order: the newest first.
    std::sort(names.begin(), names.end(), std::greater<std::string>());
    for (size_t i = KEPT_RECORDS; i < names.size(); ++i) {
        std::string id = names[i].substr(0, names[i].size() - std::strlen(kEndedExtension));
        ::DeleteFileA(RecordPath(id, true));
        ::DeleteFileA(Folder() + "\\" + CString(id) + kBeforeExtension);
        m_ended.erase(names[i]);
    }
}
