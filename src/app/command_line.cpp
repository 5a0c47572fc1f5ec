#include "app/command_line.h"

#include "app/command_output.h"
#include "app/command_report.h"
#include "app/exit_codes.h"
#include "app/journal_commands.h"
#include "app/parameter_file.h"
#include "framework/handle.h"
#include "framework/message_box.h"
#include "model/multi_string.h"
#include "save/save_sequence.h"
#include "store/regedit_encoding.h"
#include "sys/kit.h"

namespace {
const char kMachine[] = "HKEY_LOCAL_MACHINE\\";
// Values are shown cut to this many characters in a change line.
const int kShownLength = 60;

const char kUsage[] =
    "Usage: mirandelcfg [/export FILE | /check FILE | /diff FILE | /import FILE |\n"
    "                    /history | /undo [ID] | /discard | /?]\n"
    "Without arguments the configuration sheet opens.\n"
    "\n"
    "  /export FILE  write every value of the eight parameter keys to FILE, a\n"
    "                registry editor file (Version 5.00)\n"
    "  /check FILE   check the values FILE gives the parameter keys\n"
    "  /diff FILE    check, then show what /import would change, a save that did\n"
    "                not finish included\n"
    "  /import FILE  check, finish a save that did not finish, then make the keys\n"
    "                FILE names hold its values, and tell the drivers\n"
    "  /history      list the saves on record, newest first\n"
    "  /undo [ID]    put back what the save ID (the latest complete save) changed\n"
    "  /discard      give up the saves that did not finish\n"
    "\n"
    "Exit codes: 0 done (nothing to change), 1 values refused, 2 bad arguments\n"
    "or file or keys unreadable, 3 /diff found changes, 4 a step of /import or\n"
    "/undo failed, or another save did not end in time.\n";

// No message box ever shows on the command line: one that some code still
// asks for goes to the error output, and a question is answered No, as
// nobody is there to answer.
class CReportingResponder : public CMessageBoxResponder {
public:
    explicit CReportingResponder(CCommandOutput& output) : m_output(output) {
        AfxSetMessageBoxResponder(this);
    }
    ~CReportingResponder() override { AfxSetMessageBoxResponder(nullptr); }

