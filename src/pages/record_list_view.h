#pragma once
// The list view of a list page: one row per record of the page's list, in
// list order, each row keeping its record's position as item data; the row's
// record, Remove, and Move Up and Move Down carrying the selection; the rows
// the user selects, with the keyboard or the mouse; and the
// column widths with their defaults and the user's profile. Each page keeps
// its fields, its data exchange and its own rule for the row selected after
// a refresh.
#include <functional>

#include "framework/clist.h"
#include "framework/controls.h"
#include "framework/message_box.h"
#include "framework/property_page.h"

// The widths of a list's columns; -1 stands for no saved width.
class CColumnWidths {
public:
    static const int MAX_COLUMNS = 8;
    explicit CColumnWidths(int nCount);

    // The profile entries "w<nFirst>" on of the section; an entry that is
    // missing, not a DWORD or negative loads as -1.
    void Load(const char* lpszSection, int nFirst);
    void Save(const char* lpszSection, int nFirst) const;
    // The widths the list's columns have now.
    void ReadFrom(const CListCtrl& list);
    // A column without a saved width takes its default.
    void ApplyDefaults(const int* pnDefaults);
    // The columns, left aligned, at these widths, with grid lines and
    // full-row selection.
    void CreateColumns(const CListCtrl& list, const char* const* ppszHeadings) const;

    int m_nWidth[MAX_COLUMNS];
    int m_nCount;
};

template <class TRecord> class CRecordListView {
public:
    CRecordListView(CList<TRecord>& records, int nColumns)
        : m_widths(nColumns), m_records(records) {}

    // The row texts of a record, one per column.
    using Format = std::function<void(const TRecord&, CString* pTexts)>;

    // A column whose text the page gives only when a row is drawn
    // (LVN_GETDISPINFO), as forming it costs; -1 for none.
    int m_nColumnShownLater = -1;

    // Rebuilds the rows from the records; returns the row that was selected
    // before (-1 when none). A row the list view refuses is told to
    // pfnRefused, with its first text, and left out.
    int Refill(const Format& format, const std::function<void(const CString&)>& refused = {}) {
        COwnChange change(this);
        int nSelected = GetSelectedRow();
        m_list.DeleteAllItems();
        for (POSITION pos = m_records.GetHeadPosition(); pos;) {
            POSITION here = pos;
            CString texts[CColumnWidths::MAX_COLUMNS];
            format(m_records.GetNext(pos), texts);
            int nRow =
                m_list.InsertItem(m_list.GetItemCount(), texts[0], reinterpret_cast<LPARAM>(here));
            if (nRow < 0) {
                if (refused)
                    refused(texts[0]);
                continue;
            }
            for (int i = 1; i < m_widths.m_nCount; ++i)
                m_list.SetItemText(nRow, i,
                                   i == m_nColumnShownLater ? LPSTR_TEXTCALLBACKA
                                                            : static_cast<const char*>(texts[i]));
        }
        return nSelected;
    }

    // The list's client width, which the pages share out as default widths.
    int ClientWidth() const {
        RECT rc;
        m_list.GetClientRect(&rc);
        return rc.right - rc.left;
    }
    // The columns, each at its saved width or else at its default.
    void CreateColumns(const int* pnDefaults, const char* const* ppszHeadings) {
        m_widths.ApplyDefaults(pnDefaults);
        m_widths.CreateColumns(m_list, ppszHeadings);
    }

    int GetRowCount() const { return m_list.GetItemCount(); }
    int GetSelectedRow() const { return m_list.GetNextItem(-1, LVNI_SELECTED); }
    // The position a row keeps; null when there is no such row.
    POSITION GetRowRecord(int nRow) const {
        if (nRow < 0 || nRow >= m_list.GetItemCount())
            return nullptr;
        return reinterpret_cast<POSITION>(m_list.GetItemData(nRow));
    }
    void SelectRow(int nRow, UINT nState = LVIS_SELECTED | LVIS_FOCUSED) {
        COwnChange change(this);
        m_list.SetItemState(nRow, nState, nState);
        m_list.EnsureVisible(nRow, FALSE);
    }
    // The row of the record, alone selected and focused; its row number, -1
    // when the record has no row.
    int SelectRecord(POSITION pos) {
        int nRow = m_list.FindItemByData(reinterpret_cast<LPARAM>(pos));
        if (nRow >= 0) {
            COwnChange change(this);
            m_list.SetItemState(-1, 0, LVIS_SELECTED);
            SelectRow(nRow);
        }
        return nRow;
    }
    // Whether a notification from the list asks the page to show a row's
    // record, and which: a click (-1 beside the rows), or a row the user
    // newly selected from the keyboard; the page's own changes do not ask,
    // the page shows what it chooses after them.
    bool RowToShow(const NMHDR* pnmh, int* pnRow) const {
        if (pnmh->hwndFrom != m_list)
            return false;
        if (pnmh->code == NM_CLICK) {
            *pnRow = reinterpret_cast<const NMITEMACTIVATE*>(pnmh)->iItem;
            return true;
        }
        if (pnmh->code != LVN_ITEMCHANGED || m_nOwnChanges > 0)
            return false;
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(pnmh);
        if (!(change->uChanged & LVIF_STATE) || !(change->uNewState & LVIS_SELECTED) ||
            (change->uOldState & LVIS_SELECTED))
            return false;
        *pnRow = change->iItem;
        return true;
    }

    // The column widths from (FALSE) or into (TRUE) the profile section,
    // entries "w<nFirst>" on. A save reads the list's widths first when
    // bFromList and the list exists; without a list it writes nothing
    // unless bWithoutList.
    void PersistWidths(BOOL bSave, const char* lpszSection, int nFirst, bool bFromList,
                       bool bWithoutList) {
        if (!bSave) {
            m_widths.Load(lpszSection, nFirst);
            return;
        }
        if (!m_list.m_hWnd && !bWithoutList)
            return;
        if (bFromList && m_list.m_hWnd)
            m_widths.ReadFrom(m_list);
        m_widths.Save(lpszSection, nFirst);
    }

    // Removes the selected row's record; false when no row is selected.
    bool RemoveSelected() {
        POSITION pos = GetRowRecord(GetSelectedRow());
        if (!pos)
            return false;
        m_records.RemoveAt(pos);
        return true;
    }

    // The selected record changes places with its neighbour below (or
    // above), and the row's selected and focused state goes along; true
    // when it moved. Without a selection it beeps; at the end of the list it
    // stays, silently.
    bool MoveSelected(bool bDown) {
        int nRow = GetSelectedRow();
        POSITION pos = GetRowRecord(nRow);
        if (!pos) {
            AfxMessageBeep(0xFFFFFFFF);
            return false;
        }
        POSITION neighbour = pos;
        if (bDown)
            m_records.GetNext(neighbour);
        else
            m_records.GetPrev(neighbour);
        if (!neighbour)
            return false;
        TRecord record = m_records.GetAt(pos);
        if (bDown)
            m_records.InsertAfter(neighbour, record);
        else
            m_records.InsertBefore(neighbour, record);
        m_records.RemoveAt(pos);
        const UINT kMask = LVIS_SELECTED | LVIS_FOCUSED;
        COwnChange change(this);
        UINT nState = m_list.GetItemState(nRow, kMask);
        m_list.SetItemState(nRow, 0, kMask);
        m_list.SetItemState(bDown ? nRow + 1 : nRow - 1, nState, kMask);
        return true;
    }

    CListCtrl m_list; // bound by the page's data exchange
    CColumnWidths m_widths;

private:
    // Marks the rows' changes the page makes itself.
    struct COwnChange {
        explicit COwnChange(CRecordListView* pView) : m_pView(pView) { ++m_pView->m_nOwnChanges; }
        ~COwnChange() { --m_pView->m_nOwnChanges; }
        COwnChange(const COwnChange&) = delete;
        COwnChange& operator=(const COwnChange&) = delete;
        CRecordListView* m_pView;
    };

    CList<TRecord>& m_records;
    int m_nOwnChanges = 0;
};

