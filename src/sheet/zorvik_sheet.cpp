#include "sheet/zorvik_sheet.h"

#include "framework/app.h"
#include "framework/message_box.h"
#include "res/resource.h"
#include "sys/kit.h"

ZorvikSheet::ZorvikSheet(CKit& kit, CSaveJournal& journal, UINT nIDCaption, CWnd* pParentWnd,
                         UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage), m_kit(kit), m_journal(journal),
      m_bApplyCancelled(FALSE), m_bUpdateConfirmed(FALSE), m_locations(kit.m_driver),
      m_Eq(kit.m_driver, m_locations), m_Res(kit.m_driver, m_locations, kit.m_controller),
      m_MiniList(kit.m_services), m_Moravik(kit.m_services), m_About(IDD_ABOUTBOX) {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);

    // Column widths (and the bridge page's entry mode) come from the user's
    // profile before the pages exist.
    m_Eq.Persist(FALSE);
    AddPage(&m_Eq);
    m_Res.Persist(FALSE);
    AddPage(&m_Res);
    m_DevRes.Persist(FALSE);
    AddPage(&m_DevRes);
    AddPage(&m_Misc);
    m_MiniList.Persist(FALSE);
    AddPage(&m_MiniList);
    if (m_kit.m_bControllerAvailable) {
        m_Vardek.m_bPresent = 1;
        AddPage(&m_Vardek);
    } else {
        m_Vardek.m_bPresent = 0;
    }
    if (m_kit.m_bSystemBoardService)
        AddPage(&m_Moravik);
    AddPage(&m_About);

    LoadWithWaitCursor();
}

BOOL ZorvikSheet::LoadWithWaitCursor() {
    BeginWaitCursor();
    BOOL result = LoadParameters();
    EndWaitCursor();
    return result;
}

BOOL ZorvikSheet::SaveWithWaitCursor() {
    BeginWaitCursor();
    BOOL saved = SaveParameters();
    EndWaitCursor();
    return saved;
}

BOOL ZorvikSheet::UpdateAllPagesFromControls() {
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* page = GetPage(i);
        if (page->m_hWnd && !page->UpdateData(TRUE)) {
            if (GetActivePage() != page)
                SetActivePage(page);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL ZorvikSheet::OnInitDialog() {
    CPropertySheet::OnInitDialog();

    if (HMENU hSysMenu = GetSystemMenu(FALSE)) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            ::AppendMenuA(hSysMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(hSysMenu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    // The row reads Reload, OK, Cancel, Apply: Help takes OK's place, OK
    // Cancel's, Cancel Apply's and Apply Help's.
    const int ids[4] = {IDOK, IDCANCEL, ID_APPLY_NOW, IDHELP};
    RECT places[4];
    for (int i = 0; i < 4; ++i) {
        GetDlgItem(ids[i]).GetWindowRect(&places[i]);
        ScreenToClient(&places[i]);
    }
    for (int i = 0; i < 4; ++i)
        GetDlgItem(ids[(i + 3) % 4]).MoveWindow(places[i], TRUE);

    CWnd ok = GetDlgItem(IDOK);
    ok.SendMessage(BM_SETSTYLE, ok.GetStyle() & ~BS_DEFPUSHBUTTON & 0xFFFF, TRUE);
    CWnd reload = GetDlgItem(IDHELP);
    reload.SetDlgCtrlID(IDC_RELOAD);
    CString text;
    text.LoadString(IDS_RELOAD_BUTTON);
    reload.SetWindowText(text);
    reload.EnableWindow(TRUE);
    return TRUE;
}

LRESULT ZorvikSheet::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SYSCOMMAND:
        OnSysCommand(static_cast<UINT>(wParam), lParam);
        return 0;
    case WM_PAINT:
        if (IsIconic()) {
            OnPaintIconic();
            return 0;
        }
        break;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(m_hIcon);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return 0;
        case IDC_RELOAD:
            OnReload();
            return 0;
        case ID_APPLY_NOW:
            OnApplyNow();
            return 0;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return CPropertySheet::WindowProc(msg, wParam, lParam);
}

void ZorvikSheet::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX)
        SetActivePage(&m_About);
    else
        DefWindowProc(WM_SYSCOMMAND, nID, lParam);
}

void ZorvikSheet::OnPaintIconic() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT rc;
    GetClientRect(&rc);
    int x = (rc.right - rc.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rc.bottom - rc.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &ps);
}

