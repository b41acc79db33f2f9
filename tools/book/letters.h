// Between the book source and stored text: UTF-8, the letter code, and the display order of
// right-to-left text.
//
// Stored text holds the 27 Hebrew letters (U+05D0..U+05EA, final forms included, in Unicode
// order) as the bytes 'a'..'{'. Every other byte is shown as itself, except '~', which shows
// '{'. So a source may hold Hebrew letters, the printable ASCII characters whose bytes the
// letters leave free (space, digits, punctuation, capital Latin letters, '|' and '}'), and '{'
// (stored as '~'). Small Latin letters and '~' have no letter code: their bytes would show as
// Hebrew letters or as '{'.
//
// Right-to-left text is stored in display order, left to right as drawn: the source gives it
// in reading order and GNU FriBidi reorders it, so digit and Latin runs keep their direction
// and brackets are mirrored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vaelo::booktool {

using Bytes = std::vector<std::uint8_t>;

// The letter code byte of a character, or nullopt when it has none.
std::optional<std::uint8_t> LetterCodeOf(char32_t c);
// The character a stored byte shows, or nullopt for a byte that no source character gives
// (control bytes, bytes above 0x7E and 0x7F); such bytes are written as \xHH escapes.
std::optional<char32_t> CharOfLetterCode(std::uint8_t b);

// UTF-8 to code points; on a malformed sequence returns nullopt with its byte offset.
std::optional<std::u32string> DecodeUtf8(std::string_view text, std::size_t* badOffset);
std::string EncodeUtf8(std::u32string_view text);

// Reading order to display order (left to right as drawn) for a right-to-left paragraph of
// one line, brackets mirrored.
std::u32string LogicalToVisual(std::u32string_view logical);
// Display order back to reading order. nullopt when no reading order gives `visual` back
// (the source must then give the text in stored order).
std::optional<std::u32string> VisualToLogical(std::u32string_view visual);

// A text of the source, with its escapes: \\ a backslash, \s a space (so a space at the end of
// a line survives editors), \xHH a raw byte (only where the text is given in stored order).
struct TextOptions {
    bool bidi = false;  // reading order to be reordered for a right-to-left paragraph
};
// Source text → stored bytes. On failure returns nullopt and says why, with the column (in
// characters, from 1) of the offending character.
std::optional<Bytes> EncodeText(std::u32string_view source, const TextOptions& options,
                                std::string* error);
// Stored bytes → source text. With bidi, nullopt when the bytes have no reading order that
// encodes back to them (the caller then writes them in stored order, without bidi).
std::optional<std::u32string> DecodeText(const Bytes& stored, const TextOptions& options);

// A character as a message shows it: U+05D0 'א'.
std::string DescribeChar(char32_t c);

}  // namespace vaelo::booktool
