#pragma once
// Slot path text: hexadecimal digit pairs read as a byte string, and the
// description in the driver's resolve answer. Kept free of windows.h so that it also builds
// natively (sanitizers, fuzzing); the Win32 wrappers in hotswap_driver.cpp turn the results into
// last-error codes.
#include <cstddef>
#include <cstdint>

enum class HexTextResult {
    Ok,
    Malformed, // odd number of characters, or a character that is no hex digit
    TooLong,   // more bytes than the output holds
};

// Reads text as digit pairs (high digit first; 0-9, a-f, A-F) into
// bytes[0..capacity). Nothing is written unless the result is Ok; then
// *count is the number of bytes, half the text's length.
HexTextResult ParseHexText(const char* text, uint8_t* bytes, size_t capacity, size_t* count);

// Writes the bytes as upper-case digit pairs and a NUL into
// text[0..capacity). False, with nothing written, when 2 * count + 1
// characters do not fit.
bool FormatHexText(const uint8_t* bytes, size_t count, char* text, size_t capacity);

// A slot path may carry one leading '*' that is not part of its bytes.
const char* SkipSlotPathMark(const char* text);

// A resolve answer starts with a header of this many bytes.
constexpr size_t SLOT_LOCATION_HEADER_SIZE = 28;

// The description of a resolve answer of cbReturned bytes: the UTF-16 units
// after the header, up to the first NUL or the end of the returned bytes (an
// odd last byte is left out). At most nCapacity - 1 units and a NUL go into
// pText; nCapacity must be at least 1. Returns the units written.
size_t CopyAnswerText(const uint8_t* pAnswer, size_t cbReturned, uint16_t* pText, size_t nCapacity);
