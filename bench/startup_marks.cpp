// The utility's start-up step by step, with a mark after each: the process
// until main, the kit opened (the hot-swap driver found and opened, the
// service control manager, the controller library and its session, the
// system board service's existence), the journal looked at for a save that
// did not finish, the sheet built (its pages, the
// profile, the load of every parameter), and the sheet's window shown with
// its first page.
// Prints "step ms" lines, the time each step took.
//   startup_marks
#include <windows.h>

#include <cstdio>

#include "app/zorvik_app.h"
#include "counting_responder.h"
#include "res/resource.h"
#include "save/save_sequence.h"
#include "sheet/pending_saves.h"
#include "sheet/sheet_save_report.h"
#include "sheet/zorvik_sheet.h"

namespace {
ZorvikApp theApp;

double Now() {
    LARGE_INTEGER frequency, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds since the process was created.
double SinceCreation() {
    FILETIME creation, exit, kernel, user, now;
    ::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user);
    ::GetSystemTimePreciseAsFileTime(&now);
    ULARGE_INTEGER a = {{creation.dwLowDateTime, creation.dwHighDateTime}};
    ULARGE_INTEGER b = {{now.dwLowDateTime, now.dwHighDateTime}};
    return static_cast<double>(b.QuadPart - a.QuadPart) / 10000.0;
}

double g_last = 0;
void Mark(const char* step) {
    double now = Now();
    std::printf("%-28s %6.1f\n", step, now - g_last);
    g_last = now;
}
} // namespace

int main() {
    std::printf("%-28s %6.1f\n", "process until main", SinceCreation());
    g_last = Now();
    CountingResponder responder;
    AfxSetMessageBoxResponder(&responder);
    AfxEnableControlContainer();
    Mark("common controls");
    CKit& kit = theApp.m_kit;
    kit.Open();
    Mark("kit opened, parts found");
    {
        CSheetSaveReport report;
        CSaveSequence sequence(kit, theApp.m_journal, report);
        OfferToFinishPendingSaves(sequence);
    }
    Mark("pending saves looked for");
    ZorvikSheet sheet(kit, theApp.m_journal, IDS_SHEET_CAPTION);
    Mark("sheet built, parameters");
    sheet.Create();
    MSG msg;
    while (!::IsWindowVisible(sheet.m_hWnd) && ::GetMessageA(&msg, nullptr, 0, 0)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    Mark("sheet shown");
    ::DestroyWindow(sheet.m_hWnd);
    kit.Close();
    return 0;
}
