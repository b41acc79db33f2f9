// UTF-8 ⇄ UTF-16 conversion for the places where the program meets text files and terminals.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vaelo {

// A lone surrogate is written as U+FFFD.
std::string ToUtf8(std::u16string_view text);
// nullopt when `text` is not valid UTF-8.
std::optional<std::u16string> FromUtf8(std::string_view text);
// Appends the UTF-8 form of one code point (a surrogate becomes U+FFFD).
void AppendUtf8(std::string& out, char32_t cp);
// Decodes one code point at text[pos], advancing pos; nullopt on a malformed sequence.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos);

}  // namespace vaelo
