#include "pages/bridges/zorvik_res.h"

#include <utility>

#include "framework/app.h"
#include "framework/message_box.h"
#include "model/bridge_windows.h"
#include "res/resource.h"

namespace {
const char* const kHeadings[7] = {"SlotPath",
                                  "I/O Space",
                                  "Memory window",
                                  "Prefetchable memory space",
                                  "Bus/Device/Function",
                                  "Dynamic bus assignment",
                                  "Don't reset secondary bus"};

// One window's four edits, its place in the record, its flag and its kind.
struct WindowFields {
    CString ZorvikRes::*pFrom;
    CString ZorvikRes::*pTo;
    CString ZorvikRes::*pSize;
    CString ZorvikRes::*pAlign;
    int nFromId, nToId, nSizeId, nAlignId;
    CBridgeWindow CSlotRecord::*pWindow;
    uint32_t dwFlag;
    bool bIoKind;
    const char* pszName; // as its group box names it
};

const WindowFields kWindows[3] = {
    {&ZorvikRes::m_strIoFrom, &ZorvikRes::m_strIoTo, &ZorvikRes::m_strIoSize,
     &ZorvikRes::m_strIoAlign, IDC_IO_FROM, IDC_IO_TO, IDC_IO_SIZE, IDC_IO_ALIGN,
     &CSlotRecord::m_ioWindow, SLOT_HAS_IO, true, "I/O space"},
    {&ZorvikRes::m_strMemFrom, &ZorvikRes::m_strMemTo, &ZorvikRes::m_strMemSize,
     &ZorvikRes::m_strMemAlign, IDC_MEM_FROM, IDC_MEM_TO, IDC_MEM_SIZE, IDC_MEM_ALIGN,
     &CSlotRecord::m_memWindow, SLOT_HAS_MEM, false, "Memory"},
    {&ZorvikRes::m_strPrefFrom, &ZorvikRes::m_strPrefTo, &ZorvikRes::m_strPrefSize,
     &ZorvikRes::m_strPrefAlign, IDC_PREF_FROM, IDC_PREF_TO, IDC_PREF_SIZE, IDC_PREF_ALIGN,
     &CSlotRecord::m_prefetchWindow, SLOT_HAS_PREFETCH, false, "Prefetchable memory"},
};

// The window the page starts from: the whole range, the default size and
// alignment of the kind.
CBridgeWindow DefaultWindow(bool bIoKind) {
    if (bIoKind)
        return {0, IO_WINDOW_TOP, IO_WINDOW_ALIGNMENT, IO_WINDOW_ALIGNMENT};
    return {0, MEM_WINDOW_TOP, MEM_WINDOW_ALIGNMENT, MEM_WINDOW_ALIGNMENT};
}

CString HexText(uint32_t nValue) {
    CString text;
    text.Format("0x%X", nValue);
    return text;
}

const char* YesNo(const CSlotRecord& record, uint32_t dwFlag, int32_t bValue) {
    return (record.m_dwFlags & dwFlag) && bValue != 0 ? "Yes" : "No";
}
} // namespace

ZorvikRes::ZorvikRes(CLocationResolver& resolver, CLocationResolver& locations,
                     CVardekLibrary& library)
    : CLocationEntryPage(IDD_BRIDGES, resolver, locations, m_bridges, 7, 4), m_library(library) {
    KeepWidthsWhenLeft(m_rows.m_widths, m_rows.m_list);
}

void ZorvikRes::DoDataExchange(CDataExchange* pDX) {
    CLocationEntryPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NO_RESET, m_btnNoReset);
    DDX_Check(pDX, IDC_DYNAMIC_BUS, m_bDynamicBusAssignment);
    // The window fields raise no conversion: their order is free.
    for (const WindowFields& w : kWindows) {
        DDX_Text(pDX, w.nSizeId, this->*w.pSize);
        DDX_Text(pDX, w.nFromId, this->*w.pFrom);
        DDX_Text(pDX, w.nToId, this->*w.pTo);
        DDX_Text(pDX, w.nAlignId, this->*w.pAlign);
    }
    DDX_Check(pDX, IDC_NO_RESET, m_bNoResetSecondaryBus);
}

