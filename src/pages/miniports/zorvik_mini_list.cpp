#include "pages/miniports/zorvik_mini_list.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "framework/handle.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "sys/driver_files.h"
#include "sys/service_control.h"

namespace {
const char* const kColumnHeadings[4] = {"Service", "File", "Description", "Restrictions"};

// The name of a chosen file without its directory and extension.
CString FileTitle(const char* path) {
    const char* name = FileNameOf(path);
    const char* dot = std::strrchr(name, '.');
    return CString(std::string(name, dot ? static_cast<size_t>(dot - name) : std::strlen(name)));
}
} // namespace

ZorvikMiniList::ZorvikMiniList(CServiceControl& services)
    : CListPage(IDD_MINIPORTS), m_bCopyFile(0), m_strDriversDir(DriversDirectory()),
      m_services(services), m_rows(m_miniports, 4) {}

void ZorvikMiniList::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_MINIPORT_RESTRICTIONS, m_editRestrictions);
    DDX_Control(pDX, IDC_MINIPORT_LIST, m_rows.m_list);
    DDX_Text(pDX, IDC_MINIPORT_DESCRIPTION, m_strDescription);
    DDX_Text(pDX, IDC_MINIPORT_FILE, m_strFile);
    DDX_Text(pDX, IDC_MINIPORT_SERVICE, m_strServiceName);
    DDX_Text(pDX, IDC_MINIPORT_RESTRICTIONS, m_strRestrictions);
    DDX_Check(pDX, IDC_MINIPORT_COPY_FILE, m_bCopyFile);
}

BOOL ZorvikMiniList::Persist(BOOL bSave) {
    // The widths as the page was given or defaulted them, as the page's
    // profile has always kept them.
    m_rows.PersistWidths(bSave, "ZorvikMiniList", 1, false, true);
    return TRUE;
}

BOOL ZorvikMiniList::OnInitDialog() {
    CListPage::OnInitDialog();
    int quarter = m_rows.ClientWidth() / 4;
    const int defaults[4] = {quarter, quarter, quarter, quarter};
    m_rows.CreateColumns(defaults, kColumnHeadings);
    std::snprintf(m_editRestrictions.m_szValidChars, sizeof(m_editRestrictions.m_szValidChars),
                  "%s", MINIPORT_RESTRICTION_CHARS);
    RefreshList();
    return TRUE;
}

BOOL ZorvikMiniList::OnCommand(UINT nID, UINT nCode) {
    if (nID == IDC_MINIPORT_SERVICE && nCode == EN_CHANGE) {
        OnChangeServiceName();
        return TRUE;
    }
    if (nCode != BN_CLICKED)
        return FALSE;
    switch (nID) {
    case IDC_MINIPORT_BROWSE:
        OnBrowse();
        return TRUE;
    case IDC_MINIPORT_ADD_UPDATE:
        OnAddUpdate();
        return TRUE;
    case IDC_MINIPORT_REMOVE:
        OnRemove();
        return TRUE;
    case IDC_MINIPORT_MOVE_DOWN:
        MoveSelected(m_rows, true);
        return TRUE;
    case IDC_MINIPORT_MOVE_UP:
        MoveSelected(m_rows, false);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ZorvikMiniList::OnMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
    int nRow = -1;
    if (msg != WM_NOTIFY || !m_rows.RowToShow(reinterpret_cast<NMHDR*>(lParam), &nRow))
        return FALSE;
    ShowSelected(nRow);
    *pResult = 0;
    return TRUE;
}

void ZorvikMiniList::OnBrowse() {
    char szFile[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = "Drivers(*.sys)\0*.sys\0All files(*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof(szFile);
    ofn.lpstrInitialDir = m_strDriversDir;
    ofn.lpstrTitle = "Browse for miniport";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER;
    // The dialog opens where the drivers are; the directory stays current.
    ::SetCurrentDirectoryA(m_strDriversDir);
    // The common dialogs are loaded on first use, which keeps them out of
    // start-up, and kept until the program ends.
    using OpenProc = BOOL(WINAPI*)(OPENFILENAMEA*);
    static CModule dialogs(::LoadLibraryA("comdlg32.dll"));
    auto pfnOpen = GetEntry<OpenProc>(dialogs, "GetOpenFileNameA");
    if (!pfnOpen || !pfnOpen(&ofn))
        return;

    CString title = FileTitle(szFile);
    SetDlgItemText(IDC_MINIPORT_SERVICE, title); // looks the service up
    if (*GetServiceImagePath(title) == '\0')
        SetDlgItemText(IDC_MINIPORT_FILE, szFile);
    else
        OnChangeServiceName();
}

void ZorvikMiniList::OnChangeServiceName() {
    CString name = GetDlgItemText(IDC_MINIPORT_SERVICE);
    if (!m_services.Exists(name))
        return;
    SetDlgItemText(IDC_MINIPORT_FILE, GetServiceImagePath(name));
    SetDlgItemText(IDC_MINIPORT_DESCRIPTION, GetServiceDisplayName(name));
}

void ZorvikMiniList::OnAddUpdate() {
    UpdateData(TRUE);
    CMiniportRecord record;
    record.SetServiceName(m_strServiceName);
    // A miniport is its service: without a name it could not be installed
    // nor named in "Miniports".
    if (!record.NamesService()) {
        AfxMessageBeep(0xFFFFFFFF);
        AfxMessageBox(IDS_MINIPORT_SERVICE_EMPTY, MB_OK | MB_ICONSTOP);
        GotoDlgCtrl(IDC_MINIPORT_SERVICE);
        return;
    }
    POSITION pos = m_miniports.FindByService(m_strServiceName);
    record.SetDescription(m_strDescription);
    record.SetFile(m_strFile);
    record.m_bCopyFile = m_bCopyFile;
    record.SetRestrictions(m_strRestrictions);
    // Installed at the next save, and only then.
    record.m_bInstall = 1;
    if (pos)
        m_miniports.SetAt(pos, record);
    else
        pos = m_miniports.AddTail(record);
    RecordsChanged();
    // The fields and the selection show the record just added or replaced.
    ShowSelected(m_rows.SelectRecord(pos));
}

void ZorvikMiniList::OnRemove() { RemoveSelected(m_rows); }

void ZorvikMiniList::RefreshList() {
    if (!m_rows.m_list.m_hWnd)
        return;
    int nSelected = m_rows.Refill([](const CMiniportRecord& record, CString* pTexts) {
        pTexts[0] = record.m_strServiceName;
        pTexts[1] = record.m_strFile;
        pTexts[2] = record.m_strDescription;
        pTexts[3] = record.m_strRestrictions;
    });
    if (nSelected < 0)
        return;
    int nCount = m_rows.GetRowCount();
    if (nSelected >= nCount)
        nSelected = nCount - 1;
    if (nSelected >= 0)
        m_rows.SelectRow(nSelected, LVIS_SELECTED);
    ShowSelected(nSelected);
}

void ZorvikMiniList::ShowSelected(int nItem) {
    // Without a record the fields keep what the user may have typed.
    POSITION pos = m_rows.GetRowRecord(nItem);
    if (!pos || m_miniports.IsEmpty())
        return;
    const CMiniportRecord& record = m_miniports.GetAt(pos);
    m_strServiceName = record.m_strServiceName;
    m_strDescription = record.m_strDescription;
    m_strFile = record.m_strFile;
    m_bCopyFile = record.m_bCopyFile;
    m_strRestrictions = record.m_strRestrictions;
    // The fill raises no lookup: the record's own file and description stay.
    UpdateData(FALSE);
}
