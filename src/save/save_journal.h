#pragma once
// The save journal: one record per save that changes anything (values,
// miniport services, the system board service, the drivers), kept in a
// folder that only administrators can write. A record is written whole,
// with the content the keys had before the save, before the save changes
// anything; its steps then mark themselves done, and its end marks its
// state. A record left incomplete by a save that ended (killed, or a step
// failed) is pending: the next save or start finishes, discards or
// supersedes it.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/cstring.h"
#include "framework/handle.h"
#include "model/regedit_file.h"
#include "model/save_record.h"

class CSaveJournal {
public:
    // How many ended records are kept; incomplete ones are kept all.
    static const size_t KEPT_RECORDS = 20;

    // %ProgramData%\<company>\<product>\Journal, the names the installer
    // gives the program's folders, from the version resource.
    static CString DefaultFolder();

    // The default folder, found when first needed.
    const CString& Folder();
    void SetFolder(const CString& folder) { m_folder = folder; }

    struct CEntry {
        CSaveRecord record;
        // Only administrators could have written the record, its folder
        // and the folder above: it may be finished or undone.
        bool bTrusted = false;
    };
    // The records that can be read, newest first: every one, or without
    // bEnded only those that had not ended when last written (without
    // reading the others). Whether each may be acted on only when bTrust
    // (reading the descriptors takes a while).
    std::vector<CEntry> Records(bool bTrust = true, bool bEnded = true);
    bool IsTrusted(const CSaveRecord& record);
    // With the save lock held: the records left incomplete by saves that
    // ended, newest first, trusted or not.
    std::vector<CEntry> Pending();

    // Makes the folders that are missing, then writes the keys' content
    // before the save and the record, each to a new file, flushed, then
    // renamed into place. The record gets its id and time. 0, or the error
    // that kept it from being written: the save must not go on.
    DWORD Create(CSaveRecord* pRecord, const CRegFile& before);
    // Appends a line to the record: a step done, or its state. The record
    // a save writes stays open for these until EndRecord.
    DWORD MarkDone(const CSaveRecord& record, size_t step);
    DWORD MarkState(const CSaveRecord& record, SaveRecordState state,
                    const std::string& by = std::string());
    void EndRecord();
    // The keys' content before the record's save, as its file holds it.
    bool ReadBefore(const CSaveRecord& record, CRegFile* pBefore);
    CString BeforePath(const CSaveRecord& record);
    // Removes the ended records beyond the newest KEPT_RECORDS.
    void Prune();

    // For tests: told of each write, flush and rename of a new file.
    std::function<void(const char* step, const CString& path)> m_trace;

private:
    CString RecordPath(const std::string& id, bool bEnded = false);
    std::vector<std::string> FileNames(const char* lpszExtension);
    DWORD MakeFolders();
    DWORD WriteNewFile(const CString& path, const std::string& bytes);
    DWORD Append(const CSaveRecord& record, const std::string& line);

    CString m_folder;
    CFileHandle m_current; // the record of the save running here
    std::string m_currentId;
    // Records that ended, as read, by file name: they do not change.
    std::map<std::string, CSaveRecord> m_ended;
};