    int Answer(UINT, const char* text, const char*, UINT nType) override {
        m_output.Err(CString(text) + "\n");
        switch (nType & MB_TYPEMASK) {
        case MB_YESNO:
        case MB_YESNOCANCEL:
            return IDNO;
        case MB_OKCANCEL:
        case MB_RETRYCANCEL:
            return IDCANCEL;
        default:
            return IDOK;
        }
    }
    void Beep(UINT) override {}

private:
    CCommandOutput& m_output;
};

CString Cut(CString text) {
    if (text.GetLength() <= kShownLength)
        return text;
    return CString(text.str().substr(0, kShownLength - 3)) + "...";
}

// A string in quotes, its control characters escaped so that it keeps to
// one line.
CString Quoted(const CString& text) {
    CString quoted = "\"";
    for (char ch : text.str()) {
        if (ch == '\r' || ch == '\n' || ch == '\t') {
            quoted += ch == '\r' ? "\\r" : ch == '\n' ? "\\n" : "\\t";
        } else if (static_cast<unsigned char>(ch) < 0x20) {
            CString escaped;
            escaped.Format("\\x%02x", static_cast<unsigned char>(ch));
            quoted += escaped;
        } else {
            quoted += ch;
        }
    }
    return quoted + "\"";
}

// A short, readable form of a value's data.
CString Shown(const CRegistryValue& wide) {
    // Text as the code page shows it; other data as its bytes.
    CRegistryValue value = AnsiViewOf(wide);
    CString text;
    DWORD number = 0;
    if (value.m_dwType == REG_DWORD && value.m_data.size() == 4 && ScalarOf(value, &number)) {
        text.Format("%lu (0x%lx)", static_cast<unsigned long>(number),
                    static_cast<unsigned long>(number));
        return text;
    }
    if (value.m_dwType == REG_SZ || value.m_dwType == REG_EXPAND_SZ)
        return Cut(Quoted(value.Text()));
    if (value.m_dwType == REG_MULTI_SZ) {
        for (const CString& string : SplitMultiString(value.m_data.data(), value.m_data.size()))
            text += (text.IsEmpty() ? "" : " ") + Quoted(string);
        return Cut(text.IsEmpty() ? CString("(no strings)") : text);
    }
    if (value.m_dwType == REG_BINARY)
        text = "hex:";
    else
        text.Format("hex(%lx):", static_cast<unsigned long>(value.m_dwType));
    for (size_t i = 0; i < value.m_data.size() && text.GetLength() <= kShownLength; ++i) {
        CString byte;
        byte.Format(i == 0 ? "%02x" : ",%02x", static_cast<unsigned char>(value.m_data[i]));
        text += byte;
    }
    return Cut(text);
}

// Reads the file and tells which keys it passes over; false, with the exit
// code, when the command ends there: the file cannot be read, or names
// none of the utility's keys.
bool ReadCommandFile(const char* pszPath, CCommandOutput& output, CParameterFile* pFile,
                     int* pnExitCode) {
    CString error;
    if (!ReadParameterFile(pszPath, pFile, &error)) {
        output.Err(error + "\n");
        *pnExitCode = EXIT_UNUSABLE;
        return false;
    }
    for (const CString& line : pFile->ignored)
        output.Out(line + "\n");
    if (!pFile->bNamesKey) {
        output.Err(CString("no parameter key in ") + pszPath + "\n");
        *pnExitCode = EXIT_UNUSABLE;
        return false;
    }
    return true;
}

// Tells what the plan refuses (unless pOutput is null); false, with the
// exit code, when it refuses anything.
bool Accepted(const CFilePlan& plan, CCommandOutput* pOutput, int* pnExitCode) {
    for (const CString& line : plan.refusals)
        if (pOutput)
            pOutput->Out(line + "\n");
    *pnExitCode = plan.refusals.empty() ? EXIT_DONE : EXIT_REFUSED;
    return plan.refusals.empty();
}

int Export(const char* pszPath, CCommandOutput& output) {
    // Every name and byte as stored.
    CParameterStore store(ValueEncoding::Wide);
    if (!store.ReadBase()) {
        output.Err("cannot read the parameter keys\n");
        return EXIT_UNUSABLE;
    }
    CRegFile file;
    int count = 0;
    for (int i = 0; i < KEY_COUNT; ++i) {
        ParameterKey key = static_cast<ParameterKey>(i);
        CRegFileKey fileKey;
        fileKey.path = std::string(kMachine) + ParameterKeyPath(key);
        for (const CRegistryValue& value : store.Base(key).All())
            fileKey.values.push_back(RegFileValueOf(value, ValueEncoding::Wide));
        count += static_cast<int>(fileKey.values.size());
        file.keys.push_back(fileKey);
    }
    std::string bytes = Version5FileBytes(file);
    CFileHandle target(::CreateFileA(pszPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0, error = 0;
    if (!target.IsValid() ||
        !::WriteFile(target, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        error = ::GetLastError();
    else if (written != bytes.size())
        error = ERROR_HANDLE_DISK_FULL;
    if (error != 0) {
        CString text;
        text.Format("cannot write %s: %s\n", pszPath,
                    static_cast<const char*>(GetErrorText(error)));
        output.Err(text);
        return EXIT_UNUSABLE;
    }
    CString done;
    done.Format("%s: %d values of %d keys written\n", pszPath, count, static_cast<int>(KEY_COUNT));
    output.Out(done);
    return EXIT_DONE;
}

int Check(const char* pszPath, CCommandOutput& output) {
    CParameterFile file;
    int code = EXIT_DONE;
    if (!ReadCommandFile(pszPath, output, &file, &code))
        return code;
    // Without a machine, every rule applies.
    CFilePlan plan = PlanFile(file, nullptr);
    Accepted(plan, &output, &code);
    CString summary;
    if (code == EXIT_DONE)
        summary.Format("%s: %d values checked, none refused\n", pszPath, file.valueCount);
    else
        summary.Format("%s: %d refused\n", pszPath, static_cast<int>(plan.refusals.size()));
    output.Out(summary);
    return code;
}

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

int Diff(const char* pszPath, CCommandOutput& output) {
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
                        static_cast<const char*>(Shown(change.oldValue)));
        else if (change.bHadOld)
            line.Format("~ %s: %s -> %s\n", static_cast<const char*>(path),
                        static_cast<const char*>(Shown(change.oldValue)),
                        static_cast<const char*>(Shown(change.value)));
        else
            line.Format("+ %s: %s\n", static_cast<const char*>(path),
                        static_cast<const char*>(Shown(change.value)));
        output.Out(line);
    }
    if (changes.empty() && pending == 0)
        output.Out("nothing to change\n");
    return changes.empty() && pending == 0 ? EXIT_DONE : EXIT_CHANGES_FOUND;
}

int Import(const char* pszPath, CCommandOutput& output) {
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
    {
        CPlannedImport checked;
        checked.file = planned.file;
        if (!checked.Plan(EXIT_STEP_FAILED, output, &code))
            return code;
    }
    // What an earlier save left undone comes first, so that a rerun of an
    // import that was ended or failed converges.
    bool bPendingDone = FinishPendingSaves(sequence, output);
    if (!planned.Plan(EXIT_STEP_FAILED, output, &code, true)) {
        output.Err("a save that was finished first changed what the file would refuse; "
                   "nothing of the file was written\n");
        return EXIT_STEP_FAILED;
    }
    const CChangeList& changes = planned.changes;
    int wanted = 0, writes = 0, deletes = 0;
    for (const CKeyState& state : planned.plan.states)
        wanted += static_cast<int>(state.values.size());
    for (const CValueChange& change : changes)
        ++(change.bDelete ? deletes : writes);
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
    int written = outcome.bStarted ? writes : 0, deleted = outcome.bStarted ? deletes : 0;
    for (const CFailedChange& failure : outcome.failures)
        --(failure.change.bDelete ? deleted : written);
    summary.Format("written %d, deleted %d, unchanged %d\n", written, deleted, wanted - writes);
    output.Out(summary);
    return bPendingDone && outcome.Complete() ? EXIT_DONE : EXIT_STEP_FAILED;
}

bool IsOption(const char* arg, const char* name) {
    return (arg[0] == '/' || arg[0] == '-') && CString(arg + 1).CompareNoCase(name) == 0;
}
} // namespace

int RunCommandLine(int argc, char** argv) {
    CCommandOutput output;
    // No message box ever shows on the command line.
    CReportingResponder responder(output);
    if (argc >= 1 && (IsOption(argv[0], "?") || IsOption(argv[0], "help"))) {
        output.Out(kUsage);
        return EXIT_DONE;
    }
    if (argc == 1) {
        if (IsOption(argv[0], "history"))
            return ShowHistory(output);
        if (IsOption(argv[0], "undo"))
            return UndoSave(nullptr, output);
        if (IsOption(argv[0], "discard"))
            return DiscardPendingSaves(output);
    }
    if (argc == 2) {
        if (IsOption(argv[0], "undo"))
            return UndoSave(argv[1], output);
        if (IsOption(argv[0], "export"))
            return Export(argv[1], output);
        if (IsOption(argv[0], "check"))
            return Check(argv[1], output);
        if (IsOption(argv[0], "diff"))
            return Diff(argv[1], output);
        if (IsOption(argv[0], "import"))
            return Import(argv[1], output);
    }
    output.Err(kUsage);
    return EXIT_UNUSABLE;
}
