#pragma once
// The files of kernel drivers: where the system keeps them, and copying one
// there.
#include <windows.h>

#include "framework/cstring.h"

// The system's drivers directory, "<system directory>\drivers".
CString DriversDirectory();
// "<name><ext>" of a path: what follows its drive and last directory.
const char* FileNameOf(const char* path);

enum class FileCopyCheck {
    SameFile,  // the file is already the one in the directory
    Missing,   // the directory has no file of that name
    Identical, // it has one with the same bytes
    Different, // it has another file of that name
    Unreadable // one of the two cannot be read
};
// What copying the file into the directory would meet there.
FileCopyCheck CheckFileCopy(const char* file, const CString& directory);

// Copies the file into the directory through the shell, replacing a file of
// the same name without asking (the caller has asked). 0, or the shell's
// error.
int CopyFileInto(const char* file, const CString& directory);
