#include "app/command_file.h"

#include "app/exit_codes.h"

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

bool Accepted(const CFilePlan& plan, CCommandOutput* pOutput, int* pnExitCode) {
    for (const CString& line : plan.refusals)
        if (pOutput)
            pOutput->Out(line + "\n");
    *pnExitCode = plan.refusals.empty() ? EXIT_DONE : EXIT_REFUSED;
    return plan.refusals.empty();
}
