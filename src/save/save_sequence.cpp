#include "save/save_sequence.h"

#include "save/miniport_install.h"
#include "save/save_report.h"
#include "store/regedit_encoding.h"
#include "sys/kit.h"

namespace {
const DWORD kRestartPauseMs = 2000;
const char kMachine[] = "HKEY_LOCAL_MACHINE\\";

CString FilePathOf(ParameterKey key) { return CString(kMachine) + ParameterKeyPath(key); }

CSaveRecordMiniport RecordedMiniport(const CMiniportRecord& record) {
    return {record.m_strServiceName.str(), record.m_strFile.str(), record.m_strDescription.str(),
            record.m_bCopyFile != 0};
}

CMiniportRecord MiniportOf(const CSaveRecordMiniport& recorded) {
    CMiniportRecord record;
    record.SetServiceName(CString(recorded.service));
    record.SetFile(CString(recorded.file));
    record.SetDescription(CString(recorded.description));
    record.m_bCopyFile = recorded.bCopyFile ? 1 : 0;
    record.m_bInstall = 1;
    return record;
}

// Every value of each key the changes touch, as it is now, and a deletion
// of each value they make, so that the file restores the keys exactly.
CRegFile ContentBefore(const CParameterStore& store, const CChangeList& changes) {
    ValueEncoding encoding = store.Encoding();
    CRegFile file;
    for (int key = 0; key < KEY_COUNT; ++key) {
        CRegFileKey content;
        content.path = FilePathOf(ParameterKey(key)).str();
        const CKeyValues& now = store.Seen(ParameterKey(key));
        bool bTouched = false;
        for (const CValueChange& change : changes) {
            if (change.key != key)
                continue;
            bTouched = true;
            if (now.Find(change.value.m_strName))
                continue;
            CRegFileValue made =
                RegFileValueOf(CRegistryValue{change.value.m_strName, REG_SZ, ""}, encoding);
            made.remove = true;
            content.values.push_back(made);
        }
        if (!bTouched)
            continue;
        for (const CRegistryValue& value : now.All())
            content.values.push_back(RegFileValueOf(value, encoding));
        file.keys.push_back(content);
    }
    return file;
}

// The service stopped and started again, or started when it stopped
// meanwhile: 0 when it runs afterwards, else the start's error.
DWORD RestartSystemBoardService(CServiceControl& services, ISaveReport& report) {
    DWORD state = 0;
    report.BeginWait();
    if (services.QueryState(SYSTEM_BOARD_SERVICE, &state) == 0 && state != SERVICE_STOPPED) {
        services.Stop(SYSTEM_BOARD_SERVICE);
        ::Sleep(kRestartPauseMs);
    }
    DWORD error = services.Start(SYSTEM_BOARD_SERVICE);
    report.EndWait();
    // A refused stop leaves it running, which will do.
    if (error != 0 && services.QueryState(SYSTEM_BOARD_SERVICE, &state) == 0 &&
        (state == SERVICE_RUNNING || state == SERVICE_START_PENDING))
        return 0;
    return error;
}
} // namespace

CSaveSequence::CSaveSequence(CKit& kit, CSaveJournal& journal, ISaveReport& report)
    : m_kit(kit), m_journal(journal), m_report(report) {}

bool CSaveSequence::Lock(CSaveLock& lock) {
    if (lock.Acquire(0))
        return true;
    m_report.BeginWait();
    bool bHeld = lock.Acquire(m_dwLockWaitMs);
    m_report.EndWait();
    if (!bHeld)
        m_report.OtherSaveRunning();
    return bHeld;
}

CSaveOutcome CSaveSequence::SaveData(CParameterStore& store, const CParameterData& data,
                                     bool bTellController, const CString& source) {
    CSaveLock lock;
    if (!Lock(lock))
        return CSaveOutcome();
    bool bController = m_kit.m_controller.IsAvailable() != FALSE;
    bool bService = m_kit.m_services.Exists(SYSTEM_BOARD_SERVICE) != FALSE;
    CParameterStore::CSavePlan plan = store.PlanSave(data, bController, bService);
    // The hot-swap driver takes at most 256 bytes of miniport names. A save
    // that would store more is refused before anything is written, rather
    // than store a cut list; one that keeps "Miniports" as it is goes on.
    size_t nNames = plan.next.miniportNames.size();
    if (plan.bNamesChanged && nNames > MINIPORTS_VALUE_LIMIT) {
        m_report.MiniportNamesTooLong(nNames);
        return CSaveOutcome();
    }
    CSaveOutcome outcome = Run(store, plan.changes, &data.miniports, bTellController, source);
    if (outcome.bStarted && !outcome.bStopped)
        store.Commit(outcome.failures, std::move(plan.next));
    return outcome;
}

