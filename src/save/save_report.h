#pragma once
// What a save tells and asks while it runs. The sheet shows each as a
// message box; the command line writes a line to its error output. A save
// shows nothing itself, and its outcome is a value (save/save_sequence.h).
#include <windows.h>

#include <vector>

#include "model/miniport_record.h"
#include "store/parameter_store.h"

class ISaveReport {
public:
    virtual ~ISaveReport() = default;

    // A wait of seconds begins or ends: for another save to end, or for the
    // system board service to stop and start.
    virtual void BeginWait() {}
    virtual void EndWait() {}

    // Nothing was done: another save held the lock all the wait long; the
    // keys cannot be opened for write; the journal cannot take the save's
    // record; the miniports' names take more than the driver reads.
    virtual void OtherSaveRunning() = 0;
    virtual void KeysNotOpened() = 0;
    virtual void JournalNotWritten(const CString& folder, DWORD dwError) = 0;
    virtual void MiniportNamesTooLong(size_t nBytes) = 0;
    // A pending save cannot be finished: its record's file of the keys'
    // content before it cannot be read.
    virtual void RecordUnreadable(const CString& path) = 0;

    // The drivers directory holds another file of the miniport's file name:
    // true to replace it.
    virtual bool ReplaceDriverFile(const CMiniportRecord& record, const CString& directory) = 0;
    virtual void MiniportPathTooLong(const CMiniportRecord& record, int nLongest) = 0;
    virtual void MiniportNotCopied(const CMiniportRecord& record, const CString& directory,
                                   int nShellError) = 0;
    virtual void MiniportNotInstalled(const CMiniportRecord& record, DWORD dwError) = 0;

    // The hot-swap driver was found but refused the request to take up its
    // parameters, or could not be opened to be sent it.
    virtual void DriverNotTold(DWORD dwError) = 0;
    // Values the registry refused: they stay to be saved.
    virtual void ValuesNotSaved(const std::vector<CFailedChange>& failures) = 0;
    // Values of a save being finished that another program changed since
    // the save began: they stay as it left them.
    virtual void ValuesChangedElsewhere(const std::vector<CValueChange>& kept) = 0;
    // The system board service was stopped to take up its parameters and
    // did not start again.
    virtual void ServiceNotRestarted(DWORD dwError) = 0;
};
