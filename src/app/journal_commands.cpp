#include "app/journal_commands.h"

#include <algorithm>

#include "app/command_report.h"
#include "app/exit_codes.h"
#include "save/save_sequence.h"
#include "sys/kit.h"

namespace {
const char* Text(const CString& text) { return text; }

CString Named(const CSaveRecord& record) {
    CString text;
    text.Format("%s (%s, %s)", record.id.c_str(), record.source.c_str(), record.time.c_str());
    return text;
}

void Untrusted(CCommandOutput& output, const CSaveRecord& record, CSaveJournal& journal) {
    output.Err("not trusted, left as it is: save " + Named(record) + ": " + journal.Folder() +
               " or its files could have been written by a user who is not an administrator\n");
}

// The records from oldest to newest that are pending: incomplete while no
// save runs.
std::vector<CSaveJournal::CEntry> OldestFirst(std::vector<CSaveJournal::CEntry> entries) {
    std::reverse(entries.begin(), entries.end());
    return entries;
}

// Runs a command on the journal with the lock held and the kit open.
struct CJournalCommand {
    explicit CJournalCommand(CCommandOutput& output)
        : report(output, kit), sequence(kit, journal, report) {
        kit.Open();
    }
    CKit kit;
    CSaveJournal journal;
    CCommandReport report;
    CSaveSequence sequence;
    CSaveLock lock;
};

const char* StateWord(const CSaveJournal::CEntry& entry, bool bRunning) {
    if (!entry.bTrusted)
        return "not trusted";
    switch (entry.record.state) {
    case SaveRecordState::Complete:
        return "complete";
    case SaveRecordState::Discarded:
        return "discarded";
    case SaveRecordState::Superseded:
        return "superseded by";
    case SaveRecordState::Incomplete:
        break;
    }
    return bRunning ? "running" : "pending";
}
} // namespace

int ShowPendingSaves(CCommandOutput& output) {
    CSaveJournal journal;
    CSaveLock lock;
    if (!lock.Acquire(0))
        return 0;
    int pending = 0;
    for (const CSaveJournal::CEntry& entry : OldestFirst(journal.Pending())) {
        if (!entry.bTrusted) {
            Untrusted(output, entry.record, journal);
            continue;
        }
        ++pending;
        for (const CSaveStep& step : entry.record.steps)
            if (!step.bDone)
                output.Out("! pending save " + Named(entry.record) + ": " +
                           CString(DescribeStep(entry.record, step)) + "\n");
    }
    return pending;
}

bool FinishPendingSaves(CSaveSequence& sequence, CCommandOutput& output) {
    bool bAll = true;
    for (const CSaveJournal::CEntry& entry : OldestFirst(sequence.Journal().Pending())) {
        if (!entry.bTrusted) {
            Untrusted(output, entry.record, sequence.Journal());
            continue;
        }
        // An older one may have been superseded by a newer one finished here.
        bool bStill = false;
        for (const CSaveJournal::CEntry& now : sequence.Journal().Pending())
            bStill = bStill || now.record.id == entry.record.id;
        if (!bStill)
            continue;
        output.Out("finishing the save " + Named(entry.record) + "\n");
        bAll = sequence.Finish(entry.record).Complete() && bAll;
    }
    return bAll;
}

int DiscardPendingSaves(CCommandOutput& output) {
    CJournalCommand command(output);
    if (!command.sequence.Lock(command.lock))
        return EXIT_STEP_FAILED;
    int discarded = 0;
    for (const CSaveJournal::CEntry& entry : command.journal.Pending()) {
        if (!entry.bTrusted) {
            Untrusted(output, entry.record, command.journal);
            continue;
        }
        command.sequence.Discard(entry.record);
        output.Out("discarded the save " + Named(entry.record) + "\n");
        ++discarded;
    }
    if (discarded == 0)
        output.Out("no save is pending\n");
    return EXIT_DONE;
}

