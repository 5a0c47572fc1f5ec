#pragma once
// The command line, for administrators of many machines: the parameter keys
// exported to a registry editor file, and such a file checked, compared with
// the keys, or imported through the sheet's own save; and the save journal's
// history, undo and saves that did not finish. It shows no window and
// no message box; it writes to its caller (app/command_output.h) and ends
// with an exit code (app/exit_codes.h).

// Runs the command the arguments give (the program's name left out).
int RunCommandLine(int argc, char** argv);
