#include "store/parameter_store.h"

#include <map>
#include <set>

namespace {

// The order in which a save writes its keys: the hot-swap driver's
// parameters, the lists, then the controller's and the service's.
const ParameterKey kSaveOrder[KEY_COUNT] = {KEY_QUARNEL,
                                            KEY_PHYSICAL_SLOTS,
                                            KEY_RESOURCE_ASSIGNMENTS,
                                            KEY_NO_RESET_SECONDARY_BUS,
                                            KEY_EXPLICIT_REQUIREMENTS,
                                            KEY_RESTRICT_MINIPORTS,
                                            KEY_VARDEK,
                                            KEY_MORAVIK};

// NoScanForSurpriseRemoval follows the table's scalars in a snapshot.
const size_t kNoScanIndex = SCALAR_TABLE_SIZE;

// Records that may be the same: those whose key is the same.
std::string MatchKey(const CSlotRecord& record) {
    CString key;
    key.Format("%d|", record.m_nPhysicalSlot);
    return (key + record.GetSlotPath()).str();
}
std::string MatchKey(const CDeviceRequirement& record) { return record.GetIdentityText().str(); }
std::string MatchKey(const CMiniportRecord& record) { return record.m_strServiceName.str(); }

// Records that store the same values.
template <class TRecord> bool StoresTheSame(const TRecord& a, const TRecord& b) { return a == b; }
bool StoresTheSame(const CSlotRecord& a, const CSlotRecord& b) { return HasSameStoredForm(a, b); }
bool StoresTheSame(const CMiniportRecord& a, const CMiniportRecord& b) {
    return a.StoresTheSameAs(b);
}

bool HasValue(const CKeyedValues& values, ParameterKey key, const CRegistryValue& value) {
    // The pages' values, of the ANSI encoding.
    for (const auto& keyed : values)
        if (keyed.first == key && FoldName(keyed.second.m_strName) == FoldName(value.m_strName) &&
            keyed.second.SameContent(value))
            return true;
    return false;
}

// The values a list wants stored. A record equal to one the load made (and
// that no other record has claimed) stands for the values that one was read
// from, as stored; any other record for its values in canonical form, of
// which the user edited those that the record it replaces (the first of its
// key left) would not store alike. The unchanged records go first, so that
// where two want the same name, the changed one's value is the one stored.
template <class TRecord>
void PlanList(const CList<TRecord>& list, const std::vector<CLoadedRecord<TRecord>>& loaded,
              void (*canonical)(const TRecord&, CKeyedValues&), const CKeyValues* base,
              std::vector<CWantedValue>* desired, std::vector<CString>* owned,
              std::vector<CLoadedRecord<TRecord>>& next) {
    std::multimap<std::string, size_t> index;
    for (size_t i = 0; i < loaded.size(); ++i)
        if (!loaded[i].bPending)
            index.emplace(MatchKey(loaded[i].record), i);
    std::vector<bool> claimed(loaded.size());
    std::vector<const TRecord*> records;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        records.push_back(&list.GetNext(pos));
    next.assign(records.size(), CLoadedRecord<TRecord>());
    std::vector<bool> unchanged(records.size());
    for (size_t r = 0; r < records.size(); ++r) {
        auto range = index.equal_range(MatchKey(*records[r]));
        for (auto it = range.first; it != range.second; ++it) {
            const CLoadedRecord<TRecord>& candidate = loaded[it->second];
            if (claimed[it->second] || !StoresTheSame(candidate.record, *records[r]))
                continue;
            claimed[it->second] = true;
            unchanged[r] = true;
            next[r] = candidate;
            for (const auto& origin : candidate.origins)
                if (const CRegistryValue* stored = base[origin.first].Find(origin.second))
                    desired[origin.first].push_back({*stored, false});
            break;
        }
    }
    for (size_t r = 0; r < records.size(); ++r) {
        if (unchanged[r])
            continue;
        CKeyedValues before;
        auto range = index.equal_range(MatchKey(*records[r]));
        for (auto it = range.first; it != range.second; ++it) {
            if (!claimed[it->second]) {
                claimed[it->second] = true;
                canonical(loaded[it->second].record, before);
                break;
            }
        }
        next[r].record = *records[r];
        CKeyedValues values;
        canonical(*records[r], values);
        for (const auto& keyed : values) {
            desired[keyed.first].push_back(
                {keyed.second, !HasValue(before, keyed.first, keyed.second)});
            next[r].origins.push_back({keyed.first, keyed.second.m_strName});
        }
    }
    for (const CLoadedRecord<TRecord>& entry : loaded)
        for (const auto& origin : entry.origins)
            owned[origin.first].push_back(origin.second);
}

// Where a save failed, the snapshot keeps what the registry still holds: a
// record whose values were not all written is pending, and a record that
// left the list holds the names a failed delete left behind.
using CFailedNames = std::set<std::pair<int, std::string>>;
template <class TRecord>
void KeepWhatIsPending(const std::vector<CLoadedRecord<TRecord>>& before,
                       std::vector<CLoadedRecord<TRecord>>& next, const CFailedNames& failed,
                       const CKeyValues* base) {
    CFailedNames ownedNow;
    for (CLoadedRecord<TRecord>& entry : next) {
        for (const auto& origin : entry.origins) {
            std::pair<int, std::string> name(origin.first, FoldName(origin.second));
            ownedNow.insert(name);
            if (failed.count(name))
                entry.bPending = true;
        }
    }
    for (const CLoadedRecord<TRecord>& entry : before) {
        CLoadedRecord<TRecord> left{entry.record, {}, true};
        for (const auto& origin : entry.origins)
            if (base[origin.first].Find(origin.second) &&
                !ownedNow.count({origin.first, FoldName(origin.second)}))
                left.origins.push_back(origin);
        if (!left.origins.empty())
            next.push_back(left);
    }
}

// How many of the values the pages load differ between two readings of a
// key: every value of a list key, the utility's own of a scalar key.
size_t CountDifferences(ParameterKey key, const CKeyValues& before, const CKeyValues& now,
                        ValueEncoding encoding) {
    std::set<std::string> names;
    for (const CKeyValues* values : {&before, &now})
        for (const CRegistryValue& value : values->All())
            if (IsListKey(key) || FindScalarKeyValue(key, value.m_strName) != ScalarKeyValue::Other)
                names.insert(FoldName(value.m_strName, encoding));
    size_t count = 0;
    for (const std::string& name : names) {
        const CRegistryValue* a = before.Find(name.c_str());
        const CRegistryValue* b = now.Find(name.c_str());
        if (!a || !b || !a->SameContent(*b))
            ++count;
    }
    return count;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

} // namespace

LONG CValueWriter::SetValue(HKEY hKey, const CRegistryValue& value) {
    return WriteValue(hKey, value, m_encoding);
}

LONG CValueWriter::DeleteValue(HKEY hKey, const char* lpszName) {
    return ::DeleteValue(hKey, lpszName, m_encoding);
}

CParameterStore::CParameterStore(ValueEncoding encoding) : m_encoding(encoding) {
    for (int i = 0; i < KEY_COUNT; ++i)
        m_base[i] = m_seen[i] = CKeyValues(encoding);
    m_registry.m_encoding = encoding;
}

BOOL CParameterStore::OpenKeys() {
    for (int i = 0; i < KEY_COUNT; ++i) {
        // Missing keys are created, so a load also lays out the tree.
        if (m_keys[i].Create(HKEY_LOCAL_MACHINE, ParameterKeyPath(ParameterKey(i))) !=
            ERROR_SUCCESS) {
            CloseKeys();
            return FALSE;
        }
    }
    return TRUE;
}

void CParameterStore::CloseKeys() {
    for (CRegistryKey& key : m_keys)
        key.Close();
}

BOOL CParameterStore::Load(const CParameterData& data, CLocationResolver& resolver) {
    if (!OpenKeys())
        return FALSE;
    for (int i = 0; i < KEY_COUNT; ++i) {
        // The time first: a write while the key is read shows at the save.
        m_written[i] = LastWriteTime(m_keys[i]);
        m_base[i].Assign(ReadAllValues(m_keys[i], m_encoding));
        m_seen[i] = m_base[i];
    }
    CloseKeys();

    // A scalar the registry lacks, or holds in more than four bytes, keeps
    // the member's value.
    CSnapshot loaded;
    for (size_t i = 0; i < SCALAR_TABLE_SIZE; ++i) {
        uint32_t* member = SCALAR_TABLE[i].member(data);
        DWORD value = 0;
        const CRegistryValue* stored = m_base[SCALAR_TABLE[i].key].Find(SCALAR_TABLE[i].name);
        if (stored && ScalarOf(*stored, &value))
            *member = value;
        loaded.shown[i] = *member;
    }
    DWORD noScan = 0;
    if (const CRegistryValue* stored = m_base[KEY_QUARNEL].Find(NO_SCAN_VALUE))
        ScalarOf(*stored, &noScan);
    data.misc.m_bScanSurpriseRemoval = noScan == 0 ? 1 : 0;
    loaded.shown[kNoScanIndex] = static_cast<DWORD>(data.misc.m_bScanSurpriseRemoval);

    loaded.slots = LoadPhysicalSlots(m_base[KEY_PHYSICAL_SLOTS], data.slots);
    loaded.bridges = LoadBridges(m_base[KEY_RESOURCE_ASSIGNMENTS],
                                 m_base[KEY_NO_RESET_SECONDARY_BUS], data.bridges, resolver);
    loaded.requirements =
        LoadDeviceRequirements(m_base[KEY_EXPLICIT_REQUIREMENTS], data.requirements);
    loaded.miniports =
        LoadMiniports(m_base[KEY_QUARNEL], m_base[KEY_RESTRICT_MINIPORTS], data.miniports);
    loaded.miniportNames = FormatMiniportNames(data.miniports);
    m_snapshot = std::move(loaded);
    return TRUE;
}

BOOL CParameterStore::ReadBase() {
    for (int i = 0; i < KEY_COUNT; ++i) {
        CRegistryKey key;
        LONG error = key.Open(HKEY_LOCAL_MACHINE, ParameterKeyPath(ParameterKey(i)));
        if (error == ERROR_FILE_NOT_FOUND) {
            m_base[i].Assign({});
        } else if (error == ERROR_SUCCESS) {
            m_written[i] = LastWriteTime(key);
            m_base[i].Assign(ReadAllValues(key, m_encoding));
        } else {
            return FALSE;
        }
        m_seen[i] = m_base[i];
    }
    return TRUE;
}

CChangeList CParameterStore::ChangesTo(const std::vector<CKeyState>& states) const {
    CPlan plan;
    for (const CKeyState& state : states) {
        std::vector<CWantedValue>& desired = plan.desired[state.key];
        std::vector<CString>& owned = plan.owned[state.key];
        for (const CRegistryValue& value : state.values)
            desired.push_back({value, true});
        owned.insert(owned.end(), state.removed.begin(), state.removed.end());
        for (const CRegistryValue& stored : m_base[state.key].All())
            if (IsListKey(state.key) ||
                FindScalarKeyValue(state.key, stored.m_strName) != ScalarKeyValue::Other)
                owned.push_back(stored.m_strName);
    }
    return Diff(plan);
}

CParameterStore::CPlan CParameterStore::Plan(const CParameterData& data, bool bController,
                                             bool bService) const {
    CPlan plan;
    // A scalar the user left as the load showed it stays as stored (also
    // when the page could not show it); one the registry lacks is written,
    // so that every default is stored, unless another program stores it
    // first.
    for (size_t i = 0; i < SCALAR_TABLE_SIZE; ++i) {
        const ScalarValue& scalar = SCALAR_TABLE[i];
        DWORD value = *scalar.member(data);
        if ((scalar.key == KEY_VARDEK && !bController) ||
            (scalar.key == KEY_MORAVIK && !bService)) {
            plan.next.shown[i] = m_snapshot.shown[i];
            continue;
        }
        plan.next.shown[i] = value;
        plan.owned[scalar.key].push_back(scalar.name);
        const CRegistryValue* stored = m_base[scalar.key].Find(scalar.name);
        bool bEdited = value != m_snapshot.shown[i];
        if (stored && !bEdited)
            plan.desired[scalar.key].push_back({*stored, false});
        else
            plan.desired[scalar.key].push_back({DwordValue(scalar.name, value), bEdited});
    }
    // Scanning is on while NoScanForSurpriseRemoval is absent or 0.
    DWORD scan = static_cast<DWORD>(data.misc.m_bScanSurpriseRemoval);
    plan.next.shown[kNoScanIndex] = scan;
    plan.owned[KEY_QUARNEL].push_back(NO_SCAN_VALUE);
    const CRegistryValue* noScan = m_base[KEY_QUARNEL].Find(NO_SCAN_VALUE);
    if (scan == m_snapshot.shown[kNoScanIndex]) {
        if (noScan)
            plan.desired[KEY_QUARNEL].push_back({*noScan, false});
    } else if (scan == 0) {
        plan.desired[KEY_QUARNEL].push_back({DwordValue(NO_SCAN_VALUE, 1), true});
    }

    // "Miniports" stands for the whole list: stored anew only when the
    // names or their order changed.
    plan.next.miniportNames = FormatMiniportNames(data.miniports);
    plan.owned[KEY_QUARNEL].push_back(MINIPORTS_VALUE);
    const CRegistryValue* names = m_base[KEY_QUARNEL].Find(MINIPORTS_VALUE);
    if (plan.next.miniportNames != m_snapshot.miniportNames)
        plan.desired[KEY_QUARNEL].push_back(
            {CRegistryValue{MINIPORTS_VALUE, REG_MULTI_SZ, plan.next.miniportNames}, true});
    else if (names)
        plan.desired[KEY_QUARNEL].push_back({*names, false});

    PlanList(data.slots, m_snapshot.slots, PhysicalSlotValues, m_base, plan.desired, plan.owned,
             plan.next.slots);
    PlanList(data.bridges, m_snapshot.bridges, BridgeValues, m_base, plan.desired, plan.owned,
             plan.next.bridges);
    PlanList(data.requirements, m_snapshot.requirements, DeviceRequirementValues, m_base,
             plan.desired, plan.owned, plan.next.requirements);
    PlanList(data.miniports, m_snapshot.miniports, MiniportValues, m_base, plan.desired, plan.owned,
             plan.next.miniports);
    return plan;
}

CChangeList CParameterStore::Diff(const CPlan& plan) const {
    CChangeList changes;
    for (ParameterKey key : kSaveOrder) {
        const std::vector<CWantedValue>& desired = plan.desired[key];
        // Of two values of one name, the later is the one wanted.
        std::map<std::string, size_t> wanted;
        for (size_t i = 0; i < desired.size(); ++i)
            wanted[FoldName(desired[i].value.m_strName, m_encoding)] = i;
        for (size_t i = 0; i < desired.size(); ++i) {
            if (wanted[FoldName(desired[i].value.m_strName, m_encoding)] != i)
                continue;
            const CRegistryValue* stored = m_base[key].Find(desired[i].value.m_strName);
            if (stored && stored->SameContent(desired[i].value))
                continue;
            CValueChange change;
            change.key = key;
            change.value = desired[i].value;
            change.bUnedited = !desired[i].bEdited;
            if (stored) {
                change.bHadOld = true;
                change.oldValue = *stored;
            }
            changes.push_back(change);
        }
        std::set<std::string> deleted;
        for (const CString& name : plan.owned[key]) {
            std::string folded = FoldName(name, m_encoding);
            const CRegistryValue* stored = m_base[key].Find(name);
            if (!stored || wanted.count(folded) || !deleted.insert(folded).second)
                continue;
            CValueChange change;
            change.key = key;
            change.bDelete = true;
            change.value.m_strName = stored->m_strName;
            change.bHadOld = true;
            change.oldValue = *stored;
            changes.push_back(change);
        }
    }
    return changes;
}

CParameterStore::CSavePlan CParameterStore::PlanSave(const CParameterData& data, bool bController,
                                                     bool bService) const {
    CPlan plan = Plan(data, bController, bService);
    CSavePlan save;
    save.changes = Diff(plan);
    save.bNamesChanged = plan.next.miniportNames != m_snapshot.miniportNames;
    save.next = std::move(plan.next);
    return save;
}

std::vector<CFailedChange> CParameterStore::Apply(const CChangeList& changes,
                                                  std::vector<CValueChange>* pKept) {
    std::vector<CFailedChange> failures;
    for (const CValueChange& change : changes) {
        HKEY hKey = m_keys[change.key];
        const char* name = change.value.m_strName;
        CRegistryValue live;
        if (change.bUnedited) {
            // The value as the load found it is the user's to replace; one
            // another program stored since is not.
            LONG lRead = ReadValue(hKey, name, &live, m_encoding);
            if (lRead != ERROR_SUCCESS && lRead != ERROR_FILE_NOT_FOUND) {
                failures.push_back({change, lRead});
                continue;
            }
            bool bLive = lRead == ERROR_SUCCESS;
            if (bLive != change.bHadOld || (bLive && !live.SameContent(change.oldValue))) {
                bool bWanted = change.bDelete ? !bLive : bLive && live.SameContent(change.value);
                if (!bWanted && pKept)
                    pKept->push_back(change);
                Remember(change.key, name, bLive ? &live : nullptr);
                continue;
            }
        }
        LONG lError = change.bDelete ? m_pWriter->DeleteValue(hKey, name)
                                     : m_pWriter->SetValue(hKey, change.value);
        // A value that is gone already is as good as deleted for the pages;
        // the command line, which read the name it deletes, tells it.
        if (change.bDelete && lError == ERROR_FILE_NOT_FOUND && m_encoding == ValueEncoding::Ansi)
            lError = ERROR_SUCCESS;
        if (lError != ERROR_SUCCESS) {
            failures.push_back({change, lError});
            continue;
        }
        Remember(change.key, name, change.bDelete ? nullptr : &change.value);
    }
    return failures;
}

void CParameterStore::Remember(ParameterKey key, const char* name, const CRegistryValue* pValue) {
    for (CKeyValues* values : {&m_base[key], &m_seen[key]}) {
        if (pValue)
            values->Set(*pValue);
        else
            values->Remove(name);
    }
}

void CParameterStore::Commit(const std::vector<CFailedChange>& failures, CSnapshot next) {
    CFailedNames failed;
    for (const CFailedChange& failure : failures)
        failed.insert({failure.change.key, FoldName(failure.change.value.m_strName, m_encoding)});
    // A scalar that was not written keeps what the page showed before, so
    // that it is written at the next save, or left when the user goes back.
    auto isFailed = [&](ParameterKey key, const char* name) {
        return failed.count({key, FoldName(name, m_encoding)}) > 0;
    };
    for (size_t i = 0; i < SCALAR_TABLE_SIZE; ++i)
        if (isFailed(SCALAR_TABLE[i].key, SCALAR_TABLE[i].name))
            next.shown[i] = m_snapshot.shown[i];
    if (isFailed(KEY_QUARNEL, NO_SCAN_VALUE))
        next.shown[kNoScanIndex] = m_snapshot.shown[kNoScanIndex];
    if (isFailed(KEY_QUARNEL, MINIPORTS_VALUE))
        next.miniportNames = m_snapshot.miniportNames;
    KeepWhatIsPending(m_snapshot.slots, next.slots, failed, m_base);
    KeepWhatIsPending(m_snapshot.bridges, next.bridges, failed, m_base);
    KeepWhatIsPending(m_snapshot.requirements, next.requirements, failed, m_base);
    KeepWhatIsPending(m_snapshot.miniports, next.miniports, failed, m_base);
    m_snapshot = std::move(next);
}

size_t CParameterStore::CountChangedElsewhere() {
    size_t count = 0;
    for (int i = 0; i < KEY_COUNT; ++i) {
        FILETIME written = LastWriteTime(m_keys[i]);
        if (SameTime(written, m_written[i]))
            continue;
        CKeyValues now(m_encoding);
        now.Assign(ReadAllValues(m_keys[i], m_encoding));
        count += CountDifferences(ParameterKey(i), m_seen[i], now, m_encoding);
        m_seen[i] = std::move(now);
        m_written[i] = written;
    }
    return count;
}

void CParameterStore::NoteWriteTimes(const CChangeList& changes) {
    // Only the keys written: the others keep the time their values were
    // last seen at, so that a write of another program since still shows.
    bool bWritten[KEY_COUNT] = {};
    for (const CValueChange& change : changes)
        bWritten[change.key] = true;
    for (int i = 0; i < KEY_COUNT; ++i)
        if (bWritten[i])
            m_written[i] = LastWriteTime(m_keys[i]);
}
