#include "pages/miniports/zorvik_mini_list.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "framework/message_box.h"
#include "pages/column_widths.h"
#include "pages/miniports/miniport_ids.h"
#include "res/resource.h"
#include "sys/kit_connections.h"

namespace {
const char* const kColumnHeadings[4] = {"Service", "File", "Description", "Restrictions"};
const UINT kSelectedAndFocused = LVIS_SELECTED | LVIS_FOCUSED;

// The name of a chosen file without its directory and extension.
CString FileTitle(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    const char* dot = std::strrchr(name, '.');
    return CString(std::string(name, dot ? static_cast<size_t>(dot - name) : std::strlen(name)));
}
} // namespace

ZorvikMiniList::ZorvikMiniList()
    : CPropertyPage(IDD_MINIPORTS), m_nColumnWidth{-1, -1, -1, -1}, m_bCopyFile(0) {
    char szSystem[1024] = "";
    ::GetSystemDirectoryA(szSystem, sizeof(szSystem));
    m_strDriversDir = CString(szSystem) + "\\drivers";
}

void ZorvikMiniList::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_MINIPORT_RESTRICTIONS, m_editRestrictions);
    DDX_Control(pDX, IDC_MINIPORT_LIST, m_list);
    DDX_Text(pDX, IDC_MINIPORT_DESCRIPTION, m_strDescription);
    DDX_Text(pDX, IDC_MINIPORT_FILE, m_strFile);
    DDX_Text(pDX, IDC_MINIPORT_SERVICE, m_strServiceName);
    DDX_Text(pDX, IDC_MINIPORT_RESTRICTIONS, m_strRestrictions);
    DDX_Check(pDX, IDC_MINIPORT_COPY_FILE, m_bCopyFile);
}

BOOL ZorvikMiniList::Persist(BOOL bSave) {
    if (bSave)
        SaveColumnWidths("ZorvikMiniList", 1, m_nColumnWidth, 4);
    else
        LoadColumnWidths("ZorvikMiniList", 1, m_nColumnWidth, 4);
    return TRUE;
}

BOOL ZorvikMiniList::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    RECT rc;
    m_list.GetClientRect(&rc);
    int quarter = (rc.right - rc.left) / 4;
    const int defaults[4] = {quarter, quarter, quarter, quarter};
    ApplyDefaultWidths(m_nColumnWidth, defaults, 4);
    for (int i = 0; i < 4; ++i)
        m_list.InsertColumn(i, kColumnHeadings[i], LVCFMT_LEFT, m_nColumnWidth[i]);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    std::snprintf(m_editRestrictions.m_szValidChars, sizeof(m_editRestrictions.m_szValidChars),
                  "%s%s", "0123456789abcdefABCDEF", ", -");
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
        OnMove(true);
        return TRUE;
    case IDC_MINIPORT_MOVE_UP:
        OnMove(false);
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ZorvikMiniList::OnMessage(UINT msg, WPARAM, LPARAM lParam, LRESULT* pResult) {
    if (msg != WM_NOTIFY)
        return FALSE;
    auto* pnmh = reinterpret_cast<NMHDR*>(lParam);
    if (pnmh->idFrom != IDC_MINIPORT_LIST || pnmh->code != NM_CLICK)
        return FALSE;
    ShowSelected(reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem);
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
    // start-up.
    using OpenProc = BOOL(WINAPI*)(OPENFILENAMEA*);
    HMODULE hDialogs = ::LoadLibraryA("comdlg32.dll");
    auto pfnOpen = hDialogs ? reinterpret_cast<OpenProc>(reinterpret_cast<void (*)()>(
                                  ::GetProcAddress(hDialogs, "GetOpenFileNameA")))
                            : nullptr;
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
    if (!GetKitConnections()->m_ServiceControl.Exists(name))
        return;
    SetDlgItemText(IDC_MINIPORT_FILE, GetServiceImagePath(name));
    SetDlgItemText(IDC_MINIPORT_DESCRIPTION, GetServiceDisplayName(name));
}

void ZorvikMiniList::OnAddUpdate() {
    UpdateData(TRUE);
    POSITION pos = m_miniports.FindByService(m_strServiceName);
    CMiniportRecord record;
    record.SetServiceName(m_strServiceName, nullptr);
    record.SetDescription(m_strDescription);
    record.SetFile(m_strFile);
    record.m_bCopyFile = m_bCopyFile;
    record.SetRestrictions(m_strRestrictions);
    if (pos)
        m_miniports.SetAt(pos, record);
    else
        m_miniports.AddTail(record);
    RefreshList();
    SetModified(TRUE);
}

POSITION ZorvikMiniList::SelectedRecord(int* pnItem) const {
    int nItem = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (pnItem)
        *pnItem = nItem;
    return nItem < 0 ? nullptr : reinterpret_cast<POSITION>(m_list.GetItemData(nItem));
}

void ZorvikMiniList::OnRemove() {
    POSITION pos = SelectedRecord(nullptr);
    if (!pos)
        return;
    m_miniports.RemoveAt(pos);
    RefreshList();
    SetModified(TRUE);
}

void ZorvikMiniList::OnMove(bool bDown) {
    int nItem = -1;
    POSITION pos = SelectedRecord(&nItem);
    if (!pos) {
        AfxMessageBeep(0xFFFFFFFF);
        return;
    }
    POSITION neighbour = pos;
    if (bDown)
        m_miniports.GetNext(neighbour);
    else
        m_miniports.GetPrev(neighbour);
    if (!neighbour)
        return;
    CMiniportRecord record = m_miniports.GetAt(pos);
    if (bDown)
        m_miniports.InsertAfter(neighbour, record);
    else
        m_miniports.InsertBefore(neighbour, record);
    m_miniports.RemoveAt(pos);

    UINT state = m_list.GetItemState(nItem, kSelectedAndFocused);
    m_list.SetItemState(nItem, 0, kSelectedAndFocused);
    m_list.SetItemState(bDown ? nItem + 1 : nItem - 1, state, kSelectedAndFocused);
    SetModified(TRUE);
    RefreshList();
}

void ZorvikMiniList::RefreshList() {
    if (!m_list.m_hWnd)
        return;
    int nSelected = m_list.GetNextItem(-1, LVNI_SELECTED);
    m_list.DeleteAllItems();
    int nCount = 0;
    for (POSITION pos = m_miniports.GetHeadPosition(); pos;) {
        POSITION node = pos;
        const CMiniportRecord& record = m_miniports.GetNext(pos);
        m_list.InsertItem(nCount, record.m_strServiceName, reinterpret_cast<LPARAM>(node));
        m_list.SetItemText(nCount, 1, record.m_strFile);
        m_list.SetItemText(nCount, 2, record.m_strDescription);
        m_list.SetItemText(nCount, 3, record.m_strRestrictions);
        ++nCount;
    }
    if (nSelected < 0)
        return;
    if (nSelected >= nCount)
        nSelected = nCount - 1;
    if (nSelected >= 0)
        m_list.SetItemState(nSelected, LVIS_SELECTED, LVIS_SELECTED);
    ShowSelected(nSelected);
}

void ZorvikMiniList::ShowSelected(int nItem) {
    // Without a record the fields keep what the user may have typed.
    if (nItem < 0 || nItem >= m_list.GetItemCount() || m_miniports.IsEmpty())
        return;
    auto pos = reinterpret_cast<POSITION>(m_list.GetItemData(nItem));
    if (!pos)
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
