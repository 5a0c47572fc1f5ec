// Loading the parameters into the pages, and saving them.
#include "save/save_sequence.h"
#include "sheet/sheet_save_report.h"
#include "sheet/zorvik_sheet.h"
#include "sys/kit.h"

namespace {
// Where a save of the sheet comes from: the sheet and its user.
CString SheetSource() {
    char user[257] = "";
    DWORD size = sizeof(user);
    if (!::GetUserNameA(user, &size))
        user[0] = '\0';
    return CString("the configuration sheet, user ") + user;
}
} // namespace

CParameterData ZorvikSheet::PageData() {
    return CParameterData{
        m_Misc,   m_Eq.m_slots, m_Res.m_bridges, m_DevRes.m_requirements, m_MiniList.m_miniports,
        m_Vardek, m_Moravik};
}

BOOL ZorvikSheet::LoadParameters() {
    m_locations.Forget();
    return m_store.Load(PageData(), m_locations);
}

BOOL ZorvikSheet::SaveParameters() {
    CSheetSaveReport report;
    report.m_nWaitSeconds = static_cast<int>(m_dwSaveWaitMs / 1000);
    CSaveSequence sequence(m_kit, m_journal, report);
    sequence.m_dwLockWaitMs = m_dwSaveWaitMs;
    sequence.m_nStopAfter = m_nStopSaveAfter;
    CSaveOutcome outcome =
        sequence.SaveData(m_store, PageData(), m_Vardek.m_bPresent != 0, SheetSource());
    m_nChangedElsewhere = outcome.nChangedElsewhere;
    // A failed restart or driver notification leaves the save pending in
    // the journal, but what the pages hold is stored.
    return outcome.bStarted && !outcome.bStopped && outcome.failures.empty() && outcome.bInstalled;
}
