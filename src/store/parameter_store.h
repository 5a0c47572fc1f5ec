#pragma once
// The parameter store: the eight keys of the kit's parameters, every value
// the utility reads and writes in them, and the save.
//
// A load keeps what it read of every key (the base) and, for each record it
// made, the values it was read from. A save is a merge against that base: it
// writes only the values whose type or bytes differ from the base or that
// the base lacks, deletes only values that the load turned into records or
// scalars and that nothing wants any more, and leaves every other value
// alone, among them values other programs stored since the load. A record
// that is unchanged since the load stands for the very values it was read
// from, so a save without an edit changes no byte. A value the user did not
// edit (a default the registry lacked, a value rewritten only because
// another of its record changed) is written only while the registry still
// holds it as the load found it. No key is ever deleted.
#include <windows.h>

#include <utility>
#include <vector>

#include "framework/registry_key.h"
#include "store/list_store.h"
#include "store/parameter_keys.h"
#include "store/registry_values.h"

// What one key is to hold, as a file tells it: the values it sets and the
// names it deletes, each name once.
struct CKeyState {
    ParameterKey key = KEY_QUARNEL;
    std::vector<CRegistryValue> values;
    std::vector<CString> removed;
};

// One value a save writes or deletes, and what the base held there.
struct CValueChange {
    ParameterKey key = KEY_QUARNEL;
    bool bDelete = false;
    CRegistryValue value; // the new value; for a delete, its name
    bool bHadOld = false;
    CRegistryValue oldValue;
    // Not edited by the user: written only while the registry holds
    // oldValue (or, without one, no value of the name); else another
    // program's value stays.
    bool bUnedited = false;
};
using CChangeList = std::vector<CValueChange>;

// A value a save wants stored, and whether the user edited it.
struct CWantedValue {
    CRegistryValue value;
    bool bEdited;
};

// A change the registry refused, with the error it gave.
struct CFailedChange {
    CValueChange change;
    LONG lError;
};

// Where a save's writes and deletes go: the registry, unless a test puts a
// writer of its own in its place.
class CValueWriter {
public:
    virtual ~CValueWriter() = default;
    virtual LONG SetValue(HKEY hKey, const CRegistryValue& value);
    virtual LONG DeleteValue(HKEY hKey, const char* lpszName);

    ValueEncoding m_encoding = ValueEncoding::Ansi;
};

class CParameterStore {
public:
    // The pages' store reads and writes through the ANSI API; the command
    // line's through the wide API, every name and byte as stored.
    explicit CParameterStore(ValueEncoding encoding = ValueEncoding::Ansi);
    ValueEncoding Encoding() const { return m_encoding; }

    // The scalar values, NoScanForSurpriseRemoval included.
    static const size_t SCALAR_COUNT = SCALAR_TABLE_SIZE + 1;

    // What the records and scalars stood for when the base was read or last
    // saved.
    struct CSnapshot {
        std::vector<CLoadedRecord<CSlotRecord>> slots;
        std::vector<CLoadedRecord<CSlotRecord>> bridges;
        std::vector<CLoadedRecord<CDeviceRequirement>> requirements;
        std::vector<CLoadedRecord<CMiniportRecord>> miniports;
        std::string miniportNames; // the "Miniports" image of the list
        DWORD shown[SCALAR_COUNT] = {};
    };
    // What a save of the data changes, and what the store will know once
    // the changes are made.
    struct CSavePlan {
        CChangeList changes;
        CSnapshot next;
        // "Miniports" is written anew: the names or their order changed.
        bool bNamesChanged = false;
    };

    // Opens every key for all access, creating missing ones; on a failure
    // the keys opened so far are closed again.
    BOOL OpenKeys();
    void CloseKeys();

    // FALSE when the keys cannot be opened; the data then keep their
    // values. The slot records' Bus/Device/Function is asked for when first
    // needed, through the resolver only where no-reset marks do not match
    // their bridges by text.
    BOOL Load(const CParameterData& data, CLocationResolver& resolver);

    // What saving the data would change; the controller's values only when
    // bController, the system board service's only when bService.
    CSavePlan PlanSave(const CParameterData& data, bool bController, bool bService) const;
    // After a save of the plan, whatever landed: the records that the
    // failed changes were for stay pending.
    void Commit(const std::vector<CFailedChange>& failures, CSnapshot next);

    // Reads every key into the base, as a load does, but fills no data and
    // creates no key: a missing key reads as empty. FALSE when a key is
    // there but cannot be read.
    BOOL ReadBase();
    // What making the keys hold the states would change. A list key ends up
    // with exactly the state's values; a scalar key with them, less those of
    // the utility's own values that the state does not set. Keys without a
    // state are left alone.
    CChangeList ChangesTo(const std::vector<CKeyState>& states) const;

    // With the keys open: reads the keys whose last write is not the one
    // seen here again, and counts the values of the pages that differ from
    // what was seen. Seen() then holds each key as it is.
    size_t CountChangedElsewhere();
    const CKeyValues& Seen(ParameterKey key) const { return m_seen[key]; }
    // With the keys open: makes the changes, each with the registry's
    // answer; the base and what was seen follow every one that landed. An
    // unedited change whose value another program changed is left as that
    // program left it (in *pKept when given), and one whose value holds what
    // it wants already is as good as made. Returns the refused ones.
    std::vector<CFailedChange> Apply(const CChangeList& changes,
                                     std::vector<CValueChange>* pKept = nullptr);
    // The keys' last-write times after the changes were made.
    void NoteWriteTimes(const CChangeList& changes);

    const CKeyValues& Base(ParameterKey key) const { return m_base[key]; }
    // The writer of the next saves; null puts the registry back.
    void SetWriter(CValueWriter* pWriter) { m_pWriter = pWriter ? pWriter : &m_registry; }

private:
    // What a save of the data wants: per key the values it wants stored and
    // the base names it answers for; and the snapshot once they are stored.
    struct CPlan {
        std::vector<CWantedValue> desired[KEY_COUNT];
        std::vector<CString> owned[KEY_COUNT];
        CSnapshot next;
    };
    CPlan Plan(const CParameterData& data, bool bController, bool bService) const;
    CChangeList Diff(const CPlan& plan) const;
    // The base and what was seen hold what the registry holds now under the
    // name: the value, or (null) none.
    void Remember(ParameterKey key, const char* name, const CRegistryValue* pValue);

    ValueEncoding m_encoding;
    CRegistryKey m_keys[KEY_COUNT];
    CKeyValues m_base[KEY_COUNT];
    // Each key as last read or written here, and its last-write time then.
    CKeyValues m_seen[KEY_COUNT];
    FILETIME m_written[KEY_COUNT] = {};
    CSnapshot m_snapshot;
    CValueWriter m_registry;
    CValueWriter* m_pWriter = &m_registry;
};
