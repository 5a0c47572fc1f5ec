// /diff and /import: what a file changes on this machine, shown or made.
#include "app/command_file.h"
#include "app/command_report.h"
#include "app/exit_codes.h"
#include "app/file_commands.h"
#include "app/journal_commands.h"
#include "app/value_display.h"
#include "save/save_sequence.h"
#include "sys/kit.h"

namespace {
// The file and what importing it would change.
struct CPlannedImport {
    CParameterFile file;
    CFilePlan plan;
    CParameterStore store{ValueEncoding::Wide};
    CChangeList changes;

    // The file against the keys as they are now, its refusals told unless
    // bQuiet. False, with the exit code (nFailedRead when the keys cannot be
    // read), when the command ends there.
    bool Plan(int nFailedRead, CCommandOutput& output, int* pnExitCode, bool bQuiet = false) {
        if (!store.ReadBase()) {
            output.Err("cannot read the parameter keys\n");
            *pnExitCode = nFailedRead;
            return false;
        }
        plan = PlanFile(file, &store);
        if (!Accepted(plan, bQuiet ? nullptr : &output, pnExitCode))
            return false;
        changes = store.ChangesTo(plan.states);
        return true;
    }
};

// The file's full path, as a save's record names where it came from.
CString FullPath(const char* pszPath) {
    char full[MAX_PATH];
    DWORD length = ::GetFullPathNameA(pszPath, sizeof(full), full, nullptr);
    return length > 0 && length < sizeof(full) ? CString(full) : CString(pszPath);
}

} // namespace

int DiffFile(const char* pszPath, CCommandOutput& output) {
    CPlannedImport planned;
    int code = EXIT_DONE;
    if (!ReadCommandFile(pszPath, output, &planned.file, &code) ||
        !planned.Plan(EXIT_UNUSABLE, output, &code))
        return code;
    // A save that did not finish is a change: /import finishes it first.
    int pending = ShowPendingSaves(output);
    const CChangeList& changes = planned.changes;
    for (const CValueChange& change : changes) {
        CString line;
        CString path = ValuePath(change.key, change.bHadOld ? change.oldValue.m_strName
                                                            : change.value.m_strName);
        if (change.bDelete)
            line.Format("- %s: %s\n", static_cast<const char*>(path),
                        static_cast<const char*>(ShownValue(change.oldValue)));
        else if (change.bHadOld)
            line.Format("~ %s: %s -> %s\n", static_cast<const char*>(path),
                        static_cast<const char*>(ShownValue(change.oldValue)),
                        static_cast<const char*>(ShownValue(change.value)));
        else
            line.Format("+ %s: %s\n", static_cast<const char*>(path),
                        static_cast<const char*>(ShownValue(change.value)));
        output.Out(line);
    }
    if (changes.empty() && pending == 0)
        output.Out("nothing to change\n");
    return changes.empty() && pending == 0 ? EXIT_DONE : EXIT_CHANGES_FOUND;
}

int ImportFile(const char* pszPath, CCommandOutput& output) {
    CPlannedImport planned;
    int code = EXIT_DONE;
    if (!ReadCommandFile(pszPath, output, &planned.file, &code))
        return code;
    // A driver that cannot be opened is told of by the step that tells it.
    CKit kit;
    kit.Open();
    CSaveJournal journal;
    CCommandReport report(output, kit);
    CSaveSequence sequence(kit, journal, report);
    CSaveLock lock;
    if (!sequence.Lock(lock))
        return EXIT_STEP_FAILED;
    // A file with a value the machine does not hold and the pages would
    // refuse writes nothing.
    if (!planned.Plan(EXIT_STEP_FAILED, output, &code))
        return code;
    // What an earlier save left undone comes first, so that a rerun of an
    // import that was ended or failed converges; the file is then planned
    // against the keys as that left them.
    bool bPendingDone = FinishPendingSaves(sequence, output);
    if (!planned.Plan(EXIT_STEP_FAILED, output, &code, true)) {
        output.Err("a save that was finished first changed what the file would refuse; "
                   "nothing of the file was written\n");
        return EXIT_STEP_FAILED;
    }
    const CChangeList& changes = planned.changes;
    int wanted = 0, writes = 0;
    for (const CKeyState& state : planned.plan.states)
        wanted += static_cast<int>(state.values.size());
    for (const CValueChange& change : changes)
        writes += change.bDelete ? 0 : 1;
    CString summary;
    if (changes.empty()) {
        // Nothing is written and no driver is told.
        summary.Format("nothing to change (%d values unchanged)\n", wanted);
        output.Out(summary);
        return bPendingDone ? EXIT_DONE : EXIT_STEP_FAILED;
    }
    // A file names the miniports' services only, not their driver files:
    // installing one is the sheet's, and this save installs nothing.
    CSaveOutcome outcome = sequence.SaveChanges(planned.store, changes, kit.m_bControllerAvailable,
                                                "/import " + FullPath(pszPath));
    CLandedChanges landed = CountLanded(changes, outcome);
    summary.Format("written %d, deleted %d, unchanged %d\n", landed.written, landed.deleted,
                   wanted - writes);
    output.Out(summary);
    return bPendingDone && outcome.Complete() ? EXIT_DONE : EXIT_STEP_FAILED;
}
