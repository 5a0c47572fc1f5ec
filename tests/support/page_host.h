#pragma once
// A plain sheet that shows one page, for tests of a page on its own.
#include "framework/property_sheet.h"
#include "res/resource.h"
#include "support/sheet_driver.h"

class PageHost {
public:
    explicit PageHost(CPropertyPage& page) : m_sheet(IDS_SHEET_CAPTION), m_page(page) {
        m_sheet.AddPage(&page);
    }
    HWND Show() {
        m_sheet.Create();
        PumpMessages();
        return m_page.m_hWnd;
    }
    HWND Sheet() const { return m_sheet.m_hWnd; }

private:
    CPropertySheet m_sheet;
    CPropertyPage& m_page;
};
