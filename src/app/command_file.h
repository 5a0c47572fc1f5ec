#pragma once
// A parameter file as the command line's commands take it: read, with the
// keys it passes over told, and its refusals told.
#include "app/command_output.h"
#include "app/parameter_file.h"

// Reads the file and tells which keys it passes over; false, with the exit
// code, when the command ends there: the file cannot be read, or names
// none of the utility's keys.
bool ReadCommandFile(const char* pszPath, CCommandOutput& output, CParameterFile* pFile,
                     int* pnExitCode);
// Tells what the plan refuses (unless pOutput is null); false, with the
// exit code, when it refuses anything.
bool Accepted(const CFilePlan& plan, CCommandOutput* pOutput, int* pnExitCode);
