#include "support/sheet_driver.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/property_sheet.h"

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void PumpMessagesFor(DWORD milliseconds) {
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < milliseconds;) {
        PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    PumpMessages();
}

bool IsApplyEnabled(HWND sheet) { return IsEnabled(sheet, ID_APPLY_NOW); }

void SelectPage(HWND sheet, int index) {
    ::SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    PumpMessages();
}

void TypeText(HWND page, int id, const char* text) {
    ::SetDlgItemTextA(page, id, text);
    PumpMessages();
}

void TypeTexts(HWND page, const std::vector<int>& ids, const std::string& texts) {
    size_t start = 0;
    for (size_t i = 0; i < ids.size() && start <= texts.size(); ++i) {
        size_t end = std::min(texts.find('|', start), texts.size());
        TypeText(page, ids[i], texts.substr(start, end - start).c_str());
        start = end + 1;
    }
}

void Click(HWND page, int id) {
    ::SendMessageA(::GetDlgItem(page, id), BM_CLICK, 0, 0);
    PumpMessages();
}

void Click(HWND page, const std::vector<int>& ids) {
    for (int id : ids)
        Click(page, id);
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

std::string ItemTexts(HWND page, const std::vector<int>& ids) {
    std::string texts;
    for (size_t i = 0; i < ids.size(); ++i)
        texts += (i ? "|" : "") + ItemText(page, ids[i]);
    return texts;
}

std::string Enabled(HWND page, const std::vector<int>& ids) {
    std::string states;
    for (int id : ids)
        states += IsEnabled(page, id) ? '1' : '0';
    return states;
}

std::string Checked(HWND page, const std::vector<int>& ids) {
    std::string states;
    for (int id : ids)
        states += GetCheck(page, id) == BST_CHECKED ? '1' : '0';
    return states;
}

std::vector<std::string> ListRows(HWND page, int id, int columns) {
    HWND list = ::GetDlgItem(page, id);
    columns = std::min(columns, Header_GetItemCount(ListView_GetHeader(list)));
    std::vector<std::string> rows(ListView_GetItemCount(list));
    for (size_t row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < columns; ++column) {
            char text[512] = "";
            ListView_GetItemText(list, row, column, text, sizeof(text));
            rows[row] += (column ? "|" : "") + std::string(text);
        }
    }
    return rows;
}

int SelectedRow(HWND page, int id) {
    return ListView_GetNextItem(::GetDlgItem(page, id), -1, LVNI_SELECTED);
}

int ColumnWidth(HWND page, int id, int column) {
    return ListView_GetColumnWidth(::GetDlgItem(page, id), column);
}

void ClickListRow(HWND page, int id, int row, bool doubleClick) {
    HWND list = ::GetDlgItem(page, id);
    RECT rc = {};
    // A user scrolls a row into view before clicking it.
    if (row >= 0)
        ListView_EnsureVisible(list, row, FALSE);
    if (row < 0 || !ListView_GetItemRect(list, row, &rc, LVIR_LABEL)) {
        ::GetClientRect(list, &rc);
        rc.top = rc.bottom - 6;
    }
    LPARAM where = MAKELPARAM(rc.left + 2, (rc.top + rc.bottom) / 2);
    const UINT clicks[4] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    for (int i = 0; i < (doubleClick ? 4 : 2); ++i)
        ::SendMessageA(list, clicks[i], clicks[i] == WM_LBUTTONUP ? 0 : MK_LBUTTON, where);
    PumpMessages();
}

void PressKey(HWND sheet, UINT key) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG msg = {::GetFocus(), message, key, message == WM_KEYDOWN ? 1 : 0xC0000001, 0, {}};
        if (!PropSheet_IsDialogMessage(sheet, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    PumpMessages();
}

void PressSheetButton(HWND sheet, int id) {
    ::SendMessageA(sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(sheet, id)));
    PumpMessages();
}

bool SheetEnded(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet) == nullptr; }

std::string AskedIds(const ScriptedResponder& responder) {
    std::string ids;
    for (const AskedMessage& message : responder.asked)
        ids += (ids.empty() ? "" : " ") + std::to_string(message.id);
    return ids;
}

namespace {
const char* g_caption = nullptr;
std::function<void(HWND)> g_script;

void CALLBACK ModalTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND window = ::FindWindowA(nullptr, g_caption);
    if (!window)
        return;
    ::KillTimer(nullptr, id);
    auto script = std::move(g_script);
    script(window);
}
} // namespace

void RunInModalLoop(const char* caption, std::function<void(HWND)> script) {
    g_caption = caption;
    g_script = std::move(script);
    ::SetTimer(nullptr, 0, 50, &ModalTimer);
}
