// The save: writing the parameters and telling the drivers and the system
// board service to take them up.
#include "framework/message_box.h"
#include "framework/wnd.h"
#include "res/resource.h"
#include "store/list_store.h"
#include "store/miniport_install.h"
#include "store/parameter_store.h"
#include "sys/kit.h"

namespace {
const DWORD kRestartPauseMs = 2000;
// The failures a report names one by one; the rest are counted.
const size_t kFailuresNamed = 10;

// The error of the restart's start when the service is left not running;
// 0 when it runs again, was not running, or never stopped (a refused stop
// goes unreported).
DWORD RestartSystemBoardServiceIfRunning(CServiceControl& services) {
    DWORD state = 0;
    if (services.QueryState(SYSTEM_BOARD_SERVICE, &state) != 0 || state != SERVICE_RUNNING)
        return 0;
    CWnd::BeginWaitCursor();
    services.Stop(SYSTEM_BOARD_SERVICE);
    ::Sleep(kRestartPauseMs);
    DWORD error = services.Start(SYSTEM_BOARD_SERVICE);
    CWnd::EndWaitCursor();
    if (error != 0 && services.QueryState(SYSTEM_BOARD_SERVICE, &state) == 0 &&
        (state == SERVICE_RUNNING || state == SERVICE_START_PENDING))
        return 0;
    return error;
}

// Every value that could not be written or deleted, by key and name, with
// the system's reason.
void ReportFailures(const std::vector<CFailedChange>& failures) {
    CString lines;
    for (size_t i = 0; i < failures.size() && i < kFailuresNamed; ++i) {
        const CValueChange& change = failures[i].change;
        const char* name = change.value.m_strName.IsEmpty()
                               ? "(Default)"
                               : static_cast<const char*>(change.value.m_strName);
        CString line;
        line.Format("HKEY_LOCAL_MACHINE\\%s\\%s%s: %s\n", ParameterKeyPath(change.key), name,
                    change.bDelete ? " (to be deleted)" : "",
                    static_cast<const char*>(GetErrorText(static_cast<DWORD>(failures[i].lError))));
        lines += line;
    }
    if (failures.size() > kFailuresNamed) {
        CString more;
        more.Format("and %d more\n", static_cast<int>(failures.size() - kFailuresNamed));
        lines += more;
    }
    AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_VALUES_NOT_SAVED, static_cast<const char*>(lines));
}
} // namespace

BOOL CParameterStore::Save(const CParameterData& data, CKit& kit, bool bTellController,
                           size_t* pnChangedElsewhere) {
    bool bController = kit.m_controller.IsAvailable() != FALSE;
    bool bService = kit.m_services.Exists(SYSTEM_BOARD_SERVICE) != FALSE;
    CPlan plan = Plan(data, bController, bService);
    // The hot-swap driver takes at most 256 bytes of miniport names. A save
    // that would store more is refused before anything is written, rather
    // than store a cut list; one that keeps "Miniports" as it is goes on.
    const std::string& names = plan.next.miniportNames;
    if (names != m_snapshot.miniportNames && names.size() > MINIPORTS_VALUE_LIMIT) {
        AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_MINIPORTS_TOO_LONG,
                            static_cast<int>(names.size()));
        return FALSE;
    }
    CChangeList changes = Diff(plan);
    CSteps steps;
    if (!RunSteps(changes, &data.miniports, kit, bTellController, &steps))
        return FALSE;
    Commit(steps.failures, std::move(plan.next));
    if (pnChangedElsewhere)
        *pnChangedElsewhere = steps.nChangedElsewhere;
    return steps.failures.empty() && steps.bInstalled;
}

BOOL CParameterStore::SaveChanges(const CChangeList& changes, CKit& kit, bool bTellController,
                                  std::vector<CFailedChange>* pFailures) {
    CSteps steps;
    if (!RunSteps(changes, nullptr, kit, bTellController, &steps))
        return FALSE;
    if (pFailures)
        *pFailures = steps.failures;
    return steps.failures.empty();
}

BOOL CParameterStore::RunSteps(const CChangeList& changes, CMiniportList* pMiniports, CKit& kit,
                               bool bTellController, CSteps* pSteps) {
    if (!OpenKeys()) {
        AfxMessageBox("Cannot open registry for write", MB_ICONSTOP | MB_OK);
        return FALSE;
    }
    pSteps->nChangedElsewhere = CountChangedElsewhere();
    // The miniports are installed once the save is sure to go ahead, before
    // any value names them to the driver.
    if (pMiniports)
        pSteps->bInstalled = InstallMiniports(*pMiniports, kit.m_services);
    pSteps->failures = Apply(changes);
    NoteWriteTimes(changes);

    // What was written is in effect: the drivers are told even when some
    // values could not be written.
    DWORD restartError = 0;
    if (kit.m_services.Exists(SYSTEM_BOARD_SERVICE))
        restartError = RestartSystemBoardServiceIfRunning(kit.m_services);
    if (kit.m_driver.UpdateParameters() != 0)
        AfxMessageBox(IDS_CANNOT_UPDATE_DRIVER, MB_ICONSTOP | MB_OK);
    // The request goes through a session of its own; a session that cannot
    // be opened is the failed availability test, and nothing is sent.
    if (bTellController)
        kit.m_controller.SendUpdateParameters();
    CloseKeys();

    if (!pSteps->failures.empty())
        ReportFailures(pSteps->failures);
    if (restartError != 0)
        AfxFormatMessageBox(MB_ICONSTOP | MB_OK, IDS_SERVICE_NOT_RESTARTED, SYSTEM_BOARD_SERVICE,
                            static_cast<const char*>(GetErrorText(restartError)));
    return TRUE;
}
