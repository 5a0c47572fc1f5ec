// Registry editor files as regedit and reg import read them, and as regedit
// writes them: every notation, bad lines reported where their value starts
// while the rest is read, and the writer's exact text.
#include <gtest/gtest.h>

#include "model/regedit_file.h"

using namespace std::string_literals;

namespace {
struct Expected {
    const char* name;
    uint32_t type;
    std::string data;
    int line;
};

void ExpectValues(const CRegFileKey& key, const std::vector<Expected>& expected) {
    ASSERT_EQ(expected.size(), key.values.size()) << key.path;
    for (size_t i = 0; i < expected.size(); ++i) {
        const CRegFileValue& value = key.values[i];
        EXPECT_EQ(expected[i].name, value.name) << i;
        EXPECT_EQ(expected[i].type, value.type) << value.name;
        EXPECT_EQ(expected[i].data, value.data) << value.name;
        EXPECT_EQ(expected[i].line, value.line) << value.name;
        EXPECT_FALSE(value.remove) << value.name;
    }
}
} // namespace

TEST(RegeditFile, ReadsEveryNotation) {
    const std::string text = "\xEF\xBB\xBF  Windows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "; a comment\r\n"
                             "[HKEY_CURRENT_USER\\Software\\A]\r\n"
                             "@=\"def\"\r\n"
                             "\"q\\\"uote\" = \"C:\\\\x \\\"y\\\"\\n\" ; comment\r\n"
                             "\"empty\"=\"\"\r\n"
                             "\"d\"=dword:0000012a\r\n"
                             "\"short\"=dword: 1\r\n"
                             "\"bin\"=hex:01, 2 ,\\\r\n"
                             "\r\n"
                             "  ; inside the data\r\n"
                             "  ff,\r\n"
                             "\"exp\"=hex(2):25,00,00,00\r\n"
                             "\"multi\"=hex(7):61,00,00,62,00,00,00\r\n"
                             "\"none\"=hex(0):\r\n"
                             "\"q64\"=hex(b):\\ ; split at once\r\n"
                             "  01,00,00,00,00,00,00,80\r\n"
                             "\"odd\"=hex(100):\r\n"
                             "\"gone\"=-\n"
                             "@ =-\n"
                             "[-HKEY_CURRENT_USER\\Software\\B]\r"
                             "[HKEY_CURRENT_USER\\Software\\[C]]] trailing text";
    CRegFile file;
    std::vector<CRegFileError> errors;
    ASSERT_TRUE(ReadRegFile(text, &file, &errors));
    EXPECT_TRUE(errors.empty()) << errors[0].line << ": " << errors[0].reason;
    EXPECT_EQ(RegFileVersion::Version5, file.version);
    ASSERT_EQ(3u, file.keys.size());

    CRegFileKey a = file.keys[0];
    EXPECT_EQ("HKEY_CURRENT_USER\\Software\\A", a.path);
    EXPECT_EQ(4, a.line);
    ASSERT_EQ(13u, a.values.size());
    std::vector<CRegFileValue> removals(a.values.end() - 2, a.values.end());
    a.values.resize(11);
    ExpectValues(a, {{"", REGFILE_SZ, "def\0"s, 5},
                     {"q\"uote", REGFILE_SZ, "C:\\x \"y\"\n\0"s, 6},
                     {"empty", REGFILE_SZ, "\0"s, 7},
                     {"d", REGFILE_DWORD, "\x2a\x01\0\0"s, 8},
                     {"short", REGFILE_DWORD, "\1\0\0\0"s, 9},
                     {"bin", REGFILE_BINARY, "\x01\x02\xff", 10},
                     {"exp", REGFILE_EXPAND_SZ, "%\0\0\0"s, 14},
                     {"multi", REGFILE_MULTI_SZ, "a\0\0b\0\0\0"s, 15},
                     {"none", REGFILE_NONE, "", 16},
                     {"q64", REGFILE_QWORD, "\1\0\0\0\0\0\0\x80"s, 17},
                     {"odd", 0x100, "", 19}});
    EXPECT_TRUE(removals[0].remove && removals[1].remove);
    EXPECT_EQ("gone", removals[0].name);
    EXPECT_EQ("", removals[1].name);
    EXPECT_EQ(21, removals[1].line);

    EXPECT_TRUE(file.keys[1].remove);
    EXPECT_EQ("HKEY_CURRENT_USER\\Software\\B", file.keys[1].path);
    EXPECT_EQ("HKEY_CURRENT_USER\\Software\\[C]]", file.keys[2].path);
    EXPECT_EQ(23, file.keys[2].line);

    // REGEDIT4 reads alike; its string-typed hex bytes are left to the caller.
    ASSERT_TRUE(ReadRegFile("\n\tREGEDIT4\n[K]\n\"m\"=hex(7):61,00,62,00,00\n", &file, &errors));
    EXPECT_EQ(RegFileVersion::Regedit4, file.version);
    ASSERT_EQ(1u, file.keys.size());
    ExpectValues(file.keys[0], {{"m", REGFILE_MULTI_SZ, "a\0b\0\0"s, 4}});
}

