#pragma once
// At start, before the sheet loads: a save that did not finish (the program
// was ended in the middle, or a step failed) is offered to be finished.
class CSaveSequence;

// Asks of each pending save, newest first, whether to finish it (Yes),
// discard it (No) or leave it for next time (Cancel). A record that someone
// other than an administrator could have written is told of and left.
// Nothing is asked while another save runs.
void OfferToFinishPendingSaves(CSaveSequence& sequence);
