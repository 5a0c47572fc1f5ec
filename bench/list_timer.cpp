// Times the load and the save of the five lists, each filled with the same
// number of records, with the system board service stopped so that its
// restart pause is not counted. Prints "load_ms save_ms writes" per run, the
// registry writes and deletes of each save without an edit, then a line
// "edit writes" with those of a save after one row was edited, and a last
// line "resolve ms" with the time to ask for the location of every record
// after a load, as scrolling through both lists would.
//   list_timer <records> <runs> [--no-driver]
// --no-driver leaves the driver closed, so no slot path is resolved.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/zorvik_app.h"
#include "counting_responder.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "sheet/zorvik_sheet.h"
#include "store/parameter_store.h"

namespace {
ZorvikApp theApp;

const ParameterKey kListKeys[5] = {KEY_PHYSICAL_SLOTS, KEY_RESOURCE_ASSIGNMENTS,
                                   KEY_NO_RESET_SECONDARY_BUS, KEY_EXPLICIT_REQUIREMENTS,
                                   KEY_RESTRICT_MINIPORTS};

// The registry's writer, counting what a save asks of it.
struct CountingWriter : CValueWriter {
    LONG SetValue(HKEY hKey, const CRegistryValue& value) override {
        ++calls;
        return CValueWriter::SetValue(hKey, value);
    }
    LONG DeleteValue(HKEY hKey, const char* lpszName) override {
        ++calls;
        return CValueWriter::DeleteValue(hKey, lpszName);
    }
    int calls = 0;
};

const std::string kBrisset = "System\\CurrentControlSet\\Services\\Brisset\\Parameters\\";
const std::string kQuarnel = "System\\CurrentControlSet\\Services\\quarnel\\Parameters";
// 50 names of 3 characters take 201 bytes: within the 256-byte limit.
const int kMiniports = 50;
// The default chassis of the testbed: bus n's path bytes.
const char* const kBusPaths[7] = {"", "08", "1008", "1808", "2008", "081008", "10"};

// Record i's slot path, spread over all seven buses; distinct for i < 7 * 256.
std::string SlotPath(int i, int devfnBase, int direction) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02X", (devfnBase + direction * (i / 7)) & 0xFF);
    return text + std::string(kBusPaths[i % 7]);
}

HKEY CreateKey(const std::string& path) {
    HKEY key = nullptr;
    ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr);
    return key;
}

void SetText(HKEY key, const std::string& name, const std::string& data, DWORD type = REG_SZ) {
    ::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
}

// Also run at the end: bench/run's start-up timing shares the prefix.
void ClearLists() {
    for (ParameterKey key : kListKeys)
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, ParameterKeyPath(key));
    ::RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kQuarnel.c_str(), "Miniports");
}

void WriteLists(int records) {
    ClearLists();
    HKEY quarnel = CreateKey(kQuarnel);
    HKEY restrict = CreateKey(kQuarnel + "\\RestrictMiniports");
    HKEY slots = CreateKey(kBrisset + "PhysicalSlots");
    HKEY assignments = CreateKey(kBrisset + "ResourceAssignments");
    HKEY noReset = CreateKey(kBrisset + "NoResetSecondaryBus");
    HKEY requirements = CreateKey(kBrisset + "ExplicitResourceRequirements");
    // Varied windows: plain sizes, alignments, ranges and dynamic buses.
    const char* const resources[4] = {
        "1000,100000,100000", "(1000,2000,7fff:2000),100000:1000,(100000,0,ffff)",
        "2000,200000,(400000,80000000,bfffffff),0", "0,100000:10000,0"};
    char text[96];
    for (int i = 0; i < records; ++i) {
        SetText(slots, std::to_string(i + 1), SlotPath(i, 0x08, 1));
        std::string bridge = SlotPath(i, 0xFF, -1);
        SetText(assignments, bridge, resources[i % 4]);
        SetText(noReset, bridge, "");
        char identity[64];
        int length = std::snprintf(identity, sizeof(identity), "PCI\\VEN_%04X&DEV_%04X",
                                   0x1000 + i / 16, 0x2000 + i % 16 * 0x11);
        if (i % 3 == 0)
            std::snprintf(identity + length, sizeof(identity) - length, "&SUBSYS_%08X&REV_%02X",
                          0x10000000 + i, i % 256);
        // Two BAR strings, each with its NUL, then the final NUL.
        int size = std::snprintf(text, sizeof(text), "%d:%X%c%d:FFF00000%c", i % 3,
                                 0x1000 << (i % 8), 0, i % 3 + 2, 0);
        ::RegSetValueExA(requirements, identity, 0, REG_MULTI_SZ,
                         reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(size + 1));
    }
    std::string names;
    for (int i = 0; i < kMiniports; ++i) {
        char name[8];
        std::snprintf(name, sizeof(name), "m%02d", i);
        names.append(name).push_back('\0');
        if (i < records) {
            std::snprintf(text, sizeof(text), "%d,%d", i % 8 + 1, i % 8 + 2);
            SetText(restrict, name, text);
        }
    }
    SetText(quarnel, "Miniports", names, REG_MULTI_SZ);
    for (HKEY key : {quarnel, restrict, slots, assignments, noReset, requirements})
        ::RegCloseKey(key);
}

// A save that refused or dropped values must not be timed as a good one.
bool SavedAll(int records) {
    bool ok = true;
    for (ParameterKey listKey : kListKeys) {
        const char* path = ParameterKeyPath(listKey);
        bool restrict = listKey == KEY_RESTRICT_MINIPORTS;
        long expected = restrict ? std::min(records, kMiniports) : records;
        HKEY key = nullptr;
        DWORD count = 0;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == 0) {
            ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                               nullptr, nullptr, nullptr, nullptr);
            ::RegCloseKey(key);
        }
        if (static_cast<long>(count) != expected) {
            std::fprintf(stderr, "%s holds %lu values, not %ld\n", path, count, expected);
            ok = false;
        }
    }
    return ok;
}

