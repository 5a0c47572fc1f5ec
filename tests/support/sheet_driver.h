#pragma once
// Helpers that drive the real sheet and its pages in-process, as a user's
// clicks and keystrokes would.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CPropertySheet;

// Dispatches every message waiting for this thread (posted notifications,
// timers that are due).
void PumpMessages();
// Dispatches messages for about the given time.
void PumpMessagesFor(DWORD milliseconds);

bool IsApplyEnabled(HWND sheet);
// Makes the page with the given index the active one through the tab control.
void SelectPage(HWND sheet, int index);
// Types text into an edit (raising EN_CHANGE as typing does) or clicks a button.
void TypeText(HWND page, int id, const char* text);
void Click(HWND page, int id);
int GetCheck(HWND page, int id);
bool IsEnabled(HWND page, int id);
std::string ItemText(HWND page, int id);
// List views: rows, cell texts, the selected rows, and a click with the
// mouse on a row (-1: on the empty space below the rows); a double click is
// the click, then the second one.
int ListRowCount(HWND page, int id);
std::string ListText(HWND page, int id, int row, int column);
std::vector<int> SelectedRows(HWND page, int id);
void ClickListRow(HWND page, int id, int row, bool doubleClick = false);
// Presses a button of the sheet (IDOK, IDCANCEL, ID_APPLY_NOW, Reload).
void PressSheetButton(HWND sheet, int id);
// True once comctl32 has ended a modeless sheet (it has no current page).
bool SheetEnded(HWND sheet);

// Runs the script from inside a modal loop that starts on this thread (for
// example the one of DoModal), once the sheet with the given caption exists.
void RunInModalLoop(const char* caption, std::function<void(HWND)> script);
