#include "app/command_line.h"

#include "app/command_output.h"
#include "app/exit_codes.h"
#include "app/file_commands.h"
#include "app/journal_commands.h"
#include "framework/message_box.h"

namespace {
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
            return ExportKeys(argv[1], output);
        if (IsOption(argv[0], "check"))
            return CheckFile(argv[1], output);
        if (IsOption(argv[0], "diff"))
            return DiffFile(argv[1], output);
        if (IsOption(argv[0], "import"))
            return ImportFile(argv[1], output);
    }
    output.Err(kUsage);
    return EXIT_UNUSABLE;
}