BOOL ZorvikRes::OnInitDialog() {
    CLocationEntryPage::OnInitDialog();
    int nWidth = m_rows.ClientWidth();
    int nRest = nWidth - nWidth / 10;
    const int defaults[7] = {nWidth / 10, nRest / 5,  nRest / 5, nRest / 5,
                             nRest / 5,   nRest / 12, nRest / 12};
    m_rows.m_widths.ApplyDefaults(defaults);
    if (!m_library.IsAvailable()) {
        ::ShowWindow(m_btnNoReset, SW_HIDE);
        m_rows.m_widths.m_nWidth[6] = 0;
    }
    m_rows.m_widths.CreateColumns(m_rows.m_list, kHeadings);
    if (m_bFirstInit) {
        for (const WindowFields& w : kWindows) {
            CBridgeWindow d = DefaultWindow(w.bIoKind);
            void (ZorvikRes::*pSet)(int, uint32_t) =
                w.bIoKind ? &ZorvikRes::SetHex16Text : &ZorvikRes::SetHex32Text;
            (this->*pSet)(w.nFromId, d.m_dwFrom);
            (this->*pSet)(w.nToId, d.m_dwTo);
            (this->*pSet)(w.nSizeId, d.m_dwSize);
            (this->*pSet)(w.nAlignId, d.m_dwAlignment);
        }
        m_btnNoReset.SetCheck(BST_CHECKED);
        m_bFirstInit = 0;
    }
    RefreshList();
    OnEntryMode();
    return TRUE;
}

BOOL ZorvikRes::Persist(BOOL bSave) {
    // The widths only once the page has been shown; the entry mode always.
    m_rows.PersistWidths(bSave, "ZorvikRes", 0, true, false);
    if (bSave)
        AfxGetApp()->WriteProfileInt("ZorvikRes", "m_SpathToggle", m_nEntryMode);
    else
        m_nEntryMode = AfxGetApp()->GetProfileInt("ZorvikRes", "m_SpathToggle", 0) == 1 ? 1 : 0;
    return TRUE;
}

BOOL ZorvikRes::OnCommand(UINT nID, UINT nCode) {
    if (nCode == BN_CLICKED && nID == IDC_MOVE_DOWN) {
        OnMoveDown();
        return TRUE;
    }
    if (nCode == BN_CLICKED && nID == IDC_MOVE_UP) {
        OnMoveUp();
        return TRUE;
    }
    return CLocationEntryPage::OnCommand(nID, nCode);
}

void ZorvikRes::SetHex16Text(int nID, uint32_t nValue) {
    CString text;
    text.Format("0x%04X", nValue & 0xFFFF);
    SetDlgItemText(nID, text);
}

void ZorvikRes::SetHex32Text(int nID, uint32_t nValue) {
    CString text;
    text.Format("0x%08X", nValue);
    SetDlgItemText(nID, text);
}

UINT ZorvikRes::ValidateEntry() {
    if (UINT nMessage = ValidateLocation(true))
        return nMessage;
    if ((ParseLocationNumber(m_strIoFrom) & 0xFFF) != 0 ||
        (ParseLocationNumber(m_strIoSize) & 0xFFF) != 0)
        return IDS_IO_NOT_ALIGNED;
    // A field without a number would store "no number" as an address.
    for (const WindowFields& w : kWindows) {
        const std::pair<CString ZorvikRes::*, const char*> fields[4] = {
            {w.pFrom, "From"}, {w.pTo, "To"}, {w.pSize, "Size"}, {w.pAlign, "Alignment"}};
        for (const auto& field : fields) {
            if (ParseLocationNumber(this->*field.first) == NOT_GIVEN) {
                m_strRefused.Format("%s of the %s window", field.second, w.pszName);
                return IDS_WINDOW_FIELD_NOT_NUMBER;
            }
        }
    }
    return 0;
}

void ZorvikRes::ShowRefusal(UINT nMessage) {
    if (nMessage == IDS_WINDOW_FIELD_NOT_NUMBER)
        AfxFormatMessageBox(MB_OK | MB_ICONSTOP, nMessage, static_cast<const char*>(m_strRefused));
    else
        CLocationEntryPage::ShowRefusal(nMessage);
}

