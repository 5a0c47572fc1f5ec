#include "app/command_line.h"

#include "app/command_output.h"
#include "app/parameter_file.h"
#include "app/regedit_encoding.h"
#include "framework/handle.h"
#include "framework/message_box.h"
#include "model/multi_string.h"
#include "res/resource.h"
#include "sys/kit.h"

namespace {
const char kMachine[] = "HKEY_LOCAL_MACHINE\\";
// Values are shown cut to this many characters in a change line.
const int kShownLength = 60;

const char kUsage[] =
    "Usage: mirandelcfg [/export FILE | /check FILE | /diff FILE | /import FILE | /?]\n"
    "Without arguments the configuration sheet opens.\n"
    "\n"
    "  /export FILE  write every value of the eight parameter keys to FILE, a\n"
    "                registry editor file (Version 5.00)\n"
    "  /check FILE   check the values FILE gives the parameter keys\n"
    "  /diff FILE    check, then show what /import would change\n"
    "  /import FILE  check, then make the keys FILE names hold its values, and\n"
    "                tell the drivers\n"
    "\n"
    "Exit codes: 0 done (nothing to change), 1 values refused, 2 bad arguments\n"
    "or file or keys unreadable, 3 /diff found changes, 4 a step of /import failed.\n";

// Every message the save shows reports a step that failed: it goes to the
// error output, and a question is answered No, as nobody is there to answer.
class CReportingResponder : public CMessageBoxResponder {
public:
    explicit CReportingResponder(CCommandOutput& output) : m_output(output) {
        AfxSetMessageBoxResponder(this);
    }
    ~CReportingResponder() override { AfxSetMessageBoxResponder(nullptr); }

    int Answer(UINT, const char* text, const char*, UINT nType) override {
        m_output.Err(CString(text) + "\n");
        m_bFailed = true;
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

    bool m_bFailed = false;

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
CString Shown(const CRegistryValue& value) {
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

CString ValuePath(ParameterKey key, const CString& name) {
    return CString(kMachine) + ParameterKeyPath(key) + "\\" + (name.IsEmpty() ? "@" : name);
}

// Reads and checks the file and tells what it refuses and passes over;
// false, with the exit code, when the command ends there.
bool ReadCheckedFile(const char* pszPath, CCommandOutput& output, CParameterFile* pFile,
                     int* pnExitCode) {
    CString error;
    if (!ReadParameterFile(pszPath, pFile, &error)) {
        output.Err(error + "\n");
        *pnExitCode = EXIT_UNUSABLE;
        return false;
    }
    for (const CString& line : pFile->ignored)
        output.Out(line + "\n");
    for (const CString& line : pFile->refusals)
        output.Out(line + "\n");
    *pnExitCode = pFile->refusals.empty() ? EXIT_DONE : EXIT_REFUSED;
    return pFile->refusals.empty();
}

int Export(const char* pszPath, CCommandOutput& output) {
    CParameterStore store;
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
            fileKey.values.push_back(RegFileValueOf(value));
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
    ReadCheckedFile(pszPath, output, &file, &code);
    if (code == EXIT_UNUSABLE)
        return code;
    CString summary;
    if (code == EXIT_DONE)
        summary.Format("%s: %d values checked, none refused\n", pszPath, file.valueCount);
    else
        summary.Format("%s: %d refused\n", pszPath, static_cast<int>(file.refusals.size()));
    output.Out(summary);
    return code;
}

// The checked file and what importing it would change.
struct CPlannedImport {
    CParameterFile file;
    CParameterStore store;
    CChangeList changes;

    // False, with the exit code (nFailedRead when the keys cannot be read),
    // when the command ends there.
    bool Plan(const char* pszPath, CCommandOutput& output, int nFailedRead, int* pnExitCode) {
        if (!ReadCheckedFile(pszPath, output, &file, pnExitCode))
            return false;
        if (!store.ReadBase()) {
            output.Err("cannot read the parameter keys\n");
            *pnExitCode = nFailedRead;
            return false;
        }
        changes = store.ChangesTo(file.states);
        return true;
    }
};

int Diff(const char* pszPath, CCommandOutput& output) {
    CPlannedImport planned;
    int code = EXIT_DONE;
    if (!planned.Plan(pszPath, output, EXIT_UNUSABLE, &code))
        return code;
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
    if (changes.empty())
        output.Out("nothing to change\n");
    return changes.empty() ? EXIT_DONE : EXIT_CHANGES_FOUND;
}

int Import(const char* pszPath, CCommandOutput& output, CReportingResponder& responder) {
    CPlannedImport planned;
    int code = EXIT_DONE;
    if (!planned.Plan(pszPath, output, EXIT_STEP_FAILED, &code))
        return code;
    const CChangeList& changes = planned.changes;
    int wanted = 0, writes = 0, deletes = 0;
    for (const CKeyState& state : planned.file.states)
        wanted += static_cast<int>(state.values.size());
    for (const CValueChange& change : changes)
        ++(change.bDelete ? deletes : writes);
    CString summary;
    if (changes.empty()) {
        // Nothing is written and no driver is told.
        summary.Format("nothing to change (%d values unchanged)\n", wanted);
        output.Out(summary);
        return EXIT_DONE;
    }

    CKit kit;
    if (kit.Open() != 0)
        AfxMessageBox(IDS_CANNOT_OPEN_DRIVER, MB_ICONSTOP | MB_OK);
    // A file names the miniports' services only, not their driver files:
    // installing one is the sheet's, and this save installs nothing.
    std::vector<CFailedChange> failures;
    BOOL saved =
        planned.store.SaveChanges(changes, kit, kit.m_bControllerAvailable, &failures);
    int written = writes, deleted = deletes;
    if (!saved && failures.empty())
        written = deleted = 0; // the keys could not be opened
    for (const CFailedChange& failure : failures)
        --(failure.change.bDelete ? deleted : written);
    summary.Format("written %d, deleted %d, unchanged %d\n", written, deleted, wanted - writes);
    output.Out(summary);
    return responder.m_bFailed || !saved ? EXIT_STEP_FAILED : EXIT_DONE;
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
    if (argc == 2) {
        if (IsOption(argv[0], "export"))
            return Export(argv[1], output);
        if (IsOption(argv[0], "check"))
            return Check(argv[1], output);
        if (IsOption(argv[0], "diff"))
            return Diff(argv[1], output);
        if (IsOption(argv[0], "import"))
            return Import(argv[1], output, responder);
    }
    output.Err(kUsage);
    return EXIT_UNUSABLE;
}
