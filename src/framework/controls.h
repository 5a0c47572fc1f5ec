#pragma once
// Control wrappers bound to controls that a dialog template created.
#include <windows.h>
#include <commctrl.h>

#include "framework/wnd.h"

class CButton : public CWnd {
public:
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int nCheck) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
};

class CEdit : public CWnd {};

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange32(int nLower, int nUpper) const { SendMessage(UDM_SETRANGE32, nLower, nUpper); }
};

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int InsertColumn(int nCol, const char* heading, int nFormat, int nWidth) const {
        LVCOLUMNA col = {};
        col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = nFormat;
        col.cx = nWidth;
        col.pszText = const_cast<char*>(heading);
        col.iSubItem = nCol;
        return static_cast<int>(
            SendMessage(LVM_INSERTCOLUMNA, nCol, reinterpret_cast<LPARAM>(&col)));
    }
    int GetColumnWidth(int nCol) const {
        return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, nCol));
    }
    BOOL SetColumnWidth(int nCol, int cx) const {
        return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0)));
    }
    int InsertItem(int nItem, const char* text, LPARAM data) const {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = nItem;
        item.pszText = const_cast<char*>(text);
        item.lParam = data;
        return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int nItem, int nSubItem, const char* text) const {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.pszText = const_cast<char*>(text);
        return static_cast<BOOL>(
            SendMessage(LVM_SETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item)));
    }
    CString GetItemText(int nItem, int nSubItem) const {
        char buffer[1024] = "";
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.pszText = buffer;
        item.cchTextMax = sizeof(buffer);
        SendMessage(LVM_GETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item));
        return CString(buffer);
    }
    LPARAM GetItemData(int nItem) const {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.lParam;
    }
    // The row whose item data is data; -1 when there is none.
    int FindItemByData(LPARAM data) const {
        LVFINDINFOA find = {};
        find.flags = LVFI_PARAM;
        find.lParam = data;
        return static_cast<int>(
            SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    }
    BOOL DeleteItem(int nItem) const {
        return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, nItem));
    }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    int GetNextItem(int nItem, int nFlags) const {
        return static_cast<int>(
            SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask) const {
        LVITEMA item = {};
        item.state = nState;
        item.stateMask = nMask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem),
                                             reinterpret_cast<LPARAM>(&item)));
    }
    UINT GetItemState(int nItem, UINT nMask) const {
        return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(nItem), nMask));
    }
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) const {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, nItem, bPartialOK));
    }
    BOOL SortItems(PFNLVCOMPARE pfnCompare, LPARAM lParamSort) const {
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, static_cast<WPARAM>(lParamSort),
                                             reinterpret_cast<LPARAM>(pfnCompare)));
    }
    DWORD SetExtendedStyle(DWORD dwNewStyle) const {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle));
    }
};
