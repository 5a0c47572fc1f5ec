#pragma once
// The command line's commands on the parameter keys and a registry editor
// file: /export writes the keys to a file; /check checks a file's values as
// the pages check what is typed; /diff and /import share their plan of what
// a file changes on this machine. Each returns the exit code.
#include "app/command_output.h"

int ExportKeys(const char* pszPath, CCommandOutput& output);
int CheckFile(const char* pszPath, CCommandOutput& output);
int DiffFile(const char* pszPath, CCommandOutput& output);
int ImportFile(const char* pszPath, CCommandOutput& output);
