// Times the save of the utility's parameters, run as Apply runs it, with the
// system board service stopped so that its restart pause is not counted.
//   save_timer [runs]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "app/zorvik_app.h"
#include "counting_responder.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "sheet/zorvik_sheet.h"

namespace {
ZorvikApp theApp;
} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    CountingResponder responder;
    AfxSetMessageBoxResponder(&responder);
    theApp.m_kit.Open();
    DWORD state = 0;
    if (theApp.m_kit.m_services.QueryState("moravik", &state) == 0 && state == SERVICE_RUNNING) {
        std::fprintf(stderr, "stop the moravik service first: its restart pauses 2000 ms\n");
        return 2;
    }
    ZorvikSheet sheet(theApp.m_kit, theApp.m_journal, IDS_SHEET_CAPTION);
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < runs; ++i) {
        ::QueryPerformanceCounter(&start);
        sheet.SaveWithWaitCursor();
        ::QueryPerformanceCounter(&end);
        std::printf("%.2f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                                  static_cast<double>(frequency.QuadPart));
    }
    theApp.m_kit.Close();
    return responder.messages == 0 ? 0 : 1;
}