// A page of a record list: what the user changes in the records is shown in
// the rows and enables Apply, the same way on every list page.
class CListPage : public CPropertyPage {
public:
    using CPropertyPage::CPropertyPage;
    // Rebuilds the rows from the records and selects and shows the row the
    // page's rule gives.
    virtual void RefreshList() = 0;

protected:
    // The reload notification shows the reloaded records.
    void OnReloadNotify() override { RefreshList(); }
    // The widths the user gives the list's columns are kept when the page
    // is left, for the profile.
    void KeepWidthsWhenLeft(CColumnWidths& widths, const CListCtrl& list) {
        m_pKeptWidths = &widths;
        m_pKeptList = &list;
    }
    BOOL OnKillActive() override {
        if (m_pKeptWidths)
            m_pKeptWidths->ReadFrom(*m_pKeptList);
        return CPropertyPage::OnKillActive();
    }

    // The records changed: the rows follow, and Apply is enabled.
    void RecordsChanged() {
        RefreshList();
        SetModified(TRUE);
    }
    template <class TRecord> void RemoveSelected(CRecordListView<TRecord>& rows) {
        if (rows.RemoveSelected())
            RecordsChanged();
    }
    template <class TRecord> void MoveSelected(CRecordListView<TRecord>& rows, bool bDown) {
        if (rows.MoveSelected(bDown))
            RecordsChanged();
    }

private:
    CColumnWidths* m_pKeptWidths = nullptr;
    const CListCtrl* m_pKeptList = nullptr;
};