CSaveOutcome CSaveSequence::SaveChanges(CParameterStore& store, const CChangeList& changes,
                                        bool bTellController, const CString& source) {
    return Run(store, changes, nullptr, bTellController, source);
}

CSaveOutcome CSaveSequence::Run(CParameterStore& store, const CChangeList& changes,
                                CMiniportList* pMiniports, bool bTellController,
                                const CString& source) {
    CSaveOutcome outcome;
    if (!store.OpenKeys()) {
        m_report.KeysNotOpened();
        return outcome;
    }
    outcome.nChangedElsewhere = store.CountChangedElsewhere();
    CSaveRecord record;
    record.source = source.str();
    record.bWide = store.Encoding() == ValueEncoding::Wide;
    for (const CValueChange& change : changes)
        record.values.push_back({change.key, change.value.m_strName.str(), change.bDelete,
                                 change.value.m_dwType, change.value.m_data});
    // The miniports go first, before any value names them to the driver.
    for (POSITION pos = pMiniports ? pMiniports->GetHeadPosition() : nullptr; pos;) {
        const CMiniportRecord& miniport = pMiniports->GetNext(pos);
        if (miniport.m_bInstall && miniport.NamesService())
            record.steps.push_back({SaveStepKind::Install, RecordedMiniport(miniport), false});
    }
    record.steps.push_back({SaveStepKind::Values, {}, false});
    DWORD state = 0;
    if (m_kit.m_services.Exists(SYSTEM_BOARD_SERVICE) &&
        m_kit.m_services.QueryState(SYSTEM_BOARD_SERVICE, &state) == 0 && state == SERVICE_RUNNING)
        record.steps.push_back({SaveStepKind::Restart, {}, false});
    // Without its device interface there is no driver to tell.
    if (m_kit.m_driver.GetState() != CHotSwapDriver::NOT_FOUND)
        record.steps.push_back({SaveStepKind::TellDriver, {}, false});
    if (bTellController)
        record.steps.push_back({SaveStepKind::TellController, {}, false});

    if (DWORD error = m_journal.Create(&record, ContentBefore(store, changes))) {
        store.CloseKeys();
        m_report.JournalNotWritten(m_journal.Folder(), error);
        return outcome;
    }
    outcome.bStarted = true;
    outcome.bStopped = !RunSteps(record, store, changes, pMiniports, &outcome);
    store.CloseKeys();
    if (!outcome.bStopped)
        End(record, outcome);
    m_journal.EndRecord();
    return outcome;
}

bool CSaveSequence::RunSteps(CSaveRecord& record, CParameterStore& store,
                             const CChangeList& changes, CMiniportList* pMiniports,
                             CSaveOutcome* pOutcome) {
    m_dwRestartError = 0;
    for (size_t i = 0; i < record.steps.size(); ++i) {
        CSaveStep& step = record.steps[i];
        if (step.bDone)
            continue;
        bool bDone = true;
        switch (step.kind) {
        case SaveStepKind::Install: {
            CMiniportRecord* pListed = nullptr;
            for (POSITION pos = pMiniports ? pMiniports->GetHeadPosition() : nullptr; pos;) {
                CMiniportRecord& listed = pMiniports->GetNext(pos);
                if (listed.m_bInstall &&
                    IsSameServiceName(listed.m_strServiceName, step.miniport.service.c_str()))
                    pListed = &listed;
            }
            CMiniportRecord recorded = MiniportOf(step.miniport);
            bDone = InstallMiniport(pListed ? *pListed : recorded, m_kit.m_services, m_report);
            if (bDone && pListed)
                pListed->m_bInstall = 0;
            pOutcome->bInstalled = pOutcome->bInstalled && bDone;
            break;
        }
        case SaveStepKind::Values:
            pOutcome->failures = store.Apply(changes, &pOutcome->kept);
            store.NoteWriteTimes(changes);
            bDone = pOutcome->failures.empty();
            break;
        case SaveStepKind::Restart:
            m_dwRestartError = RestartSystemBoardService(m_kit.m_services, m_report);
            bDone = m_dwRestartError == 0;
            pOutcome->bRestarted = bDone;
            break;
        case SaveStepKind::TellDriver: {
            // What was written is in effect: the driver is told even when
            // some values could not be written.
            DWORD error = m_kit.m_driver.UpdateParameters();
            bDone = error == 0;
            if (!bDone)
                m_report.DriverNotTold(error);
            pOutcome->bDriverTold = bDone;
            break;
        }
        case SaveStepKind::TellController:
            // The request goes through a session of its own; a session that
            // cannot be opened is the failed availability test, and nothing
            // is sent.
            m_kit.m_controller.SendUpdateParameters();
            break;
        }
        if (bDone) {
            m_journal.MarkDone(record, i);
            step.bDone = true;
        }
        if (static_cast<int>(i) == m_nStopAfter)
            return false;
    }
    return true;
}