TEST(RegeditFile, ReportsBadLinesWhereTheyStartAndReadsTheRest) {
    const std::string text = "REGEDIT4\r\n"
                             "\"early\"=\"x\"\r\n"
                             "[K]\r\n"
                             "\"nine\"=dword:123456789\r\n"
                             "\"sign\"=dword:-1\r\n"
                             "\"upper\"=DWORD:1\r\n"
                             "\"three\"=hex:01,023\r\n"
                             "\"nocomma\"=hex:01\\\r\n"
                             "  02\r\n"
                             "\"gap\"=hex:01,,02\r\n"
                             "\"open\"=\"abc\r\n"
                             "\"nul\"=\"a\\0b\"\r\n"
                             "\"rawnul\"=\"a\0b\"\r\n"s
                             "\"tail\"=\"a\" b\r\n"
                             "\"noequal\" \"a\"\r\n"
                             "\"type\"=hex(-1):00\r\n"
                             "\"ok\"=hex:\\\r\n"
                             "  01\r\n"
                             "garbage\r\n"
                             "[open\r\n"
                             "\"lost\"=\"x\"\r\n"
                             "[-K]\r\n"
                             "\"deleted\"=\"x\"\r\n"
                             "[L]\r\n"
                             "\"cut\"=hex:01,\\\r\n"
                             "; nothing follows\r\n";
    CRegFile file;
    std::vector<CRegFileError> errors;
    ASSERT_TRUE(ReadRegFile(text, &file, &errors));
    const std::vector<std::pair<int, std::string>> expected = {
        {2, "value outside any key"},
        {4, "dword needs up to 8 hex digits"},
        {5, "dword needs up to 8 hex digits"},
        {6, "unknown data type"},
        {7, "bad hex byte"},
        {8, "line continuation must follow a comma"},
        {10, "bad hex byte"},
        {11, "unterminated string"},
        {12, "\\0 is not allowed in a string"},
        {13, "NUL character in a string"},
        {14, "unexpected text after the value"},
        {15, "'=' missing after the name"},
        {16, "bad hex type"},
        {19, "line is no key, value or comment"},
        {20, "key without a closing bracket"},
        {21, "value outside any key"},
        {23, "value under a deleted key"},
        {25, "hex data continues past the end of the file"},
    };
    ASSERT_EQ(expected.size(), errors.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].first, errors[i].line) << errors[i].reason;
        EXPECT_EQ(expected[i].second, errors[i].reason) << errors[i].line;
    }
    ASSERT_EQ(3u, file.keys.size());
    ExpectValues(file.keys[0], {{"ok", REGFILE_BINARY, "\x01", 17}});
    ExpectValues(file.keys[2], {});

    // Not a registry file at all: one error, nothing read.
    for (const std::string& other :
         {""s, "\r\n  \r\n"s, "REGEDIT4 \r\n[K]"s, "; comment\r\nREGEDIT4"s, "regedit4"s,
          "\xFF\xFEW\0i\0n\0"s, "Windows Registry Editor Version 5.0\r\n"s, "[K]\r\n"s}) {
        file.keys.resize(1);
        EXPECT_FALSE(ReadRegFile(other, &file, &errors)) << other;
        EXPECT_TRUE(file.keys.empty());
        ASSERT_EQ(1u, errors.size());
        EXPECT_EQ("no registry editor header", errors[0].reason);
    }
    EXPECT_FALSE(ReadRegFile("\n \nX", &file, &errors));
    EXPECT_EQ(3, errors[0].line);
}

