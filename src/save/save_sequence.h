#pragma once
// A save's steps in their one order: the machine's save lock, the plan, the
// journal's record, the miniports installed, the values written, the system
// board service restarted when it ran, the hot-swap driver and the
// controller told, the record completed. The sheet and the command line run
// the same sequence; it tells and asks through a report (save_report.h) and
// its outcome is a value.
#include <vector>

#include "framework/cstring.h"
#include "save/save_journal.h"
#include "save/save_lock.h"
#include "store/parameter_store.h"

class CKit;
class ISaveReport;

// What a save came to.
struct CSaveOutcome {
    // The record was written and the steps ran; without it nothing was done
    // (the lock, the keys, the journal or the plan stopped the save).
    bool bStarted = false;
    std::vector<CFailedChange> failures; // values the registry refused
    std::vector<CValueChange> kept;      // values another program changed since
    bool bInstalled = true;              // every miniport installed
    bool bRestarted = true;              // the system board service runs again
    bool bDriverTold = true;             // the hot-swap driver took the update
    // Values of the pages another program changed since they were loaded.
    size_t nChangedElsewhere = 0;
    // Ended after a step by the test seam, as if the program had ended.
    bool bStopped = false;

    // Every step done: the record is complete.
    bool Complete() const {
        return bStarted && !bStopped && failures.empty() && bInstalled && bRestarted && bDriverTold;
    }
};

class CSaveSequence {
public:
    CSaveSequence(CKit& kit, CSaveJournal& journal, ISaveReport& report);

    // How long a save waits for another to end.
    DWORD m_dwLockWaitMs = 60000;
    // For tests: the sequence ends right after this step of its record, as
    // if the program had been ended there; -1 runs every step.
    int m_nStopAfter = -1;

    CSaveJournal& Journal() { return m_journal; }

    // Takes the machine's save lock, waiting up to m_dwLockWaitMs; when it
    // does not come, the report is told so.
    bool Lock(CSaveLock& lock);

    // The sheet's save of the pages' data, from the lock to the end.
    CSaveOutcome SaveData(CParameterStore& store, const CParameterData& data, bool bTellController,
                          const CString& source);
    // With the lock held: changes planned on a base just read (a file's
    // values, an undo), with no miniport to install.
    CSaveOutcome SaveChanges(CParameterStore& store, const CChangeList& changes,
                             bool bTellController, const CString& source);

    // With the lock held: the rest of a pending save. Each value still to
    // be written is compared three ways: one that holds what it held before
    // the save is written, one that holds what the save wanted is done, and
    // one another program changed since stays as it is (told). Then its
    // steps that are not done run.
    CSaveOutcome Finish(CSaveRecord record);
    void Discard(const CSaveRecord& record);

    // Each value of the record with what it held before the save; false
    // when the record's file of the content before cannot be read.
    bool ChangesOf(const CSaveRecord& record, CChangeList* pChanges);

private:
    // With the lock held: the keys opened, the record written, its steps
    // run, its end marked, the keys closed.
    CSaveOutcome Run(CParameterStore& store, const CChangeList& changes, CMiniportList* pMiniports,
                     bool bTellController, const CString& source);
    // Runs the steps that are not done; false when stopped by the seam.
    bool RunSteps(CSaveRecord& record, CParameterStore& store, const CChangeList& changes,
                  CMiniportList* pMiniports, CSaveOutcome* pOutcome);
    // Marks the record complete when every step is done, and tells what
    // failed.
    void End(const CSaveRecord& record, const CSaveOutcome& outcome);

    CKit& m_kit;
    CSaveJournal& m_journal;
    ISaveReport& m_report;
    DWORD m_dwRestartError = 0; // of the last restart step run
};
