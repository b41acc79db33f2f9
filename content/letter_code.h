// The letter code: every stored text (paragraphs, index titles, the search pattern) holds the
// 27 Hebrew letters as the bytes 'a'..'{'. Text becomes wide display characters only when it
// is measured, drawn or exported, through ConvertLetterCode.
#pragma once

#include <cstdint>

#include "platform/heap.h"

namespace vaelo::content {

// FontAsciiBase values: the display code of the first letter.
constexpr std::int32_t kBaseLatin = 97;
constexpr std::int32_t kBaseCodePage = 224;  // Hebrew letters of the 8-bit code page 1255
constexpr std::int32_t kBaseUnicode = 1488;  // U+05D0

constexpr std::uint32_t kFlagReverse = 0x800;

// The two settings a conversion reads, taken afresh for each conversion: the FontAsciiBase
// setting and whether the Reverse bit of Flags is on.
struct LetterOptions {
    std::int32_t fontAsciiBase = kBaseUnicode;
    bool reverse = false;
};

// Storage shared by the conversions made for measuring and drawing; it only grows.
struct ConversionBuffer {
    platform::HeapArray<char16_t> chars;
    std::int32_t capacity = 0;  // characters, terminator not counted
};

char16_t DisplayCode(std::uint8_t byte, std::int32_t fontAsciiBase);

// Converts up to n bytes of `text` (stopping early at a zero byte) to a zero-terminated wide
// string, reversed with mirrored brackets when options.reverse is on and the base is not 97.
// With a buffer the result is its storage, valid until the next conversion through it;
// without, a new block of n + 1 characters the caller owns (returned through *owned).
// nullptr when storage cannot be had.
const char16_t* ConvertLetterCode(const std::uint8_t* text, ConversionBuffer* buffer, int n,
                                  const LetterOptions& options,
                                  platform::HeapArray<char16_t>* owned = nullptr);

// Reverses the first n characters in place, swapping ( ) [ ] { }. Leaves the string as it is
// when no scratch memory can be had.
void ReverseMirrored(char16_t* string, int n);

}  // namespace vaelo::content