TEST(RegeditFile, WritesRegeditsNotation) {
    std::string bytes30;
    for (int i = 0; i < 30; ++i)
        bytes30 += static_cast<char>(i);
    CRegFile file;
    file.keys.push_back({"HKEY_CURRENT_USER\\Software\\A", false, 0, {}});
    file.keys[0].values = {
        {"", false, REGFILE_SZ, "C:\\ \"x\"\0"s, 0},
        {"n\"\\\n", false, REGFILE_SZ, "\0"s, 0},
        {"d", false, REGFILE_DWORD, "\x2a\x01\0\x80"s, 0},
        {"d3", false, REGFILE_DWORD, "\1\2\3"s, 0},
        {"lines", false, REGFILE_SZ, "a\r\nb\0"s, 0},
        {"nul", false, REGFILE_SZ, "a\0b\0"s, 0},
        {"unended", false, REGFILE_SZ, "ab", 0},
        {"b", false, REGFILE_BINARY, bytes30, 0},
        {"e", false, REGFILE_BINARY, "", 0},
        {"q", false, 0x1B, "\xAB", 0},
        {"gone", true, REGFILE_SZ, "ignored", 0},
    };
    file.keys.push_back({"B]", true, 0, {{"x", false, REGFILE_SZ, "y\0"s, 0}}});
    file.keys.push_back({"C", false, 0, {}});
    const std::string expected =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\A]\r\n"
        "@=\"C:\\\\ \\\"x\\\"\"\r\n"
        "\"n\\\"\\\\\\n\"=\"\"\r\n"
        "\"d\"=dword:8000012a\r\n"
        "\"d3\"=hex(4):01,02,03\r\n"
        "\"lines\"=hex(1):61,0d,0a,62,00\r\n"
        "\"nul\"=hex(1):61,00,62,00\r\n"
        "\"unended\"=hex(1):61,62\r\n"
        "\"b\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
        "  17,18,19,1a,1b,1c,1d\r\n"
        "\"e\"=hex:\r\n"
        "\"q\"=hex(1b):ab\r\n"
        "\"gone\"=-\r\n"
        "\r\n"
        "[-B]]\r\n"
        "\r\n"
        "[C]\r\n"
        "\r\n";
    EXPECT_EQ(expected, WriteRegFile(file));

    file.version = RegFileVersion::Regedit4;
    file.keys.resize(1);
    file.keys[0].values.resize(1);
    file.keys[0].values[0].data = std::string(100, '\xFF');
    file.keys[0].values[0].type = REGFILE_SZ;
    const std::string written = WriteRegFile(file);
    EXPECT_EQ(0u, written.find("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n@=hex(1):"));
    // regedit's wrapping: 23 bytes after "@=hex(1):", 25 on each following line.
    std::string lengths;
    for (size_t start = 0, end; (end = written.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lengths += std::to_string(end - start) + " ";
    EXPECT_EQ("8 0 30 79 78 78 78 7 0 ", lengths);

    CRegFile back;
    std::vector<CRegFileError> errors;
    ASSERT_TRUE(ReadRegFile(written, &back, &errors));
    ASSERT_TRUE(errors.empty());
    EXPECT_EQ(file.keys[0].values[0].data, back.keys[0].values[0].data);
}
