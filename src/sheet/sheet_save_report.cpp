#include "sheet/sheet_save_report.h"

#include "framework/message_box.h"
#include "framework/wnd.h"
#include "res/resource.h"
#include "sys/driver_files.h"
#include "sys/service_control.h"

namespace {
// The values a message names one by one; the rest are counted.
const size_t kValuesNamed = 10;

const CValueChange& ChangeOf(const CFailedChange& failure) { return failure.change; }
const CValueChange& ChangeOf(const CValueChange& change) { return change; }

// A line per value, by key and name, with what is to be said of it.
template <class T, class Reason> CString ValueLines(const std::vector<T>& items, Reason reason) {
    CString lines;
    for (size_t i = 0; i < items.size() && i < kValuesNamed; ++i) {
        const CValueChange& change = ChangeOf(items[i]);
        const char* name = change.value.m_strName.IsEmpty()
                               ? "(Default)"
                               : static_cast<const char*>(change.value.m_strName);
        CString line;
        line.Format("HKEY_LOCAL_MACHINE\\%s\\%s%s%s\n", ParameterKeyPath(change.key), name,
                    change.bDelete ? " (to be deleted)" : "",
                    static_cast<const char*>(reason(items[i])));
        lines += line;
    }
    if (items.size() > kValuesNamed) {
        CString more;
        more.Format("and %d more\n", static_cast<int>(items.size() - kValuesNamed));
        lines += more;
    }
    return lines;
}
} // namespace

void CSheetSaveReport::BeginWait() { CWnd::BeginWaitCursor(); }

void CSheetSaveReport::EndWait() { CWnd::EndWaitCursor(); }

void CSheetSaveReport::OtherSaveRunning() {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_OTHER_SAVE_RUNNING, m_nWaitSeconds);
}

void CSheetSaveReport::KeysNotOpened() {
    AfxMessageBox("Cannot open registry for write", MB_ICONSTOP | MB_OK);
}

void CSheetSaveReport::JournalNotWritten(const CString& folder, DWORD dwError) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_JOURNAL_NOT_WRITTEN,
                        static_cast<const char*>(folder),
                        static_cast<const char*>(GetErrorText(dwError)));
}

void CSheetSaveReport::MiniportNamesTooLong(size_t nBytes) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORTS_TOO_LONG, static_cast<int>(nBytes));
}

void CSheetSaveReport::RecordUnreadable(const CString& path) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_RECORD_UNREADABLE, static_cast<const char*>(path));
}

bool CSheetSaveReport::ReplaceDriverFile(const CMiniportRecord& record, const CString& directory) {
    return AfxFormatMessageBox(MB_ICONQUESTION | MB_YESNO, IDS_REPLACE_DRIVER_FILE,
                               static_cast<const char*>(directory), FileNameOf(record.m_strFile),
                               static_cast<const char*>(record.m_strFile),
                               static_cast<const char*>(record.m_strServiceName)) == IDYES;
}

void CSheetSaveReport::MiniportPathTooLong(const CMiniportRecord& record, int nLongest) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_PATH_TOO_LONG,
                        static_cast<const char*>(record.m_strServiceName), nLongest);
}

void CSheetSaveReport::MiniportNotCopied(const CMiniportRecord& record, const CString& directory,
                                         int nShellError) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_NOT_COPIED,
                        static_cast<const char*>(record.m_strFile),
                        static_cast<const char*>(record.m_strServiceName),
                        static_cast<const char*>(directory), nShellError);
}

void CSheetSaveReport::MiniportNotInstalled(const CMiniportRecord& record, DWORD dwError) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORT_NOT_INSTALLED,
                        static_cast<const char*>(record.m_strServiceName),
                        static_cast<unsigned long>(dwError),
                        static_cast<const char*>(GetErrorText(dwError)));
}

void CSheetSaveReport::DriverNotTold(DWORD) {
    AfxMessageBox(IDS_CANNOT_UPDATE_DRIVER, MB_ICONSTOP | MB_OK);
}

void CSheetSaveReport::ValuesNotSaved(const std::vector<CFailedChange>& failures) {
    CString lines = ValueLines(failures, [](const CFailedChange& failure) {
        return ": " + GetErrorText(static_cast<DWORD>(failure.lError));
    });
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_VALUES_NOT_SAVED, static_cast<const char*>(lines));
}

void CSheetSaveReport::ValuesChangedElsewhere(const std::vector<CValueChange>& kept) {
    CString lines = ValueLines(kept, [](const CValueChange&) { return CString(); });
    AfxFormatMessageBox(MB_ICONINFORMATION | MB_OK, IDS_VALUES_KEPT,
                        static_cast<const char*>(lines));
}

void CSheetSaveReport::ServiceNotRestarted(DWORD dwError) {
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_SERVICE_NOT_RESTARTED, SYSTEM_BOARD_SERVICE,
                        static_cast<const char*>(GetErrorText(dwError)));
}
