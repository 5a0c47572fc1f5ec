#include "pages/column_widths.h"

#include "framework/app.h"
#include "framework/cstring.h"

namespace {
CString EntryName(int nNumber) {
    CString entry;
    entry.Format("w%d", nNumber);
    return entry;
}
} // namespace

void LoadColumnWidths(const char* lpszSection, int nFirst, int* pnWidths, int nCount) {
    for (int i = 0; i < nCount; ++i) {
        int nWidth =
            static_cast<int>(AfxGetApp()->GetProfileInt(lpszSection, EntryName(nFirst + i), -1));
        pnWidths[i] = nWidth < 0 ? -1 : nWidth;
    }
}

void SaveColumnWidths(const char* lpszSection, int nFirst, const int* pnWidths, int nCount) {
    for (int i = 0; i < nCount; ++i)
        AfxGetApp()->WriteProfileInt(lpszSection, EntryName(nFirst + i), pnWidths[i]);
}

void ApplyDefaultWidths(int* pnWidths, const int* pnDefaults, int nCount) {
    bool bAllDefaults = pnWidths[0] < 0;
    for (int i = 0; i < nCount; ++i)
        if (bAllDefaults || pnWidths[i] < 0)
            pnWidths[i] = pnDefaults[i];
}
