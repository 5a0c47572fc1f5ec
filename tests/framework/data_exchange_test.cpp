// Number parsing of the data exchange and the framework's message boxes.
#include <gtest/gtest.h>

#include "framework/data_exchange.h"
#include "res/resource.h"
#include "framework/message_box.h"
#include "support/scripted_responder.h"

TEST(ParseUnsignedDecimal, TakesDigitsWithBlanksUpTo32BitsAndNothingElse) {
    uint32_t value = 7;
    EXPECT_TRUE(ParseUnsignedDecimal("  4294967295\t", value));
    EXPECT_EQ(value, 4294967295u);
    for (const char* text : {"", "-1", "+1", "12abc", "1 2", "0x10", "4294967296"}) {
        value = 7;
        EXPECT_FALSE(ParseUnsignedDecimal(text, value)) << text;
        EXPECT_EQ(value, 7u) << text;
    }
}

TEST(AfxMessageBox, CaptionIsTheApplicationNameAndButtonsGetTheirIcon) {
    ScriptedResponder responder;
    responder.Answer(IDOK);
    responder.Answer(IDNO);
    EXPECT_EQ(AfxMessageBox(AFX_IDP_PARSE_UINT), IDOK);
    EXPECT_EQ(AfxMessageBox("Cannot open registry for write", MB_YESNO), IDNO);
    ASSERT_EQ(responder.asked.size(), 2u);
    EXPECT_EQ(responder.asked[0].text, "Please enter a positive integer.");
    EXPECT_EQ(responder.asked[0].caption, "Tavrel Mirandel - configuration");
    EXPECT_EQ(responder.asked[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(responder.asked[1].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
}