int ShowHistory(CCommandOutput& output) {
    CSaveJournal journal;
    std::vector<CSaveJournal::CEntry> entries = journal.Records();
    if (entries.empty()) {
        output.Out("no save is on record in " + journal.Folder() + "\n");
        return EXIT_DONE;
    }
    CSaveLock lock;
    bool bRunning = !lock.Acquire(0);
    for (const CSaveJournal::CEntry& entry : entries) {
        const CSaveRecord& record = entry.record;
        int written = 0, deleted = 0;
        for (const CSaveRecordValue& value : record.values)
            ++(value.bDelete ? deleted : written);
        CString steps;
        for (const CSaveStep& step : record.steps)
            steps += CString(steps.IsEmpty() ? "" : "; ") + CString(DescribeStep(record, step)) +
                     (step.bDone ? ": done" : ": not done");
        CString line;
        line.Format("%s  %s  %s  written %d, deleted %d  [%s]  %s%s%s\n", record.id.c_str(),
                    record.time.c_str(), record.source.c_str(), written, deleted, Text(steps),
                    StateWord(entry, bRunning), record.supersededBy.empty() ? "" : " ",
                    record.supersededBy.c_str());
        output.Out(line);
    }
    return EXIT_DONE;
}

int UndoSave(const char* pszId, CCommandOutput& output) {
    CJournalCommand command(output);
    if (!command.sequence.Lock(command.lock))
        return EXIT_STEP_FAILED;
    const CSaveJournal::CEntry* pTarget = nullptr;
    std::vector<CSaveJournal::CEntry> entries = command.journal.Records();
    for (const CSaveJournal::CEntry& entry : entries) {
        if (pszId ? entry.record.id == pszId : entry.record.state == SaveRecordState::Complete) {
            pTarget = &entry;
            break;
        }
    }
    if (!pTarget) {
        if (pszId) {
            output.Err(CString("no save ") + pszId + " is on record\n");
            return EXIT_UNUSABLE;
        }
        output.Out("no save is on record to undo\n");
        return EXIT_DONE;
    }
    const CSaveRecord& record = pTarget->record;
    if (!pTarget->bTrusted) {
        Untrusted(output, record, command.journal);
        return EXIT_REFUSED;
    }
    if (record.state != SaveRecordState::Complete) {
        output.Err("the save " + Named(record) + " did not finish; finish or discard it first\n");
        return EXIT_REFUSED;
    }
    CChangeList saved;
    if (!command.sequence.ChangesOf(record, &saved)) {
        output.Err("the save " + Named(record) + " cannot be undone: " +
                   command.journal.BeforePath(record) + " cannot be read\n");
        return EXIT_UNUSABLE;
    }
    // The values as the save wrote them: of its encoding.
    CParameterStore store(record.bWide ? ValueEncoding::Wide : ValueEncoding::Ansi);
    if (!store.ReadBase()) {
        output.Err("cannot read the parameter keys\n");
        return EXIT_UNUSABLE;
    }
    // Each value must still hold what the save made it; back to what it
    // held before, where that differs.
    CChangeList changes;
    int changedSince = 0;
    for (const CValueChange& value : saved) {
        const CRegistryValue* now = store.Base(value.key).Find(value.value.m_strName);
        bool bAsSaved = value.bDelete ? !now : now && now->SameContent(value.value);
        if (!bAsSaved) {
            output.Err("changed since the save: " + ValuePath(value.key, value.value.m_strName) +
                       "\n");
            ++changedSince;
            continue;
        }
        CValueChange change;
        change.key = value.key;
        change.bDelete = !value.bHadOld;
        change.value = value.bHadOld ? value.oldValue : value.value;
        change.bHadOld = now != nullptr;
        if (now)
            change.oldValue = *now;
        if (change.bDelete ? now != nullptr : !(now && now->SameContent(change.value)))
            changes.push_back(change);
    }
    if (changedSince > 0) {
        output.Err("nothing was undone\n");
        return EXIT_REFUSED;
    }
    CSaveOutcome outcome = command.sequence.SaveChanges(
        store, changes, command.kit.m_bControllerAvailable, CString("/undo ") + record.id.c_str());
    CLandedChanges landed = CountLanded(changes, outcome);
    CString summary;
    summary.Format("undid the save %s: written %d, deleted %d\n", Text(Named(record)),
                   landed.written, landed.deleted);
    output.Out(summary);
    return outcome.Complete() ? EXIT_DONE : EXIT_STEP_FAILED;
}
