#pragma once
// The command line's side of a save: everything the save tells is a line on
// the error output in the command line's own words, and nobody is there to
// answer a question. The exit code comes from the save's outcome.
#include "app/command_output.h"
#include "save/save_report.h"
#include "save/save_sequence.h"

class CKit;

// How many of a save's changes it wrote and deleted: none when it did not
// start, and none of those the registry refused.
struct CLandedChanges {
    int written = 0;
    int deleted = 0;
};
CLandedChanges CountLanded(const CChangeList& changes, const CSaveOutcome& outcome);

// "HKEY_LOCAL_MACHINE\<key>\<name>", @ for the unnamed value; the name,
// in UTF-8 as the command line reads it, in the code page's characters.
CString ValuePath(ParameterKey key, const CString& name);

class CCommandReport : public ISaveReport {
public:
    CCommandReport(CCommandOutput& output, CKit& kit) : m_output(output), m_kit(kit) {}

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

private:
    void Line(const char* pszFormat, ...);

    CCommandOutput& m_output;
    CKit& m_kit;
};
