#include "app/command_report.h"

#include <cstdarg>

#include "framework/message_box.h"
#include "store/regedit_encoding.h"
#include "sys/driver_files.h"
#include "sys/kit.h"

namespace {
const char* Text(const CString& text) { return text; }
} // namespace

CString ValuePath(ParameterKey key, const CString& name) {
    return CString("HKEY_LOCAL_MACHINE\\") + ParameterKeyPath(key) + "\\" +
           (name.IsEmpty() ? CString("@") : CString(AnsiForDisplay(name.str())));
}

CLandedChanges CountLanded(const CChangeList& changes, const CSaveOutcome& outcome) {
    CLandedChanges landed;
    if (!outcome.bStarted)
        return landed;
    for (const CValueChange& change : changes)
        ++(change.bDelete ? landed.deleted : landed.written);
    for (const CFailedChange& failure : outcome.failures)
        --(failure.change.bDelete ? landed.deleted : landed.written);
    return landed;
}

void CCommandReport::Line(const char* pszFormat, ...) {
    CString line;
    va_list args;
    va_start(args, pszFormat);
    line.FormatV(pszFormat, args);
    va_end(args);
    m_output.Err(line + "\n");
}

void CCommandReport::OtherSaveRunning() {
    Line("another save of the parameters is running and did not end in time; nothing was done");
}

void CCommandReport::KeysNotOpened() {
    Line("the parameter keys cannot be opened for write; nothing was done");
}

void CCommandReport::JournalNotWritten(const CString& folder, DWORD dwError) {
    Line("the save cannot be recorded in its journal %s: %s; nothing was done", Text(folder),
         Text(GetErrorText(dwError)));
}

void CCommandReport::MiniportNamesTooLong(size_t nBytes) {
    Line("the miniports' names would take %d bytes, more than the 256 the hot-swap driver "
         "reads; nothing was done",
         static_cast<int>(nBytes));
}

void CCommandReport::RecordUnreadable(const CString& path) {
    Line("the unfinished save cannot be finished: %s cannot be read", Text(path));
}

bool CCommandReport::ReplaceDriverFile(const CMiniportRecord& record, const CString& directory) {
    Line("the miniport \"%s\" was not installed: %s holds another file %s, which only the sheet "
         "replaces",
         Text(record.m_strServiceName), Text(directory), FileNameOf(record.m_strFile));
    return false;
}

void CCommandReport::MiniportPathTooLong(const CMiniportRecord& record, int nLongest) {
    Line("the miniport \"%s\" was not installed: its file's path is longer than %d characters",
         Text(record.m_strServiceName), nLongest);
}

void CCommandReport::MiniportNotCopied(const CMiniportRecord& record, const CString& directory,
                                       int nShellError) {
    Line("the file %s of the miniport \"%s\" was not copied to %s (shell error %d)",
         Text(record.m_strFile), Text(record.m_strServiceName), Text(directory), nShellError);
}

void CCommandReport::MiniportNotInstalled(const CMiniportRecord& record, DWORD dwError) {
    Line("the miniport \"%s\" was not installed as a service: %s", Text(record.m_strServiceName),
         Text(GetErrorText(dwError)));
}

void CCommandReport::DriverNotTold(DWORD dwError) {
    if (m_kit.m_driver.GetState() == CHotSwapDriver::OPEN_FAILED)
        Line("the hot-swap driver was not told to take up its parameters: it was found but "
             "could not be opened");
    else
        Line("the hot-swap driver was not told to take up its parameters: %s",
             Text(GetErrorText(dwError)));
}

void CCommandReport::ValuesNotSaved(const std::vector<CFailedChange>& failures) {
    for (const CFailedChange& failure : failures)
        Line("not %s: %s: %s", failure.change.bDelete ? "deleted" : "written",
             Text(ValuePath(failure.change.key, failure.change.value.m_strName)),
             Text(GetErrorText(static_cast<DWORD>(failure.lError))));
}

void CCommandReport::ValuesChangedElsewhere(const std::vector<CValueChange>& kept) {
    for (const CValueChange& change : kept)
        Line("left as another program stored it since: %s",
             Text(ValuePath(change.key, change.value.m_strName)));
}

void CCommandReport::ServiceNotRestarted(DWORD dwError) {
    Line("the system board service \"%s\" was stopped to take up its parameters and did not "
         "start again: %s",
         SYSTEM_BOARD_SERVICE, Text(GetErrorText(dwError)));
}