// Every record must load with its slot path and every no-reset mark merge
// into its bridge, or the bench would time a load that skips work a real
// system does.
bool LoadedAll(const ZorvikSheet& sheet, int records) {
    int complete = 0;
    for (const CSlotRecordList* list : {&sheet.m_Eq.m_slots, &sheet.m_Res.m_bridges}) {
        bool bridges = list == &sheet.m_Res.m_bridges;
        for (POSITION pos = list->GetHeadPosition(); pos;) {
            uint32_t flags = list->GetNext(pos).m_dwFlags;
            complete += (flags & SLOT_HAS_PATH) && (!bridges || (flags & SLOT_HAS_NORESET));
        }
    }
    int slots = sheet.m_Eq.m_slots.GetCount(), bridges = sheet.m_Res.m_bridges.GetCount();
    if (slots == records && bridges == records && complete == 2 * records)
        return true;
    std::fprintf(stderr, "loaded %d slots, %d bridges, %d complete\n", slots, bridges, complete);
    return false;
}

// Asks for the location of every record, as scrolling through both lists
// would; how many resolve.
int ResolveAll(ZorvikSheet& sheet) {
    int resolved = 0;
    for (CSlotRecordList* list : {&sheet.m_Eq.m_slots, &sheet.m_Res.m_bridges})
        for (POSITION pos = list->GetHeadPosition(); pos;)
            resolved += list->GetNext(pos).ResolveLocation(sheet.m_locations) ? 1 : 0;
    return resolved;
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: list_timer <records> <runs> [--no-driver]\n");
        return 2;
    }
    int records = std::atoi(argv[1]);
    int runs = std::atoi(argv[2]);
    bool useDriver = !(argc > 3 && std::strcmp(argv[3], "--no-driver") == 0);
    if (records < 1 || records > 7 * 256) {
        std::fprintf(stderr, "records: 1 to %d (distinct slot paths of the chassis)\n", 7 * 256);
        return 2;
    }
    CountingResponder responder;
    AfxSetMessageBoxResponder(&responder);
    CKit& kit = theApp.m_kit;
    if (kit.Open() != 0 && useDriver) {
        std::fprintf(stderr, "the hot-swap driver does not open: install the testbed\n");
        return 2;
    }
    if (!useDriver)
        kit.m_driver.Close();
    DWORD state = 0;
    if (kit.m_services.QueryState("moravik", &state) == 0 && state == SERVICE_RUNNING) {
        std::fprintf(stderr, "stop the moravik service first: its restart pauses 2000 ms\n");
        return 2;
    }
    WriteLists(records);
    std::fprintf(
        stderr, "%d records in each list, %d restricted miniports (Miniports holds %d names)%s\n",
        records, std::min(records, kMiniports), kMiniports, useDriver ? "" : ", no driver");

    ZorvikSheet sheet(kit, theApp.m_journal, IDS_SHEET_CAPTION);
    CountingWriter writer;
    sheet.m_store.SetWriter(&writer);
    int failed = LoadedAll(sheet, records) ? 0 : 1;
    LARGE_INTEGER frequency, start, loaded, saved;
    ::QueryPerformanceFrequency(&frequency);
    const double msPerTick = 1000.0 / static_cast<double>(frequency.QuadPart);
    for (int i = 0; i < runs && !failed; ++i) {
        ::QueryPerformanceCounter(&start);
        sheet.LoadParameters();
        ::QueryPerformanceCounter(&loaded);
        writer.calls = 0;
        BOOL accepted = sheet.SaveParameters();
        ::QueryPerformanceCounter(&saved);
        if (!accepted || !SavedAll(records) || responder.messages != 0) {
            std::fprintf(stderr, "run %d: the save refused, dropped records or showed a message\n",
                         i + 1);
            failed = 1;
            break;
        }
        std::printf(
            "%.2f %.2f %d\n", static_cast<double>(loaded.QuadPart - start.QuadPart) * msPerTick,
            static_cast<double>(saved.QuadPart - loaded.QuadPart) * msPerTick, writer.calls);
    }
    if (!failed) {
        // One row edited, each run: the first physical slot's slot path
        // changed, then changed back.
        for (int i = 0; i < runs && !failed; ++i) {
            CSlotRecord& first = sheet.m_Eq.m_slots.GetHead();
            first.SetSlotPath(SlotPath(records, 0x08, 1 + i % 2).c_str(), kit.m_driver);
            writer.calls = 0;
            ::QueryPerformanceCounter(&start);
            if (!sheet.SaveParameters())
                failed = 1;
            ::QueryPerformanceCounter(&saved);
            std::printf("edit %d %.2f\n", writer.calls,
                        static_cast<double>(saved.QuadPart - start.QuadPart) * msPerTick);
        }
    }
    if (!failed) {
        sheet.LoadParameters();
        ::QueryPerformanceCounter(&start);
        int resolved = ResolveAll(sheet);
        ::QueryPerformanceCounter(&loaded);
        if (useDriver && resolved != 2 * records) {
            std::fprintf(stderr, "%d of %d locations resolved\n", resolved, 2 * records);
            failed = 1;
        }
        std::printf("resolve %.2f\n",
                    static_cast<double>(loaded.QuadPart - start.QuadPart) * msPerTick);
    }
    ClearLists();
    kit.Close();
    return failed;
}
