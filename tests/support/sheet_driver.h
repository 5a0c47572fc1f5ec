#pragma once
// Helpers that drive the real sheet and its pages in-process, as a user's
// clicks and keystrokes would.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/scripted_responder.h"

using Texts = std::vector<std::string>;

// Dispatches waiting messages (posted ones, due timers), or for a time.
void PumpMessages();
void PumpMessagesFor(DWORD milliseconds);

bool IsApplyEnabled(HWND sheet);
// Makes the page with the given index the active one through the tab control.
void SelectPage(HWND sheet, int index);
// Types into an edit (raising EN_CHANGE as typing does), or types texts
// separated by "|" into the first of the edits; clicks one or more buttons.
void TypeText(HWND page, int id, const char* text);
void TypeTexts(HWND page, const std::vector<int>& ids, const std::string& texts);
void Click(HWND page, int id);
void Click(HWND page, const std::vector<int>& ids);
int GetCheck(HWND page, int id);
bool IsEnabled(HWND page, int id);
std::string ItemText(HWND page, int id);
// The items' texts joined by "|"; '1' or '0' for each enabled, or checked.
std::string ItemTexts(HWND page, const std::vector<int>& ids);
std::string Enabled(HWND page, const std::vector<int>& ids);
std::string Checked(HWND page, const std::vector<int>& ids);
// A list view's rows (the cells of each, or of its first columns, joined by
// "|"), its first selected row (-1: none), a column's width; a click, or a
// double click, with the mouse on a row (-1: on the empty space below).
std::vector<std::string> ListRows(HWND page, int id, int columns = 99);
int SelectedRow(HWND page, int id);
int ColumnWidth(HWND page, int id, int column);
void ClickListRow(HWND page, int id, int row, bool doubleClick = false);
// Presses a key in the window that has the focus, through the sheet's dialog
// manager as the message loop of a modeless sheet does.
void PressKey(HWND sheet, UINT key);
// Presses a button of the sheet (IDOK, IDCANCEL, ID_APPLY_NOW, Reload).
void PressSheetButton(HWND sheet, int id);
// True once comctl32 has ended a modeless sheet (it has no current page).
bool SheetEnded(HWND sheet);
// The string ids of the messages asked so far, in their order.
std::string AskedIds(const ScriptedResponder& responder);

// Runs the script from inside a modal loop that starts on this thread (the
// sheet's, a common dialog's) once a window of the given caption exists.
void RunInModalLoop(const char* caption, std::function<void(HWND)> script);
