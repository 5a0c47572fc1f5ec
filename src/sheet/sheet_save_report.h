#pragma once
// The sheet's side of a save: each thing the save tells is a message box,
// each question one with Yes and No, and a wait shows the wait cursor.
#include "save/save_report.h"

class CSheetSaveReport : public ISaveReport {
public:
    void BeginWait() override;
    void EndWait() override;
    void OtherSaveRunning() override;
    void KeysNotOpened() override;
    void JournalNotWritten(const CString& folder, DWORD dwError) override;
    void MiniportNamesTooLong(size_t nBytes) override;
    void RecordUnreadable(const CString& path) override;
    bool ReplaceDriverFile(const CMiniportRecord& record, const CString& directory) override;
    void MiniportPathTooLong(const CMiniportRecord& record, int nLongest) override;
    void MiniportNotCopied(const CMiniportRecord& record, const CString& directory,
                           int nShellError) override;
    void MiniportNotInstalled(const CMiniportRecord& record, DWORD dwError) override;
    void DriverNotTold(DWORD dwError) override;
    void ValuesNotSaved(const std::vector<CFailedChange>& failures) override;
    void ValuesChangedElsewhere(const std::vector<CValueChange>& kept) override;
    void ServiceNotRestarted(DWORD dwError) override;

    // How long the sheet waits for another save, in seconds, as told.
    int m_nWaitSeconds = 60;
};
