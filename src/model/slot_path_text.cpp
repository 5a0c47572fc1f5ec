#include "model/slot_path_text.h"

#include <cstring>

#include "framework/number_text.h"

HexTextResult ParseHexText(const char* text, uint8_t* bytes, size_t capacity, size_t* count) {
    size_t length = std::strlen(text);
    if (length % 2 != 0)
        return HexTextResult::Malformed;
    // Check every character before writing, so a failure leaves bytes as
    // they were.
    for (size_t i = 0; i < length; ++i) {
        if (HexDigitValue(text[i]) < 0)
            return HexTextResult::Malformed;
    }
    if (length / 2 > capacity)
        return HexTextResult::TooLong;
    for (size_t i = 0; i < length; i += 2)
        bytes[i / 2] =
            static_cast<uint8_t>(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1]));
    *count = length / 2;
    return HexTextResult::Ok;
}

bool FormatHexText(const uint8_t* bytes, size_t count, char* text, size_t capacity) {
    static const char DIGITS[] = "0123456789ABCDEF";
    if (capacity == 0 || count > (capacity - 1) / 2)
        return false;
    for (size_t i = 0; i < count; ++i) {
        text[2 * i] = DIGITS[bytes[i] >> 4];
        text[2 * i + 1] = DIGITS[bytes[i] & 0x0F];
    }
    text[2 * count] = '\0';
    return true;
}

const char* SkipSlotPathMark(const char* text) { return *text == '*' ? text + 1 : text; }

size_t CopyAnswerText(const uint8_t* pAnswer, size_t cbReturned, uint16_t* pText,
                      size_t nCapacity) {
    size_t units = 0;
    for (size_t at = SLOT_LOCATION_HEADER_SIZE; at + 2 <= cbReturned && units + 1 < nCapacity;
         at += 2) {
        // Little-endian, as the driver writes it.
        uint16_t unit = static_cast<uint16_t>(pAnswer[at] | pAnswer[at + 1] << 8);
        if (unit == 0)
            break;
        pText[units++] = unit;
    }
    pText[units] = 0;
    return units;
}