void ZorvikRes::StoreEntry() {
    CSlotRecord record = NewLocationRecord();
    POSITION found = m_bridges.FindBySlotPath(record.GetSlotPath(), m_locations);
    for (const WindowFields& w : kWindows) {
        record.*w.pWindow = {ParseLocationNumber(this->*w.pFrom), ParseLocationNumber(this->*w.pTo),
                             ParseLocationNumber(this->*w.pSize),
                             ParseLocationNumber(this->*w.pAlign)};
        record.m_dwFlags |= w.dwFlag;
    }
    record.m_bDynamicBusAssignment = m_bDynamicBusAssignment;
    record.m_bNoResetSecondaryBus = m_library.IsAvailable() ? m_bNoResetSecondaryBus : 0;
    record.m_dwFlags |= SLOT_HAS_DYNBUS | SLOT_HAS_NORESET;
    if (found)
        m_bridges.SetAt(found, record);
    else
        m_bridges.InsertBySlotPath(record);
}

void ZorvikRes::OnClickList(const NMITEMACTIVATE* pNotify) {
    ClearLocation();
    for (const WindowFields& w : kWindows) {
        CBridgeWindow d = DefaultWindow(w.bIoKind);
        this->*w.pFrom = HexText(d.m_dwFrom);
        this->*w.pTo = HexText(d.m_dwTo);
        this->*w.pSize = HexText(d.m_dwSize);
        this->*w.pAlign = HexText(d.m_dwAlignment);
    }
    m_bNoResetSecondaryBus = 0;
    m_bDynamicBusAssignment = 0;
    if (const CSlotRecord* record = ClickedRecord(pNotify)) {
        ShowLocation(*record);
        for (const WindowFields& w : kWindows) {
            const CBridgeWindow& window = record->*w.pWindow;
            if (!(record->m_dwFlags & w.dwFlag) || window.m_dwFrom == NOT_GIVEN)
                continue;
            this->*w.pFrom = HexText(window.m_dwFrom);
            this->*w.pTo = HexText(window.m_dwTo);
            this->*w.pSize = HexText(window.m_dwSize);
            this->*w.pAlign = HexText(window.m_dwAlignment);
        }
        m_bDynamicBusAssignment =
            (record->m_dwFlags & SLOT_HAS_DYNBUS) ? record->m_bDynamicBusAssignment : 0;
        m_bNoResetSecondaryBus =
            (record->m_dwFlags & SLOT_HAS_NORESET) ? record->m_bNoResetSecondaryBus : 0;
    }
    UpdateData(FALSE);
}

void ZorvikRes::RefreshList() {
    int nNoted = m_rows.Refill([](const CSlotRecord& record, CString* pTexts) {
        pTexts[0] = record.GetSlotPath();
        for (int i = 0; i < 3; ++i) {
            const WindowFields& w = kWindows[i];
            const CBridgeWindow& window = record.*w.pWindow;
            if ((record.m_dwFlags & w.dwFlag) && window.m_dwFrom != NOT_GIVEN)
                FormatWindow(pTexts[1 + i], window.m_dwFrom, window.m_dwTo, window.m_dwSize,
                             window.m_dwAlignment, w.bIoKind);
        }
        pTexts[5] = YesNo(record, SLOT_HAS_DYNBUS, record.m_bDynamicBusAssignment);
        pTexts[6] = YesNo(record, SLOT_HAS_NORESET, record.m_bNoResetSecondaryBus);
    });
    int nCount = m_rows.GetRowCount();
    if (nCount == 0)
        return;
    int nRow = nNoted < 0 ? 0 : (nNoted < nCount ? nNoted : nNoted - 1);
    if (nRow < nCount)
        m_rows.SelectRow(nRow);
    OnClickList(nullptr);
}

void ZorvikRes::OnMoveDown() { MoveSelected(m_rows, true); }

void ZorvikRes::OnMoveUp() { MoveSelected(m_rows, false); }