void CSaveSequence::End(const CSaveRecord& record, const CSaveOutcome& outcome) {
    if (record.AllStepsDone()) {
        m_journal.MarkState(record, SaveRecordState::Complete);
        // Its notifications cover those of older saves that did not end,
        // and their values are left as the registry holds them.
        for (const CSaveJournal::CEntry& entry : m_journal.Pending())
            if (entry.record.id < record.id && entry.bTrusted)
                m_journal.MarkState(entry.record, SaveRecordState::Superseded, record.id);
        m_journal.Prune();
    }
    if (!outcome.failures.empty())
        m_report.ValuesNotSaved(outcome.failures);
    if (m_dwRestartError != 0)
        m_report.ServiceNotRestarted(m_dwRestartError);
}

bool CSaveSequence::ChangesOf(const CSaveRecord& record, CChangeList* pChanges) {
    CRegFile before;
    if (!m_journal.ReadBefore(record, &before))
        return false;
    ValueEncoding encoding = record.bWide ? ValueEncoding::Wide : ValueEncoding::Ansi;
    std::vector<CKeyValues> content(KEY_COUNT, CKeyValues(encoding));
    for (const CRegFileKey& key : before.keys) {
        int index = 0;
        while (index < KEY_COUNT && FilePathOf(ParameterKey(index)).CompareNoCase(key.path.c_str()))
            ++index;
        if (index == KEY_COUNT)
            return false;
        std::vector<CRegistryValue> values;
        for (const CRegFileValue& value : key.values) {
            CRegistryValue stored;
            if (value.remove)
                continue;
            if (StoredValueOf(value, RegFileVersion::Version5, &stored, encoding))
                return false;
            values.push_back(stored);
        }
        content[index].Assign(values);
    }
    pChanges->clear();
    for (const CSaveRecordValue& value : record.values) {
        if (value.key < 0 || value.key >= KEY_COUNT)
            return false;
        CValueChange change;
        change.key = ParameterKey(value.key);
        change.bDelete = value.bDelete;
        change.value = {CString(value.name), value.type, value.data};
        if (const CRegistryValue* old = content[value.key].Find(value.name.c_str())) {
            change.bHadOld = true;
            change.oldValue = *old;
        }
        // Written only over what the value held before the save.
        change.bUnedited = true;
        pChanges->push_back(change);
    }
    return true;
}

CSaveOutcome CSaveSequence::Finish(CSaveRecord record) {
    CSaveOutcome outcome;
    CChangeList changes;
    CParameterStore store(record.bWide ? ValueEncoding::Wide : ValueEncoding::Ansi);
    if (!ChangesOf(record, &changes)) {
        m_report.RecordUnreadable(m_journal.BeforePath(record));
        return outcome;
    }
    if (!store.OpenKeys()) {
        m_report.KeysNotOpened();
        return outcome;
    }
    outcome.bStarted = true;
    outcome.bStopped = !RunSteps(record, store, changes, nullptr, &outcome);
    store.CloseKeys();
    if (!outcome.kept.empty())
        m_report.ValuesChangedElsewhere(outcome.kept);
    if (!outcome.bStopped)
        End(record, outcome);
    m_journal.EndRecord();
    return outcome;
}

void CSaveSequence::Discard(const CSaveRecord& record) {
    m_journal.MarkState(record, SaveRecordState::Discarded);
    m_journal.EndRecord();
}
