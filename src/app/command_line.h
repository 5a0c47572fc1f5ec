#pragma once
// The command line, for administrators of many machines: the parameter keys
// exported to a registry editor file, and such a file checked, compared with
// the keys, or imported through the sheet's own save. It shows no window and
// no message box; it writes to its caller (app/command_output.h) and ends
// with an exit code.

// Exit codes.
constexpr int EXIT_DONE = 0;          // also: nothing would change
constexpr int EXIT_REFUSED = 1;       // the file holds values the utility refuses
constexpr int EXIT_UNUSABLE = 2;      // bad arguments, or a file or the keys unreadable
constexpr int EXIT_CHANGES_FOUND = 3; // /diff: an import would change values
constexpr int EXIT_STEP_FAILED = 4;   // /import: a step of the save failed

// Runs the command the arguments give (the program's name left out).
int RunCommandLine(int argc, char** argv);
