#include "app/command_file.h"
#include "app/exit_codes.h"
#include "app/file_commands.h"

int CheckFile(const char* pszPath, CCommandOutput& output) {
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
