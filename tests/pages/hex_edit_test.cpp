// The "Restrict to slots" edit of the miniport page: typed and pasted
// characters outside hexadecimal digits, comma, blank and hyphen are dropped.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "res/resource.h"
#include "pages/miniports/zorvik_mini_list.h"
#include "support/test_kit.h"
#include "support/page_host.h"
#include "support/scripted_responder.h"

namespace {
class HexEditTest : public ::testing::Test {
protected:
    HWND Edit() {
        HWND page = m_host.Show();
        return ::GetDlgItem(page, IDC_MINIPORT_RESTRICTIONS);
    }
    static void Type(HWND edit, const char* text) {
        for (const char* p = text; *p; ++p)
            ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*p), 1);
    }
    static std::string Text(HWND edit) {
        char text[256] = "";
        ::GetWindowTextA(edit, text, sizeof(text));
        return text;
    }
    static void SetClipboard(const char* text) {
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
        std::strcpy(static_cast<char*>(::GlobalLock(data)), text);
        ::GlobalUnlock(data);
        ::SetClipboardData(CF_TEXT, data);
        ::CloseClipboard();
    }

    ScriptedResponder m_responder;
    ZorvikMiniList m_page{TestKit().m_services};
    PageHost m_host{m_page};
};
} // namespace

TEST_F(HexEditTest, TypedCharactersOutsideTheSetAreDroppedSilently) {
    HWND edit = Edit();
    EXPECT_STREQ("0123456789abcdefABCDEF, -", m_page.m_editRestrictions.m_szValidChars);
    Type(edit, "0A,g x;1b-.2C");
    EXPECT_EQ("0A, 1b-2C", Text(edit));
    // An auto-repeated key comes as one message and goes as a whole.
    ::SendMessageA(edit, WM_CHAR, 'z', 5);
    ::SendMessageA(edit, WM_CHAR, 'f', 3);
    EXPECT_EQ("0A, 1b-2Cf", Text(edit));
    // Keys that are no printable characters still work; e-acute is no
    // character of the C locale's printable set and passes.
    Type(edit, "\b\b");
    ::SendMessageA(edit, WM_CHAR, 0xE9, 1);
    EXPECT_EQ("0A, 1b-2\xE9", Text(edit));
    EXPECT_EQ(0, m_responder.m_beeps);
    EXPECT_TRUE(m_responder.asked.empty());
}

TEST_F(HexEditTest, PastedTextKeepsOnlyTheCharactersTypingWouldKeep) {
    HWND edit = Edit();
    Type(edit, "08");
    SetClipboard("1a;g-2 zz\r\n3");
    ::SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ("081a-2 3", Text(edit));
    // The page stores what the field holds.
    ASSERT_TRUE(m_page.UpdateData(TRUE));
    EXPECT_EQ("081a-2 3", m_page.m_strRestrictions.str());
}
