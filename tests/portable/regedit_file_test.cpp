// Registry editor files as regedit and reg import read them, and as regedit
// writes them: every notation, bad lines reported where their value starts
// while the rest is read, and the writer's exact text.
#include <gtest/gtest.h>

#include <cstdio>

#include "model/regedit_file.h"

using namespace std::string_literals;

namespace {
// One line per key and value: line number, path or name, type and bytes.
std::string Describe(const CRegFile& file, const std::vector<CRegFileError>& errors) {
    std::string text = file.version == RegFileVersion::Regedit4 ? "4\n" : "5\n";
    char hex[16];
    for (const CRegFileKey& key : file.keys) {
        text += std::to_string(key.line) + (key.remove ? " [-" : " [") + key.path + "]\n";
        for (const CRegFileValue& value : key.values) {
            text += std::to_string(value.line) + " " + value.name;
            std::snprintf(hex, sizeof hex, value.remove ? "=-" : "=%x:", value.type);
            text += hex;
            for (char ch : value.data) {
                std::snprintf(hex, sizeof hex, "%02x", static_cast<uint8_t>(ch));
                text += hex;
            }
            text += "\n";
        }
    }
    for (const CRegFileError& error : errors)
        text += std::to_string(error.line) + ": " + error.reason + "\n";
    return text;
}

std::string Read(const std::string& text, bool isFile = true) {
    CRegFile file;
    file.keys.resize(1); // reading starts afresh
    std::vector<CRegFileError> errors(1);
    EXPECT_EQ(isFile, ReadRegFile(text, &file, &errors));
    return Describe(file, errors);
}
} // namespace

TEST(RegeditFile, ReadsEveryNotation) {
    EXPECT_EQ("5\n"
              "4 [HKEY_CURRENT_USER\\Software\\A]\n"
              "5 =1:64656600\n"
              "6 q\"uote=1:433a5c7820227922200a00\n"
              "7 empty=1:00\n"
              "8 d=4:2a010000\n"
              "9 short=4:01000000\n"
              "10 bin=3:0102ff\n"
              "14 exp=2:25000000\n"
              "15 multi=7:61000062000000\n"
              "16 none=0:\n"
              "17 q64=b:0100000000000080\n"
              "19 odd=100:\n"
              "20 gone=-\n"
              "21 =-\n"
              "22 [-HKEY_CURRENT_USER\\Software\\B]\n"
              "23 [HKEY_CURRENT_USER\\Software\\[C]]]\n",
              Read("\xEF\xBB\xBF  Windows Registry Editor Version 5.00\r\n"
                   "\r\n"
                   "; a comment\r\n"
                   "[HKEY_CURRENT_USER\\Software\\A]\r\n"
                   "@=\"def\"\r\n"
                   "\"q\\\"uote\" = \"C:\\\\x \\\"y\\\" \\n\" ; comment\r\n"
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
                   "[HKEY_CURRENT_USER\\Software\\[C]]] trailing text"));
    // REGEDIT4 reads alike; its string-typed hex bytes are left to the caller.
    EXPECT_EQ("4\n3 [K]\n4 m=7:6100620000\n",
              Read("\n\tREGEDIT4\n[K]\n\"m\"=hex(7):61,00,62,00,00\n"));
}

TEST(RegeditFile, ReportsBadLinesWhereTheyStartAndReadsTheRest) {
    EXPECT_EQ("4\n"
              "3 [K]\n"
              "17 ok=3:01\n"
              "22 [-K]\n"
              "24 [L]\n"
              "2: value outside any key\n"
              "4: dword needs up to 8 hex digits\n"
              "5: dword needs up to 8 hex digits\n"
              "6: unknown data type\n"
              "7: bad hex byte\n"
              "8: line continuation must follow a comma\n"
              "10: bad hex byte\n"
              "11: unterminated string\n"
              "12: \\0 is not allowed in a string\n"
              "13: NUL character in a string\n"
              "14: unexpected text after the value\n"
              "15: '=' missing after the name\n"
              "16: bad hex type\n"
              "19: line is no key, value or comment\n"
              "20: key without a closing bracket\n"
              "21: value outside any key\n"
              "23: value under a deleted key\n"
              "25: hex data continues past the end of the file\n",
              Read("REGEDIT4\r\n"
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
                   "\"rawnul\"=\"a\\\0b\"\r\n"s
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
                   "; nothing follows\r\n"));

    // Not a registry file at all: one error, on the first line that is not blank.
    for (const std::string& other :
         {""s, "REGEDIT4 \r\n[K]"s, "; comment\r\nREGEDIT4"s, "regedit4"s, "\xFF\xFEW\0i\0n\0"s,
          "Windows Registry Editor Version 5.0\r\n"s, "[K]\r\nREGEDIT4"s})
        EXPECT_EQ("5\n1: no registry editor header\n", Read(other, false)) << other;
    EXPECT_EQ("5\n3: no registry editor header\n", Read("\n \r\nX", false));
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
        {"unended", false, REGFILE_SZ, "ab\r", 0},
        {"b", false, REGFILE_BINARY, bytes30, 0},
        {"e", false, REGFILE_BINARY, "", 0},
        {"q", false, 0x1B, "\xAB", 0},
        {"gone", true, REGFILE_SZ, "ignored", 0},
    };
    file.keys.push_back({"B]", true, 0, {{"x", false, REGFILE_SZ, "y\0"s, 0}}});
    file.keys.push_back({"C", false, 0, {}});
    EXPECT_EQ(
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\A]\r\n"
        "@=\"C:\\\\ \\\"x\\\"\"\r\n"
        "\"n\\\"\\\\\\n\"=\"\"\r\n"
        "\"d\"=dword:8000012a\r\n"
        "\"d3\"=hex(4):01,02,03\r\n"
        "\"lines\"=hex(1):61,0d,0a,62,00\r\n"
        "\"nul\"=hex(1):61,00,62,00\r\n"
        "\"unended\"=hex(1):61,62,0d\r\n"
        "\"b\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
        "  17,18,19,1a,1b,1c,1d\r\n"
        "\"e\"=hex:\r\n"
        "\"q\"=hex(1b):ab\r\n"
        "\"gone\"=-\r\n"
        "\r\n"
        "[-B]]\r\n"
        "\r\n"
        "[C]\r\n"
        "\r\n",
        WriteRegFile(file));

    // regedit's wrapping: 23 bytes after "@=hex(1):", 25 on each following line.
    file.version = RegFileVersion::Regedit4;
    file.keys.resize(1);
    file.keys[0].values.resize(1);
    file.keys[0].values[0].data = std::string(100, '\xFF');
    const std::string written = WriteRegFile(file);
    std::string lengths;
    for (size_t start = 0, end; (end = written.find("\r\n", start)) != std::string::npos;
         start = end + 2)
        lengths += std::to_string(end - start) + " ";
    EXPECT_EQ(0u, written.find("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n@=hex(1):"));
    EXPECT_EQ("8 0 30 79 78 78 78 7 0 ", lengths);
    EXPECT_EQ("4\n3 [HKEY_CURRENT_USER\\Software\\A]\n4 =1:" + std::string(200, 'f') + "\n",
              Read(written));
}
