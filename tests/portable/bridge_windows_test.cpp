// Window texts and resource strings of bridge records: the forms, their
// order, the defaults left out, and text that matches no form.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "model/bridge_windows.h"

namespace {
std::string Window(uint32_t from, uint32_t to, uint32_t size, uint32_t alignment, bool io) {
    CString text;
    FormatWindow(text, from, to, size, alignment, io);
    return text.str();
}

CBridgeWindow Parsed(const char* text, bool io) {
    CBridgeWindow window;
    ParseWindow(text, &window, io);
    return window;
}

const CBridgeWindow kUnparsed = {WINDOW_UNPARSED, WINDOW_UNPARSED, WINDOW_UNPARSED,
                                 WINDOW_UNPARSED};

// A bridge record as a load makes it from one stored resource string.
CSlotRecord Loaded(const std::string& text) {
    CSlotRecordList bridges;
    return bridges.GetAt(AddFromRegistry(bridges, "0A08", text.c_str()));
}
} // namespace

TEST(BridgeWindows, FormsAreWrittenShortAndTriedInOrder) {
    EXPECT_EQ("f000", Window(0, 0xFFFF, 0xF000, 0x1000, true));
    EXPECT_EQ("100000:1000", Window(0, 0xFFFFFFFF, 0x100000, 0x1000, false));
    EXPECT_EQ("(1000,2000,7fff)", Window(0x2000, 0x7FFF, 0x1000, 0x1000, true));
    // 0xFFFF is the top of the I/O range only: a memory window needs its range.
    EXPECT_EQ("(100000,0,ffff)", Window(0, 0xFFFF, 0x100000, 0x100000, false));

    EXPECT_TRUE(Parsed("(1000,2000,7fff:2000)", true) ==
                (CBridgeWindow{0x2000, 0x7FFF, 0x1000, 0x2000}));
    // An alignment missing after the range falls to the three-number form.
    EXPECT_TRUE(Parsed("(1000,0,ffff)", false) == (CBridgeWindow{0, 0xFFFF, 0x1000, 0x100000}));
    EXPECT_TRUE(Parsed("(1000,0,ffff:)", true) == (CBridgeWindow{0, 0xFFFF, 0x1000, 0x1000}));
    EXPECT_TRUE(Parsed("100000:1000", false) == (CBridgeWindow{0, 0xFFFFFFFF, 0x100000, 0x1000}));
    EXPECT_TRUE(Parsed(" 0X2000 junk", true) == (CBridgeWindow{0, 0xFFFF, 0x2000, 0x1000}));
    // White space may stand before a number, never before a separator.
    EXPECT_TRUE(Parsed("( 1000,2,3)", true) == (CBridgeWindow{2, 3, 0x1000, 0x1000}));
    for (const char* text : {"", "(1000,2000)", "(1000 ,2,3)", "zz", "(", ":10"})
        EXPECT_TRUE(Parsed(text, true) == kUnparsed) << text;
    // A window the bridge page writes is its form and nothing after it.
    const std::pair<const char*, bool> whole[] = {
        {"1000 ", true},         {"1000:2000", true}, {"(1000,2,3)", true},
        {"(1000,2,3:4) ", true}, {" 1000zz", false},  {"(1000,2,3)x", false},
        {"(1000,2,3", false},    {"1000:", false},    {"1000:2000:3000", false}};
    for (const auto& form : whole) {
        CBridgeWindow window;
        bool bWhole = !form.second;
        ParseWindow(form.first, &window, true, &bWhole);
        EXPECT_EQ(form.second, bWhole) << form.first;
    }
}

TEST(BridgeWindows, ResourceStringFormTellsWhichPartsKeepToTheirForms) {
    struct {
        const char* text;
        bool io, mem, prefetch, tail;
    } const cases[] = {
        {"1000,100000,100000", true, true, true, true},
        {" (2000,1000,ffff), 100000:1000,(100000,0,ffff), 0 ", true, true, true, true},
        // The one character after a ')' is its separator: a blank is.
        {"(2000,1000,ffff) ,100000,100000", true, false, false, true},
        {"zz,100000,100000", false, true, true, true},
        {"1000,,(100000", true, false, false, true},
        {"1000,100000,100000,0,5", true, true, true, false},
        {"1000,100000,100000,yes", true, true, true, false},
    };
    for (const auto& c : cases) {
        CSlotRecord record;
        CResourceStringForm form = {};
        ParseResourceString(c.text, &record.m_ioWindow, &record.m_memWindow,
                            &record.m_prefetchWindow, &record.m_bDynamicBusAssignment, &form);
        EXPECT_EQ(form.bWindowMatched[0], c.io) << c.text;
        EXPECT_EQ(form.bWindowMatched[1], c.mem) << c.text;
        EXPECT_EQ(form.bWindowMatched[2], c.prefetch) << c.text;
        EXPECT_EQ(form.bTailIsNumber, c.tail) << c.text;
    }
}

TEST(BridgeWindows, ResourceStringsLoadAndStoreInTheirCanonicalSpelling) {
    const char* stored = "(1000,2000,7fff:2000),100000:1000,(100000,0,ffff)";
    CSlotRecord record = Loaded(stored);
    EXPECT_EQ(SLOT_HAS_PATH | SLOT_LOCATION_PENDING | SLOT_HAS_IO | SLOT_HAS_MEM |
                  SLOT_HAS_PREFETCH | SLOT_HAS_DYNBUS,
              record.m_dwFlags);
    EXPECT_TRUE(record.m_ioWindow == (CBridgeWindow{0x2000, 0x7FFF, 0x1000, 0x2000}));
    EXPECT_TRUE(record.m_prefetchWindow == (CBridgeWindow{0, 0xFFFF, 0x100000, 0x100000}));
    EXPECT_STREQ(stored, FormatResourceString(record));
    EXPECT_STREQ("1000,100000,100000",
                 FormatResourceString(Loaded(" (1000,0,ffff), 0x100000,100000:100000")));
    for (const char* fourth : {"0", "5", " 0x5"})
        EXPECT_STREQ("1000,100000,100000,0",
                     FormatResourceString(Loaded(std::string("1000,100000,100000,") + fourth)));
    for (const char* text : {"1000,100000,100000,", "1000,100000,100000,x"})
        EXPECT_EQ(0, Loaded(text).m_bDynamicBusAssignment) << text;

    // One window alone leaves the others marked, and they are stored so; an
    // empty field makes the rest one window text; a ')' that never comes
    // takes the whole rest.
    EXPECT_STREQ("2000,(bad,bad,bad:bad),(bad,bad,bad:bad)", FormatResourceString(Loaded("2000")));
    EXPECT_TRUE(Loaded("1000,,100000").m_prefetchWindow == kUnparsed);
    CSlotRecord open = Loaded("(1000,2000,3000,100000,100000");
    EXPECT_TRUE(open.m_ioWindow == (CBridgeWindow{0x2000, 0x3000, 0x1000, 0x1000}));
    EXPECT_TRUE(open.m_memWindow == kUnparsed);
    EXPECT_EQ(0xFFFFFFFFu, Loaded(std::string(5000, 'f')).m_ioWindow.m_dwSize);
    // A bridge known only for its no-reset mark stores no resource string.
    CSlotRecord noReset;
    noReset.m_dwFlags = SLOT_HAS_NORESET;
    EXPECT_FALSE(HasAnyWindow(noReset));
    EXPECT_TRUE(HasAnyWindow(Loaded("1000")));
}
