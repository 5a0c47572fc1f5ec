#pragma once
// The command line's part in the save journal: a pending save shown by
// /diff and finished by /import before its own changes, pending saves
// discarded, the history of saves, and a save undone.
#include "app/command_output.h"

class CSaveSequence;

// A line per remaining step of each pending save; the number of pending
// saves that could be finished. Nothing while another save runs.
int ShowPendingSaves(CCommandOutput& output);
// With the save lock held: each pending save finished, oldest first; false
// when a step of one is still not done.
bool FinishPendingSaves(CSaveSequence& sequence, CCommandOutput& output);

int DiscardPendingSaves(CCommandOutput& output);
int ShowHistory(CCommandOutput& output);
// The save of that id, or the latest complete one when it is null.
int UndoSave(const char* pszId, CCommandOutput& output);
