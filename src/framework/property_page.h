#pragma once
// A page of a property sheet on a dialog template. One dialog procedure finds
// the page object and calls its handlers.
#include <windows.h>
#include <commctrl.h>

#include "framework/data_exchange.h"
#include "framework/wnd.h"

// Posted by the sheet to every page that has a window after it reloaded the
// registry, both parameters 0; the page refreshes its controls from its
// members and answers 0.
#define WM_RELOAD_NOTIFY (WM_USER + 17)

class CPropertyPage : public CWnd {
public:
    explicit CPropertyPage(UINT nIDTemplate);
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // Tells the sheet whether the page has unsaved changes (the Apply button).
    void SetModified(BOOL bChanged = TRUE);

    // Filled in by the sheet when the page is added.
    PROPSHEETPAGEA m_psp;

protected:
    virtual void DoDataExchange(CDataExchange*) {}
    virtual BOOL OnInitDialog();
    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    // A WM_COMMAND from a control; TRUE when handled.
    virtual BOOL OnCommand(UINT /*nID*/, UINT /*nCode*/) { return FALSE; }
    virtual void OnTimer(UINT_PTR /*nIDEvent*/) {}
    // Any other message, such as private notifications; TRUE when handled,
    // with the message's result in *pResult.
    virtual BOOL OnMessage(UINT /*msg*/, WPARAM, LPARAM, LRESULT* /*pResult*/) { return FALSE; }
    // Runs after every exchange that filled the controls from the members:
    // the rules that follow a control's value (enabled states, buttons that
    // need a selection) go here, because the fill raises no notification the
    // page sees.
    virtual void OnControlsFilled() {}
    // The sheet's notification after a reload: the controls show the members
    // again.
    virtual void OnReloadNotify() { UpdateData(FALSE); }

    // While the framework itself writes the controls (dialog creation and
    // exchanges towards the controls), change notifications of edits are not
    // the user's doing and are not passed on.
    bool IsInitMode() const { return m_nInitMode > 0; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNotify(NMHDR* pnmh);

    BOOL m_bFirstSetActive = TRUE;
    int m_nInitMode = 0;
};
