#include "sheet/pending_saves.h"

#include <set>
#include <string>

#include "framework/message_box.h"
#include "res/resource.h"
#include "save/save_sequence.h"

namespace {
CString StillToDo(const CSaveRecord& record) {
    CString lines;
    for (const CSaveStep& step : record.steps)
        if (!step.bDone)
            lines += CString("- ") + CString(DescribeStep(record, step)) + "\n";
    return lines;
}
} // namespace

void OfferToFinishPendingSaves(CSaveSequence& sequence) {
    std::set<std::string> asked;
    for (;;) {
        CSaveJournal::CEntry pending;
        {
            // A record is pending only while no save holds the lock.
            CSaveLock lock;
            if (!lock.Acquire(0))
                return;
            std::vector<CSaveJournal::CEntry> records = sequence.Journal().Pending();
            auto next = records.begin();
            while (next != records.end() && asked.count(next->record.id))
                ++next;
            if (next == records.end())
                return;
            pending = *next;
        }
        asked.insert(pending.record.id);
        CString source(pending.record.source), time(pending.record.time);
        if (!pending.bTrusted) {
            AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_UNTRUSTED_SAVE,
                                static_cast<const char*>(source), static_cast<const char*>(time),
                                static_cast<const char*>(sequence.Journal().Folder()));
            continue;
        }
        int answer =
            AfxFormatMessageBox(MB_ICONQUESTION | MB_YESNOCANCEL, IDS_FINISH_PENDING_SAVE,
                                static_cast<const char*>(source), static_cast<const char*>(time),
                                static_cast<const char*>(StillToDo(pending.record)));
        if (answer == IDCANCEL)
            return;
        CSaveLock lock;
        if (!sequence.Lock(lock))
            return;
        // Another instance may have ended it meanwhile.
        for (const CSaveJournal::CEntry& entry : sequence.Journal().Pending()) {
            if (entry.record.id != pending.record.id)
                continue;
            if (answer == IDYES)
                sequence.Finish(entry.record);
            else
                sequence.Discard(entry.record);
        }
    }
}
