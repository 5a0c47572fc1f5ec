#include "pages/record_list_view.h"

#include "framework/app.h"

CColumnWidths::CColumnWidths(int nCount) : m_nCount(nCount) {
    for (int& width : m_nWidth)
        width = -1;
}

namespace {
CString EntryName(int nNumber) {
    CString entry;
    entry.Format("w%d", nNumber);
    return entry;
}
} // namespace

void CColumnWidths::Load(const char* lpszSection, int nFirst) {
    for (int i = 0; i < m_nCount; ++i) {
        int nWidth =
            static_cast<int>(AfxGetApp()->GetProfileInt(lpszSection, EntryName(nFirst + i), -1));
        m_nWidth[i] = nWidth < 0 ? -1 : nWidth;
    }
}

void CColumnWidths::Save(const char* lpszSection, int nFirst) const {
    for (int i = 0; i < m_nCount; ++i)
        AfxGetApp()->WriteProfileInt(lpszSection, EntryName(nFirst + i), m_nWidth[i]);
}

void CColumnWidths::ReadFrom(const CListCtrl& list) {
    for (int i = 0; i < m_nCount; ++i)
        m_nWidth[i] = list.GetColumnWidth(i);
}

void CColumnWidths::ApplyDefaults(const int* pnDefaults) {
    for (int i = 0; i < m_nCount; ++i)
        if (m_nWidth[i] < 0)
            m_nWidth[i] = pnDefaults[i];
}

void CColumnWidths::CreateColumns(const CListCtrl& list, const char* const* ppszHeadings) const {
    for (int i = 0; i < m_nCount; ++i)
        list.InsertColumn(i, ppszHeadings[i], LVCFMT_LEFT, m_nWidth[i]);
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
}
