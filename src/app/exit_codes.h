#pragma once
// The command line's exit codes.
constexpr int EXIT_DONE = 0;          // also: nothing would change
constexpr int EXIT_REFUSED = 1;       // values refused, or a save not to be undone
constexpr int EXIT_UNUSABLE = 2;      // bad arguments, or a file or the keys unreadable
constexpr int EXIT_CHANGES_FOUND = 3; // /diff: an import would change values
constexpr int EXIT_STEP_FAILED = 4;   // a step of a save failed, or another save ran on
