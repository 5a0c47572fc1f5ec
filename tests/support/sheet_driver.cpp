#include "support/sheet_driver.h"

#include <commctrl.h>

#include <string>

#include "framework/property_sheet.h"

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PumpMessagesFor(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    PumpMessages();
}

bool IsApplyEnabled(HWND sheet) {
    return !(::GetWindowLongA(::GetDlgItem(sheet, ID_APPLY_NOW), GWL_STYLE) & WS_DISABLED);
}

void SelectPage(HWND sheet, int index) {
    ::SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    PumpMessages();
}

void TypeText(HWND page, int id, const char* text) {
    ::SetDlgItemTextA(page, id, text);
    PumpMessages();
}

void Click(HWND page, int id) {
    HWND button = ::GetDlgItem(page, id);
    ::SendMessageA(button, BM_CLICK, 0, 0);
    PumpMessages();
}

int GetCheck(HWND page, int id) {
    return static_cast<int>(::SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0));
}

bool IsEnabled(HWND page, int id) { return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE; }

std::string ItemText(HWND page, int id) {
    char text[512] = "";
    ::GetDlgItemTextA(page, id, text, sizeof(text));
    return text;
}

int ListRowCount(HWND page, int id) {
    return static_cast<int>(::SendDlgItemMessageA(page, id, LVM_GETITEMCOUNT, 0, 0));
}

std::string ListText(HWND page, int id, int row, int column) {
    char text[512] = "";
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendDlgItemMessageA(page, id, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                          reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<int> SelectedRows(HWND page, int id) {
    std::vector<int> rows;
    HWND list = ::GetDlgItem(page, id);
    for (int row = -1;;) {
        row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                              MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0)
            return rows;
        rows.push_back(row);
    }
}

void ClickListRow(HWND page, int id, int row, bool doubleClick) {
    HWND list = ::GetDlgItem(page, id);
    POINT at = {};
    if (row >= 0) {
        RECT rc = {};
        rc.left = LVIR_LABEL;
        ::SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&rc));
        at = {rc.left + 2, (rc.top + rc.bottom) / 2};
    } else {
        RECT client;
        ::GetClientRect(list, &client);
        at = {client.right / 2, client.bottom - 3};
    }
    LPARAM where = MAKELPARAM(at.x, at.y);
    ::SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageA(list, WM_LBUTTONUP, 0, where);
    if (doubleClick) {
        ::SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        ::SendMessageA(list, WM_LBUTTONUP, 0, where);
    }
    PumpMessages();
}

void PressSheetButton(HWND sheet, int id) {
    ::SendMessageA(sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(sheet, id)));
    PumpMessages();
}

bool SheetEnded(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet) == nullptr; }

namespace {
const char* g_caption = nullptr;
std::function<void(HWND)> g_script;

void CALLBACK ModalTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND sheet = ::FindWindowA(nullptr, g_caption);
    if (!sheet)
        return;
    ::KillTimer(nullptr, id);
    auto script = std::move(g_script);
    g_script = nullptr;
    script(sheet);
}
} // namespace

void RunInModalLoop(const char* caption, std::function<void(HWND)> script) {
    g_caption = caption;
    g_script = std::move(script);
    ::SetTimer(nullptr, 0, 50, &ModalTimer);
}
