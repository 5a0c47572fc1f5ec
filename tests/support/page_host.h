#pragma once
// A plain sheet that shows a page, for tests of a page on its own; an
// optional second page lets a test switch away from it.
#include "framework/property_sheet.h"
#include "res/resource.h"
#include "support/sheet_driver.h"

class PageHost {
public:
    explicit PageHost(CPropertyPage& page, CPropertyPage* second = nullptr)
        : m_sheet(IDS_SHEET_CAPTION), m_page(page) {
        m_sheet.AddPage(&page);
        if (second)
            m_sheet.AddPage(second);
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