BOOL ZorvikSheet::IsApplyEnabled() const {
    return !(GetDlgItem(ID_APPLY_NOW).GetStyle() & WS_DISABLED);
}

void ZorvikSheet::OnApplyNow() {
    m_bApplyCancelled = FALSE;
    m_bReloadedAfterSave = FALSE;
    // A field that cannot be read leaves everything pending: saving the
    // values it had before would look like a save of what is on the screen.
    if (!UpdateAllPagesFromControls()) {
        m_bApplyCancelled = TRUE;
        return;
    }
    switch (AfxMessageBox(IDS_CONFIRM_UPDATE, MB_ICONQUESTION | MB_YESNOCANCEL)) {
    case IDYES: {
        m_bUpdateConfirmed = TRUE;
        BOOL bSaved = SaveWithWaitCursor();
        m_bReloadedAfterSave = OfferReloadAfterSave(bSaved);
        // A save that wrote nothing leaves the changes pending, and OK open.
        if (!bSaved) {
            m_bApplyCancelled = TRUE;
            return;
        }
        break;
    }
    case IDNO:
        m_bUpdateConfirmed = FALSE;
        break;
    default:
        m_bApplyCancelled = TRUE;
        return;
    }
    for (int i = 0; i < GetPageCount(); ++i)
        GetPage(i)->SetModified(FALSE);
}

void ZorvikSheet::SaveColumnWidths() {
    m_Eq.Persist(TRUE);
    m_Res.Persist(TRUE);
    m_DevRes.Persist(TRUE);
    m_MiniList.Persist(TRUE);
}

void ZorvikSheet::OnOK() {
    // OK keeps the widths even when the update question is then cancelled.
    SaveColumnWidths();
    if (IsApplyEnabled()) {
        m_bApplyCancelled = FALSE;
        OnApplyNow();
        if (m_bApplyCancelled || m_bReloadedAfterSave)
            return;
    }
    EndDialog(IDOK);
}

void ZorvikSheet::OnReload() {
    if (AfxMessageBox(IDS_CONFIRM_RELOAD, MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    LoadWithWaitCursor();
    RefreshPagesAfterLoad();
}

void ZorvikSheet::RefreshPagesAfterLoad() {
    for (int i = 0; i < GetPageCount(); ++i) {
        CPropertyPage* page = GetPage(i);
        if (!page->m_hWnd)
            continue;
        page->UpdateData(FALSE);
        page->PostMessage(WM_RELOAD_NOTIFY, 0, 0);
        page->SetModified(FALSE);
    }
}

BOOL ZorvikSheet::OfferReloadAfterSave(BOOL bAllSaved) {
    if (m_nChangedElsewhere == 0)
        return FALSE;
    int nCount = static_cast<int>(m_nChangedElsewhere);
    // A reload would drop the changes a failed save left pending.
    if (!bAllSaved) {
        AfxFormatMessageBox(MB_ICONINFORMATION | MB_OK, IDS_CHANGED_ELSEWHERE, nCount);
        return FALSE;
    }
    if (AfxFormatMessageBox(MB_ICONQUESTION | MB_YESNO, IDS_CHANGED_ELSEWHERE_RELOAD, nCount) !=
        IDYES)
        return FALSE;
    LoadWithWaitCursor();
    RefreshPagesAfterLoad();
    return TRUE;
}
